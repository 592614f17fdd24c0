#include "combat/resolution/spell_touch.h"

#include <cstdio>

#include "combat/actions/least_services.h"
#include "combat/resolution/combat_sequencer.h"
#include "combat/resolution/spell_resolution.h"
#include "engine/message_log.h"
#include "map/line_of_effect.h"
#include "map/square_grids.h"
#include "rules/breakdown_sources.h"
#include "rules/feat_ids.h"
#include "rules/attack_profile.h"
#include "rules/armour_class.h"
#include "rules/combat_roll_log.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/dice.h"
#include "rules/modifier_list.h"
#include "state/combat_events.h"

namespace {

// Offsets of touch spells and rays among the natural-attack feat blocks.
constexpr int kTouchFeatOffset = 8;
constexpr int kRayFeatOffset = 9;

struct MissChance {
  uint32_t source;
  int32_t chance;
};

bool Has(int creature, uint32_t id) { return HasCondition(creature, id); }

int SenseOf(int creature) { return Creatures[creature].special[kSenseKindWord]; }

// Whether the caster sees through the source of concealment.
bool Defeats(int caster, uint32_t source) {
  const bool senses = SenseOf(caster) == 5 || SenseOf(caster) == 6;
  const bool blind = Has(caster, kCondBlinded);
  const bool darkvision = Creatures[caster].sightless != 0;
  switch (source) {
    case kCondConcealedByDarkness:
      return Has(caster, kCondTrueSeeing) || Has(caster, kCondTrueStrike) || senses || blind || darkvision;
    case kCondMagicallyConcealed:
      return Has(caster, kCondTrueSeeing) || Has(caster, kCondTrueStrike) || senses || blind;
    case kCondGrassConcealment:
      return Has(caster, kCondTrueStrike);
    case kCondInvisible:
    case kCondGreaterInvisibility:
      return Has(caster, kCondTrueSeeing) || Has(caster, kCondTrueStrike) || senses || blind;
    case kCondCantSee:
      return Has(caster, kCondTrueSeeing) || senses || darkvision || blind;
    default:
      return false;
  }
}

// The concentration-free concealment roll of a touch; false on a miss.
bool ConcealmentAllows(int caster, int target, bool ranged) {
  MissChance sources[8];
  int count = 0;
  auto add = [&](uint32_t source, int32_t chance) {
    if (chance > 0 && count < 8) sources[count++] = {source, chance};
  };
  if (Has(target, kCondConcealedByDarkness)) add(kCondConcealedByDarkness, ConditionValue(target, kCondConcealedByDarkness));
  if (Has(target, kCondMagicallyConcealed)) add(kCondMagicallyConcealed, ConditionValue(target, kCondMagicallyConcealed));
  if (Has(target, kCondGrassConcealment)) add(kCondGrassConcealment, ConditionValue(target, kCondGrassConcealment));
  if (Has(target, kCondInvisible)) add(kCondInvisible, 50);
  else if (Has(target, kCondGreaterInvisibility)) add(kCondGreaterInvisibility, 50);
  if (Has(caster, kCondBlinded)) add(kCondBlinded, 50);
  else if (Has(caster, kCondCantSee)) add(kCondCantSee, 50);
  if (SenseOf(caster) == 5 && (Has(caster, kCondDeafened) || Has(caster, kCondSilenced)))
    add(Has(caster, kCondDeafened) ? kCondDeafened : kCondSilenced, 50);
  if (count == 0) return true;

  const bool precise = ranged && Creatures[caster].feats[kFeatPreciseShot] != 0;
  int best = -1;
  for (int i = 0; i < count; ++i) {
    const MissChance& m = sources[i];
    const bool lowSource = m.source == kCondConcealedByDarkness || m.source == kCondMagicallyConcealed ||
                           m.source == kCondGrassConcealment;
    if (Defeats(caster, m.source) || (precise && lowSource && m.chance < 50)) continue;
    if (best == -1 || m.chance > sources[best].chance) best = i;
  }
  const CreatureRecord& c = Creatures[caster];
  if (best == -1) {
    LogMessage("(Concealment Negated by \xA3%s\xA3)\r", c.name);
    return true;
  }
  ModifierList chance;
  std::snprintf(chance.caption, sizeof chance.caption, "Concealment Miss Chance");
  AddModifier(sources[best].chance, &chance, static_cast<int32_t>(sources[best].source));
  ModifierList roll;
  std::snprintf(roll.caption, sizeof roll.caption, "Concealment roll");
  ModifierList* previous = DiceRollList;
  DiceRollList = &roll;
  const int32_t first = RollDice(100, 1, 0, 0);
  DiceRollList = previous;
  const int rollIndex = StoreCombatRoll(roll), chanceIndex = StoreCombatRoll(chance);
  LogMessage("Concealment roll @%i|%.2i@ Concealment chance @%i|%.2i@%% ", first, rollIndex, chance.total, chanceIndex);
  if (first >= chance.total) {
    LogMessage("(Success)\r");
    return true;
  }
  if (!ranged && c.feats[kFeatBlindFight] != 0) {
    ModifierList again;
    std::snprintf(again.caption, sizeof again.caption, "Concealment roll");
    DiceRollList = &again;
    const int32_t second = RollDice(100, 1, 0, 0);
    DiceRollList = previous;
    const int againIndex = StoreCombatRoll(again);
    LogMessage("\xA3%s\xA3 has @BLINDFIGHT@. Concealment roll @%i|%.2i@ ", c.name, second, againIndex);
    if (second >= chance.total) {
      LogMessage("(Success)\r");
      return true;
    }
  }
  LogMessage("(Failure)\r");
  return false;
}

struct TouchRoll {
  int32_t d20 = 0;
  int32_t total = 0;
  int32_t ac = 0;
  int rollIndex = 0;
  int acIndex = 0;
};

TouchRoll RollTouch(int caster, int target, bool ranged, const char* caption) {
  TouchRoll r;
  const CreatureRecord& c = Creatures[caster];
  ModifierList attack;
  std::snprintf(attack.caption, sizeof attack.caption, "%s", caption);
  AddAttackModifiers(0, caster, &attack, ranged ? 0 : 1, target, ranged ? 1 : 0, 0);
  const int offset = ranged ? kRayFeatOffset : kTouchFeatOffset;
  if (c.feats[kFeatGreaterWeaponFocusFists + offset] != 0) AddModifier(1, &attack, kSrcGreaterWeaponFocus);
  if (c.feats[kFeatWeaponFocusFists + offset] != 0) AddModifier(1, &attack, kSrcWeaponFocus);
  if (ranged) {
    const CreatureRecord& t = Creatures[target];
    if (FindCover(c.squareX, c.squareY, t.squareX, t.squareY, 0) && CoverActive) AddModifier(-4, &attack, kSrcTargetHasCover);
  }
  ModifierList* previous = DiceRollList;
  DiceRollList = &attack;
  r.d20 = RollDice(20, 1, 0, 0);
  DiceRollList = previous;
  r.total = attack.total;
  ModifierList armour;
  int pairs = 0;
  r.ac = ComputeArmourClass(target, &armour, &pairs, 1, caster, ranged ? kAttackRanged : kAttackMelee, 0);
  armour.total = r.ac;
  r.rollIndex = StoreCombatRoll(attack);
  r.acIndex = StoreCombatRoll(armour);
  return r;
}

// The confirmation of a threat; true when the critical stands.
bool ConfirmsCritical(int caster, int target, bool ranged, const TouchRoll& first) {
  LogMessage("\r\xA3%s\xA3 scores a @THREAT@.\r", Creatures[caster].name);
  if (!ConcealmentAllows(caster, target, ranged)) return false;
  const TouchRoll confirm = RollTouch(caster, target, ranged, "Critical attack roll");
  LogMessage("@CRITICAL@ attack roll @%i|%.2i@ ", confirm.total, confirm.rollIndex);
  if (confirm.d20 != 20 && confirm.total < first.ac) {
    LogMessage("Missed (AC @%i|%.2i@)\r", first.ac, confirm.acIndex);
    return false;
  }
  LogMessage("Success (AC @%i|%.2i@)\r", first.ac, confirm.acIndex);
  const CreatureRecord& t = Creatures[target];
  if (t.protections[ImmunityPair(kImmCriticals)].current == 1) {
    LogMessage("\xA3%s\xA3 is immune to critical hits.\r", t.name);
    return false;
  }
  if (HasCondition(target, kCondCriticalHitResistance)) {
    ModifierList roll;
    std::snprintf(roll.caption, sizeof roll.caption, "Fortification");
    ModifierList* previous = DiceRollList;
    DiceRollList = &roll;
    const int32_t d100 = RollDice(100, 1, 0, 0);
    DiceRollList = previous;
    const int index = StoreCombatRoll(roll);
    LogMessage("@CRITICAL_HIT@ @%i|%.2i@ ", d100, index);
    if (d100 >= ConditionValue(target, kCondCriticalHitResistance)) {
      LogMessage("Success: @FORTIFICATION@ The critical hit is negated.\r");
      return false;
    }
    LogMessage("Failure: @FORTIFICATION@ The critical hit is confirmed.\r");
  }
  return true;
}

// One touch attack on the target; 1 hit, 0 miss, with the roll's total and AC.
int TouchOnce(int caster, int target, bool ranged, TouchRoll* out) {
  if (!ConcealmentAllows(caster, target, ranged)) {
    *out = TouchRoll{};
    out->ac = 1000;
    return 0;
  }
  const TouchRoll r = RollTouch(caster, target, ranged, ranged ? "Ranged touch attack roll" : "Melee touch attack roll");
  *out = r;
  LogMessage("\xA3%s\xA3 @TOUCH_ATTACK@ @%i|%.2i@ ", Creatures[caster].name, r.total, r.rollIndex);
  if (r.d20 == 1) {
    LogMessage("\xA3" "Automatic_failure\xA3 (roll of 1).\r");
    return 0;
  }
  const bool hit = r.d20 == 20 || r.total >= r.ac;
  const int offset = ranged ? kRayFeatOffset : kTouchFeatOffset;
  const int32_t threatLow = Creatures[caster].feats[kFeatImprovedCriticalFists + offset] != 0 ? 19 : 20;
  if (!hit) {
    LogMessage("Missed (AC @%i|%.2i@)\r", r.ac, r.acIndex);
    return 0;
  }
  LogMessage("Success (AC @%i|%.2i@)\r", r.ac, r.acIndex);
  if (r.d20 >= threatLow && ConfirmsCritical(caster, target, ranged, r)) {
    ShowFloatingText(target, "Critical Hit");
    SpellPass.critical = 1;
  }
  return 1;
}

void ShowMiss(int target) {
  ShowFloatingText(target, "Miss");
  QueueUseEvent(0, 0, target, 46);
}

}  // namespace

bool SpellTouchAttack(int caster, bool ranged) {
  const int target = SpellPass.target;
  TouchRoll roll;
  if (TouchOnce(caster, target, ranged, &roll) == 1) return true;
  // A ranged touch that nearly hit may strike the creature on the aimed square instead.
  const int aimX = CastingUse.aimX >= 0 ? CastingUse.aimX : Creatures[target].squareX;
  const int aimY = CastingUse.aimY >= 0 ? CastingUse.aimY : Creatures[target].squareY;
  const int other = CreatureAtSquare(aimX, aimY, target);
  if (ranged && roll.d20 != 1 && roll.total >= roll.ac - 4 && Creatures[caster].feats[kFeatPreciseShot] == 0 &&
      IsValidCreature(other) && other != caster) {
    LogMessage("\xA3%s\xA3's spell has a chance of hitting \xA3%s\xA3 instead of the target.\r", Creatures[caster].name,
               Creatures[other].name);
    AreaTargetList[SpellPass.targetIndex] = other;
    SpellPass.target = other;
    if (TouchOnce(caster, other, ranged, &roll) == 1) return true;
    ShowMiss(other);
    return false;
  }
  ShowMiss(target);
  return false;
}
