#include "program/FourAxisEditor.h"

#include "platform/Dialogs.h"
#include "program/ProgramTable.h"
#include "program/EditCommands.h"
#include "shared/Shared.h"

namespace {
constexpr int kPickerCmdWidth = 700;
constexpr int kDataWidth = 1000;
constexpr int kCommentWidth = 2000;
// Laid-out widths; Spd and Tim are narrowed when the window loads.
constexpr int kLaidOutWidth[kInPlaceEditors] = {705, 700, 735, 735, 520, 520, 2415};
}

FourAxisEditor::FourAxisEditor(ProgramTable &table)
    : grid(RegisterCount(UnitKind::FourAxis) + kHeaderRows, kProgramFields, kHeaderRows),
      model(RegisterCount(UnitKind::FourAxis)), m_table(table)
{
    for (int i = 0; i < kInPlaceEditors; ++i)
        editors[std::size_t(i)].WidthTwips = kLaidOutWidth[i];
    grid.RowColChange = [this] { MSFlexGrid1_RowColChange(); };
}

PickerList FourAxisEditor::ListOf(InPlace picker)
{
    switch (picker) {
    case InPlace::X_CMD: return PickerList::X4;
    case InPlace::EX_CMD: return PickerList::X4Ext;
    case InPlace::Y_CMD: return PickerList::Y4;
    case InPlace::EY_CMD: return PickerList::Y4Ext;
    case InPlace::Spd: return PickerList::Spd4;
    default: return PickerList::Tim4;
    }
}

bool FourAxisEditor::Refresh()
{
    auto records = ReadProgram(m_table);
    if (!records)
        return false;
    // Editors laid over the old texts would store stale ones.
    hideAll();
    model.Fill(std::move(*records));
    return true;
}

void FourAxisEditor::WriteHeaders()
{
    model.WriteHeaders(Header4Text);
}

void FourAxisEditor::Form_Activate()
{
    WriteHeaders();
    grid.setCol(1);
    grid.setRow(RowOfRegister(0));
}

void FourAxisEditor::SSTab1_Click(int tab)
{
    if (tab >= 0 && tab < kRegisterPages)
        grid.setTopRow(RowOfRegister(tab * kPageRegisters));
}

// ---- in-place editors -------------------------------------------------------

void FourAxisEditor::hideAll()
{
    for (InPlaceEditor &e : editors)
        e.Visible = false;
}

void FourAxisEditor::hidePickers()
{
    for (InPlace e : {InPlace::X_CMD, InPlace::EX_CMD, InPlace::Y_CMD, InPlace::EY_CMD, InPlace::Spd, InPlace::Tim})
        editor(e).Visible = false;
}

void FourAxisEditor::setTextInput(const QString &text)
{
    editor(InPlace::TextInput1).Text = text;
    TextInput1_Change();
}

void FourAxisEditor::place(InPlace e, int widthTwips, const QString &text)
{
    InPlaceEditor &ed = editor(e);
    ed.row = grid.Row();
    ed.col = grid.Col();
    if (widthTwips > 0)
        ed.WidthTwips = widthTwips;
    if (e == InPlace::TextInput1)
        setTextInput(text);
    else
        ed.Text = text;
    ed.Visible = true;
}

InPlace FourAxisEditor::commandPicker(int col) const
{
    const bool extended = g.ExtendedCmdSet != 0;
    if (col == AxisStartColumn(0))
        return extended ? InPlace::EX_CMD : InPlace::X_CMD;
    return extended ? InPlace::EY_CMD : InPlace::Y_CMD;
}

void FourAxisEditor::MSFlexGrid1_RowColChange()
{
    hideAll();
    if (!grid.SingleCell()) {
        widenSelection();
        return;
    }
    const int col = grid.Col();
    const QString cell = model.Text(grid.Row(), col);
    switch (KindOfColumn(col)) {
    case CellKind::Reg:
        // The first REG column leaves the focus alone; the second gives it to the grid.
        if (col != 0)
            focus = Focus::Grid;
        return;
    case CellKind::Cmd:
    case CellKind::Spd:
    case CellKind::Tim: placePicker(); break;
    case CellKind::Dat: place(InPlace::TextInput1, kDataWidth, TrimBlanks(cell)); break;
    case CellKind::Cmt: place(InPlace::TextInput1, kCommentWidth, TrimBlanks(cell)); break;
    case CellKind::None: return;
    }
    focus = Focus::Grid;
}

std::optional<InPlace> FourAxisEditor::placePicker()
{
    const int col = grid.Col();
    const QString cell = model.Text(grid.Row(), col);
    switch (KindOfColumn(col)) {
    case CellKind::Cmd: {
        const InPlace picker = commandPicker(col);
        place(picker, kPickerCmdWidth, cell);
        return picker;
    }
    case CellKind::Spd: place(InPlace::Spd, 0, cell); return InPlace::Spd;
    case CellKind::Tim: place(InPlace::Tim, 0, cell); return InPlace::Tim;
    default: return std::nullopt;
    }
}

std::optional<InPlace> FourAxisEditor::PickerToOpen()
{
    for (InPlace e : {InPlace::X_CMD, InPlace::EX_CMD, InPlace::Y_CMD, InPlace::EY_CMD, InPlace::Spd, InPlace::Tim})
        if (onCursorCell(e))
            return e;
    if (!grid.SingleCell())
        return std::nullopt;
    // A scroll hid it: laid again as the cursor's move laid it.
    hidePickers();
    const auto picker = placePicker();
    if (picker)
        focus = Focus::Grid;
    return picker;
}

bool FourAxisEditor::onCursorCell(InPlace e) const
{
    const InPlaceEditor &ed = editor(e);
    return ed.Visible && ed.row == grid.Row() && ed.col == grid.Col();
}

void FourAxisEditor::widenSelection()
{
    RecordSelection(grid, 4);
}

void FourAxisEditor::MSFlexGrid1_MouseDown(int)
{
    if (grid.Col() == 11)
        grid.setCol(12);
}

void FourAxisEditor::MSFlexGrid1_Scroll()
{
    hideAll();
}

void FourAxisEditor::MSFlexGrid1_MouseUp(int button)
{
    hideAll();
    if (button == 1) {
        if (grid.SingleCell())
            singleCellRelease();
        else
            widenSelection();
    } else if (button == 2 && OpenBlockCopy) {
        OpenBlockCopy();
    }
}

void FourAxisEditor::singleCellRelease()
{
    const int col = grid.Col();
    const QString cell = model.Text(grid.Row(), col);
    switch (KindOfColumn(col)) {
    case CellKind::Cmd:
    case CellKind::Spd:
    case CellKind::Tim: placePicker(); break;
    case CellKind::Cmt:
        place(InPlace::TextInput1, kCommentWidth, TrimTrailingBlanks(cell));
        focus = Focus::Text;
        break;
    case CellKind::Dat: {
        // After a motion command an empty data cell keeps what was last
        // typed, so a value can be carried on to the next register.
        const int axis = AxisOfColumn(col);
        const QString &command = editor(axis == 0 ? InPlace::X_CMD : InPlace::Y_CMD).Text;
        InPlaceEditor &box = editor(InPlace::TextInput1);
        if (IsMotionCommand(axis, command) && cell.isEmpty())
            place(InPlace::TextInput1, kDataWidth, box.Text);
        else
            place(InPlace::TextInput1, kDataWidth, TrimTrailingBlanks(cell));
        focus = Focus::Text;
        break;
    }
    default:
        break;
    }
}

// ---- writing a register ---------------------------------------------------

bool FourAxisEditor::storeFields(int row, const std::vector<std::pair<int, QString>> &fields)
{
    return StoreAndShow(m_table, model, row, fields);
}

void FourAxisEditor::PickerClick(InPlace picker, int listIndex)
{
    switch (picker) {
    case InPlace::X_CMD:
    case InPlace::EX_CMD:
    case InPlace::Y_CMD:
    case InPlace::EY_CMD: commandClick(picker, listIndex); break;
    case InPlace::Spd:
    case InPlace::Tim: numberClick(picker, listIndex); break;
    default: break;
    }
}

void FourAxisEditor::commandClick(InPlace picker, int listIndex)
{
    const PickerList list = ListOf(picker);
    const auto choice = StoredChoice(list, listIndex);
    const int col = grid.Col();
    const int row = grid.Row();
    // The X pickers serve column 1 only, the Y pickers the other CMD columns.
    const bool xPicker = picker == InPlace::X_CMD || picker == InPlace::EX_CMD;
    // Only a picker in sight over the cursor's cell takes a choice, so a
    // choice always writes the cell it was drawn over.
    if (!choice || !onCursorCell(picker) || KindOfColumn(col) != CellKind::Cmd
        || xPicker != (col == AxisStartColumn(0)))
        return;
    editor(picker).Text = PickerItems(list)[listIndex];
    // A new command empties the data, timer and speed of the axis; the
    // comment stays.
    const bool ok = storeFields(row, {{col, *choice}, {col + 1, QString("")}, {col + 3, QString("")},
                                      {col + 2, QString("")}});
    editor(picker).Visible = false;
    if (ok)
        grid.setCol(col + 1);
}

void FourAxisEditor::numberClick(InPlace picker, int listIndex)
{
    const PickerList list = ListOf(picker);
    const auto choice = StoredChoice(list, listIndex);
    const int col = grid.Col();
    const CellKind wanted = picker == InPlace::Spd ? CellKind::Spd : CellKind::Tim;
    if (!choice || !onCursorCell(picker) || KindOfColumn(col) != wanted)
        return;
    editor(picker).Text = PickerItems(list)[listIndex];
    const bool ok = storeFields(grid.Row(), {{col, *choice}});
    editor(picker).Visible = false;
    if (ok)
        grid.setCol(col + 1);
}

// ---- typing -----------------------------------------------------------------

void FourAxisEditor::MSFlexGrid1_KeyPress(int keyAscii)
{
    const int col = grid.Col();
    const GridKeyAction action = GridKeyFor4(col, keyAscii);
    switch (action.kind) {
    case GridKeyAction::Nothing:
        return;
    case GridKeyAction::Store:
        if (storeFields(grid.Row(), {{col, action.value}}))
            grid.setCol(col + 1);
        return;
    case GridKeyAction::StartText: {
        InPlaceEditor &box = editor(InPlace::TextInput1);
        // After a scroll the box is hidden: lay it over the cell again first.
        if (!box.Visible || box.row != grid.Row() || box.col != col) {
            hideAll();
            const QString cell = model.Text(grid.Row(), col);
            place(InPlace::TextInput1, KindOfColumn(col) == CellKind::Dat ? kDataWidth : kCommentWidth,
                  TrimBlanks(cell));
        }
        focus = Focus::Text;
        const QChar c{char16_t(keyAscii)};
        if (keyAscii >= 8 && keyAscii <= 13)
            setTextInput(QString());
        else if (keyAscii > 0 && keyAscii <= 0xffff && EntryCharAccepted(c))
            setTextInput(QString(c));
        return;
    }
    }
}

void FourAxisEditor::TextInput1_Change()
{
    InPlaceEditor &box = editor(InPlace::TextInput1);
    const QString kept = AfterEntryChange(box.Text);
    if (kept != box.Text) {
        box.Text = kept;
        TextInput1_Change();
        return;
    }
    TextCaret = int(box.Text.size());
    CaretToEnd = true;
}

void FourAxisEditor::TextPos()
{
    Label1 = CaretLabelText(editor(InPlace::TextInput1).Text, TextCaret);
}

void FourAxisEditor::TextInput1_KeyDown(int keyCode)
{
    if (keyCode == 13)
        return;
    int copy = keyCode;
    textKey(copy, true);
}

void FourAxisEditor::TextInput1_KeyPress(int &keyAscii)
{
    textKey(keyAscii, false);
}

void FourAxisEditor::textKey(int &key, bool fromKeyDown)
{
    TextPos();
    EntryKey entry;
    if (!fromKeyDown && key == 13)
        entry = EntryKey::Enter;
    else if (fromKeyDown && key >= 37 && key <= 40)
        entry = key == 37 ? EntryKey::Left : key == 38 ? EntryKey::Up : key == 39 ? EntryKey::Right : EntryKey::Down;
    else {
        if (!fromKeyDown && key != 8 && (key <= 0 || key > 0xffff || !EntryCharAccepted(QChar(char16_t(key)))))
            key = 0;
        return;
    }

    InPlaceEditor &box = editor(InPlace::TextInput1);
    const int row = grid.Row();
    const int col = grid.Col();
    const CellKind kind = KindOfColumn(col);
    key = 0;
    if (kind == CellKind::Dat || kind == CellKind::Cmt) {
        const auto text = StoredEntryText(box.Text);
        if (!text) {
            MsgBox(EntryRefusal(box.Text), MsgButtons::Ok, QStringLiteral("ZT260A/ZT460A"), MsgIcon::Critical);
            return;
        }
        // A refused store leaves the box open with the text, and no move.
        if (!storeFields(row, {{col, *text}}))
            return;
    }
    box.Visible = false;
    focus = Focus::Grid;
    if (const auto to = MoveAfterStore(entry, row, col, m_table.LastRegister())) {
        if (to->row != row)
            grid.setRow(to->row);
        else
            grid.setCol(to->col);
    }
}

// ---- Edit menu --------------------------------------------------------------

void FourAxisEditor::EditItem_Click(int index)
{
    if (index < 0 || index > 4 || index == 3)
        return;
    SavedTopRow = grid.TopRow();
    switch (index) {
    case 0: cut(); break;
    case 1: copy(); break;
    case 2: paste(); break;
    default: clear(); break;
    }
    grid.setTopRow(SavedTopRow);
}

void FourAxisEditor::copy()
{
    CopySelection(m_table, 4, false);
}

void FourAxisEditor::cut()
{
    if (!CopySelection(m_table, 4, true))
        return;
    Refresh();
    Form_Activate();
}

void FourAxisEditor::paste()
{
    // The rows go into the axis of the cursor's column, from its register down.
    const int axis = SelectionAxis(grid.Col());
    grid.setCol(AxisStartColumn(axis));
    PasteBuffer(m_table, axis, RegisterOfRow(grid.Row()));
    Refresh();
    hidePickers();
    Form_Activate();
}

void FourAxisEditor::clear()
{
    if (!ClearAsked(m_table, QStringLiteral("All of program will be delete! OK?")))
        return;
    Refresh();
    Form_Activate();
}
