#pragma once
// The instruction word of a program register: how one axis's CMD, DAT, SPD
// and TIM texts become the 32-bit word the unit stores, and how a word read
// back from the unit becomes those texts again. One definition for both unit
// models, free of windows, port and database, so the transfer routines only
// move texts and words.
//
// Word layout (bit 31 first): bits 31-30 the class (00 linear move, 01
// linear interpolation, 10 circular, 11 control). Motion classes: bits 29-28
// timer, bit 27 LN3 flag, bits 26-25 speed - 1, bit 24 ABS/CCW flag, bits
// 23-0 data in 24-bit two's complement. Control class: bits 31-24 the opcode
// byte, bits 23-0 its operands.

#include "shared/UnitKind.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>


// The texts of one axis in one register.
struct AxisInstruction {
    QString CMD;
    QString DAT;
    QString SPD;
    QString TIM;
    bool operator==(const AxisInstruction &) const = default;
};

// ---------------------------------------------------------------- encoding

// Mnemonics by case number, 0 to 28; case 0 is the empty instruction.
const QStringList &MnemonicList();

// Case number of `cmd` in the model's list (cases 0 to 23 on the 2-axis
// unit, 0 to 28 on the 4-axis unit); exact, case-sensitive; -1 when absent.
int MnemonicCase(const QString &cmd, UnitKind unit);

// Speed and timer bits to OR into a word: SPD "2" to "4" and TIM "1" to "3";
// any other text, the empty one included, gives no bits.
uint32_t CmdSpdSet(const QString &spd);    // bits 26-25 of a motion word
uint32_t CmdTimSet(const QString &tim);    // bits 29-28 of a motion word
uint32_t CmdSpdSet2(const QString &spd);   // bits 10-9 of MOV
uint32_t CmdTimSet2(const QString &tim);   // bits 13-12 of STO

// The encoder proper: the word of case `index` built from CmdBuf (texts with
// trailing blanks already removed). On the 4-axis unit motion, CNT and DCP
// data are in the axis's unit and are divided by `factor`, the length of one
// pulse in that unit (nothing: the factor could not be looked up; a number
// the factor reader refuses fails the same way); the 2-axis unit takes them
// in pulses and ignores `factor`. Nothing when the case is not one the model
// encodes, a number does not read, a comma is missing, or a value does not
// fit its field; then `why` (when given) takes the field, its text and
// the cause: "DATA "3" of REP cannot be sent: it needs two numbers separated
// by a comma."
std::optional<uint32_t> CmdSetup(UnitKind unit, int index, const AxisInstruction &CmdBuf,
                                 std::optional<double> factor, QString *why = nullptr);

// A word and its text form on the line: 8 upper-case hexadecimal digits.
struct InstructionWord {
    uint32_t value = 0;
    QString text;
};
QString WordText(uint32_t value);

// Everything a download needs for one register of one axis: trailing blanks
// removed, the command looked up, the word built. Nothing means the register
// cannot be sent, and `why` (when given) says which field and why.
std::optional<InstructionWord> EncodeInstruction(UnitKind unit, const AxisInstruction &texts,
                                                 std::optional<double> factor, QString *why = nullptr);

// EncodeInstruction with the factor of `axis` (0 X to 3 U) as the factor
// reader gives it (shared/AxisFactor.h); nothing for an axis outside 0 to 3
// (`why` left as it was).
std::optional<InstructionWord> EncodeForAxis(UnitKind unit, const AxisInstruction &texts, int axis,
                                             QString *why = nullptr);

// ---------------------------------------------------------------- decoding

// InstructionClass values.
constexpr int kClassLinear = 0;          // INC, ABS
constexpr int kClassInterpolation = 1;   // LN2 (and LN3 on the 2-axis unit)
constexpr int kClassCircular = 2;        // CW, CCW
constexpr int kClassLn3 = 3;             // LN3, 4-axis unit only
constexpr int kClassControl = 256;       // plus the low six bits of the opcode byte

// The word text of a register reply: the text after its first ",", leading
// blanks removed; without a comma the whole reply without leading blanks.
QString ReplyWordText(const QString &reply);

// A word text as its value: exactly 8 hexadecimal digits (either case),
// optionally followed by the line's CR, LF or blanks; nothing otherwise.
std::optional<uint32_t> WordValue(const QString &wordText);

// The InstructionClass of a word. Only the 4-axis unit tells LN3 apart.
int InstructionClassOf(uint32_t word, UnitKind unit);

struct ClassifiedWord {
    QString wordText;   // what the upload keeps in ReplyLine
    int instructionClass = 0;
};
// Classifies a register reply; nothing when its word text is not a word.
std::optional<ClassifiedWord> ChkACT(const QString &reply, UnitKind unit);

// The four decodings, each from a word text to the axis's texts; nothing
// when the text is not a word or the word is not of the decoding's kind.
// Motion words always get SPD "1" to "4" and TIM "0" to "3", and a clockwise
// circle the CMD "CW " with its blank. Control words get SPD and TIM empty
// but for the 4-axis MOV's speed; opcodes without a mnemonic give four
// empty texts. On the 4-axis unit DAT of motion, CNT and DCP words is in the
// axis's unit (pulses times `factor`; nothing when the factor is missing or
// one the factor reader refuses); on the 2-axis unit every number is as the
// unit holds it.
std::optional<AxisInstruction> DecodeMotion4(const QString &wordText, std::optional<double> factor);
std::optional<AxisInstruction> DecodeControl4(const QString &wordText, std::optional<double> factor);
std::optional<AxisInstruction> DecodeMotion2(const QString &wordText);
std::optional<AxisInstruction> DecodeControl2(const QString &wordText);

// The model's decoding chosen by the word's class (`factor` is used on the
// 4-axis unit only).
std::optional<AxisInstruction> DecodeWord(UnitKind unit, const QString &wordText,
                                          std::optional<double> factor);

// DecodeWord with the factor of `axis` (0 X to 3 U) as the factor reader
// gives it; nothing for an axis outside 0 to 3.
std::optional<AxisInstruction> DecodeForAxis(UnitKind unit, const QString &wordText, int axis);
