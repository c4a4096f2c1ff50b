#pragma once
// Column widths of the program editors' grids, taken from the grid's font
// when the window is laid out: every column wide enough for the widest text
// it can show, and for its two header lines.

#include "shared/UnitKind.h"

#include <QString>
#include <QStringList>

class PickerBox;
class QModelIndex;
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
//
// A DATA column is also as wide as the widest text it holds now and the
// widest the upload can write into it at the axis's unit and factor now (a
// pulse count times the factor, to 15 significant digits, or the widest
// operands of a control instruction); FitDataColumns measures it again.
void FitProgramColumns(QTableView *view, UnitKind kind, const PickerBox *picker = nullptr);

// Measures the DATA columns of an editor's grid again: after the table was
// read anew, the page or the unit of an axis changed.
void FitDataColumns(QTableView *view, UnitKind kind);

// Widens a DATA column among the cells from `topLeft` to `bottomRight` of
// the grid's model where one of the texts written there needs more room.
void WidenDataColumns(QTableView *view, const QModelIndex &topLeft, const QModelIndex &bottomRight);
