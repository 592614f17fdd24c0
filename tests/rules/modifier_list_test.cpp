#include <gtest/gtest.h>

#include "rules/modifier_list.h"

namespace {

TEST(ModifierListTest, TwentyFirstContributionStaysInTheTotalOnly) {
  ModifierList list;
  InitModifierList(&list);
  for (int i = 0; i < 20; ++i) EXPECT_TRUE(AddModifier(1, &list, 171 + i));
  EXPECT_FALSE(AddModifier(1, &list, 200));
  EXPECT_EQ(list.total, 21);
  EXPECT_EQ(list.pairs[19].source, 190);
  // Removing after the overflow takes off only the stored value.
  EXPECT_TRUE(RemoveModifier(&list, 171, 0));
  EXPECT_EQ(list.total, 20);
  EXPECT_EQ(list.pairs[0].source, 172);
  EXPECT_EQ(list.pairs[19].source, 0);
}

TEST(ModifierListTest, ZeroValuesAndEmptyPairs) {
  ModifierList list;
  InitModifierList(&list);
  EXPECT_EQ(list.helpTopic, -1);
  EXPECT_TRUE(AddModifier(0, &list, 5));
  EXPECT_TRUE(AddModifier(0, &list, 0));  // reads as empty: the next add lands there
  EXPECT_TRUE(AddModifier(3, &list, 6));
  EXPECT_EQ(list.pairs[0].source, 5);
  EXPECT_EQ(list.pairs[1].source, 6);
  EXPECT_EQ(list.pairs[1].value, 3);
  EXPECT_FALSE(RemoveModifier(&list, 99, 1));
  EXPECT_EQ(list.total, 3);
}

TEST(ModifierListTest, RemovingASourceThatStandsTwice) {
  for (uint8_t all : {0, 1}) {
    ModifierList list;
    InitModifierList(&list);
    AddModifier(2, &list, 7);
    AddModifier(4, &list, 8);
    AddModifier(5, &list, 7);
    EXPECT_TRUE(RemoveModifier(&list, 7, all));
    if (all) {
      EXPECT_EQ(list.total, 4);
      EXPECT_EQ(list.pairs[0].source, 8);
      EXPECT_EQ(list.pairs[1].source, 0);
    } else {
      EXPECT_EQ(list.total, 9);
      EXPECT_EQ(list.pairs[1].source, 7);
    }
  }
}

TEST(ModifierListTest, RemovalFromTheLastPair) {
  ModifierList list;
  InitModifierList(&list);
  for (int i = 0; i < 20; ++i) AddModifier(1, &list, i == 19 ? 300 : 200);
  EXPECT_TRUE(RemoveModifier(&list, 300, 1));
  EXPECT_EQ(list.pairs[19].source, 0);
  EXPECT_EQ(list.total, 19);
}

// The log as the program starts, taken before main(): the tests run earlier
// in the same process add rolls to it.
const int32_t kRollsAtStart = CombatRollCount, kLastTopicAtStart = CombatRollLog[98].helpTopic,
              kFirstTotalAtStart = CombatRollLog[0].total;

TEST(ModifierListTest, CombatRollLogStartsEmpty) {
  EXPECT_EQ(kRollsAtStart, 0);
  EXPECT_EQ(kLastTopicAtStart, -1);
  EXPECT_EQ(kFirstTotalAtStart, 0);
  ValuePair pair{5, 6};
  InitValuePair(&pair);
  EXPECT_EQ(pair.first, 0);
  EXPECT_EQ(pair.second, 0);
}

}  // namespace
