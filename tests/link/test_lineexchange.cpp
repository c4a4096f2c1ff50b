// The exchange engine on its own against the simulated unit: every way a
// wait can end, pause and cancel, lines that must not be taken, the receive
// drain; and the line owner's rule as a table.

#include "Pty.h"
#include "TestHome.h"
#include "UnitSim.h"
#include "link/LineExchange.h"
#include "link/LineOwner.h"
#include "link/MessageWindowHooks.h"
#include "link/UnitLink.h"
#include "platform/EventPump.h"
#include "platform/MSComm.h"
#include "platform/frmMessage.h"
#include "shared/Shared.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

Q_DECLARE_METATYPE(ExchangeOutcome)

namespace {

// Hooks a test drives: flags it sets, and a call on every pass of a wait.
struct TestHooks : ExchangeHooks {
    bool cancel = false;
    bool pause = false;
    QStringList sent;
    std::function<void()> onPass;

    bool CancelRequested() override
    {
        if (onPass)
            onPass();
        return cancel;
    }
    bool PauseRequested() override { return pause; }
    void Sent(const ExchangeRequest &r) override { sent << r.command; }
};

ExchangeRequest request(const QString &command, ReplyKept reply, const QString &head, int timeoutMs)
{
    ExchangeRequest rq;
    rq.command = command;
    rq.reply = reply;
    rq.accepts = [head](const QString &line) { return line.startsWith(head); };
    rq.threshold = int(command.size());
    rq.timeoutMs = timeoutMs;
    return rq;
}

// A time-out no test should ever reach: a wait that ends must end otherwise.
constexpr int kNever = 60000;

} // namespace

class TestLineExchange : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void answered_data();
    void answered();
    void timedOut_data();
    void timedOut();
    void staleLineNotTaken();
    void waitOnlyAfterMismatch();
    void cancelDuringWait();
    void waitWindowCancel();
    void pauseThenResume_data();
    void pauseThenResume();
    void holdWhilePaused_data();
    void holdWhilePaused();
    void lineClosedMidWait();
    void portClosedBeforeSend();
    void writeFailure();
    void drainReadsWhatIsStillArriving();

    void ownerRule_data();
    void ownerRule();
    void holdsDoNotStack();

private:
    bool open(UnitSim &sim);
    bool open(const QString &device);
    TestHome *m_home = nullptr;
    MSComm *m_port = nullptr;
    UnitLink *m_link = nullptr;
};

void TestLineExchange::init()
{
    ResetSharedState();
    m_home = new TestHome;
    SetStartValues();
    m_port = new MSComm;
    m_link = new UnitLink(*m_port);   // keeps the replies
}

void TestLineExchange::cleanup()
{
    UnloadMessageWindow();
    delete m_link;
    delete m_port;
    delete m_home;
    qunsetenv("ZT_COM1");
}

bool TestLineExchange::open(UnitSim &sim)
{
    return sim.isReady() && open(sim.devicePath());
}

bool TestLineExchange::open(const QString &device)
{
    if (device.isEmpty())
        return false;
    qputenv("ZT_COM1", device.toLocal8Bit());
    m_port->setCommPort(1);
    m_port->setSettings(QStringLiteral("9600,N,8,1"));
    return m_port->setPortOpen(true) == MSComm::NoError;
}

void TestLineExchange::answered_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("ixs");          // the reply lands in IxsReplyLine, else ReplyLine
    QTest::addColumn<QString>("head");
    QTest::addColumn<int>("threshold");
    QTest::addColumn<bool>("afterSend");
    QTest::addColumn<QString>("line");
    QTest::newRow("4-axis register write echo") << "4" << "PRX 12,C1000005\r" << true << "PR" << 16 << false
                                                << "PRX 12,C1000005\r";
    QTest::newRow("4-axis register read") << "4" << "PRY 7\r" << true << "PR" << 15 << false
                                          << "PRY 7,C0000000\r";
    QTest::newRow("4-axis parameter read") << "4" << "RAT Z\r" << false << "RAT Z" << 9 << false
                                           << "RAT Z0064\r";
    QTest::newRow("2-axis write, threshold after the send") << "2" << "IXS X3,C1000005\r" << true << "IXS"
                                                            << 17 << true << "IXS X3, C1000005\r";
    QTest::newRow("2-axis read") << "2" << "IXR Y53\r" << false << "IXR" << 17 << false
                                 << "IXR Y53, C0000000\r";
}

void TestLineExchange::answered()
{
    QFETCH(QString, model);
    QFETCH(QString, command);
    QFETCH(bool, ixs);
    QFETCH(QString, head);
    QFETCH(int, threshold);
    QFETCH(bool, afterSend);
    QFETCH(QString, line);
    UnitSim sim({"--model", model});
    QVERIFY(open(sim));
    g.UnitModel = model;
    TestHooks hooks;
    LineExchange ex(*m_link, &hooks);
    const ReplyKept kept = ixs ? ReplyKept::IxsReplyLine : ReplyKept::ReplyLine;
    QString &reply = m_link->kept(kept);
    ExchangeRequest rq = request(command, kept, head, kNever);
    rq.threshold = threshold;
    rq.thresholdAt = afterSend ? ThresholdAt::AfterSend : ThresholdAt::BeforeSend;
    const ExchangeResult r = ex.Exchange(rq);
    QCOMPARE(r.outcome, ExchangeOutcome::Answered);
    QCOMPARE(r.line, line);
    QVERIFY(r.message().isEmpty());
    QCOMPARE(reply, QString());   // taken: the next wait starts from nothing
    QCOMPARE(hooks.sent, QStringList{command});
    QCOMPARE(m_port->RThreshold(), threshold);
    QVERIFY(sim.waitForRx(command.chopped(1)));
}

void TestLineExchange::timedOut_data()
{
    QTest::addColumn<bool>("silent");
    QTest::addColumn<QString>("head");   // what the reply test waits for
    QTest::newRow("silent unit") << true << "PR";
    QTest::newRow("the reply answers something else") << false << "PRY";
}

void TestLineExchange::timedOut()
{
    QFETCH(bool, silent);
    QFETCH(QString, head);
    UnitSim sim(silent ? QStringList{"--silent-after", "0"} : QStringList{});
    QVERIFY(open(sim));
    LineExchange ex(*m_link);
    const ExchangeResult r = ex.Exchange(request("PRX 3\r", ReplyKept::IxsReplyLine, head, 300));
    QCOMPARE(r.outcome, ExchangeOutcome::TimedOut);
    QCOMPARE(r.message(), QStringLiteral("Error is Time Out of Cominucation!!"));
    if (!silent) {
        // The refused reply arrived and was left where it stood.
        QVERIFY(sim.waitForTx(QStringLiteral("PRX 3,C0000000")));
        QVERIFY(WaitUntil([this] { return !m_link->IxsReplyLine.isEmpty(); }, 3000) == WaitResult::Done);
    }
}

// A fitting line that stood in the variable before the send is no answer.
void TestLineExchange::staleLineNotTaken()
{
    UnitSim sim({"--silent-after", "0"});
    QVERIFY(open(sim));
    LineExchange ex(*m_link);
    m_link->IxsReplyLine = QStringLiteral("PRX 12,C1000005\r");
    const ExchangeResult r = ex.Exchange(request("PRX 12,C1000005\r", ReplyKept::IxsReplyLine, "PR", 300));
    QCOMPARE(r.outcome, ExchangeOutcome::TimedOut);
    QVERIFY(sim.waitForRx(QStringLiteral("PRX 12,C1000005")));
}

// After a reply that did not fit, a wait without a command takes the next
// line the unit sends, and keeping the variable lets a line already there
// answer at once.
void TestLineExchange::waitOnlyAfterMismatch()
{
    UnitSim sim;
    QVERIFY(open(sim));
    LineExchange ex(*m_link);
    TestHooks hooks;
    LineExchange watched(*m_link, &hooks);
    ExchangeRequest rq = request(QString(), ReplyKept::IxsReplyLine, "PRX 5", kNever);
    rq.threshold.reset();
    m_port->setRThreshold(15);
    bool asked = false;
    hooks.onPass = [&] {
        if (!asked) {
            asked = true;
            sim.control(QStringLiteral("send PRX 5,C1000001"));
        }
    };
    const ExchangeResult r = watched.Exchange(rq);
    QCOMPARE(r.outcome, ExchangeOutcome::Answered);
    QCOMPARE(r.line, QStringLiteral("PRX 5,C1000001\r"));
    QVERIFY(hooks.sent.isEmpty());
    QCOMPARE(m_port->RThreshold(), 15);

    m_link->IxsReplyLine = QStringLiteral("PRX 5,C1000002\r");
    rq.clearReply = false;
    const ExchangeResult kept = ex.Exchange(rq);
    QCOMPARE(kept.outcome, ExchangeOutcome::Answered);
    QCOMPARE(kept.line, QStringLiteral("PRX 5,C1000002\r"));
}

void TestLineExchange::cancelDuringWait()
{
    UnitSim sim({"--silent-after", "0"});
    QVERIFY(open(sim));
    TestHooks hooks;
    LineExchange ex(*m_link, &hooks);
    // Cancel comes as an event while the wait runs, as a button would.
    QTimer::singleShot(20, m_link, [&] { hooks.cancel = true; });
    const ExchangeResult r = ex.Exchange(request("PRX 1\r", ReplyKept::IxsReplyLine, "PR", kNever));
    QCOMPARE(r.outcome, ExchangeOutcome::Cancelled);
    QCOMPARE(r.message(), QStringLiteral("Cancel!"));
    QCOMPARE(hooks.sent, QStringList{"PRX 1\r"});
    QVERIFY(m_port->PortOpen());
}

void TestLineExchange::pauseThenResume_data()
{
    QTest::addColumn<bool>("late");   // the unit answers only late in the pause
    QTest::newRow("reply at once, held through the pause") << false;
    QTest::newRow("reply long after the time-out, in the pause") << true;
}

// The wait window's Cancel, shown for a wait that may be cancelled, ends the
// wait at once; the next showing starts without it pressed.
void TestLineExchange::waitWindowCancel()
{
    UnitSim sim({"--silent-after", "0"});
    QVERIFY(open(sim));
    MessageWindowHooks hooks;
    LineExchange ex(*m_link, &hooks);
    ShowMessageWindow();
    QVERIFY(!MessageWindow()->cmdCancel->isVisibleTo(MessageWindow()));
    ShowMessageWindow(true);
    frmMessage *w = MessageWindow();
    QVERIFY(w->cmdCancel->isVisibleTo(w));
    QTimer::singleShot(20, w, [w] { QTest::mouseClick(w->cmdCancel, Qt::LeftButton); });
    const ExchangeResult r = ex.Exchange(request("PRX 1\r", ReplyKept::IxsReplyLine, "PR", kNever));
    QCOMPARE(r.outcome, ExchangeOutcome::Cancelled);
    QVERIFY(!w->cmdCancel->isEnabled());
    ShowMessageWindow(true);
    QVERIFY(!MessageCancelRequested());
    QVERIFY(w->cmdCancel->isEnabled());
}

// A pause during the wait holds it: a reply that arrives meanwhile is not
// taken and no time-out runs out, however long the pause; once the pause
// ends the reply is taken.
void TestLineExchange::pauseThenResume()
{
    QFETCH(bool, late);
    UnitSim sim(late ? QStringList{"--silent-after", "0"} : QStringList{});
    QVERIFY(open(sim));
    TestHooks hooks;
    LineExchange ex(*m_link, &hooks);
    constexpr int kTimeout = 200;
    QElapsedTimer pausedFor;
    bool heldLongEnough = false;
    bool replySent = !late;
    QTimer resume;
    resume.setInterval(10);
    QObject::connect(&resume, &QTimer::timeout, [&] {
        if (!hooks.pause || pausedFor.elapsed() < 3 * kTimeout)
            return;
        if (!replySent) {
            replySent = true;
            sim.control(QStringLiteral("send PRZ 9,C1000003"));
        }
        if (m_link->IxsReplyLine.isEmpty())
            return;
        heldLongEnough = true;
        hooks.pause = false;
    });
    hooks.onPass = [&] {
        if (!hooks.sent.isEmpty() && !pausedFor.isValid()) {
            hooks.pause = true;
            pausedFor.start();
            resume.start();
        }
    };
    const ExchangeResult r = ex.Exchange(request("PRZ 9\r", ReplyKept::IxsReplyLine, "PR", kTimeout));
    QCOMPARE(r.outcome, ExchangeOutcome::Answered);
    QCOMPARE(r.line, late ? QStringLiteral("PRZ 9,C1000003\r") : QStringLiteral("PRZ 9,C0000000\r"));
    QVERIFY(heldLongEnough);
}

void TestLineExchange::holdWhilePaused_data()
{
    QTest::addColumn<QString>("end");   // what ends the pause
    QTest::addColumn<int>("outcome");   // -1: nothing (go on)
    QTest::newRow("resumed") << "resume" << -1;
    QTest::newRow("cancelled while paused") << "cancel" << int(ExchangeOutcome::Cancelled);
    QTest::newRow("line hung up while paused") << "hangup" << int(ExchangeOutcome::LineClosed);
}

void TestLineExchange::holdWhilePaused()
{
    QFETCH(QString, end);
    QFETCH(int, outcome);
    UnitSim sim;
    QVERIFY(open(sim));
    TestHooks hooks;
    LineExchange ex(*m_link, &hooks);
    QVERIFY(!ex.HoldWhilePaused());   // not paused: go on at once
    hooks.pause = true;
    QTimer::singleShot(20, m_link, [&] {
        if (end == u"resume")
            hooks.pause = false;
        else if (end == u"cancel")
            hooks.cancel = true;
        else
            sim.control(QStringLiteral("hangup"));
    });
    const auto r = ex.HoldWhilePaused();
    QCOMPARE(r.has_value(), outcome >= 0);
    if (r)
        QCOMPARE(int(*r), outcome);
}

void TestLineExchange::lineClosedMidWait()
{
    UnitSim sim({"--hangup-after", "0"});
    QVERIFY(open(sim));
    LineExchange ex(*m_link);
    const ExchangeResult r = ex.Exchange(request("PRU 0\r", ReplyKept::IxsReplyLine, "PR", kNever));
    QCOMPARE(r.outcome, ExchangeOutcome::LineClosed);
    QVERIFY(!m_port->PortOpen());
    // Told as a closed line, not as a unit that did not answer, with the
    // device and the system's reason on a second line.
    const QString head = QStringLiteral("The line to the unit was closed.\nCom1 = ") + sim.devicePath() + u':';
    QVERIFY2(r.message().startsWith(head) && r.message().size() > head.size() + 1, qPrintable(r.message()));
}

void TestLineExchange::portClosedBeforeSend()
{
    TestHooks hooks;
    LineExchange ex(*m_link, &hooks);
    m_link->IxsReplyLine = QStringLiteral("PRX 0,C0000000\r");
    const ExchangeResult r = ex.Exchange(request("PRX 0\r", ReplyKept::IxsReplyLine, "PR", kNever));
    QCOMPARE(r.outcome, ExchangeOutcome::LineClosed);
    QVERIFY(hooks.sent.isEmpty());
}

// A command the device refuses ends the exchange at once, named for the
// operator, instead of waiting out the time-out.
void TestLineExchange::writeFailure()
{
    Pty pty;
    QVERIFY(pty.ok() && open(pty.devicePath()));
    TestHooks hooks;
    LineExchange ex(*m_link, &hooks);
    pty.hangUp();   // the port has not seen it yet: no events in between
    const ExchangeResult r = ex.Exchange(request("PRX 0\r", ReplyKept::IxsReplyLine, "PR", kNever));
    QCOMPARE(r.outcome, ExchangeOutcome::WriteFailed);
    QVERIFY(hooks.sent.isEmpty());
    QVERIFY(r.failure.startsWith(QStringLiteral("Com1 = ") + pty.devicePath() + QStringLiteral(": ")));
    QCOMPARE(r.message(), QStringLiteral("The command could not be sent to the unit.\n") + r.failure);
}

// Lines on their way when the drain begins are read away too: the drain
// lets the port take them in.
void TestLineExchange::drainReadsWhatIsStillArriving()
{
    Pty pty;
    QVERIFY(pty.ok() && open(pty.devicePath()));
    MSComm *port = m_port;
    port->setRThreshold(0);   // nothing is handed to the parser meanwhile
    LineExchange ex(*m_link);
    // Written to the line, but not yet read by the port: only events bring it in.
    pty.send("RAT X01F4\rACS X1F40\r");
    ex.ClearReceiveSide(ClearHow::Drain);
    // The marker after the drain is the first thing left to read.
    pty.send("END\r");
    QVERIFY(WaitUntil([&] { return port->InBufferCount() >= 4; }, 3000) == WaitResult::Done);
    QCOMPARE(port->Input(), QStringLiteral("END\r"));
}

void TestLineExchange::ownerRule_data()
{
    QTest::addColumn<QString>("holder");   // nobody, io, transfer, drive, io+transfer
    QTest::addColumn<QString>("allowed");  // M monitor, I I/O poll, m manual, S stop, D drive, T transfer
    QTest::newRow("nobody") << "nobody" << "MImSDT";
    QTest::newRow("I/O window open") << "io" << "ImSDT";
    QTest::newRow("a transfer, running or paused") << "transfer" << "S";
    QTest::newRow("a drive start") << "drive" << "S";
    QTest::newRow("a transfer with the I/O window open") << "io+transfer" << "S";
}

void TestLineExchange::ownerRule()
{
    QFETCH(QString, holder);
    QFETCH(QString, allowed);
    SetIoPollActive(holder.startsWith(u"io"));
    std::optional<LineHold> hold;
    if (holder.endsWith(u"transfer"))
        hold.emplace(LineUser::Transfer);
    else if (holder == u"drive")
        hold.emplace(LineUser::Drive);
    QCOMPARE(hold.has_value() && hold->owns(), hold.has_value());
    QCOMPARE(LineHeld(), hold.has_value());
    const std::pair<QChar, LineUser> users[] = {
        {u'M', LineUser::MonitorPoll}, {u'I', LineUser::IoPoll}, {u'm', LineUser::Manual},
        {u'S', LineUser::Stop},        {u'D', LineUser::Drive},  {u'T', LineUser::Transfer}};
    for (const auto &[letter, user] : users)
        QVERIFY2(MayWrite(user) == allowed.contains(letter), qPrintable(QString(letter)));
    SetIoPollActive(false);
}

// A second transfer or drive start is refused while one holds the line; the
// refused hold gives nothing back when it ends, and a released one only once.
void TestLineExchange::holdsDoNotStack()
{
    LineHold first(LineUser::Transfer);
    QVERIFY(first.owns());
    {
        LineHold second(LineUser::Transfer);
        LineHold drive(LineUser::Drive);
        QVERIFY(!second.owns());
        QVERIFY(!drive.owns());
    }
    QVERIFY(LineHeld());
    LineHold manual(LineUser::Manual);   // only drives and transfers take the line
    QVERIFY(!manual.owns());
    first.release();
    QVERIFY(!LineHeld());
    LineHold next(LineUser::Drive);
    QVERIFY(next.owns());
    first.release();   // a second release does not free another's hold
    QVERIFY(LineHeld());
}

QTEST_MAIN(TestLineExchange)
#include "test_lineexchange.moc"
