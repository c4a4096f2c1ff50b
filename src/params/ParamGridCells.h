#pragma once
// What the cells of the parameter grid window hold, without the window: the
// rows of its three tabs, the texts the first fill writes, the settings a
// picker choice stores, and where the cursor may stand.

#include "params/ParamTables.h"

#include <QString>
#include <optional>

// The tabs in their order; each has one grid over one table of the
// parameter database.
enum class GridTab { Mode = 0, HomeSearch = 1, Parameter = 2 };
constexpr int kGridTabs = 3;

// Rows of a tab's grid (7, 12, 13); 0 for a tab out of range.
int GridRows(GridTab tab);
// The grid column of an axis (column 0 holds the titles).
constexpr int AxisColumn(int axis) { return axis + 1; }

// The ModeSetTable or HomeSetTable item a row of the Mode or Home Search
// grid shows; -1 for a row out of range (and for every Parameter row).
int SettingItemOfRow(GridTab tab, int row);
// The picker list of such a row; PickList::None when it has none.
PickList RowList(GridTab tab, int row);

// The entry of a list at a stored index; empty when the index is no entry.
QString PickText(PickList list, int index);

// The text the first fill writes into the cell of `axis` in `row`: the
// chosen entry of a setting, the numeric parameter as the Parameter grid
// shows it, and blank for Z and U on the 2-axis unit (the tables keep their
// values there).
QString GridFillText(GridTab tab, int row, int axis, const QString &unitModel);

// Stores the choice `index` of `list` made for the cell at `row`, `column`:
// the setting of that row and the column's axis. False, storing nothing,
// when an index is out of range or `list` is not the row's list.
bool StorePick(GridTab tab, int row, int column, PickList list, int index);

// The cursor rule of the grids: the column the cursor is moved to after it
// moved from `lastCol` (-1 before the first cell) to `newCol`, or nothing
// when it may stay. It starts in the first axis column and never moves from
// an axis column onto the titles.
std::optional<int> CursorColumn(int lastCol, int newCol);
