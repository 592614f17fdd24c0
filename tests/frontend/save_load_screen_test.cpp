// The save and load page played with the mouse and keys: what its rows show,
// saving, loading and deleting, Ironman games, scrolling, and its picture.
//
// The stored picture under tests/frontend/pictures/ is the page in load mode
// with three saved games. When the art or the page changes on purpose, run
//   (cd build/game && GREVENHOLT_UPDATE_PICTURES=1 ../tests/test_frontend --gtest_filter='SaveScreen.ThePageLooksAsStored')
// look at the new file, and commit it.
#include "save_fixture.h"

#include <map>

#include "engine/frame.h"
#include "engine/page_history.h"
#include "engine/settings.h"
#include "engine/text.h"
#include "engine/widgets.h"
#include "frontend/save_load_screen.h"
#include "frontend/saved_game_files.h"

namespace {

class SaveScreen : public savetest::SavedGames {
 protected:
  bool Start() override { return harness::StartGame(); }
  void Stop() override {
    RecordGlyphs(nullptr);
    harness::StopGame();
  }

  // Saves `count` games of the introductory adventure, each at its own level.
  void SaveGames(int count) {
    savetest::IntroductoryGame();
    for (int slot = 1; slot <= count; ++slot) {
      for (int m = 0; m < kPartySize; ++m) Creatures[m].level = slot;
      ASSERT_EQ(WriteSavedGame(slot), 0);
    }
  }

  // The page opened as the main menu opens it; the frame after shows it.
  void Open(int mode) {
    OpenSaveLoadPage(mode);
    ScreenMode = kModePageView;
    harness::MoveMouse(300, 10);
    Frame();
    Frame();
  }

  // One frame, with the texts it drew kept by pixel row.
  void Frame() {
    glyphs_.clear();
    RecordGlyphs(&glyphs_);
    harness::StepFrames(1);
    RecordGlyphs(nullptr);
  }

  // The text drawn on a pixel row in large or small cells (glyphs in order
  // of x, one space for each gap of a cell or more).
  std::string TextAt(int y, bool large) const {
    std::map<int, unsigned char> row;
    for (const GlyphDraw& g : glyphs_) {
      const bool largeSheet = g.sheet == kSheetLargeFont2 || g.sheet == kSheetLargeFont3;
      if (g.y == y && largeSheet == large) row[g.x] = g.c;
    }
    std::string text;
    int next = -1;
    for (const auto& [x, c] : row) {
      if (next >= 0 && x >= next + 4) text += ' ';
      text += static_cast<char>(c);
      next = x + 5;
    }
    return text;
  }
  std::string LargeRow(int row) const { return TextAt(8 * row, true); }
  std::string SmallRow(int row) const { return TextAt(6 * row + 2, false); }

  std::vector<GlyphDraw> glyphs_;
};

// Where the list's entries are: row r's details and the digits of its slot number.
int RowY(int r) { return 24 * r + 58; }
constexpr int kDetailsX = 60;
int NumberY(int r) { return 8 * (3 * r + 7) + 3; }
constexpr int kNumberX = 8 * 26 + 3;
constexpr int kEmptySlotX = 8 * 7;

TEST_F(SaveScreen, RowsShowEachGamesDetailsAndEmptyRowsCannotBeLoaded) {
  SaveGames(2);
  // A month the table does not have, and a game without details.
  std::vector<uint8_t> details = savetest::ReadBytes(savetest::SlotFile(1, "Details.dat"));
  const int32_t month = 13;
  std::memcpy(details.data() + 680, &month, 4);
  savetest::WriteBytes(savetest::SlotFile(1, "Details.dat"), details);
  ASSERT_TRUE(platform::RemoveGameFile(savetest::SlotFile(2, "Details.dat").c_str()));

  Open(kSaveModeLoad);
  EXPECT_EQ(LargeRow(2), "Load Game");
  EXPECT_EQ(SmallRow(13), "14 - 09:05, 0:00h");
  EXPECT_EQ(SmallRow(14), "Old Mill, Level 1");
  EXPECT_EQ(SmallRow(17), "00 - 00:00, 0:00h");
  EXPECT_EQ(SmallRow(18), ", Level 0");
  EXPECT_EQ(LargeRow(16), "Empty Slot 3");
  EXPECT_EQ(LargeRow(22), "Empty Slot 5");

  harness::Click(kEmptySlotX, NumberY(3));
  Frame();
  EXPECT_EQ(ScreenMode, kModePageView);
  EXPECT_EQ(PageHistory[PageDepth].type, kPageSaveLoad);
  harness::MoveMouse(kDetailsX, RowY(1));
  Frame();
  EXPECT_STREQ(SaveListStatus, "Load");
  EXPECT_EQ(CursorShape, 4);
}

TEST_F(SaveScreen, SavingOnAnEmptyRowTakesThatRowsSlotEvenPastAGap) {
  SaveGames(2);
  Open(kSaveModeSave);
  harness::Click(kEmptySlotX, NumberY(5));
  ASSERT_TRUE(platform::GameFileExists(savetest::SlotFile(5, "Details.dat").c_str()));
  EXPECT_FALSE(platform::GameFileExists(savetest::SlotFile(3, "Details.dat").c_str()));
  EXPECT_EQ(FindFreeSaveSlot(), 3);
  EXPECT_EQ(ScreenMode, kModeExploring);
  EXPECT_EQ(PageDepth, 0);
}

TEST_F(SaveScreen, OneClickDeletesASlotAndOnlyADeleteThatWorkedClosesTheGap) {
  SaveGames(4);
  Open(kSaveModeLoad);
  harness::MoveMouse(kNumberX, NumberY(2));
  Frame();
  EXPECT_STREQ(SaveListStatus, "Delete");
  harness::Click(kNumberX, NumberY(2));
  Frame();
  EXPECT_EQ(FindFreeSaveSlot(), 4);
  ASSERT_EQ(LoadSavedGame(3), 0);
  EXPECT_EQ(Creatures[0].level, 4);  // the game of slot 4 moved down

  // A slot that cannot be removed whole stays where it is, and says why.
  Open(kSaveModeLoad);
  const std::string journal = savetest::SlotFile(1, "Journal.dat");
  ASSERT_TRUE(platform::RemoveGameFile(journal.c_str()));
  ASSERT_TRUE(platform::MakeGameFolder((journal + "\\keep").c_str()));
  harness::Click(kNumberX, NumberY(1));
  EXPECT_STREQ(SaveListStatus, "Could not delete journal");
  EXPECT_TRUE(platform::GameFileExists(savetest::SlotFile(2, "Details.dat").c_str()));
  EXPECT_TRUE(platform::GameFileExists(savetest::SlotFile(3, "Details.dat").c_str()));
}

TEST_F(SaveScreen, AnIronmanGameLivesInOneSlotAndASaveOfOneReturnsToTheMainMenu) {
  SaveGames(3);
  OptionWords[kOptionIronmanMode] = 1;
  ASSERT_EQ(WriteSavedGame(1), 0);  // slot 1 holds an Ironman game of level 3
  OptionWords[kOptionIronmanMode] = 0;

  Open(kSaveModeLoad);
  EXPECT_EQ(SmallRow(15), "Ironman");
  harness::Click(kDetailsX, RowY(1));
  EXPECT_EQ(ScreenMode, kModeExploring);
  EXPECT_EQ(OptionWords[kOptionIronmanMode], 1);
  EXPECT_EQ(FindFreeSaveSlot(), 3);

  Open(kSaveModeSave);
  harness::Click(kDetailsX, RowY(1));
  EXPECT_EQ(ScreenMode, kModePageView);
  EXPECT_EQ(PageDepth, 0);
  EXPECT_EQ(PageHistory[0].type, kPageMainMenu);
  EXPECT_STREQ(PageHistory[0].caption, "TITLE SCREEN");
}

TEST_F(SaveScreen, SevenGamesScrollByKeysSliderAndWheelAndCancelLeavesThePage) {
  SaveGames(7);
  Open(kSaveModeLoad);
  EXPECT_EQ(SaveListMaxScroll, 2);
  harness::PressKey("End");
  Frame();
  EXPECT_EQ(SaveListScroll, 2);
  EXPECT_EQ(LargeRow(10), "3");
  EXPECT_EQ(LargeRow(22), "7");
  // The slider's top stands at y 114.
  harness::MoveMouse(260, 116);
  Frame();
  EXPECT_EQ(CursorShape, 100);
  harness::PressKey("Up");
  Frame();
  EXPECT_EQ(SaveListScroll, 1);
  harness::MoveMouse(100, 100);
  harness::Wheel(1);
  Frame();
  EXPECT_EQ(SaveListScroll, 0);
  const int depth = PageDepth;
  harness::PressKey("Escape");
  EXPECT_EQ(PageDepth, depth - 1);
}

TEST_F(SaveScreen, ThePageLooksAsStored) {
  SaveGames(3);
  Open(kSaveModeLoad);
  harness::MoveMouse(kDetailsX, RowY(2));
  Frame();
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, "save_load_page"), 0);
}

}  // namespace
