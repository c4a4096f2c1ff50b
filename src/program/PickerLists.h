#pragma once
// Items of every command, speed and timer picker of both program editors,
// and what a choice stores in the register.

#include <QString>
#include <QStringList>
#include <optional>

enum class PickerList {
    X4,       // 4-axis editor, X commands
    X4Ext,    // 4-axis editor, X commands of the extension program mode
    Y4,       // 4-axis editor, commands of Y, Z and U
    Y4Ext,    // the same in the extension program mode
    Spd4,     // 4-axis speed numbers and "(NULL)"
    Tim4,     // 4-axis timer numbers and "(NULL)"
    X2,       // 2-axis editor, X commands
    Y2,       // 2-axis editor, Y commands
    Spd2,     // 2-axis speed numbers
    Tim2,     // 2-axis timer numbers
};

const QStringList &PickerItems(PickerList list);

// The text choosing item `index` stores: the item itself, or "" for the
// "(NUL)" and "(NULL)" entries. Nothing for an index outside the list.
std::optional<QString> StoredChoice(PickerList list, int index);

// The item that stands for a cell's text (trailing blanks ignored), which
// an opened list shows as its current one: the item the text would be
// stored from, else the first.
int CurrentItem(PickerList list, const QString &cellText);

// The 4-axis command picker of an axis (0 X, else Y/Z/U) in the basic or
// extended set.
PickerList CommandList4(int axis, bool extended);

// Whether `command` (trailing blanks ignored) is a motion command of the
// axis (0..3) whose data the text entry keeps when the cell is empty.
bool IsMotionCommand(int axis, const QString &command);
