// Which box takes which item, and what a drop moves: the held stack set as a
// pick-up leaves it, then dropped on a box, a backpack entry or a member.
#include "screens/items/inventory_fixture.h"

#include "rules/conditions.h"

namespace inventorytest {
namespace {

constexpr uint32_t kLantern = 5520;
constexpr uint32_t kSpellSource = 18;

class EquipRules : public InventoryScreenTest {
 protected:
  void SetUp() override {
    InventoryScreenTest::SetUp();
    Clear();
  }
  static void Clear() {
    InventoryMessage = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    ClickResult = {-1, 0, 0, 0, 0};
  }
  // Holds the item of a place of member 0, as a pick-up would.
  static void Hold(int slot) {
    Clear();
    HeldItemCode = static_cast<int32_t>(PlaceCode(0, slot));
    HeldItemOrigin = slot;
    HeldItemCount = PickedUpCount(0, slot);
  }
  // The message the drop left (the box's message or its click result).
  static int32_t Shown() { return InventoryMessage.code != -1 ? InventoryMessage.code : ClickResult.code; }
  static CreatureRecord& C() { return Creatures[0]; }
  static uint32_t At(int slot) { return PlaceCode(0, slot); }
  static void FillBackpack(int freeEntries) {
    for (int k = 0; k < kCarriedPairs - freeEntries; ++k) C().carried[k] = {kBolts + 0u, 1};
    for (int k = kCarriedPairs - freeEntries; k < kCarriedPairs; ++k) C().carried[k] = {0, 0};
  }
};

TEST_F(EquipRules, WrongPlacesAndReleasesOverTheOriginMoveNothing) {
  C().equipment[kSlotHead - 1] = kWisdomHelm;
  C().equipment[kSlotFeet - 1] = kBoots;
  Hold(kSlotHead);
  EXPECT_FALSE(DropOnEquipBox(0, kSlotFeet));
  EXPECT_EQ(Shown(), 1);
  EXPECT_EQ(At(kSlotHead), kWisdomHelm);
  EXPECT_EQ(At(kSlotFeet), kBoots);
  EXPECT_EQ(HeldItemCode, -1);
  Hold(kSlotHead);
  EXPECT_FALSE(DropOnEquipBox(0, kSlotHead));
  EXPECT_EQ(Shown(), -1);
  // A stock item never goes into a hand for weapons, a sword never on the head.
  C().carried[0] = {Forge(1, 19), 1};
  Hold(kSlotFirstCarried);
  EXPECT_FALSE(DropOnEquipBox(0, kSlotHead));
  EXPECT_EQ(Shown(), 1);
  EXPECT_EQ(C().carried[0].code, 1u);
}

TEST_F(EquipRules, AmmunitionStacksAndMustSuitTheLauncher) {
  C().ammunition = {kArrows, 15};
  C().carried[3] = {kArrows, 20};
  Hold(kSlotFirstCarried + 3);
  EXPECT_TRUE(DropOnEquipBox(0, kSlotAmmunition));
  EXPECT_EQ(C().ammunition.count, 35);
  EXPECT_EQ(C().carried[3].code, 0u);
  C().equipment[kSlotRanged - 1] = Forge(4, 32);  // longbow
  C().carried[3] = {kBolts, 20};
  Hold(kSlotFirstCarried + 3);
  EXPECT_FALSE(DropOnEquipBox(0, kSlotAmmunition));
  EXPECT_EQ(Shown(), 46);
  EXPECT_EQ(C().carried[3].count, 20);
  // A crossbow is refused while arrows are loaded.
  C().carried[4] = {Forge(5, 11), 1};
  Hold(kSlotFirstCarried + 4);
  EXPECT_FALSE(DropOnEquipBox(0, kSlotRanged));
  EXPECT_EQ(Shown(), 46);
}

TEST_F(EquipRules, StacksMustBeSplitBeforeASingleItemBox) {
  C().carried[0] = {kFireRing, 2};
  Hold(kSlotFirstCarried);
  EXPECT_FALSE(DropOnEquipBox(0, kSlotRightFinger));
  EXPECT_EQ(Shown(), 71);
  EXPECT_EQ(C().carried[0].count, 2);
  // Two lanterns are not one lantern in the hand and one lost.
  C().carried[1] = {kLantern, 2};
  Hold(kSlotFirstCarried + 1);
  EXPECT_FALSE(DropOnEquipBox(0, kSlotLeftHand));
  EXPECT_EQ(Shown(), 71);
  EXPECT_EQ(C().carried[1].count, 2);
  EXPECT_EQ(At(kSlotLeftHand), 0u);
  C().carried[1].count = 1;
  Hold(kSlotFirstCarried + 1);
  EXPECT_TRUE(DropOnEquipBox(0, kSlotLeftHand));
  EXPECT_EQ(At(kSlotLeftHand), kLantern);
}

TEST_F(EquipRules, FilledBoxesExchangeThroughTheBackpack) {
  C().equipment[kSlotRightHand - 1] = Forge(1, 19);  // longsword
  FillBackpack(0);
  C().carried[15] = {Forge(2, 16), 1};  // short sword
  Hold(kSlotLastCarried);
  EXPECT_TRUE(DropOnEquipBox(0, kSlotRightHand));
  EXPECT_EQ(At(kSlotRightHand), 2u);
  EXPECT_EQ(C().carried[15].code, 1u);  // the freed entry took the old weapon
  // From an equipment box a full backpack cannot take the displaced item.
  C().equipment[kSlotLeftFinger - 1] = kColdRing;
  C().equipment[kSlotRightFinger - 1] = kFireRing;
  Hold(kSlotLeftFinger);
  EXPECT_FALSE(DropOnEquipBox(0, kSlotRightFinger));
  EXPECT_EQ(Shown(), 2);
  EXPECT_EQ(At(kSlotLeftFinger), kColdRing);
  EXPECT_EQ(At(kSlotRightFinger), kFireRing);
}

TEST_F(EquipRules, TwoHandedWeaponsNeedBothHandsEmptied) {
  C().equipment[kSlotRightHand - 1] = Forge(1, 19);  // longsword
  C().equipment[kSlotLeftHand - 1] = Forge(2, 37);   // heavy shield
  // Entry 15 holds a greatsword, entry 14 is the only free one.
  FillBackpack(2);
  C().carried[15] = {Forge(3, 29), 1};
  Hold(kSlotLastCarried);
  EXPECT_FALSE(DropOnEquipBox(0, kSlotRightHand));
  EXPECT_EQ(Shown(), 10);
  C().carried[12] = {0, 0};
  Hold(kSlotLastCarried);
  EXPECT_TRUE(DropOnEquipBox(0, kSlotRightHand));
  EXPECT_EQ(At(kSlotRightHand), 3u);
  EXPECT_EQ(At(kSlotLeftHand), 0u);
  EXPECT_EQ(C().carried[12].code, 2u);  // the shield to the first free entry
  EXPECT_EQ(C().carried[14].code, 1u);  // the old sword to the first free after it
  EXPECT_EQ(C().carried[15].code, 0u);
  // With the right hand empty one free entry is enough.
  C().equipment[kSlotRightHand - 1] = 0;
  C().equipment[kSlotLeftHand - 1] = 2;
  C().carried[12] = {kBolts, 1};
  C().carried[14] = {0, 0};
  C().carried[15] = {3, 1};
  Hold(kSlotLastCarried);
  EXPECT_TRUE(DropOnEquipBox(0, kSlotRightHand));
  EXPECT_EQ(At(kSlotRightHand), 3u);
  EXPECT_EQ(C().carried[14].code, 2u);
}

TEST_F(EquipRules, MagicThatIsAlreadyThereIsRefused) {
  AddCondition(0, kCondEnhancedIntelligence, 10, 4, kSpellSource, 0);
  C().carried[0] = {kIntellectHeadband, 1};
  Hold(kSlotFirstCarried);
  EXPECT_FALSE(DropOnEquipBox(0, kSlotHead));
  EXPECT_EQ(Shown(), 4);
  // A helm of wisdom does not clash with a spell of intelligence.
  C().carried[1] = {kWisdomHelm, 1};
  Hold(kSlotFirstCarried + 1);
  EXPECT_TRUE(DropOnEquipBox(0, kSlotHead));
  // The headband that gives the condition itself is exchanged.
  RemoveCondition(0, kCondEnhancedIntelligence);
  C().equipment[kSlotHead - 1] = 0;
  EquipItemInSlot(0, kSlotHead, kIntellectHeadband, 1);
  ASSERT_GE(FindCondition(0, kCondEnhancedIntelligence), 0);
  C().carried[0] = {kIntellectHeadband + 1, 1};
  Hold(kSlotFirstCarried);
  EXPECT_TRUE(DropOnEquipBox(0, kSlotHead));
  EXPECT_EQ(At(kSlotHead), kIntellectHeadband + 1);
  // A creature with all fifty entries in use wears no more magic.
  for (int i = 0; i < kConditionSlots; ++i) C().conditions[i] = {kCondInsightful, 100, kSpellSource, 0, 1};
  C().carried[2] = {kStrengthBelt, 1};
  Hold(kSlotFirstCarried + 2);
  EXPECT_FALSE(DropOnEquipBox(0, kSlotWaist));
  EXPECT_EQ(Shown(), 3);
}

TEST_F(EquipRules, ItemsPassToOtherMembers) {
  C().carried[0] = {kArrows, 10};
  Creatures[1].carried[4] = {kArrows, 5};
  Hold(kSlotFirstCarried);
  EXPECT_TRUE(PassHeldItem(0, 1, 6, 5));
  EXPECT_EQ(Creatures[1].carried[4].count, 15);
  EXPECT_EQ(C().carried[0].code, 0u);
  C().equipment[kSlotRightHand - 1] = Forge(1, 19);
  Hold(kSlotRightHand);
  EXPECT_TRUE(PassHeldItem(0, 2, 7, 6));
  EXPECT_EQ(Creatures[2].carried[0].code, 1u);
  EXPECT_EQ(At(kSlotRightHand), 0u);
  EXPECT_STREQ(CraftedWeapons[1].name, "Longsword");
  // Refusals: a full backpack, oneself, a polymorphed member.
  for (ItemPair& p : Creatures[3].carried) p = {kBolts, 1};
  C().carried[1] = {kFireRing, 1};
  Hold(kSlotFirstCarried + 1);
  EXPECT_FALSE(PassHeldItem(0, 3, 8, 5));
  EXPECT_EQ(Shown(), 2);
  EXPECT_EQ(InventoryMessage.textRow, 8);
  Hold(kSlotFirstCarried + 1);
  EXPECT_FALSE(PassHeldItem(0, 0, 5, 6));
  EXPECT_EQ(Shown(), 11);
  AddCondition(2, kCondPolymorphed, 10, 0, kSpellSource, 0);
  Hold(kSlotFirstCarried + 1);
  EXPECT_FALSE(PassHeldItem(0, 2, 7, 6));
  EXPECT_EQ(Shown(), 22);
  EXPECT_EQ(C().carried[1].code, kFireRing);
}

TEST_F(EquipRules, BackpackTakesAnythingAndStacksEqualCodes) {
  C().equipment[kSlotRightHand - 1] = Forge(1, 19);
  C().equipment[kSlotLeftHand - 1] = Forge(2, 1);  // a dagger in the other hand
  Hold(kSlotRightHand);
  EXPECT_TRUE(DropOnBackpack(0, 5));
  EXPECT_EQ(C().carried[5].code, 1u);
  EXPECT_EQ(At(kSlotRightHand), 2u);  // the other hand's weapon took the right hand
  EXPECT_EQ(At(kSlotLeftHand), 0u);
  C().carried[0] = {kBolts, 4};
  C().carried[1] = {kBolts, 6};
  Hold(kSlotFirstCarried);
  EXPECT_TRUE(DropOnBackpack(0, 1));
  EXPECT_EQ(C().carried[1].count, 10);
  EXPECT_EQ(C().carried[0].code, 0u);
  // Onto another item: that item moves to the first free entry.
  C().carried[2] = {kFireRing, 1};
  Hold(kSlotFirstCarried + 1);
  EXPECT_TRUE(DropOnBackpack(0, 2));
  EXPECT_EQ(C().carried[2].code, kBolts);
  EXPECT_EQ(C().carried[0].code, kFireRing);
}

}  // namespace
}  // namespace inventorytest
