#include "platform/PickerBox.h"

#include <QAbstractItemView>
#include <QKeyEvent>
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
    connect(this, &QComboBox::activated, this, [this](int index) {
        m_text = itemText(index);
        emit Click(index);
    });
}

void PickerBox::setText(const QString &text)
{
    m_text = text;
    // No item counts as chosen, so choosing the shown one is still a choice.
    setCurrentIndex(-1);
    update();
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
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_F4
        || (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier))) {
        showPopup();
        return;
    }
    event->ignore();
}
