#include "shared/AxisFactor.h"

#include "shared/NumberText.h"
#include "shared/Shared.h"

#include <cmath>

bool FactorAccepted(double f)
{
    // The largest 24-bit count of an instruction word times the factor must
    // stay a finite number, or an uploaded word could not be shown or sent
    // back.
    constexpr double kLargestCount = 8388608.0;
    return std::isfinite(f) && f > 0 && std::isfinite(kLargestCount * f);
}

std::optional<double> ReadFactor(QStringView text)
{
    const auto f = WholeNumber(text);
    if (!f || !FactorAccepted(*f))
        return std::nullopt;
    return f;
}

std::optional<double> AxisFactor(int unit, int axis)
{
    if (unit < 0 || unit >= kUnitCodes || axis < 0 || axis >= kAxes)
        return std::nullopt;
    return ReadFactor(g.ScaleFactor[size_t(unit)][size_t(axis)]);
}

std::optional<double> CurrentAxisFactor(int axis)
{
    if (axis < 0 || axis >= kAxes)
        return std::nullopt;
    return AxisFactor(g.ScaleSel[size_t(axis)], axis);
}

QString UnitCaption(int unit)
{
    static const char *const names[] = {"Pulse", "mm", "um", "inch"};
    if (unit < 0 || unit >= kUnitNames)
        return {};
    return QLatin1String(names[unit]);
}
