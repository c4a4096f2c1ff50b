// Program and index drive and the home search of the main window.

#include "ManualRig.h"
#include "link/LineOwner.h"
#include "mainwin/frmMain.h"
#include "mainwin/frmIo.h"
#include "platform/Controls.h"
#include "platform/EventPump.h"
#include "platform/MSComm.h"
#include "shared/Shared.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QLabel>
#include <QtTest>

namespace {
const char *const kLetters = "XYZU";

// A status reply in which only `axis` reports a running program (or none).
QString statusLine(const QString &model, int runningAxis)
{
    auto b = [&](int a) { return a == runningAxis ? QStringLiteral("20") : QStringLiteral("00"); };
    if (model == u"2")
        return QStringLiteral("INR %1 %2, 00000000\r").arg(b(0), b(1));
    return QStringLiteral("INR X%1 Y%2 Z%3 U%4, 00000000 0000\r").arg(b(0), b(1), b(2), b(3));
}
} // namespace

class TestDrives : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();

    void programDrive_data();
    void programDrive();
    void indexDrive_data();
    void indexDrive();
    void stopAsksAxisByAxis();
    void runOwnsTheLineWhileItYields();
    void ioWindowOpenedWhileRunYields();
    void monitorPollsAndEndsDrives();
    void monitorEndsAgainAfterStopEnded();
    void startRegisterText_data();
    void startRegisterText();
    void driveKindChoice();
    void busyLine();
    void portClosed();
    void homeSearch_data();
    void homeSearch();
    void homeSearchBusyAndClosed();

private:
    void setUp(const QString &model, int kind, int axis);   // kind 12 index, 13 program, 0 none
    void play(const QString &script, int axis);
    ManualRig *m_rig = nullptr;
};

void TestDrives::cleanup()
{
    delete m_rig;
    m_rig = nullptr;
}

void TestDrives::setUp(const QString &model, int kind, int axis)
{
    delete m_rig;
    m_rig = new ManualRig(model);
    QVERIFY(m_rig->portOpen());
    frmMain *w = m_rig->w;
    SetOption(w->Option12, kind == 12);
    SetOption(w->Option13, kind == 13);
    for (int a = 0; a < 4; ++a)
        w->prgAxisBox(a)->setChecked(a == axis);
    w->RegNo->setText(QStringLiteral("12"));
    for (int a = 0; a < 4; ++a)
        w->registerBox(a)->setText(QStringLiteral("5"));
}

// Events: run, step, stop (stop:ok, stop:cancel answer its question), and
// bit / nobit, a status reply with or without the axis's running bit.
void TestDrives::play(const QString &script, int axis)
{
    frmMain *w = m_rig->w;
    for (const QString &ev : script.split(u' ', Qt::SkipEmptyParts)) {
        if (ev == u"run") {
            w->PrgStart->click();
        } else if (ev == u"step") {
            w->PrgStep->click();
        } else if (ev.startsWith(u"stop")) {
            if (ev == u"stop:ok")
                m_rig->dialogs.answer(MsgResult::Ok);
            else if (ev == u"stop:cancel")
                m_rig->dialogs.answer(MsgResult::Cancel);
            w->PrgStop->click();
        } else if (ev == u"bit" || ev == u"nobit") {
            w->EvaluateStatus(statusLine(g.UnitModel, ev == u"bit" ? axis : -1));
        } else {
            QFAIL(qPrintable(QStringLiteral("unknown event ") + ev));
        }
    }
}

void TestDrives::programDrive_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("axis");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("bytes");   // "#" stands for the axis letter
    QTest::addColumn<QString>("flags");   // ProgramStarted, ProgramActive, ProgramPaused
    QTest::addColumn<bool>("displayEmptied");
    struct Row { const char *name, *script, *bytes, *flags; bool emptied; };
    const Row fourAxis[] = {
        {"run", "run", "PRG #12|", "100", false},
        {"run twice restarts", "run run", "PRG #12|PRG #12|", "100", false},
        {"stop before the unit reports", "run stop", "PRG #12|", "100", false},
        {"pause", "run bit stop", "PRG #12|PST #|", "111", false},
        {"resume", "run bit stop run", "PRG #12|PST #|PRS #|", "110", false},
        {"end", "run bit stop stop:ok", "PRG #12|PST #|EDP #|", "100", true},
        {"end cancelled", "run bit stop stop:cancel", "PRG #12|PST #|", "111", false},
        {"step twice", "step step", "PSP #|PRG #12|PSP #|", "100", false},
        {"unit stops reporting", "run bit nobit", "PRG #12|", "100", false},
        {"paused, unreported, resumed", "run bit stop nobit run", "PRG #12|PST #|PRS #|", "100", false},
        {"unit-run paused", "bit stop", "PST #|", "011", false},
        {"unit-run resumed", "bit stop run", "PST #|PRS #|", "010", false},
        {"unit-run stepped", "bit step", "PSP #|PRG #12|", "110", false},
        {"unit-run restarted", "bit run", "PRG #12|", "110", false},
        {"unit-run ended", "bit stop stop:ok", "PST #|EDP #|", "000", true},
        {"idle stop", "stop", "", "000", false},
    };
    const Row twoAxis[] = {
        {"run is active at once", "run", "PRG #12|", "110", false},
        {"pause and end", "run stop stop:ok", "PRG #12|PST #|EDP #|", "100", true},
        {"stepped drive is not active", "step stop", "PSP #|PRG #12|", "100", false},
    };
    for (int a = 0; a < 4; ++a) {
        for (const Row &r : fourAxis)
            QTest::addRow("4-axis %c %s", kLetters[a], r.name)
                << "4" << a << r.script << r.bytes << r.flags << r.emptied;
        if (a < 2)
            for (const Row &r : twoAxis)
                QTest::addRow("2-axis %c %s", kLetters[a], r.name)
                    << "2" << a << r.script << r.bytes << r.flags << r.emptied;
    }
    // A hidden Z box ticked from the settings still drives Z.
    QTest::newRow("2-axis Z ticked") << "2" << 2 << "run" << "PRG #12|" << "100" << false;
}

void TestDrives::programDrive()
{
    QFETCH(QString, model);
    QFETCH(int, axis);
    QFETCH(QString, script);
    QFETCH(QString, bytes);
    QFETCH(QString, flags);
    QFETCH(bool, displayEmptied);
    setUp(model, 13, axis);
    play(script, axis);
    QCOMPARE(m_rig->wire(), QString(bytes).replace(u'#', QLatin1Char(kLetters[axis])));
    const QString got = QStringLiteral("%1%2%3").arg(MainWindow()->ProgramStarted[axis]).arg(MainWindow()->ProgramActive[axis])
                            .arg(MainWindow()->ProgramPaused[axis]);
    QCOMPARE(got, flags);
    QCOMPARE(MainWindow()->IndexActive[axis] + MainWindow()->IndexPaused[axis], 0);
    QCOMPARE(m_rig->w->registerBox(axis)->text(), displayEmptied ? QString() : QStringLiteral("5"));
    for (int a = 0; a < 4; ++a)
        if (a != axis)
            QCOMPARE(MainWindow()->ProgramStarted[a] + MainWindow()->ProgramPaused[a], 0);
    QVERIFY(m_rig->w->Timer1->isActive());
    QVERIFY(!LineHeld());
}

void TestDrives::indexDrive_data()
{
    QTest::addColumn<int>("axis");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("bytes");
    QTest::addColumn<QString>("flags");   // IndexActive, IndexPaused
    struct Row { const char *name, *script, *bytes, *flags; };
    const Row rows[] = {
        {"run", "run", "IDX #12|", "10"},
        {"run twice", "run run", "IDX #12|IDX #12|", "10"},
        {"pause", "run stop", "IDX #12|IST #|", "11"},
        {"resume", "run stop run", "IDX #12|IST #|IRS #|", "10"},
        {"end", "run stop stop:ok", "IDX #12|IST #|EDI #|", "00"},
        {"end cancelled", "run stop stop:cancel", "IDX #12|IST #|", "11"},
        {"idle stop", "stop", "", "00"},
        {"status replies change nothing", "run bit nobit stop", "IDX #12|IST #|", "11"},
    };
    for (int a = 0; a < 4; ++a)
        for (const Row &r : rows)
            QTest::addRow("%c %s", kLetters[a], r.name) << a << r.script << r.bytes << r.flags;
}

void TestDrives::indexDrive()
{
    QFETCH(int, axis);
    QFETCH(QString, script);
    QFETCH(QString, bytes);
    QFETCH(QString, flags);
    setUp(QStringLiteral("4"), 12, axis);
    play(script, axis);
    QCOMPARE(m_rig->wire(), QString(bytes).replace(u'#', QLatin1Char(kLetters[axis])));
    QCOMPARE(QStringLiteral("%1%2").arg(MainWindow()->IndexActive[axis]).arg(MainWindow()->IndexPaused[axis]), flags);
    QCOMPARE(MainWindow()->ProgramStarted[axis] + MainWindow()->ProgramPaused[axis], 0);
    QCOMPARE(m_rig->w->registerBox(axis)->text(), QStringLiteral("5"));
}

void TestDrives::stopAsksAxisByAxis()
{
    setUp(QStringLiteral("4"), 13, 0);
    frmMain *w = m_rig->w;
    w->PrgAxisY->setChecked(true);
    for (int a : {0, 1}) {
        MainWindow()->ProgramStarted[a] = MainWindow()->ProgramActive[a] = MainWindow()->ProgramPaused[a] = 1;
    }
    m_rig->dialogs.answer(MsgResult::Cancel);
    m_rig->dialogs.answer(MsgResult::Ok);
    w->PrgStop->click();
    QCOMPARE(m_rig->wire(), QStringLiteral("EDP Y|"));
    const auto &shown = m_rig->dialogs.shown();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0].text, QStringLiteral("Do you finish an Program drive? ( X-axis )"));
    QCOMPARE(shown[1].text, QStringLiteral("Do you finish an Program drive? ( Y-axis )"));
    QCOMPARE(shown[0].title, QStringLiteral(" ZT260A/ZT460A"));
    QCOMPARE(shown[0].buttons, MsgButtons::OkCancel);
    QCOMPARE(MainWindow()->ProgramPaused[0], 1);
    QCOMPARE(MainWindow()->ProgramActive[1], 0);

    // The index question.
    m_rig->dialogs.clear();
    SetOption(w->Option12, true);
    MainWindow()->IndexActive[1] = MainWindow()->IndexPaused[1] = 1;
    w->PrgAxisX->setChecked(false);
    m_rig->dialogs.answer(MsgResult::Cancel);
    w->PrgStop->click();
    QCOMPARE(m_rig->dialogs.texts(), QStringList{"Do you finish an index drive? ( Y-axis )"});
    QCOMPARE(m_rig->dialogs.shown().first().title, QStringLiteral("ZT260A"));
    QCOMPARE(m_rig->wire(), QString());
}

void TestDrives::runOwnsTheLineWhileItYields()
{
    setUp(QStringLiteral("4"), 13, 1);
    frmMain *w = m_rig->w;
    w->Timer1->stop();
    bool busyDuring = false;
    bool monitorDuring = true;
    // Runs at Run's yield after the first axis.
    QTimer::singleShot(0, w, [&] {
        busyDuring = LineHeld();
        monitorDuring = w->Timer1->isActive();
        w->PrgStart->click();   // a second press meanwhile does nothing
    });
    w->PrgStart->click();
    QVERIFY(busyDuring);
    QVERIFY(!monitorDuring);
    QVERIFY(!LineHeld());
    QVERIFY(w->Timer1->isActive());
    QCOMPARE(m_rig->wire(), QStringLiteral("PRG Y12|"));
}

void TestDrives::ioWindowOpenedWhileRunYields()
{
    // The I/O window opened at Run's yield takes the polling over: Run's end
    // leaves the main monitor off, and Exit hands it back.
    setUp(QStringLiteral("4"), 13, 1);
    frmMain *w = m_rig->w;
    w->Timer1->start();
    QTimer::singleShot(0, w, [] { ShowIoWindow()->Timer2->stop(); });
    w->PrgStart->click();
    QVERIFY(IoWindow());
    QVERIFY(!w->Timer1->isActive());
    QCOMPARE(m_rig->wire(), QStringLiteral("PRG Y12|"));
    IoWindow()->Command1_Click();
    QVERIFY(w->Timer1->isActive());
}

void TestDrives::monitorPollsAndEndsDrives()
{
    setUp(QStringLiteral("4"), 13, 0);
    frmMain *w = m_rig->w;
    w->PrgAxisZ->setChecked(true);
    w->PrgStart->click();
    QCOMPARE(m_rig->wire(), QStringLiteral("PRG X12|PRG Z12|"));
    // The unit reports both drives: the monitor asks for their registers.
    w->EvaluateStatus(QStringLiteral("INR X20 Y00 Z20 U00, 00000000 0000\r"));
    w->MonitorState = 1;
    w->Timer1_Timer();
    QCOMPARE(m_rig->wire(), QStringLiteral("IDC X|IDC Z|"));
    QCOMPARE(MainWindow()->ProgramWasActive, 1);
    m_rig->pty.send("IDC Z0007\r");
    QVERIFY(WaitUntil([&] { return w->Text19->text() == "7"; }, 3000) == WaitResult::Done);
    // None runs any more: the next tick ends both drives started here.
    w->EvaluateStatus(QStringLiteral("INR X00 Y00 Z00 U00, 00000000 0000\r"));
    MainWindow()->Link->PositionReplyPending = 1;
    w->Timer1_Timer();
    QCOMPARE(m_rig->wire(), QStringLiteral("EDP X|EDP Z|"));
    for (int a : {0, 2}) {
        QCOMPARE(MainWindow()->ProgramStarted[a], 0);
        QCOMPARE(MainWindow()->ProgramActive[a], 0);
        QCOMPARE(w->registerBox(a)->text(), QString());
    }
    QCOMPARE(MainWindow()->ProgramWasActive, 0);
}

void TestDrives::monitorEndsAgainAfterStopEnded()
{
    // 2-axis unit: Run makes the drive active itself; Stop pauses, then ends
    // it, and the monitor's end check writes "EDP" once more.
    setUp(QStringLiteral("2"), 13, 1);
    frmMain *w = m_rig->w;
    w->PrgStart->click();
    w->MonitorState = 1;
    w->Timer1_Timer();
    QCOMPARE(m_rig->wire(), QStringLiteral("PRG Y12|IDC Y|"));
    m_rig->dialogs.answer(MsgResult::Ok);
    w->PrgStop->click();
    w->PrgStop->click();
    QCOMPARE(m_rig->wire(), QStringLiteral("PST Y|EDP Y|"));
    w->registerBox(1)->setText(QStringLiteral("3"));
    MainWindow()->Link->SpeedReplyPending = 1;
    w->MonitorState = 0;
    w->Timer1_Timer();
    QCOMPARE(m_rig->wire(), QStringLiteral("EDP Y|"));
    QCOMPARE(w->registerBox(1)->text(), QString());
    QCOMPARE(MainWindow()->ProgramStarted[1], 0);
}

void TestDrives::startRegisterText_data()
{
    QTest::addColumn<QString>("regNo");
    QTest::addColumn<QString>("bytes");
    QTest::newRow("blanks dropped, zeros kept") << " 007 " << "PRG X007|";
    QTest::newRow("empty") << "" << "PRG X|";
    QTest::newRow("settings form") << " 40" << "PRG X40|";
}

void TestDrives::startRegisterText()
{
    QFETCH(QString, regNo);
    QFETCH(QString, bytes);
    setUp(QStringLiteral("4"), 13, 0);
    m_rig->w->RegNo->setText(regNo);
    m_rig->w->PrgStart->click();
    QCOMPARE(m_rig->wire(), bytes);
}

void TestDrives::driveKindChoice()
{
    setUp(QStringLiteral("4"), 0, 0);
    frmMain *w = m_rig->w;
    w->PrgAxisU->setChecked(true);
    // Neither kind: Run and Stop write nothing but still restart the monitor.
    w->Timer1->stop();
    w->PrgStart->click();
    QVERIFY(w->Timer1->isActive());
    w->Timer1->stop();
    w->PrgStop->click();
    QVERIFY(w->Timer1->isActive());
    QCOMPARE(m_rig->wire(), QString());
    // Step does not look at the kind.
    w->PrgStep->click();
    QCOMPARE(m_rig->wire(), QStringLiteral("PSP X|PRG X12|PSP U|PRG U12|"));
    QCOMPARE(MainWindow()->ProgramActive[0], 0);
    // Index disables Step, Program enables it again.
    w->Option12->setChecked(true);
    QVERIFY(!w->PrgStep->isEnabled());
    w->Option13->setChecked(true);
    QVERIFY(w->PrgStep->isEnabled());
}

void TestDrives::busyLine()
{
    setUp(QStringLiteral("4"), 13, 0);
    frmMain *w = m_rig->w;
    MainWindow()->ProgramStarted[0] = MainWindow()->ProgramActive[0] = 1;
    LineHold hold(LineUser::Transfer);
    for (bool timerOn : {false, true}) {
        timerOn ? w->Timer1->start() : w->Timer1->stop();
        w->PrgStart->click();
        w->PrgStep->click();
        w->PrgStop->click();
        QCOMPARE(w->Timer1->isActive(), timerOn);
        QVERIFY(LineHeld());
    }
    QCOMPARE(m_rig->wire(), QString());
    QCOMPARE(MainWindow()->ProgramPaused[0], 0);
    // Told where the press and its result are seen, without a box.
    QCOMPARE(w->Label22->text(), QStringLiteral("A transfer is using the line: nothing was sent."));
    QVERIFY(m_rig->dialogs.shown().isEmpty());
}

void TestDrives::portClosed()
{
    setUp(QStringLiteral("4"), 13, 0);
    frmMain *w = m_rig->w;
    m_rig->closePort();
    w->Timer1->stop();
    w->PrgStart->click();
    w->PrgStep->click();
    w->PrgStop->click();
    QVERIFY(!w->Timer1->isActive());
    QCOMPARE(MainWindow()->ProgramStarted[0], 0);
    QVERIFY(!LineHeld());
    QCOMPARE(m_rig->wire(), QString());
}

void TestDrives::homeSearch_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("ticks");   // bit 0 X .. bit 3 U
    for (int ticks = 0; ticks < 16; ++ticks)
        QTest::addRow("4-axis ticks %d", ticks) << "4" << ticks;
    // Hidden Z and U boxes ticked from the settings are written all the same.
    QTest::newRow("2-axis, hidden Z ticked") << "2" << 0b0101;
}

void TestDrives::homeSearch()
{
    QFETCH(QString, model);
    QFETCH(int, ticks);
    setUp(model, 0, -1);
    frmMain *w = m_rig->w;
    QString letters;
    for (int a = 0; a < 4; ++a) {
        w->homeAxisBox(a)->setChecked(ticks & (1 << a));
        if (ticks & (1 << a))
            letters += QLatin1Char(kLetters[a]);
    }
    w->Timer1->stop();
    w->HomeStarSW->click();
    QCOMPARE(m_rig->wire(), QStringLiteral("HOM ") + letters + QStringLiteral(" |"));
    QVERIFY(w->Timer1->isActive());   // on whatever it was before
    w->Timer1->stop();
    w->Command6->click();
    QCOMPARE(m_rig->wire(), QStringLiteral("OGE ") + letters + u'|');
    QVERIFY(!w->Timer1->isActive());   // the stop leaves it alone
}

void TestDrives::homeSearchBusyAndClosed()
{
    setUp(QStringLiteral("4"), 0, -1);
    frmMain *w = m_rig->w;
    w->HomeAxisY->setChecked(true);
    std::optional<LineHold> hold;
    hold.emplace(LineUser::Transfer);
    w->HomeStarSW->click();
    QVERIFY(!w->Timer1->isActive());
    QCOMPARE(w->Label22->text(), QStringLiteral("A transfer is using the line: nothing was sent."));
    // Stopping a home search always goes out.
    w->Command6->click();
    QCOMPARE(m_rig->wire(), QStringLiteral("OGE Y|"));
    hold.reset();
    m_rig->closePort();
    w->HomeStarSW->click();
    w->Command6->click();
    QVERIFY(!w->Timer1->isActive());
    QCOMPARE(m_rig->wire(), QString());
}

QTEST_MAIN(TestDrives)
#include "test_drives.moc"
