#include "platform/EntryEditing.h"

#include "platform/KeyCodes.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>

EntryEditing::EntryEditing(QLineEdit *box, KeyFilter filter)
    : ControlEvents(box), m_box(box), m_filter(std::move(filter))
{
}

void EntryEditing::watch(QLineEdit *box, KeyFilter filter)
{
    if (!box)
        return;
    box->setAcceptDrops(false);
    // Typed straight through, not composed: what an input method would
    // compose is no key the filter could judge.
    box->setAttribute(Qt::WA_InputMethodEnabled, false);
    box->installEventFilter(new EntryEditing(box, std::move(filter)));
}

bool EntryEditing::isEditingKey(const QKeyEvent *event)
{
    return event->matches(QKeySequence::SelectAll) || event->matches(QKeySequence::Copy)
           || event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Paste);
}

bool EntryEditing::dropsKey(const QKeyEvent *event, const KeyFilter &filter)
{
    if (isEditingKey(event))
        return false;
    int key = TypedChar(event);
    if (key == 0)
        return TypesPastFilter(event);
    filter(key);
    return key == 0;
}

void EntryEditing::paste(QLineEdit *box, const QString &text, const KeyFilter &filter)
{
    if (box->isReadOnly())
        return;
    QString typed;
    for (const QChar c : text) {
        int key = c.unicode();
        if (key < 32 || key == 127)
            continue;
        filter(key);
        if (key != 0)
            typed += c;
    }
    if (!typed.isEmpty())
        box->insert(typed);
}

void EntryEditing::showContextMenu(const QPoint &globalPos)
{
    // A menu of our own: the box's standard one would paste unchecked.
    QMenu menu;
    auto add = [&](const QString &text, QKeySequence::StandardKey key, bool enabled, auto &&run) {
        const QString shortcut = QKeySequence(key).toString(QKeySequence::NativeText);
        QAction *a = menu.addAction(shortcut.isEmpty() ? text : text + u'\t' + shortcut);
        a->setEnabled(enabled);
        connect(a, &QAction::triggered, m_box, run);
    };
    const bool editable = !m_box->isReadOnly();
    const bool selected = m_box->hasSelectedText();
    add(QStringLiteral("Cu&t"), QKeySequence::Cut, editable && selected, [this] { m_box->cut(); });
    add(QStringLiteral("&Copy"), QKeySequence::Copy, selected, [this] { m_box->copy(); });
    add(QStringLiteral("&Paste"), QKeySequence::Paste,
        editable && !QGuiApplication::clipboard()->text().isEmpty(),
        [this] { paste(m_box, QGuiApplication::clipboard()->text(), m_filter); });
    add(QStringLiteral("Delete"), QKeySequence::Delete, editable && selected, [this] { m_box->del(); });
    menu.addSeparator();
    add(QStringLiteral("Select All"), QKeySequence::SelectAll, !m_box->text().isEmpty(),
        [this] { m_box->selectAll(); });
    menu.exec(globalPos);
}

bool EntryEditing::controlEvent(QObject *watched, QEvent *event)
{
    if (watched != m_box)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (!key->matches(QKeySequence::Paste))
            return dropsKey(key, m_filter);
        paste(m_box, QGuiApplication::clipboard()->text(), m_filter);
        return true;
    }
    case QEvent::InputMethod: {
        // Should one reach the box all the same, only its committed text
        // counts, judged as pasted text is.
        const auto *im = static_cast<QInputMethodEvent *>(event);
        if (im->commitString().isEmpty() && im->preeditString().isEmpty())
            return false;
        paste(m_box, im->commitString(), m_filter);
        return true;
    }
    case QEvent::ContextMenu:
        showContextMenu(static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    case QEvent::MouseButtonRelease: {
        // The middle button pastes the selection where the system has one.
        auto *clipboard = QGuiApplication::clipboard();
        if (static_cast<QMouseEvent *>(event)->button() != Qt::MiddleButton || !clipboard->supportsSelection())
            return false;
        paste(m_box, clipboard->text(QClipboard::Selection), m_filter);
        return true;
    }
    default:
        return false;
    }
}
