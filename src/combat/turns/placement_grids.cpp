#include "combat/turns/placement_grids.h"

#include <algorithm>
#include <cstring>

#include "combat/resolution/area_targets.h"
#include "combat/resolution/combat_sequencer.h"
#include "combat/turns/area_placement.h"
#include "combat/turns/best_square.h"
#include "combat/turns/decision_words.h"
#include "combat/turns/casting_questions.h"
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

// The shape of the effect: 1 a cone, 2 a line, 0 none.
int AimShape(int caster, int spell) {
  if (spell == kSpellSpecialAttack) return BreathIsCone(caster) ? 1 : 2;
  if (spell == kSpellTurnUndead || SpellTable[spell].target == kAimCone) return 1;
  if (SpellTable[spell].target == kAimLine) return 2;
  return 0;
}

// Marks the cone or line of the effect from the caster toward (tx, ty);
// false when the effect has no such shape.
bool MarkAim(int caster, int spell, int tx, int ty) {
  int32_t direction = 0, near[2] = {0, 0};
  const int shape = AimShape(caster, spell);
  if (shape == 1) RasteriseCone(caster, tx, ty, spell, &direction);
  else if (shape == 2) RasteriseLine(caster, tx, ty, spell, &direction, near);
  return shape != 0;
}

// The worth of the creatures a shape takes: hostile x 10 - allied, or -1
// when it would hit an ally the caster may not hit.
int32_t ScoreAim(int caster, int spell, const int32_t* listed, int count) {
  int hostile = 0, allied = 0;
  for (int i = 0; i < count; ++i) {
    const int t = listed[i];
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

// The creatures of the area target list, as the shape just drawn left it.
int ListedCount() {
  int n = 0;
  while (n < kAreaTargetCount && AreaTargetList[n] != -1) ++n;
  return n;
}

// What a disc of the spell round the caster catches: 10 for each creature
// it helps or harms as the spell wants, less 1 for each the spell would
// wrong.
int32_t ScoreDisc(int caster, int spell, const int32_t* listed, int count) {
  int hostileCount = 0, penalty = 0;
  for (int i = 0; i < count; ++i) {
    const int t = listed[i];
    if (IsImmuneToSpell(spell, t) || IsConditionEffectWasted(spell, t)) continue;
    const bool hostile = t != caster && !AreAllies(caster, t);
    switch (spell) {
      case kSpellBane: hostileCount += hostile; break;
      case kSpellBless: hostileCount += !hostile; break;
      case kSpellPrayer: ++hostileCount; break;
      case kSpellInvisibilityPurge:
        if (hostile) ++hostileCount;
        else ++penalty;
        break;
      default: break;
    }
  }
  return hostileCount * 10 - penalty;
}

// While a grid weighs its shapes by the creatures they would list, the
// shape last weighed and the last that listed anyone. Drawing those two
// again at the end leaves the area mask, the area target list and the marks
// as drawing every shape would have left them.
struct ShapesWeighed {
  bool any = false, anyListed = false;
  int x = 0, y = 0, tx = 0, ty = 0;
  int listedX = 0, listedY = 0, listedTx = 0, listedTy = 0;

  void Note(int atX, int atY, int towardX, int towardY, int count) {
    any = true;
    x = atX, y = atY, tx = towardX, ty = towardY;
    if (count > 0) anyListed = true, listedX = atX, listedY = atY, listedTx = towardX, listedTy = towardY;
  }
  template <typename Draw>
  void DrawAgain(CreatureRecord& c, Draw draw) const {
    if (anyListed) {
      c.squareX = listedX;
      c.squareY = listedY;
      draw(listedTx, listedTy);
    }
    if (any) {
      c.squareX = x;
      c.squareY = y;
      draw(tx, ty);
    }
  }
};

}  // namespace

int64_t BuildConeSpellGrid(int caster, int spell) {
  if (!IsValidCreature(caster)) return kNoSquare;
  const bool realSpell = spell >= 0 && spell < kSpellRows;
  if (!realSpell && spell != kSpellTurnUndead && spell != kSpellSpecialAttack) return kNoSquare;
  const Placement p = StartPlacement(caster, realSpell);
  CreatureRecord& c = Creatures[caster];
  const int w = c.footprintWidth.current, h = c.footprintHeight.current;
  // A cone is weighed by the creatures it would list, without being drawn;
  // a line is drawn.
  const int shape = AimShape(caster, spell);
  const bool listing = PlacementShortcuts && shape == 1;
  static int32_t listed[kAreaTargetCount];
  ShapesWeighed weighed;
  if (listing) BeginShapeSeries(caster);
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
          if (listing) {
            const int n = ListConeTargets(caster, tx, ty, spell, listed, kAreaTargetCount);
            weighed.Note(x, y, tx, ty, n);
            best = std::max(best, ScoreAim(caster, spell, listed, n));
            continue;
          }
          if (!MarkAim(caster, spell, tx, ty)) continue;
          best = std::max(best, ScoreAim(caster, spell, AreaTargetList, ListedCount()));
        }
      v += best;
    }
  if (listing) {
    EndShapeSeries();
    weighed.DrawAgain(c, [caster, spell](int tx, int ty) { MarkAim(caster, spell, tx, ty); });
  }
  return FinishPlacement(p);
}

int64_t BuildDiscSpellGrid(int caster) {
  if (!IsValidCreature(caster)) return kNoSquare;
  const int spell = SpellInProgress;
  const Placement p = StartPlacement(caster, spell >= 0 && spell < kSpellRows);
  CreatureRecord& c = Creatures[caster];
  // Each disc is weighed by the creatures it would list, without being drawn.
  const bool listing = PlacementShortcuts != 0;
  static int32_t listed[kAreaTargetCount];
  ShapesWeighed weighed;
  if (listing) BeginShapeSeries(caster);
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y) {
      int32_t& v = ValuationGrid[SquareIndex(x, y)];
      if (v == kUnfit) continue;
      c.squareX = x;
      c.squareY = y;
      if (listing) {
        const int n = ListBurstTargets(caster, x, y, spell, listed, kAreaTargetCount);
        weighed.Note(x, y, x, y, n);
        v += ScoreDisc(caster, spell, listed, n);
        continue;
      }
      RasteriseBurst(caster, x, y, spell);
      v += ScoreDisc(caster, spell, AreaTargetList, ListedCount());
    }
  if (listing) {
    EndShapeSeries();
    weighed.DrawAgain(c, [caster, spell](int x, int y) { RasteriseBurst(caster, x, y, spell); });
  }
  const int64_t best = FinishPlacement(p);
  if (DebugMode) {
    AiPause = 1;
    ValuationGridShown = 1;
  }
  return best;
}
