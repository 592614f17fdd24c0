// The occupancy grid of the combatants and the path search that reads it:
// the grid answers as a walk of the turn order does while fighters move, join
// and leave, and battle searches find the same paths, costs and tallies with
// the grid as with the walk.
#include "map/combatant_grid.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <utility>
#include <vector>

#include "map/fighter_tests.h"
#include "map/map_fixture.h"
#include "map/movement_rules.h"
#include "map/path_finding.h"
#include "map/square_grids.h"
#include "rules/creature_record.h"
#include "state/combat_action.h"
#include "state/fighter_slots.h"
#include "state/turn_order.h"

namespace {

constexpr int kFirst = 100;

// The turn order's answer, walked.
int WalkedOther(int x, int y, int except1, int except2) {
  for (int i = 0; i < TurnEntryCount; ++i) {
    const int o = TurnOrder[i].creature;
    if (o < 0 || o == except1 || o == except2) continue;
    if (FootprintCovers(o, x, y)) return o;
  }
  return -1;
}

struct Battle {
  std::mt19937 rng;
  explicit Battle(uint32_t seed) : rng(seed) {}
  // The next test finds an empty, quiet map.
  ~Battle() {
    std::memset(MagicAreaGrid, 0, sizeof MagicAreaGrid);
    InCombat = 0;
    TurnEntryCount = FighterCount = 0;
    CombatAction = {};
  }
  int Roll(int n) { return static_cast<int>(rng() % static_cast<uint32_t>(n)); }
  // A random square of the n by n corner, its row (y) drawn before its column
  // (x) in statements of their own, so that every compiler lays the battle out
  // alike whatever order it gives to a call's arguments.
  std::pair<int, int> Square(int n) {
    const int y = Roll(n);
    const int x = Roll(n);
    return {x, y};
  }

  void Map() {
    std::vector<std::string> rows(60, std::string(60, '.'));
    for (int k = 0; k < 260; ++k) rows[Roll(60)][Roll(60)] = '#';
    for (int k = 0; k < 4; ++k) {  // a few wall runs that make rooms and dead ends
      const int x = Roll(50), y = Roll(50), len = 5 + Roll(5);
      for (int i = 0; i < len; ++i) (k % 2 ? rows[y][x + i] : rows[y + i][x]) = '#';
    }
    mapfixture::DrawMap(rows);
    for (int k = 0; k < 80; ++k) {
      const auto [x, y] = Square(60);
      SquareEffectCell& cell = MagicAreaGrid[SquareIndex(x, y)];
      cell.kind = static_cast<uint32_t>(1 + Roll(7));
      cell.roundsLeft = Roll(3) == 0 ? 1000 : 3;
    }
    for (int k = 0; k < 40; ++k) {
      const auto [x, y] = Square(60);
      CurrentMap.At(kLayerFloor, x, y) = 123;
    }
  }

  void Fighters(int count) {
    FighterCount = 0;
    for (int i = 0; i < count; ++i) {
      const int size = Roll(5) == 0 ? 2 : 1;
      const auto [x, y] = Square(58);
      mapfixture::PlaceFighter(kFirst + i, x, y, size, size);
      CreatureRecord& c = Creatures[kFirst + i];
      c.allegiance = Roll(2) ? 1 : 2;
      c.hitPoints = c.maxHitPoints = 10;
      c.attacksOfOpportunityLeft = 1;
      c.size = {size == 2 ? 4 : 3, size == 2 ? 4 : 3};
      c.speed = {30, 30};
      c.kind = Roll(6) == 0 ? 88 : 0;
    }
    mapfixture::StartTestCombat();
  }

  void Shuffle() {
    for (int k = 0; k < 6; ++k) {
      const int32_t who = TurnOrder[Roll(TurnEntryCount)].creature;
      const int x = Roll(58), y = Roll(58);
      if (who < 0) continue;  // a fallen fighter's entry moves no one
      Creatures[who].squareX = x;
      Creatures[who].squareY = y;
    }
    if (Roll(4) == 0) TurnEntryCount = 20 + Roll(FighterCount - 19);  // some leave, or come back
    if (Roll(6) == 0) TurnOrder[Roll(TurnEntryCount)].creature = -1;  // a fallen fighter's entry
  }
};

struct Found {
  int result;
  std::vector<int32_t> path;
  int32_t cost;
  uint8_t shown;
  uint32_t record[kTallyWords];
  std::vector<uint32_t> tally;
  int32_t destX, destY;
};

Found Search(int mover, int toX, int toY, uint8_t cross, bool byScan) {
  static PathTallyRecord tally[kMapSquares];
  std::memset(tally, 0, sizeof tally);
  Found f{};
  PathLookupByScan = byScan ? 1 : 0;
  const CreatureRecord& c = Creatures[mover];
  std::memset(f.record, 0, sizeof f.record);
  f.result = FindCreaturePath(mover, c.squareX, c.squareY, toX, toY, 1, 1, 0, cross, f.record, tally);
  PathLookupByScan = 0;
  for (int i = 0; i < PathLength; ++i) {
    f.path.push_back(PathOutX[i]);
    f.path.push_back(PathOutY[i]);
  }
  f.cost = PathCostFeet;
  f.shown = PathShown;
  f.tally.assign(&tally[0][0], &tally[0][0] + kMapSquares * kTallyWords);
  f.destX = c.destinationX;
  f.destY = c.destinationY;
  return f;
}

TEST(CombatantGrid, AnswersAsTheTurnOrderWhileFightersMoveJoinAndLeave) {
  Battle b(7);
  b.Map();
  b.Fighters(60);
  // Several creatures heaped on one square, more than the grid keeps per square.
  for (int i = 0; i < 5; ++i) {
    Creatures[kFirst + i].squareX = 10;
    Creatures[kFirst + i].squareY = 10;
  }
  for (int round = 0; round < 40; ++round) {
    SyncCombatantGrid();
    for (int x = 0; x < 60; ++x)
      for (int y = 0; y < 60; ++y) {
        ASSERT_EQ(CombatantCountOn(x, y), CountCombatantsOnSquare(x, y)) << x << "," << y << " round " << round;
        const int e1 = TurnOrder[b.Roll(TurnEntryCount)].creature, e2 = b.Roll(2) ? kFirst : -1;
        ASSERT_EQ(OtherCombatantOn(x, y, e1, e2), WalkedOther(x, y, e1, e2)) << x << "," << y << " round " << round;
      }
    b.Shuffle();
    if (round % 10 == 9) {
      for (int i = 0; i < 5; ++i) Creatures[kFirst + i].squareX = Creatures[kFirst + i].squareY = 10;
    }
  }
}

TEST(CombatantGrid, BattleSearchesFindTheSamePathsAsTheTurnOrderWalk) {
  Battle b(2026);
  CombatAction = {};
  SeekAdjacent = 0;
  int found = 0, none = 0;
  for (int map = 0; map < 6; ++map) {
    b.Map();
    b.Fighters(40);
    for (int search = 0; search < 25; ++search) {
      const int mover = TurnOrder[b.Roll(TurnEntryCount)].creature;
      if (mover < 0) continue;
      CombatAction.movesLeft = 30 + 5 * b.Roll(8);
      BuildOccupancyGrids(mover);
      const int toX = b.Roll(60), toY = b.Roll(60);
      const uint8_t cross = b.Roll(4) == 0 ? 1 : 0;
      const Found grid = Search(mover, toX, toY, cross, false);
      const Found scan = Search(mover, toX, toY, cross, true);
      ASSERT_EQ(grid.result, scan.result) << "map " << map << " search " << search;
      EXPECT_EQ(grid.path, scan.path) << "map " << map << " search " << search;
      EXPECT_EQ(grid.cost, scan.cost);
      EXPECT_EQ(grid.shown, scan.shown);
      EXPECT_EQ(0, std::memcmp(grid.record, scan.record, sizeof grid.record));
      EXPECT_EQ(grid.tally, scan.tally);
      EXPECT_EQ(grid.destX, scan.destX);
      EXPECT_EQ(grid.destY, scan.destY);
      (grid.result == kPathFound ? found : none)++;
      b.Shuffle();
    }
  }
  // Both kinds of answer were compared.
  EXPECT_GT(found, 30);
  EXPECT_GT(none, 10);
}

// What a series of searches keeps, and the costs of the room rules, answer
// for the combatants' squares at the time they are asked: a fighter that
// steps into the way between two searches of a series is walked round, and a
// square it steps onto no longer fits.
TEST(CombatantGrid, SearchSeriesAndRoomRulesSeeAFighterThatMovedBetweenQuestions) {
  Battle b(1);
  std::vector<std::string> rows(8, std::string(12, '.'));
  mapfixture::DrawMap(rows);
  FighterCount = 0;
  mapfixture::PlaceFighter(kFirst, 1, 4);
  mapfixture::PlaceFighter(kFirst + 1, 6, 0);  // a friend, off the mover's row
  for (int id : {kFirst, kFirst + 1}) {
    Creatures[id].allegiance = 2;
    Creatures[id].hitPoints = Creatures[id].maxHitPoints = 10;
    Creatures[id].speed = {30, 30};
  }
  mapfixture::StartTestCombat();
  CombatAction = {};
  CombatAction.movesLeft = 60;
  BuildOccupancyGrids(kFirst);
  auto onPath = [](int x, int y) {
    for (int i = 0; i < PathLength; ++i)
      if (PathOutX[i] == x && PathOutY[i] == y) return true;
    return false;
  };
  BeginSearchSeries();
  ASSERT_EQ(FindCreaturePath(kFirst, 1, 4, 9, 4, 1, 1, 0, 0, nullptr, nullptr), kPathFound);
  ASSERT_TRUE(onPath(5, 4)) << "the straight way along the row";
  Creatures[kFirst + 1].squareY = 4;
  Creatures[kFirst + 1].squareX = 5;
  ASSERT_EQ(FindCreaturePath(kFirst, 1, 4, 9, 4, 1, 1, 0, 0, nullptr, nullptr), kPathFound);
  EXPECT_FALSE(onPath(5, 4)) << "the friend now standing there is walked round";
  EndSearchSeries();

  ASSERT_TRUE(BeginRoomRules(kFirst, 1, 4));
  EXPECT_GE(RoomStepExtraCost(3, 2), 0);
  EXPECT_TRUE(RoomGoalFits(3, 2));
  Creatures[kFirst + 1].squareX = 3;
  Creatures[kFirst + 1].squareY = 2;
  static int16_t extra[kMapSquares];
  RoomStepExtraCosts(extra);
  EXPECT_EQ(extra[SquareIndex(3, 2)], -1);
  EXPECT_GE(extra[SquareIndex(5, 4)], 0) << "the square it left";
  EXPECT_EQ(RoomStepExtraCost(3, 2), -1);
  EXPECT_FALSE(RoomGoalFits(3, 2));
  EndRoomRules();
}

}  // namespace
