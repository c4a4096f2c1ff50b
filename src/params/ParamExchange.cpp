// The exchange of one parameter command with the unit, and what the groups
// of a transfer share.

#include "params/ParamExchange.h"

#include "mainwin/frmMain.h"
#include "mainwin/frmMessage.h"
#include "params/ParamTables.h"
#include "platform/EventPump.h"
#include "platform/MSComm.h"
#include "shared/Shared.h"

#include <QProgressBar>

QString BadSettingMessage()
{
    return QStringLiteral("Bad Setting.");
}

QString TimeOutMessage()
{
    return QStringLiteral("Error is Time Out of Cominucation!!");
}

QString UnreadableMessage(const QStringList &items)
{
    return QStringLiteral("These parameters could not be read from the unit:\n")
           + items.join(u'\n');
}

int GroupAxisCount(UnitKind kind)
{
    return std::min(AxisCount(CurrentUnitKind()), AxisCount(kind));
}

bool AxisHandled(const AxisFlags &flags, int a, int n)
{
    return a >= 0 && a < n && a < kAxes && flags[size_t(a)] == 1;
}

QString AxisCaption(int axis)
{
    const QString letter = AxisLetter(axis);
    return letter.isEmpty() ? QString() : u' ' + letter + QStringLiteral("-axis ");
}

ParamRun &CurrentParamRun()
{
    static ParamRun run;
    return run;
}

GroupBusy::GroupBusy()
{
    g.TransferBusy = 1;
}

GroupBusy::~GroupBusy()
{
    g.TransferBusy = 0;
}

Progress::Progress(frmMain &m, int max) : m_main(m)
{
    if (QProgressBar *bar = m_main.ProgressBar1) {
        bar->setMaximum(max);
        bar->setValue(0);
    }
}

void Progress::step()
{
    ++m_count;
    if (QProgressBar *bar = m_main.ProgressBar1)
        bar->setValue(m_count);
}

bool AxisPass(Progress &progress, const AxisFlags &flags, int n, const std::function<bool(int axis)> &handle)
{
    for (int a = 0; a < n; ++a) {
        progress.step();
        if (AxisHandled(flags, a, n) && !handle(a))
            return false;
    }
    return true;
}

QString ExchangeCommand(const Exchange &x)
{
    const QString letter = AxisLetter(x.axis);
    if (x.unit == UnitKind::TwoAxis) {
        if (x.write)
            return QStringLiteral("IXS ") + letter + QString::number(x.reg) + u',' + x.digits + u'\r';
        return QStringLiteral("IXR ") + letter + QString::number(x.reg) + u'\r';
    }
    return x.name + u' ' + letter + (x.write ? x.digits : QString()) + u'\r';
}

namespace {

// Write echoes of the 2-axis unit come back headed "IXS", every other reply
// is kept in ReplyLine.
QString &replyVariable(const Exchange &x)
{
    return x.unit == UnitKind::TwoAxis && x.write ? g.IxsReplyLine : g.ReplyLine;
}

bool answers(const Exchange &x, const QString &line)
{
    if (x.unit == UnitKind::TwoAxis)
        return ReplyMatches2(line, x.write ? QStringLiteral("IXS") : QStringLiteral("IXR"), x.axis, x.reg);
    return ReplyMatches4(line, x.name, x.axis);
}

} // namespace

std::optional<QString> RunExchange(frmMain &m, const Exchange &x)
{
    MSComm *port = m.MSComm1;
    QString &reply = replyVariable(x);
    // A line left from an earlier exchange must not end this wait.
    reply.clear();
    if (!x.thresholdAfterSend)
        port->setRThreshold(x.threshold);
    if (port->Output(ExchangeCommand(x)) != MSComm::NoError) {
        CurrentParamRun().failure = ParamTransferResult::NoReply;
        return std::nullopt;
    }
    if (LoadedMessageWindow())
        SetMessageLine2(AxisCaption(x.axis));
    if (x.thresholdAfterSend)
        port->setRThreshold(x.threshold);
    const WaitResult r = WaitUntil([&] { return answers(x, reply); }, m.ParamReplyTimeoutMs,
                                   [&] { return !port->PortOpen(); });
    if (r != WaitResult::Done) {
        CurrentParamRun().failure = ParamTransferResult::NoReply;
        return std::nullopt;
    }
    const QString line = reply;
    reply.clear();
    return line;
}

std::optional<uint32_t> ReadReplyValue(const Exchange &x, const QString &line, int digits)
{
    const auto v = x.unit == UnitKind::TwoAxis ? ReplyValue2(line, digits) : ReplyValue4(line, digits);
    if (!v)
        CurrentParamRun().unreadable << AxisCaption(x.axis) + x.name;
    return v;
}

void ClearReceiveSide(frmMain &m, bool drain)
{
    MSComm *port = m.MSComm1;
    port->setInputLen(0);
    if (drain) {
        // Read until the line has been quiet for 11 reads in a row; the bound
        // keeps a line that never stops talking from holding the program.
        int quiet = 0;
        for (int reads = 0; quiet <= 10 && reads < 100000; ++reads) {
            if (port->Input().isEmpty())
                ++quiet;
            else
                quiet = 0;
        }
    } else {
        port->Input();
    }
}

bool ParamValuesSendable(const AxisFlags &flags, int n)
{
    for (int a = 0; a < n; ++a) {
        if (!AxisHandled(flags, a, n))
            continue;
        for (const ParamItem &p : kSentParams)
            if (!ParamSendValue(p.item, g.ParamTable[size_t(a)][size_t(p.item)]))
                return false;
    }
    return true;
}
