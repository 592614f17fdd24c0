// The quest journal's tree and filters, and the local and world map screens.
#include "screens/character/character_fixture.h"

#include "adventure/quest_journal.h"
#include "engine/linked_text.h"
#include "engine/settings.h"
#include "engine/sprite_sheets.h"
#include "map/map_record.h"
#include "map/party_vision.h"
#include "screens/character/map_screens.h"
#include "screens/character/quest_journal_screen.h"
#include "state/camera.h"
#include "state/fighter_slots.h"
#include "state/party_leader.h"
#include "state/turn_order.h"
#include "state/world_travel.h"

namespace charactertest {
namespace {

void SetEntry(int i, const char* text, uint32_t state, uint32_t parent) {
  JournalEntry& e = QuestJournal[i];
  e.text = text;
  e.length = static_cast<uint32_t>(e.text.size());
  e.state = state;
  e.value = parent;
}

std::vector<SheetDraw> DrawsOfOneFrame() {
  std::vector<SheetDraw> draws;
  RecordSheetDraws(&draws);
  harness::StepFrames(1);
  RecordSheetDraws(nullptr);
  return draws;
}

bool Drew(const std::vector<SheetDraw>& draws, int slot, int frame, int x, int y) {
  for (const SheetDraw& d : draws)
    if (d.slot == slot && d.frame == frame && d.x == x && d.y == y) return true;
  return false;
}

int CountFrame(const std::vector<SheetDraw>& draws, int slot, int frame) {
  int n = 0;
  for (const SheetDraw& d : draws) n += d.slot == slot && d.frame == frame;
  return n;
}

class JournalTest : public CharacterPageTest {
 protected:
  void SetUp() override {
    CharacterPageTest::SetUp();
    ResetQuestJournal();
    SetEntry(1, "Find the mill.", kJournalCompleted, 0);
    SetEntry(2, "Ask the miller about the road.", kJournalStarted, 1);  // pending follow-up of 1
    SetEntry(3, "Bury the dead.", kJournalCompleted, 0);
    SetEntry(4, "Say the words.", kJournalCompleted, 3);                // 3's follow-ups are all done
    SetEntry(5, "Guard the bridge.", kJournalStarted, 6);               // its parent never started
    SetEntry(7, "Light the beacon.", kJournalCompleted, 2);             // done, under a pending entry
    harness::MoveMouse(300, 230);
  }
};

TEST_F(JournalTest, PendingShowsFinishedEntriesWithPendingFollowUpsOnly) {
  JournalFilter = kJournalFilterPending;
  Open(kPageQuestJournal, 0, "Quest Journal");
  const std::vector<SheetDraw> draws = DrawsOfOneFrame();
  const std::vector<std::string> rows = Screen();
  EXPECT_EQ(rows[3], "  Find the mill.");
  EXPECT_EQ(rows[5], "    Ask the miller about the road.");
  EXPECT_EQ(rows[7], "  Guard the bridge.");
  for (const std::string& r : rows) {
    EXPECT_EQ(r.find("Bury"), std::string::npos);
    EXPECT_EQ(r.find("beacon"), std::string::npos);  // done, with no pending follow-up
  }
  EXPECT_TRUE(Drew(draws, kSheetInterface, 962, 8, 24));   // the completed mark of entry 1
  EXPECT_TRUE(Drew(draws, kSheetInterface, 965, 24, 40));  // a pending follow-up's mark
  EXPECT_FALSE(Drew(draws, kSheetInterface, 965, 8, 56));  // top-level and pending: no mark
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, "quest_journal"), 0);
}

TEST_F(JournalTest, CompletedHidesFollowUpsOfPendingEntriesAndAnotherFilterReturnsToTheTop) {
  JournalFilter = kJournalFilterCompleted;
  Open(kPageQuestJournal, 0, "Quest Journal");
  std::vector<std::string> rows = Screen();
  EXPECT_EQ(rows[3], "  Find the mill.");
  EXPECT_EQ(rows[5], "  Bury the dead.");
  EXPECT_EQ(rows[7], "    Say the words.");
  EXPECT_EQ(rows[9], "");  // "Light the beacon." stands under a pending entry

  // Scrolling moves by whole entries: one down hides the first entry only.
  BackgroundScroll = 1;
  rows = Screen();
  EXPECT_EQ(rows[3], "  Bury the dead.");
  EXPECT_EQ(rows[5], "    Say the words.");
  ClickCell(36, 1);  // "All"
  EXPECT_EQ(JournalFilter, kJournalFilterAll);
  EXPECT_EQ(BackgroundScroll, 0);
}

TEST_F(JournalTest, ParentLinksInALoopAreShownOnceAndALongEntryIsClipped) {
  SetEntry(10, "First of a loop.", kJournalStarted, 11);
  SetEntry(11, "Second of a loop.", kJournalStarted, 10);
  SetEntry(12, "Its own parent.", kJournalCompleted, 12);
  SetEntry(13, "A link past the journal.", kJournalStarted, 5000);
  EXPECT_TRUE(IsQuestInChain(10));
  EXPECT_FALSE(IsQuestInChain(12));
  JournalFilter = kJournalFilterAll;
  Open(kPageQuestJournal, 0, "Quest Journal");
  std::vector<std::string> rows = Screen();
  // A loop of links stands at the top level, each entry once: its first
  // entry with the second as its follow-up.
  EXPECT_EQ(rows[13], "  Guard the bridge.");
  EXPECT_EQ(rows[15], "  First of a loop.");
  EXPECT_EQ(rows[17], "    Second of a loop.");
  EXPECT_EQ(rows[19], "  Its own parent.");
  EXPECT_EQ(rows[21], "  A link past the journal.");  // shown at the top level
  EXPECT_EQ(rows[23], "");

  // A long entry runs past row 25: drawn clipped, and the down arrow shows.
  std::string text;
  for (int i = 0; i < 25; ++i) text += "More and more words. ";
  SetEntry(14, text.c_str(), kJournalStarted, 0);
  const std::vector<SheetDraw> draws = DrawsOfOneFrame();
  EXPECT_EQ(LinkedTextOverflow, -1);
  EXPECT_TRUE(Drew(draws, 18 + 486 / 196, 486 % 196, 304, 200));
  ASSERT_TRUE(harness::PressKey("End"));
  harness::StepFrames(1);
  // Just as far as the long entry ends inside the page.
  harness::StepFrames(1);
  EXPECT_NE(LinkedTextOverflow, -1);
  --BackgroundScroll;
  harness::StepFrames(1);
  EXPECT_EQ(LinkedTextOverflow, -1);
}

class MapScreenTest : public CharacterPageTest {
 protected:
  void SetUp() override {
    CharacterPageTest::SetUp();
    std::memset(&CurrentMap, 0, sizeof CurrentMap);
    std::strcpy(CurrentMap.name, "The Old Mill Yard");
    std::strcpy(CurrentMap.text, "Sacks and barrels stand by the door.");
    CurrentMap.width = 20;
    CurrentMap.height = 12;
    CurrentMapNumber = 3;
    std::memset(MapMemory[3], 0, sizeof MapMemory[3]);
    for (int x = 0; x < 10; ++x)
      for (int y = 0; y < 12; ++y) MapMemory[3][SquareIndex(x, y)] = 1;
    for (int y = 2; y < 9; ++y) CurrentMap.At(kLayerWalls, 6, y) = 60;
    CurrentMap.At(kLayerWalls, 3, 3) = 80;
    PartyLeader = kKnight;
    Creatures[kKnight].squareX = 2;
    Creatures[kKnight].squareY = 5;
    SetCameraBounds();
  }
};

TEST_F(MapScreenTest, PlanFramesAndMarkersOnSeenSquaresOnly) {
  EXPECT_EQ(LocalMapPlanFrame(6, 4), 516);
  EXPECT_EQ(LocalMapPlanFrame(5, 4), 516);  // a wall to its right
  EXPECT_EQ(LocalMapPlanFrame(5, 1), 516);  // one diagonally below right
  EXPECT_EQ(LocalMapPlanFrame(7, 4), 509);
  EXPECT_EQ(LocalMapPlanFrame(3, 3), 517);
  CurrentMap.At(kLayerWalls, 19, 11) = 5;
  EXPECT_EQ(LocalMapPlanFrame(19, 11), 510);  // the neighbours outside the map are not read

  // A creature on an unseen square, and a hidden one outside combat: no marker.
  FighterCount = 2;
  FighterSlots[0].creature = kDragon;
  FighterSlots[1].creature = kWizard;
  Creatures[kDragon].allegiance = 2;
  Creatures[kDragon].present = 1;
  Creatures[kDragon].squareX = 15;
  Creatures[kDragon].squareY = 4;
  Creatures[kDragon].special[kSenseKindWord] = 0;
  Open(kPageMapOverview, 0, "Local Map");
  harness::MoveMouse(20, 230);
  const std::vector<std::string> rows = Screen();
  EXPECT_EQ(rows[2], " The Old Mill Y");  // the name cut at 14 characters
  EXPECT_EQ(rows[3], "");
  int leaderShown = 0, creatureShown = 0;
  for (int i = 0; i < 24; ++i) {
    const std::vector<SheetDraw> draws = DrawsOfOneFrame();
    leaderShown += Drew(draws, kSheetInterface, 515, 126 + 6, 20 + 15);
    creatureShown += CountFrame(draws, kSheetInterface, 943);
  }
  EXPECT_EQ(leaderShown, 12);  // 12 of every 24 frames
  EXPECT_EQ(creatureShown, 0);
  Creatures[kDragon].squareX = 8;
  Creatures[kDragon].special[kSenseKindWord] = 4;
  creatureShown = 0;
  for (int i = 0; i < 24; ++i) creatureShown += CountFrame(DrawsOfOneFrame(), kSheetInterface, 943);
  EXPECT_EQ(creatureShown, 0);
  InCombat = 1;  // in combat every creature shows
  for (int i = 0; i < 24; ++i) creatureShown += CountFrame(DrawsOfOneFrame(), kSheetInterface, 943);
  InCombat = 0;
  EXPECT_EQ(creatureShown, 12);
  harness::MoveMouse(60, 150);
  harness::StepFrames(1);
  while (LocalMapBlinkPhase != 1 || LocalMapBlinkCounter != 5) harness::StepFrames(1);
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, "local_map"), 0);
}

TEST_F(MapScreenTest, AClickOnThePlanMovesTheViewThereAndReturnsToTheGame) {
  Open(kPageMapOverview, 0, "Local Map");
  // The top-left square: the origin (-168, -120) is raised to the bounds, and
  // the shade starts two squares left of and above the plan.
  harness::MoveMouse(127, 21);
  const std::vector<SheetDraw> draws = DrawsOfOneFrame();
  EXPECT_EQ(CursorShape, 4);
  EXPECT_TRUE(Drew(draws, kSheetInterface, 944, 120, 14));
  // At the right edge the shade ends at column width + 1.
  harness::MoveMouse(126 + 3 * 19 + 1, 21);
  const std::vector<SheetDraw> edge = DrawsOfOneFrame();
  EXPECT_TRUE(Drew(edge, kSheetInterface, 944, 126 + 3 * 21, 14));
  EXPECT_FALSE(Drew(edge, kSheetInterface, 944, 126 + 3 * 22, 14));
  // Outside the plan (past its 20 squares) nothing is proposed.
  harness::MoveMouse(126 + 3 * 20 + 1, 30);
  harness::StepFrames(1);
  EXPECT_EQ(CursorShape, 29);
  harness::Click(127, 21);
  EXPECT_EQ(ViewOriginX, CameraBounds.minX);
  EXPECT_EQ(ViewOriginY, CameraBounds.minY);
  EXPECT_EQ(ScreenMode, static_cast<uint32_t>(kModeExploring));
  EXPECT_EQ(PageDepth, 0);
}

TEST_F(MapScreenTest, TheWorldMapNamesWhatLiesUnderThePointer) {
  std::memset(&WorldMap, 0, sizeof WorldMap);
  WorldMap.width = 30;
  WorldMap.height = 20;
  WorldMap.At(kLayerGround, 5, 5) = 3;
  WorldMap.At(kLayerObjects1, 12, 7) = 7;
  WorldMap.At(kLayerObjects1, 14, 7) = 45;
  std::strcpy(StoredMaps[7].name, "Harrowgate Under The Hill");
  PartyWorldSquare[0] = 10;
  PartyWorldSquare[1] = 6;
  ScreenMode = kModeLocalMap;
  auto at = [](int x, int y) {
    harness::MoveMouse(8 * x + 3, 8 * y + 4);
    harness::StepFrames(2);
  };
  at(5, 5);
  EXPECT_EQ(CursorShape, 18);
  EXPECT_STREQ(HoverCaption, "");
  at(10, 6);
  EXPECT_STREQ(HoverCaption, "You are here");
  at(12, 7);
  EXPECT_EQ(CursorShape, 4);
  EXPECT_STREQ(HoverCaption, "Harrowgate Unde");
  at(14, 7);
  EXPECT_STREQ(HoverCaption, "");  // no stored map has that number
  EXPECT_STREQ(LastScreenDrawn, "DrawWorldMapScreen");
  const std::vector<SheetDraw> draws = DrawsOfOneFrame();
  EXPECT_TRUE(Drew(draws, kSheetInterface, 507, 80, 48));
}

TEST_F(MapScreenTest, TheWorldMapStartsItsAmbientSoundAndLeavingItStopsTheSound) {
  std::memset(&WorldMap, 0, sizeof WorldMap);
  WorldMap.width = 30;
  WorldMap.height = 20;
  OptionWords[kOptionAmbientVolume] = 70;
  ScreenMode = kModeLocalMap;
  harness::StepFrames(2);
  EXPECT_EQ(WorldAmbientOn, 1);
  EXPECT_GE(WorldAmbientLevel, 1u);
  harness::StepFrames(30);  // faded in one step every tenth frame
  EXPECT_GE(WorldAmbientLevel, 3u);
  ScreenMode = kModeExploring;
  harness::StepFrames(1);
  EXPECT_EQ(WorldAmbientOn, 0);
  EXPECT_EQ(WorldAmbientLevel, 0u);
}

}  // namespace
}  // namespace charactertest
