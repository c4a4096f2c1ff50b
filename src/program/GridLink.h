#pragma once
// Ties a program grid's view (a QTableView over a ProgramGridModel) to the
// FlexGrid its editor's handlers work on: mouse presses, drags and keys
// move the FlexGrid's cursor and selection, and the view shows them and
// follows its first row. Both editor windows use it; what a press, release
// or double click then does is the window's business.

#include <QRect>

class FlexGrid;
class ProgramGridModel;
class QEvent;
class QKeyEvent;
class QTableView;

struct GridMouse {
    enum Kind { None, Press, DoubleClick, Move, Release } kind = None;
    int button = 0;   // 1 left, 2 right, 4 middle
};

class GridLink
{
public:
    GridLink(QTableView *view, FlexGrid &grid, ProgramGridModel &model);

    // Grid rows (register + 2) as the view shows them: the first visible
    // one, and where a cell lies on the viewport.
    int viewTopRow() const;
    QRect cellRect(int row, int col) const;
    // Tells the grid how far the view can scroll.
    void updateMaxTopRow();
    // The view scrolled: the grid's first row follows it.
    void scrolled();
    // True while the view scrolls to bring the cursor into sight.
    bool following() const { return m_following; }

    // A mouse event on the view's viewport: the left button's press moves
    // the cursor to the cell (with Shift, the selection's other corner) and
    // a drag extends the selection, scrolling on past the edge.
    GridMouse mouseEvent(QEvent *event);

    enum class KeyMove { None, Moved, Extended, Held };
    // Arrow, page, Home and End keys move the cursor; with Shift, when
    // `extend` is allowed, the selection's other corner. With Alt they move
    // nothing (Held): Alt+Down is a drop-down list's key, never a move.
    // None for any other key.
    KeyMove navigationKey(QKeyEvent *event, bool extend);

    // Shows the grid's cursor and selection; with `follow` the view first
    // scrolls the cursor into sight, else it takes the grid's first row.
    void show(bool follow);

private:
    QTableView *m_view;
    FlexGrid &m_grid;
    ProgramGridModel &m_model;
    int m_dragButton = 0;
    bool m_following = false;
};
