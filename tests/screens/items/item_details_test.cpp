// The sheet of a crafted or unique item: every line as the player reads it,
// and the editing of an item the party holds.
#include "screens/items/inventory_fixture.h"

#include "engine/page_history_access.h"
#include "state/text_entry.h"

namespace inventorytest {
namespace {

constexpr int kLongsword = 19, kLightShield = 36, kBreastplate = 39, kWandKind = 8;

class ItemDetailsTest : public InventoryScreenTest {
 protected:
  static std::vector<std::string> Sheet(uint32_t code) {
    ScreenMode = kModePageView;
    PushPage("Item", static_cast<int32_t>(code) + kPageItemPropertiesLast, 0);
    harness::MoveMouse(300, 8);
    harness::StepFrames(1);
    return Screen();
  }
  static bool Has(const std::string& row, const std::string& text) { return row.find(text) != std::string::npos; }
};

TEST_F(ItemDetailsTest, MagicWeaponSheet) {
  CraftedWeaponRecord& w = CraftedWeapons[Forge(20, kLongsword)];
  std::strcpy(w.name, "Frostfang the long remembered");
  w.size = 3;
  w.material = 7;
  w.masterwork = 1;
  w.enhancement = 2;
  w.handling = 2;
  w.proficiency = 3;
  w.damageKind = 1;
  w.dieCount = 1;
  w.dieSides = 8;
  w.critLow = 19;
  w.critMultiplier = 2;
  w.price = 8315;
  w.properties[17 - 1] = 1;  // flaming
  w.properties[20 - 1] = 1;  // keen
  Creatures[0].carried[0] = {20, 1};
  const std::vector<std::string> s = Sheet(20);
  EXPECT_TRUE(Has(s[1], "    Frostfang The L")) << s[1];
  EXPECT_FALSE(Has(s[1], "Frostfang The Lo")) << "the name is cut to 15 characters";
  EXPECT_TRUE(Has(s[2], "    Medium Mithral Longsword")) << s[2];
  EXPECT_TRUE(Has(s[3], "Slashing weapon")) << s[3];
  EXPECT_TRUE(Has(s[3], "Price:8315")) << s[3];
  EXPECT_TRUE(Has(s[10], "Handling:1 Hand")) << s[10];
  EXPECT_TRUE(Has(s[10], "Proficiency:Martial")) << s[10];
  EXPECT_TRUE(Has(s[11], "Damage:1D8+2")) << s[11];
  EXPECT_TRUE(Has(s[11], "Criticals:17-20/*2")) << s[11];
  EXPECT_TRUE(Has(s[12], "Enhancement: +2")) << s[12];
  EXPECT_TRUE(Has(s[15], " Masterwork")) << s[15];
  EXPECT_TRUE(Has(s[16], " Flaming          (+1 Enchantment)")) << s[16];
  EXPECT_TRUE(Has(s[17], " Keen             (+1 Enchantment)")) << s[17];

  // Without Keen the threat range of 20 shows the multiplier alone.
  w.properties[20 - 1] = 0;
  w.critLow = 20;
  w.enhancement = 0;
  const std::vector<std::string> plain = Screen();
  EXPECT_TRUE(Has(plain[11], "Damage:1D8 ")) << plain[11];
  EXPECT_TRUE(Has(plain[11], "Criticals:*2")) << plain[11];

  // The material word opens its help page.
  harness::Click(8 * 11 + 2, 8 * 2 + 3);
  harness::StepFrames(1);
  EXPECT_EQ(TopPageType(), kPageHelpTopic);
  EXPECT_EQ(TopPageParameter(), 43013);
}

TEST_F(ItemDetailsTest, ArmourShieldWandAndUniqueItemSheets) {
  CraftedWeaponRecord& a = CraftedWeapons[Forge(21, kBreastplate)];
  a.dieSides = 5;
  a.dieCount = 3;
  a.critLow = 4;
  a.critMultiplier = 25;
  a.size = 3;
  const std::vector<std::string> armour = Sheet(21);
  EXPECT_TRUE(Has(armour[10], "Armor Bonus:5")) << armour[10];
  EXPECT_TRUE(Has(armour[11], "Spell Failure:25")) << armour[11];
  EXPECT_TRUE(Has(armour[11], "Max Dex Bonus:3")) << armour[11];
  EXPECT_TRUE(Has(armour[12], "Armor Penalty:4")) << armour[12];
  EXPECT_FALSE(Has(armour[3], "weapon"));

  CraftedWeaponRecord& shield = CraftedWeapons[Forge(22, kLightShield)];
  shield.size = 9;       // outside the size words
  shield.material = 12;  // outside the materials
  const std::vector<std::string> s = Sheet(22);
  EXPECT_TRUE(Has(s[11], "Max Dex Bonus:-")) << s[11];
  EXPECT_TRUE(Has(s[2], "    - - Light Shield")) << s[2];

  CraftedWeaponRecord& wand = CraftedWeapons[Forge(23, kWandKind)];
  wand.spell = 1;
  wand.charges = 12;
  std::vector<std::string> w = Sheet(23);
  bool spellLine = false;
  for (int row = 15; row < 20; ++row) spellLine = spellLine || Has(w[row], "12*");
  EXPECT_TRUE(spellLine);
  wand.charges = 0;
  w = Screen();
  for (int row = 15; row < 20; ++row) EXPECT_FALSE(Has(w[row], "*")) << w[row];

  // A unique item of the adventure, beyond the pool.
  CraftedWeaponRecord& relic = CraftedWeapons[Forge(300, kLongsword)];
  std::strcpy(relic.name, "Oath of Harrow");
  relic.noSale = 3;
  const std::vector<std::string> u = Sheet(300);
  EXPECT_TRUE(Has(u[1], "    Oath Of Harrow")) << u[1];
  EXPECT_TRUE(Has(u[15], " Quest Item")) << u[15];

  CraftedWeapons[24] = CraftedWeaponRecord{};
  EXPECT_EQ(DrawItemDetailsScreen(24), 0) << "an empty record has no sheet";
}

TEST_F(ItemDetailsTest, NamesAreEditedOnlyOnTheSheetTheyBeganOn) {
  Forge(20, kLongsword);
  Forge(21, kLongsword);
  std::strcpy(CraftedWeapons[20].name, "Sword");
  std::strcpy(CraftedWeapons[21].name, "Blade");
  Creatures[0].carried[0] = {20, 1};
  Creatures[0].carried[1] = {21, 1};
  Sheet(20);
  harness::Click(8 * 4 + 2, 8 + 3);
  harness::StepFrames(1);
  ASSERT_EQ(TextEntryMode, static_cast<uint32_t>(kTextEntryItemName));
  harness::PressKey("X");
  harness::StepFrames(1);
  harness::PressKey("Return");
  harness::StepFrames(1);
  const std::string renamed = CraftedWeapons[20].name;
  EXPECT_EQ(renamed.size(), 6u);
  EXPECT_EQ(renamed.substr(0, 5), "Sword");

  // An edit left open while another item's sheet comes up is dropped.
  harness::Click(8 * 4 + 2, 8 + 3);
  harness::StepFrames(1);
  harness::PressKey("Y");
  harness::StepFrames(1);
  PushPage("Blade", 10021, 0);
  harness::MoveMouse(300, 100);
  harness::StepFrames(1);
  harness::PressKey("Return");
  harness::StepFrames(1);
  EXPECT_STREQ(CraftedWeapons[21].name, "Blade");
  EXPECT_EQ(CraftedWeapons[20].name, renamed);
  EXPECT_EQ(TextEntryMode, static_cast<uint32_t>(kTextEntryNone));

  // The fixed record of a kind, shown through its help topic, is not the party's.
  ScreenMode = kModePageView;
  PushPage("Club", kPageHelpTopic, 43050);
  harness::MoveMouse(8 * 4 + 2, 8 + 3);
  harness::StepFrames(1);
  harness::Click(8 * 4 + 2, 8 + 3);
  harness::StepFrames(1);
  EXPECT_EQ(TextEntryMode, static_cast<uint32_t>(kTextEntryNone));
}

TEST_F(ItemDetailsTest, MagicWeaponSheetPicture) {
  CraftedWeaponRecord& w = CraftedWeapons[Forge(20, kLongsword)];
  std::strcpy(w.name, "Frostfang");
  std::strcpy(w.description,
              "A @LONGSWORD@ of blue-grey steel, cold to the touch. Frost gathers on the blade when it is drawn in "
              "anger.");
  w.material = 7;
  w.masterwork = 1;
  w.enhancement = 2;
  w.price = 8315;
  w.properties[18 - 1] = 1;  // frost
  w.properties[20 - 1] = 1;  // keen
  Creatures[0].carried[0] = {20, 1};
  Sheet(20);
  harness::StepFrames(1);
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, "magic_weapon_sheet"), 0);
}

}  // namespace
}  // namespace inventorytest
