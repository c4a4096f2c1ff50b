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

// 1 left, 2 right, 4 middle, 0 any other button.
int MouseButtonCode(Qt::MouseButton button);

// For a window's activation change: whether it has just become active anew.
// Coming back from another window of the program counts; coming back from
// a message box or another program does not. `fromOtherWindow` keeps what
// the last deactivation found; it starts true, so the first showing counts.
bool ActivatedAnew(QWidget *window, QEvent *event, bool &fromOtherWindow);
