// The main menu with no game and with one running: the entries it offers,
// the pages they open, the switch to the introductory adventure and leaving.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "engine/click_sound.h"
#include "engine/settings.h"
#include "frontend/front_screens.h"
#include "frontend/menu_pages.h"
#include "map/map_record.h"
#include "front_fixture.h"
#include "state/game_progress.h"
#include "state/turn_order.h"

namespace {

using fronttest::DrawFrame;

// The first pixels of the labels' cells.
constexpr int kX = 120, kLeftX = 64;
constexpr int kRowTop = 80, kRowLoad = 96, kRowSave = 112, kRowSettings = 128, kRowCredits = 144,
              kRowHelp = 160, kRowBack = 176, kRowExit = 208;

class MainMenu : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fronttest::MakeOwnGameFolder(&folder_));
    KeepOnlyPreparedStarts();
    ASSERT_TRUE(harness::StartGame());
    ToMenu();
  }
  void TearDown() override {
    harness::StopGame();
    std::filesystem::remove_all(folder_);
  }
  // No game before the test's own: of the saved games linked in from the
  // built game's folder (where players save too) only each adventure's
  // prepared start, folder 0, stays.
  static void KeepOnlyPreparedStarts() {
    std::vector<std::filesystem::path> saved;
    for (const auto& adventure : std::filesystem::directory_iterator("SaveGame")) {
      if (!adventure.is_directory()) continue;
      for (const auto& slot : std::filesystem::directory_iterator(adventure.path()))
        if (slot.path().filename() != "0") saved.push_back(slot.path());
    }
    for (const auto& slot : saved) std::filesystem::remove_all(slot);  // the links, not what they name
  }
  static void ToMenu() {
    SetFirstPage("Title Screen", kPageMainMenu, -1);
    ScreenMode = kModePageView;
  }
  static int Click(int x, int y) { return fronttest::ClickOn(x + 2, y + 2, DrawMainMenuScreen); }
  // The colour of an entry's first glyph in a frame with the pointer at (x, y).
  static uint32_t Colour(int x, int y, int px = 0, int py = 0) {
    std::vector<GlyphDraw> glyphs;
    fronttest::PointAt(px, py);
    DrawFrame(DrawMainMenuScreen, &glyphs);
    return fronttest::ColourAt(glyphs, x, y);
  }
  std::filesystem::path folder_;
};

TEST_F(MainMenu, WithoutAGameOnlyWhatNeedsNoGameIsOffered) {
  std::vector<GlyphDraw> glyphs;
  DrawFrame(DrawMainMenuScreen, &glyphs);
  EXPECT_EQ(fronttest::RowText(glyphs, 10), "        Demo   Start New Game");
  EXPECT_EQ(fronttest::RowText(glyphs, 26), "        Exit        Version 1.36");
  for (int row : {kRowSave, kRowBack, kRowLoad}) EXPECT_EQ(Colour(kX, row), fronttest::kUnavailable) << row;
  for (int row : {kRowSave, kRowBack, kRowLoad}) Click(kX, row);
  fronttest::PressKey("Escape", DrawMainMenuScreen);
  EXPECT_EQ(PageDepth, 0);
  EXPECT_EQ(ScreenMode, kModePageView);

  // "Load Game" needs a roster in slots 1 to 5 of the active adventure.
  for (int slot : {6, 5}) {
    EXPECT_EQ(Colour(kX, kRowLoad), fronttest::kUnavailable) << slot;
    const std::string dir = "SaveGame/FullVersion/" + std::to_string(slot);
    std::filesystem::create_directories(dir);
    std::fclose(std::fopen((dir + "/SaveChar.cml").c_str(), "wb"));
  }
  EXPECT_EQ(Colour(kX, kRowLoad), fronttest::kAvailable);
  Click(kX, kRowLoad);
  EXPECT_EQ(TopPageType(), kPageSaveLoad);
  EXPECT_EQ(TopPageParameter(), 2);

  // The advice box while the pointer rests on "Start New Game".
  ToMenu();
  Colour(0, 0, kX + 20, kRowTop + 3);
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, "main_menu"), 0);
}

TEST_F(MainMenu, EntriesOpenTheirPagesAndTheHoverSoundPlaysOncePerEntry) {
  const struct {
    int y, type, parameter;
    const char* caption;
  } pages[] = {{kRowSettings, kPageOptions, -1, "Settings"},
               {kRowCredits, kPageCredits, -1, "Credits"},
               {kRowHelp, kPageHelpTopic, 10000, "Main Index"}};
  for (const auto& p : pages) {
    ToMenu();
    const int hovers = HoverSoundsStarted(), clicks = ClickSoundsStarted();
    for (int i = 0; i < 3; ++i) Colour(0, 0, kX + 2, p.y + 2);
    EXPECT_EQ(HoverSoundsStarted(), hovers + 1) << p.caption;
    EXPECT_EQ(Click(kX, p.y), 1);
    EXPECT_EQ(ClickSoundsStarted(), clicks + 1);
    EXPECT_EQ(PageDepth, 1);
    EXPECT_EQ(TopPageType(), p.type);
    EXPECT_EQ(TopPageParameter(), p.parameter);
    EXPECT_STREQ(TopPageCaption(), p.caption);
  }
  // A full history: the settings page takes the top page's place.
  ToMenu();
  PageDepth = PageHighestDepth = 99;
  PageHistory[99] = PageHistory[0];
  Click(kX, kRowSettings);
  EXPECT_EQ(PageDepth, 99);
  EXPECT_EQ(TopPageType(), kPageOptions);
}

TEST_F(MainMenu, DuringAGameSavingAndGoingBackAreOffered) {
  GameRunningFlag = 1;
  MenuReturnMode = kModeLocalMap;
  EXPECT_EQ(Colour(kX, kRowSave), fronttest::kAvailable);
  InCombat = 1;  // not in combat, nor while a spell is being cast
  EXPECT_EQ(Colour(kX, kRowSave), fronttest::kUnavailable);
  InCombat = 0;
  MenuReturnMode = kModeCastResolve;
  EXPECT_EQ(Colour(kX, kRowSave), fronttest::kUnavailable);
  MenuReturnMode = kModeLocalMap;
  Click(kX, kRowSave);
  EXPECT_EQ(TopPageType(), kPageSaveLoad);
  EXPECT_EQ(TopPageParameter(), 1);

  // Escape with the left Shift stays; Escape alone goes back to the game.
  ToMenu();
  PageDepth = PageHighestDepth = 2;
  fronttest::Key("Left Shift", true);
  fronttest::PressKey("Escape", DrawMainMenuScreen);
  fronttest::Key("Left Shift", false);
  EXPECT_EQ(ScreenMode, kModePageView);
  fronttest::PressKey("Escape", DrawMainMenuScreen);
  EXPECT_EQ(ScreenMode, kModeLocalMap);
  EXPECT_EQ(MenuReturnMode, 0u);
  EXPECT_EQ(PageDepth + PageHighestDepth, 0);
}

TEST_F(MainMenu, DemoSwitchesToTheIntroductoryAdventureOnlyWithoutAGame) {
  GameRunningFlag = 1;
  EXPECT_EQ(Colour(kLeftX, kRowTop, kLeftX + 2, kRowTop + 2), fronttest::kUnavailable);
  EXPECT_STREQ(HoverCaption, "Not while a game is running");
  Click(kLeftX, kRowTop);
  EXPECT_EQ(IntroductoryAdventureFlag, 0);
  GameRunningFlag = 0;
  Click(kLeftX, kRowTop);
  EXPECT_EQ(IntroductoryAdventureFlag, 1);
  EXPECT_EQ(DemoChosenFlag, 1);
  EXPECT_STREQ(AdventureFolder, "DemoVersion");
  std::vector<GlyphDraw> glyphs;
  DrawFrame(DrawMainMenuScreen, &glyphs);
  EXPECT_EQ(fronttest::RowText(glyphs, 10), "               Start Demo");
  EXPECT_EQ(fronttest::RowText(glyphs, 26), "        Exit   Demo Version 1.36");
}

TEST_F(MainMenu, ExitSavesAnIronmanGameFirstAndStaysWhenThatSaveFails) {
  GameRunningFlag = 1;
  OptionWords[kOptionIronmanMode] = 1;
  CurrentMap.width = CurrentMap.height = 10;  // the party stands on a map: a game the load takes
  std::snprintf(AdventureFolder, sizeof AdventureFolder, "../Help.dat");  // no folder can be made there
  EXPECT_EQ(Click(kLeftX, kRowExit), 1);
  EXPECT_EQ(GameRunningFlag, 1);
  Colour(0, 0, kLeftX + 2, kRowExit + 2);
  EXPECT_STRNE(HoverCaption, "");  // why it stayed
  SetAdventureFolder();
  EXPECT_EQ(Click(kLeftX, kRowExit), 0);
  EXPECT_EQ(GameRunningFlag, 0);
  EXPECT_TRUE(std::filesystem::exists("SaveGame/FullVersion/1/Details.dat"));
  // Without a game the frame ends the program.
  ToMenu();
  ASSERT_TRUE(harness::StepFrames(2));
  harness::Click(kLeftX + 2, kRowExit + 2);
  EXPECT_TRUE(harness::GameEnded());
}

}  // namespace
