#include "params/ScaleSetup.h"

#include "link/ReplyFields.h"
#include "shared/AxisFactor.h"
#include "shared/NumberText.h"

QString ScaleRefusedMessage(int axis)
{
    const QString letter = AxisLetter(axis);
    if (letter.isEmpty())
        return {};
    return QStringLiteral("It can't be inputted. (Axis-%1)").arg(letter);
}

std::optional<int> StoreScale(const ScaleChoice &choice, int axes)
{
    axes = qBound(0, axes, kAxes);
    // Every box first: a unit must never change while its factor is refused,
    // or the amount boxes would be converted with the old one.
    for (int unit = 1; unit < kScaleUnits; ++unit)
        for (int a = 0; a < axes; ++a)
            if (!ReadFactor(choice.factor[size_t(a)][size_t(unit)]))
                return a;

    for (int a = 0; a < axes; ++a) {
        const int chosen = choice.unit[size_t(a)];
        if (chosen >= 0 && chosen < kScaleUnits)
            g.ScaleSel[size_t(a)] = int16_t(chosen);
        g.ScaleFactor[0][size_t(a)] = QStringLiteral("1");
        for (int unit = 1; unit < kScaleUnits; ++unit)
            g.ScaleFactor[size_t(unit)][size_t(a)] = choice.factor[size_t(a)][size_t(unit)];
    }
    return std::nullopt;
}

std::optional<ScaledTexts> ScaledAxisTexts(int axis)
{
    if (axis < 0 || axis >= kAxes)
        return std::nullopt;
    const int unit = g.ScaleSel[size_t(axis)];
    const QString caption = UnitCaption(unit);
    if (caption.isEmpty())
        return std::nullopt;

    ScaledTexts out;
    out.unit = caption;
    const QString &pulses = g.AxisEntryText[size_t(axis)][0];
    const auto factor = AxisFactor(unit, axis);
    if (pulses.isEmpty())
        out.amount = QStringLiteral("0");
    else if (unit == 0)
        out.amount = pulses;
    else if (const auto p = WholeNumber(pulses); p && factor)
        out.amount = PlainForm(*p * *factor);

    if (const auto &count = g.LastPulseCount[size_t(axis)]; count && factor)
        out.position = PositionText(*count, g.ScaleFactor[size_t(unit)][size_t(axis)]);
    return out;
}
