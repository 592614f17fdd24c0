#include <algorithm>
#include <cstring>

#include "combat/resolution/attack_resolution.h"
#include "combat/turns/adjacency_queries.h"
#include "combat/turns/decision_words.h"
#include "combat/turns/position_grids.h"
#include "combat/turns/target_terms.h"
#include "combat/turns/valuation_grid.h"
#include "map/fighter_tests.h"
#include "map/movement_rules.h"
#include "rules/adjacency.h"
#include "rules/attack_profile.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "state/combat_action.h"
#include "state/turn_order.h"

namespace {

int TurnCount() { return TurnEntryCount < kTurnOrderEntries ? TurnEntryCount : kTurnOrderEntries; }
bool OnGrid(int x, int y) { return x >= 0 && y >= 0 && x < kMapSide && y < kMapSide; }

AttackProfile Profile;

// The largest code under the footprint placed at (x, y) within [low, high].
bool FootprintTouches(int x, int y, int w, int h, int32_t low, int32_t high) {
  for (int i = x; i < x + w; ++i)
    for (int j = y; j < y + h; ++j) {
      if (!CurrentMap.Inside(i, j) || !OnGrid(i, j)) continue;
      const int32_t code = AdjacencyGrid[SquareIndex(i, j)];
      if (code >= low && code <= high) return true;
    }
  return false;
}

// The distance in feet from the creature's footprint to the nearest enemy footprint square.
int NearestEnemyFeet(int creature) {
  int best = 1 << 30;
  for (int i = 0; i < TurnCount(); ++i) {
    const int e = TurnOrder[i].creature;
    if (!IsValidCreature(e) || e == creature || !AreEnemies(creature, e)) continue;
    const CreatureRecord& t = Creatures[e];
    for (int x = t.squareX; x < t.squareX + t.footprintWidth.current; ++x)
      for (int y = t.squareY; y < t.squareY + t.footprintHeight.current; ++y) {
        const GridSquare n = NearestFootprintSquare(creature, x, y);
        const int dx = std::abs(n.x - x), dy = std::abs(n.y - y);
        best = std::min(best, 5 * std::max(dx, dy) + 2 * std::min(dx, dy));
      }
  }
  return best;
}

// The ammunition's weighting: plain arrows (kind 8) against a waking target
// open to them, slaying arrows against their creature type.
int32_t AmmunitionTerm(int creature, int e) {
  const uint32_t ammo = Creatures[creature].ammunition.code;
  if (ammo < kFirstBaseItemCode || ammo - kFirstBaseItemCode >= static_cast<uint32_t>(kItemRows)) return 0;
  const int32_t kind = ItemTable[ammo - kFirstBaseItemCode].baseType;
  if (kind == 8)
    return GetProtectionValue(e, 26) == 0 && GetProtectionValue(e, 31) == 0 && !HasCondition(e, kCondSleeping) ? 9 : 0;
  static const int32_t kType[8] = {5, 8, 7, 4, 6, 2, 1, 3};
  if (kind < 9 || kind > 16) return 0;
  const int code = kind == 10 || kind == 14 ? 40 : 39;
  return Creatures[e].type == kType[kind - 9] && GetProtectionValue(e, code) == 0 ? 17 : 0;
}

// The worth of shooting from the square the creature stands on.
int32_t ShootingWorth(int creature, int entry) {
  const int nearest = NearestEnemyFeet(creature);
  ListRangedTargets(creature, 0);
  const int count = CountListed(TargetCandidateList, kCandidateListSize);
  static const SpecialValues kSpecial = {0, 16, 6, 15, 0};
  static const int32_t kResist[4] = {19, 14, 9, 4};
  int32_t planners = 0, sure = 0, free = 0, priority = 0, awake = 0, special = 0, resist = 0, ammunition = 0,
          disrupt = 0;
  for (int i = 0; i < count; ++i) {
    const int e = TargetCandidateList[i];
    const CreatureRecord& t = Creatures[e];
    planners = std::max(planners, 5 * CountPlannedAttacksOn(e));
    ShownAttackChance = ResolveAttack(creature, e, entry, SecondTactic, 1, 0, 0, nullptr);
    if (ShownAttackChance >= 70) sure = 15;
    if (IsFreeTarget(e) && !HasCondition(e, kCondGrappling)) free = 7;
    priority = std::max(priority, e == WeakestEnemy ? 12 : t.creatureClass == 4 ? 8 : 0);
    if (!HasCondition(e, kCondSleeping)) awake = 5;
    special = std::max(special, LargestOf(SpecialTerms(creature, kEntryRanged, e, kSpecial)));
    resist = std::max(resist, ResistTerm(creature, kEntryRanged, e, kResist));
    ammunition = std::max(ammunition, AmmunitionTerm(creature, e));
    if (e == DisruptionTarget) disrupt = 50;
  }
  const int32_t distant = count > 0 && nearest > 25 ? 7 : 0;
  return ammunition + resist + special + awake + disrupt + free + distant + priority + sure + planners;
}

}  // namespace

int BuildRangedValuationGrid(int creature) {
  const ScoringSession session(creature);
  if (!IsValidCreature(creature)) return 1;
  CreatureRecord& c = Creatures[creature];
  BuildAttackProfile(&Profile, creature, IsActingFighter(creature) ? SecondTactic : 0, -1, 0, 0);
  bool singleShot = true;
  int entry = RangedProfileEntry;
  for (int i = 0; i < kAttackProfileEntries && Profile.entries[i].kind != kEntryNone; ++i)
    if (Profile.entries[i].kind == kEntryRanged) {
      singleShot = Profile.entries[i].attackCount.total < 2;
      if (entry < 0) entry = i;
      break;
    }
  if (entry < 0) entry = 0;
  bool moreThanOneMove = false, exactlyOneMove = false;
  if (IsActingFighter(creature) && CombatAction.standardActionLeft == 1) {
    moreThanOneMove = CombatAction.movesLeft > c.speed.current;
    exactlyOneMove = CombatAction.movesLeft == c.speed.current;
  }
  std::memset(ValuationGrid, 0, sizeof ValuationGrid);
  MarkUnfitSquares(creature);

  // Next to an enemy a shot provokes: -10, two squares off -5.
  const int w = c.footprintWidth.current, h = c.footprintHeight.current;
  for (int i = 0; i < TurnCount(); ++i) {
    const int e = TurnOrder[i].creature;
    if (!IsValidCreature(e) || e == creature || !AreEnemies(creature, e)) continue;
    MarkAdjacentAndSecondRing(e);
    const SquareBox ring = RingBox(e, 0), second = RingBox(e, 1);
    const SquareBox near = FootprintReach(creature, ring.x0, ring.y0, ring.x1, ring.y1);
    const SquareBox far = FootprintReach(creature, second.x0, second.y0, second.x1, second.y1);
    for (int x = near.x0; x <= near.x1; ++x)
      for (int y = near.y0; y <= near.y1; ++y) {
        int32_t& v = ValuationGrid[SquareIndex(x, y)];
        if (v != kUnfit && FootprintTouches(x, y, w, h, 1, 8)) v -= 10;
      }
    for (int x = far.x0; x <= far.x1; ++x)
      for (int y = far.y0; y <= far.y1; ++y) {
        int32_t& v = ValuationGrid[SquareIndex(x, y)];
        if (v == 0 && FootprintTouches(x, y, w, h, 9, 9)) v -= 5;
      }
  }

  const int sx = c.squareX, sy = c.squareY;
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y) {
      int32_t& v = ValuationGrid[SquareIndex(x, y)];
      if (v < -5) continue;
      c.squareX = x;
      c.squareY = y;
      v += ShootingWorth(creature, entry);
    }
  c.squareX = sx;
  c.squareY = sy;
  AddRetreatBonuses(creature);
  ScoreGridAdjustments(creature);

  if (DisruptionTarget == -1 && !exactlyOneMove && singleShot) {
    ScoreGridReachability(creature, moreThanOneMove ? 1 : 0, 1, 0, 0);
    return 1;
  }
  const int32_t bonus = DisruptionTarget != -1 ? 200 : exactlyOneMove ? 50 : 6;
  if (OnGrid(sx, sy) && ValuationGrid[SquareIndex(sx, sy)] > 0) ValuationGrid[SquareIndex(sx, sy)] += bonus;
  if (MayTakeFiveFootStep(creature))
    for (int x = sx - 1; x <= sx + 1; ++x)
      for (int y = sy - 1; y <= sy + 1; ++y) {
        if ((x == sx && y == sy) || !OnGrid(x, y)) continue;
        int32_t& v = ValuationGrid[SquareIndex(x, y)];
        if (v >= 1 && IsFreeStepSquare(creature, sx, sy, x, y)) v += bonus;
      }
  ScoreGridReachability(creature, moreThanOneMove ? 1 : 0, 1, 0, 0);
  return 1;
}
