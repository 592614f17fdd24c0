#include "combat/turns/valuation_grid.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "combat/turns/decision_words.h"
#include "engine/reset_words.h"
#include "map/combatant_grid.h"
#include "map/fighter_tests.h"
#include "map/movement_rules.h"
#include "map/reach_flood.h"
#include "map/square_grids.h"
#include "rules/attack_profile.h"
#include "rules/casting_rules.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/feat_ids.h"
#include "rules/item_tables.h"
#include "state/combat_action.h"
#include "state/fighter_slots.h"
#include "state/turn_order.h"

int32_t ValuationGrid[kMapSquares];
PathTallyRecord ReachRecords[kMapSquares];

namespace {

constexpr int kTallyProvoked = 0;
constexpr int kTallyFire = 2;
constexpr int kTallyBrazier = 3;
constexpr int kTallyWeb = 4;
constexpr int kTallyCost = 6;
// So few wanted squares are searched one by one sooner than flooded for.
constexpr int kFewSquares = 4;

int TurnCount() { return TurnEntryCount < kTurnOrderEntries ? TurnEntryCount : kTurnOrderEntries; }
int32_t Word(const uint32_t* r, int k) { return static_cast<int32_t>(r[k]); }

// The magic-area kinds under the creature's footprint placed at (x, y), as bits 1 << kind.
uint32_t KindsUnder(int x, int y, int w, int h) {
  if (w <= 1 && h <= 1) {
    const bool under = w == 1 && h == 1 && CurrentMap.Inside(x, y) && x < kMapSide && y < kMapSide;
    return under ? 1u << MagicAreaGrid[SquareIndex(x, y)].kind : 0;
  }
  uint32_t kinds = 0;
  for (int i = x; i < x + w; ++i)
    for (int j = y; j < y + h; ++j)
      if (CurrentMap.Inside(i, j) && i < kMapSide && j < kMapSide)
        kinds |= 1u << MagicAreaGrid[SquareIndex(i, j)].kind;
  return kinds;
}

bool BrazierFireUnder(int x, int y, int w, int h) {
  for (int i = x; i < x + w; ++i)
    for (int j = y; j < y + h; ++j) {
      if (!CurrentMap.Inside(i, j) || i >= kMapSide || j >= kMapSide) continue;
      const SquareEffectCell& cell = MagicAreaGrid[SquareIndex(i, j)];
      if (cell.kind == kEffectFire && cell.roundsLeft == 1000) return true;
    }
  return false;
}

// The concealment the creature enjoys: 50 under Greater_Invisibility, else
// the value of its magical concealment.
int32_t Concealment(int creature) {
  if (HasCondition(creature, kCondGreaterInvisibility)) return 50;
  const int slot = FindCondition(creature, kCondMagicallyConcealed);
  return slot >= 0 ? Creatures[creature].conditions[slot].value : 0;
}

// Both corner squares of a diagonal step are open.
bool CornersOpen(int fromX, int fromY, int x, int y) {
  return !IsCornerObstructed(x, fromY) && !IsCornerObstructed(fromX, y);
}

// The heavy-threat rule: the penalty becomes 85 when the walk provokes more
// attacks than the creature's hit points and Mobility allow.
int32_t ThreatPenalty(const CreatureRecord& c, int32_t attacks, bool mobility) {
  int32_t p = attacks * (mobility ? 6 : 9);
  if (p < 1) return p;
  const int32_t hp = c.hitPoints;
  bool heavy;
  if (hp <= 40)
    heavy = !mobility || attacks > 1;
  else if (hp <= 100)
    heavy = mobility ? attacks > 2 : attacks > 1;
  else
    heavy = attacks > 2;
  return heavy ? 85 : p;
}

// A blocking area lies on the map and no enemy of the creature stands on a
// square connected to it: the walk costs cannot be judged.
bool CutOffByBlockingArea(int creature) {
  bool blocking = false;
  for (int x = 0; x < CurrentMap.width && x < kMapSide && !blocking; ++x)
    for (int y = 0; y < CurrentMap.height && y < kMapSide; ++y)
      if (MagicAreaGrid[SquareIndex(x, y)].kind == kEffectSolid) {
        blocking = true;
        break;
      }
  if (!blocking) return false;
  for (int i = 0; i < TurnCount(); ++i) {
    const int o = TurnOrder[i].creature;
    if (!IsValidCreature(o) || o == creature || !AreEnemies(creature, o)) continue;
    const CreatureRecord& e = Creatures[o];
    if (e.squareX < 0 || e.squareY < 0 || e.squareX >= kMapSide || e.squareY >= kMapSide) continue;
    if (BlockedGrid[SquareIndex(e.squareX, e.squareY)] == kSquareFlooded) return false;
  }
  return true;
}

}  // namespace

bool IsCaster(int creature) { return HighestUsableSpellLevel(-1, creature); }

bool IsFireSafe(int creature) {
  if (!IsValidCreature(creature)) return false;
  return HasCondition(creature, kCondFireResistance) || Creatures[creature].protections[kProtResistFire].current > 0 ||
         GetProtectionValue(creature, 2) == 4;
}

bool IsFreeStepSquare(int creature, int fromX, int fromY, int x, int y) {
  const CreatureRecord& c = Creatures[creature];
  if (c.footprintWidth.current > 1 || c.footprintHeight.current > 1) return true;
  if (x == fromX || y == fromY) return true;
  return CornersOpen(fromX, fromY, x, y);
}

SquareBox FootprintReach(int creature, int x0, int y0, int x1, int y1) {
  const CreatureRecord& c = Creatures[creature];
  const int w = std::max(1, c.footprintWidth.current), h = std::max(1, c.footprintHeight.current);
  return {std::max(0, x0 - w + 1), std::max(0, y0 - h + 1), std::min(kMapSide - 1, x1), std::min(kMapSide - 1, y1)};
}

SquareBox RingBox(int creature, int more) {
  const CreatureRecord& e = Creatures[creature];
  return {e.squareX - 1 - more, e.squareY - 1 - more, e.squareX + e.footprintWidth.current + more,
          e.squareY + e.footprintHeight.current + more};
}

int MarkUnfitSquares(int creature) {
  SyncCombatantGrid();
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y) {
      int32_t& v = ValuationGrid[SquareIndex(x, y)];
      if (v != kUnfit && !FootprintFitsAtSynced(x, y, creature, 0)) v = kUnfit;
    }
  return 1;
}

int32_t ValuationGridMaximum() {
  int32_t best = -1;
  for (int32_t v : ValuationGrid) best = std::max(best, v);
  return best;
}

int ScoreGridAdjustments(int creature) {
  if (!IsValidCreature(creature)) return 1;
  const CreatureRecord& c = Creatures[creature];
  const bool caster = IsCaster(creature);
  const bool sightDependent = IsSightDependent(creature, 0);
  const int32_t concealment = Concealment(creature);
  const bool smallExposed = concealment == 0 && c.size.current < 4;
  const bool homeInDark = concealment < 50 && !sightDependent;
  const bool hurtByFire = IsHurtByFire(creature);
  const bool hampered = GetProtectionValue(creature, kCodeFreeMovement) != 1;
  const int32_t silencePenalty = c.special[kSenseKindWord] == 5 ? 30
                                 : caster ? (c.feats[kFeatMetamagicSilent] != 0 ? 21 : 60)
                                          : 10;
  const int w = c.footprintWidth.current, h = c.footprintHeight.current;
  // What a square gains or loses with the kinds of area under the footprint,
  // tall grass under a small exposed fighter and a brazier's fire.
  auto change = [&](uint32_t kinds, bool grass, bool brazier) {
    auto under = [kinds](uint32_t kind) { return (kinds & (1u << kind)) != 0; };
    int32_t d = 0;
    if (homeInDark && under(kEffectDarkness)) {
      d += 9;
    } else if (grass) {
      d += 4;
    }
    if (hurtByFire) {
      if (under(kEffectFire)) d -= 100;
    } else if (brazier) {
      d -= 100;
    }
    if (hampered) {
      if (under(kEffectEntangle)) d -= 10;
      if (c.kind != 32 && under(kEffectWeb)) d -= 30;
    }
    if (sightDependent && under(kEffectDarkness)) d -= 30;
    if (under(kEffectSilence)) d -= silencePenalty;
    if (under(kEffectInsectPlague)) d -= 5;
    return d;
  };
  auto grassAt = [smallExposed](int x, int y) {
    if (!smallExposed) return false;
    const int32_t floor = CurrentMap.At(kLayerFloor, x, y);
    return floor == 123 || floor == 124;
  };
  const bool braziers = !hurtByFire && c.kind == 88;
  if (w == 1 && h == 1 && !braziers) {
    // A one-square fighter stands on one kind of area at most: the change of
    // each kind is worked out once.
    constexpr int kKinds = 32;
    int32_t plain[kKinds + 1], grassy[kKinds + 1];
    for (int k = 0; k <= kKinds; ++k) {
      const uint32_t kinds = k < kKinds ? 1u << k : 0;  // the last: off the map, no area
      plain[k] = change(kinds, false, false);
      grassy[k] = change(kinds, true, false);
    }
    for (int x = 0; x < kMapSide; ++x)
      for (int y = 0; y < kMapSide; ++y) {
        int32_t& v = ValuationGrid[SquareIndex(x, y)];
        if (v == kUnfit || v == 0) continue;
        const bool grass = grassAt(x, y);
        if (!CurrentMap.Inside(x, y)) {
          v += grass ? grassy[kKinds] : plain[kKinds];
          continue;
        }
        const uint32_t kind = MagicAreaGrid[SquareIndex(x, y)].kind;
        if (kind >= static_cast<uint32_t>(kKinds)) {
          v += change(KindsUnder(x, y, w, h), grass, false);
          continue;
        }
        v += grass ? grassy[kind] : plain[kind];
      }
    return 1;
  }
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y) {
      int32_t& v = ValuationGrid[SquareIndex(x, y)];
      if (v == kUnfit || v == 0) continue;
      v += change(KindsUnder(x, y, w, h), grassAt(x, y), braziers && BrazierFireUnder(x, y, w, h));
    }
  return 1;
}

namespace {

// Squares with a value of at least 1 lose what is left of their worth when
// too many are wanted: below half the best they become -1.
void ApplyCrowding() {
  int positive = 0;
  int32_t best = -1;
  for (int32_t v : ValuationGrid) {
    if (v > 0) ++positive;
    best = std::max(best, v);
  }
  if (positive <= 14) return;
  for (int32_t& v : ValuationGrid)
    if (v >= 1 && v < best / 2) v = -1;
}

// The flags of the creature that weigh the hazards of its walk.
struct WalkFlags {
  bool stepFree, fireCapable, standOff, wary, fireSafe, mobility, hurtByFire;
};

WalkFlags WalkFlagsOf(int creature) {
  const CreatureRecord& c = Creatures[creature];
  WalkFlags f{};
  f.stepFree = MayTakeFiveFootStep(creature);
  const bool caster = IsCaster(creature);
  f.fireCapable = caster && (!IsSpellcastingBlocked(creature, 27, 0, 1, 0) ||
                             !IsSpellcastingBlocked(creature, 123, 0, 1, 0) ||
                             !IsSpellcastingBlocked(creature, 139, 0, 1, 0));
  bool anyThreatened = false;
  if (!caster && !HasUsableAmmunition(creature))
    for (int i = 0; i < TurnCount() && !anyThreatened; ++i) anyThreatened = IsThreatenedByEnemy(TurnOrder[i].creature);
  if (caster || HasUsableAmmunition(creature) || anyThreatened) {
    f.standOff = f.wary = true;
  } else {
    f.wary = c.hitPoints < c.maxHitPoints * 50 / 100;
  }
  f.fireSafe = IsFireSafe(creature);
  if (f.fireSafe) f.wary = false;
  f.mobility = c.feats[kFeatMobility] != 0;
  f.hurtByFire = IsHurtByFire(creature);
  return f;
}

// The lowest movement cost among the best squares with a worked-out path
// gains 1.
void BreakTieAmongBest() {
  const int32_t best = ValuationGridMaximum();
  if (best < 1) return;
  int chosen = -1;
  int32_t cheapest = 10000;
  for (int i = 0; i < kMapSquares; ++i) {
    if (ValuationGrid[i] != best) continue;
    const int32_t cost = Word(ReachRecords[i], kTallyCost);
    if (cost == -1) continue;
    if (cost < cheapest) {
      cheapest = cost;
      chosen = i;
    }
  }
  if (chosen >= 0) ValuationGrid[chosen] += 1;
}

}  // namespace

namespace {

// One reachability pass: the creature, its flags and the pass's options.
struct ReachPass {
  int creature;
  uint8_t preferOneMove, dropUnreachable, oneMoveOnly, dropBelowFourteen;
  WalkFlags f;
  int cx, cy;
  int32_t budget;
  bool mayStep;
  int farthest;
  // The last square found reachable, and the goal and outcome of the last
  // search (spared: the flood told it would find nothing).
  int lastReachable = -1, lastSearched = -1;
  bool lastFound = false, lastSpared = false;
  // The goal and the walk of the last search whose walk alone was found
  // (SearchWalk): what that search leaves can be left without it.
  int lastWalkGoal = -1;
  int lastWalkLength = 0;
  int32_t lastWalkX[kPathLength] = {}, lastWalkY[kPathLength] = {};
  // What the walk to each wanted square recorded, in the order the rings take
  // them: written while the rings search, read instead of searching when a
  // pass of the same wanted squares over the same battle is taken again.
  struct Outcome {
    bool reached;
    PathTallyRecord rec;
  };
  std::vector<Outcome>* outcomes = nullptr;
  bool replaying = false;
  size_t next = 0;

  void ClearRecords() {
    for (PathTallyRecord& r : ReachRecords) {
      std::memset(r, 0, sizeof r);
      r[0] = r[kTallyWords - 1] = static_cast<uint32_t>(-1);
    }
  }

  // A search of the pass's own kind to (x, y).
  bool Search(int x, int y, uint32_t* out, PathTallyRecord* buffer) {
    lastSearched = SquareIndex(x, y);
    lastSpared = false;
    lastFound = FindCreaturePath(creature, cx, cy, x, y, 1, 1, 0, 0, out, buffer) == kPathFound;
    return lastFound;
  }

  // The walk alone of a search of the pass's own kind to (x, y), the records
  // along it told by the flood. What else the search would leave is left to
  // the pass's last search. False when it finds nothing (the search itself
  // must then run).
  bool SearchWalk(int x, int y, uint32_t* out) {
    if (!FindCombatWalk(creature, cx, cy, x, y) || !FloodTallyWalk(ReachRecords, out)) return false;
    lastWalkGoal = SquareIndex(x, y);
    lastWalkLength = PathLength;
    std::copy_n(PathOutX, PathLength, lastWalkX);
    std::copy_n(PathOutY, PathLength, lastWalkY);
    return true;
  }

  // Weighs the walk to one wanted square of ring 1 or beyond from its record.
  void Weigh(int x, int y, bool neighbour, const uint32_t* rec, int32_t& value) {
    const CreatureRecord& c = Creatures[creature];
    int32_t penalty = ThreatPenalty(c, Word(rec, kTallyProvoked), f.mobility);
    if (f.stepFree && neighbour && IsFreeStepSquare(creature, cx, cy, x, y)) penalty = 0;
    value -= penalty;
    int32_t fires = 0;
    if (c.kind == 88 || f.fireCapable || f.fireSafe)
      fires = Word(rec, kTallyBrazier);
    else if (f.hurtByFire)
      fires = Word(rec, kTallyFire);
    value -= fires * (f.wary ? 75 : 19);
    value -= Word(rec, kTallyWeb) * (f.standOff ? 75 : 14);
    const bool step = neighbour && mayStep && IsFreeStepSquare(creature, cx, cy, x, y);
    const int32_t cost = Word(rec, kTallyCost);
    if (oneMoveOnly) {
      if (!step && cost > budget) value = kUnfit;
    } else if (preferOneMove && cost <= CombatAction.movesLeft && cost <= budget) {
      // The square's own path can be walked with the moves left (whether
      // its record came from its own search or from a longer walk that
      // crossed it), and within one move.
      value += 16;
    }
  }

  // Every square of every ring, farthest first. With the flood, a square it
  // settles takes the flood's record instead of a search; false when a search
  // wrote a record other than the flood's on a settled square (then the
  // flood cannot stand for the searches and the rings must be run without it).
  bool Rings(bool flood) {
    // Squares below 14 are dropped before every ring: the whole grid before
    // the first, and then only the squares of the ring just done can have
    // fallen below, so each is dropped as soon as it is weighed.
    if (dropBelowFourteen)
      for (int32_t& v : ValuationGrid)
        if (v < 14) v = kUnfit;
    for (int ring = farthest; ring >= 0; --ring) {
      // The squares of this ring in x-major order.
      for (int x = std::max(0, cx - ring); x <= std::min(kMapSide - 1, cx + ring); ++x) {
        const bool edgeColumn = std::abs(x - cx) == ring;
        for (int y = std::max(0, cy - ring); y <= std::min(kMapSide - 1, cy + ring); ++y) {
          if (!edgeColumn && std::abs(y - cy) != ring) {
            // Skip to the ring's other row.
            if (y < cy + ring) y = cy + ring - 1;
            continue;
          }
          const int sq = SquareIndex(x, y);
          int32_t& value = ValuationGrid[sq];
          if (value < 1) continue;
          if (ring == 0) {
            if (preferOneMove && !oneMoveOnly) value += 16;
            continue;
          }
          // A record left by an earlier search whose path crossed the square
          // serves; otherwise the square's own search.
          PathTallyRecord out = {};
          const uint32_t* rec = ReachRecords[sq];
          if (replaying) {
            const Outcome& o = (*outcomes)[next++];
            if (!o.reached) {
              if (dropUnreachable) value = kUnfit;
              continue;
            }
            rec = o.rec;
          } else {
            if (Word(ReachRecords[sq], 0) == -1 && Word(ReachRecords[sq], kTallyWords - 1) == -1) {
              if (flood && FloodSettles(x, y)) {
                // Every cheapest walk there records the same: the flood's record.
                FloodRecord(x, y, ReachRecords[sq]);
              } else if (flood && FloodWalk(x, y, ReachRecords, out)) {
                // The search would take one of the walks the flood can tell.
                rec = out;
              } else if (flood && FloodReaches(x, y) && SearchWalk(x, y, out)) {
                // Which of the cheapest walks the search takes only its open
                // list tells; what it records along the walk the flood tells.
                rec = out;
              } else if (bool fits; flood && FloodFindsNoWalk(x, y, &fits)) {
                // The search would find nothing: what it leaves of the path
                // (a goal the fighter does not fit on abandons the fighter's
                // own; the rest the pass's last search sets, and the pass
                // searches again when nothing was reachable).
                if (fits) {
                  PathLength = 0;
                  PathShown = 0;
                  PathCostFeet = 0;
                } else {
                  AbandonPath(creature);
                }
                lastSearched = sq;
                lastFound = false;
                lastSpared = true;
                if (dropUnreachable) value = kUnfit;
                if (outcomes) outcomes->push_back({false, {}});
                continue;
              } else if (!Search(x, y, out, ReachRecords)) {
                if (dropUnreachable) value = kUnfit;
                if (outcomes) outcomes->push_back({false, {}});
                continue;
              } else {
                rec = out;
                if (flood && !FloodAgreesAlongPath(ReachRecords)) return false;
              }
            }
            if (outcomes) {
              outcomes->push_back({true, {}});
              std::copy(rec, rec + kTallyWords, outcomes->back().rec);
            }
          }
          lastReachable = sq;
          Weigh(x, y, ring == 1, rec, value);
          if (dropBelowFourteen && value < 14) value = kUnfit;
        }
      }
    }
    return true;
  }
};

}  // namespace

namespace {

// ---- Passes taken again ---------------------------------------------------
//
// One decision may weigh the same wanted squares twice (a fighter that means
// to bull rush scores the melee grid for the push, then again for the plain
// approach): the searches of a pass depend only on which squares are wanted
// and on the battle, not on their worth (each square is searched, or not, by
// whether it is wanted, in the rings' order, and a search's record serves
// the squares its path crosses). A pass over the same wanted squares, for the
// same fighter on the same square and over the same battle, takes what the
// first one's searches recorded instead of searching again, and leaves the
// records and the last search as that one left them.

struct KeptPass {
  bool valid = false;
  uint32_t decision = 0;
  int creature = -1, cx = 0, cy = 0;
  uint8_t preferOneMove = 0, dropUnreachable = 0, oneMoveOnly = 0;
  uint64_t battle = 0;  // what the searches read of the battle, hashed
  uint8_t wanted[kMapSquares];
  std::vector<ReachPass::Outcome> outcomes;
  PathTallyRecord records[kMapSquares];
  int lastReachable = -1, lastSearched = -1;
  bool lastFound = false;
};
constexpr int kKeptPasses = 2;
KeptPass KeptPasses[kKeptPasses];
int NextKept = 0;
uint32_t DecisionNumber = 1;
bool KeepingPasses = false;

template <typename T>
void HashWords(uint64_t& h, const T& words) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(&words);
  for (size_t i = 0; i < sizeof words; i += 8) {
    uint64_t w = 0;
    std::memcpy(&w, bytes + i, std::min<size_t>(8, sizeof words - i));
    h = (h ^ w) * 0x100000001B3ull;
  }
}

// What a search of the pass reads that a decision could change: where the
// combatants stand, the blocked-square and region grids, the moves left and
// the five-foot step, the seeking and walk-to flags, and the fighter's
// conditions, protections, size and footprint. (A decision writes no magic
// area: spells take effect after it.)
uint64_t BattleHash(int creature) {
  SyncCombatantGrid();
  uint64_t h = 0xCBF29CE484222325ull;
  const uint64_t words[] = {CombatantGridChanges(), OccupancyGridBuilds, static_cast<uint64_t>(CombatAction.movesLeft),
                            static_cast<uint64_t>(CombatAction.fiveFootStep), SeekAdjacent,
                            static_cast<uint64_t>(WalkToInteraction[0]), static_cast<uint64_t>(WalkToInteraction[1]),
                            ReachByFlood, PathLookupByScan};
  HashWords(h, words);
  const CreatureRecord& c = Creatures[creature];
  HashWords(h, c.conditions);
  HashWords(h, c.protections);
  const StatPair own[] = {c.size, c.speed, c.footprintWidth, c.footprintHeight};
  HashWords(h, own);
  return h;
}

}  // namespace

void KeepReachPasses(bool keep) {
  ++DecisionNumber;
  KeepingPasses = keep;
}

int ScoreGridReachability(int creature, uint8_t preferOneMove, uint8_t dropUnreachable, uint8_t oneMoveOnly,
                          uint8_t dropBelowFourteen) {
  if (!IsValidCreature(creature)) return 1;
  ApplyCrowding();
  if (CutOffByBlockingArea(creature)) return 1;
  const CreatureRecord& c = Creatures[creature];
  ReachPass pass{creature, preferOneMove, dropUnreachable, oneMoveOnly, dropBelowFourteen, WalkFlagsOf(creature),
                 c.squareX, c.squareY, 0, MayTakeFiveFootStep(creature), 0};
  pass.ClearRecords();
  pass.budget = (preferOneMove || oneMoveOnly) ? CombatAction.movesLeft - c.speed.current : 0;
  // The farthest ring from the creature's square.
  for (int x : {0, kMapSide - 1})
    for (int y : {0, kMapSide - 1})
      pass.farthest = std::max(pass.farthest, std::max(std::abs(x - pass.cx), std::abs(y - pass.cy)));

  // The same wanted squares weighed before in this decision over the same battle.
  // (Only while a decision keeps them; dropping the squares below 14 depends
  // on their worth: never kept.)
  static uint8_t wantedNow[kMapSquares];
  for (int i = 0; i < kMapSquares; ++i) wantedNow[i] = ValuationGrid[i] >= 1 ? 1 : 0;
  const bool keeping = KeepingPasses && !dropBelowFourteen;
  const uint64_t battle = keeping ? BattleHash(creature) : 0;
  KeptPass* kept = nullptr;
  for (KeptPass& k : KeptPasses)
    if (keeping && k.valid && k.decision == DecisionNumber && k.creature == creature && k.cx == pass.cx &&
        k.cy == pass.cy && k.preferOneMove == preferOneMove && k.dropUnreachable == dropUnreachable &&
        k.oneMoveOnly == oneMoveOnly && k.battle == battle && std::memcmp(k.wanted, wantedNow, sizeof wantedNow) == 0)
      kept = &k;
  if (kept) {
    pass.outcomes = &kept->outcomes;
    pass.replaying = true;
    pass.Rings(false);
    std::memcpy(ReachRecords, kept->records, sizeof ReachRecords);
    // The searches leave what the pass's last one left.
    if (kept->lastReachable >= 0 || kept->lastSearched >= 0) {
      const int sq = kept->lastReachable >= 0 ? kept->lastReachable : kept->lastSearched;
      PathTallyRecord out = {};
      BeginSearchSeries();
      pass.Search(sq / kMapSide, sq % kMapSide, out, kept->lastReachable >= 0 ? nullptr : ReachRecords);
      EndSearchSeries();
      std::memcpy(ReachRecords, kept->records, sizeof ReachRecords);
    }
    BreakTieAmongBest();
    return 1;
  }
  static std::vector<ReachPass::Outcome> outcomes;
  outcomes.clear();
  if (keeping) pass.outcomes = &outcomes;

  // One mover, one start, many goals, nothing moving in between. One flood
  // gives the records of most squares when enough of them are wanted.
  BeginSearchSeries();
  int wanted = 0;
  for (int32_t v : ValuationGrid) wanted += v >= 1 ? 1 : 0;
  const bool flood = ReachByFlood == 1 && PathLookupByScan == 0 && wanted > kFewSquares &&
                     FloodReach(creature, pass.cx, pass.cy, ValuationGrid);
  static int32_t before[kMapSquares];
  if (flood) std::memcpy(before, ValuationGrid, sizeof before);
  if (!pass.Rings(flood)) {
    std::memcpy(ValuationGrid, before, sizeof before);
    pass.ClearRecords();
    pass.lastReachable = -1;
    outcomes.clear();
    pass.Rings(false);
  }
  if (flood) ForgetFlood();
  // The pass leaves behind the path search of the last square it found
  // reachable, whichever searches it could spare.
  if (pass.lastReachable >= 0 && pass.lastReachable == pass.lastWalkGoal) {
    // Its walk is known.
    FinishCombatWalk(creature, pass.cx, pass.cy, pass.lastReachable / kMapSide, pass.lastReachable % kMapSide,
                     pass.lastWalkX, pass.lastWalkY, pass.lastWalkLength);
  } else if (pass.lastReachable >= 0 && !(pass.lastFound && pass.lastSearched == pass.lastReachable)) {
    PathTallyRecord out = {};
    pass.Search(pass.lastReachable / kMapSide, pass.lastReachable % kMapSide, out, nullptr);
  } else if (pass.lastReachable < 0 && pass.lastSpared) {
    // Nothing reachable: what the last search left, the spared one run.
    PathTallyRecord out = {};
    pass.Search(pass.lastSearched / kMapSide, pass.lastSearched % kMapSide, out, ReachRecords);
  }
  EndSearchSeries();
  if (keeping) {
    KeptPass& k = KeptPasses[NextKept];
    NextKept = (NextKept + 1) % kKeptPasses;
    k.valid = true;
    k.decision = DecisionNumber;
    k.creature = creature;
    k.cx = pass.cx;
    k.cy = pass.cy;
    k.preferOneMove = preferOneMove;
    k.dropUnreachable = dropUnreachable;
    k.oneMoveOnly = oneMoveOnly;
    k.battle = battle;
    std::memcpy(k.wanted, wantedNow, sizeof wantedNow);
    k.outcomes.swap(outcomes);
    std::memcpy(k.records, ReachRecords, sizeof ReachRecords);
    k.lastReachable = pass.lastReachable;
    k.lastSearched = pass.lastSearched;
    k.lastFound = pass.lastFound;
  }
  BreakTieAmongBest();
  return 1;
}

void ResetValuationGridState() {
  KeepReachPasses(false);
  ResetWords(ValuationGrid);
  ResetWords(ReachRecords);
}
