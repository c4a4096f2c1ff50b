#pragma once
// Small helpers shared by the main window's manual and drive handlers.

#include "link/LineOwner.h"
#include "mainwin/frmMain.h"
#include "mainwin/frmIo.h"
#include "shared/Shared.h"

#include <QString>
#include <QTimer>

// Switches the monitor poll off for the life of a handler's sends and on
// again at their end (the I/O window's ownership of the line kept).
class MonitorPause
{
public:
    explicit MonitorPause(frmMain *w)
        : m_w(w), m_was(w->Timer1->isActive()), m_ioWasOpen(IoWindow() != nullptr)
    {
        w->Timer1->stop();
    }
    ~MonitorPause() { resume(); }
    MonitorPause(const MonitorPause &) = delete;
    MonitorPause &operator=(const MonitorPause &) = delete;

    // Switches the monitor back on, once. An I/O window opened while the
    // handler waited has taken the polling over: the monitor stays off then,
    // so the two polls never run side by side.
    void resume()
    {
        if (!m_w)
            return;
        m_w->ResumeMonitor(m_was && (m_ioWasOpen || !IoWindow()));
        m_w = nullptr;
    }

private:
    frmMain *m_w;
    bool m_was;
    bool m_ioWasOpen;
};

// "SPD " followed by one comma per axis place before the value.
inline QString SpeedPrefix(int axis)
{
    return QStringLiteral("SPD ") + QString(axis, u',');
}

// A drive or stop command: mnemonic, blank, axis letter, then `tail` and CR.
inline QString AxisCommand(const char *mnemonic, int axis, const QString &tail = {})
{
    return QLatin1String(mnemonic) + u' ' + AxisLetter(axis) + tail + u'\r';
}

inline const QString &ValueRefused()
{
    static const QString text = QStringLiteral("Value can't configure it.");
    return text;
}
