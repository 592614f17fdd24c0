// Where a fighter stands to fight in melee, and whom it strikes.
#include "combat/turns/melee_grid.h"

#include <gtest/gtest.h>

#include "combat/resolution/attack_resolution.h"
#include "combat/turns/best_square.h"
#include "combat/turns/turns_fixture.h"
#include "rules/adjacency.h"
#include "rules/conditions.h"
#include "rules/feat_ids.h"

namespace {

using turnsfixture::Value;
constexpr int kMe = 100, kFoe = 101, kFoe2 = 102, kFriend = 103;

// The worth of standing beside the listed enemies, recomputed from the terms.
int32_t Recomputed(const std::vector<int>& enemies, int32_t base) {
  int32_t sure = 0, free = 0, resist = 0, priority = 0, flanked = 0, weak = 0;
  for (int e : enemies) {
    if (ResolveAttack(kMe, e, 0, 0, 1, 0, 0, nullptr) >= 70) sure = 10;
    free = 17;    // none summoned, controlled or dominated
    resist = 29;  // no damage reduction
    const CreatureRecord& t = Creatures[e];
    priority = std::max(priority, t.creatureClass == 4 || t.creatureClass == 5 ? 15 : t.creatureClass == 3 ? 3 : 0);
    if (IsFlanking(kMe, e)) flanked += 20;
    if (t.hitPoints < t.maxHitPoints && t.hitPoints * 100 / t.maxHitPoints <= 20) weak = 9;
  }
  return base + sure + free + resist + priority + flanked + weak;
}

TEST(MeleeGrid, SquaresBesideEnemiesScoreTheirTargetsAndTheBestIsWalkedTo) {
  turnsfixture::NewBattle({
      "..........",
      "..........",
      "..........",
      "..........",
      "..........",
  });
  turnsfixture::AddFighter(kMe, 2, 0, 2);
  turnsfixture::AddFighter(kFoe, 1, 6, 1);
  turnsfixture::AddFighter(kFoe2, 1, 6, 3);
  turnsfixture::AddFighter(kFriend, 2, 7, 2);  // right of both enemies
  Creatures[kFoe2].creatureClass = 4;          // a wizard: priority 15
  Creatures[kFoe].hitPoints = 20;              // at 20 %: weak
  turnsfixture::StartTurn(kMe, 60);
  BuildMeleeValuationGrid(kMe, -1, 0, 0, 1);

  // Plain re-computation before the walk costs for a few squares: place the
  // fighter there and add up the terms of the enemies it would touch.
  struct Probe {
    int x, y;
    std::vector<int> enemies;
  } probes[] = {{5, 2, {kFoe, kFoe2}}, {5, 0, {kFoe}}, {5, 4, {kFoe2}}};
  CreatureRecord& me = Creatures[kMe];
  for (const Probe& p : probes) {
    me.squareX = p.x;
    me.squareY = p.y;
    const int32_t expected = Recomputed(p.enemies, 50);
    me.squareX = 0;
    me.squareY = 2;
    // The walk: attacks it provokes, and 16 for a square within one move
    // (the fighter has two).
    const uint32_t* r = ReachRecords[SquareIndex(p.x, p.y)];
    const int32_t attacks = static_cast<int32_t>(r[0]);
    const int32_t penalty = (attacks == 0 ? 0 : attacks == 1 ? 9 : 85) - (static_cast<int32_t>(r[6]) <= 30 ? 16 : 0);
    const int32_t got = Value(p.x, p.y);
    EXPECT_TRUE(got == expected - penalty || got == expected - penalty + 1)
        << p.x << "," << p.y << " got " << got << " expected " << expected - penalty;
  }
  EXPECT_EQ(Value(3, 2), 0) << "touching no enemy";
  EXPECT_EQ(Value(6, 1), kUnfit) << "held by the enemy";

  const int64_t best = ExtractBestSquare(kMe, 0, nullptr);
  ASSERT_NE(best, kNoSquare);
  EXPECT_EQ(SquareXOf(best), 5);
  EXPECT_EQ(SquareYOf(best), 4) << "beside the wizard, flanking it with the friend at (7, 2)";
}

TEST(MeleeGrid, FurtherEnemiesTouchedAddByFeat) {
  turnsfixture::NewBattle({".......", ".......", ".......", "......."});
  turnsfixture::AddFighter(kMe, 2, 0, 0);
  turnsfixture::AddFighter(kFoe, 1, 3, 1);
  turnsfixture::AddFighter(kFoe2, 1, 3, 3);
  turnsfixture::AddFighter(kFriend, 1, 5, 2);
  turnsfixture::StartTurn(kMe);
  // (4, 2) touches all three enemies: its ring score over a plain fighter's.
  struct Case {
    int feat;
    int32_t ring;
  } cases[] = {{-1, 50}, {kFeatCleave, 51}, {kFeatGreatCleave, 52}, {kFeatWhirlwindAttack, 52}};
  for (const Case& c : cases) {
    Creatures[kMe].feats[kFeatCleave] = Creatures[kMe].feats[kFeatGreatCleave] = 0;
    Creatures[kMe].feats[kFeatWhirlwindAttack] = 0;
    if (c.feat >= 0) Creatures[kMe].feats[c.feat] = 1;
    BuildMeleeValuationGrid(kMe, -1, 0, 0, 1);
    const int32_t scored = Value(4, 2);
    Creatures[kMe].feats[kFeatCleave] = Creatures[kMe].feats[kFeatGreatCleave] = 0;
    Creatures[kMe].feats[kFeatWhirlwindAttack] = 0;
    BuildMeleeValuationGrid(kMe, -1, 0, 0, 1);
    // The single best square may also take the tie-break's 1.
    const int32_t diff = scored - Value(4, 2);
    EXPECT_TRUE(diff == c.ring - 50 || diff == c.ring - 50 + 1) << "feat " << c.feat << " diff " << diff;
  }
  // Each further enemy adds 14 in the whirlwind search.
  BuildMeleeValuationGrid(kMe, -1, 1, 0, 1);
  const int32_t stacked = Value(4, 2);
  BuildMeleeValuationGrid(kMe, -1, 0, 0, 1);
  EXPECT_TRUE(stacked - Value(4, 2) == 28 || stacked - Value(4, 2) == 29);
}

TEST(MeleeGrid, AGivenTargetEndsBeforeTheWalkIsCosted) {
  turnsfixture::NewBattle({"..........", "..........", ".........."});
  turnsfixture::AddFighter(kMe, 2, 0, 1);
  turnsfixture::AddFighter(kFoe, 1, 8, 1);
  turnsfixture::StartTurn(kMe);
  BuildMeleeValuationGrid(kMe, kFoe, 0, 0, 1);
  EXPECT_EQ(Value(2, 1), kUnfit) << "more than three squares from the target";
  EXPECT_EQ(Value(7, 1), Recomputed({kFoe}, 50 + 60)) << "no walk cost taken off";
  EXPECT_EQ(Value(6, 1), 60) << "near the target but touching no enemy";
}

TEST(MeleeTarget, OneAdjacentEnemyIsTakenUnscoredAndTiesGoToTheFirstListed) {
  turnsfixture::NewBattle({".....", ".....", "....."});
  turnsfixture::AddFighter(kMe, 2, 2, 1);
  turnsfixture::AddFighter(kFoe, 1, 3, 1);
  turnsfixture::StartTurn(kMe);
  EXPECT_EQ(ChooseMeleeTarget(kMe, 0), kFoe);
  Creatures[kFoe].conditions[0] = {kCondSummonedCreature, 10, 0, 0, 0};  // scores low, still the only one
  EXPECT_EQ(ChooseMeleeTarget(kMe, 0), kFoe);
  Creatures[kFoe].conditions[0] = {};
  turnsfixture::AddFighter(kFoe2, 1, 1, 1);
  turnsfixture::StartTurn(kMe);
  EXPECT_EQ(ChooseMeleeTarget(kMe, 0), kFoe) << "equal scores: the first in turn order";
  Creatures[kFoe2].creatureClass = 5;
  EXPECT_EQ(ChooseMeleeTarget(kMe, 0), kFoe2);
}

TEST(MeleeTarget, AFullAdjacentListCountsAllTwentyNine) {
  // A 7 x 7 creature has a ring of 32 squares; 29 enemies fill the list.
  std::vector<std::string> rows(12, std::string(12, '.'));
  turnsfixture::NewBattle(rows);
  turnsfixture::AddFighter(kMe, 2, 2, 2, 7);
  int id = 110;
  for (int x = 1; x <= 9 && id < 140; ++x)
    for (int y = 1; y <= 9 && id < 140; ++y)
      if (x == 1 || x == 9 || y == 1 || y == 9) turnsfixture::AddFighter(id++, 1, x, y);
  turnsfixture::StartTurn(kMe);
  ASSERT_TRUE(ListAdjacentEnemies(kMe, 0));
  EXPECT_EQ(CountListed(AdjacentCreatureList, kAdjacentListSize), 29);
  Creatures[125].creatureClass = 4;
  EXPECT_EQ(ChooseMeleeTarget(kMe, 0), 125);
}

TEST(MeleeGrid, WeakTermGuardsAMaximumOfNoHitPoints) {
  turnsfixture::NewBattle({".....", ".....", "....."});
  turnsfixture::AddFighter(kMe, 2, 0, 1);
  turnsfixture::AddFighter(kFoe, 1, 3, 1);
  Creatures[kFoe].maxHitPoints = 0;
  Creatures[kFoe].hitPoints = -3;
  Creatures[kMe].maxHitPoints = 0;  // the retreat weighting divides by it too
  turnsfixture::StartTurn(kMe);
  BuildMeleeValuationGrid(kMe, -1, 0, 0, 1);
  EXPECT_GT(Value(2, 1), 50);
}

}  // namespace
