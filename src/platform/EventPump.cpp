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
    // A timer event wakes the blocking wait below when the time is up. A
    // timer may fire a little early, so it is armed again for what is left.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    for (;;) {
        if (cond())
            return WaitResult::Done;
        if (cancel && cancel())
            return WaitResult::Cancelled;
        if (deadline.hasExpired())
            return WaitResult::TimedOut;
        if (timeoutMs >= 0 && !wake.isActive())
            wake.start(int(qMax<qint64>(1, deadline.remainingTime())));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}
