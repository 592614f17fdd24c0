// A battle in the open as a player sees it, by day and by night: grass and a
// road, trees, a boulder, a hedge and the walls of a ruin, the party against
// people, beasts, the undead, giants and a huge dragon, every one in its own
// pose and facing.
#include <gtest/gtest.h>

#include "map/square_grids.h"
#include "screens/game/creature_figures.h"
#include "state/camera.h"
#include "state/map_view_state.h"
#include "state/turn_order.h"
#include "map_scene.h"

namespace {

class BattleScenePictures : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(harness::StartGame());
    LayOutField();
  }
  void TearDown() override { harness::StopGame(); }

  static void LayOutField() {
    mapscene::LayOutMap(1);
    // A road across the field, flowers and tufts, a mossy ruin, trees.
    for (int x = 0; x <= 16; ++x) CurrentMap.At(kLayerGround, x, 6) = 5;
    for (int y = 0; y <= 12; ++y) CurrentMap.At(kLayerGround, 9, y) = 5;
    CurrentMap.At(kLayerGround, 2, 3) = CurrentMap.At(kLayerGround, 11, 9) = 2;
    CurrentMap.At(kLayerFloor, 4, 9) = 200;
    CurrentMap.At(kLayerFloor, 12, 4) = 233;
    for (int x = 1; x <= 4; ++x) CurrentMap.At(kLayerWalls, x, 10) = 55;
    CurrentMap.At(kLayerWalls, 1, 9) = CurrentMap.At(kLayerWalls, 1, 8) = 55;
    CurrentMap.At(kLayerWalls, 3, 2) = 60;   // an oak
    CurrentMap.At(kLayerWalls, 14, 3) = 64;  // a pine
    CurrentMap.At(kLayerWalls, 14, 10) = 68;  // a boulder
    for (int x = 6; x <= 7; ++x) CurrentMap.At(kLayerWalls, x, 10) = 79;  // a hedge

    InCombat = 1;
    struct Figure {
      int id, x, y, figure, facing, state;
    } small[] = {
        {0, 7, 7, 1, 3, 0},     {1, 6, 8, 13, 3, 1},   {2, 7, 5, 20, 2, 3},   {3, 5, 7, 149, 3, 0},   // the party
        {610, 10, 5, 189, 7, 1}, {611, 10, 6, 190, 6, 3}, {612, 8, 9, 184, 7, 0}, {613, 8, 3, 200, 5, 1},  // foes
    };
    for (const Figure& f : small) {
      mapscene::Place(f.id, f.x, f.y, f.figure);
      Creatures[f.id].facing = f.facing;
      Creatures[f.id].displayWords[kDisplayAnimationFrame] = f.state;
      if (f.id < 4) Creatures[f.id].allegiance = kAllegianceParty;
    }
    // Two creatures of two by two squares and a dragon of three by three.
    mapscene::Place(614, 11, 2, 203, 5, 2, 48, 48);  // a fire giant
    Creatures[614].facing = 6;
    mapscene::Place(615, 4, 4, 207, 5, 2, 48, 48);  // a giant spider
    Creatures[615].facing = 3;
    mapscene::Place(616, 11, 7, 217, 8, 3, 72, 72);  // a huge red dragon
    Creatures[616].facing = 7;
    for (int i = 0; i < FighterCount; ++i) TurnOrder[i].creature = FighterSlots[i].creature;
    TurnEntryCount = FighterCount;
    ViewOriginX = 24;
    ViewOriginY = 24;
    FirstVisibleX = FirstVisibleY = 1;
  }
};

TEST_F(BattleScenePictures, AFieldBattleByDayAndByNight) {
  harness::SeedRandom(11);
  mapscene::DrawScene();
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, "battle_day"), 0);

  AmbientTint[0] = AmbientTint[1] = 130;
  AmbientTint[2] = 235;
  mapscene::DrawScene();
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, "battle_night"), 0);
}

}  // namespace
