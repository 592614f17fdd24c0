// Click results shown beside the cursor while the mouse stays in their
// rectangle, and the length limit of the floating texts.
#include "screens/game/game_screen_fixture.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "creatures/creature_kinds.h"
#include "engine/settings.h"
#include "engine/text.h"
#include "engine/widgets.h"
#include "harness/play_verbs.h"
#include "screens/game/map_input_fixture.h"
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

// Over an orc two knights flank, with the expanded tooltip on, the chance
// stands beside the pointer and "Flanked" one line under it, at its left,
// in every window size (in the 960x720 (b) window the label stood half as
// far again from the picture's corner as the chance, or off the picture).
TEST_F(GameScreen, TheSituationLabelStandsUnderTheChanceInEveryWindowSize) {
  harness::SeedRandom(3);
  scenes::LayOutGround(40, 30);
  scenes::AddKnight(0, 19, 15);
  Creatures[0].dexterity = {40, 40};
  scenes::AddKnight(1, 21, 15);
  scenes::AddFoe(scenes::kFirstFoe, kKindOrc, 20, 15);
  scenes::Finish();
  OptionWords[kOptionDisplayExpandedTooltip] = 1;
  harness::MoveMouse(300, 220);
  ASSERT_TRUE(inputtest::WaitForTurnOf(0));
  // A run's cells left to right, and its letters so read.
  const auto sorted = [](const TextRun& run) {
    std::vector<TextCell> cells = run.cells;
    std::sort(cells.begin(), cells.end(), [](const TextCell& a, const TextCell& b) { return a.x < b.x; });
    return cells;
  };
  const auto text = [&](const TextRun& run) {
    std::string s;
    for (const TextCell& c : sorted(run)) s.push_back(static_cast<char>(c.c));
    return s;
  };
  for (uint32_t size : {1u, 2u, 3u}) {
    harness::ChooseMenu(999 + static_cast<int>(size));
    ASSERT_TRUE(harness::StepFrames(1));
    ASSERT_EQ(WindowSize, size);
    int x = 0, y = 0;
    for (const auto& [px, py] : {std::pair{200, 180}, std::pair{300, 200}}) {
      // The orc under the pointer, low and then right in the picture (the
      // wide window's view shows 3 map pixels in 2 of the picture).
      const int mapPixels = IsWideView() ? 3 : 2;
      ViewOriginX = 20 * 24 + 12 - px * mapPixels / 2;
      ViewOriginY = 15 * 24 + 12 - py * mapPixels / 2;
      FollowTarget = -1;
      playverbs::SquarePoint(20, 15, &x, &y);
      ASSERT_EQ(x, px);
      ASSERT_EQ(y, py);
      harness::MoveMouse(x, y);
      ASSERT_TRUE(harness::StepFrames(2));
      std::vector<TextRun> runs;
      RecordTextRuns(&runs);
      ASSERT_TRUE(harness::StepFrames(1));
      RecordTextRuns(nullptr);
      const TextRun *chance = nullptr, *label = nullptr;
      for (const TextRun& run : runs) {
        const std::string s = text(run);
        if (run.backed && !s.empty() && s.back() == '%') chance = &run;
        if (s == "Flanked") label = &run;
      }
      ASSERT_NE(chance, nullptr) << size;
      ASSERT_NE(label, nullptr) << size;
      const TextCell first = sorted(*label).front(), hint = sorted(*chance).front();
      EXPECT_EQ(first.x, hint.x) << "window size " << size << " at " << x << "," << y;
      EXPECT_EQ(first.y, hint.y + 8) << "window size " << size << " at " << x << "," << y;
      EXPECT_LE(first.x + 8 * 7, 320) << size;
      EXPECT_LE(first.y + 8, 240) << size;
    }
  }
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
