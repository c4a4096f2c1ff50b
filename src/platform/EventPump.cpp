#include "platform/EventPump.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QTimer>

void DoEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

namespace {

// A timer event wakes a blocking wait when its time is up. One timer serves
// every wait: starting and stopping one for each wait costs more than the
// wait itself does while the unit answers in a few ms. It stays armed for the
// earliest deadline a wait asked for; a wait it wakes before its own
// deadline (a timer may fire a little early, or it was armed for a wait that
// ended since) arms it again for what is left.
class WakeTimer
{
public:
    void armFor(const QDeadlineTimer &deadline)
    {
        if (!m_timer) {
            // Owned by the application: a test's next application gets its own.
            m_timer = new QTimer(QCoreApplication::instance());
            m_timer->setSingleShot(true);
            m_timer->setTimerType(Qt::PreciseTimer);
        }
        if (m_timer->isActive() && m_due <= deadline)
            return;
        m_due = deadline;
        m_timer->start(int(qMax<qint64>(1, deadline.remainingTime())));
    }

private:
    QPointer<QTimer> m_timer;
    QDeadlineTimer m_due;
};

WakeTimer wakeTimer;

} // namespace

WaitResult WaitUntil(const std::function<bool()> &cond, int timeoutMs,
                     const std::function<bool()> &cancel)
{
    const QDeadlineTimer deadline = timeoutMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever)
                                                  : QDeadlineTimer(timeoutMs);
    for (;;) {
        if (cond())
            return WaitResult::Done;
        if (cancel && cancel())
            return WaitResult::Cancelled;
        if (deadline.hasExpired())
            return WaitResult::TimedOut;
        if (timeoutMs >= 0)
            wakeTimer.armFor(deadline);
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}
