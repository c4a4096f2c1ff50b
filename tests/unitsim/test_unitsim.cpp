// The simulated unit on its pseudo-terminal, driven through the program's own
// serial control: reply layouts against the receive thresholds, motion,
// drives, stored registers and parameters, and the faults on demand.

#include "Pty.h"
#include "UnitSim.h"
#include "Waits.h"

#include "platform/EventPump.h"
#include "platform/MSComm.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QLockFile>
#include <QRegularExpression>
#include <QtTest>

namespace {

// The program's serial control opened on the simulated unit's device.
class Link
{
public:
    Link()
    {
        QObject::connect(&comm, &MSComm::OnComm, &comm, [this] {
            if (comm.CommEvent() == MSComm::comEvReceive)
                received += comm.Input().toLatin1();
            else if (comm.CommEvent() == MSComm::comEvCD)
                hungUp = true;
        });
        comm.setInputLen(0);
        comm.setRThreshold(1);   // every received character raises the event
    }

    bool open(const QString &settings = QStringLiteral("9600,N,8,1"))
    {
        return comm.setCommPort(1) == MSComm::NoError && comm.setSettings(settings) == MSComm::NoError
               && comm.setPortOpen(true) == MSComm::NoError;
    }

    void send(const QByteArray &line) { comm.Output(QString::fromLatin1(line + '\r')); }

    // The first CR-ended line received, CR included; empty on time-out.
    QByteArray firstLine(int timeoutMs = kEventWaitMs)
    {
        WaitUntil([this] { return received.contains('\r'); }, timeoutMs);
        const qsizetype cr = received.indexOf('\r');
        return cr < 0 ? QByteArray() : received.left(cr + 1);
    }

    QByteArray ask(const QByteArray &line, int timeoutMs = kEventWaitMs)
    {
        received.clear();
        send(line);
        return firstLine(timeoutMs);
    }

    MSComm comm;
    QByteArray received;
    bool hungUp = false;
};

QStringList modelArgs(int model, const QStringList &more = {})
{
    return QStringList{QStringLiteral("--model"), QString::number(model)} + more;
}

// A simulated unit that has taken the setup control commands, with the
// program's serial control open on it.
struct Bench
{
    explicit Bench(const QStringList &args, const QStringList &setup = {},
                   const QString &settings = QStringLiteral("9600,N,8,1"))
        : sim(args)
    {
        for (const QString &command : setup)
            sim.control(command);
        ready = sim.isReady() && sim.sync() && link.open(settings);
    }

    UnitSim sim;
    Link link;
    bool ready = false;
};

// Repeats a check that asks the unit (and so processes events) until it
// holds or the time is up.
bool eventually(const std::function<bool()> &check, int timeoutMs = kEventWaitMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!check()) {
        if (deadline.hasExpired())
            return false;
    }
    return true;
}

// A reply the program takes under this receive threshold: its CR stands at
// the threshold or later.
bool meetsThreshold(const QByteArray &reply, int threshold)
{
    return reply.endsWith('\r') && reply.size() >= threshold;
}

int differingCharacters(const QByteArray &a, const QByteArray &b)
{
    if (a.size() != b.size())
        return -1;
    int n = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        n += a[i] != b[i];
    return n;
}

const QString kFourFields = QStringLiteral(" [0-9A-F]{8}  [0-9A-F]{8}  [0-9A-F]{8}  [0-9A-F]{8}$");

} // namespace

class TestUnitSim : public QObject
{
    Q_OBJECT
private slots:
    void replyLayout_data();
    void replyLayout();
    void versionQueries_data();
    void versionQueries();
    void noReply_data();
    void noReply();
    void jogMovesUntilStopped_data();
    void jogMovesUntilStopped();
    void moveEndsAt_data();
    void moveEndsAt();
    void outputCommands_data();
    void outputCommands();
    void programDriveRunsToEnd();
    void programDriveSteps();
    void writeEchoAndReadBack_data();
    void writeEchoAndReadBack();
    void presetIsReadOverTheLine_data();
    void presetIsReadOverTheLine();
    void faultAfterTwoLines_data();
    void faultAfterTwoLines();
    void markerKeepsItsPlace_data();
    void markerKeepsItsPlace();
    void corruptedEcho_data();
    void corruptedEcho();
    void noise_data();
    void noise();
    void otherSpeedIsNotUnderstood_data();
    void otherSpeedIsNotUnderstood();
    void speedChangeCommand();
    void delayAndPacing_data();
    void delayAndPacing();
    void lockedNumberPassedOver();
    void pacedLineHoldsBothWays_data();
    void pacedLineHoldsBothWays();
};

void TestUnitSim::replyLayout_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<int>("threshold");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("field");

    const QString version = QStringLiteral(" \\d\\d\\.\\d\\d\\.\\d\\d .{8} ");
    const QString inr2 = QStringLiteral("^INR [0-9A-F]{2} [0-9A-F]{2}, [0-9A-F]{8}$");
    const QString inr4 = QStringLiteral("^INR X[0-9A-F]{2} Y[0-9A-F]{2} Z[0-9A-F]{2} U[0-9A-F]{2}, [0-9A-F]{8} [0-9A-F]{4}$");

    QTest::newRow("VER model 4") << 4 << QStringList{} << QByteArray("VER") << 24
                                 << "^VER" + version + "4$" << 23 << "4";
    QTest::newRow("VAR model 2") << 2 << QStringList{} << QByteArray("VAR") << 24
                                 << "^VAR" + version + "2$" << 23 << "2";
    QTest::newRow("POS 4 Y negative") << 4 << QStringList{"pos Y -2"} << QByteArray("POS") << 43
                                      << "^POS" + kFourFields << 15 << "FFFFFFFE";
    QTest::newRow("POS 4 U") << 4 << QStringList{"pos U 1500"} << QByteArray("POS") << 43
                             << "^POS" + kFourFields << 35 << "000005DC";
    QTest::newRow("POS 2 Y") << 2 << QStringList{"pos Y 10"} << QByteArray("POS") << 43
                             << "^POS" + kFourFields << 15 << "0000000A";
    QTest::newRow("POS 2 no Z") << 2 << QStringList{"pos X 7"} << QByteArray("POS") << 43
                                << "^POS" + kFourFields << 5 << "00000007  00000000  00000000  00000000";
    QTest::newRow("SPD 2 standing") << 2 << QStringList{} << QByteArray("SPD") << 43
                                    << "^SPD" + kFourFields << 5 << "00000000";
    QTest::newRow("IDC 4 Z") << 4 << QStringList{"run Z 18"} << QByteArray("IDC Z") << 9
                             << "^IDC Z[0-9A-F]{4}$" << 6 << "0012";
    QTest::newRow("IDC 2 Y") << 2 << QStringList{"run Y 53"} << QByteArray("IDC Y") << 9
                             << "^IDC Y[0-9A-F]{4}$" << 6 << "0035";
    QTest::newRow("INR 2 status Y") << 2 << QStringList{"status Y 82"} << QByteArray("INR XY") << 18
                                    << inr2 << 8 << "82";
    QTest::newRow("INR 2 port and X-RUN") << 2 << QStringList{"run X 3", "port 00010003"}
                                          << QByteArray("INR XY") << 18 << inr2 << 12 << "00030003";
    QTest::newRow("INR 2 no running bit") << 2 << QStringList{"run X 3"} << QByteArray("INR XY") << 18
                                          << inr2 << 5 << "00";
    QTest::newRow("INR 4 status Z") << 4 << QStringList{"status Z 81"} << QByteArray("INR XYZU") << 33
                                    << inr4 << 13 << "Z81";
    QTest::newRow("INR 4 running bit U") << 4 << QStringList{"run U 0"} << QByteArray("INR XYZU") << 33
                                         << inr4 << 17 << "U20";
    QTest::newRow("INR 4 port and Y-RUN") << 4 << QStringList{"run Y 0", "port 00010003"}
                                          << QByteArray("INR XYZU") << 33 << inr4 << 22 << "00050003";
    QTest::newRow("INR 4 general inputs") << 4 << QStringList{"inputs FFFE"} << QByteArray("INR XYZU") << 33
                                          << inr4 << 31 << "FFFE";
    QTest::newRow("OUT 4 U") << 4 << QStringList{} << QByteArray("OUT U") << 8
                             << "^OUT U[0-9A-F]{2}$" << 6 << "00";
    QTest::newRow("INP 4") << 4 << QStringList{"inputs 1234"} << QByteArray("INP") << 13
                           << "^INP [0-9A-F]{8}$" << 9 << "1234";
}

void TestUnitSim::replyLayout()
{
    QFETCH(int, model);
    QFETCH(QStringList, setup);
    QFETCH(QByteArray, query);
    QFETCH(int, threshold);
    QFETCH(QString, pattern);
    QFETCH(int, column);
    QFETCH(QString, field);

    Bench b(modelArgs(model), setup);
    QVERIFY(b.ready);
    Link &link = b.link;

    const QByteArray reply = link.ask(query);
    QVERIFY2(meetsThreshold(reply, threshold), reply.constData());
    const QString text = QString::fromLatin1(reply.chopped(1));
    QVERIFY2(QRegularExpression(pattern).match(text).hasMatch(), qPrintable(text));
    QCOMPARE(text.mid(column - 1, field.size()), field);
}

void TestUnitSim::versionQueries_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("answersVer");
    QTest::addColumn<bool>("answersVar");

    QTest::newRow("4-axis default") << 4 << QStringList{} << true << false;
    QTest::newRow("2-axis default") << 2 << QStringList{} << false << true;
    QTest::newRow("4-axis VAR") << 4 << QStringList{"--answers", "VAR"} << false << true;
    QTest::newRow("2-axis both") << 2 << QStringList{"--answers", "both"} << true << true;
    QTest::newRow("4-axis none") << 4 << QStringList{"--answers", "none"} << false << false;
}

void TestUnitSim::versionQueries()
{
    QFETCH(int, model);
    QFETCH(QStringList, options);
    QFETCH(bool, answersVer);
    QFETCH(bool, answersVar);

    Bench b(modelArgs(model, options));
    QVERIFY(b.ready);
    UnitSim &sim = b.sim;
    Link &link = b.link;
    link.send("VER");
    link.send("VAR");
    link.send("POS");
    // Replies leave in order, so once "POS" is answered the others are too.
    QVERIFY(sim.waitForTx([](const QString &t) { return t.startsWith(u"POS "); }));

    const QStringList tx = sim.txLines();
    const QString digit = QString::number(model);
    QCOMPARE(tx.contains("VER 01.02.03 ZT" + digit + "60A   " + digit), answersVer);
    QCOMPARE(tx.contains("VAR 01.02.03 ZT" + digit + "60A   " + digit), answersVar);
    QCOMPARE(tx.size(), 1 + int(answersVer) + int(answersVar));
}

void TestUnitSim::noReply_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QByteArray>("line");

    QTest::newRow("unknown head") << 4 << QByteArray("XYZ");
    QTest::newRow("version with text after") << 4 << QByteArray("VER X");
    QTest::newRow("2-axis status query on 4-axis") << 4 << QByteArray("INR XY");
    QTest::newRow("4-axis status query on 2-axis") << 2 << QByteArray("INR XYZU");
    QTest::newRow("axis Z on 2-axis") << 2 << QByteArray("IDC Z");
    QTest::newRow("general I/O on 2-axis") << 2 << QByteArray("INP");
    QTest::newRow("program register past the end") << 4 << QByteArray("PRX 2000");
    QTest::newRow("4-axis register on 2-axis") << 2 << QByteArray("PRX 12");
    QTest::newRow("2-axis register on 4-axis") << 4 << QByteArray("IXR X12");
    QTest::newRow("2-axis register gap") << 2 << QByteArray("IXR X54");
    QTest::newRow("parameter mnemonic on 2-axis") << 2 << QByteArray("RAT X");
    QTest::newRow("output state out of range") << 4 << QByteArray("OUT X04");
    QTest::newRow("jog") << 4 << QByteArray("JOG +X");
    QTest::newRow("drive start") << 2 << QByteArray("PRG Y12");
    QTest::newRow("parameter set") << 4 << QByteArray("SET U");
}

void TestUnitSim::noReply()
{
    QFETCH(int, model);
    QFETCH(QByteArray, line);

    Bench b(modelArgs(model));
    QVERIFY(b.ready);
    UnitSim &sim = b.sim;
    Link &link = b.link;
    link.send(line);
    const QByteArray first = link.ask("POS");
    QVERIFY2(first.startsWith("POS "), first.constData());
    QVERIFY(sim.sync());
    QCOMPARE(sim.rxLines(), (QStringList{QString::fromLatin1(line), "POS"}));
    QCOMPARE(sim.txLines().size(), 1);
    // Said at once, right after the line.
    const QStringList log = sim.log();
    const qsizetype rx = log.indexOf("RX " + QString::fromLatin1(line));
    QVERIFY(rx >= 0 && rx + 1 < log.size());
    QCOMPARE(log[rx + 1], "NOREPLY " + QString::fromLatin1(line));
    QCOMPARE(log.filter(QRegularExpression("^NOREPLY")).size(), 1);
}

void TestUnitSim::jogMovesUntilStopped_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QByteArray>("speed");
    QTest::addColumn<QByteArray>("jog");
    QTest::addColumn<QChar>("axis");
    QTest::addColumn<int>("direction");

    QTest::newRow("X plus") << 4 << QByteArray("SPD 8000") << QByteArray("JOG +X") << QChar('X') << 1;
    QTest::newRow("U plus without sign") << 4 << QByteArray("SPD ,,,8000") << QByteArray("JOG U") << QChar('U') << 1;
    QTest::newRow("Z minus") << 4 << QByteArray("SPD ,, 8000") << QByteArray("JOG -Z") << QChar('Z') << -1;
    QTest::newRow("2-axis Y minus") << 2 << QByteArray("SPD ,8000") << QByteArray("JOG -Y") << QChar('Y') << -1;
}

void TestUnitSim::jogMovesUntilStopped()
{
    QFETCH(int, model);
    QFETCH(QByteArray, speed);
    QFETCH(QByteArray, jog);
    QFETCH(QChar, axis);
    QFETCH(int, direction);

    Bench b(modelArgs(model));
    QVERIFY(b.ready);
    UnitSim &sim = b.sim;
    Link &link = b.link;
    const int column = 5 + 10 * QStringLiteral("XYZU").indexOf(axis);

    link.send(speed);
    link.send(jog);
    QVERIFY(eventually([&] { return sim.position(axis).value_or(0) * direction > 100; }));
    const QByteArray moving = link.ask("SPD");
    QCOMPARE(moving.mid(column - 1, 8), QByteArray(direction > 0 ? "00001F40" : "FFFFE0C0"));

    link.send("STO " + QByteArray(1, char(axis.unicode())));
    const QByteArray stopped = link.ask("SPD");
    QCOMPARE(stopped.mid(column - 1, 8), QByteArray("00000000"));
    const QByteArray before = link.ask("POS");
    QVERIFY(!before.isEmpty());
    QCOMPARE(link.ask("POS"), before);
}

void TestUnitSim::moveEndsAt_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QByteArrayList>("commands");
    QTest::addColumn<QChar>("axis");
    QTest::addColumn<int>("target");

    QTest::newRow("preset X") << 4 << QStringList{} << QByteArrayList{"SPD 8000", "PIC 1500"} << QChar('X') << 1500;
    QTest::newRow("preset Y minus") << 2 << QStringList{} << QByteArrayList{"SPD ,8000", "PIC ,-300"} << QChar('Y') << -300;
    QTest::newRow("preset U adds") << 4 << QStringList{"pos U 10"} << QByteArrayList{"SPD ,,,8000", "PIC ,,,-7"}
                                   << QChar('U') << 3;
    QTest::newRow("clear CLR") << 4 << QStringList{"pos Z 500"} << QByteArrayList{"CLR Z"} << QChar('Z') << 0;
    QTest::newRow("clear CLL") << 2 << QStringList{"pos Y -500"} << QByteArrayList{"CLL Y"} << QChar('Y') << 0;
    QTest::newRow("home search") << 4 << QStringList{"pos Z -300"} << QByteArrayList{"SPD ,,8000", "HOM XZ "}
                                 << QChar('Z') << 0;
}

void TestUnitSim::moveEndsAt()
{
    QFETCH(int, model);
    QFETCH(QStringList, setup);
    QFETCH(QByteArrayList, commands);
    QFETCH(QChar, axis);
    QFETCH(int, target);

    Bench b(modelArgs(model), setup);
    QVERIFY(b.ready);
    UnitSim &sim = b.sim;
    Link &link = b.link;

    for (const QByteArray &c : commands)
        link.send(c);
    QVERIFY(eventually([&] { return sim.position(axis) == target; }));
    // The move is over: no speed on that axis.
    const int column = 5 + 10 * QStringLiteral("XYZU").indexOf(axis);
    QCOMPARE(link.ask("SPD").mid(column - 1, 8), QByteArray("00000000"));
}

void TestUnitSim::outputCommands_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("commandReply");
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<QByteArray>("reply");

    QTest::newRow("axis outputs 4") << 4 << QByteArray("OUT Z01") << QByteArray("OUT Z01\r")
                                    << QByteArray("OUT Z") << QByteArray("OUT Z01\r");
    QTest::newRow("axis outputs 2") << 2 << QByteArray("OUT Y03") << QByteArray("OUT Y03\r")
                                    << QByteArray("OUT Y") << QByteArray("OUT Y03\r");
    QTest::newRow("general outputs") << 4 << QByteArray("OTP 8000") << QByteArray()
                                     << QByteArray("INP") << QByteArray("INP 8000FFFF\r");
    QTest::newRow("port outputs 4") << 4 << QByteArray("POT  5") << QByteArray()
                                    << QByteArray("INR XYZU") << QByteArray("INR X00 Y00 Z00 U00, 00050000 FFFF\r");
    QTest::newRow("port outputs 2") << 2 << QByteArray("POT  1") << QByteArray()
                                    << QByteArray("INR XY") << QByteArray("INR 00 00, 00010000\r");
}

void TestUnitSim::outputCommands()
{
    QFETCH(int, model);
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, commandReply);
    QFETCH(QByteArray, query);
    QFETCH(QByteArray, reply);

    Bench b(modelArgs(model));
    QVERIFY(b.ready);
    Link &link = b.link;
    if (commandReply.isEmpty())
        link.send(command);
    else
        QCOMPARE(link.ask(command), commandReply);
    QCOMPARE(link.ask(query), reply);
}

void TestUnitSim::programDriveRunsToEnd()
{
    Bench b(modelArgs(4), {"reg Y 4 00000064",    // INC 100
                           "reg Y 5 C1000007",    // JMP 7
                           "reg Y 7 010003E8",    // ABS 1000
                           "reg Y 8 FF000000"});  // END
    QVERIFY(b.ready);
    Link &link = b.link;

    // Started paused, so that it is still there to be seen however slowly
    // the question comes; a paused drive counts as running.
    link.send("PSP Y");
    link.send("PRG Y4");
    const QByteArray running = link.ask("INR XYZU");
    QCOMPARE(running.mid(8, 3), QByteArray("Y20"));
    QCOMPARE(running.mid(21, 8), QByteArray("00040000"));   // Y-RUN

    link.send("PRS Y");
    QVERIFY(eventually([&] { return link.ask("INR XYZU").mid(8, 3) == "Y00"; }));
    QCOMPARE(link.ask("IDC Y"), QByteArray("IDC Y0008\r"));
    QCOMPARE(b.sim.position('Y'), std::optional<qint32>(1000));
    QCOMPARE(link.ask("INR XYZU").mid(21, 8), QByteArray("00000000"));
}

void TestUnitSim::programDriveSteps()
{
    Bench b(modelArgs(2), {"reg X 0 00000064", "reg X 1 00000064"});   // INC 100 twice
    QVERIFY(b.ready);
    Link &link = b.link;

    // A step before the start makes the drive start paused at its register.
    link.send("PSP X");
    link.send("PRG X0");
    QCOMPARE(link.ask("INR XY"), QByteArray("INR 00 00, 00020000\r"));
    QCOMPARE(link.ask("IDC X"), QByteArray("IDC X0000\r"));
    link.send("PSP X");
    QCOMPARE(link.ask("IDC X"), QByteArray("IDC X0001\r"));
    QCOMPARE(b.sim.position('X'), std::optional<qint32>(100));
    link.send("EDP X");
    QCOMPARE(link.ask("INR XY"), QByteArray("INR 00 00, 00000000\r"));
}

void TestUnitSim::writeEchoAndReadBack_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QByteArray>("write");
    QTest::addColumn<QByteArray>("echo");
    QTest::addColumn<int>("writeThreshold");
    QTest::addColumn<QByteArray>("read");
    QTest::addColumn<QByteArray>("readReply");
    QTest::addColumn<int>("readThreshold");
    QTest::addColumn<QChar>("axis");
    QTest::addColumn<QString>("stored");   // register number or parameter name
    QTest::addColumn<quint32>("value");

    // 4-axis program registers: the echo is the command; a read is answered
    // with the request, "," and the word (threshold: request with CR + 9).
    QTest::newRow("PR X 12") << 4 << QByteArray("PRX 12,C1000005") << QByteArray("PRX 12,C1000005\r") << 16
                             << QByteArray("PRX 12") << QByteArray("PRX 12,C1000005\r") << 16
                             << QChar('X') << "12" << quint32(0xC1000005);
    QTest::newRow("PR U 1999") << 4 << QByteArray("PRU 1999,120003E8") << QByteArray("PRU 1999,120003E8\r") << 18
                               << QByteArray("PRU 1999") << QByteArray("PRU 1999,120003E8\r") << 18
                               << QChar('U') << "1999" << quint32(0x120003E8);
    // 2-axis registers: the echo has a blank after the comma (threshold:
    // command with CR + 1); a program register read has threshold 17.
    QTest::newRow("IXS X 12") << 2 << QByteArray("IXS X12,C1000005") << QByteArray("IXS X12, C1000005\r") << 18
                              << QByteArray("IXR X12") << QByteArray("IXR X12, C1000005\r") << 17
                              << QChar('X') << "12" << quint32(0xC1000005);
    QTest::newRow("IXS Y 0") << 2 << QByteArray("IXS Y0,FF000000") << QByteArray("IXS Y0, FF000000\r") << 17
                             << QByteArray("IXR Y0") << QByteArray("IXR Y0, FF000000\r") << 17
                             << QChar('Y') << "0" << quint32(0xFF000000);
    // 4-axis parameters: echo as sent, read answered in the same form.
    QTest::newRow("RAT") << 4 << QByteArray("RAT X01F4") << QByteArray("RAT X01F4\r") << 10
                         << QByteArray("RAT X") << QByteArray("RAT X01F4\r") << 9
                         << QChar('X') << "RAT" << quint32(0x1F4);
    QTest::newRow("TM1") << 4 << QByteArray("TM1 YFFFF") << QByteArray("TM1 YFFFF\r") << 10
                         << QByteArray("TM1 Y") << QByteArray("TM1 YFFFF\r") << 9
                         << QChar('Y') << "TM1" << quint32(0xFFFF);
    QTest::newRow("OFS") << 4 << QByteArray("OFS YFFFFFC18") << QByteArray("OFS YFFFFFC18\r") << 14
                         << QByteArray("OFS Y") << QByteArray("OFS YFFFFFC18\r") << 13
                         << QChar('Y') << "OFS" << quint32(0xFFFFFC18);
    QTest::newRow("MO2") << 4 << QByteArray("MO2 Z006F") << QByteArray("MO2 Z006F\r") << 10
                         << QByteArray("MO2 Z") << QByteArray("MO2 Z006F\r") << 10
                         << QChar('Z') << "MO2" << quint32(0x6F);
    QTest::newRow("HOS") << 4 << QByteArray("HOS U4155") << QByteArray("HOS U4155\r") << 10
                         << QByteArray("HOS U") << QByteArray("HOS U4155\r") << 10
                         << QChar('U') << "HOS" << quint32(0x4155);
    // 2-axis parameters: numbered registers, 4 digits read back (8 for 68).
    QTest::newRow("IXS 60 RAT") << 2 << QByteArray("IXS X60,000001F4") << QByteArray("IXS X60, 000001F4\r") << 13
                                << QByteArray("IXR X60") << QByteArray("IXR X60, 01F4\r") << 13
                                << QChar('X') << "RAT" << quint32(0x1F4);
    QTest::newRow("IXS 68 OFS") << 2 << QByteArray("IXS Y68,FFFFFC18") << QByteArray("IXS Y68, FFFFFC18\r") << 17
                                << QByteArray("IXR Y68") << QByteArray("IXR Y68, FFFFFC18\r") << 17
                                << QChar('Y') << "OFS" << quint32(0xFFFFFC18);
    QTest::newRow("IXS 58 MO1") << 2 << QByteArray("IXS Y58,00000045") << QByteArray("IXS Y58, 00000045\r") << 13
                                << QByteArray("IXR Y58") << QByteArray("IXR Y58, 0045\r") << 13
                                << QChar('Y') << "MO1" << quint32(0x45);
    QTest::newRow("IXS 67 HOS") << 2 << QByteArray("IXS X67,00004155") << QByteArray("IXS X67, 00004155\r") << 13
                                << QByteArray("IXR X67") << QByteArray("IXR X67, 4155\r") << 13
                                << QChar('X') << "HOS" << quint32(0x4155);
}

void TestUnitSim::writeEchoAndReadBack()
{
    QFETCH(int, model);
    QFETCH(QByteArray, write);
    QFETCH(QByteArray, echo);
    QFETCH(int, writeThreshold);
    QFETCH(QByteArray, read);
    QFETCH(QByteArray, readReply);
    QFETCH(int, readThreshold);
    QFETCH(QChar, axis);
    QFETCH(QString, stored);
    QFETCH(quint32, value);

    Bench b(modelArgs(model));
    QVERIFY(b.ready);
    UnitSim &sim = b.sim;
    Link &link = b.link;

    const QByteArray gotEcho = link.ask(write);
    QCOMPARE(gotEcho, echo);
    QVERIFY(meetsThreshold(gotEcho, writeThreshold));
    bool isRegister = false;
    const int reg = stored.toInt(&isRegister);
    QCOMPARE(isRegister ? sim.registerWord(axis, reg) : sim.parameter(axis, stored), std::optional<quint32>(value));
    const QByteArray gotRead = link.ask(read);
    QCOMPARE(gotRead, readReply);
    QVERIFY(meetsThreshold(gotRead, readThreshold));
}

void TestUnitSim::presetIsReadOverTheLine_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("preset");
    QTest::addColumn<QByteArray>("read");
    QTest::addColumn<QByteArray>("reply");

    QTest::newRow("4 parameter") << 4 << "par Z DR4 1F40" << QByteArray("DR4 Z") << QByteArray("DR4 Z1F40\r");
    QTest::newRow("2 parameter") << 2 << "par Y OG1 01F4" << QByteArray("IXR Y56") << QByteArray("IXR Y56, 01F4\r");
    QTest::newRow("4 register") << 4 << "reg Y 7 D0000000" << QByteArray("PRY 7") << QByteArray("PRY 7,D0000000\r");
    QTest::newRow("2 register") << 2 << "reg X 53 FF000000" << QByteArray("IXR X53")
                                << QByteArray("IXR X53, FF000000\r");
}

void TestUnitSim::presetIsReadOverTheLine()
{
    QFETCH(int, model);
    QFETCH(QString, preset);
    QFETCH(QByteArray, read);
    QFETCH(QByteArray, reply);

    Bench b(modelArgs(model), {preset});
    QVERIFY(b.ready);
    Link &link = b.link;
    QCOMPARE(link.ask(read), reply);
}

void TestUnitSim::faultAfterTwoLines_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("control");   // given after two answered lines
    QTest::addColumn<bool>("hangsUp");

    QTest::newRow("silent after 2") << QStringList{"--silent-after", "2"} << QString() << false;
    QTest::newRow("silent on") << QStringList{} << "silent on" << false;
    QTest::newRow("hang-up after 2") << QStringList{"--hangup-after", "2"} << QString() << true;
    QTest::newRow("hang-up on demand") << QStringList{} << "hangup" << true;
}

void TestUnitSim::faultAfterTwoLines()
{
    QFETCH(QStringList, options);
    QFETCH(QString, control);
    QFETCH(bool, hangsUp);

    Bench b(modelArgs(4, options));
    QVERIFY(b.ready);
    UnitSim &sim = b.sim;
    Link &link = b.link;
    QVERIFY(link.ask("POS").startsWith("POS "));
    QVERIFY(link.ask("SPD").startsWith("SPD "));
    sim.clearLog();
    if (!control.isEmpty()) {
        sim.control(control);
        QVERIFY(sim.sync());
    }
    link.send("POS");

    if (hangsUp) {
        QVERIFY(sim.waitForLog([](const QString &l) { return l == u"HANGUP"; }));
        QVERIFY(WaitUntil([&] { return !link.comm.PortOpen(); }, 3000) == WaitResult::Done);
        QVERIFY(link.hungUp);
        QCOMPARE(link.comm.Output(QStringLiteral("POS\r")), int(MSComm::PortNotOpen));
    } else {
        QVERIFY(sim.waitForLog([](const QString &l) { return l == u"NOREPLY POS"; }));
        QVERIFY(sim.sync());
        QCOMPARE(sim.txLines(), QStringList());
    }
}

void TestUnitSim::markerKeepsItsPlace_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QStringList>("log");   // without the TX lines
    QTest::newRow("unit's speed") << "9600,N,8,1"
        << QStringList{"MARK 1", "RX POS", "MARK 2", "RX POS", "NOREPLY POS", "MARK 3"};
    QTest::newRow("other speed") << "38400,N,8,1"
        << QStringList{"MARK 1", "GARBLED POS", "MARK 2", "GARBLED POS", "MARK 3"};
}

// A test's marker line is logged between the lines written before and after
// it, at any speed, and does not count as a line of the unit's.
void TestUnitSim::markerKeepsItsPlace()
{
    QFETCH(QString, settings);
    QFETCH(QStringList, log);

    Bench b(modelArgs(4, {"--silent-after", "1"}), {}, settings);
    QVERIFY(b.ready);
    UnitSim &sim = b.sim;
    Link &link = b.link;
    for (const char *line : {"~1", "POS", "~2", "POS", "~3"})
        link.send(line);
    QVERIFY(sim.waitForLog([](const QString &l) { return l == u"MARK 3"; }));
    QCOMPARE(sim.log().filter(QRegularExpression("^(?!TX )")), log);
    // The one answer (unless garbled) is the first "POS"'s.
    QVERIFY(sim.sync());
    QCOMPARE(sim.txLines().size(), log.contains("RX POS") ? 1 : 0);

    // "sync" answers after what was written to the line before it.
    link.send("~4");
    QVERIFY(sim.sync());
    QCOMPARE(sim.log().last(), QStringLiteral("MARK 4"));
}

void TestUnitSim::corruptedEcho_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QByteArray>("write");
    QTest::addColumn<QByteArray>("cleanEcho");
    QTest::addColumn<bool>("secondCorrupted");

    QTest::newRow("always, register") << 4 << QStringList{"--corrupt-echo"} << QString()
                                      << QByteArray("PRX 3,C1000005") << QByteArray("PRX 3,C1000005\r") << true;
    QTest::newRow("always, parameter") << 4 << QStringList{"--corrupt-echo"} << QString()
                                       << QByteArray("RAT Y0064") << QByteArray("RAT Y0064\r") << true;
    QTest::newRow("next only, 2-axis") << 2 << QStringList{} << "corrupt"
                                       << QByteArray("IXS X60,000001F4") << QByteArray("IXS X60, 000001F4\r") << false;
}

void TestUnitSim::corruptedEcho()
{
    QFETCH(int, model);
    QFETCH(QStringList, options);
    QFETCH(QString, control);
    QFETCH(QByteArray, write);
    QFETCH(QByteArray, cleanEcho);
    QFETCH(bool, secondCorrupted);

    Bench b(modelArgs(model, options), control.isEmpty() ? QStringList() : QStringList{control});
    QVERIFY(b.ready);
    Link &link = b.link;

    const QByteArray first = link.ask(write);
    QCOMPARE(differingCharacters(first, cleanEcho), 1);
    QCOMPARE(first.left(3), cleanEcho.left(3));
    const QByteArray second = link.ask(write);
    QCOMPARE(differingCharacters(second, cleanEcho), secondCorrupted ? 1 : 0);
}

void TestUnitSim::noise_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("control");

    QTest::newRow("given bytes") << QStringList{} << "noise 00FF7F0D";
    QTest::newRow("random bursts") << QStringList{"--noise"} << QString();
}

void TestUnitSim::noise()
{
    QFETCH(QStringList, options);
    QFETCH(QString, control);

    Bench b(modelArgs(4, options));
    QVERIFY(b.ready);
    UnitSim &sim = b.sim;
    Link &link = b.link;
    sim.clearLog();
    if (!control.isEmpty())
        sim.control(control);

    QString sent;
    QVERIFY(sim.waitForLog([&](const QString &l) {
        if (!l.startsWith(u"NOISE "))
            return false;
        sent = l.mid(6);
        return true;
    }));
    const QByteArray bytes = QByteArray::fromHex(sent.toLatin1());
    QVERIFY(bytes.endsWith('\r'));
    // Earlier random bursts may still be on their way; these bytes arrive whole.
    QVERIFY(WaitUntil([&] { return link.received.contains(bytes); }, 3000) == WaitResult::Done);
}

void TestUnitSim::otherSpeedIsNotUnderstood_data()
{
    QTest::addColumn<QString>("unitBaud");
    QTest::addColumn<QString>("wrongSettings");
    QTest::addColumn<QString>("rightSettings");

    QTest::newRow("unit 19200") << "19200" << "9600,N,8,1" << "19200,N,8,1";
    QTest::newRow("unit 38400") << "38400" << "19200,N,8,1" << "38400,N,8,1";
    QTest::newRow("unit 9600") << "9600" << "38400,N,8,1" << "9600,N,8,1";
}

void TestUnitSim::otherSpeedIsNotUnderstood()
{
    QFETCH(QString, unitBaud);
    QFETCH(QString, wrongSettings);
    QFETCH(QString, rightSettings);

    Bench b(modelArgs(4, {"--baud", unitBaud}), {}, wrongSettings);
    QVERIFY(b.ready);
    UnitSim &sim = b.sim;
    Link &link = b.link;
    link.send("VER");
    QVERIFY(sim.waitForLog([](const QString &l) { return l == u"GARBLED VER"; }));
    QVERIFY(sim.sync());
    QCOMPARE(sim.rxLines(), QStringList());
    QCOMPARE(sim.txLines(), QStringList());

    QCOMPARE(link.comm.setSettings(rightSettings), int(MSComm::NoError));
    QVERIFY(link.ask("VER").startsWith("VER "));
}

void TestUnitSim::speedChangeCommand()
{
    Bench b(modelArgs(2));
    QVERIFY(b.ready);
    UnitSim &sim = b.sim;
    Link &link = b.link;
    QCOMPARE(link.ask("SCI 38400"), QByteArray("SCI 38400\r"));
    QVERIFY(sim.waitForLog([](const QString &l) { return l == u"BAUD 38400"; }));

    link.send("VAR");
    QVERIFY(sim.waitForLog([](const QString &l) { return l == u"GARBLED VAR"; }));
    QCOMPARE(link.comm.setSettings(QStringLiteral("38400,N,8,1")), int(MSComm::NoError));
    QVERIFY(link.ask("VAR").startsWith("VAR "));
}

void TestUnitSim::delayAndPacing_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<int>("minimumMs");

    QTest::newRow("delay") << QStringList{"--delay", "300"} << QByteArray("POS") << 300;
    // 43 characters at 9600 bit/s, 10 bits each: 44.8 ms.
    QTest::newRow("paced at 9600") << QStringList{"--pace"} << QByteArray("SPD") << 44;
    // 35 characters at 19200 bit/s: 18.2 ms.
    QTest::newRow("paced at 19200") << QStringList{"--pace", "--baud", "19200"} << QByteArray("INR XYZU") << 18;
}

void TestUnitSim::delayAndPacing()
{
    QFETCH(QStringList, options);
    QFETCH(QByteArray, query);
    QFETCH(int, minimumMs);

    const int baud = options.contains("19200") ? 19200 : 9600;
    Bench b(modelArgs(4, options), {}, QStringLiteral("%1,N,8,1").arg(baud));
    QVERIFY(b.ready);
    Link &link = b.link;
    QElapsedTimer clock;
    clock.start();
    const QByteArray reply = link.ask(query);
    QVERIFY(reply.startsWith(query.left(3)));
    QVERIFY2(clock.elapsed() >= minimumMs, qPrintable(QString::number(clock.elapsed())));
}

// A program closing its port lets the terminal go before it removes its lock
// file. A terminal whose number is still locked so is passed over, by the
// simulated unit and the tests' own terminals alike, so that the port opens.
void TestUnitSim::lockedNumberPassedOver()
{
    auto pty = std::make_unique<Pty>();
    QVERIFY(pty->ok());
    const QString freed = pty->devicePath();
    // /tmp is one of the folders a serial port lock is looked for in, and the
    // one every user may write.
    QLockFile lock(QStringLiteral("/tmp/LCK..") + QString(freed).remove(0, 5).replace(u'/', u'_'));
    QVERIFY2(lock.tryLock(0), qPrintable(lock.fileName()));
    pty.reset();

    Bench b(modelArgs(4));
    QVERIFY(b.ready);
    QVERIFY(b.sim.devicePath() != freed);
    Pty other;
    QVERIFY(other.ok());
    QVERIFY(other.devicePath() != freed);
}

void TestUnitSim::pacedLineHoldsBothWays_data()
{
    QTest::addColumn<int>("baud");
    QTest::addColumn<bool>("write");

    QTest::newRow("register writes at 38400") << 38400 << true;
    QTest::newRow("register reads at 38400") << 38400 << false;
    QTest::newRow("register writes at 9600") << 9600 << true;
}

// A client that sends each command the moment the reply to the one before
// is in cannot beat the line: every character, either way, takes 10 bits.
void TestUnitSim::pacedLineHoldsBothWays()
{
    QFETCH(int, baud);
    QFETCH(bool, write);

    const QString speed = QString::number(baud);
    Bench b(modelArgs(4, {"--pace", "--baud", speed}), {}, speed + QStringLiteral(",N,8,1"));
    QVERIFY(b.ready);
    Link &link = b.link;
    const int count = baud == 9600 ? 8 : 30;
    qint64 bytes = 0;
    QElapsedTimer clock;
    clock.start();
    for (int reg = 0; reg < count; ++reg) {
        const QByteArray command = "PRY " + QByteArray::number(1990 + reg % 10)
                                   + (write ? "," + QByteArray::number(0xC1000000 + reg, 16).toUpper() : "");
        const QByteArray reply = link.ask(command);
        QVERIFY2(reply.startsWith(command), reply.constData());
        bytes += command.size() + 1 + reply.size();
    }
    const qint64 elapsedNs = clock.nsecsElapsed();
    const qint64 floorNs = bytes * 10 * 1'000'000'000LL / baud;
    QVERIFY2(elapsedNs >= floorNs, qPrintable(QStringLiteral("%1 bytes in %2 ms, the line needs %3 ms")
                                                  .arg(bytes)
                                                  .arg(elapsedNs / 1e6)
                                                  .arg(floorNs / 1e6)));
}

QTEST_GUILESS_MAIN(TestUnitSim)
#include "test_unitsim.moc"
