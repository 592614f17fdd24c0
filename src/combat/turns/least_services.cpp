#include "combat/turns/least_services.h"

#include <cstdlib>
#include <initializer_list>

#include "combat/actions/casting_checks.h"
#include "map/area_shapes.h"
#include "map/fighter_tests.h"
#include "map/movement_rules.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "state/turn_order.h"
#include "map/square_grids.h"
#include "rules/spell_ids.h"

namespace {

bool AbleCombatant(int creature) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  return c.present == 1 && c.hitPoints > 0 && !HasCondition(creature, kCondDead);
}

// The able combatants of the turn order that pass the test, the first best by the score.
template <typename Test, typename Score>
int BestCombatant(Test test, Score score) {
  int best = -1;
  int32_t bestScore = 0;
  const int count = TurnEntryCount < kTurnOrderEntries ? TurnEntryCount : kTurnOrderEntries;
  for (int i = 0; i < count; ++i) {
    const int c = TurnOrder[i].creature;
    if (!AbleCombatant(c) || !test(c)) continue;
    const int32_t s = score(c);
    if (best == -1 || s > bestScore) {
      best = c;
      bestScore = s;
    }
  }
  return best;
}

}  // namespace

bool CanCastSpells(int creature, int* outIndex) {
  static const uint32_t kBlocking[] = {97, 89, 85, 84, 157, 86, 82, 118, 100, 98, 122,
                                       123, 115, 95, 103, 94, 87, 88, 104, 148, 114};
  if (outIndex) *outIndex = -1;
  if (!IsValidCreature(creature)) return false;
  for (uint32_t id : kBlocking) {
    const int index = FindCondition(creature, id);
    if (index >= 0) {
      if (outIndex) *outIndex = index;
      return false;
    }
  }
  return true;
}

int ChooseSpellTarget() {
  const int caster = SpellCaster;
  return BestCombatant([caster](int c) { return !AreEnemies(caster, c); },
                       [](int c) { return Creatures[c].maxHitPoints - Creatures[c].hitPoints; });
}

int ChooseBestSpellTarget() {
  const int caster = SpellCaster;
  return BestCombatant([caster](int c) { return AreEnemies(caster, c); },
                       [](int c) { return -Creatures[c].hitPoints; });
}

bool IsImmuneToSpell(int target) {
  if (!IsValidCreature(target)) return false;
  int codes[2] = {0, 0};
  const int spell = SpellInProgress;
  if (spell >= 0 && spell < kSpellRows) {
    codes[0] = SpellTable[spell].immunity1;
    codes[1] = SpellTable[spell].immunity2;
  } else if (spell == kSpellSpecialAttack) {
    codes[0] = BreathWeaponImmunityCode1();
    codes[1] = BreathWeaponImmunityCode2();
  }
  for (int code : codes) {
    if (code == 0) continue;
    const int value = GetProtectionValue(target, code);
    if (value == 1 || value == 5) return true;
  }
  return false;
}

bool IsEffectWastedOnTarget(int target) { return !AbleCombatant(target); }
bool IsMoraleEffectWasted(int target) {
  if (!IsValidCreature(target)) return false;
  return AreEnemies(SpellCaster, target) ? HasCondition(target, kCondCowering) : HasCondition(target, kCondBolstered);
}
bool IsBreathEffectWasted(int target) {
  return IsBreathEffectWasted(IsValidCreature(SpellCaster) ? Creatures[SpellCaster].special[kSpecialAttackKind] : 0,
                              target);
}

bool IsEffectWastedOnTarget(int spell, int target) {
  if (!IsValidCreature(target)) return false;
  const bool destroyed = Creatures[target].type == 8 || Creatures[target].type == 2;
  switch (spell) {
    case kSpellCrushingDespair: return HasCondition(target, kCondBadMorale);
    case kSpellWavesOfFatigue:
      return destroyed || HasCondition(target, kCondFatigued) || HasCondition(target, kCondExhausted);
    case kSpellWavesOfExhaustion: return destroyed || HasCondition(target, kCondExhausted);
    default: return false;
  }
}

bool IsConditionEffectWasted(int spell, int target) {
  if (!IsValidCreature(target)) return false;
  switch (spell) {
    case kSpellBane: return HasCondition(target, kCondBadMorale);
    case kSpellBless: return HasCondition(target, kCondGoodMorale);
    case kSpellPrayer: return HasCondition(target, kCondUnlucky);
    case kSpellInvisibilityPurge: {
      for (uint32_t id : {kCondInvisible, kCondGreaterInvisibility}) {
        const int i = FindCondition(target, id);
        if (i >= 0 && Creatures[target].conditions[i].source == kSourceSpell) return false;
      }
      return true;
    }
    default: return false;
  }
}

bool IsBreathEffectWasted(int kind, int target) {
  if (!IsValidCreature(target)) return false;
  switch (kind) {
    case 6: case 17: return HasCondition(target, kCondSleeping) || HasCondition(target, kCondDancing);
    case 7: case 18: return HasCondition(target, kCondSlowed);
    case 8: case 19: return HasCondition(target, kCondParalyzed);
    default: return false;
  }
}

bool IsGroupSpell10(int spell) {
  switch (spell) {
    case 107: case 119: case 133: case 144: case 162: case 109: case 120: case 134: case 145: case 161:
      return true;
    default:
      return false;
  }
}

int RangeClassSquared(int spell) {
  if (spell < 0 || spell >= kSpellRows) return -1;
  switch (SpellTable[spell].range) {
    case 1: return 0;
    case 2: return 2;
    case 3: return 9;
    case 4: return 49;
    case 5: return 144;
    default: return -1;
  }
}

void BuildMeleeValuationGrid(int, int) {}
GridSquare ExtractBestSquare(int) { return {-1, -1}; }

int BreathWeaponImmunityCode1() {
  const int kind = IsValidCreature(SpellCaster) ? Creatures[SpellCaster].special[kSpecialAttackKind] : 0;
  switch (kind) {
    case 1: case 12: return 2;   // fire
    case 2: case 13: return 3;   // cold
    case 3: case 14: return 5;   // electricity
    case 4: case 15: return 4;   // acid
    case 5: case 16: return 1;   // force
    case 6: case 17: return 26;  // sleep
    case 7: case 18: return 58;  // speed
    case 8: case 19: return 27;  // paralysis
    case 9: case 20: case 23: return 41;  // petrification
    default: return 0;
  }
}

int BreathWeaponImmunityCode2() { return 0; }

bool IsImmuneToSpell(int spell, int target) {
  const int32_t held = SpellInProgress;
  SpellInProgress = spell;
  const bool immune = IsImmuneToSpell(target);
  SpellInProgress = held;
  return immune;
}

bool IsWorthCuring(int target, int ignored, int spell, int threshold, int caster) {
  (void)ignored;
  if (!IsValidCreature(target) || spell < 0 || spell >= kSpellRows) return false;
  const CreatureRecord& t = Creatures[target];
  const bool harming = SpellTable[spell].effects[0].code == 9;
  if (harming ? t.type != 8 : (t.type == 8 || t.type == 2)) return false;
  if (!CanCastOnTarget(caster, target, spell, 0)) return false;
  if (FindAnyCondition(target, kCondSummonedCreature, kCondControlled, kCondDominated) >= 0) return false;
  if (t.hitPoints >= t.maxHitPoints || t.maxHitPoints <= 0) return false;
  return t.hitPoints * 100 / t.maxHitPoints <= 100 - threshold;
}

bool IsInMagicAreaBeyondMask(int creature, uint32_t kind) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  for (int x = c.squareX; x < c.squareX + c.footprintWidth.current; ++x)
    for (int y = c.squareY; y < c.squareY + c.footprintHeight.current; ++y) {
      if (x < 0 || y < 0 || x >= kMapSide || y >= kMapSide) continue;
      const int sq = SquareIndex(x, y);
      const SquareEffectCell& cell = MagicAreaGrid[sq];
      if (cell.kind != kind) continue;
      if (AreaMask[sq] && cell.roundsLeft != kDurationLasting) continue;  // cleared with the burst
      return true;
    }
  return false;
}

bool IsAreaFreeOfWalls(int creature) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  const int w = c.footprintWidth.current, h = c.footprintHeight.current;
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy) {
      if (dx == 0 && dy == 0) continue;
      const int x0 = c.squareX + dx, y0 = c.squareY + dy;
      if (x0 < 0 || y0 < 0 || x0 >= kMapSide || y0 >= kMapSide) continue;  // no neighbour there
      for (int x = x0; x < x0 + w; ++x)
        for (int y = y0; y < y0 + h; ++y)
          if (x >= kMapSide || y >= kMapSide || !CurrentMap.Inside(x, y) ||
              CurrentMap.layers[kLayerWalls][SquareIndex(x, y)] > 0)
            return false;
    }
  return true;
}

bool HasProtectiveEffect(int creature) {
  static const uint32_t kAny[] = {6, 21, 114, 115, 116, 144, 147, 151, 153, 3, 12, 23, 20, 16, 149, 150, 18, 2, 4, 34, 33};
  for (uint32_t id : kAny)
    if (HasCondition(creature, id)) return true;
  static const uint32_t kFromSpell[] = {22, 56, 35, 37, 39, 38, 13};
  for (uint32_t id : kFromSpell) {
    const int i = FindCondition(creature, id);
    if (i >= 0 && Creatures[creature].conditions[i].source == kSourceSpell) return true;
  }
  return false;
}

int CountDispellableEffects(int creature) {
  if (!IsValidCreature(creature)) return 0;
  auto any = [creature](std::initializer_list<uint32_t> ids) {
    for (uint32_t id : ids)
      if (HasCondition(creature, id)) return true;
    return false;
  };
  auto fromSpell = [creature](uint32_t id) {
    const int i = FindCondition(creature, id);
    return i >= 0 && Creatures[creature].conditions[i].source == kSourceSpell;
  };
  int n = 0;
  n += any({114, 115, 116});
  const int poly = FindCondition(creature, kCondPolymorphed);
  n += poly >= 0 && Creatures[creature].conditions[poly].value != 42;
  n += fromSpell(13);
  n += any({16, 12, 23});
  n += any({34, 33});
  n += any({144, 147, 151, 153});
  n += any({18, 21, 20, 149, 150});
  n += any({6, 3, 2, 4});
  for (uint32_t id : {22u, 35u, 37u, 39u, 38u, 56u}) n += fromSpell(id);
  return n;
}

int ScriptedSpellTarget(int caster) {
  (void)caster;
  return -1;
}
