#include "combat/turns/support_grids.h"

#include <algorithm>
#include <cstring>

#include "combat/resolution/special_attacks.h"
#include "combat/turns/adjacency_queries.h"
#include "combat/turns/area_placement.h"
#include "combat/turns/best_square.h"
#include "combat/turns/combat_cycle.h"
#include "combat/turns/decision_words.h"
#include "combat/turns/decision_services.h"
#include "combat/turns/spell_targets.h"
#include "combat/turns/tactics.h"
#include "combat/turns/valuation_grid.h"
#include "engine/frame.h"
#include "map/fighter_tests.h"
#include "map/line_of_effect.h"
#include "map/movement_rules.h"
#include "map/square_grids.h"
#include "rules/adjacency.h"
#include "rules/casting_rules.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "rules/positions.h"
#include "rules/spell_ids.h"
#include "state/combat_action.h"
#include "state/turn_order.h"

namespace {

constexpr int32_t kNoDistance = 10000;
constexpr int32_t kDispelReachSquared = 42;
constexpr int kDispelWindow = 6;  // 6 * 6 < 42 < 7 * 7: cells farther along one axis are out of reach

int TurnCount() { return TurnEntryCount < kTurnOrderEntries ? TurnEntryCount : kTurnOrderEntries; }
bool OnGrid(int x, int y) { return x >= 0 && y >= 0 && x < kMapSide && y < kMapSide; }

bool HeldByOthers(int c) {
  return FindAnyCondition(c, kCondSummonedCreature, kCondControlled, kCondDominated) >= 0;
}
bool DestroyedType(int c) { return Creatures[c].type == 8 || Creatures[c].type == 2; }

// The squared distance from (x, y) to the creature's footprint square nearest to it.
int32_t SquaredToFootprint(int creature, int x, int y) {
  const GridSquare n = NearestFootprintSquare(creature, x, y);
  return (n.x - x) * (n.x - x) + (n.y - y) * (n.y - y);
}

// The move state of the melee grid: the acting fighter with its standard action.
void MoveState(int creature, bool* moreThanOne, bool* exactlyOne) {
  *moreThanOne = *exactlyOne = false;
  if (!IsActingFighter(creature) || CombatAction.standardActionLeft != 1) return;
  const int32_t speed = Creatures[creature].speed.current;
  *moreThanOne = CombatAction.movesLeft > speed;
  *exactlyOne = CombatAction.movesLeft == speed;
}

// Squares whose footprint placed there (w by h) would cover a square of the
// box border [x0, x1] x [y0, y1] (its whole inside too when filled) get the
// function once each. The stamp keeps each square to one call per marking.
template <typename Apply>
void ForSquaresTouching(int x0, int y0, int x1, int y1, bool filled, int w, int h, Apply apply) {
  static int32_t stamp[kMapSquares];
  static int32_t stampValue = 0;
  if (++stampValue == 0) {
    std::memset(stamp, 0, sizeof stamp);
    stampValue = 1;
  }
  for (int rx = std::max(x0, 0); rx <= std::min(x1, kMapSide - 1); ++rx)
    for (int ry = std::max(y0, 0); ry <= std::min(y1, kMapSide - 1); ++ry) {
      if (!filled && rx != x0 && rx != x1 && ry != y0 && ry != y1) continue;
      for (int sx = std::max(rx - w + 1, 0); sx <= rx; ++sx)
        for (int sy = std::max(ry - h + 1, 0); sy <= ry; ++sy) {
          const int sq = SquareIndex(sx, sy);
          if (stamp[sq] == stampValue) continue;
          stamp[sq] = stampValue;
          apply(sq);
        }
    }
}

// Adds the bonus to the own square when positive and, for the acting fighter
// with its five-foot step, to each neighbour of value 1 or more that a free
// step reaches.
void AddStayBonus(int creature, int32_t bonus) {
  const CreatureRecord& c = Creatures[creature];
  const int cx = c.squareX, cy = c.squareY;
  if (OnGrid(cx, cy) && ValuationGrid[SquareIndex(cx, cy)] > 0) ValuationGrid[SquareIndex(cx, cy)] += bonus;
  if (InCombat != 1 || !MayTakeFiveFootStep(creature)) return;
  for (int x = cx - 1; x <= cx + 1; ++x)
    for (int y = cy - 1; y <= cy + 1; ++y) {
      if ((x == cx && y == cy) || !OnGrid(x, y)) continue;
      int32_t& v = ValuationGrid[SquareIndex(x, y)];
      if (v >= 1 && IsFreeStepSquare(creature, cx, cy, x, y)) v += bonus;
    }
}

// Step-only marks: the own square and the neighbours a step reaches get the
// value, squares the creature does not fit on -100.
void MarkStepSquares(int creature, int32_t value) {
  const CreatureRecord& c = Creatures[creature];
  const int cx = c.squareX, cy = c.squareY;
  if (OnGrid(cx, cy)) ValuationGrid[SquareIndex(cx, cy)] = value;
  MarkUnfitSquares(creature);
  for (int x = cx - 1; x <= cx + 1; ++x)
    for (int y = cy - 1; y <= cy + 1; ++y) {
      if ((x == cx && y == cy) || !OnGrid(x, y)) continue;
      int32_t& v = ValuationGrid[SquareIndex(x, y)];
      if (v != kUnfit && !IsDiagonalStepBlocked(creature, x, cy, cx, y)) v = value;
    }
}

// The lines of a grid's squares to the creatures and cells near them, with
// the shortcuts: refreshed by the builder before it asks.
LineCache Lines;

// The cells of one kind the dispel may clear, kept as a bitmap of the map
// and as a list of their squares in map order (x-major).
struct CellMap {
  bool any = false;
  uint8_t at[kMapSquares];
  int32_t squares[kMapSquares];
  int count = 0;
};
void FindCells(CellMap* cells, uint32_t kind, bool passingOnly) {
  cells->any = false;
  cells->count = 0;
  for (int i = 0; i < kMapSquares; ++i) {
    const SquareEffectCell& cell = MagicAreaGrid[i];
    const bool hit = cell.kind == kind && (!passingOnly || cell.roundsLeft != kDurationLasting);
    cells->at[i] = hit;
    cells->any |= hit;
    if (hit) cells->squares[cells->count++] = i;
  }
}

// The square of a footprint of w by h at (sx, sy) nearest to (x, y), as
// NearestFootprintSquare finds it: the point clamped into the box (no other
// square of it is as near along either axis); a footprint of no rows answers
// its corner.
GridSquare NearestInBox(int sx, int sy, int w, int h, int x, int y) {
  if (w < 1 || h < 1) return {sx, sy};
  return {std::clamp(x, sx, sx + w - 1), std::clamp(y, sy, sy + h - 1)};
}

// The cell nearest to the creature standing on (x, y) (squared distance to
// its nearest footprint square, the first in map order on ties) when it
// lies within the dispel's reach and in line of effect of the square.
bool DispellableCellNear(int creature, int x, int y, const CellMap& cells) {
  if (!cells.any) return false;
  int32_t best = kNoDistance;
  int bx = -1, by = -1;
  for (int cx = 0; cx < kMapSide; ++cx)
    for (int cy = 0; cy < kMapSide; ++cy) {
      if (!cells.at[SquareIndex(cx, cy)]) continue;
      const int32_t d = SquaredToFootprint(creature, cx, cy);
      if (d < best) {
        best = d;
        bx = cx;
        by = cy;
      }
    }
  return best <= kDispelReachSquared && HasLineOfEffect(x, y, bx, by, nullptr);
}

// The same for every square at once: only cells within reach can be nearest
// enough, so each cell, in map order, claims the squares whose footprint
// lies within the reach's window of it where it is nearer than the cells
// before it. The lines of effect come from the line cache.
struct NearestCells {
  bool any = false;
  int32_t distance[kMapSquares];
  int32_t cell[kMapSquares];

  void Build(int creature, const CellMap& cells) {
    any = cells.any;
    if (!any) return;
    std::fill(distance, distance + kMapSquares, kNoDistance);
    const CreatureRecord& c = Creatures[creature];
    const int w = c.footprintWidth.current, h = c.footprintHeight.current;
    for (int k = 0; k < cells.count; ++k) {
      const int cx = cells.squares[k] / kMapSide, cy = cells.squares[k] % kMapSide;
      for (int x = std::max(cx - w + 1 - kDispelWindow, 0); x <= std::min(cx + kDispelWindow, kMapSide - 1); ++x)
        for (int y = std::max(cy - h + 1 - kDispelWindow, 0); y <= std::min(cy + kDispelWindow, kMapSide - 1); ++y) {
          const GridSquare n = NearestInBox(x, y, w, h, cx, cy);
          const int32_t d = (n.x - cx) * (n.x - cx) + (n.y - cy) * (n.y - cy);
          const int sq = SquareIndex(x, y);
          if (d < distance[sq]) {
            distance[sq] = d;
            cell[sq] = cells.squares[k];
          }
        }
    }
  }
  bool DispellableFrom(int x, int y) const {
    const int sq = SquareIndex(x, y);
    return any && distance[sq] <= kDispelReachSquared &&
           Lines.EffectLineFree(x, y, cell[sq] / kMapSide, cell[sq] % kMapSide);
  }
};

// The combatants of the turn order as a grid sees them, gathered once per
// grid: each creature once, in turn order, with its footprint's box and
// whether it is on the grid creature's side.
struct Combatant {
  int32_t id;
  int32_t x0, y0, x1, y1;
  bool ally;
};
struct CombatantList {
  Combatant at[kTurnOrderEntries];
  int n = 0;

  void Gather(int creature) {
    static int32_t seen[kCreatureCount];
    static int32_t stamp = 0;
    if (++stamp == 0) {
      std::memset(seen, 0, sizeof seen);
      stamp = 1;
    }
    n = 0;
    for (int i = 0; i < TurnCount(); ++i) {
      const int t = TurnOrder[i].creature;
      if (!IsValidCreature(t) || seen[t] == stamp) continue;
      seen[t] = stamp;
      const CreatureRecord& o = Creatures[t];
      at[n++] = {t, o.squareX, o.squareY, o.squareX + o.footprintWidth.current - 1,
                 o.squareY + o.footprintHeight.current - 1, t != creature && AreAllies(creature, t)};
    }
  }
  // Those of another list that pass the test, in its order.
  template <typename Keep>
  void Filter(const CombatantList& from, Keep keep) {
    n = 0;
    for (int i = 0; i < from.n; ++i)
      if (keep(from.at[i].id)) at[n++] = from.at[i];
  }
};
CombatantList Present;

constexpr int32_t kReachBelow[5] = {0, 3, 10, 50, 145};  // the squared distance each reach class stays below
constexpr int kReachAxis[5] = {0, 1, 3, 7, 12};         // the farthest gap along an axis below each bound

// The creatures of the list within the reach class 1 to 4 of the creature
// where it stands, in turn order: the rule of the stance candidate filler
// (ListCombatantsInReach: the squared distance between the nearest footprint
// squares, and a line FindCover lets through) without refilling the shared
// candidate list or marking the lines for every square. Creatures farther
// apart along an axis than a class reaches are passed over before their
// distance is measured. The count.
int CreaturesInReach(int creature, int reachClass, const CombatantList& list, int32_t* out) {
  if (reachClass < 1 || reachClass > 4) return 0;
  const CreatureRecord& c = Creatures[creature];
  const int cx1 = c.squareX + c.footprintWidth.current - 1, cy1 = c.squareY + c.footprintHeight.current - 1;
  int n = 0;
  for (int k = 0; k < list.n && n < kCandidateListSize; ++k) {
    const Combatant& o = list.at[k];
    const int gapX = std::max({o.x0 - cx1, c.squareX - o.x1, 0});
    const int gapY = std::max({o.y0 - cy1, c.squareY - o.y1, 0});
    if (gapX > kReachAxis[reachClass] || gapY > kReachAxis[reachClass]) continue;
    const GridSquare near = NearestFootprintSquare(creature, o.x0, o.y0);
    const GridSquare to = NearestFootprintSquare(o.id, c.squareX, c.squareY);
    if (SquaredDistance(near.x, near.y, to.x, to.y) >= kReachBelow[reachClass]) continue;
    if (reachClass >= 2 && !IsCoverLineOpen(near.x, near.y, to.x, to.y)) continue;
    out[n++] = o.id;
  }
  return n;
}

// The allies of the creature's side touching its ring where it stands, in
// turn order, at most as many as the adjacent-creature list holds: the rule
// of ListAdjacentAllies, by the boxes of the footprints instead of marking
// the ring for every square. The count.
int AlliesBeside(int creature, const CombatantList& list, int32_t* out) {
  const CreatureRecord& c = Creatures[creature];
  const int x0 = c.squareX, y0 = c.squareY;
  const int x1 = x0 + c.footprintWidth.current - 1, y1 = y0 + c.footprintHeight.current - 1;
  int n = 0;
  for (int k = 0; k < list.n && n < kAdjacentListSize; ++k) {
    const Combatant& a = list.at[k];
    if (!a.ally) continue;
    // Its footprint meets the box of the ring without lying wholly on the creature's own squares.
    const bool meetsRing = a.x1 >= x0 - 1 && a.x0 <= x1 + 1 && a.y1 >= y0 - 1 && a.y0 <= y1 + 1;
    const bool inside = a.x0 >= x0 && a.x1 <= x1 && a.y0 >= y0 && a.y1 <= y1;
    if (meetsRing && !inside) out[n++] = a.id;
  }
  return n;
}

int32_t ResolveStance(int creature, int32_t stance) {
  if (stance != kStanceOwn) return stance;
  if (StanceWord != -1) return StanceWord;
  const int32_t own = Creatures[creature].behaviour[kBehaviourCastingStyle];  // its behaviour code
  return own != 0 ? own : kStanceKeepOff;
}

// What each creature the stance reaches adds to a square, worked out once
// per grid: an enemy for being a target (more for casters, the weakest, the
// one it means to disrupt and one others attack), an ally for company.
int32_t CreatureWorth(int creature, int e) {
  const CreatureRecord& t = Creatures[e];
  int32_t v = 0;
  if (AreEnemies(creature, e)) {
    v += 6;
    if (t.creatureClass == 4) v += 7;
    else if (t.creatureClass == 3) v += 4;
    if (e == WeakestEnemy) v += 5;
    if (!HeldByOthers(e)) v += 2;
    if (e == DisruptionTarget) v += 50;
    v += 3 * CountPlannedAttacksOn(e);
  } else {
    v += 3;
    if (e == StrongestAlly) v += 6;
    if (!HeldByOthers(e)) v += 1;
  }
  return v;
}

// Every square and creature of the list such that the creature placed on
// the square reaches it in the reach class 1 to 4, by the rule of
// CreaturesInReach: creature by creature, in the list's order, over the
// squares within the class's reach of each, rather than square by square over
// the list. The function gets the square and the list entry.
template <typename Reached>
void ForEachReachedFromSquare(int creature, int reachClass, const CombatantList& list, Reached reached) {
  if (reachClass < 1 || reachClass > 4) return;
  const CreatureRecord& c = Creatures[creature];
  const int w = c.footprintWidth.current, h = c.footprintHeight.current;
  const int axis = kReachAxis[reachClass];
  for (int i = 0; i < list.n; ++i) {
    const Combatant& o = list.at[i];
    // The squares whose footprint lies no farther from the box than the class reaches along each axis.
    const int xa = std::max(o.x0 - w + 1 - axis, 0), xb = std::min(o.x1 + axis, kMapSide - 1);
    const int ya = std::max(o.y0 - h + 1 - axis, 0), yb = std::min(o.y1 + axis, kMapSide - 1);
    // The nearest squares of the two footprints (NearestInBox) clamp each
    // axis on its own: the rows' halves are worked out once per creature.
    // The creature itself is seen where it is placed: its nearest square is
    // the one it stands on.
    const bool self = o.id == creature, ownBox = w >= 1 && h >= 1;
    const bool otherBox = o.x1 >= o.x0 && o.y1 >= o.y0;
    auto nearOn = [ownBox](int at, int size, int toward) { return ownBox ? std::clamp(toward, at, at + size - 1) : at; };
    auto toOn = [self, otherBox](int at, int lo, int hi) { return self ? at : otherBox ? std::clamp(at, lo, hi) : lo; };
    int nearY[kMapSide], toY[kMapSide];
    for (int y = ya; y <= yb; ++y) {
      nearY[y] = nearOn(y, h, o.y0);
      toY[y] = toOn(y, o.y0, o.y1);
    }
    for (int x = xa; x <= xb; ++x) {
      const int nearX = nearOn(x, w, o.x0), toX = toOn(x, o.x0, o.x1);
      const int room = kReachBelow[reachClass] - (nearX - toX) * (nearX - toX);
      for (int y = ya; y <= yb; ++y) {
        const int dy = nearY[y] - toY[y];
        if (dy * dy >= room) continue;
        if (reachClass >= 2 && !Lines.CoverLineOpen(nearX, nearY[y], toX, toY[y])) continue;
        reached(SquareIndex(x, y), o);
      }
    }
  }
}

// For every square, how many creatures of the list the creature placed there
// reaches in the reach class (at most a candidate list's worth).
void CountReachedFromSquares(int creature, int reachClass, const CombatantList& list, uint16_t* counts) {
  std::memset(counts, 0, sizeof(uint16_t) * kMapSquares);
  ForEachReachedFromSquare(creature, reachClass, list, [counts](int sq, const Combatant&) {
    if (counts[sq] < kCandidateListSize) ++counts[sq];
  });
}

// The spells a healer can use now, each at the level it is cast at.
struct HealerSpells {
  bool cureWounds, inflictWounds, massCure, removeParalysis, removeCurse, removeBlindness, freedom, heal, harm,
      drain, restore, lesser;
};

HealerSpells HealerSpellsOf(int creature) {
  const CreatureRecord& c = Creatures[creature];
  const int top = MaxSpellLevel(creature);
  auto available = [&c, top](int spell, int level) {
    return c.knownSpells[spell] == 1 && c.spellsLeft[level - 1] >= 1 && top >= level;
  };
  HealerSpells s{};
  s.cureWounds = available(kSpellCureLightWounds, 1) || available(kSpellCureModerateWounds, 2) ||
                 available(kSpellCureSeriousWounds, 3) || available(kSpellCureCriticalWounds, 4) ||
                 available(kSpellHeal, 6);
  s.inflictWounds = available(kSpellInflictLightWounds, 1) || available(kSpellInflictModerateWounds, 2) ||
                    available(kSpellInflictSeriousWounds, 3) || available(kSpellInflictCriticalWounds, 4) ||
                    available(kSpellHarm, 6);
  s.massCure = available(kSpellMassCureLight, 5) || available(kSpellMassCureModerate, 6) ||
               available(kSpellMassCureSerious, 7) || available(kSpellMassCureCritical, 8) ||
               available(kSpellMassHeal, 9);
  s.removeParalysis = available(kSpellRemoveParalysis, 2);
  s.removeCurse = available(kSpellRemoveCurse, 3);
  s.removeBlindness = available(kSpellRemoveBlindness, 3);
  s.freedom = available(kSpellFreedomOfMovement, 4);
  s.heal = available(kSpellHeal, 6);
  s.harm = available(kSpellHarm, 6);
  s.drain = available(kSpellRemoveNegativeLevels, 7);
  s.restore = available(kSpellRestoration, 4);
  s.lesser = available(kSpellLesserRestoration, 2);
  return s;
}

// What a friend beside the healer needs of its spells, one flag each; the
// flags of all the friends beside a square give its worth.
enum HelpFlag : uint16_t {
  kHelpWounds = 1 << 0,
  kHelpCurse = 1 << 1,
  kHelpMuteCaster = 1 << 2,
  kHelpBlind = 1 << 3,
  kHelpDeaf = 1 << 4,
  kHelpHeld = 1 << 5,
  kHelpGrappledCaster = 1 << 6,
  kHelpMind = 1 << 7,
  kHelpDrained = 1 << 8,
  kHelpRestore = 1 << 9,
  kHelpLesserRestore = 1 << 10,
  kHelpMostWounded = 1 << 11,
};

uint16_t HelpNeeded(int e, const HealerSpells& s, int mostWounded) {
  if (HeldByOthers(e)) return 0;
  const CreatureRecord& t = Creatures[e];
  const int32_t missing =
      t.maxHitPoints > 0 && t.hitPoints < t.maxHitPoints ? (t.maxHitPoints - t.hitPoints) * 100 / t.maxHitPoints : 0;
  const bool undead = t.type == 8;
  uint16_t help = 0;
  if (missing >= 70 && ((s.cureWounds && !DestroyedType(e)) || (s.inflictWounds && undead))) help |= kHelpWounds;
  if (s.removeCurse) {
    if (HasCondition(e, kCondCursed)) help |= kHelpCurse;
    else if (HasCondition(e, kCondMute) && HasSpellSlotLeftAtAnyLevel(e)) help |= kHelpMuteCaster;
  }
  if (s.removeBlindness) {
    if (HasCondition(e, kCondBlinded)) help |= kHelpBlind;
    else if (HasCondition(e, kCondDeafened)) help |= kHelpDeaf;
  }
  if (s.freedom) {
    if (FindAnyCondition(e, kCondEntangled, kCondStuck, kCondPinned) >= 0) help |= kHelpHeld;
    else if (HasCondition(e, kCondGrappling) && t.creatureClass >= 3 && t.creatureClass <= 5)
      help |= kHelpGrappledCaster;
  }
  if (((s.heal && !DestroyedType(e)) || (s.harm && undead)) &&
      FindAnyCondition(e, kCondNauseated, kCondConfused, kCondInsane, kCondStunned, kCondSickened,
                       kCondFeebleminded) >= 0)
    help |= kHelpMind;
  if (s.drain && HasCondition(e, kCondLevelDrained)) help |= kHelpDrained;
  if (s.restore && FindAnyCondition(e, 66, 67, 68, 69, 70, 72) >= 0) help |= kHelpRestore;
  if (s.lesser && FindAnyCondition(e, 61, 62, 63, 64, 65, 71) >= 0) help |= kHelpLesserRestore;
  if (e == mostWounded) help |= kHelpMostWounded;
  return help;
}

// The worth of the friends beside a square: each kind of help once, the
// greater need of a kind where it has two.
int32_t HelpWorth(uint16_t help) {
  if (help == 0) return 0;
  auto has = [help](uint16_t flag) { return (help & flag) != 0; };
  return (has(kHelpWounds) ? 13 : 0) + (has(kHelpCurse) ? 30 : has(kHelpMuteCaster) ? 18 : 0) +
         (has(kHelpBlind) ? 27 : has(kHelpDeaf) ? 16 : 0) + (has(kHelpHeld) ? 24 : has(kHelpGrappledCaster) ? 12 : 0) +
         (has(kHelpMind) ? 21 : 0) + (has(kHelpDrained) ? 18 : 0) + (has(kHelpRestore) ? 17 : 0) +
         (has(kHelpLesserRestore) ? 16 : 0) + (has(kHelpMostWounded) ? 3 : 0);
}

// For every square, the help the friends of the list beside the creature
// placed there need (as AlliesBeside lists them, at most an adjacent list's
// worth in turn order): friend by friend over the squares whose ring it meets.
void HelpBesideBySquare(int creature, const CombatantList& allies, const uint16_t* needs, uint16_t* help) {
  static uint8_t listed[kMapSquares];
  std::memset(listed, 0, sizeof listed);
  std::memset(help, 0, sizeof(uint16_t) * kMapSquares);
  const CreatureRecord& c = Creatures[creature];
  const int w = c.footprintWidth.current, h = c.footprintHeight.current;
  for (int i = 0; i < allies.n; ++i) {
    const Combatant& a = allies.at[i];
    if (!a.ally) continue;
    for (int x = std::max(a.x0 - w, 0); x <= std::min(a.x1 + 1, kMapSide - 1); ++x)
      for (int y = std::max(a.y0 - h, 0); y <= std::min(a.y1 + 1, kMapSide - 1); ++y) {
        // Its footprint meets the ring's box without lying wholly on the creature's own squares.
        const bool inside = a.x0 >= x && a.x1 <= x + w - 1 && a.y0 >= y && a.y1 <= y + h - 1;
        const int sq = SquareIndex(x, y);
        if (inside || listed[sq] >= kAdjacentListSize) continue;
        ++listed[sq];
        help[sq] |= needs[i];
      }
  }
}

}  // namespace

int BuildGoodSquareGrid(int creature, uint8_t stepOnly, int32_t stance, int target, int32_t radiusSquared,
                        int spell) {
  if (!IsValidCreature(creature)) return 1;
  CreatureRecord& c = Creatures[creature];
  if (DebugMode) {
    AiPause = 1;
    ValuationGridShown = 1;
  }
  stance = ResolveStance(creature, stance);
  const int fireCode = GetProtectionValue(creature, 2);
  const bool fireAware = fireCode != 1 && fireCode != 5 && c.kind != 1 && c.kind != 88;
  const bool webAware = GetProtectionValue(creature, kCodeFreeMovement) != 1 && c.kind != 1 && c.kind != 32;
  bool moreThanOneMove, exactlyOneMove;
  MoveState(creature, &moreThanOneMove, &exactlyOneMove);

  bool blockingDispel = false, fireDispel = false;
  if (DisruptionTarget == -1 && stepOnly == 0 && c.knownSpells[kSpellDispel] == 1 && c.spellsLeft[2] > 0) {
    blockingDispel = NearestFoeReachable();
    fireDispel = PathToNearestFoeOpen(1);
  }
  const bool spellGiven = spell >= 0 && spell < kSpellRows;
  const int32_t stay = spellGiven && SpellTable[spell].castingTime == 3 ? 151 : 51;

  if (PlacementShortcuts) Lines.Refresh();
  std::memset(ValuationGrid, 0, sizeof ValuationGrid);
  if (stepOnly == 1 && InCombat == 1 && MayTakeFiveFootStep(creature)) MarkStepSquares(creature, stay);

  const int w = c.footprintWidth.current, h = c.footprintHeight.current;
  const int sx = c.squareX, sy = c.squareY;
  const bool zone = target != -1 && radiusSquared >= 1 && FindTurnOrderIndex(target) != -1;
  if (zone) {
    for (int x = 0; x < kMapSide; ++x)
      for (int y = 0; y < kMapSide; ++y) {
        int32_t& v = ValuationGrid[SquareIndex(x, y)];
        if (v == kUnfit) continue;
        const GridSquare n = NearestFootprintSquare(target, x, y);
        const int32_t d = (n.x - x) * (n.x - x) + (n.y - y) * (n.y - y);
        if (d > radiusSquared) continue;
        if (d > 2 && !(PlacementShortcuts ? Lines.EffectLineFree(x, y, n.x, n.y) : HasLineOfEffect(x, y, n.x, n.y, nullptr)))
          continue;
        c.squareX = x;
        c.squareY = y;
        const bool spoilt = (fireAware && IsInMagicArea(creature, kEffectFire)) ||
                            (webAware && IsInMagicArea(creature, kEffectWeb)) || IsInMagicArea(creature, kEffectSilence);
        v += spoilt ? 25 : 100;
      }
    c.squareX = sx;
    c.squareY = sy;
  }

  // Each enemy's rings: beside it the stance is pleased or worried, and a
  // square left untouched next to the second ring is worried a little.
  const int32_t beside = stance == 1 ? 28 : stance == 2 ? -60 : (stance == 3 || stance == 4) ? -120 : 0;
  for (int i = 0; i < TurnCount(); ++i) {
    const int e = TurnOrder[i].creature;
    if (!IsValidCreature(e) || e == creature || AreAllies(creature, e)) continue;
    const SquareBox r = RingBox(e, 0);
    ForSquaresTouching(r.x0, r.y0, r.x1, r.y1, false, w, h, [beside](int sq) {
      if (ValuationGrid[sq] != kUnfit) ValuationGrid[sq] += beside;
    });
    if (stance == 3 || stance == 4) {
      const SquareBox second = RingBox(e, 1);
      const SquareBox own = RingBox(e, -1);  // the squares it stands on
      auto worry = [](int sq) {
        if (ValuationGrid[sq] == 0) ValuationGrid[sq] = -10;
      };
      // The second ring and the enemy's own squares both hold 9.
      ForSquaresTouching(second.x0, second.y0, second.x1, second.y1, false, w, h, worry);
      ForSquaresTouching(own.x0, own.y0, own.x1, own.y1, true, w, h, worry);
    }
  }

  static CellMap blocking, fires;
  if (DisruptionTarget == -1 && blockingDispel) FindCells(&blocking, kEffectSolid, false);
  else blocking.any = false;
  if (DisruptionTarget == -1 && fireDispel) FindCells(&fires, kEffectFire, true);
  else fires.any = false;
  static NearestCells nearBlocking, nearFires;
  if (PlacementShortcuts) {
    nearBlocking.Build(creature, blocking);
    nearFires.Build(creature, fires);
  }

  const bool reachTerm = spellGiven && (SpellTargetKind[spell] == 1 || SpellTargetKind[spell] == 7) &&
                         SpellTable[spell].range == 3;
  // The worth of each combatant and the squares the enemies stand on, once for the grid.
  static int32_t worth[kCreatureCount];
  static GridSquare enemySquares[kMapSquares];
  int enemySquareCount = 0;
  for (int i = 0; i < TurnCount(); ++i) {
    const int e = TurnOrder[i].creature;
    if (!IsValidCreature(e) || e == creature) continue;
    worth[e] = CreatureWorth(creature, e);
    if (AreAllies(creature, e)) continue;
    const CreatureRecord& o = Creatures[e];
    for (int ex = o.squareX; ex < o.squareX + o.footprintWidth.current; ++ex)
      for (int ey = o.squareY; ey < o.squareY + o.footprintHeight.current; ++ey)
        if (enemySquareCount < kMapSquares) enemySquares[enemySquareCount++] = {ex, ey};
  }
  const bool single = w == 1 && h == 1;
  // The distance terms below ask no more than whether the nearest enemy
  // square lies below 49 (and how far when it does). With the shortcuts and
  // every enemy square on the map, each stamps the squares within 6 of it
  // along both axes, the rest holding 49; a footprint's distance is the least
  // of its squares' (the nearest square of a footprint to a square on the map
  // is on the map).
  static int32_t nearEnemy[kMapSquares];
  bool stamped = PlacementShortcuts != 0;
  for (int k = 0; k < enemySquareCount && stamped; ++k) stamped = OnGrid(enemySquares[k].x, enemySquares[k].y);
  if (stamped) {
    std::fill(nearEnemy, nearEnemy + kMapSquares, 49);
    for (int k = 0; k < enemySquareCount; ++k) {
      const GridSquare e = enemySquares[k];
      for (int x = std::max(e.x - 6, 0); x <= std::min(e.x + 6, kMapSide - 1); ++x)
        for (int y = std::max(e.y - 6, 0); y <= std::min(e.y + 6, kMapSide - 1); ++y)
          nearEnemy[SquareIndex(x, y)] = std::min(nearEnemy[SquareIndex(x, y)], (e.x - x) * (e.x - x) + (e.y - y) * (e.y - y));
    }
  }
  auto nearestEnemyAt = [&](int x, int y) {
    int32_t nearest = kNoDistance;
    if (stamped) {
      if (w < 1 || h < 1) return nearEnemy[SquareIndex(x, y)];
      for (int fx = x; fx <= std::min(x + w - 1, kMapSide - 1); ++fx)
        for (int fy = y; fy <= std::min(y + h - 1, kMapSide - 1); ++fy)
          nearest = std::min(nearest, nearEnemy[SquareIndex(fx, fy)]);
      return nearest;
    }
    for (int k = 0; k < enemySquareCount; ++k) {
      const GridSquare& e = enemySquares[k];
      nearest = std::min(nearest, single ? (e.x - x) * (e.x - x) + (e.y - y) * (e.y - y)
                                         : SquaredToFootprint(creature, e.x, e.y));
    }
    return nearest;
  };
  Present.Gather(creature);
  // What the stance reaches from each square: with the shortcuts, worked out
  // creature by creature beforehand; without, square by square below.
  static uint16_t reachedCount[kMapSquares];
  static int32_t reachedWorth[kMapSquares];
  static uint8_t selfReached[kMapSquares];
  if (PlacementShortcuts) {
    std::memset(reachedCount, 0, sizeof reachedCount);
    std::memset(reachedWorth, 0, sizeof reachedWorth);
    std::memset(selfReached, 0, sizeof selfReached);
    ForEachReachedFromSquare(creature, stance, Present, [creature](int sq, const Combatant& o) {
      if (reachedCount[sq] >= kCandidateListSize) return;
      ++reachedCount[sq];
      if (o.id == creature) selfReached[sq] = 1;
      else reachedWorth[sq] += worth[o.id];
    });
  }
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y) {
      const int sq = SquareIndex(x, y);
      int32_t& v = ValuationGrid[sq];
      if (v < 0) continue;
      c.squareX = x;
      c.squareY = y;
      int count = reachedCount[sq];
      bool onlySelf = count == 1 && selfReached[sq];
      if (PlacementShortcuts) {
        v += reachedWorth[sq];
      } else {
        static int32_t reached[kCandidateListSize];
        count = CreaturesInReach(creature, stance, Present, reached);
        for (int k = 0; k < count; ++k)
          if (reached[k] != creature) v += worth[reached[k]];
        onlySelf = count == 1 && reached[0] == creature;
      }
      if (count > 0 && !onlySelf) {
        const int32_t nearestEnemy = nearestEnemyAt(x, y);
        int32_t d = 0;
        if (stance == 2 && nearestEnemy >= 9) d = 7;
        else if (stance == 3 && nearestEnemy >= 16) d = 9;
        else if (stance == 4 && nearestEnemy >= 49) d = 11;
        if (reachTerm && nearestEnemy <= 9) d = 13;
        v += d;
      }
      if (PlacementShortcuts ? nearBlocking.DispellableFrom(x, y) : DispellableCellNear(creature, x, y, blocking))
        v += 100;
      if (PlacementShortcuts ? nearFires.DispellableFrom(x, y) : DispellableCellNear(creature, x, y, fires)) v += 100;
    }
  c.squareX = sx;
  c.squareY = sy;
  AddRetreatBonuses(creature);
  ScoreGridAdjustments(creature);

  if (DisruptionTarget == -1 && !exactlyOneMove) {
    if (!blockingDispel) ScoreGridReachability(creature, moreThanOneMove ? 1 : 0, 1, 0, 0);
    return 1;
  }
  AddStayBonus(creature, DisruptionTarget != -1 ? 200 : 50);
  ScoreGridReachability(creature, moreThanOneMove ? 1 : 0, 1, 0, 0);
  return 1;
}

int BuildCureValuationGrid(int creature, uint8_t stepOnly) {
  if (!IsValidCreature(creature)) return 1;
  CreatureRecord& c = Creatures[creature];
  if (DebugMode) {
    AiPause = 1;
    ValuationGridShown = 1;
  }
  bool moreThanOneMove, exactlyOneMove;
  MoveState(creature, &moreThanOneMove, &exactlyOneMove);

  const HealerSpells spells = HealerSpellsOf(creature);
  std::memset(ValuationGrid, 0, sizeof ValuationGrid);
  if (stepOnly == 1 && InCombat == 1 && MayTakeFiveFootStep(creature)) MarkStepSquares(creature, 17);

  const int w = c.footprintWidth.current, h = c.footprintHeight.current;
  int mostWounded = -1;
  int32_t mostMissing = 0;
  for (int i = 0; i < TurnCount(); ++i) {
    const int o = TurnOrder[i].creature;
    if (!IsValidCreature(o)) continue;
    if (o != creature && AreEnemies(creature, o)) {
      const SquareBox r = RingBox(o, 0);
      ForSquaresTouching(r.x0, r.y0, r.x1, r.y1, false, w, h, [](int sq) {
        if (ValuationGrid[sq] != kUnfit) ValuationGrid[sq] -= 10;
      });
      continue;
    }
    if ((o == creature || AreAllies(creature, o)) && !DestroyedType(o)) {
      const int32_t missing = Creatures[o].maxHitPoints - Creatures[o].hitPoints;
      if (missing > mostMissing) {
        mostMissing = missing;
        mostWounded = o;
      }
    }
  }

  const int sx = c.squareX, sy = c.squareY;
  Present.Gather(creature);
  // The friends paralysis removal or a mass cure would help, picked once for
  // the grid: the squares look for them alone.
  const auto friendly = [creature](int t) { return t == creature || AreAllies(creature, t); };
  const auto afflicted = [friendly](int t) {
    const int p = FindCondition(t, kCondParalyzed);
    const uint32_t source = p >= 0 ? Creatures[t].conditions[p].source : 0;
    return friendly(t) && (HasCondition(t, kCondSlowed) || (p >= 0 && (source < 25 || source > 30)));
  };
  const auto wounded = [friendly](int t) {
    return friendly(t) && Creatures[t].hitPoints < Creatures[t].maxHitPoints && !DestroyedType(t);
  };
  static CombatantList paralysed, hurt, allies;
  paralysed = hurt = allies = Present;
  if (PlacementShortcuts) {
    paralysed.Filter(Present, afflicted);
    hurt.Filter(Present, wounded);
    allies.Filter(Present, [creature](int t) { return t != creature && AreAllies(creature, t); });
  }
  if (PlacementShortcuts) {
    // Friend by friend over the squares near each, what each needs asked once.
    Lines.RefreshCoverLines();
    static uint16_t needs[kTurnOrderEntries];
    for (int i = 0; i < allies.n; ++i) needs[i] = HelpNeeded(allies.at[i].id, spells, mostWounded);
    static uint16_t paralysedNear[kMapSquares], hurtNear[kMapSquares], helpBeside[kMapSquares];
    const bool paralysis = spells.removeParalysis && paralysed.n > 0, mass = spells.massCure && hurt.n > 0;
    if (paralysis) CountReachedFromSquares(creature, 2, paralysed, paralysedNear);
    if (mass) CountReachedFromSquares(creature, 3, hurt, hurtNear);
    HelpBesideBySquare(creature, allies, needs, helpBeside);
    for (int sq = 0; sq < kMapSquares; ++sq) {
      int32_t& v = ValuationGrid[sq];
      if (v == kUnfit) continue;
      v += HelpWorth(helpBeside[sq]) + (mass ? 9 * hurtNear[sq] : 0) + (paralysis && paralysedNear[sq] > 0 ? 34 : 0);
    }
  } else {
    // Square by square over everyone.
    for (int x = 0; x < kMapSide; ++x)
      for (int y = 0; y < kMapSide; ++y) {
        int32_t& v = ValuationGrid[SquareIndex(x, y)];
        if (v == kUnfit) continue;
        c.squareX = x;
        c.squareY = y;
        int32_t paralysis = 0, mass = 0;
        static int32_t reached[kCandidateListSize];
        if (spells.removeParalysis && paralysed.n > 0) {
          const int count = CreaturesInReach(creature, 2, paralysed, reached);
          for (int k = 0; k < count && paralysis == 0; ++k)
            if (afflicted(reached[k])) paralysis = 34;
        }
        if (spells.massCure && hurt.n > 0) {
          const int count = CreaturesInReach(creature, 3, hurt, reached);
          for (int k = 0; k < count; ++k)
            if (wounded(reached[k])) mass += 9;
        }
        static int32_t beside[kAdjacentListSize];
        const int besideCount = AlliesBeside(creature, allies, beside);
        uint16_t help = 0;
        for (int k = 0; k < besideCount; ++k) help |= HelpNeeded(beside[k], spells, mostWounded);
        v += HelpWorth(help) + mass + paralysis;
      }
  }
  c.squareX = sx;
  c.squareY = sy;
  ScoreGridAdjustments(creature);
  if (exactlyOneMove) AddStayBonus(creature, 50);
  ScoreGridReachability(creature, moreThanOneMove ? 1 : 0, 1, 0, 0);
  return 1;
}
