// Manual operation of the main window: jog, stop and clear buttons, the jog
// speed choice, the amount, speed and register boxes and the speed up-down
// controls.

#include "mainwin/ManualEvents.h"
#include "mainwin/ManualSend.h"
#include "mainwin/frmMain.h"
#include "platform/Dialogs.h"
#include "platform/EntryEditing.h"
#include "platform/MSComm.h"
#include "platform/UpDown.h"
#include "shared/EntryChecks.h"
#include "shared/NumberText.h"
#include "shared/RefusalText.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

// Per jog button (XP, XM, YP, YM, ZP, ZM, UP, UM): the jog line and the head
// of the preset line, which names the axis by its place among the commas.
// The U plus jog line has no "+"; the unit knows it that way.
const char *const kJogLines[8] = {"JOG +X", "JOG -X", "JOG +Y", "JOG -Y",
                                  "JOG +Z", "JOG -Z", "JOG U",  "JOG -U"};
const char *const kPresetHeads[8] = {"PIC ",   "PIC -",   "PIC ,",    "PIC ,-",
                                     "PIC ,,", "PIC ,,-", "PIC ,,,", "PIC ,,,-"};

bool validAxis(int axis)
{
    return axis >= 0 && axis < kAxes;
}

QString axisMessageTitle(int axis)
{
    return axis < 2 ? QStringLiteral("zt260") : QStringLiteral("zt260/460");
}

bool keyIsDigit(int key)
{
    return key >= '0' && key <= '9';
}

// The speed box's text as it stands, after the axis's prefix, in two writes.
void sendSpeedBox(frmMain *w, int axis)
{
    w->MSComm1->Output(SpeedPrefix(axis));
    w->MSComm1->Output(w->manualSpeedBox(axis)->text() + u'\r');
}

QString withoutLeadingBlanks(const QString &s)
{
    qsizetype i = 0;
    while (i < s.size() && s[i] == u' ')
        ++i;
    return s.mid(i);
}

} // namespace

void frmMain::wireManualControls()
{
    auto *events = new ManualEvents(this);

    for (int i = 0; i < 8; ++i)
        events->watch(jogButton(i), ManualEvents::JogButton, i);
    const std::array<QPushButton *, 4> clears{X_CLEAR_SW, Y_CLEAR_SW, Z_CLEAR_SW, U_CLEAR_SW};
    const std::array<UpDown *, 4> upDowns{UpDown1, UpDown2, UpDown3, UpDown4};
    for (int a = 0; a < kAxes; ++a) {
        connect(stopButton(a), &QPushButton::clicked, this, [this, a] { STOP_SW_Click(a); });
        connect(clears[a], &QPushButton::clicked, this, [this, a] { CLEAR_SW_Click(a); });
        events->watch(positionBox(a), ManualEvents::DisplayBox, a);
        events->watch(speedBox(a), ManualEvents::DisplayBox, 4 + a);
        events->watch(manualSpeedBox(a), ManualEvents::SpeedBox, a);
        EntryEditing::watch(amountBox(a), [this, a](int &key) { AmountBox_KeyPress(a, key); });
        EntryEditing::watch(manualSpeedBox(a), [this, a](int &key) { SpeedBox_KeyPress(a, key); });
        connect(amountBox(a), &QLineEdit::textChanged, this, [this, a] { AmountBox_Change(a); });
        connect(manualSpeedBox(a), &QLineEdit::textChanged, this, [this, a] { SpeedBox_Change(a); });
        connect(registerBox(a), &QLineEdit::textChanged, this, [this, a] { RegisterBox_Change(a); });
        connect(upDowns[a], &UpDown::UpClick, this, [this, a] { SpeedUpDown_UpClick(a); });
        connect(upDowns[a], &UpDown::DownClick, this, [this, a] { SpeedUpDown_DownClick(a); });
    }

    // An option button's click runs when it becomes the chosen one.
    auto onChosen = [this](QRadioButton *b, void (frmMain::*handler)()) {
        connect(b, &QRadioButton::toggled, this, [this, handler](bool on) {
            if (on)
                (this->*handler)();
        });
    };
    onChosen(Option7, &frmMain::Option7_Click);
    onChosen(Option8, &frmMain::Option8_Click);
    onChosen(Option9, &frmMain::Option9_Click);
    onChosen(Option10, &frmMain::Option10_Click);
    onChosen(Option11, &frmMain::Option11_Click);
    onChosen(Option12, &frmMain::Option12_Click);
    onChosen(Option13, &frmMain::Option13_Click);

    connect(UpDown5, &UpDown::Change, this, &frmMain::UpDown5_Change);
    connect(PrgStart, &QPushButton::clicked, this, &frmMain::PrgStart_Click);
    connect(PrgStep, &QPushButton::clicked, this, &frmMain::PrgStep_Click);
    connect(PrgStop, &QPushButton::clicked, this, &frmMain::PrgStop_Click);
    for (QPushButton *drive : {HomeStarSW, PrgStart, PrgStep})
        events->watch(drive, ManualEvents::DriveButton, 0);
    events->watch(RegNo, ManualEvents::StartRegister, 0);
    EntryEditing::watch(RegNo, [this](int &key) { RegNo_KeyPress(key); });
    connect(RegNo, &QLineEdit::textChanged, this, &frmMain::RegNo_Change);
    connect(HomeStarSW, &QPushButton::clicked, this, &frmMain::HomeStarSW_Click);
    connect(Command6, &QPushButton::clicked, this, &frmMain::Command6_Click);
}

QPushButton *frmMain::jogButton(int index) const
{
    const std::array<QPushButton *, 8> buttons{XP_SW, XM_SW, YP_SW, YM_SW, ZP_SW, ZM_SW, UP_SW, UM_SW};
    return index >= 0 && index < 8 ? buttons[std::size_t(index)] : nullptr;
}

QPushButton *frmMain::stopButton(int axis) const
{
    const std::array<QPushButton *, 4> buttons{X_STOP_SW, Y_STOP_SW, Z_STOP_SW, U_STOP_SW};
    return validAxis(axis) ? buttons[std::size_t(axis)] : nullptr;
}

// ---- jog, stop and clear

void frmMain::JogSW_Press(int index)
{
    if (index < 0 || index >= 8 || !MSComm1->PortOpen()
        || !MayWriteOrTell(LineUser::Manual, QStringLiteral("the jog was not sent.")))
        return;
    const int axis = index / 2;
    std::optional<int32_t> count;
    if (Option3->isChecked()) {
        // The count comes from the box as it reads now, in the axis's unit.
        count = PresetCount(amountBox(axis)->text(), AxisFactor(g.ScaleSel[axis], axis));
        if (!count) {
            MsgBox(WithReason(ValueRefused(), PresetRefusal(axis, amountBox(axis)->text(),
                                                            AxisFactor(g.ScaleSel[axis], axis))),
                   MsgButtons::Ok, axisMessageTitle(axis), MsgIcon::Critical);
            return;
        }
    }
    MonitorHold pause;
    SendJogSpeed(axis);
    if (count)
        MSComm1->Output(QLatin1String(kPresetHeads[index]) + QString::number(*count) + u'\r');
    else
        MSComm1->Output(QLatin1String(kJogLines[index]) + u'\r');
}

void frmMain::JogSW_Release(int index)
{
    if (index < 0 || index >= 8 || !MSComm1->PortOpen())
        return;
    const int axis = index / 2;
    const QString stop = AxisCommand("STO", axis);
    // Ending a Scan jog is a stop: it goes out even while the line is held,
    // leaving the monitor and the holder alone.
    if (LineHeld()) {
        if (Option1->isChecked())
            MSComm1->Output(stop);
        return;
    }
    MonitorHold pause;
    if (Option1->isChecked())
        MSComm1->Output(stop);
}

void frmMain::STOP_SW_Click(int axis)
{
    if (!validAxis(axis) || !MSComm1->PortOpen())
        return;
    // An axis can always be stopped; while another operation waits for its
    // reply the stop must not throw that reply away or restart the monitor.
    if (LineHeld()) {
        MSComm1->Output(AxisCommand("STO", axis));
        return;
    }
    MonitorHold pause;
    if (axis == 0)
        MSComm1->setInBufferCount(0);
    MSComm1->Output(AxisCommand("STO", axis));
}

void frmMain::CLEAR_SW_Click(int axis)
{
    if (!validAxis(axis) || !MSComm1->PortOpen() || !MayWriteOrTell(LineUser::Manual))
        return;
    MonitorHold pause;
    MSComm1->setInBufferCount(0);
    MSComm1->Output(AxisCommand(g.ModeSetTable[axis][6] == 1 ? "CLR" : "CLL", axis));
    Link->PositionReplyPending = 0;
    Link->SpeedReplyPending = 0;
}

// ---- jog speed choice

void frmMain::SendJogSpeed(int axis)
{
    if (!validAxis(axis) || !MayWrite(LineUser::Manual))
        return;
    if (axis == 3 && !MSComm1->PortOpen())
        return;
    const std::array<QRadioButton *, 5> choices{Option7, Option8, Option9, Option10, Option11};
    int k = 0;
    for (int i = 0; i < 5 && k == 0; ++i)
        if (choices[i]->isChecked())
            k = i + 1;
    if (k == 0)
        return;
    // Two writes: the prefix, then the value; a closed port takes neither.
    MSComm1->Output(SpeedPrefix(axis));
    const QString value = k <= 4 ? g.ParamTable[axis][2 + k] : withoutLeadingBlanks(manualSpeedBox(axis)->text());
    MSComm1->Output(value + u'\r');
}

namespace {
void sendAllJogSpeeds(frmMain *w)
{
    const int axes = AxisCount(CurrentUnitKind());
    for (int axis = 0; axis < axes; ++axis)
        w->SendJogSpeed(axis);
}
} // namespace

void frmMain::Option7_Click() { sendAllJogSpeeds(this); }
void frmMain::Option8_Click() { sendAllJogSpeeds(this); }
void frmMain::Option9_Click() { sendAllJogSpeeds(this); }
void frmMain::Option10_Click() { sendAllJogSpeeds(this); }

void frmMain::Option11_Click()
{
    // The start-up chooses it before any unit has answered; that choice sends nothing.
    if (UnitAnswered == 1)
        sendAllJogSpeeds(this);
}

// ---- entry and display boxes

void frmMain::DisplayBox_GotFocus(int box)
{
    QLineEdit *target = box >= 0 && box < 4 ? amountBox(box) : manualSpeedBox(box - 4);
    if (target)
        target->setFocus(Qt::OtherFocusReason);
}

void frmMain::AmountBox_KeyPress(int, int &key)
{
    if (!AmountKeyAccepted(key))
        key = 0;
}

void frmMain::AmountBox_Change(int axis)
{
    QLineEdit *box = amountBox(axis);
    if (!box || axis >= AxisCount(CurrentUnitKind()))
        return;
    if (box->text().isEmpty()) {
        g.AxisEntryText[axis][0] = QStringLiteral("0");
        box->setText(QStringLiteral("0"));
        return;
    }
    // A text that is no number yet (a point alone) or an unusable factor
    // leaves the stored amount as it was.
    if (const auto pulses = AmountInPulses(box->text(), AxisFactor(g.ScaleSel[axis], axis)))
        g.AxisEntryText[axis][0] = *pulses;
}

void frmMain::SpeedBox_Click(int axis)
{
    if (QLineEdit *box = manualSpeedBox(axis))
        SavedSpeedText[axis] = box->text();
}

void frmMain::SpeedBox_KeyPress(int axis, int &key)
{
    QLineEdit *box = manualSpeedBox(axis);
    if (!box)
        return;
    if (!(keyIsDigit(key) || key == 8 || key == 13)) {
        key = 0;
        return;
    }
    if (key == 13 && MSComm1->PortOpen() && MayWriteOrTell(LineUser::Manual))
        sendSpeedBox(this, axis);
}

void frmMain::SpeedBox_Change(int axis)
{
    QLineEdit *box = manualSpeedBox(axis);
    if (!box)
        return;
    if (SpeedTextAccepted(box->text())) {
        g.AxisEntryText[axis][1] = box->text();
        return;
    }
    MsgBox(WithReason(ValueRefused(), QStringLiteral("The %1 manual speed takes 0 to %2, not \"%3\".")
                                          .arg(AxisLetter(axis))
                                          .arg(kMaxManualSpeed)
                                          .arg(box->text())),
           MsgButtons::Ok, axisMessageTitle(axis), MsgIcon::Critical);
    // Put back the text of the last click. Should that be refused as well,
    // or be the very text refused now, the box is emptied instead, so the
    // box never keeps a refused value.
    QString back = SavedSpeedText[axis];
    if (speedRestoreDepth[axis] > 0 || back == box->text())
        back.clear();
    ++speedRestoreDepth[axis];
    box->setText(back);
    --speedRestoreDepth[axis];
}

void frmMain::RegisterBox_Change(int axis)
{
    QLineEdit *box = registerBox(axis);
    if (!box)
        return;
    // Held within the registers of the larger model.
    constexpr int last = LastRegister(UnitKind::FourAxis);
    const double v = LeadingNumber(box->text());
    if (v < 0)
        box->setText(QStringLiteral("0"));
    else if (v > last)
        box->setText(QString::number(last));
    box->repaint();
}

// ---- speed up-down controls

namespace {
double speedStep(const frmMain *w)
{
    if (w->Option4->isChecked())
        return 1;
    if (w->Option5->isChecked())
        return 10;
    if (w->Option6->isChecked())
        return 100;
    return 0;
}

void stepSpeed(frmMain *w, int axis, bool up)
{
    QLineEdit *box = w->manualSpeedBox(axis);
    if (!box)
        return;
    const double v = LeadingNumber(box->text()) + (up ? speedStep(w) : -speedStep(w));
    if (!up && v < 0)
        box->setText(QStringLiteral("0"));
    else if (up && v > kMaxManualSpeed)
        box->setText(QStringLiteral("8000"));
    else
        box->setText(SignedForm(v));
    box->repaint();
    if (w->MSComm1->PortOpen() && w->Option11->isChecked() && w->MayWriteOrTell(LineUser::Manual))
        sendSpeedBox(w, axis);
}
} // namespace

void frmMain::SpeedUpDown_UpClick(int axis)
{
    stepSpeed(this, axis, true);
}

void frmMain::SpeedUpDown_DownClick(int axis)
{
    stepSpeed(this, axis, false);
}
