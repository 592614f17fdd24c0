// A computer fighter's intentions for its turn, its orders, and the small
// tests of the battle its decision asks.
#include "combat/turns/turn_planning.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "combat/turns/computer_decision.h"
#include "combat/turns/computer_orders.h"
#include "combat/turns/tactical_predicates.h"
#include "combat/turns/turn_routines.h"
#include "combat/turns/turns_fixture.h"
#include "combat/turns/valuation_grid.h"
#include "creatures/control_tendencies.h"
#include "map/fighter_tests.h"
#include "map/path_finding.h"
#include "rules/conditions.h"
#include "rules/item_tables.h"
#include "screens/game/game_screen.h"
#include "state/combat_action.h"

namespace {

constexpr int kMe = 100, kFoe = 101, kFoe2 = 102, kFriend = 103;
constexpr uint32_t kCrossbowCode = 22;

// A caster knowing the first spell row of level 1 with one slot left.
void MakeCaster(int id, int32_t cls) {
  CreatureRecord& c = Creatures[id];
  c.creatureClass = cls;
  c.casterLevelAdjust = 1;
  for (int s = 0; s < kSpellRows; ++s)
    if (SpellTable[s].level == 1) {
      c.knownSpells[s] = 1;
      break;
    }
  c.spellsLeft[0] = 1;
}

class PlanningTest : public ::testing::Test {
 protected:
  void SetUp() override {
    turnsfixture::NewBattle({"..........", "..........", ".........."});
    turnsfixture::AddFighter(kMe, 2, 1, 1);
    turnsfixture::AddFighter(kFoe, 1, 5, 1);
    turnsfixture::AddFighter(kFriend, 2, 1, 2);
    for (int s = 0; s < kSpellRows; ++s) SpellTable[s].level = s % 9 + 1;
  }
  void TearDown() override {
    for (SpellRecord& s : SpellTable) s.level = 0;
    CraftedWeapons[kCrossbowCode] = {};
    ResetComputerDecisionState();
  }
};

TEST_F(PlanningTest, SpellsArePlannedUnlessTheRollSaysNoAndSlotsAreLeft) {
  MakeCaster(kMe, kClassWizard);
  Creatures[kMe].behaviour[kBehaviourSpellAttack] = 0;
  PlanFighterTurn(kMe);
  EXPECT_EQ(CombatAction.useSpells, 1) << "a percentage of 0 rolls nothing";
  Creatures[kMe].behaviour[kBehaviourSpellAttack] = 100;
  PlanFighterTurn(kMe);
  EXPECT_EQ(CombatAction.useSpells, 1);
  Creatures[kMe].spellsLeft[0] = 0;
  PlanFighterTurn(kMe);
  EXPECT_EQ(CombatAction.useSpells, 0) << "no slot left";
}

TEST_F(PlanningTest, AWoundedClericTurnsToItsSpellsWhateverTheRoll) {
  MakeCaster(kMe, kClassCleric);
  Creatures[kMe].behaviour[kBehaviourSpellAttack] = 1;
  int declined = 0;
  for (int i = 0; i < 50; ++i) {
    PlanFighterTurn(kMe);
    declined += CombatAction.useSpells == 0 ? 1 : 0;
  }
  EXPECT_GT(declined, 40) << "a 1 per cent tendency mostly declines";
  Creatures[kMe].hitPoints = 25;
  for (int i = 0; i < 20; ++i) {
    PlanFighterTurn(kMe);
    ASSERT_EQ(CombatAction.useSpells, 1);
  }
  Creatures[kMe].hitPoints = 31;
  declined = 0;
  for (int i = 0; i < 20; ++i) {
    PlanFighterTurn(kMe);
    declined += CombatAction.useSpells == 0 ? 1 : 0;
  }
  EXPECT_GT(declined, 0) << "above 30 per cent the roll stands";
}

TEST_F(PlanningTest, AControlledCreaturePlansNoBreathWandOrInnateSpell) {
  CreatureRecord& c = Creatures[kMe];
  c.special[kSpecialAttackKind] = 1;
  c.behaviour[kBehaviourSpecialAttack] = 100;
  c.special[kSpecialSpellLike] = 6;
  c.special[kSpecialUsesLeft] = 2;
  c.behaviour[kBehaviourSpellLike] = 100;
  PlanFighterTurn(kMe);
  EXPECT_EQ(CombatAction.breathPlanned, 1);
  EXPECT_EQ(CombatAction.spellLikePlanned, 1);
  c.conditions[0] = {kCondControlled, 5, 0, 0, 0};
  PlanFighterTurn(kMe);
  EXPECT_EQ(CombatAction.breathPlanned, 0);
  EXPECT_EQ(CombatAction.spellLikePlanned, 0);
}

TEST_F(PlanningTest, HitPointSharesNeverDivideByAMaximumOfZero) {
  Creatures[kMe].maxHitPoints = 0;
  Creatures[kMe].hitPoints = -3;
  EXPECT_EQ(HitPointPercent(kMe), 0);
  EXPECT_FALSE(IsBadlyHurt(kMe, 30));
  Creatures[kMe].maxHitPoints = 100;
  Creatures[kMe].hitPoints = 30;
  EXPECT_TRUE(IsBadlyHurt(kMe, 30));
  Creatures[kMe].hitPoints = 100;
  EXPECT_FALSE(IsBadlyHurt(kMe, 100)) << "unhurt is never badly hurt";
}

TEST_F(PlanningTest, TheGridsLargestValueIsNeverBelowMinusOne) {
  std::fill(std::begin(ValuationGrid), std::end(ValuationGrid), kUnfit);
  EXPECT_EQ(MaxValuationGridValue(), -1) << "every square unfit";
  ValuationGrid[SquareIndex(7, 3)] = -1;
  ValuationGrid[SquareIndex(59, 59)] = -5;
  EXPECT_EQ(MaxValuationGridValue(), -1);
  ValuationGrid[SquareIndex(59, 59)] = 37;
  EXPECT_EQ(MaxValuationGridValue(), 37) << "the last square counts too";
  std::fill(std::begin(ValuationGrid), std::end(ValuationGrid), 0);
}

// Without a display nothing is drawn, but the frame still counts as presented.
TEST_F(PlanningTest, TheBackdropFramePresentedAtOnceIsNotPresentedAgain) {
  FramePresented = 0;
  EXPECT_EQ(PresentBackdropFrameNow(), 1);
  EXPECT_EQ(FramePresented, 1);
  FramePresented = 0;
}

TEST_F(PlanningTest, TheCountersOfTheBattle) {
  turnsfixture::AddFighter(kFoe2, 8, 7, 1);  // a talker: on no side
  turnsfixture::StartTurn(kMe);
  EXPECT_EQ(CountAllies(kMe), 1) << "the friend only; the talker is on no side";
  EXPECT_FALSE(AnyBadlyWoundedEnemy(kMe));
  Creatures[kFoe].hitPoints = 21;
  EXPECT_FALSE(AnyBadlyWoundedEnemy(kMe)) << "21 per cent is not below 21";
  Creatures[kFoe].hitPoints = 20;
  EXPECT_TRUE(AnyBadlyWoundedEnemy(kMe));
  Creatures[kFoe].maxHitPoints = Creatures[kFoe].hitPoints = 5;
  EXPECT_FALSE(AnyBadlyWoundedEnemy(kMe)) << "unhurt, however low its maximum";
  TurnOrder[2].plannedAction = 22;
  EXPECT_EQ(CountAlliesHoldingReady(kMe), 1);
  EXPECT_TRUE(IsSpellInLevelGroup(31, 4) && IsSpellInLevelGroup(31, 5));
  EXPECT_FALSE(IsSpellInLevelGroup(31, 1));
  int32_t list[] = {3, 114, 115, 117, 45, 46, 9, 66};
  const int n = CollapseIconRuns(8, list);
  ASSERT_EQ(n, 5) << "the run of summonings and the run of shields each leave one member";
  EXPECT_EQ(list[0], 3);
  EXPECT_TRUE(list[1] == 114 || list[1] == 115 || list[1] == 117) << "drawn from the run itself";
  EXPECT_TRUE(list[2] == 45 || list[2] == 46);
  EXPECT_EQ(list[3], 9);
  EXPECT_EQ(list[4], 66) << "a giant form alone stays";
}

TEST_F(PlanningTest, ChargingNeedsTheWholeMoveUnspent) {
  turnsfixture::StartTurn(kMe, 60);
  EXPECT_TRUE(CanCharge(kMe));
  CombatAction.movesLeft = 10;
  EXPECT_FALSE(CanCharge(kMe)) << "10 feet left of a 30-foot speed";
  CombatAction.movesLeft = 60;
  Creatures[kMe].conditions[0] = {kCondFatigued, 3, 0, 0, 0};
  EXPECT_FALSE(CanCharge(kMe));
}

TEST_F(PlanningTest, DifficultTerrainStopsTheFiveFootStepOfSmallCreaturesOnly) {
  CurrentMap.At(kLayerFloor, 1, 1) = 123;
  EXPECT_FALSE(CanTakeFiveFootStep(kMe));
  Creatures[kMe].size = {4, 4};
  EXPECT_TRUE(CanTakeFiveFootStep(kMe));
  Creatures[kMe].conditions[0] = {kCondEntangled, 3, 0, 0, 0};
  EXPECT_FALSE(CanTakeFiveFootStep(kMe));
}

TEST_F(PlanningTest, TheHighestSpellLevelFollowsTheCasterLevel) {
  MakeCaster(kMe, kClassWizard);
  CreatureRecord& c = Creatures[kMe];
  c.casterLevelAdjust = 2;  // caster level 2: level 1 spells only
  EXPECT_TRUE(HighestUsableSpellLevel(-1, kMe));
  EXPECT_FALSE(HighestUsableSpellLevel(2, kMe)) << "a start above the highest level";
  c.casterLevelAdjust = 17;
  for (int s = 0; s < kSpellRows; ++s) c.knownSpells[s] = SpellTable[s].level == 9 ? 1 : 0;
  c.spellsLeft[0] = 0;
  c.spellsLeft[8] = 1;
  EXPECT_TRUE(HighestUsableSpellLevel(9, kMe)) << "caster level 17 reaches level 9";
  EXPECT_TRUE(CanStillCastSpells(kMe));
  c.spellsLeft[8] = 0;
  EXPECT_FALSE(CanStillCastSpells(kMe));
  c.special[kSpecialSpellLike] = 4;
  c.special[kSpecialUsesLeft] = 1;
  EXPECT_TRUE(CanStillCastSpells(kMe)) << "an innate spell with uses left";
}

TEST_F(PlanningTest, TheLastFighterCannotDelayAndANeighbourForbidsReadying) {
  turnsfixture::StartTurn(kFriend);  // the last entry
  EXPECT_EQ(TryDelayTurn(), 0);
  turnsfixture::StartTurn(kMe);
  Creatures[kFoe].squareX = 2;  // now beside kMe
  CombatState = kStateComputerDecision;
  EXPECT_EQ(TryReadyVersusApproach(), 0);
  EXPECT_EQ(CombatState, kStateNextFighter) << "the refusal ends the turn";
}

TEST_F(PlanningTest, AHeavyCrossbowReloadsOnlyWithTheWholeRound) {
  CraftedWeaponRecord& bow = CraftedWeapons[kCrossbowCode];
  bow.itemType = 10;
  bow.charges = 0;
  Creatures[kMe].equipment[kSlotRanged - 1] = kCrossbowCode;
  Creatures[kMe].ammunition = {static_cast<uint32_t>(kFirstBaseItemCode + 9), 10};
  turnsfixture::StartTurn(kMe);
  ASSERT_TRUE(NeedsCrossbowReload(kMe));
  EXPECT_EQ(ReloadCrossbowIfNeeded(kMe), 1);
  EXPECT_EQ(CombatAction.actionCode, 20);
  EXPECT_EQ(CombatState, kStatePlayerTurn);
  CombatAction.actionCode = 0;
  CombatAction.fullRoundActionLeft = 0;  // only the standard action is left
  EXPECT_EQ(ReloadCrossbowIfNeeded(kMe), 1);
  EXPECT_EQ(CombatAction.actionCode, 0);
  EXPECT_EQ(CombatState, kStateNextFighter) << "too little left: the turn is over";
  Creatures[kMe].feats[kFeatRapidReloadHeavy] = 1;
  EXPECT_EQ(ReloadCrossbowIfNeeded(kMe), 1);
  EXPECT_EQ(CombatAction.actionCode, 20) << "the feat makes it a move's work";
  bow.charges = 1;
  EXPECT_FALSE(NeedsCrossbowReload(kMe)) << "loaded";
}

TEST_F(PlanningTest, AFighterNextToItsGoalStepsInsteadOfWalking) {
  turnsfixture::StartTurn(kMe);
  ASSERT_EQ(FindCreaturePath(kMe, 1, 1, 2, 1, 1, 1, 0, 0, nullptr, nullptr), kPathFound);
  SendCpuMoving(kMe, 2, 1, 0);
  EXPECT_EQ(CombatAction.actionCode, 5);
  EXPECT_EQ(Creatures[kMe].nextX, 2);
  EXPECT_EQ(CpuMoveIssued, 1);
  turnsfixture::StartTurn(kMe);
  SendCpuMoving(kMe, 2, 1, 1);
  EXPECT_EQ(CombatAction.actionCode, 1) << "the no-step flag makes it walk";
}

}  // namespace
