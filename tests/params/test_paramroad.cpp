// The whole road: the main window's parameter transfers against the
// simulated unit of either model, at the slowest line speed with the replies
// paced as on a real line.

#include "ParamFixture.h"
#include "ProgramState.h"
#include "ScriptedDialogs.h"
#include "TestHome.h"
#include "link/LineOwner.h"
#include "mainwin/SettingsFile.h"
#include "mainwin/frmIo.h"
#include "mainwin/frmMain.h"
#include "params/ParamExchange.h"
#include "platform/MSComm.h"
#include "platform/Timer.h"
#include "platform/frmMessage.h"
#include "shared/Shared.h"
#include "support/UnitSim.h"

#include <QProgressBar>
#include <QtTest>

Q_DECLARE_METATYPE(ParamTransferResult)

namespace {

const char *const kWordNames[3] = {"MO1", "MO2", "HOS"};

QStringList withoutThresholds(QStringList lines)
{
    for (QString &l : lines)
        l = l.section(u'|', 0, 0);
    return lines;
}

} // namespace

class TestParamRoad : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void upAndDown_data();
    void upAndDown();
    void unitStopsAnswering_data();
    void unitStopsAnswering();
    void unitsZerosGoBack_data();
    void unitsZerosGoBack();
    void sentAsHeld_data();
    void sentAsHeld();

private:
    bool open(UnitSim &sim, const QString &settings);
    // Presets the unit's parameters of axis a with the test values of axis `from`.
    void presetUnit(UnitSim &sim, int a, int from);

    TestHome *m_home = nullptr;
    ScriptedDialogs *m_dialogs = nullptr;
    frmMain *m_main = nullptr;
};

void TestParamRoad::init()
{
    ResetProgramState();
    m_home = new TestHome;
    SetStartValues();
    m_dialogs = new ScriptedDialogs;
    m_main = new frmMain;
}

void TestParamRoad::cleanup()
{
    delete m_main;
    m_main = nullptr;
    UnloadMessageWindow();
    delete m_dialogs;
    delete m_home;
}

bool TestParamRoad::open(UnitSim &sim, const QString &settings)
{
    if (!sim.isReady())
        return false;
    m_main->MSComm1->setCommPort(1);
    m_main->MSComm1->setSettings(settings);
    return m_main->MSComm1->setPortOpen(true) == MSComm::NoError;
}

void TestParamRoad::presetUnit(UnitSim &sim, int a, int from)
{
    const QString L = letter(a);
    const AxisCase &c = kAxis[from];
    const QString words[3] = {c.mo1, c.mo2, c.hos};
    for (int w = 0; w < 3; ++w)
        sim.control(QStringLiteral("par %1 %2 %3").arg(L, QLatin1String(kWordNames[w]), words[w]));
    for (int i = 0; i < 13; ++i)
        sim.control(QStringLiteral("par %1 %2 %3").arg(L, QLatin1String(kMnemonics[i]), c.wire[i]));
}

void TestParamRoad::upAndDown_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("settings");
    QTest::newRow("2-axis, 9600 bit/s, paced") << 2 << QStringList{"--model", "2", "--pace"} << "9600,N,8,1";
    QTest::newRow("4-axis, 9600 bit/s, paced") << 4 << QStringList{"--model", "4", "--pace"} << "9600,N,8,1";
    QTest::newRow("4-axis, 38400 bit/s") << 4 << QStringList{"--model", "4", "--baud", "38400"}
                                         << "38400,N,8,1";
}

void TestParamRoad::upAndDown()
{
    QFETCH(int, model);
    QFETCH(QStringList, options);
    QFETCH(QString, settings);
    UnitSim sim(options);
    QVERIFY(open(sim, settings));
    g.UnitModel = QString::number(model);
    Ints axes;
    for (int a = 0; a < model; ++a)
        axes << a;

    // The unit holds the values of the next axis of the test tables, so that
    // what the download sends afterwards differs from what it holds.
    for (int a = 0; a < model; ++a)
        presetUnit(sim, a, (a + 1) % 4);
    QVERIFY(sim.sync());
    FillSentinels();
    sim.clearLog();
    QCOMPARE(m_main->RunParamUpLoad(0), ParamTransferResult::Done);
    QVERIFY(sim.sync());
    QCOMPARE(sim.rxLines(), withoutThresholds(expectedLines(model, false, axes)));
    for (int a = 0; a < kParamAxes; ++a) {
        if (a >= model) {
            QCOMPARE(ints(g.ModeSetTable[a]), Ints(kModeItems, 5));
            QCOMPARE(ints(g.HomeSetTable[a]), Ints(kHomeItems, 5));
            continue;
        }
        const AxisCase &held = kAxis[(a + 1) % 4];
        QCOMPARE(ints(g.ModeSetTable[a]), held.modeBack);
        QCOMPARE(ints(g.HomeSetTable[a]), held.homeBack);
        QCOMPARE(QStringList(g.ParamTable[a].begin(), g.ParamTable[a].begin() + 13), held.readBack);
    }

    FillTables(4);
    sim.clearLog();
    QCOMPARE(m_main->RunParamDownLoad(0), ParamTransferResult::Done);
    QVERIFY(sim.waitForRx("SET " + letter(model - 1)));
    QVERIFY(sim.sync());
    QCOMPARE(sim.rxLines(), withoutThresholds(expectedLines(model, true, axes)));
    for (int a = 0; a < model; ++a) {
        const AxisCase &c = kAxis[a];
        const QString words[3] = {c.mo1, c.mo2, c.hos};
        for (int w = 0; w < 3; ++w)
            QCOMPARE(sim.parameter(letter(a)[0], QLatin1String(kWordNames[w])),
                     std::optional<quint32>(words[w].toUInt(nullptr, 16)));
        for (int i = 0; i < 13; ++i)
            QCOMPARE(sim.parameter(letter(a)[0], QLatin1String(kMnemonics[i])),
                     std::optional<quint32>(c.wire[i].toUInt(nullptr, 16)));
    }

    QCOMPARE(m_dialogs->texts(), QStringList());
    QVERIFY(m_main->Timer1->isActive());
    QCOMPARE(m_main->ProgressBar1->value(), 0);
    QVERIFY(LoadedMessageWindow() == nullptr);
    QVERIFY(!LineHeld());
}

void TestParamRoad::unitStopsAnswering_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<bool>("download");
    QTest::addColumn<QStringList>("fault");
    QTest::addColumn<int>("answered");   // lines the unit answered before the fault
    QTest::addColumn<bool>("closed");    // the fault closes the line
    QTest::newRow("4-axis download, silent in the numeric group")
        << 4 << true << QStringList{"--silent-after", "14"} << 14 << false;
    QTest::newRow("2-axis upload, silent from the home word")
        << 2 << false << QStringList{"--silent-after", "4"} << 4 << false;
    QTest::newRow("2-axis download, line closed at the mode words")
        << 2 << true << QStringList{"--hangup-after", "1"} << 1 << true;
}

void TestParamRoad::unitStopsAnswering()
{
    QFETCH(int, model);
    QFETCH(bool, download);
    QFETCH(QStringList, fault);
    QFETCH(int, answered);
    QFETCH(bool, closed);
    UnitSim sim(QStringList{"--model", QString::number(model)} + fault);
    QVERIFY(open(sim, "9600,N,8,1"));
    g.UnitModel = QString::number(model);
    m_main->ParamReplyTimeoutMs = kNoReplyWaitMs;
    Ints axes;
    for (int a = 0; a < model; ++a)
        axes << a;
    FillTables(4);
    const ParamTransferResult result = download ? m_main->RunParamDownLoad(0) : m_main->RunParamUpLoad(0);
    QCOMPARE(result, ParamTransferResult::NoReply);
    const QString closedText = LineClosedMessage(QStringLiteral("Com1 = ") + sim.devicePath());
    QCOMPARE(m_dialogs->texts().size(), 1);
    if (closed)
        QVERIFY2(m_dialogs->texts()[0].startsWith(closedText + u':'), qPrintable(m_dialogs->texts()[0]));
    else
        QCOMPARE(m_dialogs->texts()[0], QStringLiteral("Error is Time Out of Cominucation!!"));
    // The unanswered line was the last: no further group and no "SET".
    QVERIFY(sim.sync() || !m_main->MSComm1->PortOpen());
    QCOMPARE(sim.rxLines(), withoutThresholds(expectedLines(model, download, axes)).mid(0, answered + 1));
    QVERIFY(m_main->Timer1->isActive());
    QCOMPARE(m_main->ProgressBar1->value(), 0);
    QVERIFY(LoadedMessageWindow() == nullptr);
    QVERIFY(!LineHeld());
}

void TestParamRoad::unitsZerosGoBack_data()
{
    QTest::addColumn<int>("model");
    QTest::newRow("2-axis") << 2;
    QTest::newRow("4-axis") << 4;
}

// A unit can hold 0 where the grid takes 1 and more. Its values, uploaded
// at start-up, go back with one change made in the grid: nothing refused.
void TestParamRoad::unitsZerosGoBack()
{
    QFETCH(int, model);
    UnitSim sim({"--model", QString::number(model), "--baud", "38400"});
    QVERIFY(open(sim, "38400,N,8,1"));
    g.UnitModel = QString::number(model);
    for (int a = 0; a < model; ++a) {
        for (const char *word : kWordNames)
            sim.control(QStringLiteral("par %1 %2 0000").arg(letter(a), QLatin1String(word)));
        for (const char *name : kMnemonics)
            sim.control(QStringLiteral("par %1 %2 0000").arg(letter(a), QLatin1String(name)));
    }
    QVERIFY(sim.sync());
    QCOMPARE(m_main->RunParamUpLoad(0), ParamTransferResult::Done);
    for (int a = 0; a < model; ++a)
        QCOMPARE(QStringList(g.ParamTable[a].begin(), g.ParamTable[a].begin() + 13), QStringList(13, "0"));

    g.ParamTable[0][0] = QStringLiteral("250");   // X RAT, as typed into the grid
    sim.clearLog();
    QCOMPARE(m_main->RunParamDownLoad(0), ParamTransferResult::Done);
    QVERIFY(sim.waitForRx("SET " + letter(model - 1)));
    QCOMPARE(m_dialogs->texts(), QStringList());
    QCOMPARE(sim.rxLines().first(), model == 2 ? QStringLiteral("IXS X58,00000000") : QStringLiteral("MO1 X0000"));
    for (int a = 0; a < model; ++a)
        for (int i = 0; i < 13; ++i)
            QCOMPARE(sim.parameter(letter(a)[0], QLatin1String(kMnemonics[i])),
                     std::optional<quint32>(a == 0 && i == 0 ? 250 : 0));
}

void TestParamRoad::sentAsHeld_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QStringList>("texts");    // what X's item 0..12 holds, one at a time
    QTest::addColumn<QStringList>("outcome");  // what the unit then holds (hex), or why it is refused

    const QString beyond16 = QStringLiteral("(the unit takes 0 to 65535)");
    const QString empty = QStringLiteral("(empty)");
    const QString notOne = QStringLiteral("(not one number)");
    // Above the grid's range where there is room below 65536: TM1 to TM3
    // take all of it in the grid too.
    const QStringList above{"501", "8001", "8001", "8001", "8001", "8001", "8001",
                            "65535", "65535", "65535", "8001", "8001", "8388608"};
    const QStringList aboveHeld{"1F5", "1F41", "1F41", "1F41", "1F41", "1F41", "1F41",
                                "FFFF", "FFFF", "FFFF", "1F41", "1F41", "800000"};
    for (int model : {2, 4}) {
        const QString m = QStringLiteral("%1-axis, ").arg(model);
        QTest::addRow("%s0 where the grid takes 1 and more", qPrintable(m))
            << model << QStringList(13, "0") << QStringList(13, "0");
        QTest::addRow("%sabove the grid's range, within the field", qPrintable(m)) << model << above << aboveHeld;
        QTest::addRow("%s65536", qPrintable(m))
            << model << QStringList(13, "65536") << QStringList(12, beyond16) + QStringList{"10000"};
        QTest::addRow("%s-1", qPrintable(m))
            << model << QStringList(13, "-1") << QStringList(12, beyond16) + QStringList{"FFFFFFFF"};
        QTest::addRow("%sempty", qPrintable(m)) << model << QStringList(13, "") << QStringList(13, empty);
        QTest::addRow("%s12abc", qPrintable(m)) << model << QStringList(13, "12abc") << QStringList(13, notOne);
    }
}

// Each item of X in turn holds the row's value, the others the fixture's:
// a value that fits its field reaches the unit as held, whatever the grid's
// range; one that does not is refused, naming it, with nothing sent.
void TestParamRoad::sentAsHeld()
{
    QFETCH(int, model);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, outcome);
    static const char *const titles[13] = {"RAT", "ACS", "DRS", "DR1 (speed 1)", "DR2 (speed 2)",
                                           "DR3 (speed 3)", "DR4 (speed 4)", "TM1 (timer 1)",
                                           "TM2 (timer 2)", "TM3 (timer 3)", "OG1", "OG2", "OFS (offset)"};
    UnitSim sim({"--model", QString::number(model), "--baud", "38400"});
    QVERIFY(open(sim, "38400,N,8,1"));
    g.UnitModel = QString::number(model);
    const quint32 before = 0x0BAD;   // what the unit holds before each download
    for (int i = 0; i < 13; ++i) {
        const QString name = QLatin1String(kMnemonics[i]);
        // The transfer before switched the monitor on: nothing but the
        // download is to reach the unit.
        m_main->Timer1->stop();
        FillTables(4);
        g.ParamTable[0][i] = texts[i];
        sim.control(QStringLiteral("par X %1 %2").arg(name).arg(before, 4, 16, QChar(u'0')));
        QVERIFY(sim.sync());
        sim.clearLog();
        m_dialogs->clear();
        const bool refused = outcome[i].startsWith(u'(');
        QCOMPARE(m_main->RunParamDownLoad(1),
                 refused ? ParamTransferResult::BadSetting : ParamTransferResult::Done);
        if (refused) {
            QCOMPARE(m_dialogs->texts(),
                     QStringList{QStringLiteral("Bad Setting.\nX axis, %1 holds \"%2\" %3.")
                                     .arg(QLatin1String(titles[i]), texts[i], outcome[i])});
            QVERIFY(sim.sync());
            QCOMPARE(sim.rxLines(), QStringList());
            QCOMPARE(sim.parameter(u'X', name), std::optional<quint32>(before));
            continue;
        }
        QVERIFY(sim.waitForRx(QStringLiteral("SET X")));
        QCOMPARE(m_dialogs->texts(), QStringList());
        const quint32 held = outcome[i].toUInt(nullptr, 16);
        QCOMPARE(sim.parameter(u'X', name), std::optional<quint32>(held));
        // The command as it went: 8 digits on the 2-axis unit, 4 (8 for
        // OFS) on the 4-axis unit.
        const QString digits = QStringLiteral("%1").arg(held, model == 2 || i == 12 ? 8 : 4, 16, QChar(u'0')).toUpper();
        const QString command = model == 2 ? QStringLiteral("IXS X%1,%2").arg(kRegisters[i]).arg(digits)
                                           : QStringLiteral("%1 X%2").arg(name, digits);
        QVERIFY2(sim.rxLines().contains(command), qPrintable(sim.rxLines().join(u' ')));
    }
}

QTEST_MAIN(TestParamRoad)
#include "test_paramroad.moc"
