// The inventory screen as a player sees and uses it.
#include "screens/items/inventory_fixture.h"

namespace inventorytest {
namespace {

TEST_F(InventoryScreenTest, DressedCharacterPicture) {
  CreatureRecord& c = Creatures[0];
  c.equipment[kSlotRightHand - 1] = Forge(1, 19);  // longsword
  c.equipment[kSlotLeftHand - 1] = Forge(2, 37);   // heavy shield
  c.equipment[kSlotTorso - 1] = Forge(3, 39);      // breastplate
  c.equipment[kSlotRanged - 1] = Forge(4, 32);     // longbow
  c.ammunition = {kArrows, 40};
  c.equipment[kSlotHead - 1] = kIntellectHeadband;
  c.equipment[kSlotCloak - 1] = kResistanceCloak;
  c.equipment[kSlotRightFinger - 1] = kFireRing;
  c.equipment[kSlotFeet - 1] = kBoots;
  c.carried[0] = {kScrollEntangle, 3};
  c.carried[1] = {kColdRing, 1};
  c.carried[2] = {Forge(5, 1), 1};  // dagger
  c.carried[9] = {kBolts, 12};
  RecomputeCreature(0, 0);
  OpenInventory(0);
  harness::MoveMouse(300, 100);
  harness::StepFrames(2);
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, "inventory_dressed"), 0);
}

}  // namespace
}  // namespace inventorytest
