// The whole road: the main window's manual controls and the I/O window
// against the simulated unit. What the unit received is read off its log.

#include "ManualRig.h"
#include "UnitSim.h"
#include "link/LineOwner.h"
#include "mainwin/frmMain.h"
#include "mainwin/frmIo.h"
#include "platform/Controls.h"
#include "platform/EventPump.h"
#include "platform/Lamp.h"
#include "platform/MSComm.h"
#include "shared/Shared.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <memory>

namespace {
enum Mode { Scan, Continuous, Preset };

struct Button {
    const char *name;
    const char *jogLine;
    const char *presetHead;
};
const Button kButtons[8] = {
    {"XP_SW", "JOG +X", "PIC "},   {"XM_SW", "JOG -X", "PIC -"},
    {"YP_SW", "JOG +Y", "PIC ,"},  {"YM_SW", "JOG -Y", "PIC ,-"},
    {"ZP_SW", "JOG +Z", "PIC ,,"}, {"ZM_SW", "JOG -Z", "PIC ,,-"},
    {"UP_SW", "JOG U", "PIC ,,,"}, {"UM_SW", "JOG -U", "PIC ,,,-"}};
const char *const kLetters = "XYZU";

bool waitFor(const std::function<bool()> &cond, int ms = kEventWaitMs)
{
    return WaitUntil(cond, ms) == WaitResult::Done;
}
} // namespace

class TestWholeRoad : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();

    void jogOnTheUnit_data();
    void jogOnTheUnit();
    void busyLineOnTheUnit();
    void homeSearchOnTheUnit();
    void programDriveOnTheUnit();
    void ioWindowOnTheUnit();
    void ioWindowOnTwoAxisUnit();

private:
    bool start(const QString &model);
    std::optional<qint32> position(int axis) { return m_sim->position(QLatin1Char(kLetters[axis])); }

    std::unique_ptr<TestHome> m_home;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<UnitSim> m_sim;
    frmMain *m_w = nullptr;
};

bool TestWholeRoad::start(const QString &model)
{
    m_home = std::make_unique<TestHome>();
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_sim = std::make_unique<UnitSim>(QStringList{QStringLiteral("--model"), model});
    if (!m_sim->isReady())
        return false;
    m_w = OpenMainWindow(model, QStringLiteral("9600,N,8,1"));
    return m_w->MSComm1->PortOpen();
}

void TestWholeRoad::cleanup()
{
    delete IoWindow();
    delete m_w;
    m_w = nullptr;
    m_sim.reset();
    m_dialogs.reset();
    m_home.reset();
}

void TestWholeRoad::jogOnTheUnit_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("mode");
    const char *modes[] = {"Scan", "Continuous", "Preset"};
    for (const QString model : {"4", "2"})
        for (int b = 0; b < (model == u"4" ? 8 : 4); ++b)
            for (int m = Scan; m <= Preset; ++m)
                QTest::addRow("%s-axis %s %s", qPrintable(model), kButtons[b].name, modes[m]) << model << b << m;
}

void TestWholeRoad::jogOnTheUnit()
{
    QFETCH(QString, model);
    QFETCH(int, button);
    QFETCH(int, mode);
    QVERIFY(start(model));
    const int axis = button / 2;
    const int dir = button % 2 ? -1 : 1;
    const QString letter = AxisLetter(axis);
    SetOption(m_w->Option1, mode == Scan);
    SetOption(m_w->Option2, mode == Continuous);
    SetOption(m_w->Option3, mode == Preset);
    g.ParamTable[axis][3] = QStringLiteral("4000");
    m_w->Option7->setChecked(true);
    m_w->amountBox(axis)->setText(QStringLiteral("0.025"));
    g.ScaleSel[axis] = 1;
    g.ScaleFactor[1][axis] = QStringLiteral("0.001");   // 25 pulses
    m_sim->clearLog();

    QPushButton *b = m_w->jogButton(button);
    QTest::mousePress(b, Qt::LeftButton);
    const QString speedLine = QStringLiteral("SPD ") + QString(axis, u',') + QStringLiteral("4000");
    const QString moveLine = mode == Preset ? QLatin1String(kButtons[button].presetHead) + QStringLiteral("25")
                                            : QString::fromLatin1(kButtons[button].jogLine);
    QVERIFY(m_sim->waitForRx(moveLine));
    // The axis moves the button's way.
    QVERIFY(waitFor([&] {
        const auto p = position(axis);
        return p && (mode == Preset ? *p == 25 * dir : *p * dir > 0);
    }));
    QTest::mouseRelease(b, Qt::LeftButton);
    QStringList expected{speedLine, moveLine};
    if (mode == Continuous) {
        // Only the STOP button stops a continuous jog.
        m_w->findChild<QPushButton *>(letter + QStringLiteral("_STOP_SW"))->click();
    }
    if (mode != Preset) {
        expected << QStringLiteral("STO ") + letter;
        QVERIFY(m_sim->waitForRx(expected.last()));
        // Stopped: the position holds.
        const auto p1 = position(axis);
        QVERIFY(m_sim->sync());
        QCOMPARE(position(axis), p1);
    }
    QVERIFY(m_sim->sync());
    QCOMPARE(m_sim->rxLines(), expected);
}

void TestWholeRoad::busyLineOnTheUnit()
{
    QVERIFY(start(QStringLiteral("4")));
    SetOption(m_w->Option1, true);
    m_sim->clearLog();
    LineHold hold(LineUser::Transfer);
    QTest::mousePress(m_w->XP_SW, Qt::LeftButton);
    QTest::mouseRelease(m_w->XP_SW, Qt::LeftButton);
    m_w->X_CLEAR_SW->click();
    m_w->Y_STOP_SW->click();
    QVERIFY(m_sim->waitForRx(QStringLiteral("STO Y")));
    QVERIFY(m_sim->sync());
    QCOMPARE(m_sim->rxLines(), (QStringList{"STO X", "STO Y"}));
    QCOMPARE(position(0), std::optional<qint32>(0));
}

void TestWholeRoad::homeSearchOnTheUnit()
{
    QVERIFY(start(QStringLiteral("4")));
    m_sim->control(QStringLiteral("pos X 500"));
    m_sim->control(QStringLiteral("pos Z -300"));
    m_sim->control(QStringLiteral("pos Y 70"));
    QVERIFY(m_sim->sync());
    m_w->HomeAxisX->setChecked(true);
    m_w->HomeAxisZ->setChecked(true);
    m_sim->clearLog();
    m_w->HomeStarSW->click();
    QVERIFY(m_sim->waitForRx(QStringLiteral("HOM XZ ")));
    QVERIFY(waitFor([&] { return position(0) == 0 && position(2) == 0; }));
    QCOMPARE(position(1), std::optional<qint32>(70));
    m_w->Command6->click();
    QVERIFY(m_sim->waitForRx(QStringLiteral("OGE XZ")));
    QVERIFY(m_sim->sync());
    QCOMPARE(m_sim->rxLines(), (QStringList{"HOM XZ ", "OGE XZ"}));
}

void TestWholeRoad::programDriveOnTheUnit()
{
    QVERIFY(start(QStringLiteral("4")));
    // Register 0 of X jumps to itself, so that the drive keeps running until
    // the test lets it go on, however slow the machine; registers 1-5 each
    // move 100 pulses; register 6 is empty and ends the drive.
    m_sim->control(QStringLiteral("reg X 0 C1000000"));
    for (int r = 1; r < 6; ++r)
        m_sim->control(QStringLiteral("reg X %1 00000064").arg(r));
    QVERIFY(m_sim->sync());
    SetOption(m_w->Option13, true);
    m_w->PrgAxisX->setChecked(true);
    m_w->RegNo->setText(QStringLiteral("0"));
    m_w->Timer1->setInterval(40);
    m_sim->clearLog();

    m_w->PrgStart->click();
    QVERIFY(m_w->Timer1->isActive());
    QVERIFY(m_sim->waitForRx(QStringLiteral("PRG X0")));
    // The monitor learns that the drive runs and asks for its register.
    QVERIFY(waitFor([] { return MainWindow()->ProgramActive[0] == 1; }));
    QVERIFY(m_sim->waitForRx(QStringLiteral("IDC X")));
    QVERIFY(waitFor([&] { return !m_w->Text17->text().isEmpty(); }));
    // Pause, then resume.
    m_w->PrgStop->click();
    QCOMPARE(MainWindow()->ProgramPaused[0], 1);
    QVERIFY(m_sim->waitForRx(QStringLiteral("PST X")));
    m_w->PrgStart->click();
    QVERIFY(m_sim->waitForRx(QStringLiteral("PRS X")));
    QCOMPARE(MainWindow()->ProgramPaused[0], 0);
    // Register 0 moves 100 pulses too: the drive runs out, and the monitor
    // ends it for the PC.
    m_sim->control(QStringLiteral("reg X 0 00000064"));
    QVERIFY(m_sim->waitForRx(QStringLiteral("EDP X")));
    QVERIFY(waitFor([] { return MainWindow()->ProgramStarted[0] == 0; }));
    QCOMPARE(MainWindow()->ProgramActive[0], 0);
    QCOMPARE(position(0), std::optional<qint32>(600));
    m_w->Timer1->stop();
    const QStringList rx = m_sim->rxLines();
    QCOMPARE(rx.count(QStringLiteral("PRG X0")), 1);
    QVERIFY(rx.indexOf(QStringLiteral("PST X")) < rx.indexOf(QStringLiteral("PRS X")));
    QVERIFY(rx.indexOf(QStringLiteral("PRS X")) < rx.indexOf(QStringLiteral("EDP X")));
}

void TestWholeRoad::ioWindowOnTheUnit()
{
    QVERIFY(start(QStringLiteral("4")));
    m_sim->control(QStringLiteral("status X 01"));
    m_sim->control(QStringLiteral("port 00010003"));
    m_sim->control(QStringLiteral("inputs FFFE"));
    QVERIFY(m_sim->sync());
    m_w->Timer1->start();
    frmIo *io = ShowIoWindow();
    QVERIFY(!m_w->Timer1->isActive());
    // The poll shows the unit's signals.
    QVERIFY(waitFor([&] {
        return io->Picture1[0]->state() == 1 && io->Picture2[16]->state() == 1
               && io->Picture4[0]->state() == 1 && io->Picture4[1]->state() == 0;
    }));
    QCOMPARE(io->Picture2[2]->state(), 0);
    QVERIFY(m_sim->waitForRx(QStringLiteral("OUT U")));
    QVERIFY(m_sim->waitForRx(QStringLiteral("INP")));

    // Switch X OUT0, general output 3 and the "ACK" port output (set now).
    io->Label5_DblClick(28);
    QVERIFY(m_sim->waitForRx(QStringLiteral("OUT X01")));
    QVERIFY(waitFor([&] { return io->Picture1[14]->state() == 1; }));
    io->Label8_DblClick(3);
    QVERIFY(m_sim->waitForRx(QStringLiteral("OTP 0008")));
    QVERIFY(waitFor([&] { return io->Picture5[3]->state() == 1; }));
    io->Label6_DblClick(16);
    QVERIFY(m_sim->waitForRx(QStringLiteral("POT  0")));
    QVERIFY(waitFor([&] { return io->Picture2[16]->state() == 0; }));

    io->Command1->click();
    QVERIFY(m_w->Timer1->isActive());
    QVERIFY(!IoWindow());
}

void TestWholeRoad::ioWindowOnTwoAxisUnit()
{
    QVERIFY(start(QStringLiteral("2")));
    m_sim->control(QStringLiteral("status Y 40"));
    QVERIFY(m_sim->sync());
    frmIo *io = ShowIoWindow();
    QVERIFY(waitFor([&] { return io->Picture1[13]->state() == 1; }));
    io->Label5_DblClick(30);
    QCOMPARE(io->Picture1[16]->state(), 1);   // the switch itself lights the lamp
    QVERIFY(m_sim->waitForRx(QStringLiteral("OUT Y01")));
    io->Timer2->stop();
    QVERIFY(m_sim->sync());
    QStringList others = m_sim->rxLines();
    others.removeAll(QStringLiteral("INR XY"));
    QCOMPARE(others, QStringList{"OUT Y01"});
}

QTEST_MAIN(TestWholeRoad)
#include "test_wholeroad.moc"
