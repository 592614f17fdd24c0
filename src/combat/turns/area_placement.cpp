#include "combat/turns/area_placement.h"

#include <algorithm>
#include <cstring>

#include "combat/resolution/area_targets.h"
#include "combat/turns/adjacency_queries.h"
#include "combat/turns/decision_services.h"
#include "combat/turns/casting_questions.h"
#include "combat/turns/valuation_grid.h"
#include "creatures/control_tendencies.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "map/area_shapes.h"
#include "map/fighter_tests.h"
#include "map/line_of_effect.h"
#include "map/movement_rules.h"
#include "map/square_grids.h"
#include "rules/adjacency.h"
#include "rules/attack_profile.h"
#include "rules/casting_rules.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "rules/positions.h"
#include "rules/spell_ids.h"
#include "state/combat_action.h"
#include "state/turn_order.h"

uint8_t PlacementShortcuts = 1;
GridSquare MagicFireStepSquare = {-1, -1};
int32_t LineTargetFirstX = -1, LineTargetFirstY = -1, LineTargetSecondX = -1, LineTargetSecondY = -1;

namespace {

constexpr int kUnlimitedReach = -1;
constexpr int kBestDispelStart = -500;
constexpr int kDispelWorthCasting = 10;
constexpr int32_t kKindSilenceCaster = 50;  // a creature kind that casts without spell slots

bool SpellRow(int spell) { return spell >= 0 && spell < kSpellRows; }
bool AlliesOnly(int spell) { return SpellRow(spell) && SpellTable[spell].beneficial == 1; }

// The squared reach of a spell's range kind (-1 when unlimited).
int ReachOfRange(int spell) {
  const int32_t kind = SpellRow(spell) ? SpellTable[spell].range : -1;
  switch (kind) {
    case 0: case 1: return 0;
    case 2: return 2;
    case 3: return 9;
    case 4: return 49;
    case 5: return 144;
    default: return kUnlimitedReach;
  }
}

bool IsFloor(int x, int y) { return CurrentMap.Inside(x, y) && CurrentMap.layers[kLayerWalls][SquareIndex(x, y)] <= 0; }

bool Team(int a, int b) { return a == b || AreAllies(a, b); }
bool HeldByOthers(int c) {
  return FindAnyCondition(c, kCondSummonedCreature, kCondControlled, kCondDominated) >= 0;
}
bool Active(int c, uint32_t id) { return HasCondition(c, id); }
bool CanCast(int c) { return HighestUsableSpellLevel(-1, c); }
bool MuteSilencedOrFeeble(int c) { return FindAnyCondition(c, kCondMute, kCondSilenced, kCondFeebleminded) >= 0; }
bool DestroyedType(int c) { return Creatures[c].type == 8 || Creatures[c].type == 2; }

bool MassHealing(int spell) { return IsSpellInSetC(spell); }
bool MassHarming(int spell) { return IsSpellInSetD(spell); }

// Whether a creature caught by the burst counts at all for the spell, and
// (through *weight) as how many creatures when it is an enemy.
bool CountsForSpell(int spell, int caster, int t, int* weight) {
  const CreatureRecord& c = Creatures[t];
  const bool enemy = AreEnemies(caster, t);
  *weight = 1;
  switch (spell) {
    case kSpellGlitterdust:
      return !Active(t, kCondBlinded) || Active(t, kCondInvisible) || Active(t, kCondGreaterInvisibility);
    case kSpellSleep:
    case kSpellDeepSlumber:
      if (Active(t, kCondSleeping) || Active(t, kCondDancing)) return false;
      return c.effectiveLevel <= (spell == kSpellSleep ? 4 : 10);
    case kSpellConfusion:
      return !Active(t, kCondConfused) && !Active(t, kCondInsane);
    case kSpellSlow:
      return !Active(t, kCondSlowed);
    case kSpellMassHoldPerson:
      return c.type == 5 && !Active(t, kCondParalyzed);
    case kSpellMassHoldMonster:
      return !DestroyedType(t) && !Active(t, kCondParalyzed);
    case kSpellMassMute:
      return CanCast(t) && !MuteSilencedOrFeeble(t);
    case kSpellCircleOfDeath:
      return !DestroyedType(t) && c.effectiveLevel < 9;
    case kSpellVampiricBlast:
      return !DestroyedType(t);
    case kSpellUndeathToDeath:
      return c.type == 8 && c.effectiveLevel < 9;
    case kSpellDominateUndead:
      return c.type == 8 && !Active(t, kCondProtectedVersusEvil) && !Active(t, kCondProtectedVersusGood);
    case kSpellSilence:
      if (!CanCast(t) || MuteSilencedOrFeeble(t) || IsInMagicArea(t, kEffectSilence)) return false;
      return !enemy || !HasReachableSquare(t) || Active(t, kCondGrappling) || Active(t, kCondParalyzed) ||
             (IsThreatenedByEnemy(t) && IsAreaFreeOfWalls(t));
    case kSpellDarkness:
      if (!IsSightDependent(t, 1) || IsInMagicArea(t, kEffectDarkness)) return false;
      return !enemy || IsThreatenedByEnemy(t);
    case kSpellInsectPlague:
      if (IsInMagicArea(t, kEffectInsectPlague)) return false;
      return !enemy || IsAreaFreeOfWalls(t);
    case kSpellEntangle:
      if (HamperingImmunityCode(t) == 1 || IsInMagicArea(t, kEffectEntangle) || IsInMagicArea(t, kEffectWeb))
        return false;
      return !enemy || IsAreaFreeOfWalls(t);
    case kSpellWeb:
      if (HamperingImmunityCode(t) == 1 || IsInMagicArea(t, kEffectWeb) || c.kind == 32) return false;
      if (enemy && IsAreaFreeOfWalls(t)) *weight = 2;
      return true;
    default:
      break;
  }
  if (MassHealing(spell) || MassHarming(spell)) {
    if (enemy) return (spell != kSpellMassHeal && spell != kSpellMassHarm) || c.hitPoints > 1;
    return c.hitPoints < c.maxHitPoints && IsWorthCuring(t, 0, spell, 10, caster);
  }
  return true;
}

// The value of the burst just drawn for an ordinary spell; false when the
// burst is refused. *centreEnemy gets the counted enemy standing on the centre.
bool ScoreBurst(int caster, int spell, int x, int y, int32_t* value, int* centreEnemy) {
  const bool mass = MassHealing(spell) || MassHarming(spell);
  const int focus = DisruptionTarget;
  const int onCentre = CreatureAtSquare(x, y, -1);
  int enemies = 0, friends = 0;
  bool focusCounted = false;
  *centreEnemy = -1;
  for (int i = 0; i < kAreaTargetCount && AreaTargetList[i] != -1; ++i) {
    const int t = AreaTargetList[i];
    if (IsImmuneToSpell(spell, t)) continue;
    int weight = 1;
    if (!CountsForSpell(spell, caster, t, &weight)) continue;
    if (mass) {
      ++enemies;
      if (t == focus) focusCounted = true;
      if (t == onCentre) *centreEnemy = t;
      continue;
    }
    if (t == caster) {
      if (spell == kSpellSilence && Creatures[caster].feats[kFeatMetamagicSilent] != 0) continue;
      return false;
    }
    if (AreEnemies(caster, t)) {
      enemies += weight;
      if (t == focus) focusCounted = true;
      if (t == onCentre) *centreEnemy = t;
    } else {
      ++friends;
    }
  }
  if (friends > 0 && (Creatures[caster].scriptWords[kScriptWordAcceptsAllies] != 1 || friends > enemies)) return false;
  if (focus != -1 && !focusCounted) return false;
  *value = enemies * 10 - friends;
  return true;
}

// The creatures an allies-only burst reaches usefully.
int CountAlliesReached(int spell) {
  int n = 0;
  for (int i = 0; i < kAreaTargetCount && AreaTargetList[i] != -1; ++i) {
    const int t = AreaTargetList[i];
    if (IsImmuneToSpell(spell, t)) continue;
    if (spell == kSpellMassBullsStrength && Active(t, kCondEnhancedStrength)) continue;
    if (spell == kSpellMassProtectionGoodEvil &&
        (Active(t, kCondProtectedVersusEvil) || Active(t, kCondProtectedVersusGood)))
      continue;
    if (spell == kSpellHaste && Active(t, kCondHasted)) continue;
    ++n;
  }
  return n;
}

bool HurtByFire(int c) {
  const int fire = GetProtectionValue(c, 2);
  return fire != 1 && fire != 5 && Creatures[c].kind != 1 && Creatures[c].kind != 88;
}

// The dispel of the burst just drawn round (centreX, centreY): what it would
// clear, for good and ill. False when the burst does not serve the reason the
// caster dispels for.
bool WeighDispel(int caster, int centreX, int centreY, bool casterSilenced, bool casterCanCast, int32_t* value) {
  const int reason = DispelReason;
  const CreatureRecord& me = Creatures[caster];
  if ((reason == 4 || reason == 5 || reason == 6) &&
      (me.footprintWidth.current > 1 || me.footprintHeight.current > 1)) {
    for (int x = me.squareX; x < me.squareX + me.footprintWidth.current; ++x)
      for (int y = me.squareY; y < me.squareY + me.footprintHeight.current; ++y)
        if (x < 0 || y < 0 || x >= kMapSide || y >= kMapSide || !AreaMask[SquareIndex(x, y)]) return false;
  }
  int32_t v = 0;
  bool requiredCaught = false;
  // The burst marks nothing beyond the shapes' reach of its centre (with
  // the shortcuts, only that box is looked at).
  const int reach = PlacementShortcuts ? kShapeReach : kMapSide;
  for (int x = std::max(centreX - reach, 0); x <= std::min(centreX + reach, kMapSide - 1); ++x)
    for (int y = std::max(centreY - reach, 0); y <= std::min(centreY + reach, kMapSide - 1); ++y) {
      const int sq = SquareIndex(x, y);
      if (!AreaMask[sq]) continue;
      const SquareEffectCell& cell = MagicAreaGrid[sq];
      const bool live = cell.roundsLeft > 0;
      if (reason == 8 && x == MagicFireStepSquare.x && y == MagicFireStepSquare.y) requiredCaught = true;
      if (casterSilenced && casterCanCast && cell.kind == kEffectSilence && live) v += 3;
      const bool passingFire = cell.kind == kEffectFire && live && cell.roundsLeft != kDurationLasting;
      if ((reason == 4 || reason == 8 || reason == 14) && passingFire) {
        v += 9;
        if (reason == 14) requiredCaught = true;
      }
      if (reason == 13 && passingFire) v += 1;
      if (reason == 5 && cell.kind == kEffectEntangle && live) v += 4;
      if (reason == 6 && cell.kind == kEffectWeb && live) v += 5;
      if (cell.kind == kEffectSolid && live) {
        v += 11;
        if (reason == 7) requiredCaught = true;
      }
    }
  bool casterListed = false;
  for (int i = 0; i < kAreaTargetCount && AreaTargetList[i] != -1; ++i) {
    const int t = AreaTargetList[i];
    if (t == caster) casterListed = true;
    const bool freedOfFire = HurtByFire(t) && IsInMagicArea(t, kEffectFire) && !IsOnBrazierFire(t) &&
                             !IsInMagicAreaBeyondMask(t, kEffectFire);
    const bool freedOfSilence = Active(t, kCondSilenced) && !IsInMagicAreaBeyondMask(t, kEffectSilence);
    const bool freedOfWeb = Active(t, kCondStuck) && !IsInMagicAreaBeyondMask(t, kEffectWeb);
    if (!Team(caster, t)) {
      if (HeldByOthers(t)) v += 40;
      else if (IsHelplessTarget(t, 0)) v -= 40;
      else if (HasProtectiveEffect(t)) v += 6;
      if (freedOfFire) v -= 40;
      if (freedOfSilence) v -= CanCast(t) ? 30 : 10;
      if (freedOfWeb) v -= 30;
    } else {
      if (HeldByOthers(t)) {
        v -= 40;
      } else if (IsHelplessTarget(t, 0)) {
        v += 8;
        if (t == caster) v += 8;
      } else {
        v -= 15 * CountDispellableEffects(t);
      }
      if (freedOfFire) v += (reason == 4 || reason == 13) ? 7 : 4;
      if (freedOfSilence) v += CanCast(t) ? 3 : 1;
      if (freedOfWeb) v += (reason == 6 || reason == 12) ? 9 : 6;
    }
  }
  if ((reason == 1 || reason == 2 || reason == 4 || reason == 5 || reason == 6) && !casterListed) return false;
  if ((reason == 7 || reason == 8 || reason == 14) && !requiredCaught) return false;
  *value = v;
  return true;
}

// The creatures a burst of the spell could count for the caster (all of
// them for the mass spells, else its enemies), with the weight each adds,
// and the reach of the burst. A centre whose reach holds too few of them to
// beat the best burst so far is passed over without drawing its burst.
struct BurstBound {
  struct Counted {
    int32_t x0, y0, x1, y1;  // the footprint
    int32_t worth;           // the most it adds
  };
  Counted counted[kTurnOrderEntries];
  int n = 0;
  int reach = 0;

  void Gather(int caster, int spell) {
    n = 0;
    const bool mass = MassHealing(spell) || MassHarming(spell);
    int size = SpellRow(spell) ? SpellTable[spell].areaSize / kFeetPerSquare : 0;
    if (PendingMetamagic == kMetamagicWidened) size *= 2;
    reach = size + 1;  // a burst spreads one square further on its -x and -y sides
    const int count = TurnEntryCount < kTurnOrderEntries ? TurnEntryCount : kTurnOrderEntries;
    for (int i = 0; i < count; ++i) {
      const int t = TurnOrder[i].creature;
      if (!IsValidCreature(t) || (!mass && !AreEnemies(caster, t))) continue;
      const CreatureRecord& c = Creatures[t];
      counted[n++] = {c.squareX, c.squareY, c.squareX + c.footprintWidth.current - 1,
                      c.squareY + c.footprintHeight.current - 1, spell == kSpellWeb && !mass ? 20 : 10};
    }
  }
  // The worth of the creatures whose footprint lies within the reach of (x, y).
  int32_t Most(int x, int y) const {
    int32_t most = 0;
    for (int i = 0; i < n; ++i) {
      const Counted& c = counted[i];
      if (c.x1 >= x - reach && c.x0 <= x + reach && c.y1 >= y - reach && c.y0 <= y + reach) most += c.worth;
    }
    return most;
  }
};

// The most a creature caught by a dispel adds to the burst, whatever the
// burst frees it from (the weighing of WeighDispel with every freeing taken).
int32_t MostDispelWorth(int caster, int t, int reason) {
  const bool fire = HurtByFire(t) && IsInMagicArea(t, kEffectFire) && !IsOnBrazierFire(t);
  const bool silenced = Active(t, kCondSilenced), stuck = Active(t, kCondStuck);
  if (!Team(caster, t)) {
    if (HeldByOthers(t)) return 40;
    if (IsHelplessTarget(t, 0)) return -40;
    return HasProtectiveEffect(t) ? 6 : 0;
  }
  int32_t v = 0;
  if (HeldByOthers(t)) v -= 40;
  else if (IsHelplessTarget(t, 0)) v += t == caster ? 16 : 8;
  else v -= 15 * CountDispellableEffects(t);
  if (fire) v += (reason == 4 || reason == 13) ? 7 : 4;
  if (silenced) v += CanCast(t) ? 3 : 1;
  if (stuck) v += (reason == 6 || reason == 12) ? 9 : 6;
  return v;
}

// The most a dispel burst centred on a square could be worth for the
// reason: the positive worth of every magic cell and the most any creature
// adds (40) within the burst's reach, summed over the box by a table of
// running totals built once per search.
struct DispelBound {
  int32_t total[kMapSide + 1][kMapSide + 1];     // worth of the cells [0, x) x [0, y)
  int32_t required[kMapSide + 1][kMapSide + 1];  // the cells the reason needs caught, likewise
  int casterX0 = 0, casterY0 = 0, casterX1 = 0, casterY1 = 0;
  BurstBound creatures;
  int reach = 0;

  void Gather(int caster, bool casterSilenced, bool casterCanCast) {
    const int reason = DispelReason;
    for (int x = 0; x <= kMapSide; ++x) total[x][0] = required[x][0] = 0;
    for (int y = 0; y <= kMapSide; ++y) total[0][y] = required[0][y] = 0;
    for (int x = 0; x < kMapSide; ++x)
      for (int y = 0; y < kMapSide; ++y) {
        const SquareEffectCell& cell = MagicAreaGrid[SquareIndex(x, y)];
        const bool live = cell.roundsLeft > 0;
        int32_t v = 0;
        if (live && casterSilenced && casterCanCast && cell.kind == kEffectSilence) v += 3;
        if (live && cell.kind == kEffectFire && cell.roundsLeft != kDurationLasting)
          v += (reason == 4 || reason == 8 || reason == 14) ? 9 : reason == 13 ? 1 : 0;
        if (live && reason == 5 && cell.kind == kEffectEntangle) v += 4;
        if (live && reason == 6 && cell.kind == kEffectWeb) v += 5;
        if (live && cell.kind == kEffectSolid) v += 11;
        total[x + 1][y + 1] = v + total[x][y + 1] + total[x + 1][y] - total[x][y];
        const bool needed = (reason == 8 && x == MagicFireStepSquare.x && y == MagicFireStepSquare.y) ||
                            (reason == 14 && live && cell.kind == kEffectFire && cell.roundsLeft != kDurationLasting) ||
                            (reason == 7 && live && cell.kind == kEffectSolid);
        required[x + 1][y + 1] = (needed ? 1 : 0) + required[x][y + 1] + required[x + 1][y] - required[x][y];
      }
    const CreatureRecord& me = Creatures[caster];
    casterX0 = me.squareX;
    casterY0 = me.squareY;
    casterX1 = me.squareX + me.footprintWidth.current - 1;
    casterY1 = me.squareY + me.footprintHeight.current - 1;
    creatures.n = 0;
    int size = SpellTable[kSpellDispel].areaSize / kFeetPerSquare;
    if (PendingMetamagic == kMetamagicWidened) size *= 2;
    reach = creatures.reach = size + 1;
    const int count = TurnEntryCount < kTurnOrderEntries ? TurnEntryCount : kTurnOrderEntries;
    for (int i = 0; i < count; ++i) {
      const int t = TurnOrder[i].creature;
      if (!IsValidCreature(t)) continue;
      const int32_t worth = MostDispelWorth(caster, t, reason);
      if (worth <= 0) continue;
      const CreatureRecord& c = Creatures[t];
      creatures.counted[creatures.n++] = {c.squareX, c.squareY, c.squareX + c.footprintWidth.current - 1,
                                          c.squareY + c.footprintHeight.current - 1, worth};
    }
  }
  // Whether the burst centred on (x, y) may serve the reason and beat the value.
  bool MayBeat(int x, int y, int32_t value) const {
    const int reason = DispelReason;
    const int x0 = std::max(x - reach, 0), y0 = std::max(y - reach, 0);
    const int x1 = std::min(x + reach, kMapSide - 1) + 1, y1 = std::min(y + reach, kMapSide - 1) + 1;
    if ((reason == 7 || reason == 8 || reason == 14) &&
        required[x1][y1] - required[x0][y1] - required[x1][y0] + required[x0][y0] == 0)
      return false;
    if ((reason == 1 || reason == 2 || reason == 4 || reason == 5 || reason == 6) &&
        (casterX1 < x - reach || casterX0 > x + reach || casterY1 < y - reach || casterY0 > y + reach))
      return false;
    return total[x1][y1] - total[x0][y1] - total[x1][y0] + total[x0][y0] + creatures.Most(x, y) > value;
  }
};

}  // namespace

bool FillAreaTargetWeights(int spell, int caster) {
  std::memset(ValuationGrid, 0, sizeof ValuationGrid);
  if (!IsValidCreature(caster)) return true;
  const int reach = ReachOfRange(spell);
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y) {
      if (!IsFloor(x, y)) continue;
      const GridSquare from = NearestFootprintSquare(caster, x, y);
      if (reach != kUnlimitedReach && SquaredDistance(from.x, from.y, x, y) > reach) continue;
      if (!HasLineOfEffect(from.x, from.y, x, y, nullptr)) continue;
      ValuationGrid[SquareIndex(x, y)] = 1;
    }
  return true;
}

GridSquare FindCircle(int caster, int spell) {
  if (!IsValidCreature(caster)) return {-1, -1};
  if (DebugMode && InCombat == 1 && spell == kSpellDispel)
    LogMessage("Calling FindCircle for Dispelreason %i ", static_cast<int>(DispelReason));
  const bool casterSilenced = Active(caster, kCondSilenced);
  const bool casterCanCast = CanCast(caster) || Creatures[caster].kind == kKindSilenceCaster;
  const int scripted = ScriptedSpellTarget(caster);
  const bool dispel = spell == kSpellDispel;
  const bool alliesOnly = AlliesOnly(spell);

  GridSquare best{-1, -1};
  int32_t bestValue = dispel ? kBestDispelStart : 0;
  int bestCentreEnemy = -1;
  static BurstBound bound;
  const bool bounded = PlacementShortcuts && !dispel && !alliesOnly && scripted == -1;
  if (bounded) bound.Gather(caster, spell);
  static DispelBound dispelBound;
  if (PlacementShortcuts && dispel && scripted == -1) dispelBound.Gather(caster, casterSilenced, casterCanCast);
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y) {
      int32_t& mark = ValuationGrid[SquareIndex(x, y)];
      if (mark != 1) continue;
      if (bounded) {
        // A burst that cannot beat the best, nor tie it with an enemy on its centre, is not drawn.
        const int32_t most = bound.Most(x, y);
        if (most < bestValue || (most == bestValue && (best.x == -1 || CreatureAtSquare(x, y, -1) == -1))) continue;
      }
      // A dispel that cannot beat the best is not weighed.
      if (PlacementShortcuts && dispel && scripted == -1 && !dispelBound.MayBeat(x, y, bestValue)) continue;
      RasteriseBurst(caster, x, y, spell);
      if (scripted != -1) {
        bool caught = false;
        for (int i = 0; i < kAreaTargetCount && AreaTargetList[i] != -1 && !caught; ++i)
          caught = AreaTargetList[i] == scripted;
        if (!caught) {
          mark = 0;
          continue;
        }
      }
      int32_t value = 0;
      if (dispel) {
        if (WeighDispel(caster, x, y, casterSilenced, casterCanCast, &value) && value > bestValue) {
          bestValue = value;
          best = {x, y};
        }
        continue;
      }
      if (alliesOnly) {
        value = CountAlliesReached(spell);
        if (value > bestValue) {
          bestValue = value;
          best = {x, y};
        }
        continue;
      }
      int centreEnemy = -1;
      if (!ScoreBurst(caster, spell, x, y, &value, &centreEnemy)) continue;
      const bool better = value > bestValue;
      const bool tieWon = value == bestValue && best.x != -1 && centreEnemy != -1 &&
                          (bestCentreEnemy == -1 || Creatures[bestCentreEnemy].hitPoints > Creatures[centreEnemy].hitPoints);
      if (better || tieWon) {
        bestValue = value;
        best = {x, y};
        bestCentreEnemy = centreEnemy;
      }
    }

  if (dispel) {
    if (DebugMode) LogMessage("Dispel Max Circle Value: %i", static_cast<int>(bestValue));
    return bestValue > kDispelWorthCasting ? best : GridSquare{-1, -1};
  }
  if (best.x == -1) return best;
  if (alliesOnly && bestValue < 2 && !CombatAction.spellLikePlanned && !CombatAction.wandPlanned) return {-1, -1};
  return best;
}

bool FindLineTarget(int spell, int caster) {
  LineTargetFirstX = LineTargetFirstY = LineTargetSecondX = LineTargetSecondY = -1;
  if (!IsValidCreature(caster) || !SpellRow(spell)) return false;
  int a = SpellTable[spell].areaSize / kFeetPerSquare;
  if (PendingMetamagic == kMetamagicWidened) a *= 2;
  const int b = SpellTable[spell].areaSize2 / kFeetPerSquare;
  // A rectangle needs at least one square each way.
  if (a < 1 || b < 1) return false;
  const int focus = DisruptionTarget;
  const bool acceptsAllies = Creatures[caster].scriptWords[kScriptWordAcceptsAllies] == 1;

  // The creatures each orientation could count as enemies: a rectangle that
  // holds too few of them to beat the best is not drawn.
  static BurstBound hostile[2];
  for (int orientation = 0; orientation < 2; ++orientation) {
    BurstBound& h = hostile[orientation];
    h.n = 0;
    h.reach = 0;
    const int count = TurnEntryCount < kTurnOrderEntries ? TurnEntryCount : kTurnOrderEntries;
    for (int i = 0; i < count; ++i) {
      const int t = TurnOrder[i].creature;
      if (!IsValidCreature(t) || (orientation == 0 ? !AreEnemies(caster, t) : Team(caster, t))) continue;
      const CreatureRecord& c = Creatures[t];
      h.counted[h.n++] = {c.squareX, c.squareY, c.squareX + c.footprintWidth.current - 1,
                          c.squareY + c.footprintHeight.current - 1, 10};
    }
  }

  int32_t bestValue = 0;
  for (int orientation = 0; orientation < 2; ++orientation) {
    const int along = orientation == 0 ? a : b, across = orientation == 0 ? b : a;
    const BurstBound& h = hostile[orientation];
    for (int x = 0; x < kMapSide; ++x)
      for (int y = 0; y < kMapSide; ++y) {
        if (ValuationGrid[SquareIndex(x, y)] != 1) continue;
        const int fx = x + along - 1, fy = y + across - 1;
        if (!IsFloor(fx, fy)) continue;
        int32_t most = 0;
        for (int i = 0; i < h.n; ++i) {
          const BurstBound::Counted& c = h.counted[i];
          if (c.x1 >= x && c.x0 <= fx && c.y1 >= y && c.y0 <= fy) most += c.worth;
        }
        if (PlacementShortcuts && most <= bestValue) continue;
        if (!RasteriseRectangle(spell, caster, x, y, fx, fy)) continue;
        int enemies = 0, friends = 0;
        bool focusCaught = false, refused = false;
        for (int i = 0; i < kAreaTargetCount && AreaTargetList[i] != -1 && !refused; ++i) {
          const int t = AreaTargetList[i];
          if (IsImmuneToSpell(spell, t)) continue;
          if (t == caster) {
            refused = true;
            break;
          }
          const bool enemy = orientation == 0 ? AreEnemies(caster, t) : !Team(caster, t);
          if (enemy) {
            ++enemies;
            if (t == focus) focusCaught = true;
          } else {
            ++friends;
          }
        }
        if (refused || (friends > 0 && !acceptsAllies) || (focus != -1 && !focusCaught)) continue;
        const int32_t value = enemies * 10 - friends;
        if (value > bestValue) {
          bestValue = value;
          LineTargetFirstX = x;
          LineTargetFirstY = y;
          LineTargetSecondX = fx;
          LineTargetSecondY = fy;
        }
      }
  }
  return LineTargetFirstX != -1;
}

void ResetAreaPlacementState() {
  DispelReason = 0;
  PlacementShortcuts = 1;
  MagicFireStepSquare = {-1, -1};
  LineTargetFirstX = LineTargetFirstY = LineTargetSecondX = LineTargetSecondY = -1;
}
