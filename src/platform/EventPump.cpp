#include "platform/EventPump.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

void DoEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

WaitResult WaitUntil(const std::function<bool()> &cond, int timeoutMs,
                     const std::function<bool()> &cancel)
{
    QDeadlineTimer deadline = timeoutMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever)
                                            : QDeadlineTimer(timeoutMs);
    // A timer event wakes the blocking wait below when the time is up.
    QTimer wake;
    wake.setSingleShot(true);
    if (timeoutMs >= 0)
        wake.start(timeoutMs);
    for (;;) {
        if (cond())
            return WaitResult::Done;
        if (cancel && cancel())
            return WaitResult::Cancelled;
        if (deadline.hasExpired())
            return WaitResult::TimedOut;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}
