#include "ProgramState.h"
#include "TransferRig.h"

#include "mainwin/SettingsFile.h"
#include "mainwin/frmIo.h"
#include "mainwin/frmMain.h"
#include "platform/MSComm.h"
#include "platform/frmMessage.h"
#include "shared/Shared.h"
#include "transfer/TransferWindow.h"
#include "transfer/frmMsgPrgDoUp.h"

#include <QPushButton>

namespace {
ProgramTable &openedTable(UnitKind kind)
{
    ResetProgramState();
    SetStartValues();
    g.UnitModel = ModelText(kind);
    ProgramTable &table = ProgramTableOf(kind);
    if (const auto refused = table.Open())
        qFatal("program table not opened: %s", qPrintable(*refused));
    return table;
}
} // namespace

TransferRig::TransferRig(UnitKind kind) : table(openedTable(kind)), main(std::make_unique<frmMain>()), kind(kind) {}

TransferRig::~TransferRig()
{
    UnloadMsgPrgDoUp();
    UnloadMessageWindow();
    main.reset();   // takes the transfer windows with it
    sim.reset();
    CloseProgramTables();
}

bool TransferRig::connect(const QStringList &options)
{
    sim = std::make_unique<UnitSim>(QStringList{"--model", ModelText(kind)} + options);
    if (!sim->isReady())
        return false;
    MSComm &port = *main->MSComm1;
    return port.setCommPort(1) == MSComm::NoError && port.setSettings(QStringLiteral("9600,N,8,1")) == MSComm::NoError
           && port.setPortOpen(true) == MSComm::NoError;
}

QStringList TransferRig::received()
{
    if (!sim || !sim->sync())
        return {QStringLiteral("the unit did not answer sync")};
    return sim->rxLines();
}

void CancelInDialog(frmMsgPrgDoUp *dialog, bool closeBox)
{
    if (closeBox) {
        dialog->close();
        return;
    }
    dialog->StopBotton->click();
    dialog->CancelBotton->click();
}
