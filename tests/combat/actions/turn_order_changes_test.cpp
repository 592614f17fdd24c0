#include "combat/actions/turn_order_changes.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "frontend/game_reset.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "state/combat_action.h"
#include "state/turn_order.h"

namespace {

class TurnOrderChanges : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    InCombat = 1;
  }
  // An order of creatures 10, 11, 12, ... with the given one acting.
  static void Order(std::initializer_list<int> ids, int acting) {
    TurnEntryCount = 0;
    for (int id : ids) {
      TurnOrder[TurnEntryCount].creature = id;
      Creatures[id].footprintWidth = Creatures[id].footprintHeight = {1, 1};
      ++TurnEntryCount;
    }
    for (int i = 0; i < TurnEntryCount; ++i)
      if (TurnOrder[i].creature == acting) CurrentTurnIndex = i;
  }
  static std::vector<int> Ids() {
    std::vector<int> v;
    for (int i = 0; i < TurnEntryCount; ++i) v.push_back(TurnOrder[i].creature);
    return v;
  }
};

TEST_F(TurnOrderChanges, RemovalKeepsTheActingFighterOrStepsBackForTheNext) {
  Order({10, 11, 12, 13}, 12);
  EXPECT_FALSE(RemoveTurnEntry(10));  // before the acting one
  EXPECT_EQ(Ids(), (std::vector<int>{11, 12, 13}));
  EXPECT_EQ(CurrentFighter(), 12);
  EXPECT_TRUE(RemoveTurnEntry(12));  // the acting one: the next step reaches 13
  EXPECT_EQ(CurrentTurnIndex + 1, 1);
  EXPECT_EQ(TurnOrder[CurrentTurnIndex + 1].creature, 13);
  EXPECT_FALSE(RemoveTurnEntry(99));  // no entry: nothing changes
  EXPECT_EQ(TurnEntryCount, 2);
}

TEST_F(TurnOrderChanges, MovingAnEntryKeepsTheActingFighterActing) {
  Order({10, 11, 12, 13}, 11);
  MoveTurnBefore(12, 13, 11);  // already directly before
  EXPECT_EQ(Ids(), (std::vector<int>{10, 11, 12, 13}));
  MoveTurnBefore(11, 13, 11);  // the acting one behind its own place
  EXPECT_EQ(Ids(), (std::vector<int>{10, 12, 11, 13}));
  EXPECT_EQ(CurrentFighter(), 11);
  // A readier moved from behind the acting fighter to just before another
  // creature: the one acting stays the one acting, whatever the caller named.
  MoveTurnBefore(13, 10, 13);
  EXPECT_EQ(Ids(), (std::vector<int>{13, 10, 12, 11}));
  EXPECT_EQ(CurrentFighter(), 11);
}

TEST_F(TurnOrderChanges, InsertionsFollowTheCasterAndNeverOverfillTheOrder) {
  Order({10, 11, 12}, 11);
  SpellCaster = 10;  // a caster before the acting fighter
  ASSERT_TRUE(InsertCombatantAfterCurrent(20, 1));
  EXPECT_EQ(Ids(), (std::vector<int>{10, 20, 11, 12}));
  EXPECT_EQ(CurrentFighter(), 11);
  EXPECT_EQ(TurnOrder[1].joinedThisRound, 1);
  EXPECT_EQ(Creatures[20].present, 1);
  SpellCaster = 12;  // the last entry: appended at the end
  InsertCombatantAfterCurrent(21, 1);
  EXPECT_EQ(TurnOrder[TurnEntryCount - 1].creature, 21);
  ASSERT_TRUE(AppendCombatant(22, 12));
  EXPECT_EQ(Creatures[22].squareX, Creatures[12].squareX);
  EXPECT_EQ(TurnOrder[TurnEntryCount - 1].joinedThisRound, 1);

  TurnEntryCount = kTurnOrderEntries;
  EXPECT_FALSE(AppendCombatant(23, 12));
  EXPECT_FALSE(InsertCombatantAfterCurrent(24, 1));
  EXPECT_EQ(TurnEntryCount, kTurnOrderEntries);
  EXPECT_EQ(Creatures[24].present, 0);
}

TEST_F(TurnOrderChanges, ASpentTurnEndsUnlessAFullAttackHasAFoeInReach) {
  Order({10, 11}, 10);
  CombatState = kStateComputerDecision;
  CombatActionState& a = CombatAction;
  a.movementClosed = 1;  // nothing left but the open full attack
  a.attackSequenceOpen = 1;
  EXPECT_EQ(EndTurnIfSpent(1, 0), 0);  // a foe next to it: the turn waits
  EXPECT_EQ(CombatState, kStateComputerDecision);
  EXPECT_EQ(EndTurnIfSpent(0, 0), 1);
  EXPECT_EQ(CombatState, kStateNextFighter);

  CombatState = kStatePlayerTurn;
  a = CombatActionState{};
  a.currentEntry = 0;
  a.moveActionLeft = a.fullRoundActionLeft = 1;  // a grappler with its standard action spent
  EXPECT_EQ(EndTurnIfSpent(0, 1), 1);
  a.actionCode = 2;  // an action under way is never cut short
  CombatState = kStatePlayerTurn;
  EXPECT_EQ(EndTurnIfSpent(0, 1), 0);
}

}  // namespace
