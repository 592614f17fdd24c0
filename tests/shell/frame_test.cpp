// The per-frame operation, page view's dispatch, and the display switches,
// on the game started headless.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "shell/application.h"
#include "shell/display_modes.h"
#include "adventure/world_commands.h"
#include "creatures/create_creature.h"
#include "creatures/creature_kinds.h"
#include "map/map_record.h"
#include "rules/creature_record.h"
#include "rules/inventory_slots.h"
#include "rules/item_tables.h"
#include "state/camera.h"
#include "state/party_leader.h"
#include "shell/frame.h"
#include "engine/graphics.h"
#include "engine/input.h"
#include "engine/linked_text.h"
#include "engine/message_log.h"
#include "shell/page_dispatch.h"
#include "engine/page_history_access.h"
#include "engine/last_screen.h"
#include "engine/settings.h"
#include "state/encounters.h"
#include "state/fighter_slots.h"
#include "state/game_progress.h"
#include "state/game_screen_words.h"
#include "harness/harness.h"
#include "harness/test_scenes.h"
#include "platform/render.h"
#include "platform/system.h"
#include "platform/window.h"

namespace {

using platform::GetClientSize;

class Game : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(harness::StartGame()); }
  void TearDown() override { harness::StopGame(); }
  static void ClientSize(int* w, int* h) { GetClientSize(MainWindowHandle, w, h); }
};

TEST_F(Game, StartsAtTheLogoPageInA960By720Window) {
  EXPECT_EQ(ScreenMode, kModePageView);
  EXPECT_EQ(TopPageType(), 135);
  EXPECT_EQ(TopPageParameter(), -1);
  EXPECT_STREQ(TopPageCaption(), "LOGO SCREEN");
  int w = 0, h = 0;
  ClientSize(&w, &h);
  EXPECT_EQ(w, 960);
  EXPECT_EQ(h, 720);
  ASSERT_TRUE(harness::StepFrames(2));
  EXPECT_STREQ(LastScreenDrawn, "SplashScreen");
}

TEST_F(Game, TheFirstFrameReturnsAtOnce) {
  ResetFramePacing();
  const int presents = Graphics.device->PresentCount();
  const uint32_t step = AnimationStep;
  EXPECT_EQ(App.Frame(), 1);
  EXPECT_EQ(Graphics.device->PresentCount(), presents);
  EXPECT_EQ(AnimationStep, step);
  // Within 15 ms nothing runs either; after them one frame does.
  platform::AdvanceManualClock(14);
  EXPECT_EQ(App.Frame(), 1);
  EXPECT_EQ(Graphics.device->PresentCount(), presents);
  platform::AdvanceManualClock(1);
  EXPECT_EQ(App.Frame(), 1);
  EXPECT_EQ(Graphics.device->PresentCount(), presents + 1);
}

TEST_F(Game, TheLoopSleepsUntilTheNextFrameIsDueOrAMessageComes) {
  ResetFramePacing();
  EXPECT_EQ(App.IdleMilliseconds(), 0u);  // the first call starts the clock at once
  App.Frame();
  EXPECT_EQ(App.IdleMilliseconds(), 15u);
  platform::AdvanceManualClock(14);
  EXPECT_EQ(App.IdleMilliseconds(), 1u);
  App.Frame();  // still too early: nothing ran, the schedule holds
  EXPECT_EQ(App.IdleMilliseconds(), 1u);
  platform::AdvanceManualClock(1);
  EXPECT_EQ(App.IdleMilliseconds(), 0u);
  const int presents = Graphics.device->PresentCount();
  App.Frame();
  EXPECT_EQ(Graphics.device->PresentCount(), presents + 1);
  EXPECT_EQ(App.IdleMilliseconds(), 15u);
  // Accelerated combat runs a frame every pass.
  OptionWords[kOptionAcceleratedCombat] = 1;
  EXPECT_EQ(App.IdleMilliseconds(), 0u);
  OptionWords[kOptionAcceleratedCombat] = 0;

  // The wait ends at once when a message is waiting (under the manual clock
  // it never sleeps).
  EXPECT_TRUE(harness::PumpMessages());
  EXPECT_FALSE(platform::WaitAppMessage(1000));
  platform::PostAppMessage(MainWindowHandle, platform::kMsgCommand, 2000, 0);
  EXPECT_TRUE(platform::WaitAppMessage(1000));
  EXPECT_TRUE(harness::PumpMessages());
}

TEST_F(Game, AcceleratedCombatDropsThePace) {
  ASSERT_TRUE(harness::StepFrames(1));
  OptionWords[kOptionAcceleratedCombat] = 1;
  const int presents = Graphics.device->PresentCount();
  EXPECT_EQ(App.Frame(), 1);
  EXPECT_EQ(App.Frame(), 1);
  EXPECT_EQ(Graphics.device->PresentCount(), presents + 2);
  OptionWords[kOptionAcceleratedCombat] = 0;
}

// Accelerated combat lifts the 15 ms pace, not the display's: in a window
// that shows its pictures a minute of passes (one every millisecond, as a
// processor that races would run them) runs at most as many frames as the
// display shows, and the day (a minute of it every fifth frame of
// exploring) goes no faster; nor slower.
TEST_F(Game, AcceleratedFramesInAWindowKeepToTheDisplaysRefresh) {
  harness::LeaveWindowWithoutManager();
  ASSERT_TRUE(scenes::LayOutScene("camp"));  // exploring, combat accelerated
  harness::MoveMouse(40, 40);                // off the party
  ASSERT_EQ(OptionWords[kOptionAcceleratedCombat], 1);
  ASSERT_TRUE(harness::StepFrames(2));
  const int64_t refresh = platform::DisplayRefreshMicroseconds(MainWindowHandle);
  ASSERT_GT(refresh, 0);
  const int64_t dayMinutesAllowed = 60'000'000 / refresh / 5;
  int64_t dayMinutes = 0;
  uint32_t clock = DayClock;
  int ms = 0;
  for (; ms < 60'000 && dayMinutes <= dayMinutesAllowed + 1; ++ms) {
    platform::AdvanceManualClock(1);
    ASSERT_TRUE(App.RunPass());
    dayMinutes += (DayClock + 1440 - clock) % 1440;
    clock = DayClock;
  }
  EXPECT_LE(dayMinutes, dayMinutesAllowed + 1) << "by " << ms << " ms of the minute";
  EXPECT_GE(dayMinutes, dayMinutesAllowed - 1);
  platform::PresentWhileHeadless(false);
  platform::KeepSizeOnFullScreen(false);
}

TEST_F(Game, TheOverlayShowsOnlyBlack) {
  ASSERT_TRUE(harness::StepFrames(1));
  App.OverlayActive = 1;
  const uint32_t step = AnimationStep;
  LastScreenDrawn = "";
  ASSERT_TRUE(harness::StepFrames(2));
  EXPECT_EQ(AnimationStep, step);
  EXPECT_STREQ(LastScreenDrawn, "");
  App.OverlayActive = 0;
}

TEST_F(Game, EachScreenModeDrawsItsScreen) {
  ASSERT_TRUE(harness::StepFrames(1));
  const struct {
    uint32_t mode;
    const char* screen;
  } cases[] = {{kModeDefeat, "DrawDefeatScreen"},       {kModeVictory, "DrawVictoryScreen"},
               {kModeEndOfIntro, "DrawEndOfDemoScreen"}, {kModeLocalMap, "DrawWorldMapScreen"},
               {kModeExploring, "GameScreenFrame"},      {kModeCastStart, "GameScreenFrame"},
               {kModeWandPicker, "DrawInventoryScreen"}};
  for (const auto& c : cases) {
    ScreenMode = c.mode;
    LastScreenDrawn = "";
    ASSERT_TRUE(harness::StepFrames(1));
    EXPECT_STREQ(LastScreenDrawn, c.screen) << c.mode;
  }
  SetFirstPage("Inventory", kPageInventory, 2100);  // a creature past the table draws nothing
  ScreenMode = kModePageView;
  LastScreenDrawn = "";
  ASSERT_TRUE(harness::StepFrames(1));
  EXPECT_STREQ(LastScreenDrawn, "");
}

// A group run away from on a battlefield of the road (the scene's map 3)
// stays behind when the world map shows, and its orc's sword row comes
// back; the record's "Options" and the menu's "Back to the Game" find the
// party exploring there, not in a casting step kept from an earlier menu.
TEST_F(Game, TheWorldMapLeavesAGroupOfTheRoadBehind) {
  ASSERT_TRUE(harness::StepFrames(1));
  scenes::LayOutGround(20, 20);
  for (int m = 0; m < 4; ++m) scenes::AddKnight(m, 5 + m, 5);
  const int orc = kFirstEncounterCreature;
  CreateCreature(scenes::kSceneMap, 7, 8, orc, kKindOrc, kClassKnight, 0, 0, 1, 0, 0, 0, kWeaponLongsword, 0, 0);
  const uint32_t sword = Creatures[orc].equipment[kSlotRightHand - 1];
  ASSERT_GE(sword, static_cast<uint32_t>(kFirstGeneratedItemRow));
  scenes::Finish();
  GameRunningFlag = 1;
  ScreenMode = kModeLocalMap;  // "Run away."
  ASSERT_TRUE(harness::StepFrames(1));
  EXPECT_EQ(Creatures[orc].present, 0);
  EXPECT_EQ(CraftedWeapons[sword].name[0], '\0');
  EXPECT_EQ(FighterCount, 4);
  MenuReturnMode = kModeCastResolve;
  ASSERT_TRUE(harness::PressKey("1"));
  EXPECT_EQ(TopPageType(), kPageCharacterRecord);
  harness::Click(10, 195);  // "Options"
  ASSERT_TRUE(harness::StepFrames(1));
  EXPECT_EQ(TopPageType(), kPageMainMenu);
  ASSERT_TRUE(harness::PressKey("Escape"));
  EXPECT_EQ(ScreenMode, kModeExploring);
  GameRunningFlag = 0;
}

TEST_F(Game, TheEnchantPickerPushesTheEnchantPage) {
  ASSERT_TRUE(harness::StepFrames(1));
  ScreenMode = kModeEnchantPicker;
  EXPECT_EQ(ItemPickerFrame(), 1);  // nothing chosen: the picker stays
  EXPECT_EQ(ScreenMode, kModeEnchantPicker);
}

TEST(PageDispatch, PageTypesChooseTheirScreens) {
  const struct {
    int type, parameter;
    PageScreen screen;
    int argument;
  } cases[] = {
      {kPageCharacterRecord, 0, PageScreen::kCharacterRecord, 0},     {kPageMainMenu, -1, PageScreen::kMainMenu, 0},
      {kPageLogoScreen, -1, PageScreen::kSplash, 0},           {kPageTitle, -1, PageScreen::kTitle, 0},
      {kPageSaveLoad, 2, PageScreen::kSaveLoad, 2},          {kPageOptions, -1, PageScreen::kOptions, 0},
      {kPageCredits, -1, PageScreen::kCredits, 0},          {kPageRanking, -1, PageScreen::kRanking, 0},
      {kPageCraftingMenu, 3, PageScreen::kCraftingMenu, 3},      {kPageForgeWeapon, 3, PageScreen::kForgeWeapon, 3},
      {kPageCharacterCreation, 1, PageScreen::kCharacterCreation, 1}, {kPageLevelUp, 1, PageScreen::kLevelUp, 1},
      {kPageFeatSelection, 2, PageScreen::kFeatSelection, 2},     {kPageSpellPick, 2, PageScreen::kSpellPick, 2},
      {kPagePartySetup, -1, PageScreen::kPartySetup, 0},       {kPageMapOverview, -1, PageScreen::kMapOverview, 0},
      {kPageInventory, 5, PageScreen::kInventory, 5},           {kPageInventory, 2099, PageScreen::kInventory, 2099},
      {kPageInventory, 2100, PageScreen::kNone, 0},             {kPageQuestJournal, -1, PageScreen::kQuestJournal, 0},
      {kPageSpecialAbilities, 2100, PageScreen::kNone, 0},             {kPageSpecialAbilities, 0, PageScreen::kSpecialAbilities, 0},
      {kPageStatisticsFirst, 1, PageScreen::kStatistics, 1},         {kPageStatisticsLast, 3000, PageScreen::kNone, 0},
      {kPageModifierList, -1, PageScreen::kPageModifierList, 0}, {kPageRollBreakdown, 98, PageScreen::kCombatRollList, 98},
      {kPageRollBreakdown, 99, PageScreen::kNone, 0},             {kPageDesignatedList, 4, PageScreen::kDesignatedList, 4},
      {kPageAbilityRollFirst, 0, PageScreen::kAbilityRollList, 0},   {kPageAbilityRollLast, 3, PageScreen::kAbilityRollList, 23},
      {kPageEffectsFirst, 7, PageScreen::kEffects, 7},            {kPageEffectsLast, 2100, PageScreen::kNone, 0},
      {kPageAttackDetailsFirst, 7, PageScreen::kAttackDetails, 7},      {10001, 0, PageScreen::kItemDetails, 1},
      {kPageItemPropertiesLast, 0, PageScreen::kItemProperties, 10000}, {kPageItemPropertiesFirst, 0, PageScreen::kItemProperties, 5001},
      {5000, 0, PageScreen::kNone, 0},             {kPageSpellBook, 1, PageScreen::kSpellBook, 1},
      {kPageMetamagicMaximise, 1, PageScreen::kMetamagicMaximise, 1}, {kPageMetamagicStill, 1, PageScreen::kMetamagicStill, 1},
      {kPageCraftWand, 1, PageScreen::kCraftWand, 1},         {kPageEnchantWeaponArmor, 1, PageScreen::kEnchantWeaponArmor, 1},
      {5, 0, PageScreen::kNone, 0},                {100, 0, PageScreen::kNone, 0},
  };
  for (const auto& c : cases) {
    const PageChoice p = ChoosePageScreen(c.type, c.parameter);
    EXPECT_EQ(p.screen, c.screen) << c.type << " " << c.parameter;
    EXPECT_EQ(p.argument, c.argument) << c.type << " " << c.parameter;
  }
}

TEST(PageDispatch, HelpTopicsChooseSpellItemOrTextPages) {
  const struct {
    int id;
    PageScreen screen;
    int argument;
  } cases[] = {
      {51002, PageScreen::kSpellDetails, 0},     {51015, PageScreen::kSpellDetails, 13},
      {51016, PageScreen::kTextPage, 51016},     {51017, PageScreen::kSpellDetails, 14},
      {51105, PageScreen::kSpellDetails, 95},    {51189, PageScreen::kSpellDetails, 179},
      {51190, PageScreen::kTextPage, 51190},     // past the last spell row
      {52000, PageScreen::kTextPage, 52000},     {52001, PageScreen::kTextPage, 52001},
      {52002, PageScreen::kSpellDetails, 102},   {52079, PageScreen::kTextPage, 52079},
      {52080, PageScreen::kSpellDetails, 172},   {51000, PageScreen::kTextPage, 51000},
      {70001, PageScreen::kItemProperties, 5232}, {70010, PageScreen::kNone, 0},
      {70014, PageScreen::kItemProperties, 5209}, {70028, PageScreen::kItemProperties, 5208},
      {70064, PageScreen::kItemProperties, 5197}, {70065, PageScreen::kTextPage, 70065}, {70000, PageScreen::kTextPage, 70000},
      {43050, PageScreen::kItemDetails, 4955},   {43084, PageScreen::kItemDetails, 4986},
      {43085, PageScreen::kTextPage, 43085},     {43098, PageScreen::kItemDetails, 4999},
      {10000, PageScreen::kTextPage, 10000},
  };
  for (const auto& c : cases) {
    const PageChoice p = ChoosePageScreen(kPageHelpTopic, c.id);
    EXPECT_EQ(p.screen, c.screen) << c.id;
    EXPECT_EQ(p.argument, c.argument) << c.id;
  }
}

TEST_F(Game, PageViewDrawsTheTopPagesScreen) {
  ASSERT_TRUE(harness::StepFrames(1));
  const struct {
    int type, parameter;
    const char* screen;
  } cases[] = {{kPageMainMenu, -1, "DrawMainMenuScreen"},
               {kPageHelpTopic, 43085, "DrawTextPageScreen"},
               {kPageHelpTopic, 51002, "DrawSpellDetailsScreen"},
               {kPageMetamagicHeighten, 0, "MetamagicHeightenScreen"},
               {kPageHelpTopic, 70010, ""}};
  for (const auto& c : cases) {
    SetFirstPage("Page", c.type, c.parameter);
    ScreenMode = kModePageView;
    LastScreenDrawn = "";
    ASSERT_TRUE(harness::StepFrames(1));
    EXPECT_STREQ(LastScreenDrawn, c.screen) << c.type;
  }
}

TEST_F(Game, AltEnterSwitchesOnceWhileHeld) {
  ASSERT_TRUE(harness::StepFrames(1));
  harness::KeyDown("Left Alt");
  harness::KeyDown("Return");
  ASSERT_TRUE(harness::StepFrames(3));
  EXPECT_EQ(WindowedFlag, 0);
  EXPECT_EQ(Graphics.device->Width(), 640);
  EXPECT_EQ(platform::GetSystemMouseSpeed(), 7);
  EXPECT_FALSE(platform::WindowHasMenu(MainWindowHandle));
  ASSERT_TRUE(harness::StepFrames(3));
  EXPECT_EQ(WindowedFlag, 0);  // held keys stay latched
  harness::KeyUp("Return");
  ASSERT_TRUE(harness::StepFrames(1));
  harness::KeyDown("Return");
  ASSERT_TRUE(harness::StepFrames(2));
  EXPECT_EQ(WindowedFlag, 0);  // Alt is still held and latched
  harness::KeyUp("Return");
  harness::KeyUp("Left Alt");
  ASSERT_TRUE(harness::StepFrames(1));
  harness::KeyDown("Right Alt");
  harness::KeyDown("Return");
  ASSERT_TRUE(harness::StepFrames(2));
  EXPECT_EQ(WindowedFlag, 1);
  EXPECT_EQ(platform::GetSystemMouseSpeed(), KeptMouseSpeed);
  int w = 0, h = 0;
  ClientSize(&w, &h);
  EXPECT_EQ(w, 960);
  EXPECT_EQ(h, 720);
  EXPECT_TRUE(platform::WindowHasMenu(MainWindowHandle));
  EXPECT_TRUE(platform::IsMenuItemChecked(MainWindowHandle, 1001));
  harness::KeyUp("Return");
  harness::KeyUp("Right Alt");
  ASSERT_TRUE(harness::StepFrames(2));
  EXPECT_STREQ(LastScreenDrawn, "SplashScreen");  // the new window draws
}

TEST_F(Game, FullScreenShowsTheSmallViewWhateverTheWindowSizeSays) {
  ASSERT_TRUE(harness::StepFrames(1));
  std::memset(&CurrentMap, 0, sizeof CurrentMap);
  CurrentMap.width = 40;
  CurrentMap.height = 30;
  Creatures[0].pixelX = 20 * 24;
  Creatures[0].pixelY = 15 * 24;
  Creatures[0].footprintWidth = Creatures[0].footprintHeight = {1, 1};
  WindowSize = 3;
  ASSERT_EQ(SetWindowedMode(), 1);
  EXPECT_EQ(CameraBounds.maxX, 40 * 24 - 480 + 48);
  // Alt+Enter: the bounds of the 320 by 240 view, every centring on it and
  // the pointer's reading of it.
  ASSERT_EQ(SwitchDisplayMode(), 1);
  ASSERT_EQ(WindowedFlag, 0);
  EXPECT_EQ(CameraBounds.maxX, 40 * 24 - 320 + 48);
  EXPECT_EQ(CameraBounds.maxY, 30 * 24 - 240 + 48);
  FocusSquareX = 20;
  FocusSquareY = 15;
  CentreViewOnFocusSquare();
  EXPECT_EQ(ViewOriginX, 20 * 24 - 160);
  EXPECT_EQ(ViewOriginY, 15 * 24 - 120);
  PartyLeader = 0;
  CentreViewOnCurrentCharacter();
  EXPECT_EQ(ViewOriginX, 20 * 24 + 12 - 160);
  EXPECT_EQ(ViewOriginY, 15 * 24 + 12 - 120);
  // The pointer on the picture's middle is on the creature's middle.
  harness::MoveMouse(160, 120);
  harness::PumpMessages();
  ReadInputDevice(&PointerDevice);
  EXPECT_EQ(PointerMapX(), 20 * 24 + 12);
  EXPECT_EQ(PointerMapY(), 15 * 24 + 12);
}

TEST_F(Game, F2CyclesTheWindowSizesAndF3TheCursor) {
  ASSERT_TRUE(harness::StepFrames(1));
  const struct {
    uint32_t size;
    int w, h, scale;
  } steps[] = {{3, 960, 720, 3}, {1, 640, 480, 2}, {2, 960, 720, 3}};
  for (const auto& s : steps) {
    ASSERT_TRUE(harness::PressKey("F2"));
    ASSERT_TRUE(harness::StepFrames(1));
    EXPECT_EQ(WindowSize, s.size);
    int w = 0, h = 0;
    ClientSize(&w, &h);
    EXPECT_EQ(w, s.w);
    EXPECT_EQ(h, s.h);
    EXPECT_EQ(Graphics.device->Width(), s.w);
    EXPECT_TRUE(platform::IsMenuItemChecked(MainWindowHandle, 999 + s.size));
  }
  ASSERT_TRUE(harness::PressKey("F3"));
  EXPECT_EQ(CursorFreeFlag, 0);
  EXPECT_TRUE(platform::IsMenuItemChecked(MainWindowHandle, 2001));
  ASSERT_TRUE(harness::StepFrames(1));  // the release is seen by a read
  ASSERT_TRUE(harness::PressKey("F3"));
  EXPECT_EQ(CursorFreeFlag, 1);
  // Full screen ignores F2.
  ASSERT_EQ(SetFullScreenMode(), 1);
  ASSERT_TRUE(harness::PressKey("F2"));
  EXPECT_EQ(WindowSize, 2u);
}

TEST_F(Game, TheMenuChoosesTheWindowSize) {
  harness::ChooseMenu(1000);
  ASSERT_TRUE(harness::StepFrames(1));
  int w = 0, h = 0;
  ClientSize(&w, &h);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(GetDisplayScale(), 2);
  harness::ChooseMenu(1002);
  ASSERT_TRUE(harness::StepFrames(1));
  ClientSize(&w, &h);
  EXPECT_EQ(w, 960);
  EXPECT_EQ(WindowSize, 3u);
}

TEST_F(Game, ALostDeviceDrawsNothingUntilTheWindowReturns) {
  ASSERT_TRUE(harness::StepFrames(1));
  platform::ShowAppWindow(MainWindowHandle, platform::kShowMinimised);
  const int presents = Graphics.device->PresentCount();
  ASSERT_TRUE(harness::StepFrames(3));
  EXPECT_EQ(Graphics.device->PresentCount(), presents);
  platform::ShowAppWindow(MainWindowHandle, platform::kShowRestore);
  ASSERT_TRUE(harness::StepFrames(2));
  EXPECT_GT(Graphics.device->PresentCount(), presents);
  EXPECT_EQ(Graphics.device->Width(), 960);
}

TEST_F(Game, EveryNewDeviceKeepsTheStartUpRenderStates) {
  ASSERT_TRUE(harness::StepFrames(1));
  const platform::RenderStates start = Graphics.device->States();
  ASSERT_TRUE(start.alphaTest);
  const auto expectStartStates = [&](const char* after) {
    const platform::RenderStates& st = Graphics.device->States();
    EXPECT_EQ(st.alphaTest, start.alphaTest) << after;
    EXPECT_EQ(st.alphaRef, start.alphaRef) << after;
    EXPECT_EQ(st.alphaFunc, start.alphaFunc) << after;
  };
  ASSERT_TRUE(harness::PressKey("F2"));
  ASSERT_TRUE(harness::StepFrames(1));
  expectStartStates("a new window size");
  ASSERT_EQ(HandleDisplayToggleKeys(1), 1);
  expectStartStates("full screen");
  ASSERT_EQ(HandleDisplayToggleKeys(1), 1);
  expectStartStates("a window again");
  platform::ShowAppWindow(MainWindowHandle, platform::kShowMinimised);
  ASSERT_TRUE(harness::StepFrames(1));
  platform::ShowAppWindow(MainWindowHandle, platform::kShowRestore);
  ASSERT_TRUE(harness::StepFrames(2));
  expectStartStates("a lost device");
}

TEST(Closing, WritesTheSettingsFileThatTheNextStartReads) {
  const harness::OwnSettingsFile settings("close");
  ASSERT_TRUE(harness::StartGame());
  harness::ChooseMenu(1000);
  harness::RequestClose();
  harness::StepFrames(2);
  EXPECT_TRUE(harness::GameEnded());
  harness::StopGame();
  FILE* f = std::fopen(SettingsFileName, "rb");
  ASSERT_NE(f, nullptr);
  std::fseek(f, 0, SEEK_END);
  EXPECT_EQ(std::ftell(f), 118);
  std::fclose(f);
  WindowSize = 2;
  ReadSettingsFile();
  EXPECT_EQ(WindowSize, 1u);
}

}  // namespace
