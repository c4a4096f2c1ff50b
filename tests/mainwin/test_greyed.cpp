// The controls that the 2-axis start-up greys (the Z and U jog, STOP and C
// buttons, the Z and U boxes) put nothing on the line and store nothing,
// however the operator clicks or types at them.

#include "ProgramState.h"
#include "ScriptedDialogs.h"
#include "TestHome.h"
#include "UnitSim.h"
#include "VersionWaitClock.h"
#include "mainwin/frmMain.h"
#include "platform/Controls.h"
#include "platform/MSComm.h"
#include "program/ProgramTable.h"
#include "shared/Shared.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <memory>

namespace {
enum Route { ClickScan, ClickContinuous, DoubleClickPreset, Keys };

const char *const kGreyed[] = {"ZP_SW",  "ZM_SW",  "UP_SW",  "UM_SW",  "Z_STOP_SW", "U_STOP_SW", "Z_CLEAR_SW",
                               "U_CLEAR_SW", "Text3", "Text4", "Text7", "Text8", "Text11",   "Text12",
                               "Text15", "Text16", "Text19", "Text20"};
} // namespace

class TestGreyed : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();

    void greyedControlsSendNothing_data();
    void greyedControlsSendNothing();

private:
    // What the unit received since the last call: a marker written behind
    // the program's lines tells when all of them are in.
    QStringList received();

    std::unique_ptr<TestHome> m_home;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<UnitSim> m_sim;
    frmMain *m_main = nullptr;
    int m_marks = 0;
};

void TestGreyed::initTestCase()
{
    ResetProgramState();
    m_home = std::make_unique<TestHome>();
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_sim = std::make_unique<UnitSim>(QStringList{"--model", "2"});
    QVERIFY(m_sim->isReady());
    m_main = new frmMain;
    m_dialogs->answer(MsgResult::Yes);   // ONLINE?
    m_dialogs->answer(MsgResult::No);    // Upload PROGRAM?
    {
        VersionWaitClock clock(m_main, m_sim.get());
        m_main->Form_Load();
    }
    QCOMPARE(g.UnitModel, QStringLiteral("2"));
    QVERIFY(m_main->MSComm1->PortOpen());
    // The test asks the unit nothing but what the controls send.
    m_main->Timer1->stop();
    received();
}

void TestGreyed::cleanupTestCase()
{
    delete m_main;
    CloseProgramTables();
    m_sim.reset();
    m_dialogs.reset();
    m_home.reset();
}

QStringList TestGreyed::received()
{
    const QString mark = QString::number(++m_marks);
    m_main->MSComm1->Output(u'~' + mark + u'\r');
    if (!m_sim->waitForLog([&](const QString &l) { return l == QStringLiteral("MARK ") + mark; }))
        return {QStringLiteral("<no marker>")};
    const QStringList lines = m_sim->rxLines();
    m_sim->clearLog();
    return lines;
}

void TestGreyed::greyedControlsSendNothing_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("route");
    const char *routes[] = {"click in Scan", "click in Continuous", "double click in Preset", "keys"};
    for (const char *name : kGreyed)
        for (int r = ClickScan; r <= Keys; ++r)
            QTest::addRow("%s, %s", name, routes[r]) << QString::fromLatin1(name) << r;
}

void TestGreyed::greyedControlsSendNothing()
{
    QFETCH(QString, control);
    QFETCH(int, route);
    QWidget *c = m_main->findChild<QWidget *>(control);
    QVERIFY(c);
    QVERIFY(!c->isEnabled());
    auto *box = qobject_cast<QLineEdit *>(c);
    const QString text = box ? box->text() : QString();
    const auto entries = g.AxisEntryText;
    // Texts a click on a speed box would overwrite with its own (empty) one.
    m_main->SavedSpeedText = {QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("30"), QStringLiteral("40")};
    const auto saved = m_main->SavedSpeedText;
    m_dialogs->clear();

    SetOption(m_main->Option1, route == ClickScan || route == Keys);
    SetOption(m_main->Option2, route == ClickContinuous);
    SetOption(m_main->Option3, route == DoubleClickPreset);
    switch (Route(route)) {
    case ClickScan:
    case ClickContinuous: QTest::mouseClick(c, Qt::LeftButton); break;
    case DoubleClickPreset: QTest::mouseDClick(c, Qt::LeftButton); break;
    case Keys:
        QTest::keyClick(c, Qt::Key_Space);
        QTest::keyClicks(c, QStringLiteral("5"));
        QTest::keyClick(c, Qt::Key_Return);
        break;
    }

    QCOMPARE(received(), QStringList());
    if (box)
        QCOMPARE(box->text(), text);
    QVERIFY(g.AxisEntryText == entries);
    QVERIFY(m_main->SavedSpeedText == saved);
    QCOMPARE(m_dialogs->texts(), QStringList());
    QVERIFY(!m_main->Timer1->isActive());
}

QTEST_MAIN(TestGreyed)
#include "test_greyed.moc"
