// Jog, stop and clear buttons and the jog speed choice: the bytes each one
// puts on the line, the monitor switch around them and the busy rules.

#include "ManualRig.h"
#include "link/LineOwner.h"
#include "mainwin/frmMain.h"
#include "mainwin/frmIo.h"
#include "platform/Controls.h"
#include "platform/EventPump.h"
#include "platform/MSComm.h"
#include "transfer/frmSendPrg.h"
#include "shared/Shared.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {
enum Mode { Scan, Continuous, Preset, NoMode };

struct Button {
    const char *name;
    int index;
    int axis;
    const char *jogLine;
    const char *presetHead;
};
const Button kButtons[8] = {
    {"XP_SW", 0, 0, "JOG +X", "PIC "},   {"XM_SW", 1, 0, "JOG -X", "PIC -"},
    {"YP_SW", 2, 1, "JOG +Y", "PIC ,"},  {"YM_SW", 3, 1, "JOG -Y", "PIC ,-"},
    {"ZP_SW", 4, 2, "JOG +Z", "PIC ,,"}, {"ZM_SW", 5, 2, "JOG -Z", "PIC ,,-"},
    {"UP_SW", 6, 3, "JOG U", "PIC ,,,"}, {"UM_SW", 7, 3, "JOG -U", "PIC ,,,-"}};
const char *const kSpeedPrefix[4] = {"SPD ", "SPD ,", "SPD ,,", "SPD ,,,"};
const char *const kLetters = "XYZU";
} // namespace

class TestJog : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void jogBytes_data();
    void jogBytes();
    void presetAmount_data();
    void presetAmount();
    void presetRefused_data();
    void presetRefused();
    void speedLineBeforeJog_data();
    void speedLineBeforeJog();
    void speedChoiceClicks_data();
    void speedChoiceClicks();
    void keyPressesJog();
    void heldKeySendsOnce_data();
    void heldKeySendsOnce();
    void scanJogEndsWhenPressIsLost_data();
    void scanJogEndsWhenPressIsLost();
    void stopButtons();
    void clearButtons_data();
    void clearButtons();
    void monitorSwitchedOnAfterwards();
    void monitorKeptOffWhileIoWindowOpen();
    void busyLine();
    void refusedUnderIdleTransferWindow();
    void portClosed();

private:
    void setMode(Mode m);
    void press(int index) { QTest::mousePress(m_rig->w->jogButton(index), Qt::LeftButton); }
    void release(int index) { QTest::mouseRelease(m_rig->w->jogButton(index), Qt::LeftButton); }
    ManualRig *m_rig = nullptr;
};

void TestJog::init()
{
    m_rig = new ManualRig(QStringLiteral("4"));
    QVERIFY(m_rig->portOpen());
    frmMain *w = m_rig->w;
    // Speed choice 1 with a distinct DR1 per axis, preset amounts of 12.5.
    for (int a = 0; a < 4; ++a) {
        g.ParamTable[a][3] = QString::number(1000 + 100 * a);
        w->amountBox(a)->setText(QStringLiteral("12.5"));
    }
    w->Option7->setChecked(true);
    m_rig->wire();   // the speed lines of the choice itself
}

void TestJog::cleanup()
{
    delete m_rig;
    m_rig = nullptr;
}

void TestJog::setMode(Mode m)
{
    frmMain *w = m_rig->w;
    SetOption(w->Option1, m == Scan);
    SetOption(w->Option2, m == Continuous);
    SetOption(w->Option3, m == Preset);
}

void TestJog::jogBytes_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("onPress");
    QTest::addColumn<QString>("onRelease");
    const char *modeNames[] = {"Scan", "Continuous", "Preset", "no mode"};
    for (const Button &b : kButtons) {
        const QString speed = QLatin1String(kSpeedPrefix[b.axis]) + QString::number(1000 + 100 * b.axis) + u'|';
        for (int m = Scan; m <= NoMode; ++m) {
            const QString move = m == Preset ? QLatin1String(b.presetHead) + QStringLiteral("12|")
                                             : QLatin1String(b.jogLine) + u'|';
            const QString stop = m == Scan ? QStringLiteral("STO %1|").arg(QLatin1Char(kLetters[b.axis])) : QString();
            QTest::addRow("%s %s", b.name, modeNames[m]) << b.index << m << speed + move << stop;
        }
    }
}

void TestJog::jogBytes()
{
    QFETCH(int, button);
    QFETCH(int, mode);
    QFETCH(QString, onPress);
    QFETCH(QString, onRelease);
    setMode(Mode(mode));
    press(button);
    QCOMPARE(m_rig->wire(), onPress);
    release(button);
    QCOMPARE(m_rig->wire(), onRelease);
}

void TestJog::presetAmount_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QString>("factor");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("line");
    QTest::newRow("X mm at 0.001") << 0 << 1 << "0.001" << "1.5" << "PIC 1500|";
    QTest::newRow("Y minus, um at 0.5") << 3 << 2 << "0.5" << "3" << "PIC ,-6|";
    QTest::newRow("Z inch at 0.0001, half to even") << 4 << 3 << "0.0001" << "0.00025" << "PIC ,,2|";
    QTest::newRow("13.5 pulses gives 14") << 6 << 0 << "1" << "13.5" << "PIC ,,,14|";
    QTest::newRow("X minus amount 0") << 1 << 0 << "1" << "0" << "PIC -0|";
    QTest::newRow("U plus amount 0") << 6 << 0 << "1" << "0" << "PIC ,,,0|";
    QTest::newRow("leading zeros dropped") << 0 << 0 << "1" << "007" << "PIC 7|";
}

void TestJog::presetAmount()
{
    QFETCH(int, button);
    QFETCH(int, unit);
    QFETCH(QString, factor);
    QFETCH(QString, amount);
    QFETCH(QString, line);
    frmMain *w = m_rig->w;
    const int axis = button / 2;
    g.ScaleSel[axis] = int16_t(unit);
    g.ScaleFactor[unit][axis] = factor;
    w->amountBox(axis)->setText(amount);
    SetOption(w->Option7, false);   // no speed line, only the move
    setMode(Preset);
    press(button);
    QCOMPARE(m_rig->wire(), line);
    release(button);
    QCOMPARE(m_rig->wire(), QString());
    QVERIFY(m_rig->dialogs.shown().isEmpty());
}

void TestJog::presetRefused_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QString>("factor");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("line");   // the message's second line
    const QString noFactor = QStringLiteral("cannot be turned into pulses: the axis's unit has no usable factor.");
    QTest::newRow("point alone") << 0 << 0 << "1" << "." << "zt260" << "The X amount \".\" is not one number.";
    QTest::newRow("two points") << 2 << 0 << "1" << "1.2.3" << "zt260" << "The Y amount \"1.2.3\" is not one number.";
    QTest::newRow("factor 0") << 4 << 1 << "0" << "5" << "zt260/460" << "The Z amount " + noFactor;
    QTest::newRow("factor not a number") << 6 << 1 << "x" << "5" << "zt260/460" << "The U amount " + noFactor;
    QTest::newRow("past 32 bits") << 1 << 1 << "0.001" << "3000000" << "zt260"
                                  << "The X amount \"3000000\" comes to more pulses than the unit counts.";
    QTest::newRow("unit code outside the table") << 0 << 9 << "1" << "5" << "zt260" << "The X amount " + noFactor;
}

void TestJog::presetRefused()
{
    QFETCH(int, button);
    QFETCH(int, unit);
    QFETCH(QString, factor);
    QFETCH(QString, amount);
    QFETCH(QString, title);
    QFETCH(QString, line);
    frmMain *w = m_rig->w;
    const int axis = button / 2;
    g.ScaleSel[axis] = int16_t(unit);
    if (unit < kUnitCodes)
        g.ScaleFactor[unit][axis] = factor;
    // The box is written the way a stored setting would be, past the key filter.
    w->amountBox(axis)->setText(amount);
    setMode(Preset);
    w->Timer1->stop();
    press(button);
    QCOMPARE(m_rig->wire(), QString());   // not even the speed line
    QCOMPARE(m_rig->dialogs.texts(), QStringList{"Value can't configure it.\n" + line});
    QCOMPARE(m_rig->dialogs.shown().first().title, title);
    QVERIFY(!w->Timer1->isActive());
}

void TestJog::speedLineBeforeJog_data()
{
    QTest::addColumn<int>("choice");   // 7..11 option, 0 none
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("bytes");
    QTest::newRow("choice 2 on X") << 8 << 0 << "SPD 500|JOG +X|";
    QTest::newRow("choice 4 on U") << 10 << 7 << "SPD ,,,800|JOG -U|";
    QTest::newRow("choice 5, leading blank removed") << 11 << 3 << "SPD ,1200|JOG -Y|";
    QTest::newRow("choice 3, parameter empty") << 9 << 4 << "SPD ,,|JOG +Z|";
    QTest::newRow("no choice") << 0 << 0 << "JOG +X|";
}

void TestJog::speedLineBeforeJog()
{
    QFETCH(int, choice);
    QFETCH(int, button);
    QFETCH(QString, bytes);
    frmMain *w = m_rig->w;
    for (int a = 0; a < 4; ++a) {
        g.ParamTable[a][4] = QString::number(500 + 100 * a);
        g.ParamTable[a][5].clear();
        g.ParamTable[a][6] = QString::number(500 + 100 * a);
    }
    w->manualSpeedBox(1)->setText(QStringLiteral(" 1200"));
    {
        LineHold hold(LineUser::Transfer);   // choose without the choice's own speed lines
        const std::array<QRadioButton *, 5> options{w->Option7, w->Option8, w->Option9, w->Option10,
                                                    w->Option11};
        for (int i = 0; i < 5; ++i)
            SetOption(options[i], 7 + i == choice);
    }
    setMode(Continuous);
    press(button);
    QCOMPARE(m_rig->wire(), bytes);
}

void TestJog::speedChoiceClicks_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("choice");
    QTest::addColumn<int>("answered");
    QTest::addColumn<QString>("bytes");
    QTest::newRow("4-axis, choice 2")
        << "4" << 8 << 1 << "SPD 500|SPD ,600|SPD ,,700|SPD ,,,800|";
    QTest::newRow("2-axis, choice 2, X and Y only") << "2" << 8 << 1 << "SPD 500|SPD ,600|";
    QTest::newRow("choice 1 before any unit answered") << "4" << 7 << 0
        << "SPD 1000|SPD ,1100|SPD ,,1200|SPD ,,,1300|";
    QTest::newRow("choice 5 before any unit answered") << "4" << 11 << 0 << "";
    QTest::newRow("choice 5 once a unit answered")
        << "4" << 11 << 1 << "SPD 10|SPD ,20|SPD ,,30|SPD ,,,40|";
    QTest::newRow("parameter text sent unchanged") << "2" << 9 << 1 << "SPD  7 |SPD ,|";
}

void TestJog::speedChoiceClicks()
{
    QFETCH(QString, model);
    QFETCH(int, choice);
    QFETCH(int, answered);
    QFETCH(QString, bytes);
    frmMain *w = m_rig->w;
    g.UnitModel = model;
    w->UnitAnswered = int16_t(answered);
    for (int a = 0; a < 4; ++a) {
        g.ParamTable[a][4] = QString::number(500 + 100 * a);
        w->manualSpeedBox(a)->setText(QString::number(10 * (a + 1)));
    }
    g.ParamTable[0][5] = QStringLiteral(" 7 ");
    w->Timer1->stop();
    const std::array<QRadioButton *, 5> options{w->Option7, w->Option8, w->Option9, w->Option10, w->Option11};
    SetOption(w->Option7, false);
    m_rig->wire();
    options[choice - 7]->setChecked(true);
    QCOMPARE(m_rig->wire(), bytes);
    QVERIFY(!w->Timer1->isActive());   // the choice leaves the monitor alone
}

void TestJog::keyPressesJog()
{
    frmMain *w = m_rig->w;
    QPushButton *b = w->jogButton(2);   // YP_SW
    SetOption(w->Option7, false);
    // Scan: a key press jogs, its release stops; a release without a press stops too.
    setMode(Scan);
    QTest::keyPress(b, Qt::Key_A);
    QTest::keyRelease(b, Qt::Key_A);
    QTest::keyRelease(b, Qt::Key_Shift);
    QCOMPARE(m_rig->wire(), QStringLiteral("JOG +Y|STO Y|STO Y|"));
    // Tab moves the focus and jogs nothing.
    QTest::keyPress(b, Qt::Key_Tab);
    QCOMPARE(m_rig->wire(), QString());
}

void TestJog::heldKeySendsOnce_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("pressed");
    QTest::addColumn<QString>("released");
    QTest::newRow("Scan") << int(Scan) << "SPD ,1100|JOG +Y|" << "STO Y|";
    QTest::newRow("Continuous") << int(Continuous) << "SPD ,1100|JOG +Y|" << "";
    QTest::newRow("Preset") << int(Preset) << "SPD ,1100|PIC ,12|" << "";
}

void TestJog::heldKeySendsOnce()
{
    QFETCH(int, mode);
    QFETCH(QString, pressed);
    QFETCH(QString, released);
    setMode(Mode(mode));
    QPushButton *b = m_rig->w->jogButton(2);   // YP_SW
    QTest::keyPress(b, Qt::Key_Space);
    // A held key: the system repeats the press (and a release) while it is down.
    for (int i = 0; i < 5; ++i) {
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
        QCoreApplication::sendEvent(b, &repeat);
        QKeyEvent repeatUp(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
        QCoreApplication::sendEvent(b, &repeatUp);
    }
    QCOMPARE(m_rig->wire(), pressed);
    QTest::keyRelease(b, Qt::Key_Space);
    QCOMPARE(m_rig->wire(), released);
}

void TestJog::scanJogEndsWhenPressIsLost_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("lost");   // event type that ends the press
    QTest::addColumn<QString>("bytes");
    QTest::newRow("focus lost, Scan") << int(Scan) << int(QEvent::FocusOut) << "JOG -Z|STO Z|";
    QTest::newRow("window deactivated, Scan") << int(Scan) << int(QEvent::WindowDeactivate) << "JOG -Z|STO Z|";
    QTest::newRow("mouse grab lost, Scan") << int(Scan) << int(QEvent::UngrabMouse) << "JOG -Z|STO Z|";
    QTest::newRow("button hidden, Scan") << int(Scan) << int(QEvent::Hide) << "JOG -Z|STO Z|";
    QTest::newRow("button disabled, Scan") << int(Scan) << int(QEvent::EnabledChange) << "JOG -Z|STO Z|";
    // Hidden for real: the release that follows reaches no filter, the stop
    // has gone out already.
    QTest::newRow("button hidden by code, Scan") << int(Scan) << int(QEvent::HideToParent) << "JOG -Z|STO Z|";
    QTest::newRow("focus lost, Continuous") << int(Continuous) << int(QEvent::FocusOut) << "JOG -Z|";
}

void TestJog::scanJogEndsWhenPressIsLost()
{
    QFETCH(int, mode);
    QFETCH(int, lost);
    QFETCH(QString, bytes);
    frmMain *w = m_rig->w;
    SetOption(w->Option7, false);
    setMode(Mode(mode));
    QPushButton *b = w->jogButton(5);   // ZM_SW
    if (lost == QEvent::HideToParent) {
        // Only a control on screen is told that it is hidden.
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
    }
    press(5);
    if (lost == QEvent::EnabledChange) {
        b->setEnabled(false);
    } else if (lost == QEvent::HideToParent) {
        b->hide();
    } else if (lost == QEvent::FocusOut) {
        QFocusEvent e(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QCoreApplication::sendEvent(b, &e);
    } else {
        QEvent e{QEvent::Type(lost)};
        QCoreApplication::sendEvent(b, &e);
    }
    QCOMPARE(m_rig->wire(), bytes);
    // The press has ended once: a second loss sends nothing more.
    QEvent again(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(b, &again);
    release(5);
    QCOMPARE(m_rig->wire(), QString(mode == Scan && b->isEnabled() && !b->isHidden() ? "STO Z|" : ""));
}

void TestJog::stopButtons()
{
    frmMain *w = m_rig->w;
    const std::array<QPushButton *, 4> stops{w->X_STOP_SW, w->Y_STOP_SW, w->Z_STOP_SW, w->U_STOP_SW};
    for (int a = 0; a < 4; ++a) {
        // Something waits unread in the receive buffer (no threshold set).
        m_rig->pty.send("unread\r");
        QVERIFY(WaitUntil([&] { return w->MSComm1->InBufferCount() >= 7; }, 3000) == WaitResult::Done);
        stops[a]->click();
        QCOMPARE(m_rig->wire(), QStringLiteral("STO %1|").arg(QLatin1Char(kLetters[a])));
        // Only the X STOP throws the unread input away.
        QCOMPARE(w->MSComm1->InBufferCount() == 0, a == 0);
        w->MSComm1->setInBufferCount(0);
    }
}

void TestJog::clearButtons_data()
{
    QTest::addColumn<int>("axis");
    QTest::addColumn<int>("setting");
    QTest::addColumn<QString>("bytes");
    QTest::newRow("Z, setting 1") << 2 << 1 << "CLR Z|";
    QTest::newRow("Y, setting 0") << 1 << 0 << "CLL Y|";
    QTest::newRow("X, setting 2") << 0 << 2 << "CLL X|";
    QTest::newRow("U, setting 1") << 3 << 1 << "CLR U|";
}

void TestJog::clearButtons()
{
    QFETCH(int, axis);
    QFETCH(int, setting);
    QFETCH(QString, bytes);
    frmMain *w = m_rig->w;
    for (int a = 0; a < 4; ++a)
        g.ModeSetTable[a][6] = int16_t(a == axis ? setting : 1 - setting % 2);
    MainWindow()->Link->SpeedReplyPending = 1;
    MainWindow()->Link->PositionReplyPending = 1;
    m_rig->pty.send("unread\r");
    QVERIFY(WaitUntil([&] { return w->MSComm1->InBufferCount() >= 7; }, 3000) == WaitResult::Done);
    const std::array<QPushButton *, 4> clears{w->X_CLEAR_SW, w->Y_CLEAR_SW, w->Z_CLEAR_SW, w->U_CLEAR_SW};
    clears[axis]->click();
    QCOMPARE(m_rig->wire(), bytes);
    QCOMPARE(w->MSComm1->InBufferCount(), 0);
    QCOMPARE(MainWindow()->Link->SpeedReplyPending, 0);
    QCOMPARE(MainWindow()->Link->PositionReplyPending, 0);
}

void TestJog::monitorSwitchedOnAfterwards()
{
    frmMain *w = m_rig->w;
    setMode(Scan);
    const std::vector<std::function<void()>> actions{
        [&] { press(0); }, [&] { release(0); }, [&] { w->X_STOP_SW->click(); },
        [&] { w->U_CLEAR_SW->click(); }};
    for (const auto &act : actions) {
        w->Timer1->stop();
        act();
        QVERIFY(w->Timer1->isActive());
    }
}

void TestJog::monitorKeptOffWhileIoWindowOpen()
{
    frmMain *w = m_rig->w;
    w->Timer1->start();
    frmIo *io = ShowIoWindow();
    io->Timer2->stop();
    QVERIFY(!w->Timer1->isActive());
    setMode(Scan);
    press(2);
    release(2);
    w->Y_STOP_SW->click();
    w->Y_CLEAR_SW->click();
    QVERIFY(!w->Timer1->isActive());
    QCOMPARE(m_rig->wire(), QStringLiteral("SPD ,1100|JOG +Y|STO Y|STO Y|CLL Y|"));
    io->Command1_Click();
    QVERIFY(w->Timer1->isActive());
}

void TestJog::busyLine()
{
    frmMain *w = m_rig->w;
    LineHold hold(LineUser::Transfer);
    for (bool timerOn : {false, true}) {
        timerOn ? w->Timer1->start() : w->Timer1->stop();
        for (Mode m : {Scan, Continuous, Preset}) {
            setMode(m);
            press(0);
            QCOMPARE(m_rig->wire(), QString());
            release(0);
            // Ending a Scan jog is a stop and always goes out.
            QCOMPARE(m_rig->wire(), m == Scan ? QStringLiteral("STO X|") : QString());
        }
        // A STOP always stops, but leaves unread input for the waiting owner.
        m_rig->pty.send("reply\r");
        QVERIFY(WaitUntil([&] { return w->MSComm1->InBufferCount() >= 6; }, 3000) == WaitResult::Done);
        w->X_STOP_SW->click();
        QCOMPARE(m_rig->wire(), QStringLiteral("STO X|"));
        QCOMPARE(w->MSComm1->InBufferCount(), 6);
        QCOMPARE(w->Label22->text(), QStringLiteral("A transfer is using the line: the jog was not sent."));
        w->X_CLEAR_SW->click();
        QCOMPARE(w->Label22->text(), QStringLiteral("A transfer is using the line: nothing was sent."));
        w->Option8->setChecked(true);
        w->Option7->setChecked(true);
        QCOMPARE(m_rig->wire(), QString());
        QCOMPARE(w->MSComm1->InBufferCount(), 6);
        QCOMPARE(w->Timer1->isActive(), timerOn);
        QVERIFY(LineHeld());
        w->MSComm1->setInBufferCount(0);
    }
}

// A download window standing open with nothing running keeps the line: the
// jog goes nowhere, and the error message display says why and names the
// window (a box would stand between the press and its release). The stop of
// the Scan jog still goes out.
void TestJog::refusedUnderIdleTransferWindow()
{
    frmMain *w = m_rig->w;
    setMode(Scan);
    w->mnuZT260DoProgItem[0]->trigger();
    frmSendPrg *open = SendPrgWindow();
    QVERIFY(open && open->HoldsLine());
    m_rig->wire();

    press(0);
    QCOMPARE(m_rig->wire(), QString());
    const QString told = QStringLiteral("The \"Download Program\" window is open and keeps the line for its "
                                        "transfer: the jog was not sent.\nClose that window first.");
    QCOMPARE(w->Label22->text(), told);
    release(0);
    QCOMPARE(m_rig->wire(), QStringLiteral("STO X|"));
    QCOMPARE(w->Label22->text(), told);
    QVERIFY(m_rig->dialogs.shown().isEmpty());

    // Closed, the window gives the line back: the next jog goes out and the
    // display no longer tells of a refusal.
    open->Cancel_botton->click();
    QVERIFY(!LineHeld());
    press(0);
    release(0);
    QCOMPARE(m_rig->wire(), QStringLiteral("SPD 1000|JOG +X|STO X|"));
    QCOMPARE(w->Label22->text(), QString());
}

void TestJog::portClosed()
{
    frmMain *w = m_rig->w;
    m_rig->closePort();
    w->Timer1->stop();
    setMode(Scan);
    press(0);
    release(0);
    w->X_STOP_SW->click();
    w->X_CLEAR_SW->click();
    w->Option8->setChecked(true);
    QVERIFY(!w->Timer1->isActive());
    QCOMPARE(m_rig->wire(), QString());
    QVERIFY(m_rig->dialogs.shown().isEmpty());
}

QTEST_MAIN(TestJog)
#include "test_jog.moc"
