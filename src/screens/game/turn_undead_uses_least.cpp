#include "map/map_view.h"
#include "rules/creature_record.h"

// A Cleric turns undead Charisma / 2 - 4 times a day, at least once; no one else does.
void ResetTurnUndeadUses() {
  for (int id = kPartySize; id < kCreatureCount; ++id) {
    CreatureRecord& c = Creatures[id];
    const int32_t uses = c.charisma.current / 2 - 4;
    c.displayWords[kDisplayTurnUndeadUses] = c.creatureClass == kClassCleric ? (uses < 1 ? 1 : uses) : 0;
  }
}
