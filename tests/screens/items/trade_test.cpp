// Trading with a script's trader on the inventory screen: buying, selling,
// the prices by the party's Charisma, and a cleric's healing.
#include "screens/items/inventory_fixture.h"

#include <climits>
#include <string>
#include <vector>

#include "map/map_record.h"
#include "rules/conditions.h"
#include "state/party_leader.h"

namespace inventorytest {
namespace {

constexpr int kTrader = 10;
// Spare rows of the base table, made for these tests.
constexpr uint32_t kLamp = 6900, kGem = 6901, kIdol = 6902, kTrinket = 6903;
constexpr int kSellX = 172, kSellY = 180;

class TradeTest : public InventoryScreenTest {
 protected:
  void SetUp() override {
    InventoryScreenTest::SetUp();
    for (int m = 0; m < kPartySize; ++m) SetCharisma(m, 10);
    MakeBaseItem(kLamp, "Lamp", 5, 100);
    MakeBaseItem(kGem, "Gem", 1, 100);
    MakeBaseItem(kIdol, "Idol", 6, 300);
    ItemTable[kIdol - kFirstBaseItemCode].noSale = 3;
    MakeBaseItem(kTrinket, "Trinket", 6, 0);
    CreatureRecord& t = Creatures[kTrader];
    std::memset(&t, 0, sizeof t);
    std::strcpy(t.name, "Pedlar");
    t.creatureClass = kClassKnight;
    TradePartner = kTrader;
  }
  void TearDown() override {
    TradePartner = -1;
    InventoryScreenTest::TearDown();
  }

  static void SetCharisma(int member, int32_t value) {
    Creatures[member].charisma = {value, value};
    RecomputeCreature(member, 0);
  }
  static void MakeBaseItem(uint32_t code, const char* name, int32_t type, int32_t price) {
    ItemRecord& r = ItemTable[code - kFirstBaseItemCode];
    r = ItemTable[kScrollEntangle - kFirstBaseItemCode];
    std::strcpy(r.name, name);
    r.baseType = type;
    r.price = price;
    r.noSale = 0;
  }
  static int StockX(int k) { return 164 + 18 * (k % 8) + 9; }
  static int StockY(int k) { return (k < 8 ? 138 : 156) + 9; }
  static void ClickStock(int k) {
    harness::MoveMouse(StockX(k), StockY(k));
    harness::StepFrames(1);
    harness::Click(StockX(k), StockY(k));
    harness::StepFrames(1);
  }
  static void SellFromPack(int entry) { harness::Drag(PackX(entry), PackY(entry), kSellX, kSellY); }
};

TEST_F(TradeTest, PricesFollowThePartysAverageCharisma) {
  EXPECT_EQ(TradeCharismaAdjustment(), 0);
  EXPECT_EQ(SellingPrice(kLamp, 0), 45);
  EXPECT_EQ(SellingPrice(kGem, 2), 99) << "valuables sell at their full price";
  ItemTable[kLamp - kFirstBaseItemCode].price = 7;
  EXPECT_EQ(SellingPrice(kLamp, -2), 3);
  EXPECT_EQ(SellingPrice(kIdol, 0), 0) << "a quest item is not bought";
  EXPECT_EQ(SellingPrice(kTrinket, 0), 0) << "nor one without a price";

  const BuyingTerms dear = BuyingPrice(kGem, 1, 2);
  EXPECT_TRUE(dear.sold);
  EXPECT_EQ(dear.price, 90);
  ItemTable[kGem - kFirstBaseItemCode].price = 1;
  EXPECT_EQ(BuyingPrice(kGem, 1, 2).price, 1) << "a stock item costs at least 1";
  EXPECT_TRUE(BuyingPrice(kTrinket, 5, 0).sold);
  EXPECT_EQ(BuyingPrice(kTrinket, 5, 0).price, 1) << "even without a price";
  CraftedWeapons[70] = CraftedWeapons[4951 + 19];
  CraftedWeapons[70].price = 100;
  EXPECT_EQ(BuyingPrice(70, 1, 20).price, 0) << "a crafted item has no lowest price";
  EXPECT_FALSE(BuyingPrice(70, 1, 25).sold) << "nor is one offered for less than nothing";

  SetCharisma(0, 15);
  SetCharisma(1, 14);
  SetCharisma(2, 15);
  EXPECT_EQ(TradeCharismaAdjustment(), 1) << "(15 + 14 + 15 + 10) / 4 = 13";
  ASSERT_TRUE(AddCondition(3, kCondUnconscious, 1000, 0, 0, 0));
  EXPECT_EQ(TradeCharismaAdjustment(), 2) << "the unconscious do not bargain";
  for (int m = 0; m < 3; ++m) ASSERT_TRUE(AddCondition(m, kCondDead, 1000, 0, 0, 0));
  EXPECT_EQ(TradeCharismaAdjustment(), 0) << "nobody to bargain: prices as they stand";
}

TEST_F(TradeTest, BuyingAndSellingMoveGoldAndItemsAndNeverMakeThem) {
  CreatureRecord& c = Creatures[0];
  CreatureRecord& t = Creatures[kTrader];
  t.carried[0] = {kLamp, 2};
  t.carried[1] = {kArrows, 999};
  t.carried[2] = {Forge(60, 19), 999};  // a crafted item is one item however many are written
  CraftedWeapons[60].price = 500;
  ASSERT_EQ(ItemTable[kArrows - kFirstBaseItemCode].baseType, 7);
  PartyGold = 1000;
  OpenInventory(0);

  harness::MoveMouse(StockX(0), StockY(0));
  harness::StepFrames(1);
  EXPECT_STREQ(HoverCaption, "Buy Lamp For 100?");
  ClickStock(0);
  EXPECT_EQ(PartyGold, 900u);
  EXPECT_EQ(c.carried[0].code, kLamp);
  EXPECT_EQ(t.carried[0].count, 1);
  ClickStock(1);
  EXPECT_EQ(PartyGold, 899u) << "20 arrows of an endless stock for 1";
  EXPECT_EQ(c.carried[1].code, kArrows);
  EXPECT_EQ(c.carried[1].count, 20);
  EXPECT_EQ(t.carried[1].count, 999);
  ClickStock(2);
  EXPECT_EQ(PartyGold, 399u);
  EXPECT_EQ(c.carried[2].code, 60u);
  EXPECT_EQ(t.carried[2].code, 0u) << "the trader no longer has the item it sold";

  ClickStock(0);  // the last lamp
  EXPECT_EQ(c.carried[0].count, 2);
  EXPECT_EQ(t.carried[0].code, 0u);
  EXPECT_EQ(PartyGold, 299u);

  // Selling: dragged onto the sale panel, or the S key over the stack.
  SellFromPack(2);
  EXPECT_EQ(PartyGold, 524u);
  EXPECT_EQ(c.carried[2].code, 0u);
  EXPECT_EQ(CraftedWeapons[60].name[0], 0) << "the sold crafted item leaves the game";
  EXPECT_EQ(t.carried[2].code, 0u) << "the trader's stock does not grow";
  harness::MoveMouse(PackX(0), PackY(0));
  harness::StepFrames(1);
  harness::PressKey("S");
  harness::StepFrames(1);
  EXPECT_EQ(PartyGold, 614u) << "the whole stack of 2 for 45 each";
  EXPECT_EQ(c.carried[0].code, 0u);
}

TEST_F(TradeTest, RefusedTradesLeaveGoldAndItemsAsTheyWere) {
  CreatureRecord& c = Creatures[0];
  CreatureRecord& t = Creatures[kTrader];
  for (int k = 0; k < kCarriedPairs; ++k) t.carried[k] = {kGem, 5};  // a trader with no room left
  t.carried[15] = {Forge(61, 19), 1};
  c.carried[0] = {kIdol, 1};
  c.carried[1] = {kTrinket, 1};
  c.carried[2] = {kLamp, 1};
  PartyGold = 50;
  OpenInventory(0);

  SellFromPack(0);
  SellFromPack(1);
  EXPECT_EQ(c.carried[0].code, kIdol);
  EXPECT_EQ(c.carried[1].code, kTrinket);
  EXPECT_EQ(PartyGold, 50u);
  SellFromPack(2);
  EXPECT_EQ(PartyGold, 95u) << "a full stall still buys";
  EXPECT_EQ(c.carried[2].code, 0u);

  ClickStock(0);
  EXPECT_EQ(InventoryMessage.code, 31) << "Not Enough Gold";
  EXPECT_EQ(PartyGold, 95u);
  EXPECT_EQ(t.carried[0].count, 5);

  PartyGold = 5000;
  for (int k = 2; k < kCarriedPairs; ++k) c.carried[k] = {kLamp, 1};
  ClickStock(15);
  EXPECT_EQ(InventoryMessage.code, 2) << "Backpack Is Full";
  EXPECT_EQ(t.carried[15].code, 61u);
  ClickStock(0);
  EXPECT_EQ(InventoryMessage.code, 2);
  c.carried[3] = {kGem, 1};  // a stack of the same joins even a full backpack
  ClickStock(0);
  EXPECT_EQ(c.carried[3].count, 2);
  EXPECT_EQ(PartyGold, 4900u);

  // The purse never runs over: a sale past it is refused.
  PartyGold = INT32_MAX - 10;
  SellFromPack(2);
  EXPECT_EQ(c.carried[2].code, kLamp);
  EXPECT_EQ(PartyGold, static_cast<uint32_t>(INT32_MAX - 10));
}

TEST_F(TradeTest, AClericHealsTheWoundedAndRaisesTheDeadForGold) {
  Creatures[kTrader].creatureClass = kClassCleric;
  PartyLeader = 0;
  Creatures[0].map = CurrentMapNumber;
  Creatures[0].squareX = 12;
  Creatures[0].squareY = 17;
  CreatureRecord& dead = Creatures[1];
  ASSERT_TRUE(AddCondition(1, kCondDead, 1000, 0, 0, 0));
  dead.hitPoints = -12;
  dead.experience = 14000;
  CreatureRecord& hurt = Creatures[2];
  hurt.hitPoints = 10;
  PartyGold = 3000;
  OpenInventory(0);

  const int iconX = 28 * 8 + 3;
  harness::MoveMouse(iconX, 6 * 8 + 3);
  harness::StepFrames(1);
  EXPECT_STREQ(HoverCaption, "Heal Berit for 2625?");
  harness::Click(iconX, 6 * 8 + 3);
  harness::StepFrames(1);
  EXPECT_EQ(PartyGold, 375u);
  EXPECT_EQ(FindCondition(1, kCondDead), -1);
  EXPECT_EQ(dead.hitPoints, dead.maxHitPoints);
  EXPECT_EQ(dead.experience, 10000);
  EXPECT_EQ(dead.squareX, 12);
  EXPECT_EQ(dead.squareY, 17);
  EXPECT_EQ(InventoryMessage.code, 72);

  PartyGold = 274;
  harness::Click(iconX, 7 * 8 + 3);
  harness::StepFrames(1);
  EXPECT_EQ(hurt.hitPoints, 10) << "one gold short of 275";
  EXPECT_EQ(InventoryMessage.code, 31);
  EXPECT_EQ(PartyGold, 274u);
}

// "Push S to Sell" stands under the caption of the item under the pointer,
// also when a long name moves the caption lower.
TEST_F(TradeTest, TheSaleHintStandsUnderTheCaption) {
  std::strcpy(ItemTable[kLamp - kFirstBaseItemCode].name, "Lamp of the Long Forgotten Northern Kings");
  Creatures[0].carried[0] = {kLamp, 1};
  OpenInventory(0);
  for (const char* name : {"Lamp", "Lamp of the Long Forgotten Northern Kings"}) {
    std::strcpy(ItemTable[kLamp - kFirstBaseItemCode].name, name);
    harness::MoveMouse(PackX(0), PackY(0));
    std::vector<TextRun> runs;
    RecordTextRuns(&runs);
    harness::StepFrames(1);
    RecordTextRuns(nullptr);
    int caption = -1, hint = -1;
    for (const TextRun& r : runs) {
      std::string letters;
      for (const TextCell& c : r.cells) letters.push_back(static_cast<char>(c.c));
      if (letters == "PushStoSell") hint = r.cells[0].y;
      else if (r.backed) caption = r.cells[0].y;
    }
    ASSERT_NE(caption, -1) << name;
    EXPECT_EQ(hint, caption + 8) << name;
  }
}

TEST_F(TradeTest, TradeScreenPicture) {
  CreatureRecord& t = Creatures[kTrader];
  t.creatureClass = kClassCleric;
  t.carried[0] = {kArrows, 999};
  t.carried[1] = {kBolts, 999};
  t.carried[2] = {kScrollEntangle, 4};
  t.carried[3] = {kFireRing, 1};
  t.carried[4] = {Forge(62, 19), 1};
  t.carried[5] = {Forge(63, 39), 1};
  t.carried[8] = {kBoots, 1};
  CreatureRecord& c = Creatures[0];
  c.equipment[kSlotRightHand - 1] = Forge(1, 19);
  c.carried[0] = {kLamp, 2};
  c.carried[1] = {kScrollEntangle, 1};
  Creatures[2].hitPoints = 12;
  PartyGold = 1234;
  OpenInventory(0);
  harness::MoveMouse(PackX(0), PackY(0));
  harness::StepFrames(2);
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, "trade_screen"), 0);
}

}  // namespace
}  // namespace inventorytest
