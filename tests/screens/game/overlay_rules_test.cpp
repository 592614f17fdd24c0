// The map view's decisions: the condition shown for a creature, the squares
// of a one-square step and the large-feature test of a 2 by 2 block.
#include <gtest/gtest.h>

#include "map/fighter_tests.h"
#include "map/square_grids.h"
#include "rules/conditions.h"
#include "screens/game/overlay_rules.h"
#include "map_scene.h"

namespace {

class OverlayRules : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(harness::StartGame());
    mapscene::LayOutMap();
  }
  void TearDown() override { harness::StopGame(); }
};

TEST_F(OverlayRules, TheShownConditionFollowsItsTiers) {
  mapscene::Place(10, 3, 3, 1);
  auto shown = [](std::initializer_list<uint32_t> ids) {
    std::memset(Creatures[10].conditions, 0, sizeof Creatures[10].conditions);
    int slot = 0;
    for (uint32_t id : ids) Creatures[10].conditions[slot++] = {id, 5, 1, 0, 0};
    return PickShownEffect(10);
  };
  EXPECT_EQ(shown({92, 111}), 111);          // Dead over Petrified
  EXPECT_EQ(shown({151, 152}), 152);         // Slowed over Hasted
  EXPECT_EQ(shown({149, 151}), 151);         // Hasted over Fire_shielded
  EXPECT_EQ(shown({156, 113, 107}), 107);    // any of the main list over the second tier
  EXPECT_EQ(shown({156, 145}), 145);
  EXPECT_EQ(shown({12, 20}), -1);            // never shown
  Creatures[10].conditions[0] = {111, 0, 1, 0, 0};  // no rounds left: not active
  Creatures[10].conditions[1] = {};
  EXPECT_EQ(PickShownEffect(10), -1);
}

TEST_F(OverlayRules, StepsOfALargeCreatureStopAtTheMapsEastEdge) {
  static int32_t grid[kMapSquares];
  mapscene::Place(10, 58, 10, 38, 5, 2, 48, 48);
  AnyStepFlag = 0;
  BuildReachOverlay(grid, 10);
  EXPECT_EQ(grid[SquareIndex(58, 9)], 28);
  EXPECT_EQ(grid[SquareIndex(57, 10)], 27);
  EXPECT_EQ(grid[SquareIndex(58, 12)], 26);
  EXPECT_EQ(grid[SquareIndex(57, 12)], 31);
  int marked = 0;
  for (int32_t v : grid) marked += v != 0;
  EXPECT_EQ(marked, 5);  // no east, north-east or south-east step
  EXPECT_TRUE(AnyStepFlag);
  // Walled in on every side there is no step.
  for (int x = 56; x < 60; ++x)
    for (int y = 8; y < 14; ++y)
      if (x < 58 || x > 59 || y < 10 || y > 11) CurrentMap.At(kLayerWalls, x, y) = 46;
  BuildOccupancyGrids(10);
  EXPECT_FALSE(HasReachableSquare(10));
}

TEST_F(OverlayRules, TheBlockTestKeepsToTheMapAndMay3003Aside) {
  CurrentMap.width = CurrentMap.height = 10;
  CurrentMap.At(kLayerWalls, 5, 6) = 3003;
  EXPECT_TRUE(TouchesBlockCode(4, 5, false));
  EXPECT_FALSE(TouchesBlockCode(4, 5, true));
  CurrentMap.At(kLayerWalls, 10, 3) = 106;  // beyond the map's width
  EXPECT_FALSE(TouchesBlockCode(9, 3, false));
  CurrentMap.At(kLayerWalls, 9, 4) = 106;
  EXPECT_TRUE(TouchesBlockCode(9, 3, true));
}

}  // namespace
