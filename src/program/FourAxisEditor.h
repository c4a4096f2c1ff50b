#pragma once
// What the 4-axis program editor does, without a window: the grid's cursor
// and selection, which in-place editor lies over which cell and with what
// text, typing on the grid, the data and comment entry, the pickers'
// choices and the Edit menu. The window frmPrgEdit2 turns Qt events into
// calls on this and shows the state it leaves.

#include "program/FlexGrid.h"
#include "program/PickerLists.h"
#include "program/ProgramGridModel.h"
#include "program/TextEntry.h"

#include <QString>
#include <array>
#include <functional>
#include <optional>

class ProgramTable;

// The seven in-place editors, in the order they are hidden.
enum class InPlace { X_CMD, Y_CMD, EX_CMD, EY_CMD, Spd, Tim, TextInput1 };
constexpr int kInPlaceEditors = 7;

struct InPlaceEditor {
    bool Visible = false;
    QString Text;
    int WidthTwips = 0;
    // The cell it was laid over.
    int row = 0;
    int col = 0;
};

class FourAxisEditor
{
public:
    explicit FourAxisEditor(ProgramTable &table);

    ProgramTable &table() { return m_table; }
    FlexGrid grid;
    ProgramGridModel model;
    std::array<InPlaceEditor, kInPlaceEditors> editors;
    InPlaceEditor &editor(InPlace e) { return editors[std::size_t(e)]; }
    const InPlaceEditor &editor(InPlace e) const { return editors[std::size_t(e)]; }
    // The picker list each editor offers (TextInput1 has none).
    static PickerList ListOf(InPlace picker);

    // Caret label, and the caret of the text box as the window last saw it
    // (the start of the selection when there is one).
    QString Label1;
    int TextCaret = 0;
    // Every change of the box's text puts the caret after its last
    // character; the window does so and clears this. Between changes the
    // caret and the selection are the operator's.
    bool CaretToEnd = false;

    // Where the keyboard focus should go after the last call; the window
    // takes it and sets it back to Unchanged.
    enum class Focus { Unchanged, Grid, Text } focus = Focus::Unchanged;

    // Opening the normal block copy window (right button); unset, nothing.
    std::function<void()> OpenBlockCopy;

    // Reads the whole table into the grid ("Refresh" of the data source).
    // False, with the grid left as it was and the operator told, when the
    // table cannot be read.
    bool Refresh();

    // The two header rows; then the cursor to register 0's X CMD cell.
    void WriteHeaders();
    void Form_Activate();
    void SSTab1_Click(int tab);

    void MSFlexGrid1_RowColChange();
    void MSFlexGrid1_MouseDown(int button);
    void MSFlexGrid1_MouseUp(int button);
    void MSFlexGrid1_Scroll();
    void MSFlexGrid1_KeyPress(int keyAscii);
    // A key that opens a drop-down list (Alt+Down, F4) on the grid: the
    // picker laid over the cursor cell, whose list the window then opens;
    // laid there first when a scroll took it away. None on a cell that has
    // no picker.
    std::optional<InPlace> PickerToOpen();

    // A choice in a picker (ListIndex); the X and Y command pickers serve
    // their extended twins too.
    void X_CMD_Click(int listIndex) { commandClick(InPlace::X_CMD, listIndex); }
    void EX_CMD_Click(int listIndex) { commandClick(InPlace::EX_CMD, listIndex); }
    void Y_CMD_Click(int listIndex) { commandClick(InPlace::Y_CMD, listIndex); }
    void EY_CMD_Click(int listIndex) { commandClick(InPlace::EY_CMD, listIndex); }
    void Spd_Click(int listIndex) { numberClick(InPlace::Spd, listIndex); }
    void Tim_Click(int listIndex) { numberClick(InPlace::Tim, listIndex); }
    void PickerClick(InPlace picker, int listIndex);

    // The text box: its text changed (editor(TextInput1).Text holds the new
    // text); a key went down (key code: 13 Enter, 37..40 arrows); a
    // character was typed (set to 0 when it is consumed or refused).
    void TextInput1_Change();
    void TextInput1_KeyDown(int keyCode);
    void TextInput1_KeyPress(int &keyAscii);
    void TextPos();

    // Edit menu: 0 Cut, 1 Copy, 2 Paste, 4 Clear.
    void EditItem_Click(int index);

private:
    void hideAll();
    void hidePickers();
    void place(InPlace e, int widthTwips, const QString &text);
    void setTextInput(const QString &text);
    // Lays the picker of the cursor cell's column over it; none on a
    // column without one.
    std::optional<InPlace> placePicker();
    void singleCellRelease();
    bool onCursorCell(InPlace e) const;
    void widenSelection();
    InPlace commandPicker(int col) const;
    void commandClick(InPlace picker, int listIndex);
    void numberClick(InPlace picker, int listIndex);
    bool storeFields(int row, const std::vector<std::pair<int, QString>> &fields);
    void textKey(int &key, bool fromKeyDown);
    void cut();
    void copy();
    void paste();
    void clear();

    ProgramTable &m_table;
    // The grid's top row, put back after an Edit menu command.
    int SavedTopRow = 0;
};
