// The program transfer menus of the main window: on the 4-axis unit they
// open the download or upload window for the chosen axes, in front of the
// wait window for the moment that takes.

#include "mainwin/frmMain.h"
#include "mainwin/frmMessage.h"
#include "platform/Timer.h"
#include "shared/Shared.h"
#include "transfer/frmRecvPrg.h"
#include "transfer/frmSendPrg.h"

#include <QProgressBar>

namespace {

void openProgramWindow(frmMain &m, bool download, int Index)
{
    // The 2-axis unit's program transfers are not part of this program yet.
    if (CurrentUnitKind() != UnitKind::FourAxis)
        return;
    SetMessageLine1(download ? QStringLiteral("Data download PRGRAM") : QStringLiteral("Data upload PROGRAM"));
    ShowMessageWindow();
    m.Timer1->stop();
    if (Index >= 0 && Index <= kAxes) {
        if (download)
            ShowSendPrg(Index);
        else
            ShowRecvPrg(Index);
    }
    g.PositionReplyPending = 0;
    g.SpeedReplyPending = 0;
    // The monitor runs again (unless the I/O window polls); the window's
    // hold on the line keeps it quiet until the window closes.
    m.ResumeMonitor(false);
    m.ProgressBar1->setValue(0);
    UnloadMessageWindow();
}

} // namespace

void frmMain::mnuZT260DoProgItem_Click(int Index)
{
    openProgramWindow(*this, true, Index);
}

void frmMain::mnuZT260UpProgitem_Click(int Index)
{
    openProgramWindow(*this, false, Index);
}
