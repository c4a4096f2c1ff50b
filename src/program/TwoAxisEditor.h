#pragma once
// What the 2-axis program editor does, without a window: the grid's cursor
// and selection, the four pick lists laid over a clicked CMD, SPD or TIM
// cell of X or Y, data and comments entered through an input box, the
// register label and the Edit menu. The window frmPrgEdit turns Qt events
// into calls on this and shows the state it leaves.

#include "program/FourAxisEditor.h"
#include "program/FlexGrid.h"
#include "program/PickerLists.h"
#include "program/ProgramGridModel.h"

#include <QString>
#include <array>
#include <functional>
#include <optional>

class ProgramTable;

// The four lists, in the order they are hidden.
enum class TwoAxisList { X_CMD, Y_CMD, Spd, Tim };
constexpr int kTwoAxisLists = 4;

class TwoAxisEditor
{
public:
    explicit TwoAxisEditor(ProgramTable &table);

    ProgramTable &table() { return m_table; }
    FlexGrid grid;
    ProgramGridModel model;
    std::array<InPlaceEditor, kTwoAxisLists> lists;
    InPlaceEditor &list(TwoAxisList l) { return lists[std::size_t(l)]; }
    const InPlaceEditor &list(TwoAxisList l) const { return lists[std::size_t(l)]; }
    static PickerList ListOf(TwoAxisList l);

    // The register label: the current row's register, signed form (" 5").
    QString Label6;

    // Opening the normal block copy window (right button on the 4-axis
    // unit); unset, nothing.
    std::function<void()> OpenBlockCopy;

    // Reads the whole table into the grid. False, with the grid left as it
    // was and the operator told, when the table cannot be read.
    bool Refresh();
    void WriteHeaders();
    // Every activation: the table read again, the headers written, the
    // grid back at register 0 with the cursor on its X CMD cell.
    void Form_Activate();

    void MSFlexGrid1_DblClick();
    void MSFlexGrid1_MouseUp(int button);
    void MSFlexGrid1_Scroll();
    void MSFlexGrid1_SelChange();
    // A key that opens a drop-down list (Alt+Down, F4) on the grid: the
    // list of the cursor cell, laid over it as a click lays it, whose items
    // the window then opens. None on a cell that has no list.
    std::optional<TwoAxisList> ListToOpen();

    // A choice in a list (its item index).
    void X_CMD_Click(int listIndex) { ListClick(TwoAxisList::X_CMD, listIndex); }
    void Y_CMD_Click(int listIndex) { ListClick(TwoAxisList::Y_CMD, listIndex); }
    void Spd_Click(int listIndex) { ListClick(TwoAxisList::Spd, listIndex); }
    void Tim_Click(int listIndex) { ListClick(TwoAxisList::Tim, listIndex); }
    void ListClick(TwoAxisList l, int listIndex);

    // Edit menu: 0 Cut, 1 Copy, 2 Paste, 4 ALL Clear.
    void EditItem_Click(int index);

private:
    void hideLists();
    void place(TwoAxisList l);
    bool store(int row, const std::vector<std::pair<int, QString>> &fields);
    void commandClick(TwoAxisList l, int listIndex);
    void numberClick(TwoAxisList l, int listIndex);
    void paste();

    ProgramTable &m_table;
};
