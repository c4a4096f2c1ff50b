// The receive path over a real pseudo-terminal: the program's serial control
// raises receive events, lines are assembled across events and parsed.

#include "ProgramState.h"
#include "Pty.h"
#include "ScriptedDialogs.h"
#include "TestHome.h"
#include "UnitSim.h"
#include "Waits.h"
#include "mainwin/frmMain.h"
#include <QLineEdit>
#include <QLabel>
#include "platform/EventPump.h"
#include "platform/MSComm.h"
#include "mainwin/frmIo.h"
#include "mainwin/SettingsFile.h"
#include "shared/Shared.h"

#include <QAction>
#include <QTemporaryFile>
#include <QtTest>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

class TestSerialLink : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void openFailures();
    void openWithoutPermission();
    void writeFailureReported();
    void outputNeedsOpenPort();
    void commandsGoOutWholeAndInOrder();
    void speedsAndPositionsArrive();
    void replySplitOverEvents();
    void twoLinesAtOnce();
    void shortLineBelowThresholdDropped();
    void waitingLineDeliveredOnceThresholdSet();
    void hangUpClosesPort_data();
    void hangUpClosesPort();
    void lineBegunBeforeCloseDropped_data();
    void lineBegunBeforeCloseDropped();
    void wholeRoadWithSimulatedUnit_data();
    void wholeRoadWithSimulatedUnit();

private:
    bool openOn(Pty &pty);
    TestHome *m_home = nullptr;
    ScriptedDialogs *m_dialogs = nullptr;   // a line that closes is told in a box
    frmMain *m_main = nullptr;
};

void TestSerialLink::init()
{
    ResetProgramState();
    m_home = new TestHome;
    m_dialogs = new ScriptedDialogs;
    SetStartValues();
    m_main = new frmMain;
}

void TestSerialLink::cleanup()
{
    delete m_main;
    delete m_dialogs;
    delete m_home;
    qunsetenv("ZT_COM1");
    qunsetenv("ZT_COM2");
}

bool TestSerialLink::openOn(Pty &pty)
{
    qputenv("ZT_COM1", pty.devicePath().toLocal8Bit());
    m_main->MSComm1->setCommPort(1);
    m_main->MSComm1->setSettings("38400,N,8,1");
    return m_main->MSComm1->setPortOpen(true) == MSComm::NoError;
}

void TestSerialLink::openFailures()
{
    MSComm *c = m_main->MSComm1;
    QCOMPARE(c->setCommPort(0), int(MSComm::InvalidPortNumber));
    qputenv("ZT_COM2", "/nonexistent/tty");
    QCOMPARE(c->setCommPort(2), int(MSComm::NoError));
    QCOMPARE(c->setPortOpen(true), int(MSComm::InvalidPortNumber));
    QVERIFY(!c->PortOpen());
    // Not a terminal: the port state cannot be set. A file of this test's
    // own, since a device every test may open (/dev/null) is locked against
    // the others while one has it open.
    QTemporaryFile notTerminal;
    QVERIFY(notTerminal.open());
    qputenv("ZT_COM2", notTerminal.fileName().toLocal8Bit());
    QCOMPARE(c->setPortOpen(true), int(MSComm::SetStateFailed));
    QVERIFY(!c->PortOpen());
    QCOMPARE(c->setSettings("fast"), int(MSComm::InvalidPropertyValue));

    Pty pty;
    QVERIFY(openOn(pty));
    QCOMPARE(c->setPortOpen(true), int(MSComm::PortAlreadyOpen));
    QCOMPARE(c->setCommPort(3), int(MSComm::PortAlreadyOpen));
}

// A device this user may not open is named with its cause, not taken for a
// port that is already open.
void TestSerialLink::openWithoutPermission()
{
    Pty pty;
    QVERIFY(pty.ok());
    const QByteArray path = pty.devicePath().toLocal8Bit();
    QCOMPARE(::chmod(path.constData(), 0), 0);
    qputenv("ZT_COM2", path);
    // The superuser may open anything: the open runs as an ordinary user then.
    const uid_t was = ::geteuid();
    if (was == 0)
        QCOMPARE(::seteuid(65534), 0);
    m_main->mnuComItem_Click(1);
    if (was == 0)
        QCOMPARE(::seteuid(0), 0);
    QVERIFY(!m_main->MSComm1->PortOpen());
    const QString named = QStringLiteral("Com2 = ") + pty.devicePath() + QStringLiteral(": Permission denied");
    QCOMPARE(m_main->MSComm1->FailureDetail(), named);
    QCOMPARE(m_dialogs->texts(), QStringList{"Error No. 8003. Comport Access Denied.\n" + named});
}

// A write the device refuses is reported by Output at once; a hung-up line
// is named as such.
void TestSerialLink::writeFailureReported()
{
    Pty pty;
    QVERIFY(openOn(pty));
    MSComm *c = m_main->MSComm1;
    QCOMPARE(c->Output("SPD\r"), 0);
    QCOMPARE(pty.readLine(), QByteArray("SPD\r"));
    pty.hangUp();   // no events in between: the port is still open
    QVERIFY(c->PortOpen());
    QCOMPARE(c->Output("POS\r"), int(MSComm::WriteFailed));
    QCOMPARE(c->FailureDetail(), QStringLiteral("Com1 = ") + pty.devicePath() + QStringLiteral(": the line was hung up"));
}

void TestSerialLink::outputNeedsOpenPort()
{
    QCOMPARE(m_main->MSComm1->Output("SPD\r"), int(MSComm::PortNotOpen));
    QVERIFY(m_main->MSComm1->Input().isEmpty());
}

// Commands written one after the other, with no pass of events between
// them, reach the unit whole and in order, and none is left waiting.
void TestSerialLink::commandsGoOutWholeAndInOrder()
{
    Pty pty;
    QVERIFY(openOn(pty));
    MSComm *c = m_main->MSComm1;
    QByteArray sent;
    for (int reg = 0; reg < 100; ++reg) {
        const QByteArray command = "PRX " + QByteArray::number(reg) + ",C10000" + QByteArray::number(reg % 10) + "5\r";
        QCOMPARE(c->Output(QString::fromLatin1(command)), 0);
        QCOMPARE(c->OutBufferCount(), 0);
        sent += command;
    }
    QCOMPARE(pty.readAllWritten(*c), sent);
}

void TestSerialLink::speedsAndPositionsArrive()
{
    Pty pty;
    QVERIFY(openOn(pty));
    MSComm *c = m_main->MSComm1;
    c->setRThreshold(43);
    QCOMPARE(c->Output("SPD\r"), 0);
    QCOMPARE(pty.readLine(), QByteArray("SPD\r"));
    pty.send("SPD 000005DC  FFFFFA24  00000000  0000000A\r\n");
    QVERIFY(WaitUntil([&] { return m_main->Text8->text() == " 10"; }, kEventWaitMs)
            == WaitResult::Done);
    QCOMPARE(m_main->Text5->text(), QStringLiteral(" 1500"));
    QCOMPARE(m_main->Text6->text(), QStringLiteral("-1500"));

    g.ScaleSel[0] = 1;
    g.ScaleFactor[1][0] = "0.001";
    QCOMPARE(c->Output("POS\r"), 0);
    QCOMPARE(pty.readLine(), QByteArray("POS\r"));
    pty.send("POS 000004E2  FFFFFFFF  00000000  00000000\r");
    QVERIFY(WaitUntil([&] { return m_main->Text2->text() == "-1"; }, kEventWaitMs) == WaitResult::Done);
    QCOMPARE(m_main->Text1->text(), QStringLiteral("1.250"));
}

void TestSerialLink::replySplitOverEvents()
{
    Pty pty;
    QVERIFY(openOn(pty));
    m_main->MSComm1->setRThreshold(9);
    pty.send("IDC X07");
    // The first part arrives and is collected; nothing is shown yet.
    QVERIFY(WaitUntil([&] { return m_main->Link->ReceiveBuffer == "IDC X07"; }, kEventWaitMs) == WaitResult::Done);
    QCOMPARE(m_main->Text17->text(), QString());
    pty.send("CF\r");
    QVERIFY(WaitUntil([&] { return m_main->Text17->text() == "1999"; }, kEventWaitMs) == WaitResult::Done);
    QVERIFY(m_main->Link->ReceiveBuffer.isEmpty());
}

void TestSerialLink::twoLinesAtOnce()
{
    Pty pty;
    QVERIFY(openOn(pty));
    m_main->MSComm1->setRThreshold(9);
    pty.send("IDC X0001\rIDC Y0002\r");
    QVERIFY(WaitUntil([&] { return m_main->Text18->text() == "2"; }, kEventWaitMs) == WaitResult::Done);
    QCOMPARE(m_main->Text17->text(), QStringLiteral("1"));
}

void TestSerialLink::shortLineBelowThresholdDropped()
{
    Pty pty;
    QVERIFY(openOn(pty));
    m_main->MSComm1->setRThreshold(43);
    m_main->Link->SpeedReplyPending = 1;
    pty.send("IDC X0005\r");
    QVERIFY(WaitUntil([&] { return m_main->Link->SpeedReplyPending == 0; }, kEventWaitMs) == WaitResult::Done);
    QCOMPARE(m_main->Text17->text(), QString());
}

void TestSerialLink::waitingLineDeliveredOnceThresholdSet()
{
    Pty pty;
    QVERIFY(openOn(pty));
    MSComm *c = m_main->MSComm1;
    c->setRThreshold(0);
    pty.send("IDC X0005\r");
    // No threshold in force: the line waits and nothing is shown.
    QVERIFY(WaitUntil([&] { return c->InBufferCount() == 10; }, kEventWaitMs) == WaitResult::Done);
    QCOMPARE(m_main->Text17->text(), QString());
    c->setRThreshold(9);
    QVERIFY(WaitUntil([&] { return m_main->Text17->text() == "5"; }, kEventWaitMs) == WaitResult::Done);
    QCOMPARE(c->InBufferCount(), 0);
}

void TestSerialLink::hangUpClosesPort_data()
{
    // The system's last error when the program next reads: a read that finds
    // the line hung up reports whatever error the system held from before.
    QTest::addColumn<int>("lastError");
    QTest::newRow("no error held") << 0;
    QTest::newRow("\"Resource temporarily unavailable\" held") << int(EAGAIN);
}

void TestSerialLink::hangUpClosesPort()
{
    QFETCH(int, lastError);
    Pty pty;
    QVERIFY(openOn(pty));
    MSComm *c = m_main->MSComm1;
    c->setRThreshold(1);
    QList<int> events;
    connect(c, &MSComm::OnComm, this, [&] { events << c->CommEvent(); });
    pty.hangUp();
    errno = lastError;
    QVERIFY(WaitUntil([&] { return !c->PortOpen(); }, kEventWaitMs) == WaitResult::Done);
    QCOMPARE(c->Output("SPD\r"), int(MSComm::PortNotOpen));
    // The handler hears of it once, after the port closed, with the device
    // and the reason for the operator: the hang-up, named as such.
    QVERIFY(WaitUntil([&] { return !events.isEmpty(); }, kEventWaitMs) == WaitResult::Done);
    QCOMPARE(events, QList<int>{MSComm::comEvCD});
    QCOMPARE(c->FailureDetail(), QStringLiteral("Com1 = ") + pty.devicePath() + QStringLiteral(": the line was hung up"));
}

void TestSerialLink::lineBegunBeforeCloseDropped_data()
{
    QTest::addColumn<bool>("hangUp");   // else the program closes the port
    QTest::newRow("port closed") << false;
    QTest::newRow("line hung up") << true;
}

void TestSerialLink::lineBegunBeforeCloseDropped()
{
    QFETCH(bool, hangUp);
    MSComm *c = m_main->MSComm1;
    {
        Pty first;
        QVERIFY(openOn(first));
        c->setRThreshold(43);
        // Ten characters of a position reply, then the connection ends.
        first.send("POS 000004");
        QVERIFY(WaitUntil([&] { return m_main->Link->ReceiveBuffer == "POS 000004"; }, kEventWaitMs) == WaitResult::Done);
        if (hangUp)
            first.hangUp();
        else
            c->setPortOpen(false);
        QVERIFY(WaitUntil([&] { return !c->PortOpen(); }, kEventWaitMs) == WaitResult::Done);
    }
    // The next connection's first reply stands alone: glued to the old
    // characters its X field would land in the Y box.
    Pty second;
    QVERIFY(openOn(second));
    c->setRThreshold(43);
    second.send("POS 000004E2  FFFFFFFF  00000000  00000000\r");
    QVERIFY(WaitUntil([&] { return m_main->Text1->text() == "1250"; }, kEventWaitMs) == WaitResult::Done);
    QCOMPARE(m_main->Text2->text(), QStringLiteral("-1"));
}

void TestSerialLink::wholeRoadWithSimulatedUnit_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("zPosition");   // what the Z box shows after "POS"
    QTest::newRow("4-axis") << "4" << "-7";
    QTest::newRow("2-axis") << "2" << "Text3";   // Z is not written on the 2-axis unit
}

void TestSerialLink::wholeRoadWithSimulatedUnit()
{
    QFETCH(QString, model);
    QFETCH(QString, zPosition);
    UnitSim sim({"--model", model, "--pace"});
    QVERIFY(sim.isReady());
    g.UnitModel = model;
    sim.control("pos X 1250");
    sim.control("pos Y -1");
    if (model == u"4")
        sim.control("pos Z -7");
    QVERIFY(sim.sync());
    g.ScaleSel[0] = 1;
    g.ScaleFactor[1][0] = "0.001";
    MSComm *c = m_main->MSComm1;
    c->setCommPort(1);
    QCOMPARE(c->setPortOpen(true), 0);
    c->setRThreshold(43);
    QCOMPARE(c->Output("POS\r"), 0);
    QVERIFY(WaitUntil([&] { return m_main->Text2->text() == "-1"; }, kEventWaitMs) == WaitResult::Done);
    QCOMPARE(m_main->Text1->text(), QStringLiteral("1.250"));
    QCOMPARE(m_main->Text3->text(), zPosition);
    QCOMPARE(c->Output("SPD\r"), 0);
    QVERIFY(WaitUntil([&] { return m_main->Text5->text() == " 0"; }, kEventWaitMs) == WaitResult::Done);
    QCOMPARE(m_main->Text6->text(), QStringLiteral(" 0"));
}

QTEST_MAIN(TestSerialLink)
#include "test_seriallink.moc"
