// The pages that explain a statistic: breakdowns that add up to what the
// record shows, the rules of each statistic, and the links of their rows.
#include "screens/character/character_fixture.h"

#include "rules/modifier_list.h"
#include "screens/character/statistics_page.h"

namespace charactertest {
namespace {

std::vector<ModifierPair> Rows(const ModifierList& list) {
  std::vector<ModifierPair> rows;
  for (const ModifierPair& p : list.pairs)
    if (p.source != 0 || p.value != 0) rows.push_back(p);
  return rows;
}

ModifierList Build(int32_t type, int creature) {
  ModifierList list;
  BuildStatisticList(type, creature, &list);
  return list;
}

TEST_F(CharacterPageTest, EveryBreakdownAddsUpToTheRecord) {
  AddEntry(kKnight, kCondEnhancedStrength, 4, kDurationLasting);
  AddEntry(kKnight, kCondLongStride, 0, kDurationLasting);
  AddEntry(kWizard, kCondDamagedDexterity, 3, kDurationUntilRest);
  AddEntry(kWizard, kCondLucky, 1, kDurationLasting);
  AddEntry(kCleric, kCondBolstered, 0, kDurationLasting);
  AddEntry(kCleric, kCondInsightful, 2, kDurationLasting);
  AddEntry(kDragon, kCondSickened, 0, kDurationLasting);
  for (int creature : {kKnight, kWizard, kCleric, kDragon}) {
    RecomputeCreature(creature, 0);
    const CreatureRecord& c = Creatures[creature];
    const int32_t shown[] = {
        c.effectiveLevel, c.maxHitPoints, c.size.current, c.strength.current, c.dexterity.current,
        c.constitution.current, c.intelligence.current, c.wisdom.current, c.charisma.current,
        c.fortitude.current + AbilityModifier(c.constitution.current),
        c.reflex.current + AbilityModifier(c.dexterity.current),
        c.willpower.current + AbilityModifier(c.wisdom.current), c.baseAttack.current, c.speed.current,
    };
    for (int32_t type = kStatLevel; type <= kStatSpeed; ++type) {
      const ModifierList list = Build(type, creature);
      int32_t sum = 0;
      for (const ModifierPair& p : Rows(list)) sum += p.value;
      EXPECT_EQ(list.total, shown[type - kStatLevel]) << creature << " page " << type;
      EXPECT_EQ(sum, list.total) << creature << " page " << type;
    }
  }
  // The page shows the same list with "Total" under it.
  Open(kStatStrength, kKnight);
  harness::MoveMouse(300, 200);
  const std::vector<std::string> rows = Screen();
  EXPECT_EQ(rows[2], "  Strength Modifiers (Aldric)");
  EXPECT_EQ(rows[4], "  Base Strength                    +13");
  EXPECT_EQ(rows[5], "  Enhanced Strength                +04");
  EXPECT_EQ(rows[7], "  Total                            +17");
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, "strength_breakdown"), 0);
}

TEST_F(CharacterPageTest, RulesOfTheStatistics) {
  CreatureRecord& c = Creatures[kKnight];
  // Damage from two sources shows as two rows.
  AddEntry(kKnight, kCondDamagedStrength, 2, 1000, 18);
  c.conditions[FindCondition(kKnight, kCondDamagedStrength) + 1] = ConditionEntry{kCondDamagedStrength, 5, 20, 0, 3};
  std::vector<ModifierPair> rows = Rows(Build(kStatStrength, kKnight));
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1].source, static_cast<int32_t>(kCondDamagedStrength));
  EXPECT_EQ(rows[1].value, -2);
  EXPECT_EQ(rows[2].value, -3);
  // A paralysed creature has no Dexterity left.
  AddEntry(kKnight, kCondParalyzed, 0);
  ModifierList list = Build(kStatDexterity, kKnight);
  rows = Rows(list);
  EXPECT_EQ(rows.back().source, 226);
  EXPECT_EQ(rows.back().value, -c.dexterity.base);
  EXPECT_EQ(list.total, 0);
  // Feeblemind leaves an Intelligence of 1.
  c.intelligence.base = 14;
  AddEntry(kKnight, kCondFeebleminded, 0);
  list = Build(kStatIntelligence, kKnight);
  EXPECT_EQ(Rows(list).back().source, static_cast<int32_t>(kCondFeebleminded));
  EXPECT_EQ(Rows(list).back().value, -13);
  EXPECT_EQ(list.total, 1);
  // Transformation raises the base attack bonus to the level, before an enhancement would.
  c.baseAttack.base = 3;
  c.effectiveLevel = 7;
  AddEntry(kKnight, kCondEnhancedBaseAttack, 0);
  AddEntry(kKnight, kCondTransformation, 0);
  list = Build(kStatBaseAttack, kKnight);
  rows = Rows(list);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1].source, static_cast<int32_t>(kCondTransformation));
  EXPECT_EQ(rows[1].value, 4);
  EXPECT_EQ(list.total, 7);
  // Armour, haste and exhaustion on a speed of 30: -10, +20, -20.
  c.speed.base = 30;
  AddEntry(kKnight, kCondReducedSpeedArmor, 0);
  AddEntry(kKnight, kCondHasted, 0);
  AddEntry(kKnight, kCondExhausted, 0);
  rows = Rows(Build(kStatSpeed, kKnight));
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[1].value, -10);
  EXPECT_EQ(rows[2].value, 20);
  EXPECT_EQ(rows[3].value, -20);
  // A caption too long for its 39 characters keeps its bracket.
  std::strcpy(c.name, "Maximilianus Ox");
  EXPECT_STREQ(Build(kStatConstitution, kKnight).caption, "Constitution Modifiers (Maximilianus O)");
}

TEST_F(CharacterPageTest, ExperienceNoteOfTheLevelPage) {
  CreatureRecord& c = Creatures[kKnight];
  c.level = c.effectiveLevel = 5;
  c.experience = 15000;
  Open(kStatLevel, kKnight);
  EXPECT_EQ(Screen()[10], "  XP Needed For Next Level 0");
  c.experience = 15001;
  EXPECT_EQ(Screen()[10], "  Aldric has enough experience");
  EXPECT_EQ(Screen()[13], "  star in the top-right corner");
  c.level = 20;
  EXPECT_EQ(Screen()[10], "");
  c.level = 5;
  c.allegiance = kAllegianceEnemy;
  EXPECT_EQ(Screen()[10], "");
}

TEST_F(CharacterPageTest, RowsLinkToTheirPages) {
  Open(kPageCharacterRecord, kKnight, "Aldric");
  Open(kStatFortitude, kKnight, "Fortitude");
  // Row 5 is Constitution_Modifier: the Constitution page of the same creature.
  ClickCell(3, 5);
  EXPECT_EQ(TopPageType(), kStatConstitution);
  EXPECT_EQ(TopPageParameter(), kKnight);
  // Back on the bar: the Fortitude page made again from the creature.
  Creatures[kKnight].fortitude.base += 3;
  harness::Click(20, 228);
  harness::StepFrames(2);
  EXPECT_EQ(TopPageType(), kStatFortitude);
  EXPECT_EQ(StatisticsPageList().pairs[0].value, Creatures[kKnight].fortitude.base);

  // A condition row opens its entry; once the entry is gone, its help page.
  AddEntry(kKnight, kCondEnhancedStrength, 2, kDurationLasting);
  Open(kStatStrength, kKnight, "Strength");
  const int32_t depth = PageDepth;
  ClickCell(3, 5);
  EXPECT_EQ(TopPageType(), kPageEffectsFirst + FindCondition(kKnight, kCondEnhancedStrength));
  PageDepth = depth;  // the Strength page as it was drawn
  PageReady = 1;
  RemoveCondition(kKnight, kCondEnhancedStrength);
  ReadCheckedHelpFile();
  HelpPages[0].id = ConditionHelpPages[kCondEnhancedStrength];
  std::strcpy(HelpPages[0].title, "Enhanced Abilities");
  HelpPagesLoaded = std::max(HelpPagesLoaded, 1);
  ClickCell(3, 5);
  EXPECT_EQ(TopPageType(), kPageHelpTopic);
  EXPECT_EQ(TopPageParameter(), static_cast<int32_t>(ConditionHelpPages[kCondEnhancedStrength]));
  EXPECT_STREQ(TopPageCaption(), "Enhanced Abilities");
}

TEST_F(CharacterPageTest, AFullListSaysItIsNotComplete) {
  for (int i = 0; i < 22; ++i) {
    ConditionEntry& e = Creatures[kKnight].conditions[i];
    e = ConditionEntry{kCondDrainedWisdom, kDurationLasting, 18, 0, 1};
  }
  Creatures[kKnight].wisdom.base = 30;
  Open(kStatWisdom, kKnight);
  const std::vector<std::string> rows = Screen();
  EXPECT_EQ(rows[23], "  Drained Wisdom                   -01");
  EXPECT_EQ(rows[25], "  Total (List Not Complete)        +08");
}

}  // namespace
}  // namespace charactertest
