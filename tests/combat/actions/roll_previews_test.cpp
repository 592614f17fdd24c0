// The previews of an aimed order: the hit chance agrees with the attack's
// own evaluation, helpless targets are sure hits, saves and Strength checks
// stay within their bounds, and the situation labels follow their option.
#include "combat/actions/roll_previews.h"

#include <gtest/gtest.h>

#include "combat/actions/executor_fixture.h"
#include "combat/resolution/attack_resolution.h"
#include "engine/settings.h"
#include "rules/conditions.h"
#include "rules/feat_ids.h"

namespace {

using namespace executorfixture;

constexpr int kHero = 4, kFoe = 5;

class RollPreviews : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    MakeWeapons();
    SeedRandomForTests(9);
    mapfixture::DrawMap({"........", "........", "........"});
    MakeFighter(kHero, "Hero", 2, 1, kAllegianceParty, 3);
    MakeFighter(kFoe, "Foe", 3, 1, kAllegianceEnemy, 0);
    StartBattle(kHero);
  }
};

TEST_F(RollPreviews, TheHitChanceIsTheAttacksOwnEvaluation) {
  for (int bab : {-10, 0, 3, 8, 14, 30}) {
    Creatures[kHero].baseAttack = {bab, bab};
    RecomputeCreature(kHero, 0);
    const int evaluated = ResolveAttack(kHero, kFoe, 0, 0, 1, 0, 0, nullptr);
    EXPECT_EQ(HitChancePercent(kHero, kFoe), evaluated) << bab;
    EXPECT_GE(evaluated, 1);
    EXPECT_LE(evaluated, 95);
  }
  // Concealment counts in both.
  AddCondition(kFoe, kCondMagicallyConcealed, 5, 20, 18, 0);
  EXPECT_EQ(HitChancePercent(kHero, kFoe), ResolveAttack(kHero, kFoe, 0, 0, 1, 0, 0, nullptr));
  // A stunned foe is as good as hit, but a natural 1 still misses it.
  AddCondition(kFoe, kCondStunned, 5, 0, 18, 0);
  EXPECT_EQ(HitChancePercent(kHero, kFoe), 95);
}

TEST_F(RollPreviews, SavesAndStrengthChecksStayWithinTheirBounds) {
  CreatureRecord& h = Creatures[kHero];
  h.willpower.current = 4;  // Wisdom 10: bonus 4
  EXPECT_EQ(WillSaveChancePercent(kHero, 15), 50);
  EXPECT_EQ(WillSaveChancePercent(kHero, 3), 95);
  EXPECT_EQ(WillSaveChancePercent(kHero, 40), 5);
  EXPECT_EQ(StrengthCheck(kHero, kFoe), 52);
  h.feats[kFeatImprovedBullRush] = 1;
  EXPECT_EQ(StrengthCheck(kHero, kFoe), 70);
  h.strength.current = 50;
  EXPECT_EQ(StrengthCheck(kHero, kFoe), 100);
  EXPECT_EQ(StrengthCheck(kFoe, kHero), 0);
  EXPECT_EQ(ImmunityChancePercent(kFoe), 5);
  EXPECT_EQ(ImmunityChancePercent(kHero), 95);
}

TEST_F(RollPreviews, LabelsFollowTheOptionAndAFullListTakesNoFourth) {
  ModifierList roll, armour;
  InitModifierList(&roll);
  InitModifierList(&armour);
  AddModifier(2, &roll, 163);
  AddModifier(2, &roll, 168);
  AddModifier(-4, &armour, 85);
  AddModifier(-4, &armour, 88);
  OptionWords[kOptionDisplayExpandedTooltip] = 0;
  BuildSituationLabels(kFoe, 0, armour, roll);
  EXPECT_STREQ(SituationLabels[0].text, "");
  OptionWords[kOptionDisplayExpandedTooltip] = 1;
  BuildSituationLabels(kFoe, 0, armour, roll);
  EXPECT_STREQ(SituationLabels[0].text, "Charging");
  EXPECT_STREQ(SituationLabels[1].text, "Flanked");
  EXPECT_STREQ(SituationLabels[2].text, "Sleeping");
  EXPECT_FALSE(AddSituationLabel(157));
}

TEST_F(RollPreviews, ACriticalCaptionShorterThanItsCutIsNotReadPast) {
  ModifierList list;
  InitModifierList(&list);
  std::snprintf(list.caption, sizeof list.caption, "Damage Bonus (Longsword)");
  FormatCriticalText(&list);
  EXPECT_STREQ(list.caption, "Critical (Longsword)");
  std::snprintf(list.caption, sizeof list.caption, "Short");
  FormatCriticalText(&list);
  EXPECT_STREQ(list.caption, "Critical ");
}

}  // namespace
