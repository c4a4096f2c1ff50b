#include "mainwin/ScaleOnMain.h"

#include "mainwin/frmMain.h"
#include "params/ScaleSetup.h"

#include <QLabel>
#include <QLineEdit>

void ShowScaleOnMain(frmMain &m, int axes)
{
    const std::array<QLabel *, kAxes> near{m.scale0, m.scale1, m.scale2, m.scale3};
    const std::array<QLabel *, kAxes> far{m.scale10, m.scale11, m.scale12, m.scale13};
    auto write = [](QLineEdit *box, const std::optional<QString> &text) {
        if (!box || !text)
            return;
        box->setText(*text);
        box->repaint();
    };
    for (int a = 0; a < qBound(0, axes, kAxes); ++a) {
        const auto texts = ScaledAxisTexts(a);
        if (!texts)
            continue;
        near[size_t(a)]->setText(texts->unit);
        far[size_t(a)]->setText(texts->unit);
        write(m.amountBox(a), texts->amount);
        write(m.positionBox(a), texts->position);
    }
}
