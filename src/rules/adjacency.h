// The adjacency questions the turn cycle, the computer's decisions and the
// rules ask over and over: the ring of squares around a creature, the eight
// neighbours of a square, flanking, and the footprint square nearest to a
// point. They look only at the combatants of the turn order.
#pragma once
#include <cstdint>

#include "map/map_record.h"

// Ring codes around a creature's footprint: corners 1 upper-left, 2
// upper-right, 3 lower-left, 4 lower-right; 5 the column left of it, 6 the
// column right of it, 7 the row above, 8 the row below; 0 elsewhere.
enum RingCode : int32_t {
  kRingNone = 0,
  kRingUpperLeft = 1,
  kRingUpperRight = 2,
  kRingLowerLeft = 3,
  kRingLowerRight = 4,
  kRingLeft = 5,
  kRingRight = 6,
  kRingAbove = 7,
  kRingBelow = 8,
};

// Rewritten by MarkAdjacentSquares; x * 60 + y.
extern int32_t AdjacencyGrid[kMapSquares];
// Rewritten by MarkNeighbourDirections: the same codes for the eight
// neighbours of one square (1 (x-1, y-1), 2 (x+1, y-1), 3 (x-1, y+1),
// 4 (x+1, y+1), 5 (x-1, y), 6 (x+1, y), 7 (x, y-1), 8 (x, y+1)).
extern int32_t NeighbourGrid[kMapSquares];

struct GridSquare {
  int32_t x;
  int32_t y;
};

// Clears the adjacency grid and writes the ring around the creature's
// footprint (-1, or any id outside the table, only clears). Squares outside
// 0 to 59 are skipped.
void MarkAdjacentSquares(int creature);
// Whoever writes the adjacency grid other than through MarkAdjacentSquares
// says so, so that the next marking clears the whole grid again.
void NoteAdjacencyGridWritten();
// The same when the squares written all lie in the box [x0, x1] x [y0, y1].
void NoteAdjacencyGridWrittenWithin(int x0, int y0, int x1, int y1);
// Clears the neighbour grid and writes the eight direction codes around (x, y).
void MarkNeighbourDirections(int x, int y);
// The code opposite a ring code (1-4, 2-3, 5-6, 7-8), 0 for anything else.
int32_t OppositeRingCode(int32_t code);

// Both allegiances among 1, 5 and 6, or both 2.
bool AreAllies(int a, int b);
// True when an able ally of the attacker (not helpless, not disabled, and
// when grappling then grappling this target) stands on the target's ring on
// the side opposite a square of the attacker's. False when either is -1.
bool IsFlanking(int attacker, int target);

// The combatants of the turn order whose footprint covers (x, y) or one of
// its eight neighbours.
int ListCreaturesAroundSquare(int x, int y);

// The square of the creature's footprint nearest to (x, y) by 5 feet a step
// along the longer axis and 2 more per diagonal step, the first in x-major
// order on ties; the creature's own square when (x, y) is that square or the
// footprint is 1 by 1. An id outside the table gives (x, y) itself.
GridSquare NearestFootprintSquare(int creature, int x, int y);
// The same for a footprint of w by h squares (both at least 1) with its
// upper-left square at (x0, y0). The feet grow with each axis's gap alone, so
// the square nearest to (x, y) is the point moved into the footprint along
// each axis, the only square that near; a point 10,000 feet or more away
// gives the upper-left square, as the scan of the footprint does.
inline GridSquare NearestSquareOfFootprint(int x0, int y0, int w, int h, int x, int y) {
  const int nx = x < x0 ? x0 : x > x0 + w - 1 ? x0 + w - 1 : x;
  const int ny = y < y0 ? y0 : y > y0 + h - 1 ? y0 + h - 1 : y;
  const int dx = nx > x ? nx - x : x - nx, dy = ny > y ? ny - y : y - ny;
  if (5 * (dx > dy ? dx : dy) + 2 * (dx < dy ? dx : dy) >= 10000) return {x0, y0};
  return {nx, ny};
}

// Puts the words above back to their start-up values (a new game, and tests).
void ResetAdjacencyState();
