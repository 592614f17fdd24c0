#include "creatures/control_tendencies.h"

#include "creation_fixture.h"
#include "creatures/creature_feats.h"

namespace {

class ControlTendenciesTest : public CreationTest {};

TEST_F(ControlTendenciesTest, GrappleBySizeStrengthAndFeat) {
  struct Case {
    int size, strength;
    bool feat;
    int before, expected;
  };
  const Case cases[] = {
      {3, 11, false, 0, 0},  {3, 12, false, 0, 5},   {3, 16, false, 3, 10}, {2, 18, false, 0, 0},
      {4, 15, false, 0, 15}, {5, 16, false, 0, 20},  {3, 11, true, 0, 15},  {3, 12, true, 0, 30},
      {4, 11, true, 0, 30},  {4, 20, true, 0, 40},   {4, 20, true, 40, 40}, {3, 16, false, 6, 6},
  };
  for (const Case& k : cases) {
    CreatureRecord& c = MakeCreature(5);
    c.size = {k.size, k.size};
    c.strength = {k.strength, k.strength};
    c.feats[kFeatImprovedGrapple] = k.feat ? 1 : 0;
    c.behaviour[kBehaviourGrapple] = k.before;
    c.behaviour[kBehaviourGrapple2] = k.before == 40 ? 20 : k.before;
    SetGrappleTendency(5);
    EXPECT_EQ(c.behaviour[kBehaviourGrapple], k.expected) << k.size << " " << k.strength << " " << k.feat;
  }
  CreatureRecord& caster = MakeCreature(5);
  caster.strength = {18, 18};
  caster.behaviour[kBehaviourCasting] = 90;
  SetGrappleTendency(5);
  EXPECT_EQ(caster.behaviour[kBehaviourGrapple], 0);
}

TEST_F(ControlTendenciesTest, RangedUseNeedsWeaponAndAmmunition) {
  CreatureRecord& c = MakeCreature(5);
  c.equipment[kSlotRanged - 1] = 4984;
  c.ammunition = {5242, 0};
  SetRangedTendency(5);
  EXPECT_EQ(c.behaviour[kBehaviourRangedUse], 0);
  c.ammunition.count = 15;
  SetRangedTendency(5);
  EXPECT_EQ(c.behaviour[kBehaviourRangedUse], 10);
  c.behaviour[kBehaviourRangedUse] = 25;
  SetRangedTendency(5);
  EXPECT_EQ(c.behaviour[kBehaviourRangedUse], 25);
}

TEST_F(ControlTendenciesTest, PartyByClass) {
  CreatureRecord& knight = MakeCreature(0, 5, 1);
  knight.feats[kFeatWhirlwindAttack] = 1;
  knight.feats[kFeatImprovedBullRush] = 1;
  CreatureRecord& wizard = MakeCreature(1, 5, 1);
  wizard.creatureClass = kClassWizard;
  wizard.constitution = {14, 14};
  wizard.casterLevelAdjust = 4;
  CreatureRecord& cleric = MakeCreature(2, 5, 1);
  cleric.creatureClass = kClassCleric;
  cleric.strength = {13, 13};
  cleric.constitution = {14, 14};
  cleric.casterLevelAdjust = 4;
  cleric.feats[kFeatSuperiorConcentration] = 1;
  cleric.feats[kFeatMetamagicWiden] = 1;
  SetPartyAiTendencies();
  EXPECT_EQ(knight.behaviour[kBehaviourCharge], 50);
  EXPECT_EQ(knight.behaviour[kBehaviourWhirlwind], 40);
  EXPECT_EQ(knight.behaviour[kBehaviourBullRush], 65);
  EXPECT_EQ(wizard.behaviour[kBehaviourSpellAttack], 100);
  EXPECT_EQ(wizard.behaviour[kBehaviourCasting], 90);
  EXPECT_EQ(wizard.behaviour[kBehaviourMetamagic], 0);
  EXPECT_EQ(wizard.behaviour[kBehaviourCleric], 0);
  EXPECT_EQ(wizard.behaviour[kBehaviourDefensiveCasting], 0);  // 2 + 4 is not above 7
  EXPECT_EQ(cleric.behaviour[kBehaviourDefensiveCasting], 1);  // 2 + 4 + 4
  EXPECT_EQ(cleric.behaviour[kBehaviourCleric], 50);
  EXPECT_EQ(cleric.behaviour[kBehaviourMetamagic], 20);
  EXPECT_EQ(cleric.behaviour[kBehaviourCastingStyle], 2);
  EXPECT_EQ(cleric.behaviour[kBehaviourBullRush], 25);
  EXPECT_EQ(wizard.behaviour[kBehaviourBullRush], 0);
}

}  // namespace
