// Who joins the area target list of an area spell.
#include "combat/resolution/area_targets.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "map/area_shapes.h"
#include "map/map_fixture.h"
#include "rules/item_tables.h"

namespace {

constexpr int kCaster = 0;
constexpr int kMassCure = 153;
constexpr int kMassInflict = 155;

// Creatures in a row from x = 0: the caster (side 1), then each given side.
void Row(const std::vector<int>& sides, const std::vector<int>& undead = {}) {
  FighterCount = 0;
  TurnEntryCount = 0;
  InCombat = 0;
  mapfixture::DrawMap({std::string(sides.size(), '.')});
  for (int i = 0; i < static_cast<int>(sides.size()); ++i) {
    const int id = i == 0 ? kCaster : 20 + i;
    mapfixture::PlaceFighter(id, i, 0);
    Creatures[id].allegiance = sides[i];
  }
  for (int i : undead) Creatures[i == 0 ? kCaster : 20 + i].type = 8;
}

std::vector<int> AddAll(int spell) {
  ClearAreaTargets();
  for (int x = 0; x < CurrentMap.width; ++x) AddAreaTarget(x, 0, kCaster, spell);
  std::vector<int> out;
  for (int i = 0; i < kAreaTargetCount && AreaTargetList[i] != -1; ++i) out.push_back(AreaTargetList[i]);
  return out;
}

SpellRecord& Row(int spell, int allies, int enemies, int effect = 0) {
  SpellRecord& s = SpellTable[spell];
  std::memset(&s, 0, sizeof s);
  s.beneficial = allies;
  s.targeting = enemies;
  s.effects[0].code = effect;
  return s;
}

TEST(AreaTargets, SideFlagsChooseFriendsFoesAndTheCaster) {
  Row({1, 5, 2, 8});  // caster 0, ally 21, foe 22, a talker 23 (hostile to all)
  Row(40, 0, 0);
  EXPECT_EQ(AddAll(40), (std::vector<int>{0, 21, 22, 23})) << "no flag: everyone, the caster too";
  Row(40, 1, 0);
  EXPECT_EQ(AddAll(40), (std::vector<int>{0, 21}));
  Row(40, 0, 1);
  EXPECT_EQ(AddAll(40), (std::vector<int>{22, 23}));
  EXPECT_EQ(CreatureMarks[22], 2);
  EXPECT_EQ(CreatureMarks[21], 0);
  EXPECT_EQ(AreaMarkTimer, 100);
  EXPECT_FALSE(AddAreaTarget(2, 0, kCaster, 40)) << "listed once";
}

TEST(AreaTargets, MassCuresHealLivingFriendsAndUndeadFoes) {
  // Caster, living ally 21, undead ally 22, living foe 23, undead foe 24.
  Row({1, 1, 1, 2, 2}, {2, 4});
  Row(kMassCure, 0, 0, 1);
  Row(kMassInflict, 0, 0, 9);
  EXPECT_TRUE(IsSpellInSetC(kMassCure) && IsSpellInSetD(kMassInflict));
  EXPECT_EQ(AddAll(kMassCure), (std::vector<int>{0, 21, 24}));
  EXPECT_EQ(AddAll(kMassInflict), (std::vector<int>{22, 23}));
  // Out of its family by effect code, a mass cure takes everyone.
  Row(kMassCure, 0, 0, 9);
  EXPECT_FALSE(IsSpellInSetC(kMassCure));
  EXPECT_EQ(AddAll(kMassCure).size(), 5u);
}

TEST(AreaTargets, AFullListKeepsItsFirstEntry) {
  Row({1, 2});
  Row(40, 0, 0);
  ClearAreaTargets();
  AreaTargetList[0] = kCaster;
  for (int i = 1; i < kAreaTargetCount; ++i) AreaTargetList[i] = 100 + i;
  EXPECT_FALSE(AddAreaTarget(1, 0, kCaster, 40));
  EXPECT_EQ(AreaTargetList[0], kCaster);
  EXPECT_EQ(CreatureMarks[21], 0);
}

// In battle a square is read from the occupancy grid: asked alone, it sees a
// creature placed or moved after the last shape brought the grid up to date.
TEST(AreaTargets, ASquareAskedAloneSeesCreaturesMovedSinceTheLastShape) {
  Row({1, 2, 2, 2});  // foes 21, 22, 23 on (1, 0), (2, 0), (3, 0)
  mapfixture::StartTestCombat();
  Row(40, 0, 0);
  RasteriseBurst(kCaster, 0, 0, 40);  // a shape of no size: brings the grid up to date
  Creatures[21].squareX = 4;          // moved
  Creatures[23].squareX = 5;          // moved onto a square nobody held
  ClearAreaTargets();
  EXPECT_FALSE(AddAreaTarget(1, 0, kCaster, 40)) << "the square it left is empty";
  EXPECT_TRUE(AddAreaTarget(4, 0, kCaster, 40));
  EXPECT_TRUE(AddAreaTarget(5, 0, kCaster, 40));
  EXPECT_EQ(AreaTargetList[0], 21);
  EXPECT_EQ(AreaTargetList[1], 23);
  InCombat = 0;
  TurnEntryCount = 0;
}

}  // namespace
