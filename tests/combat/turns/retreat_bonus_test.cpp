// The retreat weighting of a badly hurt fighter: away from an adjacent enemy
// by its five-foot step, else to the ring of the friendly Cleric it reaches
// most cheaply, else (nauseated) where it stands.
#include <gtest/gtest.h>

#include <cstring>

#include "combat/turns/turns_fixture.h"
#include "rules/conditions.h"

namespace {

using turnsfixture::Value;

constexpr int kHurt = 100;

void OpenBattle() {
  turnsfixture::NewBattle(std::vector<std::string>(12, std::string(12, '.')));
  turnsfixture::AddFighter(kHurt, 2, 2, 2);
}

void Start() {
  turnsfixture::StartTurn(kHurt);
  std::memset(ValuationGrid, 0, sizeof ValuationGrid);
}

TEST(RetreatBonuses, HurtMeansAQuarterOfTheHitPointsOrLessAndNeverForACleric) {
  OpenBattle();
  turnsfixture::AddFighter(101, 2, 9, 9);
  Creatures[101].creatureClass = 3;
  Start();
  Creatures[kHurt].hitPoints = 26;  // 26 of 100: not hurt
  AddRetreatBonuses(kHurt);
  EXPECT_EQ(Value(9, 8), 0);
  Creatures[kHurt].hitPoints = 25;
  AddRetreatBonuses(kHurt);
  EXPECT_EQ(Value(9, 8), 27);
  Creatures[kHurt].creatureClass = 3;
  AddRetreatBonuses(kHurt);
  EXPECT_EQ(Value(9, 8), 27);
}

// The Cleric stands on the goal of the search: the search ends beside it, so
// a reachable Cleric is found, and the cheapest of two wins.
TEST(RetreatBonuses, TheCheapestFriendlyClericDrawsTheFighterToItsRing) {
  OpenBattle();
  turnsfixture::AddFighter(101, 2, 10, 10);
  turnsfixture::AddFighter(102, 2, 6, 2);
  turnsfixture::AddFighter(103, 1, 2, 10);  // an enemy Cleric counts for nothing
  for (int id : {101, 102, 103}) Creatures[id].creatureClass = 3;
  Start();
  Creatures[kHurt].hitPoints = 10;
  ValuationGrid[SquareIndex(5, 3)] = kUnfit;
  AddRetreatBonuses(kHurt);
  EXPECT_EQ(Value(5, 2), 27);
  EXPECT_EQ(Value(7, 1), 27);
  EXPECT_EQ(Value(5, 3), kUnfit);
  EXPECT_EQ(Value(9, 9), 0);
  EXPECT_EQ(Value(3, 9), 0);
  EXPECT_EQ(Value(2, 2), 0);
}

TEST(RetreatBonuses, BesideAnEnemyOnlyTheStepsOutOfItsReachGain) {
  OpenBattle();
  turnsfixture::AddFighter(101, 1, 3, 2);
  turnsfixture::AddFighter(102, 2, 9, 9);
  Creatures[102].creatureClass = 3;
  Start();
  Creatures[kHurt].hitPoints = 5;
  AddRetreatBonuses(kHurt);
  EXPECT_EQ(Value(1, 2), 16);
  EXPECT_EQ(Value(1, 1), 16);
  EXPECT_EQ(Value(2, 1), 0);  // still beside the enemy
  EXPECT_EQ(Value(2, 3), 0);
  EXPECT_EQ(Value(9, 8), 0);  // no Cleric once it stood by an enemy
}

TEST(RetreatBonuses, ANauseatedFighterWithNoClericKeepsItsSquare) {
  OpenBattle();
  Start();
  AddCondition(kHurt, kCondNauseated, 5, 0, 31, 0);
  AddRetreatBonuses(kHurt);
  EXPECT_EQ(Value(2, 2), 19);
}

}  // namespace
