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
    enum Kind { JogButton, DisplayBox, AmountBox, SpeedBox, StartRegister };

    explicit ManualEvents(frmMain *window);
    void watch(QWidget *widget, Kind kind, int index);

    // The character code a key press carries, as a text box's key handler
    // sees it (Backspace 8, Enter 13); 0 for a key that types nothing
    // (arrows, Delete, Tab), which raises no key handler.
    static int KeyCode(const QKeyEvent *event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool jogEvent(int index, QEvent *event);
    frmMain *m_window;
    QHash<QObject *, QPair<Kind, int>> m_watched;
};
