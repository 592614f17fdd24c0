// Click results shown beside the cursor while the mouse stays in their
// rectangle, and the length limit of the floating texts.
#include "screens/game/game_screen_fixture.h"

#include <string>

#include "engine/widgets.h"
#include "screens/game/click_results.h"
#include "state/combat_action.h"
#include "state/game_screen_words.h"
#include "state/turn_order.h"

namespace {

using screentest::GameScreen;
using screentest::LayOutMap;

std::string HintAt(int x, int y) {
  harness::MoveMouse(x, y);
  EXPECT_TRUE(harness::StepFrames(1));
  return CursorHint;
}

TEST_F(GameScreen, AClickResultShowsOnlyWhileTheMouseIsInsideItsRectangle) {
  LayOutMap(20, 20);
  SetClickResult(100, 100, 16);
  EXPECT_EQ(HintAt(105, 117), "Out of range");
  EXPECT_EQ(CursorShape, 16);
  EXPECT_EQ(ClickResult.code, -1) << "taken into the shown copy";
  EXPECT_EQ(HintAt(118, 105), "");
  EXPECT_EQ(HintAt(100, 100), "") << "once left, the result is gone for good";
  EXPECT_EQ(ShownClickResult.code, 0);
  // Code 0 clears it at once.
  SetClickResult(100, 100, 16);
  EXPECT_EQ(HintAt(101, 101), "Out of range");
  ClickResult.code = 0;
  EXPECT_EQ(HintAt(101, 101), "");
  EXPECT_EQ(ShownClickResult.code, 0);
  EXPECT_EQ(ClickResult.code, -1);
  EXPECT_EQ(HintAt(102, 102), "");

  // A result whose rectangle the mouse has already left is not shown.
  harness::MoveMouse(10, 10);
  ShowClickResultAtMouse(70);
  EXPECT_EQ(HintAt(40, 40), "");
  // A code with no text of the map view shows nothing.
  SetClickResult(40, 40, 20);
  EXPECT_EQ(HintAt(45, 45), "");
}

// A refusal is the refused one's: a rest ends it, and so does the turn of
// another fighter, even one that came in the frame that wrote it.
TEST_F(GameScreen, ARefusalEndsWithARestAndWithTheRefusedFightersTurn) {
  LayOutMap(20, 20);
  HintAt(50, 50);
  ShowClickResultAtMouse(58);
  EXPECT_EQ(HintAt(50, 50), "Knights can't cast spells");
  RestFade = 1;
  EXPECT_EQ(HintAt(50, 50), "");
  RestFade = 0;
  EXPECT_EQ(HintAt(50, 50), "");

  screentest::Place(0, 2, 2);
  screentest::Place(1, 3, 2);
  InCombat = 1;
  TurnOrder[0].creature = 0;
  TurnOrder[1].creature = 1;
  TurnEntryCount = 2;
  CurrentTurnIndex = 0;
  CombatState = kStatePlayerTurn;
  ShowClickResultAtMouse(34);
  CurrentTurnIndex = 1;
  EXPECT_EQ(HintAt(50, 50), "");
  ShowClickResultAtMouse(34);
  EXPECT_EQ(HintAt(50, 50), "Too Far Away");
}

TEST(ClickResultTable, QuickSaveAndLoadResultsAndTheInventoryTexts) {
  EXPECT_STREQ(ClickResultText(62), "Success");
  EXPECT_EQ(ClickResultCursor(62), 4);
  EXPECT_EQ(ClickResultCursor(64), 4);
  EXPECT_STREQ(ClickResultText(63), "Failed");
  EXPECT_EQ(ClickResultCursor(63), 18);
  EXPECT_EQ(ClickResultCursor(65), 18);
  EXPECT_TRUE(ClickResultResetsPanel(16));
  EXPECT_FALSE(ClickResultResetsPanel(23));
  EXPECT_EQ(ClickResultText(11), std::string("Item not picked"));
  EXPECT_STREQ(InventoryClickResultText(11), "No Target Selected");
  EXPECT_EQ(ClickResultText(1), nullptr);
}

TEST(FloatingTexts, TwentyNineCharactersAreShownAndALongerTextLeavesTheOldOne) {
  ResetFloatingTexts();
  const std::string longest(29, 'x');
  EXPECT_TRUE(ShowFloatingText(longest.c_str(), 7));
  EXPECT_EQ(FloatingTexts[7].framesLeft, FloatingTextDuration);
  EXPECT_EQ(FloatingTexts[7].x, -1);
  EXPECT_FALSE(ShowFloatingText((longest + "y").c_str(), 7));
  EXPECT_EQ(std::string(FloatingTexts[7].text), longest);
  EXPECT_TRUE(ShowFloatingText(7, "Silenced"));
  EXPECT_STREQ(FloatingTexts[7].text, "Silenced");
  EXPECT_FALSE(ShowFloatingText("x", kFloatingTextCreatures));
}

}  // namespace
