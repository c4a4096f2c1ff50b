#include "platform/KeyCodes.h"

#include <QKeyEvent>

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
    return text.isEmpty() ? 0 : text[0].unicode();
}
