// The parameter transfer menu handlers of the main window: the frame around
// the three groups (wait window, monitor off and on, progress bar), the
// choice of groups by unit model and menu index, and the "SET" commands that
// make the unit take a download.

#include "link/LineOwner.h"
#include "mainwin/ManualSend.h"
#include "mainwin/frmMain.h"
#include "params/ParamExchange.h"
#include "platform/Dialogs.h"
#include "platform/MSComm.h"
#include "platform/Timer.h"
#include "platform/frmMessage.h"
#include "shared/Shared.h"

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

// The groups in the order a transfer runs them.
constexpr ParamGroup kUploadGroups[] = {ModeUpLoad, HomeUpLoad, ParamUpLoad};
constexpr ParamGroup kDownloadGroups[] = {ModeDownLoad, HomeDownLoad, ParamDownLoad};

bool runGroups(ParamSession &session, bool download, UnitKind kind, const AxisFlags &flags)
{
    for (ParamGroup group : download ? kDownloadGroups : kUploadGroups)
        if (!group(session, kind, flags))
            return false;
    return true;
}

ParamTransferResult runParamTransfer(frmMain &m, bool download, int Index)
{
    if (!m.MSComm1->PortOpen())
        return ParamTransferResult::PortClosed;
    LineHold hold(LineUser::Transfer);
    if (!hold.owns()) {
        TellTransferUsesLine();
        return ParamTransferResult::Busy;
    }

    const UnitKind kind = CurrentUnitKind();
    const int axes = AxisCount(kind);
    const AxisFlags flags = flagsFor(Index, axes);
    const bool anyAxis = std::any_of(flags.begin(), flags.end(), [](int16_t f) { return f == 1; });

    // Every value is checked before the first command, so a download never
    // stops half-way on a value it cannot send.
    if (const auto refused = download && anyAxis ? UnsendableParams(flags, axes) : std::vector<UnsendableParam>{};
        !refused.empty()) {
        hold.release();
        MsgBox(BadSettingMessage(refused), MsgButtons::Ok, {}, MsgIcon::Critical);
        return ParamTransferResult::BadSetting;
    }

    ParamSession session(*m.Link, m.ProgressBar1, m.ParamReplyTimeoutMs);
    SetMessageLine1(download ? QStringLiteral("Data download PARAMETER")
                             : QStringLiteral("Data upload PARAMETER"));
    ShowMessageWindow();
    MonitorHold monitor;

    const bool completed = !anyAxis || runGroups(session, download, kind, flags);
    // The unit takes the new parameters only after a complete download.
    if (download && anyAxis && completed)
        for (int a = 0; a < axes; ++a)
            if (flags[size_t(a)] == 1)
                m.MSComm1->Output(QStringLiteral("SET ") + AxisLetter(a) + u'\r');

    m.Link->PositionReplyPending = 0;
    m.Link->SpeedReplyPending = 0;
    m.ProgressBar1->setValue(0);
    // The line is free again before the monitor resumes and before the
    // operator reads how the transfer ended.
    hold.release();
    monitor.resume();
    UnloadMessageWindow();

    if (!completed) {
        if (session.badSetting) {
            MsgBox(BadSettingMessage(session.unsendable), MsgButtons::Ok, {}, MsgIcon::Critical);
            return ParamTransferResult::BadSetting;
        }
        const ExchangeResult &stopped = session.stopped.value_or(ExchangeResult{});
        MsgBox(stopped.message(), MsgButtons::Ok, {}, MsgIcon::Critical);
        return stopped.outcome == ExchangeOutcome::WriteFailed ? ParamTransferResult::WriteFailed
                                                               : ParamTransferResult::NoReply;
    }
    if (!session.unreadable.isEmpty()) {
        MsgBox(UnreadableMessage(session.unreadable), MsgButtons::Ok, {}, MsgIcon::Exclamation);
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
