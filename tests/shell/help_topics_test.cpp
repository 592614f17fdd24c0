// The help topics that stand for rows of the game's tables: the topic a spell
// computes, the screen that topic shows and the spell's log keyword all name
// the same spell; the fixed item topics carry the name of the item they show
// (their title is the hover caption of every link to them); each creature
// kind's keyword opens the page of its kind.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>

#include "creatures/creature_kinds.h"
#include "engine/help_lookup.h"
#include "engine/help_pages.h"
#include "rules/casting_rules.h"
#include "rules/item_tables.h"
#include "screens/character/spell_book.h"
#include "shell/page_dispatch.h"

namespace {

class HelpTopics : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(LoadHelpTables());
    ASSERT_EQ(LoadSpellTable(), 1);
    ASSERT_EQ(LoadItemTable(), 1);
    ASSERT_EQ(LoadCraftedWeaponsFmt("SaveGame\\%s\\0\\SaveWeapon.wml", "FullVersion"), 1);
  }

  // The title of the page with that id ("" when there is none).
  static std::string Title(uint32_t id) {
    const int p = FindHelpPage(id);
    return p < 0 ? std::string() : std::string(HelpPages[p].title);
  }
  // A name as a page title holds it.
  static std::string AsTitle(const char* name) { return std::string(name).substr(0, kHelpTitleSize - 1); }
  // The page a keyword (without its marks) opens, 0 when none.
  static uint32_t PageOf(const char* word) {
    std::string keyword(1, '@');
    keyword.append(word).push_back('@');
    const int k = FindHelpKeyword(keyword.c_str());
    return k < 0 ? 0 : HelpKeywords[k].pageId;
  }
};

TEST_F(HelpTopics, ASpellsTopicShowsThatSpellAndItsLogKeywordOpensIt) {
  int spells = 0;
  for (int s = 0; s < kSpellRows; ++s) {
    const SpellRecord& r = SpellTable[s];
    if (std::strncmp(r.name, "Extra Spell", 11) == 0) continue;  // the spare rows
    ++spells;
    const int32_t topic = SpellHelpPage(s);
    const PageChoice shown = ChooseHelpTopicScreen(topic);
    EXPECT_EQ(shown.screen, PageScreen::kSpellDetails) << r.name << " " << topic;
    EXPECT_EQ(shown.argument, s) << r.name << " " << topic;
    EXPECT_EQ(Title(static_cast<uint32_t>(topic)), AsTitle(r.name)) << topic;
    EXPECT_EQ(PageOf(SpellKeywordFull(s)), static_cast<uint32_t>(topic)) << SpellKeywordFull(s);
    // The topic just before the first spell of a level is that level's index page.
    if (s == 0 || r.level != SpellTable[s - 1].level || r.divine != SpellTable[s - 1].divine) {
      const int32_t heading = topic - 1;
      EXPECT_EQ(ChooseHelpTopicScreen(heading).screen, PageScreen::kTextPage) << heading;
      EXPECT_NE(Title(static_cast<uint32_t>(heading)).find("Level " + std::to_string(r.level)), std::string::npos)
          << heading;
    }
  }
  EXPECT_EQ(spells, 175);
}

TEST_F(HelpTopics, TheFixedItemTopicsAreTitledWithTheItemTheyShow) {
  int items = 0;
  for (uint32_t topic = 70001; topic <= 70064; ++topic) {
    const PageChoice shown = ChooseHelpTopicScreen(static_cast<int32_t>(topic));
    if (shown.screen == PageScreen::kNone) {
      EXPECT_EQ(topic, 70010u);  // names no item: draws nothing, and has no page
      EXPECT_EQ(Title(topic), "");
      continue;
    }
    ASSERT_EQ(shown.screen, PageScreen::kItemProperties) << topic;
    EXPECT_EQ(Title(topic), AsTitle(ItemTable[shown.argument - static_cast<int32_t>(kFirstBaseItemCode)].name))
        << topic;
    ++items;
  }
  for (uint32_t topic = 43050; topic <= 43098; ++topic) {
    const PageChoice shown = ChooseHelpTopicScreen(static_cast<int32_t>(topic));
    if (shown.screen == PageScreen::kTextPage) {
      EXPECT_EQ(topic, 43085u);  // the arms and armour index
      continue;
    }
    ASSERT_EQ(shown.screen, PageScreen::kItemDetails) << topic;
    EXPECT_EQ(Title(topic), AsTitle(CraftedWeapons[shown.argument].name)) << topic;
    ++items;
  }
  EXPECT_EQ(items, 63 + 48);
  // The magic items' own page stands outside the item run, and its links open it.
  EXPECT_EQ(PageOf("MAGIC_ITEMS"), 70000u);
  EXPECT_EQ(ChooseHelpTopicScreen(70000).screen, PageScreen::kTextPage);
}

TEST_F(HelpTopics, EachCreatureKindsKeywordOpensThePageOfItsKind) {
  int kinds = 0;
  for (int kind = 1; kind < kKindRows; ++kind) {
    if (std::strcmp(KindNames[kind], "-") == 0) continue;
    ++kinds;
    EXPECT_EQ(PageOf(KindNames[kind]), 22000u + static_cast<uint32_t>(kind)) << KindNames[kind];
  }
  EXPECT_GE(kinds, kKindTemplateCount);
}

// A kind's page must agree with the kind table about how big and how fast
// the creature is.
TEST_F(HelpTopics, EachKindsPageGivesTheSizeAndSpeedOfItsTableRow) {
  for (const KindTemplate& t : KindTemplates) {
    const int p = FindHelpPage(22000u + static_cast<uint32_t>(t.kind));
    ASSERT_GE(p, 0) << t.kind;
    const std::string text = HelpPages[p].text;
    const char* size = t.size == 3 ? "Medium" : t.size == 4 ? "Large" : "?";
    EXPECT_NE(text.find(size), std::string::npos) << t.kind << " " << size;
    const std::string speed = "speed " + std::to_string(t.speed) + " feet";
    EXPECT_NE(text.find(speed), std::string::npos) << t.kind << " " << speed;
  }
}

// A keyword that opens the page of one kind of a feat ("Weapon Focus
// (Fists)") names that kind; the family's own word opens the family's page.
TEST_F(HelpTopics, AFeatKeywordOpensTheKindItNames) {
  const auto letters = [](const std::string& s) {
    std::string out;
    for (char c : s)
      if (std::isalnum(static_cast<unsigned char>(c))) out.push_back(static_cast<char>(std::toupper(c)));
    return out;
  };
  for (int k = 0; k < HelpKeywordsLoaded; ++k) {
    const HelpKeywordEntry& entry = HelpKeywords[k];
    if (entry.pageId < 31001 || entry.pageId > 31330) continue;
    const std::string title = Title(entry.pageId);
    const size_t open = title.find('(');
    if (open == std::string::npos) continue;
    const std::string kind = letters(title.substr(open + 1, title.find_first_of(" )", open) - open - 1));
    EXPECT_NE(letters(entry.keyword).find(kind), std::string::npos) << entry.keyword << " opens " << title;
  }
  for (const char* family : {"WEAPON_FOCUS", "GREATER_WEAPON_FOCUS", "IMPROVED_CRITICAL", "SPELL_FOCUS"})
    EXPECT_EQ(Title(PageOf(family)).find('('), std::string::npos) << family;
}

}  // namespace
