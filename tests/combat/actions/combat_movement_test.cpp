// Moves in combat, frame by frame: a walk along a planned path with its
// budget, a threatening enemy's attack of opportunity half-way, the
// five-foot step, a move whose path is gone, and the move that ends in an
// attack; the costs of a step and the corners a diagonal step may not cut.
#include "combat/actions/combat_movement.h"

#include <gtest/gtest.h>

#include "combat/actions/executor_fixture.h"
#include "map/fighter_tests.h"
#include "map/movement_rules.h"
#include "rules/conditions.h"
#include "state/threat_grids.h"

namespace {

using namespace executorfixture;

constexpr int kMover = 4, kEnemy = 5, kWatcher = 6;

class CombatMove : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    MakeWeapons();
    SeedRandomForTests(7);
    ClearMessageLog();
    mapfixture::DrawMap({"........", "........", "........", "........", "........"});
  }
  // Plans the mover's path to (x, y) as an order does and starts the walk.
  static void OrderMove(int32_t code, int x, int y) {
    const CreatureRecord& c = Creatures[kMover];
    ASSERT_EQ(FindCreaturePath(kMover, c.squareX, c.squareY, x, y, 1, 1, 0, 0, nullptr, nullptr), kPathFound);
    FighterSlot& s = FighterSlots[c.fighterSlot];
    Creatures[kMover].nextX = s.pathX[0];
    Creatures[kMover].nextY = s.pathY[0];
    SetCreatureFacing(kMover);
    CombatAction.actionCode = code;
  }
  // An enemy far off in a corner keeps the battle going.
  static void AddWatcher() { MakeFighter(kWatcher, "Watcher", 7, 4, kAllegianceEnemy); }
  static bool At(int x, int y) { return Creatures[kMover].squareX == x && Creatures[kMover].squareY == y; }
};

TEST_F(CombatMove, AWalkPaysEachSquareAndTheSecondMoveClosesTheActions) {
  MakeFighter(kMover, "Walker", 0, 2, kAllegianceParty);
  AddWatcher();
  StartBattle(kMover);
  OrderMove(kActionWalkPath, 7, 2);
  // 30 feet walked of 60: the full round is gone, the single action and the move stay.
  RunUntil([] { return At(6, 2); });
  EXPECT_EQ(CombatAction.movesLeft, 30);
  EXPECT_EQ(CombatAction.fullRoundActionLeft, 0);
  EXPECT_EQ(CombatAction.standardActionLeft, 1);
  EXPECT_EQ(CombatAction.moveActionLeft, 1);
  EXPECT_EQ(CombatAction.fiveFootStepLeft, 0);
  EXPECT_EQ(CombatState, kStateActionUnderWay);
  // The next square takes both; at the destination the action ends.
  RunAction();
  EXPECT_TRUE(At(7, 2));
  EXPECT_EQ(CombatAction.movesLeft, 25);
  EXPECT_EQ(CombatAction.standardActionLeft, 0);
  EXPECT_EQ(CombatAction.moveActionLeft, 0);
  EXPECT_EQ(Creatures[kMover].pixelX, 7 * 24);
  EXPECT_EQ(Creatures[kMover].destinationX, -1);
  EXPECT_EQ(CombatState, kStateComputerDecision);
}

TEST_F(CombatMove, AThreatenedSquareLetsTheEnemyAttackOnceBeforeTheMoverLeavesIt) {
  // A corridor along y = 2 with the guard in an alcove above it.
  mapfixture::DrawMap({"........", "###.####", "........"});
  MakeFighter(kMover, "Walker", 1, 2, kAllegianceParty);
  MakeFighter(kEnemy, "Guard", 3, 1, kAllegianceEnemy, 0);
  StartBattle(kMover);
  OrderMove(kActionWalkPath, 6, 2);
  // The path leaves (2, 2) first among the squares the guard threatens.
  EXPECT_EQ(ArrowGrid[SquareIndex(2, 2)] % 100, 33);
  EXPECT_NE(ArrowGrid[SquareIndex(3, 2)] % 100, 33);
  RunUntil([] { return CombatAction.reactingCreature == kEnemy; });
  EXPECT_TRUE(At(2, 2));
  EXPECT_EQ(CombatAction.movesLeft, 55);
  RunAction();
  EXPECT_EQ(Count(Log(), "gets @AOO@ against"), 1);
  EXPECT_EQ(Creatures[kEnemy].attacksOfOpportunityLeft, 0);
  // The square the mover waited on is not paid twice: 5 squares of 5 feet.
  EXPECT_TRUE(At(6, 2));
  EXPECT_EQ(CombatAction.movesLeft, 35);
  EXPECT_EQ(ReactionPending, 0);
}

TEST_F(CombatMove, AMoveThenAttackKeepsItsTargetThroughAnAttackOfOpportunity) {
  mapfixture::DrawMap({"........", "###.####", "........"});
  MakeFighter(kMover, "Walker", 1, 2, kAllegianceParty);
  MakeFighter(kEnemy, "Guard", 3, 1, kAllegianceEnemy, 0);
  MakeFighter(kWatcher, "Ogre", 7, 2, kAllegianceEnemy, 0);
  StartBattle(kMover);
  OrderMove(kActionMoveAndAttack, 6, 2);
  ActionTarget = kWatcher;
  RunAction();
  EXPECT_EQ(Count(Log(), "\xA3Guard\xA3 gets @AOO@ against \xA3Walker\xA3."), 1);
  EXPECT_TRUE(At(6, 2));
  EXPECT_EQ(Count(Log(), "\xA3Walker\xA3 attacks \xA3Ogre\xA3"), 1);
  EXPECT_EQ(Count(Log(), "\xA3Walker\xA3 attacks "), 1);
}

TEST_F(CombatMove, AFiveFootStepSpendsNoMovementAndClosesIt) {
  MakeFighter(kMover, "Stepper", 1, 1, kAllegianceParty);
  AddWatcher();
  StartBattle(kMover);
  Creatures[kMover].nextX = 2;
  Creatures[kMover].nextY = 2;
  SetCreatureFacing(kMover);
  CombatAction.actionCode = kActionFiveFootStep;
  RunAction();
  EXPECT_TRUE(At(2, 2));
  EXPECT_EQ(CombatAction.movesLeft, 60);
  EXPECT_EQ(CombatAction.fullRoundActionLeft, 1);
  EXPECT_EQ(CombatAction.movementClosed, 1);
  EXPECT_EQ(CombatAction.fiveFootStepTaken, 1);
  EXPECT_EQ(CombatAction.fiveFootStepLeft, 0);
}

TEST_F(CombatMove, AMoveWhosePathIsGoneEndsOnTheSquareReached) {
  MakeFighter(kMover, "Walker", 1, 1, kAllegianceParty);
  AddWatcher();
  StartBattle(kMover);
  OrderMove(kActionWalkPath, 5, 1);
  FighterSlots[Creatures[kMover].fighterSlot].pathIndex = -1;
  const int frames = RunAction(500);
  EXPECT_LT(frames, 500);
  EXPECT_TRUE(At(2, 1));
  EXPECT_EQ(CombatState, kStateComputerDecision);
}

// An entangling area across a corridor takes the last of a poisoned
// walker's Dexterity: paralysed on that square, it goes no further.
TEST_F(CombatMove, AWalkerParalysedByTheSquareItEntersStopsThere) {
  mapfixture::DrawMap({"########", "........", "########", "........", "........"});
  MakeFighter(kMover, "Walker", 0, 1, kAllegianceParty);
  Creatures[kMover].dexterity = {3, 3};
  AddWatcher();
  MagicAreaGrid[SquareIndex(3, 1)] = {kEffectEntangle, 5, 0};
  StartBattle(kMover);
  OrderMove(kActionWalkPath, 7, 1);
  RunAction();
  EXPECT_GE(FindCondition(kMover, kCondParalyzed), 0);
  EXPECT_TRUE(At(3, 1));
  EXPECT_EQ(CombatState, kStateComputerDecision);
}

TEST_F(CombatMove, AMoveThenAttackStrikesOnArrivalWithTheSingleAction) {
  MakeFighter(kMover, "Walker", 0, 2, kAllegianceParty);
  MakeFighter(kEnemy, "Guard", 5, 2, kAllegianceEnemy, 0);
  Creatures[kEnemy].attacksOfOpportunityLeft = 0;
  StartBattle(kMover);
  OrderMove(kActionMoveAndAttack, 4, 2);
  ActionTarget = kEnemy;
  RunAction();
  EXPECT_TRUE(At(4, 2));
  EXPECT_EQ(Count(Log(), "\xA3Walker\xA3 attacks \xA3Guard\xA3"), 1);
  EXPECT_EQ(CombatAction.standardActionLeft, 0);
  EXPECT_EQ(CombatAction.meleeAttacksMade, 1);
}

TEST(MoveCost, StepsOverDifficultGroundHinderingAreasAndWithoutSight) {
  ResetGameState();
  mapfixture::DrawMap({".....", ".....", "....."});
  mapfixture::PlaceFighter(kMover, 1, 1);
  Creatures[kMover].size = {3, 3};
  auto cost = [](int x, int y) { return CalculateMoveCost(kMover, x, y, 1, 1, 1); };
  EXPECT_EQ(cost(1, 1), 0);
  EXPECT_EQ(cost(2, 1), 5);
  EXPECT_EQ(cost(2, 2), 7);
  EXPECT_EQ(CalculateMoveCost(kMover, 2, 2, 1, 1, 0), 7);
  CurrentMap.At(kLayerFloor, 2, 2) = 123;
  EXPECT_EQ(cost(2, 2), 14);
  EXPECT_EQ(CalculateMoveCost(kMover, 2, 2, 1, 1, 0), 7);  // without the rules
  Creatures[kMover].size = {4, 4};
  EXPECT_EQ(cost(2, 2), 7);  // large creatures stride over difficult ground
  Creatures[kMover].size = {3, 3};
  // Entangling ground doubles the step wherever it lies under the creature.
  MagicAreaGrid[SquareIndex(2, 1)] = {kEffectEntangle, 5, 0};
  EXPECT_EQ(cost(2, 1), 10);
  Creatures[kMover].protections[ImmunityPair(kImmHampering)].current = 1;  // moves freely
  EXPECT_EQ(cost(2, 1), 5);
  EXPECT_EQ(cost(2, 2), 7);
  Creatures[kMover].protections[ImmunityPair(kImmHampering)].current = 0;
  // Unable to see: twice, half again with Blind-Fight; Blinded or true seeing pay nothing more.
  InCombat = 1;
  AddCondition(kMover, kCondCantSee, 1, 0, kSourceMagicArea, 0);
  EXPECT_EQ(cost(2, 2), 28);
  Creatures[kMover].feats[kFeatBlindFight] = 1;
  EXPECT_EQ(cost(2, 2), 21);
  AddCondition(kMover, kCondBlinded, 1, 0, kSourceMagicArea, 0);
  EXPECT_EQ(cost(2, 2), 14);
  EXPECT_EQ(MoveCostToNextSquare(kMover, 2, 1), 10);
  // Blind already, a creature that finds its way by hearing is still slowed
  // by silence (half again with Blind-Fight), unless it is deaf as well.
  Creatures[kMover].special[kSenseKindWord] = 5;
  AddCondition(kMover, kCondSilenced, 1, 0, kSourceMagicArea, 0);
  EXPECT_EQ(cost(2, 2), 21);
  AddCondition(kMover, kCondDeafened, 1, 0, kSourceMagicArea, 0);
  EXPECT_EQ(cost(2, 2), 14);
}

TEST(DiagonalStep, AOneSquareCreatureMayNotCutAWallCorner) {
  ResetGameState();
  mapfixture::DrawMap({".....", "..#..", ".....", "....."});
  mapfixture::PlaceFighter(kMover, 1, 0);
  BuildOccupancyGrids(kMover);
  // The step from (1, 1) to (2, 2) has the wall (2, 1) for a corner; a step
  // whose corners (2, 0) and (1, 1) are both open is allowed.
  EXPECT_TRUE(IsDiagonalStepBlocked(kMover, 2, 1, 1, 2));
  EXPECT_FALSE(IsDiagonalStepBlocked(kMover, 2, 0, 1, 1));
  EXPECT_FALSE(IsDiagonalStepBlocked(kMover, 2, 1, 2, 3));  // corners in one column: not diagonal
  EXPECT_TRUE(IsDiagonalStepBlocked(-1, 2, 1, 1, 2));
  // A corner piece of a wall lets the step by; a large footprint is never refused.
  CurrentMap.At(kLayerWalls, 2, 1) = 60;
  EXPECT_FALSE(IsSquareObstructed(2, 1));
  CurrentMap.At(kLayerWalls, 2, 1) = 46;
  Creatures[kMover].footprintWidth = Creatures[kMover].footprintHeight = {2, 2};
  EXPECT_FALSE(IsDiagonalStepBlocked(kMover, 2, 1, 1, 2));
  // A solid barrier obstructs only in combat.
  CurrentMap.At(kLayerWalls, 2, 1) = 0;
  MagicAreaGrid[SquareIndex(2, 1)] = {kEffectSolid, 5, 0};
  EXPECT_FALSE(IsSquareObstructed(2, 1));
  InCombat = 1;
  EXPECT_TRUE(IsSquareObstructed(2, 1));
  InCombat = 0;
  // The path finder goes round the corner: (1, 1) to (2, 2) takes two steps.
  Creatures[kMover].footprintWidth = Creatures[kMover].footprintHeight = {1, 1};
  MagicAreaGrid[SquareIndex(2, 1)] = {};
  CurrentMap.At(kLayerWalls, 2, 1) = 46;
  Creatures[kMover].squareX = Creatures[kMover].nextX = 1;
  Creatures[kMover].squareY = Creatures[kMover].nextY = 1;
  BuildOccupancyGrids(kMover);
  ASSERT_EQ(FindCreaturePath(kMover, 1, 1, 2, 2, 0, 0, 0, 0, nullptr, nullptr), kPathFound);
  EXPECT_EQ(PathLength, 2);
}

}  // namespace
