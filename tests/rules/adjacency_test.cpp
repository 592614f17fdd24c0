#include "rules/adjacency.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>

#include "state/turn_order.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"

namespace {

void Place(int id, int x, int y, int size = 1, int allegiance = kAllegianceEnemy) {
  CreatureRecord& c = Creatures[id];
  std::memset(&c, 0, sizeof c);
  std::snprintf(c.name, sizeof c.name, "Creature %d", id);
  c.squareX = x;
  c.squareY = y;
  c.footprintWidth = {size, size};
  c.footprintHeight = {size, size};
  c.allegiance = allegiance;
  c.present = 1;
}

void SetTurnOrder(std::initializer_list<int> ids) {
  TurnEntryCount = 0;
  for (int id : ids) TurnOrder[TurnEntryCount++].creature = id;
  InCombat = 1;
}

int Ring(int x, int y) { return AdjacencyGrid[SquareIndex(x, y)]; }

int CountNonZero(const int32_t* grid) {
  int n = 0;
  for (int i = 0; i < kMapSquares; ++i) n += grid[i] != 0;
  return n;
}

}  // namespace

TEST(AdjacencyRing, OneSquareCreatureHasEightCodes) {
  Place(10, 5, 5);
  MarkAdjacentSquares(10);
  EXPECT_EQ(Ring(4, 4), kRingUpperLeft);
  EXPECT_EQ(Ring(6, 4), kRingUpperRight);
  EXPECT_EQ(Ring(4, 6), kRingLowerLeft);
  EXPECT_EQ(Ring(6, 6), kRingLowerRight);
  EXPECT_EQ(Ring(4, 5), kRingLeft);
  EXPECT_EQ(Ring(6, 5), kRingRight);
  EXPECT_EQ(Ring(5, 4), kRingAbove);
  EXPECT_EQ(Ring(5, 6), kRingBelow);
  EXPECT_EQ(Ring(5, 5), 0);
  EXPECT_EQ(CountNonZero(AdjacencyGrid), 8);
}

TEST(AdjacencyRing, TwoByTwoHasEightSidesAndFourCorners) {
  Place(10, 20, 30, 2);
  MarkAdjacentSquares(10);
  EXPECT_EQ(CountNonZero(AdjacencyGrid), 12);
  for (int y : {30, 31}) {
    EXPECT_EQ(Ring(19, y), kRingLeft);
    EXPECT_EQ(Ring(22, y), kRingRight);
  }
  for (int x : {20, 21}) {
    EXPECT_EQ(Ring(x, 29), kRingAbove);
    EXPECT_EQ(Ring(x, 32), kRingBelow);
  }
  EXPECT_EQ(Ring(22, 32), kRingLowerRight);
}

TEST(AdjacencyRing, CutAtTheMapCorner) {
  // A 2 by 2 creature in the top-left corner keeps only its right column,
  // bottom row and lower-right corner.
  Place(10, 0, 0, 2);
  MarkAdjacentSquares(10);
  EXPECT_EQ(CountNonZero(AdjacencyGrid), 5);
  EXPECT_EQ(Ring(2, 0), kRingRight);
  EXPECT_EQ(Ring(2, 1), kRingRight);
  EXPECT_EQ(Ring(0, 2), kRingBelow);
  EXPECT_EQ(Ring(1, 2), kRingBelow);
  EXPECT_EQ(Ring(2, 2), kRingLowerRight);

  Place(11, 58, 58, 2);
  MarkAdjacentSquares(11);
  EXPECT_EQ(CountNonZero(AdjacencyGrid), 5);
  EXPECT_EQ(Ring(57, 57), kRingUpperLeft);
  EXPECT_EQ(Ring(57, 59), kRingLeft);
  EXPECT_EQ(Ring(59, 57), kRingAbove);
}

TEST(NeighbourDirections, CodesAndEdges) {
  MarkNeighbourDirections(10, 10);
  const struct { int x, y, code; } cases[] = {
      {9, 9, 1}, {11, 9, 2}, {9, 11, 3}, {11, 11, 4}, {9, 10, 5}, {11, 10, 6}, {10, 9, 7}, {10, 11, 8}, {10, 10, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(NeighbourGrid[SquareIndex(c.x, c.y)], c.code) << c.x << "," << c.y;
  MarkNeighbourDirections(0, 59);
  EXPECT_EQ(CountNonZero(NeighbourGrid), 3);
  EXPECT_EQ(NeighbourGrid[SquareIndex(1, 58)], 2);
}

TEST(Flanking, OppositeCornersAndSidesOnly) {
  // Target at (10,10); attacker and ally of the party side around it.
  const struct { int ax, ay, bx, by; bool flanks; } cases[] = {
      {9, 9, 11, 11, true},    // corners 1 and 4
      {11, 9, 9, 11, true},    // corners 2 and 3
      {9, 10, 11, 10, true},   // left and right
      {10, 9, 10, 11, true},   // above and below
      {9, 9, 11, 9, false},    // corners 1 and 2
      {9, 10, 10, 11, false},  // left and below
      {9, 9, 12, 12, false},   // the ally is not on the ring
  };
  for (const auto& c : cases) {
    Place(1, c.ax, c.ay, 1, 1);
    Place(2, c.bx, c.by, 1, 5);
    Place(20, 10, 10, 1, 2);
    SetTurnOrder({1, 2, 20});
    EXPECT_EQ(IsFlanking(1, 20), c.flanks) << c.ax << "," << c.ay << " / " << c.bx << "," << c.by;
  }
}

TEST(Flanking, AllyMustBeAbleAndOfTheSameSide) {
  Place(1, 9, 9, 1, 1);
  Place(2, 11, 11, 1, 1);
  Place(20, 10, 10, 1, 2);
  Place(21, 0, 0, 1, 2);
  SetTurnOrder({1, 2, 20, 21});
  EXPECT_TRUE(IsFlanking(1, 20));
  EXPECT_FALSE(IsFlanking(-1, 20));
  EXPECT_FALSE(IsFlanking(1, -1));

  // Not in the turn order: no help.
  SetTurnOrder({1, 20});
  EXPECT_FALSE(IsFlanking(1, 20));
  SetTurnOrder({1, 2, 20, 21});

  // A talker is nobody's ally.
  Creatures[2].allegiance = kAllegianceTalker;
  EXPECT_FALSE(IsFlanking(1, 20));
  Creatures[2].allegiance = kAllegianceParty;

  for (uint32_t id : {98u, 97u, 89u, 167u, 85u, 84u, 92u, 86u, 118u, 82u, 100u, 111u, 109u}) {
    ASSERT_TRUE(AddCondition(2, id, 3, 0, kSourceSpell, 0));
    EXPECT_FALSE(IsFlanking(1, 20)) << "condition " << id;
    RemoveCondition(2, id);
    EXPECT_TRUE(IsFlanking(1, 20)) << "after condition " << id;
  }

  // Grappling someone else keeps it out; grappling the target does not.
  ASSERT_TRUE(AddCondition(2, kCondGrappling, 3, 21, kSourceSpell, 0));
  EXPECT_FALSE(IsFlanking(1, 20));
  Creatures[2].conditions[FindCondition(2, kCondGrappling)].value = 20;
  EXPECT_TRUE(IsFlanking(1, 20));
}

// The footprint scanned square by square, x-major, the first nearest kept
// (nothing nearer than 10,000 feet: the upper-left square).
GridSquare ScannedNearest(int x0, int y0, int w, int h, int x, int y) {
  GridSquare best = {x0, y0};
  int bestFeet = 10000;
  for (int sx = x0; sx < x0 + w; ++sx)
    for (int sy = y0; sy < y0 + h; ++sy) {
      const int dx = std::abs(sx - x), dy = std::abs(sy - y);
      const int feet = 5 * std::max(dx, dy) + 2 * std::min(dx, dy);
      if (feet < bestFeet) {
        bestFeet = feet;
        best = {sx, sy};
      }
    }
  return best;
}

TEST(NearestFootprintSquare, WorkedOutInPlaceAsTheScanFindsIt) {
  std::mt19937 rng(5);
  auto roll = [&rng](int lo, int hi) { return lo + static_cast<int>(rng() % static_cast<uint32_t>(hi - lo + 1)); };
  for (int k = 0; k < 4000; ++k) {
    const int x0 = roll(-3, 62), y0 = roll(-3, 62), w = roll(0, 4), h = roll(0, 4);
    // Points on and around the map, and now and then thousands of squares off.
    const int far = k % 50 == 0 ? 3000 : 0;
    const int x = roll(-5, 65) + far, y = roll(-5, 65) - far / 2;
    Place(5, x0, y0);
    Creatures[5].footprintWidth.current = w;
    Creatures[5].footprintHeight.current = h;
    const GridSquare want = x == x0 && y == y0 ? GridSquare{x0, y0} : ScannedNearest(x0, y0, w, h, x, y);
    const GridSquare got = NearestFootprintSquare(5, x, y);
    ASSERT_EQ(got.x, want.x) << x0 << "," << y0 << " " << w << "x" << h << " to " << x << "," << y;
    ASSERT_EQ(got.y, want.y) << x0 << "," << y0 << " " << w << "x" << h << " to " << x << "," << y;
    if (w >= 1 && h >= 1) {
      const GridSquare box = NearestSquareOfFootprint(x0, y0, w, h, x, y);
      ASSERT_EQ(box.x, want.x);
      ASSERT_EQ(box.y, want.y);
    }
  }
  // An id outside the table gives the point itself.
  EXPECT_EQ(NearestFootprintSquare(-1, 7, 9).x, 7);
  EXPECT_EQ(NearestFootprintSquare(kCreatureCount, 7, 9).y, 9);
}

TEST(NearestFootprintSquare, TableOfFootprints) {
  const struct { int size, px, py, ex, ey; } cases[] = {
      {1, 20, 20, 10, 10},  // 1 by 1: always its square
      {2, 13, 11, 11, 11},
      {2, 5, 5, 10, 10},
      {2, 12, 5, 11, 10},
      {2, 10, 10, 10, 10},  // its own square
      {3, 11, 20, 11, 12},  // straight below the middle column
      {3, 20, 11, 12, 11},
      {3, 11, 11, 11, 11},  // inside: the square itself
      {3, 0, 30, 10, 12},
  };
  for (const auto& c : cases) {
    Place(5, 10, 10, c.size);
    const GridSquare s = NearestFootprintSquare(5, c.px, c.py);
    EXPECT_EQ(s.x, c.ex) << c.size << " to " << c.px << "," << c.py;
    EXPECT_EQ(s.y, c.ey) << c.size << " to " << c.px << "," << c.py;
  }
}
