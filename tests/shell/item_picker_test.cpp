// The wand picker's choice turning a crafted item into a wand.
#include <gtest/gtest.h>

#include <cstring>

#include "shell/frame.h"
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
  w.icon = icon;
  w.price = 100;
  SpellTable[kSpell].school = school;
  ChosenItem = kRow;
  CurrentSpell = kSpell;
  ActingCreature = kCrafter;
  Creatures[kCrafter].experience = 5000;
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
      {12, 1, 70},   // outside the wand pictures: first place of the group
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

TEST(WandPicker, AnItemOutsideTheCraftedRowsIsLeftAloneAndCostsNothing) {
  PrepareWand("Wand", 28, 1);
  ChosenItem = 5000 + 12;  // a base item
  WandChargeStep();
  EXPECT_EQ(CraftedWeapons[kRow].charges, 0);
  EXPECT_EQ(PartyGold, 2000u);
  EXPECT_EQ(Creatures[kCrafter].experience, 5000);
  EXPECT_EQ(ChosenItem, -1);
  EXPECT_EQ(CraftCostGold, 0u);
}

}  // namespace
