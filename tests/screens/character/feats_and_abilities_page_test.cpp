// The feats and abilities page: what it gathers, its order and its scrolling.
#include "screens/character/character_fixture.h"

#include <algorithm>

#include "rules/casting_rules.h"
#include "rules/feat_names.h"
#include "rules/record_words.h"
#include "screens/character/feats_and_abilities_page.h"

namespace charactertest {
namespace {

std::vector<std::string> Names(int creature) {
  static AbilityEntry entries[kAbilityEntries];
  const int n = GatherAbilityEntries(creature, entries);
  std::vector<std::string> names;
  for (int i = 0; i < n; ++i) names.push_back(entries[i].name);
  EXPECT_EQ(entries[n].name[0], '\0');
  return names;
}

bool Has(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

TEST_F(CharacterPageTest, TheDragonsAbilitiesInByteOrder) {
  const std::vector<std::string> names = Names(kDragon);
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
  EXPECT_TRUE(Has(names, "Spell Resistance 25"));
  EXPECT_TRUE(Has(names, "Immunity (Fire)"));
  EXPECT_TRUE(Has(names, "Weakness (Cold)"));
  EXPECT_TRUE(Has(names, "Breath Weapon (14D10 Fire Damage)"));
  Open(kPageSpecialAbilities, kDragon);
  harness::MoveMouse(300, 230);
  const std::vector<std::string> rows = Screen();
  EXPECT_EQ(rows[1], "  Red Dragon: Feats and Abilities");
  EXPECT_EQ(rows[3], " Breath Weapon (14d10 Fire Damage)");  // every line shown with its words capitalised
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, "dragon_abilities"), 0);
}

TEST_F(CharacterPageTest, FoldedProficienciesToughnessAndSpellLikeUses) {
  CreatureRecord& k = Creatures[kKnight];
  std::vector<std::string> names = Names(kKnight);
  EXPECT_TRUE(Has(names, "Martial Proficiencies (All)"));
  EXPECT_TRUE(Has(names, "Armor Proficiencies (All)"));
  EXPECT_FALSE(Has(names, FeatNameTable[kFeatFirstMartial]));
  k.feats[kFeatFirstMartial + 3] = 0;
  k.feats[kFeatToughness] = 3;
  k.special[kSpecialSpellLike] = 1;
  k.special[kSpecialUsesLeft] = 999;
  names = Names(kKnight);
  EXPECT_FALSE(Has(names, "Martial Proficiencies (All)"));
  int martial = 0;
  for (int f = kFeatFirstMartial; f <= kFeatLastMartial; ++f) martial += Has(names, FeatNameTable[f]);
  EXPECT_EQ(martial, 21);
  EXPECT_TRUE(Has(names, "TOUGHNESS (3)"));
  EXPECT_TRUE(Has(names, std::string("Spell-Like ") + SpellKeywordFull(0)));  // no uses for 999 left
  k.special[kSpecialSpellLike] = kSpellRows + 1;  // a spell past the table is left out
  const size_t before = names.size();
  EXPECT_EQ(Names(kKnight).size(), before - 1);
}

TEST_F(CharacterPageTest, TheListScrollsNoFurtherThanItsEnd) {
  CreatureRecord& k = Creatures[kKnight];
  std::memset(k.feats, 0, sizeof k.feats);
  for (int f = 0; f < 23; ++f) k.feats[f] = 1;
  ASSERT_EQ(Names(kKnight).size(), 23u);
  Open(kPageSpecialAbilities, kKnight);
  harness::MoveMouse(300, 203);
  harness::StepFrames(1);
  EXPECT_EQ(CursorShape, 23);  // the down arrow is offered
  harness::Click(300, 203);
  harness::PressKey("End");
  harness::KeyDown("PageDown");
  harness::StepFrames(3);
  harness::KeyUp("PageDown");
  harness::StepFrames(1);
  EXPECT_EQ(AbilityListScroll, 0);  // but the list does not move
  for (int f = 23; f < 30; ++f) k.feats[f] = 1;
  harness::KeyDown("Down");
  harness::StepFrames(3);  // a held key scrolls every frame
  harness::KeyUp("Down");
  harness::StepFrames(1);
  EXPECT_EQ(AbilityListScroll, 3);
  harness::PressKey("End");
  harness::StepFrames(1);
  EXPECT_EQ(AbilityListScroll, 7);
  harness::PressKey("Home");
  harness::StepFrames(1);
  EXPECT_EQ(AbilityListScroll, 0);
}

}  // namespace
}  // namespace charactertest
