#pragma once
// Our data-bound grid: a table whose columns are the fields of a data
// control's table and whose rows are its records, in order. A cell written
// through the grid is stored in its record at once, and the cell then shows
// what the record holds.
//
// Events, as the windows above it expect them:
// - ButtonClick(col): the drop-down button of the current cell was pressed
//   (only in the columns that have one);
// - AfterColEdit(col): the operator finished typing into a cell and the
//   text is stored; while it runs, Row() and Col() are the edited cell,
//   even when the edit ended because the cursor moved on;
// - RowColChange(lastRow, lastCol): the current cell moved; -1 when there
//   was none before.

#include <QTableWidget>

class DataControl;
class QToolButton;

class DataGrid : public QTableWidget
{
    Q_OBJECT
public:
    explicit DataGrid(QWidget *parent = nullptr);

    // Binds the grid to a data control (not owned) and shows its records.
    void setDataSource(DataControl *data);
    DataControl *dataSource() const { return m_data; }
    // Reads every record again into the cells.
    void ReBind();

    // The current cell; -1 when there is none.
    int Row() const;
    int Col() const;
    void setRow(int row);
    void setCol(int col);

    QString CellText(int row, int col) const;
    // Stores `text` into field `col` of record `row` and shows what the
    // record then holds. False (the cell unchanged) for a cell out of range
    // or a store the database refused.
    bool WriteCell(int row, int col, const QString &text);

    // Columns whose current cell shows a drop-down button.
    void setButtonColumn(int col, bool on);
    // Columns the operator cannot type into.
    void setLockedColumn(int col, bool locked);

    // Geometry of the cells, in the grid's viewport.
    int RowTop(int row) const;
    int RowHeightOf() const;
    int ColumnLeft(int col) const;

    QToolButton *cellButton() const { return m_button; }

signals:
    void ButtonClick(int colIndex);
    void AfterColEdit(int colIndex);
    void RowColChange(int lastRow, int lastCol);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void cellEdited(QTableWidgetItem *item);
    void currentMoved(int row, int col, int lastRow, int lastCol);
    void placeButton();
    void markRow(int row);
    QTableWidgetItem *cell(int col, const QString &text);

    DataControl *m_data = nullptr;
    QToolButton *m_button = nullptr;
    QList<bool> m_buttonColumns;
    QList<bool> m_lockedColumns;
    bool m_writing = false;
    int m_editRow = -1;
    int m_editCol = -1;
};
