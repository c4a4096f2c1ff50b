#pragma once
// The data file reader: a data file's parameters, program and scale loaded
// back into the shared store and the model's program table. No window
// needed; the file window only chooses the file and shows the outcome.
//
// The reader acts on its marker lines only and passes over every other line,
// so a file may hold other lines between blocks, blocks in any order, or
// only some of them. Whatever it cannot take whole is left as it was and
// named in the outcome: a section never runs into the next marker, records
// are never shifted into another register, and the scale is taken all or
// nothing.

#include "datafile/DataFileFormat.h"
#include "program/ProgramLayout.h"
#include "shared/Shared.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// The lines of a data file: a line ends at CR, an LF right after the CR
// belongs to that line end, and a lone LF stays in the text (so a file with
// LF line ends is one line). The bytes are read as Latin-1, one character
// each, as the writer writes them. Lines are found as they are read, and
// each is a view into the bytes, valid while this object lives.
class DataFileLines
{
public:
    explicit DataFileLines(const QByteArray &bytes) : m_bytes(bytes) {}
    bool AtEnd() const { return m_next >= m_bytes.size(); }
    // The next line (empty at the end).
    QLatin1StringView Next();
    // The line last read comes again with the next Next().
    void Back();
    // The line last read is the file's last and has no line end: the file
    // may have been cut inside it.
    bool LastReadUnended() const { return m_unended; }
    // The bytes the lines are views of.
    const QByteArray &Bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;      // shares the caller's bytes
    qsizetype m_next = 0;    // where the next line starts
    qsizetype m_last = 0;    // where the line last read starts
    bool m_unended = false;
};

// The 22 fields of a whole record line, kept as where they lie in the
// file's bytes: a load makes texts of them only for a register it changes.
class RecordFields
{
public:
    // Where each field starts and ends in the bytes, field after field.
    using Bounds = std::array<qsizetype, 2 * kProgramFields>;
    RecordFields(const QByteArray &bytes, const Bounds &bounds) : m_bytes(bytes), m_bounds(bounds) {}

    static constexpr qsizetype size() { return kProgramFields; }
    // Field f (0..21) as it stands in the file.
    QLatin1StringView view(qsizetype f) const;
    QString at(qsizetype f) const { return QString(view(f)); }
    QStringList toList() const;
    // Field by field, as the texts a register holds.
    bool operator==(const QStringList &texts) const;

private:
    QByteArray m_bytes;
    Bounds m_bounds;
};

// One axis block as read: what each item is to become; nothing for an item
// the file did not give.
struct AxisValues {
    std::array<std::optional<int16_t>, kModeItems> mode{};
    std::array<std::optional<int16_t>, kHomeItems> home{};
    std::array<std::optional<QString>, kParamItems> param{};
};

struct ScaleValues {
    std::array<int16_t, kAxes> unit{};
    std::array<std::array<QString, kFileUnitCodes>, kAxes> factor{};   // [axis][unit code]
};

// Everything a data file gives, before any of it is stored.
struct DataFileContent {
    std::array<AxisValues, kAxes> axes{};
    // One entry per register of the model; nothing keeps the register as it is.
    std::vector<std::optional<RecordFields>> records;
    std::optional<ScaleValues> scale;

    std::array<bool, kAxes> axisFound{};
    bool programFound = false;
    bool scaleFound = false;
    // What could not be taken, one line each, as the operator is told.
    QStringList notLoaded;
};

// Reads one axis block after its heading: the MODE, HOME SEARCH and
// PARAMETER sections, each heading followed by its values line. The block
// ends early at the end of the file, at a line that starts another block or
// section of the file (given back to the caller), at a values line with too
// few items or an item that is no 16-bit number; the items taken before
// stay taken. The last item of a values line the file ends in without a
// line end is not taken: it may be cut short.
void DataUp(DataFileLines &lines, int axis, DataFileContent &out);

// Walks the whole file for a unit of this model.
DataFileContent ParseDataFile(const QByteArray &bytes, UnitKind kind, const DataFileProgress &progress = {});

// What a load did.
struct LoadOutcome {
    bool fileRead = false;        // false: the file could not be read, nothing loaded
    bool programChanged = false;  // some register of the program table was written
    bool scaleLoaded = false;
    QStringList notLoaded;        // as in DataFileContent, plus what storing refused
    QString fileError;            // why the file could not be read
};

// Stores what the file gave into the shared tables and the program table of
// the model (all registers in one transaction: a refused write leaves the
// table as it was before the load).
LoadOutcome ApplyDataFile(const DataFileContent &content, UnitKind kind);

// Reads the file at `path` for the connected unit's model and stores it.
LoadOutcome LoadDataFile(const QString &path, const DataFileProgress &progress = {});

// The one message for a load that did not take everything, empty for a
// clean load.
QString LoadMessage(const LoadOutcome &outcome, const QString &path);

// LoadDataFile, then the windows follow: the main window is asked to show
// the units, amounts and positions (when the scale was loaded), the
// parameter grid and the program views show the tables; and the operator is
// told what was not loaded.
LoadOutcome DatLoadAct(const QString &path, const DataFileProgress &progress = {});
