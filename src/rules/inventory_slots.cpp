#include "rules/inventory_slots.h"

#include "rules/creature_record.h"
#include "rules/recompute_creature.h"

CursorStackWords CursorStack = {0, 0, -1};

namespace {

ItemPair* PairOfSlot(CreatureRecord& c, int slot) {
  if (slot == kSlotAmmunition) return &c.ammunition;
  if (slot >= kSlotFirstCarried && slot <= kSlotLastCarried) return &c.carried[slot - kSlotFirstCarried];
  return nullptr;
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

// The destroy flag is the inventory's: what becomes of an item taken out is
// settled there; here the slot is only emptied.
int UnequipSlot(int creature, int slot, int32_t count, int /*destroy*/) {
  if (!IsValidCreature(creature)) return 0;
  CreatureRecord& c = Creatures[creature];
  if (slot >= kSlotHead && slot <= kSlotRanged) {
    c.equipment[slot - 1] = 0;
    return 1;
  }
  ItemPair* pair = PairOfSlot(c, slot);
  if (pair == nullptr) return 0;
  if (count >= 0 && count < pair->count) {
    pair->count -= count;
  } else {
    pair->code = 0;
    pair->count = 0;
  }
  return 1;
}

void ResetInventorySlotsState() {
  CursorStack = {0, 0, -1};
}
