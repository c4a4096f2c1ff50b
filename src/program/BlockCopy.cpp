#include "program/BlockCopy.h"

#include "program/ProgramTable.h"
#include "program/RegisterClipboard.h"

namespace {
bool running = false;

constexpr int kRangeBoxLimit = 2000;

const char *const kBoxNames[3] = {"start", "end", "copy-to"};

// The name of a register box in a refusal: "The end box", "The X end box".
QString boxName(const QString &band, int box)
{
    return QStringLiteral("The ") + band + QLatin1String(kBoxNames[box]) + QStringLiteral(" box");
}

void say(QString *why, const QString &text)
{
    if (why)
        *why = text;
}

// A register box's number: digits only, within the 4-axis program.
std::optional<int> registerNumber(const QString &text, const QString &band, int box, QString *why)
{
    const int lastReg = LastRegister(UnitKind::FourAxis);
    bool digits = !text.isEmpty();
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            digits = false;
    if (text.isEmpty()) {
        say(why, boxName(band, box) + QStringLiteral(" is empty."));
        return std::nullopt;
    }
    if (!digits) {
        say(why, boxName(band, box) + QStringLiteral(" holds \"") + text
                     + QStringLiteral("\", which is no register number."));
        return std::nullopt;
    }
    if (text.size() > 4 || text.toInt() > lastReg) {
        say(why, boxName(band, box) + QStringLiteral(" holds ") + text + QStringLiteral(": the largest it takes is ")
                     + QString::number(lastReg) + u'.');
        return std::nullopt;
    }
    return text.toInt();
}

// A whole range that fits the program: whole numbers, and when it copies
// anything its last destination register within the table. A start above
// the end copies nothing and passes. `band` names the boxes in a refusal.
std::optional<CopyStep> readRange(int source, const RangeBoxes &boxes, const std::array<bool, kAxes> &dest,
                                  const QString &band, QString *why)
{
    std::array<int, 3> v{};
    for (int box = 0; box < 3; ++box) {
        const auto n = registerNumber(boxes.text[std::size_t(box)], band, box, why);
        if (!n)
            return std::nullopt;
        v[std::size_t(box)] = *n;
    }
    const int first = v[0], last = v[1], copyTo = v[2];
    const int lastReg = LastRegister(UnitKind::FourAxis);
    if (first <= last && copyTo + (last - first) > lastReg) {
        const int count = last - first + 1;
        say(why, boxName(band, 2) + QStringLiteral(" holds ") + QString::number(copyTo) + QStringLiteral(": with ")
                     + QString::number(count) + QLatin1String(count == 1 ? " register" : " registers")
                     + QStringLiteral(" to copy, the largest it takes is ") + QString::number(lastReg - count + 1)
                     + u'.');
        return std::nullopt;
    }
    return CopyStep{source, first, last, copyTo, dest};
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
    const auto bufferBefore = clip.ClipBuf;
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
                clip.ClipBuf[std::size_t(k)] = *row;
            }
            for (int k = 0; k < rows; ++k) {
                ProgramTable::FieldValues fields;
                for (int d = 0; d < kAxes; ++d) {
                    if (!c.dest[std::size_t(d)])
                        continue;
                    for (int part = 0; part < kAxisFields; ++part)
                        fields.emplace_back(AxisFieldColumn(d, part), clip.ClipBuf[std::size_t(k)][std::size_t(part)]);
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
        clip.ClipBuf = bufferBefore;
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

QString RangeBoxRefusal(const QString &text)
{
    return QStringLiteral("A register box takes 0 to %1, not \"%2\".").arg(kRangeBoxLimit).arg(text);
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

std::optional<BlockCopyPlan> NormalCopyForm::Plan(QString *why) const
{
    int from = -1;
    for (int a = kAxes - 1; a >= 0; --a)
        if (source[std::size_t(a)].checked)
            from = a;
    if (from < 0) {
        say(why, QStringLiteral("No source axis is ticked."));
        return std::nullopt;
    }
    if (!anyChecked(dest)) {
        say(why, QStringLiteral("No axis to copy to is ticked."));
        return std::nullopt;
    }
    const auto step = readRange(from, range, ticks(dest), QString(), why);
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

std::optional<BlockCopyPlan> ExpandedCopyForm::Plan(QString *why) const
{
    BlockCopyPlan plan;
    for (int a = 0; a < kAxes; ++a) {
        if (!source[std::size_t(a)].checked)
            continue;
        const QString band = AxisLetter(a) + u' ';
        // A source without a destination would only be staged, and a move
        // would then erase it: refused.
        if (!anyChecked(dest[std::size_t(a)])) {
            say(why, QStringLiteral("Source ") + AxisLetter(a) + QStringLiteral(" has no axis to copy to ticked."));
            return std::nullopt;
        }
        const auto step = readRange(a, range[std::size_t(a)], ticks(dest[std::size_t(a)]), band, why);
        if (!step)
            return std::nullopt;
        plan.copies.push_back(*step);
    }
    if (plan.copies.empty()) {
        say(why, QStringLiteral("No source axis is ticked."));
        return std::nullopt;
    }
    return plan;
}
