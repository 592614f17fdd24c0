// Caster level, save difficulty, defensive casting and spending the source of a cast.
#include "combat/actions/casting_checks.h"

#include <gtest/gtest.h>

#include <cstring>

#include "combat/resolution/special_attacks.h"
#include "engine/random.h"
#include "rules/casting_rules.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "state/combat_action.h"
#include "state/game_screen_words.h"
#include "state/turn_order.h"

namespace {

constexpr int kCaster = 1;

class CastingChecks : public ::testing::Test {
 protected:
  void SetUp() override {
    SeedRandomForTests(3);
    CreatureRecord& c = Creatures[kCaster];
    std::memset(&c, 0, sizeof c);
    std::strcpy(c.name, "Mira");
    c.allegiance = 1;
    c.constitution = c.intelligence = c.wisdom = {10, 10};
    std::memset(SpellTable, 0, sizeof SpellTable);
    for (auto& list : RecentSpells)
      for (RecentSpellPair& p : list) p = {-1, -1};
    InCombat = 0;
    SpellCaster = kCaster;
    PendingMetamagic = 0;
    CastingFromItem = CastingWand = CastingSpellLike = CastingScripted = 0;
  }
};

TEST_F(CastingChecks, CasterLevelsNeverFallBelowOneAndInnateUsesTheirOwnLevel) {
  CreatureRecord& c = Creatures[kCaster];
  c.level = 6;
  c.effectiveLevel = 2;  // drained four levels
  c.casterLevelAdjust = 1;
  EXPECT_EQ(BaseCasterLevel(kCaster), 1);
  c.special[kSpecialCasterLevel] = 9;
  CastingSpellLike = 1;
  EXPECT_EQ(CurrentCasterLevel(), 1);  // out of combat a use is never innate
  InCombat = 1;
  EXPECT_EQ(CurrentCasterLevel(), 5);
  CastingScripted = 1;  // a scripted spell is cast, not used innately
  EXPECT_EQ(CurrentCasterLevel(), 1);
  EXPECT_EQ(BaseCasterLevel(kCaster), 1);
}

TEST_F(CastingChecks, TheKindCapsTheLevelOfCastingClassesOnly) {
  CreatureRecord& c = Creatures[kCaster];
  c.effectiveLevel = 12;
  c.kind = 75;  // capped at 9
  c.creatureClass = 4;
  EXPECT_EQ(LevelCapByKind(), 9);
  c.kind = 999;  // not listed: 1
  EXPECT_EQ(LevelCapByKind(), 1);
  c.creatureClass = 9;  // a dragon class keeps its level
  EXPECT_EQ(LevelCapByKind(), 12);
}

TEST_F(CastingChecks, SaveDifficultyCountsHeightenAbilityAndBothFocusFeats) {
  SpellRecord& s = SpellTable[30];
  s.level = 3;
  s.school = 4;  // Enchantment: first in each focus run
  Creatures[kCaster].intelligence = {17, 17};
  Creatures[kCaster].feats[kFeatSpellFocusFirst] = 1;
  Creatures[kCaster].feats[kFeatGreaterSpellFocusFirst] = 1;
  SpellInProgress = 30;
  EXPECT_EQ(SpellSaveDC(), 10 + 3 + 3 + 2);
  EXPECT_EQ(SpellFocusBonus(4), 2);
  EXPECT_EQ(SpellFocusBonus(9), 0);
  PendingMetamagic = kMetamagicHeightened;
  s.divine = 1;  // now Wisdom 10
  EXPECT_EQ(SpellSaveDC(), 10 + 3 + 1 + 0 + 2);
}

TEST_F(CastingChecks, DefensiveCastingTests) {
  SpellTable[1].level = 1;
  CreatureRecord& c = Creatures[kCaster];
  c.level = c.effectiveLevel = 1;
  EXPECT_FALSE(CanCastDefensivelySafely(1, kCaster, 0));
  EXPECT_FALSE(CanCastDefensivelyLikely(1, kCaster, 0));
  c.casterLevelAdjust = 9;  // bonus 9: DC 16 - 9 = 7 needs a 7 or better
  EXPECT_TRUE(CanCastDefensivelyLikely(1, kCaster, 0));
  EXPECT_FALSE(CanCastDefensivelySafely(1, kCaster, 0));
  c.feats[kFeatSuperiorConcentration] = 1;
  c.constitution = {14, 14};  // 9 + 4 + 2 = 15, and 15 + 1 reaches 16
  EXPECT_TRUE(CanCastDefensivelySafely(1, kCaster, 0));
}

TEST_F(CastingChecks, SpendingASlotCountsMetamagicRefusesBeyondNineAndStopsAtZero) {
  CreatureRecord& c = Creatures[kCaster];
  SpellTable[31].level = 3;
  SpellTable[90].level = 8;
  c.spellsLeft[5] = 1;
  c.spellsLeft[2] = 0;
  SpellInProgress = 31;
  PendingMetamagic = kMetamagicMaximised;  // a level-3 spell maximised spends a level-6 slot
  ConsumeSpellSource();
  EXPECT_EQ(c.spellsLeft[5], 0);
  ConsumeSpellSource();  // none left: stays at 0
  EXPECT_EQ(c.spellsLeft[5], 0);
  PendingMetamagic = 0;
  ConsumeSpellSource();
  EXPECT_EQ(c.spellsLeft[2], 0);
  // Level 8 maximised names slot 11: nothing is spent, nothing past the table touched.
  c.spellsLeft[8] = 2;
  SpellInProgress = 90;
  PendingMetamagic = kMetamagicMaximised;
  ConsumeSpellSource();
  EXPECT_EQ(c.spellsLeft[8], 2);
  EXPECT_EQ(SpellSlotLevel(90, kMetamagicMaximised), 11);
}

TEST_F(CastingChecks, TheRecentSpellListKeepsOnePairPerSpellAndMetamagic) {
  CreatureRecord& c = Creatures[kCaster];
  SpellTable[31].level = 3;
  c.spellsLeft[2] = 5;
  SpellInProgress = 31;
  ConsumeSpellSource();
  ConsumeSpellSource();
  EXPECT_EQ(RecentSpells[kCaster][0].spell, 31);
  EXPECT_EQ(RecentSpells[kCaster][1].spell, -1);
  PendingMetamagic = 9;  // not a metamagic kind: kept as 0, a pair already listed
  ConsumeSpellSource();
  EXPECT_EQ(RecentSpells[kCaster][1].spell, -1);
}

TEST_F(CastingChecks, InnateUsesAndTurnUndeadSpendTheirOwnCounts) {
  CreatureRecord& c = Creatures[kCaster];
  c.special[kSpecialUsesLeft] = 2;
  c.special[kSpecialUsesPerDay] = 999;
  InCombat = 1;
  CastingSpellLike = 1;
  SpellInProgress = 5;
  ConsumeSpellSource();
  EXPECT_EQ(c.special[kSpecialUsesLeft], 2);  // unlimited
  c.special[kSpecialUsesPerDay] = 3;
  ConsumeSpellSource();
  EXPECT_EQ(c.special[kSpecialUsesLeft], 1);
  c.displayWords[kDisplayTurnUndeadUses] = 0;
  SpellInProgress = 998;
  ConsumeSpellSource();
  EXPECT_EQ(c.displayWords[kDisplayTurnUndeadUses], 0);
}

TEST_F(CastingChecks, AreaSizeCountsMissilesAndRaysByCasterLevel) {
  CreatureRecord& c = Creatures[kCaster];
  c.level = c.effectiveLevel = 1;
  SpellInProgress = 5;
  EXPECT_EQ(SpellAreaSize(), -1);  // one missile
  c.casterLevelAdjust = 8;
  EXPECT_EQ(SpellAreaSize(), 4);
  SpellInProgress = 18;
  c.casterLevelAdjust = 10;
  EXPECT_EQ(SpellAreaSize(), 2);
  SpellInProgress = 999;
  EXPECT_EQ(SpellAreaSize(), -1);
}

TEST_F(CastingChecks, OneCategoryTableServesTheStepsAndTheComputerFighters) {
  int counts[10] = {};
  for (int id = 0; id < kSpellRows; ++id) ++counts[SpellCategory[id]];
  const int expected[10] = {5, 22, 20, 31, 7, 7, 5, 37, 18, 28};
  for (int k = 0; k < 10; ++k) EXPECT_EQ(counts[k], expected[k]) << "category " << k;
  EXPECT_EQ(&SpellTargetKind[0], &SpellCategory[0]);
  EXPECT_EQ(UseCategory(998, kCaster), 8);
  Creatures[kCaster].special[kSpecialAttackKind] = 14;
  EXPECT_EQ(UseCategory(999, kCaster), 2);
  Creatures[kCaster].special[kSpecialAttackKind] = 21;
  EXPECT_EQ(UseCategory(999, kCaster), 8);
  EXPECT_EQ(SpecialAttackOf(21).duration, 2000);
  EXPECT_EQ(SpecialAttackOf(20).duration, 1000);
  EXPECT_EQ(SpecialAttackOf(23).line, 0);
  EXPECT_EQ(SpecialAttackOf(0).effectCode, 0);
}

}  // namespace
