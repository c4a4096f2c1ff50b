// Where the main window's keyboard focus rests at start-up, when another
// window or a box closes and after a click on a jog or drive button: never
// on a control whose keys start a motion, so a stray Return, Escape or
// space puts no motion on the line.

#include "ManualRig.h"
#include "Waits.h"
#include "mainwin/frmIo.h"
#include "mainwin/frmMain.h"
#include "params/frmDataGrid1.h"
#include "platform/MSComm.h"
#include "platform/frmMessage.h"
#include "shared/Shared.h"
#include "transfer/frmSendPrg.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

class TestFocus : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void focusStaysOffMotion_data();
    void focusStaysOffMotion();
    void deliberateFocusStillJogs();
    void clickLeavesNoFocusOnMotion_data();
    void clickLeavesNoFocusOnMotion();

private:
    // The focus is on no jog or drive start button, and Return and Escape
    // on it send nothing.
    void checkSafeFocus();
    QList<QWidget *> motionButtons() const;
    bool waitActive(QWidget *w) { return QTest::qWaitFor([w] { return w->isActiveWindow(); }, kEventWaitMs); }

    ManualRig *m_rig = nullptr;
};

void TestFocus::init()
{
    m_rig = new ManualRig;
}

void TestFocus::cleanup()
{
    UnloadMessageWindow();
    delete m_rig;
    m_rig = nullptr;
}

QList<QWidget *> TestFocus::motionButtons() const
{
    frmMain *m = m_rig->w;
    return {m->XP_SW, m->XM_SW, m->YP_SW,      m->YM_SW,    m->ZP_SW,  m->ZM_SW,
            m->UP_SW, m->UM_SW, m->HomeStarSW, m->PrgStart, m->PrgStep};
}

void TestFocus::checkSafeFocus()
{
    frmMain *m = m_rig->w;
    QWidget *f = QApplication::focusWidget();
    QVERIFY(f);
    QCOMPARE(f->window(), static_cast<QWidget *>(m));
    QVERIFY2(!motionButtons().contains(f), qPrintable(f->objectName()));
    m_rig->wire();
    QTest::keyClick(f, Qt::Key_Return);
    QTest::keyClick(f, Qt::Key_Escape);
    QCOMPARE(m_rig->wire(), QString());
}

void TestFocus::focusStaysOffMotion_data()
{
    QTest::addColumn<QString>("other");
    QTest::addColumn<bool>("jogFocusedBefore");

    QTest::newRow("start-up") << "" << false;
    for (const char *other : {"I/O window", "program download window", "parameter grid", "wait window", "message box"}) {
        QTest::addRow("%s closes", other) << QString::fromLatin1(other) << false;
        QTest::addRow("%s closes after Tab to a jog button", other) << QString::fromLatin1(other) << true;
    }
}

void TestFocus::focusStaysOffMotion()
{
    QFETCH(QString, other);
    QFETCH(bool, jogFocusedBefore);
    frmMain *m = m_rig->w;
    m->show();
    QVERIFY(waitActive(m));
    if (other.isEmpty()) {
        checkSafeFocus();
        return;
    }

    if (jogFocusedBefore) {
        // Only Tab puts the focus on a jog button now; a click leaves it off.
        m->XM_SW->setFocus(Qt::TabFocusReason);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(m->XM_SW));
    }
    m_rig->wire();

    QWidget *w = nullptr;
    QMessageBox box(QMessageBox::Information, QStringLiteral("ZT260A/ZT460A"), QStringLiteral("Message"),
                    QMessageBox::Ok, m);
    if (other == u"I/O window") {
        w = ShowIoWindow();
    } else if (other == u"program download window") {
        w = ShowSendPrg(0);
    } else if (other == u"parameter grid") {
        w = ShowDataGridWindow();
    } else if (other == u"wait window") {
        ShowMessageWindow();
        w = LoadedMessageWindow();
    } else {
        box.show();
        w = &box;
    }
    QVERIFY(w);
    w->activateWindow();
    QVERIFY(waitActive(w));
    if (other == u"wait window")
        UnloadMessageWindow();
    else
        w->close();
    m->activateWindow();
    QVERIFY(waitActive(m));

    checkSafeFocus();
}

// Moving the focus onto a jog button on purpose, by Tab, and pressing a key
// jogs; in Scan mode the key's release stops the axis.
void TestFocus::deliberateFocusStillJogs()
{
    frmMain *m = m_rig->w;
    m->Option1->setChecked(true);   // Scan
    m->show();
    QVERIFY(waitActive(m));
    m->X_STOP_SW->setFocus(Qt::TabFocusReason);
    QTest::keyClick(m->X_STOP_SW, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(m->XP_SW));
    m_rig->wire();
    QTest::keyPress(m->XP_SW, Qt::Key_Return);
    QVERIFY2(m_rig->wire().endsWith(QStringLiteral("JOG +X|")), "the key did not jog");
    QTest::keyRelease(m->XP_SW, Qt::Key_Return);
    QCOMPARE(m_rig->wire(), QStringLiteral("STO X|"));
}

void TestFocus::clickLeavesNoFocusOnMotion_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("before");
    for (const char *button : {"XP_SW", "XM_SW", "YP_SW", "YM_SW", "ZP_SW", "ZM_SW", "UP_SW", "UM_SW", "HomeStarSW",
                               "PrgStart", "PrgStep"})
        for (const char *before : {"amount box", "Y jog button by Tab"})
            QTest::addRow("%s, focus on the %s", button, before) << QString::fromLatin1(button)
                                                                 << QString::fromLatin1(before);
}

// A click starts the motion; the keys typed afterwards start none.
void TestFocus::clickLeavesNoFocusOnMotion()
{
    QFETCH(QString, button);
    QFETCH(QString, before);
    frmMain *m = m_rig->w;
    m->Option2->setChecked(true);    // Continuous: a jog key would jog
    m->Option13->setChecked(true);   // program drive of X
    m->PrgAxisX->setChecked(true);
    m->HomeAxisX->setChecked(true);
    m->show();
    QVERIFY(waitActive(m));
    QWidget *focused = before == u"amount box" ? static_cast<QWidget *>(m->Text10) : m->YP_SW;
    focused->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), focused);

    auto *clicked = m->findChild<QPushButton *>(button);
    QVERIFY(clicked);
    m_rig->wire();
    QTest::mouseClick(clicked, Qt::LeftButton);
    QVERIFY2(!m_rig->wire().isEmpty(), "the click sent nothing");

    // The STOP button of the clicked jog's axis, or of X after a drive button.
    const int jog = int(motionButtons().indexOf(clicked));
    QWidget *stop = m->stopButton(jog < 8 ? jog / 2 : 0);
    QWidget *f = QApplication::focusWidget();
    QVERIFY(f);
    QVERIFY2(!motionButtons().contains(f), qPrintable(f->objectName()));
    QCOMPARE(f, before == u"amount box" ? focused : stop);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Space}) {
        QTest::keyClick(f, key);
        const QString sent = m_rig->wire();
        // Space clicks a STOP button: a stop, never a motion.
        QVERIFY2(sent.isEmpty() || (key == Qt::Key_Space && f == stop && sent.startsWith(QStringLiteral("STO "))),
                 qPrintable(sent));
    }
}

QTEST_MAIN(TestFocus)
#include "test_focus.moc"
