// What the windows below the main window take from it and ask of it: they
// never include it, so it hands them what they use (itself as their owner,
// the line's owner) and connects their requests to its
// handlers.

#include "link/LinePort.h"
#include "mainwin/ScaleOnMain.h"
#include "mainwin/frmMain.h"
#include "params/ParamRequests.h"
#include "platform/OwnerWindow.h"
#include "platform/Timer.h"
#include "program/ProgramEditorWindow.h"
#include "program/ProgramRequests.h"
#include "transfer/frmRecvPrg.h"
#include "transfer/frmSendPrg.h"

void frmMain::wireLowerWindows()
{
    SetOwnerWindow(this);
    SetLineLink(Link);

    // Only the newest main window answers, as only it is MainWindow().
    ParamRequests &params = ParamWindowRequests();
    params.disconnect();
    connect(&params, &ParamRequests::paramDownLoad, this, &frmMain::mnuZT260DoParamItem_Click);
    connect(&params, &ParamRequests::paramUpLoad, this, &frmMain::mnuZT260UpParamItem_Click);
    connect(&params, &ParamRequests::showScaleOnMain, this, [this](int axes) {
        ShowScaleOnMain(*this, axes);
        // The upload writes DATA in the new unit: the editors' columns follow.
        RefitEditorsToScale();
    });

    ProgramRequests &program = ProgramWindowRequests();
    program.disconnect();
    program.transfer2Running = [this] { return ProgramTransfer2Running(); };
    connect(&program, &ProgramRequests::runProgramTransfer2, this,
            [this](bool download, int Index, const QString &title) { RunProgramTransfer2(download, Index, title); });
    connect(&program, &ProgramRequests::showSendPrg, this, [](int Index) { ShowSendPrg(Index); });
    connect(&program, &ProgramRequests::showRecvPrg, this, [](int Index) { ShowRecvPrg(Index); });
}

void frmMain::unwireLowerWindows()
{
    SetOwnerWindow(nullptr);
    SetLineLink(nullptr);
    ParamWindowRequests().disconnect(this);
    ProgramWindowRequests().transfer2Running = {};
    ProgramWindowRequests().disconnect(this);
}
