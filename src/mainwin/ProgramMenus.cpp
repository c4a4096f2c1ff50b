// The program transfer menus of the main window: on the 4-axis unit they
// open the download or upload window for the chosen axes, in front of the
// wait window for the moment that takes; on the 2-axis unit they transfer
// the program at once. The "All" entries put the parameters before the
// program.

#include "link/LinePort.h"
#include "link/MonitorHold.h"
#include "mainwin/frmMain.h"
#include "params/ParamExchange.h"
#include "platform/Timer.h"
#include "platform/frmMessage.h"
#include "shared/Shared.h"
#include "transfer/frmRecvPrg.h"
#include "transfer/frmSendPrg.h"

#include <QProgressBar>

namespace {

void openProgramWindow(frmMain &m, bool download, int Index)
{
    SetMessageLine1(download ? QStringLiteral("Data download PRGRAM") : QStringLiteral("Data upload PROGRAM"));
    ShowMessageWindow();
    MonitorHold monitor;
    if (Index >= 0 && Index <= kAxes) {
        if (download)
            ShowSendPrg(Index);
        else
            ShowRecvPrg(Index);
    }
    m.Link->PositionReplyPending = 0;
    m.Link->SpeedReplyPending = 0;
    // The monitor runs again (unless the I/O window polls); the window's
    // hold on the line keeps it quiet until the window closes.
    monitor.resume();
    m.ProgressBar1->setValue(0);
    UnloadMessageWindow();
}

void programMenu(frmMain &m, bool download, int Index)
{
    if (CurrentUnitKind() == UnitKind::FourAxis) {
        openProgramWindow(m, download, Index);
        return;
    }
    if (!PortOpenOrTell())
        return;
    m.RunProgramTransfer2(download, Index,
                          download ? QStringLiteral("Data download PRGRAM") : QStringLiteral("Data upload PROGRAM"));
}

// The parameter half of an "All" entry went through; it has told the
// operator why not, but for a closed port, which is told here.
bool parametersTravelled(ParamTransferResult result)
{
    if (result == ParamTransferResult::PortClosed)
        PortOpenOrTell();
    return result == ParamTransferResult::Done;
}

} // namespace

void frmMain::mnuZT260DoProgItem_Click(int Index)
{
    programMenu(*this, true, Index);
}

void frmMain::mnuZT260UpProgitem_Click(int Index)
{
    programMenu(*this, false, Index);
}

void frmMain::mnuZT260DoAll_Click()
{
    if (parametersTravelled(RunParamDownLoad(0)))
        mnuZT260DoProgItem_Click(0);
}

void frmMain::mnuZT260UpAll_Click()
{
    if (parametersTravelled(RunParamUpLoad(0)))
        mnuZT260UpProgitem_Click(0);
}
