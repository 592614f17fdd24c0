#include "rules/attack_profile.h"

#include <gtest/gtest.h>

#include <cstring>

#include "combat/actions/combat_actions.h"
#include "state/turn_order.h"
#include "map/square_grids.h"
#include "rules/breakdown_sources.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"

namespace {

constexpr int kFighter = 1;

void MakeCreature(int id, int strength = 10, int dexterity = 10, int bab = 1) {
  CreatureRecord& c = Creatures[id];
  std::memset(&c, 0, sizeof c);
  std::snprintf(c.name, sizeof c.name, "Creature %d", id);
  c.strength = {strength, strength};
  c.dexterity = {dexterity, dexterity};
  c.baseAttack = {bab, bab};
  c.size = {3, 3};
  c.footprintWidth = {1, 1};
  c.footprintHeight = {1, 1};
  c.allegiance = kAllegianceParty;
  c.present = 1;
}

// Weapon rows: code, name, type, handling, dice count and sides.
void MakeWeapon(uint32_t code, const char* name, int type, int handling, int count, int sides) {
  CraftedWeaponRecord& w = CraftedWeapons[code];
  std::memset(&w, 0, sizeof w);
  std::snprintf(w.name, sizeof w.name, "%s", name);
  w.itemType = type;
  w.handling = handling;
  w.dieCount = count;
  w.dieSides = sides;
  w.size = 3;
}

constexpr uint32_t kLongsword = 10, kDagger = 11, kShortSword = 12, kGreatsword = 13, kShield = 14,
                   kHeavyCrossbow = 15, kLongbow = 16, kLightCrossbow = 17;

void MakeArmoury() {
  MakeWeapon(kLongsword, "Longsword", 19, 2, 1, 8);
  MakeWeapon(kDagger, "Dagger", 1, 1, 1, 4);
  MakeWeapon(kShortSword, "Short Sword", 16, 1, 1, 6);
  MakeWeapon(kGreatsword, "Greatsword", 29, 3, 2, 6);
  MakeWeapon(kShield, "Shield", 36, 5, 0, 2);
  CraftedWeapons[kShield].critLow = 1;
  MakeWeapon(kHeavyCrossbow, "Crossbow", 10, 4, 1, 10);
  MakeWeapon(kLongbow, "Longbow", 32, 4, 1, 8);
  MakeWeapon(kLightCrossbow, "Crossbow", 11, 4, 1, 8);
}

void Natural(int id, int slot, int kind, int count, int code, int dice, int sides) {
  NaturalAttack& n = Creatures[id].naturalAttacks[slot];
  n = {};
  n.kind = kind;
  n.count = count;
  n.effectKind = code;
  n.effectDice = dice;
  n.effectSides = sides;
}

AttackProfile Build(int id, int alternate = 0, int target = -1, uint8_t grapple = 0) {
  AttackProfile p;
  BuildAttackProfile(&p, id, alternate, target, grapple, 0);
  return p;
}

int32_t Pair(const ModifierList& list, int32_t source) {
  for (const ModifierPair& p : list.pairs)
    if (p.source == source) return p.value;
  return -999;
}

bool Has(const ModifierList& list, int32_t source) { return Pair(list, source) != -999; }

int32_t Sum(const ModifierList& list) {
  int32_t sum = 0;
  for (const ModifierPair& p : list.pairs) sum += p.value;
  return sum;
}

class AttackProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InCombat = 0;
    TurnEntryCount = 0;
    CombatAction = {};
    g_Cleaving = -1;
    MakeArmoury();
    MakeCreature(kFighter, 16, 12, 6);
  }
};

}  // namespace

TEST_F(AttackProfileTest, FighterWithSwordAndShield) {
  CreatureRecord& c = Creatures[kFighter];
  c.equipment[kSlotRightHand - 1] = kLongsword;
  c.equipment[kSlotLeftHand - 1] = kShield;
  c.feats[kFeatWeaponFocusDagger + 19 - 1] = 1;
  CraftedWeapons[kLongsword].masterwork = 1;
  CraftedWeapons[kLongsword].enhancement = 1;
  const AttackProfile p = Build(kFighter);
  const AttackProfileEntry& e = p.entries[0];
  EXPECT_EQ(e.kind, kEntryMainHand);
  EXPECT_STREQ(e.name, "Longsword");
  EXPECT_STREQ(e.attackRoll.caption, "Attack Roll (Longsword)");
  EXPECT_EQ(e.attackRoll.helpTopic, 41003);
  EXPECT_STREQ(e.attackCount.caption, "Number of Attacks (Longsword)");
  EXPECT_EQ(e.attackCount.helpTopic, 21013);
  EXPECT_STREQ(e.damageBonus.caption, "Damage Bonus (Longsword)");
  EXPECT_EQ(e.damageBonus.helpTopic, 41004);
  EXPECT_EQ(e.attackRoll.total, 3 + 6 + 1 + 1);
  EXPECT_EQ(Pair(e.attackRoll, kSrcMagicWeapon), 1);
  EXPECT_EQ(Pair(e.attackRoll, kSrcWeaponFocus), 1);
  EXPECT_EQ(e.attackCount.total, 2);
  EXPECT_EQ(e.damageBonus.total, 1 + 3);
  EXPECT_EQ(Pair(e.damageBonus, kSrcShieldHeld), 0);
  EXPECT_EQ(e.damageCount, 1);
  EXPECT_EQ(e.damageSides, 8);
  EXPECT_EQ(e.damageKind, 1);
  for (const ModifierList* l : {&e.attackRoll, &e.attackCount, &e.damageBonus}) EXPECT_EQ(Sum(*l), l->total);
  EXPECT_EQ(p.entries[1].kind, kEntryNone);  // a shield makes no off-hand entry
}

TEST_F(AttackProfileTest, AttacksFromBaseAttackBonus) {
  const struct { int bab, attacks; } cases[] = {{0, 1}, {5, 1}, {6, 2}, {10, 2}, {11, 3}, {15, 3}, {16, 4}, {20, 4}};
  for (const auto& c : cases) {
    Creatures[kFighter].baseAttack.current = c.bab;
    EXPECT_EQ(AttacksFromBaseAttack(kFighter), c.attacks) << c.bab;
  }
}

TEST_F(AttackProfileTest, TwoWeaponFighting) {
  CreatureRecord& c = Creatures[kFighter];
  c.equipment[kSlotRightHand - 1] = kShortSword;
  c.equipment[kSlotLeftHand - 1] = kDagger;
  const struct { int feat, attacks, source; } cases[] = {
      {-1, 1, kSrcOffhandWeapon},
      {kFeatImprovedTwoWeaponFighting, 2, kSrcImprovedTwoWeaponFighting},
  };
  for (const auto& t : cases) {
    if (t.feat >= 0) c.feats[t.feat] = 1;
    const AttackProfile p = Build(kFighter);
    EXPECT_EQ(p.entries[0].kind, kEntryMainHand);
    EXPECT_EQ(Pair(p.entries[0].damageBonus, kSrcTwoWeaponsHeld), 0);
    EXPECT_EQ(p.entries[0].damageBonus.total, 3);
    EXPECT_EQ(p.entries[1].kind, kEntryOffHand);
    EXPECT_EQ(p.entries[1].attackCount.total, t.attacks);
    EXPECT_EQ(Pair(p.entries[1].attackCount, t.source), t.attacks);
    EXPECT_EQ(Pair(p.entries[1].damageBonus, kSrcOffhandWeapon), 1);  // half of +3
  }
  ASSERT_TRUE(AddCondition(kFighter, kCondTwoWeaponLeft, kDurationLasting, 6, 0, 0));
  EXPECT_EQ(Pair(Build(kFighter).entries[1].attackRoll, kCondTwoWeaponLeft), -6);
  // A slowed fighter gives up the off hand.
  ASSERT_TRUE(AddCondition(kFighter, kCondSlowed, 5, 0, kSourceSpell, 0));
  EXPECT_EQ(Build(kFighter).entries[1].kind, kEntryNone);
}

TEST_F(AttackProfileTest, LeftHandWeaponAloneMakesNoWeaponEntries) {
  CreatureRecord& c = Creatures[kFighter];
  c.equipment[kSlotLeftHand - 1] = kDagger;
  Natural(kFighter, 0, 1, 1, 3, 1, 6);  // bite
  const AttackProfile p = Build(kFighter);
  EXPECT_EQ(p.entries[0].kind, kEntryNatural0);
  EXPECT_STREQ(p.entries[0].name, "Bite attack");
  EXPECT_EQ(p.entries[1].kind, kEntryNone);
}

TEST_F(AttackProfileTest, BusyHandsLeaveOutHandAttacks) {
  CreatureRecord& c = Creatures[kFighter];
  c.equipment[kSlotRightHand - 1] = kGreatsword;
  Natural(kFighter, 0, 3, 2, 1, 1, 3);  // two unarmed attacks
  AttackProfile p = Build(kFighter);
  EXPECT_EQ(p.entries[0].kind, kEntryMainHand);
  EXPECT_EQ(p.entries[1].kind, kEntryNone);
  // With a one-handed sword one hand stays free: the fist entry keeps one attack.
  c.equipment[kSlotRightHand - 1] = kLongsword;
  p = Build(kFighter);
  EXPECT_EQ(Pair(p.entries[0].damageBonus, kSrcWeaponAndNaturalAttackMixing), 0);
  EXPECT_EQ(p.entries[1].kind, kEntryNatural0);
  EXPECT_EQ(p.entries[1].attackCount.total, 1);
  EXPECT_EQ(Pair(p.entries[1].attackCount, kSrcHandsBusy), -1);
  EXPECT_EQ(Pair(p.entries[1].attackRoll, kSrcSecondaryNaturalWeapon), -5);
}

TEST_F(AttackProfileTest, SpeedWeaponAndHaste) {
  CreatureRecord& c = Creatures[kFighter];
  c.equipment[kSlotRightHand - 1] = kLongsword;
  CraftedWeapons[kLongsword].properties[5 - 1] = 1;
  ASSERT_TRUE(AddCondition(kFighter, kCondHasted, 5, 0, kSourceSpell, 0));
  const AttackProfile p = Build(kFighter);
  EXPECT_EQ(Pair(p.entries[0].attackCount, kSrcWeaponWithSpeed), 1);
  EXPECT_FALSE(Has(p.entries[0].attackCount, kCondHasted));
  EXPECT_EQ(p.entries[0].attackCount.total, 3);
  CraftedWeapons[kLongsword].properties[5 - 1] = 0;
  EXPECT_EQ(Pair(Build(kFighter).entries[0].attackCount, kCondHasted), 1);
}

TEST_F(AttackProfileTest, SlowedLeavesOneAttack) {
  Creatures[kFighter].baseAttack.current = 11;
  Creatures[kFighter].equipment[kSlotRightHand - 1] = kLongsword;
  ASSERT_TRUE(AddCondition(kFighter, kCondSlowed, 5, 0, kSourceSpell, 0));
  const AttackProfile p = Build(kFighter);
  EXPECT_EQ(Pair(p.entries[0].attackCount, kCondSlowed), -2);
  EXPECT_EQ(p.entries[0].attackCount.total, 1);
  EXPECT_EQ(Pair(p.entries[0].attackRoll, kCondSlowed), -1);
}

TEST_F(AttackProfileTest, CrossbowsNeedReloading) {
  const struct { uint32_t weapon; int bab; int feat; int32_t reload; } cases[] = {
      {kHeavyCrossbow, 6, 0, -1}, {kHeavyCrossbow, 11, 0, -2}, {kHeavyCrossbow, 5, 0, -999},
      {kLightCrossbow, 11, 0, -2}, {kLightCrossbow, 11, 1, -999}, {kLongbow, 11, 0, -999},
  };
  for (const auto& t : cases) {
    MakeCreature(kFighter, 16, 12, t.bab);
    Creatures[kFighter].equipment[kSlotRanged - 1] = t.weapon;
    Creatures[kFighter].feats[kFeatRapidReloadLight] = t.feat;
    const AttackProfile p = Build(kFighter);
    EXPECT_EQ(Pair(p.entries[1].attackCount, kSrcCrossbowNeedsReloading), t.reload) << t.weapon << " " << t.bab;
    if (t.weapon != kLongbow && t.feat == 0) {
      EXPECT_EQ(p.entries[1].attackCount.total, 1);
    }
  }
}

TEST_F(AttackProfileTest, RangedWeaponAloneIsEntryOne) {
  CreatureRecord& c = Creatures[kFighter];
  c.equipment[kSlotRanged - 1] = kLongbow;
  AttackProfile p = Build(kFighter);
  EXPECT_EQ(p.entries[0].kind, kEntryNone);
  EXPECT_EQ(p.entries[1].kind, kEntryRanged);
  EXPECT_EQ(Pair(p.entries[1].attackRoll, kSrcDexterityModifier), 1);
  EXPECT_FALSE(Has(p.entries[1].damageBonus, kSrcStrengthModifier));  // a plain bow adds no positive Strength
  CraftedWeapons[kLongbow].composite = 1;
  EXPECT_EQ(Pair(Build(kFighter).entries[1].damageBonus, kSrcCompositeBow), 3);
  MakeCreature(kFighter, 6, 12, 1);
  c.equipment[kSlotRanged - 1] = kLongbow;
  CraftedWeapons[kLongbow].composite = 0;
  EXPECT_EQ(Pair(Build(kFighter).entries[1].damageBonus, kSrcStrengthModifier), -2);
  // With a melee weapon the ranged entry follows it.
  c.equipment[kSlotRightHand - 1] = kLongsword;
  p = Build(kFighter);
  EXPECT_EQ(p.entries[0].kind, kEntryMainHand);
  EXPECT_EQ(p.entries[1].kind, kEntryRanged);
}

TEST_F(AttackProfileTest, TwoHandedWeaponWithLowStrength) {
  MakeCreature(kFighter, 7, 10, 1);
  Creatures[kFighter].equipment[kSlotRightHand - 1] = kGreatsword;
  const AttackProfile p = Build(kFighter);
  EXPECT_EQ(p.entries[0].damageBonus.total, -2);
  EXPECT_EQ(Pair(p.entries[0].damageBonus, kSrcWeaponHeldWithBothHands), 0);
  MakeCreature(kFighter, 17, 10, 1);
  Creatures[kFighter].equipment[kSlotRightHand - 1] = kGreatsword;
  EXPECT_EQ(Build(kFighter).entries[0].damageBonus.total, 3 + 1);
}

TEST_F(AttackProfileTest, WeaponNames) {
  const struct { const char* name; int size, material, type, charges; const char* shown; } cases[] = {
      {"Longsword", 3, 0, 19, 0, "Longsword"},
      {"Longsword", 2, 0, 19, 0, "Small Longsword"},
      {"Dagger", 3, 6, 1, 0, "Steel Dagger"},
      {"Bastard Sword of Ages", 2, 6, 34, 0, "Bastard Sword o"},
  };
  for (const auto& t : cases) {
    MakeWeapon(kLongsword, t.name, t.type, 2, 1, 8);
    CraftedWeapons[kLongsword].size = t.size;
    CraftedWeapons[kLongsword].material = t.material;
    Creatures[kFighter].equipment[kSlotRightHand - 1] = kLongsword;
    EXPECT_STREQ(Build(kFighter).entries[0].name, t.shown);
  }
}

TEST_F(AttackProfileTest, BonusDamageOfWeaponProperties) {
  Creatures[kFighter].equipment[kSlotRightHand - 1] = kLongsword;
  int32_t* p = CraftedWeapons[kLongsword].properties;
  p[12 - 1] = 1;
  p[13 - 1] = 1;  // only the first of the three goes in
  p[9 - 1] = 1;
  AttackProfile profile = Build(kFighter);
  const AttackProfileEntry& e = profile.entries[0];
  EXPECT_EQ(e.extra[0].count, 1);
  EXPECT_EQ(e.extra[0].sides, 6);
  EXPECT_EQ(e.extra[0].kind, 2);
  EXPECT_EQ(e.extra[1].count, 2);
  EXPECT_EQ(e.extra[1].kind, 5);
  EXPECT_EQ(e.moreExtras, 0);
  p[2 - 1] = 1;
  EXPECT_EQ(Build(kFighter).entries[0].moreExtras, 1);
}

TEST_F(AttackProfileTest, NaturalAttacks) {
  MakeCreature(kFighter, 14, 10, 4);
  Natural(kFighter, 0, 1, 1, 3, 1, 8);  // bite
  Natural(kFighter, 1, 2, 2, 2, 1, 4);  // two claws
  Creatures[kFighter].naturalAttacks[1].riderKind = 6;
  Creatures[kFighter].naturalAttacks[1].riderDice = 1;
  Creatures[kFighter].naturalAttacks[1].riderSides = 6;
  AttackProfile p = Build(kFighter);
  const AttackProfileEntry& bite = p.entries[0];
  EXPECT_EQ(bite.kind, kEntryNatural0);
  EXPECT_EQ(Pair(bite.damageBonus, kSrcPrimaryNaturalWeapon), 2);
  EXPECT_FALSE(Has(bite.damageBonus, kSrcSoleNaturalWeapon));
  EXPECT_EQ(Pair(bite.attackCount, kSrcNormalNumberOfAttacks), 1);
  const AttackProfileEntry& claws = p.entries[1];
  EXPECT_EQ(claws.kind, kEntryNatural0 + 1);
  EXPECT_STREQ(claws.name, "Claw attack");
  EXPECT_STREQ(claws.attackRoll.caption, "Attack Roll (Claw Attack)");
  EXPECT_EQ(claws.attackCount.total, 2);
  EXPECT_EQ(Pair(claws.attackRoll, kSrcSecondaryNaturalWeapon), -5);
  EXPECT_EQ(Pair(claws.damageBonus, kSrcSecondaryNaturalWeapon), 1);
  EXPECT_EQ(claws.extra[0].count, 1);
  EXPECT_EQ(claws.extra[0].kind, 4);  // code 6
  EXPECT_EQ(p.entries[2].kind, kEntryNone);
  Creatures[kFighter].feats[kFeatMultiattack] = 1;
  EXPECT_EQ(Pair(Build(kFighter).entries[1].attackRoll, kSrcSecondaryNaturalMultiattack), -2);

  // A single bite gets one and a half times Strength.
  Natural(kFighter, 1, 0, 0, 0, 0, 0);
  p = Build(kFighter);
  EXPECT_EQ(p.entries[0].damageBonus.total, 2 + 1);
  EXPECT_EQ(Pair(p.entries[0].damageBonus, kSrcSoleNaturalWeapon), 1);
}

TEST_F(AttackProfileTest, NaturalSpecialEffects) {
  const struct { int code; int32_t effect, kind; int dice; } cases[] = {
      {25, kEffectBleeding, 0, 0}, {23, 6, 1, 1}, {26, kEffectLevelDrain, 1, 1}, {11, 0, 3, 1}, {0, 0, 0, 0},
  };
  for (const auto& t : cases) {
    MakeCreature(kFighter, 18, 10, 4);
    Natural(kFighter, 0, 1, 1, t.code, 1, 6);
    const AttackProfileEntry e = Build(kFighter).entries[0];
    EXPECT_EQ(e.kind, kEntryNatural0);
    EXPECT_EQ(e.specialEffect, t.effect) << t.code;
    EXPECT_EQ(e.damageKind, t.kind) << t.code;
    EXPECT_EQ(e.damageCount, t.dice) << t.code;
    EXPECT_EQ(e.damageBonus.total, 0) << t.code;  // no Strength outside the physical codes
  }
}

TEST_F(AttackProfileTest, AlternateFormAndSenseSevenSlots) {
  MakeCreature(kFighter, 10, 10, 4);
  Natural(kFighter, 0, 1, 1, 3, 1, 6);
  Natural(kFighter, 1, 4, 1, 3, 1, 6);
  Natural(kFighter, 3, 8, 1, 1, 1, 6);
  AttackProfile p = Build(kFighter);
  EXPECT_EQ(p.entries[0].kind, 3);
  EXPECT_EQ(p.entries[1].kind, 4);
  EXPECT_EQ(p.entries[2].kind, kEntryNone);  // slot 2 empty ends the natural steps
  p = Build(kFighter, 1);
  EXPECT_EQ(p.entries[0].kind, 6);
  EXPECT_STREQ(p.entries[0].name, "Tail slap");
  EXPECT_EQ(p.entries[1].kind, 4);
  Natural(kFighter, 2, 7, 1, 3, 1, 6);
  Creatures[kFighter].special[kSenseKindWord] = 7;
  p = Build(kFighter);
  EXPECT_EQ(p.entries[2].kind, 5);
  EXPECT_EQ(p.entries[3].kind, 6);
}

TEST_F(AttackProfileTest, GrappleBuildsOneEntry) {
  MakeCreature(kFighter, 14, 10, 6);
  Creatures[kFighter].size = {4, 4};
  Creatures[kFighter].equipment[kSlotRightHand - 1] = kLongsword;
  Creatures[kFighter].equipment[kSlotRanged - 1] = kLongbow;
  Natural(kFighter, 0, 2, 2, 2, 1, 4);
  Natural(kFighter, 1, 1, 1, 3, 1, 6);
  AttackProfile p = Build(kFighter, 0, -1, 1);
  const AttackProfileEntry& e = p.entries[0];
  EXPECT_EQ(e.kind, kEntryNatural0);
  EXPECT_STREQ(e.name, "Claw");
  EXPECT_STREQ(e.attackRoll.caption, "Grapple Roll (Claw)");
  EXPECT_EQ(e.attackRoll.helpTopic, 42017);
  EXPECT_EQ(Pair(e.attackRoll, kSrcGrapplingPenalty), -4);
  EXPECT_EQ(Pair(e.attackRoll, kSrcSpecialSizeModifier), 4);
  EXPECT_EQ(Pair(e.attackCount, kSrcBaseAttackBonus), 2);
  EXPECT_EQ(Pair(e.damageBonus, kSrcSoleNaturalWeapon), 1);
  EXPECT_EQ(p.entries[1].kind, kEntryNone);

  // Constrict and rake.
  Creatures[kFighter].special[kSpecialConstrictSides] = 8;
  Creatures[kFighter].special[kSpecialConstrictDice] = 2;
  Creatures[kFighter].feats[kFeatImprovedGrapple] = 1;
  p = Build(kFighter, 0, -1, 1);
  EXPECT_STREQ(p.entries[0].name, "Constrict");
  EXPECT_EQ(p.entries[0].damageCount, 2);
  EXPECT_EQ(p.entries[0].damageSides, 8);
  EXPECT_FALSE(Has(p.entries[0].attackRoll, kSrcGrapplingPenalty));
  Creatures[kFighter].special[kSpecialConstrictSides] = 0;

  // With natural slot 0 empty the ranged weapon is the only entry.
  Natural(kFighter, 0, 0, 0, 0, 0, 0);
  p = Build(kFighter, 0, -1, 1);
  EXPECT_EQ(p.entries[0].kind, kEntryNone);
  EXPECT_EQ(p.entries[1].kind, kEntryRanged);
  EXPECT_EQ(p.entries[2].kind, kEntryNone);
}

TEST_F(AttackProfileTest, FallingBonusOfLaterAttacks) {
  CreatureRecord& c = Creatures[kFighter];
  c.equipment[kSlotRightHand - 1] = kLongsword;
  InCombat = 1;
  TurnEntryCount = 2;
  TurnOrder[0].creature = kFighter;
  TurnOrder[1].creature = 2;
  MakeCreature(2);
  CombatAction.currentEntry = 0;
  CombatAction.currentProfileEntry = 0;
  const struct { int made, cleaving, hasted; int32_t penalty; } cases[] = {
      {0, -1, 0, -999}, {1, -1, 0, -5}, {2, -1, 0, -10}, {2, 1, 0, -5},
      {1, -1, 1, -999}, {2, -1, 1, -5}, {3, -1, 1, -10},
  };
  for (const auto& t : cases) {
    CombatAction.attackCounter = t.made;
    g_Cleaving = t.cleaving;
    RemoveCondition(kFighter, kCondHasted);
    if (t.hasted) AddCondition(kFighter, kCondHasted, 5, 0, kSourceSpell, 0);
    EXPECT_EQ(Pair(Build(kFighter).entries[0].attackRoll, kSrcDecreasingAttackBonus), t.penalty)
        << t.made << " " << t.cleaving << " " << t.hasted;
  }
  g_Cleaving = -1;
  CombatAction.attackCounter = 2;
  CombatAction.currentProfileEntry = 1;  // another entry is in use
  EXPECT_FALSE(Has(Build(kFighter).entries[0].attackRoll, kSrcDecreasingAttackBonus));
  CombatAction.currentProfileEntry = 0;
  CombatAction.currentEntry = 1;  // someone else's turn
  EXPECT_FALSE(Has(Build(kFighter).entries[0].attackRoll, kSrcDecreasingAttackBonus));

  // A readied attack counts from the turn-order entry.
  RemoveCondition(kFighter, kCondHasted);
  CombatAction.reactingCreature = kFighter;
  TurnOrder[0].plannedAction = 21;
  TurnOrder[0].plannedTarget = 1;
  TurnOrder[0].plannedParameter = 0;
  EXPECT_EQ(Pair(Build(kFighter).entries[0].attackRoll, kSrcDecreasingAttackBonus), -5);
  CombatAction.reactingCreature = -1;
}

TEST_F(AttackProfileTest, SituationalAttackModifiers) {
  // Fighter at (10,10), enemy target at (11,11), ally at (12,12) opposite.
  CreatureRecord& c = Creatures[kFighter];
  c.squareX = c.squareY = 10;
  MakeCreature(20);
  Creatures[20].allegiance = kAllegianceEnemy;
  Creatures[20].squareX = Creatures[20].squareY = 11;
  MakeCreature(2);
  Creatures[2].squareX = Creatures[2].squareY = 12;
  InCombat = 1;
  TurnEntryCount = 3;
  TurnOrder[0].creature = kFighter;
  TurnOrder[1].creature = 20;
  TurnOrder[2].creature = 2;

  ModifierList melee;
  InitModifierList(&melee);
  AddAttackModifiers(0, kFighter, &melee, 1, 20, 0, 0);
  EXPECT_EQ(Pair(melee, kSrcFlankingTarget), 2);
  EXPECT_FALSE(Has(melee, kCondTargetSurrounded));
  Creatures[20].protections[kProtFlanking].current = 1;
  InitModifierList(&melee);
  AddAttackModifiers(0, kFighter, &melee, 1, 20, 0, 0);
  EXPECT_FALSE(Has(melee, kSrcFlankingTarget));

  // Shooting into a melee; point blank within three squares.
  c.feats[kFeatPointBlankShot] = 1;
  ModifierList ranged;
  InitModifierList(&ranged);
  AddAttackModifiers(0, kFighter, &ranged, 0, 20, 1, 0);
  EXPECT_EQ(Pair(ranged, kSrcPointBlankShot), 1);
  EXPECT_EQ(Pair(ranged, kSrcTargetInAMelee), -4);
  c.feats[kFeatPreciseShot] = 1;
  c.squareX = 0;
  InitModifierList(&ranged);
  AddAttackModifiers(0, kFighter, &ranged, 0, 20, 1, 0);
  EXPECT_FALSE(Has(ranged, kSrcPointBlankShot));
  EXPECT_FALSE(Has(ranged, kSrcTargetInAMelee));

}

TEST(Threats, ThreatenedAndSurrounded) {
  InCombat = 1;
  auto put = [](int id, int x, int y, int side) {
    MakeCreature(id);
    Creatures[id].squareX = x;
    Creatures[id].squareY = y;
    Creatures[id].allegiance = side;
  };
  put(1, 10, 10, 2);  // the target
  put(2, 11, 10, 1);
  TurnEntryCount = 2;
  TurnOrder[0].creature = 1;
  TurnOrder[1].creature = 2;
  EXPECT_TRUE(IsThreatenedByEnemy(1));
  ASSERT_TRUE(AddCondition(2, kCondSleeping, 5, 0, kSourceSpell, 0));
  EXPECT_FALSE(IsThreatenedByEnemy(1));
  RemoveCondition(2, kCondSleeping);
  Creatures[2].allegiance = kAllegianceEnemy;  // an ally does not threaten
  EXPECT_FALSE(IsThreatenedByEnemy(1));
  Creatures[2].allegiance = kAllegianceTalker;  // a talker threatens neither side
  EXPECT_FALSE(IsThreatenedByEnemy(1));
  Creatures[1].allegiance = kAllegianceTalker;  // but every other creature threatens a talker
  EXPECT_TRUE(IsThreatenedByEnemy(1));

  // Surrounded in the map's corner: the three ring squares on the map.
  put(1, 0, 0, 2);
  put(2, 1, 0, 1);
  put(3, 0, 1, 5);
  put(4, 1, 1, 6);
  TurnEntryCount = 4;
  for (int i = 0; i < 4; ++i) TurnOrder[i].creature = i + 1;
  EXPECT_TRUE(IsTargetSurrounded(1));
  ASSERT_TRUE(AddCondition(4, kCondGrappling, 5, 3, kSourceSpell, 0));  // grappling someone else
  EXPECT_FALSE(IsTargetSurrounded(1));
  Creatures[4].conditions[FindCondition(4, kCondGrappling)].value = 1;
  EXPECT_TRUE(IsTargetSurrounded(1));
  Creatures[3].squareY = 5;  // one empty ring square
  EXPECT_FALSE(IsTargetSurrounded(1));
  EXPECT_FALSE(IsTargetSurrounded(-1));
}
