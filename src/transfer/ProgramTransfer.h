#pragma once
// The register loop of every program transfer: one axis, one range of
// registers, one exchange per register on the line engine. For each register
// it asks the model's steps for the request, sends it, waits for the answer,
// compares, resends a mismatch silently, asks the operator Retry/Cancel when
// that does not help or nothing came in time, keeps what the answer carries,
// and tells how the axis ended. It knows no window: the caller's exchange
// hooks carry pause and cancel, a TransferView shows the progress, and the
// questions and the failure message go through the Dialogs service.
//
// A model plugs in through TransferSteps. The 4-axis routines
// (transfer/ProgramSteps4.h) send "PRX 12,C1000005" and "PRX 12", the 2-axis
// ones (transfer/ProgramSteps2.h) "IXS X12,C1000005" and "IXR X12"; a
// window or the main window runs them:
//
//     MessageWindowHooks hooks;                         // the wait window's Cancel
//     MyView view;                                      // frmMessage.Label2, ProgressBar1
//     const TransferOutcome out = RunRegisterTransfer(link, &hooks, axis, 0, 53,
//                                                     DownloadSteps2(table, axis), &view);
//     g.TransferResult = DownloadResultCode(out, 0, 53);
//     if (const auto m = DownloadClosing(g.TransferResult))
//         ShowClosing(*m);
//
// The caller holds the line (link/LineOwner.h) and keeps the monitor poll
// quiet for as long as the loop runs.

#include "link/LineExchange.h"
#include "platform/Dialogs.h"

#include <QString>
#include <functional>
#include <optional>

// A download refused before its first register: the first register that
// cannot be sent (axis 0 X .. 3 U), why (the encoder's reason; empty for a
// register the table does not hold) and how many more of the download
// cannot be sent either.
struct RegisterRefusal {
    int axis = 0;
    int reg = 0;
    QString why;
    int more = 0;
};

// What one register puts on the line and how its answer is taken.
struct RegisterRequest {
    QString command;    // CR included
    int threshold = 0;  // receive threshold of the answer: its length, CR included
    ThresholdAt thresholdAt = ThresholdAt::BeforeSend;
    // Whether a stored line answers this request, in place of the steps'
    // `accepts` (an answer that must name its own register). Empty: theirs.
    std::function<bool(const QString &line)> accepts;
};

// The model's part of a transfer of one axis.
struct TransferSteps {
    // The link's variable the answers are kept in.
    ReplyKept reply = ReplyKept::IxsReplyLine;
    // The request of a register; nothing when the register cannot be sent
    // (no record, the codec refuses its texts): the transfer fails at that
    // register and nothing is sent for it.
    std::function<std::optional<RegisterRequest>(int reg)> request;
    // Why a register `request` gives nothing for cannot be sent, told below
    // the register; empty (or no function): nothing more is told.
    std::function<QString(int reg)> refusal;
    // Checks every register of the range before the first goes out (a
    // download, so that it never stops half-way on a register it cannot
    // send): the refusal, or nothing when all can be sent. Empty: no check.
    std::function<std::optional<RegisterRefusal>(int from, int to)> checkFirst;
    // Whether a stored line is one to compare; a line it refuses is left for
    // the next one to replace, and the wait goes on. Empty: every line.
    std::function<bool(const QString &line)> accepts;
    // Whether an accepted line answers the request; one that does not is a
    // mismatch.
    std::function<bool(const RegisterRequest &request, const QString &line)> matches;
    // Keeps what a matching answer carries (an upload's decode and store);
    // false fails the transfer at that register. Empty: nothing to keep.
    std::function<bool(int reg, const QString &line)> store;
    // Writes what `store` held back (so that a database commits once for
    // many registers): all of it when `final` (the loop ends, however it
    // ends), else when the step finds it due. The register that could not
    // be written, or nothing: the transfer fails there (at the earlier one
    // when it failed already). Empty: `store` holds nothing back.
    std::function<std::optional<int>(bool final)> flush;
    // Mismatches sent again without asking before the operator is asked.
    int silentResends = 2;
    // The longest wait for one answer, in ms.
    int timeoutMs = kReplyTimeoutMs;
    // How the receive side is emptied first: Once when the transfer follows
    // one that left the line quiet (the next axis of the same run).
    ClearHow clear = ClearHow::Drain;
};

// What the operator sees of a running transfer. Every member has a harmless
// default, so a view overrides what it shows.
class TransferView
{
public:
    virtual ~TransferView() = default;
    // The range holds `registers` registers (the progress bar's maximum).
    virtual void Begin(int registers) { (void)registers; }
    // `done` registers of the range are done (the progress bar's value).
    virtual void Progress(int done) { (void)done; }
    // Register `reg` of `axis` is in hand: RegisterCaption(axis, reg).
    virtual void Reached(int axis, int reg) { (void)axis; (void)reg; }
    // The register's request is out: a view that draws while the unit
    // answers, rather than before the request goes, draws now.
    virtual void RequestOut() {}
    // The axis ended; after a failure the progress stays where it stood.
    virtual void Ended(bool failed) { (void)failed; }
};

enum class TransferEnd {
    Done,        // every register of the range answered (and was kept)
    Cancelled,   // the operator cancelled, or answered Yes to the exit question
    Failed,      // a register could not be sent, answered, kept; the line closed
};

struct TransferOutcome {
    TransferEnd end = TransferEnd::Done;
    int reg = 0;   // the register the transfer stopped at (Cancelled, Failed)
};

// Runs registers `from` to `to` of `axis` (0 X .. 3 U; it names the axis in
// the texts shown) on `link`, which keeps the answers in steps.reply; `hooks`
// (may be nullptr) pause and cancel. A range the steps' checkFirst refuses
// is shown (RegisterRefusalText) and fails at its first refused register
// with nothing sent and nothing shown on the view. The receive side is
// emptied first. A failure is shown as RegisterErrorText(axis, reg) before
// the call returns.
// Work that needs no line is done while the unit answers: once register r's
// request is out, the answer of r - 1 is kept (store, flush) and r + 1's
// request is made; a failure found so is reported at its own register.
// A closed line is told below the register, with the device and the reason;
// so is why a register cannot be sent (the steps' refusal).
// Should the program end meanwhile, the registers read are stored first.
TransferOutcome RunRegisterTransfer(UnitLink &link, ExchangeHooks *hooks, int axis, int from, int to,
                                    const TransferSteps &steps, TransferView *view = nullptr);

// ---- result codes (TransferResult)
constexpr int kResultErrorBase = 2001;   // failure at register r: r + 2001
constexpr int kResultPortClosed = 5000;
constexpr int kResultCancelled = 9999;

// Download: the register after the last one sent (`from` when the range is
// empty), r + 2001 after a failure at r, 9999 after a cancel.
int DownloadResultCode(const TransferOutcome &outcome, int from, int to);
// Upload: 0 when done, r + 2001 after a failure at r, 9999 after a cancel.
int UploadResultCode(const TransferOutcome &outcome);

// ---- texts
// "X axis : Reg No. 12"; empty for an axis outside 0..3.
QString RegisterCaption(int axis, int reg);
// "ERROR :: X axis / Reg No. 12"; empty for an axis outside 0..3.
QString RegisterErrorText(int axis, int reg);
// A refused download: RegisterErrorText of its first register, the reason
// below it, then how many more cannot be sent and that nothing was sent.
QString RegisterRefusalText(const RegisterRefusal &refusal);
// Shows RegisterRefusalText; the result code of the refused download: a
// failure at its first refused register.
int RefuseDownload(const RegisterRefusal &refusal);
// The Retry/Cancel question's text: what was sent and what came back, each
// cut to the answer's threshold less one (the window the compare uses).
QString MismatchText(const RegisterRequest &request, const QString &received);
// The Retry/Cancel question when nothing answered within `timeoutMs`: the
// two lines above with nothing received, and that the unit did not answer.
QString TimeOutText(const RegisterRequest &request, int timeoutMs);
// The question after Cancel; Yes ends the transfer as cancelled.
QString ExitQuestionText();

// The message that closes a transfer window, by TransferResult.
struct ClosingMessage {
    QString text;
    QString title;
    MsgIcon icon = MsgIcon::None;
};
std::optional<ClosingMessage> DownloadClosing(int code);
std::optional<ClosingMessage> UploadClosing(int code);
void ShowClosing(const ClosingMessage &message);
