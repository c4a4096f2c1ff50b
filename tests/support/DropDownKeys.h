#pragma once
// Keys and clicks as the operator's keyboard and mouse deliver them while a
// drop-down list may be open (the open list takes them first), and what an
// open list shows.

#include <QPoint>
#include <QString>
#include <Qt>

class PickerBox;
class QWidget;

// A key to the open list when one is open, else to the widget with the
// focus. A named key as a key sequence gives it ("Alt+Down", "F4", "End"),
// or one character.
void PressKey(Qt::Key key, Qt::KeyboardModifiers mods = {});
void PressKeys(const QString &keys);

// A left click at `at` on `widget`, made through its window.
void ClickThroughWindow(QWidget *widget, QPoint at);

bool ListOpen(const PickerBox *picker);
// The text of the open list's current item, when it is also the one
// highlighted; "<none>" else.
QString CurrentListItem(const PickerBox *picker);
