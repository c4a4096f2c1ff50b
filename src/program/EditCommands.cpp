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
    clip.SelCol = grid.Col();
    clip.SelTopRow = grid.Row();
    clip.SelRowSel = grid.RowSel();
    const int first = AxisStartColumn(SelectionAxis(grid.Col()));
    if (first < 0)
        return;
    // Moving the cursor to the group's first column collapses the selection;
    // it is then drawn again over the whole group.
    grid.setCol(first);
    grid.setRow(clip.SelTopRow);
    grid.setColSel(first + kAxisFields - 1);
    grid.setRowSel(clip.SelRowSel);
    clip.SelCol = grid.Col();
    clip.SelTopRow = grid.Row();
    clip.SelRowSel = grid.RowSel();
    if (clip.SelRowSel == clip.SelTopRow) {
        clip.SelCount = 1;
    } else if (clip.SelTopRow > clip.SelRowSel) {
        clip.SelCount = clip.SelTopRow - clip.SelRowSel + 1;
        clip.SelTopRow = clip.SelRowSel;
    } else {
        clip.SelCount = clip.SelRowSel - clip.SelTopRow + 1;
    }
    clip.SelGrid = gridAxes;
}

bool CopySelection(ProgramTable &table, int gridAxes, bool cut)
{
    if (clip.SelGrid != gridAxes)
        return false;
    const RegisterRun run{SelectionAxis(clip.SelCol), RegisterOfRow(clip.SelTopRow), clip.SelCount};
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
