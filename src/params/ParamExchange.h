#pragma once
// How a parameter transfer with the unit ended, and the pieces every group
// of a transfer is built from: the session that carries the line, the
// progress bar and what the groups noted, the exchange of one parameter
// command, the progress count, and the three groups themselves.

#include "link/LineExchange.h"
#include "params/ParamWords.h"
#include "shared/Shared.h"
#include "shared/UnitKind.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class MSComm;
class QProgressBar;

enum class ParamTransferResult : int {
    Done,         // every command was answered and every reply read
    PortClosed,   // the port is not open: nothing was done
    Busy,         // another transfer holds the line: nothing was done
    BadSetting,   // a value to send failed its check: nothing was sent
    NoReply,      // the unit did not answer in time, or the line went away
    WriteFailed,  // a command could not be written to the line
    Unreadable,   // every command was answered, but some replies could not be read
};

// A numeric parameter that a download cannot send: its axis, its
// ParamTable item, the text the table holds and why it cannot go out.
struct UnsendableParam {
    int axis = 0;
    int item = 0;
    QString held;
    ParamSendFault fault = ParamSendFault::None;
    bool operator==(const UnsendableParam &) const = default;
};

// The message of a download refused for values it cannot send: "Bad
// Setting." and a line naming the first two (axis, name as the grid shows
// it, the text held and why it cannot go out: empty, not one number, or
// beyond the values the unit holds) and how many more.
QString BadSettingMessage(const std::vector<UnsendableParam> &refused);
// The message that lists the parameters whose replies could not be read.
QString UnreadableMessage(const QStringList &items);

using AxisFlags = std::array<int16_t, kAxes>;

// Axes a group of this kind handles: those of the connected model, at most
// the kind's own (2 or 4).
int GroupAxisCount(UnitKind kind);
// Whether axis `a` is handled: its flag is exactly 1 and it lies within `n`.
bool AxisHandled(const AxisFlags &flags, int a, int n);

// " X-axis " to " U-axis ", the wait window's second line.
QString AxisCaption(int axis);

// One parameter transfer: the line it exchanges on, the progress bar it
// counts on, and what its groups noted on their way.
class ParamSession : public ExchangeHooks
{
public:
    // `bar` may be nullptr. `timeoutMs`: the longest wait for one reply.
    ParamSession(UnitLink &link, QProgressBar *bar, int timeoutMs);

    LineExchange line;
    QProgressBar *const bar;
    const int timeoutMs;

    QStringList unreadable;                  // " X-axis RAT", ...
    bool badSetting = false;                 // a value could not be sent
    std::vector<UnsendableParam> unsendable; // which ones
    std::optional<ExchangeResult> stopped;   // the exchange that got no answer

    // The axis of the command going out; once it is sent, the wait window's
    // second line names it.
    int axis = 0;
    void Sent(const ExchangeRequest &request) override;
};

// The group's count on the session's progress bar.
class Progress
{
public:
    Progress(QProgressBar *bar, int max);   // sets Max, Value 0 and the count 0
    void step();                            // adds 1 and shows it
    void restartCount() { m_count = 0; }    // the bar keeps its value
    int count() const { return m_count; }

private:
    QProgressBar *m_bar;
    int m_count = 0;
};

// One pass of a group over the axes 0 to n-1: the progress steps once for
// every axis, handled or not, and `handle` runs for each handled one. False
// as soon as `handle` returns false.
bool AxisPass(Progress &progress, const AxisFlags &flags, int n, const std::function<bool(int axis)> &handle);

// One command to the unit and the reply it waits for.
struct Exchange {
    UnitKind unit = UnitKind::FourAxis;
    int axis = 0;
    QString name;       // parameter command of the 4-axis unit (also the name shown)
    int reg = 0;        // numbered parameter of the 2-axis unit
    bool write = false;
    QString digits;     // the value written
    int threshold = 0;  // receive threshold in force for the reply
    bool thresholdAfterSend = false;
};

// The command line of an exchange, CR included.
QString ExchangeCommand(const Exchange &x);

// Sends the command and waits for its reply. Only a line that answers this
// very request counts (head, axis letter and, on the 2-axis unit, register
// number); a line left from before the send, or answering something else,
// does not. The reply line, or nothing when none came in time, the line
// went away or the command could not be written (the session notes how).
std::optional<QString> RunExchange(ParamSession &session, const Exchange &x);

// The value field of a read reply; when it cannot be read the item is noted
// as unreadable and nothing is returned.
std::optional<uint32_t> ReadReplyValue(ParamSession &session, const Exchange &x, const QString &line,
                                       int digits);

// Every numeric parameter that a download of these axes would send but
// that cannot go out as it is (ParamSendValue), axis by axis in item order.
std::vector<UnsendableParam> UnsendableParams(const AxisFlags &flags, int n);

// ---- the groups of a transfer, in the order a transfer runs them
// Each handles the axes whose flag is 1, within the model and the kind
// (GroupAxisCount). False when it stopped: no reply, or a value it cannot
// send (the session says which).
using ParamGroup = bool (*)(ParamSession &session, UnitKind kind, const AxisFlags &flags);

bool ModeDownLoad(ParamSession &session, UnitKind kind, const AxisFlags &flags);
bool ModeUpLoad(ParamSession &session, UnitKind kind, const AxisFlags &flags);
bool HomeDownLoad(ParamSession &session, UnitKind kind, const AxisFlags &flags);
bool HomeUpLoad(ParamSession &session, UnitKind kind, const AxisFlags &flags);
bool ParamDownLoad(ParamSession &session, UnitKind kind, const AxisFlags &flags);
bool ParamUpLoad(ParamSession &session, UnitKind kind, const AxisFlags &flags);
