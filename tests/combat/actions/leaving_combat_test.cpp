#include "combat/actions/leaving_combat.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "combat/actions/start_of_combat.h"
#include "combat/actions/talker_scripts.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/settings.h"
#include "frontend/game_reset.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "state/combat_action.h"
#include "state/combat_events.h"
#include "state/current_cast.h"
#include "state/turn_order.h"

namespace {

class LeavingCombat : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    OptionWords[kOptionMusicVolume] = 0;
    InCombat = 1;
    const int ids[4] = {0, 1, 10, 11};
    for (int id : ids) {
      CreatureRecord& c = Creatures[id];
      std::snprintf(c.name, sizeof c.name, "Fighter %d", id);
      c.allegiance = id < kPartySize ? kAllegianceParty : kAllegianceEnemy;
      c.present = 1;
      c.level = 1;
      for (StatPair* p : {&c.strength, &c.dexterity, &c.constitution, &c.intelligence, &c.wisdom, &c.charisma})
        *p = {10, 10};
      c.footprintWidth = c.footprintHeight = {1, 1};
      c.baseHitPoints = c.maxHitPoints = c.hitPoints = 10;
      TurnOrder[TurnEntryCount++].creature = id;
    }
    CurrentTurnIndex = 0;
  }
  static int Fall(int creature, int hitPoints) {
    Creatures[creature].hitPoints = hitPoints;
    return RemoveFromCombat(creature, -1);
  }
  static int Count(int creature, uint32_t id) {
    int n = 0;
    for (const ConditionEntry& e : Creatures[creature].conditions) n += e.id == id;
    return n;
  }
  static bool Logged(const char* text) { return std::string(MessageLogText).find(text) != std::string::npos; }
};

TEST_F(LeavingCombat, PartyMembersAreKnockedOutUntilMinusTenAndOthersDieAtZero) {
  EXPECT_EQ(Fall(10, 1), kFallNone);
  EXPECT_EQ(TurnEntryCount, 4);
  EXPECT_EQ(Fall(1, -9), kFallKnockedOut);
  EXPECT_EQ(Count(1, kCondUnconscious), 1);
  EXPECT_TRUE(Logged("\xA3" "Fighter 1\xA3 is knocked out.\r\r"));
  EXPECT_EQ(Fall(0, -10), kFallDied);
  EXPECT_EQ(Count(0, kCondDead), 1);
  EXPECT_EQ(ActorFellDuringReaction, 1);  // the acting fighter fell
  EXPECT_EQ(Fall(10, 0), kFallDied);
  EXPECT_EQ(CombatEvents[1].type, kEventDeath);
  EXPECT_EQ(CombatEvents[1].creature, 10);
  EXPECT_EQ(CombatEvents[1].sound, 11);
  // Handled again: the death line again, no second Dead entry.
  EXPECT_EQ(Fall(10, 0), kFallDied);
  EXPECT_EQ(Count(10, kCondDead), 1);
  EXPECT_EQ(TurnEntryCount, 1);
  EXPECT_EQ(TurnOrder[0].creature, 11);
}

TEST_F(LeavingCombat, AFallWithAFullConditionListStillLeavesTheOrder) {
  for (ConditionEntry& e : Creatures[11].conditions) e = ConditionEntry{kCondShaken, kDurationLasting, kSourceSpell, 0, 0};
  EXPECT_EQ(Fall(11, -3), kFallDied);
  EXPECT_EQ(Count(11, kCondDead), 0);
  EXPECT_EQ(TurnEntryCount, 3);
  EXPECT_TRUE(Logged("\xA3" "Fighter 11\xA3 dies.\r\r"));
}

TEST_F(LeavingCombat, TheEndComesWhenASideIsGoneAndThePartyMustRemain) {
  EXPECT_FALSE(CheckEndOfCombat());
  Fall(10, 0);
  Fall(11, 0);
  ASSERT_TRUE(CheckEndOfCombat());
  EXPECT_EQ(InCombat, 0u);
  EXPECT_EQ(ScreenMode, 8u);
  SetUp();
  Fall(10, 0);  // the last enemy and the last party members fall together
  Fall(11, 0);
  Fall(0, -20);
  Fall(1, -20);
  ASSERT_TRUE(CheckEndOfCombat());
  EXPECT_EQ(ScreenMode, 7u);
}

// The last foe falls to a spell still in use: the use ends with the battle,
// so that no later battle waits on a spell that never finishes.
TEST_F(LeavingCombat, TheEndOfTheBattleEndsASpellInUse) {
  SpellInProgress = 31;
  SpellCaster = 0;
  SpellTarget = 10;
  PendingMetamagic = 2;
  CastingFromItem = CastingWand = 1;
  CastingItem = 7;
  Fall(10, 0);
  Fall(11, 0);
  ASSERT_TRUE(CheckEndOfCombat());
  EXPECT_EQ(SpellInProgress, -1);
  EXPECT_EQ(SpellTarget, -1);
  EXPECT_EQ(PendingMetamagic, 0);
  EXPECT_EQ(CastingFromItem, 0);
  EXPECT_EQ(CastingWand, 0);
  EXPECT_EQ(CastingItem, 0u);
}

TEST_F(LeavingCombat, DismissalSendsAwayTheLastEntryAndAnEmptyOrderIsLeftAlone) {
  ASSERT_TRUE(DismissCombatant());
  EXPECT_EQ(TurnEntryCount, 3);
  EXPECT_EQ(Creatures[11].present, 0);
  EXPECT_EQ(Count(11, kCondDead), 1);
  TurnEntryCount = 0;
  ASSERT_TRUE(DismissCombatant());
  EXPECT_EQ(TurnEntryCount, 0);
}

TEST_F(LeavingCombat, SlainAndFallenLeaders) {
  SlayCreature(10, 11);
  EXPECT_EQ(Creatures[10].hitPoints, 10 - 10000);
  EXPECT_EQ(PlaybackCreature, 10);
  EXPECT_EQ(CombatEvents[0].value, 10000);
  EXPECT_EQ(CombatEvents[1].type, kEventDeath);
  EXPECT_TRUE(Logged("\xA3" "Fighter 10\xA3 loses \xA3" "10000\xA3 @HP@.\r"));

  EXPECT_FALSE(ReplaceFallenLeader());
  Fall(0, -5);
  ASSERT_TRUE(ReplaceFallenLeader());
  EXPECT_STREQ(Creatures[0].name, "Fighter 1");
  EXPECT_EQ(Creatures[0].formationX, 1);
  EXPECT_EQ(Creatures[0].formationWords[kFourthLinkWord], -1);
  EXPECT_EQ(Creatures[3].formationX, 1);
  EXPECT_EQ(Creatures[3].formationY, 1);
}

TEST(EncounterRating, RatingsAddUpByTheirDistanceFromTheRunningRating) {
  ResetGameState();
  auto rate = [](std::initializer_list<int> ratings) {
    CombatParticipantCount = 0;
    int id = 10;
    for (int r : ratings) {
      Creatures[id].challengeRating = r;
      CombatParticipants[CombatParticipantCount++] = id++;
    }
    return EncounterChallengeRating();
  };
  EXPECT_EQ(rate({5, 5, 5, 5}), 9);
  EXPECT_EQ(rate({1, 1, 1, 3, 1, 1, 1, 1, 1, 1, 1}), 6);
  EXPECT_EQ(CombatParticipants[0], 13);  // the highest first
  EXPECT_EQ(rate({10, 3, 9}), 12);        // 10, 9 adds 2, then 3 is too far below
}

}  // namespace
