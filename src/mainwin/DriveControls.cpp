// Program and index drive, the start register box and its spinner, and the
// home search of the main window.

#include "mainwin/ManualSend.h"
#include "mainwin/frmMain.h"
#include "platform/Dialogs.h"
#include "platform/EventPump.h"
#include "platform/MSComm.h"
#include "platform/UpDown.h"
#include "shared/EntryChecks.h"
#include "shared/RefusalText.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

bool ticked(const QCheckBox *box)
{
    return box && box->checkState() == Qt::Checked;
}

// A start command carries the register straight after the axis letter.
QString startCommand(const char *mnemonic, int axis, const QLineEdit *regNo)
{
    return AxisCommand(mnemonic, axis, regNo->text().trimmed());
}

bool confirmEnd(const QString &text, const QString &title)
{
    return MsgBox(text, MsgButtons::OkCancel, title, MsgIcon::Exclamation) == MsgResult::Ok;
}

} // namespace

void frmMain::Option12_Click()
{
    PrgStep->setEnabled(false);   // an index drive has no single step
}

void frmMain::Option13_Click()
{
    PrgStep->setEnabled(true);
}

void frmMain::PrgStart_Click()
{
    // While another operation holds the line a start would break into its
    // exchange; the start holds it itself while its commands go out.
    if (!MSComm1->PortOpen() || !MayWriteOrTell(LineUser::Drive))
        return;
    LineHold hold(LineUser::Drive);
    if (!hold.owns())
        return;
    {
        MonitorHold pause;
        MSComm1->setInBufferCount(0);
        for (int a = 0; a < kAxes; ++a) {
            if (!ticked(prgAxisBox(a)))
                continue;
            if (Option13->isChecked()) {
                if (ProgramPaused[a] != 0) {
                    MSComm1->Output(AxisCommand("PRS", a));
                    ProgramPaused[a] = 0;
                } else {
                    MSComm1->Output(startCommand("PRG", a, RegNo));
                    ProgramStarted[a] = 1;
                    // The 2-axis unit reports no running program in its status.
                    if (CurrentUnitKind() == UnitKind::TwoAxis && a < AxisCount(UnitKind::TwoAxis))
                        ProgramActive[a] = 1;
                }
            } else if (Option12->isChecked()) {
                if (IndexPaused[a] != 0) {
                    MSComm1->Output(AxisCommand("IRS", a));
                    IndexPaused[a] = 0;
                } else {
                    MSComm1->Output(startCommand("IDX", a, RegNo));
                    IndexActive[a] = 1;
                }
            } else {
                continue;
            }
            DoEvents();
        }
    }
}

void frmMain::PrgStep_Click()
{
    if (!MSComm1->PortOpen() || !MayWriteOrTell(LineUser::Drive))
        return;
    MonitorHold pause;
    MSComm1->setInBufferCount(0);
    for (int a = 0; a < kAxes; ++a) {
        if (!ticked(prgAxisBox(a)))
            continue;
        MSComm1->Output(AxisCommand("PSP", a));
        DoEvents();
        if (ProgramStarted[a] == 0) {
            MSComm1->Output(startCommand("PRG", a, RegNo));
            ProgramStarted[a] = 1;
            DoEvents();
        }
    }
}

void frmMain::PrgStop_Click()
{
    if (!MSComm1->PortOpen() || !MayWriteOrTell(LineUser::Drive))
        return;
    MonitorHold pause;
    MSComm1->setInBufferCount(0);
    if (Option13->isChecked()) {
        for (int a = 0; a < kAxes; ++a) {
            if (!ticked(prgAxisBox(a)) || ProgramActive[a] != 1)
                continue;
            if (ProgramPaused[a] == 0) {
                MSComm1->Output(AxisCommand("PST", a));
                ProgramPaused[a] = 1;
            } else if (confirmEnd(QStringLiteral("Do you finish an Program drive? ( %1-axis )").arg(AxisLetter(a)),
                                  QStringLiteral(" ZT260A/ZT460A"))) {
                MSComm1->Output(AxisCommand("EDP", a));
                ProgramPaused[a] = 0;
                ProgramActive[a] = 0;
                registerBox(a)->setText(QString());
                registerBox(a)->repaint();
            }
        }
    } else if (Option12->isChecked()) {
        for (int a = 0; a < kAxes; ++a) {
            if (!ticked(prgAxisBox(a)) || IndexActive[a] != 1)
                continue;
            if (IndexPaused[a] == 0) {
                MSComm1->Output(AxisCommand("IST", a));
                IndexPaused[a] = 1;
            } else if (confirmEnd(QStringLiteral("Do you finish an index drive? ( %1-axis )").arg(AxisLetter(a)),
                                  QStringLiteral("ZT260A"))) {
                MSComm1->Output(AxisCommand("EDI", a));
                IndexPaused[a] = 0;
                IndexActive[a] = 0;
            }
        }
    }
}

// ---- start register box and spinner

void frmMain::RegNo_KeyPress(int &key)
{
    if (!((key >= '0' && key <= '9') || key == 8))
        key = 0;
}

void frmMain::RegNo_Click()
{
    SavedRegNoText = RegNo->text();
}

void frmMain::RegNo_Change()
{
    const UnitKind kind = CurrentUnitKind();
    if (!RegisterTextAccepted(RegNo->text(), kind)) {
        MsgBox(WithReason(ValueRefused(), QStringLiteral("The start register box takes 0 to %1, not \"%2\".")
                                              .arg(LastRegister(kind))
                                              .arg(RegNo->text())),
               MsgButtons::Ok, kind == UnitKind::TwoAxis ? QStringLiteral("zt260a") : QStringLiteral("zt460a"),
               MsgIcon::Critical);
        // As with the speed boxes: a put-back text that is refused too, or
        // is the refused text itself, gives way to the empty text (register 0).
        QString back = SavedRegNoText;
        if (regNoRestoreDepth > 0 || back == RegNo->text())
            back.clear();
        ++regNoRestoreDepth;
        RegNo->setText(back);
        --regNoRestoreDepth;
    }
    if (CommState >= 1) {
        UpDown5->setValue(RegisterNumber(RegNo->text()));
        RegNo->repaint();
    }
}

void frmMain::UpDown5_Change()
{
    RegNo->setText(QString::number(UpDown5->Value()));
    RegNo->repaint();
}

// ---- home search

namespace {
void writeTickedLetters(frmMain *w)
{
    for (int a = 0; a < kAxes; ++a)
        if (ticked(w->homeAxisBox(a)))
            w->MSComm1->Output(AxisLetter(a));
}
} // namespace

void frmMain::HomeStarSW_Click()
{
    if (!MSComm1->PortOpen() || !MayWriteOrTell(LineUser::Manual))
        return;
    MonitorHold pause;
    MSComm1->Output(QStringLiteral("HOM "));
    writeTickedLetters(this);
    MSComm1->Output(QStringLiteral(" "));
    MSComm1->Output(QStringLiteral("\r"));
}

void frmMain::Command6_Click()
{
    // A stop: it goes out whatever owns the line, and leaves the monitor alone.
    if (!MSComm1->PortOpen())
        return;
    MSComm1->Output(QStringLiteral("OGE "));
    writeTickedLetters(this);
    MSComm1->Output(QStringLiteral("\r"));
}
