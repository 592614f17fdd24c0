// A whole frame of the game: the party member standing on a square with an
// event number runs the square's compiled script.
#include <gtest/gtest.h>

#include <cstdio>

#include "adventure/scripts.h"
#include "engine/frame.h"
#include "harness/harness.h"
#include "map/map_fixture.h"
#include "map/square_grids.h"
#include "rules/item_tables.h"
#include "state/game_flags.h"
#include "state/game_progress.h"
#include "state/inventory_state.h"

namespace {

TEST(SquareScripts, TheFrameRunsTheScriptOfTheSquareAMemberStandsOn) {
  ASSERT_TRUE(harness::StartGame());
  ASSERT_TRUE(harness::StepFrames(1));
  std::snprintf(AdventureFolder, sizeof AdventureFolder, "Tests");
  mapfixture::DrawMap({"........", "........", "........", "........"});
  CurrentMapNumber = 5;
  CurrentMap.scriptMapNumber = 5;
  CurrentMap.At(kLayerEvents, 2, 1) = 1;
  FighterCount = 0;
  for (int m = 0; m < 4; ++m) {
    mapfixture::PlaceFighter(m, 2 + m, 1);
    Creatures[m].allegiance = kAllegianceParty;
    Creatures[m].map = 5;
    Creatures[m].pixelX = (2 + m) * 24;
    Creatures[m].pixelY = 24;
  }
  BuildOccupancyGrids(-1);
  ItemTable[1].baseType = 1;
  ScreenMode = kModeExploring;
  ForceSquareScripts = 1;
  ASSERT_TRUE(harness::StepFrames(1));
  EXPECT_EQ(GameFlags[10], 1u);
  EXPECT_EQ(PartyGold, 100u);
  EXPECT_EQ(EventMember, -1);
  EXPECT_EQ(ScreenMode, kModeExploring);
  harness::StopGame();
}

}  // namespace
