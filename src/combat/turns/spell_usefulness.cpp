#include "combat/turns/spell_usefulness.h"

#include <initializer_list>

#include "combat/actions/displacement.h"
#include "combat/resolution/area_targets.h"
#include "combat/resolution/combat_sequencer.h"
#include "combat/resolution/special_attacks.h"
#include "combat/turns/casting_questions.h"
#include "combat/turns/spell_targets.h"
#include "map/area_shapes.h"
#include "map/fighter_tests.h"
#include "map/movement_rules.h"
#include "map/square_grids.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "rules/spell_ids.h"
#include "state/combat_action.h"
#include "state/current_cast.h"
#include "state/turn_order.h"

namespace {

// The armour slot and the handling word of body armour.
constexpr int kArmourHandling = 6;
// The creature subtype of things that rust.
constexpr int32_t kRustingSubtype = 19;
// The word of a crafted armour that protects it from rust (0 none).
constexpr int kRustProtectionWord = 0;
// Sense kind of a creature that sees without eyes.
constexpr int32_t kTrueSenses = 6;
// Sense kind of a creature that hears rather than sees.
constexpr int32_t kHearingSenses = 5;

bool Has(int creature, uint32_t id) { return FindCondition(creature, id) >= 0; }

// The parameter of the creature's first active entry of the condition, 0 none.
int32_t ConditionParam(int creature, uint32_t id) {
  const int slot = FindCondition(creature, id);
  return slot < 0 ? 0 : static_cast<int32_t>(Creatures[creature].conditions[slot].param);
}

bool IsSpellRow(int spell) { return spell >= 0 && spell < kSpellRows; }

bool IsUndead(int creature) { return Creatures[creature].type == kTypeUndead; }
// Undead and constructs are destroyed rather than killed and never healed by cures.
bool IsUndeadOrConstruct(int creature) {
  const int32_t type = Creatures[creature].type;
  return type == kTypeUndead || type == kTypeConstruct;
}
bool IsHumanoid(int creature) { return Creatures[creature].type == kTypeHumanoid; }

bool IsWounded(int creature) { return Creatures[creature].hitPoints < Creatures[creature].maxHitPoints; }

// Confused, Insane, Sickened, Feebleminded or Stunned: what HEAL and HARM also mend.
bool HasHealableAffliction(int creature) {
  return FindAnyCondition(creature, kCondConfused, kCondInsane, kCondSickened, kCondFeebleminded, kCondStunned) >= 0;
}

// The protection code that stops the spell's descriptor (charm, compulsion,
// figment, glamer, pattern, phantasm), 0 for none.
int DescriptorProtectionCode(int32_t descriptor) {
  switch (descriptor) {
    case 3: return 32;
    case 2: return 33;
    case 9: return 34;
    case 5: return 35;
    case 6: return 36;
    case 8: return 37;
    default: return 0;
  }
}

bool ProtectionStops(int target, int code) {
  if (code == 0) return false;
  const int32_t value = code == kCodeReadFromPair ? Creatures[target].protections[kCodeReadFromPair].current
                                                  : GetProtectionValue(target, code);
  return value == kImmunityImmune || value == kImmunityReverse;
}

// The breath kind of the creature using the special attack now.
int BreathKindInUse() {
  int user = SpellCaster;
  if (!IsValidCreature(user)) user = CurrentFighter();
  return IsValidCreature(user) ? Creatures[user].special[kSpecialAttackKind] : 0;
}

// The cures and inflictions, single and mass, that undead are never immune to.
bool IsPositiveOrNegativeTouch(int spell) {
  switch (spell) {
    case kSpellInflictLightWounds: case kSpellInflictModerateWounds: case kSpellInflictSeriousWounds:
    case kSpellInflictCriticalWounds: case kSpellHarm: case kSpellMassInflictLight:
    case kSpellMassInflictModerate: case kSpellMassInflictSerious: case kSpellMassInflictCritical:
    case kSpellMassHarm:
      return true;
    default:
      return IsSpellInSetA(spell) || IsSpellInSetC(spell);
  }
}

// The spell held in the creature's turn-order entry has a verbal (or
// somatic) component and was not cast Silent (or Still).
bool HeldSpellNeeds(int creature, bool verbal) {
  for (int i = 0; i < TurnEntryCount && i < kTurnOrderEntries; ++i) {
    const TurnOrderEntry& e = TurnOrder[i];
    if (e.creature != creature) continue;
    if (!IsSpellRow(e.plannedTarget)) return false;
    const SpellRecord& held = SpellTable[e.plannedTarget];
    if (verbal) return held.verbal != 0 && e.plannedParameter != kMetamagicSilent;
    return held.somatic != 0 && e.plannedParameter != kMetamagicStilled;
  }
  return false;
}

// The energy resistance pair of a lesser or greater energy protection, -1 none.
int EnergyProtectionPair(int spell) {
  switch (spell) {
    case kSpellProtectionFire: case kSpellGreaterProtectionFire: return kProtResistFire;
    case kSpellProtectionCold: case kSpellGreaterProtectionCold: return kProtResistCold;
    case kSpellProtectionAcid: case kSpellGreaterProtectionAcid: return kProtResistAcid;
    case kSpellProtectionElectricity: case kSpellGreaterProtectionShock: return kProtResistElectricity;
    case kSpellProtectionSonic: case kSpellGreaterProtectionSonic: return kProtResistSonic;
    default: return -1;
  }
}

int32_t Protection(int creature, int pair) { return Creatures[creature].protections[pair].current; }

// A cold (or fire) response of immune, resistant or reversed.
bool ShrugsOff(int creature, int code) {
  const int value = GetProtectionValue(creature, code);
  return value == kImmunityImmune || value == kImmunityResistance || value == kImmunityReverse;
}

// The rules of the beneficial spells (allies-only); a spell outside them is worth it.
bool BeneficialWorthIt(int target, int spell, bool test) {
  const CreatureRecord& t = Creatures[target];
  switch (spell) {
    case kSpellEnlargePerson: {
      if (t.size.current != 3 || !IsHumanoid(target) || Has(target, kCondEnlarged)) return false;
      if (!test && t.creatureClass == kClassWizard && t.scriptWords[kScriptWordSelfEnlargement] != 1) return false;
      if (Has(target, kCondReduced)) return true;
      return CanGrowInPlace(target, 2 * t.footprintWidth.current, 2 * t.footprintHeight.current);
    }
    case kSpellRemoveParalysis:
      return Has(target, kCondParalyzed) || Has(target, kCondSlowed);
    case kSpellRemoveCurse:
      return Has(target, kCondCursed) || Has(target, kCondMute);
    case kSpellRemoveBlindness:
      return Has(target, kCondBlinded) || Has(target, kCondDeafened);
    case kSpellLesserRestoration:
      return FindAnyCondition(target, kCondDamagedStrength, kCondDamagedDexterity, kCondDamagedConstitution,
                              kCondDamagedWisdom, kCondDamagedIntelligence, kCondDamagedCharisma) >= 0;
    case kSpellRestoration:
      if (FindAnyCondition(target, kCondDrainedStrength, kCondDrainedDexterity, kCondDrainedConstitution,
                           kCondDrainedWisdom, kCondDrainedIntelligence, kCondDrainedCharisma) >= 0)
        return true;
      return test && FindAnyCondition(target, kCondDamagedStrength, kCondDamagedDexterity, kCondDamagedConstitution,
                                      kCondDamagedWisdom, kCondDamagedIntelligence, kCondDamagedCharisma) >= 0;
    case kSpellFreedomOfMovement:
      if (test) return true;
      if (FindAnyCondition(target, kCondEntangled, kCondStuck, kCondParalyzed, kCondSlowed, kCondPinned) >= 0)
        return true;
      return Has(target, kCondGrappling) &&
             (t.creatureClass == kClassCleric || t.creatureClass == kClassWizard || t.creatureClass == kClassLich);
    case kSpellRemoveNegativeLevels:
      return Has(target, kCondLevelDrained);
    case kSpellBullsStrength:
      return !Has(target, kCondEnhancedStrength) && !Has(target, kCondTransformation);
    case kSpellBlur:
    case kSpellDisplacement:
      if (Has(target, kCondMagicallyConcealed)) return false;
      if (test) return true;
      if (Has(target, kCondGreaterInvisibility) || Has(target, kCondConcealedByDarkness)) return false;
      return spell != kSpellBlur || !Has(target, kCondGrassConcealment);
    case kSpellHeroism:
    case kSpellGreaterHeroism:
      return !Has(target, kCondGoodMorale);
    case kSpellStoneskin:
      return ConditionParam(target, kCondReducedDamageAdamantine) == 0;
    case kSpellFireShield:
    case kSpellIceShield:
      if (Has(target, kCondFireShielded) || Has(target, kCondIceShielded)) return false;
      if (test) return true;
      if (spell == kSpellFireShield) return !ShrugsOff(target, 3) && Protection(target, kProtResistCold) == 0;
      return !ShrugsOff(target, 2) && Protection(target, kProtResistFire) == 0;
    case kSpellInvisibility:
      if (Has(target, kCondInvisible) || Has(target, kCondGreaterInvisibility)) return false;
      if (test) return true;
      return ConditionValue(target, kCondMagicallyConcealed) != 50 && !Has(target, kCondConcealedByDarkness);
    case kSpellGreaterInvisibility:
      if (Has(target, kCondGreaterInvisibility)) return false;
      if (test) return true;
      return ConditionValue(target, kCondMagicallyConcealed) != 50 && !Has(target, kCondConcealedByDarkness);
    case kSpellProtectionGoodEvil:
    case kSpellGreaterProtectionGoodEvil:
      if (t.allegiance == kAllegianceEnemy)
        return Protection(target, kProtProfane) == 0 && !Has(target, kCondProtectedVersusGood);
      return Protection(target, kProtSacred) == 0 && !Has(target, kCondProtectedVersusEvil);
    case kSpellShieldOfFaith:
      return Protection(target, kProtDeflection) == 0 && !Has(target, kCondDeflecting);
    case kSpellSpellResistance:
      return Protection(target, kProtSpellResistance) == 0 && !Has(target, kCondSpellResistant);
    case kSpellTrueSeeing:
      return !Has(target, kCondTrueSeeing) && t.special[kSenseKindWord] != kTrueSenses;
    case kSpellDeathWard:
      return !IsUndeadOrConstruct(target);
    default: {
      const int pair = EnergyProtectionPair(spell);
      return pair < 0 || Protection(target, pair) == 0;
    }
  }
}

// Only the focus creature, when one is set.
bool FocusAllows(int target) { return DisruptionTarget == -1 || DisruptionTarget == target; }

// The rules of the spells against enemies (no allies-only flag); a spell
// outside them is worth it.
bool HostileWorthIt(int target, int spell, bool test) {
  const CreatureRecord& t = Creatures[target];
  const int32_t levels = t.effectiveLevel;
  switch (spell) {
    case kSpellDisintegrate:
      return test || PendingMetamagic != kMetamagicMaximised;
    case kSpellCauseShaking:
      return !Has(target, kCondShaken) && levels < 6;
    case kSpellDazeMonster:
      return !Has(target, kCondDazed) && !IsUndeadOrConstruct(target) && levels < 7;
    case kSpellBlindness:
    case kSpellPowerWordBlind:
      if (Has(target, kCondBlinded) || (!test && Has(target, kCondCantSee))) return false;
      return spell != kSpellPowerWordBlind || t.hitPoints < 201;
    case kSpellDeafness:
      if (test) return !Has(target, kCondDeafened);
      return (HighestUsableSpellLevel(-1, target) || t.special[kSenseKindWord] == kHearingSenses) &&
             !Has(target, kCondDeafened) && !Has(target, kCondSilenced);
    case kSpellGhoulTouch:
      if (!IsHumanoid(target)) return false;
      if (DisruptionTarget == -1) return true;
      return DisruptionTarget == target && HeldSpellNeeds(target, false);
    case kSpellHoldPerson:
      return IsHumanoid(target) && !Has(target, kCondParalyzed);
    case kSpellControlPerson:
    case kSpellDominatePerson:
      return IsHumanoid(target) && !Has(target, kCondProtectedVersusEvil) && !Has(target, kCondProtectedVersusGood);
    case kSpellControlMonster:
    case kSpellDominateMonster:
      return !IsUndeadOrConstruct(target) && !Has(target, kCondProtectedVersusEvil) &&
             !Has(target, kCondProtectedVersusGood);
    case kSpellDominateUndead:
      return !Has(target, kCondProtectedVersusEvil) && !Has(target, kCondProtectedVersusGood);
    case kSpellConfusion:
    case kSpellInsanity:
      return !Has(target, kCondConfused) && !Has(target, kCondInsane);
    case kSpellEnervationRay:
    case kSpellRayOfEnergyDrain:
    case kSpellVampiricRay:
      return !IsUndeadOrConstruct(target);
    case kSpellReducePerson:
    case kSpellReduceMonster:
      if (spell == kSpellReducePerson && !IsHumanoid(target)) return false;
      if (t.size.current == 1 || Has(target, kCondReduced)) return false;
      return test || !(IsHumanoid(target) && t.creatureClass == kClassWizard);
    case kSpellRayOfExhaustion:
      return !Has(target, kCondExhausted);
    case kSpellBalefulPolymorph:
      if (Has(target, kCondPolymorphed) || levels >= 15 || !IsHumanoid(target)) return false;
      return test || !Has(target, kCondFeebleminded);
    case kSpellPowerWordSickness:
      return !Has(target, kCondSickened) && t.hitPoints < 201;
    case kSpellIrresistibleDance:
      if (!test && FindAnyCondition(target, kCondParalyzed, kCondStunned, kCondCowering, kCondSleeping) >= 0)
        return false;
      return !Has(target, kCondDancing);
    case kSpellPowerWordStun:
      return !Has(target, kCondStunned) && t.hitPoints < 151;
    case kSpellPowerWordSleep:
      if (Has(target, kCondSleeping) || (!test && Has(target, kCondDancing))) return false;
      return t.hitPoints < 251;
    case kSpellHoldMonster:
      return !IsUndeadOrConstruct(target) && !Has(target, kCondParalyzed);
    case kSpellRustingGrasp: {
      const uint32_t armour = t.equipment[kSlotTorso - 1];
      if (IsCraftedCode(armour) && CraftedWeapons[armour].handling == kArmourHandling &&
          CraftedWeapons[armour].word720[kRustProtectionWord] < 1)
        return true;
      if (!test) return false;
      for (int32_t subtype : t.subtype)
        if (subtype == kRustingSubtype) return true;
      return false;
    }
    case kSpellMute:
      if (test) return !Has(target, kCondMute);
      if (!HighestUsableSpellLevel(-1, target) || Has(target, kCondMute) || Has(target, kCondSilenced) ||
          Has(target, kCondFeebleminded))
        return false;
      return DisruptionTarget == -1 || (DisruptionTarget == target && HeldSpellNeeds(target, true));
    case kSpellFeeblemind:
      if (!HighestUsableSpellLevel(-1, target) || Has(target, kCondFeebleminded)) return false;
      return FocusAllows(target) &&
             (DisruptionTarget == -1 || t.creatureClass == kClassWizard || t.creatureClass == kClassLich);
    default:
      return true;
  }
}

}  // namespace

bool IsImmuneToSpell(int spell, int target) {
  if (!IsValidCreature(target)) return false;
  if (IsPositiveOrNegativeTouch(spell) && IsUndead(target)) return false;
  if (spell == kSpellTurnUndead) return !IsUndead(target);
  int codes[2] = {0, 0};
  if (spell == kSpellSpecialAttack) {
    codes[0] = BreathWeaponImmunityCode1();
    codes[1] = BreathWeaponImmunityCode2();
  } else if (IsSpellRow(spell)) {
    codes[0] = SpellTable[spell].immunity1;
    codes[1] = SpellTable[spell].immunity2;
  }
  for (int code : codes)
    if (ProtectionStops(target, code)) return true;
  if (IsSpellRow(spell) && ProtectionStops(target, DescriptorProtectionCode(SpellTable[spell].descriptor))) return true;
  return false;
}

int BreathWeaponImmunityCode1() {
  switch (BreathKindInUse()) {
    case 1: case 12: return 2;
    case 2: case 13: return 3;
    case 3: case 14: return 5;
    case 4: case 15: return 4;
    case 5: case 16: return 1;
    case 6: case 17: return 26;
    case 7: case 18: return 58;
    case 8: case 19: return 27;
    case 9: case 20: case 23: return 41;
    case 10: case 21: case 22: return 49;
    default: return -1;
  }
}

int BreathWeaponImmunityCode2() {
  switch (BreathKindInUse()) {
    case 1: case 12: return 18;
    case 2: case 13: return 9;
    case 3: case 14: return 7;
    case 4: case 15: return 18;
    case 5: case 16: return 8;
    case 6: case 17: return 31;
    case 7: case 18: return 21;
    case 9: case 20: return 8;
    case 10: case 21: case 22: return 20;
    case 23: return 53;
    default: return -1;
  }
}

bool CanCastOnTarget(int caster, int target, int spell, int test) {
  if (!IsValidCreature(target)) return false;
  if (IsImmuneToSpell(spell, target)) return false;
  if (!IsSpellRow(spell)) return true;
  const SpellRecord& row = SpellTable[spell];
  // A spell of the caster on itself (the fire and ice shields) is judged as a
  // spell on one creature, so that a shield it holds is not cast again.
  const bool onItself = row.target == kAimCaster && caster == target;
  if (row.target != kAimIndividual && !onItself) return true;
  const bool testing = test != 0;
  const bool enemy = AreEnemies(caster, target);
  const bool lesserTouch = spell == kSpellCureLightWounds || spell == kSpellCureModerateWounds ||
                           spell == kSpellCureSeriousWounds || spell == kSpellInflictLightWounds ||
                           spell == kSpellInflictModerateWounds || spell == kSpellInflictSeriousWounds;
  const bool refusedMetamagic = PendingMetamagic == kMetamagicMaximised || PendingMetamagic == kMetamagicEmpowered ||
                                (lesserTouch && PendingMetamagic == kMetamagicHeightened);
  if (IsSpellInSetA(spell)) {
    if (!testing && refusedMetamagic) return false;
    if (!IsUndeadOrConstruct(target)) {
      if (spell == kSpellHeal) {
        if (!IsWounded(target) && !HasHealableAffliction(target)) return false;
      } else if (!IsWounded(target)) {
        return false;
      }
    }
    if (testing) return true;
    if (!enemy) return !IsUndeadOrConstruct(target);
    return IsUndead(target) && (spell != kSpellHeal || Creatures[target].hitPoints > 1);
  }
  if (IsSpellInSetB(spell)) {
    if (!testing && refusedMetamagic) return false;
    if (IsUndead(target)) {
      if (spell == kSpellHarm) {
        if (!IsWounded(target) && !HasHealableAffliction(target)) return false;
      } else if (!IsWounded(target)) {
        return false;
      }
    }
    if (testing) return true;
    if (!enemy) return IsUndead(target);
    if (IsUndeadOrConstruct(target)) return false;
    return spell != kSpellHarm || Creatures[target].hitPoints > 1;
  }
  // The cures are friends' spells in the spell table; the tests above
  // decide them, so that a cure is never wasted on the unhurt.
  if (row.beneficial == 1) {
    if (enemy) return false;
    return BeneficialWorthIt(target, spell, testing);
  }
  if (!enemy && !(testing && row.targeting != 1)) return false;
  if (!testing && SpellTargetKind[spell] == 7 && IsHelplessTarget(target, 1)) return false;
  return HostileWorthIt(target, spell, testing);
}

bool IsEffectWastedOnTarget(int spell, int target) {
  if (!IsValidCreature(target)) return false;
  switch (spell) {
    case kSpellCrushingDespair:
      return Has(target, kCondBadMorale);
    case kSpellWavesOfFatigue:
      return Has(target, kCondFatigued) || Has(target, kCondExhausted) || IsUndeadOrConstruct(target);
    case kSpellWavesOfExhaustion:
      return Has(target, kCondExhausted) || IsUndeadOrConstruct(target);
    default:
      return false;
  }
}

bool IsConditionEffectWasted(int spell, int target) {
  if (!IsValidCreature(target)) return false;
  switch (spell) {
    case kSpellBane: return Has(target, kCondBadMorale);
    case kSpellBless: return Has(target, kCondGoodMorale);
    case kSpellPrayer: return Has(target, kCondUnlucky);
    case kSpellInvisibilityPurge: {
      for (uint32_t id : {kCondInvisible, kCondGreaterInvisibility}) {
        const int slot = FindCondition(target, id);
        if (slot >= 0 && Creatures[target].conditions[slot].source == kSourceSpell) return false;
      }
      return true;
    }
    default:
      return false;
  }
}

bool IsMoraleEffectWasted(int code, int target) {
  (void)code;
  if (!IsValidCreature(target)) return false;
  const int fighter = CurrentFighter();
  const bool ally = IsValidCreature(fighter) && AreAllies(fighter, target);
  return ally ? Has(target, kCondBolstered) : Has(target, kCondCowering);
}

bool IsBreathEffectWasted(int kind, int target) {
  if (!IsValidCreature(target)) return false;
  switch (kind) {
    case 6: case 17: return Has(target, kCondSleeping) || Has(target, kCondDancing);
    case 7: case 18: return Has(target, kCondSlowed);
    case 8: case 19: return Has(target, kCondParalyzed);
    default: return false;
  }
}
