// The map view as a player sees it: a walled yard with a campfire, torches,
// a fire, a web and a swarm of insects in the middle of a battle, small and large creatures in
// several poses and a spell's missile in flight; by day and by night.
#include <gtest/gtest.h>

#include "combat/resolution/combat_sequencer.h"
#include "map/square_grids.h"
#include "screens/game/creature_figures.h"
#include "state/camera.h"
#include "state/map_view_state.h"
#include "state/turn_order.h"
#include "map_scene.h"

namespace {

class MapViewPictures : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(harness::StartGame());
    LayOutYard();
  }
  void TearDown() override { harness::StopGame(); }

  static void Wall(int x0, int y0, int x1, int y1, int code) {
    for (int x = x0; x <= x1; ++x)
      for (int y = y0; y <= y1; ++y) CurrentMap.At(kLayerWalls, x, y) = code;
  }

  static void LayOutYard() {
    mapscene::LayOutMap(3);
    // Flagstones inside the yard, walls round it with a double door.
    for (int x = 2; x <= 12; ++x)
      for (int y = 1; y <= 9; ++y) CurrentMap.At(kLayerFloor, x, y) = 205 + (x + y) % 3;
    Wall(1, 0, 13, 0, 46);
    Wall(1, 10, 13, 10, 46);
    Wall(1, 0, 1, 10, 46);
    Wall(13, 0, 13, 10, 46);
    CurrentMap.At(kLayerWalls, 6, 10) = CurrentMap.At(kLayerWalls, 7, 10) = 82;
    // A campfire, torches on the north wall, a large object, a glowing stone.
    CurrentMap.At(kLayerWalls, 10, 7) = 90;
    CurrentMap.At(kLayerFloor, 10, 7) = 322;
    CurrentMap.At(kLayerFloor, 4, 1) = 310;
    CurrentMap.At(kLayerFloor, 9, 1) = 316;
    CurrentMap.At(kLayerWalls, 12, 3) = 60;
    CurrentMap.At(kLayerFloor, 3, 8) = 4002;
    // Water outside the yard; an item lying in the yard.
    for (int x = 0; x <= 14; ++x) CurrentMap.At(kLayerFloor, x, 11) = 600 + x % 18;
    CurrentMap.At(kLayerObjects0, 5, 8) = 5001;

    // A battle: a web and a fire, three of the party and their foes.
    InCombat = 1;
    MagicAreaGrid[SquareIndex(8, 3)] = {kEffectWeb, 3, 0};
    MagicAreaGrid[SquareIndex(9, 3)] = {kEffectWeb, 3, 0};
    MagicAreaGrid[SquareIndex(4, 5)] = {kEffectFire, 3, 2};
    for (int x = 9; x <= 11; ++x)
      for (int y = 7; y <= 9; ++y) MagicAreaGrid[SquareIndex(x, y)] = {kEffectInsectPlague, 3, 0};
    struct Figure {
      int id, x, y, figure, facing, state;
    } small[] = {{0, 5, 6, 1, 1, 0}, {1, 6, 7, 9, 3, 1}, {2, 4, 7, 17, 7, 3},
                 {610, 7, 3, 2, 5, 3}, {611, 9, 5, 10, 8, 1}};
    for (const Figure& f : small) {
      mapscene::Place(f.id, f.x, f.y, f.figure);
      Creatures[f.id].facing = f.facing;
      Creatures[f.id].displayWords[kDisplayAnimationFrame] = f.state;
      if (f.id < 4) Creatures[f.id].allegiance = kAllegianceParty;
    }
    // A large creature of two by two squares.
    mapscene::Place(612, 9, 2, 38, 5, 2, 48, 48);
    Creatures[612].facing = 6;
    for (int i = 0; i < FighterCount; ++i) TurnOrder[i].creature = FighterSlots[i].creature;
    TurnEntryCount = FighterCount;

    // A spell's missile on its way from the wizard to the large creature.
    SpellInProgress = 0;
    CastingUse.missileFlying = 1;
    MissileState.inFlight = 1;
    MissileState.pixelX = 24 * 7 + 6;
    MissileState.pixelY = 24 * 5;
    MissileState.frame = 85;

    // The view a square down and half a square right of the map's corner.
    ViewOriginX = 12;
    ViewOriginY = 24;
    FirstVisibleX = 0;
    FirstVisibleY = 1;
    SquareOffsetX = 12;
    SquareOffsetY = 0;
  }
};

TEST_F(MapViewPictures, YardByDayAndByNight) {
  harness::SeedRandom(7);  // the flames' flicker
  mapscene::DrawScene();
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, "map_view_day"), 0);

  AmbientTint[0] = AmbientTint[1] = 140;
  AmbientTint[2] = 255;
  mapscene::DrawScene();
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, "map_view_night"), 0);
}

}  // namespace
