// The start-up against the simulated unit: the line speed search, the on-line
// check, the model choice and the displays of each model.

#include "ProgramState.h"
#include "ScriptedDialogs.h"
#include "TestHome.h"
#include "UnitSim.h"
#include "VersionWaitClock.h"
#include "mainwin/SettingsFile.h"
#include "mainwin/frmMain.h"
#include "mainwin/frmSelect.h"
#include "mainwin/frmTopTitle.h"
#include "platform/AppInfo.h"
#include "platform/EventPump.h"
#include "platform/MSComm.h"
#include "platform/UpDown.h"
#include "program/ProgramTable.h"
#include "transfer/frmRecvPrg.h"
#include "mainwin/frmIo.h"
#include "shared/Shared.h"
#include "transfer/TransferWindow.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {
const QString kTitle = QStringLiteral(" ZT260A/ZT460A");
enum class Choice { CloseBox, Zt260a, Zt460a };
// A 4-axis unit that answers the first line it understands and no other:
// the search's one try at 38400 bit/s. Its reply cannot be thrown away with
// the receive buffer (which the 9600 try empties between its lines), and no
// second reply is left on its way, to come in after the search found the
// unit and be taken for a later answer or set the model.
const QStringList kOneAnswerAt38400 = {"--baud", "38400", "--silent-after", "1"};

// Answers the model choice window each time it shows, for as long as it
// lives, and counts the answers so that a test sees whether it came.
class ModelChoice : public QObject
{
public:
    explicit ModelChoice(Choice how) : m_how(how) { qApp->installEventFilter(this); }
    int answers() const { return m_answers; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            if (auto *s = qobject_cast<frmSelect *>(watched))
                // Answered once the program waits for the choice.
                QMetaObject::invokeMethod(this, [this, w = QPointer<frmSelect>(s)] { answer(w); },
                                          Qt::QueuedConnection);
        return false;
    }

private:
    void answer(frmSelect *s)
    {
        if (!s || !s->isVisible())
            return;
        ++m_answers;
        if (m_how == Choice::CloseBox)
            s->close();
        else
            (m_how == Choice::Zt260a ? s->Command1 : s->Command2)->click();
    }

    Choice m_how;
    int m_answers = 0;
};

void noEnd() {}
} // namespace

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void fourAxisFoundAt38400();
    void twoAxisFoundAt9600();
    void programUploadOnFirstActivation_data();
    void programUploadOnFirstActivation();
    void noUnit_data();
    void noUnit();
    void onlineAnsweredNo();
    void damagedProgramFileRefused();
    void onlineCheckTimesOut();
    void registerCheckedForModel();
    void titleWindowHandsOverOnce();

private:
    TestHome *m_home = nullptr;
    ScriptedDialogs *m_dialogs = nullptr;
    frmMain *m_main = nullptr;
};

void TestStartup::initTestCase()
{
    // Far longer than any reply takes: a wait that no reply ends is ended by
    // the VersionWaitClock, not by its time-out.
    frmMain::SpeedSearchTryMs = 30000;
    frmMain::OnlineCheckMs = 30000;
    SetEndProgramHook(noEnd);
}

void TestStartup::init()
{
    ResetProgramState();
    m_home = new TestHome;
    m_dialogs = new ScriptedDialogs;
    m_main = new frmMain;
}

void TestStartup::cleanup()
{
    delete m_main;
    CloseProgramTables();
    delete m_dialogs;
    delete m_home;
    qunsetenv("ZT_COM1");
}

void TestStartup::fourAxisFoundAt38400()
{
    UnitSim sim({"--baud", "38400"});
    QVERIFY(sim.isReady());
    sim.control("par U DR4 1234");
    QVERIFY(sim.sync());
    m_dialogs->answer(MsgResult::Yes);   // ONLINE?
    m_dialogs->answer(MsgResult::Yes);   // Upload PROGRAM?
    VersionWaitClock clock(m_main, &sim);
    m_main->Form_Load();

    QCOMPARE(m_dialogs->texts(), (QStringList{"ONLINE?", "Upload PROGRAM?"}));
    QCOMPARE(m_dialogs->shown()[0].title, kTitle);
    QCOMPARE(m_dialogs->shown()[1].title, kTitle);
    // The parameters of every axis came from the unit.
    QCOMPARE(g.ParamTable[0][3], QStringLiteral("1000"));
    QCOMPARE(g.ParamTable[2][5], QStringLiteral("4000"));
    QCOMPARE(g.ParamTable[3][6], QStringLiteral("4660"));
    QVERIFY(sim.rxLines().contains("DR4 U"));
    QCOMPARE(g.UnitModel, QStringLiteral("4"));
    QCOMPARE(g.UnitVersion, QStringLiteral("01.02.03"));
    QVERIFY(MainWindow()->UploadProgramAtStart);
    QVERIFY(m_main->mnuBPS[0]->isChecked() && !m_main->mnuBPS[1]->isChecked() && !m_main->mnuBPS[2]->isChecked());
    QCOMPARE(m_main->MSComm1->Settings(), QStringLiteral("38400,N,8,1"));
    QVERIFY(m_main->MSComm1->PortOpen());
    QVERIFY(m_main->Timer1->isActive());
    QCOMPARE(m_main->UpDown5->Max(), 1999);
    QVERIFY(m_main->Data1.DatabaseName.endsWith("/PrgData/ZT460Prg.sqlite"));
    QCOMPARE(m_main->Data1.RecordSource, QStringLiteral("Zt460Prg"));
    // The model's program database was made, and the main window's control is open on it.
    QVERIFY(m_main->Data1.IsOpen());
    QCOMPARE(m_main->Data1.recordset().RecordCount(), 2000);
    QVERIFY(!QFile::exists(ProgramFilePath(UnitKind::TwoAxis)));
    QCOMPARE(m_main->Text3->text(), QStringLiteral("0"));
    QVERIFY(m_main->Text3->isEnabled());
    // Six tries at each lower speed came first (three lines at 9600, one at
    // 19200): the unit heard them garbled and none of them was answered.
    QCOMPARE(sim.log().filter(QRegularExpression("^GARBLED")).size(), 6 * 3 + 6);
    QCOMPARE(clock.ended(), 12);
    QCOMPARE(clock.waits(), 14);   // and the try at 38400 and the on-line check

    // The monitor poll runs against the unit.
    sim.clearLog();
    QVERIFY(sim.waitForRx("SPD"));
    QVERIFY(sim.waitForRx("INR XYZU"));
    QVERIFY(sim.waitForRx("POS"));
}

void TestStartup::twoAxisFoundAt9600()
{
    UnitSim sim({"--model", "2"});
    QVERIFY(sim.isReady());
    sim.control("par Y DR1 05DC");
    QVERIFY(sim.sync());
    m_dialogs->answer(MsgResult::Yes);
    m_dialogs->answer(MsgResult::No);
    VersionWaitClock clock(m_main, &sim);
    m_main->Form_Load();
    QCOMPARE(m_dialogs->texts(), (QStringList{"ONLINE?", "Upload PROGRAM?"}));
    QCOMPARE(clock.ended(), 0);
    QCOMPARE(g.ParamTable[1][3], QStringLiteral("1500"));
    QCOMPARE(g.ParamTable[0][4], QStringLiteral("2000"));
    QCOMPARE(g.ParamTable[2][3], QString());   // the 2-axis unit has no Z

    QCOMPARE(g.UnitModel, QStringLiteral("2"));
    QVERIFY(!MainWindow()->UploadProgramAtStart);
    QVERIFY(m_main->mnuBPS[2]->isChecked());
    // The first try sends VER twice and VAR once; the on-line check sends VAR twice.
    const QStringList rx = sim.rxLines();
    QCOMPARE(rx.mid(0, 3), (QStringList{"VER", "VER", "VAR"}));
    QCOMPARE(rx.mid(3, 2), (QStringList{"VAR", "VAR"}));

    // The 2-axis display.
    for (QLineEdit *box : {m_main->Text3, m_main->Text4, m_main->Text7, m_main->Text8, m_main->Text11,
                           m_main->Text12, m_main->Text15, m_main->Text16, m_main->Text19, m_main->Text20}) {
        QCOMPARE(box->text(), QString());
        QVERIFY(!box->isEnabled());
    }
    QVERIFY(m_main->Label3->isHidden() && m_main->Label4->isHidden());
    QVERIFY(!m_main->ZP_SW->isEnabled() && !m_main->U_CLEAR_SW->isEnabled());
    QVERIFY(m_main->UpDown3->isHidden() && m_main->Label20->isHidden());
    QVERIFY(!m_main->mnuComSel[1]->menuAction()->isEnabled());
    QVERIFY(!m_main->mnuZT260DoParamItem[3]->isEnabled() && m_main->mnuZT260DoParamItem[2]->isEnabled());
    QVERIFY(!m_main->mnuOptionItem[1]->isEnabled());
    QCOMPARE(m_main->UpDown5->Max(), 53);
    QVERIFY(m_main->Data1.DatabaseName.endsWith("/PrgData/ZT260Prg.sqlite"));
    QCOMPARE(m_main->Data1.RecordSource, QStringLiteral("Zt260Prg"));

    sim.clearLog();
    QVERIFY(sim.waitForRx("INR XY"));
}

void TestStartup::programUploadOnFirstActivation_data()
{
    QTest::addColumn<bool>("twoAxis");
    QTest::addRow("ZT260A") << true;
    QTest::addRow("ZT460A") << false;
}

// "Upload PROGRAM?" answered Yes: the main window's first activation reads
// the 2-axis unit's programs at once, and opens the 4-axis unit's upload
// window with nothing sent.
void TestStartup::programUploadOnFirstActivation()
{
    QFETCH(bool, twoAxis);
    UnitSim sim(twoAxis ? QStringList{"--model", "2"} : QStringList{"--baud", "38400"});
    QVERIFY(sim.isReady());
    sim.control("reg Y 7 C1000035");
    QVERIFY(sim.sync());
    m_dialogs->answer(MsgResult::Yes);   // ONLINE?
    m_dialogs->answer(MsgResult::Yes);   // Upload PROGRAM?
    VersionWaitClock clock(m_main, &sim);
    m_main->Form_Load();
    QCOMPARE(m_dialogs->texts(), (QStringList{"ONLINE?", "Upload PROGRAM?"}));
    QVERIFY(MainWindow()->UploadProgramAtStart);
    QVERIFY(sim.sync());
    sim.clearLog();

    m_main->show();
    m_main->activateWindow();
    QTRY_VERIFY_WITH_TIMEOUT(!MainWindow()->UploadProgramAtStart, kEventWaitMs);
    const QStringList reads = sim.rxLines().filter(QRegularExpression("^(IXR|PR[XYZU]) "));
    if (twoAxis) {
        QCOMPARE(m_dialogs->texts().mid(2), QStringList{"Upload Complete!!"});
        QCOMPARE(reads.size(), 2 * 54);
        QCOMPARE(reads.first(), QStringLiteral("IXR X0"));
        QCOMPARE(reads.last(), QStringLiteral("IXR Y53"));
        const ClipRow y7 = ProgramTableOf(UnitKind::TwoAxis).Axis(7, 1).value_or(ClipRow{});
        QCOMPARE(y7[0] + u' ' + y7[1], QStringLiteral("JMP 53"));
        QVERIFY(!RecvPrgWindow());
    } else {
        QCOMPARE(m_dialogs->texts().size(), 2);
        QCOMPARE(reads, QStringList{});
        QVERIFY(RecvPrgWindow());
        for (int a = 0; a < kAxes; ++a)
            QVERIFY(RecvPrgWindow()->Frame1[a]->isEnabled());
        RecvPrgWindow()->close();
    }
    QVERIFY(m_main->Timer1->isActive());
}

void TestStartup::noUnit_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<QString>("model");
    QTest::newRow("ZT260A") << int(Choice::Zt260a) << "2";
    QTest::newRow("ZT460A") << int(Choice::Zt460a) << "4";
    QTest::newRow("close box keeps the current model") << int(Choice::CloseBox) << "4";
}

void TestStartup::noUnit()
{
    QFETCH(int, choice);
    QFETCH(QString, model);
    qputenv("ZT_COM1", "/nonexistent/tty");
    ModelChoice chooser{Choice(choice)};
    VersionWaitClock clock(m_main);
    m_main->Form_Load();
    // No speed search on a port that did not open; the model choice follows.
    QCOMPARE(clock.ended(), 0);
    QCOMPARE(chooser.answers(), 1);
    // The port's failure is reported once, naming the device; no on-line question.
    QCOMPARE(m_dialogs->texts(),
             QStringList{"Error No. 8002. Comport Invalid.\nCom1 = /nonexistent/tty: No such file or directory"});
    QCOMPARE(m_dialogs->shown()[0].title, QStringLiteral("Error Message"));
    QCOMPARE(g.UnitModel, model);
    QCOMPARE(m_main->CommState, int16_t(2));
    QVERIFY(!m_main->MSComm1->PortOpen());
    QVERIFY(m_main->Timer1->isActive());
    QVERIFY(WaitUntil([] { return SelectWindow() == nullptr; }, kEventWaitMs) == WaitResult::Done);
}

void TestStartup::onlineAnsweredNo()
{
    UnitSim sim(kOneAnswerAt38400);
    QVERIFY(sim.isReady());
    m_dialogs->answer(MsgResult::No);
    ModelChoice chooser(Choice::Zt260a);
    VersionWaitClock clock(m_main, &sim);
    m_main->Form_Load();
    QCOMPARE(m_dialogs->texts(), QStringList{"ONLINE?"});
    QCOMPARE(chooser.answers(), 1);
    QCOMPARE(g.UnitModel, QStringLiteral("2"));
    QVERIFY(!m_main->MSComm1->PortOpen());
    QVERIFY(!MainWindow()->UploadProgramAtStart);
    QCOMPARE(m_main->Data1.RecordSource, QStringLiteral("Zt260Prg"));
}

void TestStartup::damagedProgramFileRefused()
{
    const QString path = ProgramFilePath(UnitKind::TwoAxis);
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile damaged(path);
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(2048, '\x5a'));
    damaged.close();
    UnitSim sim(kOneAnswerAt38400);
    QVERIFY(sim.isReady());
    m_dialogs->answer(MsgResult::No);
    ModelChoice chooser(Choice::Zt260a);
    VersionWaitClock clock(m_main, &sim);
    m_main->Form_Load();
    QCOMPARE(chooser.answers(), 1);
    // Told once, naming the file; the start-up goes on without the table.
    QCOMPARE(m_dialogs->shown().size(), 2);
    QVERIFY2(m_dialogs->texts()[1].contains(QDir::toNativeSeparators(path)), qPrintable(m_dialogs->texts()[1]));
    QVERIFY(!m_main->Data1.IsOpen());
    QVERIFY(m_main->Timer1->isActive());
    QFile reread(path);
    QVERIFY(reread.open(QIODevice::ReadOnly));
    QCOMPARE(reread.readAll(), QByteArray(2048, '\x5a'));
}

void TestStartup::onlineCheckTimesOut()
{
    // Answers the search, then falls silent.
    UnitSim sim(kOneAnswerAt38400);
    QVERIFY(sim.isReady());
    m_dialogs->answer(MsgResult::Yes);
    ModelChoice chooser(Choice::Zt460a);
    VersionWaitClock clock(m_main, &sim);
    m_main->Form_Load();
    QCOMPARE(m_dialogs->texts(), (QStringList{"ONLINE?", "Error is Time Out of Cominucation!!"}));
    QCOMPARE(sim.rxLines(), (QStringList{"VER", "VER", "VER"}));   // the try at 38400 and the check
    QCOMPARE(sim.txLines().size(), 1);
    QCOMPARE(clock.ended(), 12 + 1);   // the tries at the lower speeds and the check
    QCOMPARE(chooser.answers(), 1);
    QCOMPARE(m_dialogs->shown()[1].title, kTitle);
    QVERIFY(!MainWindow()->UploadProgramAtStart);
    QVERIFY(!m_main->MSComm1->PortOpen());
    QCOMPARE(m_main->CommState, int16_t(2));
}

void TestStartup::registerCheckedForModel()
{
    // The settings were kept with a 4-axis unit at register 100.
    frmMain *keep = m_main;
    {
        frmMain w;
        w.RegNo->setText("100");
        SetEndProgramHook(noEnd);
        w.SaveSettings();
    }
    m_main = keep;
    qputenv("ZT_COM1", "/nonexistent/tty");
    ModelChoice chooser(Choice::Zt260a);
    VersionWaitClock clock(m_main);
    m_main->Form_Load();
    QCOMPARE(chooser.answers(), 1);
    QVERIFY(m_dialogs->saw("Value can't configure it.\nThe start register box takes 0 to 53, not \" 100\"."));
    const ShownBox last = m_dialogs->shown().last();
    QCOMPARE(last.title, QStringLiteral("zt260a"));
    QCOMPARE(m_main->RegNo->text().trimmed(), QString());
    QCOMPARE(m_main->UpDown5->Value(), 0);
}

void TestStartup::titleWindowHandsOverOnce()
{
    qputenv("ZT_COM1", "/nonexistent/tty");
    auto *title = new frmTopTitle;
    QPointer<frmTopTitle> guard(title);
    int shown = 0;
    frmMain *main = nullptr;
    std::unique_ptr<VersionWaitClock> clock;
    connect(title, &frmTopTitle::mainShown, [&](frmMain *m) {
        ++shown;
        main = m;
        clock = std::make_unique<VersionWaitClock>(m);
    });
    ModelChoice chooser(Choice::Zt460a);
    title->Form_Load();
    // Due after the title's two seconds (a coarse timer is at most 5 % late):
    // once it has run out, so has the title's own time.
    QTimer twoSeconds;
    twoSeconds.setSingleShot(true);
    twoSeconds.setTimerType(Qt::PreciseTimer);
    twoSeconds.start(2500);
    QVERIFY(title->lblVersion->text().startsWith("Version "));
    QCOMPARE(title->Label3->text(), AppTitle());
    QTest::keyClick(title, Qt::Key_Space);
    QCOMPARE(shown, 1);
    QVERIFY(guard->isHidden());
    QCOMPARE(chooser.answers(), 1);
    QVERIFY(WaitUntil([&] { return !twoSeconds.isActive(); }, kEventWaitMs) == WaitResult::Done);
    QCOMPARE(shown, 1);
    QVERIFY(main && main->isVisible());
    clock.reset();
    delete main;
}

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
