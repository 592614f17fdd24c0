#include "creatures/creature_treasure.h"

#include <cstring>
#include <set>

#include "creature_fixture.h"
#include "creatures/treasure_rows.h"

namespace {

using TreasureTest = CreatureTest;

TEST_F(TreasureTest, GeneratedRowsAreHandedOutInOrderUntilFull) {
  EXPECT_EQ(FindFreeGeneratedItemRow(), kFirstGeneratedItemRow);
  const int row = MakeGeneratedItem(19);
  ASSERT_EQ(row, kFirstGeneratedItemRow);
  EXPECT_STREQ(CraftedWeapons[row].name, "Longsword");
  EXPECT_EQ(CraftedWeapons[row].owned, 1);
  EXPECT_EQ(CraftedWeapons[4951 + 19].owned, 0);
  EXPECT_EQ(MakeGeneratedItem(0), -1);
  EXPECT_EQ(MakeGeneratedItem(49), -1);

  HoldEveryGeneratedRow();
  EXPECT_EQ(FindFreeGeneratedItemRow(), -1);
  // A full range of held rows makes nothing and overwrites no row.
  EXPECT_EQ(MakeGeneratedItem(19), -1);
  for (int r = kFirstGeneratedItemRow; r <= kLastGeneratedItemRow; ++r) EXPECT_STREQ(CraftedWeapons[r].name, "Used");
  EXPECT_STREQ(CraftedWeapons[4951 + 19].name, "Longsword");
  // Once the item of a row has left its holder, the row comes back.
  Creatures[1000].carried[3] = ItemPair{0, 0};
  EXPECT_EQ(MakeGeneratedItem(19), kFirstGeneratedItemRow + 3);
  EXPECT_STREQ(CraftedWeapons[kFirstGeneratedItemRow + 4].name, "Used");
}

TEST_F(TreasureTest, CoinsGoodsAndGemsStayInTheirRanges) {
  CreatureRecord& c = MakeCreature(10, 57, 16, 1);
  c.generation[kCoinsMultiplierWord] = 3;
  c.generation[kGoodsMultiplierWord] = 3;
  std::set<int> gemRows;
  for (int i = 0; i < 2000; ++i) {
    const int rating = i % 23 - 2;
    const int coins = RollCoins(10, rating);
    EXPECT_GE(coins, 0);
    EXPECT_LE(coins, 3 * 32000);
    if (rating <= 0) {
      EXPECT_LE(coins, 300);
    }
    if (rating == 1) {
      EXPECT_LE(coins, 3 * 160);
    }
    const int goods = RollGoods(10, rating);
    EXPECT_GE(goods, 0);
    EXPECT_LE(goods, 3);
    if (rating == -2) {
      EXPECT_EQ(goods, 0);
    }
    const int value = RollGemsValue(4);
    EXPECT_GE(value, 4 * 5);
    EXPECT_LE(value, 4 * 6000);
    gemRows.insert(PickGemRow());
  }
  EXPECT_EQ(*gemRows.begin(), kFirstGemRow);
  EXPECT_EQ(*gemRows.rbegin(), kLastGemRow);
  EXPECT_EQ(gemRows.size(), 15u);
  EXPECT_EQ(RollGemsValue(0), 0);

  c.generation[kCoinsMultiplierWord] = 0;
  c.generation[kGoodsMultiplierWord] = 0;
  EXPECT_EQ(RollCoins(10, 20), 0);
  EXPECT_EQ(RollGoods(10, 20), 0);
}

// Over many seeds and every rating, all the treasure lands in filled rows,
// gold stays in pair 0, and the wands hold spells they can be made of.
TEST_F(TreasureTest, TreasureByRatingNamesFilledRows) {
  int wands = 0, items = 0;
  for (uint32_t seed = 1; seed <= 400; ++seed) {
    SeedRandomForTests(seed);
    ClearGeneratedRows();
    CreatureRecord& c = MakeCreature(10, 90, 7, 1);
    c.generation[kCoinsMultiplierWord] = 3;
    c.generation[kGoodsMultiplierWord] = 3;
    c.generation[kItemsMultiplierWord] = 4;
    GiveTreasureByRating(10, static_cast<int>(seed % 22) - 1);
    ExpectEveryCodeFilled(c);
    for (int i = 1; i < kCarriedPairs; ++i)
      EXPECT_NE(c.carried[i].code, kFirstBaseItemCode + kGoldCoinsRow) << "seed " << seed;
    for (const ItemPair& pair : c.carried) {
      if (!IsCraftedCode(pair.code)) continue;
      ++items;
      const CraftedWeaponRecord& item = CraftedWeapons[pair.code];
      EXPECT_EQ(item.owned, 1);
      EXPECT_LT(std::strlen(item.name), sizeof item.name);
      EXPECT_GE(item.enhancement, 0);
      EXPECT_LE(item.enhancement, 5);
      if (item.itemType != kWandOption) continue;
      ++wands;
      ASSERT_GE(item.spell, 0);
      ASSERT_LT(item.spell, kSpellRows);
      EXPECT_LE(SpellTable[item.spell].level, 4) << "seed " << seed;
      EXPECT_TRUE(item.spell <= 53 || (item.spell >= 102 && item.spell <= 152)) << "spell " << item.spell;
      EXPECT_GE(item.charges, 1);
      EXPECT_LE(item.charges, 50);
      EXPECT_GT(item.price, CraftedWeapons[4951 + kWandOption].price);
    }
  }
  EXPECT_GT(items, 100);
  EXPECT_GT(wands, 10);
}

TEST_F(TreasureTest, MagicItemGradesFollowTheRating) {
  int minorAtLowRating = 0;
  for (int i = 0; i < 3000; ++i) {
    ClearGeneratedRows();
    MakeCreature(10, 90, 7, 1);
    const int low = GiveCreatureTreasure(10, -1);
    EXPECT_LE(low, kTreasureMinor);
    minorAtLowRating += low;
    EXPECT_EQ(GiveCreatureTreasure(10, -2), kTreasureNothing);
    const int high = GiveCreatureTreasure(10, 20);
    EXPECT_NE(high, kTreasureMinor);
  }
  // One in a hundred at rating -1.
  EXPECT_GT(minorAtLowRating, 5);
  EXPECT_LT(minorAtLowRating, 80);
}

TEST_F(TreasureTest, GemsWithoutAPriceAreGivenOnceAndFullPairsTakeNothing) {
  for (int r = kFirstGemRow; r <= kLastGemRow; ++r) ItemTable[r].price = 0;
  CreatureRecord& c = MakeCreature(10, 90, 7, 1);
  c.generation[kGoodsMultiplierWord] = 4;
  for (int i = 0; i < 200; ++i) {
    std::memset(c.carried, 0, sizeof c.carried);
    GiveTreasureByRating(10, 20);
    for (const ItemPair& pair : c.carried)
      if (pair.code != 0) {
        EXPECT_EQ(pair.count, 1);
      }
  }

  for (ItemPair& pair : c.carried) pair = {kFirstBaseItemCode + kArrowsRow, 1};
  for (int i = 0; i < 200; ++i) GiveCreatureTreasure(10, 20);
  EXPECT_EQ(FindFreeGeneratedItemRow(), kFirstGeneratedItemRow);
}

}  // namespace
