#pragma once
// The frame both program editor windows share: the grid's view tied to the
// editor's FlexGrid, the monitor poll paused from loading to closing, the
// close box doing what Exit does, and a new activation whenever the window
// is come back to from another window of the program.

#include "link/MonitorHold.h"
#include "shared/UnitKind.h"

#include <QWidget>
#include <memory>
#include <optional>

class FlexGrid;
class GridLink;
class ProgramGridModel;
class ProgramTable;
class QTableView;

class ProgramEditorWindow : public QWidget
{
    Q_OBJECT
public:
    ~ProgramEditorWindow() override;

    // Grid rows (register + 2) as the view shows them: the first visible
    // one, and where a cell lies on the viewport.
    int viewTopRow() const;
    QRect cellRect(int row, int col) const;

    // Runs every time the window becomes active anew.
    virtual void Form_Activate() = 0;

    // Measures the DATA columns again (an axis's unit or factor changed, or
    // another page is shown) and lays the in-place editors on their cells.
    void RefitDataColumns();

protected:
    explicit ProgramEditorWindow(QWidget *parent);

    // Ties the grid's view to the editor's grid; its scroll bars and events
    // then reach this window (events through eventFilter). The DATA columns
    // follow the texts of `model` from then on.
    void attachGrid(QTableView *view, FlexGrid &grid, ProgramGridModel &model, UnitKind kind);
    // Unties it and deletes the view before the rest of the window goes;
    // the derived window's destructor calls it.
    void detachGrid();
    // The load step's part: the monitor poll off, its state kept.
    void pauseMonitor();
    // Once: the window forgets itself and the monitor poll goes back on.
    void unload();

    // The window is no longer the open editor.
    virtual void forget() = 0;
    // Shows the logic's state; with `follow` the view scrolls the cursor
    // into sight first.
    virtual void sync(bool follow = false) = 0;
    // The operator scrolled the grid.
    virtual void gridScrolled() = 0;
    // Column widths and row heights from the window's font: at loading,
    // and again whenever the font changes.
    virtual void layOutGrid() = 0;

    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

    std::unique_ptr<GridLink> m_link;
    bool m_syncing = false;

private:
    void onScrolled();

    QTableView *m_view = nullptr;
    UnitKind m_kind = UnitKind::FourAxis;
    bool m_unloaded = false;
    std::optional<MonitorHold> m_monitor;   // the monitor stays quiet while the editor is open
    bool m_activateOnReturn = true;
};

// The shared program table of a model, opened; nullptr after a message
// naming the file when it cannot be used.
ProgramTable *OpenProgramTableOrTell(UnitKind kind);

// Every open program editor measures its DATA columns again: the unit or the
// factor of an axis changed.
void RefitEditorsToScale();

// Shows a modeless window and brings it to the front.
void BringToFront(QWidget *window);
