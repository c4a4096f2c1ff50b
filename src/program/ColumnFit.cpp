#include "program/ColumnFit.h"

#include "program/EditorWindow.h"
#include "program/PickerLists.h"
#include "program/ProgramLayout.h"

#include <QHeaderView>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QStyleOptionViewItem>
#include <QTableView>

#include <algorithm>

namespace {

// The lists whose stored choices a column of the editor shows.
QList<PickerList> listsOf(UnitKind kind, CellKind cell)
{
    const bool two = kind == UnitKind::TwoAxis;
    switch (cell) {
    // A paste may carry any axis's command into any column.
    case CellKind::Cmd:
        return two ? QList<PickerList>{PickerList::X2, PickerList::Y2}
                   : QList<PickerList>{PickerList::X4, PickerList::X4Ext, PickerList::Y4, PickerList::Y4Ext};
    case CellKind::Spd: return {two ? PickerList::Spd2 : PickerList::Spd4};
    case CellKind::Tim: return {two ? PickerList::Tim2 : PickerList::Tim4};
    default: return {};
    }
}

constexpr int kCommentChars = 20;

// Width of a cell that draws `text` whole in the view's font and style.
int cellWidth(const QTableView *view, const QString &text)
{
    QStyleOptionViewItem opt;
    opt.initFrom(view);
    opt.font = view->font();
    opt.fontMetrics = QFontMetrics(opt.font);
    opt.features = QStyleOptionViewItem::HasDisplay;
    opt.text = text;
    opt.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    opt.textElideMode = view->textElideMode();
    const QStyle *style = view->style();
    const int drawn = style->sizeFromContents(QStyle::CT_ItemViewItem, &opt, QSize(), view).width();
    // The grid line is drawn inside the column.
    return drawn + (view->showGrid() ? 1 : 0);
}

// The header lines of a column as the editor writes them.
QString headerText(UnitKind kind, int col)
{
    auto text = kind == UnitKind::TwoAxis ? Header2Text : Header4Text;
    return text(0, col) + u'\n' + text(1, col);
}

int headerWidth(const QTableView *view, UnitKind kind, int col)
{
    const QHeaderView *header = view->horizontalHeader();
    QStyleOptionHeader opt;
    opt.initFrom(header);
    opt.section = col;
    opt.orientation = Qt::Horizontal;
    opt.text = headerText(kind, col);
    // The header measures its captions in bold, whatever it draws them in.
    QFont bold = header->font();
    bold.setBold(true);
    opt.fontMetrics = QFontMetrics(bold);
    return header->style()->sizeFromContents(QStyle::CT_HeaderSection, &opt, QSize(), header).width();
}

} // namespace

QStringList ColumnSampleTexts(UnitKind kind, int col)
{
    QStringList texts;
    const CellKind cell = KindOfColumn(col);
    switch (cell) {
    case CellKind::Reg:
        for (int reg = 0; reg <= LastRegister(kind); ++reg)
            texts << QString::number(reg);
        break;
    case CellKind::Cmd:
    case CellKind::Spd:
    case CellKind::Tim:
        for (PickerList list : listsOf(kind, cell))
            for (int i = 0; i < PickerItems(list).size(); ++i)
                if (const auto stored = StoredChoice(list, i); stored && !stored->isEmpty())
                    texts << *stored;
        break;
    case CellKind::Dat:
        // An axis letter and a signed value of eight digits, whichever digits.
        for (QChar letter : QStringLiteral("XYZU"))
            for (QChar digit : QStringLiteral("0123456789"))
                texts << letter + u'-' + QString(8, digit);
        break;
    case CellKind::Cmt:
    case CellKind::None: break;
    }
    return texts;
}

void FitProgramColumns(QTableView *view, UnitKind kind)
{
    const QFontMetrics fm(view->font());
    for (int col = 0; col < kProgramFields; ++col) {
        int width = std::max(Pixels(ColumnWidthTwips(col)), headerWidth(view, kind, col));
        const QStringList texts = ColumnSampleTexts(kind, col);
        if (!texts.isEmpty()) {
            const auto widest = std::max_element(texts.begin(), texts.end(), [&fm](const QString &a, const QString &b) {
                return fm.horizontalAdvance(a) < fm.horizontalAdvance(b);
            });
            width = std::max(width, cellWidth(view, *widest));
        } else if (KindOfColumn(col) == CellKind::Cmt) {
            width = std::max(width, cellWidth(view, QString(kCommentChars, u'n')));
        }
        view->setColumnWidth(col, width);
    }
}
