#include "combat/turns/best_square.h"

#include <cstring>

#include "combat/turns/decision_words.h"
#include "combat/turns/valuation_grid.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "map/fighter_tests.h"
#include "map/movement_rules.h"
#include "map/path_finding.h"
#include "rules/attack_profile.h"
#include "rules/casting_rules.h"
#include "rules/creature_record.h"
#include "state/combat_action.h"
#include "state/fighter_slots.h"
#include "state/turn_order.h"

bool BestSquareSearchKept = true;

namespace {

// Trace lines of the choice, written only in debug mode.
template <typename... Args>
void Trace(const char* format, Args... args) {
  if (DebugMode) LogMessage(format, args...);
}
void Trace(const char* text) {
  if (DebugMode) LogMessage("%s", text);
}

struct Walk {
  int n = 0;
  int32_t x[kPathLength], y[kPathLength];
};

// The walk list from the fighter slot: its entries up to the first that is
// the goal, or its first 200.
void CopyWalk(int creature, int bx, int by, Walk* walk) {
  walk->n = 0;
  const int slot = Creatures[creature].fighterSlot;
  if (slot < 0 || slot >= kFighterSlots) return;
  const FighterSlot& s = FighterSlots[slot];
  for (int i = 0; i < kPathLength; ++i) {
    walk->x[i] = s.pathX[i];
    walk->y[i] = s.pathY[i];
    walk->n = i + 1;
    if (s.pathX[i] == bx && s.pathY[i] == by) break;
  }
}

bool Search(int creature, int cx, int cy, int x, int y, uint8_t costFlag, uint8_t cross, uint32_t* out,
            PathTallyRecord* buffer) {
  return FindCreaturePath(creature, cx, cy, x, y, costFlag, 1, 0, cross, out, buffer) == kPathFound;
}

// A fresh search to the square that finds a path the fighter can walk now.
bool FreshPathHeld(int creature, int cx, int cy, int x, int y) {
  return Search(creature, cx, cy, x, y, 1, 0, nullptr, nullptr) && PathShown == 1;
}

// The search of the long path that may cross other creatures, then the same
// with the blocked destination authorised (the search then heads for the
// creature on it and stops beside it, writing the square it stopped on as
// the destination). True when a path was found; the goal may have moved.
bool CrossingSearch(int creature, int cx, int cy, int* bx, int* by, uint32_t* out, PathTallyRecord* buffer) {
  Trace("Now checking FindPath with option to cross enemies and allies");
  std::memset(out, 0, sizeof(uint32_t) * kTallyWords);
  std::memset(buffer, 0, sizeof(PathTallyRecord) * kMapSquares);
  if (Search(creature, cx, cy, *bx, *by, 1, 1, out, buffer)) {
    Trace("It worked");
    return true;
  }
  Trace("It didnt work");
  Trace("Trying again with authorise blocked destination");
  const uint8_t seek = SeekAdjacent;
  SeekAdjacent = 1;
  const bool authorised = Search(creature, cx, cy, *bx, *by, 1, 1, nullptr, nullptr);
  SeekAdjacent = seek;
  if (!authorised) {
    Trace("It didnt work");
    return false;
  }
  Trace("It worked");
  *bx = Creatures[creature].destinationX;
  *by = Creatures[creature].destinationY;
  Trace("Now trying FindPathGe with the new destination and no authorise blocked destination");
  if (Search(creature, cx, cy, *bx, *by, 1, 1, out, buffer)) return true;
  Trace("It didnt work");
  return false;
}

// Fire on the way to the square counts unless the fighter shrugs it off or can
// put it out.
bool FearsFireAt(int creature, const PathTallyRecord& rec) {
  if (static_cast<int32_t>(rec[2]) < 1) return false;
  const CreatureRecord& c = Creatures[creature];
  if (c.protections[kProtResistFire].current > 0 || GetProtectionValue(creature, 2) == 4) return false;
  if (c.creatureClass == 3 &&
      (!IsSpellcastingBlocked(creature, 123, 0, 1, 0) || !IsSpellcastingBlocked(creature, 139, 0, 1, 0)))
    return false;
  if (c.creatureClass == 4 && !IsSpellcastingBlocked(creature, 27, 0, 1, 0) && static_cast<int32_t>(rec[3]) == 0)
    return false;
  return true;
}

bool AnyCombatantThreatened() {
  for (int i = 0; i < TurnEntryCount && i < kTurnOrderEntries; ++i)
    if (IsThreatenedByEnemy(TurnOrder[i].creature)) return true;
  return false;
}

// The turn still allows a move of the first step.
bool FirstMoveLeft() {
  const CombatActionState& a = CombatAction;
  if (a.movementClosed != 0 || a.fiveFootStepTaken != 0) return false;
  return a.singleActionTurn == 1 ? a.standardActionLeft == 1 : a.fullRoundActionLeft == 1;
}

}  // namespace

int64_t ExtractBestSquare(int creature, uint8_t squareOnly, uint8_t* pathKept) {
  if (pathKept) *pathKept = 0;
  if (!IsValidCreature(creature)) return kNoSquare;
  CreatureRecord& c = Creatures[creature];
  const int cx = c.squareX, cy = c.squareY;
  Trace("Extracting spot from grid...");

  // The first square holding the maximum.
  int32_t best = -1;
  int bx = -1, by = -1;
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y)
      if (ValuationGrid[SquareIndex(x, y)] > best) {
        best = ValuationGrid[SquareIndex(x, y)];
        bx = x;
        by = y;
      }
  if (best <= 0) {
    Trace("Max Value 0 or negative");
    return kNoSquare;
  }
  const bool ownOnGrid = cx >= 0 && cy >= 0 && cx < kMapSide && cy < kMapSide;
  if (ownOnGrid && best <= ValuationGrid[SquareIndex(cx, cy)]) {
    Trace("Max Value no better than Value at current spot");
    return kNoSquare;
  }

  // The cheapest path among the squares of that value. The last of these
  // searches, when it found the path to the square taken, is the search the
  // direct walk below would make again: nothing changes in between.
  int32_t cheapest = 10000;
  int lastSearched = -1;
  bool lastFound = false;
  BeginSearchSeries();
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y) {
      if (ValuationGrid[SquareIndex(x, y)] != best) continue;
      Trace("Extract ");
      lastSearched = SquareIndex(x, y);
      lastFound = Search(creature, cx, cy, x, y, 1, 0, nullptr, nullptr);
      if (lastFound && PathCostFeet < cheapest) {
        cheapest = PathCostFeet;
        bx = x;
        by = y;
      }
    }
  EndSearchSeries();
  if (bx == cx && by == cy) {
    Trace("Character is already at Best square.");
    return kNoSquare;
  }
  if (squareOnly) return PackSquare(bx, by);

  const int32_t speed = c.speed.current;
  const bool keepStandard = CombatAction.movesLeft == 2 * speed && CombatAction.keepStandardAction != 0;
  Trace("FindPathGe.(%i,%i)->(%i,%i):", cx, cy, bx, by);
  const bool searchedLast = BestSquareSearchKept && lastFound && lastSearched == SquareIndex(bx, by);
  const bool direct = searchedLast || Search(creature, cx, cy, bx, by, 1, 0, nullptr, nullptr);
  Trace("Result %i", direct ? kPathFound : kPathNone);
  if (direct && PathCostFeet <= CombatAction.movesLeft && (!keepStandard || PathCostFeet <= speed)) {
    Trace("Found Spot in reach x:%i y:%i", bx, by);
    if (pathKept) *pathKept = 1;
    return PackSquare(bx, by);
  }
  if (!direct)
    Trace("Path to Best square, x:%i y:%i is blocked", bx, by);
  else if (keepStandard && PathCostFeet > speed)
    Trace("Best square x:%i y:%i, decided to stop midway", bx, by);
  else
    Trace("Best square, x:%i y:%i is too far away (dist %i>moves %i)", bx, by, PathCostFeet, CombatAction.movesLeft);

  // The long path, crossing other creatures if need be; a wide fighter tries
  // once more as if it were one square.
  static PathTallyRecord buffer[kMapSquares];
  uint32_t out[kTallyWords] = {};
  bool found = CrossingSearch(creature, cx, cy, &bx, &by, out, buffer);
  if (!found) {
    if (c.footprintWidth.current <= 1) return kNoSquare;
    Trace("Now trying with size 1x1");
    const StatPair w = c.footprintWidth, h = c.footprintHeight;
    c.footprintWidth = {1, 1};
    c.footprintHeight = {1, 1};
    found = CrossingSearch(creature, cx, cy, &bx, &by, out, buffer);
    c.footprintWidth = w;
    c.footprintHeight = h;
    if (!found) return kNoSquare;
  }
  if (pathKept) *pathKept = 1;
  Walk walk;
  CopyWalk(creature, bx, by, &walk);
  int32_t d = PathCostFeet;

  // A careful path much longer than the plain one gives way to it.
  if (d >= 100 && Search(creature, cx, cy, bx, by, 0, 1, nullptr, nullptr)) {
    const int32_t plain = PathCostFeet;
    if (plain < d && d - plain > 100) {
      Trace("Cancelled Long Path (long path distance %i short path distance %i)", d, plain);
      std::memset(out, 0, sizeof out);
      std::memset(buffer, 0, sizeof buffer);
      Search(creature, cx, cy, bx, by, 0, 1, out, buffer);
      d = PathCostFeet;
      CopyWalk(creature, bx, by, &walk);
    }
  }
  if (walk.n == 0) return kNoSquare;
  const int end = walk.n - 1;
  Trace("End point x:%i y:%i dist:%i", walk.x[end], walk.y[end], d);
  if (end == 0 || (walk.x[end] == cx && walk.y[end] == cy)) {
    Trace("Origin Point Reached");
    return kNoSquare;
  }

  // Back along the walk to the last square worth stopping on.
  const bool anyThreatened = AnyCombatantThreatened();
  const bool caster = IsCaster(creature);
  int takenX = -1, takenY = -1;
  for (int k = end - 1; takenX < 0; --k) {
    if (k < 0 || (walk.x[k] == cx && walk.y[k] == cy)) {
      Trace("Origin Point Reached");
      return kNoSquare;
    }
    const int x = walk.x[k], y = walk.y[k];
    d -= CalculateMoveCost(creature, walk.x[k + 1], walk.y[k + 1], x, y, 1);
    Trace("k=%i Reviewing x:%i y:%i dist:%i", k, x, y, d);
    if (!FootprintFitsAt(x, y, creature, 1)) continue;
    c.squareX = x;
    c.squareY = y;
    const bool web = GetProtectionValue(creature, kCodeFreeMovement) != 1 && c.kind != 32 && IsInMagicArea(creature, 5);
    const bool nextToEnemy = HasAdjacentEnemy(creature);
    c.squareX = cx;
    c.squareY = cy;
    const bool fire = FearsFireAt(creature, buffer[SquareIndex(x, y)]);
    const bool firstStep = FirstMoveLeft() && (k == 0 || (walk.x[k - 1] == cx && walk.y[k - 1] == cy));
    if ((web || fire) && !(nextToEnemy && !anyThreatened)) continue;
    if (CombatAction.movementClosed == 1 && CombatAction.fiveFootStepLeft == 1) {
      if (d <= 7 && FreshPathHeld(creature, cx, cy, x, y)) {
        Trace("Stopping there as only a five foot step is possible");
        takenX = x;
        takenY = y;
      }
    } else if (keepStandard) {
      if (d <= speed && FreshPathHeld(creature, cx, cy, x, y)) {
        CombatAction.stopForStandardAction[0] = CombatAction.stopForStandardAction[1] = 1;
        Trace("Dist:%i<=Speed:%i. Stopping there to use standard action", d, speed);
        Trace("Node %i retained.", k);
        takenX = x;
        takenY = y;
      }
    } else if ((d <= CombatAction.movesLeft || firstStep) && FreshPathHeld(creature, cx, cy, x, y)) {
      if (caster && c.behaviour[kBehaviourCastingStyle] != 1 && HasAdjacentEnemyAt(creature, x, y)) {
        Trace("OK square, but Caster near enemy");
        continue;
      }
      Trace("Stopping as this is an OK square");
      takenX = x;
      takenY = y;
    }
  }
  // The last fresh search left the path to the taken square in the slot.
  Trace("Found New Spot in reach x:%i y:%i", takenX, takenY);
  return PackSquare(takenX, takenY);
}
