#pragma once
// Column widths of the program editors' grids, taken from the grid's font
// when the window is laid out: every column wide enough for the widest text
// it can show, and for its two header lines.

#include "shared/UnitKind.h"

#include <QString>
#include <QStringList>

class PickerBox;
class QTableView;

// The texts column `col` of an editor's grid can show at its widest: every
// register number, each command its pickers store, the speed and timer
// numbers, a full signed data value behind an axis letter. Empty for the
// comment columns (free text) and outside the grid.
QStringList ColumnSampleTexts(UnitKind kind, int col);

// Sets every column of an editor's grid: the widest sample text as the
// grid's cells draw it, the header as its header draws it, never narrower
// than the window's design. A comment column is given room for about
// twenty characters of the font. A command, speed or timer column is as wide
// as `picker` (one of the editor's in-place pickers) needs to show each of
// its texts whole.
void FitProgramColumns(QTableView *view, UnitKind kind, const PickerBox *picker = nullptr);
