#include "platform/DataGrid.h"

#include "platform/DataControl.h"
#include "platform/KeyCodes.h"

#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QToolButton>

namespace {
// The cell entry takes what is typed and judges it once entered; an Alt
// chord's character is no typing, so it never gets in.
class CellEntryDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        DropTypingChords(editor);
        return editor;
    }
};
} // namespace

DataGrid::DataGrid(QWidget *parent) : QTableWidget(parent)
{
    horizontalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionsClickable(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
    setItemDelegate(new CellEntryDelegate(this));

    m_button = new QToolButton(viewport());
    m_button->setArrowType(Qt::DownArrow);
    m_button->setFocusPolicy(Qt::NoFocus);
    m_button->hide();
    connect(m_button, &QToolButton::clicked, this, [this] {
        if (Col() >= 0)
            emit ButtonClick(Col());
    });
    connect(this, &QTableWidget::itemChanged, this, &DataGrid::cellEdited);
    connect(this, &QTableWidget::currentCellChanged, this, &DataGrid::currentMoved);
}

QTableWidgetItem *DataGrid::cell(int col, const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    if (col < m_lockedColumns.size() && m_lockedColumns[col])
        item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

void DataGrid::setDataSource(DataControl *data)
{
    m_data = data;
    ReBind();
}

void DataGrid::ReBind()
{
    m_writing = true;
    clearContents();
    const std::vector<QStringList> rows = m_data ? m_data->ReadAll() : std::vector<QStringList>{};
    const int cols = m_data && m_data->IsOpen() ? int(m_data->recordset().FieldNames().size()) : 0;
    setColumnCount(cols);
    setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        setVerticalHeaderItem(r, new QTableWidgetItem(QString()));
        for (int c = 0; c < cols; ++c)
            setItem(r, c, cell(c, c < rows[size_t(r)].size() ? rows[size_t(r)][c] : QString()));
    }
    m_writing = false;
    markRow(Row());
    placeButton();
}

int DataGrid::Row() const
{
    return m_editRow >= 0 ? m_editRow : currentRow();
}

int DataGrid::Col() const
{
    return m_editCol >= 0 ? m_editCol : currentColumn();
}

void DataGrid::setRow(int row)
{
    if (row >= 0 && row < rowCount())
        setCurrentCell(row, qMax(0, currentColumn()));
}

void DataGrid::setCol(int col)
{
    if (col >= 0 && col < columnCount())
        setCurrentCell(qMax(0, currentRow()), col);
}

QString DataGrid::CellText(int row, int col) const
{
    const QTableWidgetItem *it = (row >= 0 && col >= 0) ? item(row, col) : nullptr;
    return it ? it->text() : QString();
}

bool DataGrid::WriteCell(int row, int col, const QString &text)
{
    if (!m_data || row < 0 || row >= rowCount() || col < 0 || col >= columnCount())
        return false;
    Recordset &rs = m_data->recordset();
    bool ok = rs.setAbsolutePosition(row);
    if (ok) {
        rs.Edit();
        ok = rs.setField(col, text) && rs.Update();
        if (!ok)
            rs.CancelUpdate();
    }
    // The cell shows the record, whether the store went through or not.
    const QString stored = ok ? text : (rs.AbsolutePosition() == row ? rs.Field(col) : CellText(row, col));
    const bool wasWriting = m_writing;
    m_writing = true;
    if (QTableWidgetItem *it = item(row, col))
        it->setText(stored);
    m_writing = wasWriting;
    return ok;
}

void DataGrid::cellEdited(QTableWidgetItem *item)
{
    if (m_writing || !item)
        return;
    const int row = item->row();
    const int col = item->column();
    if (!WriteCell(row, col, item->text()))
        return;
    // The edit may end because the cursor moved on: the event still
    // belongs to the edited cell.
    const int outerRow = m_editRow, outerCol = m_editCol;
    m_editRow = row;
    m_editCol = col;
    emit AfterColEdit(col);
    m_editRow = outerRow;
    m_editCol = outerCol;
}

void DataGrid::currentMoved(int row, int, int lastRow, int lastCol)
{
    markRow(row);
    if (lastRow >= 0 && lastRow < rowCount() && verticalHeaderItem(lastRow))
        verticalHeaderItem(lastRow)->setText(QString());
    placeButton();
    emit RowColChange(lastRow, lastCol);
}

void DataGrid::markRow(int row)
{
    // The record selector points at the current record.
    if (row >= 0 && row < rowCount())
        if (QTableWidgetItem *h = verticalHeaderItem(row))
            h->setText(QStringLiteral("\u25B6"));
}

namespace {

// Sets the flag of a column in a per-column list that grows as needed;
// false for a negative column.
bool setColumnFlag(QList<bool> &flags, int col, bool on)
{
    if (col < 0)
        return false;
    if (flags.size() <= col)
        flags.resize(col + 1, false);
    flags[col] = on;
    return true;
}

} // namespace

void DataGrid::setButtonColumn(int col, bool on)
{
    if (setColumnFlag(m_buttonColumns, col, on))
        placeButton();
}

void DataGrid::setLockedColumn(int col, bool locked)
{
    if (!setColumnFlag(m_lockedColumns, col, locked))
        return;
    for (int r = 0; r < rowCount(); ++r)
        if (QTableWidgetItem *it = item(r, col))
            it->setFlags(locked ? it->flags() & ~Qt::ItemIsEditable : it->flags() | Qt::ItemIsEditable);
}

int DataGrid::RowTop(int row) const
{
    return rowViewportPosition(row);
}

int DataGrid::RowHeightOf() const
{
    return verticalHeader()->defaultSectionSize();
}

int DataGrid::ColumnLeft(int col) const
{
    return columnViewportPosition(col);
}

void DataGrid::placeButton()
{
    const int row = currentRow();
    const int col = currentColumn();
    const bool on = row >= 0 && col >= 0 && col < m_buttonColumns.size() && m_buttonColumns[col];
    if (!on) {
        m_button->hide();
        return;
    }
    const QRect r = visualRect(model()->index(row, col));
    const int w = qMin(r.height(), r.width());
    m_button->setGeometry(r.right() - w + 1, r.top(), w, r.height());
    m_button->show();
    m_button->raise();
}

void DataGrid::resizeEvent(QResizeEvent *event)
{
    QTableWidget::resizeEvent(event);
    placeButton();
}
