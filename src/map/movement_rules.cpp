#include "map/movement_rules.h"

#include "engine/reset_words.h"
#include "map/map_record.h"
#include "rules/creature_record.h"

uint8_t SeekAdjacent = 0;
uint8_t WalkToInteraction[2] = {0, 0};
uint8_t MapEntryFlag = 0;

namespace {
// 1 the party's team, 2 the enemy side, 0 a side hostile to all.
int TeamOf(int creature) {
  const int s = Creatures[creature].allegiance;
  if (IsPartyAllegiance(s)) return 1;
  return s == kAllegianceEnemy ? 2 : 0;
}
}  // namespace

bool AreEnemies(int a, int b) {
  if (a < 0 || b < 0 || a >= kCreatureCount || b >= kCreatureCount || a == b) return false;
  const int ta = TeamOf(a), tb = TeamOf(b);
  if (ta == 0 || tb == 0) return true;
  return ta != tb;
}

int CalculateMoveCost(int toY, int creature, int fromX, int fromY, int toX, uint32_t option) {
  (void)creature;
  (void)option;
  int cost = (fromX != toX && fromY != toY) ? 7 : 5;
  if (toX >= 0 && toY >= 0 && toX < kMapSide && toY < kMapSide) {
    const int32_t floor = CurrentMap.At(kLayerFloor, toX, toY);
    if (floor == 123 || floor == 124) cost *= 2;
  }
  return cost;
}

void ResetMovementRulesState() {
  SeekAdjacent = 0;
  ResetWords(WalkToInteraction);
  MapEntryFlag = 0;
}
