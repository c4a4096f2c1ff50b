#pragma once
// The one reading of a key press that every window's key handlers share.

class QKeyEvent;
class QWidget;

// The character a key types, as the key handlers take it: Backspace 8,
// Enter 13, a printable or control character; 0 for keys that type nothing
// (arrows, Delete, Tab, shortcuts), which raise no key handler.
int TypedChar(const QKeyEvent *event);

// A chord with Alt or Meta that carries a printable character. A Qt text
// box types its character, yet TypedChar gives it none, so no key filter
// ever judged it: a box with a filter drops such a key.
bool TypesPastFilter(const QKeyEvent *event);

// Drops the keys of TypesPastFilter on their way into `box` (a box that
// judges its text only once it is entered). Lives as long as the box.
void DropTypingChords(QWidget *box);
