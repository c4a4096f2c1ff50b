#pragma once
// The one reading of a key press that every window's key handlers share.

class QKeyEvent;

// The character a key types, as the key handlers take it: Backspace 8,
// Enter 13, a printable or control character; 0 for keys that type nothing
// (arrows, Delete, Tab, shortcuts), which raise no key handler.
int TypedChar(const QKeyEvent *event);
