// The banner of what the fighter whose turn it is does this frame.
#include "screens/game/panels_fixture.h"

#include "combat/actions/action_executor.h"
#include "combat/actions/reactions.h"
#include "combat/resolution/attack_resolution.h"
#include "combat/turns/combat_cycle.h"

namespace {

using panelstest::From;
using screentest::GameScreen;

constexpr int kRayOfFrost = 11;

class Banner : public GameScreen {
 protected:
  void SetUp() override {
    GameScreen::SetUp();
    panelstest::LayOutBattle();
    CombatState = kStateActionUnderWay;
    harness::MoveMouse(100, 120);
  }
  static std::string Shown() { return From(panelstest::DrawAlone()[1], 2); }
};

TEST_F(Banner, AnAttackShowsItsCounterUnlessHiddenButACleaveAlways) {
  CombatAction.actionCode = kActionFullAttack;
  CombatAction.attackMade = 1;
  std::snprintf(AttackLabel, sizeof AttackLabel, "Longsword");
  AttackCounterDisplay = {2, 3, 0, -1};
  EXPECT_EQ(Shown(), "Attack 02/03 (Longsword)");
  AttackCounterDisplay.hidden = 1;
  EXPECT_EQ(Shown(), "");
  AttackCounterDisplay.cleaveKind = 1;
  EXPECT_EQ(Shown(), "Cleave");
  AttackCounterDisplay.cleaveKind = 2;
  EXPECT_EQ(Shown(), "Great Cleave");
  // Before its first real attack an attack order shows nothing.
  CombatAction.attackMade = 0;
  EXPECT_EQ(Shown(), "");
  // Shots count by their own rule.
  CombatAction.actionCode = kActionFullShots;
  std::snprintf(AttackLabel, sizeof AttackLabel, "Longbow");
  AttackCounterDisplay = {1, 2, 0, -1};
  EXPECT_EQ(Shown(), "Shooting 01/02 (Longbow)");
  // With the rolls panel open the banner shows only while a cast is announced.
  CombatRollsShown = 1;
  EXPECT_EQ(Shown(), "");
  ScreenMode = kModeCastAnnounce;
  EXPECT_EQ(Shown(), "Shooting 01/02 (Longbow)");
}

TEST_F(Banner, AFighterOfOneMoveNeverShowsADoubleMove) {
  CombatAction.actionCode = kActionWalkPath;
  for (int32_t sense : {0, 8}) {
    Creatures[0].special[kSenseKindWord] = sense;
    CombatAction.movesLeft = 60;
    EXPECT_EQ(Shown(), "Move Action") << sense;
    CombatAction.movesLeft = 20;
    EXPECT_EQ(Shown(), sense == 8 ? "Move Action" : "Double Move Action");
    // A first step that costs a whole move is a double move from the start.
    CombatAction.movesLeft = 60;
    Creatures[0].speed = {30, 5};
    Creatures[0].nextX = Creatures[0].squareX + 1;
    EXPECT_EQ(Shown(), sense == 8 ? "Move Action" : "Double Move Action");
    Creatures[0].speed = {30, 30};
    Creatures[0].nextX = Creatures[0].squareX;
  }
}

TEST_F(Banner, SpellsReadiedActionsAndTheComputerThinking) {
  SpellInProgress = kRayOfFrost;
  EXPECT_EQ(Shown(), "Ray of Frost");
  PendingMetamagic = 1;
  EXPECT_EQ(Shown(), "Maximised Ray of Frost");
  CastingFromItem = CastingWand = 1;
  EXPECT_EQ(Shown(), "Ray Of Frost Wand");
  CastingFromItem = CastingWand = 0;
  CastingSpellLike = 1;
  EXPECT_EQ(Shown(), "Ray Of Frost Spell-Like Ability");
  CastingSpellLike = 0;
  SpellInProgress = 999;
  Creatures[0].special[kSpecialAttackKind] = 13;
  EXPECT_EQ(Shown(), "Breath Weapon (Cold)");
  SpellInProgress = -1;

  CombatAction.actionCode = kActionEnd;
  CombatAction.endedActionCode = 31;
  EXPECT_EQ(Shown(), "Ready versus approach");
  ReadiedAttack.underway = 1;
  EXPECT_EQ(Shown(), "Ready Versus Approach");
  ReadiedAttack.underway = 0;

  CombatAction.actionCode = kActionNone;
  CombatAction.playerControlled = 0;
  CombatAction.standardActionLeft = 1;
  TurnOrder[0].plannedAction = 5;
  EXPECT_EQ(Shown(), "(Thinking)");
  CombatAction.standardActionLeft = 0;
  EXPECT_EQ(Shown(), "");
}

}  // namespace
