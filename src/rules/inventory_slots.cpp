#include "rules/inventory_slots.h"

#include <cstring>

#include "creatures/creature_treasure.h"
#include "creatures/unheld_item_rows.h"
#include "rules/creature_record.h"
#include "rules/free_item_slot.h"
#include "rules/item_tables.h"
#include "rules/recompute_creature.h"

CursorStackWords CursorStack = {-1, 0, -1};
int32_t& HeldItemCode = CursorStack.code;
int32_t& HeldItemCount = CursorStack.count;
int32_t& HeldItemOrigin = CursorStack.selectedSlot;

namespace {

ItemPair* PairOfSlot(CreatureRecord& c, int slot) {
  if (slot == kSlotAmmunition) return &c.ammunition;
  if (slot >= kSlotFirstCarried && slot <= kSlotLastCarried) return &c.carried[slot - kSlotFirstCarried];
  return nullptr;
}

// An item that ceases to exist gives its crafted row back: a row of the pool
// at once, a generated row when nothing else holds it.
void DestroyItem(uint32_t code, int destroy) {
  if (destroy != 1) return;
  if (code >= 1 && code <= kLastPooledCraftedCode)
    std::memset(&CraftedWeapons[code], 0, sizeof CraftedWeapons[code]);
  else if (IsGeneratedItemRow(code))
    ReleaseUnheldGeneratedItems();
}

}  // namespace

int EquipItemInSlot(int creature, int slot, uint32_t code, int32_t count) {
  if (!IsValidCreature(creature)) return 0;
  CreatureRecord& c = Creatures[creature];
  if (slot >= kSlotHead && slot <= kSlotRanged) {
    c.equipment[slot - 1] = code;
    RecomputeCreature(creature, 0);
    return 1;
  }
  ItemPair* pair = PairOfSlot(c, slot);
  if (pair == nullptr) return 0;
  pair->code = code;
  pair->count = count;
  return 1;
}

int UnequipSlot(int creature, int slot, int32_t count, int destroy) {
  if (!IsValidCreature(creature) || count < -1) return 0;
  CreatureRecord& c = Creatures[creature];
  if (slot >= kSlotHead && slot <= kSlotRanged) {
    const uint32_t code = c.equipment[slot - 1];
    c.equipment[slot - 1] = 0;
    if (slot == kSlotTorso || slot == kSlotRightHand || slot == kSlotLeftHand || slot == kSlotRanged)
      DestroyItem(code, destroy);
    RecomputeCreature(creature, 0);
    return 1;
  }
  ItemPair* pair = PairOfSlot(c, slot);
  if (pair == nullptr) return 0;
  if (count != -1 && count < pair->count) {
    pair->count -= count;
    return 1;
  }
  const uint32_t code = pair->code;
  *pair = ItemPair{0, 0};
  if (slot != kSlotAmmunition) DestroyItem(code, destroy);
  return 1;
}

unsigned CountFreeItemPairs(int creature) {
  if (!IsValidCreature(creature)) return 0;
  unsigned free = 0;
  for (const ItemPair& pair : Creatures[creature].carried) free += pair.code == 0 && pair.count == 0;
  return free;
}

int FindFreeItemPair(int creature) {
  if (!IsValidCreature(creature)) return -1;
  for (int k = 0; k < kCarriedPairs; ++k)
    if (Creatures[creature].carried[k].code == 0) return k;
  return -1;
}

void ResetInventorySlotsState() {
  CursorStack = {-1, 0, -1};
}
