#include "map/path_finding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "map/charge_lines.h"
#include "combat/actions/combat_actions.h"
#include "state/fighter_slots.h"
#include "map/movement_rules.h"
#include "state/turn_order.h"
#include "state/threat_grids.h"
#include "map/fighter_tests.h"
#include "map/map_fixture.h"
#include "map/square_grids.h"
#include "rules/adjacency.h"
#include "rules/creature_record.h"
#include "state/party_leader.h"

namespace {

using Path = std::vector<std::pair<int, int>>;

constexpr int kMover = 10;

void Reset() {
  FighterCount = 0;
  TurnEntryCount = 0;
  InCombat = 0;
  SeekAdjacent = 0;
  CombatAction = {};
  std::memset(MagicAreaGrid, 0, sizeof MagicAreaGrid);  // no fire or web of a test before
}

Path SlotPath(int creature) {
  const FighterSlot& s = FighterSlots[Creatures[creature].fighterSlot];
  Path p;
  for (int i = 0; i < kPathLength && s.pathX[i] != -1; ++i) p.push_back({s.pathX[i], s.pathY[i]});
  return p;
}

Path Found() {
  Path p;
  for (int i = 0; i < PathLength; ++i) p.push_back({PathOutX[i], PathOutY[i]});
  return p;
}

// Every step goes to a neighbour, never onto a wall, never across a wall corner.
void ExpectWalkable(const Path& p, int fromX, int fromY) {
  int x = fromX, y = fromY;
  for (auto [nx, ny] : p) {
    ASSERT_LE(std::abs(nx - x), 1);
    ASSERT_LE(std::abs(ny - y), 1);
    EXPECT_LE(CurrentMap.At(kLayerWalls, nx, ny), 0) << nx << "," << ny;
    if (nx != x && ny != y) {
      EXPECT_LE(CurrentMap.At(kLayerWalls, nx, y), 0) << "corner cut at " << nx << "," << y;
      EXPECT_LE(CurrentMap.At(kLayerWalls, x, ny), 0) << "corner cut at " << x << "," << ny;
    }
    x = nx;
    y = ny;
  }
}

// A 60 x 60 snake of corridors: every other row is a wall with a gap at alternate ends.
std::vector<std::string> SnakeRows() {
  std::vector<std::string> rows;
  for (int y = 0; y < 60; ++y) {
    std::string row(60, '.');
    if (y % 2 == 1) {
      row.assign(60, '#');
      row[y % 4 == 1 ? 59 : 0] = '.';
    }
    rows.push_back(row);
  }
  return rows;
}

TEST(PathFinding, AnEqualFNewSquareRisesAboveItsParent) {
  Reset();
  mapfixture::DrawMap({".....", ".....", "....."});
  mapfixture::PlaceFighter(kMover, 0, 0);
  BuildOccupancyGrids(kMover);
  // (1, 0) and (1, 1) both have F = 24; (1, 1) entered the heap later and rose above it.
  ASSERT_EQ(FindCreaturePath(kMover, 0, 0, 2, 1, 0, 0, 0, 0, nullptr, nullptr), kPathFound);
  EXPECT_EQ(Found(), (Path{{1, 1}, {2, 1}}));
  EXPECT_EQ(SlotPath(kMover), (Path{{1, 1}, {2, 1}}));
  const CreatureRecord& c = Creatures[kMover];
  EXPECT_EQ(c.nextX, 1);
  EXPECT_EQ(c.nextY, 1);
  EXPECT_EQ(c.destinationX, 2);
  EXPECT_EQ(c.destinationY, 1);
  EXPECT_EQ(c.facing, 4);
  EXPECT_EQ(FighterSlots[c.fighterSlot].pathIndex, 1);
}

TEST(PathFinding, GoldenPathAroundAWallKeepsOffItsCorners) {
  Reset();
  mapfixture::DrawMap({
      "........",
      "..####..",
      "..#..#..",
      "..#.....",
      "........",
  });
  mapfixture::PlaceFighter(kMover, 0, 2);
  BuildOccupancyGrids(kMover);
  ASSERT_EQ(FindCreaturePath(kMover, 0, 2, 4, 2, 0, 0, 0, 0, nullptr, nullptr), kPathFound);
  const Path p = Found();
  ExpectWalkable(p, 0, 2);
  EXPECT_EQ(p.back(), std::make_pair(4, 2));
  EXPECT_EQ(p, (Path{{1, 3}, {1, 4}, {2, 4}, {3, 4}, {4, 3}, {4, 2}}));
}

TEST(PathFinding, RefusedSearchesLeaveNoPath) {
  Reset();
  mapfixture::DrawMap({".....", ".###.", ".#.#.", ".###.", "....."});
  mapfixture::PlaceFighter(kMover, 0, 0);
  BuildOccupancyGrids(kMover);
  struct Case {
    const char* what;
    int toX, toY;
  } cases[] = {
      {"goal beyond the map's width", 5, 0},
      {"goal at -1", -1, 0},
      {"goal on a wall", 1, 1},
      {"goal is the start", 0, 0},
      {"goal walled in", 2, 2},
  };
  for (const Case& k : cases) {
    Creatures[kMover].destinationX = 7;
    FighterSlots[0].pathIndex = 1;
    EXPECT_EQ(FindCreaturePath(kMover, 0, 0, k.toX, k.toY, 0, 0, 0, 0, nullptr, nullptr), kPathNone) << k.what;
    if (std::string(k.what) != "goal walled in") {
      EXPECT_EQ(Creatures[kMover].destinationX, -1) << k.what;
      EXPECT_EQ(FighterSlots[0].pathIndex, -1) << k.what;
    }
  }
}

// A spread's walk is within its feet exactly up to the last foot, the way
// round a wall counted, and a walled-in goal is never within.
TEST(PathFinding, SpreadWalksAreWithinTheirFeetToTheLastFoot) {
  Reset();
  mapfixture::DrawMap({"........", "........", "........", "........", "........", "........", "#####...",
                       "........"});
  mapfixture::PlaceFighter(kMover, 0, 0);
  BuildOccupancyGrids(kMover);
  EXPECT_TRUE(SpreadWalkWithin(kMover, 0, 0, 4, 4, 28)) << "four diagonal steps";
  EXPECT_FALSE(SpreadWalkWithin(kMover, 0, 0, 4, 4, 27));
  EXPECT_TRUE(SpreadWalkWithin(kMover, 0, 0, 0, 7, 70)) << "round the wall: five diagonal and seven straight";
  EXPECT_FALSE(SpreadWalkWithin(kMover, 0, 0, 0, 7, 69));
  EXPECT_FALSE(SpreadWalkWithin(kMover, 0, 0, 0, 0, 100)) << "the start itself";
  mapfixture::DrawMap({".....", ".###.", ".#.#.", ".###.", "....."});
  BuildOccupancyGrids(kMover);
  EXPECT_FALSE(SpreadWalkWithin(kMover, 0, 0, 2, 2, 1000)) << "walled in";
}

TEST(PathFinding, StampsRestartPastAMillion) {
  Reset();
  mapfixture::DrawMap({"....", "...."});
  mapfixture::PlaceFighter(kMover, 0, 0);
  BuildOccupancyGrids(kMover);
  PathStamp[5] = 999999;
  PathOnClosed = 1000001;
  ASSERT_EQ(FindCreaturePath(kMover, 0, 0, 3, 1, 0, 0, 0, 0, nullptr, nullptr), kPathFound);
  EXPECT_EQ(PathOnClosed, 12);
  EXPECT_EQ(PathStamp[5], 0);
  ASSERT_EQ(FindCreaturePath(kMover, 0, 0, 3, 0, 0, 0, 0, 0, nullptr, nullptr), kPathFound);
  EXPECT_EQ(PathOnClosed, 14);
}

TEST(PathFinding, TwoByTwoMoverNeedsARoomyGap) {
  Reset();
  mapfixture::DrawMap({
      "........",
      "........",
      "###.####",
      "........",
      "........",
  });
  mapfixture::PlaceFighter(kMover, 0, 0, 2, 2);
  BuildOccupancyGrids(kMover);
  EXPECT_EQ(FindCreaturePath(kMover, 0, 0, 0, 3, 0, 0, 0, 0, nullptr, nullptr), kPathNone);
  // A one-square mover fits through; so does the 2 x 2 once the gap is two wide.
  EXPECT_EQ(FindCreaturePath(kMover, 0, 0, 0, 3, 0, 0, 1, 0, nullptr, nullptr), kPathFound);
  CurrentMap.At(kLayerWalls, 4, 2) = 0;
  BuildOccupancyGrids(kMover);
  ASSERT_EQ(FindCreaturePath(kMover, 0, 0, 0, 3, 0, 0, 0, 0, nullptr, nullptr), kPathFound);
  for (auto [x, y] : Found())
    for (int i = x; i < x + 2; ++i)
      for (int j = y; j < y + 2; ++j) EXPECT_EQ(BlockedGrid[SquareIndex(i, j)] == kSquareBlocked, false);
}

TEST(PathFinding, TwoByTwoInCombatPassesOnlyABigIdleFriend) {
  Reset();
  mapfixture::DrawMap({"......", "......", "......", "......"});
  mapfixture::PlaceFighter(kMover, 0, 0, 2, 2);
  mapfixture::PlaceFighter(11, 2, 0, 2, 4);  // a wall of a creature across the room
  Creatures[kMover].allegiance = kAllegianceEnemy;
  Creatures[11].allegiance = kAllegianceEnemy;
  Creatures[kMover].hitPoints = Creatures[11].hitPoints = 10;
  BuildOccupancyGrids(kMover);
  mapfixture::StartTestCombat();
  EXPECT_EQ(FindCreaturePath(kMover, 0, 0, 4, 0, 0, 0, 0, 0, nullptr, nullptr), kPathNone);
  Creatures[11].size.current = 4;
  EXPECT_EQ(FindCreaturePath(kMover, 0, 0, 4, 0, 0, 0, 0, 0, nullptr, nullptr), kPathFound);
  Creatures[11].allegiance = kAllegianceParty;  // now an enemy of the mover
  EXPECT_EQ(FindCreaturePath(kMover, 0, 0, 4, 0, 0, 0, 0, 0, nullptr, nullptr), kPathNone);
  InCombat = 0;
}

TEST(PathFinding, PathsOverTwoHundredSquares) {
  Reset();
  mapfixture::DrawMap(SnakeRows());
  mapfixture::PlaceFighter(kMover, 0, 0);
  BuildOccupancyGrids(kMover);
  ASSERT_EQ(FindCreaturePath(kMover, 0, 0, 0, 58, 0, 0, 0, 0, nullptr, nullptr), kPathFound);
  EXPECT_GT(PathLength, 1000);
  ExpectWalkable(Found(), 0, 0);
  EXPECT_EQ(SlotPath(kMover).size(), 200u);
  EXPECT_EQ(Creatures[kMover].destinationX, 0);
  EXPECT_EQ(Creatures[kMover].destinationY, 58);

  mapfixture::StartTestCombat();
  Creatures[kMover].hitPoints = 10;
  CombatAction.movesLeft = 10000;
  EXPECT_EQ(FindCreaturePath(kMover, 0, 0, 0, 58, 1, 1, 0, 0, nullptr, nullptr), kPathNone);
  EXPECT_EQ(FighterSlots[0].pathIndex, -1);
  EXPECT_EQ(Creatures[kMover].destinationX, -1);
  // A shorter combat path is kept, with its cost in feet.
  ASSERT_EQ(FindCreaturePath(kMover, 0, 0, 5, 0, 1, 1, 0, 0, nullptr, nullptr), kPathFound);
  EXPECT_EQ(PathCostFeet, 25);
  EXPECT_EQ(PathShown, 1);
  InCombat = 0;
}

TEST(PathFinding, SeekingStopsBesideTheTarget) {
  Reset();
  mapfixture::DrawMap({"........", "........", "........"});
  mapfixture::PlaceFighter(kMover, 0, 1);
  mapfixture::PlaceFighter(11, 6, 1);
  Creatures[kMover].hitPoints = Creatures[11].hitPoints = 5;
  BuildOccupancyGrids(kMover);
  mapfixture::StartTestCombat();
  CombatAction.movesLeft = 40;
  Creatures[kMover].speed = {30, 30};
  SeekAdjacent = 1;
  ASSERT_EQ(FindCreaturePath(kMover, 0, 1, 6, 1, 1, 1, 0, 0, nullptr, nullptr), kPathFound);
  SeekAdjacent = 0;
  const Path p = Found();
  EXPECT_EQ(p.back(), std::make_pair(5, 1));
  EXPECT_EQ(Creatures[kMover].destinationX, 5);
  // Arrows: 3 (right) in colour 0 while a full move of 30 feet is left, then colour 1.
  EXPECT_EQ(ArrowGrid[SquareIndex(1, 1)], 3);
  EXPECT_EQ(ArrowGrid[SquareIndex(5, 1)], 3 + 8);
  InCombat = 0;
}

TEST(PathFinding, ChargeLines) {
  Reset();
  mapfixture::DrawMap({"..........", "..........", ".........."});
  mapfixture::PlaceFighter(kMover, 0, 1);
  mapfixture::PlaceFighter(11, 6, 1);
  mapfixture::PlaceFighter(12, 8, 2);
  Creatures[12].present = 0;  // fallen: its footprint is left on the square
  Creatures[kMover].hitPoints = Creatures[11].hitPoints = 5;
  Creatures[kMover].speed = {30, 30};
  BuildOccupancyGrids(kMover);
  mapfixture::StartTestCombat();
  CombatAction.currentEntry = 0;
  CombatAction.movesLeft = 60;
  EXPECT_TRUE(CanChargeAlongLine(0, 1, 6, 1, 11));
  EXPECT_TRUE(CanReachTargetFrom(6, 1, 0, 1));
  EXPECT_FALSE(CanReachTargetFrom(8, 2, 0, 1));  // nobody stands there to charge
  CombatAction.movesLeft = 20;  // five squares to run
  EXPECT_FALSE(CanChargeAlongLine(0, 1, 6, 1, 11));
  CombatAction.movesLeft = 60;
  CurrentMap.At(kLayerWalls, 3, 1) = 46;
  BuildOccupancyGrids(kMover);
  EXPECT_FALSE(CanChargeAlongLine(0, 1, 6, 1, 11));
  // One square short of the target: too short a run.
  Creatures[11].squareX = 2;
  EXPECT_FALSE(CanChargeAlongLine(0, 1, 2, 1, 11));
  InCombat = 0;
}

TEST(PathFinding, WorldMapRefusesDiagonalsPastABlockedCorner) {
  Reset();
  std::memset(&WorldMap, 0, sizeof WorldMap);
  WorldMap.width = WorldMap.height = 8;
  WorldMap.At(kLayerGround, 3, 3) = 3;  // mountains
  BuildWorldMapBlockedGrid();
  PartyLeader = 0;
  mapfixture::PlaceFighter(0, 2, 3);
  struct Trip {
    std::pair<int, int> from, to;
    size_t steps;
  };
  // Each straight diagonal would pass the mountain's corner, so one step more is taken.
  for (auto [from, to, steps] : {Trip{{2, 2}, {3, 4}, 3}, Trip{{3, 4}, {2, 2}, 3}, Trip{{4, 3}, {3, 2}, 2}}) {
    WorldPathStartX = from.first;
    WorldPathStartY = from.second;
    WorldPathGoalX = to.first;
    WorldPathGoalY = to.second;
    ASSERT_EQ(FindPathGrid(), kPathFound);
    const Path p = SlotPath(0);
    EXPECT_EQ(p.size(), steps);
    int x = from.first, y = from.second;
    for (auto [nx, ny] : p) {
      if (nx != x && ny != y) {
        EXPECT_FALSE(nx == 3 && y == 3) << "cut past the mountain";
        EXPECT_FALSE(x == 3 && ny == 3) << "cut past the mountain";
      }
      x = nx;
      y = ny;
    }
  }
  WorldPathGoalX = 3;
  WorldPathGoalY = 3;
  EXPECT_EQ(FindPathGrid(), kPathNone);
  WorldPathGoalX = 0;  // the border is blocked
  WorldPathGoalY = 4;
  EXPECT_EQ(FindPathGrid(), kPathNone);
}

}  // namespace

namespace {

// A goal sealed off in a small pocket (by walls or, for a one-square mover,
// by fighters) is answered without the search, exactly as the search answers
// it: random rooms, both ways, each mover size.
TEST(PathFinding, SealedGoalsAreAnsweredAsTheFullSearchAnswersThem) {
  std::srand(5);
  int sealed = 0, passedFriends = 0;
  for (int room = 0; room < 12; ++room) {
    Reset();
    std::vector<std::string> rows(14, std::string(14, '.'));
    for (int k = 0; k < 20; ++k) rows[std::rand() % 14][std::rand() % 9] = '#';
    // A walled cell in one corner, its doorway two squares wide and held by
    // two fighters: only big friends let a wide mover through.
    for (int k = 0; k < 5; ++k) rows[9][9 + k] = rows[9 + k][9] = '#';
    rows[9][11] = rows[9][12] = '.';
    // And a cell sealed by walls alone in the other corner.
    for (int k = 0; k < 4; ++k) rows[k][10] = rows[3][10 + k] = '#';
    for (int y = 0; y < 3; ++y) rows[y][12] = '.';
    mapfixture::DrawMap(rows);
    const int size = 1 + room % 2;
    mapfixture::PlaceFighter(kMover, 0, 0, size, size);
    mapfixture::PlaceFighter(11, 11, 9);
    mapfixture::PlaceFighter(13, 12, 9);
    mapfixture::PlaceFighter(12, 4, 4, 1, 1);
    Creatures[kMover].allegiance = Creatures[12].allegiance = kAllegianceEnemy;
    for (int id : {11, 13}) {
      Creatures[id].allegiance = room % 3 == 0 ? kAllegianceParty : kAllegianceEnemy;
      Creatures[id].size.current = room % 2 == 1 ? 4 : 3;
    }
    for (int id : {kMover, 11, 12, 13}) Creatures[id].hitPoints = 10;
    BuildOccupancyGrids(kMover);
    mapfixture::StartTestCombat();
    for (int goal = 0; goal < 20; ++goal) {
      const int gx = goal < 6 ? 10 + goal % 3 : goal < 9 ? 12 : std::rand() % 14;
      const int gy = goal < 6 ? 10 + goal / 3 : goal < 9 ? goal - 6 : std::rand() % 14;
      int32_t result[2], length[2], stamps[2];
      std::vector<int32_t> adjacency[2];
      Path path[2];
      for (int scan = 0; scan < 2; ++scan) {
        PathLookupByScan = static_cast<uint8_t>(scan);
        MarkAdjacentSquares(-1);  // what the search marks shows
        const int32_t before = PathOnClosed;
        result[scan] = FindCreaturePath(kMover, 0, 0, gx, gy, 1, 1, 0, 0, nullptr, nullptr);
        stamps[scan] = PathOnClosed - before;
        length[scan] = PathLength;
        path[scan] = Found();
        adjacency[scan].assign(AdjacencyGrid, AdjacencyGrid + kMapSquares);
      }
      PathLookupByScan = 0;
      EXPECT_EQ(result[0], result[1]) << room << " goal " << gx << "," << gy;
      EXPECT_EQ(length[0], length[1]);
      EXPECT_EQ(path[0], path[1]);
      EXPECT_EQ(stamps[0], stamps[1]);
      EXPECT_EQ(adjacency[0], adjacency[1]);
      if (gx >= 10 && gy >= 10) ++(result[0] == kPathNone ? sealed : passedFriends);
    }
  }
  EXPECT_GT(sealed, 10) << "pockets were met";
  EXPECT_GT(passedFriends, 0) << "big friends let a wide mover in";
  InCombat = 0;
}

}  // namespace

namespace {

// The squares from which a mover's footprint touches the ring round a target,
// worked out square by square over the whole map: targets at the edges and
// in the middle, movers of one and two squares, walls about.
TEST(PathFinding, ApproachSquaresAreEveryFreeFootprintTouchingTheRing) {
  std::srand(9);
  for (int round = 0; round < 10; ++round) {
    Reset();
    std::vector<std::string> rows(12, std::string(15, '.'));
    for (int k = 0; k < 25; ++k) rows[std::rand() % 12][std::rand() % 15] = '#';
    mapfixture::DrawMap(rows);
    const int size = 1 + round % 2, targetSize = 1 + (round / 2) % 2;
    const int tx = round < 4 ? (round % 2) * (15 - targetSize) : 1 + std::rand() % 12;
    const int ty = round < 4 ? (round / 2) * (12 - targetSize) : 1 + std::rand() % 9;
    mapfixture::PlaceFighter(kMover, 0, 0, size, size);
    mapfixture::PlaceFighter(11, tx, ty, targetSize, targetSize);
    MarkApproachSquares(kMover, 11);
    for (int x = 0; x < 60; ++x)
      for (int y = 0; y < 60; ++y) {
        bool touches = false, blocked = x >= 15 || y >= 12 || x + size > 60 || y + size > 60;
        for (int i = x; i < x + size && !blocked; ++i)
          for (int j = y; j < y + size; ++j) {
            blocked |= BlockedGrid[SquareIndex(i, j)] == kSquareBlocked;
            const bool inBox = i >= tx - 1 && i <= tx + targetSize && j >= ty - 1 && j <= ty + targetSize;
            const bool inTarget = i >= tx && i < tx + targetSize && j >= ty && j < ty + targetSize;
            touches |= inBox && !inTarget;  // the ring is marked past the map's edge too
          }
        EXPECT_EQ(ApproachGrid[SquareIndex(x, y)], !blocked && touches ? 1 : 0) << round << ": " << x << "," << y;
      }
  }
}

}  // namespace

namespace {

// In a series, goals beyond a wall too long to tell at once: after the first
// search floods and fails, the others that no reached square touches are
// answered at once, as their own floods would answer them; goals beside the
// reached squares are searched.
TEST(PathFinding, ASeriesAnswersGoalsItsFailedFloodCannotReach) {
  // The searches of a series answer as the plain turn-order walk does, for a
  // one-square mover and a 2 x 2 one.
  const std::vector<int32_t> expected[2] = {
      {kPathNone, kPathNone, kPathNone, kPathFound, kPathFound, kPathNone, kPathFound},
      {kPathNone, kPathNone, kPathNone, kPathNone, kPathNone, kPathNone, kPathFound}};
  for (int size = 1; size <= 2; ++size) {
    Reset();
    std::vector<std::string> rows(30, std::string(30, '.'));
    for (int x = 0; x < 30; ++x) rows[15][x] = '#';
    rows[20][4] = rows[20][5] = '#';
    mapfixture::DrawMap(rows);
    mapfixture::PlaceFighter(kMover, 2, 2, size, size);
    mapfixture::PlaceFighter(11, 10, 10);  // a fighter on this side
    Creatures[kMover].allegiance = Creatures[11].allegiance = kAllegianceEnemy;
    Creatures[kMover].hitPoints = Creatures[11].hitPoints = 10;
    BuildOccupancyGrids(kMover);
    mapfixture::StartTestCombat();
    const std::vector<std::pair<int, int>> goals = {{5, 25}, {6, 20}, {20, 28}, {3, 14}, {9, 9}, {28, 16}, {12, 3}};
    std::vector<int32_t> answers[2], lengths[2], stamps[2];
    for (int scan = 0; scan < 2; ++scan) {
      PathLookupByScan = static_cast<uint8_t>(scan);
      BeginSearchSeries();
      for (auto [gx, gy] : goals) {
        const int32_t before = PathOnClosed;
        answers[scan].push_back(FindCreaturePath(kMover, 2, 2, gx, gy, 1, 1, 0, 0, nullptr, nullptr));
        lengths[scan].push_back(PathLength);
        stamps[scan].push_back(PathOnClosed - before);
      }
      EndSearchSeries();
    }
    PathLookupByScan = 0;
    EXPECT_EQ(answers[0], answers[1]) << size;
    EXPECT_EQ(lengths[0], lengths[1]) << size;
    EXPECT_EQ(stamps[0], stamps[1]) << size;
    EXPECT_EQ(answers[0], expected[size - 1]) << size;
    InCombat = 0;
  }
}

}  // namespace

namespace {

// The open list taken straight from its rules: the heap exchanges entries at
// every level, a re-priced square is found by a scan of the heap, and the
// squares of the grid's edges are passed over by their coordinates. Out of
// combat, one mover of one square, no rooms. Returns the squares closed, in
// order; the path goes to *path when the goal is closed.
std::vector<int> ReferenceOpenList(int fromX, int fromY, int toX, int toY, Path* path) {
  std::vector<int32_t> g(kMapSquares, 0), f(kMapSquares, 0), parent(kMapSquares, -1);
  std::vector<uint8_t> state(kMapSquares, 0);  // 1 open, 2 closed
  std::vector<int> heap{-1, SquareIndex(fromX, fromY)};
  state[heap[1]] = 1;
  auto rise = [&](size_t m, bool pastEqual) {
    while (m > 1 && (pastEqual ? f[heap[m]] <= f[heap[m / 2]] : f[heap[m]] < f[heap[m / 2]])) {
      std::swap(heap[m], heap[m / 2]);
      m /= 2;
    }
  };
  std::vector<int> closed;
  while (heap.size() > 1) {
    const int top = heap[1];
    heap[1] = heap.back();
    heap.pop_back();
    for (size_t u = 1, n = heap.size() - 1;;) {
      size_t v = u;
      if (2 * u <= n && f[heap[2 * u]] <= f[heap[u]]) v = 2 * u;
      if (2 * u + 1 <= n && f[heap[2 * u + 1]] <= f[heap[v]]) v = 2 * u + 1;
      if (v == u) break;
      std::swap(heap[u], heap[v]);
      u = v;
    }
    state[top] = 2;
    closed.push_back(top);
    const int px = top / kMapSide, py = top % kMapSide;
    for (int b = py - 1; b <= py + 1; ++b)
      for (int a = px - 1; a <= px + 1; ++a) {
        if (a < 0 || b < 0 || a >= kMapSide || b >= kMapSide) continue;
        const int sq = SquareIndex(a, b);
        if (state[sq] == 2 || BlockedGrid[sq] == kSquareBlocked) continue;
        const bool diagonal = a != px && b != py;
        if (diagonal && (IsCornerObstructed(a, py) || IsCornerObstructed(px, b))) continue;
        const int32_t cost = g[top] + (diagonal ? 14 : 10);
        const int dx = std::abs(a - toX), dy = std::abs(b - toY);
        const int32_t h = 10 * std::max(dx, dy) + 4 * std::min(dx, dy);
        if (state[sq] == 1) {
          if (cost >= g[sq]) continue;
          g[sq] = cost;
          f[sq] = h + cost;
          parent[sq] = top;
          size_t m = 1;
          while (heap[m] != sq) ++m;
          rise(m, false);
          continue;
        }
        g[sq] = cost;
        f[sq] = h + cost;
        parent[sq] = top;
        state[sq] = 1;
        heap.push_back(sq);
        rise(heap.size() - 1, true);
      }
    if (top == SquareIndex(toX, toY)) {
      for (int sq = top; sq != SquareIndex(fromX, fromY); sq = parent[sq])
        path->insert(path->begin(), {sq / kMapSide, sq % kMapSide});
      return closed;
    }
  }
  return closed;
}

// Random walls over the whole map, many squares of equal F, starts and goals
// on the edges too: the search closes the same squares and walks the same
// path as the open list of the rules.
TEST(PathFinding, TheOpenListClosesSquaresInTheOrderOfItsRules) {
  std::srand(11);
  int found = 0, none = 0;
  for (int trial = 0; trial < 24; ++trial) {
    Reset();
    std::vector<std::string> rows(60, std::string(60, '.'));
    const int walls = 300 + 60 * (trial % 12);
    for (int k = 0; k < walls; ++k) rows[std::rand() % 60][std::rand() % 60] = '#';
    auto edgeOrAny = [](int k) { return k % 3 == 0 ? 0 : k % 3 == 1 ? 59 : std::rand() % 60; };
    const int fx = edgeOrAny(trial), fy = std::rand() % 60, tx = std::rand() % 60, ty = edgeOrAny(trial / 3);
    rows[fy][fx] = rows[ty][tx] = '.';
    mapfixture::DrawMap(rows);
    mapfixture::PlaceFighter(kMover, fx, fy);
    BuildOccupancyGrids(kMover);
    for (int32_t& r : RegionGrid) r = -1;
    if (fx == tx && fy == ty) continue;

    Path expected;
    const std::vector<int> closedInOrder = ReferenceOpenList(fx, fy, tx, ty, &expected);
    const int result = FindCreaturePath(kMover, fx, fy, tx, ty, 0, 0, 0, 0, nullptr, nullptr);
    EXPECT_EQ(result, expected.empty() ? kPathNone : kPathFound) << "trial " << trial;
    if (result == kPathFound) {
      EXPECT_EQ(Found(), expected) << "trial " << trial;
    }
    std::vector<uint8_t> closed(kMapSquares, 0);
    for (int sq : closedInOrder) closed[sq] = 1;
    for (int x = 0; x < kMapSide; ++x)
      for (int y = 0; y < kMapSide; ++y)
        ASSERT_EQ(PathStamp[x * kPathStride + y] == PathOnClosed, closed[SquareIndex(x, y)] == 1)
            << "trial " << trial << " square " << x << "," << y;
    ++(result == kPathFound ? found : none);
  }
  EXPECT_GT(found, 12);
  EXPECT_GT(none, 0) << "some goals are walled off";
}

}  // namespace

namespace {

// In a series, a mover seeks one fighter after another, and comes back to the
// first: each search ends where the plain way ends it. A mover of two by two
// squares may overlap only the fighter it seeks, so what it worked out beside
// one target does not serve the next. One fighter stands walled in: the
// searches that seek it find nothing, and the next ones are not misled.
TEST(PathFinding, ASeriesSeekingFighterAfterFighterEndsEachSearchAsThePlainWay) {
  for (int size = 1; size <= 2; ++size) {
    Reset();
    std::vector<std::string> rows(14, std::string(14, '.'));
    rows[2][4] = rows[3][4] = rows[9][6] = rows[10][6] = '#';
    rows[0][11] = rows[0][13] = rows[1][11] = rows[1][13] = rows[2][11] = rows[2][12] = rows[2][13] = '#';
    rows[0][12] = '#';
    mapfixture::DrawMap(rows);
    mapfixture::PlaceFighter(kMover, 0, 5, size, size);
    mapfixture::PlaceFighter(11, 6, 6);
    mapfixture::PlaceFighter(12, 7, 5);
    mapfixture::PlaceFighter(13, 10, 10);
    mapfixture::PlaceFighter(14, 3, 11);
    mapfixture::PlaceFighter(15, 12, 1);
    for (int id = 11; id <= 15; ++id) Creatures[id].allegiance = kAllegianceParty;
    for (int id = kMover; id <= 15; ++id) Creatures[id].hitPoints = 10;
    Creatures[kMover].allegiance = kAllegianceEnemy;
    BuildOccupancyGrids(kMover);
    mapfixture::StartTestCombat();
    const std::vector<int> targets = {11, 15, 12, 13, 15, 11, 14, 12};
    std::vector<int32_t> answers[2];
    std::vector<Path> paths[2];
    for (int scan = 0; scan < 2; ++scan) {
      PathLookupByScan = static_cast<uint8_t>(scan);
      SeekAdjacent = 1;
      BeginSearchSeries();
      for (int t : targets) {
        answers[scan].push_back(
            FindCreaturePath(kMover, 0, 5, Creatures[t].squareX, Creatures[t].squareY, 1, 1, 0, 0, nullptr, nullptr));
        paths[scan].push_back(Found());
      }
      EndSearchSeries();
      SeekAdjacent = 0;
    }
    PathLookupByScan = 0;
    EXPECT_EQ(answers[0], answers[1]) << "size " << size;
    EXPECT_EQ(paths[0], paths[1]) << "size " << size;
    std::vector<int32_t> expected(targets.size(), kPathFound);
    expected[1] = expected[4] = kPathNone;
    EXPECT_EQ(answers[0], expected) << "size " << size;
  }
  InCombat = 0;
}

}  // namespace
