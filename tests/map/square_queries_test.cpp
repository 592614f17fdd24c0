// The square and hazard questions the computer fighters ask.
#include <gtest/gtest.h>

#include <cstring>

#include "map/fighter_tests.h"
#include "map/map_fixture.h"
#include "map/square_grids.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "state/combat_action.h"

namespace {

constexpr int kMe = 10, kOther = 11;

void Reset() {
  FighterCount = 0;
  TurnEntryCount = 0;
  InCombat = 0;
  CombatAction = {};
  std::memset(MagicAreaGrid, 0, sizeof MagicAreaGrid);
}

TEST(SquareQueries, StrictFitWantsFloodOpenSquares) {
  Reset();
  mapfixture::DrawMap({".....", ".###.", ".#.#.", ".###."});
  mapfixture::PlaceFighter(kMe, 0, 0);
  BuildOccupancyGrids(kMe);
  ASSERT_EQ(BlockedGrid[SquareIndex(2, 2)], kSquareOpen) << "walled in: open, not connected";
  EXPECT_TRUE(FootprintFitsAt(2, 2, kMe, 0));
  EXPECT_FALSE(FootprintFitsAt(2, 2, kMe, 1));
  EXPECT_TRUE(FootprintFitsAt(4, 0, kMe, 1));
  EXPECT_FALSE(FootprintFitsAt(1, 1, kMe, 0)) << "a wall";
  EXPECT_FALSE(FootprintFitsAt(5, 0, kMe, 0)) << "beyond the map's width";
  // Another combatant on the square, in combat only.
  mapfixture::PlaceFighter(kOther, 4, 0);
  EXPECT_TRUE(FootprintFitsAt(4, 0, kMe, 0));
  mapfixture::StartTestCombat();
  EXPECT_FALSE(FootprintFitsAt(4, 0, kMe, 0));
  EXPECT_TRUE(IsSquareOccupiedByCombatant(4, 0));
  InCombat = 0;
  EXPECT_FALSE(IsSquareOccupiedByCombatant(4, 0));
  EXPECT_EQ(CountFightersOnSquare(4, 0), 1);
  Creatures[kMe].footprintHeight = {0, 0};
  EXPECT_TRUE(FootprintFitsAt(1, 1, kMe, 1)) << "a footprint of no rows fits";
}

TEST(SquareQueries, WhoFireBurnsAndWhoWebsHold) {
  Reset();
  mapfixture::DrawMap({".....", "....."});
  mapfixture::PlaceFighter(kMe, 0, 0);
  MagicAreaGrid[SquareIndex(2, 0)] = {kEffectFire, 3, 0};     // a wall of fire
  MagicAreaGrid[SquareIndex(3, 0)] = {kEffectFire, 1000, 0};  // a brazier's fire
  MagicAreaGrid[SquareIndex(4, 0)] = {kEffectWeb, 3, 0};
  EXPECT_TRUE(IsBurnedAt(kMe, 2, 0));
  EXPECT_EQ(Creatures[kMe].squareX, 0) << "put back";
  Creatures[kMe].kind = 88;
  EXPECT_FALSE(IsBurnedAt(kMe, 2, 0));
  EXPECT_TRUE(IsBurnedAt(kMe, 3, 0));
  Creatures[kMe].kind = 1;
  EXPECT_FALSE(IsBurnedAt(kMe, 3, 0));
  EXPECT_TRUE(IsWebbedAt(kMe, 4, 0));
  Creatures[kMe].kind = 32;
  EXPECT_FALSE(IsWebbedAt(kMe, 4, 0));
  // A brazier's floor code without its lasting fire is no brazier fire.
  CurrentMap.At(kLayerFloor, 1, 1) = 2016;
  Creatures[kMe].squareX = 1;
  Creatures[kMe].squareY = 1;
  EXPECT_EQ(BrazierSizeUnderCreature(kMe), 0);
  MagicAreaGrid[SquareIndex(1, 1)] = {kEffectFire, 1000, 0};
  EXPECT_EQ(BrazierSizeUnderCreature(kMe), 2);
}

TEST(SquareQueries, WorthCuringAtHalfHitPointsNotUnhurt) {
  Reset();
  mapfixture::DrawMap({"..."});
  mapfixture::PlaceFighter(kMe, 0, 0);
  mapfixture::PlaceFighter(kOther, 1, 0);
  CreatureRecord& t = Creatures[kOther];
  t.maxHitPoints = 40;
  t.hitPoints = 20;
  const int cure = 107;
  SpellTable[cure].effects[0].code = 1;
  EXPECT_TRUE(IsWorthCuring(kOther, 0, cure, 50, kMe));
  t.hitPoints = 21;
  EXPECT_FALSE(IsWorthCuring(kOther, 0, cure, 50, kMe));
  t.hitPoints = 40;
  EXPECT_FALSE(IsWorthCuring(kOther, 0, cure, 0, kMe)) << "unhurt";
  t.hitPoints = 10;
  t.type = 8;
  EXPECT_FALSE(IsWorthCuring(kOther, 0, cure, 50, kMe)) << "a cure does not heal the undead";
  t.maxHitPoints = 0;
  t.type = 0;
  EXPECT_FALSE(IsWorthCuring(kOther, 0, cure, 50, kMe)) << "no maximum: nothing to share out";
  SpellTable[cure] = {};
}

}  // namespace
