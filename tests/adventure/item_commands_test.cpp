// The reward, test and take commands and the item operations: stacks and
// free pairs, items laid on the ground when the pairs are full (never lost),
// taking across the party, hit points, gold, weapon improvement and what a
// square's object code gives.
#include <gtest/gtest.h>

#include "adventure/item_commands.h"
#include "adventure/script_fixture.h"
#include "map/map_record.h"
#include "state/game_flags.h"
#include "state/inventory_state.h"
#include "state/party_leader.h"
#include "rules/conditions.h"

namespace {

using namespace scriptfixture;

class ItemCommands : public ScriptTest {
 protected:
  void SetUp() override {
    ScriptTest::SetUp();
    arrows = MakeBaseItem(1, 1, "Arrows");
    potion = MakeBaseItem(30, 20, "Potion");
    gem = MakeBaseItem(486, 39, "Gem");
  }
  static void FillPairs(int member, uint32_t code) {
    for (ItemPair& p : Creatures[member].carried) p = {code, 1};
  }
  static int ObjectsOnMap(int32_t object) {
    int n = 0;
    for (int layer = kLayerObjects0; layer <= kLayerObjects3; ++layer)
      for (int32_t v : CurrentMap.layers[layer]) n += v == object;
    return n;
  }
  uint32_t arrows = 0, potion = 0, gem = 0;
};

TEST_F(ItemCommands, GivingStacksFillsFreePairsAndTheCurrentCharacterComesFirst) {
  PartyLeader = 2;
  RunSource("give_item 5001 7\n");
  EXPECT_EQ(Creatures[2].carried[0].code, arrows) << "a stack nobody carries starts with the current character";
  Creatures[1].ammunition = {arrows, 4};
  Creatures[2].carried[0] = {0, 0};
  RunSource("give_item 5001 6\ngive_item_to 5030 3 2\ngive_item_to 5030 3 1\n");
  EXPECT_EQ(Creatures[1].ammunition.count, 10) << "a member's ammunition of the code takes the stack";
  EXPECT_EQ(Creatures[3].carried[0].code, potion);
  EXPECT_EQ(Creatures[3].carried[1].count, 1) << "a potion does not pile: a pair of its own";
}

TEST_F(ItemCommands, AnItemForFullPairsIsLaidOnTheNearestFreeSquare) {
  FillPairs(0, potion);
  EXPECT_EQ(GiveItemToCharacter(0, 1, potion), 1);
  EXPECT_EQ(ObjectsOnMap(static_cast<int32_t>(potion)), 1);
  EXPECT_EQ(CurrentMap.At(kLayerObjects0, 1, 4), static_cast<int32_t>(potion)) << "on the member's own square";
  // More than one: each lies on the ground, none is lost.
  EXPECT_EQ(GiveItemToCharacter(0, 3, potion), 1);
  EXPECT_EQ(ObjectsOnMap(static_cast<int32_t>(potion)), 4);
  // The party's pairs all full: the items go down beside the current character.
  for (int m = 1; m < 4; ++m) FillPairs(m, potion);
  RunSource("give_item 5030 2\n");
  EXPECT_EQ(ObjectsOnMap(static_cast<int32_t>(potion)), 6);
  EXPECT_EQ(StoredMaps[5].At(kLayerObjects0, 1, 4), static_cast<int32_t>(potion)) << "the stored map too";
}

TEST_F(ItemCommands, TakingGoesMemberByMemberAndWornItemsCountOne) {
  Creatures[0].carried[0] = {arrows, 3};
  Creatures[1].carried[2] = {arrows, 10};
  RunSource("if_party_has 13 1 5001\n set_flag 1 1\nendif\nif_party_has 14 1 5001\n set_flag 2 1\nendif\n"
      "take_items 5 1 5001\n");
  EXPECT_EQ(GameFlags[1], 1u);
  EXPECT_EQ(GameFlags[2], 0u);
  EXPECT_EQ(Creatures[0].carried[0].code, 0u);
  EXPECT_EQ(Creatures[1].carried[2].count, 8);
  // By kind: worn items are taken in their order (slot 6 before slot 7).
  Creatures[2].equipment[kSlotRightHand - 1] = potion;
  Creatures[2].equipment[kSlotArms - 1] = potion;
  RunSource("take_items 1 0 20\n");
  EXPECT_EQ(Creatures[2].equipment[kSlotArms - 1], 0u);
  EXPECT_EQ(Creatures[2].equipment[kSlotRightHand - 1], potion);
  // From one creature: a worn item first when one is asked for.
  Creatures[3].carried[0] = {potion, 1};
  Creatures[3].equipment[kSlotNeck - 1] = potion;
  RunSource("take_from 3 5030 1\n");
  EXPECT_EQ(Creatures[3].equipment[kSlotNeck - 1], 0u);
  EXPECT_EQ(Creatures[3].carried[0].code, potion);
  EXPECT_FALSE(PartyHasItem(5000)) << "code 5,000 names no item";
}

TEST_F(ItemCommands, HitPointsGoldAndExperienceChangeAsAsked) {
  Creatures[0].hitPoints = 5;
  Creatures[1].hitPoints = 1;
  Creatures[2].hitPoints = 0;
  RunSource("heal_party 10 0\n");
  EXPECT_EQ(Creatures[0].hitPoints, 5) << "5 x 10 / 100 = 0";
  EXPECT_EQ(Creatures[1].hitPoints, 1);
  RunSource("heal_party 100 0\nheal_party -50 2\n");
  EXPECT_EQ(Creatures[0].hitPoints, 1) << "10, then at least 1";
  EXPECT_EQ(Creatures[2].hitPoints, 0) << "the fallen are left alone";
  Creatures[3].hitPoints = 20;
  RunSource("heal_party 30 3\n");
  EXPECT_EQ(Creatures[3].hitPoints, 50) << "mode 3 has no upper limit";
  RunSource("gold 40\ngold -15\nexperience 300\nexperience -100\n");
  EXPECT_EQ(PartyGold, 25u);
  EXPECT_EQ(Creatures[3].experience, 200);
  RunSource("gold -1000\n");
  EXPECT_EQ(PartyGold, 0u) << "the purse stops at nothing";
}

TEST_F(ItemCommands, LevelTestsFailWhenNobodyStandsAndTalkersMustExist) {
  // Levels 3, 4, 5, 6: average 4, highest 6.
  RunSource("if_party 0 0 4\n set_flag 1 1\nendif\nif_party 2 1 5\n set_flag 2 1\nendif\nif_party 7 5 9\n set_flag 3 1\nendif\n");
  EXPECT_EQ(GameFlags[1], 1u);
  EXPECT_EQ(GameFlags[2], 0u);
  EXPECT_EQ(GameFlags[3], 1u) << "any other measure holds";
  for (int m = 0; m < 4; ++m) AddCondition(m, m % 2 ? kCondDead : kCondUnconscious, 1000, 0, 0, 0);
  RunSource("if_party 0 1 100\n set_flag 4 1\nendif\nif_talker_carries 0 1 5001\n set_flag 5 1\nendif\n");
  EXPECT_EQ(GameFlags[4], 0u) << "no average without anybody standing";
  EXPECT_EQ(GameFlags[5], 0u) << "nobody talks, so nothing is carried";
}

TEST_F(ItemCommands, ImprovingAWeaponTakesTheDiceOfTheNextSize) {
  CraftedWeaponRecord& sword = CraftedWeapons[12];
  std::snprintf(sword.name, sizeof sword.name, "Sword");
  sword.itemType = 19;
  sword.size = 3;
  sword.dieCount = 1;
  sword.dieSides = 8;
  sword.dieKind = 4;
  sword.price = 100;
  Creatures[0].equipment[kSlotRightHand - 1] = 12;
  RunSource("if_crafted_weapon\n improve_weapon\nendif\n");
  EXPECT_EQ(sword.dieCount, 2);
  EXPECT_EQ(sword.dieSides, 6);
  EXPECT_EQ(sword.word720[kImprovementWord], 1);
  EXPECT_EQ(sword.price, 25100);
  // The largest size has no larger dice; a hand without a crafted weapon is left alone.
  sword.size = 7;
  RunSource("improve_weapon\n");
  EXPECT_EQ(sword.dieCount, 2);
  EXPECT_EQ(sword.word720[kImprovementWord], 2);
  Creatures[0].equipment[kSlotRightHand - 1] = potion;
  const int faults = ScriptDebugLineCount;
  RunSource("improve_weapon\n");
  EXPECT_EQ(ScriptDebugLineCount, faults + 1);
}

TEST_F(ItemCommands, SquareObjectsGiveGoldStacksOrItemsAndRefuseTheRest) {
  EXPECT_TRUE(PickUpSquareItem(0, 10250));
  EXPECT_EQ(PartyGold, 250u) << "the party's gold takes no pair";
  EXPECT_EQ(Creatures[0].carried[0].code, 0u);
  EXPECT_TRUE(PickUpSquareItem(1, 200012));
  EXPECT_EQ(Creatures[1].carried[0].code, gem);
  EXPECT_EQ(Creatures[1].carried[0].count, 12);
  EXPECT_TRUE(PickUpSquareItem(1, 200003));
  EXPECT_EQ(Creatures[1].carried[0].count, 15);
  EXPECT_TRUE(PickUpSquareItem(4, 10009)) << "another creature carries gold as coins";
  EXPECT_EQ(Creatures[4].carried[0].code, 5484u);
  EXPECT_EQ(Creatures[4].carried[0].count, 9);
  for (int32_t refused : {350001, 365000, 379999, 7000, 9999, 10000, 210000, 710000, 5000, 12})
    EXPECT_FALSE(PickUpSquareItem(2, refused)) << refused;
  EXPECT_EQ(Creatures[2].carried[0].code, 0u);
  FillPairs(3, potion);
  EXPECT_FALSE(PickUpSquareItem(3, static_cast<int32_t>(potion))) << "no free pair: it stays on the square";
}

TEST_F(ItemCommands, CraftedItemsOnTheGroundArePickedUpOneToAPair) {
  std::strcpy(CraftedWeapons[40].name, "Longsword");
  std::strcpy(CraftedWeapons[300].name, "Old Mail");
  EXPECT_TRUE(PickUpSquareItem(0, 40));
  EXPECT_TRUE(PickUpSquareItem(0, 300));
  EXPECT_EQ(Creatures[0].carried[0].code, 40u);
  EXPECT_EQ(Creatures[0].carried[0].count, 1);
  EXPECT_EQ(Creatures[0].carried[1].code, 300u);
  FillPairs(2, potion);
  EXPECT_FALSE(PickUpSquareItem(2, 40)) << "no free pair: it stays on the square";
}

}  // namespace
