#include "platform/Controls.h"

#include <QRadioButton>

void SetOption(QRadioButton *button, bool chosen)
{
    if (!button || button->isChecked() == chosen)
        return;
    if (chosen) {
        button->setChecked(true);
        return;
    }
    // An exclusive button refuses to be cleared while it is the chosen one.
    const bool exclusive = button->autoExclusive();
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(exclusive);
}
