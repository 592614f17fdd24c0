#include <cstring>

#include "combat/turns/decision_words.h"
#include "combat/turns/position_grids.h"
#include "combat/turns/valuation_grid.h"
#include "map/combatant_grid.h"
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
void WeighRing(int creature, int ringOf, int32_t amount) {
  const CreatureRecord& c = Creatures[creature];
  const int w = c.footprintWidth.current, h = c.footprintHeight.current;
  const SquareBox ring = RingBox(ringOf, 0);
  const SquareBox box = FootprintReach(creature, ring.x0, ring.y0, ring.x1, ring.y1);
  for (int x = box.x0; x <= box.x1; ++x)
    for (int y = box.y0; y <= box.y1; ++y) {
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
    SyncCombatantGrid();
    if (OnGrid(cx, cy)) ValuationGrid[SquareIndex(cx, cy)] = 7;
    for (int x = 0; x < kMapSide; ++x)
      for (int y = 0; y < kMapSide; ++y) {
        int32_t& v = ValuationGrid[SquareIndex(x, y)];
        if (!FootprintFitsAtSynced(x, y, creature, 1))
          v = kUnfit;
        else if (NeighbourGrid[SquareIndex(x, y)] != 0 && !IsDiagonalStepBlocked(creature, x, cy, cx, y))
          v = 7;
      }
  }
  // Away from every able enemy.
  for (int i = 0; i < TurnCount(); ++i) {
    const int e = TurnOrder[i].creature;
    if (!IsValidCreature(e) || e == creature || !AreEnemies(creature, e)) continue;
    if (HasCondition(e, kCondSleeping) || HasCondition(e, kCondParalyzed)) continue;
    MarkAdjacentSquares(e);
    WeighRing(creature, e, -9);
  }
  // Beside a helpless ally (the creature itself counts).
  for (int i = 0; i < TurnCount(); ++i) {
    const int a = TurnOrder[i].creature;
    if (!IsValidCreature(a) || (a != creature && !AreAllies(creature, a))) continue;
    const bool helpless = HasCondition(a, kCondSleeping) || (whirlwind && HasCondition(a, kCondParalyzed));
    if (!helpless) continue;
    MarkAdjacentSquares(a);
    WeighRing(creature, a, 21);
  }
  ScoreGridAdjustments(creature);
  ScoreGridReachability(creature, 0, 1, 0, 0);
  return 1;
}

}  // namespace

int BuildWithdrawValuationGrid(int creature, uint8_t stepOnly) { return BuildKeepAwayGrid(creature, stepOnly, false); }

int BuildWhirlwindValuationGrid(int creature, uint8_t stepOnly) { return BuildKeepAwayGrid(creature, stepOnly, true); }
