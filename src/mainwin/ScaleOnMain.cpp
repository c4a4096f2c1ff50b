#include "mainwin/ScaleOnMain.h"

#include "link/ReplyFields.h"
#include "mainwin/frmMain.h"
#include "params/ScaleSetup.h"
#include "platform/FitToText.h"

#include <QLabel>
#include <QLineEdit>

#include <cstdint>

namespace {

// What `pulses` look like at the axis's factor; nothing when it is refused.
void addScaled(QStringList &shapes, int axis, int32_t pulses)
{
    if (const auto text = PositionText(pulses, PositionFactorText(axis)))
        shapes << *text;
}

} // namespace

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
    RefitScaledBoxes(m);
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

QString PositionFactorText(int axis)
{
    if (axis < 0 || axis >= kAxes)
        return QStringLiteral("1");
    const int unit = g.ScaleSel[size_t(axis)];
    return unit >= 0 && unit < kUnitCodes ? g.ScaleFactor[size_t(unit)][size_t(axis)] : QStringLiteral("1");
}

QStringList PositionWidestTexts(int axis)
{
    // Pulses stay the least a display shows, whatever the factor.
    QStringList shapes{QString::number(INT32_MIN)};
    addScaled(shapes, axis, INT32_MIN);
    addScaled(shapes, axis, INT32_MAX);
    return EveryDigit(shapes);
}

QStringList AmountWidestTexts(int axis)
{
    // The largest preset count in the unit, and an amount of seven digits
    // with three decimals as typed.
    QStringList shapes{QStringLiteral("9999999.999"), QString::number(INT32_MAX)};
    addScaled(shapes, axis, INT32_MAX);
    return EveryDigit(shapes);
}

void RefitScaledBoxes(frmMain &m)
{
    for (int a = 0; a < kAxes; ++a) {
        RefitBoxWidth(m.positionBox(a));
        RefitBoxWidth(m.amountBox(a));
    }
}
