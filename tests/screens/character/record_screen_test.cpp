// The character record as a player sees and uses it.
#include "screens/character/character_fixture.h"

#include "rules/attack_profile.h"
#include "screens/character/page_kit.h"
#include "screens/character/record_screen.h"
#include "state/game_screen_words.h"
#include "state/map_view_state.h"
#include "state/text_entry.h"

namespace charactertest {
namespace {

struct Expected {
  int column, row;
  int32_t type, parameter;
  const char* caption;
};

void ExpectTop(const Expected& e) {
  EXPECT_EQ(TopPageType(), e.type) << e.caption;
  EXPECT_EQ(TopPageParameter(), e.parameter) << e.caption;
  // A help page shown takes its own title as the caption.
  const char* title = e.type == kPageHelpTopic ? HelpPageTitle(e.parameter) : nullptr;
  EXPECT_STREQ(TopPageCaption(), title ? title : e.caption);
}

TEST_F(CharacterPageTest, RecordOfAnArmedKnightWithConditions) {
  AddEntry(kKnight, kCondEnhancedStrength, 4, kDurationLasting);
  AddEntry(kKnight, kCondLongStride, 0, kDurationLasting);
  Open(kPageCharacterRecord, kKnight, "Aldric");
  harness::MoveMouse(300, 230);
  const std::vector<std::string> rows = Screen();
  EXPECT_EQ(rows[1], " Aldric          Sex:Male   Level:1");
  EXPECT_EQ(rows[3], " Lawful Good Human Knight (Leader)");
  EXPECT_EQ(rows[10].substr(0, 8), " STR:17 ");  // 13 and the enhancement's 4
  EXPECT_EQ(rows[14].substr(0, 18), " 1*Steel Longsword");
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, "character_record"), 0);
}

TEST_F(CharacterPageTest, EveryValueAndLabelOpensItsPage) {
  Open(kPageCharacterRecord, kKnight, "Aldric");
  const Expected links[] = {
      {34, 1, 10, kKnight, "Level Modifiers"},       {6, 2, 11, kKnight, "Hit Points Modifiers"},
      {21, 2, 12, kKnight, "Size Modifiers"},        {5, 10, 13, kKnight, "Strength Modifiers"},
      {12, 10, 14, kKnight, "Dexterity Modifiers"},  {19, 10, 15, kKnight, "Constitution Modifiers"},
      {5, 11, 16, kKnight, "Intelligence Modifiers"}, {12, 11, 17, kKnight, "Wisdom Modifiers"},
      {19, 11, 18, kKnight, "Charisma Modifiers"},   {5, 12, 19, kKnight, "Fortitude Save Modifiers"},
      {12, 12, 20, kKnight, "Reflex Save Modifiers"}, {19, 12, 21, kKnight, "Willpower Save Modifiers"},
      {35, 10, 22, kKnight, "Base Attack Bonus"},    {35, 11, 24, kKnight, "Armor Class Modifiers"},
      {29, 12, 23, kKnight, "Speed Modifiers"},      {17, 1, 9, 21001, "Gender"},
      {1, 3, 9, 21016, "Lawful Good"},               {13, 3, 9, 22057, "Human"},
      {19, 3, 9, 23002, "Knight/Fighter"},           {23, 18, 9, 61000, "Conditions"},
      {8, 12, 9, 21014, "Saving Throws"},            {1, 20, 3, kKnight, "Feats (Aldric)"},
      {12, 18, 2, kKnight, "Inventory (Aldric)"},    {12, 24, 9, 10000, "Help Index"},
  };
  const int32_t depth = PageDepth;
  for (const Expected& e : links) {
    ClickCell(e.column, e.row);
    ExpectTop(e);
    PageDepth = depth;
    harness::StepFrames(1);
  }
  // The statistic page shows the creature the record showed.
  ClickCell(35, 10);
  EXPECT_EQ(LastScreenDrawn, std::string("DrawStatisticsPage"));
}

TEST_F(CharacterPageTest, ClassNamesAndTheLeaderMark) {
  CreatureRecord& k = Creatures[kKnight];
  Open(kPageCharacterRecord, kKnight);
  EXPECT_EQ(Screen()[3], " Lawful Good Human Knight (Leader)");
  k.allegiance = kAllegianceEnemy;  // a Knight that is not of the party's side fights as a Fighter
  EXPECT_EQ(Screen()[3], " Lawful Good Human Fighter (Leader)");
  k.allegiance = kAllegianceParty;
  k.type = kTypeGiant;
  EXPECT_EQ(Screen()[3], " Lawful Good Human Fighter (Leader)");
  k.creatureClass = kClassRogue;  // no class name at all
  LevelUpPending = 1;             // and no leader mark during a level-up
  EXPECT_EQ(Screen()[3], " Lawful Good Human");
}

TEST_F(CharacterPageTest, PendingLevelUpRefusesLeavingThePage) {
  LevelUpPending = 1;
  Open(kPageCharacterRecord, kKnight);
  const int32_t depth = PageDepth;
  // Back To The Game, Options, Local Map, World Map.
  for (const auto& [column, row] : {std::pair{3, 28}, std::pair{1, 24}, std::pair{1, 22}, std::pair{12, 22}}) {
    ClickCell(column, row);
    EXPECT_EQ(CursorShape, 18);
    EXPECT_EQ(ScreenMode, static_cast<uint32_t>(kModePageView));
    EXPECT_EQ(PageDepth, depth);
  }
  harness::PressKey("Escape");
  harness::StepFrames(1);
  EXPECT_EQ(ScreenMode, static_cast<uint32_t>(kModePageView));
  LevelUpPending = 0;
  ClickCell(3, 28);  // Back To The Game
  EXPECT_EQ(ScreenMode, static_cast<uint32_t>(kModeExploring));
  EXPECT_EQ(PageDepth, 0);
}

TEST_F(CharacterPageTest, HistoryAtItsDeepestAndTheForwardLimit) {
  Open(kPageCharacterRecord, kKnight);
  ClickCell(12, 26);  // Forward: nothing lies ahead
  EXPECT_EQ(CursorShape, 18);
  PageDepth = 99;
  PageHighestDepth = 99;
  PageHistory[99] = PageFrame{"Aldric", kPageCharacterRecord, kKnight};
  harness::StepFrames(1);
  ClickCell(34, 1);  // a push at the deepest page overwrites it
  EXPECT_EQ(PageDepth, 99);
  EXPECT_EQ(TopPageType(), 10);
  PageHistory[99] = PageFrame{"Aldric", kPageCharacterRecord, kKnight};
  harness::StepFrames(1);
  ClickCell(1, 26);  // Back
  EXPECT_EQ(PageDepth, 98);
}

TEST_F(CharacterPageTest, PartyArrowsAndNumberKeys) {
  EXPECT_EQ(NextPartyMember(0), 1);
  EXPECT_EQ(PrevPartyMember(0), 3);
  for (int m = 1; m < kPartySize; ++m) Creatures[m].name[0] = '\0';
  EXPECT_EQ(NextPartyMember(0), 0);  // the only named member leads to itself both ways
  EXPECT_EQ(PrevPartyMember(0), 0);
  std::strcpy(Creatures[kCleric].name, "Corwin");
  Open(kPageCharacterRecord, kKnight);
  harness::Click(306, 27);  // the right arrow
  harness::StepFrames(1);
  EXPECT_EQ(TopPageParameter(), kCleric);
  harness::PressKey("1");
  harness::StepFrames(1);
  EXPECT_EQ(TopPageParameter(), kKnight);
  harness::PressKey("2");  // an unnamed member's key does nothing
  harness::StepFrames(1);
  EXPECT_EQ(TopPageParameter(), kKnight);
  harness::PressKey("7");
  harness::StepFrames(1);
  EXPECT_EQ(TopPageType(), kPageInventory);
  EXPECT_EQ(TopPageParameter(), kCleric);
}

TEST_F(CharacterPageTest, AttackLinesScrollNoFurtherThanTheLastEntry) {
  Open(kPageCharacterRecord, kDragon);
  for (int i = 0; i < 8; ++i) {
    harness::Click(308, 132);  // the down arrow
    harness::StepFrames(1);
  }
  AttackProfile profile;
  BuildAttackProfile(&profile, kDragon, 0, -1, 0, 0);
  int used = 0;
  for (const AttackProfileEntry& e : profile.entries) used += e.kind != kEntryNone;
  ASSERT_GT(used, 3);
  EXPECT_LE(AttackLinesScroll, 4);
  EXPECT_EQ(AttackLinesScroll, used - 3);  // the last line shown is the last entry in use
  harness::MoveMouse(308, 132);
  harness::StepFrames(1);
  EXPECT_EQ(CursorShape, 18);
}

TEST_F(CharacterPageTest, RenamingIsKeptWithItsRecordAndBounded) {
  Open(kPageCharacterRecord, kKnight);
  ClickCell(2, 1);  // the name
  EXPECT_EQ(TextEntryMode, static_cast<uint32_t>(kTextEntryCharacterName));
  for (int i = 0; i < 6; ++i) {
    harness::PressKey("Backspace");
    harness::StepFrames(1);  // the key is let go before it is pressed again
  }
  for (const char* key : {"B", "R", "A", "N"}) harness::PressKey(key);
  harness::PressKey("Return");
  harness::StepFrames(1);
  EXPECT_STREQ(Creatures[kKnight].name, "bran");
  EXPECT_STREQ(Creatures[kKnight].description,
               "bran left the mill at sixteen. bran keeps his father's sword and a vow to guard the road.");

  // A name of one letter is not looked for in the text; a long text stays in its 402 bytes.
  std::strcpy(Creatures[kKnight].name, "b");
  std::memset(Creatures[kKnight].description, 'b', 401);
  ClickCell(1, 1);
  harness::PressKey("Backspace");
  for (const char* key : {"O", "W", "E", "N"}) harness::PressKey(key);
  harness::PressKey("Return");
  harness::StepFrames(1);
  EXPECT_STREQ(Creatures[kKnight].name, "owen");
  EXPECT_EQ(std::string(Creatures[kKnight].description, 401), std::string(401, 'b'));
  EXPECT_EQ(Creatures[kKnight].description[401], '\0');

  // A typing left for another page is dropped: the name stays as it was.
  ClickCell(2, 1);
  harness::PressKey("X");
  ClickCell(12, 18);  // Inventory
  EXPECT_EQ(TextEntryMode, static_cast<uint32_t>(kTextEntryNone));
  harness::PressKey("Return");
  harness::StepFrames(1);
  EXPECT_STREQ(Creatures[kKnight].name, "owen");
}

TEST_F(CharacterPageTest, TheBackgroundIsTypedAtItsEnd) {
  std::strcpy(Creatures[kKnight].description, "Short");
  Open(kPageCharacterRecord, kKnight);
  ClickCell(10, 6);  // the band of the background text
  EXPECT_EQ(TextEntryMode, static_cast<uint32_t>(kTextEntryCreatureDescription));
  EXPECT_STREQ(BackgroundEditBuffer, "Short");
  for (const char* key : {"Space", "A", "X", "E"}) harness::PressKey(key);
  harness::PressKey("Return");
  harness::StepFrames(1);
  EXPECT_STREQ(Creatures[kKnight].description, "Short axe");
  EXPECT_EQ(TextEntryMode, static_cast<uint32_t>(kTextEntryNone));
}

TEST_F(CharacterPageTest, ConditionBadgesOpenTheirEntry) {
  AddEntry(kKnight, kCondEnhancedSaves, 2, kDurationLasting);
  AddEntry(kKnight, kCondLongStride, 0, kDurationLasting);
  Open(kPageCharacterRecord, kKnight);
  const int slot = FindCondition(kKnight, kCondLongStride);
  ASSERT_GE(slot, 0);
  const int column = 23 + 2 * slot, row = 19;
  ClickCell(column, row);
  EXPECT_EQ(TopPageType(), kPageEffectsFirst + slot);
  EXPECT_EQ(TopPageParameter(), kKnight);
  EXPECT_STREQ(TopPageCaption(), "Long_Stride");
  EXPECT_EQ(LastScreenDrawn, std::string("DrawEffectsPage"));
}

}  // namespace
}  // namespace charactertest
