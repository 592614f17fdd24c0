#include "map/fighter_table.h"

#include <cstring>

#include "engine/main_window.h"
#include "state/fighter_slots.h"
#include "map/map_record.h"
#include "map/party_vision.h"
#include "rules/creature_record.h"
#include "rules/recompute_creature.h"

namespace {

// The old table's count as the rebuild may trust it.
int TrustedCount(int32_t count) {
  if (count < 0) return 0;
  return count > kFighterSlots ? kFighterSlots : count;
}

// Copies the last backup slot among [first, end) that holds the creature into
// the slot; a slot whose path position lies outside its lists loses its path.
void CarryOver(FighterSlot& slot, int creature, int first, int end) {
  for (int b = first; b < end; ++b) {
    if (FighterSlotBackup[b].creature == creature) std::memcpy(&slot, &FighterSlotBackup[b], sizeof slot);
  }
  if (slot.pathIndex < -1 || slot.pathIndex >= kPathLength) slot.pathIndex = -1;
}

// Fills the next slot with the creature, carrying its working data over.
void TakeSlot(int creature, int first, int end) {
  FighterSlot& slot = FighterSlots[FighterCount];
  slot.pathIndex = -1;
  CarryOver(slot, creature, first, end);
  slot.creature = creature;
  Creatures[creature].fighterSlot = FighterCount;
  ++FighterCount;
}

}  // namespace

void BuildFighterTable() {
  ForgetKeptSight();  // the slots' grids move and are wiped
  const int oldCount = TrustedCount(FighterCount);
  FighterCount = 0;
  // Both tables are mostly unused: past the slots in use their pages are
  // handed back, not written; the slots in use are written over in place.
  std::memcpy(FighterSlotBackup, FighterSlots, sizeof(FighterSlot) * oldCount);
  ZeroFighterSlots(FighterSlotBackup, oldCount, oldCount);
  ZeroFighterSlots(FighterSlots, 0, oldCount);

  // The party keeps slots 0 to 3 wherever its members are.
  const int partyEnd = oldCount < kPartySize ? oldCount : kPartySize;
  for (int id = 0; id < kPartySize; ++id) TakeSlot(id, 0, partyEnd);

  // Then every present creature of the current map, in id order. A full
  // table keeps its 300 and takes no more.
  for (int id = kPartySize; id < kCreatureCount; ++id) {
    const CreatureRecord& c = Creatures[id];
    if (c.map != CurrentMapNumber || c.present != 1) continue;
    if (FighterCount >= kFighterSlots) {
      ShowError(0, "Maximum number of characters reached on the map.");
      break;
    }
    TakeSlot(id, kPartySize, oldCount);
  }

  NoteFighterSlotsFilled(FighterCount);
  for (int s = 0; s < FighterCount; ++s) RecomputeCreature(FighterSlots[s].creature, 0);
}
