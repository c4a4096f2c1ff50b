#pragma once
// Routes the low-level events of the main window's manual controls (mouse
// and key presses, focus changes) to the window's handlers. The keys typed
// into the entry boxes go to their key handlers through EntryEditing.

#include "platform/ControlEvents.h"

#include <QHash>

class frmMain;
class QWidget;

class ManualEvents : public ControlEvents
{
public:
    enum Kind { JogButton, DriveButton, DisplayBox, SpeedBox, StartRegister };

    explicit ManualEvents(frmMain *window);
    // A jog or drive button (index: the jog button's, or 0) takes the
    // keyboard focus by Tab only: a click leaves no key on it to start the
    // motion again.
    void watch(QWidget *widget, Kind kind, int index);

protected:
    bool controlEvent(QObject *watched, QEvent *event) override;

private:
    bool jogEvent(int index, QEvent *event);
    frmMain *m_window;
    QHash<QObject *, QPair<Kind, int>> m_watched;
};
