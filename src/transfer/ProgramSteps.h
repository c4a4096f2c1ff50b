#pragma once
// What the register steps of both models (ProgramSteps4.h, ProgramSteps2.h)
// share: the download's words, made from the program as it stood when the
// axis began, and the upload's decoding and storing of each register read.

#include "transfer/InstructionCodec.h"
#include "transfer/ProgramTransfer.h"

#include "program/ProgramTable.h"

#include "shared/Shared.h"

#include <array>
#include <functional>
#include <memory>
#include <vector>

// The registers of one axis (0 X .. 3 U) that a download sends.
struct DownloadRange {
    int axis = 0;
    int from = 0;
    int to = -1;
};

// The instruction words of a download of the model's program in `table`,
// encoded by the model's encoder from the program (and the axes' factors)
// as they stand at the first ask, the program read in one go. Each word is
// encoded once and kept, so the check before the first register and the
// registers sent agree, whatever is edited while the download runs. Shared
// by the steps of every axis of one download.
class DownloadWords
{
public:
    DownloadWords(ProgramTable &table, UnitKind kind);

    // The word of register `reg` of `axis`. Nothing for a register or axis
    // the model does not hold, a register the table does not hold, or one
    // whose texts the encoder refuses; for the latter `why` (when given)
    // takes the encoder's reason.
    std::optional<InstructionWord> Word(int axis, int reg, QString *why = nullptr);

    // Every register of the ranges, in the order the download sends them:
    // the first that cannot be sent and how many more; nothing when every
    // one can.
    std::optional<RegisterRefusal> Check(const std::vector<DownloadRange> &ranges);

private:
    struct Encoded {
        std::optional<InstructionWord> word;
        QString why;
    };
    ProgramTable &m_table;
    UnitKind m_kind;
    std::optional<std::vector<QStringList>> m_rows;
    std::array<std::vector<std::optional<Encoded>>, kAxes> m_encoded;
};

// The download steps' `refusal` and `checkFirst` of `axis` by `words`.
void CheckDownloadWith(TransferSteps &steps, const std::shared_ptr<DownloadWords> &words, int axis);

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
