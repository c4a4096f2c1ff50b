#include "link/MonitorHold.h"

#include "link/LineOwner.h"
#include "platform/Timer.h"

namespace {
Timer *monitor = nullptr;
}

void SetMonitorTimer(Timer *timer)
{
    monitor = timer;
}

MonitorHold::MonitorHold()
{
    m_ioWasActive = IoPollActive();
    if (!monitor) {
        m_done = true;
        return;
    }
    m_was = monitor->isActive();
    monitor->stop();
}

void MonitorHold::resume()
{
    if (m_done)
        return;
    m_done = true;
    if (!monitor)
        return;
    if (IoPollActive())
        monitor->setActive(m_was && m_ioWasActive);
    else
        monitor->start();
}

void IoPollBegins()
{
    SetIoPollActive(true);
    if (monitor)
        monitor->stop();
}

void IoPollEnds(bool restart)
{
    SetIoPollActive(false);
    if (restart && monitor)
        monitor->start();
}
