#pragma once
// Windows on a screen smaller than they were designed for: contents that
// scroll when the window is smaller than they are, and a window that never
// opens larger than its screen's available area.

class QLayout;
class QScrollArea;
class QWidget;

// Lays `contents` (a layout on no widget yet) into a scroll area that fills
// `window`: the window can then be made smaller than its contents, and
// every control can be scrolled to. A main window gets the area as its
// central widget; any other window gets a layout of its own holding only
// the area, to which a menu bar can still be given.
QScrollArea *ScrollingContents(QWidget *window, QLayout *contents);

// From now on, every time `window` is shown its size and position are kept
// within the available area of its screen. At the first showing a window
// whose contents scroll opens as large as they need (at least as large as
// its design, when it was given a size), where the screen has room.
void KeepOnScreen(QWidget *window);
