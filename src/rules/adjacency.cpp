#include "rules/adjacency.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "engine/reset_words.h"
#include "state/turn_order.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"

int32_t AdjacencyGrid[kMapSquares];
int32_t NeighbourGrid[kMapSquares];

namespace {

void MarkSquare(int32_t* grid, int x, int y, int32_t code) {
  if (x < 0 || y < 0 || x >= kMapSide || y >= kMapSide) return;
  grid[SquareIndex(x, y)] = code;
}

// Conditions that keep an ally from threatening its side of the target.
constexpr uint32_t kHelplessIds[] = {kCondNauseated, kCondConfused, kCondInsane, kCondSurprised,
                                     kCondSleeping, kCondParalyzed, kCondPetrified, kCondDancing};
constexpr uint32_t kDisabledIds[] = {kCondCowering, kCondStunned, kCondDazed, kCondDead, kCondUnconscious};

bool CanFlankWith(int ally, int target) {
  for (uint32_t id : kHelplessIds)
    if (HasCondition(ally, id)) return false;
  for (uint32_t id : kDisabledIds)
    if (HasCondition(ally, id)) return false;
  const int grapple = FindCondition(ally, kCondGrappling);
  if (grapple != -1 && Creatures[ally].conditions[grapple].value != target) return false;
  return true;
}

// Whether a square of the creature's footprint carries the code in the adjacency grid.
bool FootprintOnCode(int creature, int32_t code) {
  const CreatureRecord& c = Creatures[creature];
  for (int x = c.squareX; x < c.squareX + c.footprintWidth.current; ++x)
    for (int y = c.squareY; y < c.squareY + c.footprintHeight.current; ++y) {
      if (x < 0 || y < 0 || x >= kMapSide || y >= kMapSide) continue;
      if (AdjacencyGrid[SquareIndex(x, y)] == code) return true;
    }
  return false;
}

// The box that holds every marked square of the adjacency grid; whole-grid
// when something other than MarkAdjacentSquares may have written it.
struct Box {
  int x0, y0, x1, y1;
};
constexpr Box kWholeGrid = {0, 0, kMapSide - 1, kMapSide - 1};
Box MarkedBox = kWholeGrid;

void ClearAdjacencyGrid() {
  const Box b = MarkedBox;
  if (b.x0 <= 0 && b.y0 <= 0 && b.x1 >= kMapSide - 1 && b.y1 >= kMapSide - 1) {
    std::memset(AdjacencyGrid, 0, sizeof AdjacencyGrid);
    return;
  }
  for (int x = std::max(0, b.x0); x <= std::min(kMapSide - 1, b.x1); ++x)
    for (int y = std::max(0, b.y0); y <= std::min(kMapSide - 1, b.y1); ++y) AdjacencyGrid[SquareIndex(x, y)] = 0;
}

}  // namespace

void NoteAdjacencyGridWritten() { MarkedBox = kWholeGrid; }

void NoteAdjacencyGridWrittenWithin(int x0, int y0, int x1, int y1) {
  MarkedBox = {std::min(MarkedBox.x0, x0), std::min(MarkedBox.y0, y0), std::max(MarkedBox.x1, x1),
               std::max(MarkedBox.y1, y1)};
}

void MarkAdjacentSquares(int creature) {
  ClearAdjacencyGrid();
  if (!IsValidCreature(creature)) return;
  const CreatureRecord& c = Creatures[creature];
  const int x0 = c.squareX, y0 = c.squareY;
  const int w = c.footprintWidth.current, h = c.footprintHeight.current;
  // Only the box round this ring will need clearing next time.
  MarkedBox = {x0 - 1, y0 - 1, x0 + w, y0 + h};
  for (int y = y0; y < y0 + h; ++y) {
    MarkSquare(AdjacencyGrid, x0 - 1, y, kRingLeft);
    MarkSquare(AdjacencyGrid, x0 + w, y, kRingRight);
  }
  for (int x = x0; x < x0 + w; ++x) {
    MarkSquare(AdjacencyGrid, x, y0 - 1, kRingAbove);
    MarkSquare(AdjacencyGrid, x, y0 + h, kRingBelow);
  }
  MarkSquare(AdjacencyGrid, x0 - 1, y0 - 1, kRingUpperLeft);
  MarkSquare(AdjacencyGrid, x0 + w, y0 - 1, kRingUpperRight);
  MarkSquare(AdjacencyGrid, x0 - 1, y0 + h, kRingLowerLeft);
  MarkSquare(AdjacencyGrid, x0 + w, y0 + h, kRingLowerRight);
}

void MarkNeighbourDirections(int x, int y) {
  std::memset(NeighbourGrid, 0, sizeof NeighbourGrid);
  MarkSquare(NeighbourGrid, x - 1, y - 1, kRingUpperLeft);
  MarkSquare(NeighbourGrid, x + 1, y - 1, kRingUpperRight);
  MarkSquare(NeighbourGrid, x - 1, y + 1, kRingLowerLeft);
  MarkSquare(NeighbourGrid, x + 1, y + 1, kRingLowerRight);
  MarkSquare(NeighbourGrid, x - 1, y, kRingLeft);
  MarkSquare(NeighbourGrid, x + 1, y, kRingRight);
  MarkSquare(NeighbourGrid, x, y - 1, kRingAbove);
  MarkSquare(NeighbourGrid, x, y + 1, kRingBelow);
}

int32_t OppositeRingCode(int32_t code) {
  switch (code) {
    case kRingUpperLeft: return kRingLowerRight;
    case kRingLowerRight: return kRingUpperLeft;
    case kRingUpperRight: return kRingLowerLeft;
    case kRingLowerLeft: return kRingUpperRight;
    case kRingLeft: return kRingRight;
    case kRingRight: return kRingLeft;
    case kRingAbove: return kRingBelow;
    case kRingBelow: return kRingAbove;
    default: return kRingNone;
  }
}

bool AreAllies(int a, int b) {
  if (!IsValidCreature(a) || !IsValidCreature(b)) return false;
  const int32_t sa = Creatures[a].allegiance, sb = Creatures[b].allegiance;
  return (IsPartyAllegiance(sa) && IsPartyAllegiance(sb)) || (sa == kAllegianceEnemy && sb == kAllegianceEnemy);
}

bool IsFlanking(int attacker, int target) {
  if (!IsValidCreature(attacker) || !IsValidCreature(target)) return false;
  MarkAdjacentSquares(target);
  const CreatureRecord& a = Creatures[attacker];
  for (int x = a.squareX; x < a.squareX + a.footprintWidth.current; ++x)
    for (int y = a.squareY; y < a.squareY + a.footprintHeight.current; ++y) {
      if (x < 0 || y < 0 || x >= kMapSide || y >= kMapSide) continue;
      const int32_t opposite = OppositeRingCode(AdjacencyGrid[SquareIndex(x, y)]);
      if (opposite == kRingNone) continue;
      for (int i = 0; i < TurnEntryCount && i < kTurnOrderEntries; ++i) {
        const int other = TurnOrder[i].creature;
        if (!IsValidCreature(other) || other == attacker || other == target) continue;
        // Where it stands is asked before what state it is in: the cheaper test first.
        if (!AreAllies(attacker, other) || !FootprintOnCode(other, opposite)) continue;
        if (CanFlankWith(other, target)) return true;
      }
    }
  return false;
}

GridSquare NearestFootprintSquare(int creature, int x, int y) {
  if (!IsValidCreature(creature)) return {x, y};
  const CreatureRecord& c = Creatures[creature];
  const int w = c.footprintWidth.current, h = c.footprintHeight.current;
  // A footprint without squares leaves the creature's own square.
  if (w < 1 || h < 1) return {c.squareX, c.squareY};
  return NearestSquareOfFootprint(c.squareX, c.squareY, w, h, x, y);
}

int ListCreaturesAroundSquare(int x, int y) {
  int count = 0;
  for (int i = 0; i < TurnEntryCount && i < kTurnOrderEntries; ++i) {
    const int id = TurnOrder[i].creature;
    if (!IsValidCreature(id)) continue;
    const CreatureRecord& c = Creatures[id];
    const bool touches = c.squareX - 1 <= x && x <= c.squareX + c.footprintWidth.current &&
                         c.squareY - 1 <= y && y <= c.squareY + c.footprintHeight.current;
    if (touches) ++count;
  }
  return count;
}

void ResetAdjacencyState() {
  ResetWords(AdjacencyGrid);
  MarkedBox = kWholeGrid;
  ResetWords(NeighbourGrid);
}
