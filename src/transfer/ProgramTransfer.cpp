#include "transfer/ProgramTransfer.h"

#include "platform/AppInfo.h"
#include "platform/MSComm.h"
#include "shared/NumberText.h"
#include "shared/Shared.h"

#include <cstdlib>
#include <utility>

namespace {

enum class Answer { SendAgain, Exit };

// The operator decides after a mismatch or a silent line (`question`):
// Retry sends again, Cancel asks whether to leave; No to that sends again too.
Answer askOperator(const QString &question)
{
    if (MsgBox(question, MsgButtons::RetryCancel) == MsgResult::Retry)
        return Answer::SendAgain;
    return MsgBox(ExitQuestionText(), MsgButtons::YesNo) == MsgResult::Yes ? Answer::Exit : Answer::SendAgain;
}

// The caller's hooks, and the work the loop does while the unit answers:
// once a request is out, the answer before it is kept and the next request
// made, off the line's critical path.
class OverlapHooks : public ExchangeHooks
{
public:
    explicit OverlapHooks(ExchangeHooks *inner) : m_inner(inner) {}
    bool CancelRequested() override { return failed || (m_inner && m_inner->CancelRequested()); }
    bool PauseRequested() override { return m_inner && m_inner->PauseRequested(); }
    void Sent(const ExchangeRequest &request) override
    {
        if (m_inner)
            m_inner->Sent(request);
        if (std::exchange(armed, false) && afterSend)
            afterSend();
    }

    // Runs once after the next send (not after a resend of the same request).
    std::function<void()> afterSend;
    bool armed = false;
    bool failed = false;   // keeping an answer failed: the wait ends

private:
    ExchangeHooks *m_inner;
};

} // namespace

TransferOutcome RunRegisterTransfer(UnitLink &link, ExchangeHooks *hooks, int axis, int from, int to,
                                    const TransferSteps &steps, TransferView *view)
{
    // Refused whole, before anything touches the line.
    if (steps.checkFirst)
        if (const auto refused = steps.checkFirst(from, to)) {
            RefuseDownload(*refused);
            return {TransferEnd::Failed, refused->reg};
        }

    OverlapHooks overlap(hooks);
    LineExchange line(link, &overlap);

    // An answer matched and not yet kept, and the register that could not
    // be kept.
    std::optional<std::pair<int, QString>> unkept;
    std::optional<int> keptFailedAt;
    auto keep = [&] {
        if (!unkept || keptFailedAt)
            return !keptFailedAt;
        const auto [reg, text] = std::move(*unkept);
        unkept.reset();
        if (steps.store && !steps.store(reg, text))
            keptFailedAt = reg;
        else if (steps.flush)
            keptFailedAt = steps.flush(false);
        return !keptFailedAt;
    };
    // The next register's request, made while the one before is answered.
    std::optional<std::pair<int, std::optional<RegisterRequest>>> prepared;
    auto requestOf = [&](int reg) {
        if (prepared && prepared->first == reg)
            return std::exchange(prepared, std::nullopt)->second;
        return steps.request ? steps.request(reg) : std::nullopt;
    };

    // Every way out: what was held back is written, a failure is shown with
    // its `cause` (a closed line, a register that cannot be sent) on the
    // lines below the register.
    auto finish = [&](TransferEnd end, int reg, const QString &cause = {}) -> TransferOutcome {
        keep();
        std::optional<int> bad = keptFailedAt;
        if (steps.flush)
            if (const auto last = steps.flush(true); last && (!bad || *last < *bad))
                bad = last;
        QString why = cause;
        if (bad && (end != TransferEnd::Failed || *bad < reg)) {
            end = TransferEnd::Failed;
            reg = *bad;
            why.clear();
        }
        if (end == TransferEnd::Failed)
            MsgBox(why.isEmpty() ? RegisterErrorText(axis, reg) : RegisterErrorText(axis, reg) + u'\n' + why);
        if (view)
            view->Ended(end == TransferEnd::Failed);
        return {end, reg};
    };
    // Holds while paused (with the answers so far kept); what stopped it.
    auto holdWhilePaused = [&](int reg) -> std::optional<TransferOutcome> {
        if (overlap.PauseRequested() && !keep())
            return finish(TransferEnd::Failed, *keptFailedAt);
        if (const auto stop = line.HoldWhilePaused()) {
            if (*stop == ExchangeOutcome::Cancelled)
                return finish(TransferEnd::Cancelled, reg);
            return finish(TransferEnd::Failed, reg, LineClosedMessage(link.port().FailureDetail()));
        }
        return std::nullopt;
    };

    // Made once, armed for every register: the register whose request is out.
    int sentReg = from;
    overlap.afterSend = [&] {
        if (view)
            view->RequestOut();
        if (!keep()) {
            overlap.failed = true;
            return;
        }
        if (sentReg < to)
            prepared.emplace(sentReg + 1, steps.request ? steps.request(sentReg + 1) : std::nullopt);
    };

    // The exchange in flight. Should the program end while it waits, what
    // was read is stored first: the answers held back and one that came in
    // but was not yet taken.
    const ExchangeRequest *inFlight = nullptr;
    const RegisterRequest *inFlightRequest = nullptr;
    const BeforeProgramEnd storeOnEnd([&] {
        keep();
        const QString *arrived = inFlight ? &link.kept(inFlight->reply) : nullptr;
        if (arrived && !arrived->isEmpty() && !unkept
            && (!inFlight->accepts || inFlight->accepts(*arrived))
            && (!steps.matches || steps.matches(*inFlightRequest, *arrived))) {
            unkept.emplace(sentReg, *arrived);
            keep();
        }
        if (steps.flush)
            steps.flush(true);
    });

    line.ClearReceiveSide(steps.clear);
    if (view)
        view->Begin(std::abs(to - from) + 1);

    for (int reg = from; reg <= to; ++reg) {
        if (view)
            view->Progress(reg - from);
        if (const auto stopped = holdWhilePaused(reg))
            return *stopped;
        if (view)
            view->Reached(axis, reg);
        const std::optional<RegisterRequest> rq = requestOf(reg);
        if (!rq)
            return finish(TransferEnd::Failed, reg, steps.refusal ? steps.refusal(reg) : QString());

        ExchangeRequest x;
        x.command = rq->command;
        x.reply = steps.reply;
        x.accepts = rq->accepts ? rq->accepts : steps.accepts;
        x.threshold = rq->threshold;
        x.thresholdAt = rq->thresholdAt;
        x.clearReply = true;   // a line left from an earlier send never answers this one
        x.timeoutMs = steps.timeoutMs;
        sentReg = reg;
        overlap.armed = true;

        int resends = 0;
        for (;;) {
            inFlight = &x;
            inFlightRequest = &*rq;
            const ExchangeResult res = line.Exchange(x);
            inFlight = nullptr;
            if (overlap.failed)
                return finish(TransferEnd::Failed, reg);
            if (res.outcome == ExchangeOutcome::Cancelled)
                return finish(TransferEnd::Cancelled, reg);
            if (res.outcome == ExchangeOutcome::LineClosed || res.outcome == ExchangeOutcome::WriteFailed)
                return finish(TransferEnd::Failed, reg, res.message());
            const bool answered = res.answered();
            if (answered && (!steps.matches || steps.matches(*rq, res.line))) {
                unkept.emplace(reg, res.line);
                break;
            }
            if (answered && resends < steps.silentResends) {
                ++resends;
            } else {
                const QString question = answered ? MismatchText(*rq, res.line) : TimeOutText(*rq, x.timeoutMs);
                if (askOperator(question) == Answer::Exit)
                    return finish(TransferEnd::Cancelled, reg);
                resends = 0;
            }
            // A pause or cancel pressed meanwhile holds or ends the transfer
            // before the request goes out again.
            if (const auto stopped = holdWhilePaused(reg))
                return *stopped;
        }
    }
    return finish(TransferEnd::Done, to);
}

int DownloadResultCode(const TransferOutcome &outcome, int from, int to)
{
    switch (outcome.end) {
    case TransferEnd::Done: return from > to ? from : to + 1;
    case TransferEnd::Cancelled: return kResultCancelled;
    case TransferEnd::Failed: break;
    }
    return outcome.reg + kResultErrorBase;
}

int UploadResultCode(const TransferOutcome &outcome)
{
    switch (outcome.end) {
    case TransferEnd::Done: return 0;
    case TransferEnd::Cancelled: return kResultCancelled;
    case TransferEnd::Failed: break;
    }
    return outcome.reg + kResultErrorBase;
}

QString RegisterCaption(int axis, int reg)
{
    const QString letter = AxisLetter(axis);
    return letter.isEmpty() ? QString() : letter + QStringLiteral(" axis : Reg No.") + SignedForm(reg);
}

QString RegisterErrorText(int axis, int reg)
{
    const QString letter = AxisLetter(axis);
    return letter.isEmpty() ? QString()
                            : QStringLiteral("ERROR :: ") + letter + QStringLiteral(" axis / Reg No.") + SignedForm(reg);
}

QString RegisterRefusalText(const RegisterRefusal &refusal)
{
    QString text = RegisterErrorText(refusal.axis, refusal.reg);
    if (!refusal.why.isEmpty())
        text += u'\n' + refusal.why;
    if (refusal.more > 0)
        text += u'\n'
                + (refusal.more == 1 ? QStringLiteral("1 more register cannot be sent either; nothing was sent.")
                                     : QStringLiteral("%1 more registers cannot be sent either; nothing was sent.")
                                           .arg(refusal.more));
    else
        text += QStringLiteral("\nNothing was sent.");
    return text;
}

int RefuseDownload(const RegisterRefusal &refusal)
{
    MsgBox(RegisterRefusalText(refusal));
    return refusal.reg + kResultErrorBase;
}

QString MismatchText(const RegisterRequest &request, const QString &received)
{
    const int n = qMax(0, request.threshold - 1);
    return QStringLiteral("Send data ->") + request.command.left(n) + u'\r' + QStringLiteral("Recv data -> ")
           + received.left(n);
}

QString TimeOutText(const RegisterRequest &request, int timeoutMs)
{
    return MismatchText(request, QString()) + u'\r' + QStringLiteral("The unit did not answer within ")
           + QString::number(timeoutMs / 1000.0)
           + (timeoutMs == 1000 ? QStringLiteral(" second.") : QStringLiteral(" seconds."));
}

QString ExitQuestionText()
{
    return QStringLiteral("Exit DownLoad Program!");
}

namespace {
const QString kUnitTitle = QStringLiteral("ZT260A/ZT460A");

std::optional<ClosingMessage> commonClosing(int code)
{
    if (code == kResultPortClosed)
        return ClosingMessage{QStringLiteral("The port is not open."), kUnitTitle, MsgIcon::Critical};
    if (code == kResultCancelled)
        return ClosingMessage{QStringLiteral("Cancel!"), kUnitTitle, MsgIcon::Critical};
    return std::nullopt;
}
} // namespace

std::optional<ClosingMessage> DownloadClosing(int code)
{
    if (code >= 1 && code <= 2000)
        return ClosingMessage{QStringLiteral("Download Complete!!"), QStringLiteral("Message"), MsgIcon::Information};
    if (code >= 2001 && code <= 4000)
        return ClosingMessage{QStringLiteral("Download Error!!"), QStringLiteral("Error"), MsgIcon::Critical};
    return commonClosing(code);
}

std::optional<ClosingMessage> UploadClosing(int code)
{
    if (code == 0)
        return ClosingMessage{QStringLiteral("Upload Complete!!"), QStringLiteral("Message"), MsgIcon::Information};
    return commonClosing(code);
}

void ShowClosing(const ClosingMessage &message)
{
    MsgBox(message.text, MsgButtons::Ok, message.title, message.icon);
}
