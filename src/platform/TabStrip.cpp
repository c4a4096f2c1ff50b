#include "platform/TabStrip.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QToolButton>

TabStrip::TabStrip(const QStringList &captions, int perRow, QWidget *parent)
    : QWidget(parent), m_group(new QButtonGroup(this))
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    perRow = std::max(perRow, 1);
    for (int i = 0; i < captions.size(); ++i) {
        auto *b = new QToolButton(this);
        b->setText(captions[i]);
        b->setCheckable(true);
        b->setAutoRaise(false);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        b->setFocusPolicy(Qt::NoFocus);
        m_group->addButton(b, i);
        grid->addWidget(b, i / perRow, i % perRow);
    }
    if (QAbstractButton *first = m_group->button(0))
        first->setChecked(true);
    connect(m_group, &QButtonGroup::idClicked, this, [this](int id) { setTab(id); });
}

int TabStrip::Tabs() const
{
    return int(m_group->buttons().size());
}

QString TabStrip::TabCaption(int tab) const
{
    QAbstractButton *b = m_group->button(tab);
    return b ? b->text() : QString();
}

void TabStrip::setTab(int tab)
{
    QAbstractButton *b = m_group->button(tab);
    if (!b)
        return;
    b->setChecked(true);
    if (tab == m_tab)
        return;
    const int previous = m_tab;
    m_tab = tab;
    emit Click(previous);
}
