#pragma once
// Who may write to the one serial line.
//
// A transfer (program or parameters) or a drive start holds the line from
// its first command to its last reply, a paused transfer included: while it
// is held nothing else may write but a stop, so no poll query or manual
// command comes between a command and the reply awaited for it. While the
// I/O window is open its poll takes the monitor poll's place.
//
// A writer asks before it writes:
//
//     if (!MayWrite(LineUser::Manual))
//         return;
//
// A transfer or drive start takes the line for its life:
//
//     LineHold hold(LineUser::Transfer);
//     if (!hold.owns())
//         return;   // another transfer or a drive start holds it
//     ...           // given back when `hold` ends (or by hold.release())
//
// A window that holds the line while it stays open keeps a
// std::optional<LineHold> and emplaces it on loading.
//
// The shared TransferBusy is 1 exactly while a LineHold holds the line;
// nothing else sets it, and it is read through LineHeld().

#include <QString>
#include <functional>

enum class LineUser {
    MonitorPoll,   // the main window's monitor timer
    IoPoll,        // the I/O window's poll timer
    Manual,        // jog, clear, speeds, home search start, output switches, speed change
    Stop,          // a stop of an axis or of a home search: always goes out
    Drive,         // program and index drive buttons; a start takes a LineHold
    Transfer,      // program and parameter transfers; take a LineHold
};

// Whether `who` may write to the line now.
//
//   holder            MonitorPoll  IoPoll  Manual  Stop  Drive  Transfer
//   nobody            yes          yes     yes     yes   yes    yes
//   I/O window open   no           yes     yes     yes   yes    yes
//   a LineHold        no           no      no      yes   no     no
bool MayWrite(LineUser who);

// Whether a transfer or a drive start holds the line.
bool LineHeld();
// Whether a transfer holds it: a transfer tells the operator itself how its
// exchanges ended, a closed line included.
bool TransferHoldsLine();

// A transfer that could not take the line tells the operator why, once, when
// another transfer holds it: "A transfer is using the line: nothing was
// started.", or, when the holder is a window that stands open with nothing
// running, that this window must be closed first.
void TellTransferUsesLine();
// The text of that refusal, ending in `outcome` ("nothing was started.").
QString TransferUsesLineText(const QString &outcome);

// The I/O window tells when its poll starts (window loaded) and ends.
void SetIoPollActive(bool active);
bool IoPollActive();

class LineHold
{
public:
    // Takes the line for a Drive start or a Transfer when it is free; any
    // other user takes nothing.
    explicit LineHold(LineUser who);
    ~LineHold();
    LineHold(const LineHold &) = delete;
    LineHold &operator=(const LineHold &) = delete;

    // Whether this hold took the line.
    bool owns() const { return m_owns; }
    // Gives the line back now, once; the end of the hold does nothing then.
    void release();
    // A window that keeps the line while it stands open names itself here:
    // the window's name while nothing runs in it, the empty text while it
    // transfers. Asked only while this hold owns the line.
    void NameIdleHolder(std::function<QString()> name);

private:
    bool m_owns = false;
};
