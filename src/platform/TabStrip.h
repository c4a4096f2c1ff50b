#pragma once
// A tab control whose tabs stand in rows (the program's register pages: two
// rows of ten). Only the tabs are drawn; the page content is elsewhere.

#include <QWidget>

class QButtonGroup;

class TabStrip : public QWidget
{
    Q_OBJECT
public:
    TabStrip(const QStringList &captions, int perRow, QWidget *parent = nullptr);

    int Tab() const { return m_tab; }
    // Chooses a tab; an index outside the tabs does nothing. Raises Click
    // when the tab changes.
    void setTab(int tab);
    int Tabs() const;
    QString TabCaption(int tab) const;

signals:
    void Click(int previousTab);

private:
    QButtonGroup *m_group;
    int m_tab = 0;
};
