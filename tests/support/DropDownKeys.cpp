#include "DropDownKeys.h"

#include "platform/PickerBox.h"

#include <QAbstractItemView>
#include <QKeySequence>
#include <QTest>
#include <QWindow>

void PressKey(Qt::Key key, Qt::KeyboardModifiers mods)
{
    // Without a widget named, the test library takes the open list, or the
    // focus widget, as the keyboard would.
    QTest::keyClick(static_cast<QWidget *>(nullptr), key, mods);
}

void PressKeys(const QString &keys)
{
    for (const QString &k : keys.split(u' ', Qt::SkipEmptyParts)) {
        if (k.size() == 1) {
            QTest::keyClick(static_cast<QWidget *>(nullptr), k.at(0).toLatin1());
            continue;
        }
        const QKeyCombination chord = QKeySequence::fromString(k, QKeySequence::PortableText)[0];
        PressKey(chord.key(), chord.keyboardModifiers());
    }
}

void ClickThroughWindow(QWidget *widget, QPoint at)
{
    QWindow *window = widget->window()->windowHandle();
    QTest::mouseClick(window, Qt::LeftButton, {}, window->mapFromGlobal(widget->mapToGlobal(at)));
}

bool ListOpen(const PickerBox *picker)
{
    return picker->view()->isVisible();
}

QString CurrentListItem(const PickerBox *picker)
{
    const QAbstractItemView *list = picker->view();
    const QModelIndex at = list->currentIndex();
    return at.isValid() && list->selectionModel()->isSelected(at) ? at.data().toString() : QStringLiteral("<none>");
}
