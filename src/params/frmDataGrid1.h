#pragma once
// The parameter grid window ("Parameter/Mode"): the mode, home-search and
// numeric parameters of every axis on three tabs, each a grid over a table
// of the parameter database. Settings are chosen from picker lists, numbers
// typed and checked; the menus send and read all parameters.

#include "params/ParamGridCells.h"
#include "platform/DataControl.h"

#include <QWidget>
#include <array>

class DataGrid;
class QAction;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenuBar;
class QPushButton;
class QTabWidget;

class frmDataGrid1 : public QWidget
{
    Q_OBJECT
public:
    explicit frmDataGrid1(QWidget *parent = nullptr);
    ~frmDataGrid1() override;

    DataControl Data1, Data2, Data3;     // "Mode", "HomeSearch", "Parameter"
    QTabWidget *SSTab1 = nullptr;
    DataGrid *grdDataGrid = nullptr, *DBGrid1 = nullptr, *DBGrid2 = nullptr;
    QLabel *Label10 = nullptr, *Label11 = nullptr, *Label12 = nullptr, *Label13 = nullptr;   // Mode headings
    QLabel *Label6 = nullptr, *Label7 = nullptr, *Label8 = nullptr, *Label9 = nullptr;       // Home Search headings
    QLabel *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr, *Label5 = nullptr;       // Parameter headings
    QGroupBox *Frame1 = nullptr;
    QLabel *Label1 = nullptr;            // allowed range of the current parameter
    QListWidget *List1 = nullptr, *List2 = nullptr, *List3 = nullptr, *List8 = nullptr,
                *List9 = nullptr, *List10 = nullptr, *List11 = nullptr;
    QPushButton *cmdClose = nullptr;
    QMenuBar *MenuBar = nullptr;
    QAction *DownLoad = nullptr, *UpLoad = nullptr;

    // False, the operator told, when the parameter database cannot be used.
    bool Form_Load();
    void SSTab1_GotFocus();
    void SSTab1_Click(int PreviousTab);
    void grdDataGrid_PopList(int ColIndex);
    void DBGrid1_PopList(int ColIndex);
    void List1_Click();
    void List2_Click();
    void List3_Click();
    void List8_Click();
    void List9_Click();
    void List10_Click();
    void List11_Click();
    void grdDataGrid_RowColChange(int LastRow, int LastCol);
    void DBGrid1_RowColChange(int LastRow, int LastCol);
    void DBGrid2_CheckCell(int ColIndex);
    void DBGrid2_RowColChange(int LastRow, int LastCol);
    void cmdClose_Click();
    void DownLoad_Click();
    void UpLoad_Click();

    // The grid of a tab, and the list widget of a picker list (nullptr for none).
    DataGrid *grid(GridTab tab) const;
    QListWidget *listOf(PickList list) const;
    // Whether the first fill has run.
    bool filled() const { return m_filled; }
    // Shows the tables afresh once filled (a data file load changed them).
    void ShowTables();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildLayout();
    // Column widths, row heights, headings and pickers from the font and
    // the texts the grids can show.
    void layOutGrids();
    std::array<QLabel *, 4> headings(GridTab tab) const;
    void SetGridData();
    void HideLists();
    void popList(GridTab tab, int ColIndex);
    void listClick(PickList list);
    void cursorRule(DataGrid *grid, int LastCol);
    void transfer(bool download);
    void unload();

    bool m_filled = false;
    bool m_loaded = false;   // the grids are bound to their tables
    int m_tab = 0;
    GridTab m_pickTab = GridTab::Mode;
    int m_transferDepth = 0;
};

// The window while it is open, else nullptr.
frmDataGrid1 *DataGridWindow();
// Opens the window (loaded and filled when it is not open) and brings it to
// the front; nullptr, and no window, when its database cannot be used.
frmDataGrid1 *ShowDataGridWindow();

// The load's message for a parameter database it cannot use.
QString DatabaseErrorMessage(const QString &description);
