#include "program/FlexGrid.h"

#include <algorithm>

FlexGrid::FlexGrid(int rows, int cols, int fixedRows)
    : m_rows(rows), m_cols(cols), m_fixedRows(fixedRows), m_row(fixedRows), m_rowSel(fixedRows),
      m_topRow(fixedRows), m_maxTopRow(std::max(fixedRows, rows - 1))
{
}

void FlexGrid::moveTo(int row, int col)
{
    const bool moved = row != m_row || col != m_col;
    m_row = m_rowSel = row;
    m_col = m_colSel = col;
    if (moved && RowColChange)
        RowColChange();
}

void FlexGrid::setRow(int row)
{
    if (validRow(row))
        moveTo(row, m_col);
}

void FlexGrid::setCol(int col)
{
    if (validCol(col))
        moveTo(m_row, col);
}

void FlexGrid::setCursor(int row, int col)
{
    if (validRow(row) && validCol(col))
        moveTo(row, col);
}

void FlexGrid::setRowSel(int row)
{
    if (validRow(row))
        m_rowSel = row;
}

void FlexGrid::setColSel(int col)
{
    if (validCol(col))
        m_colSel = col;
}

void FlexGrid::setTopRow(int row)
{
    m_topRow = std::clamp(row, m_fixedRows, m_maxTopRow);
}

void FlexGrid::setMaxTopRow(int row)
{
    m_maxTopRow = std::clamp(row, m_fixedRows, std::max(m_fixedRows, m_rows - 1));
    m_topRow = std::min(m_topRow, m_maxTopRow);
}
