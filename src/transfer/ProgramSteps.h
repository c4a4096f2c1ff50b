#pragma once
// What the register steps of both models (ProgramSteps4.h, ProgramSteps2.h)
// share: the download's words, made from the program as it stood when the
// axis began, and the upload's decoding and storing of each register read.

#include "transfer/InstructionCodec.h"
#include "transfer/ProgramTransfer.h"

#include "program/ProgramTable.h"

#include <functional>

// The instruction word of each register of `axis` (0 X .. 3 U) of `table`,
// encoded by the model's encoder from the program as it stands at the first
// call (read in one go). Nothing for a register the table does not hold or
// whose texts the encoder refuses; for the latter `why` (when given) takes
// the encoder's reason.
using RegisterWords = std::function<std::optional<InstructionWord>(int reg, QString *why)>;
RegisterWords ProgramWords(ProgramTable &table, UnitKind kind, int axis);

// The steps' `refusal` of a download by `words`: why a register's texts
// cannot be sent.
std::function<QString(int reg)> WordRefusals(const RegisterWords &words);

// The fields of `axis` (0 X .. 3 U) that a register reply's word gives: its
// CMD, DAT, SPD and TIM (record field index, text), by the model's decoding.
// The instructions only the X axis gives (RNY, WTY, and on the 4-axis unit
// RNZ to WTU) give no field on another axis, so the register keeps what it
// held. Nothing when the reply carries no word, the word cannot be decoded
// (a factor that is no factor) or the axis is out of range.
std::optional<ProgramTable::FieldValues> RegisterFields(UnitKind kind, int axis, const QString &reply);

// Sets the upload's `store` and `flush`: each matching reply is decoded by
// RegisterFields and the registers are written to `table` in batches; a
// reply that does not decode, or a register the table refuses, fails the
// transfer there, and what was read before it stays stored.
void StoreUploadedRegisters(TransferSteps &steps, ProgramTable &table, UnitKind kind, int axis);
