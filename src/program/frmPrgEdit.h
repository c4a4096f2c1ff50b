#pragma once
// The program editor of the 2-axis unit: its 54 registers in one grid, pick
// lists for commands, speeds and timers, input boxes for data and comments,
// the Edit menu and the transfer menus. Its behaviour lives in TwoAxisEditor;
// this window turns Qt events into calls on it and shows what it leaves.

#include "program/TwoAxisEditor.h"
#include "program/ProgramEditorWindow.h"

#include <array>

class PickerBox;
class ProgramTable;
class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;
class QTableView;

class frmPrgEdit : public ProgramEditorWindow
{
    Q_OBJECT
public:
    // The table must be open.
    explicit frmPrgEdit(ProgramTable &table, QWidget *parent = nullptr);
    ~frmPrgEdit() override;

    TwoAxisEditor logic;
    // The editor's data source: the shared 2-axis program table.
    ProgramTable &Data1;

    QMenuBar *menuBar = nullptr;
    QMenu *Edit = nullptr;
    std::array<QAction *, 5> EditItem{};   // Cut, Copy, Paste, separator, ALL Clear
    QAction *DownLoad = nullptr;
    QAction *UpLoad = nullptr;
    QTableView *MSFlexGrid1 = nullptr;
    PickerBox *X_CMD = nullptr, *Y_CMD = nullptr, *Spd = nullptr, *Tim = nullptr;
    QLabel *Label5 = nullptr;   // "REG ::"
    QLabel *Label6 = nullptr;   // register of the current row
    QLabel *Label7 = nullptr;   // "/ 53"
    QPushButton *Zt260PrgEditExit = nullptr;

    void Form_Load();
    void Form_Activate() override;
    void DownLoad_Click();
    void UpLoad_Click();
    void EditItem_Click(int index);
    void Zt260PrgEditExit_Click();

    PickerBox *listWidget(TwoAxisList l) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void forget() override;
    void gridScrolled() override;
    void layOutGrid() override;

private:
    void buildLayout();
    void wire();
    // Asks, checks the port, runs the main window's 2-axis transfer.
    void runTransfer(bool download);
    bool gridMouse(QEvent *event);
    bool gridKey(QKeyEvent *event);
    // Shows the logic's state: cursor and selection, lists, register label
    // and first row; with `follow` the view scrolls the cursor into sight.
    void sync(bool follow = false) override;
};

// The editor while it is open, else nullptr.
frmPrgEdit *PrgEditWindow();
// Opens the editor on the 2-axis program (or brings the open one to the
// front). Nothing, after a message naming the file, when the program
// database cannot be used.
frmPrgEdit *ShowPrgEdit();
