// Least version of one question of the computer fighters' turn, standing
// until its own work replaces it.
#include "combat/turns/least_decision_services.h"

#include "map/map_record.h"
#include "rules/creature_record.h"

bool IsAreaFreeOfWalls(int creature) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  const int w = c.footprintWidth.current, h = c.footprintHeight.current;
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy) {
      if (dx == 0 && dy == 0) continue;
      const int x0 = c.squareX + dx, y0 = c.squareY + dy;
      if (x0 < 0 || y0 < 0 || x0 >= kMapSide || y0 >= kMapSide) continue;  // no neighbour there
      for (int x = x0; x < x0 + w; ++x)
        for (int y = y0; y < y0 + h; ++y)
          if (x >= kMapSide || y >= kMapSide || !CurrentMap.Inside(x, y) ||
              CurrentMap.layers[kLayerWalls][SquareIndex(x, y)] > 0)
            return false;
    }
  return true;
}
