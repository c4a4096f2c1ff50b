// A line that fails under the program: a unit that falls silent while it is
// monitored, a line that closes while monitoring or during the start-up, and
// a port that does not open at start-up. The operator must always be told,
// with the device named.

#include "ProgramState.h"
#include "ScriptedDialogs.h"
#include "TestHome.h"
#include "UnitSim.h"
#include "mainwin/LineWatch.h"
#include "mainwin/frmMain.h"
#include "mainwin/frmSelect.h"
#include "platform/AppInfo.h"
#include "platform/EventPump.h"
#include "platform/Lamp.h"
#include "platform/MSComm.h"
#include "mainwin/frmIo.h"
#include "mainwin/SettingsFile.h"
#include "shared/Shared.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

// Generous: the silence limit itself is three seconds, and CI may be slow.
constexpr int kLongWaitMs = 30000;

const QString kNoReply = QStringLiteral("No reply from the unit.");
const QString kClosed = QStringLiteral("The line to the unit was closed.");

void noEnd() {}

// Chooses the 4-axis model as soon as the model choice window shows.
class ModelChooser : public QObject
{
public:
    ModelChooser() { qApp->installEventFilter(this); }
    ~ModelChooser() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            if (auto *select = qobject_cast<frmSelect *>(watched))
                QMetaObject::invokeMethod(select->Command2, &QPushButton::click, Qt::QueuedConnection);
        return false;
    }
};

// Every event posted before this call has been delivered when it returns:
// the marker that shows a deferred box would have come by now.
bool postedEventsDelivered()
{
    bool reached = false;
    QTimer::singleShot(0, qApp, [&reached] { reached = true; });
    return WaitUntil([&reached] { return reached; }, kLongWaitMs) == WaitResult::Done;
}

} // namespace

class TestLineFailure : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void silenceLimit_data();
    void silenceLimit();
    void silenceWatch_data();
    void silenceWatch();
    void displayKeepsBoth_data();
    void displayKeepsBoth();

    void silentUnitWhileMonitoring_data();
    void silentUnitWhileMonitoring();
    void lineClosedWhileMonitoring_data();
    void lineClosedWhileMonitoring();
    void lineClosedDuringStartupUpload_data();
    void lineClosedDuringStartupUpload();
    void portNotOpenAtStartup_data();
    void portNotOpenAtStartup();

private:
    bool startMonitor(const UnitSim &sim);
    void checkMainWindowComplete();
    QStringList closedBoxes() const;

    TestHome *m_home = nullptr;
    ScriptedDialogs *m_dialogs = nullptr;
    frmMain *m_main = nullptr;
};

void TestLineFailure::initTestCase()
{
    // A try of the speed search ends at the unit's answer; the long time-out
    // only keeps a slow machine from missing it.
    frmMain::SpeedSearchTryMs = 10000;
    SetEndProgramHook(noEnd);
}

void TestLineFailure::init()
{
    ResetProgramState();
    m_home = new TestHome;
    m_dialogs = new ScriptedDialogs;
    m_main = new frmMain;
}

void TestLineFailure::cleanup()
{
    delete m_main;
    delete m_dialogs;
    delete m_home;
    qunsetenv("ZT_COM1");
    qunsetenv("ZT_COM2");
}

// The monitor poll running against the unit on port 1, as after a start-up.
bool TestLineFailure::startMonitor(const UnitSim &sim)
{
    if (!sim.isReady())
        return false;
    g.UnitModel = QStringLiteral("4");
    MSComm *c = m_main->MSComm1;
    if (c->setCommPort(1) != 0 || c->setSettings(QStringLiteral("9600,N,8,1")) != 0 || c->setPortOpen(true) != 0)
        return false;
    m_main->Timer1->start();
    // A status reply has come: the poll and the unit talk.
    return WaitUntil([] { return MainWindow()->Link->StatusReady == 1; }, kLongWaitMs) == WaitResult::Done;
}

QStringList TestLineFailure::closedBoxes() const
{
    return m_dialogs->texts().filter(QRegularExpression(QStringLiteral("^") + QRegularExpression::escape(kClosed)));
}

void TestLineFailure::checkMainWindowComplete()
{
    // The RUN lamps show a picture even though no status reply came.
    for (int a = 0; a < 4; ++a)
        QVERIFY2(!m_main->runLamp(a)->pixmap().isNull(), qPrintable(QString::number(a)));
    QCOMPARE(m_main->Text1->text(), QStringLiteral("0"));
    QCOMPARE(m_main->Text5->text(), QStringLiteral("0"));
    QVERIFY(!m_main->Data1.RecordSource.isEmpty());
    QVERIFY(m_main->Timer1->isActive());
}

void TestLineFailure::silenceLimit_data()
{
    QTest::addColumn<int>("period");
    QTest::addColumn<int>("limit");
    QTest::newRow("default period: three seconds") << 300 << 3000;
    QTest::newRow("five periods are exactly three seconds") << 600 << 3000;
    QTest::newRow("five periods are longer") << 601 << 3005;
    QTest::newRow("one-second period") << 1000 << 5000;
    QTest::newRow("period 0") << 0 << 3000;
    QTest::newRow("longest period the timer takes") << 65535 << 327675;
}

void TestLineFailure::silenceLimit()
{
    QFETCH(int, period);
    QFETCH(int, limit);
    QCOMPARE(SilenceLimitMs(period), limit);
}

// Steps: "pT" the poll asks at T ms and the unit does not count as silent
// yet, "PT" it asks at T and the silence is told, "r" a reply, "i" a tick
// that asked nothing.
void TestLineFailure::silenceWatch_data()
{
    QTest::addColumn<int>("period");
    QTest::addColumn<QString>("steps");
    QTest::newRow("three seconds from the first unanswered query")
        << 300 << "p0 p300 p2700 p2999 P3000 P3300";
    QTest::newRow("five periods when they are longer")
        << 1000 << "p0 p1000 p2000 p3000 p4000 P5000";
    QTest::newRow("a reply counts afresh from the next query")
        << 300 << "p0 p2700 r p3000 p5999 P6000 r p6300";
    QTest::newRow("a tick that asked nothing counts nothing")
        << 300 << "p0 p2700 i p3000 p5999 P6000";
    QTest::newRow("ticks stopped longer than the limit: the poll was off")
        << 300 << "p0 p2700 p9000 p11999 P12000";
    QTest::newRow("ticks late but not stopped still count")
        << 300 << "p0 p2900 P5900";
}

void TestLineFailure::silenceWatch()
{
    QFETCH(int, period);
    QFETCH(QString, steps);
    SilenceWatch watch;
    for (const QString &step : steps.split(u' ')) {
        if (step == u"r") {
            watch.replied();
        } else if (step == u"i") {
            watch.idle();
        } else {
            const bool told = watch.polled(step.mid(1).toLongLong(), period);
            QVERIFY2(told == (step[0] == u'P'), qPrintable(step));
        }
    }
}

void TestLineFailure::displayKeepsBoth_data()
{
    QTest::addColumn<int>("trouble");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("shown");
    QTest::newRow("nothing") << int(LineTrouble::None) << "" << "";
    QTest::newRow("the unit's alarm alone") << int(LineTrouble::None) << "ALARM  X Axis " << "ALARM  X Axis ";
    QTest::newRow("silent") << int(LineTrouble::NoReply) << "" << "No reply from the unit.";
    QTest::newRow("silent with the last limit known")
        << int(LineTrouble::NoReply) << "LIMIT+ Y Axis " << "No reply from the unit.\nLIMIT+ Y Axis ";
    QTest::newRow("closed with the last alarm known")
        << int(LineTrouble::Closed) << "ALARM  U Axis " << "The line to the unit was closed.\nALARM  U Axis ";
}

// The line's trouble and the unit's own message never hide each other.
void TestLineFailure::displayKeepsBoth()
{
    QFETCH(int, trouble);
    QFETCH(QString, unit);
    QFETCH(QString, shown);
    QCOMPARE(ErrorMessageText(LineTrouble(trouble), unit), shown);
    // Whichever of the two came last, the display shows both.
    m_main->ShowUnitMessage(unit);
    m_main->SetLineTrouble(LineTrouble(trouble));
    QCOMPARE(m_main->Label22->text(), shown);
    m_main->ClearErrorMessage();
    QCOMPARE(m_main->Label22->text(), QString());
    m_main->SetLineTrouble(LineTrouble(trouble));
    m_main->ShowUnitMessage(unit);
    QCOMPARE(m_main->Label22->text(), shown);
}

void TestLineFailure::silentUnitWhileMonitoring_data()
{
    QTest::addColumn<QString>("status");   // control command setting the unit's status
    QTest::addColumn<QString>("unitMessage");
    QTest::newRow("unit without a message") << "" << "";
    QTest::newRow("unit reporting an alarm") << "status X 80" << "ALARM  X Axis ";
}

void TestLineFailure::silentUnitWhileMonitoring()
{
    QFETCH(QString, status);
    QFETCH(QString, unitMessage);
    UnitSim sim;
    if (!status.isEmpty())
        sim.control(status);
    QVERIFY(sim.sync());
    QVERIFY(startMonitor(sim));
    QTRY_COMPARE_WITH_TIMEOUT(m_main->Label22->text(), unitMessage, kLongWaitMs);

    sim.control("silent on");
    QVERIFY(sim.sync());
    const QString silent = unitMessage.isEmpty() ? kNoReply : kNoReply + u'\n' + unitMessage;
    QTRY_COMPARE_WITH_TIMEOUT(m_main->Label22->text(), silent, kLongWaitMs);
    // The poll still asks, and nobody is stopped by a box.
    sim.clearLog();
    QVERIFY(sim.waitForRx("INR XYZU", kLongWaitMs));
    QCOMPARE(m_main->Label22->text(), silent);
    QVERIFY(m_dialogs->shown().isEmpty());

    // The next reply takes the text away.
    sim.control("silent off");
    QTRY_COMPARE_WITH_TIMEOUT(m_main->Label22->text(), unitMessage, kLongWaitMs);
    QVERIFY(m_dialogs->shown().isEmpty());
}

void TestLineFailure::lineClosedWhileMonitoring_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("control");   // hung up by the control command, else by the option
    QTest::newRow("far end hangs up") << QStringList{} << true;
    QTest::newRow("line closed at a query of the poll") << QStringList{"--hangup-after", "6"} << false;
}

void TestLineFailure::lineClosedWhileMonitoring()
{
    QFETCH(QStringList, options);
    QFETCH(bool, control);
    UnitSim sim(options);
    QVERIFY(startMonitor(sim));
    QCOMPARE(m_main->Label22->text(), QString());
    if (control)
        sim.control("hangup");
    QVERIFY(sim.waitForLog([](const QString &l) { return l == u"HANGUP"; }, kLongWaitMs));

    // Told once, in a box naming the device.
    QVERIFY(WaitUntil([&] { return !m_dialogs->shown().isEmpty(); }, kLongWaitMs) == WaitResult::Done);
    const QString head = kClosed + QStringLiteral("\nCom1 = ") + sim.devicePath() + u':';
    QCOMPARE(m_dialogs->shown().size(), 1);
    QVERIFY2(m_dialogs->texts()[0].startsWith(head), qPrintable(m_dialogs->texts()[0]));
    QCOMPARE(m_dialogs->shown()[0].title, QStringLiteral("Error Message"));
    QVERIFY(!m_main->MSComm1->PortOpen());
    QCOMPARE(m_main->Label22->text(), kClosed);

    // Further ticks and manual commands do nothing and tell nothing more; the
    // display keeps saying so, and silence is not told over it.
    for (int i = 0; i < 20; ++i)
        m_main->Timer1_Timer();
    m_main->STOP_SW_Click(0);
    QVERIFY(postedEventsDelivered());
    QCOMPARE(m_dialogs->shown().size(), 1);
    QCOMPARE(m_main->Label22->text(), kClosed);

    // A port opened again: the display clears and the poll runs there.
    UnitSim other({}, 2);
    QVERIFY(other.isReady());
    m_main->mnuComItem_Click(1);
    QVERIFY(m_main->MSComm1->PortOpen());
    QCOMPARE(m_main->Label22->text(), QString());
    QVERIFY(other.waitForRx("INR XYZU", kLongWaitMs));
    QCOMPARE(m_dialogs->shown().size(), 1);
}

void TestLineFailure::lineClosedDuringStartupUpload_data()
{
    QTest::addColumn<QString>("model");
    QTest::newRow("4-axis unit") << "4";
    QTest::newRow("2-axis unit") << "2";
}

// The speed search's first try and the on-line check make five lines; the
// eighth, a parameter command of the upload, closes the line.
void TestLineFailure::lineClosedDuringStartupUpload()
{
    QFETCH(QString, model);
    UnitSim sim({"--model", model, "--hangup-after", "7"});
    QVERIFY(sim.isReady());
    m_dialogs->answer(MsgResult::Yes);   // ONLINE?
    m_dialogs->answer(MsgResult::No);    // Upload PROGRAM?
    m_main->Form_Load();
    QVERIFY(postedEventsDelivered());

    const QStringList rx = sim.rxLines();
    QVERIFY2(rx.size() == 8 && sim.log().contains("HANGUP"), qPrintable(rx.join(u',')));
    QVERIFY2(!rx[7].startsWith(u"VER") && !rx[7].startsWith(u"VAR"), qPrintable(rx[7]));

    // Told as a closed line, once, naming the device; not as a time-out.
    const QStringList texts = m_dialogs->texts();
    QCOMPARE(texts.size(), 3);
    QCOMPARE(texts[0], QStringLiteral("ONLINE?"));
    const QString head = kClosed + QStringLiteral("\nCom1 = ") + sim.devicePath() + u':';
    QVERIFY2(texts[1].startsWith(head), qPrintable(texts[1]));
    QCOMPARE(texts[2], QStringLiteral("Upload PROGRAM?"));
    QCOMPARE(closedBoxes().size(), 1);

    QCOMPARE(g.UnitModel, model);
    QVERIFY(!m_main->MSComm1->PortOpen());
    QCOMPARE(m_main->Label22->text(), kClosed);
    checkMainWindowComplete();
}

void TestLineFailure::portNotOpenAtStartup_data()
{
    QTest::addColumn<QString>("device");   // "home:" names a file in the program folder
    QTest::addColumn<QString>("message");  // the box's first line
    QTest::newRow("no such device") << "/nonexistent/tty" << "Error No. 8002. Comport Invalid.";
    QTest::newRow("not a terminal") << "home:notatty" << "Error No. 8015. Comport State Failed.";
}

void TestLineFailure::portNotOpenAtStartup()
{
    QFETCH(QString, device);
    QFETCH(QString, message);
    if (device.startsWith(u"home:")) {
        device = m_home->file(device.mid(5));
        QFile f(device);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    qputenv("ZT_COM1", device.toLocal8Bit());
    ModelChooser chooser;
    m_main->Form_Load();

    // One box, the port's failure with the device and the system's reason.
    const QStringList texts = m_dialogs->texts();
    QCOMPARE(texts.size(), 1);
    const QStringList lines = texts[0].split(u'\n');
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], message);
    const QString named = QStringLiteral("Com1 = ") + device + QStringLiteral(": ");
    QVERIFY2(lines[1].startsWith(named) && lines[1].size() > named.size(), qPrintable(texts[0]));
    QCOMPARE(m_dialogs->shown()[0].title, QStringLiteral("Error Message"));

    // No speed search: not one try changed the line speed or its ticks.
    QCOMPARE(m_main->MSComm1->Settings(), QStringLiteral("9600,N,8,1"));
    QVERIFY(m_main->mnuBPS[2]->isChecked() && !m_main->mnuBPS[0]->isChecked());
    QCOMPARE(g.UnitModel, QStringLiteral("4"));
    checkMainWindowComplete();
}

QTEST_MAIN(TestLineFailure)
#include "test_linefailure.moc"
