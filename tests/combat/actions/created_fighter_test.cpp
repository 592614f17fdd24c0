// A created party member, in a battle begun by the meeting test, ordered to
// move and attack: the frames of the turn cycle and the executor carry the
// order out and hand the turn back for the player's next order.
#include <gtest/gtest.h>

#include "combat/actions/action_executor.h"
#include "combat/actions/combat_sounds.h"
#include "combat/turns/battle_fixture.h"
#include "map/path_finding.h"

namespace {

TEST_F(BattleTest, ACreatedFighterMovesThenAttacksAndGetsTheTurnBack) {
  MeetTwoGroups(21);
  // The first gnoll waits two squares east of the hero.
  Creatures[kFoeA].squareX = Creatures[kFoeA].nextX = 4;
  Creatures[kFoeA].squareY = Creatures[kFoeA].nextY = 1;
  OptionWords[kOptionSkipTurnAfterLeftClickAttack] = 0;
  ASSERT_EQ(StartCombat(0), 1);
  ASSERT_TRUE(UntilTurnOf(0));
  ASSERT_EQ(CombatState, kStatePlayerTurn);
  // The gnolls may have acted before the hero: they are put back where they waited.
  for (int foe : {static_cast<int>(kFoeA), static_cast<int>(kFoeB)}) {
    CreatureRecord& g = Creatures[foe];
    g.squareX = g.nextX = foe == kFoeA ? 4 : 7;
    g.squareY = g.nextY = foe == kFoeA ? 1 : 6;
    g.pixelX = g.squareX * 24;
    g.pixelY = g.squareY * 24;
  }
  BuildOccupancyGrids(0);
  const CreatureRecord& hero = Creatures[0];
  ASSERT_EQ(FindCreaturePath(0, hero.squareX, hero.squareY, 3, 1, 1, 1, 0, 0, nullptr, nullptr), kPathFound);
  const FighterSlot& slot = FighterSlots[hero.fighterSlot];
  Creatures[0].nextX = slot.pathX[0];
  Creatures[0].nextY = slot.pathY[0];
  SetCreatureFacing(0);
  ActingCreature = 0;
  ActionTarget = kFoeA;
  CombatAction.actionCode = kActionMoveAndAttack;
  CombatState = kStateActionUnderWay;
  PendingCombatSound = CombatSoundRequest{};
  int frames = 0;
  while (frames < 3000 && !(CombatAction.actionCode == 0 && CombatState != kStateActionUnderWay)) {
    mapfixture::StepCamera();
    CombatCycle();
    ExecuteCombatAction();
    ++frames;
  }
  ASSERT_LT(frames, 3000);
  EXPECT_EQ(hero.squareX, 3);
  EXPECT_EQ(hero.squareY, 1);
  std::string attack = "\xA3";
  attack.append(hero.name).append("\xA3 attacks \xA3").append(Creatures[kFoeA].name).append("\xA3");
  EXPECT_NE(Log().find(attack), std::string::npos);
  EXPECT_EQ(PendingCombatSound.pending, 1);  // left for the game screen to play
  EXPECT_EQ(CombatAction.meleeAttacksMade, 1);
  EXPECT_EQ(CombatAction.standardActionLeft, 0);
  EXPECT_EQ(CombatState, kStatePlayerTurn);
}

}  // namespace
