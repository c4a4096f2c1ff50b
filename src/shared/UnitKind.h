#pragma once
// The two unit models the program serves.

#include <QString>

enum class UnitKind { TwoAxis, FourAxis };

// "2" is the 2-axis unit; anything else counts as the 4-axis unit, the model
// the program assumes until the unit has answered.
inline UnitKind UnitKindOf(const QString &unitModel)
{
    return unitModel == u"2" ? UnitKind::TwoAxis : UnitKind::FourAxis;
}
