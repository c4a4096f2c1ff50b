#include "platform/UpDown.h"

#include <QToolButton>
#include <QVBoxLayout>

UpDown::UpDown(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_up = new QToolButton(this);
    m_down = new QToolButton(this);
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    m_up->setFixedSize(16, 11);
    m_down->setFixedSize(16, 11);
    layout->addWidget(m_up);
    layout->addWidget(m_down);
    connect(m_up, &QToolButton::clicked, this, [this] {
        setValue(m_value + 1);
        emit UpClick();
    });
    connect(m_down, &QToolButton::clicked, this, [this] {
        setValue(m_value - 1);
        emit DownClick();
    });
}

void UpDown::setValue(int v)
{
    v = qBound(m_min, v, m_max);
    if (v == m_value)
        return;
    m_value = v;
    emit Change();
}

void UpDown::setMin(int v)
{
    m_min = v;
    if (m_max < m_min)
        m_max = m_min;
    setValue(m_value);
}

void UpDown::setMax(int v)
{
    m_max = v;
    if (m_min > m_max)
        m_min = m_max;
    setValue(m_value);
}
