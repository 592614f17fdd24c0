// Starting equipment: the weapons and armour each class takes by its feats,
// copied from the item templates and paid from the party gold.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "harness/harness.h"
#include "party/new_characters.h"
#include "party/starting_equipment.h"
#include "rules/creature_record.h"
#include "rules/feat_ids.h"
#include "rules/item_tables.h"
#include "state/inventory_state.h"

namespace {

class StartingEquipment : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(harness::StartGame());
    for (int row = 1; row <= 120; ++row) std::memset(&CraftedWeapons[row], 0, sizeof CraftedWeapons[row]);
    ASSERT_STREQ(CraftedWeapons[kTemplateRowBase + kTemplateLongsword].name, "Longsword");
    PartyGold = 1000;
  }
  void TearDown() override { harness::StopGame(); }

  // Member 0 as a fresh character of the class with the class's own feats.
  static CreatureRecord& Member(int32_t creatureClass, std::initializer_list<int> feats = {}) {
    CreatureRecord& c = Creatures[0];
    std::memset(&c, 0, sizeof c);
    c.creatureClass = creatureClass;
    ResetCreatureFeats(0);
    for (int f : feats) c.feats[f] = 1;
    return c;
  }
  static std::string Name(uint32_t code) { return code >= 1 && code < 5000 ? CraftedWeapons[code].name : ""; }
  static std::string Slot(int slot) { return Name(Creatures[0].equipment[slot - 1]); }
  static int32_t Price(int itemTemplate) { return CraftedWeapons[kTemplateRowBase + itemTemplate].price; }
};

TEST_F(StartingEquipment, AKnightWithoutWeaponFeatsTakesALongswordAndArmourAndPaysForThem) {
  Member(kClassKnight);
  GiveStartingEquipment(0);
  EXPECT_EQ(Slot(kSlotRightHand), "Longsword");
  EXPECT_EQ(Slot(kSlotLeftHand), "");
  EXPECT_EQ(Slot(kSlotTorso), CraftedWeapons[kTemplateRowBase + kTemplateMediumArmour].name);
  EXPECT_EQ(PartyGold, 1000u - Price(kTemplateLongsword) - Price(kTemplateMediumArmour));
  // The copies are rows of the party's own from 1 on.
  EXPECT_EQ(Creatures[0].equipment[kSlotRightHand - 1], 1u);
  EXPECT_EQ(Creatures[0].equipment[kSlotTorso - 1], 2u);

  Member(kClassKnight, {kFeatWeaponFinesse, kFeatTwoWeaponFighting});
  GiveStartingEquipment(0);
  EXPECT_EQ(Slot(kSlotRightHand), "Rapier");
  EXPECT_EQ(Slot(kSlotLeftHand), "Short Sword");
}

TEST_F(StartingEquipment, AKnightsFocusFeatsChooseItsHands) {
  // A light and a one-handed focus with two weapons: the one-handed weapon
  // leads and the light one goes to the off hand.
  Member(kClassKnight, {kFeatWeaponFocusDagger, 88, kFeatTwoWeaponFighting});
  GiveStartingEquipment(0);
  EXPECT_EQ(Slot(kSlotRightHand), "Longsword");
  EXPECT_EQ(Slot(kSlotLeftHand), "Dagger");
  // A two-handed weapon takes no off-hand weapon.
  Member(kClassKnight, {98, kFeatTwoWeaponFighting});
  GiveStartingEquipment(0);
  EXPECT_EQ(Slot(kSlotRightHand), "Greatsword");
  EXPECT_EQ(Slot(kSlotLeftHand), "");
  // The bastard sword of the exotic proficiency is not handed out again for its focus.
  Member(kClassKnight, {kFeatBastardSword, 103});
  GiveStartingEquipment(0);
  EXPECT_EQ(Slot(kSlotRightHand), "Bastard Sword");
  EXPECT_EQ(Creatures[0].carried[0].code, 0u);
  // Without two weapons each focus gives its weapon; the second is carried.
  Member(kClassKnight, {kFeatWeaponFocusDagger, 88});
  GiveStartingEquipment(0);
  EXPECT_EQ(Slot(kSlotRightHand), "Dagger");
  EXPECT_EQ(Name(Creatures[0].carried[0].code), "Longsword");
  EXPECT_EQ(Creatures[0].carried[0].count, 1);
}

TEST_F(StartingEquipment, RangedWeaponsComeWithTheirAmmunitionAndItsPrice) {
  Member(kClassKnight, {kFeatPointBlankShot});
  GiveStartingEquipment(0);
  EXPECT_EQ(Slot(kSlotRanged), "Shortbow");
  EXPECT_EQ(Creatures[0].ammunition.code, kArrowsCode);
  EXPECT_EQ(Creatures[0].ammunition.count, 20);
  EXPECT_EQ(PartyGold, 1000u - Price(kTemplateShortbow) - 1 - Price(kTemplateLongsword) - Price(kTemplateMediumArmour));

  PartyGold = 1000;
  Member(kClassWizard, {kFeatRapidReloadHeavy, kFeatLightArmour});
  GiveStartingEquipment(0);
  EXPECT_EQ(Slot(kSlotRanged), "Heavy Crossbow");
  EXPECT_EQ(Creatures[0].ammunition.code, kBoltsCode);
  EXPECT_EQ(Slot(kSlotRightHand), "Dagger");
  EXPECT_EQ(Slot(kSlotTorso), CraftedWeapons[kTemplateRowBase + kTemplateLightArmour].name);
  EXPECT_EQ(PartyGold,
            1000u - Price(kTemplateHeavyCrossbow) - 2 - Price(kTemplateDagger) - Price(kTemplateLightArmour));

  // A Knight's ranged focus chooses the bow; a caster's needs the proficiency.
  Member(kClassKnight, {101});
  GiveStartingEquipment(0);
  EXPECT_EQ(Slot(kSlotRanged), "Longbow");
  Member(kClassCleric, {101});
  GiveStartingEquipment(0);
  EXPECT_EQ(Slot(kSlotRanged), "");
  Member(kClassCleric, {49});
  GiveStartingEquipment(0);
  EXPECT_EQ(Slot(kSlotRanged), "Shortbow");
}

TEST_F(StartingEquipment, CastersTakeTheWeaponsOfTheirProficiencies) {
  Member(kClassWizard, {kFeatTwoWeaponFighting});
  GiveStartingEquipment(0);
  EXPECT_EQ(Slot(kSlotRightHand), "Dagger");
  EXPECT_EQ(Slot(kSlotLeftHand), "Dagger");
  EXPECT_EQ(Slot(kSlotTorso), "");
  // The simple weapons give a Wizard a morningstar, and a dagger beside it.
  Member(kClassWizard, {kFeatSimpleWeapons, kFeatTwoWeaponFighting});
  GiveStartingEquipment(0);
  EXPECT_EQ(Slot(kSlotRightHand), "Morningstar");
  EXPECT_EQ(Slot(kSlotLeftHand), "Dagger");

  // A bow of a proficiency goes to the ranged place once and is paid once;
  // the hand takes the melee weapon, with two weapons too.
  PartyGold = 1000;
  Member(kClassWizard, {43, 44});
  GiveStartingEquipment(0);
  EXPECT_EQ(Slot(kSlotRanged), "Longbow");
  EXPECT_EQ(Slot(kSlotRightHand), "Longsword");
  EXPECT_EQ(Creatures[0].carried[0].code, 0u);
  EXPECT_EQ(PartyGold, 1000u - Price(kTemplateLongbow) - 1 - Price(kTemplateLongsword));
  Member(kClassCleric, {43, 44, kFeatTwoWeaponFighting});
  GiveStartingEquipment(0);
  EXPECT_EQ(Slot(kSlotRightHand), "Longsword");
  EXPECT_EQ(Slot(kSlotLeftHand), "Light Mace");
  // A bow alone is no hand weapon: the Wizard keeps its dagger.
  Member(kClassWizard, {49});
  GiveStartingEquipment(0);
  EXPECT_EQ(Slot(kSlotRanged), "Shortbow");
  EXPECT_EQ(Slot(kSlotRightHand), "Dagger");

  Member(kClassCleric);
  GiveStartingEquipment(0);
  EXPECT_EQ(Slot(kSlotRightHand), "Morningstar");
  EXPECT_EQ(Slot(kSlotTorso), CraftedWeapons[kTemplateRowBase + kTemplateMediumArmour].name);
  Member(kClassCleric, {kFeatTwoWeaponFighting});
  GiveStartingEquipment(0);
  EXPECT_EQ(Slot(kSlotRightHand), "Light Mace");
  EXPECT_EQ(Slot(kSlotLeftHand), "Light Mace");
  // A light weapon goes to the off hand beside a morningstar; a one-handed
  // one leads with a light mace beside it.
  Member(kClassCleric, {40, kFeatTwoWeaponFighting});
  GiveStartingEquipment(0);
  EXPECT_EQ(Slot(kSlotRightHand), "Morningstar");
  EXPECT_EQ(Slot(kSlotLeftHand), "Kukri");
  Member(kClassCleric, {44, kFeatTwoWeaponFighting});
  GiveStartingEquipment(0);
  EXPECT_EQ(Slot(kSlotRightHand), "Longsword");
  EXPECT_EQ(Slot(kSlotLeftHand), "Light Mace");
}

TEST_F(StartingEquipment, AnItemWithNowhereToGoIsNeitherKeptNorPaid) {
  CreatureRecord& c = Member(kClassKnight);
  c.equipment[kSlotRightHand - 1] = 4999;
  for (ItemPair& pair : c.carried) pair = {5010, 1};
  GiveStartingItem(0, kSlotRightHand, kTemplateLongsword);
  EXPECT_EQ(PartyGold, 1000u);
  EXPECT_EQ(CraftedWeapons[1].name[0], '\0');
  c.carried[5] = {0, 0};
  GiveStartingItem(0, kSlotRightHand, kTemplateLongsword);
  EXPECT_EQ(c.carried[5].code, 1u);
  EXPECT_EQ(PartyGold, 1000u - Price(kTemplateLongsword));
}

TEST_F(StartingEquipment, GoldStopsAtNothingAndOnlyThePartysRowsAreTaken) {
  PartyGold = 30;
  Member(kClassKnight, {kFeatPointBlankShot});
  GiveStartingEquipment(0);
  EXPECT_EQ(PartyGold, 0u);
  EXPECT_EQ(Slot(kSlotTorso), CraftedWeapons[kTemplateRowBase + kTemplateMediumArmour].name);

  // With the pool of rows 1 to 120 in use nothing is handed out, though row 121 is free.
  for (int row = 1; row <= 120; ++row) std::snprintf(CraftedWeapons[row].name, 8, "Row %d", row);
  std::memset(&CraftedWeapons[121], 0, sizeof CraftedWeapons[121]);
  PartyGold = 1000;
  Member(kClassKnight);
  GiveStartingEquipment(0);
  EXPECT_EQ(Creatures[0].equipment[kSlotRightHand - 1], 0u);
  EXPECT_EQ(Creatures[0].equipment[kSlotTorso - 1], 0u);
  EXPECT_EQ(CraftedWeapons[121].name[0], '\0');
  EXPECT_EQ(PartyGold, 1000u);
}

}  // namespace
