#pragma once
// The one way to exchange a command with the unit and wait for its reply.
//
// The line's receive side (link/UnitLink.h) keeps the lines it receives in
// its reply variables (ReplyLine, IxsReplyLine); an exchange writes a command,
// waits in a nested event loop (blocking, never spinning) until the caller's
// reply test accepts the line standing in the variable, and tells how it ended
// as a value. It knows no window: the caller's ExchangeHooks say whether the
// operator paused or cancelled, and hear when a command went out (to show it
// in a wait window or on a progress bar). The caller holds the line
// (link/LineOwner.h) for as long as it exchanges.
//
//     struct Hooks : ExchangeHooks {              // a progress dialog, say
//         bool CancelRequested() override { return dialog->Tag == u"9"; }
//         bool PauseRequested() override { return dialog->Tag == u"1"; }
//     } hooks;
//     LineExchange line(link, &hooks);
//     line.ClearReceiveSide(ClearHow::Drain);
//     for (int r = from; r <= to; ++r) {
//         if (const auto stop = line.HoldWhilePaused())
//             return *stop;                       // Cancelled or LineClosed
//         ExchangeRequest rq;
//         rq.command = "PRX 12,C1000005\r";
//         rq.reply = ReplyKept::IxsReplyLine;
//         rq.accepts = [](const QString &l) { return l.startsWith(u"PR"); };
//         rq.threshold = int(rq.command.size());
//         const ExchangeResult res = line.Exchange(rq);
//         if (res.outcome != ExchangeOutcome::Answered)
//             ...;                                // res.message() for the operator
//         ... compare res.line with the command, resend with line.Exchange(rq) ...
//     }
//
// Waits end at once when the operator cancels or the line closes. While the
// hooks ask for a pause the wait holds: a reply that arrives meanwhile stays
// in its variable and is taken once the pause ends, and the time-out starts
// afresh then.

#include "link/UnitLink.h"

#include <QString>

#include <functional>
#include <optional>

class MSComm;

// The longest wait for one reply of the unit, in ms: well above the slowest
// reply at 9600 bit/s.
constexpr int kReplyTimeoutMs = 3000;

enum class ExchangeOutcome {
    Answered,      // the reply test accepted a line; ExchangeResult::line holds it
    TimedOut,      // no accepted line within the time-out
    Cancelled,     // the hooks asked to cancel
    LineClosed,    // the port is not open, or the line hung up
    WriteFailed,   // the command could not be written whole
};

// When the receive threshold of the reply is set: some commands of the unit
// want it in force before they go out, others just after.
enum class ThresholdAt { BeforeSend, AfterSend };

struct ExchangeRequest {
    // Written as one text, CR included. Empty: nothing is written, the call
    // only waits (for a further line after a reply that did not fit).
    QString command;
    // The link's variable the awaited reply is kept in.
    ReplyKept reply = ReplyKept::IxsReplyLine;
    // Whether a stored line answers this request; lines it refuses are left
    // for the next line to replace. Empty: any stored line answers.
    std::function<bool(const QString &line)> accepts;
    // Receive threshold for the reply (its length, CR included); nothing
    // leaves the threshold as it stands.
    std::optional<int> threshold;
    ThresholdAt thresholdAt = ThresholdAt::BeforeSend;
    // The reply variable is emptied before the command goes out, so that a
    // line left from before cannot stand in for the answer. False keeps it
    // (a wait-only call that should see the line already there).
    bool clearReply = true;
    int timeoutMs = kReplyTimeoutMs;
};

struct ExchangeResult {
    ExchangeOutcome outcome = ExchangeOutcome::TimedOut;
    QString line;       // the accepted line (Answered); the variable is emptied
    QString failure;    // WriteFailed, LineClosed: the device and the system's reason

    bool answered() const { return outcome == ExchangeOutcome::Answered; }
    // A text for the operator on anything but Answered: the time-out message
    // for TimedOut, the closed line's one for LineClosed and a "could not be
    // sent" one for WriteFailed (both naming the device), "Cancel!" for
    // Cancelled.
    QString message() const;
};

// The operator's message for a line that closed under the program, with the
// device (MSComm::FailureDetail) on a second line when given.
QString LineClosedMessage(const QString &detail = {});

// What the caller lets an exchange know and be told. Every member has a
// harmless default, so a caller overrides only what it has.
class ExchangeHooks
{
public:
    virtual ~ExchangeHooks() = default;
    // Asked on every pass of a wait: true ends the wait as Cancelled.
    virtual bool CancelRequested() { return false; }
    // Asked on every pass of a wait and by HoldWhilePaused: true holds.
    virtual bool PauseRequested() { return false; }
    // The command of `request` went out (before the wait begins).
    virtual void Sent(const ExchangeRequest &request) { (void)request; }
};

enum class ClearHow {
    Once,    // one read of everything received so far
    Drain,   // reads until the line stayed quiet for several passes of events
};

class LineExchange
{
public:
    // `hooks` may be nullptr: no pause, no cancel, nothing shown.
    explicit LineExchange(UnitLink &link, ExchangeHooks *hooks = nullptr);

    // Sets the threshold, writes the command, waits for a line the request
    // accepts. See ExchangeRequest for each step.
    ExchangeResult Exchange(const ExchangeRequest &request);

    // Holds while the hooks ask for a pause (between two commands): nothing
    // when the transfer may go on, Cancelled when cancelled (paused or not),
    // LineClosed when the line closed during the pause.
    std::optional<ExchangeOutcome> HoldWhilePaused();

    // Empties the receive side: everything received and not yet taken (the
    // link drops a line begun but not ended with it). Drain processes events
    // between its reads, so that what is still arriving is read away too,
    // and gives up after a bound when the line never stops talking.
    void ClearReceiveSide(ClearHow how);

    MSComm &port() { return m_port; }
    UnitLink &link() { return m_link; }

private:
    bool cancelled();
    bool paused();
    ExchangeResult closed() const;

    UnitLink &m_link;
    MSComm &m_port;
    ExchangeHooks *m_hooks;
};
