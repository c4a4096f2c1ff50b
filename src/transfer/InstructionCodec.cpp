#include "transfer/InstructionCodec.h"

#include "shared/AxisFactor.h"
#include "shared/NumberText.h"
#include "shared/Shared.h"

#include <array>
#include <cmath>

namespace {

constexpr int kLastCase4 = 28;   // SPD
constexpr int kLastCase2 = 20;   // END: the 2-axis unit encodes nothing after it
constexpr int kListLength2 = 24; // LN3, RNZ and RNU are listed but not encoded there

enum Case {
    Empty, ABS, INC, LN2, CW, CCW, CNT, DCP, JMP, REP, INP, IJP, OUT, OTP, TIM, SUB, RET,
    RNY, WTY, HOM, END, LN3, RNZ, RNU, WTZ, WTU, MOV, STO, SPD
};

// The word of each case before its data or operands; for control cases the
// top byte is the opcode the decoders recognise it by.
constexpr std::array<uint32_t, kLastCase4 + 1> kBaseWord = {
    0xC0000000, 0x01000000, 0x00000000, 0x40000000, 0x80000000, 0x81000000, 0xC9000000,
    0xCA000000, 0xC1000000, 0xC3000000, 0xC5000000, 0xC6000000, 0xC7000000, 0xC8000000,
    0xCB000000, 0xC2000000, 0xCD000000, 0xCE000000, 0xCF000000, 0xD0000000, 0xFF000000,
    0x48000000, 0xD1000000, 0xD2000000, 0xD3000000, 0xD4000000, 0xD5000000, 0xD6000000,
    0xD7000000};

constexpr int32_t kDataMin = -0x800000;
constexpr int32_t kDataMax = 0x7FFFFF;
constexpr uint32_t kField24 = 0xFFFFFF;
constexpr uint32_t kField16 = 0xFFFF;
constexpr uint32_t kField8 = 0xFF;
constexpr uint32_t kField7 = 0x7F;
constexpr uint32_t kInputState4 = 0x800000;   // bit 23: the INP/IJP state on the 4-axis unit

const std::array<QString, 4> kSpeedTexts = {
    QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")};
const std::array<QString, 4> kTimerTexts = {
    QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")};

QString withoutTrailingBlanks(const QString &s)
{
    qsizetype n = s.size();
    while (n > 0 && s[n - 1] == u' ')
        --n;
    return s.left(n);
}

// A number as a 32-bit integer, halves to the even neighbour.
std::optional<int32_t> toInt32(double v)
{
    if (!std::isfinite(v))
        return std::nullopt;
    v = RoundHalfEven(v);
    if (v < -2147483648.0 || v > 2147483647.0)
        return std::nullopt;
    return static_cast<int32_t>(v);
}

std::optional<int32_t> lenientInt(const QString &text) { return toInt32(LeadingNumber(text)); }

std::optional<int32_t> strictInt(const QString &text)
{
    const auto v = WholeNumber(text);
    return v ? toInt32(*v) : std::nullopt;
}

// Rounds to 15 significant digits, so that a quotient such as 0.35 / 0.1
// (3.4999999999999996) counts as the 3.5 the operator meant.
double round15(double v)
{
    // A whole number below 10^15 has no more than 15 digits to round.
    if (std::fabs(v) < 1e15 && v == std::floor(v))
        return v;
    return std::isfinite(v) ? QString::number(v, 'e', 14).toDouble() : v;
}

bool usableFactor(std::optional<double> factor)
{
    return factor && FactorAccepted(*factor);
}

// Motion, CNT and DCP data as the low 24 bits of the word; nothing, with
// the `cause`, when the amount in pulses does not fit 24-bit two's
// complement.
std::optional<uint32_t> motionData(UnitKind unit, const QString &dat, std::optional<double> factor, QString &cause)
{
    const bool four = unit == UnitKind::FourAxis;
    std::optional<int32_t> pulses;
    if (four) {
        const auto amount = WholeNumber(dat);
        if (!amount) {
            cause = dat.isEmpty() ? QStringLiteral("it is empty") : QStringLiteral("it is no number");
            return std::nullopt;
        }
        if (!usableFactor(factor)) {
            cause = QStringLiteral("the axis's unit of measure has no factor above 0 to turn it into pulses");
            return std::nullopt;
        }
        pulses = toInt32(round15(*amount / *factor));
    } else {
        pulses = lenientInt(dat);
    }
    if (pulses && *pulses >= kDataMin && *pulses <= kDataMax)
        return static_cast<uint32_t>(*pulses) & kField24;
    cause = (four ? QStringLiteral("divided by the factor %1 of the axis's unit it is beyond").arg(PlainForm(*factor))
                  : QStringLiteral("it is beyond"))
            + QStringLiteral(" the %1 to %2 pulses the unit takes").arg(kDataMin).arg(kDataMax);
    return std::nullopt;
}

// An unsigned value that must fit 0..max.
std::optional<uint32_t> inField(std::optional<int32_t> v, uint32_t max)
{
    if (!v || *v < 0 || static_cast<uint32_t>(*v) > max)
        return std::nullopt;
    return static_cast<uint32_t>(*v);
}

// ORs the strict read of `text`, the `which` number of DAT, into the field
// of width `max` at `shift`; false, with the `cause`, when it does not fit.
bool put(uint32_t &word, const QString &text, int shift, uint32_t max, const char *which, QString &cause)
{
    const auto v = inField(strictInt(text), max);
    if (!v) {
        cause = QStringLiteral("its %1 number must be a whole number from 0 to %2").arg(QLatin1String(which)).arg(max);
        return false;
    }
    word |= *v << shift;
    return true;
}

// The cause for DAT without the commas its `count` numbers need.
QString operandsWanted(int count)
{
    return count == 2 ? QStringLiteral("it needs two numbers separated by a comma")
                      : QStringLiteral("it needs three numbers separated by commas");
}

// Which field of the texts cannot be sent, and why.
QString refusalText(const QString &field, const QString &text, const QString &cmd, const QString &cause)
{
    const QString of = cmd.isEmpty() || field == u"CMD" ? QString() : QStringLiteral(" of ") + cmd;
    return QStringLiteral("%1 \"%2\"%3 cannot be sent: %4.").arg(field, text, of, cause);
}

// DAT split at its commas: a before the first, b after it (up to the second
// comma when c is wanted), c after the second.
struct Operands {
    QString a, b, c;
};

std::optional<Operands> splitOperands(const QString &dat, bool wantC)
{
    const qsizetype p1 = dat.indexOf(u',');
    if (p1 < 0)
        return std::nullopt;
    Operands o;
    o.a = dat.left(p1);
    o.b = dat.mid(p1 + 1);
    if (wantC) {
        const qsizetype p2 = o.b.indexOf(u',');
        if (p2 < 0)
            return std::nullopt;
        o.c = o.b.mid(p2 + 1);
        o.b = o.b.left(p2);
    }
    return o;
}

// Speed and timer texts are one digit; the lowest one is the unit's
// default and gives no bits, each step above it `step` more.
uint32_t stepBits(const QString &text, char16_t lowest, char16_t highest, uint32_t step)
{
    if (text.size() != 1 || text[0].unicode() <= lowest || text[0].unicode() > highest)
        return 0;
    return (text[0].unicode() - lowest) * step;
}

// --- decoding helpers

int32_t signed24(uint32_t w)
{
    const int32_t v = static_cast<int32_t>(w & kField24);
    return (w & 0x800000) ? v - 0x1000000 : v;
}

std::optional<QString> scaledText(int32_t pulses, std::optional<double> factor)
{
    if (!usableFactor(factor))
        return std::nullopt;
    return PlainForm(pulses * *factor);
}

QString joined(std::initializer_list<uint32_t> values)
{
    QStringList parts;
    for (uint32_t v : values)
        parts << QString::number(v);
    return parts.join(u',');
}

// Case of a control opcode byte among the cases the model encodes; -1 when
// the byte has no mnemonic there.
int controlCase(uint32_t opcodeByte, UnitKind unit)
{
    const int last = unit == UnitKind::FourAxis ? kLastCase4 : kLastCase2;
    for (int i = 0; i <= last; ++i) {
        if ((kBaseWord[i] & 0xC0000000) == 0xC0000000 && (kBaseWord[i] >> 24) == opcodeByte)
            return i;
    }
    return -1;
}

std::optional<AxisInstruction> decodeMotion(UnitKind unit, const QString &wordText,
                                            std::optional<double> factor)
{
    const auto w = WordValue(wordText);
    if (!w)
        return std::nullopt;
    const uint32_t byte = *w >> 24;
    const int cls = InstructionClassOf(*w, unit);
    AxisInstruction out;
    switch (cls) {
    case kClassLinear: out.CMD = (byte & 1) ? QStringLiteral("ABS") : QStringLiteral("INC"); break;
    case kClassInterpolation: out.CMD = QStringLiteral("LN2"); break;
    case kClassLn3: out.CMD = QStringLiteral("LN3"); break;
    case kClassCircular: out.CMD = (byte & 1) ? QStringLiteral("CCW") : QStringLiteral("CW "); break;
    default: return std::nullopt;
    }
    if (unit == UnitKind::FourAxis) {
        const auto dat = scaledText(signed24(*w), factor);
        if (!dat)
            return std::nullopt;
        out.DAT = *dat;
    } else {
        out.DAT = QString::number(signed24(*w));
    }
    out.SPD = kSpeedTexts[(byte >> 1) & 3];
    out.TIM = kTimerTexts[(byte >> 4) & 3];
    return out;
}

std::optional<AxisInstruction> decodeControl(UnitKind unit, const QString &wordText,
                                             std::optional<double> factor)
{
    const auto w = WordValue(wordText);
    if (!w || InstructionClassOf(*w, unit) < kClassControl)
        return std::nullopt;
    const bool four = unit == UnitKind::FourAxis;
    const uint32_t word = *w;
    const int index = controlCase(word >> 24, unit);
    AxisInstruction out;
    if (index <= Empty)
        return out;   // the empty instruction, or an opcode nothing decodes

    out.CMD = MnemonicList()[index];
    const uint32_t bits23_16 = (word >> 16) & kField8;
    // The register fields the unit reads back: 11 bits of 2000 registers on
    // the 4-axis unit, 6 bits of 54 on the 2-axis unit.
    const uint32_t registerMask = four ? 0x7FF : 0x3F;
    switch (index) {
    case CNT:
    case DCP:
        if (four) {
            const auto dat = scaledText(signed24(word), factor);
            if (!dat)
                return std::nullopt;
            out.DAT = *dat;
        } else {
            out.DAT = QString::number(signed24(word));
        }
        break;
    case JMP:
    case SUB:
        out.DAT = QString::number(word & registerMask);
        break;
    case REP:
        out.DAT = four ? joined({(word >> 8) & 0x7FF, word & kField8})
                       : joined({bits23_16 & 0x3F, word & kField8});
        break;
    case INP:
        out.DAT = four ? joined({bits23_16 & kField7, (word & kInputState4) ? 1u : 0u})
                       : joined({word & kField8, bits23_16 & 1});
        break;
    case IJP:
        out.DAT = four ? joined({bits23_16 & kField7, (word & kInputState4) ? 1u : 0u, word & 0x7FF})
                       : joined({word & kField8, bits23_16 & 1, (word >> 8) & 0x3F});
        break;
    case OUT:
        out.DAT = joined({word & kField8, bits23_16 & 1});
        break;
    case OTP:
        out.DAT = joined({bits23_16, word & kField16});
        break;
    case TIM:
        out.DAT = QString::number(word & kField24);
        break;
    case RNY:
    case RNZ:
    case RNU:
        out.DAT = bits23_16 == 1 ? joined({word & registerMask, 1u})
                                 : QString::number(word & registerMask);
        break;
    case MOV:
        out.DAT = QString::number(word & 1);
        out.SPD = kSpeedTexts[(word >> 9) & 3];
        break;
    case STO:
        out.DAT = QString::number(word & 1);
        break;
    case SPD:
        out.DAT = QString::number(word & 0xFFFFF);
        break;
    default:
        break;   // RET, WTY, HOM, END, WTZ, WTU: no operand is read back
    }
    return out;
}

} // namespace

const QStringList &MnemonicList()
{
    static const QStringList list = {
        QString(),           QStringLiteral("ABS"), QStringLiteral("INC"), QStringLiteral("LN2"),
        QStringLiteral("CW"), QStringLiteral("CCW"), QStringLiteral("CNT"), QStringLiteral("DCP"),
        QStringLiteral("JMP"), QStringLiteral("REP"), QStringLiteral("INP"), QStringLiteral("IJP"),
        QStringLiteral("OUT"), QStringLiteral("OTP"), QStringLiteral("TIM"), QStringLiteral("SUB"),
        QStringLiteral("RET"), QStringLiteral("RNY"), QStringLiteral("WTY"), QStringLiteral("HOM"),
        QStringLiteral("END"), QStringLiteral("LN3"), QStringLiteral("RNZ"), QStringLiteral("RNU"),
        QStringLiteral("WTZ"), QStringLiteral("WTU"), QStringLiteral("MOV"), QStringLiteral("STO"),
        QStringLiteral("SPD")};
    return list;
}

int MnemonicCase(const QString &cmd, UnitKind unit)
{
    const QStringList &list = MnemonicList();
    const qsizetype length = unit == UnitKind::FourAxis ? list.size() : kListLength2;
    for (qsizetype i = 0; i < length; ++i) {
        if (list[i] == cmd)
            return int(i);
    }
    return -1;
}

uint32_t CmdSpdSet(const QString &spd) { return stepBits(spd, u'1', u'4', 0x02000000); }
uint32_t CmdTimSet(const QString &tim) { return stepBits(tim, u'0', u'3', 0x10000000); }
uint32_t CmdSpdSet2(const QString &spd) { return stepBits(spd, u'1', u'4', 0x200); }
uint32_t CmdTimSet2(const QString &tim) { return stepBits(tim, u'0', u'3', 0x1000); }

std::optional<uint32_t> CmdSetup(UnitKind unit, int index, const AxisInstruction &CmdBuf,
                                 std::optional<double> factor, QString *why)
{
    const bool four = unit == UnitKind::FourAxis;
    QString cause;
    // No word: the field and the cause go to `why`.
    auto refused = [&](const QString &field, const QString &text) -> std::optional<uint32_t> {
        if (why)
            *why = refusalText(field, text, CmdBuf.CMD, cause);
        return std::nullopt;
    };
    auto refusedData = [&] { return refused(QStringLiteral("DATA"), CmdBuf.DAT); };
    if (index < 0 || index > (four ? kLastCase4 : kLastCase2)) {
        cause = QStringLiteral("the unit does not take this command");
        return refused(QStringLiteral("CMD"), CmdBuf.CMD);
    }
    uint32_t CmdWord = kBaseWord[index];
    const QString &dat = CmdBuf.DAT;

    switch (index) {
    case Empty:
    case WTY:
    case HOM:
    case END:
    case WTZ:
    case WTU:
        return CmdWord;

    case ABS:
    case INC:
    case LN2:
    case CW:
    case CCW:
    case LN3:
    case CNT:
    case DCP: {
        const auto data = motionData(unit, dat, factor, cause);
        if (!data)
            return refusedData();
        if (index == CNT || index == DCP)
            return CmdWord | *data;
        return CmdWord | *data | CmdSpdSet(CmdBuf.SPD) | CmdTimSet(CmdBuf.TIM);
    }

    case JMP:
    case TIM:
    case SUB:
    case RET:
    case SPD: {
        const auto v = inField(lenientInt(dat), kField24);
        if (!v) {
            cause = QStringLiteral("it must be a number from 0 to %1").arg(kField24);
            return refusedData();
        }
        return CmdWord | *v;
    }

    case REP: {
        const auto o = splitOperands(dat, false);
        if (!o) {
            cause = operandsWanted(2);
            return refusedData();
        }
        const bool ok = four ? put(CmdWord, o->a, 8, kField16, "first", cause)
                                   && put(CmdWord, o->b, 0, kField8, "second", cause)
                             : put(CmdWord, o->a, 16, kField8, "first", cause)
                                   && put(CmdWord, o->b, 0, kField16, "second", cause);
        return ok ? std::optional(CmdWord) : refusedData();
    }

    case INP:
    case IJP: {
        const auto o = splitOperands(dat, index == IJP);
        if (!o) {
            cause = operandsWanted(index == IJP ? 3 : 2);
            return refusedData();
        }
        bool ok;
        if (four) {
            // The state is a text test: anything but "0" waits for the input on.
            ok = put(CmdWord, o->a, 16, kField7, "first", cause)
                 && (index == INP || put(CmdWord, o->c, 0, kField16, "third", cause));
            if (o->b != u"0")
                CmdWord |= kInputState4;
        } else if (index == INP) {
            ok = put(CmdWord, o->a, 0, kField16, "first", cause) && put(CmdWord, o->b, 16, kField8, "second", cause);
        } else {
            ok = put(CmdWord, o->a, 0, kField8, "first", cause) && put(CmdWord, o->c, 8, kField8, "third", cause)
                 && put(CmdWord, o->b, 16, kField8, "second", cause);
        }
        return ok ? std::optional(CmdWord) : refusedData();
    }

    case OUT:
    case OTP: {
        const auto o = splitOperands(dat, false);
        if (!o) {
            cause = operandsWanted(2);
            return refusedData();
        }
        const bool ok = index == OUT ? put(CmdWord, o->a, 0, kField16, "first", cause)
                                           && put(CmdWord, o->b, 16, kField8, "second", cause)
                                     : put(CmdWord, o->a, 16, kField8, "first", cause)
                                           && put(CmdWord, o->b, 0, kField16, "second", cause);
        return ok ? std::optional(CmdWord) : refusedData();
    }

    case RNY:
    case RNZ:
    case RNU: {
        // Without a comma the whole DAT is the register and the second operand 0.
        const auto o = splitOperands(dat, false);
        const bool ok = o ? put(CmdWord, o->a, 0, kField16, "first", cause)
                                && put(CmdWord, o->b, 16, kField8, "second", cause)
                          : put(CmdWord, dat, 0, kField16, "first", cause);
        return ok ? std::optional(CmdWord) : refusedData();
    }

    case MOV:
    case STO: {
        const auto v = inField(lenientInt(dat), 1);
        if (!v) {
            cause = QStringLiteral("it must be 0 or 1");
            return refusedData();
        }
        return CmdWord | *v | (index == MOV ? CmdSpdSet2(CmdBuf.SPD) : CmdTimSet2(CmdBuf.TIM));
    }

    default:
        return std::nullopt;
    }
}

QString WordText(uint32_t value)
{
    return dStrSet(HexDigits(value));
}

std::optional<InstructionWord> EncodeInstruction(UnitKind unit, const AxisInstruction &texts,
                                                 std::optional<double> factor, QString *why)
{
    const AxisInstruction CmdBuf{withoutTrailingBlanks(texts.CMD), withoutTrailingBlanks(texts.DAT),
                                 withoutTrailingBlanks(texts.SPD), withoutTrailingBlanks(texts.TIM)};
    const int index = MnemonicCase(CmdBuf.CMD, unit);
    if (index < 0) {
        if (why)
            *why = refusalText(QStringLiteral("CMD"), CmdBuf.CMD, {}, QStringLiteral("it is no command the unit knows"));
        return std::nullopt;
    }
    const auto word = CmdSetup(unit, index, CmdBuf, factor, why);
    if (!word)
        return std::nullopt;
    return InstructionWord{*word, WordText(*word)};
}

std::optional<InstructionWord> EncodeForAxis(UnitKind unit, const AxisInstruction &texts, int axis, QString *why)
{
    if (axis < 0 || axis >= kAxes)
        return std::nullopt;
    return EncodeInstruction(unit, texts, CurrentAxisFactor(axis), why);
}

QString ReplyWordText(const QString &reply)
{
    const qsizetype comma = reply.indexOf(u',');
    qsizetype start = comma < 0 ? 0 : comma + 1;
    while (start < reply.size() && reply[start] == u' ')
        ++start;
    return reply.mid(start);
}

std::optional<uint32_t> WordValue(const QString &wordText)
{
    QStringView t(wordText);
    while (!t.isEmpty() && (t.back() == u'\r' || t.back() == u'\n' || t.back() == u' '))
        t.chop(1);
    if (t.size() != 8)
        return std::nullopt;
    return HexField(t);
}

int InstructionClassOf(uint32_t word, UnitKind unit)
{
    const uint32_t byte = word >> 24;
    switch (byte & 0xC0) {
    case 0x00: return kClassLinear;
    case 0x40: return (unit == UnitKind::FourAxis && (byte & 0x08)) ? kClassLn3 : kClassInterpolation;
    case 0x80: return kClassCircular;
    default: return kClassControl + int(byte & 0x3F);
    }
}

std::optional<ClassifiedWord> ChkACT(const QString &reply, UnitKind unit)
{
    ClassifiedWord c;
    c.wordText = ReplyWordText(reply);
    const auto w = WordValue(c.wordText);
    if (!w)
        return std::nullopt;
    c.instructionClass = InstructionClassOf(*w, unit);
    return c;
}

std::optional<AxisInstruction> DecodeMotion4(const QString &wordText, std::optional<double> factor)
{
    return decodeMotion(UnitKind::FourAxis, wordText, factor);
}

std::optional<AxisInstruction> DecodeControl4(const QString &wordText, std::optional<double> factor)
{
    return decodeControl(UnitKind::FourAxis, wordText, factor);
}

std::optional<AxisInstruction> DecodeMotion2(const QString &wordText)
{
    return decodeMotion(UnitKind::TwoAxis, wordText, std::nullopt);
}

std::optional<AxisInstruction> DecodeControl2(const QString &wordText)
{
    return decodeControl(UnitKind::TwoAxis, wordText, std::nullopt);
}

std::optional<AxisInstruction> DecodeWord(UnitKind unit, const QString &wordText,
                                          std::optional<double> factor)
{
    const auto w = WordValue(wordText);
    if (!w)
        return std::nullopt;
    return InstructionClassOf(*w, unit) >= kClassControl ? decodeControl(unit, wordText, factor)
                                                         : decodeMotion(unit, wordText, factor);
}

std::optional<AxisInstruction> DecodeForAxis(UnitKind unit, const QString &wordText, int axis)
{
    if (axis < 0 || axis >= kAxes)
        return std::nullopt;
    return DecodeWord(unit, wordText, CurrentAxisFactor(axis));
}
