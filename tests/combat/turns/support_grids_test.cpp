// The good-square grid of casters and the cure grid of healers.
#include "combat/turns/support_grids.h"

#include <algorithm>
#include <string>
#include <vector>

#include "combat/turns/best_square.h"
#include "combat/turns/tactics_fixture.h"
#include "combat/turns/valuation_grid.h"
#include "map/fighter_tests.h"
#include "rules/conditions.h"

namespace {

using tacticsfixture::TacticsTest;
using turnsfixture::Value;
constexpr int kMe = 100, kFoe = 101, kAlly = 102, kAlly2 = 103, kFar = 104;

class GoodSquareGrid : public TacticsTest {};

TEST_F(GoodSquareGrid, TheStanceDecidesWhatStandingBesideAnEnemyIsWorth) {
  OpenBattle(20, 20);
  turnsfixture::AddFighter(kMe, 2, 4, 10);
  turnsfixture::AddFighter(kFoe, 1, 10, 10);
  turnsfixture::StartTurn(kMe);
  // Keeping well off: beside the foe -120, never scored; two squares off -10.
  BuildGoodSquareGrid(kMe, 0, kStanceKeepWellOff, -1, 0, -1);
  EXPECT_LE(Value(9, 10), -100);
  EXPECT_LT(Value(8, 10), 0);
  EXPECT_GT(Value(5, 10), 0) << "the foe within reach of the stance, far enough off";
  // Seeking contact: beside the foe +28 before the scoring.
  BuildGoodSquareGrid(kMe, 0, kStanceMelee, -1, 0, -1);
  EXPECT_GT(Value(9, 10), Value(7, 10));
}

TEST_F(GoodSquareGrid, ATargetZoneInSilenceIsWorthLess) {
  OpenBattle(24, 20);
  turnsfixture::AddFighter(kMe, 2, 4, 10);
  turnsfixture::AddFighter(kFoe, 1, 18, 10);
  turnsfixture::AddFighter(kAlly, 2, 12, 10);
  turnsfixture::StartTurn(kMe);
  MagicAreaGrid[SquareIndex(12, 12)] = {kEffectSilence, 5, 0};
  BuildGoodSquareGrid(kMe, 0, kStanceKeepOff, kAlly, 4, -1);
  // Both squares two off the ally: the zone's 100 against 25 in silence
  // (which the crowding of the best squares then drops).
  EXPECT_GE(Value(12, 8), 100);
  EXPECT_LT(Value(12, 12), 100);
  EXPECT_LT(Value(12, 5), 100) << "outside the zone";
}

TEST_F(GoodSquareGrid, ACasterThatMayDispelABarrierSkipsTheReachabilityPass) {
  OpenBattle(24, 20);
  turnsfixture::AddFighter(kMe, 2, 4, 10);
  turnsfixture::AddFighter(kFoe, 1, 18, 10);
  MakeCaster(kMe, 4, {kSpellDispel});
  // The foe walled in by a barrier the caster would dispel.
  for (int x = 17; x <= 19; ++x)
    for (int y = 9; y <= 11; ++y)
      if (x != 18 || y != 10) MagicAreaGrid[SquareIndex(x, y)] = {kEffectSolid, 5, 0};
  turnsfixture::StartTurn(kMe);
  NearestFoe = kFoe;
  BuildGoodSquareGrid(kMe, 0, kStanceKeepOff, -1, 0, -1);
  EXPECT_GE(Value(13, 10), 100) << "within reach of the barrier and in its sight";
  EXPECT_LT(Value(4, 3), 100) << "too far from any barrier cell";
  // Squares it could not reach this turn keep their worth: no reachability pass ran.
  EXPECT_GE(Value(14, 16), 100);
}

class CureGrid : public TacticsTest {};

TEST_F(CureGrid, TheHealerMovesToReachTheMostWoundedFriend) {
  OpenBattle(20, 20);
  turnsfixture::AddFighter(kMe, 1, 5, 5);
  turnsfixture::AddFighter(kAlly, 1, 9, 5);
  turnsfixture::AddFighter(kAlly2, 1, 5, 9);
  turnsfixture::AddFighter(kFar, 2, 18, 18);
  MakeCaster(kMe, 3, {kSpellCureLightWounds});
  Creatures[kAlly].hitPoints = 20;   // missing 80 per cent: the most wounded
  Creatures[kAlly2].hitPoints = 25;  // missing 75 per cent
  turnsfixture::StartTurn(kMe);
  BuildCureValuationGrid(kMe, 0);
  // Beside either ally: Cure 13; beside the most wounded also 3; within one move 16.
  EXPECT_EQ(Value(8, 5), 13 + 3 + 16 + 1) << "the nearest of the best squares takes the tie-break";
  EXPECT_EQ(Value(5, 8), 13 + 16);
  const int64_t square = ExtractBestSquare(kMe, 0, nullptr);
  ASSERT_NE(square, kNoSquare);
  Creatures[kMe].squareX = SquareXOf(square);
  Creatures[kMe].squareY = SquareYOf(square);
  EXPECT_TRUE(AreAdjacent(kMe, kAlly));
}

TEST_F(CureGrid, OnlyAfflictionsItsSpellsMendCount) {
  OpenBattle(20, 20);
  turnsfixture::AddFighter(kMe, 1, 5, 5);
  turnsfixture::AddFighter(kAlly, 1, 9, 5);
  turnsfixture::AddFighter(kFar, 2, 18, 18);
  MakeCaster(kMe, 3, {kSpellCureLightWounds, kSpellRemoveParalysis});
  turnsfixture::StartTurn(kMe);
  // A paralysis from losing Strength is not for Remove Paralysis; one from a spell is.
  Creatures[kAlly].conditions[0] = {kCondParalyzed, 5, kSourceStrengthLoss, 0, 1};
  BuildCureValuationGrid(kMe, 0);
  EXPECT_EQ(Value(8, 5), 0);
  Creatures[kAlly].conditions[0].source = kSourceSpell;
  BuildCureValuationGrid(kMe, 0);
  EXPECT_GE(Value(8, 5), 34);
  // An undead friend badly hurt is helped by inflictions only.
  Creatures[kAlly].conditions[0] = {};
  Creatures[kAlly].type = 8;
  Creatures[kAlly].hitPoints = 10;
  BuildCureValuationGrid(kMe, 0);
  EXPECT_EQ(Value(8, 5), 0);
  Creatures[kMe].knownSpells[kSpellInflictLightWounds] = 1;
  BuildCureValuationGrid(kMe, 0);
  EXPECT_GE(Value(8, 5), 13);
}

TEST_F(CureGrid, AFriendWithoutHitPointsDividesNothing) {
  OpenBattle(20, 20);
  turnsfixture::AddFighter(kMe, 1, 5, 5);
  turnsfixture::AddFighter(kAlly, 1, 7, 5);
  turnsfixture::AddFighter(kFar, 2, 18, 18);
  MakeCaster(kMe, 3, {kSpellCureLightWounds});
  Creatures[kAlly].maxHitPoints = 0;
  Creatures[kAlly].hitPoints = -3;
  turnsfixture::StartTurn(kMe);
  BuildCureValuationGrid(kMe, 0);
  // Only the most-wounded term: no share of a maximum of 0 is missing.
  EXPECT_EQ(Value(6, 5), 3 + 16 + 1);
}


// Healers among crowds with slowed, paralysed and wounded friends: looking
// only at the friends a spell can help gives the grid that weighing every
// creature in reach gives.
TEST_F(CureGrid, WeighingOnlyTheFriendsItCanHelpGivesTheSameGrid) {
  SeedRandomForTests(23);
  int helped = 0;
  for (int trial = 0; trial < 5; ++trial) {
    std::vector<std::string> rows(24, std::string(24, '.'));
    for (int k = 0; k < 40; ++k) rows[RandomUpTo(23)][RandomUpTo(23)] = '#';
    turnsfixture::NewBattle(rows);
    for (int id = kMe; id < kMe + 14; ++id) {
      int x, y;
      do {
        x = static_cast<int>(RandomUpTo(23));
        y = static_cast<int>(RandomUpTo(23));
      } while (rows[y][x] != '.');
      rows[y][x] = 'o';
      turnsfixture::AddFighter(id, id == kMe || RandomUpTo(3) ? 1 : 2, x, y);
      CreatureRecord& f = Creatures[id];
      f.hitPoints = RandomUpTo(2) ? 100 : 10 + static_cast<int>(RandomUpTo(90));
      if (RandomUpTo(4) == 0) f.type = 8;
      const uint32_t roll = RandomUpTo(5);
      if (roll == 0) f.conditions[0] = {kCondSlowed, 5, kSourceSpell, 0, 1};
      if (roll == 1) f.conditions[0] = {kCondParalyzed, 5, trial % 2 ? kSourceSpell : kSourceStrengthLoss, 0, 1};
    }
    MakeCaster(kMe, 3, {kSpellCureLightWounds, kSpellMassCureLight, kSpellRemoveParalysis});
    turnsfixture::StartTurn(kMe, trial % 2 ? 30 : 60);
    std::vector<int32_t> grid[2];
    for (int shortcut = 0; shortcut < 2; ++shortcut) {
      PlacementShortcuts = static_cast<uint8_t>(shortcut);
      BuildCureValuationGrid(kMe, 0);
      grid[shortcut].assign(ValuationGrid, ValuationGrid + kMapSquares);
    }
    EXPECT_EQ(grid[0], grid[1]) << "trial " << trial;
    helped += std::count_if(grid[1].begin(), grid[1].end(), [](int32_t v) { return v >= 34; }) > 0;
  }
  EXPECT_GT(helped, 2) << "some grids reach a friend to free or heal";
}

}  // namespace
