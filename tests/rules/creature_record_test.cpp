#include <gtest/gtest.h>

#include <cstring>

#include "state/fighter_slots.h"
#include "rules/creature_record.h"

namespace {

class SightTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::memset(Creatures, 0, sizeof(CreatureRecord) * 3);
    std::memset(&FighterSlots[4], 0, sizeof(FighterSlot));
    Creatures[0].fighterSlot = 4;
    CreatureRecord& b = Creatures[1];
    b.squareX = 10;
    b.squareY = 20;
    b.footprintWidth.current = 2;
    b.footprintHeight.current = 2;
  }
};

TEST_F(SightTest, TwoByTwoCreatureSeenByItsBottomRightSquareOnly) {
  EXPECT_FALSE(IsCreatureInSight(0, 1));
  FighterSlots[4].visible[11 * 60 + 21] = 1;
  EXPECT_TRUE(IsCreatureInSight(0, 1));
  EXPECT_EQ(GetFighterSlot(0), 4);
}

TEST_F(SightTest, InvalidSlotEmptyOrOffMapFootprintIsNotSeen) {
  FighterSlots[4].visible[10 * 60 + 20] = 1;
  Creatures[1].footprintWidth.current = 0;
  EXPECT_FALSE(IsCreatureInSight(0, 1));  // empty footprint
  Creatures[1].footprintWidth.current = 2;
  Creatures[0].fighterSlot = 300;
  EXPECT_FALSE(IsCreatureInSight(0, 1));
  Creatures[0].fighterSlot = -1;
  EXPECT_FALSE(IsCreatureInSight(0, 1));
  EXPECT_EQ(GetFighterSlot(2100), -1);

  Creatures[0].fighterSlot = 4;
  Creatures[1].squareX = 59;  // the footprint runs off the east edge
  Creatures[1].squareY = -1;
  EXPECT_FALSE(IsCreatureInSight(0, 1));
  FighterSlots[4].visible[59 * 60 + 0] = 1;
  EXPECT_TRUE(IsCreatureInSight(0, 1));
  EXPECT_FALSE(IsCreatureInSight(0, 2100));
}

TEST(CreatureRecordTest, NameTables) {
  EXPECT_STREQ(ClassNames[13], "Magical Beast");
  EXPECT_STREQ(ClassNamesFighter[1], "Fighter");
  EXPECT_STREQ(AlignmentNames[5], "True Neutral");
  EXPECT_STREQ(DamageReductionKindNames[14], "Cold Iron");
  EXPECT_STREQ(ImmunityCategoryNames[43], "Trip");
  EXPECT_STREQ(CreatureTypeNames[6], "Monstrous H.");
}

}  // namespace
