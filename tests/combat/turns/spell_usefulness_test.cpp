// Immunity to spells, whether a spell is worth casting on a creature, and the
// waste tests of area effects.
#include "combat/turns/spell_usefulness.h"

#include <gtest/gtest.h>

#include "caster_fixture.h"
#include "combat/turns/casting_questions.h"
#include "combat/turns/tactical_predicates.h"
#include "map/area_shapes.h"
#include "rules/casting_rules.h"

namespace {

using casterfixture::kCaster;

class SpellUsefulness : public casterfixture::Battlefield {
 protected:
  void SetUp() override {
    Battlefield::SetUp();
    PutCaster(9, {});
    Put(11, 3, 2, kAllegianceEnemy);  // a friend of the caster
    Put(20, 6, 6, kAllegianceParty);  // a foe
    Begin();
  }
};

TEST_F(SpellUsefulness, ImmunityCodesDescriptorsAndTurnUndead) {
  EXPECT_TRUE(IsImmuneToSpell(kSpellTurnUndead, 20)) << "the living are immune to turning";
  Creatures[20].type = kTypeUndead;
  EXPECT_FALSE(IsImmuneToSpell(kSpellTurnUndead, 20));

  // Undead answer negative energy with 1, yet the inflictions always reach them.
  Immune(20, kImmNegativeEnergy);
  EXPECT_FALSE(IsImmuneToSpell(kSpellInflictLightWounds, 20));
  Creatures[20].type = kTypeHumanoid;
  EXPECT_TRUE(IsImmuneToSpell(kSpellInflictLightWounds, 20));

  // A reversed response (5) is immunity too; Hold Person is stopped by its
  // compulsion descriptor as well as by its two codes.
  Creatures[20].protections[ImmunityPair(kImmCompulsion)].current = kImmunityReverse;
  EXPECT_TRUE(IsImmuneToSpell(kSpellHoldPerson, 20));
  Creatures[20].protections[ImmunityPair(kImmCompulsion)].current = kImmunityResistance;
  EXPECT_FALSE(IsImmuneToSpell(kSpellHoldPerson, 20));
}

TEST_F(SpellUsefulness, BreathWeaponCodesByKind) {
  SpellCaster = kCaster;
  const int kinds[] = {2, 7, 8, 10, 22, 23, 24};
  const int first[] = {3, 58, 27, 49, 49, 41, -1};
  const int second[] = {9, 21, -1, 20, 20, 53, -1};
  for (int i = 0; i < 7; ++i) {
    Creatures[kCaster].special[kSpecialAttackKind] = kinds[i];
    EXPECT_EQ(BreathWeaponImmunityCode1(), first[i]) << kinds[i];
    EXPECT_EQ(BreathWeaponImmunityCode2(), second[i]) << kinds[i];
  }
  Creatures[kCaster].special[kSpecialAttackKind] = 6;  // sleep: the Sleep and Mind codes
  Immune(20, kImmSleep);
  EXPECT_TRUE(IsImmuneToSpell(kSpellSpecialAttack, 20));
}

TEST_F(SpellUsefulness, CuresNeedAWoundAndRefuseMaximisedCasts) {
  EXPECT_FALSE(CanCastOnTarget(kCaster, 11, kSpellCureLightWounds, 0)) << "full hit points";
  Creatures[11].hitPoints = 39;
  EXPECT_TRUE(CanCastOnTarget(kCaster, 11, kSpellCureLightWounds, 0));
  PendingMetamagic = kMetamagicHeightened;
  EXPECT_FALSE(CanCastOnTarget(kCaster, 11, kSpellCureLightWounds, 0));
  EXPECT_TRUE(CanCastOnTarget(kCaster, 11, kSpellCureLightWounds, 1)) << "a test ignores the metamagic";
  EXPECT_TRUE(CanCastOnTarget(kCaster, 11, kSpellCureCriticalWounds, 0)) << "Heighten refused for the three lesser only";
  PendingMetamagic = kMetamagicNone;

  // HEAL mends afflictions without a wound.
  Creatures[11].hitPoints = 40;
  EXPECT_FALSE(CanCastOnTarget(kCaster, 11, kSpellHeal, 0));
  Give(11, kCondStunned);
  EXPECT_TRUE(CanCastOnTarget(kCaster, 11, kSpellHeal, 0));

  // A cure hurts an undead foe, and only an undead one.
  Creatures[20].hitPoints = 10;
  EXPECT_FALSE(CanCastOnTarget(kCaster, 20, kSpellCureLightWounds, 0));
  Creatures[20].type = kTypeUndead;
  EXPECT_TRUE(CanCastOnTarget(kCaster, 20, kSpellCureLightWounds, 0));
}

TEST_F(SpellUsefulness, InflictionsHurtTheLivingAndHealUndeadFriends) {
  EXPECT_TRUE(CanCastOnTarget(kCaster, 20, kSpellInflictLightWounds, 0));
  EXPECT_FALSE(CanCastOnTarget(kCaster, 11, kSpellInflictLightWounds, 0));
  Creatures[11].type = kTypeUndead;
  EXPECT_FALSE(CanCastOnTarget(kCaster, 11, kSpellInflictLightWounds, 0)) << "an unhurt undead friend";
  Creatures[11].hitPoints = 20;
  EXPECT_TRUE(CanCastOnTarget(kCaster, 11, kSpellInflictLightWounds, 0));
  Creatures[20].hitPoints = 1;
  EXPECT_FALSE(CanCastOnTarget(kCaster, 20, kSpellHarm, 0)) << "HARM leaves a foe at 1 hit point";
  Creatures[20].type = kTypeConstruct;
  Creatures[20].hitPoints = 30;
  EXPECT_FALSE(CanCastOnTarget(kCaster, 20, kSpellInflictLightWounds, 0));
}

TEST_F(SpellUsefulness, HitPointCeilingsOfThePowerWords) {
  Creatures[20].maxHitPoints = 300;
  Creatures[20].hitPoints = 150;
  EXPECT_TRUE(CanCastOnTarget(kCaster, 20, kSpellPowerWordStun, 0));
  Creatures[20].hitPoints = 151;
  EXPECT_FALSE(CanCastOnTarget(kCaster, 20, kSpellPowerWordStun, 0));
  Creatures[20].hitPoints = 250;
  EXPECT_TRUE(CanCastOnTarget(kCaster, 20, kSpellPowerWordSleep, 0));
  Give(20, kCondDancing);
  EXPECT_FALSE(CanCastOnTarget(kCaster, 20, kSpellPowerWordSleep, 0));
  EXPECT_TRUE(CanCastOnTarget(kCaster, 20, kSpellPowerWordSleep, 1)) << "dancing matters only to a real choice";
}

TEST_F(SpellUsefulness, EnlargePersonNeedsRoomUnlessReduced) {
  Creatures[11].size = {3, 3};
  EXPECT_TRUE(CanCastOnTarget(kCaster, 11, kSpellEnlargePerson, 0));
  // Walls all round: the doubled footprint fits at none of its four corners.
  mapfixture::DrawMap({"#####", "#...#", "##.##", "#####"});
  FighterCount = 0;
  Put(kCaster, 1, 1, kAllegianceEnemy).creatureClass = kClassWizard;
  Put(11, 2, 2, kAllegianceEnemy);
  Begin();
  EXPECT_FALSE(CanCastOnTarget(kCaster, 11, kSpellEnlargePerson, 0));
  Give(11, kCondReduced);
  EXPECT_TRUE(CanCastOnTarget(kCaster, 11, kSpellEnlargePerson, 0));
  EXPECT_FALSE(CanCastOnTarget(kCaster, kCaster, kSpellEnlargePerson, 0)) << "a Wizard without the self-enlargement flag";
  EXPECT_FALSE(CanCastOnTarget(kCaster, 20, kSpellEnlargePerson, 0));
}

TEST_F(SpellUsefulness, BuffsAreNotRepeated) {
  EXPECT_TRUE(CanCastOnTarget(kCaster, 11, kSpellStoneskin, 0));
  AddCondition(11, kCondReducedDamageAdamantine, 10, 10, kSourceSpell, 30);
  EXPECT_FALSE(CanCastOnTarget(kCaster, 11, kSpellStoneskin, 0)) << "a stoneskin pool left";
  EXPECT_TRUE(CanCastOnTarget(kCaster, 11, kSpellProtectionFire, 0));
  Creatures[11].protections[kProtResistFire].current = 10;
  EXPECT_FALSE(CanCastOnTarget(kCaster, 11, kSpellProtectionFire, 0));
  Give(11, kCondGoodMorale);
  EXPECT_FALSE(CanCastOnTarget(kCaster, 11, kSpellHeroism, 0));
  EXPECT_FALSE(CanCastOnTarget(kCaster, 20, kSpellHeroism, 0)) << "never on a foe";
  // The shields are the caster's own spells, judged on the caster itself.
  EXPECT_TRUE(CanCastOnTarget(kCaster, kCaster, kSpellIceShield, 0));
  Give(kCaster, kCondIceShielded);
  EXPECT_FALSE(CanCastOnTarget(kCaster, kCaster, kSpellIceShield, 0));
  EXPECT_FALSE(CanCastOnTarget(kCaster, kCaster, kSpellFireShield, 0));
}

// A planned spell-like ability for one friend is dropped when no friend in
// its reach would gain by it.
TEST_F(SpellUsefulness, ASupportPlanWithNoFriendToHelpIsDropped) {
  Creatures[kCaster].special[kSpecialSpellLike] = kSpellBullsStrength + 1;
  Give(kCaster, kCondEnhancedStrength);
  CombatAction.spellLikePlanned = 1;
  DropUselessSupportPlan();
  EXPECT_EQ(CombatAction.spellLikePlanned, 1) << "the friend beside it is not yet strengthened";
  Give(11, kCondEnhancedStrength);
  DropUselessSupportPlan();
  EXPECT_EQ(CombatAction.spellLikePlanned, 0);
}

TEST_F(SpellUsefulness, SpellsAgainstEnemies) {
  EXPECT_FALSE(CanCastOnTarget(kCaster, 11, kSpellBlindness, 0)) << "not on a friend";
  EXPECT_TRUE(CanCastOnTarget(kCaster, 11, kSpellBlindness, 1)) << "an area test may ask about a friend";
  Give(20, kCondSleeping);
  EXPECT_FALSE(CanCastOnTarget(kCaster, 20, kSpellBlindness, 0)) << "a condition spell on a helpless foe";
  EXPECT_TRUE(CanCastOnTarget(kCaster, 20, kSpellMagicMissile, 0)) << "damage still lands";
  RemoveCondition(20, kCondSleeping);
  // Mute only on a caster, and with a focus only on that one.
  EXPECT_FALSE(CanCastOnTarget(kCaster, 20, kSpellMute, 0));
  Creatures[20].knownSpells[kSpellMagicMissile] = 1;
  Creatures[20].spellsLeft[0] = 1;
  Creatures[20].casterLevelAdjust = 5;
  EXPECT_TRUE(CanCastOnTarget(kCaster, 20, kSpellMute, 0));
  DisruptionTarget = 11;
  EXPECT_FALSE(CanCastOnTarget(kCaster, 20, kSpellMute, 0));
  DisruptionTarget = -1;
}

TEST_F(SpellUsefulness, WasteTestsOfAreaEffects) {
  EXPECT_FALSE(IsEffectWastedOnTarget(kSpellWavesOfFatigue, 20));
  Creatures[20].type = kTypeUndead;
  EXPECT_TRUE(IsEffectWastedOnTarget(kSpellWavesOfFatigue, 20));
  EXPECT_FALSE(IsEffectWastedOnTarget(kSpellCrushingDespair, 20));
  Give(20, kCondBadMorale);
  EXPECT_TRUE(IsEffectWastedOnTarget(kSpellCrushingDespair, 20));
  EXPECT_TRUE(IsConditionEffectWasted(kSpellBane, 20));

  // Turn undead: a friend of the turner wasted when bolstered, a foe when cowering.
  EXPECT_FALSE(IsMoraleEffectWasted(kSpellTurnUndead, 11));
  Give(11, kCondCowering);
  EXPECT_FALSE(IsMoraleEffectWasted(kSpellTurnUndead, 11));
  Give(11, kCondBolstered);
  EXPECT_TRUE(IsMoraleEffectWasted(kSpellTurnUndead, 11));
  Give(20, kCondCowering);
  EXPECT_TRUE(IsMoraleEffectWasted(kSpellTurnUndead, 20));

  EXPECT_FALSE(IsBreathEffectWasted(7, 20));
  Give(20, kCondSlowed);
  EXPECT_TRUE(IsBreathEffectWasted(18, 20));
  EXPECT_FALSE(IsBreathEffectWasted(1, 20));
  // Purge wastes itself unless a spell made the creature invisible.
  AddCondition(20, kCondInvisible, 10, 1, 7, 0);
  EXPECT_TRUE(IsConditionEffectWasted(kSpellInvisibilityPurge, 20));
  Give(20, kCondGreaterInvisibility);
  EXPECT_FALSE(IsConditionEffectWasted(kSpellInvisibilityPurge, 20));
}

}  // namespace
