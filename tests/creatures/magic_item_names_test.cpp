#include "creatures/magic_item_names.h"

#include <climits>
#include <cstring>
#include <string>

#include "creature_fixture.h"

namespace {

class MagicItemNamesTest : public CreatureTest {
 protected:
  // A generated copy of a prepared row with an enhancement.
  static CraftedWeaponRecord& Generated(int option, int enhancement) {
    const int row = MakeGeneratedItem(option);
    EXPECT_GT(row, 0);
    CraftedWeapons[row].enhancement = enhancement;
    return CraftedWeapons[row];
  }
  static int RowOf(const CraftedWeaponRecord& item) { return static_cast<int>(&item - CraftedWeapons); }
  static int PreparedPicture(int option) { return CraftedWeapons[4951 + option].icon; }
};

TEST_F(MagicItemNamesTest, NamesShowEnhancementAbilityAndKind) {
  CraftedWeaponRecord& sword = Generated(19, 1);
  BuildMagicItemName(RowOf(sword));
  EXPECT_STREQ(sword.name, "+1 Sword");
  EXPECT_EQ(sword.icon, PreparedPicture(19) + 6);

  CraftedWeaponRecord& halberd = Generated(30, 3);
  halberd.properties[17 - 1] = 1;
  BuildMagicItemName(RowOf(halberd));
  EXPECT_STREQ(halberd.name, "+3 Fire Halbrd");
  EXPECT_EQ(halberd.icon, PreparedPicture(30) + 1);

  // Weapon abilities come before armour abilities, the strongest armour grade first.
  CraftedWeaponRecord& plate = Generated(42, 2);
  plate.properties[22 - 1] = plate.properties[40 - 1] = 1;
  BuildMagicItemName(RowOf(plate));
  EXPECT_STREQ(plate.name, "+2 Soak Plate");
  plate.properties[5 - 1] = 1;
  BuildMagicItemName(RowOf(plate));
  EXPECT_STREQ(plate.name, "+2 Swift Plate");
  EXPECT_EQ(plate.icon, PreparedPicture(42) + 1);
}

TEST_F(MagicItemNamesTest, EveryNameFitsItsFieldWithATerminator) {
  for (int option = 1; option < kItemOptionCount; ++option) {
    for (int k = 0; k <= kItemSpecialCount; ++k) {
      ClearGeneratedRows();
      CraftedWeaponRecord& item = Generated(option, 5);
      if (k > 0) item.properties[k - 1] = 1;
      BuildMagicItemName(RowOf(item));
      std::string expected = "+5 ";
      if (k > 0) expected += std::string(ItemSpecialNameTable[k]) + " ";
      expected += ItemShortNameTable[option];
      EXPECT_EQ(item.name, expected);
      EXPECT_LE(std::strlen(item.name), 15u);
    }
  }
  // Enhancements the name rule was never meant for still fit and stay terminated.
  ClearGeneratedRows();
  CraftedWeaponRecord& odd = Generated(30, INT_MIN);
  odd.properties[44] = 1;
  BuildMagicItemName(RowOf(odd));
  EXPECT_STREQ(odd.name, "+-2147483648 Spell Halbrd");
  // A kind outside the short-name table gives no kind in the name and keeps the picture.
  odd.itemType = 49;
  odd.icon = 77;
  BuildMagicItemName(RowOf(odd));
  EXPECT_STREQ(odd.name, "+-2147483648 Spell");
  EXPECT_EQ(odd.icon, 77);
  odd.itemType = -3;
  BuildMagicItemName(RowOf(odd));
  EXPECT_EQ(odd.name[sizeof odd.name - 1], 0);
}

TEST_F(MagicItemNamesTest, WandsTakeTheirSpellsNamePriceAndPicture) {
  CraftedWeaponRecord& wand = Generated(kWandOption, 0);
  const int basePrice = wand.price;
  std::strcpy(wand.name, "Masterwork Wand");
  wand.charges = 50;
  SpellTable[3].level = 1;
  SpellTable[3].xpCost = 0;
  SpellTable[3].goldCost = 0;
  SpellTable[3].school = 4;
  BuildWandName(RowOf(wand), 3);
  EXPECT_STREQ(wand.name, "SLEEP Wand");
  EXPECT_EQ(wand.price, basePrice + 750);  // 50 charges add the full price
  EXPECT_EQ(wand.icon, 56);                // the blank wand's first place in the enchantment band

  // A wand named after a spell is renamed; a keyword of 11 letters or more stands alone.
  wand.icon = 30;
  SpellTable[5].level = 5;
  SpellTable[5].school = 5;
  const int before = wand.price;
  BuildWandName(RowOf(wand), 5);
  EXPECT_STREQ(wand.name, "MAGIC_MISSILE");
  EXPECT_EQ(wand.price, before);  // level 5 adds nothing
  EXPECT_EQ(wand.icon, 30);
  BuildWandName(RowOf(wand), 3);
  EXPECT_STREQ(wand.name, "SLEEP Wand");

  // A picture below the wand bands takes the first place of the band.
  wand.icon = 3;
  BuildWandName(RowOf(wand), 3);
  EXPECT_EQ(wand.icon, 56);

  // The player's own name stays; a spell outside the table changes nothing.
  std::strcpy(wand.name, "Old Faithful");
  BuildWandName(RowOf(wand), 3);
  EXPECT_STREQ(wand.name, "Old Faithful");
  const CraftedWeaponRecord copy = wand;
  BuildWandName(RowOf(wand), 180);
  BuildWandName(RowOf(wand), -1);
  EXPECT_EQ(std::memcmp(&copy, &wand, sizeof copy), 0);
}

TEST_F(MagicItemNamesTest, WandPricesByLevelAndCosts) {
  const int prices[5] = {0, 750, 4500, 11250, 21000};
  for (int level = 1; level <= 4; ++level) {
    ClearGeneratedRows();
    CraftedWeaponRecord& wand = Generated(kWandOption, 0);
    wand.price = 0;
    wand.charges = 10;
    SpellTable[0].level = level;
    SpellTable[0].xpCost = 2;
    SpellTable[0].goldCost = 7;
    BuildWandName(RowOf(wand), 0);
    EXPECT_EQ(wand.price, (prices[level] + (5 * 2 + 7) * 50) * 10 * 2 / 100) << "level " << level;
  }
}

}  // namespace
