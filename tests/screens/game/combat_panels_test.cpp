// The panels of the combat screen on the player's turn: the status boxes,
// the initiative order, the banner of an attack order waiting for its target
// and the combat-rolls panel.
#include "screens/game/panels_fixture.h"

#include "screens/game/map_input_fixture.h"

#include "combat/turns/combat_cycle.h"
#include "engine/message_log.h"
#include "engine/page_history_access.h"
#include "engine/sprite_sheets.h"
#include "engine/widgets.h"
#include "rules/conditions.h"
#include "rules/combat_roll_log.h"
#include "rules/breakdown_sources.h"
#include "rules/modifier_list.h"

namespace {

using panelstest::From;
using panelstest::kChief;
using panelstest::kGnoll;
using panelstest::LayOutBattle;
using panelstest::Screen;
using screentest::GameScreen;

TEST_F(GameScreen, TheStatusBoxesNameTheConditionThatMattersMost) {
  LayOutBattle();
  harness::MoveMouse(100, 120);
  std::vector<std::string> rows = Screen();
  EXPECT_EQ(rows[26], "Aldric");
  EXPECT_EQ(rows[27], "Okay");
  EXPECT_EQ(rows[28], "HP: 10/10");
  EXPECT_EQ(rows[29], "Moves: 60/60 Feet");

  AddCondition(0, kCondFlatFooted, 5, 0, 18, 0);
  AddCondition(0, kCondStunned, 5, 0, 18, 0);
  CombatAction.movesLeft = 25;
  Creatures[0].hitPoints = 4;
  rows = Screen();
  EXPECT_EQ(rows[27], "Stunned");
  EXPECT_EQ(rows[28], "HP: 4/10");
  EXPECT_EQ(rows[29], "Moves: 25/60 Feet");

  // A stuck fighter has no moves, whatever its moves-left word says; the
  // hasted fire-shielded target shows its haste, on the player's turn only.
  AddCondition(0, kCondStuck, 5, 0, 18, 0);
  AddCondition(kGnoll, kCondFireShielded, 5, 0, 18, 0);
  AddCondition(kGnoll, kCondHasted, 5, 0, 18, 0);
  ShownTargetCreature = kGnoll;
  rows = Screen();
  EXPECT_EQ(rows[29], "Moves: 0/60 Feet");
  EXPECT_EQ(From(rows[26], 24), "Gnoll");
  EXPECT_EQ(From(rows[27], 24), "Hasted");
  CombatState = kStateActionUnderWay;
  CombatAction.actionCode = 99;  // an action nothing carries out: the state stays
  rows = Screen();
  EXPECT_EQ(rows[26], "Aldric");
}

TEST_F(GameScreen, TheInitiativeListFollowsTheTurnOrderAndScrollsFromTwentySeven) {
  LayOutBattle();
  harness::MoveMouse(100, 120);
  std::vector<std::string> rows = Screen();
  const char* expected[] = {"Aldric", "Gnoll", "Brenna", "Gnoll Chief", "Corwin", "Dara", "View Actions"};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(From(rows[i + 1], 24), expected[i]) << i;
  EXPECT_EQ(SidePanelRows, 8);
  // The "960x720 (b)" window draws the map in wider cells; the list keeps the
  // cells of its frame (and of its mouse tests).
  harness::ChooseMenu(1002);
  rows = Screen();
  for (int i = 0; i < 7; ++i) EXPECT_EQ(From(rows[i + 1], 24), expected[i]) << "wide window " << i;
  harness::ChooseMenu(1001);

  // A fighter joins after the chief, and the first gnoll falls.
  for (int i = 6; i > 4; --i) TurnOrder[i] = TurnOrder[i - 1];
  TurnOrder[4].creature = 5;
  std::snprintf(Creatures[5].name, sizeof Creatures[5].name, "Wolf");
  TurnEntryCount = 7;
  for (int i = 1; i < 6; ++i) TurnOrder[i] = TurnOrder[i + 1];
  TurnEntryCount = 6;
  rows = Screen();
  const char* after[] = {"Aldric", "Brenna", "Gnoll Chief", "Wolf", "Corwin", "Dara", "View Actions"};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(From(rows[i + 1], 24), after[i]) << i;

  // Twenty-six fighters fit; from twenty-seven on the list scrolls, and a new
  // turn brings the acting entry into view only when it is off the list.
  for (int n : {26, 27, 30}) {
    for (int i = 0; i < n; ++i) {
      TurnOrder[i].creature = 700 + i;
      std::snprintf(Creatures[700 + i].name, sizeof Creatures[700 + i].name, "Fighter %i", i);
    }
    TurnEntryCount = n;
    InitiativeScrollTop = 0;
    CurrentTurnIndex = n - 2;
    InitiativeAutoScroll = 1;
    rows = Screen();
    EXPECT_EQ(InitiativeScrollTop, n < 27 ? 0 : n - 27) << n;
    EXPECT_EQ(From(rows[28], 24), n < 27 ? "" : "View Actions") << n;
  }
  CurrentTurnIndex = 10;
  InitiativeAutoScroll = 1;
  Screen();
  EXPECT_EQ(InitiativeScrollTop, 3);
  EXPECT_EQ(InitiativeAutoScroll, 0);
  // A click in the upper arrow zone scrolls one entry up.
  harness::Click(37 * 8, 2 * 8 + 4);
  EXPECT_EQ(InitiativeScrollTop, 2);
  EXPECT_EQ(From(Screen()[1], 24), "Fighter 2");
}

// The banner names the attack under the cursor while it is there: not over
// open ground afterwards (nor, so, in the next fighter's turn).
TEST_F(GameScreen, TheBannerNamesTheAttackOrderOrTheSurpriseRound) {
  LayOutBattle();
  harness::MoveMouse(100, 120);
  SurpriseRound = 1;
  EXPECT_EQ(Screen()[1].substr(0, 16), "  Surprise Round");
  SurpriseRound = 0;
  CombatAction.standardActionLeft = 1;
  WeaponMode = 1;
  Creatures[kGnoll].squareX = Creatures[kGnoll].nextX = 7;  // beside Aldric
  Creatures[kGnoll].pixelX = 24 * 7;
  ASSERT_TRUE(harness::StepFrames(30));  // the view settles on Aldric
  harness::MoveMouse(inputtest::ScreenX(7), inputtest::ScreenY(6));
  Screen();
  EXPECT_EQ(Screen()[1].substr(0, 16), "  Melee Attack  ");
  EXPECT_EQ(AttackCounterDisplay.hidden, 1);
  CombatRollsShown = 1;
  EXPECT_EQ(Screen()[1].find("Attack"), std::string::npos);
  CombatRollsShown = 0;
  harness::MoveMouse(100, 120);
  EXPECT_EQ(Screen()[1].find("Attack"), std::string::npos);
}

// The frames of sheet 13 the rolls panel drew: thumb (482-484) and arrows.
std::vector<int> PanelPieces(const std::vector<SheetDraw>& draws) {
  std::vector<int> frames;
  for (const SheetDraw& d : draws)
    if (d.slot == 13 && d.frame >= 482 && d.frame <= 486) frames.push_back(d.frame);
  return frames;
}

std::vector<int> RollsFrame() {
  std::vector<SheetDraw> draws;
  RecordSheetDraws(&draws);
  CursorShape = 4;
  harness::StepFrames(1);
  RecordSheetDraws(nullptr);
  return PanelPieces(draws);
}

TEST_F(GameScreen, TheRollsPanelFollowsTheLogAndScrollsByKeys) {
  LayOutBattle();
  CombatRollsShown = 1;
  ClearMessageLog();
  LogMessage("A short log.\r");
  harness::MoveMouse(60, 40);
  EXPECT_TRUE(RollsFrame().empty()) << "no scroll bar and no arrows";
  harness::Wheel(-1);
  RollsFrame();
  EXPECT_EQ(RollsScrollLine, 0);

  for (int i = 0; i < 40; ++i) LogMessage("Line %i of the battle.\r", i);
  RollsFrame();
  const int32_t end = RollsScrollLine;
  EXPECT_GT(end, 20);
  const std::vector<int> pieces = RollsFrame();
  EXPECT_EQ(pieces, (std::vector<int>{482, 483, 484, 485})) << "the thumb at the bottom and the up arrow";

  // Home goes to the top once; Page Down held goes one line a frame; End
  // goes back to the end once.
  harness::KeyDown("Home");
  RollsFrame();
  RollsFrame();
  harness::KeyUp("Home");
  EXPECT_EQ(RollsScrollLine, 0);
  harness::KeyDown("PageDown");
  for (int i = 0; i < 4; ++i) RollsFrame();
  harness::KeyUp("PageDown");
  EXPECT_EQ(RollsScrollLine, 4);
  harness::KeyDown("End");
  RollsFrame();
  RollsFrame();
  EXPECT_EQ(RollsScrollLine, end);
  RollsScrollLine = 2;
  RollsFrame();
  harness::KeyUp("End");
  EXPECT_EQ(RollsScrollLine, 2);
}

TEST_F(GameScreen, ARollLinkOfTheRollsPanelOpensItsBreakdown) {
  LayOutBattle();
  CombatRollsShown = 1;
  ClearMessageLog();
  ModifierList roll;
  std::snprintf(roll.caption, sizeof roll.caption, "Attack Roll (Aldric)");
  AddModifier(14, &roll, kSrcD20Roll);
  const int index = StoreCombatRoll(roll);
  LogMessage("Hit @14|%.2i@.\r", index);
  harness::MoveMouse(22, 2);
  harness::StepFrames(1);
  harness::Click(22, 2);
  EXPECT_EQ(ScreenMode, static_cast<uint32_t>(kModePageView));
  EXPECT_EQ(TopPageType(), kPageRollBreakdown);
  EXPECT_EQ(TopPageParameter(), index);
}

TEST_F(GameScreen, CombatPanelsPicture) {
  LayOutBattle();
  AddCondition(0, kCondHasted, 5, 0, 18, 0);
  CombatAction.movesLeft = 35;
  Creatures[kChief].hitPoints = 3;
  ShownTargetCreature = kChief;
  harness::MoveMouse(212, 26);  // on "Brenna" in the initiative list
  ASSERT_TRUE(harness::StepFrames(3));
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, "combat_panels"), 0);
}

}  // namespace
