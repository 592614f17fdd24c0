#include "rules/armour_class.h"

#include <gtest/gtest.h>

#include <cstring>

#include "combat/actions/combat_actions.h"
#include "state/turn_order.h"
#include "map/line_of_effect.h"
#include "map/map_record.h"
#include "map/square_grids.h"
#include "rules/breakdown_sources.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"

namespace {

void Place(int id, int x, int y, int dexterity = 10) {
  CreatureRecord& c = Creatures[id];
  std::memset(&c, 0, sizeof c);
  std::snprintf(c.name, sizeof c.name, "Creature %d", id);
  c.squareX = x;
  c.squareY = y;
  c.footprintWidth = {1, 1};
  c.footprintHeight = {1, 1};
  c.dexterity = {dexterity, dexterity};
  c.size = {3, 3};
  c.allegiance = kAllegianceEnemy;
  c.present = 1;
}

void MakeArmour(uint32_t code, int bonus, int enhancement, int handling) {
  CraftedWeaponRecord& r = CraftedWeapons[code];
  std::memset(&r, 0, sizeof r);
  std::snprintf(r.name, sizeof r.name, "Armour %u", code);
  r.itemType = handling == 5 ? 36 : 40;
  r.handling = handling;
  r.dieSides = bonus;
  r.enhancement = enhancement;
}

struct Result {
  int32_t value;
  ModifierList list;
  int count;
};

Result Compute(int defender, uint8_t touch = 0, int attacker = -1, uint8_t form = 0, uint8_t energy = 0) {
  Result r{};
  InitModifierList(&r.list);
  r.value = ComputeArmourClass(defender, &r.list, &r.count, touch, attacker, form, energy);
  r.list.total = r.value;
  return r;
}

int32_t PairValue(const Result& r, int32_t source) {
  for (int i = 0; i < r.count; ++i)
    if (r.list.pairs[i].source == source) return r.list.pairs[i].value;
  return -999;
}

bool HasPair(const Result& r, int32_t source) { return PairValue(r, source) != -999; }

int32_t SumOfPairs(const Result& r) {
  int32_t sum = 0;
  for (int i = 0; i < r.count; ++i) sum += r.list.pairs[i].value;
  return sum;
}

class ArmourClass : public ::testing::Test {
 protected:
  void SetUp() override {
    InCombat = 0;
    TurnEntryCount = 0;
    CoverActive = 0;
    std::memset(&CurrentMap, 0, sizeof CurrentMap);
    std::memset(MagicAreaGrid, 0, sizeof MagicAreaGrid);
    Place(1, 10, 10, 14);
  }
};

}  // namespace

TEST_F(ArmourClass, ArmouredFighterWithBreakdown) {
  MakeArmour(100, 5, 1, 6);  // chain mail +1
  MakeArmour(101, 2, 0, 5);  // shield
  Creatures[1].equipment[kSlotTorso - 1] = 100;
  Creatures[1].equipment[kSlotLeftHand - 1] = 101;
  const Result r = Compute(1);
  EXPECT_EQ(r.value, 10 + 5 + 1 + 2 + 2);
  EXPECT_EQ(SumOfPairs(r), r.value);
  EXPECT_STREQ(r.list.caption, "Armor Class (Creature 1)");
  EXPECT_EQ(r.list.helpTopic, 41005);
  EXPECT_EQ(r.count, 5);

  const Result touch = Compute(1, 1);
  EXPECT_EQ(touch.value, 12);
  EXPECT_STREQ(touch.list.caption, "Touch AC (Creature 1)");
  EXPECT_EQ(touch.list.helpTopic, 41020);
  const Result energy = Compute(1, 0, -1, 2, 1);
  EXPECT_EQ(energy.value, 12);
  EXPECT_STREQ(energy.list.caption, "Energy AC (Creature 1)");
  EXPECT_EQ(energy.list.helpTopic, 43020);
}

TEST_F(ArmourClass, ArmourBeforeBracersBeforeMageArmour) {
  MakeArmour(100, 0, 0, 6);  // crafted clothes with no bonus
  ItemTable[7].baseType = 23;
  ItemTable[7].bonus = 3;
  Creatures[1].equipment[kSlotArms - 1] = kFirstBaseItemCode + 7;
  Creatures[1].equipment[kSlotTorso - 1] = 100;
  ASSERT_TRUE(AddCondition(1, kCondMageArmor, 10, 4, kSourceSpell, 0));
  EXPECT_EQ(Compute(1).value, 12);  // the crafted torso item ends the armour step
  Creatures[1].equipment[kSlotTorso - 1] = 0;
  Result r = Compute(1);
  EXPECT_EQ(r.value, 15);
  EXPECT_EQ(PairValue(r, kSrcBracersOfArmorWorn), 3);
  Creatures[1].equipment[kSlotArms - 1] = 0;
  r = Compute(1);
  EXPECT_EQ(r.value, 16);
  EXPECT_EQ(PairValue(r, kCondMageArmor), 4);
}

TEST_F(ArmourClass, LostDexterity) {
  ASSERT_TRUE(AddCondition(1, kCondBlinded, 5, 0, kSourceSpell, 0));
  Result r = Compute(1);
  EXPECT_TRUE(HasPair(r, kSrcNegatedDexterityBonus));
  EXPECT_EQ(PairValue(r, kSrcNegatedDexterityBonus), 0);
  EXPECT_FALSE(HasPair(r, kSrcDexterityModifier));
  EXPECT_EQ(r.value, 10 - 2);  // Blinded -2
  EXPECT_EQ(SumOfPairs(r), r.value);

  Creatures[1].dexterity = {8, 8};
  r = Compute(1);
  EXPECT_EQ(PairValue(r, kSrcDexterityModifier), -1);
  EXPECT_EQ(r.value, 10 - 1 - 2);

}

TEST_F(ArmourClass, InvisibleAttackerTakesDexterity) {
  Place(2, 11, 10);
  ASSERT_TRUE(AddCondition(2, kCondGreaterInvisibility, 5, 0, kSourceSpell, 0));
  EXPECT_TRUE(HasPair(Compute(1, 0, 2, 0), kSrcNegatedDexterityBonus));
  Creatures[1].feats[kFeatBlindFight] = 1;
  EXPECT_FALSE(HasPair(Compute(1, 0, 2, 0), kSrcNegatedDexterityBonus));  // blind-fight in melee
  EXPECT_TRUE(HasPair(Compute(1, 0, 2, 1), kSrcNegatedDexterityBonus));   // not against missiles
  Creatures[1].special[kSenseKindWord] = 6;
  EXPECT_FALSE(HasPair(Compute(1, 0, 2, 1), kSrcNegatedDexterityBonus));
}

TEST_F(ArmourClass, DodgeSourcesAndTheirPair) {
  Creatures[1].feats[kFeatDodge] = 1;
  Creatures[1].protections[kProtRacialDodge] = {1, 0};
  ASSERT_TRUE(AddCondition(1, kCondHasted, 5, 0, kSourceSpell, 0));
  ASSERT_TRUE(AddCondition(1, kCondSlowed, 5, 0, kSourceSpell, 0));
  ASSERT_TRUE(AddCondition(1, kCondInsightful, 5, 2, kSourceSpell, 0));
  const Result r = Compute(1);
  EXPECT_EQ(PairValue(r, kCondHasted), 1);
  EXPECT_FALSE(HasPair(r, kCondSlowed));
  EXPECT_EQ(r.value, 10 + 2 + 1 + 1 + 1 + 2);
  EXPECT_EQ(Creatures[1].protections[kProtRacialDodge].current, 1 + 1 + 1 + 2);
}

TEST_F(ArmourClass, NaturalArmourShieldTouchAndEnergy) {
  MakeArmour(101, 2, 1, 5);
  Creatures[1].equipment[kSlotLeftHand - 1] = 101;
  Creatures[1].protections[kProtNaturalArmour] = {5, 0};
  Creatures[1].feats[kFeatImprovedNaturalArmor] = 2;
  const Result normal = Compute(1);
  EXPECT_EQ(normal.value, 10 + 2 + 1 + 2 + 5 + 2);
  EXPECT_EQ(Creatures[1].protections[kProtNaturalArmour].current, 7);
  const Result touch = Compute(1, 1);
  EXPECT_EQ(touch.value, 12);
  EXPECT_FALSE(HasPair(touch, kSrcRacialNaturalArmor));
  EXPECT_FALSE(HasPair(touch, kSrcShieldHeld));
  const Result energy = Compute(1, 0, -1, 2, 1);
  EXPECT_EQ(energy.value, 10 + 2 + 5 + 2);
  EXPECT_FALSE(HasPair(energy, kSrcShieldHeld));
  // A dancing defender drops its shield and loses 4.
  ASSERT_TRUE(AddCondition(1, kCondDancing, 5, 0, kSourceSpell, 0));
  EXPECT_EQ(Compute(1).value, 10 + 2 + 5 + 2 - 4);
}

TEST_F(ArmourClass, DeflectionSizeAndAlignmentBonuses) {
  Creatures[1].size = {2, 2};
  ASSERT_TRUE(AddCondition(1, kCondDeflecting, 5, 3, kSourceSpell, 0));
  Creatures[1].protections[kProtLawful].current = 2;
  Creatures[1].protections[kProtSacred].current = 1;
  Place(2, 11, 10);
  Creatures[2].alignment = 9;  // chaotic evil
  Result r = Compute(1, 0, 2);
  EXPECT_EQ(r.value, 10 + 2 + 1 + 3);  // out of combat: no alignment bonuses
  EXPECT_EQ(Creatures[1].protections[kProtDeflection].current, 3);
  InCombat = 1;
  r = Compute(1, 0, 2);
  EXPECT_EQ(PairValue(r, kSrcLawfulAcBonus), 2);
  EXPECT_EQ(PairValue(r, kSrcSacredAcBonus), 1);
  Creatures[2].alignment = 1;  // lawful good: neither
  EXPECT_EQ(Compute(1, 0, 2).value, 16);
}

TEST_F(ArmourClass, CoverAndHelplessInCombat) {
  Place(2, 11, 11);  // attacker down-right of the defender
  InCombat = 1;
  CoverActive = 1;
  EXPECT_EQ(PairValue(Compute(1, 0, 2, 1), kSrcTargetHasCover), 4);
  Creatures[2].feats[kFeatImprovedPreciseShot] = 1;
  EXPECT_FALSE(HasPair(Compute(1, 0, 2, 1), kSrcTargetHasCover));
  // Without an attacker a cover word left from an earlier shot counts for nothing.
  EXPECT_FALSE(HasPair(Compute(1, 0, -1, 1), kSrcTargetHasCover));
  CoverActive = 0;
  ASSERT_TRUE(AddCondition(1, kCondSleeping, 5, 0, kSourceSpell, 0));
  ASSERT_TRUE(AddCondition(1, kCondParalyzed, 5, 0, kSourceSpell, 0));
  const Result r = Compute(1, 0, 2, 0);
  EXPECT_EQ(PairValue(r, kCondParalyzed), -4);
  EXPECT_FALSE(HasPair(r, kCondSleeping));
}

TEST_F(ArmourClass, DiagonalAcrossAWallCorner) {
  Place(2, 11, 11);  // the defender (1) is on the attacker's upper-left corner
  InCombat = 1;
  EXPECT_FALSE(IsDiagonalAcrossCorner(2, 1));
  CurrentMap.At(kLayerWalls, 10, 11) = 50;  // left of the attacker
  EXPECT_TRUE(IsDiagonalAcrossCorner(2, 1));
  EXPECT_EQ(PairValue(Compute(1, 0, 2, 0), kSrcTargetHasCover), 4);
  EXPECT_FALSE(HasPair(Compute(1, 0, 2, 1), kSrcTargetHasCover));  // not for missiles
  CurrentMap.At(kLayerWalls, 10, 11) = 56;  // not a corner wall
  EXPECT_FALSE(IsDiagonalAcrossCorner(2, 1));
  CurrentMap.At(kLayerWalls, 11, 10) = 5000;
  EXPECT_TRUE(IsDiagonalAcrossCorner(2, 1));
  CurrentMap.At(kLayerWalls, 11, 10) = 0;
  MagicAreaGrid[SquareIndex(11, 10)].kind = kEffectSolid;
  EXPECT_TRUE(IsDiagonalAcrossCorner(2, 1));
  InCombat = 0;
  EXPECT_FALSE(IsDiagonalAcrossCorner(2, 1));
  InCombat = 1;
  MagicAreaGrid[SquareIndex(11, 10)].kind = 0;
  // Side by side: no corner.
  Creatures[2].squareY = 10;
  CurrentMap.At(kLayerWalls, 11, 9) = 50;
  EXPECT_FALSE(IsDiagonalAcrossCorner(2, 1));
}

TEST_F(ArmourClass, PairsStopAtTwentyWhileTheSumGoesOn) {
  MakeArmour(100, 5, 1, 6);
  Creatures[1].equipment[kSlotTorso - 1] = 100;
  ModifierList list;
  InitModifierList(&list);
  int count = 18;
  const int32_t value = ComputeArmourClass(1, &list, &count, 0, -1, 0, 0);
  EXPECT_EQ(value, 10 + 5 + 1 + 2);
  EXPECT_EQ(count, 20);
  EXPECT_EQ(list.pairs[18].source, kSrcArmorClassBase);
  EXPECT_EQ(list.pairs[19].source, kSrcArmorWorn);
  // Without a count nothing is written but the caption.
  InitModifierList(&list);
  EXPECT_EQ(ComputeArmourClass(1, &list, nullptr, 0, -1, 0, 0), value);
  EXPECT_EQ(list.pairs[0].source, 0);
  EXPECT_EQ(ComputeArmourClass(1, nullptr, nullptr, 0, -1, 0, 0), value);
}
