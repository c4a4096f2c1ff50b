#pragma once
// Field readers of the unit's replies. Columns count from 1.

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

// Exactly `len` hexadecimal digits (either case) at column `col`; nothing
// when the line is too short or a character is not a hexadecimal digit.
std::optional<uint32_t> HexAt(const QString &line, int col, int len);

// A speed or position field (8 digits) as a 32-bit two's complement number.
std::optional<int32_t> Word32At(const QString &line, int col);

// A position in pulses shown in an axis's unit: pulses times the factor,
// formatted with the pattern made from the factor's text ("0.001" gives
// three decimals, "12.5" at least two integer digits and one decimal),
// rounded half away from zero. Nothing when the factor reader refuses the
// text (shared/AxisFactor.h).
std::optional<QString> PositionText(int32_t pulses, const QString &factorText);

// The running register of an "IDC" reply: hexadecimal digits from column 6
// (blanks skipped, at most four digits, a four-digit value is 16-bit two's
// complement); no digit gives 0.
int16_t RunningRegister(const QString &line);

// Fields of a status ("INR") reply, found by the blanks and the comma.
struct StatusFields {
    int axes = 0;                                     // 2 or 4 status bytes read
    std::array<std::optional<int16_t>, 4> status{};   // nothing: did not convert
    std::optional<int32_t> port;                      // nothing: did not convert
};

// Locates and converts the status bytes and the port field. With fourAxis
// the X status byte stands two characters after its blank (one character
// between), otherwise one; the port field is 8 digits starting two
// characters after the comma that follows the last status field.
StatusFields LocateStatusFields(const QString &line, bool fourAxis);
