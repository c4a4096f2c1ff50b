#include "program/EditCommands.h"

#include "platform/Dialogs.h"
#include "program/FlexGrid.h"
#include "program/ProgramGridModel.h"
#include "program/ProgramTable.h"
#include "program/RegisterClipboard.h"
#include "shared/Shared.h"

std::optional<std::vector<QStringList>> ReadProgram(ProgramTable &table)
{
    std::vector<QStringList> records = table.ReadAll();
    if (int(records.size()) != table.RegisterCount()) {
        table.ReportFailure(QStringLiteral("The program could not be read."));
        return std::nullopt;
    }
    return records;
}

bool StoreAndShow(ProgramTable &table, ProgramGridModel &model, int row,
                  const std::vector<std::pair<int, QString>> &fields)
{
    const int reg = RegisterOfRow(row);
    const bool ok = table.WriteFields(reg, fields);
    if (!ok)
        table.ReportFailure(QStringLiteral("Register %1 could not be stored.").arg(reg));
    if (const auto record = table.Record(reg))
        for (const auto &f : fields)
            if (f.first >= 0 && f.first < record->size())
                model.setText(row, f.first, (*record)[f.first]);
    return ok;
}

void RecordSelection(FlexGrid &grid, int gridAxes)
{
    g.SelCol = grid.Col();
    g.SelTopRow = grid.Row();
    g.SelRowSel = grid.RowSel();
    const int first = AxisStartColumn(SelectionAxis(grid.Col()));
    if (first < 0)
        return;
    // Moving the cursor to the group's first column collapses the selection;
    // it is then drawn again over the whole group.
    grid.setCol(first);
    grid.setRow(g.SelTopRow);
    grid.setColSel(first + kAxisFields - 1);
    grid.setRowSel(g.SelRowSel);
    g.SelCol = grid.Col();
    g.SelTopRow = grid.Row();
    g.SelRowSel = grid.RowSel();
    if (g.SelRowSel == g.SelTopRow) {
        g.SelCount = 1;
    } else if (g.SelTopRow > g.SelRowSel) {
        g.SelCount = g.SelTopRow - g.SelRowSel + 1;
        g.SelTopRow = g.SelRowSel;
    } else {
        g.SelCount = g.SelRowSel - g.SelTopRow + 1;
    }
    g.SelGrid = gridAxes;
}

bool CopySelection(ProgramTable &table, int gridAxes, bool cut)
{
    if (g.SelGrid != gridAxes)
        return false;
    const RegisterRun run{SelectionAxis(g.SelCol), RegisterOfRow(g.SelTopRow), g.SelCount};
    // Checked before anything is read or written: part of a selection is
    // never taken.
    if (run.first < 0 || run.count < 0 || run.first + static_cast<long long>(run.count) > table.RegisterCount()) {
        MsgBox(QStringLiteral("The selection reaches past register %1: nothing was %2.")
                   .arg(table.LastRegister())
                   .arg(cut ? QStringLiteral("cut") : QStringLiteral("copied")),
               MsgButtons::Ok, QStringLiteral("ZT260A/ZT460A"), MsgIcon::Exclamation);
        return true;
    }
    const ClipOutcome r = cut ? CutRegisters(table, run) : CopyRegisters(table, run);
    if (!r.ok)
        table.ReportFailure(cut ? QStringLiteral("The registers could not be cut; the program is unchanged.")
                                : QStringLiteral("The registers could not be copied."));
    ReportLeftOut(r.leftOut, table.LastRegister());
    return true;
}

void PasteBuffer(ProgramTable &table, int axis, int first)
{
    const ClipOutcome r = PasteRegisters(table, axis, first);
    if (!r.ok)
        table.ReportFailure(QStringLiteral("The registers could not be pasted; the program is unchanged."));
    ReportLeftOut(r.leftOut, table.LastRegister());
}

bool ClearAsked(ProgramTable &table, const QString &question)
{
    if (MsgBox(question, MsgButtons::OkCancel, QStringLiteral("Message"), MsgIcon::Critical) != MsgResult::Ok)
        return false;
    if (!ClearProgram(table))
        table.ReportFailure(QStringLiteral("The program could not be cleared; it is unchanged."));
    return true;
}
