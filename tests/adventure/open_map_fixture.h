// An open square map with the party of four standing together on it, for the
// tests that make groups round an anchor square.
#pragma once
#include <string>
#include <vector>

#include "map/map_fixture.h"
#include "map/map_record.h"
#include "map/square_grids.h"
#include "rules/creature_record.h"

namespace openmap {

// The party stands together at (1, 1) of the current map, numbered `map`.
inline void PlaceParty(int map) {
  CurrentMapNumber = map;
  for (int m = 0; m < 4; ++m) {
    CreatureRecord& c = Creatures[m];
    c.map = map;
    c.present = 1;
    c.squareX = c.squareY = 1;
    c.footprintWidth = c.footprintHeight = {1, 1};
  }
  BuildOccupancyGrids(-1);
}

// A side by side map without walls, numbered `map`, with the party on it.
inline void DrawWithParty(int side, int map) {
  mapfixture::DrawMap(std::vector<std::string>(side, std::string(side, '.')));
  PlaceParty(map);
}

}  // namespace openmap
