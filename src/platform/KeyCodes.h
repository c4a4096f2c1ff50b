#pragma once
// The one reading of a key press that every window's key handlers share.

class QKeyEvent;
class QWidget;

// The character a key types, as the key handlers take it: Backspace 8,
// Enter 13, the one printable or control character of a key pressed with
// no Ctrl, Alt or Meta; 0 for keys that type nothing of their own (arrows,
// Delete, Tab, chords, a key that types several characters), which raise no
// key handler.
int TypedChar(const QKeyEvent *event);

// A key whose text a Qt text box types although TypedChar gives it to no
// key handler: a chord that carries a character (QLineEdit types the text
// of Alt and Meta chords, and of Ctrl with a keypad key, which comes with
// the keypad modifier: only Ctrl alone or with Shift is a shortcut there),
// or a key that types several characters. A box with a key filter drops
// such a key, so every character typed into it is one its filter judged.
bool TypesPastFilter(const QKeyEvent *event);

// Drops the keys of TypesPastFilter on their way into `box` (a box that
// judges its text only once it is entered). Lives as long as the box.
void DropTypingChords(QWidget *box);
