#include "link/MonitorSwitch.h"

namespace {
MonitorSwitch &monitorSwitch()
{
    static MonitorSwitch s;
    return s;
}
}

void SetMonitorSwitch(MonitorSwitch monitor)
{
    monitorSwitch() = std::move(monitor);
}

bool PauseMonitorPoll()
{
    const MonitorSwitch &s = monitorSwitch();
    if (!s.running || !s.stop)
        return false;
    const bool was = s.running();
    s.stop();
    return was;
}

void ResumeMonitorPoll(bool wasRunning)
{
    if (const MonitorSwitch &s = monitorSwitch(); s.resume)
        s.resume(wasRunning);
}
