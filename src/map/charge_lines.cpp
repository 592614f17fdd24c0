#include "map/charge_lines.h"

#include <algorithm>
#include <cstring>

#include "map/combatant_grid.h"
#include "map/fighter_tests.h"
#include "map/line_of_effect.h"
#include "map/movement_rules.h"
#include "map/path_finding.h"
#include "map/square_grids.h"
#include "rules/adjacency.h"
#include "rules/creature_record.h"
#include "state/combat_action.h"
#include "state/fighter_slots.h"
#include "state/turn_order.h"

int32_t ChargeStopX = -1, ChargeStopY = -1;

namespace {

bool OnGrid(int x, int y) { return x >= 0 && y >= 0 && x < kMapSide && y < kMapSide; }
int Width(const CreatureRecord& c) { return c.footprintWidth.current > 0 ? c.footprintWidth.current : 1; }
int Height(const CreatureRecord& c) { return c.footprintHeight.current > 0 ? c.footprintHeight.current : 1; }
int TurnCount() { return TurnEntryCount < kTurnOrderEntries ? TurnEntryCount : kTurnOrderEntries; }

FighterSlot* SlotOf(int creature) {
  if (!IsValidCreature(creature)) return nullptr;
  const int s = Creatures[creature].fighterSlot;
  return (s >= 0 && s < kFighterSlots) ? &FighterSlots[s] : nullptr;
}

// The creature standing on the square: a fallen one taken off the map, whose
// footprint is left where it fell, is passed over (a charge at the creature
// that stepped onto its square ran at the fallen one's footprint and ended
// out of reach).
int StandingAt(int x, int y) {
  for (int s = 0; s < FighterCount && s < kFighterSlots; ++s) {
    const int c = FighterSlots[s].creature;
    if (FootprintCovers(c, x, y) && Creatures[c].present == 1) return c;
  }
  return -1;
}

}  // namespace

bool CanChargeAlongLine(int fromX, int fromY, int toX, int toY, int target) {
  const int turn = CombatAction.currentEntry;
  if (turn < 0 || turn >= TurnCount() || !IsValidCreature(target)) return false;
  const int fighter = TurnOrder[turn].creature;
  FighterSlot* slot = SlotOf(fighter);
  SyncCombatantGrid();
  if (!IsValidCreature(fighter) || !slot) return false;
  LayThreatMarks(fighter);
  const int n = TraceLine(fromX, fromY, toX, toY, fighter);
  if (n < 2) return false;

  CreatureRecord& c = Creatures[fighter];
  const int w = Width(c), h = Height(c);
  const int sx = c.squareX, sy = c.squareY;
  // The first position where the fighter touches the target ends the run.
  int stop = -1;
  for (int k = 1; k < n && stop < 0; ++k) {
    c.squareX = slot->pathX[k];
    c.squareY = slot->pathY[k];
    if (AreAdjacent(fighter, target)) stop = k;
  }
  c.squareX = sx;
  c.squareY = sy;
  if (stop < 2) return false;
  ChargeStopX = slot->pathX[stop];
  ChargeStopY = slot->pathY[stop];

  const int fireCode = FireImmunityCode(fighter), hamper = HamperingImmunityCode(fighter);
  const bool sighted = IsSightDependent(fighter, 0);
  auto squareFree = [&](int x, int y) {
    if (!OnGrid(x, y)) return false;
    const int sq = SquareIndex(x, y);
    if (OtherCombatantForSearches(x, y, fighter, -1) != -1) return false;
    if (BlockedGrid[sq] != kSquareFlooded) return false;
    const uint32_t kind = MagicAreaGrid[sq].kind;
    if (kind == kEffectInsectPlague || kind == kEffectSolid) return false;
    if (kind == kEffectDarkness && sighted) return false;
    if ((kind == kEffectEntangle || kind == kEffectWeb) && hamper != 1) return false;
    if (kind == kEffectFire && fireCode != 1) return false;
    const int32_t floor = CurrentMap.layers[kLayerFloor][sq];
    return floor != 123 && floor != 124;
  };
  auto cornerFree = [](int x, int y) {
    if (!OnGrid(x, y)) return false;
    const int sq = SquareIndex(x, y);
    return BlockedGrid[sq] == kSquareFlooded || CurrentMap.layers[kLayerWalls][sq] == 0 || TouchesBlockCode(x, y);
  };

  int cost = 0;
  const int32_t movesLeft = CombatAction.movesLeft;
  for (int i = 0; i < TurnCount(); ++i) TurnOrder[i].threatMark = TurnOrder[i].opportunityMark;
  int prevX = slot->pathX[0], prevY = slot->pathY[0];
  for (int k = 1; k <= stop; ++k) {
    const int x = slot->pathX[k], y = slot->pathY[k];
    for (int i = x; i < x + w; ++i)
      for (int j = y; j < y + h; ++j)
        if (!squareFree(i, j)) return false;
    const bool diagonal = x != prevX && y != prevY;
    if (diagonal && (!cornerFree(x, prevY) || !cornerFree(prevX, y))) return false;
    cost += diagonal ? 7 : 5;
    if (cost > movesLeft) return false;
    if (CountThreatsAtSquare(prevX, prevY, fighter) > 0) StoreArrow(prevX, prevY, 33);
    StoreArrow(x, y, Direction8(prevX, prevY, x, y) + (movesLeft - cost >= c.speed.current ? 0 : 8));
    prevX = x;
    prevY = y;
  }
  return true;
}

bool CanReachTargetFrom(int targetX, int targetY, int fromX, int fromY) {
  const int target = StandingAt(targetX, targetY);
  if (!IsValidCreature(target)) return false;
  bool found = CanChargeAlongLine(fromX, fromY, targetX, targetY, target);
  if (!found) {
    MarkAdjacentSquares(target);
    static int32_t ring[kMapSquares];
    std::memcpy(ring, AdjacencyGrid, sizeof ring);
    for (int x = 0; x < kMapSide && !found; ++x)
      for (int y = 0; y < kMapSide && !found; ++y)
        found = ring[SquareIndex(x, y)] != 0 && CanChargeAlongLine(fromX, fromY, x, y, target);
  }
  // The square the charge strikes from becomes the fighter's destination.
  const int fighter = CombatAction.currentEntry >= 0 && CombatAction.currentEntry < TurnCount()
                          ? TurnOrder[CombatAction.currentEntry].creature
                          : -1;
  if (found && IsValidCreature(fighter)) {
    Creatures[fighter].destinationX = ChargeStopX;
    Creatures[fighter].destinationY = ChargeStopY;
  }
  return found;
}
