#include "program/GridLink.h"

#include "program/EditorWindow.h"
#include "program/FlexGrid.h"
#include "program/ProgramGridModel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableView>

#include <algorithm>

GridLink::GridLink(QTableView *view, FlexGrid &grid, ProgramGridModel &model)
    : m_view(view), m_grid(grid), m_model(model)
{
}

int GridLink::viewTopRow() const
{
    const int r = m_view->rowAt(0);
    return RowOfRegister(r < 0 ? 0 : r);
}

QRect GridLink::cellRect(int row, int col) const
{
    return m_view->visualRect(m_model.index(RegisterOfRow(row), col));
}

void GridLink::updateMaxTopRow()
{
    m_grid.setMaxTopRow(RowOfRegister(m_view->verticalScrollBar()->maximum()));
    m_grid.setTopRow(viewTopRow());
}

void GridLink::scrolled()
{
    m_grid.setTopRow(viewTopRow());
}

GridMouse GridLink::mouseEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto *m = static_cast<QMouseEvent *>(event);
        const int button = MouseButtonCode(m->button());
        m_view->setFocus();
        if (button == 1) {
            const QModelIndex at = m_view->indexAt(m->position().toPoint());
            if (at.isValid() && (m->modifiers() & Qt::ShiftModifier)) {
                m_grid.setRowSel(RowOfRegister(at.row()));
                m_grid.setColSel(at.column());
            } else if (at.isValid()) {
                m_grid.setCursor(RowOfRegister(at.row()), at.column());
            }
            m_dragButton = 1;
        }
        return {event->type() == QEvent::MouseButtonDblClick ? GridMouse::DoubleClick : GridMouse::Press, button};
    }
    case QEvent::MouseMove: {
        auto *m = static_cast<QMouseEvent *>(event);
        if (m_dragButton != 1 || !(m->buttons() & Qt::LeftButton))
            return {GridMouse::Move, 0};
        QPoint p = m->position().toPoint();
        // Dragging past the edge scrolls the grid on.
        QScrollBar *v = m_view->verticalScrollBar();
        const QRect area = m_view->viewport()->rect();
        if (p.y() < 0)
            v->setValue(v->value() - 1);
        else if (p.y() >= area.height())
            v->setValue(v->value() + 1);
        p.setY(std::clamp(p.y(), 0, area.height() - 1));
        p.setX(std::clamp(p.x(), 0, area.width() - 1));
        const QModelIndex at = m_view->indexAt(p);
        if (at.isValid()) {
            m_grid.setRowSel(RowOfRegister(at.row()));
            m_grid.setColSel(at.column());
        }
        return {GridMouse::Move, 1};
    }
    case QEvent::MouseButtonRelease: {
        const int button = MouseButtonCode(static_cast<QMouseEvent *>(event)->button());
        if (button == 1)
            m_dragButton = 0;
        return {GridMouse::Release, button};
    }
    default:
        return {};
    }
}

GridLink::KeyMove GridLink::navigationKey(QKeyEvent *event, bool extend)
{
    const int page = std::max(1, m_view->viewport()->height() / std::max(1, m_view->rowHeight(0)) - 1);
    extend = extend && (event->modifiers() & Qt::ShiftModifier);
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const int lastRow = m_grid.Rows() - 1;
    int rowTo = extend ? m_grid.RowSel() : m_grid.Row();
    int colTo = extend ? m_grid.ColSel() : m_grid.Col();
    switch (event->key()) {
    case Qt::Key_Up: rowTo -= 1; break;
    case Qt::Key_Down: rowTo += 1; break;
    case Qt::Key_PageUp: rowTo -= page; break;
    case Qt::Key_PageDown: rowTo += page; break;
    case Qt::Key_Left: colTo -= 1; break;
    case Qt::Key_Right: colTo += 1; break;
    case Qt::Key_Home:
        if (ctrl)
            rowTo = kHeaderRows;
        else
            colTo = 0;
        break;
    case Qt::Key_End:
        if (ctrl)
            rowTo = lastRow;
        else
            colTo = m_grid.Cols() - 1;
        break;
    default: return KeyMove::None;
    }
    if (event->modifiers() & Qt::AltModifier)
        return KeyMove::Held;
    rowTo = std::clamp(rowTo, kHeaderRows, lastRow);
    colTo = std::clamp(colTo, 0, m_grid.Cols() - 1);
    if (extend) {
        m_grid.setRowSel(rowTo);
        m_grid.setColSel(colTo);
        return KeyMove::Extended;
    }
    m_grid.setCursor(rowTo, colTo);
    return KeyMove::Moved;
}

void GridLink::show(bool follow)
{
    const QModelIndex cursor = m_model.index(RegisterOfRow(m_grid.Row()), m_grid.Col());
    if (follow) {
        m_following = true;
        m_view->scrollTo(cursor);
        m_following = false;
    } else if (m_grid.TopRow() != viewTopRow()) {
        m_view->verticalScrollBar()->setValue(RegisterOfRow(m_grid.TopRow()));
    }

    QItemSelectionModel *sel = m_view->selectionModel();
    if (m_grid.SingleCell()) {
        sel->clearSelection();
    } else {
        const QModelIndex a = m_model.index(RegisterOfRow(std::min(m_grid.Row(), m_grid.RowSel())),
                                            std::min(m_grid.Col(), m_grid.ColSel()));
        const QModelIndex b = m_model.index(RegisterOfRow(std::max(m_grid.Row(), m_grid.RowSel())),
                                            std::max(m_grid.Col(), m_grid.ColSel()));
        sel->select(QItemSelection(a, b), QItemSelectionModel::ClearAndSelect);
    }
    sel->setCurrentIndex(cursor, QItemSelectionModel::NoUpdate);
}
