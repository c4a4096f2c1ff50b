#pragma once
// Watching the line from the main window: when the monitor poll has had no
// reply for too long, and what the error message display shows when the line
// is in trouble and the unit reports a limit or an alarm at the same time.

#include <QString>
#include <QtGlobal>

#include <optional>

// The longest silence of a polled unit, in ms, before the operator is told:
// three seconds or five monitor periods, whichever is longer.
int SilenceLimitMs(int periodMs);

// Counts how long the monitor poll has asked without an answer. Times are
// milliseconds of a monotonic clock.
class SilenceWatch
{
public:
    // The poll asks at `now`. True when no reply has come for the limit of
    // `periodMs` since the first query that is still unanswered.
    bool polled(qint64 now, int periodMs);
    // A reply came: the unit is not silent.
    void replied();
    // The poll asked nothing (port closed, the line held by another
    // operation): no silence is counted until it asks again.
    void idle();

private:
    std::optional<qint64> m_since;      // the first query not answered since
    std::optional<qint64> m_lastPoll;
};

enum class LineTrouble { None, NoReply, Closed };

// The display's text: the line's trouble first, then a command refused for
// the line's sake, then the unit's own limit or alarm message (the last one
// known), so that none hides another.
QString ErrorMessageText(LineTrouble trouble, const QString &unitMessage, const QString &refusal = {});
