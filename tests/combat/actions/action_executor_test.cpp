// The executor's own steps: waiting for the movement playback, the end of an
// action with its queued follow-up and the budget test, the prelude marker,
// a fighter disabled while its attack is shown, and spending the turn's budget.
#include "combat/actions/action_executor.h"

#include <gtest/gtest.h>

#include "combat/actions/executor_fixture.h"
#include "combat/turns/combat_cycle.h"
#include "rules/conditions.h"
#include "rules/spell_ids.h"
#include "state/casting_services.h"
#include "state/combat_events.h"

namespace {

using namespace executorfixture;

constexpr int kHero = 4, kFoe = 5;

class Executor : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    MakeWeapons();
    ClearMessageLog();
    mapfixture::DrawMap({"......", "......", "......"});
    MakeFighter(kHero, "Hero", 1, 1, kAllegianceParty);
    MakeFighter(kFoe, "Orc", 2, 1, kAllegianceEnemy);
    StartBattle(kHero);
  }
  // An ended action whose one event is shown over the hero.
  static void EndWithOneEvent() {
    ClearCombatEvents();
    CombatEvents[0].type = kEventCondition;
    CombatEvents[0].creature = kHero;
    StartEventPlayback(kHero);
    CombatAction.actionCode = kActionEnd;
  }
};

TEST_F(Executor, NothingHappensWhileAMoveIsPlayedOnScreen) {
  Order(kActionMeleeAttack, kFoe);
  MovementPlaybackActive = 1;
  for (int frame = 0; frame < 30; ++frame) ExecuteCombatAction();
  EXPECT_EQ(CombatAction.actionCode, kActionMeleeAttack);
  EXPECT_EQ(g_ProcessingAttackNumber, -1);
  EXPECT_EQ(Count(Log(), " attacks "), 0);
  MovementPlaybackActive = 0;
}

TEST_F(Executor, TheEndOfAnActionAppliesOnlyTheQueuedFollowUpAndEndsASpentTurn) {
  EndWithOneEvent();
  ClearQueuedAction();
  // The event is shown for its frames, then the action is over and the state stays.
  ExecuteCombatAction();
  EXPECT_EQ(PlaybackCreature, kHero);
  RunUntil([] { return CombatAction.actionCode == 0; }, 20);
  EXPECT_EQ(PlaybackCreature, -1);
  EXPECT_EQ(CombatState, kStateActionUnderWay);
  EXPECT_EQ(CombatEventReadIndex, 0u);
  // A queued code and state are applied and set back to -1.
  EndWithOneEvent();
  QueuedActionCode = kActionMeleeAttack;
  QueuedCombatState = kStateComputerDecision;
  RunUntil([] { return CombatAction.actionCode != kActionEnd; }, 20);
  EXPECT_EQ(CombatAction.actionCode, kActionMeleeAttack);
  EXPECT_EQ(CombatState, kStateComputerDecision);
  EXPECT_EQ(QueuedActionCode, -1);
  EXPECT_EQ(QueuedCombatState, -1);
  // Nothing left but the move action, movement closed: the turn passes.
  CombatState = kStateActionUnderWay;
  CombatAction.fullRoundActionLeft = CombatAction.standardActionLeft = CombatAction.fiveFootStepLeft = 0;
  CombatAction.moveActionLeft = 1;
  CombatAction.movementClosed = 1;
  EndWithOneEvent();
  RunUntil([] { return CombatAction.actionCode != kActionEnd; }, 20);
  EXPECT_EQ(CombatState, kStateNextFighter);
}

TEST_F(Executor, APreludeMarkerEndsThePlaybackOnItsFirstFrame) {
  ClearCombatEvents();
  CombatEvents[0].type = 64;
  CombatEvents[0].creature = kFoe;
  PlaybackCreature = kFoe;
  PlaybackFramesLeft = FramesPerEvent;
  CombatAction.reactingCreature = kReactorPlayback;
  CombatAction.actionCode = kActionMeleeAttack;
  g_ProcessingAttackNumber = 0;
  ExecuteCombatAction();
  EXPECT_EQ(CombatAction.reactingCreature, -1);
  EXPECT_EQ(PlaybackCreature, -1);
  EXPECT_EQ(CombatAction.actionCode, kActionMeleeAttack);  // the next step comes next frame
}

TEST_F(Executor, AFighterStunnedWhileItsAttackIsShownLosesTheRestOfItsTurn) {
  Order(kActionFullAttack, kFoe);
  RunUntil([] { return CombatAction.reactingCreature == kReactorPlayback; });
  AddCondition(kHero, kCondStunned, 2, 0, kSourceSpell, 0);
  SpellInProgress = kSpellWeb;  // a spell it was casting is lost with the turn
  SpellCaster = kHero;
  RunUntil([] { return CombatAction.reactingCreature != kReactorPlayback; });
  EXPECT_EQ(CombatAction.actionCode, 0);
  EXPECT_EQ(g_ProcessingAttackNumber, -1);
  EXPECT_EQ(ActingCreature, -1);
  EXPECT_EQ(CombatState, kStateNextFighter);
  EXPECT_EQ(SpellInProgress, -1);
  // The loss is a message of its own: what is logged next starts a new line.
  const std::string log = MessageLogText;
  EXPECT_NE(log.find("\xA3Hero\xA3 loses @WEB@.\r\r"), std::string::npos) << log;
}

TEST_F(Executor, AFailedStepShowsAnEmptyEventThenHandsTheTurnBack) {
  ActionTarget = kFoe;
  CombatAction.playerControlled = 1;
  FinishActionAfterFailure();
  EXPECT_EQ(CombatAction.actionCode, kActionEnd);
  EXPECT_EQ(PlaybackCreature, kFoe);
  EXPECT_EQ(QueuedCombatState, kStatePlayerTurn);
  RunUntil([] { return CombatAction.actionCode != kActionEnd; }, 20);
  EXPECT_EQ(CombatState, kStatePlayerTurn);
}

TEST_F(Executor, SpendingAnActionBeforeOrAfterMoving) {
  // Not yet moved: the single action leaves one move.
  SettleMoveAfterAction();
  EXPECT_EQ(CombatAction.movesLeft, 30);
  EXPECT_EQ(CombatAction.moveActionLeft, 1);
  EXPECT_EQ(CombatAction.movementClosed, 0);
  EXPECT_EQ(ActionBeforeMove, 1);
  // Moved: the move goes and movement closes, unless Spring Attack leaves more than a move.
  CombatAction.movesLeft = 50;
  CombatAction.standardActionLeft = 1;
  Creatures[kHero].feats[kFeatSpringAttack] = 1;
  SettleMoveAfterAction();
  EXPECT_EQ(CombatAction.movesLeft, 20);
  EXPECT_EQ(CombatAction.moveActionLeft, 0);
  EXPECT_EQ(CombatAction.movementClosed, 0);
  Creatures[kHero].feats[kFeatSpringAttack] = 0;
  CombatAction.attackSequenceOpen = 1;
  CombatAction.standardActionLeft = 1;
  SettleMoveAfterActionAlt();
  EXPECT_EQ(CombatAction.attackSequenceOpen, 0);
  EXPECT_EQ(CombatAction.standardActionLeft, 0);
  EXPECT_EQ(CombatAction.movementClosed, 1);
  CombatAction.moveActionLeft = CombatAction.standardActionLeft = 1;
  CombatAction.movementClosed = 0;
  ClearActionTarget();
  EXPECT_EQ(CombatAction.moveActionLeft + CombatAction.standardActionLeft + CombatAction.fullRoundActionLeft, 0);
  EXPECT_EQ(CombatAction.movementClosed, 1);
  EXPECT_EQ(CombatAction.movesLeft, 20);
}

}  // namespace
