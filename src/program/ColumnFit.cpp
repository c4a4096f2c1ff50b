#include "program/ColumnFit.h"

#include "program/EditorWindow.h"
#include "program/PickerLists.h"
#include "program/ProgramLayout.h"
#include "platform/FitToText.h"
#include "platform/PickerBox.h"

#include <QHeaderView>
#include <QStyle>
#include <QStyleOptionHeader>
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

// The one of `texts` the font draws widest. Each is measured once: a
// register column has two thousand of them, measured at every opening.
const QString &widestOf(const QFontMetrics &fm, const QStringList &texts)
{
    qsizetype widest = 0;
    int most = -1;
    for (qsizetype i = 0; i < texts.size(); ++i)
        if (const int w = fm.horizontalAdvance(texts[i]); w > most) {
            most = w;
            widest = i;
        }
    return texts[widest];
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

void FitProgramColumns(QTableView *view, UnitKind kind, const PickerBox *picker)
{
    const QFontMetrics fm(view->font());
    for (int col = 0; col < kProgramFields; ++col) {
        int width = std::max(Pixels(ColumnWidthTwips(col)), headerWidth(view, kind, col));
        const QStringList texts = ColumnSampleTexts(kind, col);
        if (!texts.isEmpty()) {
            width = std::max(width, CellSizeFor(view, widestOf(fm, texts)).width());
            // The picker laid over the cell stays within it.
            const CellKind cell = KindOfColumn(col);
            if (picker && (cell == CellKind::Cmd || cell == CellKind::Spd || cell == CellKind::Tim))
                width = std::max(width, picker->widthToShow(widestOf(QFontMetrics(picker->font()), texts))
                                            + (view->showGrid() ? 1 : 0));
        } else if (KindOfColumn(col) == CellKind::Cmt) {
            width = std::max(width, CellSizeFor(view, QString(kCommentChars, u'n')).width());
        }
        view->setColumnWidth(col, width);
    }
}
