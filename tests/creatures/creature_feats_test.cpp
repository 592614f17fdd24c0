#include "creatures/creature_feats.h"

#include "creature_fixture.h"

namespace {

class FeatsTest : public CreatureTest {
 protected:
  static int CountFeats(const CreatureRecord& c) {
    int n = 0;
    for (int f : c.feats) n += f;
    return n;
  }
  static bool Has(const CreatureRecord& c, int feat) { return c.feats[feat] != 0; }
};

TEST_F(FeatsTest, ProficienciesFollowThePreparedRows) {
  CreatureRecord& c = MakeCreature(10, 57, 16, 1);
  for (int option : {19, 1, 34, 36, 42, 0}) GrantWeaponProficiency(option, 10);
  EXPECT_TRUE(Has(c, 44));                           // longsword, martial
  EXPECT_TRUE(Has(c, kFeatSimpleWeapons));  // dagger
  EXPECT_TRUE(Has(c, kFeatBastardSword));
  EXPECT_TRUE(Has(c, kFeatShield));
  EXPECT_TRUE(Has(c, kFeatHeavyArmour));    // full plate
  EXPECT_EQ(CountFeats(c), 5);
}

TEST_F(FeatsTest, AFighterWithNothingToLearnTakesAGeneralFeat) {
  CreatureRecord& c = MakeCreature(10, 57, 16, 1);
  c.strength.base = 12;
  c.dexterity.base = 11;
  PickCombatFeat(0, 10, 0, 0);
  EXPECT_EQ(CountFeats(c), 1);
  for (int combat : {kFeatCleave, kFeatUnarmedStrike, kFeatPointBlankShot}) EXPECT_FALSE(Has(c, combat));
}

TEST_F(FeatsTest, ToughnessIsTakenAgainAndCountsItsHitPoints) {
  CreatureRecord& c = MakeCreature(10, 57, 16, 1);
  c.baseHitPoints = c.maxHitPoints = c.hitPoints = 10;
  for (int f : {kFeatImprovedInitiative, kFeatGreatFortitude, kFeatIronWill, kFeatLightningReflexes,
                kFeatBlindFight})
    c.feats[f] = 1;
  PickGeneralFeat(10);
  PickGeneralFeat(10);
  EXPECT_EQ(c.feats[kFeatToughness], 2);
  EXPECT_EQ(c.baseHitPoints, 16);
  EXPECT_EQ(c.maxHitPoints, 16);
  EXPECT_EQ(c.hitPoints, 16);
}

TEST_F(FeatsTest, ACasterWithEveryCasterFeatTakesAGeneralFeat) {
  CreatureRecord& c = MakeCreature(10, 57, 4, 20);
  c.baseAttack.base = 10;
  for (int f = kFeatWeaponFocusTouch; f <= kFeatWeaponFocusRangedTouch; ++f) {
    c.feats[f] = 1;
    c.feats[f + kFeatImprovedCriticalStep] = 1;
  }
  for (int f = kFeatImprovedCounterspell; f <= kFeatGreaterSpellFocusTransmutation; ++f) c.feats[f] = 1;
  const int before = CountFeats(c);
  PickCasterFeat(10);
  EXPECT_EQ(CountFeats(c), before + 1);
}

// Combat picks come first: with only CLEAVE open, one pick is CLEAVE and the
// second round's combat pick falls back to a general feat.
TEST_F(FeatsTest, TheLoopAlternatesCombatAndGeneralFeats) {
  CreatureRecord& c = MakeCreature(10, 57, 16, 1);
  c.strength.base = 13;
  SpendFeatPicks(10, 1, 2, 0, 0, 0);
  EXPECT_TRUE(Has(c, kFeatCleave));
  EXPECT_EQ(CountFeats(c), 1);
  SpendFeatPicks(10, 4, 2, 0, 0, 0);
  EXPECT_EQ(CountFeats(c), 5);
}

// Over many random creatures and long runs of picks, no feat is given twice
// (but the counted ones) and every feat held has its prerequisites.
TEST_F(FeatsTest, PicksNeverRepeatNorBreakPrerequisites) {
  for (uint32_t seed = 1; seed <= 300; ++seed) {
    SeedRandomForTests(seed);
    CreatureRecord& c = MakeCreature(10, RandomUpTo(1) ? 60 : 57, static_cast<int>(RandomUpTo(5)) + 1,
                                     static_cast<int>(RandomUpTo(19)) + 1);
    for (StatPair* p : {&c.strength, &c.dexterity, &c.intelligence})
      p->base = 8 + static_cast<int>(RandomUpTo(10));
    c.baseAttack.base = static_cast<int>(RandomUpTo(20));
    c.protections[kProtNaturalArmour].base = static_cast<int>(RandomUpTo(2));
    for (NaturalAttack& a : c.naturalAttacks) a.kind = static_cast<int>(RandomUpTo(10));
    c.spellsLeft[0] = static_cast<int>(RandomUpTo(1));
    const int main = static_cast<int>(RandomUpTo(35)), off = static_cast<int>(RandomUpTo(37));
    const int ranged = RandomUpTo(1) ? 0 : static_cast<int>(RandomUpTo(3)) + 10 + 22 * static_cast<int>(RandomUpTo(1));
    for (int option : {main, off, ranged})
      if (RandomUpTo(1)) GrantWeaponProficiency(option, 10);
    SpendFeatPicks(10, 40, static_cast<int>(RandomUpTo(1)) + 1, main, off, ranged);

    const int str = c.strength.base, dex = c.dexterity.base, bab = c.baseAttack.base;
    for (int f = 0; f < kFeatFlags; ++f)
      if (f != kFeatToughness && f != kFeatImprovedNaturalArmor) {
        EXPECT_LE(c.feats[f], 1) << "seed " << seed << " feat " << f;
      }
    auto needs = [&](int feat, bool met) { EXPECT_TRUE(!Has(c, feat) || met) << "seed " << seed << " feat " << feat; };
    needs(kFeatImprovedBullRush, str >= 13);
    needs(kFeatCleave, str >= 13);
    needs(kFeatGreatCleave, Has(c, kFeatCleave) && bab >= 4);
    needs(kFeatMobility, dex >= 13 && Has(c, kFeatDodge));
    needs(kFeatSpringAttack, Has(c, kFeatMobility) && bab >= 4);
    needs(kFeatWhirlwindAttack, Has(c, kFeatSpringAttack) && c.intelligence.base >= 13);
    needs(kFeatImprovedTwoWeaponFighting, dex >= 15 && Has(c, kFeatTwoWeaponFighting) && bab >= 6);
    needs(kFeatGreaterTwoWeaponFighting, Has(c, kFeatImprovedTwoWeaponFighting) && bab >= 11);
    needs(kFeatPreciseShot, Has(c, kFeatPointBlankShot));
    needs(kFeatImprovedPreciseShot, Has(c, kFeatPreciseShot) && dex >= 15 && bab >= 11);
    needs(kFeatGreaterSpellPenetration, Has(c, kFeatSpellPenetration));
    needs(kFeatImprovedNaturalArmor, c.protections[kProtNaturalArmour].base > 0);
    for (int focus = kFeatWeaponFocusFists; focus < kFeatWeaponFocusFists + kFeatGreaterFocusStep; ++focus) {
      needs(focus, bab >= 1);
      needs(focus + kFeatGreaterFocusStep, Has(c, focus) && c.level >= 8);
      needs(focus + kFeatSpecialisationStep, Has(c, focus) && c.level >= 4);
      needs(focus + kFeatGreaterSpecialisationStep, Has(c, focus + kFeatSpecialisationStep) && c.level >= 12);
      needs(focus + kFeatImprovedCriticalStep, bab >= 8);
    }
    // A martial weapon's focus needs the weapon's proficiency.
    needs(WeaponFocusFeatOfOption(19), Has(c, 44));
    needs(WeaponFocusFeatOfOption(34), Has(c, kFeatBastardSword));
    for (int focus = kFeatSpellFocusEnchantment; focus <= kFeatSpellFocusTransmutation; ++focus)
      needs(focus + kFeatGreaterSpellFocusStep, Has(c, focus));
  }
}

}  // namespace
