#pragma once
// The data file writer: parameters, program and scale of the shared store
// and the model's program table, saved as one text file. No window needed;
// the file window only chooses the path and shows the outcome.

#include "datafile/DataFileFormat.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// Line 1: the model's heading, the date (MM-dd-yyyy), two blanks, the time.
QString DataFileHeader(UnitKind kind, const QDateTime &when);

// Why a text cannot go into a data file, or nothing when it can: a double
// quote or a line break would end its field or line early, and a character
// outside the file's 8-bit set would come back as another one. A parameter
// text may not hold a comma either, which would split it into two items.
std::optional<QString> UnkeepableInRecord(const QString &text);
std::optional<QString> UnkeepableInParameter(const QString &text);

// The whole file for the shared tables and scale and these records (one per
// register of the model, 22 fields each). Nothing, and *refusal saying which
// register or parameter holds what, when a text cannot be kept.
std::optional<QByteArray> DataFileBytes(UnitKind kind, const std::vector<QStringList> &records,
                                        const QDateTime &when, QString *refusal,
                                        const DataFileProgress &progress = {});

// Saves the data file of the connected unit's model at `path`: the bytes go
// to a temporary file beside it, renamed over the old file only when
// complete, and the saved file is marked read-only (a read-only old file is
// replaced all the same). Nothing on success, else the message for the
// operator; the old file is then untouched.
std::optional<QString> SaveDataFile(const QString &path, const QDateTime &when = QDateTime::currentDateTime(),
                                    const DataFileProgress &progress = {});

// SaveDataFile, telling the operator when it failed. True when saved.
bool DatSaveAct(const QString &path, const DataFileProgress &progress = {});
