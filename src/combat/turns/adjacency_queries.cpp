#include "combat/turns/adjacency_queries.h"

#include "state/map_view_state.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <iterator>

#include "combat/turns/decision_words.h"
#include "combat/turns/spell_targets.h"
#include "combat/turns/spell_usefulness.h"
#include "engine/reset_words.h"
#include "map/fighter_tests.h"
#include "map/line_of_effect.h"
#include "map/movement_rules.h"
#include "map/square_entry.h"
#include "map/square_grids.h"
#include "rules/adjacency.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/feat_ids.h"
#include "rules/item_tables.h"
#include "rules/positions.h"
#include "state/turn_order.h"

int32_t AdjacentCreatureList[kAdjacentListSize];
int32_t TargetCandidateList[kCandidateListSize];
ClockwisePair ClockwisePairs[kCandidateListSize];
int32_t ClockwisePairCount = 0;

namespace {

int TurnCount() { return TurnEntryCount < kTurnOrderEntries ? TurnEntryCount : kTurnOrderEntries; }
bool OnGrid(int x, int y) { return x >= 0 && y >= 0 && x < kMapSide && y < kMapSide; }

// The other side as the adjacency tests take it: allegiance 2 for the party's
// side, the party's side for 2, anyone for any other allegiance.
bool OnOtherSide(int creature, int other) {
  const int32_t a = Creatures[creature].allegiance, b = Creatures[other].allegiance;
  if (IsPartyAllegiance(a)) return b == kAllegianceEnemy;
  if (a == kAllegianceEnemy) return IsPartyAllegiance(b);
  return true;
}

// The first of the candidate's footprint squares (rows, then columns) on the
// marked ring, its ring code (0 none).
int32_t RingCodeUnder(int candidate) {
  const CreatureRecord& c = Creatures[candidate];
  for (int x = c.squareX; x < c.squareX + c.footprintWidth.current; ++x)
    for (int y = c.squareY; y < c.squareY + c.footprintHeight.current; ++y)
      if (OnGrid(x, y) && AdjacencyGrid[SquareIndex(x, y)] != 0) return AdjacencyGrid[SquareIndex(x, y)];
  return 0;
}

void ClearAdjacentList() { std::fill(std::begin(AdjacentCreatureList), std::end(AdjacentCreatureList), -1); }

bool Listed(const int32_t* list, int size, int id) {
  for (int i = 0; i < size && list[i] != -1; ++i)
    if (list[i] == id) return true;
  return false;
}

// Appends while there is room; the number listed.
int Append(int32_t* list, int size, int id) {
  const int n = CountListed(list, size);
  if (n < size) list[n] = id;
  return n < size ? n + 1 : n;
}

// Lists the combatants touching the creature's ring that pass the test.
template <typename Test>
int ListAround(int creature, Test test) {
  ClearAdjacentList();
  if (!IsValidCreature(creature)) return 0;
  MarkAdjacentSquares(creature);
  int n = 0;
  for (int i = 0; i < TurnCount(); ++i) {
    const int o = TurnOrder[i].creature;
    if (!IsValidCreature(o) || o == creature || !test(o)) continue;
    if (Listed(AdjacentCreatureList, kAdjacentListSize, o) || RingCodeUnder(o) == 0) continue;
    n = Append(AdjacentCreatureList, kAdjacentListSize, o);
  }
  return n;
}

// The threat test shared by the three threat queries: an enemy of the mover,
// able to act, with an attack of opportunity left, whose ring covers a square
// of the mover's footprint placed at (x, y); an invisible mover is threatened
// only by enemies that sense it.
bool Threatens(int enemy, int mover, int x, int y) {
  if (!IsValidCreature(enemy) || enemy == mover || !AreEnemies(mover, enemy)) return false;
  const CreatureRecord& e = Creatures[enemy];
  if (e.attacksOfOpportunityLeft < 1 || !CanCreatureAct(enemy)) return false;
  if (HasCondition(mover, kCondInvisible) || HasCondition(mover, kCondGreaterInvisibility)) {
    const int sense = e.special[kSenseKindWord];
    if (sense != 5 && sense != 6 && !HasCondition(enemy, kCondTrueSeeing)) return false;
  }
  const CreatureRecord& m = Creatures[mover];
  const int w = m.footprintWidth.current, h = m.footprintHeight.current;
  const int ew = e.footprintWidth.current, eh = e.footprintHeight.current;
  // Ring of the enemy: its grown box less its footprint.
  for (int i = x; i < x + w; ++i)
    for (int j = y; j < y + h; ++j) {
      const bool inBox = i >= e.squareX - 1 && i <= e.squareX + ew && j >= e.squareY - 1 && j <= e.squareY + eh;
      const bool inFoot = i >= e.squareX && i < e.squareX + ew && j >= e.squareY && j < e.squareY + eh;
      if (inBox && !inFoot) return true;
    }
  return false;
}

// A caster able to cast now and free of the disabling conditions.
bool CasterFreeToAct(int creature) {
  return HighestUsableSpellLevel(-1, creature) && !HasDisablingCondition(creature);
}

// The distance in feet between the nearest footprint squares of the two.
int FeetBetween(int a, int b, GridSquare* fromA, GridSquare* toB) {
  const CreatureRecord& ca = Creatures[a];
  const CreatureRecord& cb = Creatures[b];
  *fromA = NearestFootprintSquare(a, cb.squareX, cb.squareY);
  *toB = NearestFootprintSquare(b, ca.squareX, ca.squareY);
  return DistanceFeet(fromA->x, fromA->y, toB->x, toB->y);
}

bool OpenLine(const GridSquare& a, const GridSquare& b) { return FindCover(a.x, a.y, b.x, b.y, 0); }

void ClearCandidates() { std::fill(std::begin(TargetCandidateList), std::end(TargetCandidateList), -1); }

}  // namespace

int CountListed(const int32_t* list, int size) {
  int n = 0;
  while (n < size && list[n] != -1) ++n;
  return n;
}

void MarkAdjacentAndSecondRing(int creature) {
  MarkAdjacentSquares(creature);
  if (!IsValidCreature(creature)) return;
  // Only squares beside the ring can become 9. A square turns from 0 to 9
  // alone, so the ring codes (1 to 8) read as they were marked.
  const CreatureRecord& r = Creatures[creature];
  const int x0 = std::max(0, r.squareX - 2), y0 = std::max(0, r.squareY - 2);
  const int x1 = std::min(kMapSide - 1, r.squareX + r.footprintWidth.current + 1);
  const int y1 = std::min(kMapSide - 1, r.squareY + r.footprintHeight.current + 1);
  NoteAdjacencyGridWrittenWithin(x0, y0, x1, y1);
  for (int x = x0; x <= x1; ++x)
    for (int y = y0; y <= y1; ++y) {
      if (AdjacencyGrid[SquareIndex(x, y)] != 0) continue;
      bool beside = false;
      for (int dx = -1; dx <= 1 && !beside; ++dx)
        for (int dy = -1; dy <= 1; ++dy) {
          if (!(dx || dy) || !OnGrid(x + dx, y + dy)) continue;
          const int32_t code = AdjacencyGrid[SquareIndex(x + dx, y + dy)];
          if (code >= 1 && code <= 8) {
            beside = true;
            break;
          }
        }
      if (beside) AdjacencyGrid[SquareIndex(x, y)] = 9;
    }
  const CreatureRecord& c = Creatures[creature];
  for (int x = c.squareX; x < c.squareX + c.footprintWidth.current; ++x)
    for (int y = c.squareY; y < c.squareY + c.footprintHeight.current; ++y)
      if (OnGrid(x, y)) AdjacencyGrid[SquareIndex(x, y)] = 9;
}

void NumberAdjacentRing() {
  NoteAdjacencyGridWritten();
  // The ring's extent from its marked squares.
  int x0 = kMapSide, y0 = kMapSide, x1 = -1, y1 = -1;
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y) {
      const int32_t code = AdjacencyGrid[SquareIndex(x, y)];
      if (code < 1 || code > 8) continue;
      x0 = std::min(x0, x);
      y0 = std::min(y0, y);
      x1 = std::max(x1, x);
      y1 = std::max(y1, y);
    }
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y) {
      int32_t& code = AdjacencyGrid[SquareIndex(x, y)];
      switch (code) {
        case kRingUpperLeft: code = 10; break;
        case kRingAbove: code = 20 + (x - x0 - 1); break;
        case kRingUpperRight: code = 30; break;
        case kRingRight: code = 40 + (y - y0 - 1); break;
        case kRingLowerRight: code = 50; break;
        case kRingBelow: code = 60 + (x1 - 1 - x); break;
        case kRingLowerLeft: code = 70; break;
        case kRingLeft: code = 80 + (y1 - 1 - y); break;
        default: break;
      }
    }
}

bool ListAdjacentEnemies(int creature, uint8_t includeConfused) {
  return ListAround(creature, [creature, includeConfused](int o) {
           if (OnOtherSide(creature, o)) return true;
           return includeConfused == 1 && (HasCondition(o, kCondConfused) || HasCondition(o, kCondInsane));
         }) > 0;
}

int ListAdjacentEnemiesUnfiltered(int creature, uint8_t filter) {
  return ListAround(creature, [creature, filter](int o) {
    return OnOtherSide(creature, o) && (filter != 1 || !IsHelplessTarget(o, 1));
  });
}

bool ListAdjacentAllies(int creature) {
  return ListAround(creature, [creature](int o) { return AreAllies(creature, o); }) > 0;
}

int ListAdjacentCombatants(int creature) {
  return ListAround(creature, [](int) { return true; });
}

bool ListAdjacentEnemiesClockwise(int creature) {
  ClearAdjacentList();
  ClockwisePairCount = 0;
  if (!IsValidCreature(creature)) return false;
  MarkAdjacentSquares(creature);
  NumberAdjacentRing();
  for (int i = 0; i < TurnCount(); ++i) {
    const int o = TurnOrder[i].creature;
    if (!IsValidCreature(o) || o == creature || !OnOtherSide(creature, o)) continue;
    bool listed = false;
    for (int k = 0; k < ClockwisePairCount; ++k) listed |= ClockwisePairs[k].creature == o;
    if (listed || ClockwisePairCount >= kCandidateListSize) continue;
    const int32_t key = RingCodeUnder(o);
    if (key == 0) continue;
    ClockwisePairs[ClockwisePairCount] = {o, key};
    ++ClockwisePairCount;
  }
  std::stable_sort(ClockwisePairs, ClockwisePairs + ClockwisePairCount,
                   [](const ClockwisePair& a, const ClockwisePair& b) { return a.key < b.key; });
  for (int k = 0; k < ClockwisePairCount && k < kAdjacentListSize; ++k) AdjacentCreatureList[k] = ClockwisePairs[k].creature;
  return ClockwisePairCount > 0;
}

bool HasAdjacentCombatant(int creature) {
  if (!IsValidCreature(creature)) return false;
  MarkAdjacentSquares(creature);
  for (int i = 0; i < TurnCount(); ++i) {
    const int o = TurnOrder[i].creature;
    if (IsValidCreature(o) && o != creature && RingCodeUnder(o) != 0) return true;
  }
  return false;
}

bool HasAdjacentSleepingAlly(int creature) {
  if (!IsValidCreature(creature)) return false;
  MarkAdjacentSquares(creature);
  for (int i = 0; i < TurnCount(); ++i) {
    const int o = TurnOrder[i].creature;
    if (!IsValidCreature(o) || o == creature || !AreAllies(creature, o)) continue;
    if (RingCodeUnder(o) != 0 && FindCondition(o, kCondSleeping) >= 0) return true;
  }
  return false;
}

bool AnyAdjacentHelpless() {
  for (int i = 0; i < kAdjacentListSize && AdjacentCreatureList[i] != -1; ++i) {
    const int o = AdjacentCreatureList[i];
    if (!IsValidCreature(o)) continue;
    if ((HasCondition(o, kCondParalyzed) || HasCondition(o, kCondSleeping)) && GetProtectionValue(o, kCodeNeverHelpless) != 1)
      return true;
  }
  return false;
}

bool CanBullRushTarget(int attacker, int target) {
  if (!IsValidCreature(attacker) || !IsValidCreature(target)) return false;
  const CreatureRecord& a = Creatures[attacker];
  const CreatureRecord& t = Creatures[target];
  if (a.feats[kFeatImprovedBullRush] == 0 &&
      (a.size.current < t.size.current || a.strength.current - t.strength.current < 4))
    return false;
  if (t.size.current > a.size.current + 1 || GetProtectionValue(target, 22) == 1) return false;
  CreatureRecord& turner = Creatures[attacker];
  const int32_t facing = turner.facing;
  FaceTowardsCreature(attacker, target);
  const bool pushes = IsFacingSquareFree(attacker, target) && !SquareHazardCheck(attacker);
  turner.facing = facing;
  return pushes;
}

int FindBullRushTarget(int creature) {
  ListAdjacentEnemiesUnfiltered(creature, 0);
  for (int i = 0; i < kAdjacentListSize && AdjacentCreatureList[i] != -1; ++i)
    if (CanBullRushTarget(creature, AdjacentCreatureList[i])) return AdjacentCreatureList[i];
  return -1;
}

int CountPlannedAttacksOn(int creature) {
  int n = 0;
  for (int i = 0; i < TurnCount(); ++i) {
    const TurnOrderEntry& e = TurnOrder[i];
    if (e.plannedTarget != creature) continue;
    switch (e.plannedAction) {
      case 1: case 2: case 5: case 12: case 13: case 14: case 15: case 16: case 19: case 20: ++n; break;
      default: break;
    }
  }
  return n;
}

int FindTurnOrderIndex(int creature) {
  if (InCombat != 1) return -1;
  for (int i = 0; i < TurnCount(); ++i)
    if (TurnOrder[i].creature == creature) return i;
  return -1;
}

bool ProvokesAttackOfOpportunity(int mover, int x, int y, uint8_t reset) {
  if (reset == 1)
    for (int i = 0; i < TurnCount(); ++i) TurnOrder[i].threatMark = TurnOrder[i].opportunityMark;
  if (!IsValidCreature(mover)) return false;
  for (int i = 0; i < TurnCount(); ++i) {
    TurnOrderEntry& e = TurnOrder[i];
    if (e.threatMark == 1 || !Threatens(e.creature, mover, x, y)) continue;
    e.threatMark = 1;
    return true;
  }
  return false;
}

int FindThreateningEnemy(int mover, int x, int y) {
  if (!IsValidCreature(mover)) return -1;
  for (int i = 0; i < TurnCount(); ++i) {
    TurnOrderEntry& e = TurnOrder[i];
    if (e.opportunityMark == 1 || !Threatens(e.creature, mover, x, y)) continue;
    e.opportunityMark = 1;
    return e.creature;
  }
  return -1;
}

bool ListEnemyCastersInReach(int creature, uint8_t useWeaponRange, int spell) {
  ClearCandidates();
  if (!IsValidCreature(creature)) return false;
  const uint32_t weapon = Creatures[creature].equipment[kSlotRanged - 1];
  const int range = useWeaponRange == 1 ? (IsCraftedCode(weapon) ? CraftedWeapons[weapon].range : 0) : 35;
  int n = 0;
  for (int i = 0; i < TurnCount(); ++i) {
    const int o = TurnOrder[i].creature;
    if (!IsValidCreature(o) || o == creature || !AreEnemies(creature, o)) continue;
    if (Listed(TargetCandidateList, kCandidateListSize, o) || !CasterFreeToAct(o)) continue;
    // With a spell named, a caster immune to it is no one to disrupt with it.
    if (spell != -1 && IsImmuneToSpell(spell, o)) continue;
    int readied = 0;
    for (int k = 0; k < TurnCount(); ++k)
      if (TurnOrder[k].plannedTarget == o && (TurnOrder[k].plannedAction == 22 || TurnOrder[k].plannedAction == 23))
        ++readied;
    if (readied >= 2) continue;
    GridSquare from, to;
    if (FeetBetween(creature, o, &from, &to) > range || !OpenLine(from, to)) continue;
    n = Append(TargetCandidateList, kCandidateListSize, o);
  }
  return n > 0;
}

bool ListCounterspellTargets(int creature) {
  ClearCandidates();
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  const bool improved = c.feats[kFeatImprovedCounterspell] != 0;
  int n = 0;
  for (int i = 0; i < TurnCount(); ++i) {
    const int o = TurnOrder[i].creature;
    if (!IsValidCreature(o) || o == creature || !AreEnemies(creature, o)) continue;
    const int32_t cls = Creatures[o].creatureClass;
    if (cls < 3 || cls > 5) continue;
    if (!improved && (c.creatureClass == 3 ? cls != 3 : cls == 3)) continue;
    if (!HasLineOfEffect(c.squareX, c.squareY, Creatures[o].squareX, Creatures[o].squareY, nullptr)) continue;
    if (!CasterFreeToAct(o) || Listed(TargetCandidateList, kCandidateListSize, o)) continue;
    bool planned = false;
    for (int k = 0; k < TurnCount(); ++k)
      planned |= TurnOrder[k].creature != creature && TurnOrder[k].plannedAction == 9 && TurnOrder[k].plannedTarget == o;
    if (planned) continue;
    n = Append(TargetCandidateList, kCandidateListSize, o);
  }
  return n > 0;
}

bool ListRangedTargets(int creature, uint8_t includeAllies) {
  ClearCandidates();
  if (!IsValidCreature(creature)) return false;
  const uint32_t weapon = Creatures[creature].equipment[kSlotRanged - 1];
  const int range = IsCraftedCode(weapon) ? CraftedWeapons[weapon].range : 0;
  int n = 0;
  for (int i = 0; i < TurnCount(); ++i) {
    const int o = TurnOrder[i].creature;
    if (!IsValidCreature(o) || o == creature || Listed(TargetCandidateList, kCandidateListSize, o)) continue;
    if (!AreEnemies(creature, o) && includeAllies != 1) continue;
    GridSquare from, to;
    if (FeetBetween(creature, o, &from, &to) > range || !OpenLine(from, to)) continue;
    n = Append(TargetCandidateList, kCandidateListSize, o);
  }
  return n > 0;
}

namespace {

// FeetBetween's two squares for the fighter's footprint placed at (x, y):
// the fighter's square nearest to the target's upper-left square and the
// target's nearest to (x, y).
void LineEnds(int x, int y, int w, int h, const CreatureRecord& t, GridSquare* from, GridSquare* to) {
  const GridSquare corner = {t.squareX, t.squareY};
  *from = w < 1 || h < 1 ? GridSquare{x, y} : NearestSquareOfFootprint(x, y, w, h, corner.x, corner.y);
  const int tw = t.footprintWidth.current, th = t.footprintHeight.current;
  *to = tw < 1 || th < 1 ? corner : NearestSquareOfFootprint(corner.x, corner.y, tw, th, x, y);
}

void NoteFootings(RangedTargetSurvey* survey, RangedTargetSurvey::Footing* out, int* count) {
  *count = 0;
  const CreatureRecord& s = Creatures[survey->creature];
  out[(*count)++] = {survey->creature, 0, 0, s.footprintWidth.current, s.footprintHeight.current};
  for (int i = 0; i < TurnCount(); ++i) {
    const int o = TurnOrder[i].creature;
    if (!IsValidCreature(o) || o == survey->creature) {
      out[(*count)++] = {o, 0, 0, 0, 0};
      continue;
    }
    const CreatureRecord& c = Creatures[o];
    out[(*count)++] = {o, c.squareX, c.squareY, c.footprintWidth.current, c.footprintHeight.current};
  }
}

}  // namespace

void PrepareRangedTargetSurvey(RangedTargetSurvey* survey, int creature, uint8_t includeAllies) {
  ClearCandidates();
  survey->creature = creature;
  survey->count = 0;
  survey->listed = 0;
  if (!IsValidCreature(creature)) return;
  const uint32_t weapon = Creatures[creature].equipment[kSlotRanged - 1];
  survey->range = IsCraftedCode(weapon) ? CraftedWeapons[weapon].range : 0;
  // A creature entered twice in the turn order is weighed at its first entry
  // alone: its second gives the same answer.
  for (int i = 0; i < TurnCount(); ++i) {
    const int o = TurnOrder[i].creature;
    if (!IsValidCreature(o) || o == creature) continue;
    if (!AreEnemies(creature, o) && includeAllies != 1) continue;
    if (std::find(survey->candidates, survey->candidates + survey->count, o) != survey->candidates + survey->count)
      continue;
    survey->candidates[survey->count++] = o;
  }
  survey->overGrid = false;
  PrepareCoverLineSurvey(&survey->lines, creature);
  NoteFootings(survey, survey->footings, &survey->footingCount);
  survey->precise = Creatures[creature].feats[kFeatImprovedPreciseShot];
}

int WeighRangedTargets(RangedTargetSurvey* survey, uint8_t cover[kCandidateListSize]) {
  std::fill(TargetCandidateList, TargetCandidateList + survey->listed, -1);
  survey->listed = 0;
  const int creature = survey->creature;
  if (!IsValidCreature(creature)) return 0;
  const CreatureRecord& c = Creatures[creature];
  if (survey->overGrid && OnGrid(c.squareX, c.squareY) && survey->answered[SquareIndex(c.squareX, c.squareY)]) {
    const int sq = SquareIndex(c.squareX, c.squareY);
    for (uint64_t bits = survey->listedBits[sq]; bits != 0; bits &= bits - 1) {
      const int i = std::countr_zero(bits);
      cover[survey->listed] = (survey->coverBits[sq] >> i) & 1;
      TargetCandidateList[survey->listed++] = survey->candidates[i];
    }
    return survey->walked[sq];
  }
  // FeetBetween, with the footprints' nearest squares worked out in place.
  int walked = 0;
  for (int i = 0; i < survey->count; ++i) {
    const int o = survey->candidates[i];
    GridSquare from, to;
    LineEnds(c.squareX, c.squareY, c.footprintWidth.current, c.footprintHeight.current, Creatures[o], &from, &to);
    if (DistanceFeet(from.x, from.y, to.x, to.y) > survey->range) continue;
    ++walked;
    uint8_t behind = 0;
    int open = SurveyCoverLine(survey->lines, c.squareX, c.squareY, from.x, from.y, to.x, to.y, &behind);
    if (open < 0) open = WeighCoverLine(from.x, from.y, to.x, to.y, &behind) ? 1 : 0;
    if (open == 0) continue;
    cover[survey->listed] = behind;
    TargetCandidateList[survey->listed++] = o;
  }
  return walked;
}

void SurveyRangedTargetsOverGrid(RangedTargetSurvey* survey, const int32_t* grid, int32_t least) {
  survey->overGrid = false;
  const int creature = survey->creature;
  if (CoverLinesSurveyed == 0 || survey->lines.stale || !IsValidCreature(creature) ||
      survey->count > kSurveyedTargets)
    return;
  const CreatureRecord& c = Creatures[creature];
  const int w = c.footprintWidth.current, h = c.footprintHeight.current;
  const int range = survey->range;
  const int reach = range < 0 ? -1 : range / kFeetPerSquare;  // no line within range reaches farther
  for (int sq = 0; sq < kMapSquares; ++sq) survey->answered[sq] = grid[sq] >= least ? 1 : 0;
  std::memset(survey->walked, 0, sizeof survey->walked);
  std::memset(survey->listedBits, 0, sizeof survey->listedBits);
  std::memset(survey->coverBits, 0, sizeof survey->coverBits);
  // The fighter as the occupancy grid stamps it, and as its nearest squares span.
  const int stampW = w > 0 ? w : 1, stampH = h > 0 ? h : 1;
  const int spanW = w < 1 || h < 1 ? 1 : w, spanH = w < 1 || h < 1 ? 1 : h;
  const bool single = stampW == 1 && stampH == 1;
  const bool listedShooter = survey->lines.listed;
  static uint8_t linesTo[(2 * kMaxLinesSurveyed + 1) * (2 * kMaxLinesSurveyed + 1)];
  // For each gap along one axis, the largest gap along the other still
  // within range (-1 none).
  static int within[kMapSide + 1];
  for (int dx = 0; dx <= kMapSide; ++dx) {
    within[dx] = -1;
    while (within[dx] < kMapSide && DistanceFeet(0, 0, dx, within[dx] + 1) <= range) ++within[dx];
  }
  for (int i = 0; i < survey->count && reach >= 0; ++i) {
    const uint64_t bit = uint64_t{1} << i;
    const CreatureRecord& t = Creatures[survey->candidates[i]];
    const int tw = t.footprintWidth.current, th = t.footprintHeight.current;
    const bool oneSquare = tw < 1 || th < 1 || (tw == 1 && th == 1);
    const int tx = t.squareX, ty = t.squareY;
    const bool together = oneSquare && OnGrid(tx, ty) && reach <= kMaxLinesSurveyed;
    if (together) SurveyLinesTo(survey->lines, tx, ty, reach, linesTo);
    const int side = 2 * reach + 1;
    // Placements from which the footprints come within reach along both axes.
    const int x0 = std::max(0, tx - reach - spanW + 1), y0 = std::max(0, ty - reach - spanH + 1);
    const int x1 = std::min(kMapSide - 1, tx + (oneSquare ? 1 : tw) - 1 + reach);
    const int y1 = std::min(kMapSide - 1, ty + (oneSquare ? 1 : th) - 1 + reach);
    if (together && single) {
      // A one-square fighter's line runs from its own square to the target's,
      // within range over the rows each column's span allows. A square held
      // by another combatant, or the target's own when the fighter stands in
      // the turn order, is left to the weighing there.
      const int shooterOnTarget = listedShooter ? SquareIndex(tx, ty) : -1;
      for (int x = x0; x <= x1; ++x) {
        const int span = within[x > tx ? x - tx : tx - x];
        const int ya = std::max(0, ty - span), yb = std::min(kMapSide - 1, ty + span);
        // Where the column's lines start in linesTo, counted from the column's first square.
        const int lineBase = (x - tx + reach) * side - ty + reach - SquareIndex(x, 0);
        for (int sq = SquareIndex(x, ya); sq <= SquareIndex(x, yb); ++sq) {
          if (!survey->answered[sq]) continue;
          ++survey->walked[sq];
          if ((survey->lines.squares[sq] & ~kCoverLineStops) != 0 || sq == shooterOnTarget) {
            survey->answered[sq] = 0;
            continue;
          }
          const uint8_t line = linesTo[lineBase + sq];
          const uint64_t open = (line & kLineStopped) ? 0 : bit;
          survey->listedBits[sq] |= open;
          survey->coverBits[sq] |= (line & kLineCovered) ? open : 0;
        }
      }
      continue;
    }
    for (int x = x0; x <= x1; ++x)
      for (int y = y0; y <= y1; ++y) {
        const int sq = SquareIndex(x, y);
        if (!survey->answered[sq]) continue;
        GridSquare from, to;
        LineEnds(x, y, w, h, t, &from, &to);
        if (DistanceFeet(from.x, from.y, to.x, to.y) > range) continue;
        ++survey->walked[sq];
        uint8_t cover = 0;
        int open;
        if (together && OnGrid(from.x, from.y) && SurveyedHolder(survey->lines, SquareIndex(from.x, from.y)) == -1 &&
            !(listedShooter && tx >= x && tx < x + stampW && ty >= y && ty < y + stampH)) {
          const uint8_t line = linesTo[(from.x - tx + reach) * side + from.y - ty + reach];
          open = (line & kLineStopped) ? 0 : 1;
          cover = (line & kLineCovered) ? 1 : 0;
        } else {
          open = SurveyCoverLine(survey->lines, x, y, from.x, from.y, to.x, to.y, &cover);
        }
        if (open < 0) {
          survey->answered[sq] = 0;  // left to the weighing there
          continue;
        }
        if (open == 0) continue;
        survey->listedBits[sq] |= bit;
        if (cover) survey->coverBits[sq] |= bit;
      }
  }
  survey->overGrid = true;
}

void RecheckRangedTargetSurvey(RangedTargetSurvey* survey) {
  if (!survey->overGrid && survey->lines.stale) return;
  if (!IsValidCreature(survey->creature)) return;
  const CreatureRecord& s = Creatures[survey->creature];
  bool same = survey->footingCount == TurnCount() + 1 && s.feats[kFeatImprovedPreciseShot] == survey->precise &&
              s.footprintWidth.current == survey->footings[0].w && s.footprintHeight.current == survey->footings[0].h;
  for (int i = 0; i < TurnCount() && same; ++i) {
    const RangedTargetSurvey::Footing& f = survey->footings[i + 1];
    const int o = TurnOrder[i].creature;
    if (!IsValidCreature(o) || o == survey->creature) {
      same = f.creature == o;
      continue;
    }
    const CreatureRecord& c = Creatures[o];
    same = f.creature == o && f.x == c.squareX && f.y == c.squareY && f.w == c.footprintWidth.current &&
           f.h == c.footprintHeight.current;
  }
  if (same) return;
  survey->overGrid = false;
  survey->lines.stale = true;
}

bool IsHelplessTarget(int creature, uint8_t wide) {
  if (!IsValidCreature(creature)) return false;
  for (uint32_t id : {kCondSleeping, kCondParalyzed, kCondDancing, kCondCursed, kCondStunned, kCondNauseated})
    if (HasCondition(creature, id)) return true;
  if (wide && (HasCondition(creature, kCondPinned) || HasCondition(creature, kCondCowering))) return true;
  return HasPolymorphValue42(creature);
}

void ResetAdjacencyQueriesState() {
  std::fill(std::begin(AdjacentCreatureList), std::end(AdjacentCreatureList), -1);
  std::fill(std::begin(TargetCandidateList), std::end(TargetCandidateList), -1);
  ResetWords(ClockwisePairs);
  ClockwisePairCount = 0;
}
