// Making room: a creature caught in a wall of stone or on another creature's
// square moves to the nearest ring, the area a creature takes is cleared of
// the others, and a growing creature finds a corner where it fits.
#include "combat/actions/displacement.h"
#include "rules/formation.h"

#include <gtest/gtest.h>

#include "frontend/game_reset.h"
#include "map/map_fixture.h"
#include "map/square_grids.h"
#include "rules/creature_record.h"

namespace {

constexpr int kA = 10, kB = 11, kC = 12;

class Displacement : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    mapfixture::DrawMap({"........", "........", "........", "........", "........", "........"});
  }
  static void Put(int id, int x, int y, int32_t allegiance, int size = 1) {
    mapfixture::PlaceFighter(id, x, y, size, size);
    Creatures[id].allegiance = allegiance;
  }
  static void Flood(int from) {
    BuildOccupancyGrids(from);
  }
  static bool At(int id, int x, int y) {
    const CreatureRecord& c = Creatures[id];
    return c.squareX == x && c.squareY == y && c.nextX == x && c.nextY == y && c.pixelX == x * 24 &&
           c.pixelY == y * 24;
  }
};

TEST_F(Displacement, ACreatureInAWallOfStoneMovesToTheNearestRingLowestXFirst) {
  Put(kB, 0, 0, kAllegianceEnemy);
  Put(kA, 3, 3, kAllegianceEnemy);
  CurrentMap.At(kLayerWalls, 3, 3) = 46;  // the wall rises under it
  CurrentMap.At(kLayerWalls, 2, 2) = 46;
  Flood(kB);
  EXPECT_TRUE(RelocateIfBlocked(kA));
  EXPECT_TRUE(At(kA, 2, 3));  // (2, 2) is wall too; (2, 3) is the first free square of the ring
  // Standing free it stays.
  EXPECT_TRUE(RelocateIfBlocked(kA));
  EXPECT_TRUE(At(kA, 2, 3));
}

TEST_F(Displacement, TwoCreaturesOnOneSquareMoveApartAndTheAreaIsClearedOfOthers) {
  Put(kA, 3, 3, kAllegianceParty);
  Put(kB, 3, 3, kAllegianceEnemy);
  Flood(kA);
  RelocateIfBlocked(kB);
  EXPECT_TRUE(At(kB, 2, 2));
  EXPECT_EQ(Creatures[kA].squareX, 3);
  // Out of combat nobody is found on the area.
  Put(kC, 4, 3, kAllegianceEnemy);
  ASSERT_TRUE(MarkTargetArea(kA, 2, 2));
  EXPECT_TRUE(DisplaceFromArea(kA));
  EXPECT_EQ(Creatures[kC].squareX, 4);
  // In combat both others leave the 2 x 2 area; the one that stays keeps its square.
  mapfixture::StartTestCombat();
  Creatures[kB].squareX = 4, Creatures[kB].squareY = 4;
  ASSERT_TRUE(MarkTargetArea(kA, 2, 2));
  EXPECT_TRUE(DisplaceFromArea(kA));
  for (int id : {kB, kC}) {
    const CreatureRecord& c = Creatures[id];
    EXPECT_FALSE(c.squareX >= 3 && c.squareX <= 4 && c.squareY >= 3 && c.squareY <= 4) << id;
  }
  EXPECT_EQ(Creatures[kA].squareX, 3);
  EXPECT_EQ(Creatures[kA].squareY, 3);
  // An area running off the map is refused.
  Creatures[kA].squareX = 7;
  EXPECT_FALSE(MarkTargetArea(kA, 2, 2));
  InCombat = 0;
}

// A creature summoned next to its caster is moved off its square, the
// caster staying: never onto the caster's own square, though the first of
// the ring there.
TEST_F(Displacement, ACreatureMovedOffAnAreaNeverLandsOnTheOneThatStays) {
  Put(kA, 2, 2, kAllegianceEnemy);  // the caster
  Put(kB, 2, 3, kAllegianceEnemy);  // summoned on the marked square
  for (int y = 2; y <= 4; ++y) CurrentMap.At(kLayerWalls, 1, y) = 46;
  Flood(kA);
  mapfixture::StartTestCombat();
  ASSERT_TRUE(MarkTargetArea(kB, 1, 1));
  EXPECT_TRUE(DisplaceFromArea(kA));
  EXPECT_EQ(Creatures[kA].squareX, 2);
  EXPECT_EQ(Creatures[kA].squareY, 2);
  EXPECT_TRUE(At(kB, 2, 4));
  InCombat = 0;
}

TEST_F(Displacement, AGrowingCreatureTakesTheFirstCornerFreeOfWallsAndFoes) {
  Put(kA, 3, 3, kAllegianceParty);
  Put(kB, 4, 4, kAllegianceEnemy);   // a foe on the first corner's area
  Put(kC, 2, 3, kAllegianceAlly);    // a friend on the second: it is moved aside
  Flood(kA);
  mapfixture::StartTestCombat();
  EXPECT_TRUE(CanGrowInPlace(kA, 2, 2));
  EXPECT_EQ(Creatures[kA].squareX, 3);  // only asked: it stays
  EXPECT_EQ(Creatures[kA].squareY, 3);
  ASSERT_TRUE(NudgeOrDisplace(kA, 2, 2));
  EXPECT_EQ(Creatures[kA].squareX, 2);
  EXPECT_EQ(Creatures[kA].squareY, 3);
  EXPECT_FALSE(Creatures[kC].squareX >= 2 && Creatures[kC].squareX <= 3 && Creatures[kC].squareY >= 3 &&
               Creatures[kC].squareY <= 4);
  // Walls on every corner's area: no growth, no move.
  Creatures[kA].squareX = Creatures[kA].nextX = 1;
  Creatures[kA].squareY = Creatures[kA].nextY = 1;
  for (int x = 0; x <= 2; ++x) CurrentMap.At(kLayerWalls, x, 0) = CurrentMap.At(kLayerWalls, x, 2) = 46;
  EXPECT_FALSE(CanGrowInPlace(kA, 2, 2));
  EXPECT_FALSE(NudgeOrDisplace(kA, 2, 2));
  EXPECT_EQ(Creatures[kA].squareX, 1);
  InCombat = 0;
}

}  // namespace
