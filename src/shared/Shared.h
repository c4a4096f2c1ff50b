#pragma once
// The one store of values that more than one window uses. Every window reads
// and writes it directly; the program has one thread, so nothing is locked.

#include "shared/UnitKind.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

constexpr int kAxes = 4;            // X, Y, Z, U in this order everywhere
constexpr int kParamAxes = 5;       // parameter tables keep a fifth, unused row
constexpr int kUnitCodes = 7;       // scale factor table: unit codes 0..6
constexpr int kUnitNames = 4;       // unit codes with a name: 0 "Pulse", 1 "mm", 2 "um", 3 "inch"
constexpr int kIoTitles = 68;
constexpr int kSettingFlags = 100;
constexpr int kAxisEntries = 100;
constexpr int kModeItems = 11;
constexpr int kHomeItems = 16;
constexpr int kParamItems = 14;
constexpr int kClipRows = RegisterCount(UnitKind::FourAxis);

// One copied register row of the program editors: CMD, DAT, SPD, TIM, CMT.
using ClipRow = std::array<QString, 5>;

struct SharedState {
    // Unit identity
    QString UnitModel;
    QString UnitVersion;
    QString UnitVersionText;

    // 1 while a transfer or drive start holds the line (link/LineOwner.h)
    int TransferBusy = 0;
    // Each axis's position as the unit last reported it, in pulses; nothing
    // until a position reply carried it. A display changed to another unit
    // is computed from it, never from the text shown in the old unit.
    std::array<std::optional<int32_t>, kAxes> LastPulseCount{};

    // Values kept in the settings file
    std::array<std::array<QString, kAxisEntries>, kAxes> AxisEntryText{};
    std::array<int16_t, kAxes> ScaleSel{};
    // Held as decimal text (the form the scale window stores); read as a
    // number wherever it multiplies or divides. Index: unit code, then axis.
    std::array<std::array<QString, kAxes>, kUnitCodes> ScaleFactor{};
    int16_t ExtendedCmdSet = 0;

    // Values handed between windows
    int16_t FileMode = 0;
    int16_t SkipConfirm = 0;
    int16_t QuestionAnswer = 0;
    int32_t TransferResult = 0;

    // Parameter tables: the master copy of the unit's parameters
    std::array<std::array<int16_t, kModeItems>, kParamAxes> ModeSetTable{};
    std::array<std::array<int16_t, kHomeItems>, kParamAxes> HomeSetTable{};
    std::array<std::array<QString, kParamItems>, kParamAxes> ParamTable{};
};

// The store itself. Tests put it back to its first state with ResetSharedState().
extern SharedState g;
void ResetSharedState();

// Start values the main window sets before it reads the settings file.
void SetStartValues();

// The text the About box shows before any unit has answered.
QString NonActiveVersionText();

// Axis letters by index; an index outside 0..3 gives an empty text.
QString AxisLetter(int axis);
// Index of an axis letter (X, Y, Z, U), -1 for anything else.
int AxisIndex(QChar letter);
