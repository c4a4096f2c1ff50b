#pragma once
// The parameter database behind the parameter grid window: three tables of
// display texts (titles and the tables' values as the grid shows them), one
// per tab. Nothing reads parameter values back out of it; the tables in the
// shared store are the master copy.

#include "params/ParamGridCells.h"
#include "platform/DataControl.h"

#include <QString>
#include <optional>
#include <vector>

// Full path of the database file below the program folder.
QString ParamDatabasePath();

// The table of a tab: "Mode", "HomeSearch", "Parameter".
QString ParamTableName(GridTab tab);

// The row title of a record of a tab's table in a new database.
QString ParamRowTitle(GridTab tab, int row);

// What the file must hold: the three tables with their fields "Title",
// "X-axis" .. "U-axis" and at least as many records as their grids' rows.
std::vector<TableSchema> ParamDatabaseTables();

// Creates the file with its titles when it is missing; a message naming
// what is wrong when it exists but cannot be used.
std::optional<QString> EnsureParamDatabase();
