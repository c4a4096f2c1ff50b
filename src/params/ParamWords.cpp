#include "params/ParamWords.h"

#include "link/ReplyFields.h"
#include "params/ParamTables.h"
#include "shared/NumberText.h"

#include <limits>

const std::array<ModeBit, 13> kModeBits = {{
    {1, false, 0, 0x01},
    {1, false, 1, 0x02},
    {1, false, 2, 0x04},
    {1, false, 3, 0x08},
    {1, false, 4, 0x10},
    {1, false, 5, 0x20},
    {1, true, 11, 0x40},
    {2, true, 1, 0x01},
    {2, true, 2, 0x02},
    {2, true, 3, 0x04},
    {2, false, 7, 0x08},
    {2, false, 8, 0x20},
    {2, false, 9, 0x40},
}};

namespace {

int16_t *settingOf(const ModeBit &b, ModeItems &mode, HomeItems &home)
{
    if (b.home)
        return b.item >= 0 && b.item < kHomeItems ? &home[size_t(b.item)] : nullptr;
    return b.item >= 0 && b.item < kModeItems ? &mode[size_t(b.item)] : nullptr;
}

} // namespace

bool ModeBitSet(const ModeBit &b, const ModeItems &mode, const HomeItems &home)
{
    if (b.home)
        return b.item >= 0 && b.item < kHomeItems && home[size_t(b.item)] == 1;
    return b.item >= 0 && b.item < kModeItems && mode[size_t(b.item)] == 1;
}

ModeWords PackModeWords(const ModeItems &mode, const HomeItems &home)
{
    ModeWords w;
    for (const ModeBit &b : kModeBits)
        if (ModeBitSet(b, mode, home))
            (b.word == 1 ? w.word1 : w.word2) |= b.mask;
    return w;
}

void UnpackModeBit(const ModeBit &b, uint32_t word, ModeItems &mode, HomeItems &home)
{
    if (int16_t *s = settingOf(b, mode, home))
        *s = (word & b.mask) ? 1 : 0;
}

void UnpackModeWord(int wordNo, uint32_t word, ModeItems &mode, HomeItems &home)
{
    for (const ModeBit &b : kModeBits)
        if (b.word == wordNo)
            UnpackModeBit(b, word, mode, home);
}

// "High" sets the low bit of its field wherever it stands in its list, "+"
// the low bit and "-" the high bit.
const std::array<HomeField, 8> kHomeFields = {{
    {0, 14, {0, 1, 2}},     // List8: "1", "2", "3"
    {4, 0, {0, 2, 1}},      // List9: "Disable", "-", "+"
    {5, 2, {1, 0, -1}},     // List11: "High", "Low"
    {6, 4, {0, 1, 2}},      // List10: "Disable", "+", "-"
    {7, 6, {0, 1, -1}},     // List2: "Low", "High"
    {8, 8, {0, 2, 1}},      // List9
    {9, 10, {0, 1, -1}},    // List2
    {10, 12, {1, 0, -1}},   // List11
}};

uint16_t HomeFieldBits(const HomeField &f, int16_t value)
{
    if (value < 0 || value > 2 || f.codes[size_t(value)] < 0)
        return 0;
    return uint16_t(f.codes[size_t(value)] << f.shift);
}

uint16_t PackHomeWord(const HomeItems &home)
{
    uint16_t w = 0;
    for (const HomeField &f : kHomeFields)
        w |= HomeFieldBits(f, home[size_t(f.item)]);
    return w;
}

void UnpackHomeField(const HomeField &f, uint32_t word, HomeItems &home)
{
    if (f.item < 0 || f.item >= kHomeItems)
        return;
    const int field = int((word >> f.shift) & 3u);
    for (size_t i = 0; i < f.codes.size(); ++i) {
        if (f.codes[i] == field) {
            home[size_t(f.item)] = int16_t(i);
            return;
        }
    }
}

void UnpackHomeWord(uint32_t word, HomeItems &home)
{
    for (const HomeField &f : kHomeFields)
        UnpackHomeField(f, word, home);
}

std::optional<ParamWireRange> ParamWireRangeOf(int item)
{
    if (!ParamItemOf(item))
        return std::nullopt;
    if (item == kOffsetItem)
        return ParamWireRange{std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()};
    return ParamWireRange{0, 0xFFFF};
}

std::optional<int32_t> ParamSendValue(int item, const QString &text, ParamSendFault *fault)
{
    auto refuse = [fault](ParamSendFault why) -> std::optional<int32_t> {
        if (fault)
            *fault = why;
        return std::nullopt;
    };
    const auto range = ParamWireRangeOf(item);
    if (!range)
        return refuse(ParamSendFault::NotSent);
    if (text.trimmed().isEmpty())
        return refuse(ParamSendFault::Empty);
    if (!IsOneNumber(text))
        return refuse(ParamSendFault::NotOneNumber);
    // A number too large for a double reads as no value: beyond any field.
    const auto v = WholeNumber(text);
    const double whole = v ? RoundHalfEven(*v) : 0.0;
    if (!v || !(whole >= double(range->min) && whole <= double(range->max)))
        return refuse(ParamSendFault::BeyondField);
    if (fault)
        *fault = ParamSendFault::None;
    return static_cast<int32_t>(whole);
}

QString WireDigits(int32_t value, int width)
{
    if (width == 8)
        return dStrSet(HexDigits(static_cast<uint32_t>(value)));
    if (width == 4 && value >= 0 && value <= 0xFFFF)
        return dStrSet2(HexDigits(static_cast<uint32_t>(value)));
    return {};
}

QString ParamTextFromWire(uint32_t raw, int width)
{
    if (width == 8)
        return QString::number(static_cast<int32_t>(raw));
    return QString::number(raw & 0xFFFFu);
}

bool ReplyMatches2(const QString &line, const QString &head, int axis, int reg)
{
    const QString letter = AxisLetter(axis);
    if (letter.isEmpty() || line.left(3) != head || line.size() < 6 || line[4] != letter[0])
        return false;
    qsizetype i = 5;
    int number = 0;
    while (i < line.size() && line[i] >= u'0' && line[i] <= u'9' && i < 10) {
        number = number * 10 + (line[i].unicode() - u'0');
        ++i;
    }
    return i > 5 && number == reg;
}

bool ReplyMatches4(const QString &line, const QString &mnemonic, int axis)
{
    const QString letter = AxisLetter(axis);
    return !letter.isEmpty() && line.size() >= 5 && line.left(3) == mnemonic && line[4] == letter[0];
}

std::optional<uint32_t> ReplyValue2(const QString &line, int digits)
{
    const qsizetype comma = line.indexOf(u',');
    if (comma < 0)
        return std::nullopt;
    // The character right after the comma is passed over.
    return HexAt(line, int(comma) + 3, digits);
}

std::optional<uint32_t> ReplyValue4(const QString &line, int digits)
{
    return HexAt(line, 6, digits);
}
