#include "program/BlockCopy.h"

#include "program/ProgramTable.h"

namespace {
bool running = false;

constexpr int kRangeBoxLimit = 2000;

// A register box's number: digits only, within the 4-axis program.
std::optional<int> registerNumber(const QString &text)
{
    if (text.isEmpty() || text.size() > 4)
        return std::nullopt;
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return std::nullopt;
    const int v = text.toInt();
    if (v > LastRegister(UnitKind::FourAxis))
        return std::nullopt;
    return v;
}

// A whole range that fits the program: whole numbers, and when it copies
// anything its last destination register within the table. A start above
// the end copies nothing and passes.
std::optional<CopyStep> readRange(int source, const RangeBoxes &boxes, const std::array<bool, kAxes> &dest)
{
    const auto first = registerNumber(boxes.text[0]);
    const auto last = registerNumber(boxes.text[1]);
    const auto copyTo = registerNumber(boxes.text[2]);
    if (!first || !last || !copyTo)
        return std::nullopt;
    if (*first <= *last && *copyTo + (*last - *first) > LastRegister(UnitKind::FourAxis))
        return std::nullopt;
    return CopyStep{source, *first, *last, *copyTo, dest};
}

bool anyChecked(const std::array<CopyBox, kAxes> &boxes)
{
    for (const CopyBox &b : boxes)
        if (b.checked)
            return true;
    return false;
}

std::array<bool, kAxes> ticks(const std::array<CopyBox, kAxes> &boxes)
{
    std::array<bool, kAxes> t{};
    for (int a = 0; a < kAxes; ++a)
        t[std::size_t(a)] = boxes[std::size_t(a)].checked;
    return t;
}

bool inTable(const ProgramTable &table, int first, int last)
{
    return first > last || (table.ValidRegister(first) && table.ValidRegister(last));
}

bool planFits(const ProgramTable &table, const BlockCopyPlan &plan)
{
    for (const CopyStep &c : plan.copies) {
        if (c.source < 0 || c.source >= kAxes || !inTable(table, c.first, c.last))
            return false;
        if (c.first <= c.last && (c.last - c.first >= kClipRows || !inTable(table, c.copyTo, c.copyTo + c.last - c.first)))
            return false;
    }
    for (const ClearStep &c : plan.clears)
        if (c.axis < 0 || c.axis >= kAxes || !inTable(table, c.first, c.last))
            return false;
    return true;
}
} // namespace

void AddSourceClears(BlockCopyPlan &plan)
{
    for (const CopyStep &c : plan.copies)
        plan.clears.push_back({c.source, c.first, c.last});
}

bool RunBlockCopy(ProgramTable &table, const BlockCopyPlan &plan)
{
    if (!planFits(table, plan))
        return false;
    const auto bufferBefore = g.ClipBuf;
    // Registers each axis received from a copy: a clear leaves them.
    std::array<std::vector<bool>, kAxes> written;
    for (auto &w : written)
        w.assign(std::size_t(table.RegisterCount()), false);

    const bool ok = table.InTransaction([&] {
        for (const CopyStep &c : plan.copies) {
            const int rows = c.last - c.first + 1;
            for (int k = 0; k < rows; ++k) {
                const auto row = table.Axis(c.first + k, c.source);
                if (!row)
                    return false;
                g.ClipBuf[std::size_t(k)] = *row;
            }
            for (int k = 0; k < rows; ++k) {
                ProgramTable::FieldValues fields;
                for (int d = 0; d < kAxes; ++d) {
                    if (!c.dest[std::size_t(d)])
                        continue;
                    for (int part = 0; part < kAxisFields; ++part)
                        fields.emplace_back(AxisFieldColumn(d, part), g.ClipBuf[std::size_t(k)][std::size_t(part)]);
                    written[std::size_t(d)][std::size_t(c.copyTo + k)] = true;
                }
                if (!fields.empty() && !table.WriteFields(c.copyTo + k, fields))
                    return false;
            }
        }
        for (const ClearStep &c : plan.clears)
            for (int reg = c.first; reg <= c.last; ++reg)
                if (!written[std::size_t(c.axis)][std::size_t(reg)] && !table.WriteAxis(reg, c.axis, ClipRow{}))
                    return false;
        return true;
    });
    if (!ok)
        g.ClipBuf = bufferBefore;
    return ok;
}

bool BlockCopyRunning()
{
    return running;
}

BlockCopyBusy::BlockCopyBusy()
{
    running = true;
}

BlockCopyBusy::~BlockCopyBusy()
{
    running = false;
}

bool RangeKeyAccepted(int key)
{
    return (key >= '0' && key <= '9') || key == 8;
}

bool RangeTextAccepted(const QString &text)
{
    if (text.isEmpty())
        return true;
    if (text.size() > 4)
        return false;
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return text.toInt() <= kRangeBoxLimit;
}

// ---- normal window ------------------------------------------------------------

void NormalCopyForm::Form_Load()
{
    for (int a = 0; a < kAxes; ++a) {
        source[std::size_t(a)] = {};
        clear[std::size_t(a)] = {};
        dest[std::size_t(a)] = {false, false};
    }
    range = {};
}

void NormalCopyForm::SourceClick(int axis)
{
    if (axis < 0 || axis >= kAxes)
        return;
    for (int a = 0; a < kAxes; ++a)
        if (a != axis && source[std::size_t(a)].checked)
            return;
    const bool chosen = source[std::size_t(axis)].checked;
    range.enabled = chosen;
    for (CopyBox &d : dest)
        d.enabled = chosen;
    for (int a = 0; a < kAxes; ++a) {
        if (a == axis)
            continue;
        source[std::size_t(a)].enabled = !chosen;
        // A greyed clear box never erases: it loses its tick with its use.
        CopyBox &c = clear[std::size_t(a)];
        c.enabled = !chosen;
        if (chosen)
            c.checked = false;
    }
}

std::optional<BlockCopyPlan> NormalCopyForm::Plan() const
{
    int from = -1;
    for (int a = kAxes - 1; a >= 0; --a)
        if (source[std::size_t(a)].checked)
            from = a;
    if (from < 0 || !anyChecked(dest))
        return std::nullopt;
    const auto step = readRange(from, range, ticks(dest));
    if (!step)
        return std::nullopt;
    BlockCopyPlan plan;
    plan.copies.push_back(*step);
    for (int a = 0; a < kAxes; ++a)
        if (clear[std::size_t(a)].checked)
            plan.clears.push_back({a, step->first, step->last});
    return plan;
}

// ---- expanded window ----------------------------------------------------------

void ExpandedCopyForm::Form_Load()
{
    for (int a = 0; a < kAxes; ++a) {
        source[std::size_t(a)] = {};
        range[std::size_t(a)] = {};
        for (CopyBox &d : dest[std::size_t(a)])
            d = {false, false};
    }
}

void ExpandedCopyForm::SourceClick(int axis)
{
    if (axis < 0 || axis >= kAxes)
        return;
    const bool chosen = source[std::size_t(axis)].checked;
    // Every click puts the band's registers back to 0.
    RangeBoxes &r = range[std::size_t(axis)];
    r.text = RangeBoxes{}.text;
    r.enabled = chosen;
    for (CopyBox &d : dest[std::size_t(axis)])
        d.enabled = chosen;
}

std::optional<BlockCopyPlan> ExpandedCopyForm::Plan() const
{
    BlockCopyPlan plan;
    for (int a = 0; a < kAxes; ++a) {
        if (!source[std::size_t(a)].checked)
            continue;
        // A source without a destination would only be staged, and a move
        // would then erase it: refused.
        if (!anyChecked(dest[std::size_t(a)]))
            return std::nullopt;
        const auto step = readRange(a, range[std::size_t(a)], ticks(dest[std::size_t(a)]));
        if (!step)
            return std::nullopt;
        plan.copies.push_back(*step);
    }
    if (plan.copies.empty())
        return std::nullopt;
    return plan;
}
