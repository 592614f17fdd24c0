#include "map/movement_rules.h"

#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/reset_words.h"
#include "map/fighter_tests.h"
#include "map/map_record.h"
#include "map/square_grids.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "state/turn_order.h"

uint8_t SeekAdjacent = 0;
uint8_t WalkToInteraction[2] = {0, 0};
uint8_t MapEntryFlag = 0;

namespace {

// 1 the party's team, 2 the enemy side, 0 a side hostile to all.
int TeamOf(int creature) {
  const int s = Creatures[creature].allegiance;
  if (IsPartyAllegiance(s)) return 1;
  return s == kAllegianceEnemy ? 2 : 0;
}

bool OnGrid(int x, int y) { return x >= 0 && y >= 0 && x < kMapSide && y < kMapSide; }

constexpr int32_t kFireElementalKind = 32;
constexpr int32_t kSizeLarge = 4;

// Twice the cost, or half again with Blind-Fight.
int HinderedSenseCost(const CreatureRecord& c, int cost) {
  return c.feats[kFeatBlindFight] != 0 ? cost + cost / 2 : cost * 2;
}

// Whether the creature, standing on (x, y), is in a magic area that slows it.
bool SlowedByMagicArea(int creature, int x, int y) {
  CreatureRecord& c = Creatures[creature];
  const int keepX = c.squareX, keepY = c.squareY;
  c.squareX = x;
  c.squareY = y;
  const bool slowed = IsInMagicArea(creature, kEffectEntangle) ||
                      (c.kind != kFireElementalKind && IsInMagicArea(creature, kEffectWeb));
  c.squareX = keepX;
  c.squareY = keepY;
  return slowed;
}

bool IsDifficultGround(int x, int y) {
  if (!OnGrid(x, y)) return false;
  const int32_t floor = CurrentMap.At(kLayerFloor, x, y);
  return floor == 123 || floor == 124;
}

}  // namespace

bool AreEnemies(int a, int b) {
  if (a < 0 || b < 0 || a >= kCreatureCount || b >= kCreatureCount || a == b) return false;
  const int ta = TeamOf(a), tb = TeamOf(b);
  if (ta == 0 || tb == 0) return true;
  return ta != tb;
}

int CalculateMoveCost(int creature, int enteredX, int enteredY, int leftX, int leftY, uint32_t applyRules) {
  if (enteredX == leftX && enteredY == leftY) {
    if (DebugMode == 1)
      LogMessage("Called CalculateMoveCost for move from (%i,%i) to (%i,%i)", leftX, leftY, enteredX, enteredY);
    return 0;
  }
  int cost = (enteredX != leftX && enteredY != leftY) ? 7 : 5;
  if (applyRules == 0 || !IsValidCreature(creature)) return cost;
  const CreatureRecord& c = Creatures[creature];
  if (HamperingImmunityCode(creature) != 1) {
    if (SlowedByMagicArea(creature, enteredX, enteredY))
      cost *= 2;
    else if (c.size.current < kSizeLarge && IsDifficultGround(enteredX, enteredY))
      cost *= 2;
  }
  // Unable to see (neither blind already nor seeing truly) slows the step;
  // failing that, a creature that finds its way by hearing is slowed while
  // silenced but not deaf.
  if (HasCondition(creature, kCondCantSee) && !HasCondition(creature, kCondBlinded) &&
      !HasCondition(creature, kCondTrueSeeing))
    return HinderedSenseCost(c, cost);
  if (c.special[kSenseKindWord] == 5 && HasCondition(creature, kCondSilenced) && !HasCondition(creature, kCondDeafened))
    return HinderedSenseCost(c, cost);
  return cost;
}

bool IsSquareObstructed(int x, int y) {
  if (!OnGrid(x, y)) return true;
  if (InCombat == 1 && MagicAreaGrid[SquareIndex(x, y)].kind == kEffectSolid) return true;
  if (CurrentMap.At(kLayerWalls, x, y) == 0) return false;
  return !TouchesBlockCode(x, y);
}

bool IsDiagonalStepBlocked(int creature, int ax, int ay, int bx, int by) {
  if (creature != -1 && IsValidCreature(creature)) {
    const CreatureRecord& c = Creatures[creature];
    if (c.footprintWidth.current > 1 || c.footprintHeight.current > 1) return false;
  }
  if (ax == bx || ay == by) return false;
  return IsCornerObstructed(ax, ay) || IsCornerObstructed(bx, by);
}

void ResetMovementRulesState() {
  SeekAdjacent = 0;
  ResetWords(WalkToInteraction);
  MapEntryFlag = 0;
}
