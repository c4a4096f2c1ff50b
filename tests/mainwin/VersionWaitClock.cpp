#include "VersionWaitClock.h"

#include "UnitSim.h"
#include "mainwin/frmMain.h"
#include "platform/MSComm.h"
#include "platform/Timer.h"

VersionWaitClock::VersionWaitClock(frmMain *main, UnitSim *sim) : m_main(main), m_sim(sim)
{
    connect(m_main->Timer2, &Timer::switchedOn, this, &VersionWaitClock::begun);
    if (m_sim)
        m_sim->watchLog([this](const QString &line) { logged(line); });
}

VersionWaitClock::~VersionWaitClock()
{
    if (m_sim)
        m_sim->watchLog({});
}

void VersionWaitClock::begun()
{
    const int wait = ++m_waits;
    if (!m_sim || !m_main->MSComm1->PortOpen()) {
        // Queued: the wait has not begun to wait yet.
        QMetaObject::invokeMethod(this, [this, wait] { end(wait); }, Qt::QueuedConnection);
        return;
    }
    // Behind the lines of this try, on the same line, so the unit logs it
    // after them whatever the timing.
    m_main->MSComm1->Output(QStringLiteral("~%1\r").arg(wait));
}

void VersionWaitClock::logged(const QString &line)
{
    if (line.startsWith(u"RX ")) {
        ++m_received;
    } else if (line.startsWith(u"GARBLED ")) {
        ++m_received;
        ++m_unanswered;
    } else if (line.startsWith(u"NOREPLY ")) {
        ++m_unanswered;
    } else if (line.startsWith(u"MARK ")) {
        const bool noneAnswered = m_unanswered == m_received;
        m_received = 0;
        m_unanswered = 0;
        bool ok = false;
        const int wait = line.mid(5).toInt(&ok);
        if (ok && noneAnswered)
            end(wait);
    }
}

void VersionWaitClock::end(int wait)
{
    // Only the wait still running, and only when no reply has ended it.
    if (wait != m_waits || !m_main->Timer2->isActive() || m_main->UnitAnswered >= 1)
        return;
    ++m_ended;
    emit m_main->Timer2->timeout();
}
