#include "program/ProgramGridModel.h"

ProgramGridModel::ProgramGridModel(int registers, QObject *parent)
    : QAbstractTableModel(parent), m_registers(registers), m_rows(std::size_t(registers))
{
}

QString *ProgramGridModel::cell(int row, int col)
{
    if (col < 0 || col >= kProgramFields || row < 0 || row >= GridRows())
        return nullptr;
    if (row < kHeaderRows)
        return &m_header[std::size_t(row)][std::size_t(col)];
    QStringList &r = m_rows[std::size_t(RegisterOfRow(row))];
    if (r.size() != kProgramFields)
        r.resize(kProgramFields);
    return &r[col];
}

QString ProgramGridModel::Text(int row, int col) const
{
    if (col < 0 || col >= kProgramFields || row < 0 || row >= GridRows())
        return {};
    if (row < kHeaderRows)
        return m_header[std::size_t(row)][std::size_t(col)];
    const QStringList &r = m_rows[std::size_t(RegisterOfRow(row))];
    return col < r.size() ? r[col] : QString();
}

void ProgramGridModel::setText(int row, int col, const QString &text)
{
    QString *c = cell(row, col);
    if (!c || *c == text)
        return;
    *c = text;
    if (row < kHeaderRows)
        emit headerDataChanged(Qt::Horizontal, col, col);
    else
        emit dataChanged(index(RegisterOfRow(row), col), index(RegisterOfRow(row), col), {Qt::DisplayRole});
}

QString ProgramGridModel::TextArray(int index) const
{
    return index < 0 ? QString() : Text(index / kProgramFields, index % kProgramFields);
}

void ProgramGridModel::setTextArray(int index, const QString &text)
{
    if (index >= 0)
        setText(index / kProgramFields, index % kProgramFields, text);
}

void ProgramGridModel::WriteHeaders(QString (*text)(int row, int col))
{
    for (int col = 0; col < kProgramFields; ++col)
        for (int row = 0; row < kHeaderRows; ++row)
            setText(row, col, text(row, col));
}

void ProgramGridModel::Fill(std::vector<QStringList> records)
{
    beginResetModel();
    records.resize(std::size_t(m_registers));
    m_rows = std::move(records);
    endResetModel();
}

int ProgramGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_registers;
}

int ProgramGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kProgramFields;
}

QVariant ProgramGridModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return Text(index.row() + kHeaderRows, index.column());
}

QVariant ProgramGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::TextAlignmentRole)
        return int(m_headerAlignment);
    if (role != Qt::DisplayRole)
        return {};
    return Text(0, section) + u'\n' + Text(1, section);
}
