#include "platform/OwnerWindow.h"

namespace {
QWidget *ownerWindow = nullptr;
}

void SetOwnerWindow(QWidget *window)
{
    ownerWindow = window;
}

QWidget *OwnerWindow()
{
    return ownerWindow;
}
