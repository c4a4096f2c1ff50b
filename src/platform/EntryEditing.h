#pragma once
// An entry box whose typed keys pass a key filter, in one place for every
// such box: every key is judged by what it would type (dropsKey); select
// all, copy, cut and undo act as in any text box; and whatever is pasted
// (by key, by the context menu or by the middle button) or committed by an
// input method goes through the same filter as typed keys, so the box never
// holds a character it refuses.

#include "platform/ControlEvents.h"

#include <functional>

class QKeyEvent;
class QLineEdit;

class EntryEditing : public ControlEvents
{
public:
    // A key filter: drops the key by setting it to 0.
    using KeyFilter = std::function<void(int &key)>;

    // Judges the keys typed into `box` and what is pasted into it with
    // `filter` from now on, and refuses text dropped on it. Lives as long as
    // the box.
    static void watch(QLineEdit *box, KeyFilter filter);

    // Select all, copy, cut or paste: keys a key filter lets pass.
    static bool isEditingKey(const QKeyEvent *event);

    // Whether a key press must not reach a box whose typed keys pass
    // `filter`: a character the filter drops, or a key that would type a
    // character the filter never saw (TypesPastFilter). Editing keys and
    // keys that type nothing (arrows, Delete, Tab) reach the box.
    static bool dropsKey(const QKeyEvent *event, const KeyFilter &filter);

    // Inserts the characters of `text` that `filter` lets through, as typing
    // them would. Control characters never pass: a line break in the pasted
    // text is no Enter key.
    static void paste(QLineEdit *box, const QString &text, const KeyFilter &filter);

protected:
    bool controlEvent(QObject *watched, QEvent *event) override;

private:
    EntryEditing(QLineEdit *box, KeyFilter filter);
    void showContextMenu(const QPoint &globalPos);

    QLineEdit *m_box;
    KeyFilter m_filter;
};
