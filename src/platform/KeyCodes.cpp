#include "platform/KeyCodes.h"

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
    return text.isEmpty() ? 0 : text[0].unicode();
}

bool TypesPastFilter(const QKeyEvent *e)
{
    // Ctrl alone types nothing in a text box; its chords are the box's
    // editing shortcuts (select all, copy, undo) and stay with the box.
    if (!(e->modifiers() & (Qt::AltModifier | Qt::MetaModifier)) || TypedChar(e) != 0)
        return false;
    const QString text = e->text();
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); });
}

namespace {
class ChordDrop : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        return event->type() == QEvent::KeyPress && TypesPastFilter(static_cast<QKeyEvent *>(event));
    }
};
} // namespace

void DropTypingChords(QWidget *box)
{
    if (box)
        box->installEventFilter(new ChordDrop(box));
}
