#include "combat/turns/melee_grid.h"

#include <algorithm>
#include <cstring>

#include "combat/resolution/attack_resolution.h"
#include "combat/turns/adjacency_queries.h"
#include "combat/turns/decision_words.h"
#include "combat/turns/target_terms.h"
#include "combat/turns/valuation_grid.h"
#include "map/fighter_tests.h"
#include "map/movement_rules.h"
#include "map/path_finding.h"
#include "map/square_grids.h"
#include "rules/adjacency.h"
#include "rules/armour_class.h"
#include "rules/attack_profile.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/feat_ids.h"
#include "rules/recompute_creature.h"
#include "state/combat_action.h"
#include "state/turn_order.h"

uint8_t BlowsRemembered = 1;
uint8_t ProfilesKept = 1;

namespace {

int TurnCount() { return TurnEntryCount < kTurnOrderEntries ? TurnEntryCount : kTurnOrderEntries; }
bool OnGrid(int x, int y) { return x >= 0 && y >= 0 && x < kMapSide && y < kMapSide; }

AttackProfile Profile;

// The entry the fighter attacks with: the one picked for this turn when it
// acts, else the first.
int MeleeEntry(int creature) {
  return IsActingFighter(creature) && SelectedAttackEntry >= 0 ? SelectedAttackEntry : 0;
}

// The hit chance of the fighter's attack on the target, as the action bar shows it.
int32_t HitChance(int creature, int target, int entry) {
  ShownAttackChance = ResolveAttack(creature, target, entry, SecondTactic, 1, 0, 0, nullptr);
  return ShownAttackChance;
}

// ---- Blows remembered while one grid is scored -------------------------------
//
// A melee evaluation of the fighter placed beside a target reads of the
// fighter's square only what its recomputation reads there (tall grass; in a
// storm the rain, which no saving survives), whether it flanks the target
// (with an ally on the far side), whether the target is surrounded, and
// whether a corner of wall stands between them diagonally; everything else
// stays as it was while the grid is scored. A blow met again under the same
// key has the chance it had the first time.

struct RememberedBlow {
  uint32_t stamp;
  int32_t target;
  int32_t key;
  int32_t chance;
};
constexpr int kRememberedBlows = 1024;  // a power of two
RememberedBlow Blows[kRememberedBlows];
uint32_t BlowStamp = 0;

void ForgetBlows() {
  if (++BlowStamp == 0) {
    for (RememberedBlow& b : Blows) b.stamp = 0;
    BlowStamp = 1;
  }
}

// Set while the squares of a grid are scored with blows remembered, and the
// last square whose scoring used a remembered blow (-1 none).
bool RememberingBlows = false;
int LastRememberedSquare = -1;

// The chance of the blow at the target from where the fighter stands; flanks
// tells whether it flanks the target there.
int32_t WeighBlow(int creature, int e, int entry, bool flanks) {
  const AttackProfileEntry& en = Profile.entries[entry];
  const bool natural = en.kind >= kEntryNatural0 && en.kind <= kEntryNatural3;
  const bool ranged = en.kind == kEntryRanged || (natural && std::strcmp(en.name, "Ranged Touch") == 0);
  const int32_t traits = RecomputeSquareTraits(creature);
  if (!RememberingBlows || ranged || traits == -1) return HitChance(creature, e, entry);
  const int32_t key = ((traits * 2 + (flanks ? 1 : 0)) * 2 + (IsTargetSurrounded(e) ? 1 : 0)) * 2 +
                      (IsDiagonalAcrossCorner(creature, e) ? 1 : 0);
  uint32_t h = (static_cast<uint32_t>(e) * 2654435761u) ^ (static_cast<uint32_t>(key) * 40503u);
  for (int probe = 0; probe < 16; ++probe, ++h) {
    RememberedBlow& b = Blows[h & (kRememberedBlows - 1)];
    if (b.stamp == BlowStamp && b.target == e && b.key == key) {
      const CreatureRecord& c = Creatures[creature];
      LastRememberedSquare = SquareIndex(c.squareX, c.squareY);
      ShownAttackChance = b.chance;
      return b.chance;
    }
    if (b.stamp != BlowStamp) {
      // Kept only when neither record was changed by the evaluation's
      // recomputations: the chance of a record not yet settled is not the
      // chance the next evaluation finds.
      NoteRecordsBeforeEvaluation(creature, e);
      const int32_t chance = HitChance(creature, e, entry);
      if (RecordsUnchangedSinceNoted()) b = {BlowStamp, e, key, chance};
      return chance;
    }
  }
  return HitChance(creature, e, entry);
}

// ---- The fighter's profile while one grid is scored ----------------------------
//
// The profile is built from the fighter's record and the turn's state, which
// do not change while a grid is scored but for where the fighter stands (which
// the profile does not read) and what the evaluations' recomputations write
// into its record. It is built again only when the record, its square aside,
// is not the one it was last built from; only its kinds and names are read,
// so no captions are written.

int ProfiledCreature = -1;  // -1: no profile kept
CreatureRecord ProfiledRecord;

void BuildScoringProfile(int creature) {
  const CreatureRecord& c = Creatures[creature];
  if (ProfilesKept != 0 && ProfiledCreature == creature) {
    ProfiledRecord.squareX = c.squareX;
    ProfiledRecord.squareY = c.squareY;
    if (std::memcmp(&ProfiledRecord, &c, sizeof c) == 0) return;
  }
  const uint8_t captions = ProfileCaptionsWritten;
  ProfileCaptionsWritten = 0;
  BuildAttackProfile(&Profile, creature, SecondTactic, -1, 0, 0);
  ProfileCaptionsWritten = captions;
  std::memcpy(&ProfiledRecord, &c, sizeof c);
  ProfiledCreature = creature;
}

// The creature's footprint placed at (x, y) touches a marked ring square.
bool FootprintOnRing(int x, int y, int w, int h) {
  for (int i = x; i < x + w; ++i)
    for (int j = y; j < y + h; ++j)
      if (OnGrid(i, j) && AdjacencyGrid[SquareIndex(i, j)] >= 1 && AdjacencyGrid[SquareIndex(i, j)] <= 8) return true;
  return false;
}

bool Helpless(int e) { return HasCondition(e, kCondSleeping) || HasCondition(e, kCondParalyzed); }

bool BadlyHurt(const CreatureRecord& e) {
  return e.maxHitPoints > 0 && e.hitPoints < e.maxHitPoints && e.hitPoints * 100 / e.maxHitPoints <= 20;
}

// Each enemy's ring raises the squares where the fighter would stand beside it.
void ScoreEnemyRings(int creature, uint8_t stackMode, uint8_t bullRushMode) {
  const CreatureRecord& c = Creatures[creature];
  const int w = c.footprintWidth.current, h = c.footprintHeight.current;
  const bool several = c.feats[kFeatGreatCleave] != 0 || c.feats[kFeatWhirlwindAttack] != 0;
  const bool cleave = c.feats[kFeatCleave] != 0;
  for (int i = 0; i < TurnCount(); ++i) {
    const int e = TurnOrder[i].creature;
    if (!IsValidCreature(e) || e == creature || !AreEnemies(creature, e)) continue;
    MarkAdjacentSquares(e);
    const SquareBox ring = RingBox(e, 0);
    const SquareBox box = FootprintReach(creature, ring.x0, ring.y0, ring.x1, ring.y1);
    for (int x = box.x0; x <= box.x1; ++x)
      for (int y = box.y0; y <= box.y1; ++y) {
        int32_t& v = ValuationGrid[SquareIndex(x, y)];
        if (v == kUnfit || !FootprintOnRing(x, y, w, h)) continue;
        if (bullRushMode) v = 50;
        else if (stackMode) v = v == 0 ? 50 : v + 14;
        else if (several) v = v == 0 ? 50 : v + 1;
        else if (cleave) v = v == 0 ? 50 : 51;
        else v = 50;
      }
  }
}

// Beside an ally on one side, the fighter steps round to the other.
void AddSurroundingBonus(int creature) {
  const CreatureRecord& c = Creatures[creature];
  ListAdjacentAllies(creature);
  bool left = false, right = false, top = false, bottom = false;
  for (int k = 0; k < kAdjacentListSize && AdjacentCreatureList[k] != -1; ++k) {
    const CreatureRecord& a = Creatures[AdjacentCreatureList[k]];
    for (int x = a.squareX; x < a.squareX + a.footprintWidth.current; ++x)
      for (int y = a.squareY; y < a.squareY + a.footprintHeight.current; ++y) {
        if (!OnGrid(x, y)) continue;
        const int32_t code = AdjacencyGrid[SquareIndex(x, y)];
        left |= code == kRingLeft;
        right |= code == kRingRight;
        top |= code == kRingAbove;
        bottom |= code == kRingBelow;
      }
  }
  static const int32_t kRightAlly[] = {5, 1, 3, 7, 8}, kLeftAlly[] = {6, 2, 4, 7, 8}, kTopAlly[] = {8, 4, 3, 6, 5},
                       kBottomAlly[] = {7, 2, 1, 6, 5};
  const int32_t* codes = right && !left ? kRightAlly
                         : left && !right ? kLeftAlly
                         : top && !bottom ? kTopAlly
                         : bottom && !top ? kBottomAlly
                                          : nullptr;
  if (!codes) return;
  const int cx = c.squareX, cy = c.squareY;
  MarkNeighbourDirections(cx, cy);
  for (int x = cx - 1; x <= cx + 1; ++x)
    for (int y = cy - 1; y <= cy + 1; ++y) {
      if (!OnGrid(x, y)) continue;
      const int32_t code = NeighbourGrid[SquareIndex(x, y)];
      int32_t& v = ValuationGrid[SquareIndex(x, y)];
      if (code == 0 || v < 50 || std::find(codes, codes + 5, code) == codes + 5) continue;
      if (!IsFreeStepSquare(creature, cx, cy, x, y)) continue;
      v += 24;
    }
}

// The worth of standing on (x, y), the creature placed there: the enemies it
// would touch and how good a target each is. False when none is listed.
bool ScoreSquare(int creature, int target, uint8_t bullRushMode, int32_t* value) {
  ListAdjacentEnemies(creature, 0);
  const int listed = CountListed(AdjacentCreatureList, kAdjacentListSize);
  if (listed == 0) return false;
  int32_t enemies[kAdjacentListSize];
  std::copy(AdjacentCreatureList, AdjacentCreatureList + listed, enemies);
  const int entry = MeleeEntry(creature);
  BuildScoringProfile(creature);
  const int32_t kind = Profile.entries[entry].kind;
  static const SpecialValues kSpecial = {16, 22, 13, 9, 28};
  static const int32_t kResist[4] = {29, 23, 17, 11};
  int32_t helpless = 0, planners = 0, flanked = 0, flankedBy = 0, weak = 0, priority = 0, sure = 0, free = 0,
          reposition = 0, special = 0, resist = 0, fire = 0;
  for (int k = 0; k < listed; ++k) {
    const int e = enemies[k];
    const CreatureRecord& t = Creatures[e];
    if (Helpless(e)) helpless = 7;
    planners = std::max(planners, 5 * CountPlannedAttacksOn(e));
    const bool flankedE = IsFlanking(creature, e);
    if (flankedE) flanked += 20;
    if (IsFlanking(e, creature)) flankedBy += 5;
    if (BadlyHurt(t)) weak = 9;
    int32_t p = 0;
    if (t.creatureClass == 4 || t.creatureClass == 5) p = 15;
    else if (e == WeakestEnemy) p = 10;
    else if (e == LowestArmourEnemy) p = 5;
    else if (t.creatureClass == 3) p = 3;
    priority = std::max(priority, p);
    if (WeighBlow(creature, e, entry, flankedE) >= 70) sure = 10;
    if (IsFreeTarget(e)) free = 17;
    special = std::max(special, LargestOf(SpecialTerms(creature, kind, e, kSpecial)));
    resist = std::max(resist, ResistTerm(creature, kind, e, kResist));
    if (bullRushMode && reposition == 0) {
      ListAdjacentEnemiesUnfiltered(creature, 0);
      for (int b = 0; b < kAdjacentListSize && AdjacentCreatureList[b] != -1; ++b)
        if (CanBullRushTarget(creature, AdjacentCreatureList[b])) {
          reposition = 24;
          break;
        }
    }
    if (target != -1 && Creatures[creature].kind == -32 && IsInMagicArea(creature, kEffectFire)) fire += 17;
  }
  *value += helpless - flankedBy + special + resist + weak + reposition + free + sure + priority + flanked + planners +
            fire;
  return true;
}

// With no enemy to stand beside anywhere, the squares nearer the nearest foe
// by path are worth more.
void AddApproachTerm(int creature) {
  if (!IsValidCreature(NearestFoe)) return;
  const int ex = Creatures[NearestFoe].squareX, ey = Creatures[NearestFoe].squareY;
  int chosen = -1;
  int32_t cheapest = 10000;
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y) {
      int32_t& v = ValuationGrid[SquareIndex(x, y)];
      if (v < 50) continue;
      if (FindCreaturePath(creature, x, y, ex, ey, 1, 1, 1, 0, nullptr, nullptr) == kPathNone) {
        v = kUnfit;
        continue;
      }
      v -= PathCostFeet / 5;
      if (PathCostFeet < cheapest) {
        cheapest = PathCostFeet;
        chosen = SquareIndex(x, y);
      }
    }
  if (chosen >= 0) ValuationGrid[chosen] += 6;
}

// The own square, and the neighbours a free five-foot step reaches, gain the bonus.
void AddStayBonus(int creature, int32_t bonus, bool neighbours) {
  const CreatureRecord& c = Creatures[creature];
  const int cx = c.squareX, cy = c.squareY;
  if (OnGrid(cx, cy) && ValuationGrid[SquareIndex(cx, cy)] > 0) ValuationGrid[SquareIndex(cx, cy)] += bonus;
  if (!neighbours) return;
  for (int x = cx - 1; x <= cx + 1; ++x)
    for (int y = cy - 1; y <= cy + 1; ++y) {
      if ((x == cx && y == cy) || !OnGrid(x, y)) continue;
      int32_t& v = ValuationGrid[SquareIndex(x, y)];
      if (v >= 1 && IsFreeStepSquare(creature, cx, cy, x, y)) v += bonus;
    }
}

}  // namespace

int BuildMeleeValuationGrid(int creature, int target, uint8_t stackMode, uint8_t bullRushMode,
                            uint8_t dropUnreachable) {
  const ScoringSession session(creature);
  if (!IsValidCreature(creature)) return 1;
  CreatureRecord& c = Creatures[creature];
  BuildAttackProfile(&Profile, creature, IsActingFighter(creature) ? SecondTactic : 0, -1, 0, 0);
  const AttackProfileEntry first = Profile.entries[0];
  const int32_t secondKind = Profile.entries[1].kind;
  bool moreThanOneMove = false, exactlyOneMove = false;
  if (IsActingFighter(creature) && CombatAction.standardActionLeft == 1) {
    moreThanOneMove = CombatAction.movesLeft > c.speed.current;
    exactlyOneMove = CombatAction.movesLeft == c.speed.current;
  }
  std::memset(ValuationGrid, 0, sizeof ValuationGrid);
  MarkUnfitSquares(creature);
  ScoreEnemyRings(creature, stackMode, bullRushMode);

  if (target != -1 && IsValidCreature(target)) {
    for (int x = 0; x < kMapSide; ++x)
      for (int y = 0; y < kMapSide; ++y) {
        int32_t& v = ValuationGrid[SquareIndex(x, y)];
        if (v == kUnfit) continue;
        const GridSquare n = NearestFootprintSquare(target, x, y);
        const int dx = n.x - x, dy = n.y - y;
        v = dx * dx + dy * dy <= 9 ? v + 60 : kUnfit;
      }
  }
  if (target == -1 && MayTakeFiveFootStep(creature)) AddSurroundingBonus(creature);

  // Each square beside an enemy, with the fighter placed there. Remembering
  // blows, the squares from the last one that used a remembered blow on are
  // scored again in full afterwards, so that what their evaluations leave
  // behind is what scoring every blow in full leaves.
  const int sx = c.squareX, sy = c.squareY;
  bool anyListed = false;
  static int32_t scored[kMapSquares], before[kMapSquares];
  int scoredCount = 0;
  ForgetBlows();
  ProfiledCreature = -1;
  RememberingBlows = BlowsRemembered != 0;
  LastRememberedSquare = -1;
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y) {
      int32_t& v = ValuationGrid[SquareIndex(x, y)];
      if (v < 50) continue;
      c.squareX = x;
      c.squareY = y;
      scored[scoredCount] = SquareIndex(x, y);
      before[scoredCount++] = v;
      int32_t value = v;
      if (ScoreSquare(creature, target, bullRushMode, &value)) anyListed = true;
      v = value;
    }
  RememberingBlows = false;
  if (LastRememberedSquare != -1) {
    int from = scoredCount - 1;
    while (from > 0 && scored[from] != LastRememberedSquare) --from;
    for (int i = from; i < scoredCount; ++i) {
      c.squareX = scored[i] / kMapSide;
      c.squareY = scored[i] % kMapSide;
      int32_t value = before[i];
      ScoreSquare(creature, target, bullRushMode, &value);
    }
  }
  c.squareX = sx;
  c.squareY = sy;
  ProfiledCreature = -1;
  if (!anyListed) AddApproachTerm(creature);

  AddRetreatBonuses(creature);
  ScoreGridAdjustments(creature);
  if (target != -1) return 1;

  const bool stepFree = MayTakeFiveFootStep(creature);
  if (ProvokesAttackOfOpportunity(creature, sx, sy, 1)) AddStayBonus(creature, 3, stepFree);
  if (!exactlyOneMove) {
    const bool oneAttack = first.attackCount.total == 1 && (secondKind == kEntryNone || secondKind == kEntryRanged);
    if (!oneAttack) AddStayBonus(creature, 6, InCombat == 1 && stepFree);
  } else {
    AddStayBonus(creature, 50, InCombat == 1 && stepFree);
  }
  ScoreGridReachability(creature, moreThanOneMove ? 1 : 0, dropUnreachable, 0, 0);
  return 1;
}

int ChooseMeleeTarget(int creature, uint8_t grappleMode) {
  const ScoringSession session(creature);
  if (!IsValidCreature(creature)) return -1;
  ListAdjacentEnemies(creature, 0);
  const int listed = CountListed(AdjacentCreatureList, kAdjacentListSize);
  if (listed == 0) return -1;
  if (listed == 1) return AdjacentCreatureList[0];
  int32_t enemies[kAdjacentListSize];
  std::copy(AdjacentCreatureList, AdjacentCreatureList + listed, enemies);

  int fewest = -1, lowestAc = -1;
  int32_t fewestHp = 10000, lowestAcValue = 10000;
  for (int k = 0; k < listed; ++k) {
    const int e = enemies[k];
    if (Creatures[e].hitPoints < fewestHp) {
      fewestHp = Creatures[e].hitPoints;
      fewest = e;
    }
    const int32_t ac = ComputeArmourClass(e, nullptr, nullptr, 0, creature, kAttackMelee, 0);
    if (ac < lowestAcValue) {
      lowestAcValue = ac;
      lowestAc = e;
    }
  }
  const int entry = MeleeEntry(creature);
  BuildAttackProfile(&Profile, creature, SecondTactic, -1, 0, 0);
  const int32_t kind = Profile.entries[entry].kind;
  static const SpecialValues kSpecial = {16, 22, 13, 9, 28};
  static const int32_t kResist[4] = {29, 23, 17, 11};
  int chosen = -1;
  int32_t best = -100;
  for (int k = 0; k < listed; ++k) {
    const int e = enemies[k];
    const CreatureRecord& t = Creatures[e];
    int32_t score = 5 * CountPlannedAttacksOn(e);
    if (IsFlanking(creature, e)) score += 5;
    if (t.creatureClass == 4 || t.creatureClass == 5) score += 15;
    else if (e == WeakestEnemy) score += 10;
    else if (e == LowestArmourEnemy) score += 5;
    if (e == fewest) score += 6;
    else if (e == lowestAc) score += 3;
    const int32_t chance = grappleMode ? (ShownAttackChance = ResolveAttack(creature, e, entry, SecondTactic, 1, 1, 0, nullptr))
                                       : HitChance(creature, e, entry);
    if (!grappleMode && !FinishHelpless) score += SumOf(SpecialTerms(creature, kind, e, kSpecial));
    if (chance >= 70) score += 10;
    if (grappleMode && GetProtectionValue(e, kCodeCannotBeGrappled) != 1 && !HasCondition(e, kCondDancing) &&
        !HasCondition(e, kCondGrappling))
      score += 20;
    if (IsFreeTarget(e)) score += 17;
    if (!FinishHelpless) {
      score += ResistTerm(creature, kind, e, kResist);
      if (HasCondition(e, kCondSleeping) && GetProtectionValue(e, kCodeNeverHelpless) != 1) score -= 19;
    } else if (Helpless(e) && GetProtectionValue(e, kCodeNeverHelpless) != 1) {
      score += 31;
    }
    if (score > best) {
      best = score;
      chosen = e;
    }
  }
  return chosen;
}
