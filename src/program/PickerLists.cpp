#include "program/PickerLists.h"

#include "program/TextEntry.h"

namespace {

QStringList commands(bool xAxis, bool extended)
{
    QStringList items{QStringLiteral("(NUL)"), QStringLiteral("ABS"), QStringLiteral("INC"), QStringLiteral("LN2"),
                      QStringLiteral("LN3"),   QStringLiteral("CW"),  QStringLiteral("CCW"), QStringLiteral("CNT"),
                      QStringLiteral("JMP"),   QStringLiteral("REP"), QStringLiteral("INP"), QStringLiteral("IJP"),
                      QStringLiteral("OUT"),   QStringLiteral("OTP"), QStringLiteral("TIM"), QStringLiteral("SUB"),
                      QStringLiteral("RET")};
    // Only the X axis waits for or runs the other axes.
    if (xAxis)
        items << QStringLiteral("RNY") << QStringLiteral("RNZ") << QStringLiteral("RNU") << QStringLiteral("WTY")
              << QStringLiteral("WTZ") << QStringLiteral("WTU");
    items << QStringLiteral("HOM");
    if (extended)
        items << QStringLiteral("MOV") << QStringLiteral("STO") << QStringLiteral("SPD");
    items << QStringLiteral("END");
    return items;
}

// The 2-axis unit has no three-axis line and drives no Z or U.
QStringList commands2(bool xAxis)
{
    QStringList items = commands(xAxis, false);
    items.removeAll(QStringLiteral("LN3"));
    for (const char *other : {"RNZ", "RNU", "WTZ", "WTU"})
        items.removeAll(QLatin1String(other));
    return items;
}

QStringList numbers(int first, bool withNull)
{
    QStringList items;
    for (int i = first; i < first + 4; ++i)
        items << QString::number(i);
    if (withNull)
        items << QStringLiteral("(NULL)");
    return items;
}

} // namespace

const QStringList &PickerItems(PickerList list)
{
    static const QStringList lists[] = {
        commands(true, false), commands(true, true), commands(false, false), commands(false, true),
        numbers(1, true),      numbers(0, true),     commands2(true),        commands2(false),
        numbers(1, false),     numbers(0, false),
    };
    return lists[int(list)];
}

std::optional<QString> StoredChoice(PickerList list, int index)
{
    const QStringList &items = PickerItems(list);
    if (index < 0 || index >= items.size())
        return std::nullopt;
    const QString &item = items[index];
    if (item == u"(NUL)" || item == u"(NULL)")
        return QStringLiteral("");
    return item;
}

int CurrentItem(PickerList list, const QString &cellText)
{
    const QString stored = TrimTrailingBlanks(cellText);
    for (int i = 0; i < PickerItems(list).size(); ++i)
        if (StoredChoice(list, i) == stored)
            return i;
    return 0;
}

PickerList CommandList4(int axis, bool extended)
{
    if (axis == 0)
        return extended ? PickerList::X4Ext : PickerList::X4;
    return extended ? PickerList::Y4Ext : PickerList::Y4;
}

bool IsMotionCommand(int axis, const QString &command)
{
    static const QStringList planar{QStringLiteral("ABS"), QStringLiteral("INC"), QStringLiteral("CW"),
                                    QStringLiteral("CCW"), QStringLiteral("CNT"), QStringLiteral("LN2"),
                                    QStringLiteral("LN3")};
    static const QStringList zAxis{QStringLiteral("ABS"), QStringLiteral("INC"), QStringLiteral("LN3")};
    static const QStringList uAxis{QStringLiteral("ABS"), QStringLiteral("INC")};
    const QString cmd = TrimTrailingBlanks(command);
    switch (axis) {
    case 0:
    case 1: return planar.contains(cmd);
    case 2: return zAxis.contains(cmd);
    case 3: return uAxis.contains(cmd);
    default: return false;
    }
}
