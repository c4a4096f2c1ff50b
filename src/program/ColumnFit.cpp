#include "program/ColumnFit.h"

#include "program/EditorWindow.h"
#include "program/PickerLists.h"
#include "program/ProgramGridModel.h"
#include "program/ProgramLayout.h"
#include "platform/FitToText.h"
#include "platform/PickerBox.h"
#include "shared/AxisFactor.h"

#include <QHeaderView>
#include <QSet>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QTableView>

#include <algorithm>
#include <cstdlib>

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

// The digit the font draws widest.
QChar widestDigit(const QFontMetrics &fm)
{
    QChar wide = u'0';
    for (char16_t d = u'1'; d <= u'9'; ++d)
        if (fm.horizontalAdvance(QChar(d)) > fm.horizontalAdvance(wide))
            wide = QChar(d);
    return wide;
}

// The widest of `texts` as the font draws them, by their look: every digit
// taken as the widest one, which no text is narrower than. Each look is
// measured once: a column's 2000 register numbers have four, and the
// columns are measured at every opening.
QString widestLook(const QFontMetrics &fm, const QStringList &texts)
{
    const QChar digit = widestDigit(fm);
    QSet<QString> looks;
    for (QString text : texts) {
        for (QChar &c : text)
            if (c >= u'0' && c <= u'9')
                c = digit;
        looks.insert(text);
    }
    QString widest;
    int most = -1;
    for (const QString &look : looks)
        if (const int w = fm.horizontalAdvance(look); w > most) {
            most = w;
            widest = look;
        }
    return widest;
}

// ---- what the upload writes into DATA

constexpr int kUploadDigits = 15;        // significant digits of a scaled count
constexpr double kMostPulses = 8388608;  // the largest 24-bit count, as a magnitude

struct DecimalDigits {
    int exponent = 0;      // power of ten of the leading digit
    int significant = 1;   // digits up to the last one that is not 0
};

// A positive number as the upload's text form rounds it, to 15 digits.
DecimalDigits digitsOf(double v)
{
    const QString s = QString::number(v, 'e', kUploadDigits - 1);
    const qsizetype e = s.indexOf(u'e');
    QString mantissa = s.left(e).remove(u'.');
    while (mantissa.size() > 1 && mantissa.endsWith(u'0'))
        mantissa.chop(1);
    return {s.mid(e + 1).toInt(), int(mantissa.size())};
}

// The look of a negative number whose leading digit stands at 10^exponent,
// with `digits` significant digits, in the upload's text form (digits shown
// as 8; a value far from 1 takes an exponent).
QString scaledShape(int exponent, int digits)
{
    const auto eights = [](int n) { return QString(std::max(0, n), u'8'); };
    if (exponent >= kUploadDigits || exponent < -10) {
        const QString mantissa = digits > 1 ? u'8' + (u'.' + eights(digits - 1)) : QStringLiteral("8");
        return QStringLiteral("-%1E%2%3").arg(mantissa, exponent < 0 ? QStringLiteral("-") : QStringLiteral("+"))
            .arg(std::abs(exponent), 2, 10, QChar(u'0'));
    }
    if (exponent < 0)
        return QStringLiteral("-0.") + QString(-exponent - 1, u'0') + eights(digits);
    if (digits <= exponent + 1)
        return u'-' + eights(exponent + 1);
    return u'-' + eights(exponent + 1) + u'.' + eights(digits - exponent - 1);
}

// Every shape of a count of 1 to 8388608 pulses times `factor`: for each
// power of ten the product can reach, every digit place it can fill, down
// to the factor's own last digit (a count is a whole number) or the 15th.
QStringList scaledCountShapes(double factor)
{
    const DecimalDigits f = digitsOf(factor);
    const int lastPlace = f.exponent - f.significant + 1;
    QStringList shapes;
    for (int e = f.exponent; e <= digitsOf(kMostPulses * factor).exponent; ++e)
        shapes << scaledShape(e, std::min(kUploadDigits, e - lastPlace + 1));
    return shapes;
}

// The texts the upload can write into the DATA field of `axis`, as shapes
// whose digits stand for any digit: the widest operands of the control
// instructions (IJP's input, state and register, OTP's output and word,
// TIM's 24 bits) and a pulse count as the model's upload writes it, on the
// 4-axis unit times the factor of the axis's unit now.
QStringList uploadDataShapes(UnitKind kind, int axis)
{
    if (kind == UnitKind::TwoAxis)
        return {QStringLiteral("255,1,63"), QStringLiteral("255,65535"), QStringLiteral("16777215"),
                QStringLiteral("-8388608")};
    QStringList shapes{QStringLiteral("127,1,2047"), QStringLiteral("255,65535"), QStringLiteral("16777215")};
    return shapes << scaledCountShapes(CurrentAxisFactor(axis).value_or(1.0));
}

int designWidth(const QTableView *view, UnitKind kind, int col)
{
    return std::max(Pixels(ColumnWidthTwips(col)), headerWidth(view, kind, col));
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

namespace {

// A DATA column: its design, its header, an axis letter before a full
// count, what the upload can write and what the column holds now.
int dataColumnWidth(const QTableView *view, UnitKind kind, int col)
{
    QStringList texts = ColumnSampleTexts(kind, col) + uploadDataShapes(kind, AxisOfColumn(col));
    if (const auto *model = qobject_cast<const ProgramGridModel *>(view->model()))
        for (int row = kHeaderRows; row < model->GridRows(); ++row)
            if (QString text = model->Text(row, col); !text.isEmpty())
                texts << text;
    const QString widest = widestLook(QFontMetrics(view->font()), texts);
    return std::max(designWidth(view, kind, col), CellSizeFor(view, widest).width());
}

} // namespace

void FitProgramColumns(QTableView *view, UnitKind kind, const PickerBox *picker)
{
    const QFontMetrics fm(view->font());
    for (int col = 0; col < kProgramFields; ++col) {
        const CellKind cell = KindOfColumn(col);
        if (cell == CellKind::Dat) {
            view->setColumnWidth(col, dataColumnWidth(view, kind, col));
            continue;
        }
        int width = designWidth(view, kind, col);
        const QStringList texts = ColumnSampleTexts(kind, col);
        if (!texts.isEmpty()) {
            width = std::max(width, CellSizeFor(view, widestLook(fm, texts)).width());
            // The picker laid over the cell stays within it.
            if (picker && (cell == CellKind::Cmd || cell == CellKind::Spd || cell == CellKind::Tim))
                width = std::max(width, picker->widthToShow(widestLook(QFontMetrics(picker->font()), texts))
                                            + (view->showGrid() ? 1 : 0));
        } else if (cell == CellKind::Cmt) {
            width = std::max(width, CellSizeFor(view, QString(kCommentChars, u'n')).width());
        }
        view->setColumnWidth(col, width);
    }
}

void FitDataColumns(QTableView *view, UnitKind kind)
{
    for (int col = 0; col < kProgramFields; ++col)
        if (KindOfColumn(col) == CellKind::Dat)
            view->setColumnWidth(col, dataColumnWidth(view, kind, col));
}

void WidenDataColumns(QTableView *view, const QModelIndex &topLeft, const QModelIndex &bottomRight)
{
    const QAbstractItemModel *model = view->model();
    if (!model || !topLeft.isValid() || !bottomRight.isValid())
        return;
    for (int col = topLeft.column(); col <= bottomRight.column(); ++col) {
        if (KindOfColumn(col) != CellKind::Dat)
            continue;
        QStringList texts;
        for (int row = topLeft.row(); row <= bottomRight.row(); ++row)
            texts << model->index(row, col).data(Qt::DisplayRole).toString();
        const int needs = CellSizeFor(view, widestLook(QFontMetrics(view->font()), texts)).width();
        if (needs > view->columnWidth(col))
            view->setColumnWidth(col, needs);
    }
}
