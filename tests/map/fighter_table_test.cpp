#include "map/fighter_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "frontend/game_reset.h"
#include "map/map_record.h"
#include "platform/system.h"
#include "rules/creature_record.h"
#include "state/fighter_slots.h"

namespace {

class FighterTable : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    CurrentMapNumber = 4;
  }
  static void OnMap(int id, int map = 4, int present = 1) {
    CreatureRecord& c = Creatures[id];
    std::snprintf(c.name, sizeof c.name, "Creature %d", id);
    c.map = map;
    c.present = present;
    c.level = 1;
    for (StatPair* p : {&c.strength, &c.dexterity, &c.constitution, &c.intelligence, &c.wisdom, &c.charisma})
      *p = {10, 10};
    c.footprintWidth = c.footprintHeight = {1, 1};
  }
};

TEST_F(FighterTable, ThePartyKeepsItsSlotsAndOthersKeepTheirWorkingData) {
  OnMap(1, 9, 0);  // a party member elsewhere and absent
  OnMap(40);
  OnMap(30);
  OnMap(35, 5);    // another map
  OnMap(36, 4, 0); // not present
  BuildFighterTable();
  ASSERT_EQ(FighterCount, 6);
  for (int m = 0; m < kPartySize; ++m) EXPECT_EQ(FighterSlots[m].creature, m);
  EXPECT_EQ(FighterSlots[4].creature, 30);
  EXPECT_EQ(FighterSlots[5].creature, 40);
  EXPECT_EQ(Creatures[40].fighterSlot, 5);

  FighterSlots[5].pathIndex = 3;
  FighterSlots[5].pathX[3] = 17;
  FighterSlots[5].visible[SquareIndex(2, 2)] = 1;
  Creatures[30].present = 0;  // 40 moves up to slot 4 and takes its data along
  BuildFighterTable();
  ASSERT_EQ(FighterCount, 5);
  EXPECT_EQ(FighterSlots[4].creature, 40);
  EXPECT_EQ(FighterSlots[4].pathIndex, 3);
  EXPECT_EQ(FighterSlots[4].pathX[3], 17);
  EXPECT_EQ(FighterSlots[4].visible[SquareIndex(2, 2)], 1);
  EXPECT_EQ(Creatures[30].fighterSlot, 4);  // no longer placed: keeps its old value
  EXPECT_EQ(FighterSlots[1].pathIndex, -1);

  FighterSlots[4].pathIndex = 900;  // a stored path position past its lists
  BuildFighterTable();
  EXPECT_EQ(FighterSlots[4].pathIndex, -1);
}

// Whatever lies in the slots a rebuild does not fill is cleared, slots it
// lately filled and slots far past them alike; a reset clears both tables.
TEST_F(FighterTable, ARebuildLeavesNothingInTheSlotsItDoesNotFill) {
  auto zero = [](const FighterSlot& slot) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&slot);
    return std::all_of(bytes, bytes + sizeof slot, [](uint8_t b) { return b == 0; });
  };
  OnMap(30);
  OnMap(40);
  BuildFighterTable();
  ASSERT_EQ(FighterCount, 6);
  for (int s : {5, 200}) FighterSlots[s].visible[7] = 3;
  FighterSlotBackup[250].gridFlag = 4;
  Creatures[40].present = 0;
  BuildFighterTable();
  ASSERT_EQ(FighterCount, 5);
  for (int s : {5, 200, kFighterSlots - 1}) EXPECT_TRUE(zero(FighterSlots[s])) << s;
  EXPECT_TRUE(zero(FighterSlotBackup[250]));
  EXPECT_EQ(FighterSlotBackup[5].visible[7], 3);  // the table as it was

  FighterSlots[2].alert = 1;
  FighterSlotBackup[100].alert = 1;
  ResetFighterSlotsState();
  EXPECT_EQ(FighterCount, 0);
  for (int s : {2, 100}) EXPECT_TRUE(zero(FighterSlots[s]) && zero(FighterSlotBackup[s])) << s;
}

TEST_F(FighterTable, AFullTableKeepsThreeHundredAndTellsOfTheRest) {
  for (int id = 4; id < 4 + 296; ++id) OnMap(id);
  BuildFighterTable();
  EXPECT_EQ(FighterCount, 300);
  EXPECT_NE(platform::LastMessageBoxText(), "Maximum number of characters reached on the map.");
  OnMap(700);
  OnMap(701);
  Creatures[701].fighterSlot = -7;
  BuildFighterTable();
  EXPECT_EQ(FighterCount, 300);
  EXPECT_EQ(platform::LastMessageBoxTitle(), "Error");
  EXPECT_EQ(platform::LastMessageBoxText(), "Maximum number of characters reached on the map.");
  EXPECT_EQ(Creatures[701].fighterSlot, -7);
}

}  // namespace
