#pragma once
// The one rule every event filter on the program's controls keeps: input of
// the operator (mouse, keys, wheel, context menu, input method, drag and
// drop) that reaches a control he cannot use, greyed or hidden in its
// window, is acted on by no filter, so it sends and stores nothing. Qt itself
// drops input at a greyed control, but a filter sees the event before that.
//
// A filter on a control derives from ControlEvents and acts in
// controlEvent, or hands its work to WatchControl.

#include <QObject>
#include <functional>

class QEvent;
class QWidget;

// Whether `event` is input reaching `watched` while it cannot be used.
bool InputToUnusableControl(const QObject *watched, const QEvent *event);

class ControlEvents : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) final;
    // The filter proper: every event but the input the rule keeps from it.
    // True keeps the event from the control.
    virtual bool controlEvent(QObject *watched, QEvent *event) = 0;
};

// Hands the events of `control` to `handler` under the rule, for as long as
// the control lives; true from the handler keeps the event from the control.
void WatchControl(QWidget *control, std::function<bool(QEvent *event)> handler);
