// The page history: pushing, the depth limit, Back and Forward, Return, the
// click rules and the roll and term links of the message log.
#include <cstring>

#include "combat/actions/combat_actions.h"
#include "engine/click_sound.h"
#include "engine/message_log.h"
#include "engine/settings.h"
#include "page_screen.h"
#include "rules/item_rules.h"
#include "rules/modifier_list.h"
#include "engine/game_screen_state.h"
#include "state/world_travel.h"

namespace {

class PageHistoryTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(pagetest::StartPages()); }
  void TearDown() override { pagetest::StopPages(); }
  // One frame of the bar alone (as at the bottom of a help page).
  static int BarFrame() {
    pagetest::NextFrame();
    int result = 0;
    pagetest::DrawScene([&] { result = DrawHelpNavBar(1, -1); });
    return result;
  }
  static int PressKeyOnBar(const char* key) {
    harness::KeyDown(key);
    const int result = BarFrame();
    harness::KeyUp(key);
    BarFrame();
    return result;
  }
};

TEST_F(PageHistoryTest, StartsAtTheLogoScreen) {
  EXPECT_EQ(PageDepth, 0);
  EXPECT_STREQ(PageHistory[0].caption, "LOGO SCREEN");
  EXPECT_EQ(PageHistory[0].type, 135);
  EXPECT_EQ(PageHistory[0].parameter, -1);
  EXPECT_EQ(ScreenMode, kModePageView);
}

TEST_F(PageHistoryTest, OpenPageAtDepth99ReplacesTheTopAndBackGoesTo98) {
  for (int i = 1; i <= 99; ++i) OpenPage("Page", 100 + i);
  ASSERT_EQ(PageDepth, 99);
  OpenPage("A caption that is far longer than thirty-one characters", 7777);
  EXPECT_EQ(PageDepth, 99);
  EXPECT_EQ(PageHighestDepth, 99);
  EXPECT_EQ(PageHistory[99].parameter, 7777);
  EXPECT_EQ(PageHistory[99].type, kPageHelpTopic);
  EXPECT_EQ(std::strlen(PageHistory[99].caption), 31u);
  EXPECT_EQ(PageHistory[98].parameter, 100 + 98);
  // Changing page clears the page's work buffers and scroll word.
  PageWork.scroll = 5;
  std::strcpy(PageWork.title, "Stale");
  EXPECT_EQ(PressKeyOnBar("Backspace"), 1);
  EXPECT_EQ(PageWork.scroll, 0);
  EXPECT_STREQ(PageWork.title, "");
  EXPECT_EQ(PageDepth, 98);
  EXPECT_EQ(PageHistory[PageDepth].parameter, 198);
}

TEST_F(PageHistoryTest, ADepthOutsideTheHundredFramesIsHeldToThemBeforeWriting) {
  // Once written at PageHistory[150] and [-6]: past the table.
  PageDepth = 150;
  OpenPage("Far", 5);
  EXPECT_EQ(PageDepth, kPageHistorySize - 1);
  EXPECT_EQ(PageHighestDepth, kPageHistorySize - 1);
  EXPECT_EQ(PageHistory[kPageHistorySize - 1].parameter, 5);
  PageDepth = -7;
  OpenPage("Below", 6);
  EXPECT_EQ(PageDepth, 1);
  EXPECT_EQ(PageHistory[1].parameter, 6);
}

TEST_F(PageHistoryTest, ForwardReturnsAndANewPageDropsTheForwardHistory) {
  OpenPage("One", 1);
  OpenPage("Two", 2);
  OpenPage("Three", 3);
  EXPECT_EQ(PressKeyOnBar("Left"), 1);
  EXPECT_EQ(PressKeyOnBar("Left"), 1);
  EXPECT_EQ(PageDepth, 1);
  EXPECT_EQ(PageHighestDepth, 3);
  EXPECT_EQ(PressKeyOnBar("Right"), 1);
  EXPECT_EQ(PageHistory[PageDepth].parameter, 2);
  OpenPage("Four", 4);
  EXPECT_EQ(PageDepth, 3);
  EXPECT_EQ(PageHighestDepth, 3);
  EXPECT_EQ(PressKeyOnBar("Right"), 0);  // nothing above
  EXPECT_EQ(PageDepth, 3);
  // At the bottom Back is not offered.
  PageDepth = 0;
  EXPECT_EQ(PressKeyOnBar("Left"), 0);
  EXPECT_EQ(PageDepth, 0);
}

TEST_F(PageHistoryTest, BackAndForwardWaitWhileSomethingElseHoldsTheBar) {
  OpenPage("One", 1);
  struct Hold {
    void (*set)();
    void (*clear)();
  } holds[] = {
      {[] { NavBarState.selection = 4; }, [] { NavBarState.selection = -1; }},
      {[] { HelpLinkSwitch = 1; }, [] { HelpLinkSwitch = 0; }},
      {[] { ScreenMode = kModeWandPicker; }, [] { ScreenMode = kModePageView; }},
      {[] { ScreenMode = kModeEnchantPicker; }, [] { ScreenMode = kModePageView; }},
      {[] { CombatAction.holdsRightButton = 1; }, [] { CombatAction.holdsRightButton = 0; }},
  };
  for (const Hold& h : holds) {
    h.set();
    PressKeyOnBar("Left");
    EXPECT_EQ(PageDepth, 1);
    h.clear();
  }
  EXPECT_EQ(PressKeyOnBar("Left"), 1);
  EXPECT_EQ(PageDepth, 0);
}

TEST_F(PageHistoryTest, ReturnLeavesPageViewForTheSavedMode) {
  struct Case {
    uint32_t saved;
    const char* key;
    int option;
    uint32_t mode;
  } cases[] = {{kModeLocalMap, "Escape", -1, kModeLocalMap},
               {kModeExploring, "Space", -1, kModeExploring},
               {kModeCreatureHovered, "M", 2, kModeCreatureHovered},
               {kModeItemPileHovered, "I", 1, kModeItemPileHovered}};
  for (const Case& c : cases) {
    ScreenMode = kModePageView;
    SavedScreenMode = c.saved;
    OpenPage("One", 1);
    PageWork.scroll = 3;
    harness::KeyDown(c.key);
    pagetest::NextFrame();
    int result = 0;
    pagetest::DrawScene([&] { result = DrawHelpNavBar(1, c.option); });
    harness::KeyUp(c.key);
    BarFrame();
    EXPECT_EQ(result, 1) << c.key;
    EXPECT_EQ(ScreenMode, c.mode) << c.key;
    EXPECT_EQ(SavedScreenMode, kModeExploring);
    EXPECT_EQ(PageDepth, 0);
    EXPECT_EQ(PageHighestDepth, 0);
    EXPECT_EQ(PageWork.scroll, 0);
  }
  // M is no Return key unless asked for; Escape is not while Left Shift is held.
  ScreenMode = kModePageView;
  OpenPage("One", 1);
  EXPECT_EQ(PressKeyOnBar("M"), 0);
  harness::KeyDown("Left Shift");
  EXPECT_EQ(PressKeyOnBar("Escape"), 0);
  harness::KeyUp("Left Shift");
  EXPECT_EQ(ScreenMode, kModePageView);
  // Not offered while the game screen says so.
  NavBarState.flags[1] = 1;
  EXPECT_EQ(PressKeyOnBar("Space"), 0);
  NavBarState.flags[1] = 0;
  // A combat action holding the right button: a right press returns and ends it.
  CombatAction.holdsRightButton = 1;
  platform::InjectMouseButton(1, true);
  EXPECT_EQ(BarFrame(), 1);
  platform::InjectMouseButton(1, false);
  EXPECT_EQ(CombatAction.actionCode, 13);
  EXPECT_EQ(ScreenMode, kModeExploring);
}

TEST_F(PageHistoryTest, AClickIsTakenOnceWhileTheButtonStaysDown) {
  OptionWords[kOptionSoundVolume] = 65;
  const int clicks = ClickSoundsStarted();
  platform::InjectMouseButton(0, true);
  int taken = 0;
  for (int frame = 0; frame < 4; ++frame) {
    pagetest::NextFrame();
    taken += ConsumeClick(1);
  }
  EXPECT_EQ(taken, 1);
  EXPECT_EQ(ClickSoundsStarted(), clicks + 1);
  platform::InjectMouseButton(0, false);
  pagetest::NextFrame();
  EXPECT_EQ(ConsumeClick(0), 0);
  // The right button counts too; a second press is a new click.
  platform::InjectMouseButton(1, true);
  pagetest::NextFrame();
  EXPECT_EQ(ConsumeClick(0), 1);
  EXPECT_EQ(ClickSoundsStarted(), clicks + 1);  // no sound asked for
  platform::InjectMouseButton(1, false);
  pagetest::NextFrame();
  // With the sound volume at 0 the action happens without a click.
  OptionWords[kOptionSoundVolume] = 0;
  platform::InjectMouseButton(0, true);
  pagetest::NextFrame();
  EXPECT_TRUE(OpenPageOnClick("Quiet", 55));
  EXPECT_EQ(PageHistory[PageDepth].parameter, 55);
  EXPECT_EQ(ClickSoundsStarted(), clicks + 1);
  platform::InjectMouseButton(0, false);
  pagetest::NextFrame();
}

TEST_F(PageHistoryTest, PollPointerButtonsLatchesTheOpeningPress) {
  platform::InjectMouseButton(0, true);
  pagetest::NextFrame();
  PollPointerButtons();
  EXPECT_EQ(ConsumeClick(0), 0);
  platform::InjectMouseButton(0, false);
  pagetest::NextFrame();
}

TEST_F(PageHistoryTest, OpenPageWithSoundTakesAFreshRightPress) {
  ScreenMode = kModeExploring;
  EXPECT_FALSE(OpenPageWithSound("Feats", 31000));
  platform::InjectMouseButton(1, true);
  pagetest::NextFrame();
  EXPECT_TRUE(OpenPageWithSound("Feats", 31000));
  EXPECT_EQ(ScreenMode, kModePageView);
  EXPECT_EQ(PageHistory[PageDepth].parameter, 31000);
  EXPECT_FALSE(OpenPageWithSound("Feats", 31000));  // latched
  platform::InjectMouseButton(1, false);
  pagetest::NextFrame();
}

TEST_F(PageHistoryTest, ShowLocalMapModePutsThePartyOnTheMapsWorldSquare) {
  TravelDestinationShown = 1;
  PartyWorldSquare[0] = 3;
  PartyWorldSquare[1] = 4;
  CurrentMapWorldSquare[0] = 0;
  CurrentMapWorldSquare[1] = 9;
  ShowLocalMapMode();
  EXPECT_EQ(ScreenMode, kModeLocalMap);
  EXPECT_EQ(TravelDestinationShown, 0);
  EXPECT_EQ(PartyWorldSquare[0], 3u);
  CurrentMapWorldSquare[0] = 12;
  ShowLocalMapMode();
  EXPECT_EQ(PartyWorldSquare[0], 12u);
  EXPECT_EQ(PartyWorldSquare[1], 9u);
}

// The message log's roll links and terms, clicked as on the game screen.
class LogLinks : public PageHistoryTest {
 protected:
  void SetUp() override {
    PageHistoryTest::SetUp();
    ScreenMode = kModeExploring;
    ClearMessageLog();
    InitModifierList(&CombatRollLog[7]);
    std::strcpy(CombatRollLog[7].caption, "Concentration Check Difficulty Class");
  }
  // Draws the log at large columns 1 to 38, rows 20 to 28, with the pointer
  // over the given cell, for two frames (the pointer arrives, then rests).
  void Hover(int column, int row) {
    harness::MoveMouse(column * 8 + 3, row * 8 + 3);
    for (int i = 0; i < 2; ++i) {
      pagetest::NextFrame();
      Draw();
    }
  }
  void Draw() {
    std::memset(HoverCaption, 0, 100);
    pagetest::DrawScene([] { DrawLinkedText(MessageLogText, 4, 1, 20, 38, 28, 0, 1, 1, 1); });
  }
  void Click() {
    platform::InjectMouseButton(0, true);
    pagetest::NextFrame();
    Draw();
    platform::InjectMouseButton(0, false);
    pagetest::NextFrame();
  }
};

TEST_F(LogLinks, ARolledNumberOpensItsBreakdown) {
  LogMessage("Success (DC @%i|%.2i@)\r", 15, 7);
  Hover(1 + 12, 20);  // the '1' of 15
  EXPECT_EQ(LinkHover.linkStart, 12);
  EXPECT_EQ(LinkHover.linkEnd, 18);  // "@15|07@" without the ')'
  EXPECT_EQ(CursorShape, kCursorOverLink);
  EXPECT_STREQ(HoverCaption, "Concentration Check Difficulty");  // its first 30 characters
  Click();
  EXPECT_EQ(ScreenMode, kModePageView);
  EXPECT_EQ(PageDepth, 0);
  EXPECT_EQ(PageHistory[0].type, kPageRollBreakdown);
  EXPECT_EQ(PageHistory[0].parameter, 7);
}

TEST_F(LogLinks, RollIndex99AndTermsOpenNothing) {
  LogMessage("Failure (DC @%i|%.2i@) for \xA3Goblin\xA3.\r", 12, 99);
  Hover(1 + 13, 20);  // the '2' of 12
  EXPECT_EQ(LinkHover.hoveredChar, 14);
  EXPECT_EQ(LinkHover.linkStart, -1);
  Click();
  EXPECT_EQ(ScreenMode, kModeExploring);
  Hover(1 + 21, 20);  // the 'G' of Goblin
  EXPECT_EQ(LinkHover.linkStart, -1);
  Click();
  EXPECT_EQ(ScreenMode, kModeExploring);
}

TEST_F(LogLinks, KeywordsWithoutAPageAndSwitchedOffLinksOpenNothing) {
  LogMessage("@NO_SUCH_RULE@ and @IRON_WILL@\r");
  Hover(1 + 2, 20);
  EXPECT_EQ(LinkHover.linkStart, -1);
  Click();
  EXPECT_EQ(ScreenMode, kModeExploring);
  HelpLinkSwitch = 1;
  Hover(1 + 20, 20);
  Click();
  EXPECT_EQ(ScreenMode, kModeExploring);
  HelpLinkSwitch = 0;
  Hover(1 + 21, 20);
  EXPECT_STREQ(HoverCaption, "Iron Will");
  Click();
  EXPECT_EQ(ScreenMode, kModePageView);
  EXPECT_EQ(PageHistory[0].parameter, 31008);
}

}  // namespace
