#include "program/RegisterClipboard.h"

#include "platform/Dialogs.h"
#include "program/ProgramTable.h"

#include <algorithm>
#include <vector>

EditClipboard clip;

void ResetEditClipboard()
{
    clip = EditClipboard{};
}

namespace {

// The registers of a run that lie in the table, and how many do not; the
// buffer holds at most kClipRows of them.
struct RunInTable {
    int first = 0;
    int count = 0;
    int leftOut = 0;
};

RunInTable inTable(const ProgramTable &table, int first, int count)
{
    RunInTable r;
    count = std::max(count, 0);
    const int lo = std::max(first, 0);
    const long long hi = std::min<long long>(static_cast<long long>(first) + count, table.RegisterCount());
    r.first = lo;
    r.count = hi > lo ? int(hi - lo) : 0;
    r.count = std::min(r.count, kClipRows);
    r.leftOut = count - r.count;
    return r;
}

bool readRun(ProgramTable &table, int axis, const RunInTable &run, std::vector<ClipRow> &rows)
{
    rows.clear();
    rows.reserve(std::size_t(run.count));
    for (int i = 0; i < run.count; ++i) {
        const auto row = table.Axis(run.first + i, axis);
        if (!row)
            return false;
        rows.push_back(*row);
    }
    return true;
}

void putInBuffer(const std::vector<ClipRow> &rows)
{
    for (std::size_t i = 0; i < rows.size() && i < clip.ClipBuf.size(); ++i)
        clip.ClipBuf[i] = rows[i];
    clip.ClipCount = int(rows.size());
}

} // namespace

ClipOutcome CopyRegisters(ProgramTable &table, RegisterRun run)
{
    const RunInTable r = inTable(table, run.first, run.count);
    std::vector<ClipRow> rows;
    if (AxisStartColumn(run.axis) < 0 || !readRun(table, run.axis, r, rows))
        return {false, 0, 0};
    putInBuffer(rows);
    return {true, r.count, r.leftOut};
}

ClipOutcome CutRegisters(ProgramTable &table, RegisterRun run)
{
    const RunInTable r = inTable(table, run.first, run.count);
    if (AxisStartColumn(run.axis) < 0)
        return {false, 0, 0};
    std::vector<ClipRow> rows;
    const bool ok = table.InTransaction([&] {
        // The whole run is read before the first row is emptied.
        if (!readRun(table, run.axis, r, rows))
            return false;
        for (int i = 0; i < r.count; ++i)
            if (!table.WriteAxis(r.first + i, run.axis, ClipRow{}))
                return false;
        return true;
    });
    if (!ok)
        return {false, 0, 0};
    putInBuffer(rows);
    return {true, r.count, r.leftOut};
}

ClipOutcome PasteRegisters(ProgramTable &table, int axis, int first)
{
    const RunInTable r = inTable(table, first, std::clamp(clip.ClipCount, 0, kClipRows));
    if (AxisStartColumn(axis) < 0)
        return {false, 0, 0};
    const bool ok = table.InTransaction([&] {
        for (int i = 0; i < r.count; ++i)
            if (!table.WriteAxis(r.first + i, axis, clip.ClipBuf[std::size_t(r.first - first + i)]))
                return false;
        return true;
    });
    if (!ok)
        return {false, 0, 0};
    return {true, r.count, r.leftOut};
}

bool ClearProgram(ProgramTable &table)
{
    ProgramTable::FieldValues empty;
    for (int col = 0; col < kProgramFields; ++col)
        if (AxisOfColumn(col) >= 0)
            empty.emplace_back(col, QString(""));
    return table.InTransaction([&] {
        for (int reg = 0; reg < table.RegisterCount(); ++reg)
            if (!table.WriteFields(reg, empty))
                return false;
        return true;
    });
}

void ReportLeftOut(int leftOut, int lastRegister)
{
    if (leftOut <= 0)
        return;
    MsgBox(QStringLiteral("%1 row(s) fell outside registers 0 to %2 and were left out.").arg(leftOut).arg(lastRegister),
           MsgButtons::Ok, QStringLiteral("ZT260A/ZT460A"), MsgIcon::Exclamation);
}
