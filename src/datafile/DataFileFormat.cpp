#include "datafile/DataFileFormat.h"

#include "shared/Shared.h"

#include <array>

QString AxisHeading(int axis)
{
    const QString letter = AxisLetter(axis);
    return letter.isEmpty() ? QString() : QStringLiteral("# %1 axis").arg(letter);
}

int AxisOfHeading(QLatin1StringView line)
{
    // Asked of every line of a file: the headings are made once.
    static const std::array<QString, kAxes> headings = [] {
        std::array<QString, kAxes> h;
        for (int a = 0; a < kAxes; ++a)
            h[size_t(a)] = AxisHeading(a);
        return h;
    }();
    for (int a = 0; a < kAxes; ++a)
        if (line == headings[size_t(a)])
            return a;
    return -1;
}

bool IsBlockMarker(QLatin1StringView line)
{
    // Most lines are records or values: every marker starts with '#'.
    if (!line.startsWith(u'#'))
        return false;
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
