#include "mainwin/ManualEvents.h"

#include "mainwin/frmMain.h"
#include "platform/KeyCodes.h"

#include <QPushButton>

#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

ManualEvents::ManualEvents(frmMain *window) : ControlEvents(window), m_window(window) {}

void ManualEvents::watch(QWidget *widget, Kind kind, int index)
{
    if (!widget)
        return;
    m_watched.insert(widget, {kind, index});
    widget->installEventFilter(this);
    if (kind == JogButton || kind == DriveButton)
        widget->setFocusPolicy(Qt::TabFocus);
}

bool ManualEvents::jogEvent(int index, QEvent *event)
{
    bool &held = m_window->jogHeld[std::size_t(index)];
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        m_window->KeepFocusOffMotion(m_window->stopButton(index / 2));
        held = true;
        m_window->JogSW_Press(index);
        break;
    case QEvent::MouseButtonRelease:
        held = false;
        m_window->JogSW_Release(index);
        break;
    case QEvent::KeyPress: {
        // A held key repeats its press every few dozen milliseconds; only the
        // first press jogs, or the line would fill with repeated commands.
        const auto *key = static_cast<QKeyEvent *>(event);
        if (!key->isAutoRepeat() && TypedChar(key) != 0) {
            held = true;
            m_window->JogSW_Press(index);
        }
        break;
    }
    case QEvent::KeyRelease:
        if (!static_cast<QKeyEvent *>(event)->isAutoRepeat()) {
            held = false;
            m_window->JogSW_Release(index);
        }
        break;
    case QEvent::FocusOut:
    case QEvent::WindowDeactivate:
    case QEvent::Hide:
    case QEvent::UngrabMouse:
    case QEvent::EnabledChange:
        // The release may never reach a button that lost the mouse or the
        // keyboard while held, so the press ends here: a Scan jog must
        // never keep the axis running.
        if (held && !(event->type() == QEvent::EnabledChange && m_window->jogButton(index)->isEnabled())) {
            held = false;
            m_window->JogSW_Release(index);
        }
        break;
    default:
        break;
    }
    return false;
}

bool ManualEvents::controlEvent(QObject *watched, QEvent *event)
{
    const auto it = m_watched.constFind(watched);
    if (it == m_watched.constEnd())
        return false;
    const Kind kind = it->first;
    const int index = it->second;

    if (kind == JogButton)
        return jogEvent(index, event);

    if (kind == DriveButton) {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
            m_window->KeepFocusOffMotion();
        return false;
    }

    if (kind == DisplayBox) {
        if (event->type() == QEvent::FocusIn)
            m_window->DisplayBox_GotFocus(index);
        return false;
    }

    if (event->type() == QEvent::MouseButtonRelease) {
        if (kind == SpeedBox)
            m_window->SpeedBox_Click(index);
        else if (kind == StartRegister)
            m_window->RegNo_Click();
    }
    return false;
}
