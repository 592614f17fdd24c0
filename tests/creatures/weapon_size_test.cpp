#include "creatures/weapon_size.h"

#include "creation_fixture.h"

namespace {

class WeaponSizeTest : public CreationTest {
 protected:
  // A copy of the prepared row of the option in generated row 4701.
  static CraftedWeaponRecord& Copy(int option, int size, int dieKind) {
    CraftedWeaponRecord& w = CraftedWeapons[4701];
    w = CraftedWeapons[PreparedItemRow(option)];
    w.size = size;
    w.dieKind = dieKind;
    return w;
  }
};

TEST_F(WeaponSizeTest, LongswordTakesTheDiceOfItsSize) {
  for (int stored : {4, 0}) {  // a stored die kind, or the one of the prepared longsword
    CraftedWeaponRecord& w = Copy(kWeaponLongsword, 3, stored);
    EXPECT_EQ(EnlargeWeaponSize(4701), 1);
    EXPECT_EQ(w.size, 4);
    EXPECT_EQ(w.dieCount, 2);
    EXPECT_EQ(w.dieSides, 6);
    w = Copy(kWeaponLongsword, 3, stored);
    ReduceWeaponSize(4701);
    EXPECT_EQ(w.size, 2);
    EXPECT_EQ(w.dieCount, 1);
    EXPECT_EQ(w.dieSides, 6);
  }
  // Seven steps up from Tiny follow the column to Colossal and stop there.
  CraftedWeaponRecord& w = Copy(kWeaponLongsword, 1, 4);
  for (int i = 0; i < 8; ++i) EnlargeWeaponSize(4701);
  EXPECT_EQ(w.size, 7);
  EXPECT_EQ(w.dieCount, 6);
  EXPECT_EQ(w.dieSides, 6);
}

TEST_F(WeaponSizeTest, EndsOfTheScaleAndDiceThatCannotFollow) {
  CraftedWeaponRecord& w = Copy(kWeaponLongsword, 7, 4);
  w.dieCount = 9;
  EnlargeWeaponSize(4701);
  EXPECT_EQ(w.size, 7);
  EXPECT_EQ(w.dieCount, 9);
  w.size = 1;
  ReduceWeaponSize(4701);
  EXPECT_EQ(w.size, 1);
  EXPECT_EQ(w.dieCount, 9);

  CraftedWeaponRecord& big = Copy(kWeaponLongsword, 3, 11);  // Medium 3d6
  big.dieCount = 3;
  big.dieSides = 6;
  EnlargeWeaponSize(4701);
  EXPECT_EQ(big.size, 3);
  EXPECT_EQ(big.dieCount, 3);

  CraftedWeaponRecord& odd = Copy(kWeaponLongsword, 3, 0);  // no Medium entry matches 1d5
  CraftedWeapons[PreparedItemRow(kWeaponLongsword)].dieSides = 5;
  ReduceWeaponSize(4701);
  EXPECT_EQ(odd.size, 3);
}

TEST_F(WeaponSizeTest, ArmourChangesOnlyItsSize) {
  CraftedWeaponRecord& w = Copy(39, 3, 0);
  const int armour = w.dieSides;
  EnlargeWeaponSize(4701);
  EXPECT_EQ(w.size, 4);
  EXPECT_EQ(w.dieSides, armour);
  EXPECT_EQ(EnlargeWeaponSize(0), 0);
  EXPECT_EQ(ReduceWeaponSize(kCraftedRows), 0);
}

}  // namespace
