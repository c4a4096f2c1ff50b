#pragma once
// The one store of values that windows of several folders use. Each group
// names who writes it and who reads it; state that one file or one folder
// uses lives with its owner instead. The program has one thread, so nothing
// is locked.

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
    // Unit identity: written by the line's owner (link) from the version
    // reply and by the model choice (mainwin); read by the unit kind
    // (shared), the parameter grid (params) and the main window's boxes.
    QString UnitModel;
    QString UnitVersion;
    QString UnitVersionText;

    // 1 while a transfer or drive start holds the line. Owner: the line's
    // owner (link/LineOwner.h); cleared by the start values.
    int TransferBusy = 0;

    // Each axis's position as the unit last reported it, in pulses; nothing
    // until a position reply carried it. A display changed to another unit
    // is computed from it, never from the text shown in the old unit.
    // Written by the main window's reply parser (mainwin), read by the scale
    // setup (params).
    std::array<std::optional<int32_t>, kAxes> LastPulseCount{};

    // Values kept in the settings file (mainwin reads and writes it) that
    // other folders use: the entry texts (params), the scale choice and
    // factors (shared, params, datafile), the extended command set (program).
    std::array<std::array<QString, kAxisEntries>, kAxes> AxisEntryText{};
    std::array<int16_t, kAxes> ScaleSel{};
    // Held as decimal text (the form the scale window stores); read as a
    // number wherever it multiplies or divides. Index: unit code, then axis.
    std::array<std::array<QString, kAxes>, kUnitCodes> ScaleFactor{};
    int16_t ExtendedCmdSet = 0;

    // Values handed between windows of different folders
    // The file window's mode, set by the main window's menus (mainwin) for
    // the file window (datafile).
    int16_t FileMode = 0;
    // The question window's answer and its "don't ask again" tick (program),
    // read by the main window's teaching handlers.
    int16_t SkipConfirm = 0;
    int16_t QuestionAnswer = 0;
    // The last program transfer's result code: the transfer windows
    // (transfer) and the main window's 2-axis transfer handlers.
    int32_t TransferResult = 0;

    // Parameter tables: the master copy of the unit's parameters. Owner: the
    // parameter exchange and grid (params); the data files (datafile) and the
    // manual controls (mainwin) read and write them too.
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
