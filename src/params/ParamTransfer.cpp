// The parameter transfer menu handlers of the main window: the frame around
// the three groups (wait window, monitor off and on, progress bar), the
// choice of groups by unit model and menu index, and the "SET" commands that
// make the unit take a download.

#include "mainwin/frmMain.h"
#include "mainwin/frmMessage.h"
#include "mainwin/ManualSend.h"
#include "params/ParamExchange.h"
#include "platform/Dialogs.h"
#include "platform/MSComm.h"
#include "platform/Timer.h"
#include "shared/Shared.h"
#include "shared/TransferGuard.h"

#include <QProgressBar>

namespace {

// Index 0: every axis of the model; 1 to 4: that one axis if the model has it.
AxisFlags flagsFor(int Index, int axes)
{
    AxisFlags flags{};
    for (int a = 0; a < axes && a < kAxes; ++a)
        if (Index == 0 || Index == a + 1)
            flags[size_t(a)] = 1;
    return flags;
}

bool runGroups(frmMain &m, bool download, bool twoAxis, const AxisFlags &f)
{
    const auto [X, Y, Z, U] = f;
    if (twoAxis) {
        if (download)
            return m.ModeDownLoad2(X, Y, Z, U) && m.HomeDownLoad2(X, Y, Z, U)
                   && m.ParamDownLoad2(X, Y, Z, U);
        return m.ModeUpLoad2(X, Y, Z, U) && m.HomeUpLoad2(X, Y, Z, U) && m.ParamUpLoad2(X, Y, Z, U);
    }
    if (download)
        return m.ModeDownLoad4(X, Y, Z, U) && m.HomeDownLoad4(X, Y, Z, U)
               && m.ParamDownLoad4(X, Y, Z, U);
    return m.ModeUpLoad4(X, Y, Z, U) && m.HomeUpLoad4(X, Y, Z, U) && m.ParamUpLoad4(X, Y, Z, U);
}

ParamTransferResult runParamTransfer(frmMain &m, bool download, int Index)
{
    if (!m.MSComm1->PortOpen())
        return ParamTransferResult::PortClosed;
    TransferGuard guard;
    if (!guard.owns())
        return ParamTransferResult::Busy;

    const bool twoAxis = CurrentUnitKind() == UnitKind::TwoAxis;
    const int axes = AxisCount(CurrentUnitKind());
    const AxisFlags flags = flagsFor(Index, axes);
    const bool anyAxis = std::any_of(flags.begin(), flags.end(), [](int16_t f) { return f == 1; });

    // Every value is checked before the first command, so a download never
    // stops half-way on a value it cannot send.
    if (download && anyAxis && !ParamValuesSendable(flags, axes)) {
        MsgBox(BadSettingMessage(), MsgButtons::Ok, {}, MsgIcon::Critical);
        return ParamTransferResult::BadSetting;
    }

    ParamRun &run = CurrentParamRun();
    run = ParamRun{};
    SetMessageLine1(download ? QStringLiteral("Data download PARAMETER")
                             : QStringLiteral("Data upload PARAMETER"));
    ShowMessageWindow();
    MonitorPause monitor(&m);

    const bool completed = !anyAxis || runGroups(m, download, twoAxis, flags);
    // The unit takes the new parameters only after a complete download.
    if (download && anyAxis && completed)
        for (int a = 0; a < axes; ++a)
            if (flags[size_t(a)] == 1)
                m.MSComm1->Output(QStringLiteral("SET ") + AxisLetter(a) + u'\r');

    g.PositionReplyPending = 0;
    g.SpeedReplyPending = 0;
    m.ProgressBar1->setValue(0);
    monitor.resume();
    UnloadMessageWindow();

    if (!completed) {
        if (run.failure == ParamTransferResult::BadSetting) {
            MsgBox(BadSettingMessage(), MsgButtons::Ok, {}, MsgIcon::Critical);
            return ParamTransferResult::BadSetting;
        }
        MsgBox(TimeOutMessage(), MsgButtons::Ok, {}, MsgIcon::Critical);
        return ParamTransferResult::NoReply;
    }
    if (!run.unreadable.isEmpty()) {
        MsgBox(UnreadableMessage(run.unreadable), MsgButtons::Ok, {}, MsgIcon::Exclamation);
        return ParamTransferResult::Unreadable;
    }
    return ParamTransferResult::Done;
}

} // namespace

ParamTransferResult frmMain::RunParamUpLoad(int Index)
{
    return runParamTransfer(*this, false, Index);
}

ParamTransferResult frmMain::RunParamDownLoad(int Index)
{
    return runParamTransfer(*this, true, Index);
}

void frmMain::mnuZT260UpParamItem_Click(int Index)
{
    RunParamUpLoad(Index);
}

void frmMain::mnuZT260DoParamItem_Click(int Index)
{
    RunParamDownLoad(Index);
}
