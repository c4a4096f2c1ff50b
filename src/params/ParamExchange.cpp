// The exchange of one parameter command with the unit, and what the groups
// of a transfer share.

#include "params/ParamExchange.h"

#include "params/ParamDatabase.h"
#include "params/ParamTables.h"
#include "platform/MSComm.h"
#include "platform/frmMessage.h"
#include "shared/RefusalText.h"

#include <QProgressBar>

namespace {

QString unsendableWhy(const UnsendableParam &p)
{
    switch (p.fault) {
    case ParamSendFault::Empty: return QStringLiteral("empty");
    case ParamSendFault::NotOneNumber: return QStringLiteral("not one number");
    case ParamSendFault::BeyondField:
        if (const auto range = ParamWireRangeOf(p.item))
            return QStringLiteral("the unit takes %1 to %2%3")
                .arg(range->min)
                .arg(range->max)
                .arg(p.item == kOffsetItem ? QStringLiteral(" pulses") : QString());
        break;
    case ParamSendFault::None:
    case ParamSendFault::NotSent: break;
    }
    return QStringLiteral("it cannot be sent");
}

} // namespace

QString BadSettingMessage(const std::vector<UnsendableParam> &refused)
{
    QStringList named;
    for (std::size_t i = 0; i < refused.size() && i < 2; ++i) {
        const UnsendableParam &p = refused[i];
        // The text as it is held: what is refused is the text itself (an
        // offset that is one number in range is never refused).
        named << AxisLetter(p.axis) + QStringLiteral(" axis, ") + ParamRowTitle(GridTab::Parameter, p.item)
                     + QStringLiteral(" holds \"") + p.held + QStringLiteral("\" (") + unsendableWhy(p) + u')';
    }
    if (refused.size() > 2)
        named << QStringLiteral("and %1 more").arg(refused.size() - 2);
    const QString line = named.isEmpty() ? QString() : named.join(QStringLiteral("; ")) + u'.';
    return WithReason(QStringLiteral("Bad Setting."), line);
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

ParamSession::ParamSession(UnitLink &link, QProgressBar *bar, int timeoutMs)
    : line(link, this), bar(bar), timeoutMs(timeoutMs)
{
}

void ParamSession::Sent(const ExchangeRequest &)
{
    if (LoadedMessageWindow())
        SetMessageLine2(AxisCaption(axis));
}

Progress::Progress(QProgressBar *bar, int max) : m_bar(bar)
{
    if (m_bar) {
        m_bar->setMaximum(max);
        m_bar->setValue(0);
    }
}

void Progress::step()
{
    ++m_count;
    if (m_bar)
        m_bar->setValue(m_count);
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

std::optional<QString> RunExchange(ParamSession &session, const Exchange &x)
{
    ExchangeRequest rq;
    rq.command = ExchangeCommand(x);
    // Write echoes of the 2-axis unit come back headed "IXS", every other
    // reply is kept in ReplyLine.
    rq.reply = x.unit == UnitKind::TwoAxis && x.write ? ReplyKept::IxsReplyLine : ReplyKept::ReplyLine;
    rq.accepts = [&x](const QString &line) {
        if (x.unit == UnitKind::TwoAxis)
            return ReplyMatches2(line, x.write ? QStringLiteral("IXS") : QStringLiteral("IXR"), x.axis, x.reg);
        return ReplyMatches4(line, x.name, x.axis);
    };
    rq.threshold = x.threshold;
    rq.thresholdAt = x.thresholdAfterSend ? ThresholdAt::AfterSend : ThresholdAt::BeforeSend;
    rq.timeoutMs = session.timeoutMs;
    session.axis = x.axis;
    ExchangeResult r = session.line.Exchange(rq);
    if (!r.answered()) {
        session.stopped = std::move(r);
        return std::nullopt;
    }
    return r.line;
}

std::optional<uint32_t> ReadReplyValue(ParamSession &session, const Exchange &x, const QString &line,
                                       int digits)
{
    const auto v = x.unit == UnitKind::TwoAxis ? ReplyValue2(line, digits) : ReplyValue4(line, digits);
    if (!v)
        session.unreadable << AxisCaption(x.axis) + x.name;
    return v;
}

std::vector<UnsendableParam> UnsendableParams(const AxisFlags &flags, int n)
{
    std::vector<UnsendableParam> refused;
    for (int a = 0; a < n; ++a) {
        if (!AxisHandled(flags, a, n))
            continue;
        for (const ParamItem &p : kSentParams) {
            const QString &held = g.ParamTable[size_t(a)][size_t(p.item)];
            ParamSendFault fault = ParamSendFault::None;
            if (!ParamSendValue(p.item, held, &fault))
                refused.push_back({a, p.item, held, fault});
        }
    }
    return refused;
}
