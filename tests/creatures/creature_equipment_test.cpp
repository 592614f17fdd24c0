#include "creatures/creature_equipment.h"

#include <cstring>
#include <set>

#include "creature_fixture.h"
#include "creatures/treasure_rows.h"
#include "rules/feat_ids.h"

namespace {

using EquipmentTest = CreatureTest;

uint32_t Worn(const CreatureRecord& c, int slot) { return c.equipment[slot - 1]; }

TEST_F(EquipmentTest, EquipmentLevelsOfClassesAndKinds) {
  EXPECT_EQ(EquipmentLevel(57, 16, 1), -1);
  EXPECT_EQ(EquipmentLevel(57, 6, 12), -2);
  EXPECT_EQ(EquipmentLevel(60, 5, 3), 14);
  EXPECT_EQ(EquipmentLevel(57, 1, 5), 5);
}

TEST_F(EquipmentTest, ALowWarriorWearsLightArmourAndPlainWeapons) {
  std::set<int> armour;
  for (int i = 0; i < 200; ++i) {
    ClearGeneratedRows();
    CreatureRecord& c = MakeCreature(10, 57, 16, 1);
    GiveCreatureEquipment(10, 1, 0, 2, 2, 19, 0, 33);
    const uint32_t torso = Worn(c, kSlotTorso);
    ASSERT_TRUE(IsCraftedCode(torso));
    armour.insert(CraftedWeapons[torso].itemType);
    const CraftedWeaponRecord& sword = CraftedWeapons[Worn(c, kSlotRightHand)];
    EXPECT_STREQ(sword.name, "Longsword");
    EXPECT_EQ(sword.masterwork, 0);
    EXPECT_EQ(c.ammunition.code, kFirstBaseItemCode + kArrowsRow);
    EXPECT_EQ(c.carried[0].code, 0u);  // low gear comes without coins
    EXPECT_EQ(c.feats[kFeatLightArmour] + c.feats[kFeatMediumArmour], 1);
  }
  EXPECT_EQ(armour, (std::set<int>{40, 44, 46, 48}));
}

TEST_F(EquipmentTest, KindsWithoutEquipmentGetTreasureByRating) {
  for (int i = 0; i < 100; ++i) {
    ClearGeneratedRows();
    CreatureRecord& c = MakeCreature(10, 90, 7, 2);
    c.challengeRating = 10;
    c.generation[kCoinsMultiplierWord] = 2;
    c.generation[kGoodsMultiplierWord] = 2;
    c.generation[kItemsMultiplierWord] = 2;
    GiveCreatureEquipment(10, 20, 0, 2, 2, 19, 36, 32);
    for (uint32_t code : c.equipment) EXPECT_EQ(code, 0u);
    EXPECT_EQ(c.ammunition.code, 0u);
    ExpectEveryCodeFilled(c);
  }
}

TEST_F(EquipmentTest, AHighFighterCarriesNamedMagicGearAndCoins) {
  CreatureRecord& c = MakeCreature(10, 57, 1, 20);
  c.generation[kCoinsMultiplierWord] = 1;
  GiveCreatureEquipment(10, 20, 0, 2, 2, 19, 36, 32);
  const CraftedWeaponRecord& sword = CraftedWeapons[Worn(c, kSlotRightHand)];
  EXPECT_EQ(std::strncmp(sword.name, "+", 1), 0) << sword.name;
  EXPECT_GE(sword.enhancement, 1);
  EXPECT_EQ(sword.price, CraftedWeapons[4951 + 19].price + 300 + 2000 + 30000);
  const CraftedWeaponRecord& shield = CraftedWeapons[Worn(c, kSlotLeftHand)];
  EXPECT_EQ(shield.enhancement, 3);
  EXPECT_EQ(shield.critLow, CraftedWeapons[4951 + 36].critLow > 0 ? CraftedWeapons[4951 + 36].critLow - 1 : 0);
  const CraftedWeaponRecord& bow = CraftedWeapons[Worn(c, kSlotRanged)];
  EXPECT_EQ(bow.composite, 1);
  EXPECT_GE(bow.enhancement, 1);
  EXPECT_EQ(CraftedWeapons[Worn(c, kSlotTorso)].itemType, 42);
  EXPECT_EQ(Worn(c, kSlotRightFinger) == kFirstBaseItemCode + kProtectionRing4Row ||
                Worn(c, kSlotCloak) == kFirstBaseItemCode + kBlurCloakRow,
            true);
  EXPECT_EQ(c.feats[kFeatHeavyArmour], 1);
  ExpectEveryCodeFilled(c);
}

TEST_F(EquipmentTest, AWizardWearsBracersInsteadOfArmour) {
  CreatureRecord& c = MakeCreature(10, 57, 4, 20);
  GiveCreatureEquipment(10, 20, 0, 2, 2, 1, 0, 0);
  EXPECT_EQ(Worn(c, kSlotTorso), 0u);
  EXPECT_EQ(Worn(c, kSlotArms), kFirstBaseItemCode + kArmorBracers7Row);
  EXPECT_EQ(Worn(c, kSlotHead), kFirstBaseItemCode + kIntellectCirclet6Row);
  // A stilled, fighting, defensive wizard may wear armour.
  ClearGeneratedRows();
  CreatureRecord& armoured = MakeCreature(11, 57, 4, 20);
  GiveCreatureEquipment(11, 20, 6, 1, 1, 1, 0, 0);
  EXPECT_TRUE(IsCraftedCode(Worn(armoured, kSlotTorso)));
}

TEST_F(EquipmentTest, ALargeCreaturesGearIsMadeForItsSize) {
  CreatureRecord& c = MakeCreature(10, 55, 16, 4);
  c.size = {4, 4};
  GiveCreatureEquipment(10, 4, 0, 2, 2, 19, 0, 0);
  const CraftedWeaponRecord& sword = CraftedWeapons[Worn(c, kSlotRightHand)];
  EXPECT_EQ(sword.size, 4);
  EXPECT_EQ(sword.dieCount, 2);
  EXPECT_EQ(sword.dieSides, 6);
  EXPECT_EQ(CraftedWeapons[Worn(c, kSlotTorso)].size, 4);
}

TEST_F(EquipmentTest, BalorCarriesItsNamedBlades) {
  CreatureRecord& c = MakeCreature(10, 8, 14, 20);
  GiveCreatureEquipment(10, 0, 0, 2, 2, 19, 1, 0);
  const CraftedWeaponRecord& main = CraftedWeapons[Worn(c, kSlotRightHand)];
  EXPECT_STREQ(main.name, "+1 Death Sword");  // a slashing longsword
  EXPECT_EQ(main.price, CraftedWeapons[4951 + 19].price + 50300);
  const CraftedWeaponRecord& off = CraftedWeapons[Worn(c, kSlotLeftHand)];
  EXPECT_STREQ(off.name, "+1 Fire Dagger");
  EXPECT_EQ(off.masterwork, 1);
  EXPECT_EQ(off.price, CraftedWeapons[4951 + 1].price + 8000);
  EXPECT_EQ(Worn(c, kSlotTorso), 0u);
}

// Over many seeds, levels and classes every code given names a filled row,
// and when the generated rows run out the slots simply stay empty.
TEST_F(EquipmentTest, EveryLevelAndClassNamesFilledRows) {
  const int classes[] = {1, 3, 4, 5, 6, 16, 17};
  for (uint32_t seed = 1; seed <= 300; ++seed) {
    SeedRandomForTests(seed);
    ClearGeneratedRows();
    const int creatureClass = classes[seed % 7];
    CreatureRecord& c = MakeCreature(10, seed % 5 == 0 ? 60 : 57, creatureClass, 1);
    c.generation[kCoinsMultiplierWord] = 1;
    c.generation[kGoodsMultiplierWord] = 1;
    c.generation[kItemsMultiplierWord] = 1;
    const int main = static_cast<int>(seed % 36), ranged = seed % 3 == 0 ? 32 : seed % 3 == 1 ? 11 : 0;
    GiveCreatureEquipment(10, static_cast<int>(seed % 22), static_cast<int>(seed % 9), 1 + seed % 2, 1 + seed % 2,
                          main, seed % 2 ? 37 : 0, ranged);
    ExpectEveryCodeFilled(c);
  }
  HoldEveryGeneratedRow();
  CreatureRecord& c = MakeCreature(11, 57, 16, 10);
  GiveCreatureEquipment(11, 10, 0, 2, 2, 19, 36, 32);
  EXPECT_EQ(Worn(c, kSlotRightHand), 0u);
  EXPECT_EQ(Worn(c, kSlotTorso), 0u);
  ExpectEveryCodeFilled(c);
}

}  // namespace
