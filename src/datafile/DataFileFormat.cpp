#include "datafile/DataFileFormat.h"

#include "shared/Shared.h"

QString AxisHeading(int axis)
{
    const QString letter = AxisLetter(axis);
    return letter.isEmpty() ? QString() : QStringLiteral("# %1 axis").arg(letter);
}

int AxisOfHeading(QStringView line)
{
    for (int a = 0; a < kAxes; ++a)
        if (line == AxisHeading(a))
            return a;
    return -1;
}

bool IsBlockMarker(QStringView line)
{
    return line == kProgramMarker || line == kScaleMarker || AxisOfHeading(line) >= 0;
}

QString SectionName(BlockSection s)
{
    switch (s) {
    case BlockSection::Mode: return QStringLiteral("MODE");
    case BlockSection::HomeSearch: return QStringLiteral("HOME SEARCH");
    case BlockSection::Parameter: return QStringLiteral("PARAMETER");
    }
    return {};
}

QString SectionHeading(BlockSection s)
{
    return QStringLiteral("# ") + SectionName(s);
}

int SectionItems(BlockSection s)
{
    switch (s) {
    case BlockSection::Mode: return kModeItems;
    case BlockSection::HomeSearch: return kHomeItems;
    case BlockSection::Parameter: return kParamItems;
    }
    return 0;
}

QString AxisName(int axis)
{
    const QString letter = AxisLetter(axis);
    return letter.isEmpty() ? QString() : QStringLiteral("%1 axis").arg(letter);
}
