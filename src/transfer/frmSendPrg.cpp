#include "transfer/frmSendPrg.h"

#include "platform/OwnerWindow.h"
#include "transfer/ProgramSteps4.h"

#include <QPointer>

namespace {
QPointer<frmSendPrg> sendWindow;
}

frmSendPrg::frmSendPrg(ProgramTable &table, QWidget *parent) : TransferWindow(table, parent)
{
    setObjectName(QStringLiteral("frmSendPrg"));
    sendWindow = this;
}

frmSendPrg::~frmSendPrg() = default;

int frmSendPrg::ProgramDownLoad(int axis, int from, int to)
{
    const int a = axis - 1;
    if (a < 0 || a >= kAxes)
        return from > to ? from : to + 1;   // nothing to send
    const auto outcome = RunAxis(a, from, to, DownloadSteps4(m_table, a));
    return outcome ? DownloadResultCode(*outcome, from, to) : kResultPortClosed;
}

frmSendPrg *SendPrgWindow()
{
    return sendWindow && !sendWindow->Finished() ? sendWindow.data() : nullptr;
}

frmSendPrg *ShowSendPrg(int Index)
{
    return static_cast<frmSendPrg *>(ShowTransferWindow(
        SendPrgWindow(), [](ProgramTable &table) { return new frmSendPrg(table, OwnerWindow()); },
        QStringLiteral(" Download Program "), Index));
}
