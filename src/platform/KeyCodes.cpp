#include "platform/KeyCodes.h"

#include "platform/ControlEvents.h"

#include <QKeyEvent>
#include <QWidget>

#include <algorithm>

int TypedChar(const QKeyEvent *e)
{
    switch (e->key()) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete: return 0;
    default: break;
    }
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return 0;
    const QString text = e->text();
    return text.size() == 1 ? text[0].unicode() : 0;
}

bool TypesPastFilter(const QKeyEvent *e)
{
    const QString text = e->text();
    if (TypedChar(e) != 0 || text.isEmpty())
        return false;
    // As a Qt text box decides: Ctrl alone, or with Shift, makes a shortcut
    // of the key (select all, undo) and types nothing but a format
    // character; any other modifier along, the keypad's included, lets the
    // key's text in.
    const Qt::KeyboardModifiers m = e->modifiers();
    if ((m == Qt::ControlModifier || m == (Qt::ControlModifier | Qt::ShiftModifier))
        && text.front().category() != QChar::Other_Format)
        return false;
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.category() != QChar::Other_Control; });
}

void DropTypingChords(QWidget *box)
{
    WatchControl(box, [](QEvent *event) {
        return event->type() == QEvent::KeyPress && TypesPastFilter(static_cast<QKeyEvent *>(event));
    });
}
