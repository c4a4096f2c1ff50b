#pragma once
// A window timer as the program's handlers use it: an on/off switch and a
// period in milliseconds. A period of 0 gives no ticks while it stays
// switched on (a plain QTimer would fire continuously instead).

#include <QObject>

class QTimer;

class Timer : public QObject
{
    Q_OBJECT
public:
    explicit Timer(QObject *parent = nullptr);

    void start();                 // switch on
    void stop();                  // switch off
    bool isActive() const { return m_enabled; }
    void setActive(bool on) { on ? start() : stop(); }
    int interval() const { return m_interval; }
    void setInterval(int ms);

signals:
    void timeout();
    // Each switch-on: lets a test that plays the clock know that a wait began.
    void switchedOn();

private:
    void apply();
    QTimer *m_timer;
    bool m_enabled = false;
    int m_interval = 0;
};
