#pragma once
// The program table of one unit model: one object per database file, shared
// by every window that reads or writes programs (main window, both editors,
// transfers, block copies, teaching, data files). Registers are addressed by
// number (0 .. RegisterCount()-1), never by stored order; fields by their
// index in ProgramFieldNames(), whatever order the file keeps them in.
//
// Every write is committed at once (or with the transaction around it), so
// every user sees it when it next reads. A window that shows the table
// keeps its own copy and renews it on refreshRequested(): whoever writes
// many registers behind an open editor's back calls RequestRefresh() once
// afterwards.
//
// Nothing here shows a message: failures return false or nothing, and
// ErrorText() says why; ReportFailure() shows that to the operator.

#include "program/ProgramLayout.h"
#include "shared/Shared.h"
#include "shared/UnitKind.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class DataControl;
struct TableSchema;

// The database file of a model under the program folder, and its table.
QString ProgramFilePath(UnitKind kind);
QString ProgramTableName(UnitKind kind);
// What the file must hold: 22 text fields, RegisterCount(kind) records,
// Reg1 = Reg2 = the register number in a new file.
TableSchema ProgramSchema(UnitKind kind);

class ProgramTable : public QObject
{
    Q_OBJECT
public:
    ProgramTable(UnitKind kind, const QString &path);
    ~ProgramTable() override;

    UnitKind Kind() const { return m_kind; }
    QString FilePath() const { return m_path; }
    int RegisterCount() const { return ::RegisterCount(m_kind); }
    int LastRegister() const { return ::LastRegister(m_kind); }
    bool ValidRegister(int reg) const { return reg >= 0 && reg < RegisterCount(); }

    // Makes sure the file exists and is sound (creating it when missing) and
    // opens it. Nothing when the table is open, else the message that names
    // the file and what is wrong; a damaged file is not written to.
    std::optional<QString> Open();
    bool IsOpen() const;

    // One register: the 22 fields in record order. Nothing when the register
    // is out of range or cannot be read.
    std::optional<QStringList> Record(int reg) const;
    // One axis (0..3) of a register: CMD, DAT, SPD, TIM, CMT.
    std::optional<ClipRow> Axis(int reg, int axis) const;
    // Every register in order (empty on failure).
    std::vector<QStringList> ReadAll() const;

    // Writes the given fields (index, text) of one register in one store.
    // False, and nothing written, when the register or a field index is out
    // of range or the database refuses the store.
    using FieldValues = std::vector<std::pair<int, QString>>;
    bool WriteFields(int reg, const FieldValues &fields);
    bool WriteAxis(int reg, int axis, const ClipRow &row);
    // The 22 fields of a register (data files restore Reg1 and Reg2 too).
    bool WriteRecord(int reg, const QStringList &fields);

    // Runs `work` (a run of reads and writes) as one transaction: all its
    // writes are kept when it returns true and every one succeeded, else
    // none is. Transactions nest; the outermost decides.
    bool InTransaction(const std::function<bool()> &work);

    QString ErrorText() const { return m_error; }
    // Shows `what` (one line saying what failed) and the reason, once.
    void ReportFailure(const QString &what) const;

    // Asks every open view of the table to read it again.
    void RequestRefresh() { emit refreshRequested(); }

signals:
    void refreshRequested();

private:
    bool usable(int reg) const;
    bool position(int reg) const;
    int stored(int field) const;

    UnitKind m_kind;
    QString m_path;
    std::unique_ptr<DataControl> m_data;
    // Where each record field lies in the file's own field order.
    std::vector<int> m_storedIndex;
    mutable QString m_error;
};

// The shared table of a model's file under the current program folder
// (created on first use; not yet opened).
ProgramTable &ProgramTableOf(UnitKind kind);
// Drops every shared table and its connection (tests use it between cases).
void CloseProgramTables();
