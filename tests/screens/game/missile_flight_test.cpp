// Missiles: the velocity along the line to the target, the creature-aimed
// spells, the sprite frames by direction and kind, and flights that must end
// (to the shooter's own square, from the map's left edge); the sprite out of view.
#include <gtest/gtest.h>

#include <cmath>

#include "combat/resolution/area_targets.h"
#include "combat/resolution/combat_sequencer.h"
#include "rules/item_tables.h"
#include "rules/positions.h"
#include "state/current_cast.h"
#include "state/map_view_state.h"
#include "map_scene.h"

namespace {

class MissileFlight : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(harness::StartGame());
    mapscene::LayOutMap();
    SpellCaster = mapscene::Place(10, 10, 10, 1);
    SpellInProgress = -1;
  }
  void TearDown() override { harness::StopGame(); }

  static void Fly(int x, int y) {
    MapCursorX = x;
    MapCursorY = y;
    EXPECT_TRUE(MissileFrame());
  }
  // Frames until the missile reaches its square (or 1000).
  static int FramesToArrive() {
    for (int frame = 0; frame < 1000; ++frame) {
      if (MissileReachedSquare()) return frame;
      AdvanceMissileFlight();
    }
    return 1000;
  }
};

TEST_F(MissileFlight, StraightAndDiagonalShotsFlyAtTheMissileSpeed) {
  const struct {
    int x, y;
    double vx, vy;
    int frame;
  } straight[] = {{14, 10, 4, 0, 76}, {6, 10, -4, 0, 80}, {10, 6, 0, -4, 78}, {10, 14, 0, 4, 82}};
  for (const auto& s : straight) {
    Fly(s.x, s.y);
    EXPECT_EQ(MissileState.velocityX, s.vx);
    EXPECT_EQ(MissileState.velocityY, s.vy);
    EXPECT_EQ(MissileState.frame, s.frame);
    EXPECT_EQ(MissileState.inFlight, 1);
  }
  Fly(13, 7);
  EXPECT_NEAR(MissileState.velocityX, 4 / std::sqrt(2.0), 1e-9);
  EXPECT_NEAR(MissileState.velocityY, -4 / std::sqrt(2.0), 1e-9);
  Fly(7, 13);
  EXPECT_NEAR(MissileState.velocityX, -4 / std::sqrt(2.0), 1e-9);
  EXPECT_NEAR(MissileState.velocityY, 4 / std::sqrt(2.0), 1e-9);
  EXPECT_EQ(FramesToArrive(), 22);  // 2.83 a frame on each axis, truncated, into the square
}

TEST_F(MissileFlight, SpellMissilesAimAtTheCreatureAndTakeTheirKindsFrames) {
  const int target = mapscene::Place(11, 16, 12, 1, 4, 1, 32, 32);
  AreaTargetList[0] = target;
  SpellInProgress = 0;
  SpellTable[0].target = 3;
  SpellTable[0].missile = 3;
  Fly(16, 12);
  // The figure box of a 32 x 32 figure on its square runs from 4 pixels before it.
  EXPECT_EQ(MissileState.aimX, 24 * 16 - 4 + 2 + 14);
  EXPECT_EQ(MissileState.aimY, 24 * 12 - 4 + 2 + 14);
  EXPECT_GE(MissileState.frame, 92);
  EXPECT_LE(MissileState.frame, 99);
  SpellTable[0].target = 2;
  SpellTable[0].missile = 7;  // no spell missile of its own: the arrow frames
  Fly(16, 12);
  EXPECT_EQ(MissileState.aimX, 24 * 16 + 12);
  EXPECT_LE(MissileState.frame, 83);
}

TEST_F(MissileFlight, EveryFlightEnds) {
  Fly(10, 10);  // the shooter's own square
  EXPECT_EQ(MissileState.velocityX, 0);
  EXPECT_EQ(MissileState.velocityY, 0);
  EXPECT_EQ(FramesToArrive(), 0);
  // A large shooter aiming at its own top-left square flies to it.
  SpellCaster = mapscene::Place(12, 20, 20, 38, 5, 2, 48, 48);
  Fly(20, 20);
  EXPECT_LT(FramesToArrive(), 10);
  // From the map's left edge, where the slope cannot be taken.
  Creatures[10].pixelX = Creatures[10].squareX = 0;
  Creatures[10].figureSize[0].current = 0;
  SpellCaster = 10;
  Fly(5, 13);
  EXPECT_GT(MissileState.velocityX, 0);
  EXPECT_GT(MissileState.velocityY, 0);
  EXPECT_NEAR(std::hypot(MissileState.velocityX, MissileState.velocityY), 4, 1e-9);
  EXPECT_LT(FramesToArrive(), 60);
}

TEST_F(MissileFlight, TheSpriteAndItsGlowAreDrawnOnlyInView) {
  CastingUse.missileFlying = 1;
  MissileState.inFlight = 1;
  MissileState.frame = 100;
  MissileState.pixelX = 100;
  MissileState.pixelY = 60;
  auto missileDraws = [] {
    int n = 0;
    for (const SheetDraw& d : mapscene::RecordScene()) n += d.slot == 2 || d.slot == 32;
    return n;
  };
  EXPECT_EQ(missileDraws(), 2);
  MissileState.pixelX = 330;
  EXPECT_EQ(missileDraws(), 0);
  // A flight the casting no longer carries is not drawn.
  MissileState.pixelX = 100;
  CastingUse.missileFlying = 2;
  EXPECT_EQ(missileDraws(), 0);
  EXPECT_EQ(MissileState.inFlight, 0);
}

}  // namespace
