#pragma once
// The program editor of the 4-axis unit: the 2000 registers in a grid with
// in-place pickers and a text box, register pages, the Edit menu and the
// transfer menus. Its behaviour lives in FourAxisEditor; this window turns Qt
// events into calls on it and shows what it leaves.

#include "program/FourAxisEditor.h"
#include "program/ProgramEditorWindow.h"

#include <array>

class PickerBox;
class ProgramTable;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QTableView;
class TabStrip;

class frmPrgEdit2 : public ProgramEditorWindow
{
    Q_OBJECT
public:
    // The table must be open.
    explicit frmPrgEdit2(ProgramTable &table, QWidget *parent = nullptr);
    ~frmPrgEdit2() override;

    FourAxisEditor logic;
    // The editor's data source: the shared 4-axis program table.
    ProgramTable &Data1;

    QMenuBar *menuBar = nullptr;
    QMenu *Edit = nullptr;
    std::array<QAction *, 5> EditItem{};   // Cut, Copy, Paste, separator, Clear
    // Open the block copy windows (as the right click does) and the expanded one.
    QAction *BlockCopyItem = nullptr;
    QAction *BlockCopyExpandItem = nullptr;
    QAction *DownLoad = nullptr;
    QAction *UpLoad = nullptr;
    TabStrip *SSTab1 = nullptr;
    QTableView *MSFlexGrid1 = nullptr;
    PickerBox *X_CMD = nullptr, *EX_CMD = nullptr, *Y_CMD = nullptr, *EY_CMD = nullptr;
    PickerBox *Spd = nullptr, *Tim = nullptr;
    QLineEdit *TextInput1 = nullptr;
    QLabel *Label1 = nullptr;
    QPushButton *ExitBotton = nullptr;

    void Form_Load();
    void Form_Activate() override;
    void SSTab1_Click(int previousTab);
    void DownLoad_Click();
    void UpLoad_Click();
    void EditItem_Click(int index);
    void ExitBotton_Click();

    // The widget of an in-place editor.
    QWidget *editorWidget(InPlace e) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void forget() override;
    void gridScrolled() override;
    void layOutGrid() override;

private:
    void buildLayout();
    void wire();
    bool gridMouse(QEvent *event);
    bool gridKey(QKeyEvent *event);
    bool textKey(QKeyEvent *event);
    // Shows the logic's state: cursor and selection, in-place editors,
    // caret label, first row and focus. With `follow`, the view scrolls the
    // cursor into sight first (the editors stay, laid on the new place).
    void sync(bool follow = false) override;

};

// The editor while it is open, else nullptr.
frmPrgEdit2 *PrgEdit2Window();
// Opens the editor on the 4-axis program (or brings the open one to the
// front). Nothing, after a message naming the file, when the program
// database cannot be used.
frmPrgEdit2 *ShowPrgEdit2();
