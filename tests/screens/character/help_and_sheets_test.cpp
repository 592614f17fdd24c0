// The help text page, the sheet of a base item and the sheet of a spell as a
// player reads and scrolls them.
#include "screens/character/character_fixture.h"

#include <map>
#include <string>

#include "engine/help_lookup.h"
#include "engine/linked_text.h"
#include "engine/sprite_sheets.h"
#include "screens/character/sheet_texts.h"
#include "shell/page_dispatch.h"

namespace charactertest {
namespace {

constexpr uint32_t kLongPage = 99001;

// A help page of 60 short lines under its title and a blank line: 32 of
// the 62 fit the box, so it scrolls by 30.
void AddLongPage() {
  ReadCheckedHelpFile();
  ASSERT_LT(HelpPagesLoaded, kHelpPageCount);
  HelpPage& page = HelpPages[HelpPagesLoaded++];
  page.id = kLongPage;
  std::strcpy(page.title, "Long Page");
  std::string text;
  for (int i = 1; i <= 60; ++i) text += (i > 1 ? "\rLine " : "Line ") + std::to_string(i);
  std::strcpy(page.text, text.c_str());
}

int FramesDrawn(int frame) {
  std::vector<SheetDraw> draws;
  RecordSheetDraws(&draws);
  harness::StepFrames(1);
  RecordSheetDraws(nullptr);
  int n = 0;
  for (const SheetDraw& d : draws) n += d.slot == kSheetInterface && d.frame == frame;
  return n;
}

void Hold(const char* key, int frames) {
  ASSERT_TRUE(harness::KeyDown(key));
  harness::StepFrames(frames);
  harness::KeyUp(key);
  harness::StepFrames(1);
}

TEST_F(CharacterPageTest, ALongHelpPageScrollsByKeysAndThumbAndAShortOneDoesNot) {
  AddLongPage();
  Open(kPageHelpTopic, static_cast<int32_t>(kLongPage), "Link");
  EXPECT_STREQ(TopPageCaption(), "Long Page");  // the page's own title
  EXPECT_EQ(HelpLineCount, 30);
  harness::MoveMouse(150, 100);
  ASSERT_TRUE(harness::PressKey("Down"));
  harness::StepFrames(1);
  EXPECT_EQ(BackgroundScroll, 3);  // once per press
  Hold("PageDown", 4);
  EXPECT_EQ(BackgroundScroll, 7);  // a line every frame while held
  ASSERT_TRUE(harness::PressKey("End"));
  harness::StepFrames(1);
  EXPECT_EQ(BackgroundScroll, 30);
  ASSERT_TRUE(harness::PressKey("Home"));
  harness::StepFrames(1);
  EXPECT_EQ(BackgroundScroll, 0);
  // The thumb (rows 3 to 23 of 6 pixels, x 306 to 310) dragged to the bottom
  // shows exactly the last screenful.
  harness::Drag(308, 30, 308, 230);
  EXPECT_EQ(BackgroundScroll, 30);
  EXPECT_GT(FramesDrawn(482), 0);

  // The main index fits its box: no thumb, no arrows, the keys do nothing.
  Open(kPageHelpTopic, static_cast<int32_t>(kMainIndexPageId), "Index");
  EXPECT_EQ(HelpLineCount, 0);
  ASSERT_TRUE(harness::PressKey("Down"));
  ASSERT_TRUE(harness::PressKey("End"));
  harness::StepFrames(1);
  EXPECT_EQ(BackgroundScroll, 0);
  EXPECT_EQ(FramesDrawn(482), 0);
  EXPECT_EQ(FramesDrawn(486), 0);
}

// Every page a keyword link opens heads its text with its title, whole and
// with its words apart, however long the text below it.
TEST_F(CharacterPageTest, EveryHelpPageOpenedFromALinkShowsItsTitleFirst) {
  ReadCheckedHelpFile();
  ASSERT_GT(HelpKeywordsLoaded, 0);
  std::map<uint32_t, bool> walked;
  for (int k = 0; k < HelpKeywordsLoaded; ++k) {
    const uint32_t id = HelpKeywords[k].pageId;
    if (!walked.emplace(id, true).second) continue;
    // The sheets of items and spells show their own names.
    if (ChoosePageScreen(kPageHelpTopic, static_cast<int32_t>(id)).screen != PageScreen::kTextPage) continue;
    ScreenMode = kModeExploring;
    OpenLinkedPage(kPageHelpTopic, static_cast<int32_t>(id));
    harness::StepFrames(1);
    std::vector<GlyphDraw> glyphs;
    RecordGlyphs(&glyphs);
    harness::StepFrames(1);
    RecordGlyphs(nullptr);
    ASSERT_STREQ(LastScreenDrawn, "DrawTextPageScreen");
    // The first line of the text box: small cells of 5 by 6 pixels from
    // column 2, row 2.
    std::string first(60, ' ');
    for (const GlyphDraw& g : glyphs)
      if (g.y == 12 && g.x >= 10 && g.x % 5 == 0 && g.x / 5 - 2 < 60) first[g.x / 5 - 2] = static_cast<char>(g.c);
    first.erase(first.find_last_not_of(' ') + 1);
    const int index = FindHelpPage(id);
    ASSERT_GE(index, 0) << id;
    EXPECT_EQ(first, HelpPages[index].title) << HelpKeywords[k].keyword;
  }
  EXPECT_GT(walked.size(), 500u);
}

TEST_F(CharacterPageTest, AHelpIdWithoutAPageCanStillBeLeft) {
  SavedScreenMode = kModeExploring;
  Open(kPageHelpTopic, 12345, "Nowhere");
  EXPECT_STREQ(LastScreenDrawn, "DrawTextPageScreen");
  ASSERT_TRUE(harness::PressKey("Escape"));
  harness::StepFrames(1);
  EXPECT_EQ(ScreenMode, static_cast<uint32_t>(kModeExploring));
}

TEST_F(CharacterPageTest, TheSentencesOnMagicByTypeAndBonus) {
  char s[kPropertiesSentenceSize];
  ItemPropertiesSentence(38, 2, s);
  EXPECT_STREQ(s, "This \xA3Ring_of_Protection\xA3 is a \xA3Magic_Item\xA3 that gives a \xA3"
                  "Deflection\xA3 bonus of +2 to the \xA3"
                  "Armor_Class\xA3.");
  ItemPropertiesSentence(26, 20, s);
  EXPECT_EQ(std::string(s).substr(std::strlen(s) - 7), "of 20%.");
  ItemPropertiesSentence(22, 3, s);
  EXPECT_NE(std::strstr(s, "+10 bonus"), nullptr);  // always +10
  ItemPropertiesSentence(30, 7, s);
  EXPECT_EQ(std::strchr(s, '7'), nullptr);
  ItemPropertiesSentence(19, 3, s);  // the scroll of spell row 3, lower case but its first letter
  EXPECT_STREQ(s, "This \xA3magic_scroll\xA3 contains the spell \xA3sleep\xA3.");
  ItemPropertiesSentence(12, 0, s);
  EXPECT_NE(std::strstr(s, "Slaying_Arrow"), nullptr);
  for (int32_t type : {0, 1, 7, 17, 18, 39, -4, 1000}) {
    ItemPropertiesSentence(type, 5, s);
    EXPECT_STREQ(s, "This item has no magical properties.") << type;
  }
}

TEST_F(CharacterPageTest, ItemSheetsOfARingAScrollAnArrowAndCodesWithoutAnItem) {
  Open(5193, 0);  // Ring of Protection +1
  EXPECT_STREQ(LastScreenDrawn, "DrawItemPropertiesScreen");
  harness::MoveMouse(300, 230);
  std::vector<std::string> rows = Screen();
  EXPECT_EQ(rows[1].substr(4), "Ring of Protection +1");
  EXPECT_EQ(rows[2].substr(4), "Ring of Protection");
  EXPECT_EQ(rows[3].substr(27), "Price:2000");
  EXPECT_EQ(rows[16], " Magical Properties");
  EXPECT_EQ(rows[18].substr(0, 23), " This Ring of Protectio");
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, "ring_sheet"), 0);

  // An arrow's sheet, its type past the names table: no caption.
  ItemTable[1].baseType = 45;
  Open(5001, 0);
  rows = Screen();
  EXPECT_EQ(rows[1].substr(4), "Arrows");
  EXPECT_EQ(rows[2], "");
  // Past the table: the frame and the bar only.
  for (int32_t code : {7000, 10000}) {
    Open(code, 0);
    rows = Screen();
    EXPECT_EQ(rows[1], "") << code;
    EXPECT_EQ(rows[16], "") << code;
  }

  // A scroll with a long description: Page Down held scrolls a line a frame
  // to the end and no further.
  std::string text;
  for (int i = 1; i <= 20; ++i) text += "Rune " + std::to_string(i) + "\r";
  std::strcpy(ItemTable[3].description, text.c_str());
  Open(5003, 0);
  harness::MoveMouse(300, 230);
  Hold("PageDown", 40);
  const int32_t end = BackgroundScroll;
  EXPECT_EQ(end, 11);  // 21 lines (the last one empty) in 10 rows
  DrawLinkedText(ItemTable[3].description, 3, 1, 5, 38, 14, end, 1, 1, 0);
  EXPECT_EQ(LinkedTextOverflow, 1);
  DrawLinkedText(ItemTable[3].description, 3, 1, 5, 38, 14, end - 1, 1, 1, 0);
  EXPECT_EQ(LinkedTextOverflow, -1);
}

TEST_F(CharacterPageTest, SaveTextsOfOneAndTwoSaves) {
  SpellRecord s{};
  s.effects[0].save = 3;
  EXPECT_STREQ(SpellSaveText(s, 10), "Ref.(Half)");
  EXPECT_STREQ(SpellSaveText(s, 95), "Ref.(Partial)");
  s.effects[0].save = 5;
  EXPECT_STREQ(SpellSaveText(s, 95), "Wil.(Negates)");
  s.effects[0].save = 9;
  EXPECT_STREQ(SpellSaveText(s, 1), "");
  s.effects[1].code = 4;  // a second effect: two saves
  s.effects[0].save = 0;
  s.effects[1].save = 5;
  EXPECT_STREQ(SpellSaveText(s, 1), "Wil.(Partial)");
  s.effects[0].save = 1;
  s.effects[1].save = 4;
  EXPECT_STREQ(SpellSaveText(s, 1), "For.(Twice)");
  s.effects[1].save = 6;
  EXPECT_STREQ(SpellSaveText(s, 1), "Special");
  s.effects[0].save = s.effects[1].save = 0;
  EXPECT_STREQ(SpellSaveText(s, 1), "None");
}

TEST_F(CharacterPageTest, SpellSheetsOfAnArcaneAndADivineSpell) {
  EXPECT_EQ(ChooseHelpTopicScreen(51016).screen, PageScreen::kTextPage);
  ASSERT_EQ(ChooseHelpTopicScreen(51017).argument, 14);
  SpellRecord& s = SpellTable[14];
  s.verbal = s.somatic = 1;
  for (int i = 0; i < 6; ++i) s.metamagic[i] = i == kMetaWiden || i == kMetaStill;
  Open(kPageHelpTopic, 51017, "Acid Ray");
  EXPECT_STREQ(LastScreenDrawn, "DrawSpellDetailsScreen");
  harness::MoveMouse(300, 230);
  std::vector<SheetDraw> draws;
  RecordSheetDraws(&draws);
  std::vector<std::string> rows = Screen();
  RecordSheetDraws(nullptr);
  EXPECT_EQ(rows[1].substr(4), std::string(s.name) + " (Arcane 2)");
  EXPECT_EQ(rows[13].substr(20), "Components:V, S");
  EXPECT_EQ(rows[22], " Index of level 2 Wizard spells");
  EXPECT_EQ(rows[23], " Index of Wizard spells");
  // Widen and Still closed up at columns 3 and 7 of row 18.
  std::vector<int> icons;
  for (const SheetDraw& d : draws)
    if (d.y == 18 * 8 + 3 && (d.frame == 525 % 196 || d.frame == 466 % 196)) icons.push_back(d.x);
  EXPECT_EQ(icons, (std::vector<int>{3 * 8 + 3, 7 * 8 + 3}));
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, "spell_sheet"), 0);
  std::strcpy(s.name, "An Exceedingly Long Name Of A Spell");
  rows = Screen();
  // The name cut at 30; its level, which would pass the picture's edge after
  // it, follows the school line.
  EXPECT_EQ(rows[1].substr(4), "An Exceedingly Long Name Of A");
  EXPECT_EQ(rows[2].substr(rows[2].size() - 11), " (Arcane 2)");

  // At line 0 the "Scroll Up" row refuses; the "S" of the components is a link.
  harness::MoveMouse(100, 5 * 8 + 3);
  harness::StepFrames(1);
  EXPECT_EQ(CursorShape, 18);
  harness::MoveMouse(34 * 8 + 3, 13 * 8 + 3);
  harness::StepFrames(1);
  EXPECT_STREQ(HoverCaption, "Somatic Component");
  ClickCell(1, 22);
  EXPECT_EQ(TopPageType(), kPageHelpTopic);
  EXPECT_EQ(TopPageParameter(), 51016);

  // A divine spell (topic 52002, row 102) links to the Cleric indexes.
  Open(kPageHelpTopic, 52002, "Light");
  harness::MoveMouse(300, 230);
  rows = Screen();
  EXPECT_NE(rows[1].find("(Divine 1)"), std::string::npos);
  EXPECT_EQ(rows[23], " Index of Cleric spells");
  ClickCell(1, 24);
  EXPECT_EQ(TopPageParameter(), 50000);
}

TEST_F(CharacterPageTest, ASpellSheetShowsOnlyTheProtectionCodesThatAreDescriptors) {
  std::map<std::string, std::string> shown;
  for (int spell = 0; spell < kSpellRows; ++spell) {
    if (std::strncmp(SpellTable[spell].name, "Extra Spell", 11) == 0) continue;
    Open(kPageHelpTopic, SpellHelpPage(spell));
    const std::string row = Screen()[3];
    EXPECT_EQ(row.find("<>"), std::string::npos) << SpellTable[spell].name;
    shown[SpellTable[spell].name] = row.substr(4);
  }
  EXPECT_EQ(shown["Entangle"], "<->");  // stopped by freedom of movement: no descriptor
  EXPECT_EQ(shown["Sleep"], "<->");
  EXPECT_EQ(shown["Fireball"], "<Fire>");
  EXPECT_EQ(shown["Wall of Stone"], "<Earth>");
  // A descriptor standing second, after a code that is none, is still shown.
  SpellTable[0].immunity2 = SpellTable[31].immunity1;
  Open(kPageHelpTopic, SpellHelpPage(0));
  EXPECT_EQ(Screen()[3].substr(4), "<Fire>");
}

}  // namespace
}  // namespace charactertest
