// The main window's monitor poll, menus and small dialogs against a
// pseudo-terminal whose far end the test plays.

#include "ProgramState.h"
#include "Pty.h"
#include "ScriptedDialogs.h"
#include "TestHome.h"
#include "Waits.h"
#include "link/LineOwner.h"
#include "mainwin/SmallDialogs.h"
#include "mainwin/frmMain.h"
#include "mainwin/frmIo.h"
#include "mainwin/frmSelect.h"
#include "platform/AppInfo.h"
#include "platform/EventPump.h"
#include "platform/MSComm.h"
#include "shared/Language.h"
#include "mainwin/SettingsFile.h"
#include "shared/Shared.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

class TestMainWin : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void pollCycle();
    void pollIdle_data();
    void pollIdle();
    void pollRegisterQueries();
    void pollStatusRepeatedUntilReply();
    void drivesEndedTogether();
    void unitRunDriveEndsWithoutEdp();

    void portChange();
    void portChangeMissingDevice();
    void speedTicks();
    void speedChangeSends_data();
    void speedChangeSends();
    void scanTime_data();
    void scanTime();
    void scanTimeKeepsIoOwnership();
    void aboutBox();
    void accessCode_data();
    void accessCode();
    void languageTexts();
    void portErrorTexts_data();
    void portErrorTexts();
    void modelChoiceKeys_data();
    void modelChoiceKeys();

private:
    bool openPort(int port = 1);
    QByteArray sent() { return m_pty->readLine(); }
    // Everything written since the last read, up to a marker: no wait for
    // something that must not come.
    QByteArray allSent() { return m_pty->readAllWritten(*m_main->MSComm1); }

    TestHome *m_home = nullptr;
    ScriptedDialogs *m_dialogs = nullptr;
    Pty *m_pty = nullptr;
    frmMain *m_main = nullptr;
};

void TestMainWin::init()
{
    ResetProgramState();
    SetStartValues();
    m_home = new TestHome;
    m_dialogs = new ScriptedDialogs;
    m_pty = new Pty;
    qputenv("ZT_COM1", m_pty->devicePath().toLocal8Bit());
    m_main = new frmMain;
}

void TestMainWin::cleanup()
{
    delete IoWindow();
    delete m_main;
    delete m_pty;
    delete m_dialogs;
    delete m_home;
    SetLocaleIdOverride(-1);
    for (int i = 1; i <= 9; ++i)
        qunsetenv(QByteArray("ZT_COM") + QByteArray::number(i));
}

bool TestMainWin::openPort(int port)
{
    m_main->MSComm1->setCommPort(port);
    return m_main->MSComm1->setPortOpen(true) == MSComm::NoError;
}

void TestMainWin::pollCycle()
{
    QVERIFY(openPort());
    MSComm *c = m_main->MSComm1;
    m_main->Timer1_Timer();
    QCOMPARE(sent(), QByteArray("SPD\r"));
    QCOMPARE(c->RThreshold(), 43);
    QCOMPARE(MainWindow()->Link->SpeedReplyPending, 1);
    QCOMPARE(m_main->MonitorState, int16_t(1));
    m_main->Timer1_Timer();                       // no drive runs: nothing
    QCOMPARE(m_main->MonitorState, int16_t(2));
    m_main->Timer1_Timer();
    QCOMPARE(sent(), QByteArray("INR XYZU\r"));
    QCOMPARE(c->RThreshold(), 33);
    m_pty->send("INR X00 Y00 Z00 U00, 00000000 0000\r");
    QVERIFY(WaitUntil([&] { return m_main->MonitorState == 3; }, kEventWaitMs) == WaitResult::Done);
    m_main->Timer1_Timer();
    QCOMPARE(sent(), QByteArray("POS\r"));
    QCOMPARE(c->RThreshold(), 43);
    QCOMPARE(m_main->MonitorState, int16_t(0));

    // The 2-axis unit asks for its own status.
    g.UnitModel = "2";
    m_main->MonitorState = 2;
    m_main->Timer1_Timer();
    QCOMPARE(sent(), QByteArray("INR XY\r"));
    QCOMPARE(c->RThreshold(), 18);
}

void TestMainWin::pollIdle_data()
{
    QTest::addColumn<bool>("open");
    QTest::addColumn<int>("busy");
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("nextState");
    QTest::addColumn<QByteArray>("wire");
    QTest::newRow("port closed") << false << 0 << 0 << 0 << QByteArray();
    QTest::newRow("transfer busy") << true << 1 << 3 << 3 << QByteArray();
    // The query waits for its reply; the drive end check still runs.
    QTest::newRow("speed reply pending") << true << 0 << 0 << 1 << QByteArray("EDP X\r");
    QTest::newRow("position reply pending") << true << 0 << 3 << 0 << QByteArray("EDP X\r");
}

void TestMainWin::pollIdle()
{
    QFETCH(bool, open);
    QFETCH(int, busy);
    QFETCH(int, state);
    QFETCH(int, nextState);
    QFETCH(QByteArray, wire);
    if (open)
        QVERIFY(openPort());
    std::optional<LineHold> hold;
    if (busy)
        hold.emplace(LineUser::Transfer);
    MainWindow()->Link->SpeedReplyPending = 1;
    MainWindow()->Link->PositionReplyPending = 1;
    MainWindow()->ProgramWasActive = 1;
    MainWindow()->ProgramStarted[0] = 1;
    m_main->MonitorState = int16_t(state);
    m_main->Timer1_Timer();
    QCOMPARE(int(m_main->MonitorState), nextState);
    QCOMPARE(allSent(), wire);
    QCOMPARE(MainWindow()->ProgramStarted[0], int16_t(wire.isEmpty() ? 1 : 0));
}

void TestMainWin::pollRegisterQueries()
{
    QVERIFY(openPort());
    MainWindow()->ProgramActive = {1, 0, 1, 0};
    m_main->MonitorState = 1;
    m_main->Timer1_Timer();
    QCOMPARE(sent(), QByteArray("IDC X\r"));
    QCOMPARE(sent(), QByteArray("IDC Z\r"));
    QCOMPARE(m_main->MSComm1->RThreshold(), 9);
    QCOMPARE(m_main->MonitorState, int16_t(2));
    QCOMPARE(MainWindow()->ProgramWasActive, int16_t(1));
    m_pty->send("IDC Z0012\r");
    QVERIFY(WaitUntil([&] { return m_main->Text19->text() == "18"; }, kEventWaitMs) == WaitResult::Done);
}

void TestMainWin::pollStatusRepeatedUntilReply()
{
    QVERIFY(openPort());
    m_main->MonitorState = 2;
    for (int i = 0; i < 3; ++i) {
        m_main->Timer1_Timer();
        QCOMPARE(sent(), QByteArray("INR XYZU\r"));
        QCOMPARE(m_main->MonitorState, int16_t(2));
    }
}

void TestMainWin::drivesEndedTogether()
{
    QVERIFY(openPort());
    MainWindow()->ProgramStarted = {1, 1, 0, 0};
    MainWindow()->ProgramPaused = {1, 0, 0, 0};
    MainWindow()->ProgramActive = {1, 0, 0, 0};
    m_main->Text17->setText("5");
    m_main->Text18->setText("6");
    m_main->MonitorState = 2;
    m_main->Timer1_Timer();                                 // X still runs
    QCOMPARE(sent(), QByteArray("INR XYZU\r"));
    QCOMPARE(MainWindow()->ProgramWasActive, int16_t(1));
    m_pty->send("INR X00 Y00 Z00 U00, 00000000 0000\r");   // no drive any more
    QVERIFY(WaitUntil([&] { return MainWindow()->ProgramActive[0] == 0; }, kEventWaitMs) == WaitResult::Done);
    m_main->Timer1_Timer();
    QCOMPARE(sent(), QByteArray("POS\r"));
    QCOMPARE(sent(), QByteArray("EDP X\r"));
    QCOMPARE(sent(), QByteArray("EDP Y\r"));
    QCOMPARE(MainWindow()->ProgramStarted, (std::array<int16_t, 4>{0, 0, 0, 0}));
    QCOMPARE(MainWindow()->ProgramPaused[0], int16_t(0));
    QCOMPARE(m_main->Text17->text(), QString());
    QCOMPARE(m_main->Text18->text(), QString());
    QCOMPARE(MainWindow()->ProgramWasActive, int16_t(0));
}

void TestMainWin::unitRunDriveEndsWithoutEdp()
{
    QVERIFY(openPort());
    MainWindow()->ProgramWasActive = 1;
    m_main->MonitorState = 1;
    m_main->Timer1_Timer();
    QCOMPARE(MainWindow()->ProgramWasActive, int16_t(0));
    QCOMPARE(allSent(), QByteArray());
}

void TestMainWin::portChange()
{
    Pty other;
    qputenv("ZT_COM3", other.devicePath().toLocal8Bit());
    QVERIFY(openPort(1));
    m_main->mnuComItem_Click(2);
    QCOMPARE(m_main->MSComm1->CommPort(), 3);
    QVERIFY(m_main->MSComm1->PortOpen());
    for (int i = 0; i < 9; ++i)
        QCOMPARE(m_main->mnuComItem[i]->isChecked(), i == 2);
    QVERIFY(m_dialogs->shown().isEmpty());
    m_main->MSComm1->Output("SPD\r");
    QCOMPARE(other.readLine(), QByteArray("SPD\r"));
}

void TestMainWin::portChangeMissingDevice()
{
    QVERIFY(openPort(1));
    qputenv("ZT_COM4", "/nonexistent/ttyX");
    m_main->mnuComItem_Click(3);
    // The text stays; the second line names the device and what the system said.
    QCOMPARE(m_dialogs->texts(),
             QStringList{"Error No. 8002. Comport Invalid.\nCom4 = /nonexistent/ttyX: No such file or directory"});
    QCOMPARE(m_dialogs->shown()[0].title, QStringLiteral("Error Message"));
    QVERIFY(m_main->mnuComItem[3]->isChecked());
    QVERIFY(!m_main->MSComm1->PortOpen());
}

void TestMainWin::speedTicks()
{
    m_main->mnuBPS_Click(1);
    QVERIFY(!m_main->mnuBPS[0]->isChecked() && m_main->mnuBPS[1]->isChecked() && !m_main->mnuBPS[2]->isChecked());
    QVERIFY(!ChgComWindow());   // port closed: only the ticks change
    QVERIFY(openPort());
    m_main->mnuBPS_Click(0);
    QVERIFY(ChgComWindow());
    delete ChgComWindow();
}

void TestMainWin::speedChangeSends_data()
{
    QTest::addColumn<QList<bool>>("ticks");
    QTest::addColumn<bool>("open");
    QTest::addColumn<bool>("held");   // a transfer holds the line
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("idleWindow");   // the open window that keeps the line, if any
    const QString hint = "If you want to reset the ZT260A/ZT460A. Please to tarn the power on again after you tun it off.";
    QTest::newRow("19200") << QList<bool>{false, true, false} << true << false << QByteArray("SCI 19200\r") << hint << QString();
    QTest::newRow("first ticked wins") << QList<bool>{false, true, true} << true << false << QByteArray("SCI 19200\r") << hint << QString();
    QTest::newRow("38400") << QList<bool>{true, false, false} << true << false << QByteArray("SCI 38400\r") << hint << QString();
    QTest::newRow("none ticked") << QList<bool>{false, false, false} << true << false << QByteArray()
                                 << "No speed is ticked in the Speed menu: nothing was sent." << QString();
    QTest::newRow("port closed") << QList<bool>{false, false, true} << false << false << QByteArray()
                                 << "The port is not open." << QString();
    QTest::newRow("line held by a transfer") << QList<bool>{false, true, false} << true << true << QByteArray()
                                             << "A transfer is using the line: nothing was sent." << QString();
    QTest::newRow("line kept by an idle transfer window")
        << QList<bool>{false, true, false} << true << true << QByteArray()
        << "The \"Download Program\" window is open and keeps the line for its transfer: nothing was sent.\n"
           "Close that window first."
        << "Download Program";
}

void TestMainWin::speedChangeSends()
{
    QFETCH(QList<bool>, ticks);
    QFETCH(bool, open);
    QFETCH(bool, held);
    QFETCH(QByteArray, line);
    QFETCH(QString, message);
    QFETCH(QString, idleWindow);
    QVERIFY(openPort());
    m_main->Timer1->start();
    std::optional<LineHold> hold;
    if (held) {
        hold.emplace(LineUser::Transfer);
        if (!idleWindow.isEmpty())
            hold->NameIdleHolder([idleWindow] { return idleWindow; });
        m_main->MSComm1->setRThreshold(7);   // the transfer's own
    }
    ShowChgComWindow();
    frmChgCom *w = ChgComWindow();
    QVERIFY(w);
    QVERIFY(!m_main->Timer1->isActive());
    QCOMPARE(w->Text1->toPlainText(), GetComWarning());
    for (int i = 0; i < 3; ++i)
        m_main->mnuBPS[i]->setChecked(ticks[i]);
    if (!open)
        m_main->MSComm1->setPortOpen(false);
    w->OkButton_Click();
    // The threshold belongs to whoever holds the line.
    QCOMPARE(m_main->MSComm1->RThreshold(), held ? 7 : 16);
    QVERIFY(m_main->Timer1->isActive());
    m_main->Timer1->stop();   // keep monitor queries off the line while it is read
    QCOMPARE(allSent(), line);
    QCOMPARE(m_dialogs->texts(), QStringList{message});
    QVERIFY(WaitUntil([] { return ChgComWindow() == nullptr; }, kEventWaitMs) == WaitResult::Done);
}

void TestMainWin::scanTime_data()
{
    QTest::addColumn<QVariant>("answer");   // invalid: Cancel
    QTest::addColumn<int>("period");
    QTest::newRow("500") << QVariant("500") << 500;
    QTest::newRow("cancel") << QVariant() << 300;
    QTest::newRow("250.6") << QVariant("250.6") << 251;
    QTest::newRow("no number") << QVariant("abc") << 0;
    QTest::newRow("too long") << QVariant("70000") << 300;
    QTest::newRow("negative") << QVariant("-5") << 300;
}

void TestMainWin::scanTime()
{
    QFETCH(QVariant, answer);
    QFETCH(int, period);
    m_dialogs->answerInput(answer.isValid() ? std::optional<QString>(answer.toString()) : std::nullopt);
    m_main->Timer1->stop();
    m_main->mnuOptionItem_Click(0);
    QCOMPARE(m_dialogs->shown()[0].text, QStringLiteral(" Monitoring Period (msec) "));
    QCOMPARE(m_dialogs->shown()[0].title, QStringLiteral(" ZT260A/ZT460A"));
    QCOMPARE(m_main->Timer1->interval(), period);
    QVERIFY(m_main->Timer1->isActive());
}

void TestMainWin::scanTimeKeepsIoOwnership()
{
    new frmIo;
    m_main->Timer1->stop();
    m_dialogs->answerInput(QStringLiteral("400"));
    m_main->mnuOptionItem_Click(0);
    QCOMPARE(m_main->Timer1->interval(), 400);
    QVERIFY(!m_main->Timer1->isActive());
}

void TestMainWin::aboutBox()
{
    m_main->mnuhelpItem_Click(0);
    frmVersion *v = VersionWindow();
    QVERIFY(v);
    QCOMPARE(v->windowTitle(), QStringLiteral("ZT460a Version Information"));
    // The not-active note stands on a second line.
    QCOMPARE(v->lblVersion->text(),
             QStringLiteral("Version --.--.--- Rel --.--.--\n      ( ZT260A/ZT460A Non Active)"));
    QVERIFY(v->lblVersion->sizeHint().height() >= 2 * v->lblVersion->fontMetrics().height());
    QCOMPARE(v->Label1->text(), QStringLiteral("This App. Version : %1.%2.%3\r\n%4")
                                    .arg(AppVersionMajor()).arg(AppVersionMinor())
                                    .arg(AppVersionRevision()).arg(AppTitle()));
    // No system information program on this machine's PATH.
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", "/nonexistent");
    v->cmdSysInfo_Click();
    qputenv("PATH", path);
    QCOMPARE(m_dialogs->texts(), QStringList{"Can't open SYSTEM INFORMATION."});
    delete v;
}

void TestMainWin::accessCode_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("opens");
    QTest::newRow("right") << "QWZ" << true;
    QTest::newRow("lower case") << "qwz" << false;
    QTest::newRow("longer") << "QWZ " << false;
    QTest::newRow("empty") << "" << false;
}

void TestMainWin::accessCode()
{
    QFETCH(QString, code);
    QFETCH(bool, opens);
    g.ExtendedCmdSet = 1;
    ShowVersionWindow();
    VersionWindow()->Image1_Click();
    frmPass *p = PassWindow();
    QVERIFY(p);
    p->PassText->setText(code);
    p->Ok_Click();
    QVERIFY(WaitUntil([] { return PassWindow() == nullptr; }, kEventWaitMs) == WaitResult::Done);
    QCOMPARE(SoptionWindow() != nullptr, opens);
    QVERIFY(m_dialogs->shown().isEmpty());
    if (frmSoption *s = SoptionWindow()) {
        QVERIFY(s->EPM->isChecked());
        s->EPM->setChecked(false);
        s->Ok_Click();
        QCOMPARE(g.ExtendedCmdSet, int16_t(0));
        QVERIFY(WaitUntil([] { return SoptionWindow() == nullptr; }, kEventWaitMs) == WaitResult::Done);
    }
    delete VersionWindow();
}

void TestMainWin::languageTexts()
{
    SetLocaleIdOverride(1041);
    QCOMPARE(GetRangeMark(), QString(QChar(0xFF5E)));
    QCOMPARE(GetComWarning(), QString::fromUtf8("本体側の通信設定も変更します。"));
    SetLocaleIdOverride(1033);
    QCOMPARE(GetRangeMark(), QStringLiteral("-"));
    QCOMPARE(GetComWarning(),
             QStringLiteral("Warning ! System will change Connection Setting of Motion Control Unit too."));
}

void TestMainWin::portErrorTexts_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("detail");
    QTest::addColumn<QString>("text");
    QTest::newRow("8002") << 8002 << "" << "Error No. 8002. Comport Invalid.";
    QTest::newRow("8005") << 8005 << "" << "Error No. 8005. Comport Already Open.";
    QTest::newRow("8015") << 8015 << "" << "Error No. 8015. Comport State Failed.";
    QTest::newRow("8018") << 8018 << "" << "Error No. 8018. Comport Not Open.";
    QTest::newRow("other") << 380 << "" << "Error No. 380. ";
    QTest::newRow("8018 naming the device")
        << 8018 << "Com2 = /dev/ttyS1: Input/output error"
        << "Error No. 8018. Comport Not Open.\nCom2 = /dev/ttyS1: Input/output error";
    QTest::newRow("8002 naming the device")
        << 8002 << "Com2 = /dev/ttyS1: No such file or directory"
        << "Error No. 8002. Comport Invalid.\nCom2 = /dev/ttyS1: No such file or directory";
}

void TestMainWin::portErrorTexts()
{
    QFETCH(int, number);
    QFETCH(QString, detail);
    QFETCH(QString, text);
    QCOMPARE(PortErrorText(number, detail), text);
}

void TestMainWin::modelChoiceKeys_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<bool>("tab");          // the focus moved to the other model first
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<bool>("portClosed");   // as closing the window does
    QTest::newRow("Return, 2-axis current") << "2" << false << int(Qt::Key_Return) << "2" << false;
    QTest::newRow("Enter, 4-axis current") << "4" << false << int(Qt::Key_Enter) << "4" << false;
    QTest::newRow("Return on the other model") << "2" << true << int(Qt::Key_Return) << "4" << false;
    QTest::newRow("Escape") << "2" << false << int(Qt::Key_Escape) << "2" << true;
}

void TestMainWin::modelChoiceKeys()
{
    QFETCH(QString, current);
    QFETCH(bool, tab);
    QFETCH(int, key);
    QFETCH(QString, chosen);
    QFETCH(bool, portClosed);
    QVERIFY(openPort());
    g.UnitModel = current;
    frmSelect s;
    s.show();
    QVERIFY(QTest::qWaitForWindowActive(&s));
    QVERIFY(QApplication::focusWidget());
    if (tab)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QCOMPARE(s.Tag, QStringLiteral("1"));
    QCOMPARE(g.UnitModel, chosen);
    QCOMPARE(m_main->MSComm1->PortOpen(), !portClosed);
}

QTEST_MAIN(TestMainWin)
#include "test_mainwin.moc"
