#include "platform/WindowFit.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QMainWindow>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// A scroll area whose contents take all its room when they are smaller, and
// whose size hint is what they ask for: a plain scroll area bounds its hint
// to a few dozen lines, and a window would open with needless scroll bars.
class ContentsArea : public QScrollArea
{
public:
    explicit ContentsArea(QWidget *parent) : QScrollArea(parent)
    {
        setWidgetResizable(true);
        setFrameShape(QFrame::NoFrame);
        // The area takes no keys of its own (the arrows would scroll it): a
        // focus given to it rests on its contents.
        setFocusPolicy(Qt::NoFocus);
    }

    QSize sizeHint() const override
    {
        return around(contents().expandedTo(widget() ? widget()->sizeHint() : QSize()));
    }
    // The smallest size that shows the contents without scrolling.
    QSize naturalMinimum() const { return around(contents()); }

protected:
    // A key the contents leave (an arrow, Page Up or Page Down in a box that
    // has no use for it) goes on to the window, as it would without the
    // area; the area scrolls only by its scroll bars and the wheel.
    void keyPressEvent(QKeyEvent *event) override { event->ignore(); }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The contents' needs changed (a font change): so has the hint.
        if (watched == widget() && event->type() == QEvent::LayoutRequest)
            updateGeometry();
        return QScrollArea::eventFilter(watched, event);
    }

private:
    QSize contents() const
    {
        const QWidget *w = widget();
        return w ? w->minimumSizeHint().expandedTo(w->minimumSize()) : QSize();
    }
    QSize around(QSize s) const { return s + QSize(2 * frameWidth(), 2 * frameWidth()); }
};

// Lives on the window: fits it to its screen whenever it is shown.
class ScreenKeeper : public QObject
{
public:
    ScreenKeeper(QWidget *window, ContentsArea *area) : QObject(window), m_window(window), m_area(area)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Show && !event->spontaneous())
            keep();
        return false;
    }

private:
    void keep()
    {
        const QScreen *screen = m_window->screen();
        if (!screen)
            return;
        const QRect available = screen->availableGeometry();
        // The window system's frame, known once the window has been shown.
        const QSize frame = m_window->frameGeometry().size() - m_window->size();
        const QSize room = (available.size() - frame).expandedTo(QSize(1, 1));

        QSize size = m_window->size();
        if (m_first) {
            m_first = false;
            // Hints measured afresh: a font that changed while the window
            // was hidden may not have reached every layout yet.
            for (QLayout *layout : m_window->findChildren<QLayout *>())
                layout->invalidate();
            m_area->updateGeometry();
            // Scroll bars only where the screen is too small: the window's
            // design, widened to what its contents need.
            const QSize chrome = m_window->sizeHint() - m_area->sizeHint();
            const QSize base = m_window->testAttribute(Qt::WA_Resized) ? size : m_window->sizeHint();
            const QSize needs = chrome + m_area->naturalMinimum();
            size = base.expandedTo(needs);
            // Where the screen cuts one side, the scroll bar along it takes
            // room from the other side: room it is given, so that one bar
            // does not call for the other.
            const int bar = m_area->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_area);
            if (needs.width() > room.width())
                size.rheight() += bar;
            if (needs.height() > room.height())
                size.rwidth() += bar;
        }
        size = size.boundedTo(room);
        if (size != m_window->size())
            m_window->resize(size);

        // Where the window system places a new window is its own affair; a
        // window placed by the program or the operator is moved back within
        // the screen.
        if (!m_window->testAttribute(Qt::WA_Moved))
            return;
        const QSize outer = m_window->size() + frame;
        const QPoint at = m_window->pos();
        const QPoint kept(std::max(available.left(), std::min(at.x(), available.right() + 1 - outer.width())),
                          std::max(available.top(), std::min(at.y(), available.bottom() + 1 - outer.height())));
        if (kept != at)
            m_window->move(kept);
    }

    QWidget *m_window;
    ContentsArea *m_area;
    bool m_first = true;
};

} // namespace

QScrollArea *FitToScreen(QWidget *window, QLayout *contents)
{
    auto *area = new ContentsArea(window);
    auto *inner = new QWidget;
    inner->setLayout(contents);
    area->setWidget(inner);
    area->setFocusProxy(inner);
    if (auto *main = qobject_cast<QMainWindow *>(window)) {
        main->setCentralWidget(area);
    } else {
        auto *outer = new QVBoxLayout(window);
        outer->setContentsMargins(0, 0, 0, 0);
        outer->addWidget(area);
    }
    new ScreenKeeper(window, area);
    return area;
}
