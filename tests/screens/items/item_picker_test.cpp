// The wand picker's choice turning a crafted item into a wand.
#include <gtest/gtest.h>

#include <cstring>

#include "screens/items/item_pickers.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "screens/game/game_screen.h"
#include "state/inventory_state.h"

namespace {

constexpr int kRow = 7;
constexpr int kSpell = 3;
constexpr int kCrafter = 1;

void PrepareWand(const char* name, int32_t icon, int32_t school) {
  CraftedWeaponRecord& w = CraftedWeapons[kRow];
  std::memset(&w, 0, sizeof w);
  std::strcpy(w.name, name);
  w.itemType = 8;
  w.icon = icon;
  w.price = 100;
  SpellTable[kSpell].school = school;
  ChosenItem = kRow;
  CurrentSpell = kSpell;
  ActingCreature = kCrafter;
  Creatures[kCrafter].experience = 5000;
  Creatures[kCrafter].name[0] = 'C';
  for (ItemPair& pair : Creatures[kCrafter].carried) pair = {0, 0};
  Creatures[kCrafter].carried[3] = {kRow, 1};
  PartyGold = 2000;
  CraftCostGold = 750;
  CraftCostXP = 30;
}

TEST(WandPicker, ChargesTheItemPaysTheCostsAndClearsTheChoice) {
  PrepareWand("Wand", 30, 4);
  WandChargeStep();
  const CraftedWeaponRecord& w = CraftedWeapons[kRow];
  EXPECT_EQ(w.charges, 50);
  EXPECT_EQ(w.spell, kSpell);
  EXPECT_EQ(w.icon, 58);  // third of its group moves to the third of the group from 56
  EXPECT_EQ(w.price, 100 + 2 * 750);
  EXPECT_EQ(Creatures[kCrafter].experience, 4970);
  EXPECT_EQ(PartyGold, 1250u);
  EXPECT_EQ(CraftCostGold, 0u);
  EXPECT_EQ(CraftCostXP, 0u);
  EXPECT_EQ(ChosenItem, -1);
  EXPECT_EQ(CurrentSpell, -1);
}

TEST(WandPicker, PictureKeepsItsPlaceInTheGroupOfTheSpellsSchool) {
  const struct {
    int32_t icon, school, expected;
  } cases[] = {
      {28, 1, 70}, {34, 2, 48}, {41, 3, 41}, {76, 5, 34}, {50, 6, 36}, {63, 7, 63}, {69, 8, 55},
      {12, 1, 70},   // below the wand pictures: first place of the group
      {90, 2, 42},   // above them too
      {45, 0, 45},   // a school without a group leaves the picture
      {45, 9, 45},
  };
  for (const auto& c : cases) {
    PrepareWand("Wand", c.icon, c.school);
    WandChargeStep();
    EXPECT_EQ(CraftedWeapons[kRow].icon, c.expected) << c.icon << " school " << c.school;
  }
}

TEST(WandPicker, APurseShorterThanTheCostEmptiesWithoutWrapping) {
  PrepareWand("Wand", 28, 1);
  PartyGold = 100;
  WandChargeStep();
  EXPECT_EQ(PartyGold, 0u);
}

TEST(WandPicker, OnlyAnEmptyWandTheCrafterHoldsIsChargedOrPaidFor) {
  auto expectUntouched = [](const char* what) {
    WandChargeStep();
    EXPECT_EQ(CraftedWeapons[kRow].spell, 0) << what;
    EXPECT_EQ(PartyGold, 2000u) << what;
    EXPECT_EQ(Creatures[kCrafter].experience, 5000) << what;
    EXPECT_EQ(ChosenItem, -1) << what;
    EXPECT_EQ(CraftCostGold, 0u) << what;
  };
  PrepareWand("Wand", 28, 1);
  ChosenItem = 5000 + 12;
  expectUntouched("a base item");
  PrepareWand("Wand", 28, 1);
  CraftedWeapons[kRow].charges = 7;
  expectUntouched("a charged wand");
  PrepareWand("Wand", 28, 1);
  CraftedWeapons[kRow].itemType = 19;
  expectUntouched("a sword");
  PrepareWand("Wand", 28, 1);
  Creatures[kCrafter].carried[3] = {0, 0};
  expectUntouched("a wand someone else holds");
}

}  // namespace
