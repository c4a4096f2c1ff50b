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
//
// From then on, every time the window is shown its size and position are
// kept within the available area of its screen. At the first showing it
// opens as large as its contents need, or at the size its design gave it
// when that is larger, where the screen has room: scroll bars appear only
// where the screen is too small.
QScrollArea *FitToScreen(QWidget *window, QLayout *contents);
