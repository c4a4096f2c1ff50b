#pragma once
// The program editor of the 4-axis unit: the 2000 registers in a grid with
// in-place pickers and a text box, register pages, the Edit menu and the
// transfer menus. Its behaviour lives in Editor4; this window turns Qt
// events into calls on it and shows what it leaves.

#include "program/Editor4.h"

#include <QWidget>
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

class frmPrgEdit2 : public QWidget
{
    Q_OBJECT
public:
    // The table must be open.
    explicit frmPrgEdit2(ProgramTable &table, QWidget *parent = nullptr);
    ~frmPrgEdit2() override;

    Editor4 logic;
    // The editor's data source: the shared 4-axis program table.
    ProgramTable &Data1;

    QMenuBar *menuBar = nullptr;
    QMenu *Edit = nullptr;
    std::array<QAction *, 5> EditItem{};   // Cut, Copy, Paste, separator, Clear
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
    void Form_Activate();
    void SSTab1_Click(int previousTab);
    void DownLoad_Click();
    void UpLoad_Click();
    void EditItem_Click(int index);
    void ExitBotton_Click();

    // Grid rows (register + 2) as the view shows them: the first visible
    // one, and where a cell lies on the viewport.
    int viewTopRow() const;
    QRect cellRect(int row, int col) const;
    // The widget of an in-place editor.
    QWidget *editorWidget(InPlace e) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildLayout();
    void wire();
    void unload();
    bool gridMouse(QEvent *event);
    bool gridKey(QKeyEvent *event);
    bool textKey(QKeyEvent *event);
    void onScrolled();
    void updateMaxTopRow();
    // Shows the logic's state: cursor and selection, in-place editors,
    // caret label, first row and focus. With `follow`, the view scrolls the
    // cursor into sight first (the editors stay, laid on the new place).
    void sync(bool follow = false);

    bool m_unloaded = false;
    bool m_monitorWasOn = false;
    bool m_following = false;
    bool m_syncing = false;
    bool m_activateOnReturn = true;
    int m_dragButton = 0;
};

// The editor while it is open, else nullptr.
frmPrgEdit2 *PrgEdit2Window();
// Opens the editor on the 4-axis program (or brings the open one to the
// front). Nothing, after a message naming the file, when the program
// database cannot be used.
frmPrgEdit2 *ShowPrgEdit2();
