#include "program/ProgramTable.h"

#include "platform/AppInfo.h"
#include "platform/DataControl.h"
#include "platform/Dialogs.h"

#include <QDir>
#include <QFileInfo>
#include <map>

QString ProgramFilePath(UnitKind kind)
{
    return AppPath()
           + (kind == UnitKind::TwoAxis ? QStringLiteral("/PrgData/ZT260Prg.sqlite")
                                        : QStringLiteral("/PrgData/ZT460Prg.sqlite"));
}

QString ProgramTableName(UnitKind kind)
{
    return kind == UnitKind::TwoAxis ? QStringLiteral("Zt260Prg") : QStringLiteral("Zt460Prg");
}

TableSchema ProgramSchema(UnitKind kind)
{
    TableSchema s;
    s.table = ProgramTableName(kind);
    s.fields = ProgramFieldNames();
    s.records = RegisterCount(kind);
    s.seed = [](int pos, int field) {
        return KindOfColumn(field) == CellKind::Reg ? QString::number(pos) : QString();
    };
    return s;
}

ProgramTable::ProgramTable(UnitKind kind, const QString &path)
    : m_kind(kind), m_path(path), m_data(std::make_unique<DataControl>())
{
}

ProgramTable::~ProgramTable() = default;

std::optional<QString> ProgramTable::Open()
{
    if (IsOpen())
        return std::nullopt;
    if (auto refused = EnsureDatabase(m_path, {ProgramSchema(m_kind)})) {
        m_error = *refused;
        return refused;
    }
    m_data->DatabaseName = m_path;
    m_data->RecordSource = ProgramTableName(m_kind);
    const QString cannot = QStringLiteral("The database file %1 cannot be used: %2.")
                               .arg(QDir::toNativeSeparators(m_path));
    if (!m_data->Refresh()) {
        m_error = cannot.arg(m_data->ErrorText());
        return m_error;
    }
    // The fields are read by name, so a file that keeps them in another
    // order still gives every field its own column.
    const QStringList stored = m_data->recordset().FieldNames();
    m_storedIndex.clear();
    for (const QString &name : ProgramFieldNames())
        m_storedIndex.push_back(int(stored.indexOf(name)));
    m_error.clear();
    return std::nullopt;
}

bool ProgramTable::IsOpen() const
{
    return m_data->IsOpen() && m_storedIndex.size() == kProgramFields;
}

int ProgramTable::stored(int field) const
{
    return field >= 0 && field < m_storedIndex.size() ? m_storedIndex[field] : -1;
}

bool ProgramTable::usable(int reg) const
{
    if (!IsOpen()) {
        m_error = QStringLiteral("the program database is not open");
        return false;
    }
    if (!ValidRegister(reg)) {
        m_error = QStringLiteral("register %1 is outside the program (0 to %2)").arg(reg).arg(LastRegister());
        return false;
    }
    return true;
}

bool ProgramTable::position(int reg) const
{
    if (!usable(reg))
        return false;
    if (!m_data->recordset().setAbsolutePosition(reg)) {
        m_error = m_data->recordset().ErrorText();
        return false;
    }
    return true;
}

std::optional<QStringList> ProgramTable::Record(int reg) const
{
    if (!position(reg))
        return std::nullopt;
    QStringList fields;
    fields.reserve(kProgramFields);
    for (int f = 0; f < kProgramFields; ++f)
        fields << m_data->recordset().Field(stored(f));
    return fields;
}

std::optional<ClipRow> ProgramTable::Axis(int reg, int axis) const
{
    if (AxisStartColumn(axis) < 0 || !position(reg))
        return std::nullopt;
    ClipRow row;
    for (int part = 0; part < kAxisFields; ++part)
        row[std::size_t(part)] = m_data->recordset().Field(stored(AxisFieldColumn(axis, part)));
    return row;
}

std::vector<QStringList> ProgramTable::ReadAll() const
{
    if (!IsOpen()) {
        m_error = QStringLiteral("the program database is not open");
        return {};
    }
    // Read in record order, whatever order the file keeps the fields in.
    std::vector<QStringList> rows = m_data->ReadAll(m_storedIndex);
    if (int(rows.size()) != RegisterCount()) {
        m_error = m_data->ErrorText();
        if (m_error.isEmpty())
            m_error = QStringLiteral("the program table gives %1 of its %2 registers").arg(rows.size()).arg(RegisterCount());
        return {};
    }
    return rows;
}

bool ProgramTable::WriteFields(int reg, const FieldValues &fields)
{
    for (const auto &[field, value] : fields)
        if (stored(field) < 0) {
            m_error = QStringLiteral("field %1 is not a program field").arg(field);
            return false;
        }
    if (!usable(reg))
        return false;
    // Stored without reading the whole record first.
    FieldValues inFile;
    inFile.reserve(fields.size());
    for (const auto &[field, value] : fields)
        inFile.emplace_back(stored(field), value);
    if (!m_data->StoreFields(reg, inFile)) {
        m_error = m_data->ErrorText();
        return false;
    }
    return true;
}

bool ProgramTable::WriteAxis(int reg, int axis, const ClipRow &row)
{
    if (AxisStartColumn(axis) < 0) {
        m_error = QStringLiteral("axis %1 does not exist").arg(axis);
        return false;
    }
    FieldValues fields;
    for (int part = 0; part < kAxisFields; ++part)
        fields.emplace_back(AxisFieldColumn(axis, part), row[std::size_t(part)]);
    return WriteFields(reg, fields);
}

bool ProgramTable::WriteRecord(int reg, const QStringList &values)
{
    if (values.size() != kProgramFields) {
        m_error = QStringLiteral("a register has %1 fields, not %2").arg(kProgramFields).arg(values.size());
        return false;
    }
    if (!usable(reg))
        return false;
    Recordset &rs = m_data->recordset();
    if (!rs.Store(reg, m_storedIndex, values)) {
        m_error = rs.ErrorText();
        return false;
    }
    return true;
}

bool ProgramTable::InTransaction(const std::function<bool()> &work)
{
    if (!IsOpen()) {
        m_error = QStringLiteral("the program database is not open");
        return false;
    }
    m_error.clear();
    const bool ok = m_data->InTransaction(work);
    // A failed write inside left its reason; a failed commit did not.
    if (!ok && m_error.isEmpty())
        m_error = m_data->ErrorText();
    return ok;
}

void ProgramTable::ReportFailure(const QString &what) const
{
    MsgBox(what + u'\n' + (m_error.isEmpty() ? QStringLiteral("The database gave no reason.") : m_error), MsgButtons::Ok, QStringLiteral("ZT260A/ZT460A"), MsgIcon::Critical);
}

namespace {
std::map<QString, std::unique_ptr<ProgramTable>> &tables()
{
    static std::map<QString, std::unique_ptr<ProgramTable>> map;
    return map;
}
}

ProgramTable &ProgramTableOf(UnitKind kind)
{
    const QString path = QFileInfo(ProgramFilePath(kind)).absoluteFilePath();
    auto &slot = tables()[path];
    if (!slot)
        slot = std::make_unique<ProgramTable>(kind, path);
    return *slot;
}

void CloseProgramTables()
{
    for (auto &[path, table] : tables())
        CloseDatabase(path);
    tables().clear();
}
