#include "rules/item_rules.h"

#include <vector>

#include "rules_fixture.h"

// Pairs compare and print by code and count.
bool operator==(const ItemPair& a, const ItemPair& b) { return a.code == b.code && a.count == b.count; }
void PrintTo(const ItemPair& p, std::ostream* os) { *os << p.code << " x " << p.count; }

namespace {

class ItemRulesTest : public RulesTest {
 protected:
  void SetUp() override {
    RulesTest::SetUp();
    ItemTable[490].baseType = 7;   // arrows: stackable
    ItemTable[491].baseType = 20;  // an amulet: not stackable
    ItemTable[492].baseType = 7;
  }
  static void SetPairs(int creature, std::vector<ItemPair> pairs) {
    for (int k = 0; k < kCarriedPairs; ++k)
      Creatures[creature].carried[k] = k < static_cast<int>(pairs.size()) ? pairs[k] : ItemPair{0, 0};
  }
  static std::vector<ItemPair> Pairs(int creature, int count) {
    return {Creatures[creature].carried, Creatures[creature].carried + count};
  }
};

TEST_F(ItemRulesTest, PileCodes) {
  struct Case {
    int32_t count;
    uint32_t code;
    int32_t pile;
  };
  const Case cases[] = {
      {12, 5490, 240012}, {3, 5501, -1},       {1, 5486, 200001}, {7, 5500, 340007},  {5, 5502, 380005},
      {2, 5516, 520002},  {1, 5232, 530001},   {4, 5240, 610004}, {2, 5473, 620002},  {2, 5481, 700002},
      {9999, 5486, 209999}, {10000, 5486, 209999}, {-5, 5486, 200000}, {1, 5231, -1}, {1, 0, -1},
  };
  for (const Case& k : cases) EXPECT_EQ(StackedItemMapCode(k.count, k.code), k.pile) << k.count << " of " << k.code;
}

TEST_F(ItemRulesTest, RearrangePrefersAMatchingPair) {
  MakeCreature(1);
  SetPairs(1, {{5490, 3}, {0, 0}, {5490, 2}});
  EXPECT_TRUE(RearrangeCarriedItems(1));
  EXPECT_EQ(Pairs(1, 3), (std::vector<ItemPair>{{5490, 5}, {0, 0}, {0, 0}}));
}

TEST_F(ItemRulesTest, RearrangePacksTowardsTheFront) {
  struct Case {
    std::vector<ItemPair> before;
    std::vector<ItemPair> after;
  };
  const Case cases[] = {
      // A single item moves into the first empty pair before it.
      {{{5490, 1}, {7, 1}, {0, 0}, {0, 0}, {0, 0}, {5491, 1}}, {{5490, 1}, {7, 1}, {5491, 1}, {0, 0}, {0, 0}, {0, 0}}},
      // Amulets do not stack; crafted items neither.
      {{{5491, 1}, {5491, 1}, {7, 1}, {7, 1}}, {{5491, 1}, {5491, 1}, {7, 1}, {7, 1}}},
      // Different arrows keep their own pairs.
      {{{0, 0}, {5490, 2}, {5492, 3}, {5490, 4}}, {{5490, 6}, {5492, 3}, {0, 0}, {0, 0}}},
  };
  for (const Case& k : cases) {
    MakeCreature(1);
    SetPairs(1, k.before);
    RearrangeCarriedItems(1);
    EXPECT_EQ(Pairs(1, static_cast<int>(k.after.size())), k.after);
  }
}

TEST_F(ItemRulesTest, CursorStackMergesWithItsPair) {
  MakeCreature(1);
  SetPairs(1, {{5490, 1}, {5492, 2}, {5490, 4}});
  CursorStack = {5490, 3, -1};
  EXPECT_TRUE(MergeCursorStack(1));
  EXPECT_EQ(Pairs(1, 3), (std::vector<ItemPair>{{5490, 1}, {5492, 2}, {5490, 7}}));
  CursorStack = {5491, 1, -1};
  SetPairs(1, {{0, 0}, {5491, 1}});
  EXPECT_FALSE(MergeCursorStack(1));
  CursorStack = {5492, 1, -1};
  SetPairs(1, {{5492, 1}});
  EXPECT_FALSE(MergeCursorStack(1));  // pair 0 is not looked at
  CursorStack = {7, 1, -1};
  EXPECT_FALSE(MergeCursorStack(1));
}

TEST_F(ItemRulesTest, EnhancementTotals) {
  struct Case {
    int enhancement;
    std::vector<int> properties;  // as the item pages number them, from 1
    int total;
  };
  const Case cases[] = {
      {2, {12, 17}, 4}, {2, {17}, 3},  {0, {22, 23, 24}, 2}, {0, {24}, 4},     {0, {37, 39, 40}, 4},
      {0, {45}, 5},     {0, {1, 4, 8}, 9}, {1, {15, 16, 20, 21}, 6}, {3, {}, 3}, {0, {13, 14, 18, 19}, 4},
  };
  for (const Case& k : cases) {
    CraftedWeaponRecord& w = MakeCrafted(40, 19, 3, 2);
    w.enhancement = k.enhancement;
    for (int p : k.properties) w.properties[p - 1] = 1;
    EXPECT_EQ(ItemEnhancementTotal(40), k.total);
  }
  EXPECT_EQ(ItemEnhancementTotal(5040), 0);
}

TEST_F(ItemRulesTest, HeldByParty) {
  MakeCreature(2, 5, 1);
  MakeCreature(7, 5, 2).equipment[kSlotRightHand - 1] = 11;
  Creatures[2].equipment[kSlotRanged - 1] = 12;
  Creatures[2].equipment[kSlotHead - 1] = 13;
  Creatures[2].carried[15] = {14, 1};
  EXPECT_TRUE(IsItemHeldByParty(12));
  EXPECT_TRUE(IsItemHeldByParty(14));
  EXPECT_FALSE(IsItemHeldByParty(13));  // the head place is not looked at
  EXPECT_FALSE(IsItemHeldByParty(11));  // not a party member
  EXPECT_FALSE(IsItemHeldByParty(0));
}

TEST_F(ItemRulesTest, RenumberHeldCodes) {
  CreatureRecord& c = MakeCreature(1);
  SetPairs(1, {{5242, 1}, {5481, 1}, {5482, 1}, {5502, 3}, {5516, 1}, {5241, 1}, {9, 1}});
  c.equipment[0] = 5300;
  c.equipment[1] = 5510;
  c.ammunition = {5250, 20};
  EXPECT_TRUE(RenumberHeldItemCodes(1));
  EXPECT_EQ(Pairs(1, 7), (std::vector<ItemPair>{{5001, 1}, {5240, 1}, {5482, 1}, {5486, 3}, {5500, 1}, {5241, 1},
                                                {9, 1}}));
  EXPECT_EQ(c.equipment[0], 5059u);
  EXPECT_EQ(c.equipment[1], 5510u);
  EXPECT_EQ(c.ammunition.code, 5009u);
}

TEST_F(ItemRulesTest, LevelScaledAmount) {
  CreatureRecord& c = MakeCreature(1, 6);
  c.effectiveLevel = 4;
  ItemTable[491].bonus = 5;
  EXPECT_EQ(LevelScaledItemAmount(1, 491), 8);
  EXPECT_EQ(LevelScaledItemAmount(1, 490), 0);
  EXPECT_EQ(LevelScaledItemAmount(1, kItemRows), 0);
}

TEST_F(ItemRulesTest, SmallResets) {
  for (int slot : {20, 21, 36, 37}) {
    CursorStack.selectedSlot = slot;
    EXPECT_EQ(IsBackpackSlotSelected(), slot >= 21 && slot <= 36);
  }
  RecentSpells[2][3] = {17, 2};
  EXPECT_TRUE(ResetPartyBlocks());
  for (auto& member : RecentSpells)
    for (const RecentSpellPair& p : member) EXPECT_TRUE(p.spell == -1 && p.metamagic == -1);
  PageWork.scroll = 4;
  PageWork.text[499] = 'x';
  PageWork.title[0] = 'y';
  PageWork.lines[10] = 'z';
  EXPECT_TRUE(ClearTransientBuffers());
  EXPECT_EQ(PageWork.scroll, 0);
  EXPECT_EQ(PageWork.text[499] + PageWork.title[0] + PageWork.lines[10], 0);
}

TEST_F(ItemRulesTest, MapClearedWhenOnlyThePartyIsLeft) {
  struct Case {
    int kind;
    int cleared;
    int enemies;  // fighters of allegiance 2
    int result;
  };
  for (const Case& k : {Case{2, 0, 0, 1}, Case{2, 0, 1, 0}, Case{2, 1, 0, 0}, Case{1, 0, 0, 0}}) {
    SetUp();
    CurrentMapNumber = 4;
    CurrentMap.mapKind = k.kind;
    CurrentMap.cleared = k.cleared;
    StoredMaps[4].cleared = 0;
    MakeCreature(0, 5, 1);
    MakeCreature(20, 5, 2);
    FighterSlots[0].creature = 0;
    FighterSlots[1].creature = 20;
    FighterCount = 1 + k.enemies;
    EXPECT_EQ(CheckMapCleared(), k.result);
    EXPECT_EQ(CurrentMap.cleared, k.result == 1 ? 1 : k.cleared);
    EXPECT_EQ(StoredMaps[4].cleared, k.result);
  }
  SetUp();
  CurrentMap.mapKind = 2;
  FighterCount = 0;
  EXPECT_EQ(CheckMapCleared(), 1);
}

}  // namespace
