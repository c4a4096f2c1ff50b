#pragma once
// The register steps of the 4-axis unit for the transfer loop
// (transfer/ProgramTransfer.h): the download writes "PRX 12,C1000005" and
// takes the echo, the upload asks "PRX 12" and takes "PRX 12,C1000005",
// decoding the word into the program table (CmdAnalyze). The download sends
// the program as it stood when the download began (read in one go), and
// only when every register of it can be sent; the upload stores
// what it reads in batches, a few times a second, so that the database
// commits once for many registers; whatever way the axis ends, what was
// read before is stored.

#include "transfer/ProgramTransfer.h"

#include "program/ProgramTable.h"

#include <memory>

// "PRX 12,C1000005" and CR; "PRX 12" and CR. Empty for an axis outside 0..3.
QString RegisterWriteCommand(int axis, int reg, const QString &wordText);
QString RegisterReadCommand(int axis, int reg);

class DownloadWords;

// The steps of one axis (0 X .. 3 U) of the 4-axis program in `table`. A
// download sends the words of `words` (those of a download of several
// axes); without, the axis's own, taken when the axis begins. Either way
// the range is checked whole before its first register.
TransferSteps DownloadSteps4(ProgramTable &table, int axis);
TransferSteps DownloadSteps4(const std::shared_ptr<DownloadWords> &words, int axis);
TransferSteps UploadSteps4(ProgramTable &table, int axis);

// The fields of `axis` (0 X .. 3 U) that a register reply's word gives: its
// CMD, DAT, SPD and TIM (record field index, text), decoded with the axis's
// own factor. Every motion instruction is decoded on every axis; the
// instructions only the X axis gives (RNY to RNU, WTY to WTU) give no field
// on another axis, so the register keeps what it held. Nothing when the
// reply carries no word or the word cannot be decoded (a factor that is no
// factor), or the axis is out of range.
std::optional<ProgramTable::FieldValues> CmdAnalyze(int axis, const QString &reply);
