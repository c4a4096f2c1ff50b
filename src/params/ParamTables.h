#pragma once
// What the three parameter tables of the shared store hold: the picker lists
// of the settings, which grid row and list each item has, and the numeric
// parameters with their register number, mnemonic and accepted range.
//
// The tables themselves live in the shared store (g.ModeSetTable,
// g.HomeSetTable, g.ParamTable); every integer item starts at 0 (the first
// entry of its list) and every text item as the empty text.

#include "shared/Shared.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

// Picker lists of the settings, by the names the parameter grid uses.
enum class PickList { None, List1, List2, List3, List8, List9, List10, List11 };

// The entries of a list, index 0 first; empty for PickList::None.
QStringList PickListEntries(PickList list);

// A setting of ModeSetTable or HomeSetTable.
struct SettingItem {
    int gridRow;      // row on its tab of the parameter grid, -1 for none
    PickList list;
};

extern const std::array<SettingItem, kModeItems> kModeSettingItems;
extern const std::array<SettingItem, kHomeItems> kHomeSettingItems;

// The numeric parameters that travel to and from the unit: ParamTable items
// 0 to 12. Item 13 is kept only in the table and the data file.
constexpr int kSentParamItems = 13;

struct ParamItem {
    int item;           // ParamTable item
    int reg;            // numbered parameter of the 2-axis unit
    const char *mnemonic;   // parameter command of the 4-axis unit
    int32_t min, max;   // accepted values (OFS in pulses)
};

// In the order every transfer handles them.
extern const std::array<ParamItem, kSentParamItems> kSentParams;

// The entry of kSentParams for a ParamTable item; nullptr for item 13 or an
// index out of range.
const ParamItem *ParamItemOf(int item);

// OFS: a signed pulse count, the one item that is 32 bits wide on both units.
constexpr int kOffsetItem = 12;
