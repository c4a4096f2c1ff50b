#pragma once
// The two unit models the program serves, and everything the model decides:
// axis count, program registers, the version and status queries.
//
// The model is kept as a text in the shared store (UnitModel): "2" for the
// 2-axis unit, "4" for the 4-axis unit. Only these two texts are ever taken
// (from the version reply or the model choice window); any other text, should
// one appear, counts as the 4-axis unit, the model the program assumes until
// a unit has answered. Every model-dependent branch asks CurrentUnitKind(),
// so that one answer holds everywhere.

#include <QString>
#include <optional>

enum class UnitKind { TwoAxis, FourAxis };

// "2" is the 2-axis unit; anything else counts as the 4-axis unit.
inline UnitKind UnitKindOf(const QString &unitModel)
{
    return unitModel == u"2" ? UnitKind::TwoAxis : UnitKind::FourAxis;
}

// The model of a text the program may take as a model ("2" or "4"); nothing
// for any other text.
inline std::optional<UnitKind> KnownModel(const QString &text)
{
    if (text == u"2")
        return UnitKind::TwoAxis;
    if (text == u"4")
        return UnitKind::FourAxis;
    return std::nullopt;
}

// The model text of a kind: "2" or "4".
inline QString ModelText(UnitKind kind)
{
    return kind == UnitKind::TwoAxis ? QStringLiteral("2") : QStringLiteral("4");
}

// The model of the connected unit (UnitModel of the shared store).
UnitKind CurrentUnitKind();

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

// A query of the unit and the receive threshold of its reply (the reply's
// length, CR included).
struct UnitQuery {
    QString command;   // CR included
    int threshold = 0;
};

// The version query the model answers ("VER" or "VAR").
UnitQuery VersionQuery(UnitKind kind);

// The status query of the model: "INR XY" or "INR XYZU".
UnitQuery StatusQuery(UnitKind kind);
