#include "program/TwoAxisEditor.h"

#include "platform/Dialogs.h"
#include "program/EditCommands.h"
#include "program/ProgramTable.h"
#include "program/TextEntry.h"
#include "shared/NumberText.h"
#include "shared/Shared.h"

namespace {
constexpr int kCommandWidth = 700;
constexpr int kNumberWidth = 520;

// The input box of a DATA or COMMENT cell of X or Y: prompt and title.
struct EntryBox {
    int col;
    const char *prompt;
    const char *title;
};
constexpr EntryBox kEntryBoxes[] = {
    {2, "Input Data", "X Data"},
    {5, "Input Comment", "X Data"},
    {7, "Input Data", "Y Data"},
    {10, "Input Comment", "Y Data"},
};

// The list that serves a cell of the X or Y axis; none for the others.
std::optional<TwoAxisList> listOfColumn(int col)
{
    switch (col) {
    case 1: return TwoAxisList::X_CMD;
    case 6: return TwoAxisList::Y_CMD;
    case 3:
    case 8: return TwoAxisList::Spd;
    case 4:
    case 9: return TwoAxisList::Tim;
    default: return std::nullopt;
    }
}

} // namespace

TwoAxisEditor::TwoAxisEditor(ProgramTable &table)
    : grid(RegisterCount(UnitKind::TwoAxis) + kHeaderRows, kProgramFields, kHeaderRows),
      model(RegisterCount(UnitKind::TwoAxis)), m_table(table)
{
    // Laid-out texts, until a list is first placed.
    const char *const laidOut[kTwoAxisLists] = {"X Cmd", "Y Cmd", "Speed", "Time"};
    for (int i = 0; i < kTwoAxisLists; ++i) {
        lists[std::size_t(i)].Text = QLatin1String(laidOut[i]);
        lists[std::size_t(i)].WidthTwips = i < 2 ? kCommandWidth : kNumberWidth;
    }
    // Whenever the cursor moves, a list laid over the old cell goes, so a
    // choice always writes the cell it was drawn over.
    grid.RowColChange = [this] {
        hideLists();
        MSFlexGrid1_SelChange();
    };
    MSFlexGrid1_SelChange();
}

PickerList TwoAxisEditor::ListOf(TwoAxisList l)
{
    switch (l) {
    case TwoAxisList::X_CMD: return PickerList::X2;
    case TwoAxisList::Y_CMD: return PickerList::Y2;
    case TwoAxisList::Spd: return PickerList::Spd2;
    default: return PickerList::Tim2;
    }
}

bool TwoAxisEditor::Refresh()
{
    auto records = ReadProgram(m_table);
    if (!records)
        return false;
    hideLists();
    model.Fill(std::move(*records));
    return true;
}

void TwoAxisEditor::WriteHeaders()
{
    model.WriteHeaders(Header2Text);
}

void TwoAxisEditor::Form_Activate()
{
    Refresh();
    WriteHeaders();
    grid.setTopRow(RowOfRegister(0));
    grid.setCol(1);
    grid.setRow(RowOfRegister(0));
    MSFlexGrid1_SelChange();
}

void TwoAxisEditor::hideLists()
{
    for (InPlaceEditor &l : lists)
        l.Visible = false;
}

void TwoAxisEditor::place(TwoAxisList l)
{
    InPlaceEditor &ed = list(l);
    ed.row = grid.Row();
    ed.col = grid.Col();
    // The number lists keep the width they were given at loading.
    if (l == TwoAxisList::X_CMD || l == TwoAxisList::Y_CMD)
        ed.WidthTwips = kCommandWidth;
    ed.Text = model.Text(grid.Row(), grid.Col());
    ed.Visible = true;
}

void TwoAxisEditor::MSFlexGrid1_SelChange()
{
    Label6 = SignedForm(RegisterOfRow(grid.Row()));
}

void TwoAxisEditor::MSFlexGrid1_Scroll()
{
    hideLists();
}

void TwoAxisEditor::MSFlexGrid1_MouseUp(int button)
{
    hideLists();
    if (button != 1) {
        if (button == 2 && CurrentUnitKind() == UnitKind::FourAxis && OpenBlockCopy)
            OpenBlockCopy();
        return;
    }
    if (!grid.SingleCell()) {
        RecordSelection(grid, 2);
        return;
    }
    if (const auto l = listOfColumn(grid.Col()))
        place(*l);
}

std::optional<TwoAxisList> TwoAxisEditor::ListToOpen()
{
    const auto l = listOfColumn(grid.Col());
    if (!l || !grid.SingleCell())
        return std::nullopt;
    hideLists();
    place(*l);
    return l;
}

void TwoAxisEditor::MSFlexGrid1_DblClick()
{
    const int col = grid.Col();
    const int row = grid.Row();
    for (const EntryBox &box : kEntryBoxes) {
        if (box.col != col)
            continue;
        // A double quote or a control character could not travel through a
        // data file and back: the box refuses it and keeps the text, so the
        // operator can mend it.
        const QString answer = InputBox(QLatin1String(box.prompt), QLatin1String(box.title),
                                        TrimTrailingBlanks(model.Text(row, col)), EntryRefusal);
        if (answer.isEmpty())
            return;
        store(row, {{col, answer}});
        return;
    }
}

bool TwoAxisEditor::store(int row, const std::vector<std::pair<int, QString>> &fields)
{
    return StoreAndShow(m_table, model, row, fields);
}

void TwoAxisEditor::ListClick(TwoAxisList l, int listIndex)
{
    // Only a list in sight over the cursor's cell takes a choice.
    const InPlaceEditor &shown = list(l);
    if (!shown.Visible || shown.row != grid.Row() || shown.col != grid.Col())
        return;
    if (l == TwoAxisList::X_CMD || l == TwoAxisList::Y_CMD)
        commandClick(l, listIndex);
    else
        numberClick(l, listIndex);
}

void TwoAxisEditor::commandClick(TwoAxisList l, int listIndex)
{
    const PickerList items = ListOf(l);
    const auto choice = StoredChoice(items, listIndex);
    const int own = l == TwoAxisList::X_CMD ? AxisStartColumn(0) : AxisStartColumn(1);
    list(l).Visible = false;
    if (!choice || grid.Col() != own)
        return;
    list(l).Text = PickerItems(items)[listIndex];
    // A new command empties the data, timer and speed of the axis; the
    // comment stays.
    if (store(grid.Row(), {{own, *choice}, {own + 1, QString("")}, {own + 3, QString("")}, {own + 2, QString("")}}))
        grid.setCol(own + 3);
}

void TwoAxisEditor::numberClick(TwoAxisList l, int listIndex)
{
    const PickerList items = ListOf(l);
    const auto choice = StoredChoice(items, listIndex);
    const CellKind wanted = l == TwoAxisList::Spd ? CellKind::Spd : CellKind::Tim;
    const int col = grid.Col();
    list(l).Visible = false;
    // X and Y only: the Z and U cells are not edited here.
    if (!choice || KindOfColumn(col) != wanted || AxisOfColumn(col) > 1)
        return;
    list(l).Text = PickerItems(items)[listIndex];
    store(grid.Row(), {{col, *choice}});
}

// ---- Edit menu --------------------------------------------------------------

void TwoAxisEditor::EditItem_Click(int index)
{
    switch (index) {
    case 0:
        if (CopySelection(m_table, 2, true))
            Form_Activate();
        break;
    case 1: CopySelection(m_table, 2, false); break;
    case 2: paste(); break;
    case 4:
        if (ClearAsked(m_table, QStringLiteral("All Crear is program code! OK?")))
            Form_Activate();
        break;
    default: break;
    }
}

void TwoAxisEditor::paste()
{
    // The rows go into the axis of the cursor's column, from its register down.
    const int axis = SelectionAxis(grid.Col());
    grid.setCol(AxisStartColumn(axis));
    PasteBuffer(m_table, axis, RegisterOfRow(grid.Row()));
    hideLists();
    Form_Activate();
}
