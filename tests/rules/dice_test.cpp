// The dice routine: each die entered under its own source, the lowest die
// dropped even when it is the only one, and the totals the roll returns.
#include <gtest/gtest.h>

#include <map>

#include "engine/random.h"
#include "rules/breakdown_sources.h"
#include "rules/dice.h"
#include "rules/modifier_list.h"

namespace {

// The entries of a list, counted by source.
std::map<int32_t, int> Sources(const ModifierList& list) {
  std::map<int32_t, int> counts;
  for (const ModifierPair& p : list.pairs)
    if (p.source != 0 || p.value != 0) ++counts[p.source];
  return counts;
}

TEST(Dice, EachDieIsEnteredUnderTheSourceOfItsSides) {
  SeedRandomForTests(11);
  const std::map<int, int32_t> expected = {{2, 667}, {3, 668}, {4, 669}, {6, 601}, {8, 670},
                                           {10, 671}, {20, 171}, {12, 649}, {100, 649}};
  for (const auto& [sides, source] : expected) {
    ModifierList list{};
    const int total = RollDice(sides, 2, 0, 0, &list);
    EXPECT_EQ(Sources(list), (std::map<int32_t, int>{{source, 2}})) << "d" << sides;
    EXPECT_EQ(list.total, total) << "d" << sides;
    EXPECT_GE(total, 2);
    EXPECT_LE(total, 2 * sides);
  }
}

TEST(Dice, TheLowestDieIsDroppedAndRecordedNegated) {
  SeedRandomForTests(5);
  for (int k = 0; k < 50; ++k) {
    ModifierList list{};
    const int total = RollDice(6, 4, 1, 0, &list);
    EXPECT_EQ(Sources(list), (std::map<int32_t, int>{{kSrcD6Roll, 4}, {kSrcLowestOmitted, 1}}));
    EXPECT_EQ(list.total, total);
    EXPECT_GE(total, 3);
    EXPECT_LE(total, 18);
  }
  // A single die is the lowest: nothing counts.
  ModifierList one{};
  EXPECT_EQ(RollDice(6, 1, 1, 0, &one), 0);
  EXPECT_EQ(one.total, 0);
  EXPECT_EQ(RollDice(6, 4, 1, 1, nullptr), 18);
  EXPECT_EQ(RollDice(8, 3, 0, 1, nullptr), 24);
}

TEST(Dice, RollsWithoutDiceRecordNothingAndHugeOnesStayInTheirWord) {
  ModifierList list{};
  EXPECT_EQ(RollDice(0, 3, 0, 0, &list), 0);
  EXPECT_EQ(RollDice(6, 0, 0, 0, &list), 0);
  EXPECT_EQ(RollDice(-4, -1, 1, 1, &list), 0);
  EXPECT_TRUE(Sources(list).empty());
  // At most 99 dice are kept; their sum never wraps.
  EXPECT_EQ(RollDice(2, 1000, 0, 1, nullptr), 2 * kMostDice);
  EXPECT_EQ(RollDice(INT32_MAX, kMostDice, 0, 1, nullptr), INT32_MAX);
  // The four-argument form records into the shared list.
  DiceRollList = &list;
  RollDice(4, 1, 0, 1);
  DiceRollList = nullptr;
  EXPECT_EQ(list.total, 4);
  EXPECT_EQ(Sources(list), (std::map<int32_t, int>{{kSrcRollOfD4, 1}}));
}

}  // namespace
