#pragma once
// The cursor and selection of a program grid as the editors' handlers see
// them, without a window: the cursor cell (Row, Col), the other corner of
// the selection (RowSel, ColSel) and the first visible scrolling row
// (TopRow). Writing Row or Col collapses the selection to the cursor and
// raises RowColChange when the cursor cell changed, before the write
// returns; writing RowSel or ColSel extends the selection silently.
// A value outside the grid makes a write do nothing.

#include <functional>

class FlexGrid
{
public:
    FlexGrid(int rows, int cols, int fixedRows);

    int Rows() const { return m_rows; }
    int Cols() const { return m_cols; }
    int FixedRows() const { return m_fixedRows; }

    int Row() const { return m_row; }
    int Col() const { return m_col; }
    int RowSel() const { return m_rowSel; }
    int ColSel() const { return m_colSel; }
    bool SingleCell() const { return m_row == m_rowSel && m_col == m_colSel; }

    void setRow(int row);
    void setCol(int col);
    // The cursor to a cell in one move (a click on it): one notification.
    void setCursor(int row, int col);
    void setRowSel(int row);
    void setColSel(int col);

    int TopRow() const { return m_topRow; }
    // Clamped to the rows the view can put at its top.
    void setTopRow(int row);
    // The last row the view can scroll to the top (the window tells it).
    void setMaxTopRow(int row);

    std::function<void()> RowColChange;

private:
    bool validRow(int row) const { return row >= m_fixedRows && row < m_rows; }
    bool validCol(int col) const { return col >= 0 && col < m_cols; }
    void moveTo(int row, int col);

    int m_rows, m_cols, m_fixedRows;
    int m_row, m_col = 0, m_rowSel, m_colSel = 0;
    int m_topRow, m_maxTopRow;
};
