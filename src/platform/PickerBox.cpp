#include "platform/PickerBox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QWheelEvent>

PickerBox::PickerBox(const QStringList &items, QWidget *parent) : QComboBox(parent)
{
    addItems(items);
    setCurrentIndex(-1);
    setMaxVisibleItems(int(items.size()));
    setMinimumContentsLength(3);
    // The list may be wider than the box laid over a narrow cell.
    view()->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("(NULL)")) + 32);
    // The list's keys, and presses outside it while it is open, which reach
    // the window it opens in.
    view()->installEventFilter(this);
    view()->window()->installEventFilter(this);
    connect(this, &QComboBox::activated, this, [this](int index) {
        m_text = itemText(index);
        emit Click(index);
    });
}

void PickerBox::setText(const QString &text, int currentItem)
{
    m_text = text;
    m_currentItem = currentItem;
    // No item counts as chosen, so choosing the shown one is still a choice.
    setCurrentIndex(-1);
    update();
}

void PickerBox::showPopup()
{
    QComboBox::showPopup();
    // An open list always has a current item, so Return, End or an arrow
    // start from it and never from nothing.
    const int item = m_currentItem >= 0 && m_currentItem < count() ? m_currentItem : 0;
    view()->setCurrentIndex(model()->index(item, modelColumn()));
}

bool PickerBox::OpensList(const QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    return (event->key() == Qt::Key_F4 && mods == Qt::NoModifier)
        || (event->key() == Qt::Key_Down && mods == Qt::AltModifier);
}

bool PickerBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == view() && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        // Alt+Down, F4 and Escape close the list on their own; Alt+Up too.
        if (key->key() == Qt::Key_Up && (key->modifiers() & Qt::AltModifier)) {
            hidePopup();
            return true;
        }
    } else if (watched == view()->window() && watched != window() && event->type() == QEvent::MouseButtonPress) {
        auto *press = static_cast<QMouseEvent *>(event);
        if (!view()->window()->rect().contains(press->position().toPoint()))
            return clickThrough(press);
    }
    return QComboBox::eventFilter(watched, event);
}

bool PickerBox::clickThrough(QMouseEvent *press)
{
    QWidget *area = parentWidget();
    if (!area)
        return false;
    const QPoint global = press->globalPosition().toPoint();
    const QPoint at = area->mapFromGlobal(global);
    // A press on the box itself only closes the list; one elsewhere, on
    // another window say, goes its own way.
    if (geometry().contains(at) || !area->rect().contains(at))
        return false;
    QWidget *under = QApplication::widgetAt(global);
    if (under != area && !area->isAncestorOf(under))
        return false;

    // The press is this box's to hand on, not the platform's to replay.
    view()->window()->setAttribute(Qt::WA_NoMouseReplay);
    hidePopup();
    QPointer<QWidget> alive(area);
    QMouseEvent down(QEvent::MouseButtonPress, at, global, press->button(), press->button(), press->modifiers());
    QCoreApplication::sendEvent(area, &down);
    // The release that follows goes nowhere once the list has closed: the
    // click is whole here.
    QMouseEvent up(QEvent::MouseButtonRelease, at, global, press->button(), Qt::NoButton, press->modifiers());
    if (alive)
        QCoreApplication::sendEvent(area, &up);
    return true;
}

int PickerBox::widthToShow(const QString &text) const
{
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    const QFontMetrics fm(font());
    return style()->sizeFromContents(QStyle::CT_ComboBox, &opt, QSize(fm.horizontalAdvance(text), fm.height()), this)
        .width();
}

void PickerBox::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    opt.currentText = m_text;
    opt.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, opt);
    painter.drawControl(QStyle::CE_ComboBoxLabel, opt);
}

void PickerBox::wheelEvent(QWheelEvent *event)
{
    // A turn of the wheel over the box must not store a command.
    event->ignore();
}

void PickerBox::keyPressEvent(QKeyEvent *event)
{
    // Keys do not step through the items either; only the open list chooses.
    if (event->key() == Qt::Key_Space || OpensList(event)) {
        showPopup();
        return;
    }
    event->ignore();
}
