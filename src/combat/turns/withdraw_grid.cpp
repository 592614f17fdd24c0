#include <cstring>

#include "combat/turns/decision_words.h"
#include "combat/turns/position_grids.h"
#include "combat/turns/valuation_grid.h"
#include "map/fighter_tests.h"
#include "map/movement_rules.h"
#include "rules/adjacency.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "state/turn_order.h"

namespace {

int TurnCount() { return TurnEntryCount < kTurnOrderEntries ? TurnEntryCount : kTurnOrderEntries; }
bool OnGrid(int x, int y) { return x >= 0 && y >= 0 && x < kMapSide && y < kMapSide; }

// Adds the amount to every fit square where the creature's footprint (inside
// the map) would touch the marked ring, once per ring.
void WeighRing(int creature, int32_t amount) {
  const CreatureRecord& c = Creatures[creature];
  const int w = c.footprintWidth.current, h = c.footprintHeight.current;
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y) {
      int32_t& v = ValuationGrid[SquareIndex(x, y)];
      if (v == kUnfit) continue;
      bool touches = false;
      for (int i = x; i < x + w && !touches; ++i)
        for (int j = y; j < y + h; ++j)
          if (OnGrid(i, j) && AdjacencyGrid[SquareIndex(i, j)] != 0) {
            touches = true;
            break;
          }
      if (touches) v += amount;
    }
}

int BuildKeepAwayGrid(int creature, uint8_t stepOnly, bool whirlwind) {
  if (!IsValidCreature(creature)) return 1;
  const CreatureRecord& c = Creatures[creature];
  std::memset(ValuationGrid, 0, sizeof ValuationGrid);
  // Only the five-foot step: its own square and the neighbours it may step to.
  if (stepOnly == 1 && MayTakeFiveFootStep(creature)) {
    const int cx = c.squareX, cy = c.squareY;
    MarkNeighbourDirections(cx, cy);
    if (OnGrid(cx, cy)) ValuationGrid[SquareIndex(cx, cy)] = 7;
    for (int x = 0; x < kMapSide; ++x)
      for (int y = 0; y < kMapSide; ++y) {
        int32_t& v = ValuationGrid[SquareIndex(x, y)];
        if (!FootprintFitsAt(x, y, creature, 1))
          v = kUnfit;
        else if (NeighbourGrid[SquareIndex(x, y)] != 0 && !IsDiagonalStepBlocked(cx, cy, x, y, creature))
          v = 7;
      }
  }
  // Away from every able enemy.
  for (int i = 0; i < TurnCount(); ++i) {
    const int e = TurnOrder[i].creature;
    if (!IsValidCreature(e) || e == creature || !AreEnemies(creature, e)) continue;
    if (HasCondition(e, kCondSleeping) || HasCondition(e, kCondParalyzed)) continue;
    MarkAdjacentSquares(e);
    WeighRing(creature, -9);
  }
  // Beside a helpless ally (the creature itself counts).
  for (int i = 0; i < TurnCount(); ++i) {
    const int a = TurnOrder[i].creature;
    if (!IsValidCreature(a) || (a != creature && !AreAllies(creature, a))) continue;
    const bool helpless = HasCondition(a, kCondSleeping) || (whirlwind && HasCondition(a, kCondParalyzed));
    if (!helpless) continue;
    MarkAdjacentSquares(a);
    WeighRing(creature, 21);
  }
  ScoreGridAdjustments(creature);
  ScoreGridReachability(creature, 0, 1, 0, 0);
  return 1;
}

}  // namespace

int BuildWithdrawValuationGrid(int creature, uint8_t stepOnly) { return BuildKeepAwayGrid(creature, stepOnly, false); }

int BuildWhirlwindValuationGrid(int creature, uint8_t stepOnly) { return BuildKeepAwayGrid(creature, stepOnly, true); }
