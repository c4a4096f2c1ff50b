#include "params/ParamChecks.h"

#include "params/ParamDatabase.h"
#include "params/ParamTables.h"
#include "shared/AxisFactor.h"
#include "shared/Language.h"
#include "shared/NumberText.h"
#include "shared/RefusalText.h"
#include "shared/Shared.h"

#include <cmath>
#include <limits>

namespace {

bool axisInRange(int axis) { return axis >= 0 && axis < kAxes; }

} // namespace

QString ValueRefusedMessage()
{
    return QStringLiteral("Value can't configure it.");
}

QString ValueRefusedMessage(int row, int axis, const QString &typed)
{
    const ParamItem *item = ParamItemOf(row);
    if (!item || !axisInRange(axis))
        return ValueRefusedMessage();
    const QString name = AxisLetter(axis) + QStringLiteral(" axis, ") + ParamRowTitle(GridTab::Parameter, row);
    const QString value = name + QStringLiteral(": \"") + typed + u'"';
    QString why;
    if (typed.trimmed().isEmpty())
        why = name + QStringLiteral(" is left empty; the grid takes ") + AcceptedRange(row, axis) + u'.';
    else if (!WholeNumber(typed))
        why = value + QStringLiteral(" is not one number; the grid takes ") + AcceptedRange(row, axis) + u'.';
    else if (row == kOffsetItem && !CurrentAxisFactor(axis))
        why = value + QStringLiteral(" cannot be turned into pulses: the axis's unit has no usable factor.");
    else
        why = value + QStringLiteral(" is outside ") + AcceptedRange(row, axis) + u'.';
    return WithReason(ValueRefusedMessage(), why);
}

QString OffsetShownText(const QString &pulses, std::optional<double> factor)
{
    if (pulses.isEmpty() || !factor)
        return {};
    // Only a text that is one number converts; anything else is shown as it
    // stands, so the operator sees what the download would refuse.
    const auto v = WholeNumber(pulses);
    if (!v)
        return pulses;
    const double whole = RoundHalfEven(*v);
    if (!(whole >= double(std::numeric_limits<int32_t>::min())
          && whole <= double(std::numeric_limits<int32_t>::max())))
        return pulses;
    return PlainForm(whole * *factor);
}

QString ParamCellText(int row, int axis)
{
    if (!axisInRange(axis) || !ParamItemOf(row))
        return {};
    const QString &stored = g.ParamTable[size_t(axis)][size_t(row)];
    if (row != kOffsetItem)
        return stored;
    return OffsetShownText(stored, CurrentAxisFactor(axis));
}

std::optional<QString> ParamEntryValue(int row, int axis, const QString &typed)
{
    const ParamItem *item = ParamItemOf(row);
    if (!item || !axisInRange(axis))
        return std::nullopt;
    // One number as a whole: a "," or a line break would split the item in a
    // saved data file, and trailing letters would be stored unchecked.
    const auto v = WholeNumber(typed);
    if (!v)
        return std::nullopt;
    if (row != kOffsetItem)
        return (*v >= item->min && *v <= item->max) ? std::optional<QString>(typed) : std::nullopt;

    const auto f = CurrentAxisFactor(axis);
    if (!f)
        return std::nullopt;
    // The range is that of the text stored, the one the download reads.
    const QString pulses = PlainForm(*v / *f);
    const auto p = WholeNumber(pulses);
    if (!p || *p < item->min || *p > item->max)
        return std::nullopt;
    return pulses;
}

QString RangeCaption(int row, int axis)
{
    const ParamItem *item = ParamItemOf(row);
    if (!item)
        return {};
    const QString s = u' ' + GetRangeMark() + u' ';
    if (row != kOffsetItem)
        return u' ' + QString::number(item->min) + u' ' + s + u' ' + QString::number(item->max) + u' ';
    if (!axisInRange(axis))
        return {};
    const auto f = CurrentAxisFactor(axis);
    if (!f)
        return {};
    return PlainForm(item->min * *f) + s + PlainForm(item->max * *f) + u' '
           + (g.ScaleSel[size_t(axis)] == 0 ? QString() : UnitCaption(g.ScaleSel[size_t(axis)]));
}

QString AcceptedRange(int row, int axis)
{
    const ParamItem *item = ParamItemOf(row);
    if (!item || !axisInRange(axis))
        return {};
    const QString to = QStringLiteral(" to ");
    const auto f = row == kOffsetItem ? CurrentAxisFactor(axis) : std::optional<double>(1.0);
    if (!f)
        return QString::number(item->min) + to + QString::number(item->max) + QStringLiteral(" pulses");
    const int sel = g.ScaleSel[size_t(axis)];
    const QString unit = row == kOffsetItem && sel != 0 ? u' ' + UnitCaption(sel) : QString();
    return PlainForm(item->min * *f) + to + PlainForm(item->max * *f) + unit;
}
