#include "params/ParamGridCells.h"

#include "params/ParamChecks.h"
#include "shared/Shared.h"
#include "shared/UnitKind.h"

namespace {

constexpr int kModeGridRows = 7;
constexpr int kHomeGridRows = 12;

// The item shown in grid row `row`; -1 when no item has that row.
template <size_t N>
int itemOfRow(const std::array<SettingItem, N> &items, int row)
{
    for (size_t i = 0; i < N; ++i)
        if (items[i].gridRow == row && row >= 0)
            return int(i);
    return -1;
}

} // namespace

int GridRows(GridTab tab)
{
    switch (tab) {
    case GridTab::Mode: return kModeGridRows;
    case GridTab::HomeSearch: return kHomeGridRows;
    case GridTab::Parameter: return kSentParamItems;
    }
    return 0;
}

int SettingItemOfRow(GridTab tab, int row)
{
    switch (tab) {
    case GridTab::Mode: return itemOfRow(kModeSettingItems, row);
    case GridTab::HomeSearch: return itemOfRow(kHomeSettingItems, row);
    case GridTab::Parameter: break;
    }
    return -1;
}

PickList RowList(GridTab tab, int row)
{
    const int item = SettingItemOfRow(tab, row);
    if (item < 0)
        return PickList::None;
    return tab == GridTab::Mode ? kModeSettingItems[size_t(item)].list : kHomeSettingItems[size_t(item)].list;
}

QString PickText(PickList list, int index)
{
    const QStringList entries = PickListEntries(list);
    return index >= 0 && index < entries.size() ? entries[index] : QString();
}

QString GridFillText(GridTab tab, int row, int axis, const QString &unitModel)
{
    if (axis < 0 || axis >= kAxes || axis >= AxisCount(UnitKindOf(unitModel)))
        return {};
    if (tab == GridTab::Parameter)
        return ParamCellText(row, axis);
    const int item = SettingItemOfRow(tab, row);
    if (item < 0)
        return {};
    const int16_t value = tab == GridTab::Mode ? g.ModeSetTable[size_t(axis)][size_t(item)]
                                               : g.HomeSetTable[size_t(axis)][size_t(item)];
    return PickText(RowList(tab, row), value);
}

bool StorePick(GridTab tab, int row, int column, PickList list, int index)
{
    const int axis = column - 1;
    const int item = SettingItemOfRow(tab, row);
    if (item < 0 || axis < 0 || axis >= kAxes || list == PickList::None || RowList(tab, row) != list
        || index < 0 || index >= PickListEntries(list).size())
        return false;
    if (tab == GridTab::Mode)
        g.ModeSetTable[size_t(axis)][size_t(item)] = int16_t(index);
    else
        g.HomeSetTable[size_t(axis)][size_t(item)] = int16_t(index);
    return true;
}

std::optional<int> CursorColumn(int lastCol, int newCol)
{
    if (lastCol == -1 || newCol >= 5 || (lastCol >= 1 && newCol == 0))
        return AxisColumn(0);
    return std::nullopt;
}
