#pragma once
// A font at a multiple of its size, in points or in pixels as it is given:
// the layout tests' larger font.

#include <QFont>

inline QFont ScaledFont(QFont font, double scale)
{
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * scale);
    else
        font.setPixelSize(qRound(font.pixelSize() * scale));
    return font;
}
