#pragma once
// Teaching the axes' current positions into the program, without a window:
// what the main window's "ABS.Position Set" button writes, read from its
// boxes once.

#include "program/ProgramTable.h"
#include "shared/Shared.h"

#include <QString>
#include <array>
#include <optional>

// The speed number of a taught move by the main window's speed choice:
// 0..3 speeds 1 to 4 give "1".."4", 4 (the manual speed) gives "4", and no
// choice "1".
QString TaughtSpeed(int speedChoice);

// The register the start box names: a whole number (blanks around it
// allowed) within the model's registers. Nothing for an empty box or any
// other text.
std::optional<int> TaughtRegister(const QString &regNo, UnitKind kind);

// The DAT text of a taught axis. The 4-axis unit stores the position as its
// box shows it, in the axis's unit. The 2-axis download sends DAT without a
// factor, so there the pulse count is stored: the shown position divided by
// the axis factor, rounded. An empty box stays empty; nothing when a 2-axis
// position or factor cannot be read.
std::optional<QString> TaughtData(const QString &shown, std::optional<double> factor, UnitKind kind);

// What the main window's boxes hold at the press.
struct TeachRequest {
    UnitKind kind = UnitKind::FourAxis;
    std::array<bool, kAxes> ticked{};
    std::array<QString, kAxes> shown{};
    std::array<std::optional<double>, kAxes> factor{};
    QString regNo;
    int speedChoice = -1;
};

struct TeachPlan {
    int reg = 0;
    // CMD, DAT, SPD and TIM of every taught axis; empty when no axis the
    // unit drives is ticked (nothing written, no advance).
    ProgramTable::FieldValues fields;
};

// Axes the model drives and that are ticked are taught: X and Y on the
// 2-axis unit, X to U on the 4-axis unit. Nothing when an axis is to be
// taught but the start register or a position is unusable; then `why`
// (when given) says which.
std::optional<TeachPlan> PlanTeaching(const TeachRequest &request, QString *why = nullptr);
