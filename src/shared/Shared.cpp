#include "shared/Shared.h"

SharedState g;

void ResetSharedState()
{
    g = SharedState{};
}

QString NonActiveVersionText()
{
    return QStringLiteral("--.--.--\r      ( ZT260A/ZT460A Non Active)");
}

void SetStartValues()
{
    g.SkipConfirm = 0;
    g.UnitVersion = QStringLiteral("--.--.--");
    g.UnitVersionText = NonActiveVersionText();
    g.UnitModel = ModelText(UnitKind::FourAxis);
    g.TransferBusy = 0;
    for (int axis = 0; axis < kAxes; ++axis) {
        g.ScaleSel[axis] = 0;
        for (int unit = 0; unit < kUnitCodes; ++unit)
            g.ScaleFactor[unit][axis] = QStringLiteral("1");
    }
}

QString AxisLetter(int axis)
{
    static const char letters[] = "XYZU";
    if (axis < 0 || axis >= kAxes)
        return {};
    return QString(QChar(letters[axis]));
}

int AxisIndex(QChar letter)
{
    switch (letter.unicode()) {
    case 'X': return 0;
    case 'Y': return 1;
    case 'Z': return 2;
    case 'U': return 3;
    default: return -1;
    }
}
