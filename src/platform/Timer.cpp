#include "platform/Timer.h"

#include <QTimer>

Timer::Timer(QObject *parent) : QObject(parent), m_timer(new QTimer(this))
{
    connect(m_timer, &QTimer::timeout, this, &Timer::timeout);
}

void Timer::start()
{
    m_enabled = true;
    apply();
    emit switchedOn();
}

void Timer::stop()
{
    m_enabled = false;
    apply();
}

void Timer::setInterval(int ms)
{
    m_interval = ms < 0 ? 0 : ms;
    apply();
}

void Timer::apply()
{
    // Switching on again restarts the period, as a window timer does.
    if (m_enabled && m_interval > 0)
        m_timer->start(m_interval);
    else
        m_timer->stop();
}
