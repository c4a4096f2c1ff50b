#pragma once
// A drop-down picker whose shown text may be any string, also one that is
// none of its items (the cell text it was laid over). The operator can only
// choose an item from the list, never type; each choice raises Click with
// the item's index, also when it is the item already shown.

#include <QComboBox>

class PickerBox : public QComboBox
{
    Q_OBJECT
public:
    explicit PickerBox(const QStringList &items, QWidget *parent = nullptr);

    // Text shown in the closed box; choosing an item shows that item.
    QString Text() const { return m_text; }
    void setText(const QString &text);
    int ListIndex() const { return currentIndex(); }
    int ListCount() const { return count(); }
    QString List(int index) const { return index >= 0 && index < count() ? itemText(index) : QString(); }
    // The width the closed box needs to show `text` whole beside its arrow.
    int widthToShow(const QString &text) const;

signals:
    void Click(int listIndex);

protected:
    void paintEvent(QPaintEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString m_text;
};
