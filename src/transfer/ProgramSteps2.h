#pragma once
// The register steps of the 2-axis unit for the transfer loop
// (transfer/ProgramTransfer.h): the download writes "IXS X12,C1000005" and
// takes the echo "IXS X12, C1000005" (a blank after the comma); the upload
// asks "IXR X12" and takes "IXR X12, C1000005" of that axis and register
// only, decoding the word into the program table. Data travels in pulses:
// the 2-axis unit's program has no unit of measure.

#include "transfer/ProgramTransfer.h"

#include "program/ProgramTable.h"

#include <memory>

// "IXS X12,C1000005" and CR; "IXR X12" and CR. Empty for an axis outside
// 0..3.
QString RegisterWriteCommand2(int axis, int reg, const QString &wordText);
QString RegisterReadCommand2(int axis, int reg);

// Whether a write echo repeats the command: the same text, but for blanks
// after the comma.
bool EchoMatches2(const QString &command, const QString &echo);

class DownloadWords;

// The steps of one axis (0 X, 1 Y) of the 2-axis program in `table`. A
// download sends the words of `words` (those of a download of both axes);
// without, the axis's own, taken when the axis begins. Either way the range
// is checked whole before its first register.
TransferSteps DownloadSteps2(ProgramTable &table, int axis);
TransferSteps DownloadSteps2(const std::shared_ptr<DownloadWords> &words, int axis);
TransferSteps UploadSteps2(ProgramTable &table, int axis);
