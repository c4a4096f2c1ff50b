#pragma once
// An up-down control: two arrow buttons with a whole value between Min and
// Max. Its arrows step the value by one and report the click; writing the
// value raises Change only when the value actually changes.

#include <QWidget>

class QToolButton;

class UpDown : public QWidget
{
    Q_OBJECT
public:
    explicit UpDown(QWidget *parent = nullptr);

    int Value() const { return m_value; }
    void setValue(int v);
    int Min() const { return m_min; }
    int Max() const { return m_max; }
    void setMin(int v);
    void setMax(int v);

    QToolButton *upButton() const { return m_up; }
    QToolButton *downButton() const { return m_down; }

signals:
    void UpClick();
    void DownClick();
    void Change();

private:
    QToolButton *m_up;
    QToolButton *m_down;
    int m_value = 0;
    int m_min = 0;
    int m_max = 10;
};
