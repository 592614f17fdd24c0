// Withdrawing, whirlwind and ranged positions.
#include "combat/turns/position_grids.h"

#include <gtest/gtest.h>

#include "combat/resolution/attack_resolution.h"
#include "combat/turns/best_square.h"
#include "combat/turns/turns_fixture.h"
#include "rules/conditions.h"
#include "rules/item_tables.h"

namespace {

using turnsfixture::Value;
constexpr int kMe = 100, kFoe = 101, kFoe2 = 102, kAlly = 103;

TEST(WithdrawGrid, AStepAwayFromTwoEnemies) {
  turnsfixture::NewBattle({".......", ".......", ".......", "......."});
  turnsfixture::AddFighter(kMe, 2, 3, 1);
  turnsfixture::AddFighter(kFoe, 1, 2, 0);
  turnsfixture::AddFighter(kFoe2, 1, 4, 0);
  turnsfixture::StartTurn(kMe);
  BuildWithdrawValuationGrid(kMe, 1);
  // (3, 2) still touches neither; (3, 0) between them touches both; both
  // start at 7 and no walk cost applies to a free step.
  EXPECT_EQ(Value(3, 2), 7 + 1) << "the one best square takes the tie-break";
  EXPECT_LT(Value(2, 1), 0);
  EXPECT_EQ(Value(5, 3), 0) << "beyond the step";
  BuildWithdrawValuationGrid(kMe, 1);
  const int64_t s = ExtractBestSquare(kMe, 0, nullptr);
  EXPECT_EQ(SquareXOf(s), 3);
  EXPECT_EQ(SquareYOf(s), 2) << "withdrawal away from the threatening foes";
  // The neighbour between both enemies: 7 - 2 x 9.
  EXPECT_EQ(Value(3, 0), -11);
}

TEST(WithdrawGrid, OutOfStepModeOnlySleepingAlliesAttract) {
  turnsfixture::NewBattle({".........", ".........", "........."});
  turnsfixture::AddFighter(kMe, 2, 0, 1);
  turnsfixture::AddFighter(kAlly, 2, 6, 1);
  turnsfixture::StartTurn(kMe);
  BuildWithdrawValuationGrid(kMe, 0);
  EXPECT_EQ(ExtractBestSquare(kMe, 0, nullptr), kNoSquare) << "no sleeping ally: nothing is worth walking to";
  Creatures[kAlly].conditions[0] = {kCondParalyzed, 5, 0, 0, 0};
  BuildWithdrawValuationGrid(kMe, 0);
  EXPECT_EQ(Value(5, 1), 0) << "a paralysed ally draws only the whirlwind fighter";
  BuildWhirlwindValuationGrid(kMe, 0);
  EXPECT_GE(Value(5, 1), 21);
  Creatures[kAlly].conditions[0] = {kCondSleeping, 5, 0, 0, 0};
  BuildWithdrawValuationGrid(kMe, 0);
  EXPECT_GE(Value(5, 1), 21);
}

void GiveBow(int id) {
  CraftedWeaponRecord& bow = CraftedWeapons[20];
  std::memset(&bow, 0, sizeof bow);
  std::snprintf(bow.name, sizeof bow.name, "Bow");
  bow.itemType = 32;
  bow.handling = 4;
  bow.proficiency = 1;
  bow.size = 3;
  bow.dieCount = 1;
  bow.dieSides = 6;
  bow.damageKind = 3;
  bow.critLow = 20;
  bow.critMultiplier = 3;
  bow.range = 100;
  Creatures[id].equipment[kSlotRanged - 1] = 20;
}

TEST(RangedGrid, StartingValuesByNearnessToEnemies) {
  turnsfixture::NewBattle({"............", "............", "............", "............", "............"});
  turnsfixture::AddFighter(kMe, 2, 0, 2);
  turnsfixture::AddFighter(kFoe, 1, 6, 2);
  turnsfixture::AddFighter(kFoe2, 1, 8, 2);
  turnsfixture::StartTurn(kMe);
  // No ranged weapon: no target from anywhere, so each square keeps its start.
  BuildRangedValuationGrid(kMe);
  EXPECT_EQ(Value(2, 0), 0);
  EXPECT_EQ(Value(4, 2), -5) << "two squares off one enemy";
  EXPECT_EQ(Value(5, 2), -10) << "beside one enemy";
  EXPECT_EQ(Value(7, 2), -20) << "beside both: skipped";
  GiveBow(kMe);
  BuildRangedValuationGrid(kMe);
  EXPECT_GT(Value(1, 0), 0);
  EXPECT_EQ(Value(7, 2), -20) << "still skipped";
  CraftedWeapons[20] = {};
  Creatures[kMe].equipment[kSlotRanged - 1] = 0;
}

TEST(RangedGrid, AFighterMeaningToDisruptStaysPut) {
  turnsfixture::NewBattle({"............", "............", "............"});
  turnsfixture::AddFighter(kMe, 2, 0, 1);
  turnsfixture::AddFighter(kFoe, 1, 9, 1);
  GiveBow(kMe);
  turnsfixture::StartTurn(kMe);
  DisruptionTarget = kFoe;
  BuildRangedValuationGrid(kMe);
  EXPECT_GT(Value(0, 1), 200);
  EXPECT_GT(Value(1, 1), 200) << "a free step's neighbour gains too";
  EXPECT_GT(Value(0, 1), Value(3, 1) + 150) << "staying is worth far more than walking";
  DisruptionTarget = -1;
  CraftedWeapons[20] = {};
  Creatures[kMe].equipment[kSlotRanged - 1] = 0;
}

}  // namespace
