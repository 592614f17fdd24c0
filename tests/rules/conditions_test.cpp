#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "frontend/game_reset.h"
#include "state/turn_order.h"
#include "engine/message_log.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"

namespace {

constexpr int kCreature = 7;

ConditionEntry* List() { return Creatures[kCreature].conditions; }

void Fill(int index, uint32_t id, int32_t duration, uint32_t source = 0, int32_t value = 0) {
  List()[index] = ConditionEntry{id, duration, source, 0, value};
}

int CountId(uint32_t id) {
  int n = 0;
  for (int i = 0; i < kConditionSlots; ++i)
    if (List()[i].id == id) ++n;
  return n;
}

class ConditionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    std::strcpy(Creatures[kCreature].name, "Orc");
  }
};

TEST_F(ConditionsTest, AbilityDamageMergesOnlyWithTheSameSource) {
  struct Case {
    uint32_t secondSource;
    int entries;
    int32_t firstValue;
  } cases[] = {{18, 1, 4}, {19, 2, 2}};
  for (const Case& c : cases) {
    SetUp();
    ASSERT_TRUE(AddCondition(kCreature, kCondDamagedStrength, kDurationUntilRest, 2, kSourceSpell, 0));
    ASSERT_TRUE(AddCondition(kCreature, kCondDamagedStrength, kDurationUntilRest, 2, c.secondSource, 0));
    EXPECT_EQ(CountId(61), c.entries);
    EXPECT_EQ(List()[0].value, c.firstValue);
  }
}

// Which repeated adds of damage, drain and level drain merge into one entry
// and which take slots of their own.
TEST_F(ConditionsTest, DrainAndDamageStackOnlyAtTheirLastingDuration) {
  struct Case {
    uint32_t id;
    int32_t duration;
    int entries;
    int32_t firstValue;
  } cases[] = {
      {66, 1000, 1, 5},   // ability drain until removed: merged
      {66, 2000, 2, 2},   // ability drain of another duration: a slot of its own
      {72, 1000, 1, 5},
      {71, 2000, 1, 5},   // ability damage until rest: merged
      {61, 7, 2, 2},      // ability damage counting down: a slot of its own
      {108, 1000, 1, 5},  // level drain at either lasting duration: merged
      {108, 2000, 1, 5},
      {108, 4, 2, 2},
  };
  for (const Case& c : cases) {
    SetUp();
    ASSERT_TRUE(AddCondition(kCreature, c.id, c.duration, 2, 20, 0));
    ASSERT_TRUE(AddCondition(kCreature, c.id, c.duration, 3, 20, 0));
    EXPECT_EQ(CountId(c.id), c.entries) << c.id << " " << c.duration;
    EXPECT_EQ(List()[0].value, c.firstValue) << c.id << " " << c.duration;
    EXPECT_EQ(CountFreeConditionSlots(kCreature), kConditionSlots - c.entries);
  }
}

TEST_F(ConditionsTest, RemovalByIdAndSourceLeavesOtherSources) {
  Fill(0, 35, 1000, 3, 10);
  Fill(1, 35, 1000, 9, 20);
  Fill(2, 88, 4, 3);
  EXPECT_EQ(RemoveConditionIdFromSource(kCreature, kCondFireResistance, 3), 1);
  EXPECT_EQ(ConditionValue(kCreature, kCondFireResistance), 20);
  EXPECT_EQ(FindCondition(kCreature, kCondBlinded), 1);
  EXPECT_EQ(RemoveConditionIdFromSource(kCreature, kCondFireResistance, 3), 0);
  EXPECT_EQ(RemoveCondition(kCreature, kCondFireResistance), 1);
  EXPECT_EQ(FindCondition(kCreature, kCondBlinded), 0);
}

// Removing an id the list does not hold still closes a hole left before an
// entry in use; an entry of id 0 that still counts down is not a hole.
TEST_F(ConditionsTest, RemovingAnAbsentIdStillClosesTheList) {
  Fill(1, 88, 4, 3);
  EXPECT_EQ(RemoveCondition(kCreature, kCondFireResistance), 0);
  EXPECT_EQ(FindCondition(kCreature, kCondBlinded), 0);
  SetUp();
  Fill(0, 0, 5);
  Fill(2, 88, 4, 3);
  EXPECT_EQ(RemoveCondition(kCreature, kCondFireResistance), 0);
  EXPECT_EQ(List()[0].duration, 5);
  EXPECT_EQ(List()[1].id, 88u);
}

// Removing several ids at once does what removing each in turn does: in a
// closed-up list, in one with a hole, and with an id held twice.
TEST_F(ConditionsTest, RemovingSeveralIdsIsRemovingEachInTurn) {
  const uint32_t ids[] = {kCondFireResistance, kCondBlinded, 12};
  auto fill = [](bool holed) {
    Fill(0, 40, 1000);
    Fill(holed ? 2 : 1, 88, 4, 3);
    Fill(holed ? 3 : 2, 88, 6, 3);
    Fill(holed ? 4 : 3, 41, 1000);
  };
  for (bool holed : {false, true}) {
    SetUp();
    fill(holed);
    for (uint32_t id : ids) RemoveCondition(kCreature, id);
    std::vector<ConditionEntry> each(List(), List() + kConditionSlots);
    SetUp();
    fill(holed);
    EXPECT_EQ(RemoveConditions(kCreature, ids), 2) << holed;
    EXPECT_EQ(0, std::memcmp(each.data(), List(), sizeof(ConditionEntry) * kConditionSlots)) << holed;
    EXPECT_EQ(List()[1].id, 41u) << holed;
  }
  SetUp();
  Fill(0, 40, 1000);
  EXPECT_EQ(RemoveConditions(kCreature, ids), 0);
  EXPECT_EQ(List()[0].id, 40u);
}

TEST_F(ConditionsTest, IncapacitatingConditionCancelsTheReadiedActionFirst) {
  InCombat = 1;
  TurnEntryCount = 1;
  TurnOrder[0] = TurnOrderEntry{};
  TurnOrder[0].creature = kCreature;
  TurnOrder[0].plannedAction = 21;
  TurnOrder[0].plannedTarget = 2;
  TurnOrder[0].triggerCreature = 5;
  ASSERT_TRUE(AddCondition(kCreature, kCondStunned, 2, 0, kSourceSpell, 0));
  EXPECT_EQ(TurnOrder[0].plannedAction, 0);
  EXPECT_EQ(TurnOrder[0].plannedTarget, 0);
  EXPECT_EQ(TurnOrder[0].triggerCreature, -1);
}

TEST_F(ConditionsTest, NewConditionReplacesTheOldOneWhateverItsSource) {
  ASSERT_TRUE(AddCondition(kCreature, kCondBlinded, 5, 1, kSourceSpell, 0));
  ASSERT_TRUE(AddCondition(kCreature, kCondBlinded, 9, 2, 4, 0));
  EXPECT_EQ(CountId(kCondBlinded), 1);
  EXPECT_EQ(List()[0].duration, 9);
  EXPECT_EQ(List()[0].source, 4u);
}

TEST_F(ConditionsTest, DisplacementWhenTheListIsFull) {
  for (int i = 0; i < kConditionSlots; ++i) Fill(i, 2 + i % 50, 1000, 1);
  EXPECT_FALSE(AddCondition(kCreature, kCondBlinded, 3, 0, kSourceSpell, 0));

  SetUp();
  for (int i = 0; i < kConditionSlots; ++i) Fill(i, 2 + i, 1000, 1);
  Fill(20, 150, 5);
  ASSERT_TRUE(AddCondition(kCreature, kCondBlinded, 3, 0, kSourceSpell, 0));
  EXPECT_EQ(FindCondition(kCreature, kCondIceShielded), -1);
  EXPECT_GE(FindCondition(kCreature, kCondBlinded), 0);

  SetUp();
  for (int i = 0; i < kConditionSlots; ++i) Fill(i, 2 + i, 1000, 1);
  Fill(10, 140, 3);
  Fill(30, 141, 3);
  EXPECT_EQ(PickConditionToReplace(kCreature), 10);
  ASSERT_TRUE(AddCondition(kCreature, kCondBlinded, 3, 0, kSourceSpell, 0));
  EXPECT_EQ(FindCondition(kCreature, 140), -1);
  EXPECT_GE(FindCondition(kCreature, 141), 0);
}

TEST_F(ConditionsTest, UntilRestEntriesGoLastAndLastingOnesNever) {
  for (int i = 0; i < kConditionSlots; ++i) Fill(i, 2 + i, 1000, 1);
  Fill(4, 60, 2000);
  Fill(9, 61, 2000);
  EXPECT_EQ(PickConditionToReplace(kCreature), 9);
  Fill(4, 60, 999);
  Fill(9, 61, 3000);
  EXPECT_EQ(PickConditionToReplace(kCreature), -1);
  EXPECT_EQ(FreeConditionSlot(kCreature), kNoFreeConditionSlot);
}

TEST_F(ConditionsTest, SummonedCreatureIsFoundAtAnyDurationAndSurvivesThePurge) {
  Fill(0, kCondSummonedCreature, 0);
  Fill(1, 88, 4);
  EXPECT_EQ(FindCondition(kCreature, kCondSummonedCreature), 0);
  EXPECT_EQ(PurgeExpiredConditions(kCreature), 0);
  EXPECT_EQ(FindCondition(kCreature, kCondSummonedCreature), 0);
}

TEST_F(ConditionsTest, PurgeLeavesNoHoleInFrontOfLaterConditions) {
  Fill(0, 82, 0);   // expired
  Fill(1, 101, -3); // expired
  Fill(2, 88, 4);
  Fill(3, 13, 2000, 18, 4);
  EXPECT_EQ(PurgeExpiredConditions(kCreature), 1);
  EXPECT_EQ(FindCondition(kCreature, kCondBlinded), 0);
  EXPECT_EQ(FindCondition(kCreature, kCondMageArmor), 1);
  EXPECT_EQ(FindAnyCondition(kCreature, kCondMageArmor, 99), 1);
  EXPECT_EQ(CountFreeConditionSlots(kCreature), 48);
}

TEST_F(ConditionsTest, RemovalBySourceKeepsTheRestContiguousAndInOrder) {
  Fill(0, 88, 4, 7);
  Fill(1, 87, 4, 18);
  Fill(2, 86, 4, 18);
  Fill(3, 85, 4, 7);
  Fill(4, 84, 4, 9);
  EXPECT_EQ(RemoveConditionBySource(kCreature, 18), 1);
  const uint32_t expected[] = {88, 85, 84, 0, 0};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(List()[i].id, expected[i]) << i;
  EXPECT_EQ(RemoveConditionBySource(kCreature, 18), 0);
}

TEST_F(ConditionsTest, FindAnyStopsAtTheFirstMinusOneFromTheThirdId) {
  Fill(0, 88, 4);
  Fill(1, 90, 4);
  EXPECT_EQ(FindAnyCondition(kCreature, 1, 2, 90), 1);
  EXPECT_EQ(FindAnyCondition(kCreature, 1, 2, -1, 90), -1);
  EXPECT_EQ(FindAnyCondition(kCreature, -1, 88), 0);
  EXPECT_EQ(FindAnyCondition(-1, kCondBlinded, 90), -1);
  EXPECT_EQ(FindCondition(-1, kCondBlinded), -1);
}

TEST_F(ConditionsTest, RemovalOfASpellEffectInCombatIsLogged) {
  InCombat = 1;
  Creatures[kCreature].present = 1;
  Creatures[kCreature].hitPoints = 5;
  MessageLogText[0] = 0;
  Fill(0, 151, 3, 18);
  Fill(1, 152, 3, 4);
  EXPECT_EQ(RemoveCondition(kCreature, kCondHasted), 1);
  EXPECT_EQ(RemoveCondition(kCreature, kCondSlowed), 1);
  EXPECT_STREQ(MessageLogText, "\xA3Orc\xA3 loses effect: \xA3Hasted\xA3.\r");
}

TEST_F(ConditionsTest, NameTableIsBoundChecked) {
  EXPECT_STREQ(ConditionName(171), "D20_Roll");
  EXPECT_STREQ(ConditionName(508), "Serious_Weakness:_Drain");
  EXPECT_STREQ(ConditionName(600), "Reverse_Effect:_Flanking");
  EXPECT_STREQ(ConditionName(683), "Half_Of_Caster_Level");
  EXPECT_STREQ(ConditionName(684), "None");
  EXPECT_STREQ(ConditionName(0xFFFFFFFFu), "None");
}

}  // namespace
