#include "link/LineExchange.h"

#include "platform/EventPump.h"
#include "platform/MSComm.h"

#include <QDeadlineTimer>

QString ExchangeResult::message() const
{
    switch (outcome) {
    case ExchangeOutcome::Answered:
        return {};
    case ExchangeOutcome::Cancelled:
        return QStringLiteral("Cancel!");
    case ExchangeOutcome::WriteFailed:
        return QStringLiteral("The command could not be sent to the unit.\n") + failure;
    case ExchangeOutcome::LineClosed:
        return LineClosedMessage(failure);
    case ExchangeOutcome::TimedOut:
        break;
    }
    return QStringLiteral("Error is Time Out of Cominucation!!");
}

QString LineClosedMessage(const QString &detail)
{
    QString text = QStringLiteral("The line to the unit was closed.");
    if (!detail.isEmpty())
        text += u'\n' + detail;
    return text;
}

LineExchange::LineExchange(UnitLink &link, ExchangeHooks *hooks)
    : m_link(link), m_port(link.port()), m_hooks(hooks)
{
}

bool LineExchange::cancelled()
{
    return m_hooks && m_hooks->CancelRequested();
}

ExchangeResult LineExchange::closed() const
{
    return {ExchangeOutcome::LineClosed, {}, m_port.FailureDetail()};
}

bool LineExchange::paused()
{
    return m_hooks && m_hooks->PauseRequested();
}

ExchangeResult LineExchange::Exchange(const ExchangeRequest &rq)
{
    if (!m_port.PortOpen())
        return closed();
    QString &reply = m_link.kept(rq.reply);
    if (rq.clearReply)
        reply.clear();
    if (rq.threshold && (rq.thresholdAt == ThresholdAt::BeforeSend || rq.command.isEmpty()))
        m_port.setRThreshold(*rq.threshold);
    if (!rq.command.isEmpty()) {
        const int error = m_port.Output(rq.command);
        if (error == MSComm::PortNotOpen)
            return closed();
        if (error != MSComm::NoError)
            return {ExchangeOutcome::WriteFailed, {}, m_port.FailureDetail()};
        if (m_hooks)
            m_hooks->Sent(rq);
        if (rq.threshold && rq.thresholdAt == ThresholdAt::AfterSend)
            m_port.setRThreshold(*rq.threshold);
    }

    auto answered = [&] {
        return !reply.isEmpty() && (!rq.accepts || rq.accepts(reply));
    };
    auto stop = [&] { return cancelled() || !m_port.PortOpen(); };
    for (;;) {
        // A pause holds the wait without taking a reply; the time-out runs
        // only while nobody holds it.
        const WaitResult r = WaitUntil([&] { return paused() || answered(); }, rq.timeoutMs, stop);
        if (r == WaitResult::TimedOut)
            return {ExchangeOutcome::TimedOut, {}, {}};
        if (r == WaitResult::Cancelled)
            return m_port.PortOpen() ? ExchangeResult{ExchangeOutcome::Cancelled, {}, {}} : closed();
        if (paused()) {
            if (const auto end = HoldWhilePaused())
                return *end == ExchangeOutcome::LineClosed ? closed() : ExchangeResult{*end, {}, {}};
            continue;
        }
        const QString line = reply;
        reply.clear();
        return {ExchangeOutcome::Answered, line, {}};
    }
}

std::optional<ExchangeOutcome> LineExchange::HoldWhilePaused()
{
    for (;;) {
        if (cancelled())
            return ExchangeOutcome::Cancelled;
        if (!paused())
            return std::nullopt;
        if (!m_port.PortOpen())
            return ExchangeOutcome::LineClosed;
        // No time-out: the operator decides how long a pause lasts. Every
        // event (a button, the line's watch) wakes the wait to look again.
        WaitUntil([&] { return !paused() || cancelled() || !m_port.PortOpen(); }, -1);
    }
}

void LineExchange::ClearReceiveSide(ClearHow how)
{
    m_port.setInputLen(0);
    if (how == ClearHow::Once) {
        m_port.Input();
        return;
    }
    // Read until the line has stayed quiet for 11 passes in a row, each pass
    // giving it a little time to deliver more; the bound keeps a line that
    // never stops talking from holding the program.
    constexpr int kQuietPasses = 11;
    constexpr int kPassMs = 2;
    QDeadlineTimer bound(1000);
    int quiet = 0;
    while (quiet < kQuietPasses && !bound.hasExpired()) {
        if (m_port.Input().isEmpty())
            ++quiet;
        else
            quiet = 0;
        if (quiet < kQuietPasses)
            WaitUntil([&] { return m_port.InBufferCount() > 0; }, kPassMs);
    }
}
