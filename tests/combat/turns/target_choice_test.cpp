// Choosing among listed targets, charging, leaving a magic area, and the
// adjacency and threat queries the choices stand on.
#include "combat/turns/target_choice.h"

#include <gtest/gtest.h>

#include "combat/turns/best_square.h"
#include "combat/turns/turns_fixture.h"
#include "rules/adjacency.h"
#include "rules/conditions.h"

namespace {

using turnsfixture::Value;
constexpr int kMe = 100, kFoe = 101, kFoe2 = 102;

TEST(MagicAreaExit, TheNearestClearSquareFirstEastAndNoFartherThanSix) {
  turnsfixture::NewBattle(std::vector<std::string>(20, std::string(20, '.')));
  turnsfixture::AddFighter(kMe, 2, 10, 10);
  turnsfixture::StartTurn(kMe, 60);
  MagicAreaGrid[SquareIndex(10, 10)] = {kEffectWeb, 3, 0};
  EXPECT_EQ(IsInAnyMagicArea(kMe), 1);
  int64_t exit = FindMagicAreaExit(kMe);
  EXPECT_EQ(SquareXOf(exit), 11);
  EXPECT_EQ(SquareYOf(exit), 10) << "(x + 1, y) is tried first";
  // The whole first ring under the web: ring 2 begins at (x + 2, y + 1).
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy) MagicAreaGrid[SquareIndex(10 + dx, 10 + dy)] = {kEffectWeb, 3, 0};
  exit = FindMagicAreaExit(kMe);
  EXPECT_EQ(SquareXOf(exit), 12);
  EXPECT_EQ(SquareYOf(exit), 11);
  // Covered out to seven squares: no exit is looked for beyond six.
  for (int x = 3; x <= 17; ++x)
    for (int y = 3; y <= 17; ++y) MagicAreaGrid[SquareIndex(x, y)] = {kEffectSilence, 3, 0};
  EXPECT_EQ(FindMagicAreaExit(kMe), kNoSquare);
}

void List(const std::vector<int>& ids) {
  std::fill(std::begin(TargetCandidateList), std::end(TargetCandidateList), -1);
  for (size_t i = 0; i < ids.size(); ++i) TargetCandidateList[i] = ids[i];
}

TEST(TargetChoice, ListsLongerThanTwentyNineAreReadToTheirEnd) {
  turnsfixture::NewBattle({"."});
  std::vector<int> ids;
  for (int i = 0; i < 35; ++i) {
    std::memset(&Creatures[200 + i], 0, sizeof(CreatureRecord));
    Creatures[200 + i].creatureClass = 1;
    ids.push_back(200 + i);
  }
  Creatures[233].creatureClass = 5;
  List(ids);
  // Only the lich past entry 29 is an arcane caster: the draw is among casters only.
  for (int k = 0; k < 5; ++k) EXPECT_EQ(ChooseRandomCasterTarget(), 233);
  Creatures[233].creatureClass = 3;  // a cleric is no arcane caster
  const int drawn = ChooseRandomCasterTarget();
  EXPECT_GE(drawn, 200);
  EXPECT_LT(drawn, 235);
  Creatures[231].conditions[0] = {kCondSummonedCreature, 5, 0, 0, 0};
  for (int i = 0; i < 35; ++i) Creatures[200 + i].conditions[0] = {kCondSummonedCreature, 5, 0, 0, 0};
  Creatures[234].conditions[0] = {};
  EXPECT_EQ(ChooseReadiedTarget(), 234) << "the only free one, found past entry 29";
}

TEST(TargetChoice, OneCandidateIsTakenUnscoredAndZeroScoresAreNeverChosen) {
  turnsfixture::NewBattle({"..........", "..........", ".........."});
  turnsfixture::AddFighter(kMe, 2, 0, 1);
  turnsfixture::AddFighter(kFoe, 1, 6, 1);
  turnsfixture::AddFighter(kFoe2, 1, 8, 1);
  turnsfixture::StartTurn(kMe);
  for (int e : {kFoe, kFoe2}) {
    Creatures[e].conditions[0] = {kCondSummonedCreature, 5, 0, 0, 0};
    Creatures[e].conditions[1] = {kCondParalyzed, 5, 0, 0, 0};
  }
  List({kFoe});
  EXPECT_EQ(ChooseRangedTarget(kMe), kFoe);
  EXPECT_EQ(ChooseReadiedTarget(), kFoe);
  // Both readied against, summoned, disabled and hard to hit: nothing scores.
  TurnOrder[0].plannedAction = 22;
  TurnOrder[0].plannedTarget = kFoe;
  TurnOrder[1].plannedAction = 23;
  TurnOrder[1].plannedTarget = kFoe2;
  Creatures[kFoe].protections[kProtNaturalArmour] = {60, 60};
  Creatures[kFoe2].protections[kProtNaturalArmour] = {50, 50};
  List({kFoe, kFoe2});
  EXPECT_EQ(ChooseReadiedTarget(), -1);
  // kFoe scores 0; kFoe2 only the 1 of the lowest armour class.
  EXPECT_EQ(ChooseRangedTarget(kMe), kFoe2);
  Creatures[kFoe2].protections[kProtNaturalArmour] = {70, 70};
  EXPECT_EQ(ChooseRangedTarget(kMe), kFoe) << "now the 1 is kFoe's";
}

TEST(Charge, OnlyAlongAClearStraightLineAndOnlyBeforeMoving) {
  turnsfixture::NewBattle({
      "............",
      "............",
      "....#.......",
      "............",
  });
  turnsfixture::AddFighter(kMe, 2, 0, 1);
  turnsfixture::AddFighter(kFoe, 1, 8, 1);  // clear run along y = 1
  turnsfixture::AddFighter(kFoe2, 1, 8, 2);  // the line to it passes the wall at (4, 2)? no: it runs beside it
  turnsfixture::StartTurn(kMe, 60);
  const int n = ListChargeableEnemies(kMe);
  ASSERT_GE(n, 1);
  EXPECT_EQ(TargetCandidateList[0], kFoe);
  EXPECT_EQ(ChargeSquares[0].x, 7) << "the charge strikes from the square before the target";
  EXPECT_EQ(ChargeSquares[0].y, 1);
  // A wall across the run.
  CurrentMap.At(kLayerWalls, 4, 1) = 46;
  turnsfixture::StartTurn(kMe, 60);
  for (int i = 0; i < ListChargeableEnemies(kMe); ++i) EXPECT_NE(TargetCandidateList[i], kFoe);
  CurrentMap.At(kLayerWalls, 4, 1) = 0;
  turnsfixture::StartTurn(kMe, 60);
  CombatAction.fiveFootStepLeft = 0;  // it has moved
  EXPECT_EQ(ListChargeableEnemies(kMe), 0);
  CombatAction.fiveFootStepLeft = 1;
  ListChargeableEnemies(kMe);
  if (TargetCandidateList[1] == -1) {
    EXPECT_EQ(ChooseChargeTarget(kMe), 0) << "a single candidate: index 0";
  }
}

TEST(AdjacencyQueries, RingKeysRunClockwiseFromTheUpperLeft) {
  turnsfixture::NewBattle({".....", ".....", "....."});
  turnsfixture::AddFighter(kMe, 2, 2, 1);
  MarkAdjacentSquares(kMe);
  NumberAdjacentRing();
  EXPECT_EQ(AdjacencyGrid[SquareIndex(1, 0)], 10);
  EXPECT_EQ(AdjacencyGrid[SquareIndex(2, 0)], 20);
  EXPECT_EQ(AdjacencyGrid[SquareIndex(3, 0)], 30);
  EXPECT_EQ(AdjacencyGrid[SquareIndex(3, 1)], 40);
  EXPECT_EQ(AdjacencyGrid[SquareIndex(3, 2)], 50);
  EXPECT_EQ(AdjacencyGrid[SquareIndex(2, 2)], 60);
  EXPECT_EQ(AdjacencyGrid[SquareIndex(1, 2)], 70);
  EXPECT_EQ(AdjacencyGrid[SquareIndex(1, 1)], 80);
  MarkAdjacentAndSecondRing(kMe);
  EXPECT_EQ(AdjacencyGrid[SquareIndex(2, 1)], 9) << "the own square";
  EXPECT_EQ(AdjacencyGrid[SquareIndex(0, 1)], 9);
  EXPECT_EQ(AdjacencyGrid[SquareIndex(4, 2)], 9);
  EXPECT_EQ(AdjacencyGrid[SquareIndex(1, 1)], kRingLeft);
}

TEST(AdjacencyQueries, ThreatMarksCountEachEnemyOnceAndInvisibleMoversAreSeenOnlyBySense) {
  turnsfixture::NewBattle({".....", ".....", "....."});
  turnsfixture::AddFighter(kMe, 2, 2, 1);
  turnsfixture::AddFighter(kFoe, 1, 1, 0);
  turnsfixture::StartTurn(kMe);
  EXPECT_TRUE(ProvokesAttackOfOpportunity(kMe, 2, 1, 1));
  EXPECT_FALSE(ProvokesAttackOfOpportunity(kMe, 2, 1, 0)) << "already marked";
  EXPECT_TRUE(ProvokesAttackOfOpportunity(kMe, 2, 1, 1)) << "marks reset from the second mark";
  EXPECT_EQ(FindThreateningEnemy(kMe, 2, 1), kFoe);
  EXPECT_EQ(FindThreateningEnemy(kMe, 2, 1), -1);
  TurnOrder[1].opportunityMark = 0;
  Creatures[kMe].conditions[0] = {kCondInvisible, 5, 0, 0, 0};
  EXPECT_FALSE(ProvokesAttackOfOpportunity(kMe, 2, 1, 1));
  Creatures[kFoe].special[kSenseKindWord] = 6;
  EXPECT_TRUE(ProvokesAttackOfOpportunity(kMe, 2, 1, 1));
}

}  // namespace
