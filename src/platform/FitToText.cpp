#include "platform/FitToText.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QStyleOptionViewItem>
#include <QTableView>

#include <algorithm>
#include <cmath>

namespace {

// A line edit draws its text this far inside its contents on either side.
constexpr int kTextInset = 2;

// Lives on the box: measures it again when its font or style changes.
class BoxFitter : public QObject
{
public:
    BoxFitter(QLineEdit *box, WidestTexts texts, int designWidth)
        : QObject(box), m_box(box), m_texts(std::move(texts)), m_design(designWidth)
    {
        box->installEventFilter(this);
        fit();
    }

    void fit()
    {
        const int width = BoxWidthFor(m_box, m_texts ? m_texts() : QStringList());
        if (m_design > 0)
            m_box->setFixedWidth(std::max(m_design, width));
        else
            m_box->setMinimumWidth(width);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_box && (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange))
            fit();
        return false;
    }

private:
    QLineEdit *m_box;
    WidestTexts m_texts;
    int m_design;
};

BoxFitter *fitterOf(const QLineEdit *box)
{
    for (QObject *child : box->children())
        if (auto *fitter = dynamic_cast<BoxFitter *>(child))
            return fitter;
    return nullptr;
}

} // namespace

int BoxWidthFor(const QLineEdit *box, const QStringList &texts)
{
    const QFontMetricsF fm(box->font());
    qreal widest = 0;
    for (const QString &t : texts)
        widest = std::max(widest, fm.horizontalAdvance(t));
    const QStyle *style = box->style();
    // The box scrolls its text once text and caret no longer fit between
    // the insets; one pixel more keeps the caret beside the last digit.
    const int caret = style->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, box);
    const QMargins text = box->textMargins();
    const QMargins contents = box->contentsMargins();
    int width = int(std::ceil(widest)) + 1 + caret + 2 * kTextInset + text.left() + text.right() + contents.left()
                + contents.right();
    // The frame as the style draws it around the contents.
    QStyleOptionFrame opt;
    opt.initFrom(box);
    opt.lineWidth = box->hasFrame() ? style->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, box) : 0;
    opt.midLineWidth = 0;
    opt.state |= QStyle::State_Sunken;
    opt.features = QStyleOptionFrame::None;
    constexpr int kProbe = 1000;
    opt.rect = QRect(0, 0, kProbe, std::max(box->height(), 1));
    width += kProbe - style->subElementRect(QStyle::SE_LineEditContents, &opt, box).width();
    return width;
}

void FitBoxWidth(QLineEdit *box, WidestTexts texts, int designWidth)
{
    if (!box)
        return;
    delete fitterOf(box);
    new BoxFitter(box, std::move(texts), designWidth);
}

void RefitBoxWidth(QLineEdit *box)
{
    if (!box)
        return;
    if (BoxFitter *fitter = fitterOf(box))
        fitter->fit();
}

QSize CellSizeFor(const QTableView *view, const QString &text)
{
    QStyleOptionViewItem opt;
    opt.initFrom(view);
    opt.font = view->font();
    opt.fontMetrics = QFontMetrics(opt.font);
    opt.features = QStyleOptionViewItem::HasDisplay;
    opt.text = text;
    opt.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    opt.textElideMode = view->textElideMode();
    const QSize drawn = view->style()->sizeFromContents(QStyle::CT_ItemViewItem, &opt, QSize(), view);
    // The grid line is drawn inside the cell.
    const int line = view->showGrid() ? 1 : 0;
    return drawn + QSize(line, line);
}

QStringList EveryDigit(const QStringList &shapes)
{
    QStringList out;
    for (const QString &shape : shapes)
        for (char16_t d = u'0'; d <= u'9'; ++d) {
            QString t = shape;
            for (QChar &c : t)
                if (c.isDigit())
                    c = QChar(d);
            out << t;
        }
    return out;
}
