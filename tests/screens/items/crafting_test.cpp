// Crafting: the costs, the crafting menu, the forge, enchanting, wands and
// scrolls, rings and wondrous items, worked through their pages.
#include "screens/items/inventory_fixture.h"

#include "engine/page_history_access.h"
#include "engine/widgets.h"
#include "rules/feat_ids.h"
#include "rules/item_rules.h"
#include "screens/items/crafting.h"
#include "state/current_cast.h"

namespace inventorytest {
namespace {

constexpr int kCrafter = 1;
constexpr int kMageArmor = 1, kBurningHands = 4;
constexpr int32_t kExperience = 14000;

class CraftingTest : public InventoryScreenTest {
 protected:
  void SetUp() override {
    InventoryScreenTest::SetUp();
    ForgeKind = 1;
    ForgeMaterial = kForgeBasic;
    ForgeMasterwork = 0;
    ForgeMessage = -1;
    for (int row = 1; row <= 120; ++row) CraftedWeapons[row].name[0] = 0;
    PartyGold = 100000;
    Creatures[kCrafter].experience = kExperience;  // level 5: 4,000 spare, short of level 6
  }
  static void Open(int32_t type, int32_t parameter = kCrafter) {
    ScreenMode = kModePageView;
    SetFirstPage("Inventory", kPageInventory, kCrafter);
    PushPage("Craft", type, parameter);
    harness::StepFrames(1);
  }
  static void ClickAt(int x, int y, int button = 0) {
    harness::MoveMouse(x, y);
    harness::StepFrames(2);
    harness::Click(x, y, button);
    harness::StepFrames(1);
  }
  // The centre of large cell (column, row), and of small cell (column, row).
  static void ClickCell(int column, int row, int button = 0) { ClickAt(8 * column + 4, 8 * row + 4, button); }
  static void ClickSmall(int column, int row, int button = 0) { ClickAt(5 * column + 2, 6 * row + 3, button); }
  static uint32_t Carried(int entry) { return Creatures[kCrafter].carried[entry].code; }
  // A masterwork item of the kind in the crafter's pack, chosen for enchanting.
  static uint32_t ChooseForEnchanting(int kind) {
    const uint32_t code = Forge(60, kind);
    CraftedWeapons[code].masterwork = 1;
    Creatures[kCrafter].carried[0] = {code, 1};
    ChosenItem = static_cast<int32_t>(code);
    return code;
  }
  // The crafter's inventory on top, over the crafting page it was opened from.
  static void ExpectInventoryOver(int32_t type) {
    EXPECT_EQ(TopPageType(), kPageInventory);
    ASSERT_GE(PageDepth, 1);
    EXPECT_EQ(PageHistory[PageDepth - 1].type, type);
  }
  static void FillPack() {
    for (ItemPair& pair : Creatures[kCrafter].carried) pair = {kArrows, 1};
  }
};

TEST(CraftingCosts, ThePriceRulesOfEveryActivity) {
  const struct {
    int32_t price, gold, xp;
  } common[] = {{5, 5, 0}, {20, 22, 0}, {24, 26, 0}, {25, 13, 1}, {315, 172, 13}, {1000, 550, 44}};
  for (const auto& c : common) {
    const CraftCost cost = CraftingCost(c.price);
    EXPECT_EQ(cost.gold, c.gold) << c.price;
    EXPECT_EQ(cost.xp, c.xp) << c.price;
  }
  EXPECT_EQ(EnchantingCost(16000).gold, 8800);
  EXPECT_EQ(EnchantingCost(16000).xp, 704);
  EXPECT_EQ(EnchantingCost(20).gold, 11) << "no full-price case when enchanting";

  SpellRecord saved = SpellTable[175];
  SpellTable[175].goldCost = SpellTable[175].xpCost = 0;
  const struct {
    int32_t level;
    CraftCost wand, scroll;
  } spells[] = {{1, {412, 33}, {14, 1}}, {4, {11550, 924}, {385, 30}}, {9, {0, 0}, {2104, 168}}};
  for (const auto& s : spells) {
    SpellTable[175].level = s.level;
    EXPECT_EQ(WandChargeCost(175).gold, s.wand.gold) << s.level;
    EXPECT_EQ(WandChargeCost(175).xp, s.wand.xp) << s.level;
    EXPECT_EQ(ScrollScribeCost(175).gold, s.scroll.gold) << s.level;
    EXPECT_EQ(ScrollScribeCost(175).xp, s.scroll.xp) << s.level;
  }
  SpellTable[175].level = 1;
  SpellTable[175].goldCost = 10;
  SpellTable[175].xpCost = 2;
  EXPECT_EQ(WandChargeCost(175).gold, 875 + 87) << "a wand pays the spell's own costs fifty times";
  EXPECT_EQ(ScrollScribeCost(175).xp, 3 + 0);
  SpellTable[175] = saved;
}

TEST_F(CraftingTest, SpareExperienceAndPaymentStopAtTheLevelThreshold) {
  CreatureRecord& c = Creatures[kCrafter];
  harness::StepFrames(1);
  c.level = 3;
  c.experience = 3500;
  EXPECT_EQ(SpareXP(kCrafter), 500);
  c.level = 1;
  c.experience = 200;
  EXPECT_EQ(SpareXP(kCrafter), 200);
  PartyGold = 172;
  EXPECT_EQ(CheckCraftCost(kCrafter, {173, 0}), CraftShortfall::kGold);
  EXPECT_EQ(CheckCraftCost(kCrafter, {172, 201}), CraftShortfall::kXP);
  ASSERT_EQ(CheckCraftCost(kCrafter, {172, 200}), CraftShortfall::kNone);
  PayCraftCost(kCrafter, {172, 200});
  EXPECT_EQ(PartyGold, 0u);
  EXPECT_EQ(c.experience, 0);
}

TEST_F(CraftingTest, TheMenuOffersWhatTheFeatsAllow) {
  Open(kPageCraftingMenu);
  ClickCell(10, 10);
  EXPECT_EQ(TopPageType(), kPageCraftingMenu) << "no feat: the entry is inert";
  ClickCell(10, 20);
  EXPECT_EQ(ScreenMode, kModePageView);

  CreatureRecord& c = Creatures[kCrafter];
  for (int feat : {kFeatForgeWeaponAndArmor, kFeatScribeScroll, kFeatForgeRing, kFeatCraftWondrousItem,
                   kFeatCraftWand, kFeatCraftWeaponAndArmor})
    c.feats[feat] = 1;
  ClickCell(10, 10);
  EXPECT_EQ(TopPageType(), kPageForgeWeapon);
  EXPECT_EQ(TopPageParameter(), kCrafter);
  EXPECT_STREQ(TopPageCaption(), "Craft New Weapon");
  ClickCell(11, 28);  // the forge's Cancel
  EXPECT_EQ(TopPageType(), kPageCraftingMenu);

  ClickCell(10, 12, 1);
  EXPECT_EQ(TopPageType(), kPageHelpTopic);
  EXPECT_EQ(TopPageParameter(), 31290);
  --PageDepth;

  FillPack();
  harness::MoveMouse(84, 84);
  harness::StepFrames(2);
  EXPECT_STREQ(HoverCaption, "No more inventory space");
  ClickCell(10, 10, 0);
  ClickCell(10, 10, 1);
  EXPECT_EQ(TopPageType(), kPageCraftingMenu) << "a full pack refuses the new items and their help";

  ChosenItem = 42;  // left over from an enchanting that was given up
  ClickCell(10, 18);
  EXPECT_EQ(TopPageType(), kPageCraftWand) << "the wand needs no room";
  EXPECT_EQ(ChosenItem, -1);
  --PageDepth;
  ClickCell(10, 20);
  EXPECT_EQ(ScreenMode, kModeEnchantPicker);
  EXPECT_EQ(ActingCreature, kCrafter);
}

TEST_F(CraftingTest, ForgePricesByKindMaterialAndMasterwork) {
  auto price = [](uint32_t kind, uint32_t material, uint8_t masterwork) {
    ForgeKind = kind;
    ForgeMaterial = material;
    ForgeMasterwork = masterwork;
    return ForgePrice();
  };
  const int32_t longsword = CraftedWeapons[ForgeKindRecord(19)].price;
  const int32_t dagger = CraftedWeapons[ForgeKindRecord(1)].price;
  EXPECT_EQ(price(19, kForgeBasic, 1), longsword + 300);
  EXPECT_EQ(price(40, kForgeBasic, 1), CraftedWeapons[ForgeKindRecord(40)].price + 150);
  EXPECT_EQ(price(1, kForgeColdIron, 1), 2 * (dagger + 300));
  EXPECT_EQ(price(42, kForgeAdamantine, 1), CraftedWeapons[ForgeKindRecord(42)].price + 15000);
  EXPECT_EQ(price(39, kForgeMithral, 1), CraftedWeapons[ForgeKindRecord(39)].price + 4000);
  EXPECT_EQ(price(29, kForgeSilver, 0), CraftedWeapons[ForgeKindRecord(29)].price + 180);
  EXPECT_EQ(price(kForgeArrows, kForgeBasic, 1), 5);
  EXPECT_EQ(ForgeMasterwork, 0) << "arrows are never masterwork";
  EXPECT_EQ(price(kForgeBolts, kForgeBasic, 0), 20);
  EXPECT_EQ(price(kForgeCompositeLongbow, kForgeBasic, 0), CraftedWeapons[ForgeKindRecord(32)].price + 400);
  EXPECT_EQ(ForgeKind, kForgeCompositeLongbow);
  // Materials the kind does not take fall back to basic.
  price(40, kForgeSilver, 0);
  EXPECT_EQ(ForgeMaterial, kForgeBasic);
  price(34, kForgeMithral, 1);
  EXPECT_EQ(ForgeMaterial, kForgeBasic) << "no mithral bastard sword";
  price(36, kForgeAdamantine, 1);
  EXPECT_EQ(ForgeMaterial, kForgeBasic);
  price(10, kForgeColdIron, 0);
  EXPECT_EQ(ForgeMaterial, kForgeBasic);
}

TEST_F(CraftingTest, TheForgeMakesTheItemItsChoicesDescribe) {
  Open(kPageForgeWeapon);
  // Mithral is offered for a bastard sword, which takes it back to basic
  // material in the next frame and stays masterwork.
  ForgeKind = 34;
  ClickCell(3, 11);
  EXPECT_EQ(ForgeMaterial, kForgeBasic);
  EXPECT_EQ(ForgeMasterwork, 1);
  ForgeMasterwork = 0;
  ForgeKind = 39;
  ClickCell(3, 11);  // Mithral
  EXPECT_EQ(ForgeMaterial, kForgeMithral);
  EXPECT_EQ(ForgeMasterwork, 1);
  const CraftCost cost = CraftingCost(ForgePrice());
  ClickCell(26, 28);  // Craft
  const uint32_t code = Carried(0);
  ASSERT_TRUE(IsCraftedCode(code));
  const CraftedWeaponRecord& r = CraftedWeapons[code];
  const CraftedWeaponRecord& kind = CraftedWeapons[ForgeKindRecord(39)];
  EXPECT_STREQ(r.name, "Breastplate") << "too long a name for its prefixes";
  EXPECT_EQ(r.material, 7);
  EXPECT_EQ(r.hardness, 15);
  EXPECT_EQ(r.masterwork, 1);
  EXPECT_EQ(r.proficiency, kind.proficiency - 1) << "mithral armour is one class lighter";
  EXPECT_EQ(r.dieCount, kind.dieCount + 2);
  EXPECT_EQ(r.critLow, kind.critLow > 4 ? kind.critLow - 4 : 0);
  EXPECT_EQ(r.price, 2 * cost.gold);
  EXPECT_EQ(PartyGold, 100000u - cost.gold);
  EXPECT_EQ(Creatures[kCrafter].experience, kExperience - cost.xp);
  ExpectInventoryOver(kPageForgeWeapon);

  auto forge = [](uint32_t kind, uint32_t material, uint8_t masterwork) {
    ForgeKind = kind;
    ForgeMaterial = material;
    ForgeMasterwork = masterwork;
    return ForgeCurrentItem(kCrafter);
  };
  ASSERT_EQ(forge(4, kForgeBasic, 1), -1);
  EXPECT_STREQ(CraftedWeapons[Carried(1)].name, "Masterwork Club");
  ASSERT_EQ(forge(1, kForgeBasic, 1), -1);
  EXPECT_STREQ(CraftedWeapons[Carried(2)].name, "Dagger");
  ASSERT_EQ(forge(1, kForgeAdamantine, 1), -1);
  EXPECT_STREQ(CraftedWeapons[Carried(3)].name, "Adamant Dagger");
  EXPECT_EQ(CraftedWeapons[Carried(3)].hitPoints, CraftedWeapons[ForgeKindRecord(1)].hitPoints * 4 / 3);
  ASSERT_EQ(forge(kForgeCompositeLongbow, kForgeBasic, 0), -1);
  EXPECT_EQ(CraftedWeapons[Carried(4)].composite, 1);
  EXPECT_EQ(CraftedWeapons[Carried(4)].itemType, 32);
  EXPECT_EQ(ForgeKind, 32u) << "the list then shows the plain bow";
  const uint32_t gold = PartyGold;
  ASSERT_EQ(forge(kForgeArrows, kForgeBasic, 0), -1);
  EXPECT_EQ(Carried(5), kArrows);
  EXPECT_EQ(Creatures[kCrafter].carried[5].count, 100);
  EXPECT_EQ(PartyGold, gold - 5);
}

TEST_F(CraftingTest, TheForgeRefusesBeforePaying) {
  auto refusal = [](uint32_t kind) {
    ForgeKind = kind;
    return ForgeCurrentItem(kCrafter);
  };
  PartyGold = 10;
  EXPECT_EQ(refusal(19), kForgeNoGold);
  PartyGold = 100000;
  Creatures[kCrafter].experience = 10000;  // exactly the level-5 threshold
  EXPECT_EQ(refusal(42), kForgeNoXP);
  EXPECT_EQ(refusal(kForgeBolts), -1) << "bolts cost no experience";
  Creatures[kCrafter].experience = kExperience;
  for (int row = 1; row <= 120; ++row) std::strcpy(CraftedWeapons[row].name, "Taken");
  const uint32_t gold = PartyGold;
  EXPECT_EQ(refusal(19), kForgeNoRecord);
  EXPECT_EQ(PartyGold, gold);
  EXPECT_EQ(Creatures[kCrafter].experience, kExperience);
  FillPack();
  EXPECT_EQ(refusal(kForgeArrows), kForgeNoRoom) << "arrows need a free pair all the same";
  EXPECT_EQ(PartyGold, gold);

  Open(kPageForgeWeapon);
  ForgeKind = 19;
  ClickCell(26, 28);
  harness::StepFrames(1);
  EXPECT_STREQ(HoverCaption, "No room in backpack");
  EXPECT_EQ(TopPageType(), kPageForgeWeapon);
}

TEST_F(CraftingTest, EnchantmentValuesTiersAndRefusals) {
  const uint32_t sword = ChooseForEnchanting(19);
  CraftedWeapons[sword].enhancement = 1;
  EnchantQuote q = QuoteEnchantment(sword, 48);
  EXPECT_EQ(q.newTotal, 3);
  EXPECT_EQ(q.value, 16000);
  EXPECT_EQ(q.cost.gold, 8800);
  EXPECT_EQ(q.cost.xp, 704);
  EXPECT_EQ(EnchantRequiredLevel(48), 9);
  CraftedWeapons[sword].material = 5;
  EXPECT_EQ(QuoteEnchantment(sword, 48).value, 20000) << "cold iron";
  CraftedWeapons[sword].material = 6;

  CraftedWeapons[sword].properties[17 - 1] = 1;
  q = QuoteEnchantment(sword, 12);
  EXPECT_EQ(q.newTotal, q.oldTotal + 1) << "a burst replaces its plain energy";
  WriteEnchantment(sword, 12, q.value);
  EXPECT_EQ(CraftedWeapons[sword].properties[17 - 1], 0);
  EXPECT_EQ(QuoteEnchantment(sword, 17).refusal, EnchantRefusal::kAlreadyHas);
  EXPECT_EQ(QuoteEnchantment(sword, 20).refusal, EnchantRefusal::kNone);
  CraftedWeapons[sword].damageKind = 2;
  EXPECT_EQ(QuoteEnchantment(sword, 20).refusal, EnchantRefusal::kRequirement) << "keen and bludgeoning";
  EXPECT_EQ(QuoteEnchantment(sword, 1).refusal, EnchantRefusal::kRequirement) << "vorpal needs slashing";
  CraftedWeapons[sword].properties[9 - 1] = 1;
  EXPECT_EQ(QuoteEnchantment(sword, 8).refusal, EnchantRefusal::kRequirement) << "holy and unholy";
  CraftedWeapons[sword].enhancement = 5;
  EXPECT_EQ(QuoteEnchantment(sword, 5).refusal, EnchantRefusal::kTooHigh);

  const uint32_t bow = Forge(61, 32);
  CraftedWeapons[bow].enhancement = 1;
  EXPECT_EQ(QuoteEnchantment(bow, 3).refusal, EnchantRefusal::kRequirement) << "brilliant energy is for melee";
  CraftedWeapons[bow].enhancement = 0;
  EXPECT_EQ(QuoteEnchantment(bow, 16).refusal, EnchantRefusal::kFirstEnhancement);

  const uint32_t plate = Forge(62, 39);
  CraftedWeapons[plate].enhancement = 1;
  CraftedWeapons[plate].properties[22 - 1] = 1;
  q = QuoteEnchantment(plate, 23);
  EXPECT_EQ(q.oldTotal, 3);
  EXPECT_EQ(q.newTotal, 4);
  EXPECT_EQ(q.value, 7000);
  WriteEnchantment(plate, 23, q.value);
  EXPECT_EQ(CraftedWeapons[plate].properties[22 - 1], 0);
  EXPECT_EQ(CraftedWeapons[plate].properties[23 - 1], 1);
  EXPECT_EQ(QuoteEnchantment(plate, 22).refusal, EnchantRefusal::kAlreadyHas);
  CraftedWeapons[plate].material = 8;
  EXPECT_EQ(QuoteEnchantment(plate, 40).refusal, EnchantRefusal::kRequirement) << "adamantine";
  const uint32_t shield = Forge(63, 37);
  CraftedWeapons[shield].enhancement = 1;
  EXPECT_EQ(QuoteEnchantment(shield, 42).refusal, EnchantRefusal::kRequirement);
  EXPECT_EQ(EnchantRequiredLevel(42), 5);
}

TEST_F(CraftingTest, EnchantedNamesAndPictures) {
  const uint32_t plate = Forge(62, 39);
  WriteEnchantment(plate, 47, 8000);
  WriteEnchantment(plate, 33, 0);
  EXPECT_STREQ(CraftedWeapons[plate].name, "+2 Fire Plate");
  EXPECT_EQ(CraftedWeapons[plate].icon, CraftedWeapons[ForgeKindRecord(39)].icon + 1);
  const uint32_t dagger = Forge(63, 1);
  const int32_t price = CraftedWeapons[dagger].price;
  WriteEnchantment(dagger, 46, 2000);
  EXPECT_STREQ(CraftedWeapons[dagger].name, "+1 Dagger");
  EXPECT_EQ(CraftedWeapons[dagger].icon, CraftedWeapons[ForgeKindRecord(1)].icon + 6);
  EXPECT_EQ(CraftedWeapons[dagger].price, price + 2000);
}

TEST_F(CraftingTest, EnchantingOnThePageBuysOnceAndAStaleChoiceDoesNothing) {
  const uint32_t sword = ChooseForEnchanting(19);
  Open(kPageEnchantWeaponArmor);
  ClickSmall(34, 31);  // "+1"
  EXPECT_EQ(CraftedWeapons[sword].enhancement, 1);
  EXPECT_EQ(PartyGold, 100000u - 1100);
  EXPECT_EQ(ChosenItem, -1);
  ExpectInventoryOver(kPageEnchantWeaponArmor);

  // Back on the page with nothing chosen (the picker was cancelled).
  const uint32_t gold = PartyGold;
  Open(kPageEnchantWeaponArmor);
  ClickSmall(37, 31);
  ClickSmall(34, 9);
  EXPECT_EQ(CraftedWeapons[sword].enhancement, 1);
  EXPECT_EQ(PartyGold, gold);
  EXPECT_EQ(TopPageType(), kPageEnchantWeaponArmor);

  ChosenItem = static_cast<int32_t>(sword);
  ClickSmall(34, 9, 1);  // right: vorpal's help, nothing bought
  EXPECT_EQ(TopPageType(), kPageHelpTopic);
  EXPECT_EQ(TopPageParameter(), 43018);
  EXPECT_EQ(PartyGold, gold);
}

TEST_F(CraftingTest, WandsAreChargedOnlyWhenEmptyAndHeld) {
  CreatureRecord& c = Creatures[kCrafter];
  c.knownSpells[kMageArmor] = 1;
  const uint32_t wand = Forge(70, 8);
  std::strcpy(CraftedWeapons[wand].name, "Masterwork Wand");
  c.carried[2] = {wand, 1};
  const int32_t price = CraftedWeapons[wand].price;
  const CraftCost cost = WandChargeCost(kMageArmor);
  ChosenItem = static_cast<int32_t>(wand);
  Open(kPageCraftWand);
  ClickAt(8 * 5 + 4, 8 * 4);  // the first place of level 1
  const CraftedWeaponRecord& w = CraftedWeapons[wand];
  EXPECT_EQ(w.charges, 50);
  EXPECT_EQ(w.spell, kMageArmor);
  EXPECT_STREQ(w.name, "MAGE_ARMOR Wand");
  EXPECT_EQ(w.price, price + WandChargePrice(kMageArmor));
  EXPECT_EQ(PartyGold, 100000u - cost.gold);
  ExpectInventoryOver(kPageCraftWand);

  // A charged wand left chosen is not charged again: the page asks the picker.
  ChosenItem = static_cast<int32_t>(wand);
  Open(kPageCraftWand);
  ClickAt(8 * 5 + 4, 8 * 4);
  EXPECT_EQ(ScreenMode, kModeWandPicker);
  EXPECT_EQ(ChosenItem, -1);
  EXPECT_EQ(CurrentSpell, kMageArmor);
  EXPECT_EQ(CraftedWeapons[wand].price, price + WandChargePrice(kMageArmor));
  ScreenMode = kModePageView;

  CraftedWeapons[wand].charges = 0;
  std::strcpy(CraftedWeapons[wand].name, "Thornstaff");
  ChargeWand(static_cast<int>(wand), kCrafter, kBurningHands, {0, 0}, 0);
  EXPECT_STREQ(CraftedWeapons[wand].name, "Thornstaff") << "a name of its own stays";
  CraftedWeapons[wand].charges = 0;
  std::strcpy(CraftedWeapons[wand].name, "wand");
  ChargeWand(static_cast<int>(wand), kCrafter, kBurningHands, {0, 0}, 0);
  EXPECT_STREQ(CraftedWeapons[wand].name, "BURNING_HANDS");
}

TEST_F(CraftingTest, ScrollsOfKnownSpellsWithinTheLevels) {
  CreatureRecord& c = Creatures[kCrafter];
  c.knownSpells[kMageArmor] = 1;
  Open(kPageScribeScroll);
  ClickAt(8 * 5 + 4, 8 * 4);
  EXPECT_EQ(Carried(0), 5003u + kMageArmor);
  EXPECT_EQ(PartyGold, 100000u - ScrollScribeCost(kMageArmor).gold);
  ExpectInventoryOver(kPageScribeScroll);

  // A spell past the scrolls of the base table has no scroll to scribe (its
  // row is a ring's).
  c.knownSpells[176] = 1;
  SpellTable[176].level = 1;
  Open(kPageScribeScroll);
  ClickAt(8 * 7 + 4, 8 * 4);
  EXPECT_EQ(Carried(1), 0u);

  Creatures[kCrafter].experience = 10000;  // nothing spare
  Open(kPageScribeScroll);
  ClickAt(8 * 5 + 4, 8 * 4);
  EXPECT_EQ(Carried(1), 0u) << "unaffordable";
  EXPECT_EQ(CursorShape, 18);
}

TEST_F(CraftingTest, RingsAndWondrousItemsNeedTheirLevel) {
  CreatureRecord& c = Creatures[kCrafter];
  c.effectiveLevel = 2;
  Open(kPageMagicRing);
  ClickSmall(31, 9);  // Minor Fire Ring, level 3
  EXPECT_EQ(Carried(0), 0u);
  EXPECT_EQ(CursorShape, 18);
  ClickSmall(31, 9, 1);
  EXPECT_EQ(TopPageType(), static_cast<int32_t>(kFireRing)) << "its properties even when refused";
  c.effectiveLevel = 3;
  Open(kPageMagicRing);
  const CraftCost cost = CraftingCost(ItemTable[178].price);
  ClickSmall(31, 9);
  EXPECT_EQ(Carried(0), kFireRing);
  EXPECT_EQ(PartyGold, 100000u - cost.gold);
  EXPECT_EQ(c.experience, kExperience - cost.xp);

  c.effectiveLevel = 1;
  Open(kPageWondrousItem);
  ClickSmall(52, 10);  // Bracers of Armor +8, level 15
  EXPECT_EQ(Carried(1), 0u);
  PartyGold = 100000;
  ClickSmall(31, 10);  // +1 needs level 1
  EXPECT_EQ(Carried(1), kArmorBracers);
}

TEST_F(CraftingTest, StoredPicturesOfTheMenuAndTheForge) {
  CreatureRecord& c = Creatures[kCrafter];
  std::strcpy(c.name, "Berit");
  for (int feat : {kFeatForgeWeaponAndArmor, kFeatScribeScroll, kFeatCraftWand, kFeatCraftWeaponAndArmor})
    c.feats[feat] = 1;
  Open(kPageCraftingMenu);
  harness::MoveMouse(84, 84);
  harness::StepFrames(2);
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, "crafting_menu"), 0);
  ForgeKind = 19;
  ForgeMasterwork = 1;
  Open(kPageForgeWeapon);
  harness::MoveMouse(300, 230);
  harness::StepFrames(2);
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, "forge"), 0);
}

}  // namespace
}  // namespace inventorytest
