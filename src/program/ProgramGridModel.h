#pragma once
// The texts a program grid shows: the two header rows and one row per
// register, as the grid's last fill left them plus the cells its window
// wrote since. Addressed in grid rows (register n in row n + 2); a Qt view
// shows the registers as its rows and the header rows as its column titles.

#include <QAbstractTableModel>
#include <QStringList>
#include <array>
#include <vector>

#include "program/ProgramLayout.h"

class ProgramGridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit ProgramGridModel(int registers, QObject *parent = nullptr);

    int Registers() const { return m_registers; }
    int GridRows() const { return m_registers + kHeaderRows; }

    // Cell text by grid row and column; "" outside the grid.
    QString Text(int row, int col) const;
    void setText(int row, int col, const QString &text);
    // The same by cell index row x 22 + column.
    QString TextArray(int index) const;
    void setTextArray(int index, const QString &text);

    // Writes the two header rows from `text` (row 0 or 1, column).
    void WriteHeaders(QString (*text)(int row, int col));

    // Replaces every register row (record n into row n + 2). Rows missing
    // from `records` show empty; extra ones are dropped.
    void Fill(std::vector<QStringList> records);

    // How the column titles stand (left by default: the 4-axis header texts
    // place themselves with leading blanks).
    void setHeaderAlignment(Qt::Alignment alignment) { m_headerAlignment = alignment; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QString *cell(int row, int col);
    int m_registers;
    Qt::Alignment m_headerAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    std::array<std::array<QString, kProgramFields>, kHeaderRows> m_header;
    std::vector<QStringList> m_rows;
};
