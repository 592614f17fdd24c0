// Area shapes drawn on small maps: '*' a covered square, '#' a wall.
#include "map/area_shapes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "combat/resolution/area_targets.h"
#include "map/map_fixture.h"
#include "map/path_finding.h"
#include "map/square_grids.h"
#include "rules/casting_rules.h"
#include "rules/item_tables.h"
#include "state/combat_action.h"
#include "state/party_leader.h"
#include "state/threat_grids.h"

namespace {

using Picture = std::vector<std::string>;
using Offsets = std::set<std::pair<int, int>>;

constexpr int kSpell = 40;

void Reset(const Picture& map) {
  FighterCount = 0;
  TurnEntryCount = 0;
  InCombat = 0;
  PendingMetamagic = 0;
  PartyLeader = 0;
  std::memset(MagicAreaGrid, 0, sizeof MagicAreaGrid);
  mapfixture::DrawMap(map);
}

SpellRecord& Spell(int feet, int secondFeet = 0, int spreads = 0, int id = kSpell) {
  SpellRecord& s = SpellTable[id];
  std::memset(&s, 0, sizeof s);
  s.areaSize = feet;
  s.areaSize2 = secondFeet;
  s.areaWord = spreads;
  return s;
}

Picture Drawn() {
  Picture rows(CurrentMap.height, std::string(CurrentMap.width, '.'));
  for (int y = 0; y < CurrentMap.height; ++y)
    for (int x = 0; x < CurrentMap.width; ++x)
      rows[y][x] = AreaMask[SquareIndex(x, y)] ? '*' : CurrentMap.At(kLayerWalls, x, y) > 0 ? '#' : '.';
  return rows;
}

// The covered squares of a picture as offsets from (ox, oy).
Offsets Covered(const Picture& p, int ox, int oy) {
  Offsets out;
  for (int y = 0; y < static_cast<int>(p.size()); ++y)
    for (int x = 0; x < static_cast<int>(p[y].size()); ++x)
      if (p[y][x] == '*') out.insert({x - ox, y - oy});
  return out;
}

std::vector<int> Listed() {
  std::vector<int> out;
  for (int i = 0; i < kAreaTargetCount && AreaTargetList[i] != -1; ++i) out.push_back(AreaTargetList[i]);
  return out;
}

TEST(AreaLine, PassesADoorwayAndStopsBeforeAWall) {
  Reset({"....#...#.", "........#.", "....#...#."});
  mapfixture::PlaceFighter(0, 0, 1);
  mapfixture::PlaceFighter(7, 9, 1);  // beyond the wall
  Spell(60);
  int32_t direction = 0, near[2] = {};
  ASSERT_TRUE(RasteriseLine(0, 9, 1, kSpell, &direction, near));
  EXPECT_EQ(Drawn(), (Picture{"....#...#.", ".*******#.", "....#...#."}));
  EXPECT_EQ(direction, 3);
  EXPECT_EQ(AreaLineEndX, 7);
  EXPECT_EQ(AreaLineEndY, 1);
  EXPECT_EQ(near[0], 3) << "the fourth traced square";
  EXPECT_TRUE(Listed().empty()) << "nobody beyond the wall";

  // Stopped at its third square past the caster: two squares, ending on the second.
  Reset({"...#......"});
  mapfixture::PlaceFighter(0, 0, 0);
  ASSERT_TRUE(RasteriseLine(0, 9, 0, kSpell, nullptr, nullptr));
  EXPECT_EQ(Drawn(), (Picture{".**#......"}));
  EXPECT_EQ(AreaLineEndX, 2);
}

// The full cones of the tables, north and north-east, from the caster's square 'C'.
const Picture kNorthCone = {
    ".......*******.......", ".....***********.....", "....*************....", "....*************....",
    ".....***********.....", "......*********......", ".......*******.......", "........*****........",
    ".........***.........", "..........*..........", "..........C.........."};
const Picture kNorthEastCone = {
    ".*.........", ".***.......", ".*****.....", ".******....", ".*******...", ".********..",
    ".********..", ".*********.", ".*********.", ".**********", "C.........."};

TEST(AreaCone, EveryDirectionKeepsItsFarEdge) {
  // A widened 30-foot cone reaches 12 squares, past the tables' 10.
  Reset(Picture(21, std::string(21, '.')));
  mapfixture::PlaceFighter(0, 10, 10);
  Spell(30);
  PendingMetamagic = kMetamagicWidened;
  const Offsets north = Covered(kNorthCone, 10, 10), northEast = Covered(kNorthEastCone, 0, 10);
  const int steps[9][2] = {{0, 0}, {0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}};
  for (int dir = 1; dir <= 8; ++dir) {
    // Directions 3, 5, 7 are the north cone turned clockwise, 4, 6, 8 the north-east one.
    Offsets expected = dir % 2 ? north : northEast;
    for (int turn = 0; turn < (dir - 1) / 2; ++turn) {
      Offsets turned;
      for (auto [dx, dy] : expected) turned.insert({-dy, dx});
      expected = turned;
    }
    int32_t code = 0;
    ASSERT_TRUE(RasteriseCone(0, 10 + 10 * steps[dir][0], 10 + 10 * steps[dir][1], kSpell, &code));
    EXPECT_EQ(code, dir);
    EXPECT_EQ(Covered(Drawn(), 10, 10), expected) << "direction " << dir;
  }
}

TEST(AreaCone, ShortConeFollowsTheTableValues) {
  Reset(Picture(7, std::string(8, '.')));
  mapfixture::PlaceFighter(0, 0, 6);
  Spell(30);
  ASSERT_TRUE(RasteriseCone(0, 6, 0, kSpell, nullptr));
  EXPECT_EQ(Drawn(), (Picture{".*......", ".***....", ".****...", ".*****..", ".*****..", ".******.", "........"}));
}

TEST(AreaCone, PseudoSpellsTakeByTheirOwnRules) {
  Reset(Picture(9, std::string(9, '.')));
  InCombat = 1;
  mapfixture::PlaceFighter(0, 4, 8);  // size 0: a 20-foot breath
  mapfixture::PlaceFighter(20, 4, 6);
  mapfixture::PlaceFighter(21, 4, 5);
  mapfixture::PlaceFighter(22, 4, 1);  // five squares out
  Creatures[21].type = 8;
  Creatures[22].type = 8;
  mapfixture::StartTestCombat();
  ASSERT_TRUE(RasteriseCone(0, 4, 0, kSpellSpecialAttack, nullptr));
  EXPECT_EQ(Listed(), (std::vector<int>{21, 20}));
  ASSERT_TRUE(RasteriseCone(0, 4, 0, kSpellTurnUndead, nullptr));
  EXPECT_EQ(Listed(), (std::vector<int>{21})) << "undead within four squares only";
  ASSERT_TRUE(RasteriseCone(0, 4, 0, 500, nullptr));
  EXPECT_TRUE(Listed().empty());
  EXPECT_EQ(Covered(Drawn(), 4, 8), Offsets{}) << "an id past the spell table has no length";
}

TEST(AreaBurst, PillarStopsLinesAndLengthensSpreadingWalks) {
  const Picture map = {".........", ".........", ".........", ".........", "....C#...",
                       ".........", ".........", ".........", "........."};
  Reset(map);
  mapfixture::PlaceFighter(0, 4, 4);
  BuildOccupancyGrids(0);
  Spell(20);
  ASSERT_TRUE(RasteriseBurst(0, 4, 4, kSpell));
  // Squares whose line from the centre crosses the pillar are left out.
  EXPECT_EQ(Drawn(), (Picture{".........", "....**...", "..******.", "..*****..", ".****#...",
                              ".******..", "..******.", "..******.", "....**..."}));

  // A spreading burst walks round the pillar, 5 feet a step and 7 a diagonal
  // (never across the pillar's corner), 23 feet at most; the walk leaves no trace.
  Spell(20, 0, 1);
  FighterSlot& leader = FighterSlots[Creatures[0].fighterSlot];
  leader.pathX[0] = 33;
  leader.pathIndex = 1;
  Creatures[0].destinationX = 8;
  PathCostFeet = 77;
  PathLength = 5;
  ArrowGrid[0] = 123;
  ASSERT_TRUE(RasteriseBurst(0, 4, 4, kSpell));
  EXPECT_EQ(Drawn(), (Picture{".........", "....**...", "..******.", "..******.", ".****#**.",
                              ".*******.", "..******.", "..*****..", "....**..."}));
  EXPECT_EQ(leader.pathX[0], 33);
  EXPECT_EQ(leader.pathIndex, 1);
  EXPECT_EQ(Creatures[0].destinationX, 8);
  EXPECT_EQ(PathCostFeet, 77);
  EXPECT_EQ(PathLength, 5);
  EXPECT_EQ(ArrowGrid[0], 123);
}

TEST(AreaBurst, ReachesItsFarSideOnTheCorner) {
  Reset(Picture(30, std::string(30, '.')));
  mapfixture::PlaceFighter(0, 15, 15);
  BuildOccupancyGrids(0);
  Spell(50);
  ASSERT_TRUE(RasteriseBurst(0, 15, 15, kSpell));
  EXPECT_TRUE(AreaMask[SquareIndex(25, 15)]) << "ten squares east of the corner's square";
  EXPECT_TRUE(AreaMask[SquareIndex(15, 25)]);
  EXPECT_TRUE(AreaMask[SquareIndex(6, 15)]);
  EXPECT_FALSE(AreaMask[SquareIndex(5, 15)]) << "eleven squares west of the corner";
  // A 20-foot burst in the open: the east and south neighbours (1) and the west one (2).
  Spell(20);
  ASSERT_TRUE(RasteriseBurst(0, 15, 15, kSpell));
  EXPECT_EQ(Covered(Drawn(), 15, 15).size(), 44u);
  EXPECT_TRUE(AreaMask[SquareIndex(16, 15)] && AreaMask[SquareIndex(15, 16)] && AreaMask[SquareIndex(14, 15)]);
}

TEST(AreaRectangle, ClippedByTheMapEdgeAndRefusedWhenTooLargeOrBlocked) {
  Reset({"......", "......", "......", "..#..."});
  mapfixture::PlaceFighter(0, 0, 0);
  Spell(20, 10);
  ASSERT_TRUE(RasteriseRectangle(kSpell, 0, 4, 1, 7, 2));
  EXPECT_EQ(RectangleValid, 1);
  EXPECT_EQ(Drawn(), (Picture{"......", "....**", "....**", "..#..."}));

  Spell(15, 5);
  EXPECT_TRUE(RasteriseRectangle(kSpell, 0, 1, 1, 3, 1)) << "3 x 1 of 15 by 5 feet";
  EXPECT_FALSE(RasteriseRectangle(kSpell, 0, 1, 1, 4, 2)) << "4 x 2";
  EXPECT_EQ(RectangleValid, 0);
  EXPECT_EQ(Covered(Drawn(), 0, 0), Offsets{});
  EXPECT_FALSE(RasteriseRectangle(kSpell, 0, 1, 3, 3, 3)) << "a wall inside";
  // Fire storm burns over any lasting effect but a solid one; other spells need none.
  Spell(15, 5, 0, kSpellFireStorm);
  MagicAreaGrid[SquareIndex(2, 1)] = {kEffectFire, 3, 0};
  EXPECT_FALSE(RasteriseRectangle(kSpell, 0, 1, 1, 3, 1));
  EXPECT_TRUE(RasteriseRectangle(kSpellFireStorm, 0, 1, 1, 3, 1));
  MagicAreaGrid[SquareIndex(2, 1)] = {kEffectSolid, 3, 0};
  EXPECT_FALSE(RasteriseRectangle(kSpellFireStorm, 0, 1, 1, 3, 1));
}

}  // namespace
