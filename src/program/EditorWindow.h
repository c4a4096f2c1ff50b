#pragma once
// Small pieces both program editor windows share: lengths of their design,
// mouse buttons as their handlers take them, and when a window counts as
// activated anew.

#include <Qt>

class QEvent;
class QKeyEvent;
class QWidget;

// Lengths of the windows' design are in twips, 15 to a pixel on the screen
// they were drawn for.
int Pixels(int twips);
// Places a control by the design's left, top, width and height in twips.
void SetTwipsGeometry(QWidget *w, int left, int top, int width, int height);
// Gives a window whose controls were placed by SetTwipsGeometry its design
// size in twips, and keeps the whole design in proportion with what its
// texts need: when the font makes a caption, a box's widest number or a
// button's text need more room than the design gave it, every place and
// size grows by the same factor, so nothing is cut and nothing overlaps.
// Never smaller than the design. Measured now, whenever the window is
// shown and after its font changes.
void KeepTwipsDesign(QWidget *window, int width, int height);

// 1 left, 2 right, 4 middle, 0 any other button.
int MouseButtonCode(Qt::MouseButton button);

// For a window's activation change: whether it has just become active anew.
// Coming back from another window of the program counts; coming back from
// a message box or another program does not. `fromOtherWindow` keeps what
// the last deactivation found; it starts true, so the first showing counts.
bool ActivatedAnew(QWidget *window, QEvent *event, bool &fromOtherWindow);
