#include "params/ParamTables.h"

QStringList PickListEntries(PickList list)
{
    switch (list) {
    case PickList::List1: return {QStringLiteral("Instant"), QStringLiteral("Slow")};
    case PickList::List2: return {QStringLiteral("Low"), QStringLiteral("High")};
    case PickList::List3: return {QStringLiteral("Disable"), QStringLiteral("Enable")};
    case PickList::List8: return {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")};
    case PickList::List9: return {QStringLiteral("Disable"), QStringLiteral("-"), QStringLiteral("+")};
    case PickList::List10: return {QStringLiteral("Disable"), QStringLiteral("+"), QStringLiteral("-")};
    case PickList::List11: return {QStringLiteral("High"), QStringLiteral("Low")};
    case PickList::None: break;
    }
    return {};
}

// Items 6 and 10 have no grid row: item 6 picks the clear command of the
// main window, 7 and 8 travel in the second mode word, 10 is kept only.
const std::array<SettingItem, kModeItems> kModeSettingItems = {{
    {0, PickList::List1},
    {1, PickList::List2},
    {2, PickList::List3},
    {3, PickList::List2},
    {4, PickList::List3},
    {5, PickList::List2},
    {-1, PickList::None},
    {-1, PickList::None},
    {-1, PickList::None},
    {6, PickList::List3},
    {-1, PickList::None},
}};

const std::array<SettingItem, kHomeItems> kHomeSettingItems = {{
    {0, PickList::List8},
    {1, PickList::List2},
    {2, PickList::List2},
    {3, PickList::List2},
    {4, PickList::List9},
    {5, PickList::List11},
    {6, PickList::List10},
    {7, PickList::List2},
    {8, PickList::List9},
    {9, PickList::List2},
    {10, PickList::List11},
    {11, PickList::List3},
    {-1, PickList::None},
    {-1, PickList::None},
    {-1, PickList::None},
    {-1, PickList::None},
}};

const std::array<ParamItem, kSentParamItems> kSentParams = {{
    {0, 60, "RAT", 1, 500},
    {1, 61, "ACS", 1, 8000},
    {2, 62, "DRS", 1, 8000},
    {3, 63, "DR1", 1, 8000},
    {4, 64, "DR2", 1, 8000},
    {5, 65, "DR3", 1, 8000},
    {6, 66, "DR4", 1, 8000},
    {7, 69, "TM1", 1, 65535},
    {8, 70, "TM2", 1, 65535},
    {9, 71, "TM3", 1, 65535},
    {10, 56, "OG1", 1, 8000},
    {11, 57, "OG2", 1, 8000},
    {12, 68, "OFS", -8388608, 8388607},
}};

const ParamItem *ParamItemOf(int item)
{
    if (item < 0 || item >= kSentParamItems)
        return nullptr;
    return &kSentParams[size_t(item)];
}
