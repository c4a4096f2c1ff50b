#pragma once
// How a parameter transfer with the unit ended, and the pieces every group
// of a transfer is built from: the exchange of one command and its reply,
// the progress count, and the clearing of the line before a group.

#include "params/ParamWords.h"
#include "shared/UnitKind.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

class frmMain;

enum class ParamTransferResult : int {
    Done,         // every command was answered and every reply read
    PortClosed,   // the port is not open: nothing was done
    Busy,         // another transfer holds the line: nothing was done
    BadSetting,   // a value to send failed its check: nothing was sent
    NoReply,      // the unit did not answer in time, or the line went away
    Unreadable,   // every command was answered, but some replies could not be read
};

// The message of a download refused for a value it cannot send.
QString BadSettingMessage();
// The message of a transfer that got no answer in time.
QString TimeOutMessage();
// The message that lists the parameters whose replies could not be read.
QString UnreadableMessage(const QStringList &items);

// ---- pieces of the groups (used by the files of src/params)


using AxisFlags = std::array<int16_t, kAxes>;

// Axes a group of this kind handles: those of the connected model, at most
// the kind's own (2 or 4); none for an unknown model.
int GroupAxisCount(UnitKind kind);
// Whether axis `a` is handled: its flag is exactly 1 and it lies within `n`.
bool AxisHandled(const AxisFlags &flags, int a, int n);

// " X-axis " to " U-axis ", the wait window's second line.
QString AxisCaption(int axis);

// What the groups of the running transfer noted on their way.
struct ParamRun {
    QStringList unreadable;                          // " X-axis RAT", ...
    ParamTransferResult failure = ParamTransferResult::Done;
};
ParamRun &CurrentParamRun();

// Holds TransferBusy at 1 for the life of a group, whatever way it ends.
class GroupBusy
{
public:
    GroupBusy();
    ~GroupBusy();
    GroupBusy(const GroupBusy &) = delete;
    GroupBusy &operator=(const GroupBusy &) = delete;
};

// The group's count on the main window's progress bar.
class Progress
{
public:
    Progress(frmMain &m, int max);   // sets Max, Value 0 and the count 0
    void step();                     // adds 1 and shows it
    void restartCount() { m_count = 0; }   // the bar keeps its value
    int count() const { return m_count; }

private:
    frmMain &m_main;
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

// Sends the command and waits for its reply. The reply variable is emptied
// before the send, and only a line that answers this very request counts
// (head, axis letter and, on the 2-axis unit, register number); anything
// else is left and the wait goes on. The reply line, or nothing when none
// came within the main window's reply time-out or the line went away (the
// run's failure is then NoReply).
std::optional<QString> RunExchange(frmMain &m, const Exchange &x);

// The value field of a read reply; when it cannot be read the item is noted
// as unreadable and nothing is returned.
std::optional<uint32_t> ReadReplyValue(const Exchange &x, const QString &line, int digits);

// Empties the receive side: everything received and not yet taken (the
// link drops a line begun but not ended along with it). `drain` reads until
// the line stays quiet for a few reads in a row, without processing events;
// otherwise one read.
void ClearReceiveSide(frmMain &m, bool drain);

// Whether every numeric parameter that a download of these axes sends holds
// a number within its range.
bool ParamValuesSendable(const AxisFlags &flags, int n);
