#include "map/map_view.h"

#include "state/fighter_slots.h"
#include "map/map_record.h"
#include "map/rain_shelter.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/record_words.h"
#include "state/game_screen_words.h"

namespace {

// Whether one square of the creature's footprint lies where the rain falls.
bool FootprintInRain(const CreatureRecord& c) {
  for (int x = c.squareX; x < c.squareX + c.footprintWidth.current; ++x)
    for (int y = c.squareY; y < c.squareY + c.footprintHeight.current; ++y)
      if (x >= 0 && y >= 0 && x < kMapSide && y < kMapSide && RainShelterGrid[SquareIndex(x, y)] == 2) return true;
  return false;
}

}  // namespace

void UpdatePartyAreaCondition() {
  const bool raining = StormActive != 0 && CurrentMap.rain != 0;
  for (int s = 0; s < FighterCount && s < kFighterSlots; ++s) {
    const int id = FighterSlots[s].creature;
    if (id < 0 || id >= kCreatureCount) continue;
    if (!raining) {
      RemoveCondition(id, kCondRain);
      continue;
    }
    if (!FootprintInRain(Creatures[id])) continue;
    RemoveCondition(id, kCondRain);
    const int slot = FreeConditionSlot(id);
    if (slot >= 0 && slot < kConditionSlots) {
      Creatures[id].conditions[slot] = ConditionEntry{kCondRain, kDurationLasting, kSourceRain, 0, 4};
      CompactConditions(id);
    }
  }
}

bool RemoveCellObject(int level, int x, int y) {
  if (level < 0 || level > 3 || x < 0 || y < 0 || x >= kMapSide || y >= kMapSide) return false;
  auto shift = [&](MapRecord& map) {
    for (int l = level; l < 3; ++l) map.At(kLayerObjects0 + l, x, y) = map.At(kLayerObjects0 + l + 1, x, y);
    map.At(kLayerObjects3, x, y) = 0;
  };
  shift(CurrentMap);
  if (CurrentMapNumber >= 0 && CurrentMapNumber < kStoredMapCount) shift(StoredMaps[CurrentMapNumber]);
  return true;
}

namespace {

// A Cleric turns undead Charisma / 2 - 4 times a day, at least once; no one
// else can.
void ResetTurnUndeadUsesOf(int first, int last) {
  for (int id = first; id <= last && id < kCreatureCount; ++id) {
    CreatureRecord& c = Creatures[id];
    int32_t uses = 0;
    if (c.creatureClass == kClassCleric) {
      uses = c.charisma.current / 2 - 4;
      if (uses < 1) uses = 1;
    }
    // A free record is only read: its pages stay as they are.
    if (c.displayWords[kDisplayTurnUndeadUses] != uses) c.displayWords[kDisplayTurnUndeadUses] = uses;
  }
}

}  // namespace

void ResetTurnUndeadUses() { ResetTurnUndeadUsesOf(kPartySize, kCreatureCount - 1); }
void ResetPartyTurnUndeadUses() { ResetTurnUndeadUsesOf(0, kPartySize - 1); }

