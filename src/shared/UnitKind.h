#pragma once
// The two unit models the program serves, and what the model decides.

#include <QString>

enum class UnitKind { TwoAxis, FourAxis };

// "2" is the 2-axis unit; anything else counts as the 4-axis unit, the model
// the program assumes until the unit has answered.
inline UnitKind UnitKindOf(const QString &unitModel)
{
    return unitModel == u"2" ? UnitKind::TwoAxis : UnitKind::FourAxis;
}

// Axes the model drives: X and Y, or X to U.
constexpr int AxisCount(UnitKind kind)
{
    return kind == UnitKind::TwoAxis ? 2 : 4;
}

// Program registers the model holds (0 .. RegisterCount - 1).
constexpr int RegisterCount(UnitKind kind)
{
    return kind == UnitKind::TwoAxis ? 54 : 2000;
}

constexpr int LastRegister(UnitKind kind)
{
    return RegisterCount(kind) - 1;
}
