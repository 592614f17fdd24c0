// The good-square grid of casters and the cure grid of healers.
#include "combat/turns/support_grids.h"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "combat/turns/best_square.h"
#include "combat/turns/decision_words.h"
#include "combat/turns/tactics_fixture.h"
#include "combat/turns/valuation_grid.h"
#include "map/fighter_tests.h"
#include "engine/random.h"
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

namespace {

using tacticsfixture::TacticsTest;
constexpr int kHealer = 100;

// Draws below n from the test's own generator (a new battle seeds the game's).
struct Roll {
  std::mt19937 rng;
  int operator()(int n) { return static_cast<int>(rng() % static_cast<uint32_t>(n)); }
};

// A crowded battle on a 30 x 30 map with walls and hedges: fighters of both
// sides, some two squares wide, none overlapping, the first on side 1.
void CrowdedBattle(Roll& roll, int trial, int count) {
  std::vector<std::string> rows(30, std::string(30, '.'));
  for (int k = 0; k < 50; ++k) rows[roll(30)][roll(30)] = roll(3) ? '#' : 'h';
  turnsfixture::NewBattle(rows);
  for (int id = kHealer; id < kHealer + count;) {
    const int size = (id == kHealer ? trial % 2 == 1 : roll(5) == 0) ? 2 : 1;
    const int x = roll(29), y = roll(29);
    bool free = true;
    for (int dx = 0; dx < size; ++dx)
      for (int dy = 0; dy < size; ++dy) free &= rows[y + dy][x + dx] == '.';
    if (!free) continue;
    for (int dx = 0; dx < size; ++dx)
      for (int dy = 0; dy < size; ++dy) rows[y + dy][x + dx] = 'o';
    turnsfixture::AddFighter(id, id == kHealer || roll(3) ? 1 : 2, x, y, size);
    ++id;
  }
}

// Both ways of weighing, each after the other, and the grids they give.
template <typename Build>
void ExpectSameBothWays(Build build, int trial) {
  std::vector<int32_t> grid[2][2];
  for (int first = 0; first < 2; ++first)
    for (int k = 0; k < 2; ++k) {
      PlacementShortcuts = static_cast<uint8_t>(first ^ k);
      build();
      grid[first][first ^ k].assign(ValuationGrid, ValuationGrid + kMapSquares);
    }
  EXPECT_EQ(grid[0][0], grid[0][1]) << "trial " << trial;
  EXPECT_EQ(grid[1][0], grid[1][1]) << "trial " << trial;
  EXPECT_EQ(grid[0][1], grid[1][1]) << "trial " << trial;
}

// Healers small and large among friends small and large with every
// affliction their spells mend (some held by others, some without hit
// points), behind walls and hedges: weighing friend by friend over the
// squares near each gives the grid of weighing square by square.
TEST_F(TacticsTest, CureGridWeighsFriendByFriendAsSquareBySquare) {
  Roll roll{std::mt19937(31)};
  const uint32_t afflictions[] = {kCondCursed,    kCondMute,          kCondBlinded,  kCondDeafened,
                                  kCondEntangled, kCondGrappling,     kCondNauseated, kCondLevelDrained,
                                  66,             61,                 kCondParalyzed, kCondSlowed};
  int helped = 0;
  for (int trial = 0; trial < 8; ++trial) {
    CrowdedBattle(roll, trial, 18);
    for (int id = kHealer; id < kHealer + 18; ++id) {
      CreatureRecord& f = Creatures[id];
      f.hitPoints = roll(3) ? 100 : roll(60);
      if (roll(10) == 0) f.maxHitPoints = 0;
      if (roll(5) == 0) f.type = 8;
      f.creatureClass = 1 + roll(5);
      f.spellsLeft[roll(3)] = roll(2);
      for (int k = 0; k < 2; ++k)
        if (roll(2)) f.conditions[k] = {afflictions[roll(12)], 5, kSourceSpell, 0, 1};
      if (roll(8) == 0) f.conditions[2] = {kCondSummonedCreature, 5, kSourceSpell, 0, 1};
    }
    if (trial % 2 == 0) Creatures[kHealer].hitPoints = 40;  // the healer among the wounded
    MakeCaster(kHealer, 3,
               {kSpellCureLightWounds, kSpellInflictLightWounds, kSpellMassCureLight, kSpellRemoveParalysis,
                kSpellRemoveCurse, kSpellRemoveBlindness, kSpellFreedomOfMovement, kSpellHeal, kSpellHarm,
                kSpellRemoveNegativeLevels, kSpellRestoration, kSpellLesserRestoration},
               18);
    turnsfixture::StartTurn(kHealer, trial % 3 ? 30 : 60);
    const uint8_t stepOnly = trial % 4 == 3 ? 1 : 0;
    ExpectSameBothWays([stepOnly] { BuildCureValuationGrid(kHealer, stepOnly); }, trial);
    helped += *std::max_element(ValuationGrid, ValuationGrid + kMapSquares) >= 30;
  }
  EXPECT_GT(helped, 5) << "most grids find friends to help";
}

// Casters small and large in every stance, with and without a zone round a
// friend and a spell of touch, near barriers and fires to dispel: weighing
// creature by creature over the squares near each, and the lines from the
// cache, give the grid of weighing square by square.
TEST_F(TacticsTest, GoodSquareGridWeighsCreatureByCreatureAsSquareBySquare) {
  Roll roll{std::mt19937(47)};
  NearestFoe = -1;
  int scored = 0;
  for (int trial = 0; trial < 10; ++trial) {
    CrowdedBattle(roll, trial, 16);
    for (int k = 0; k < 10; ++k)
      MagicAreaGrid[SquareIndex(roll(30), roll(30))] = {k % 2 ? kEffectFire : kEffectSolid, 3, 0};
    for (int id = kHealer; id < kHealer + 16; ++id) Creatures[id].creatureClass = 1 + roll(5);
    MakeCaster(kHealer, 4, {kSpellDispel, kSpellFireball});
    turnsfixture::StartTurn(kHealer, trial % 3 ? 30 : 60);
    for (int id = kHealer + 1; id < kHealer + 16 && NearestFoe == -1; ++id)
      if (Creatures[id].allegiance == 2) NearestFoe = id;
    const int32_t stance = trial % 5 == 0 ? kStanceOwn : trial % 5;
    const int target = trial % 3 == 0 ? kHealer + 1 : -1;
    const int32_t radius = 4 + 8 * (trial % 4);
    const int spell = trial % 2 ? kSpellFireball : kSpellCureLightWounds;
    const uint8_t stepOnly = trial % 4 == 3 ? 1 : 0;
    ExpectSameBothWays([=] { BuildGoodSquareGrid(kHealer, stepOnly, stance, target, radius, spell); }, trial);
    scored += *std::max_element(ValuationGrid, ValuationGrid + kMapSquares) >= 10;
    NearestFoe = -1;
  }
  EXPECT_GT(scored, 6) << "most grids find squares worth standing on";
}

}  // namespace
