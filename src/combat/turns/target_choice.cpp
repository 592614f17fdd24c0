#include "combat/actions/attack_actions.h"
#include "combat/turns/target_choice.h"

#include <algorithm>
#include <iterator>

#include "combat/resolution/attack_resolution.h"
#include "combat/turns/adjacency_queries.h"
#include "combat/turns/best_square.h"
#include "combat/turns/computer_decision.h"
#include "combat/turns/decision_words.h"
#include "combat/turns/target_terms.h"
#include "engine/random.h"
#include "map/fighter_tests.h"
#include "map/line_of_effect.h"
#include "map/movement_rules.h"
#include "map/charge_lines.h"
#include "map/path_finding.h"
#include "map/square_grids.h"
#include "rules/adjacency.h"
#include "rules/armour_class.h"
#include "rules/attack_profile.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "state/combat_action.h"
#include "state/turn_order.h"

ChargeSquare ChargeSquares[300];

namespace {

int TurnCount() { return TurnEntryCount < kTurnOrderEntries ? TurnEntryCount : kTurnOrderEntries; }
int Candidates() { return CountListed(TargetCandidateList, kCandidateListSize); }

// The exit offsets, spiralling outward from (1, 0): rings 1 to 4 whole, ring
// 5 on its sides within 3 of their middles, ring 6 within 2.
struct Offset {
  int8_t dx, dy;
};
struct ExitOffsets {
  Offset at[128];
  int count = 0;
  ExitOffsets() {
    for (int r = 1; r <= 6; ++r) {
      const int limit = r <= 4 ? r : r == 5 ? 3 : 2;
      const bool whole = r <= 4;
      // Down the right side, left along the top, down... the way the spiral turns.
      for (int y = whole ? r - 1 : limit; y >= -limit; --y) Add(r, y);
      for (int x = whole ? r - 1 : limit; x >= -limit; --x) Add(x, -r);
      for (int y = whole ? -r + 1 : -limit; y <= limit; ++y) Add(-r, y);
      for (int x = whole ? -r + 1 : -limit; x <= limit; ++x) Add(x, r);
    }
  }
  void Add(int dx, int dy) { at[count++] = {static_cast<int8_t>(dx), static_cast<int8_t>(dy)}; }
};
const ExitOffsets kExits;

// The fighter's ranged entry: the decision's, else the first ranged one.
int RangedEntry(int creature) {
  if (RangedProfileEntry >= 0) return RangedProfileEntry;
  static AttackProfile profile;
  BuildAttackProfile(&profile, creature, SecondTactic, -1, 0, 0);
  const int entry = FirstRangedEntry(profile);
  return entry >= 0 ? entry : 0;
}

int32_t RangedChance(int creature, int target) {
  ShownAttackChance = ResolveAttack(creature, target, RangedEntry(creature), SecondTactic, 1, 0, 0, nullptr);
  return ShownAttackChance;
}

bool ReadiedAgainst(int target) {
  for (int i = 0; i < TurnCount(); ++i)
    if (TurnOrder[i].plannedTarget == target && (TurnOrder[i].plannedAction == 22 || TurnOrder[i].plannedAction == 23))
      return true;
  return false;
}

bool Disabled(int e) {
  for (uint32_t id : {kCondParalyzed, kCondGrappling, kCondMute, kCondSilenced, kCondPlagued, kCondAcidBurns,
                      kCondBurning, kCondBleeding})
    if (HasCondition(e, id)) return true;
  return false;
}

// The ammunition's weighting against the target: arrows of kind 8 against a
// target open to them (sleepers excluded when asked), and slaying arrows of
// kinds 9 to 16 against their creature type.
int32_t AmmunitionTerm(int creature, int target, int32_t plain, int32_t slaying, bool skipSleeping) {
  const uint32_t ammo = Creatures[creature].ammunition.code;
  if (ammo < kFirstBaseItemCode || ammo - kFirstBaseItemCode >= static_cast<uint32_t>(kItemRows)) return 0;
  const int32_t kind = ItemTable[ammo - kFirstBaseItemCode].baseType;
  if (kind == 8) {
    if (skipSleeping && HasCondition(target, kCondSleeping)) return 0;
    return GetProtectionValue(target, 26) == 0 && GetProtectionValue(target, 31) == 0 ? plain : 0;
  }
  static const int32_t kType[8] = {5, 8, 7, 4, 6, 2, 1, 3};
  if (kind < 9 || kind > 16) return 0;
  const int code = kind == 10 || kind == 14 ? 40 : 39;
  return Creatures[target].type == kType[kind - 9] && GetProtectionValue(target, code) == 0 ? slaying : 0;
}

// The first pass of the ranged choosers: the lowest armour class against the
// shot (each candidate's line tested for cover first) and the fewest hit points.
void RangedFirstPass(int creature, int count, int* lowestAc, int* fewest) {
  int32_t bestAc = 10000, bestHp = 10000;
  *lowestAc = *fewest = -1;
  const CreatureRecord& c = Creatures[creature];
  for (int i = 0; i < count; ++i) {
    const int e = TargetCandidateList[i];
    if (!IsValidCreature(e)) continue;
    const GridSquare from = NearestFootprintSquare(creature, Creatures[e].squareX, Creatures[e].squareY);
    const GridSquare to = NearestFootprintSquare(e, c.squareX, c.squareY);
    FindCover(from.x, from.y, to.x, to.y, 0);
    const int32_t ac = ComputeArmourClass(e, nullptr, nullptr, 0, creature, kAttackRanged, 0);
    CoverActive = 0;
    if (ac < bestAc) {
      bestAc = ac;
      *lowestAc = e;
    }
    if (Creatures[e].hitPoints < bestHp) {
      bestHp = Creatures[e].hitPoints;
      *fewest = e;
    }
  }
}

// The highest score wins, strictly, from 0: none above 0 gives -1.
template <typename Score>
int HighestScoring(int count, Score score) {
  int chosen = -1;
  int32_t best = 0;
  for (int i = 0; i < count; ++i) {
    const int32_t s = score(i);
    if (s > best) {
      best = s;
      chosen = i;
    }
  }
  return chosen;
}

}  // namespace

int IsInAnyMagicArea(int creature) {
  if (!IsValidCreature(creature)) return 0;
  const CreatureRecord& c = Creatures[creature];
  for (int x = c.squareX; x < c.squareX + c.footprintWidth.current; ++x)
    for (int y = c.squareY; y < c.squareY + c.footprintHeight.current; ++y) {
      if (!CurrentMap.Inside(x, y) || x >= kMapSide || y >= kMapSide) continue;
      const int sq = SquareIndex(x, y);
      if (BlockedGrid[sq] != kSquareBlocked && MagicAreaGrid[sq].kind != kEffectNone) return 1;
    }
  return 0;
}

int64_t FindMagicAreaExit(int creature) {
  if (!IsValidCreature(creature)) return kNoSquare;
  const CreatureRecord& c = Creatures[creature];
  const int w = c.footprintWidth.current, h = c.footprintHeight.current;
  for (int k = 0; k < kExits.count; ++k) {
    const int x = c.squareX + kExits.at[k].dx, y = c.squareY + kExits.at[k].dy;
    bool clear = true;
    for (int i = x; i < x + w && clear; ++i)
      for (int j = y; j < y + h && clear; ++j) {
        clear = CurrentMap.Inside(i, j) && i < kMapSide && j < kMapSide;
        if (!clear) break;
        const int sq = SquareIndex(i, j);
        clear = BlockedGrid[sq] != kSquareBlocked && MagicAreaGrid[sq].kind == kEffectNone &&
                CreatureAtSquare(i, j, creature) == -1;
      }
    if (!clear) continue;
    if (FindCreaturePath(creature, c.squareX, c.squareY, x, y, 1, 1, 0, 0, nullptr, nullptr) == kPathFound &&
        PathShown == 1)
      return PackSquare(x, y);
  }
  return kNoSquare;
}

int ChooseRangedTarget(int creature) {
  const ScoringSession session(creature);
  const int count = Candidates();
  if (count == 0 || !IsValidCreature(creature)) return -1;
  if (count == 1) return TargetCandidateList[0];
  int lowestAc, fewest;
  RangedFirstPass(creature, count, &lowestAc, &fewest);
  const int chosen = HighestScoring(count, [&](int i) {
    const int e = TargetCandidateList[i];
    const CreatureRecord& t = Creatures[e];
    int32_t s = ReadiedAgainst(e) ? 0 : 8;
    if (RangedChance(creature, e) >= 70) s += 3;
    if (t.creatureClass == 4 || t.creatureClass == 5) s += 5;
    if (e == lowestAc) s += 1;
    if (IsFreeTarget(e)) s += 17;
    s += AmmunitionTerm(creature, e, 14, 26, false);
    if (!Disabled(e)) s += 2;
    return s;
  });
  return chosen < 0 ? -1 : TargetCandidateList[chosen];
}

int ChooseBestRangedTarget(int creature) {
  const ScoringSession session(creature);
  ListRangedTargets(creature, 0);
  const int count = Candidates();
  if (count == 0 || !IsValidCreature(creature)) return -1;
  if (count == 1) return TargetCandidateList[0];
  int lowestAc, fewest;
  RangedFirstPass(creature, count, &lowestAc, &fewest);
  static const SpecialValues kSpecial = {0, 22, 13, 9, 0};
  static const int32_t kResist[4] = {29, 23, 17, 11};
  const int chosen = HighestScoring(count, [&](int i) {
    const int e = TargetCandidateList[i];
    const CreatureRecord& t = Creatures[e];
    int32_t s = 5 * CountPlannedAttacksOn(e);
    if (RangedChance(creature, e) >= 70) s += 15;
    if (e == DisruptionTarget) s += 200;
    if (e == WeakestEnemy || t.creatureClass == 4) s += 10;
    if (e == fewest) s += 6;
    else if (e == lowestAc) s += 3;
    if (IsFreeTarget(e) && !HasCondition(e, kCondGrappling)) s += 17;
    if (!FinishHelpless) {
      if (!HasCondition(e, kCondSleeping)) s += 29;
      s += SumOf(SpecialTerms(creature, kEntryRanged, e, kSpecial));
      s += ResistTerm(creature, kEntryRanged, e, kResist);
    }
    s += AmmunitionTerm(creature, e, 14, 26, true);
    return s;
  });
  return chosen < 0 ? -1 : TargetCandidateList[chosen];
}

int ChooseReadiedTarget() {
  const int count = Candidates();
  if (count == 0) return -1;
  if (count == 1) return TargetCandidateList[0];
  const int chosen = HighestScoring(count, [](int i) {
    const int e = TargetCandidateList[i];
    const CreatureRecord& t = Creatures[e];
    int32_t s = ReadiedAgainst(e) ? 0 : 8;
    if (t.creatureClass == 4 || t.creatureClass == 5) s += 5;
    if (IsFreeTarget(e)) s += 17;
    if (!Disabled(e)) s += 2;
    return s;
  });
  return chosen < 0 ? -1 : TargetCandidateList[chosen];
}

int ChooseRandomCasterTarget() {
  const int count = Candidates();
  if (count == 0) return -1;
  if (count == 1) return TargetCandidateList[0];
  int casters[kCandidateListSize];
  int n = 0;
  for (int i = 0; i < count; ++i) {
    const int e = TargetCandidateList[i];
    if (IsValidCreature(e) && (Creatures[e].creatureClass == 4 || Creatures[e].creatureClass == 5)) casters[n++] = e;
  }
  if (n > 0) return casters[RandomUpTo(static_cast<uint32_t>(n - 1))];
  return TargetCandidateList[RandomUpTo(static_cast<uint32_t>(count - 1))];
}

namespace {

int FootprintSide(int32_t side) { return side > 0 ? side : 1; }

// True when no charge line of the acting fighter from its square can reach
// the creature standing on (targetX, targetY): every square of a line lies
// as many steps from the start as its place in the line, each step costs at
// least five feet (seven a diagonal one) and lands on open floor no other
// combatant stands on, and the run must stop beside the target within the
// moves left, so a target whose ring lies farther than the moves left allow,
// or than any walk over such squares gets within them, is out of reach
// whatever line is tried. flooded tells whether those walks were worked out.
bool BeyondChargeRange(int fighter, int targetX, int targetY, bool* flooded) {
  const int target = CombatantAtSquare(targetX, targetY);
  if (!IsValidCreature(target)) return false;
  const CreatureRecord& c = Creatures[fighter];
  const CreatureRecord& t = Creatures[target];
  const int x0 = t.squareX - FootprintSide(c.footprintWidth.current);
  const int x1 = t.squareX + FootprintSide(t.footprintWidth.current);
  const int y0 = t.squareY - FootprintSide(c.footprintHeight.current);
  const int y1 = t.squareY + FootprintSide(t.footprintHeight.current);
  const int dx = c.squareX < x0 ? x0 - c.squareX : (c.squareX > x1 ? c.squareX - x1 : 0);
  const int dy = c.squareY < y0 ? y0 - c.squareY : (c.squareY > y1 ? c.squareY - y1 : 0);
  if (5 * std::max(dx, dy) > CombatAction.movesLeft) return true;
  if (!*flooded) {
    FloodChargeWalkFrom(fighter);
    *flooded = true;
  }
  return LeastWalkIntoBox(x0, y0, x1, y1) > CombatAction.movesLeft;
}

// What the failed reach test of a target out of range leaves behind: the
// marks of the target's ring and the last line it tried (the one to the last
// ring square in x-major order, or the target's own square without a ring).
void LeaveFailedReach(int fighter, int targetX, int targetY) {
  const int target = CombatantAtSquare(targetX, targetY);
  if (!IsValidCreature(target)) return;
  const CreatureRecord& c = Creatures[fighter];
  MarkAdjacentSquares(target);
  for (int x = kMapSide - 1; x >= 0; --x)
    for (int y = kMapSide - 1; y >= 0; --y)
      if (AdjacencyGrid[SquareIndex(x, y)] != 0) {
        CanChargeAlongLine(c.squareX, c.squareY, x, y, target);
        return;
      }
  CanChargeAlongLine(c.squareX, c.squareY, targetX, targetY, target);
}

}  // namespace

bool ChargeByBoundedLines = true;

int ListChargeableEnemies(int creature) {
  std::fill(std::begin(TargetCandidateList), std::end(TargetCandidateList), -1);
  std::fill(std::begin(ChargeSquares), std::end(ChargeSquares), ChargeSquare{-1, -1});
  if (!IsValidCreature(creature)) return 0;
  const CombatActionState& a = CombatAction;
  const bool actionLeft = a.fullRoundActionLeft != 0 || (a.singleActionTurn == 1 && a.standardActionLeft != 0);
  if (!actionLeft || a.fiveFootStepLeft != 1) return 0;
  CreatureRecord& c = Creatures[creature];
  // The lines are the acting fighter's: only its own list may skip targets.
  const bool bounded = ChargeByBoundedLines && a.currentEntry >= 0 && a.currentEntry < TurnCount() &&
                       TurnOrder[a.currentEntry].creature == creature;
  int skipped = -1;  // the enemy of the last reach test skipped, while no test followed it
  bool flooded = false;
  int n = 0;
  for (int i = 0; i < TurnCount() && n < kCandidateListSize; ++i) {
    const int e = TurnOrder[i].creature;
    if (!IsValidCreature(e) || e == creature || !AreEnemies(creature, e)) continue;
    if (std::find(TargetCandidateList, TargetCandidateList + n, e) != TargetCandidateList + n) continue;
    if (bounded && BeyondChargeRange(creature, Creatures[e].squareX, Creatures[e].squareY, &flooded)) {
      skipped = e;
      continue;
    }
    skipped = -1;
    if (!CanReachTargetFrom(Creatures[e].squareX, Creatures[e].squareY, c.squareX, c.squareY)) continue;
    TargetCandidateList[n] = e;
    ChargeSquares[n] = {c.destinationX, c.destinationY};
    ++n;
  }
  if (skipped != -1) LeaveFailedReach(creature, Creatures[skipped].squareX, Creatures[skipped].squareY);
  return n;
}

int ChooseChargeTarget(int creature) {
  const ScoringSession session(creature);
  const int count = Candidates();
  if (count == 0 || !IsValidCreature(creature)) return -1;
  if (count == 1) return 0;
  CreatureRecord& c = Creatures[creature];
  const int sx = c.squareX, sy = c.squareY;
  int fewest = -1, lowestAc = -1;
  int32_t fewestHp = 10000, bestAc = 10000;
  for (int i = 0; i < count; ++i) {
    const int e = TargetCandidateList[i];
    if (Creatures[e].hitPoints < fewestHp) {
      fewestHp = Creatures[e].hitPoints;
      fewest = e;
    }
    c.squareX = sx;
    c.squareY = sy;
    if (CanReachTargetFrom(Creatures[e].squareX, Creatures[e].squareY, sx, sy)) {
      c.squareX = c.destinationX;
      c.squareY = c.destinationY;
    }
    const int32_t ac = ComputeArmourClass(e, nullptr, nullptr, 0, creature, kAttackMelee, 0);
    if (ac < bestAc) {
      bestAc = ac;
      lowestAc = e;
    }
  }
  static AttackProfile profile;
  BuildAttackProfile(&profile, creature, SecondTactic, -1, 0, 0);
  const int32_t kind = profile.entries[0].kind;
  static const SpecialValues kSpecial = {16, 22, 13, 9, 28};
  static const int32_t kResist[4] = {29, 23, 17, 11};
  const int chosen = HighestScoring(count, [&](int i) {
    const int e = TargetCandidateList[i];
    const CreatureRecord& t = Creatures[e];
    c.squareX = ChargeSquares[i].x;
    c.squareY = ChargeSquares[i].y;
    int32_t s = 5 * CountPlannedAttacksOn(e);
    if (IsFlanking(creature, e)) s += 5;
    if (t.creatureClass == 4) s += 15;
    else if (e == WeakestEnemy) s += 10;
    else if (e == LowestArmourEnemy) s += 5;
    if (e == fewest) s += 6;
    else if (e == lowestAc) s += 3;
    ShownAttackChance = ResolveAttack(creature, e, 0, SecondTactic, 1, 0, 0, nullptr);
    s += SumOf(SpecialTerms(creature, kind, e, kSpecial));
    if (ShownAttackChance >= 70) s += 10;
    if (IsFreeTarget(e)) s += 17;
    s += ResistTerm(creature, kind, e, kResist);
    return s;
  });
  c.squareX = sx;
  c.squareY = sy;
  return chosen;
}
