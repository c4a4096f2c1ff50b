#include "shared/UnitKind.h"

#include "shared/Shared.h"

UnitKind CurrentUnitKind()
{
    return UnitKindOf(g.UnitModel);
}

UnitQuery VersionQuery(UnitKind kind)
{
    return {kind == UnitKind::TwoAxis ? QStringLiteral("VAR\r") : QStringLiteral("VER\r"), 24};
}

UnitQuery StatusQuery(UnitKind kind)
{
    if (kind == UnitKind::TwoAxis)
        return {QStringLiteral("INR XY\r"), 18};
    return {QStringLiteral("INR XYZU\r"), 33};
}
