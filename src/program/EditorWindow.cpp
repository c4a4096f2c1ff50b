#include "program/EditorWindow.h"

#include "platform/Dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

namespace {
constexpr int kTwipsPerPixel = 15;
}

int Pixels(int twips)
{
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

void SetTwipsGeometry(QWidget *w, int left, int top, int width, int height)
{
    w->setGeometry(Pixels(left), Pixels(top), Pixels(width), Pixels(height));
}

int MouseButtonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

bool ActivatedAnew(QWidget *window, QEvent *event, bool &fromOtherWindow)
{
    if (event->type() != QEvent::ActivationChange)
        return false;
    if (!window->isActiveWindow()) {
        QWidget *now = QApplication::activeWindow();
        fromOtherWindow = now && now != window && !qobject_cast<QDialog *>(now);
        return false;
    }
    if (!fromOtherWindow)
        return false;
    fromOtherWindow = false;
    return true;
}
