// Starting games from the main menu: the introductory adventure from its
// prepared start, and a new party for the main adventure, which gives up a
// game under way.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "engine/last_screen.h"
#include "engine/settings.h"
#include "frontend/creature_roster.h"
#include "frontend/front_screens.h"
#include "front_fixture.h"
#include "map/map_record.h"
#include "map/party_vision.h"
#include "party/party_screens.h"
#include "rules/creature_record.h"
#include "state/game_progress.h"
#include "state/game_screen_words.h"
#include "state/turn_order.h"

namespace {

namespace fs = std::filesystem;

class GameStart : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fronttest::MakeOwnGameFolder(&folder_));
    ASSERT_TRUE(harness::StartGame());
    SetFirstPage("Title Screen", kPageMainMenu, -1);
    ScreenMode = kModePageView;
  }
  void TearDown() override {
    harness::StopGame();
    fs::remove_all(folder_);
  }
  // A prepared party of a Knight, a Cleric, a Wizard and a Knight on map 21,
  // written as the adventure's slot-0 roster; map 21 is map 5's picture.
  static void PrepareStart(const char* adventure) {
    const int classes[4] = {1, 3, 4, 1};
    for (int m = 0; m < 4; ++m) {
      CreatureRecord& c = Creatures[m];
      std::memset(&c, 0, sizeof c);
      std::snprintf(c.name, sizeof c.name, "Prepared %d", m);
      c.creatureClass = classes[m];
      c.level = 1;
      c.map = 21;
      c.squareX = 3 + m;
      c.squareY = 3;
      c.present = 1;
      c.allegiance = kAllegianceParty;
      c.footprintWidth = c.footprintHeight = {1, 1};
      for (StatPair* p : {&c.strength, &c.dexterity, &c.constitution, &c.intelligence, &c.wisdom, &c.charisma})
        *p = {12, 12};
    }
    std::vector<uint8_t> roster;
    PackCreatureRoster(&roster);
    const fs::path slot = fs::path("SaveGame") / adventure / "0";
    // The folder's files are links to the built ones: they are replaced, never written through.
    fs::remove(slot / "SaveChar.cml");
    fs::remove(slot / "Maps" / "Map21.dat");
    std::FILE* f = std::fopen((slot / "SaveChar.cml").c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(roster.data(), 1, roster.size(), f);
    std::fclose(f);
    fs::copy_file(fs::path("SaveGame/DemoVersion/0/Maps/Map5.dat"), slot / "Maps" / "Map21.dat",
                  fs::copy_options::overwrite_existing);
    for (int m = 0; m < 4; ++m) std::memset(&Creatures[m], 0, sizeof Creatures[m]);
  }
  static int Click(int x, int y) { return fronttest::ClickOn(x + 2, y + 2, DrawMainMenuScreen); }
  fs::path folder_;
};

TEST_F(GameStart, StartDemoPutsThePreparedPartyOnItsFirstMapAndLeavesNoIronmanBehind) {
  PrepareStart("DemoVersion");
  OptionWords[kOptionIronmanMode] = 1;  // left by a main-adventure game
  AchievementProgress[7] = 1;
  Click(64, 80);  // "Demo"
  EXPECT_EQ(Click(120, 80), 1);  // "Start Demo"
  EXPECT_EQ(GameRunningFlag, 1);
  EXPECT_EQ(ScreenMode, kModeExploring);
  EXPECT_EQ(PageDepth, 0);
  EXPECT_EQ(TopPageType(), 0);
  EXPECT_EQ(CurrentMapNumber, 21);
  EXPECT_STREQ(Creatures[2].name, "Prepared 2");
  EXPECT_EQ(OptionWords[kOptionIronmanMode], 0);
  EXPECT_EQ(AchievementProgress[7], 0);
  EXPECT_EQ(WeaponMode, 1);
  // Hit dice by class: a d10, a d8 and a d4 for every level.
  const int sides[4] = {10, 8, 4, 10};
  for (int i = 0; i < kHitDieRollCount; ++i) {
    EXPECT_GE(HitDieRolls[i], 1) << i;
    EXPECT_LE(HitDieRolls[i], sides[i / 20]) << i;
  }
  ASSERT_TRUE(harness::StepFrames(2));
  EXPECT_STREQ(LastScreenDrawn, "GameScreenFrame");
}

TEST_F(GameStart, StartNewGameOpensCharacterCreationForAFreshParty) {
  PrepareStart("FullVersion");
  std::snprintf(Creatures[1].name, sizeof Creatures[1].name, "Left behind");
  EXPECT_EQ(Click(120, 80), 1);
  EXPECT_EQ(TopPageType(), kPageCharacterCreation);
  EXPECT_EQ(TopPageParameter(), 0);
  EXPECT_STREQ(TopPageCaption(), "Character Creation");
  EXPECT_EQ(NewPartyPending, 1);
  EXPECT_STRNE(Creatures[1].name, "Left behind");
  // Without the prepared roster the start cannot be made: the program ends.
  fs::remove("SaveGame/FullVersion/0/SaveChar.cml");
  SetFirstPage("Title Screen", kPageMainMenu, -1);
  EXPECT_EQ(Click(120, 80), 0);
}

TEST_F(GameStart, StartNewGameGivesUpTheGameUnderWayAndCancelLeavesNone) {
  PrepareStart("FullVersion");
  // A game under way, in the middle of a battle.
  GameRunningFlag = 1;
  MenuReturnMode = kModeExploring;
  InCombat = 1;
  MapMemory[3][7] = 1;
  ASSERT_EQ(Click(120, 80), 1);  // Start New Game
  ASSERT_EQ(TopPageType(), kPageCharacterCreation);
  EXPECT_EQ(InCombat, 0u);
  EXPECT_EQ(MapMemory[3][7], 0u);
  // "Cancel" on the first member: the menu again, and no game runs.
  fronttest::ClickOn(42, 211, [] {
    DrawCharacterCreationScreen(0);
    return 1;
  });
  EXPECT_EQ(TopPageType(), kPageMainMenu);
  EXPECT_EQ(GameRunningFlag, 0);
  Click(122, 178);  // "Back to the Game" is grey
  EXPECT_EQ(ScreenMode, kModePageView);
}

}  // namespace
