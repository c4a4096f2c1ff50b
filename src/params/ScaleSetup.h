#pragma once
// The scale window's OK without the window: checking and storing the units
// and factors of the axes, and the texts the main window then shows.

#include "shared/Shared.h"

#include <QString>
#include <array>
#include <optional>

// Unit codes the scale window offers: 0 "Pulse", 1 "mm", 2 "um", 3 "inch".
constexpr int kScaleUnits = kUnitNames;

// What the window hands over, per axis: the chosen unit code and the texts
// of its factor boxes by unit code (the Pulse box, index 0, is not read).
struct ScaleChoice {
    std::array<int, kAxes> unit{};
    std::array<std::array<QString, kScaleUnits>, kAxes> factor{};
};

// "It can't be inputted. (Axis-X)" and so on; empty for an axis out of range.
QString ScaleRefusedMessage(int axis);

// Checks every factor box of units 1..3 of the first `axes` axes, unit by
// unit and axis by axis, and stores only when all of them hold a factor:
// then each axis gets its chosen unit (a code outside 0..3 leaves it as it
// was), the Pulse factor 1 and the box texts unchanged. The axis of the
// first refused box, or nothing when everything was stored.
std::optional<int> StoreScale(const ScaleChoice &choice, int axes);

// What the main window shows for an axis in its stored unit. `amount`: the
// stored pulse amount in that unit ("0" for none; nothing when the stored
// text is no number). `position`: the last pulse count the unit reported,
// in the same form as the position replies (nothing before the first).
struct ScaledTexts {
    QString unit;
    std::optional<QString> amount;
    std::optional<QString> position;
};
// Nothing for an axis out of range or a unit code outside 0..3.
std::optional<ScaledTexts> ScaledAxisTexts(int axis);
