#include "map/fighter_table.h"

#include "state/fighter_slots.h"
#include "map/map_record.h"
#include "rules/creature_record.h"

void BuildFighterTable() {
  FighterCount = 0;
  for (int id = 0; id < kCreatureCount; ++id) {
    CreatureRecord& c = Creatures[id];
    const bool listed = id < kPartySize || (c.present == 1 && c.map == CurrentMapNumber);
    if (!listed || FighterCount >= kFighterSlots) {
      c.fighterSlot = -1;
      continue;
    }
    FighterSlot& s = FighterSlots[FighterCount];
    s.creature = id;
    s.pathIndex = -1;
    c.fighterSlot = FighterCount++;
  }
}
