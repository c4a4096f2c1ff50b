#pragma once
// Processing pending events, and waiting for a condition in a nested event
// loop: the wait sleeps until the next event arrives, it never spins.

#include <functional>

// Runs every event that is pending now, then returns.
void DoEvents();

enum class WaitResult { Done, TimedOut, Cancelled };

// Processes events until cond() holds, timeoutMs has passed (a negative
// time-out waits without limit) or cancel() holds. cond is tested first, so a
// condition that already holds returns Done without processing events.
WaitResult WaitUntil(const std::function<bool()> &cond, int timeoutMs,
                     const std::function<bool()> &cancel = {});
