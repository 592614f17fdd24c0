// The party set-up page: ordering by dragging names, the game mode and the
// colours, and "Start Adventuring" taking the created party into the main
// adventure.
#include <cstring>
#include <filesystem>
#include <string>

#include "engine/last_screen.h"
#include "frontend/front_fixture.h"
#include "map/map_record.h"
#include "party/creation_rules.h"
#include "party/party_screens.h"
#include "party/starting_equipment.h"
#include "party_fixture.h"
#include "platform/system.h"
#include "rules/conditions.h"
#include "rules/item_tables.h"
#include "state/game_flags.h"
#include "state/inventory_state.h"
#include "state/party_leader.h"
#include "state/world_travel.h"

namespace {

namespace fs = std::filesystem;
using partytest::Cell;
using partytest::Point;

Point NameRow(int m) { return Cell(23, 8 + m); }
Point Swatch(int m, int colour) { return {8 * (21 + colour) + 3, 8 * (19 + m) + 3}; }
const Point kStart = Cell(12, 26), kNormal = {90, 122}, kIronman = {170, 122};

class PartySetup : public partytest::PartyPages {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fronttest::MakeOwnGameFolder(&folder_));
    PartyPages::SetUp();
    // A created party: a Knight, a Cleric, a Wizard and a Knight.
    const int32_t classes[4] = {kClassKnight, kClassCleric, kClassWizard, kClassKnight};
    for (int m = 0; m < 4; ++m) {
      ChooseClass(m, classes[m]);
      for (int a = 0; a < 6; ++a) BaseAbility(m, a) = 12;
    }
    NewPartyPending = 1;
    CreationBypassFlag = 0;
    ShowPage("Party Setup", kPagePartySetup, -1);
    Settle();
  }
  void TearDown() override {
    PartyPages::TearDown();
    fs::remove_all(folder_);
  }
  static void DragName(int from, int to) {
    const Point a = NameRow(from), b = NameRow(to);
    harness::Drag(a.x, a.y, b.x, b.y);
    harness::StepFrames(1);
  }
  // A map file of the prepared start cut short (the link replaced by a file).
  static void Damage(const char* name) {
    const fs::path path = fs::path("SaveGame/FullVersion/0/Maps") / name;
    fs::remove(path);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("short", f);
    std::fclose(f);
  }
  fs::path folder_;
};

TEST_F(PartySetup, DraggingANameSwapsTheMembersButNeverMakesAFallenOneLeader) {
  AddCondition(2, kCondUnconscious, 5, 0, 0, 0);
  std::string names[4];
  for (int m = 0; m < 4; ++m) names[m] = Creatures[m].name;
  HitDieRolls[2 * 20] = 7;
  DragName(0, 2);  // the leader onto the fallen member's row
  DragName(2, 0);  // the fallen member onto the leader's row
  EXPECT_EQ(Creatures[0].name, names[0]);
  EXPECT_EQ(Creatures[2].name, names[2]);
  DragName(2, 3);
  EXPECT_EQ(Creatures[3].name, names[2]);
  EXPECT_EQ(Creatures[2].name, names[3]);
  EXPECT_EQ(HitDieRolls[3 * 20], 7);  // the hit dice go with the member
  DragName(1, 0);
  EXPECT_EQ(Creatures[0].name, names[1]);
  EXPECT_EQ(PartyDragSource, -1);
  EXPECT_EQ(HintAt(NameRow(1)), "Drag to Reorder");
}

TEST_F(PartySetup, TheModeIsChosenOnlyForANewGameAndColoursAtAnyTime) {
  OptionWords[kOptionIronmanMode] = 0;
  ClickAt(kIronman);
  EXPECT_EQ(OptionWords[kOptionIronmanMode], 1);
  ClickAt(kNormal);
  EXPECT_EQ(OptionWords[kOptionIronmanMode], 0);
  ChooseGender(2, kGenderFemale);
  ClickAt(Swatch(2, 3));
  EXPECT_EQ(Creatures[2].figure, 9 + 139 + 3);  // a female Wizard of the fourth colour

  // From a running game the page only orders and colours, and goes back.
  NewPartyPending = 0;
  Settle();
  ClickAt(kIronman);
  EXPECT_EQ(OptionWords[kOptionIronmanMode], 0);
  ClickAt(Swatch(0, 5));
  EXPECT_EQ(Creatures[0].figure, 1 + 5);
  ClickAt(Cell(13, 26));  // "Back to the Game"
  EXPECT_EQ(ScreenMode, kModeExploring);
  EXPECT_EQ(PageDepth, 0);
  EXPECT_EQ(Creatures[0].formationX, 1);
  EXPECT_EQ(Creatures[3].formationX, 1);
  EXPECT_EQ(Creatures[3].formationY, 1);
}

TEST_F(PartySetup, StartAdventuringEquipsThePartyAndPutsItOnTheFirstMapInItsOrder) {
  Creatures[3].constitution.base = 15;
  Creatures[3].feats[kFeatToughness] = 1;
  std::snprintf(Creatures[2].name, sizeof Creatures[2].name, "Ada %%s%%n");  // shown as written
  Creatures[2].constitution.base = 3;
  DragName(3, 0);
  const std::string leader = Creatures[0].name;
  // The armour of the Knights and the Cleric costs more than all the gold.
  CraftedWeapons[kTemplateRowBase + kTemplateMediumArmour].price = 100000;
  ClickAt(kStart);
  EXPECT_EQ(GameRunningFlag, 1);
  EXPECT_EQ(NewPartyPending, 0);
  EXPECT_EQ(ScreenMode, kModeExploring);
  EXPECT_EQ(PageDepth, 0);
  EXPECT_EQ(CurrentMapNumber, 20);
  EXPECT_EQ(PartyLeader, 0u);
  EXPECT_EQ(Creatures[0].name, leader);
  const int32_t squares[4][2] = {{7, 6}, {8, 7}, {8, 6}, {8, 5}};
  for (int m = 0; m < 4; ++m) {
    const CreatureRecord& c = Creatures[m];
    EXPECT_EQ(c.map, 20);
    EXPECT_EQ(c.squareX, squares[m][0]);
    EXPECT_EQ(c.squareY, squares[m][1]);
    EXPECT_EQ(c.pixelX, 24 * squares[m][0]);
    EXPECT_EQ(c.allegiance, kAllegianceParty);
    EXPECT_EQ(c.present, 1);
    EXPECT_NE(c.description[0], '\0');
    if (m != 2) {
      EXPECT_EQ(std::strstr(c.description, "%s"), nullptr) << c.description;
    }
  }
  // The former fourth member: d10 + 2 + 3; the Wizard's name in its text as
  // written, and its hit points never below 1.
  EXPECT_EQ(Creatures[0].hitPoints, 15);
  EXPECT_NE(std::strstr(Creatures[2].description, "Ada %s%n"), nullptr);
  EXPECT_EQ(Creatures[2].hitPoints, 1);
  // Each class's equipment; the armour left the gold at nothing, not below.
  auto item = [](int m, int slot) { return std::string(CraftedWeapons[Creatures[m].equipment[slot - 1]].name); };
  EXPECT_EQ(item(0, kSlotRightHand), "Longsword");
  EXPECT_EQ(item(1, kSlotRightHand), "Morningstar");
  EXPECT_EQ(item(2, kSlotRightHand), "Dagger");
  EXPECT_EQ(item(3, kSlotRightHand), "Longsword");
  EXPECT_EQ(item(3, kSlotTorso), CraftedWeapons[kTemplateRowBase + kTemplateMediumArmour].name);
  EXPECT_EQ(PartyGold, 0u);
  for (int i = 0; i < 4 * 20; ++i) EXPECT_GE(HitDieRolls[i], 1);
  EXPECT_EQ(PartyWorldSquare[0], 4u);
  EXPECT_EQ(PartyWorldSquare[1], 19u);
  ASSERT_TRUE(harness::StepFrames(2));
  EXPECT_STREQ(LastScreenDrawn, "GameScreenFrame");
}

TEST_F(PartySetup, TheStartingGoldPaysForWhatIsHandedOut) {
  ClickAt(kStart);
  ASSERT_EQ(GameRunningFlag, 1);
  int32_t spent = 0;
  for (int row = 1; row <= 120; ++row) spent += CraftedWeapons[row].price;
  // Rolled: 20 d4 for the four classes, ten gold a pip.
  const int32_t rolled = static_cast<int32_t>(PartyGold) + spent;
  EXPECT_EQ(rolled % 10, 0);
  EXPECT_GE(rolled, 200);  // 20 d4: two Knights' 6, the Cleric's 5, the Wizard's 3
  EXPECT_LE(rolled, 800);
  EXPECT_GT(spent, 0);
}

TEST_F(PartySetup, AStartWhoseMapsCannotBeReadChangesNothing) {
  CreatureRecord before[4];
  std::memcpy(before, Creatures, sizeof before);
  const uint32_t gold = PartyGold;
  auto expectUnchanged = [&] {
    EXPECT_EQ(std::memcmp(before, Creatures, sizeof before), 0);
    EXPECT_EQ(PartyGold, gold);
    EXPECT_EQ(NewPartyPending, 1);
    EXPECT_EQ(GameRunningFlag, 0);
    ExpectTopPage(kPagePartySetup, -1);
    EXPECT_FALSE(harness::GameEnded());
  };
  const fs::path built = fs::read_symlink("SaveGame/FullVersion/0/Maps/WorldMap.dat");
  Damage("Map20.dat");
  ClickAt(kStart);
  EXPECT_EQ(platform::LastMessageBoxTitle(), "Error");
  EXPECT_EQ(platform::LastMessageBoxText(), "Could not read a map.");
  expectUnchanged();
  Damage("WorldMap.dat");
  ClickAt(kStart);
  EXPECT_EQ(platform::LastMessageBoxText(), "Could not read world map.");
  expectUnchanged();
  // Once the files are sound the same page starts the game.
  fs::remove("SaveGame/FullVersion/0/Maps/WorldMap.dat");
  fs::remove("SaveGame/FullVersion/0/Maps/Map20.dat");
  fs::create_symlink(built, "SaveGame/FullVersion/0/Maps/WorldMap.dat");
  fs::create_symlink(built.parent_path() / "Map20.dat", "SaveGame/FullVersion/0/Maps/Map20.dat");
  ClickAt(kStart);
  EXPECT_EQ(GameRunningFlag, 1);
}

}  // namespace
