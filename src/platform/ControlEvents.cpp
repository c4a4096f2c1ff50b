#include "platform/ControlEvents.h"

#include <QEvent>
#include <QWidget>

namespace {

bool isInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
        return true;
    default:
        return false;
    }
}

// Hidden in its window: the window itself may not be shown yet.
bool hiddenInWindow(const QWidget *w)
{
    return !w->isVisibleTo(w->window());
}

class ControlWatch : public ControlEvents
{
public:
    ControlWatch(QWidget *control, std::function<bool(QEvent *)> handler)
        : ControlEvents(control), m_handler(std::move(handler))
    {
    }

protected:
    bool controlEvent(QObject *, QEvent *event) override { return m_handler(event); }

private:
    std::function<bool(QEvent *)> m_handler;
};

} // namespace

bool InputToUnusableControl(const QObject *watched, const QEvent *event)
{
    const auto *w = qobject_cast<const QWidget *>(watched);
    return w && isInput(event->type()) && (!w->isEnabled() || hiddenInWindow(w));
}

bool ControlEvents::eventFilter(QObject *watched, QEvent *event)
{
    if (!InputToUnusableControl(watched, event))
        return controlEvent(watched, event);
    // A greyed control is left to Qt, which drops the input there as at any
    // greyed control; a hidden one that is not greyed would take it itself.
    return static_cast<const QWidget *>(watched)->isEnabled();
}

void WatchControl(QWidget *control, std::function<bool(QEvent *event)> handler)
{
    if (control)
        control->installEventFilter(new ControlWatch(control, std::move(handler)));
}
