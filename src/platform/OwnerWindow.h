#pragma once
// The window the other windows of the program open over and belong to: the
// main window, which hands itself in when it is created. Windows below it
// take it as their parent without knowing it.

class QWidget;

void SetOwnerWindow(QWidget *window);
// nullptr before the main window is created and after it is gone.
QWidget *OwnerWindow();
