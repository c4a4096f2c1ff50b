// Where the main window's keyboard focus rests at start-up and when another
// window or a box closes: never on a control whose keys start a motion, so
// a stray Return or Escape puts nothing on the line.

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

private:
    // The focus is on no jog or drive start button, and Return and Escape
    // on it send nothing.
    void checkSafeFocus();
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

void TestFocus::checkSafeFocus()
{
    frmMain *m = m_rig->w;
    QWidget *f = QApplication::focusWidget();
    QVERIFY(f);
    QCOMPARE(f->window(), static_cast<QWidget *>(m));
    const QList<QWidget *> motion{m->XP_SW, m->XM_SW, m->YP_SW,      m->YM_SW,    m->ZP_SW,  m->ZM_SW,
                                  m->UP_SW, m->UM_SW, m->HomeStarSW, m->PrgStart, m->PrgStep};
    QVERIFY2(!motion.contains(f), qPrintable(f->objectName()));
    m_rig->wire();
    QTest::keyClick(f, Qt::Key_Return);
    QTest::keyClick(f, Qt::Key_Escape);
    QCOMPARE(m_rig->wire(), QString());
}

void TestFocus::focusStaysOffMotion_data()
{
    QTest::addColumn<QString>("other");
    QTest::addColumn<bool>("jogClickedBefore");

    QTest::newRow("start-up") << "" << false;
    for (const char *other : {"I/O window", "program download window", "parameter grid", "wait window", "message box"}) {
        QTest::addRow("%s closes", other) << QString::fromLatin1(other) << false;
        QTest::addRow("%s closes after a jog by mouse", other) << QString::fromLatin1(other) << true;
    }
}

void TestFocus::focusStaysOffMotion()
{
    QFETCH(QString, other);
    QFETCH(bool, jogClickedBefore);
    frmMain *m = m_rig->w;
    m->show();
    QVERIFY(waitActive(m));
    if (other.isEmpty()) {
        checkSafeFocus();
        return;
    }

    if (jogClickedBefore) {
        QTest::mouseClick(m->XM_SW, Qt::LeftButton);
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

// Moving the focus onto a jog button on purpose and pressing a key jogs.
void TestFocus::deliberateFocusStillJogs()
{
    frmMain *m = m_rig->w;
    m->Option2->setChecked(true);   // Continuous
    m->show();
    QVERIFY(waitActive(m));
    m->XM_SW->setFocus(Qt::TabFocusReason);
    m_rig->wire();
    QTest::keyClick(m->XM_SW, Qt::Key_Return);
    QVERIFY2(m_rig->wire().contains(QStringLiteral("JOG -X|")), "the key did not jog");
}

QTEST_MAIN(TestFocus)
#include "test_focus.moc"
