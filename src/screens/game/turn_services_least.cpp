// Least version of the game screen's reach question the computer fighters
// ask, standing until the game screen's reach overlay replaces it.
#include "combat/turns/least_decision_services.h"

#include "map/fighter_tests.h"
#include "map/map_record.h"
#include "rules/creature_record.h"

bool HasReachableSquare(int creature) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy) {
      const int x = c.squareX + dx, y = c.squareY + dy;
      if ((dx == 0 && dy == 0) || x < 0 || y < 0 || x >= kMapSide || y >= kMapSide) continue;
      if (FootprintFitsAt(x, y, creature, 0)) return true;
    }
  return false;
}
