#include "creatures/weapon_size.h"

#include "rules/item_tables.h"

// clang-format off
const WeaponDice WeaponDamageBySize[kWeaponSizes][kWeaponDieKinds] = {
    //  0       1       2       3       4       5        6       7       8       9        10       11
    {{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0},  {0, 0}, {0, 0}, {0, 0}, {0, 0},  {0, 0},  {0, 0}},   // none
    {{0, 0}, {1, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 6},  {1, 8}, {1, 4}, {1, 8}, {1, 10}, {2, 6},  {1, 10}},  // Tiny
    {{1, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 6}, {1, 8},  {1, 10}, {1, 6}, {1, 10}, {2, 6}, {2, 8},  {2, 6}},   // Small
    {{1, 2}, {1, 3}, {1, 4}, {1, 6}, {1, 8}, {1, 10}, {1, 12}, {2, 4}, {2, 6}, {2, 8},  {2, 10}, {3, 6}},   // Medium
    {{1, 3}, {1, 4}, {1, 6}, {1, 8}, {2, 6}, {2, 8},  {3, 6}, {2, 6}, {3, 6}, {3, 8},  {4, 8},  {4, 6}},   // Large
    {{1, 4}, {1, 6}, {1, 8}, {2, 6}, {3, 6}, {3, 8},  {4, 6}, {3, 6}, {4, 6}, {4, 8},  {6, 8},  {6, 6}},   // Huge
    {{1, 6}, {1, 8}, {2, 6}, {3, 6}, {4, 6}, {4, 8},  {6, 6}, {4, 6}, {6, 6}, {6, 8},  {8, 8},  {8, 6}},   // Gargantuan
    {{1, 8}, {2, 6}, {3, 6}, {4, 6}, {6, 6}, {6, 8},  {8, 6}, {6, 6}, {8, 6}, {8, 8},  {12, 8}, {10, 6}},  // Colossal
};
// clang-format on

namespace {

constexpr int kMediumSize = 3;
constexpr int kLastDieKind = 11;  // its dice cannot follow a size change
constexpr int kFirstPreparedRow = 4951;  // prepared row of option k is 4951 + k
constexpr int kLastWeaponOption = 35;

// The die kind of a weapon: the one stored in its row, else the first kind
// whose Medium dice are those of the prepared row of the same weapon; -1 when
// none matches.
int DieKindOf(const CraftedWeaponRecord& row) {
  if (row.dieKind >= 1 && row.dieKind <= kLastDieKind) return row.dieKind;
  const CraftedWeaponRecord& prepared = CraftedWeapons[kFirstPreparedRow + row.itemType];
  for (int kind = 0; kind < kWeaponDieKinds; ++kind) {
    const WeaponDice& medium = WeaponDamageBySize[kMediumSize][kind];
    if (medium.count == prepared.dieCount && medium.sides == prepared.dieSides) return kind;
  }
  return -1;
}

// Moves the row one step (+1 or -1) within sizes 1 to 7; a weapon takes the
// dice of its new size, or keeps its old size when its dice cannot follow.
int StepWeaponSize(int code, int step) {
  if (!IsCraftedCode(static_cast<uint32_t>(code))) return 0;
  CraftedWeaponRecord& row = CraftedWeapons[code];
  const int32_t old = row.size;
  row.size = old + step;
  if (row.size > 7 || row.size < 1) {
    row.size = row.size > 7 ? 7 : 1;
    return 1;
  }
  if (row.itemType < 1 || row.itemType > kLastWeaponOption) return 1;
  const int kind = DieKindOf(row);
  if (kind < 0 || kind >= kLastDieKind) {
    row.size = old;
    return 1;
  }
  row.dieCount = WeaponDamageBySize[row.size][kind].count;
  row.dieSides = WeaponDamageBySize[row.size][kind].sides;
  return 1;
}

}  // namespace

int EnlargeWeaponSize(int row) { return StepWeaponSize(row, +1); }

int ReduceWeaponSize(int row) { return StepWeaponSize(row, -1); }
