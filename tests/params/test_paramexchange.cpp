// The parameter transfers of the main window against a unit on a
// pseudo-terminal: the lines and their order for both models and
// directions, the receive thresholds, the wait window and progress bar,
// and every way a transfer can fail.

#include "ParamFixture.h"
#include "ParamUnit.h"
#include "ProgramState.h"
#include "Pty.h"
#include "ScriptedDialogs.h"
#include "TestHome.h"
#include "link/LineOwner.h"
#include "mainwin/SettingsFile.h"
#include "mainwin/frmIo.h"
#include "mainwin/frmMain.h"
#include "params/ParamExchange.h"
#include "platform/MSComm.h"
#include "platform/frmMessage.h"
#include "shared/Shared.h"

#include <QLabel>
#include <QProgressBar>
#include <QtTest>

Q_DECLARE_METATYPE(ParamTransferResult)


class TestParamExchange : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void sequence_data();
    void sequence();
    void progress_data();
    void progress();
    void groupsByFlags_data();
    void groupsByFlags();
    void staleReplyIgnored();

    void noReply_data();
    void noReply();
    void lineLost();
    void writeFailureEndsGroup();
    void unreadableReplies_data();
    void unreadableReplies();
    void badSetting_data();
    void badSetting();
    void badSettingNamesTheFirstTwo();
    void portClosed();
    void secondTransferRefused();
    void monitorWithIoWindow_data();
    void monitorWithIoWindow();
    void stopStillReachesUnit_data();
    void stopStillReachesUnit();

private:
    bool attach(ParamUnit &unit);
    void loadUnit(ParamUnit &unit, int model);
    // Lines the program sent, up to a marker written after the transfer:
    // whatever the transfer wrote arrived before it.
    QStringList linesUpToMarker(ParamUnit &unit);
    void checkEndState();

    TestHome *m_home = nullptr;
    ScriptedDialogs *m_dialogs = nullptr;
    frmMain *m_main = nullptr;
    QStringList m_seen;   // "line|threshold" as each line arrived
};

void TestParamExchange::init()
{
    ResetProgramState();
    m_home = new TestHome;
    SetStartValues();
    m_dialogs = new ScriptedDialogs;
    m_main = new frmMain;
    m_seen.clear();
}

void TestParamExchange::cleanup()
{
    delete m_main;
    m_main = nullptr;
    UnloadMessageWindow();
    delete m_dialogs;
    delete m_home;
    qunsetenv("ZT_COM1");
}

bool TestParamExchange::attach(ParamUnit &unit)
{
    if (!unit.ok())
        return false;
    qputenv("ZT_COM1", unit.devicePath().toLocal8Bit());
    m_main->MSComm1->setCommPort(1);
    m_main->MSComm1->setSettings("38400,N,8,1");
    if (m_main->MSComm1->setPortOpen(true) != MSComm::NoError)
        return false;
    unit.onLine = [this](const QString &line) {
        m_seen << (line.startsWith("SET ") || line == "END"
                       ? line
                       : line + u'|' + QString::number(m_main->MSComm1->RThreshold()));
    };
    return true;
}

void TestParamExchange::loadUnit(ParamUnit &unit, int model)
{
    for (int a = 0; a < model; ++a) {
        const AxisCase &c = kAxis[a];
        const QString L = letter(a);
        if (model == 2) {
            unit.memory[L + "58"] = eight(c.mo1);
            unit.memory[L + "59"] = eight(c.mo2);
            unit.memory[L + "67"] = eight(c.hos);
            for (int i = 0; i < 13; ++i)
                unit.memory[L + QString::number(kRegisters[i])] = eight(c.wire[i]);
        } else {
            unit.memory["MO1 " + L] = c.mo1;
            unit.memory["MO2 " + L] = c.mo2;
            unit.memory["HOS " + L] = c.hos;
            for (int i = 0; i < 13; ++i)
                unit.memory[QLatin1String(kMnemonics[i]) + ' ' + L] = c.wire[i];
        }
    }
}

QStringList TestParamExchange::linesUpToMarker(ParamUnit &unit)
{
    const int before = int(unit.lines.size());
    m_main->MSComm1->Output("END\r");
    if (!QTest::qWaitFor([&] { return unit.lines.mid(before).contains("END"); }, kEventWaitMs))
        return {"marker never arrived"};
    QStringList seen = m_seen;
    seen.removeAll("END");
    return seen;
}

void TestParamExchange::checkEndState()
{
    QVERIFY(m_main->Timer1->isActive());
    QCOMPARE(m_main->ProgressBar1->value(), 0);
    QVERIFY(LoadedMessageWindow() == nullptr);
    QVERIFY(!LineHeld());
    QCOMPARE(MainWindow()->Link->PositionReplyPending, 0);
    QCOMPARE(MainWindow()->Link->SpeedReplyPending, 0);
}

void TestParamExchange::sequence_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<bool>("download");
    QTest::addColumn<int>("index");
    QTest::addColumn<Ints>("axes");   // the axes the transfer handles
    QTest::newRow("2-axis download, all") << "2" << true << 0 << Ints{0, 1};
    QTest::newRow("2-axis download, Y") << "2" << true << 2 << Ints{1};
    QTest::newRow("2-axis download, Z: nothing") << "2" << true << 3 << Ints{};
    QTest::newRow("2-axis upload, all") << "2" << false << 0 << Ints{0, 1};
    QTest::newRow("2-axis upload, X") << "2" << false << 1 << Ints{0};
    QTest::newRow("2-axis upload, U: nothing") << "2" << false << 4 << Ints{};
    QTest::newRow("4-axis download, all") << "4" << true << 0 << Ints{0, 1, 2, 3};
    QTest::newRow("4-axis download, U") << "4" << true << 4 << Ints{3};
    QTest::newRow("4-axis upload, all") << "4" << false << 0 << Ints{0, 1, 2, 3};
    QTest::newRow("4-axis upload, Z") << "4" << false << 3 << Ints{2};
    QTest::newRow("index 5: nothing") << "4" << true << 5 << Ints{};
    QTest::newRow("index -1: nothing") << "4" << false << -1 << Ints{};
    // A model text the program never takes counts as the 4-axis unit.
    QTest::newRow("unknown model: as the 4-axis unit") << "3" << true << 0 << Ints{0, 1, 2, 3};
}

void TestParamExchange::sequence()
{
    QFETCH(QString, model);
    QFETCH(bool, download);
    QFETCH(int, index);
    QFETCH(Ints, axes);
    const int axisCount = model == "2" ? 2 : 4;
    ParamUnit unit(axisCount);
    QVERIFY(attach(unit));
    g.UnitModel = model;
    if (download) {
        FillTables(4);
        // Axes that are not sent may hold anything, even nothing.
        for (int a = 0; a < 4; ++a)
            if (!axes.contains(a))
                g.ParamTable[a].fill(QString());
    } else {
        FillSentinels();
        loadUnit(unit, axisCount);
    }
    const auto before = g;
    QStringList titles;
    QStringList axisLines;
    bool lineFree = false;   // the monitor could have sent during a wait
    auto record = unit.onLine;
    unit.onLine = [&](const QString &line) {
        record(line);
        if (!line.startsWith("SET ") && line != "END")
            lineFree = lineFree || MayWrite(LineUser::MonitorPoll) || MayWrite(LineUser::IoPoll)
                       || MayWrite(LineUser::Manual) || m_main->Timer1->isActive();
        if (frmMessage *w = LoadedMessageWindow()) {
            titles << w->Label1->text();
            axisLines << w->Label2->text();
        }
    };
    MainWindow()->Link->PositionReplyPending = 1;
    MainWindow()->Link->SpeedReplyPending = 1;

    const ParamTransferResult result = download ? m_main->RunParamDownLoad(index)
                                                : m_main->RunParamUpLoad(index);
    QCOMPARE(result, ParamTransferResult::Done);
    const QStringList expected = expectedLines(axisCount, download, axes);
    QCOMPARE(linesUpToMarker(unit), expected);
    checkEndState();
    QVERIFY(!lineFree);
    QCOMPARE(m_dialogs->texts(), QStringList());

    // The wait window named the transfer and the axis of every command.
    titles.removeDuplicates();
    if (!axes.isEmpty())
        QCOMPARE(titles, QStringList(download ? "Data download PARAMETER" : "Data upload PARAMETER"));
    QCOMPARE(axisLines.size(), expected.size() - (download ? axes.size() : 0));
    for (int i = 0; i < axisLines.size(); ++i)
        QCOMPARE(axisLines[i], " " + unit.lines[i].mid(4, 1) + "-axis ");

    for (int a = 0; a < kParamAxes; ++a) {
        if (download || !axes.contains(a)) {
            // A download reads the tables only; an upload leaves other axes be.
            QCOMPARE(g.ModeSetTable[a], before.ModeSetTable[a]);
            QCOMPARE(g.HomeSetTable[a], before.HomeSetTable[a]);
            QCOMPARE(g.ParamTable[a], before.ParamTable[a]);
            continue;
        }
        QCOMPARE(ints(g.ModeSetTable[a]), kAxis[a].modeBack);
        QCOMPARE(ints(g.HomeSetTable[a]), kAxis[a].homeBack);
        QCOMPARE(QStringList(g.ParamTable[a].begin(), g.ParamTable[a].begin() + 13), kAxis[a].readBack);
        QCOMPARE(g.ParamTable[a][13], QStringLiteral("kept"));
    }
}

void TestParamExchange::progress_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<bool>("download");
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("expected");   // line, then the bar as value/max
    QTest::newRow("4-axis download, Y") << "4" << true << 2 << QStringList{
        "MO1 Y007F 20/68", "MO2 Y006F 21/68", "HOS Y9666 3/96",
        "RAT Y0001 3/56", "ACS Y0002 4/56", "DRS Y0003 5/56", "DR1 Y1F40 6/56",
        "DR2 Y0064 7/56", "DR3 Y00C8 8/56", "DR4 Y0190 9/56", "TM1 Y0001 10/56",
        "TM2 YFFFF 11/56", "TM3 Y0100 12/56", "OG1 Y1F40 13/56", "OG2 Y0001 14/56",
        "OFS Y007FFFFF 15/56", "SET Y"};
    QTest::newRow("2-axis upload, all") << "2" << false << 0 << QStringList{
        "IXR X58 2/60", "IXR X59 3/60", "IXR Y58 5/60", "IXR Y59 6/60",
        "IXR X67 2/96", "IXR Y67 4/96",
        "IXR X60 2/48", "IXR X61 3/48", "IXR X62 4/48", "IXR X63 5/48", "IXR X64 6/48",
        "IXR X65 7/48", "IXR X66 8/48", "IXR X69 9/48", "IXR X70 10/48", "IXR X71 11/48",
        "IXR X56 12/48", "IXR X57 13/48", "IXR X68 14/48",
        "IXR Y60 16/48", "IXR Y61 17/48", "IXR Y62 18/48", "IXR Y63 19/48", "IXR Y64 20/48",
        "IXR Y65 21/48", "IXR Y66 22/48", "IXR Y69 23/48", "IXR Y70 24/48", "IXR Y71 25/48",
        "IXR Y56 26/48", "IXR Y57 27/48", "IXR Y68 28/48"};
}

void TestParamExchange::progress()
{
    QFETCH(QString, model);
    QFETCH(bool, download);
    QFETCH(int, index);
    QFETCH(QStringList, expected);
    ParamUnit unit(model.toInt());
    QVERIFY(attach(unit));
    g.UnitModel = model;
    FillTables(4);
    loadUnit(unit, model.toInt());
    QStringList seen;
    unit.onLine = [&](const QString &line) {
        if (line.startsWith("SET ") || line == "END")
            seen << line;
        else
            seen << line + QStringLiteral(" %1/%2").arg(m_main->ProgressBar1->value())
                                                   .arg(m_main->ProgressBar1->maximum());
    };
    if (download)
        m_main->mnuZT260DoParamItem_Click(index);
    else
        m_main->mnuZT260UpParamItem_Click(index);
    m_main->MSComm1->Output("END\r");
    QVERIFY(unit.waitForLines(int(expected.size()) + 1));
    QCOMPARE(seen, expected + QStringList{"END"});
    checkEndState();
}

void TestParamExchange::groupsByFlags_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<Ints>("flags");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("progress");   // the count the bar is left at
    QTest::newRow("ModeDownLoad2, Z and U beyond the unit") << "ModeDownLoad2" << Ints{1, 0, 1, 1}
        << QStringList{"IXS X58,00000045", "IXS X59,00000021"} << 19;
    QTest::newRow("ModeDownLoad4, Y only") << "ModeDownLoad4" << Ints{0, 1, 0, 0}
        << QStringList{"MO1 Y007F", "MO2 Y006F"} << 23;
    QTest::newRow("ModeUpLoad2, flag 2 skips") << "ModeUpLoad2" << Ints{0, 2, 0, 0} << QStringList{} << 4;
    QTest::newRow("HomeDownLoad2, X only") << "HomeDownLoad2" << Ints{1, 0, 0, 0}
        << QStringList{"IXS X67,00004155"} << 3;
    QTest::newRow("HomeUpLoad4, flags 2 and -1 skip") << "HomeUpLoad4" << Ints{2, -1, 1, 0}
        << QStringList{"HOS Z"} << 17;
    QTest::newRow("ParamDownLoad2, Y only") << "ParamDownLoad2" << Ints{0, 1, 1, 1}
        << QStringList{"IXS Y60,00000001", "IXS Y61,00000002", "IXS Y62,00000003",
                       "IXS Y63,00001F40", "IXS Y64,00000064", "IXS Y65,000000C8",
                       "IXS Y66,00000190", "IXS Y69,00000001", "IXS Y70,0000FFFF",
                       "IXS Y71,00000100", "IXS Y56,00001F40", "IXS Y57,00000001",
                       "IXS Y68,007FFFFF"} << 15;
    QTest::newRow("ParamUpLoad4, U only") << "ParamUpLoad4" << Ints{0, 0, 0, 1}
        << QStringList{"RAT U", "ACS U", "DRS U", "DR1 U", "DR2 U", "DR3 U", "DR4 U",
                       "TM1 U", "TM2 U", "TM3 U", "OG1 U", "OG2 U", "OFS U"} << 17;
}

void TestParamExchange::groupsByFlags()
{
    QFETCH(QString, group);
    QFETCH(Ints, flags);
    QFETCH(QStringList, expected);
    QFETCH(int, progress);
    const int model = group.endsWith('2') ? 2 : 4;
    ParamUnit unit(model);
    QVERIFY(attach(unit));
    g.UnitModel = QString::number(model);
    const bool upload = group.contains("UpLoad");
    if (upload)
        FillSentinels();
    else
        FillTables(4);
    loadUnit(unit, model);
    const QMap<QString, ParamGroup> groups = {
        {"ModeDownLoad", ModeDownLoad}, {"ModeUpLoad", ModeUpLoad}, {"HomeDownLoad", HomeDownLoad},
        {"HomeUpLoad", HomeUpLoad}, {"ParamDownLoad", ParamDownLoad}, {"ParamUpLoad", ParamUpLoad}};
    const QString name = group.chopped(1);
    QVERIFY(groups.contains(name));
    const auto before = g;
    // A group runs inside a transfer that holds the line, and leaves it held.
    LineHold hold(LineUser::Transfer);
    ParamSession session(*m_main->Link, m_main->ProgressBar1, m_main->ParamReplyTimeoutMs);
    QVERIFY(groups[name](session, model == 2 ? UnitKind::TwoAxis : UnitKind::FourAxis,
                         {int16_t(flags[0]), int16_t(flags[1]), int16_t(flags[2]), int16_t(flags[3])}));
    QVERIFY(LineHeld());
    hold.release();
    QCOMPARE(m_main->ProgressBar1->value(), progress);
    QStringList lines = linesUpToMarker(unit);
    for (QString &l : lines)
        l = l.section(u'|', 0, 0);
    QCOMPARE(lines, expected);
    // Uploads store only the axes they handled; downloads store nothing.
    for (int a = 0; a < kParamAxes; ++a) {
        const bool handled = upload && a < 4 && flags[a] == 1 && a < model;
        const bool changed = g.ModeSetTable[a] != before.ModeSetTable[a]
                             || g.HomeSetTable[a] != before.HomeSetTable[a]
                             || g.ParamTable[a] != before.ParamTable[a];
        QCOMPARE(changed, handled);
    }
}

void TestParamExchange::staleReplyIgnored()
{
    // A reply left from before the transfer must not stand in for the unit's,
    // and the rest of a line begun before it must not spoil the first reply.
    ParamUnit unit(4);
    QVERIFY(attach(unit));
    FillSentinels();
    loadUnit(unit, 4);
    MainWindow()->Link->ReplyLine = "MO1 X0000\r";
    MainWindow()->Link->IxsReplyLine = "IXS X58,00000000\r";
    MainWindow()->Link->ReceiveBuffer = "POS 0000";
    QCOMPARE(m_main->RunParamUpLoad(1), ParamTransferResult::Done);
    QCOMPARE(ints(g.ModeSetTable[0]), kAxis[0].modeBack);
    QCOMPARE(MainWindow()->Link->ReplyLine, QString());
}

void TestParamExchange::noReply_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<bool>("download");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("failAt");        // the line that gets no fitting reply
    QTest::addColumn<QByteArray>("reply");  // what the unit says instead (empty: nothing)
    QTest::addColumn<int>("groupsDone");    // groups of an upload that stored their values
    QTest::addColumn<int>("itemsRead");     // numeric items of X read before it
    QTest::newRow("4-axis download, silent unit") << "4" << true << 0 << 0 << QByteArray() << 0 << 0;
    QTest::newRow("4-axis download, silent in the numeric group")
        << "4" << true << 0 << 20 << QByteArray() << 0 << 0;
    QTest::newRow("2-axis download, echo of another register")
        << "2" << true << 0 << 6 << QByteArray("IXS X61,000001F4\r") << 0 << 0;
    QTest::newRow("2-axis download, echo of another axis")
        << "2" << true << 1 << 0 << QByteArray("IXS Y58,00000045\r") << 0 << 0;
    QTest::newRow("2-axis download, echo below the threshold")
        << "2" << true << 0 << 0 << QByteArray("IXS X58,0\r") << 0 << 0;
    QTest::newRow("2-axis upload, another axis")
        << "2" << false << 0 << 1 << QByteArray("IXR Y59, 0021\r") << 0 << 0;
    QTest::newRow("2-axis upload, another register")
        << "2" << false << 0 << 6 << QByteArray("IXR X61, 1F40\r") << 2 << 0;
    QTest::newRow("4-axis upload, MO2 for MO1")
        << "4" << false << 0 << 0 << QByteArray("MO2 X0021\r") << 0 << 0;
    QTest::newRow("4-axis upload, another axis")
        << "4" << false << 0 << 12 << QByteArray("RAT Y01F4\r") << 2 << 0;
    QTest::newRow("4-axis upload, another head")
        << "4" << false << 0 << 14 << QByteArray("ACS X1F40\r") << 2 << 2;
    QTest::newRow("4-axis upload, reply below the threshold")
        << "4" << false << 0 << 12 << QByteArray("RAT X01\r") << 2 << 0;
    QTest::newRow("4-axis upload, silent for the home word")
        << "4" << false << 0 << 9 << QByteArray() << 1 << 0;
}

void TestParamExchange::noReply()
{
    QFETCH(QString, model);
    QFETCH(bool, download);
    QFETCH(int, index);
    QFETCH(int, failAt);
    QFETCH(QByteArray, reply);
    QFETCH(int, groupsDone);
    QFETCH(int, itemsRead);
    const int axisCount = model.toInt();
    ParamUnit unit(axisCount);
    QVERIFY(attach(unit));
    g.UnitModel = model;
    m_main->ParamReplyTimeoutMs = kNoReplyWaitMs;
    if (download) {
        FillTables(4);
    } else {
        FillSentinels();
        loadUnit(unit, axisCount);
    }
    unit.replace = [&](const QString &) -> std::optional<QByteArray> {
        if (unit.lines.size() - 1 == failAt)
            return reply;
        return std::nullopt;
    };

    const ParamTransferResult result = download ? m_main->RunParamDownLoad(index)
                                                : m_main->RunParamUpLoad(index);
    QCOMPARE(result, ParamTransferResult::NoReply);
    QCOMPARE(m_dialogs->texts(), QStringList{"Error is Time Out of Cominucation!!"});
    // Nothing after the unanswered line: no further group, no "SET".
    Ints axes;
    for (int a = 0; a < axisCount; ++a)
        if (index == 0 || index == a + 1)
            axes << a;
    QCOMPARE(linesUpToMarker(unit), expectedLines(axisCount, download, axes).mid(0, failAt + 1));
    checkEndState();

    if (!download) {
        QCOMPARE(ints(g.ModeSetTable[0]), groupsDone >= 1 ? kAxis[0].modeBack : Ints(kModeItems, 5));
        Ints home = groupsDone >= 1 ? kAxis[0].homeBack : Ints(kHomeItems, 5);
        if (groupsDone < 2)
            for (int item : {0, 4, 5, 6, 7, 8, 9, 10})
                home[item] = 5;
        QCOMPARE(ints(g.HomeSetTable[0]), home);
        for (int i = 0; i < 13; ++i)
            QCOMPARE(g.ParamTable[0][i], i < itemsRead ? kAxis[0].readBack[i] : QStringLiteral("kept"));
    }

    // The line is free again: the next transfer runs to its end.
    unit.replace = nullptr;
    m_dialogs->clear();
    QCOMPARE(download ? m_main->RunParamDownLoad(index) : m_main->RunParamUpLoad(index),
             ParamTransferResult::Done);
    QCOMPARE(m_dialogs->texts(), QStringList());
}

void TestParamExchange::lineLost()
{
    ParamUnit unit(4);
    QVERIFY(attach(unit));
    FillTables(4);
    unit.replace = [&](const QString &) -> std::optional<QByteArray> {
        if (unit.lines.size() == 3)
            unit.hangUp();
        return std::nullopt;
    };
    m_main->ParamReplyTimeoutMs = 60000;   // the lost line ends the wait, not the time-out
    QCOMPARE(m_main->RunParamDownLoad(0), ParamTransferResult::NoReply);
    // Told as closed, naming the device, and once: the transfer tells it.
    QCOMPARE(m_dialogs->texts(), QStringList{LineClosedMessage(m_main->MSComm1->FailureDetail())});
    QVERIFY(m_main->MSComm1->FailureDetail().startsWith("Com1 = "));
    QCOMPARE(unit.lines.size(), 3);
    checkEndState();
}

// A command the line refuses stops the group at once; the session keeps
// how, for the message that names the device.
void TestParamExchange::writeFailureEndsGroup()
{
    Pty pty;
    QVERIFY(pty.ok());
    qputenv("ZT_COM1", pty.devicePath().toLocal8Bit());
    m_main->MSComm1->setCommPort(1);
    QCOMPARE(m_main->MSComm1->setPortOpen(true), 0);
    FillSentinels();
    LineHold hold(LineUser::Transfer);
    ParamSession session(*m_main->Link, m_main->ProgressBar1, 60000);
    pty.hangUp();   // the port has not seen it yet: no events in between
    QVERIFY(!ParamUpLoad(session, UnitKind::FourAxis, {1, 0, 0, 0}));
    QVERIFY(session.stopped);
    QCOMPARE(session.stopped->outcome, ExchangeOutcome::WriteFailed);
    QVERIFY(session.stopped->message().contains(pty.devicePath()));
    QCOMPARE(g.ParamTable[0][0], QStringLiteral("kept"));
}

void TestParamExchange::unreadableReplies_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QStringList>("replies");   // "line number|reply" for the lines answered wrongly
    QTest::addColumn<QString>("message");
    QTest::addColumn<Ints>("keptMode");         // ModeSetTable items that keep their value
    QTest::addColumn<Ints>("keptHome");
    QTest::addColumn<Ints>("keptParams");
    const QString head = "These parameters could not be read from the unit:\n";
    QTest::newRow("4-axis, RAT not hexadecimal") << "4" << QStringList{"3|RAT X01G4"}
        << head + " X-axis RAT" << Ints{} << Ints{} << Ints{0};
    QTest::newRow("4-axis, OFS too short") << "4" << QStringList{"15|OFS X0000FFF"}
        << head + " X-axis OFS" << Ints{} << Ints{} << Ints{12};
    QTest::newRow("4-axis, mode word 1 and home word") << "4" << QStringList{"0|MO1 XZZZZ", "2|HOS X41G5"}
        << head + " X-axis MO1\n X-axis HOS" << Ints{0, 1, 2, 3, 4, 5} << Ints{11, 0, 4, 5, 6, 7, 8, 9, 10}
        << Ints{};
    QTest::newRow("2-axis, no comma") << "2" << QStringList{"3|IXR X60 01F4"}
        << head + " X-axis RAT" << Ints{} << Ints{} << Ints{0};
    QTest::newRow("2-axis, mode word 2 without comma and TM1 not hexadecimal")
        << "2" << QStringList{"1|IXR X59 0021", "10|IXR X69, FFFG"}
        << head + " X-axis MO2\n X-axis TM1" << Ints{7, 8, 9} << Ints{1, 2, 3} << Ints{7};
    QTest::newRow("2-axis, home word not hexadecimal") << "2" << QStringList{"2|IXR X67, 4I55"}
        << head + " X-axis HOS" << Ints{} << Ints{0, 4, 5, 6, 7, 8, 9, 10} << Ints{};
}

void TestParamExchange::unreadableReplies()
{
    QFETCH(QString, model);
    QFETCH(QStringList, replies);
    QFETCH(QString, message);
    QFETCH(Ints, keptMode);
    QFETCH(Ints, keptHome);
    QFETCH(Ints, keptParams);
    const int axisCount = model.toInt();
    ParamUnit unit(axisCount);
    QVERIFY(attach(unit));
    g.UnitModel = model;
    FillSentinels();
    // Items that are 1 before and 0 in the unit show whether a bad word was unpacked.
    g.ModeSetTable[0].fill(1);
    g.HomeSetTable[0].fill(1);
    loadUnit(unit, axisCount);
    for (int w = 0; w < 2; ++w)
        unit.memory[model == "2" ? QString("X5%1").arg(8 + w) : QString("MO%1 X").arg(w + 1)]
            = model == "2" ? "00000000" : "0000";
    QMap<int, QByteArray> wrong;
    for (const QString &r : replies)
        wrong[r.section(u'|', 0, 0).toInt()] = r.section(u'|', 1).toLatin1() + '\r';
    unit.replace = [&](const QString &) -> std::optional<QByteArray> {
        const int n = int(unit.lines.size()) - 1;
        if (wrong.contains(n))
            return wrong[n];
        return std::nullopt;
    };

    QCOMPARE(m_main->RunParamUpLoad(1), ParamTransferResult::Unreadable);
    // Every command still went out, and the operator is told once.
    QCOMPARE(linesUpToMarker(unit), expectedLines(axisCount, false, Ints{0}));
    QCOMPARE(m_dialogs->texts(), QStringList{message});
    checkEndState();
    for (int i = 0; i < kModeItems; ++i) {
        if (i == 6 || i == 10)
            continue;
        QCOMPARE(int(g.ModeSetTable[0][i]), keptMode.contains(i) ? 1 : 0);
    }
    // The unit's mode words are 0, its home word that of the X fixture.
    for (int i = 0; i < 12; ++i) {
        const bool inModeWord = i == 1 || i == 2 || i == 3 || i == 11;
        QCOMPARE(int(g.HomeSetTable[0][i]), keptHome.contains(i) ? 1 : inModeWord ? 0 : kAxis[0].homeBack[i]);
    }
    for (int i = 0; i < 13; ++i)
        QCOMPARE(g.ParamTable[0][i], keptParams.contains(i) ? QStringLiteral("kept") : kAxis[0].readBack[i]);
}

// Only what cannot go out as it is refuses a download: an empty item, one
// that is not one number, or one beyond what the unit holds (16 bits for
// RAT to OG2 on both units, though the 2-axis unit is written 8 digits;
// 32 bits for OFS). Values outside the grid's entry ranges go out as held
// (sentAsHeld in test_paramroad).
void TestParamExchange::badSetting_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("axis");    // -1: a table that was never filled
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("line");   // the message's second line
    QTest::newRow("2-axis, empty RAT of X") << "2" << 0 << 0 << 0 << "" << "X axis, RAT holds \"\" (empty).";
    QTest::newRow("2-axis, offset beyond 32 bits")
        << "2" << 2 << 1 << 12 << "2147483648"
        << "Y axis, OFS (offset) holds \"2147483648\" (the unit takes -2147483648 to 2147483647 pulses).";
    QTest::newRow("2-axis, TM1 beyond 16 bits though written in 8 digits")
        << "2" << 1 << 0 << 7 << "65536" << "X axis, TM1 (timer 1) holds \"65536\" (the unit takes 0 to 65535).";
    QTest::newRow("4-axis, TM1 beyond 4 digits")
        << "4" << 0 << 3 << 7 << "70000" << "U axis, TM1 (timer 1) holds \"70000\" (the unit takes 0 to 65535).";
    QTest::newRow("4-axis, RAT number then letters")
        << "4" << 3 << 2 << 0 << "12abc" << "Z axis, RAT holds \"12abc\" (not one number).";
    QTest::newRow("4-axis, DR4 negative")
        << "4" << 1 << 0 << 6 << "-1" << "X axis, DR4 (speed 4) holds \"-1\" (the unit takes 0 to 65535).";
    QTest::newRow("4-axis, offset of letters")
        << "4" << 1 << 0 << 12 << "abc" << "X axis, OFS (offset) holds \"abc\" (not one number).";
    QTest::newRow("4-axis, offset too large for a number")
        << "4" << 1 << 0 << 12 << "1e400"
        << "X axis, OFS (offset) holds \"1e400\" (the unit takes -2147483648 to 2147483647 pulses).";
    // Every item of the four axes is empty: the first two and the count of the rest.
    QTest::newRow("4-axis, never filled")
        << "4" << 0 << -1 << 0 << ""
        << "X axis, RAT holds \"\" (empty); X axis, ACS holds \"\" (empty); and 50 more.";
}

void TestParamExchange::badSetting()
{
    QFETCH(QString, model);
    QFETCH(int, index);
    QFETCH(int, axis);
    QFETCH(int, item);
    QFETCH(QString, text);
    QFETCH(QString, line);
    ParamUnit unit(model.toInt());
    QVERIFY(attach(unit));
    g.UnitModel = model;
    if (axis >= 0) {
        FillTables(4);
        g.ParamTable[axis][item] = text;
    }
    QCOMPARE(m_main->RunParamDownLoad(index), ParamTransferResult::BadSetting);
    QCOMPARE(m_dialogs->texts(), QStringList{"Bad Setting.\n" + line});
    QCOMPARE(linesUpToMarker(unit), QStringList());
    // Refused before anything began: the monitor and the wait window untouched.
    QVERIFY(!m_main->Timer1->isActive());
    QVERIFY(LoadedMessageWindow() == nullptr);
    QVERIFY(!LineHeld());
}

// Several values that cannot be sent on the axes sent: the first two in
// axis and item order, then how many more; an axis not sent is not
// counted, nor a value outside the grid's range that the unit holds.
void TestParamExchange::badSettingNamesTheFirstTwo()
{
    ParamUnit unit(4);
    QVERIFY(attach(unit));
    g.UnitModel = QStringLiteral("4");
    FillTables(4);
    g.ParamTable[1][9] = QStringLiteral("-3");
    g.ParamTable[1][2] = QStringLiteral("70000");
    g.ParamTable[3][0] = QStringLiteral("x");
    g.ParamTable[3][11] = QString();
    g.ParamTable[0][0] = QString();   // X is not sent by the Y menu entry
    // Outside the grid's ranges, but each fits its field: not refused.
    g.ParamTable[1][0] = QStringLiteral("0");
    g.ParamTable[1][3] = QStringLiteral("9000");
    g.ParamTable[3][12] = QStringLiteral("8388608");
    QCOMPARE(m_main->RunParamDownLoad(2), ParamTransferResult::BadSetting);
    QCOMPARE(m_dialogs->texts(),
             QStringList{"Bad Setting.\nY axis, DRS holds \"70000\" (the unit takes 0 to 65535); "
                         "Y axis, TM3 (timer 3) holds \"-3\" (the unit takes 0 to 65535)."});
    m_dialogs->clear();
    QCOMPARE(m_main->RunParamDownLoad(0), ParamTransferResult::BadSetting);
    QCOMPARE(m_dialogs->texts(),
             QStringList{"Bad Setting.\nX axis, RAT holds \"\" (empty); "
                         "Y axis, DRS holds \"70000\" (the unit takes 0 to 65535); and 3 more."});
    QCOMPARE(linesUpToMarker(unit), QStringList());
}

void TestParamExchange::portClosed()
{
    FillTables(4);
    QCOMPARE(m_main->RunParamDownLoad(0), ParamTransferResult::PortClosed);
    m_main->mnuZT260UpParamItem_Click(0);
    QVERIFY(!m_main->Timer1->isActive());
    QVERIFY(LoadedMessageWindow() == nullptr);
    QCOMPARE(m_dialogs->texts(), QStringList());
}

void TestParamExchange::secondTransferRefused()
{
    ParamUnit unit(4);
    QVERIFY(attach(unit));
    FillTables(4);
    QList<ParamTransferResult> inner;
    auto record = unit.onLine;
    unit.onLine = [&](const QString &line) {
        record(line);
        if (unit.lines.size() == 5) {
            // Started from inside the first transfer's wait, as a menu would.
            QVERIFY(LineHeld());
            inner << m_main->RunParamUpLoad(0) << m_main->RunParamDownLoad(2);
            m_main->mnuZT260DoParamItem_Click(0);
        }
    };
    QCOMPARE(m_main->RunParamDownLoad(4), ParamTransferResult::Done);
    QCOMPARE(inner, (QList<ParamTransferResult>{ParamTransferResult::Busy, ParamTransferResult::Busy}));
    QCOMPARE(linesUpToMarker(unit), expectedLines(4, true, Ints{3}));
    // Each refusal is told once.
    const QString refused = QStringLiteral("A transfer is using the line: nothing was started.");
    QCOMPARE(m_dialogs->texts(), QStringList(3, refused));
    checkEndState();
}

void TestParamExchange::monitorWithIoWindow_data()
{
    QTest::addColumn<bool>("ioOpen");
    QTest::addColumn<bool>("monitorBefore");
    QTest::addColumn<bool>("monitorAfter");
    QTest::addColumn<bool>("ioOpensDuring");   // the I/O window is opened inside a wait
    QTest::newRow("no I/O window, monitor off") << false << false << true << false;
    QTest::newRow("no I/O window, monitor on") << false << true << true << false;
    QTest::newRow("I/O window, monitor off") << true << false << false << false;
    QTest::newRow("I/O window, monitor on") << true << true << true << false;
    QTest::newRow("I/O window opened meanwhile, monitor on") << false << true << false << true;
    QTest::newRow("I/O window opened meanwhile, monitor off") << false << false << false << true;
}

void TestParamExchange::monitorWithIoWindow()
{
    QFETCH(bool, ioOpen);
    QFETCH(bool, monitorBefore);
    QFETCH(bool, monitorAfter);
    QFETCH(bool, ioOpensDuring);
    ParamUnit unit(4);
    QVERIFY(attach(unit));
    loadUnit(unit, 4);
    QScopedPointer<frmIo> io(ioOpen ? new frmIo : nullptr);
    bool monitorRanDuring = false;
    auto record = unit.onLine;
    unit.onLine = [&](const QString &line) {
        record(line);
        monitorRanDuring = monitorRanDuring || m_main->Timer1->isActive();
        if (ioOpensDuring && unit.lines.size() == 3) {
            io.reset(new frmIo);
            io->Timer2->stop();
        }
    };
    if (monitorBefore)
        m_main->Timer1->start();
    QCOMPARE(m_main->RunParamUpLoad(4), ParamTransferResult::Done);
    QVERIFY(!unit.lines.isEmpty());
    QVERIFY(!monitorRanDuring);
    QCOMPARE(m_main->Timer1->isActive(), monitorAfter);
    QCOMPARE(IoWindow() != nullptr, ioOpen || ioOpensDuring);
}

void TestParamExchange::stopStillReachesUnit_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<bool>("download");
    QTest::newRow("4-axis download") << "4" << true;
    QTest::newRow("4-axis upload") << "4" << false;
    QTest::newRow("2-axis download") << "2" << true;
}

// A STOP pressed just before a transfer starts is still on its way to the
// unit: the transfer must not throw it away.
void TestParamExchange::stopStillReachesUnit()
{
    QFETCH(QString, model);
    QFETCH(bool, download);
    Pty pty;   // nothing reads the far end until the transfer has begun
    QVERIFY(pty.ok());
    qputenv("ZT_COM1", pty.devicePath().toLocal8Bit());
    m_main->MSComm1->setCommPort(1);
    QCOMPARE(m_main->MSComm1->setPortOpen(true), 0);
    g.UnitModel = model;
    FillTables(4);
    m_main->ParamReplyTimeoutMs = 100;   // nothing ever answers: the wait's length decides nothing
    QCOMPARE(m_main->MSComm1->Output("STO X\r"), 0);
    const ParamTransferResult r = download ? m_main->RunParamDownLoad(1) : m_main->RunParamUpLoad(1);
    QCOMPARE(r, ParamTransferResult::NoReply);
    QCOMPARE(pty.readLine(), QByteArray("STO X\r"));
}

QTEST_MAIN(TestParamExchange)
#include "test_paramexchange.moc"
