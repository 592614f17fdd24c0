#include "rules/free_item_slot.h"

#include "rules/item_tables.h"

int FindFreeItemSlot() {
  for (int row = 1; row <= static_cast<int>(kLastPooledCraftedCode) && row < kCraftedRows; ++row)
    if (CraftedWeapons[row].name[0] == '\0') return row;
  return -1;
}
