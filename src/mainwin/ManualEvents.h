#pragma once
// Routes the low-level events of the main window's manual controls (mouse
// and key presses, focus changes) to the window's handlers. Key handlers
// receive the character code of a key and may drop it by setting it to 0.

#include <QHash>
#include <QObject>

class frmMain;
class QKeyEvent;
class QWidget;

class ManualEvents : public QObject
{
public:
    enum Kind { JogButton, DriveButton, DisplayBox, AmountBox, SpeedBox, StartRegister };

    explicit ManualEvents(frmMain *window);
    // A jog or drive button (index: the jog button's, or 0) takes the
    // keyboard focus by Tab only: a click leaves no key on it to start the
    // motion again.
    void watch(QWidget *widget, Kind kind, int index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool jogEvent(int index, QEvent *event);
    frmMain *m_window;
    QHash<QObject *, QPair<Kind, int>> m_watched;
};
