#include "transfer/frmSendPrg.h"

#include "platform/OwnerWindow.h"
#include "transfer/ProgramSteps.h"
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
    const auto words = m_runWords ? m_runWords : std::make_shared<DownloadWords>(m_table, UnitKind::FourAxis);
    const auto outcome = RunAxis(a, from, to, DownloadSteps4(words, a));
    return outcome ? DownloadResultCode(*outcome, from, to) : kResultPortClosed;
}

std::optional<int> frmSendPrg::BeforeTransfer(const std::vector<TransferJob> &jobs)
{
    m_runWords = std::make_shared<DownloadWords>(m_table, UnitKind::FourAxis);
    std::vector<DownloadRange> ranges;
    for (const TransferJob &job : jobs)
        ranges.push_back({job.axis - 1, job.from, job.to});
    if (const auto refused = m_runWords->Check(ranges)) {
        m_runWords.reset();
        return RefuseDownload(*refused);
    }
    return std::nullopt;
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
