// The item places of a creature and the four primitive operations on them.
#include "rules/rules_fixture.h"

#include "rules/inventory_slots.h"

namespace {

class InventorySlots : public RulesTest {};

TEST_F(InventorySlots, EquipStoresAndRecomputesOnlyInNamedPlaces) {
  CreatureRecord& c = MakeCreature(2);
  CreatureRecord before = c;
  EXPECT_EQ(EquipItemInSlot(2, 14, 5100, 1), 0);
  EXPECT_EQ(EquipItemInSlot(2, 37, 5100, 1), 0);
  EXPECT_EQ(EquipItemInSlot(2, 0, 5100, 1), 0);
  EXPECT_EQ(std::memcmp(&before, &c, sizeof c), 0);
  // A worn helmet of intelligence gives its condition at once.
  const uint32_t headband = MakeBase(40, 31, 4);
  ItemTable[40].place = kSlotHead;
  EXPECT_EQ(EquipItemInSlot(2, kSlotHead, headband, 9), 1);
  EXPECT_EQ(c.equipment[kSlotHead - 1], headband);
  EXPECT_EQ(c.intelligence.current, 14);
  EXPECT_EQ(UnequipSlot(2, kSlotHead, -1, 0), 1);
  EXPECT_EQ(c.equipment[kSlotHead - 1], 0u);
  EXPECT_EQ(c.intelligence.current, 10);
  EXPECT_EQ(EquipItemInSlot(2, kSlotAmmunition, 5007, 20), 1);
  EXPECT_EQ(c.ammunition.count, 20);
  EXPECT_EQ(EquipItemInSlot(2, kSlotLastCarried, 5008, 3), 1);
  EXPECT_EQ(c.carried[15].code, 5008u);
}

TEST_F(InventorySlots, TakingFromStacksAndTheDestroyRule) {
  CreatureRecord& c = MakeCreature(2);
  auto fill = [&](uint32_t code, int32_t count) { c.carried[4] = {code, count}; };
  fill(5050, 10);
  EXPECT_EQ(UnequipSlot(2, 25, 3, 0), 1);
  EXPECT_EQ(c.carried[4].code, 5050u);
  EXPECT_EQ(c.carried[4].count, 7);
  for (int32_t taken : {10, 12, -1}) {
    fill(5050, 10);
    UnequipSlot(2, 25, taken, 0);
    EXPECT_EQ(c.carried[4].code, 0u) << taken;
    EXPECT_EQ(c.carried[4].count, 0) << taken;
  }
  // A crafted row of the pool is freed when the item is destroyed; one
  // beyond the pool, or one moved (destroy 0), keeps its record.
  MakeCrafted(57, 3, 2, 2);
  MakeCrafted(300, 3, 2, 2);
  fill(57, 1);
  UnequipSlot(2, 25, -1, 0);
  EXPECT_STREQ(CraftedWeapons[57].name, "Item");
  fill(57, 1);
  UnequipSlot(2, 25, -1, 1);
  EXPECT_EQ(CraftedWeapons[57].name[0], 0);
  EXPECT_EQ(CraftedWeapons[57].itemType, 0);
  fill(300, 1);
  UnequipSlot(2, 25, -1, 1);
  EXPECT_STREQ(CraftedWeapons[300].name, "Item");
  // The ammunition place never destroys.
  c.ammunition = {5007, 20};
  UnequipSlot(2, kSlotAmmunition, 5, 1);
  EXPECT_EQ(c.ammunition.count, 15);
  c.ammunition = {57, 20};
  MakeCrafted(57, 3, 2, 2);
  UnequipSlot(2, kSlotAmmunition, 20, 1);
  EXPECT_EQ(c.ammunition.code, 0u);
  EXPECT_STREQ(CraftedWeapons[57].name, "Item");
  // A negative count other than -1 takes nothing and makes nothing.
  fill(5050, 10);
  EXPECT_EQ(UnequipSlot(2, 25, -5, 0), 0);
  EXPECT_EQ(c.carried[4].count, 10);
  c.ammunition = {5007, 20};
  EXPECT_EQ(UnequipSlot(2, kSlotAmmunition, -3, 0), 0);
  EXPECT_EQ(c.ammunition.count, 20);
  EXPECT_EQ(UnequipSlot(2, 20, -1, 0), 0);
}

TEST_F(InventorySlots, OnlyTorsoHandsAndRangedDestroyWhatTheyHeld) {
  CreatureRecord& c = MakeCreature(2);
  for (int slot = kSlotHead; slot <= kSlotRanged; ++slot) {
    MakeCrafted(57, 3, 2, 2);
    c.equipment[slot - 1] = 57;
    EXPECT_EQ(UnequipSlot(2, slot, -1, 1), 1);
    EXPECT_EQ(c.equipment[slot - 1], 0u);
    const bool destroys = slot == kSlotTorso || slot == kSlotRightHand || slot == kSlotLeftHand || slot == kSlotRanged;
    EXPECT_EQ(CraftedWeapons[57].name[0] == 0, destroys) << slot;
  }
}

TEST_F(InventorySlots, FreePairsCountedAndFound) {
  CreatureRecord& c = MakeCreature(2);
  EXPECT_EQ(CountFreeItemPairs(2), 16u);
  EXPECT_EQ(FindFreeItemPair(2), 0);
  c.carried[0] = {5001, 1};
  c.carried[1] = {5002, 1};
  EXPECT_EQ(FindFreeItemPair(2), 2);
  // A code of 0 with a count left over is found but not counted.
  c.carried[2] = {0, 4};
  EXPECT_EQ(FindFreeItemPair(2), 2);
  EXPECT_EQ(CountFreeItemPairs(2), 13u);
  for (ItemPair& p : c.carried) p = {5003, 1};
  EXPECT_EQ(FindFreeItemPair(2), -1);
  EXPECT_EQ(CountFreeItemPairs(2), 0u);
}

}  // namespace
