#pragma once
// The parameter words and values as they stand on the line: the two mode
// words and the home word packed from the settings of an axis, the numeric
// parameters' digits, and the readers of the unit's parameter replies.

#include "shared/Shared.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

using ModeItems = std::array<int16_t, kModeItems>;
using HomeItems = std::array<int16_t, kHomeItems>;

// One bit of a mode word: set exactly when its setting is 1.
struct ModeBit {
    int word;         // 1 or 2
    bool home;        // the setting is a HomeSetTable item, else a ModeSetTable item
    int item;
    uint16_t mask;
};
// In the order the settings are packed and unpacked.
extern const std::array<ModeBit, 13> kModeBits;

struct ModeWords {
    uint16_t word1 = 0;
    uint16_t word2 = 0;
};
// Whether the setting of bit `b` sets it (the setting is exactly 1).
bool ModeBitSet(const ModeBit &b, const ModeItems &mode, const HomeItems &home);
ModeWords PackModeWords(const ModeItems &mode, const HomeItems &home);
// Sets each setting that bit `b` of a received word carries to 0 or 1.
void UnpackModeBit(const ModeBit &b, uint32_t word, ModeItems &mode, HomeItems &home);
// Sets every setting carried by word 1 or word 2.
void UnpackModeWord(int wordNo, uint32_t word, ModeItems &mode, HomeItems &home);

// One 2-bit field of the home word. codes[i] is the field for list index i,
// -1 where the list has no such entry.
struct HomeField {
    int item;          // HomeSetTable item
    int shift;         // the field's low bit
    std::array<int, 3> codes;
};
// In the order the settings are packed and unpacked: items 0, 4 to 10.
extern const std::array<HomeField, 8> kHomeFields;

// The field of one setting; 0 for a value that is not an index of its list.
uint16_t HomeFieldBits(const HomeField &f, int16_t value);
uint16_t PackHomeWord(const HomeItems &home);
// Sets the setting of field `f` from a received word; a field value that no
// list index gives leaves the setting as it was.
void UnpackHomeField(const HomeField &f, uint32_t word, HomeItems &home);
void UnpackHomeWord(uint32_t word, HomeItems &home);

// The values a numeric parameter can take in the unit: 0 to 65535 for
// items 0 to 11 (16 bits on both units, though the 2-axis unit is written 8
// digits), the 32-bit range for OFS. Nothing for an item that is not sent.
struct ParamWireRange {
    int64_t min;
    int64_t max;
};
std::optional<ParamWireRange> ParamWireRangeOf(int item);

// Why a ParamTable text cannot go out as it is.
enum class ParamSendFault {
    None,
    Empty,          // nothing but blanks
    NotOneNumber,   // letters, a second number, a comma...
    BeyondField,    // one number, but beyond what the unit holds
    NotSent,        // the item is not one that travels
};

// The whole number a ParamTable item sends: the whole text as one decimal
// number (blanks around it allowed), rounded half to even, within what the
// unit holds (ParamWireRangeOf). The grid's entry ranges do not apply: a
// value the unit reported, or one a data file brought, goes back as it is.
// Nothing, with the reason in `fault` (when given), when it cannot be sent.
std::optional<int32_t> ParamSendValue(int item, const QString &text, ParamSendFault *fault = nullptr);

// Upper-case hexadecimal digits of a value, zero-filled to `width` (8: the
// 32-bit two's complement word; 4: only 0 to 65535). Empty text for a value
// that does not fit 4 digits or any other width: a value is never cut.
QString WireDigits(int32_t value, int width);

// The decimal text of a value read back: 4 digits unsigned, 8 digits as a
// signed 32-bit value.
QString ParamTextFromWire(uint32_t raw, int width);

// Whether a reply line answers a request. 2-axis unit: the head ("IXS" or
// "IXR"), the axis letter in column 5 and the register number right after
// it. 4-axis unit: the mnemonic and the axis letter in column 5.
bool ReplyMatches2(const QString &line, const QString &head, int axis, int reg);
bool ReplyMatches4(const QString &line, const QString &mnemonic, int axis);

// The value field of a read reply, exactly `digits` hexadecimal digits.
// 2-axis unit: beginning two places after the first ","; 4-axis unit: from
// column 6. Nothing when there is no comma or the field is not hexadecimal.
std::optional<uint32_t> ReplyValue2(const QString &line, int digits);
std::optional<uint32_t> ReplyValue4(const QString &line, int digits);
