#include "map/map_view.h"

#include "state/fighter_slots.h"
#include "map/map_record.h"
#include "map/rain_shelter.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"

void UpdatePartyAreaCondition() {
  for (int s = 0; s < FighterCount && s < kFighterSlots; ++s) {
    const int id = FighterSlots[s].creature;
    if (id < 0 || id >= kCreatureCount) continue;
    RemoveCondition(id, kCondRain);
    if (CurrentMap.rain == 0) continue;
    const CreatureRecord& c = Creatures[id];
    const bool sheltered = c.squareX >= 0 && c.squareY >= 0 && c.squareX < kMapSide && c.squareY < kMapSide &&
                           RainShelterGrid[SquareIndex(c.squareX, c.squareY)] == 2;
    if (!sheltered) AddCondition(id, kCondRain, kDurationLasting, 4, kSourceRain, 0);
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

void ResetPartyTurnUndeadUses() {}
