#pragma once
// The main window's monitor poll as the windows below it pause and resume
// it: the main window hands in its timer's state and stop and its rule for
// switching the poll on again; without a main window nothing is switched.

#include <functional>

struct MonitorSwitch {
    std::function<bool()> running;
    std::function<void()> stop;
    std::function<void(bool wasRunning)> resume;
};

void SetMonitorSwitch(MonitorSwitch monitor);

// Stops the poll; whether it was running.
bool PauseMonitorPoll();
// Switches the poll on again by the main window's rule.
void ResumeMonitorPoll(bool wasRunning);
