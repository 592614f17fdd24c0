// Seeded decisions of computer fighters on drawn maps: what each one hands
// to the executor, and the end of its turn when nothing is left to do.
#include "combat/turns/computer_decision.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "combat/turns/combat_cycle.h"
#include "combat/turns/turns_fixture.h"
#include "rules/conditions.h"
#include "rules/item_tables.h"
#include "rules/record_words.h"
#include "state/combat_action.h"
#include "state/current_cast.h"
#include "state/fighter_slots.h"
#include "state/inventory_state.h"

namespace {

constexpr int kMe = 100, kFoe = 101, kFriend = 103;
constexpr uint32_t kBowCode = 21;
constexpr int kArrowRow = 7;

class DecisionTest : public ::testing::Test {
 protected:
  // No bow, casting or playback of a test before (of this suite or another).
  void SetUp() override { TearDown(); }
  void TearDown() override {
    CraftedWeapons[kBowCode] = {};
    ItemTable[kArrowRow] = {};
    ResetComputerDecisionState();
    SpellInProgress = -1;
    MovementPlaybackActive = 0;
  }
  // The acting fighter decides once, on a fresh turn (no move issued yet).
  static void Decide(int creature, int movesLeft = 60) {
    turnsfixture::StartTurn(creature, movesLeft);
    CombatAction.moveActionLeft = 1;
    CombatState = kStateComputerDecision;
    SpellInProgress = -1;
    MovementPlaybackActive = 0;
    ResetComputerDecisionState();
    DecideComputerAction();
  }
  static void GiveBow(int id) {
    CraftedWeaponRecord& bow = CraftedWeapons[kBowCode];
    bow = {};
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
    ItemTable[kArrowRow].baseType = 8;
    Creatures[id].equipment[kSlotRanged - 1] = kBowCode;
    Creatures[id].ammunition = {static_cast<uint32_t>(kFirstBaseItemCode + kArrowRow), 20};
  }
  // One claw of d6 (count attacks in a row).
  static void Claw(int id, int count = 1) { Creatures[id].naturalAttacks[0] = {1, count, 20, 2, 1, 6, 0, 0, 0}; }
  static int32_t Plan(int creature) {
    for (int i = 0; i < TurnEntryCount; ++i)
      if (TurnOrder[i].creature == creature) return TurnOrder[i].plannedAction;
    return -1;
  }
};

TEST_F(DecisionTest, AFighterBesideAFoeAttacksIt) {
  turnsfixture::NewBattle({"........", "........", "........"});
  turnsfixture::AddFighter(kMe, 2, 3, 1);
  turnsfixture::AddFighter(kFoe, 1, 4, 1);
  Claw(kMe);
  Decide(kMe);
  EXPECT_EQ(CombatState, kStateActionUnderWay);
  EXPECT_EQ(CombatAction.actionCode, 2) << "a single attack";
  EXPECT_EQ(ActionTarget, kFoe);
  EXPECT_EQ(ActingCreature, kMe);
  EXPECT_EQ(Plan(kMe), 1);
  EXPECT_EQ(Creatures[kMe].squareX, 3) << "no step away first";
}

TEST_F(DecisionTest, AFighterFarFromItsFoeWalksTowardIt) {
  turnsfixture::NewBattle({"............", "............", "............"});
  turnsfixture::AddFighter(kMe, 2, 0, 1);
  turnsfixture::AddFighter(kFoe, 1, 9, 1);
  Decide(kMe);
  EXPECT_EQ(CombatState, kStateActionUnderWay);
  EXPECT_EQ(CombatAction.actionCode, 1) << "a walk along the path";
  EXPECT_EQ(CpuMoveIssued, 1);
  EXPECT_EQ(NearestFoe, kFoe);
  EXPECT_GT(Creatures[kMe].nextX, 0) << "its first step leads toward the foe";
  // Once moved, the same turn does not move again: the fighter attacks or waits.
  MovementPlaybackActive = 0;
  CombatState = kStateComputerDecision;
  DecideComputerAction();
  EXPECT_NE(CombatAction.actionCode, 1);
}

TEST_F(DecisionTest, AHurtArcherStepsBackFromItsFoe) {
  turnsfixture::NewBattle({"........", "........", "........", "........", "........"});
  turnsfixture::AddFighter(kMe, 2, 3, 2);
  turnsfixture::AddFighter(kFoe, 1, 4, 2);
  Claw(kMe);
  GiveBow(kMe);
  Creatures[kMe].dexterity = {14, 14};  // it would rather shoot
  Creatures[kMe].hitPoints = 25;        // a quarter of its maximum: hurt
  Decide(kMe);
  ASSERT_EQ(CombatState, kStateActionUnderWay);
  EXPECT_EQ(CombatAction.actionCode, 5) << "a five-foot step";
  EXPECT_EQ(Creatures[kMe].nextX, 2) << "to a square out of the foe's reach";

  // A hurt fighter without a bow fights on: it strikes, or steps to a
  // better square still beside its foe.
  Creatures[kMe].equipment[kSlotRanged - 1] = 0;
  Creatures[kMe].ammunition = {0, 0};
  Decide(kMe);
  ASSERT_EQ(CombatState, kStateActionUnderWay);
  if (CombatAction.actionCode == 5) {
    EXPECT_LE(std::abs(Creatures[kMe].nextX - 4), 1);
    EXPECT_LE(std::abs(Creatures[kMe].nextY - 2), 1);
  } else {
    EXPECT_EQ(CombatAction.actionCode, 2);
    EXPECT_EQ(ActionTarget, kFoe);
  }
}

TEST_F(DecisionTest, AnArcherWithAClearShotShootsWithoutClosingIn) {
  turnsfixture::NewBattle({"............", "............", "............"});
  turnsfixture::AddFighter(kMe, 2, 0, 1);
  turnsfixture::AddFighter(kFoe, 1, 8, 1);
  GiveBow(kMe);
  Decide(kMe);
  // It may first take the step to the best square to shoot from, never toward the foe.
  if (CombatAction.actionCode == 5) {
    ASSERT_LE(Creatures[kMe].nextX, 1);
    Creatures[kMe].squareX = Creatures[kMe].nextX;
    Creatures[kMe].squareY = Creatures[kMe].nextY;
    CombatAction.fiveFootStepLeft = 0;
    CombatAction.movementClosed = 1;
    MovementPlaybackActive = 0;
    CombatState = kStateComputerDecision;
    DecideComputerAction();
  }
  ASSERT_EQ(CombatState, kStateActionUnderWay);
  EXPECT_TRUE(CombatAction.actionCode == 8 || CombatAction.actionCode == 10) << CombatAction.actionCode;
  EXPECT_EQ(ActionTarget, kFoe);
  EXPECT_EQ(Plan(kMe), 2);
  EXPECT_LE(Creatures[kMe].squareX, 1);
}

TEST_F(DecisionTest, AFighterWhoCannotReachAnyoneDelaysOrReadies) {
  // The foe is walled in.
  turnsfixture::NewBattle({"......###", "......#.#", "......###"});
  turnsfixture::AddFighter(kMe, 2, 1, 1);
  turnsfixture::AddFighter(kFoe, 1, 7, 1);
  Decide(kMe);
  EXPECT_EQ(NearestFoe, -1);
  ASSERT_EQ(CombatState, kStateActionUnderWay);
  EXPECT_EQ(CombatAction.actionCode, 13);
  EXPECT_EQ(CombatAction.endedActionCode, 30) << "not last in the order: it waits";
  EXPECT_EQ(TurnOrder[TurnEntryCount - 1].creature, kMe);
  EXPECT_EQ(TurnOrder[TurnEntryCount - 1].joinedThisRound, 1);
  EXPECT_EQ(QueuedCombatState, kStateNextFighter);

  // Last in the order it cannot wait: it readies against an approach.
  turnsfixture::NewBattle({"......###", "......#.#", "......###"});
  turnsfixture::AddFighter(kFoe, 1, 7, 1);
  turnsfixture::AddFighter(kMe, 2, 1, 1);
  Decide(kMe);
  ASSERT_EQ(CombatState, kStateActionUnderWay);
  EXPECT_EQ(CombatAction.endedActionCode, 31);
  EXPECT_EQ(Plan(kMe), 21);
}

TEST_F(DecisionTest, AHelplessFoeIsFinishedWithTheWholeRound) {
  turnsfixture::NewBattle({"........", "........", "........"});
  turnsfixture::AddFighter(kMe, 2, 3, 1);
  turnsfixture::AddFighter(kFoe, 1, 4, 1);
  Creatures[kFoe].conditions[0] = {kCondParalyzed, 5, 0, 0, 0};
  Claw(kMe);
  // Its five-foot step is spent (the full round is kept), so it weighs no square.
  turnsfixture::StartTurn(kMe);
  CombatAction.fiveFootStepLeft = 0;
  CombatState = kStateComputerDecision;
  ResetComputerDecisionState();
  DecideComputerAction();
  ASSERT_EQ(CombatState, kStateActionUnderWay);
  EXPECT_EQ(CombatAction.actionCode, 2);
  EXPECT_EQ(ActionTarget, kFoe);
  EXPECT_EQ(CombatAction.fullRoundActionLeft, 0);
  EXPECT_EQ(CombatAction.standardActionLeft, 0);
  EXPECT_EQ(CombatAction.moved, 1);
  EXPECT_EQ(FinishHelpless, 1);
}

TEST_F(DecisionTest, ASleeperIsNotStruckWithoutTheFullRound) {
  turnsfixture::NewBattle({"........", "........", "........"});
  turnsfixture::AddFighter(kMe, 2, 3, 1);
  turnsfixture::AddFighter(kFoe, 1, 4, 1);
  Creatures[kFoe].conditions[0] = {kCondSleeping, 5, 0, 0, 0};
  Claw(kMe);
  turnsfixture::StartTurn(kMe, 30);
  CombatAction.fullRoundActionLeft = 0;
  CombatAction.fiveFootStepLeft = 0;
  CombatState = kStateComputerDecision;
  ResetComputerDecisionState();
  DecideComputerAction();
  EXPECT_EQ(CombatState, kStateNextFighter);
  EXPECT_EQ(CombatAction.actionCode, 0);
}

TEST_F(DecisionTest, ForcedStatesComeBeforeAnyTactic) {
  turnsfixture::NewBattle({"........", "........"});
  turnsfixture::AddFighter(kMe, 2, 3, 1);
  turnsfixture::AddFighter(kFoe, 1, 4, 1);
  Creatures[kMe].conditions[0] = {kCondDancing, 3, 0, 0, 0};
  Decide(kMe);
  EXPECT_EQ(CombatAction.actionCode, 17);
  EXPECT_EQ(ActionTarget, kMe);

  Creatures[kMe].conditions[0] = {kCondPinned, 3, 0, 0, 0};
  Decide(kMe);
  EXPECT_EQ(CombatAction.actionCode, 14) << "a pinned fighter tries to escape";
  EXPECT_EQ(CombatState, kStatePlayerTurn);

  Creatures[kMe].conditions[1] = {kCondParalyzed, 3, 0, 0, 0};
  Decide(kMe);
  EXPECT_EQ(CombatState, kStateNextFighter) << "pinned and paralysed: the turn ends";
}

// Beside a foe it could claw, a fighter under a condition that forbids acting
// gets no order: struck helpless in the midst of its turn, dancing while
// paralysed, paralysed with a breath weapon ready, or paralysed and confused
// with a spell-like ability left (which keeps it deciding).
TEST_F(DecisionTest, AFighterThatCannotActGetsNoOrder) {
  turnsfixture::NewBattle({"........", "........"});
  turnsfixture::AddFighter(kMe, 2, 3, 1);
  turnsfixture::AddFighter(kFoe, 1, 4, 1);
  Claw(kMe);
  auto decideUnder = [](std::initializer_list<uint32_t> ids, auto&& plan) {
    Creatures[kMe].conditions[0] = Creatures[kMe].conditions[1] = {};
    int slot = 0;
    for (uint32_t id : ids) Creatures[kMe].conditions[slot++] = {id, 3, 0, 0, 0};
    turnsfixture::StartTurn(kMe);
    plan();
    CombatState = kStateComputerDecision;
    SpellInProgress = -1;
    MovementPlaybackActive = 0;
    ResetComputerDecisionState();
    DecideComputerAction();
  };
  auto none = [] {};
  decideUnder({}, none);
  ASSERT_EQ(CombatState, kStateActionUnderWay) << "free, it claws";
  for (uint32_t id : {kCondSleeping, kCondStunned, kCondCowering, kCondDazed, kCondPetrified}) {
    decideUnder({id}, none);
    EXPECT_EQ(CombatState, kStateNextFighter) << ConditionName(id);
  }
  decideUnder({kCondDancing, kCondParalyzed}, none);
  EXPECT_EQ(CombatState, kStateNextFighter) << "a paralysed dancer";
  EXPECT_NE(CombatAction.actionCode, 17);
  decideUnder({kCondParalyzed}, [] { CombatAction.breathPlanned = 1; });
  EXPECT_EQ(CombatState, kStateNextFighter) << "a paralysed breather";
  EXPECT_EQ(SpellInProgress, -1);
  Creatures[kMe].special[kSpecialSpellLike] = 1;
  decideUnder({kCondParalyzed, kCondConfused}, [] {
    CombatAction.spellLikePlanned = 1;
    CombatAction.confusionRoll = 75;
  });
  EXPECT_EQ(CombatState, kStateNextFighter) << "paralysed, it cannot strike out as its confusion bids";
  Creatures[kMe].behaviour[kBehaviourAlarm] = 100;
  decideUnder({kCondParalyzed}, [] { CombatAction.spellLikePlanned = 1; });
  EXPECT_NE(CombatAction.actionCode, 23) << "nor sound the alarm";
  Creatures[kMe].behaviour[kBehaviourAlarm] = 0;
  Creatures[kMe].special[kSpecialSpellLike] = 0;
}

TEST_F(DecisionTest, AConfusedFighterFleesOrAttacksWhateverIsNearest) {
  turnsfixture::NewBattle({"..........", "..........", ".........."});
  turnsfixture::AddFighter(kMe, 2, 4, 1);
  turnsfixture::AddFighter(kFriend, 2, 5, 1);
  turnsfixture::AddFighter(kFoe, 1, 8, 1);
  Creatures[kMe].conditions[0] = {kCondConfused, 3, 0, 0, 0};
  Claw(kMe);
  auto decideWithRoll = [](int32_t roll) {
    turnsfixture::StartTurn(kMe);
    CombatAction.confusionRoll = roll;
    CombatState = kStateComputerDecision;
    MovementPlaybackActive = 0;
    ResetComputerDecisionState();
    DecideComputerAction();
  };
  decideWithRoll(75);
  EXPECT_EQ(ActionTarget, kFriend) << "roll 71-100: the only creature beside it, an ally";
  decideWithRoll(60);
  ASSERT_EQ(CombatState, kStateActionUnderWay);
  EXPECT_LT(Creatures[kMe].nextX, 4) << "roll 51-70: away from the foe";
  // With no foe it can reach the frightened fighter ends its turn unmoved.
  turnsfixture::NewBattle({"......###.", "......#.#.", "......###."});
  turnsfixture::AddFighter(kMe, 2, 4, 1);
  turnsfixture::AddFighter(kFoe, 1, 7, 1);
  Creatures[kMe].conditions[0] = {kCondConfused, 3, 0, 0, 0};
  decideWithRoll(60);
  EXPECT_EQ(NearestFoe, -1);
  EXPECT_EQ(CombatState, kStateNextFighter);
  EXPECT_EQ(CombatAction.actionCode, 0);
  // A flight of one square is a move, never the five-foot step.
  turnsfixture::NewBattle({"..#.......", "..#.......", "..#......."});
  turnsfixture::AddFighter(kMe, 2, 4, 1);
  turnsfixture::AddFighter(kFoe, 1, 8, 1);
  Creatures[kMe].conditions[0] = {kCondConfused, 3, 0, 0, 0};
  decideWithRoll(60);
  ASSERT_EQ(CombatState, kStateActionUnderWay);
  EXPECT_EQ(Creatures[kMe].nextX, 3);
  EXPECT_EQ(CombatAction.actionCode, 1);
}

TEST_F(DecisionTest, AConfusedGrapplerStrikesItsPartnerWhileTheGrappleAttacksAreOpen) {
  turnsfixture::NewBattle({"........", "........"});
  turnsfixture::AddFighter(kMe, 2, 3, 1);
  turnsfixture::AddFighter(kFoe, 1, 4, 1);
  Creatures[kMe].conditions[0] = {kCondConfused, 3, 0, 0, 0};
  AddCondition(kMe, kCondGrappling, kDurationLasting, kFoe, 31, 0);
  Claw(kMe);
  auto decideWithoutStandardAction = [](uint8_t grappleOpen) {
    turnsfixture::StartTurn(kMe);
    CombatAction.confusionRoll = 5;
    CombatAction.standardActionLeft = 0;
    CombatAction.fullRoundActionLeft = 0;
    GrappleSequenceOpen = grappleOpen;
    CombatState = kStateComputerDecision;
    MovementPlaybackActive = 0;
    ResetComputerDecisionState();
    DecideComputerAction();
  };
  decideWithoutStandardAction(1);
  EXPECT_EQ(CombatState, kStateActionUnderWay);
  EXPECT_EQ(CombatAction.actionCode, 4) << "the grapple's next attack";
  EXPECT_EQ(ActionTarget, kFoe);
  decideWithoutStandardAction(0);
  EXPECT_EQ(CombatState, kStateNextFighter) << "no action and no grapple attack left";
  GrappleSequenceOpen = 0;
}

}  // namespace
