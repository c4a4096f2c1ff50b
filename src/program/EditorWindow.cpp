#include "program/EditorWindow.h"

#include "platform/Dialogs.h"
#include "platform/FitToText.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kTwipsPerPixel = 15;

// Where the design put a control, in twips.
const char *const kTwipsRect = "twipsRect";

// The room a control needs to show its text whole in its own font; an empty
// size for a control without text.
QSize textNeeds(QWidget *w)
{
    const QFontMetrics fm(w->font());
    if (auto *box = qobject_cast<QLineEdit *>(w)) {
        RefitBoxWidth(box);   // its widest number, in its font as it is now
        return {box->minimumWidth(), fm.height() + 2};
    }
    if (auto *label = qobject_cast<QLabel *>(w)) {
        // Blanks at the end of a caption may go unseen.
        QString text = label->text();
        while (text.endsWith(u' '))
            text.chop(1);
        return text.isEmpty() ? QSize() : QSize(fm.horizontalAdvance(text), fm.height());
    }
    if (auto *button = qobject_cast<QAbstractButton *>(w)) {
        if (button->text().isEmpty())
            return {};
        const int margin = w->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, w);
        return {fm.horizontalAdvance(button->text()) + 2 * margin, fm.height() + 4};
    }
    return {};
}

// Lives on the window: places every control by its twips, all scaled by the
// one factor its texts call for.
class TwipsKeeper : public QObject
{
public:
    TwipsKeeper(QWidget *window, QSize design) : QObject(window), m_window(window), m_design(design)
    {
        window->installEventFilter(this);
        apply();
    }

    void apply()
    {
        const QList<QWidget *> placed = m_window->findChildren<QWidget *>();
        double scale = 1;
        for (QWidget *w : placed) {
            const QRect t = w->property(kTwipsRect).toRect();
            const QSize need = textNeeds(w);
            if (t.isEmpty() || need.isEmpty())
                continue;
            scale = std::max({scale, double(need.width()) / Pixels(t.width()), double(need.height()) / Pixels(t.height())});
        }
        auto at = [scale](int twips) { return int(std::lround(Pixels(twips) * scale)); };
        m_window->setFixedSize(at(m_design.width()), at(m_design.height()));
        for (QWidget *w : placed)
            if (const QRect t = w->property(kTwipsRect).toRect(); !t.isEmpty())
                w->setGeometry(at(t.left()), at(t.top()), at(t.width()), at(t.height()));
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_window)
            return false;
        if (event->type() == QEvent::Show && !event->spontaneous()) {
            apply();
        } else if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
            // Once the controls have their new font too.
            QTimer::singleShot(0, this, [this] { apply(); });
        }
        return false;
    }

private:
    QWidget *m_window;
    QSize m_design;
};
} // namespace

int Pixels(int twips)
{
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

void SetTwipsGeometry(QWidget *w, int left, int top, int width, int height)
{
    w->setProperty(kTwipsRect, QRect(left, top, width, height));
    w->setGeometry(Pixels(left), Pixels(top), Pixels(width), Pixels(height));
}

void KeepTwipsDesign(QWidget *window, int width, int height)
{
    new TwipsKeeper(window, QSize(width, height));
}

int MouseButtonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

bool ActivatedAnew(QWidget *window, QEvent *event, bool &fromOtherWindow)
{
    if (event->type() != QEvent::ActivationChange)
        return false;
    if (!window->isActiveWindow()) {
        QWidget *now = QApplication::activeWindow();
        fromOtherWindow = now && now != window && !qobject_cast<QDialog *>(now);
        return false;
    }
    if (!fromOtherWindow)
        return false;
    fromOtherWindow = false;
    return true;
}
