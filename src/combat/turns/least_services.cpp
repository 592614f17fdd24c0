#include "combat/turns/least_services.h"

#include <cstdlib>

#include "combat/actions/casting_checks.h"
#include "map/area_shapes.h"
#include "map/fighter_tests.h"
#include "map/movement_rules.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "state/turn_order.h"

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
bool IsMoraleEffectWasted(int) { return false; }
bool IsBreathEffectWasted(int) { return false; }

void FillAreaTargetWeights() {}

GridSquare FindCircle() {
  const int caster = SpellCaster;
  const int foe = BestCombatant([caster](int c) { return AreEnemies(caster, c); },
                                [](int c) { return -Creatures[c].hitPoints; });
  if (foe < 0) return {-1, -1};
  return {Creatures[foe].squareX, Creatures[foe].squareY};
}

bool FindLineTarget(int32_t* outX, int32_t* outY) {
  const int caster = SpellCaster;
  if (!IsValidCreature(caster)) return false;
  const CreatureRecord& me = Creatures[caster];
  const int foe = BestCombatant([caster](int c) { return AreEnemies(caster, c); },
                                [&me](int c) {
                                  const CreatureRecord& o = Creatures[c];
                                  return -(std::abs(o.squareX - me.squareX) + std::abs(o.squareY - me.squareY));
                                });
  if (foe < 0) return false;
  *outX = Creatures[foe].squareX;
  *outY = Creatures[foe].squareY;
  return true;
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
