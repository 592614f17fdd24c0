#include "combat/turns/placement_grids.h"

#include <algorithm>
#include <cstring>

#include "combat/resolution/area_targets.h"
#include "combat/resolution/combat_sequencer.h"
#include "combat/turns/best_square.h"
#include "combat/turns/decision_words.h"
#include "combat/turns/least_services.h"
#include "combat/turns/tactics.h"
#include "combat/turns/valuation_grid.h"
#include "combat/turns/combat_cycle.h"
#include "engine/frame.h"
#include "map/area_shapes.h"
#include "map/fighter_tests.h"
#include "map/movement_rules.h"
#include "map/square_grids.h"
#include "rules/adjacency.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "rules/spell_ids.h"
#include "state/combat_action.h"
#include "state/turn_order.h"

namespace {

int TurnCount() { return TurnEntryCount < kTurnOrderEntries ? TurnEntryCount : kTurnOrderEntries; }
bool OnGrid(int x, int y) { return x >= 0 && y >= 0 && x < kMapSide && y < kMapSide; }

// The caster's move state and the squares it may stand on this turn.
struct Placement {
  int caster = -1;
  bool moreThanOneMove = false;
  bool exactlyOneMove = false;
  int homeX = 0, homeY = 0;
  int32_t facing = 0;
};

// Clears the grid and keeps the squares the caster can reach while keeping
// its standard action, with the stay bonus and the threat of awake enemies.
Placement StartPlacement(int caster, bool realSpell) {
  Placement p;
  p.caster = caster;
  CreatureRecord& c = Creatures[caster];
  p.homeX = c.squareX;
  p.homeY = c.squareY;
  p.facing = c.facing;
  const bool enemyAdjacent = HasAdjacentEnemy(caster);
  SpellCaster = caster;
  std::memset(ValuationGrid, 0, sizeof ValuationGrid);

  const bool acting = IsActingFighter(caster);
  if (acting && CombatAction.standardActionLeft != 0) {
    p.moreThanOneMove = CombatAction.movesLeft > c.speed.current;
    p.exactlyOneMove = CombatAction.movesLeft == c.speed.current;
  }

  int32_t limit = c.speed.current;
  if (acting) {
    limit = CombatAction.movesLeft - c.speed.current;
    if (limit < 1 && MayTakeFiveFootStep(caster)) limit = 7;
  }
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y) {
      const int dx = std::abs(x - p.homeX), dy = std::abs(y - p.homeY);
      if (5 * std::max(dx, dy) + 2 * std::min(dx, dy) > limit) ValuationGrid[SquareIndex(x, y)] = kUnfit;
    }
  MarkUnfitSquares(caster);

  if (InCombat == 1 && acting && CombatAction.fiveFootStepLeft == 1 && CombatAction.fiveFootStepAllowed == 1) {
    int32_t bonus = 0;
    if (DisruptionTarget != -1) bonus = 200;
    else if (p.exactlyOneMove) bonus = 50;
    else if (enemyAdjacent) bonus = 7;
    if (bonus != 0) {
      for (int x = p.homeX - 1; x <= p.homeX + 1; ++x)
        for (int y = p.homeY - 1; y <= p.homeY + 1; ++y) {
          if (!OnGrid(x, y)) continue;
          int32_t& v = ValuationGrid[SquareIndex(x, y)];
          if (v == kUnfit) continue;
          const bool home = x == p.homeX && y == p.homeY;
          if (home || !IsDiagonalStepBlocked(caster, x, p.homeY, p.homeX, y)) v += bonus;
        }
    }
  }

  if (realSpell) {
    // Each awake enemy's ring costs the squares from which the caster would stand on it.
    static int32_t stamp[kMapSquares];
    static int32_t stampValue = 0;
    const int w = c.footprintWidth.current, h = c.footprintHeight.current;
    for (int i = 0; i < TurnCount(); ++i) {
      const int e = TurnOrder[i].creature;
      if (!IsValidCreature(e) || e == caster || AreAllies(caster, e)) continue;
      if (HasCondition(e, kCondSleeping) || HasCondition(e, kCondParalyzed)) continue;
      if (++stampValue == 0) {
        std::memset(stamp, 0, sizeof stamp);
        stampValue = 1;
      }
      const CreatureRecord& o = Creatures[e];
      const int x0 = o.squareX - 1, x1 = o.squareX + o.footprintWidth.current;
      const int y0 = o.squareY - 1, y1 = o.squareY + o.footprintHeight.current;
      for (int rx = x0; rx <= x1; ++rx)
        for (int ry = y0; ry <= y1; ++ry) {
          if ((rx != x0 && rx != x1 && ry != y0 && ry != y1) || !OnGrid(rx, ry)) continue;
          for (int sx = rx - w + 1; sx <= rx; ++sx)
            for (int sy = ry - h + 1; sy <= ry; ++sy) {
              if (!OnGrid(sx, sy)) continue;
              const int sq = SquareIndex(sx, sy);
              if (stamp[sq] == stampValue || ValuationGrid[sq] == kUnfit) continue;
              stamp[sq] = stampValue;
              ValuationGrid[sq] -= 9;
            }
        }
    }
    for (int32_t& v : ValuationGrid)
      if (v < 0) v = kUnfit;
  }
  return p;
}

// Puts the caster back and runs the common passes; the first square of the
// highest positive value, or none when that is the caster's own square.
int64_t FinishPlacement(const Placement& p) {
  CreatureRecord& c = Creatures[p.caster];
  c.squareX = p.homeX;
  c.squareY = p.homeY;
  c.facing = p.facing;
  ScoreGridAdjustments(p.caster);
  ScoreGridReachability(p.caster, p.moreThanOneMove ? 1 : 0, 1, 1, 1);
  int32_t best = 0;
  int bx = -1, by = -1;
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y)
      if (ValuationGrid[SquareIndex(x, y)] > best) {
        best = ValuationGrid[SquareIndex(x, y)];
        bx = x;
        by = y;
      }
  if (bx == -1 || (bx == p.homeX && by == p.homeY)) return kNoSquare;
  return PackSquare(bx, by);
}

// Whether the breath of the caster is shaped as a cone.
bool BreathIsCone(int caster) {
  const int kind = Creatures[caster].special[kSpecialAttackKind];
  return (kind >= 1 && kind <= 6) || (kind >= 8 && kind <= 11) || kind == 23;
}

// Marks the cone or line of the effect from the caster toward (tx, ty);
// false when the effect has no such shape.
bool MarkAim(int caster, int spell, int tx, int ty) {
  int32_t direction = 0, near[2] = {0, 0};
  bool cone;
  if (spell == kSpellSpecialAttack) cone = BreathIsCone(caster);
  else if (spell == kSpellTurnUndead) cone = true;
  else if (SpellTable[spell].target == kAimCone) cone = true;
  else if (SpellTable[spell].target == kAimLine) cone = false;
  else return false;
  if (cone) RasteriseCone(caster, tx, ty, spell, &direction);
  else RasteriseLine(caster, tx, ty, spell, &direction, near);
  return true;
}

// The worth of the shape just marked: hostile x 10 - allied, or -1 when it
// would hit an ally the caster may not hit.
int32_t ScoreAim(int caster, int spell) {
  int hostile = 0, allied = 0;
  for (int i = 0; i < kAreaTargetCount && AreaTargetList[i] != -1; ++i) {
    const int t = AreaTargetList[i];
    if (IsImmuneToSpell(spell, t)) continue;
    if (spell == kSpellTurnUndead) {
      if (!IsMoraleEffectWasted(kSpellTurnUndead, t)) ++hostile;
      continue;
    }
    if (spell == kSpellSpecialAttack ? IsBreathEffectWasted(Creatures[caster].special[kSpecialAttackKind], t)
                                     : IsEffectWastedOnTarget(spell, t))
      continue;
    if (t == caster || AreAllies(caster, t)) ++allied;
    else ++hostile;
  }
  if (allied > 0 && !(Creatures[caster].scriptWords[kScriptWordAcceptsAllies] == 1 && hostile >= allied)) return -1;
  return hostile * 10 - allied;
}

}  // namespace

int64_t BuildConeSpellGrid(int caster, int spell) {
  if (!IsValidCreature(caster)) return kNoSquare;
  const bool realSpell = spell >= 0 && spell < kSpellRows;
  if (!realSpell && spell != kSpellTurnUndead && spell != kSpellSpecialAttack) return kNoSquare;
  const Placement p = StartPlacement(caster, realSpell);
  CreatureRecord& c = Creatures[caster];
  const int w = c.footprintWidth.current, h = c.footprintHeight.current;
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y) {
      int32_t& v = ValuationGrid[SquareIndex(x, y)];
      if (v == kUnfit) continue;
      c.squareX = x;
      c.squareY = y;
      int32_t best = 0;
      for (int tx = x - 1; tx <= x + w; ++tx)
        for (int ty = y - 1; ty <= y + h; ++ty) {
          if ((tx != x - 1 && tx != x + w && ty != y - 1 && ty != y + h) || !OnGrid(tx, ty)) continue;
          if (BlockedGrid[SquareIndex(tx, ty)] == kSquareBlocked) continue;
          if (!MarkAim(caster, spell, tx, ty)) continue;
          best = std::max(best, ScoreAim(caster, spell));
        }
      v += best;
    }
  return FinishPlacement(p);
}

int64_t BuildDiscSpellGrid(int caster) {
  if (!IsValidCreature(caster)) return kNoSquare;
  const int spell = SpellInProgress;
  const Placement p = StartPlacement(caster, spell >= 0 && spell < kSpellRows);
  CreatureRecord& c = Creatures[caster];
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y) {
      int32_t& v = ValuationGrid[SquareIndex(x, y)];
      if (v == kUnfit) continue;
      c.squareX = x;
      c.squareY = y;
      RasteriseBurst(caster, x, y, spell);
      int count = 0, penalty = 0;
      for (int i = 0; i < kAreaTargetCount && AreaTargetList[i] != -1; ++i) {
        const int t = AreaTargetList[i];
        if (IsImmuneToSpell(spell, t) || IsConditionEffectWasted(spell, t)) continue;
        const bool hostile = t != caster && !AreAllies(caster, t);
        switch (spell) {
          case kSpellBane: count += hostile; break;
          case kSpellBless: count += !hostile; break;
          case kSpellPrayer: ++count; break;
          case kSpellInvisibilityPurge:
            if (hostile) ++count;
            else ++penalty;
            break;
          default: break;
        }
      }
      v += count * 10 - penalty;
    }
  const int64_t best = FinishPlacement(p);
  if (DebugMode) {
    AiPause = 1;
    ValuationGridShown = 1;
  }
  return best;
}
