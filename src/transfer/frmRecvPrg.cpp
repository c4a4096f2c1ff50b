#include "transfer/frmRecvPrg.h"

#include "platform/OwnerWindow.h"
#include "program/ProgramTable.h"
#include "transfer/ProgramSteps4.h"

#include <QPointer>

namespace {
QPointer<frmRecvPrg> recvWindow;
}

frmRecvPrg::frmRecvPrg(ProgramTable &table, QWidget *parent) : TransferWindow(table, parent)
{
    setObjectName(QStringLiteral("frmRecvPrg"));
    recvWindow = this;
}

frmRecvPrg::~frmRecvPrg() = default;

int frmRecvPrg::ProgramUpLoad(int axis, int from, int to)
{
    const int a = axis - 1;
    if (a < 0 || a >= kAxes)
        return 0;
    UploadAxis = a;
    const auto outcome = RunAxis(a, from, to, UploadSteps4(m_table, a));
    return outcome ? UploadResultCode(*outcome) : kResultPortClosed;
}

void frmRecvPrg::AfterTransfer()
{
    // Every register read was stored as it came; an open editor reads the
    // table again once, whether the upload ended or stopped.
    m_table.RequestRefresh();
}

frmRecvPrg *RecvPrgWindow()
{
    return recvWindow && !recvWindow->Finished() ? recvWindow.data() : nullptr;
}

frmRecvPrg *ShowRecvPrg(int Index)
{
    return static_cast<frmRecvPrg *>(ShowTransferWindow(
        RecvPrgWindow(), [](ProgramTable &table) { return new frmRecvPrg(table, OwnerWindow()); },
        QStringLiteral(" Upload Program "), Index));
}
