// Travel on the world map: a meeting on the road takes the party onto one of
// the encounter maps 0 to 4 with the region's group placed and the arrival
// square's event set, so that the map's arrival script offers the fight.
#include <cstring>

#include "engine/random.h"
#include "map/map_record.h"
#include "map/square_grids.h"
#include "screens/game/map_input_fixture.h"
#include "state/encounters.h"
#include "state/fighter_slots.h"
#include "state/world_travel.h"

namespace {

using inputtest::MouseAt;
using screentest::GameScreen;
using screentest::LayOutMap;

void LayOutGround(MapRecord* map, int width, int height, int region) {
  std::memset(map, 0, sizeof *map);
  map->width = width;
  map->height = height;
  for (int x = 0; x < width; ++x)
    for (int y = 0; y < height; ++y) {
      map->At(kLayerGround, x, y) = 1;
      map->At(kLayerEvents, x, y) = region;
    }
}

TEST_F(GameScreen, AMeetingOnTheRoadPlacesTheRegionsGroupAndTheArrivalEvent) {
  LayOutMap(20, 12);
  CreatureRecord& leader = screentest::Place(0, 2, 2);
  leader.destinationX = leader.destinationY = -1;
  FighterSlots[0].pathIndex = -1;
  BuildOccupancyGrids(0);
  LayOutGround(&WorldMap, 38, 12, 1);
  for (int m = 0; m <= 4; ++m) LayOutGround(&StoredMaps[m], 26, 26, 0);
  PartyWorldSquare[0] = 2;
  PartyWorldSquare[1] = 5;
  ScreenMode = kModeLocalMap;
  SeedRandomForTests(7);
  // A journey east along the row; each step may meet something.
  const int px = 8 * 35 + 4, py = 8 * 5 + 5;
  MouseAt(px, py);
  MouseAt(px, py, true);
  for (int call = 0; call < 400 && CurrentMapNumber == screentest::kMap; ++call) MouseAt(px, py);
  ASSERT_LE(CurrentMapNumber, 4) << "no meeting on the road";
  EXPECT_GT(EncounterCounter, 0);
  EXPECT_EQ(CurrentMap.At(kLayerEvents, leader.squareX, leader.squareY), 1);
}

}  // namespace
