// Reactions frame by frame: a walk past two guards draws one attack of
// opportunity from each, one at a time, and none from a guard that cannot see
// the walker; a computer's walk or charge off a square both threaten, both; a readied attack fires once on its trigger; the chain of a
// provoking action passes over an enemy that cannot see an invisible actor;
// a Cursed reactor may lose its reaction.
#include "combat/actions/reactions.h"

#include <gtest/gtest.h>

#include "combat/actions/executor_fixture.h"
#include "combat/resolution/spell_resolution.h"
#include "combat/turns/combat_cycle.h"
#include "combat/turns/computer_orders.h"
#include "combat/turns/tactics.h"
#include "map/fighter_tests.h"
#include "map/path_finding.h"
#include "map/square_grids.h"
#include "rules/conditions.h"
#include "rules/item_tables.h"
#include "rules/recompute_creature.h"
#include "state/threat_grids.h"

namespace {

using namespace executorfixture;

constexpr int kMover = 4, kFirst = 5, kSecond = 6, kWatcher = 7;
constexpr uint32_t kCrossbow = 12;

class Reactions : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    MakeWeapons();
    SeedRandomForTests(11);
    ClearMessageLog();
    // A corridor along y = 2, two alcoves above it.
    mapfixture::DrawMap({"..........", "###.###.##", ".........."});
  }
  static void OrderMove(int x, int y) {
    const CreatureRecord& c = Creatures[kMover];
    ASSERT_EQ(FindCreaturePath(kMover, c.squareX, c.squareY, x, y, 1, 1, 0, 0, nullptr, nullptr), kPathFound);
    FighterSlot& s = FighterSlots[c.fighterSlot];
    Creatures[kMover].nextX = s.pathX[0];
    Creatures[kMover].nextY = s.pathY[0];
    SetCreatureFacing(kMover);
    CombatAction.actionCode = kActionWalkPath;
  }
  // The walker and two guards in the alcoves over (3, 2) and (7, 2).
  static void TwoGuards() {
    MakeFighter(kMover, "Walker", 1, 2, kAllegianceParty);
    MakeFighter(kFirst, "First", 3, 1, kAllegianceEnemy, 0);
    MakeFighter(kSecond, "Second", 7, 1, kAllegianceEnemy, 0);
  }
  static bool At(int x) { return Creatures[kMover].squareX == x && Creatures[kMover].squareY == 2; }
};

TEST_F(Reactions, AWalkOutOfTwoThreatenedSquaresDrawsTwoAttacksOneAtATime) {
  TwoGuards();
  StartBattle(kMover);
  OrderMove(9, 2);
  RunUntil([] { return CombatAction.reactingCreature == kFirst; });
  EXPECT_TRUE(At(2));
  EXPECT_EQ(Count(Log(), "gets @AOO@ against"), 0);
  // The first guard's attack is shown in full before the walk goes on.
  RunUntil([] { return CombatAction.reactingCreature == kSecond; });
  EXPECT_EQ(Count(Log(), "\xA3" "First\xA3 gets @AOO@ against \xA3Walker\xA3."), 1);
  EXPECT_EQ(Count(Log(), "\xA3Second\xA3 gets @AOO@"), 0);
  EXPECT_TRUE(At(6));
  RunAction();
  EXPECT_EQ(Count(Log(), "\xA3Second\xA3 gets @AOO@ against \xA3Walker\xA3."), 1);
  EXPECT_EQ(Count(Log(), "gets @AOO@"), 2);
  EXPECT_EQ(Creatures[kFirst].attacksOfOpportunityLeft, 0);
  EXPECT_EQ(Creatures[kSecond].attacksOfOpportunityLeft, 0);
  EXPECT_TRUE(At(9));
}

// A guard whose Dexterity an entangle took to nothing (paralysed) is free as
// soon as the entangle ends at the round's end, or as its square is
// dispelled, not at its own next turn: it makes its attack of opportunity on
// the walker leaving its side.
TEST_F(Reactions, AGuardFreedOfAnEntangleInTheMidstOfARoundMakesItsAttackOfOpportunity) {
  for (const bool dispelled : {false, true}) {
    SCOPED_TRACE(dispelled);
    SetUp();
    TwoGuards();
    Creatures[kFirst].dexterity.base = 4;
    StartBattle(kMover);
    MagicAreaGrid[SquareIndex(3, 1)] = {kEffectEntangle, 1, 0};
    AddCondition(kFirst, kCondEntangled, 1, 0, kSourceMagicArea, 0);
    RecomputeCreature(kFirst, 0);
    ASSERT_GE(FindCondition(kFirst, kCondParalyzed), 0);
    if (dispelled) {
      DispelCell(3, 1);
    } else {
      CombatState = kStateEndOfRound;  // the walker's turn of the next round begins
      CombatCycle();
      ASSERT_EQ(CombatState, kStatePlayerTurn);
    }
    EXPECT_LT(FindCondition(kFirst, kCondEntangled), 0);
    EXPECT_LT(FindCondition(kFirst, kCondParalyzed), 0);
    StartBattle(kMover);
    OrderMove(9, 2);
    RunAction();
    EXPECT_EQ(Count(Log(), "\xA3" "First\xA3 gets @AOO@ against \xA3Walker\xA3."), 1);
  }
}

TEST_F(Reactions, AGuardThatCannotSeeAnInvisibleWalkerDoesNotReact) {
  TwoGuards();
  Creatures[kSecond].special[kSenseKindWord] = 5;  // hears its way
  AddCondition(kMover, kCondInvisible, 10, 0, 18, 0);
  StartBattle(kMover);
  OrderMove(9, 2);
  RunAction();
  EXPECT_EQ(Count(Log(), "\xA3" "First\xA3 gets @AOO@"), 0);
  EXPECT_EQ(Count(Log(), "\xA3Second\xA3 gets @AOO@"), 1);
  EXPECT_EQ(Creatures[kFirst].attacksOfOpportunityLeft, 1);
}

TEST_F(Reactions, AReadiedAttackFiresOnceWhenTheWalkerComesNextToIt) {
  MakeFighter(kMover, "Walker", 1, 2, kAllegianceParty, 0, 500);
  MakeFighter(kFirst, "Sentry", 6, 1, kAllegianceEnemy);
  Creatures[kFirst].attacksOfOpportunityLeft = 0;  // only its readied action is left
  StartBattle(kMover);
  TurnOrder[1].plannedAction = kReadiedVersusApproach;
  OrderMove(9, 2);
  // The walker stops on the first square next to the sentry.
  RunUntil([] { return CombatAction.reactingCreature == kFirst; });
  EXPECT_TRUE(At(5));
  RunAction();
  EXPECT_EQ(Count(Log(), "\xA3Sentry\xA3 uses ready action, attacks \xA3Walker\xA3."), 1);
  EXPECT_EQ(ReadiedAttack.made, 1);
  // The sentry moved before the walker in the order and its readied action is spent.
  EXPECT_EQ(TurnOrder[0].creature, kFirst);
  EXPECT_EQ(TurnOrder[0].plannedAction, 0);
  EXPECT_EQ(TurnOrder[0].plannedTarget, kReadiedAttackUsed);
  EXPECT_EQ(TurnOrder[CurrentTurnIndex].creature, kMover);
  EXPECT_TRUE(At(9));
}

// Reloading a heavy crossbow provokes every enemy next to the shooter: the
// chain lists them, and an enemy that cannot see the invisible shooter passes.
TEST_F(Reactions, TheChainPassesOverAnEnemyThatCannotSeeTheInvisibleActor) {
  CraftedWeaponRecord& bow = CraftedWeapons[kCrossbow];
  bow = CraftedWeapons[kBow];
  bow.itemType = 10;
  bow.charges = 0;
  MakeFighter(kMover, "Shooter", 2, 2, kAllegianceParty, 0, 500);
  Creatures[kMover].equipment[kSlotRanged - 1] = kCrossbow;
  MakeFighter(kFirst, "Blind", 2, 1, kAllegianceEnemy);
  MakeFighter(kSecond, "Hearing", 3, 2, kAllegianceEnemy);
  MakeFighter(kWatcher, "Seer", 1, 2, kAllegianceEnemy);
  Creatures[kSecond].special[kSenseKindWord] = 5;
  AddCondition(kMover, kCondInvisible, 10, 0, 18, 0);
  StartBattle(kMover);
  AddCondition(kWatcher, kCondTrueSeeing, 10, 0, 18, 0);
  ActionTarget = -1;
  CombatAction.actionCode = kActionReload;
  CombatState = kStatePlayerTurn;
  EXPECT_EQ(CountOpportunityAttackers(), 2);
  RunUntil([] { return CombatAction.reactingCreature != -1; });
  const int firstReactor = CombatAction.reactingCreature;
  EXPECT_TRUE(firstReactor == kSecond || firstReactor == kWatcher);
  RunUntil([] { return CombatAction.endedActionCode == kActionReload; });
  EXPECT_EQ(Count(Log(), "gets @AOO@"), 2);
  EXPECT_EQ(Count(Log(), "\xA3" "Blind\xA3 gets"), 0);
  EXPECT_EQ(Creatures[kFirst].attacksOfOpportunityLeft, 1);
  EXPECT_EQ(Count(Log(), "\xA3Shooter\xA3 reloads heavy crossbow."), 1);
  EXPECT_EQ(bow.charges, 1);
  // The pair is the shooter's own again and the whole round is spent.
  EXPECT_EQ(ActingCreature, kMover);
  EXPECT_EQ(ReactorListPosition, 0);
  EXPECT_EQ(CombatAction.standardActionLeft, 0);
  EXPECT_EQ(CombatAction.movementClosed, 1);
}

// A computer fighter walking off a square two guards threaten draws the
// attacks of both before its first step, one after the other.
TEST_F(Reactions, AComputerMoveOffASquareTwoGuardsThreatenDrawsBothAttacks) {
  mapfixture::DrawMap({"..........", "..........", ".........."});
  MakeFighter(kMover, "Walker", 2, 1, kAllegianceEnemy, 0, 500);
  MakeFighter(kFirst, "West", 1, 1, kAllegianceParty, 0);
  MakeFighter(kSecond, "NorthWest", 1, 0, kAllegianceParty, 0);
  StartBattle(kMover);
  SendCpuMoving(kMover, 6, 1, 1);
  ASSERT_EQ(CombatAction.actionCode, kActionWalkPath);
  ASSERT_NE(CombatAction.reactingCreature, -1);
  RunUntil([] { return Creatures[kMover].squareX != 2; });
  EXPECT_EQ(Count(Log(), "gets @AOO@ against \xA3Walker\xA3"), 2);
}

// Its charge off such a square draws the first guard's attack alone, before
// it runs at the foe beyond.
TEST_F(Reactions, AComputerChargeOffASquareTwoGuardsThreatenDrawsTheFirstGuardsAttackAlone) {
  mapfixture::DrawMap({"..........", "..........", "..........", ".........."});
  MakeFighter(kMover, "Charger", 2, 2, kAllegianceEnemy, 0, 500);
  MakeFighter(kFirst, "North", 2, 1, kAllegianceParty, 0);
  MakeFighter(kSecond, "South", 2, 3, kAllegianceParty, 0);
  MakeFighter(kWatcher, "Far", 8, 2, kAllegianceParty, 0, 20);
  StartBattle(kMover);
  CombatAction.currentEntry = CurrentTurnIndex;
  Creatures[kMover].behaviour[kBehaviourCharge] = 100;
  TacticFlags flags;
  flags.canMove = true;
  ASSERT_EQ(Charge(kMover, flags), TacticResult::kCommitted);
  ASSERT_EQ(ActionTarget, kWatcher);
  RunAction();
  EXPECT_EQ(Count(Log(), "\xA3North\xA3 gets @AOO@ against \xA3" "Charger\xA3."), 1);
  EXPECT_EQ(Count(Log(), "\xA3South\xA3 gets @AOO@ against \xA3" "Charger\xA3."), 0);
  EXPECT_TRUE(AreAdjacent(kMover, kWatcher));
}

// A chain whose actor fell to its first reactor leaves its list behind; the
// next actor named in that list (a dragon that reacted then) never takes an
// attack of opportunity against itself.
TEST_F(Reactions, AChainLeftOverFromAnotherActorNeverMakesTheActorReactToItself) {
  MakeFighter(kMover, "Dragon", 2, 2, kAllegianceEnemy, 0, 500);
  MakeFighter(kFirst, "Guard", 2, 1, kAllegianceParty);
  StartBattle(kMover);
  ReactorList[0] = kMover;
  ReactorList[1] = -1;
  ReactorListPosition = 0;
  ReactionPending = 1;
  ActingCreature = kMover;
  EXPECT_FALSE(NextOpportunityAttacker());
  EXPECT_EQ(CombatAction.reactingCreature, -1);
  EXPECT_EQ(ActingCreature, kMover);
}

// Whatever names it (an action aimed at the actor itself, a reactor set by a
// movement or a tactic), the actor never reacts to its own action.
TEST_F(Reactions, NoRoadMakesTheActorReactToItsOwnAction) {
  MakeFighter(kMover, "Dragon", 2, 2, kAllegianceEnemy, 0, 500);
  MakeFighter(kFirst, "Guard", 2, 1, kAllegianceParty);
  StartBattle(kMover);
  ActionTarget = kMover;
  EXPECT_FALSE(TargetMayReactToGrapple());
  EXPECT_EQ(CombatAction.reactingCreature, -1);
  CombatAction.reactingCreature = kMover;
  ReactionStep();
  EXPECT_EQ(CombatAction.reactingCreature, -1);
  EXPECT_EQ(Count(Log(), "gets @AOO@"), 0);
  EXPECT_EQ(Creatures[kMover].hitPoints, 500);
}

TEST_F(Reactions, ACursedReactorLosesItsReactionAboutHalfTheTime) {
  int lost = 0;
  for (int round = 0; round < 40; ++round) {
    SetUp();
    MakeFighter(kMover, "Walker", 2, 2, kAllegianceParty, 0, 500);
    MakeFighter(kFirst, "Cursed", 2, 1, kAllegianceEnemy);
    StartBattle(kMover);
    SeedRandomForTests(100 + round);
    AddCondition(kFirst, kCondCursed, 10, 0, 18, 0);
    CombatAction.reactingCreature = kFirst;
    ContinueOpportunityChain = 1;  // a move's chain
    ExecuteCombatAction();
    if (CombatAction.reactingCreature == -1) {
      ++lost;
      EXPECT_EQ(Count(Log(), "\xA3" "Cursed\xA3 - No @AOO@ : @CURSED@."), 1);
      EXPECT_EQ(Creatures[kFirst].attacksOfOpportunityLeft, 1);
      EXPECT_EQ(ContinueOpportunityChain, 0);  // no playback will carry it on
    } else {
      EXPECT_EQ(CombatAction.reactingCreature, kReactorPlayback);
    }
  }
  EXPECT_GT(lost, 8);
  EXPECT_LT(lost, 32);
}

}  // namespace
