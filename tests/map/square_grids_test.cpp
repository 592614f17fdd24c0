// The blocked and sight grids, the flood, rooms and doorways, and the square lookups.
#include <gtest/gtest.h>

#include "map/square_grids.h"
#include "engine/widgets.h"
#include "map_fixture.h"
#include "state/game_screen_words.h"
#include "state/party_leader.h"
#include "state/queued_actions.h"

namespace {

using mapfixture::DrawMap;
using mapfixture::PlaceFighter;

uint32_t Blocked(int x, int y) { return BlockedGrid[SquareIndex(x, y)]; }
int32_t Region(int x, int y) { return RegionGrid[SquareIndex(x, y)]; }

TEST(BlockedGrid, WallsOutsideSquaresAndSolidAreas) {
  InCombat = 0;  // out of combat first (a test before may have left one)
  DrawMap({
      "#-h.",
      "|+..",
  });
  FighterCount = 0;
  PlaceFighter(0, 3, 0);
  BuildOccupancyGrids(0);
  EXPECT_EQ(Blocked(0, 0), kSquareBlocked);
  EXPECT_EQ(Blocked(1, 0), kSquareOpen) << "code -1 does not block (cut off from the flood)";
  EXPECT_EQ(Blocked(2, 0), kSquareBlocked) << "a hedge blocks walking";
  EXPECT_EQ(Blocked(4, 0), kSquareBlocked) << "beyond the width";
  EXPECT_EQ(Blocked(0, 2), kSquareBlocked) << "beyond the height";
  EXPECT_EQ(OpenSquareCount, 4u);  // (1,0), (3,0), (2,1), (3,1)
  EXPECT_EQ(SightBlockGrid[SquareIndex(0, 0)], 1u);
  EXPECT_EQ(SightBlockGrid[SquareIndex(0, 1)], 1u);
  EXPECT_EQ(SightBlockGrid[SquareIndex(1, 1)], 1u);
  EXPECT_EQ(SightBlockGrid[SquareIndex(2, 0)], 0u) << "a hedge does not block sight";

  // A solid magic area blocks in combat only, and is not a walled square.
  MagicAreaGrid[SquareIndex(3, 1)] = {kEffectSolid, 3, 0};
  BuildOccupancyGrids(0);
  EXPECT_EQ(Blocked(3, 1), kSquareFlooded);
  InCombat = 1;
  BuildOccupancyGrids(0);
  EXPECT_EQ(Blocked(3, 1), kSquareBlocked);
  EXPECT_EQ(SightBlockGrid[SquareIndex(3, 1)], 1u);
  EXPECT_EQ(OpenSquareCount, 4u);
  InCombat = 0;
  MagicAreaGrid[SquareIndex(3, 1)] = {};
}

TEST(BlockedGrid, FloodStopsAtClosedDoors) {
  DrawMap({
      "#########",
      "#...#...#",
      "#...+...#",
      "#...+...#",
      "#...#...#",
      "#########",
  });
  FighterCount = 0;
  PlaceFighter(2, 2, 2);
  PartyLeader = 2;
  BuildOccupancyGrids(-1);
  for (int x = 1; x <= 3; ++x)
    for (int y = 1; y <= 4; ++y) EXPECT_EQ(Blocked(x, y), kSquareFlooded) << x << "," << y;
  for (int x = 5; x <= 7; ++x)
    for (int y = 1; y <= 4; ++y) EXPECT_EQ(Blocked(x, y), kSquareOpen) << x << "," << y;
  // Opening the door joins the rooms.
  CurrentMap.At(kLayerWalls, 4, 2) = 0;
  CurrentMap.At(kLayerWalls, 4, 3) = 0;
  BuildOccupancyGrids(2);
  EXPECT_EQ(Blocked(7, 4), kSquareFlooded);
  PartyLeader = 0;
}

TEST(Regions, FullyWalledMapHasNoRoomsAndNoShares) {
  DrawMap(std::vector<std::string>(60, std::string(60, '#')));
  FighterCount = 0;
  PlaceFighter(0, 5, 5);
  BuildOccupancyGrids(0);
  EXPECT_EQ(OpenSquareCount, 0u);
  EXPECT_EQ(RegionCount, 0);
  EXPECT_EQ(RegionShare(1), 0);
  for (int i = 0; i < kMapSquares; ++i) ASSERT_EQ(RegionGrid[i], -1);
  for (int id = 0; id <= kMaxDoorways; ++id) ASSERT_EQ(RegionShares[id], 0);
}

TEST(Regions, CrossingIsADoorwayAndADeadEndIsARoom) {
  // A corridor crossing at (5, 3); the northern branch is a short dead end,
  // the others join round a loop.
  DrawMap({
      "###########",
      "#####.#####",
      "#####.#####",
      "#.........#",
      "#.###.###.#",
      "#.###.###.#",
      "#.........#",
      "###########",
  });
  FighterCount = 0;
  PlaceFighter(0, 1, 3);
  BuildOccupancyGrids(0);
  EXPECT_EQ(Region(5, 3), kDoorwayRegion);
  EXPECT_EQ(Region(5, 6), kDoorwayRegion) << "a junction walled to the south";
  // The northern dead end is the only room: 2 of the 26 open squares. The
  // junction at (5, 6) closes nothing off: its spread comes round the loop.
  EXPECT_EQ(RegionCount, 1);
  EXPECT_EQ(Region(5, 1), 1);
  EXPECT_EQ(Region(5, 2), 1);
  EXPECT_EQ(OpenSquareCount, 26u);
  EXPECT_EQ(RegionShares[1], 2 * 1000 / 26);
  EXPECT_EQ(Region(1, 3), -1) << "the loop is not a room";
  EXPECT_EQ(Region(5, 4), -1);
}

TEST(Regions, LargeDeadEndIsNoRoom) {
  // The branch beyond the junction holds over a quarter of the open squares.
  DrawMap({
      "#########",
      "#.......#",
      "#.......#",
      "####.####",
      "###...###",
      "#########",
  });
  FighterCount = 0;
  PlaceFighter(0, 4, 4);
  BuildOccupancyGrids(0);
  EXPECT_EQ(Region(4, 4), kDoorwayRegion);
  EXPECT_EQ(RegionCount, 0);
  EXPECT_EQ(Region(1, 1), -1);
  EXPECT_EQ(Region(3, 4), -1);
}

TEST(SquareLookups, Direction8AndFacing) {
  const struct {
    int dx, dy, code;
  } cases[] = {{0, -1, 1}, {1, -1, 2}, {1, 0, 3}, {1, 1, 4}, {0, 1, 5}, {-1, 1, 6}, {-1, 0, 7}, {-1, -1, 8},
               {0, 0, -1}, {5, -9, 2}, {-3, 0, 7}};
  for (const auto& c : cases) EXPECT_EQ(Direction8(10, 10, 10 + c.dx, 10 + c.dy), c.code) << c.dx << "," << c.dy;

  FighterCount = 0;
  const int slot = PlaceFighter(7, 4, 4);
  Creatures[7].facing = 5;
  Creatures[7].nextX = 3;
  Creatures[7].nextY = 3;
  EXPECT_TRUE(SetFighterFacing(slot));
  EXPECT_EQ(Creatures[7].facing, 8);
  Creatures[7].nextX = 6;  // two squares away: not a step
  EXPECT_FALSE(SetCreatureFacing(7));
  EXPECT_EQ(Creatures[7].facing, 8);
  Creatures[7].nextX = 4;
  Creatures[7].nextY = 4;  // standing still
  EXPECT_FALSE(SetCreatureFacing(7));
}

TEST(SquareLookups, CreaturesBySquareFollowTheirFootprints) {
  FighterCount = 0;
  InCombat = 0;
  PlaceFighter(0, 2, 2);
  PlaceFighter(10, 4, 4, 2, 2);
  PlaceFighter(11, 5, 5);  // stands on the big creature's corner
  EXPECT_EQ(CombatantAtSquare(2, 2), 0);
  EXPECT_EQ(CombatantAtSquare(5, 5), 10) << "the first slot in table order";
  EXPECT_EQ(CombatantAtSquare(6, 4), -1);
  EXPECT_EQ(CreatureAtSquare(5, 5, -1), -1) << "out of combat";
  mapfixture::StartTestCombat();
  EXPECT_EQ(CreatureAtSquare(5, 4, -1), 10);
  EXPECT_EQ(CreatureAtSquare(5, 5, 10), 11);
  EXPECT_EQ(CreatureAtSquare(4, 5, 10), -1);
  InCombat = 0;
}

TEST(CanAct, DisablingConditions) {
  FighterCount = 0;
  PlaceFighter(20, 1, 1);
  CreatureRecord& c = Creatures[20];
  EXPECT_TRUE(CanCreatureAct(20));
  c.conditions[0] = {156, 1, 0, 0, 0};  // Flat_footed
  EXPECT_FALSE(CanCreatureAct(20));
  c.feats[kFeatCombatReflexes] = 1;
  EXPECT_TRUE(CanCreatureAct(20));
  c.conditions[1] = {84, 0, 0, 0, 0};  // expired: does not count
  c.conditions[2] = {0, 0, 0, 0, 0};   // the list ends here
  c.conditions[3] = {88, 5, 0, 0, 0};
  EXPECT_TRUE(CanCreatureAct(20)) << "nothing after the first empty slot is read";
  c.conditions[3] = {};
  c.conditions[2] = {84, 2, 0, 0, 0};
  EXPECT_FALSE(CanCreatureAct(20));
  c.conditions[2] = {103, 2, 0, 0, 0};  // Silenced stops only a creature that senses without sight
  EXPECT_TRUE(CanCreatureAct(20));
  c.special[kSenseKindWord] = 5;
  EXPECT_FALSE(CanCreatureAct(20));
  c.special[kSenseKindWord] = 0;

  mapfixture::StartTestCombat();
  TurnOrder[0].plannedAction = 25;
  EXPECT_TRUE(CanCreatureAct(20));
  QueuedActionPending = 1;
  EXPECT_FALSE(CanCreatureAct(20));
  QueuedActionPending = 0;
  InCombat = 0;
}

TEST(SquareLookups, CursorOverAHoveredCreatureFollowsTheModeWord) {
  std::memset(&Creatures[30], 0, sizeof Creatures[30]);
  std::memset(&Creatures[31], 0, sizeof Creatures[31]);
  std::strcpy(Creatures[31].tag, "Innkeeper");
  Creatures[2].tag[0] = 'x';
  struct Case {
    int32_t mode;
    int creature;
    int32_t expected;  // -1: the cursor is left as it was
  } const cases[] = {
      {0, 30, 8}, {0, 31, 8}, {1, 2, 8},  {2, 2, 8},  {2, 31, 9},
      {2, 30, 1}, {1, 30, -1}, {1, 31, -1}, {3, 31, -1},
  };
  for (const Case& c : cases) {
    WeaponMode = c.mode;
    CursorShape = 55;
    SetMapCursorKind(c.creature);
    EXPECT_EQ(CursorShape, c.expected == -1 ? 55 : c.expected) << "mode " << c.mode << " creature " << c.creature;
  }
  WeaponMode = 0;
  Creatures[2].tag[0] = '\0';
}

TEST(WorldMapGrid, GroundAndBorderBlockTravel) {
  std::memset(&WorldMap, 0, sizeof WorldMap);
  WorldMap.width = 6;
  WorldMap.height = 5;
  for (int x = 0; x < 6; ++x)
    for (int y = 0; y < 5; ++y) WorldMap.At(kLayerGround, x, y) = 1;
  WorldMap.At(kLayerGround, 2, 2) = 3;
  WorldMap.At(kLayerGround, 3, 2) = 6;
  RegionGrid[0] = 4;
  BuildWorldMapBlockedGrid();
  EXPECT_EQ(RegionGrid[0], -1);
  EXPECT_EQ(Blocked(2, 2), kSquareBlocked);
  EXPECT_EQ(Blocked(3, 2), kSquareBlocked);
  EXPECT_EQ(Blocked(1, 1), kSquareOpen);
  EXPECT_EQ(Blocked(5, 2), kSquareBlocked);
  EXPECT_EQ(Blocked(2, 4), kSquareBlocked);
  EXPECT_EQ(Blocked(0, 1), kSquareBlocked);
}

}  // namespace
