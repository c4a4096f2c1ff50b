#pragma once
// A drop-down picker whose shown text may be any string, also one that is
// none of its items (the cell text it was laid over). The operator can only
// choose an item from the list, never type; each choice raises Click with
// the item's index, also when it is the item already shown.
//
// The open list behaves as any drop-down list: it opens on its current
// item, takes the arrows, Home, End, letters and Return, and closes on
// Escape, F4, Alt+Up or Alt+Down. A press outside the list on the widget
// the box lies on closes the list and clicks that widget there, so the
// click is not lost on the way.

#include <QComboBox>

class QKeyEvent;

class PickerBox : public QComboBox
{
    Q_OBJECT
public:
    explicit PickerBox(const QStringList &items, QWidget *parent = nullptr);

    // Text shown in the closed box, and the item the list opens on (the
    // first when `currentItem` is none of the items); choosing an item
    // shows that item.
    QString Text() const { return m_text; }
    void setText(const QString &text, int currentItem = 0);
    int ListIndex() const { return currentIndex(); }
    int ListCount() const { return count(); }
    QString List(int index) const { return index >= 0 && index < count() ? itemText(index) : QString(); }
    // The width the closed box needs to show `text` whole beside its arrow.
    int widthToShow(const QString &text) const;

    void showPopup() override;

    // The keys that open a drop-down list: F4 and Alt+Down.
    static bool OpensList(const QKeyEvent *event);

signals:
    void Click(int listIndex);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // A press outside the open list: closes it, and clicks the widget the
    // box lies on when the press is there. True when it did.
    bool clickThrough(QMouseEvent *press);

    QString m_text;
    int m_currentItem = 0;
};
