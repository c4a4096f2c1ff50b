// Reading the settings file at start-up into the shared tables and the main
// window's controls, and writing it anew when the program closes.

#include "mainwin/SettingsFile.h"
#include "mainwin/frmMain.h"
#include "mainwin/ScaleOnMain.h"
#include "platform/AppInfo.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/MSComm.h"
#include "shared/AxisFactor.h"
#include "shared/NumberText.h"
#include "shared/Shared.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>

namespace {

Qt::CheckState checkState(int value)
{
    return value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked;
}

int checkValue(const QCheckBox *box)
{
    switch (box->checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
    }
}

} // namespace

std::array<QRadioButton *, 6> frmMain::settingOptions() const
{
    return {Option1, Option2, Option3, Option4, Option5, Option6};
}

void frmMain::LoadSettings()
{
    QStringList lines;
    if (!ReadSettingsFile(&lines))
        return;
    const SettingsReadResult r = ReadSettingsLines(lines);
    if (r.period)
        Timer1->setInterval(*r.period);

    // Choices of the window, in the order the file keeps them; a choice whose
    // line was not understood keeps the window's own state.
    const auto &f = SettingFlags;
    auto apply = [&](int item, auto &&set) {
        if (r.taken(item))
            set(f[size_t(item)]);
    };
    const auto options = settingOptions();
    for (int i = 0; i < 6; ++i)
        apply(i, [&](int v) { SetOption(options[size_t(i)], v == 1); });
    for (int i = 6; i <= 13; ++i) {
        QCheckBox *box = i < 10 ? homeAxisBox(i - 6) : prgAxisBox(i - 10);
        apply(i, [&](int v) { box->setCheckState(checkState(v)); });
    }
    apply(14, [&](int v) { RegNo->setText(SignedForm(v)); });
    apply(15, [&](int v) { mnuComItem[0]->setChecked(v == 1); });
    apply(16, [&](int v) { mnuComItem[1]->setChecked(v == 1); });
    for (int i = 0; i < 3; ++i)
        apply(17 + i, [&](int v) { mnuBPS[size_t(i)]->setChecked(v == 1); });
    apply(20, [&](int v) { SetOption(Option12, v == 1); });
    apply(21, [&](int v) { SetOption(Option13, v == 1); });
    for (int i = 2; i < 9; ++i)
        apply(20 + i, [&](int v) { mnuComItem[size_t(i)]->setChecked(v == 1); });

    // Amount boxes show the stored pulse amount in the axis's unit.
    for (int axis = 0; axis < kAxes; ++axis) {
        const QString &pulses = g.AxisEntryText[axis][0];
        if (pulses.trimmed().isEmpty()) {
            amountBox(axis)->setText(QStringLiteral("0"));
            continue;
        }
        const auto amount = WholeNumber(pulses);
        const auto factor = CurrentAxisFactor(axis);
        if (amount && factor)
            amountBox(axis)->setText(PlainForm(*amount * *factor));
    }
    // The positions and amounts are shown in the units just read.
    RefitScaledBoxes(*this);
    for (int axis = 0; axis < kAxes; ++axis) {
        const QString &speed = g.AxisEntryText[axis][1];
        manualSpeedBox(axis)->setText(speed.isEmpty() ? QStringLiteral("0") : speed);
    }

    if (r.damaged()) {
        settingsDamaged = true;
        MsgBox(SettingsDamageText(r, QFileInfo(SettingsFilePath()).fileName()), MsgButtons::Ok,
               QStringLiteral("Error Message"), MsgIcon::Exclamation);
    }
}

void frmMain::collectSettingFlags()
{
    auto &f = SettingFlags;
    const auto options = settingOptions();
    for (int i = 0; i < 6; ++i)
        f[i] = options[i]->isChecked() ? 1 : 0;
    for (int a = 0; a < kAxes; ++a) {
        f[6 + a] = int16_t(checkValue(homeAxisBox(a)));
        f[10 + a] = int16_t(checkValue(prgAxisBox(a)));
    }
    const double reg = RoundHalfEven(LeadingNumber(RegNo->text()));
    f[14] = int16_t(qBound(-32768.0, reg, 32767.0));
    f[15] = mnuComItem[0]->isChecked() ? 1 : 0;
    f[16] = mnuComItem[1]->isChecked() ? 1 : 0;
    for (int i = 0; i < 3; ++i)
        f[17 + i] = mnuBPS[i]->isChecked() ? 1 : 0;
    f[20] = Option12->isChecked() ? 1 : 0;
    f[21] = Option13->isChecked() ? 1 : 0;
    for (int i = 2; i < 9; ++i)
        f[20 + i] = mnuComItem[i]->isChecked() ? 1 : 0;
}

void frmMain::SaveSettings()
{
    collectSettingFlags();
    QString error;
    // A damaged file read at start is kept beside the new one; should that
    // fail, the old file stays as it is.
    if ((settingsDamaged && !KeepSettingsBackup(&error))
        || !WriteSettingsFile(SettingsLines(Timer1->interval()), &error))
        MsgBox(QStringLiteral("The settings could not be saved (%1). The previous settings file is kept.")
                   .arg(error),
               MsgButtons::Ok, QStringLiteral("Error Message"), MsgIcon::Critical);
    if (MSComm1->PortOpen())
        MSComm1->setPortOpen(false);
    EndProgram();
}
