#include "EditorRig.h"

EditorRig::EditorRig()
{
    ed.Refresh();
    ed.grid.setMaxTopRow(RowOfRegister(1980));
}

void EditorRig::click(int row, int col, int button)
{
    if (button == 1)
        ed.grid.setCursor(row, col);
    ed.MSFlexGrid1_MouseDown(button);
    ed.MSFlexGrid1_MouseUp(button);
}

void EditorRig::drag(int row, int col, int toRow, int toCol)
{
    ed.grid.setCursor(row, col);
    ed.MSFlexGrid1_MouseDown(1);
    ed.grid.setRowSel(toRow);
    ed.grid.setColSel(toCol);
    ed.MSFlexGrid1_MouseUp(1);
}

std::optional<InPlace> EditorRig::shown() const
{
    std::optional<InPlace> found;
    for (int i = 0; i < kInPlaceEditors; ++i)
        if (ed.editors[std::size_t(i)].Visible) {
            if (found)
                qFatal("two in-place editors visible at once");
            found = InPlace(i);
        }
    return found;
}

QString EditorRig::stored(int reg, int col) const
{
    const auto rec = fixture.table.Record(reg);
    return rec && col >= 0 && col < rec->size() ? rec->at(col) : QStringLiteral("<unreadable>");
}

int EditorRig::enter(const QString &text, int key)
{
    ed.editor(InPlace::TextInput1).Text = text;
    ed.TextInput1_Change();
    if (key >= 37 && key <= 40) {
        ed.TextInput1_KeyDown(key);
        return 0;
    }
    ed.TextInput1_KeyPress(key);
    return key;
}
