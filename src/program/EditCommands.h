#pragma once
// What the Edit menus and grids of both program editors share: recording a
// selection dragged over a grid, and Cut, Copy, Paste and clearing the whole
// program through the shared copy buffer, with the operator told of every
// failure and of rows that did not fit.

#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

class FlexGrid;
class ProgramGridModel;
class ProgramTable;

// Every register of the table; nothing, with the operator told, when the
// table cannot be read whole.
std::optional<std::vector<QStringList>> ReadProgram(ProgramTable &table);

// Stores fields (column, text) of the register in grid row `row`; the grid
// then shows what the record holds, stored or not. False, with the
// operator told, when the store was refused.
bool StoreAndShow(ProgramTable &table, ProgramGridModel &model, int row,
                  const std::vector<std::pair<int, QString>> &fields);

// Widens a selection of several cells to the axis group where it began
// (the five field columns of that axis, the rows as selected) and records
// it in the shared selection variables, upper row first, for the editor
// whose grid has `gridAxes` axes (2 or 4).
void RecordSelection(FlexGrid &grid, int gridAxes);

// Copies (with `cut`, then empties) the selection the editor's own grid
// recorded last. False, with nothing done, when the last selection came
// from the other editor's grid or none was made. A selection reaching past
// the table's last register is refused as a whole, with a message.
bool CopySelection(ProgramTable &table, int gridAxes, bool cut);

// Writes the buffer's rows into `axis` from register `first` down; rows
// past the table's end are left out and counted in a message.
void PasteBuffer(ProgramTable &table, int axis, int first);

// Asks `question` (OK and Cancel, stop icon, title "Message"); on OK
// empties every axis field of every register. True when it was answered OK.
bool ClearAsked(ProgramTable &table, const QString &question);
