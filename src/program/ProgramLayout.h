#pragma once
// The program record and the program grid's layout, shared by both editors,
// the transfers, block copies, teaching and the data files: field order,
// the column of each field, axis groups, header texts, column widths and the
// register pages of the 4-axis editor.

#include <QString>
#include <QStringList>

constexpr int kProgramFields = 22;   // Reg1, X_CMD .. Y_CMT, Reg2, Z_CMD .. U_CMT
constexpr int kHeaderRows = 2;       // register n stands in grid row n + 2
constexpr int kAxisFields = 5;       // CMD, DAT, SPD, TIM, CMT
constexpr int kRegisterPages = 20;   // tabs of the 4-axis editor, 100 registers each
constexpr int kPageRegisters = 100;

// What a grid column (= field index) holds.
enum class CellKind { Reg, Cmd, Dat, Spd, Tim, Cmt, None };

// Field names in record order; the index is also the grid column.
const QStringList &ProgramFieldNames();

// The kind of column c; None outside 0..21.
CellKind KindOfColumn(int col);
// Axis (0 X .. 3 U) whose field column c holds; -1 for the REG columns and
// outside the grid.
int AxisOfColumn(int col);
// First column (the CMD column) of an axis: 1, 6, 12, 17; -1 outside 0..3.
int AxisStartColumn(int axis);
// Column of one field of an axis (field 0 CMD .. 4 CMT); -1 when out of range.
int AxisFieldColumn(int axis, int part);

// The axis group a selection beginning in column c is widened to: the REG
// column in front of an axis counts with it (0 with X, 11 with Z). -1
// outside 0..21.
int SelectionAxis(int col);

// Grid row of register n and back.
constexpr int RowOfRegister(int reg) { return reg + kHeaderRows; }
constexpr int RegisterOfRow(int row) { return row - kHeaderRows; }

// Header cell texts of the 4-axis editor (row 0 or 1, column 0..21; "" outside).
QString Header4Text(int row, int col);

// Header cell texts of the 2-axis editor: the axis letter over each field
// column, the field names below ("" outside).
QString Header2Text(int row, int col);

// Column width in twips as both editors set it; 0 outside 0..21.
int ColumnWidthTwips(int col);

// Caption of register page t (0..19); "" outside.
QString RegisterPageCaption(int tab);
