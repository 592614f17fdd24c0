// The spell effects that give, take or swap the target's conditions: cures
// and wards, the harmful conditions, morale, luck, shields and the lasting
// areas' conditions.
#include <algorithm>
#include <cstdio>
#include <initializer_list>

#include "combat/actions/casting_checks.h"
#include "combat/resolution/combat_sequencer.h"
#include "combat/resolution/log_keywords.h"
#include "combat/resolution/spell_effect_codes.h"
#include "combat/resolution/spell_effect_steps.h"
#include "combat/resolution/spell_resolution.h"
#include "engine/message_log.h"
#include "map/fighter_tests.h"
#include "map/movement_rules.h"
#include "map/party_vision.h"
#include "rules/creature_record.h"
#include "rules/dice.h"
#include "rules/item_tables.h"
#include "rules/recompute_creature.h"
#include "state/current_cast.h"
#include "state/turn_order.h"

namespace spellfx {
namespace {

constexpr uint32_t kCondMindImmunity = 2;
constexpr uint32_t kCondDeathImmunity = 3;
constexpr uint32_t kCondPoisonImmunity = 4;
constexpr uint32_t kCondFreeAction = 6;
constexpr int kBlindCreatureKind = 50;  // born without sight

int32_t Amount() { return SpellPass.amount; }

// Duration of a power word by the target's hit points: above `limit` it is
// refused, then 1d4 + 1, `middleDice`d`middleSides` + 1 or until removed.
bool PowerWordDuration(int target, int limit, int upper, int middleSides, int middleDice, const char* refusal,
                       int32_t* duration) {
  const int32_t hp = Creatures[target].hitPoints;
  if (hp > limit) {
    Refuse(refusal);
    return false;
  }
  if (hp > upper) *duration = RollDice(4, 1, 0, 0) + 1;
  else if (hp > 50) *duration = RollDice(middleSides, middleDice, 0, 0) + 1;
  else *duration = kDurationLasting;
  return true;
}

// A condition that refuses a second copy: "Already Has Effect".
bool GiveOnce(int target, uint32_t id, const char* floating, const char* line, int32_t value = 0,
              int32_t eventType = 45) {
  if (HasCondition(target, id)) {
    Refuse("Already Has Effect");
    return true;
  }
  Give(target, id, value);
  Say(line, Name(target));
  Show(floating, eventType, value);
  return true;
}

// Two opposed conditions (haste and slow, good and bad morale, luck): a
// target that has `opposite` only loses it; one that has `id` is refused.
void Swap(int target, uint32_t id, uint32_t opposite, int32_t value, const char* floating, const char* line,
          const char* lostFloating, const char* lostLine) {
  if (HasCondition(target, id)) {
    Refuse("Already Has Effect");
    return;
  }
  if (HasCondition(target, opposite)) {
    Take(target, opposite);
    if (lostLine) Say(lostLine, Name(target));
    Show(lostFloating, 46);
    return;
  }
  Give(target, id, value);
  Say(line, Name(target));
  Show(floating, 45, value);
}

// The energy resistances spells give: effect code, condition, floating
// text, log keyword and the refusal when the creature already has it.
struct ResistedEnergy {
  int32_t code;
  uint32_t condition;
  const char* floating;
  const char* keyword;
  const char* refusal;
};
constexpr ResistedEnergy kResistedEnergies[] = {
    {kFxResistFire, 35, "Fire Resistance (%i)", "FIRE", "Already Has Effect (Fire Dmg Reduction)"},
    {kFxResistCold, 39, "Cold Resistance (%i)", "COLD", "Already Has Effect"},
    {kFxResistAcid, 38, "Acid Resistance (%i)", "ACID", "Already Has Effect"},
    {kFxResistElectricity, 37, "Shock Resistance (%i)", "ELECTRICITY", "Already Has Effect"},
    {kFxResistSonic, 36, "Sonic Resistance (%i)", "SONIC", "Already Has Effect"},
};

void EnergyResistance(int target, int32_t code) {
  for (const ResistedEnergy& e : kResistedEnergies) {
    if (e.code != code) continue;
    if (HasCondition(target, e.condition)) {
      Refuse(e.refusal);
      return;
    }
    Give(target, e.condition, Amount());
    char text[32];
    std::snprintf(text, sizeof text, e.floating, Amount());
    Say("\xA3%s\xA3 receives @%s@ @RESISTANCE@ (\xA3%i\xA3).", Name(target), e.keyword, Amount());
    Show(text, 45, Amount());
    return;
  }
}

// Sleep, with its level cap and the hit dice pool of Sleep and Deep Slumber.
void Sleep(const Use& use) {
  const int target = use.target;
  const bool pooled = use.spell == kSpellSleep || use.spell == kSpellDeepSlumber;
  if (HasCondition(target, kCondSleeping)) {
    Refuse("Already Has Effect");
    return;
  }
  const int32_t levels = Creatures[target].effectiveLevel;
  if (SpellPass.fixedAmount > 0 && levels > SpellPass.fixedAmount) {
    Refuse("Level too high");
    if (pooled) SpellPass.endTargets = 1;
    return;
  }
  if (pooled) {
    if (CastingUse.hitDicePool < levels) {
      Refuse("Hit Dice too high");
      SpellPass.endTargets = 1;
      return;
    }
    CastingUse.hitDicePool -= levels;
  }
  int32_t duration = PassDuration();
  if (use.spell == kSpellPowerWordSleep &&
      !PowerWordDuration(target, 250, 150, 8, 4, "More than 250 HP", &duration))
    return;
  Take(target, kCondDancing, kCondStunned, kCondCowering);
  Give(target, kCondSleeping, 0, duration);
  Say("\xA3%s\xA3 falls @ASLEEP@.", Name(target));
  Show("Falls asleep", 42);
}

void Stun(const Use& use) {
  const int target = use.target;
  if (Creatures[target].protections[ImmunityPair(kImmStunning)].current == kImmunityImmune) {
    Refuse("Immune to Stunning");
    return;
  }
  if (HasCondition(target, kCondStunned)) {
    if (use.spell != kSpellSoundBurst) Refuse("Already Has Effect");
    return;
  }
  int32_t duration = PassDuration();
  if (use.spell == kSpellPowerWordStun) {
    const int32_t hp = Creatures[target].hitPoints;
    if (hp > 150) {
      Refuse("More than 150 HP");
      return;
    }
    duration = RollDice(4, hp > 100 ? 1 : hp > 50 ? 2 : 4, 0, 0) + 1;
  }
  Give(target, kCondStunned, 0, duration);
  Say("\xA3%s\xA3 becomes @STUNNED@.", Name(target));
  Show("Stunned");
}

void Blindness(const Use& use) {
  const int target = use.target;
  if (Creatures[target].kind == kBlindCreatureKind) {
    Refuse("Already Blind");
    return;
  }
  if (HasCondition(target, kCondBlinded)) {
    Refuse("Already Has Effect");
    return;
  }
  int32_t duration = PassDuration();
  if (use.spell == kSpellPowerWordBlind && !PowerWordDuration(target, 200, 100, 8, 4, "More than 200 HP", &duration))
    return;
  Give(target, kCondBlinded, 0, duration);
  Say("\xA3%s\xA3 becomes @BLIND@.", Name(target));
  Show("Blind");
}

void Sickness(const Use& use) {
  const int target = use.target;
  if (use.spell == kSpellDehydrate && (IsUndead(target) || IsConstruct(target))) {
    Refuse("Wrong Type");
    return;
  }
  if (HasCondition(target, kCondSickened)) {
    Refuse("Already Has Effect");
    return;
  }
  int32_t duration = PassDuration();
  if (use.spell == kSpellPowerWordSickness &&
      !PowerWordDuration(target, 200, 100, 8, 4, "More than 200 HP", &duration))
    return;
  Give(target, kCondSickened, 0, duration);
  Say("\xA3%s\xA3 receives @SICKENED@ condition.", Name(target));
  Show("Sickened");
}

// The web's Reflex save: against 10 + the spell level + the caster's focus.
void Web(const Use& use) {
  const int target = use.target;
  const CreatureRecord& t = Creatures[target];
  const int32_t dc = 10 + (use.spell >= 0 && use.spell < kSpellRows ? SpellTable[use.spell].level : 0) +
                     (use.spell >= 0 && use.spell < kSpellRows ? SpellFocusBonus(SpellTable[use.spell].school) : 0);
  const int32_t d20 = RollDice(20, 1, 0, 0);
  const int32_t total = d20 + t.reflex.current + AbilityModifier(t.dexterity.current);
  Say("\xA3%s\xA3 @SAVING_THROW@ \xA3%i\xA3 (DC \xA3%i\xA3)", Name(target), total, dc);
  const bool saved = d20 != 1 && (d20 == 20 || total >= dc);
  Give(target, kCondEntangled, 0, 1);
  if (!saved) {
    Give(target, kCondStuck, dc, kDurationLasting);
    Say("\xA3%s\xA3 becomes both @ENTANGLED@ and @STUCK@.", Name(target));
    Show("Stuck");
  } else {
    Say("\xA3%s\xA3 becomes @ENTANGLED@.", Name(target));
    Show("Entangled");
  }
}

void Darkness(int target) {
  RemoveConditionIdFromSource(target, kCondIlluminating, kSourceSpell);
  if (IsSightDependent(target, 1)) {
    Give(target, kCondCantSee, 0, 1, kSourceMagicArea);
    Say("\xA3%s\xA3 is @UNABLE_TO_SEE@ anything.", Name(target));
  }
  Give(target, kCondConcealedByDarkness, 50, 1, kSourceMagicArea);
  Say("\xA3%s\xA3 gains @CONCEALMENT@ \xA3" "50%%\xA3.", Name(target));
  Show("Darkness");
}

void MindBlast(int target) {
  CreatureRecord& t = Creatures[target];
  const int32_t loss = t.hitPoints > 0 ? t.hitPoints * 80 / 100 : 0;
  t.hitPoints -= loss;
  Say("\xA3%s\xA3 loses \xA3" "80%%\xA3 of its @HP@: \xA3%i\xA3", Name(target), loss);
  Take(target, kCondSleeping);
  Show("Mind Blast", 1, loss);
  if (t.hitPoints <= 0) RemoveFromCombat(target, -1);
}

// Lend Life: the caster's own hit points close the target's wounds.
void LendLife(const Use& use) {
  CreatureRecord& c = Creatures[use.caster];
  CreatureRecord& t = Creatures[use.target];
  const int32_t available = c.hitPoints - 1;
  if (available <= 0) {
    Refuse("No HP available");
    return;
  }
  const int32_t given = std::min(available, std::max(t.maxHitPoints - t.hitPoints, 0));
  const bool wasDown = HasCondition(use.target, kCondUnconscious);
  t.hitPoints += given;
  c.hitPoints -= given;
  Say("\xA3%s\xA3 recovers \xA3%i\xA3 @HP@.", Name(use.target), given);
  Say("\xA3%s\xA3 loses \xA3%i\xA3 @HP@.", Name(use.caster), given);
  if (wasDown && t.hitPoints > 0) {
    Take(use.target, kCondUnconscious);
    Revive(use.target, use.caster);
  }
  Show("Healed", 41, given);
}

// Negative energy on the living only, never on the caster itself.
void LifeDrain(const Use& use) {
  if (IsUndead(use.target) || IsConstruct(use.target)) {
    Say("\xA3%s\xA3 - wrong type for the spell.", Name(use.target));
    Refuse("Not a living creature");
    return;
  }
  if (use.target == use.caster) {
    Refuse("No Effect On Caster");
    return;
  }
  ApplySpellAmount();
}

void Luck(const Use& use) {
  const int target = use.target;
  int32_t value = Amount();
  if (use.spell == kSpellDivineFavour) value = std::clamp(SpellPass.casterLevel / 3, 1, 3);
  if (use.spell == kSpellPrayer && AreEnemies(use.caster, target)) {
    Swap(target, kCondUnlucky, kCondLucky, value, "Unlucky", "\xA3%s\xA3 receives @UNLUCKY@ condition.",
         "Lost Effect (Lucky)", "\xA3%s\xA3 loses @LUCKY@ condition.");
    return;
  }
  Swap(target, kCondLucky, kCondUnlucky, value, "Lucky", "\xA3%s\xA3 receives @LUCKY@ condition.",
       "Lost Effect (Unlucky)", "\xA3%s\xA3 loses @UNLUCKY@ condition.");
}

void HolyReduction(const Use& use) {
  const int target = use.target;
  if (Creatures[target].protections[kProtDamageReduction].current > 0) {
    Refuse("Already Has Damage Reduction");
    return;
  }
  int32_t amount = Amount();
  if (use.spell == kSpellRighteousMight) {
    const int32_t level = SpellPass.casterLevel;
    amount = level < 12 ? 3 : level < 15 ? 6 : 9;
  }
  const int32_t alignment = Creatures[target].alignment;
  const bool evil = alignment == 3 || alignment == 6 || alignment == 9;
  Give(target, evil ? kCondReducedDamageHoly : kCondReducedDamageUnholy, amount);
  if (evil) Say("\xA3%s\xA3 gains @DAMAGE_REDUCTION_/HOLY@ (\xA3%i\xA3).", Name(target), amount);
  else Say("\xA3%s\xA3 gains @DAMAGE_REDUCTION_/UNHOLY@ (\xA3%i\xA3).", Name(target), amount);
  char text[32];
  std::snprintf(text, sizeof text, "Damage Reduction (%i)", amount);
  Show(text, 45, amount);
}

void MissileShield(const Use& use) {
  const int target = use.target;
  if (HasCondition(target, kCondReducedDamageMelee)) {
    Refuse("Already Protected");
    return;
  }
  if (Creatures[target].protections[kProtDamageReduction].current > 0) {
    Refuse("The spell fizzles.");
    return;
  }
  const int32_t pool = use.spell == kSpellProtectionArrows ? std::min(10 * SpellPass.casterLevel, 100) : -1;
  Give(target, kCondReducedDamageMelee, Amount(), -2, kSourceSpell, static_cast<uint32_t>(pool));
  Say("\xA3%s\xA3 gains @DAMAGE_REDUCTION_EXCEPT_MELEE@.", Name(target));
  Show("Damage Reduction");
}

void Protection(const Use& use) {
  const int target = use.target;
  if (HasCondition(target, kCondProtectedVersusEvil) || HasCondition(target, kCondProtectedVersusGood)) {
    Refuse("Already Has Effect");
    return;
  }
  const bool fromGood = Creatures[use.caster].allegiance == 2;
  Give(target, fromGood ? kCondProtectedVersusGood : kCondProtectedVersusEvil, Amount());
  if (fromGood) Say("\xA3%s\xA3 is @PROTECTED_AGAINST_GOOD@.", Name(target));
  else Say("\xA3%s\xA3 is @PROTECTED_AGAINST_EVIL@.", Name(target));
  Show(fromGood ? "Protected from Good" : "Protected from Evil", 43, Amount());
}

void Concealment(int target) {
  if (HasCondition(target, kCondMagicallyConcealed)) {
    Refuse("Already Has Effect");
    return;
  }
  const int32_t sides = SpellPass.amountSides;
  const int32_t percent = sides >= 31 && sides <= 35 ? 10 * (sides - 30) : 0;
  Give(target, kCondMagicallyConcealed, percent);
  char text[32];
  std::snprintf(text, sizeof text, "%i%% Concealment", percent);
  Say("\xA3%s\xA3 gains %i%% @CONCEALMENT@.", Name(target), percent);
  Show(text, 43, percent);
}

void Daze(int target) {
  if (HasCondition(target, kCondDazed)) {
    Refuse("Already Has Effect");
    return;
  }
  if (IsUndead(target) || IsConstruct(target)) {
    Refuse("Wrong Type");
    return;
  }
  if (SpellPass.fixedAmount > 0 && Creatures[target].effectiveLevel > SpellPass.fixedAmount) {
    Refuse("Level too high");
    return;
  }
  Give(target, kCondDazed);
  Say("\xA3%s\xA3 is @DAZED@.", Name(target));
  Show("Dazed", 42);
}

void MageArmor(int target) {
  if (HasCondition(target, kCondMageArmor)) {
    Refuse("Already Protected");
    return;
  }
  const uint32_t armour = Creatures[target].equipment[kSlotTorso - 1];
  if (IsCraftedCode(armour) && CraftedWeapons[armour].itemType >= 38) {
    Refuse("Wearing Armor");
    return;
  }
  Give(target, kCondMageArmor, 4);
  Say("\xA3%s\xA3 is protected by @MAGE_ARMOR@.", Name(target));
  Show("Mage Armor", 45, 4);
}

// Removes the listed conditions; refused with "No effect" when none was there.
bool Cure(int target, std::initializer_list<uint32_t> ids, const char* floating, const char* line,
          const char* refusal = "No effect") {
  bool any = false;
  for (uint32_t id : ids) any = Take(target, id) || any;
  if (!any) {
    Refuse(refusal);
    return false;
  }
  if (line) Say(line, Name(target));
  Show(floating, 46);
  return true;
}

void RemoveParalysis(const Use& use) {
  const int target = use.target;
  if (use.spell != kSpellFreedomOfMovement) {
    Cure(target, {kCondParalyzed, kCondSlowed}, "Free Action", nullptr);
    return;
  }
  if (FindAnyCondition(target, kCondParalyzed, kCondSlowed, kCondEntangled, kCondStuck, kCondGrappling, kCondPinned) <
      0) {
    Refuse("No effect");
    return;
  }
  Take(target, kCondParalyzed, kCondSlowed, kCondEntangled, kCondStuck);
  EndGrapple(target);
  Show("Free Action", 46);
}

void Freedom(const Use& use) {
  const int target = use.target;
  if (FindAnyCondition(target, kCondStuck, kCondEntangled, kCondGrappling, kCondParalyzed, kCondPetrified, kCondPinned,
                       kCondSleeping, kCondSlowed, kCondStunned) < 0) {
    Refuse("No Effect");
    return;
  }
  Take(target, kCondEntangled, kCondParalyzed, kCondSleeping, kCondSlowed);
  Take(target, kCondStunned, kCondStuck);
  EndGrapple(target);
  if (Take(target, kCondPetrified)) Revive(target, use.caster);
  Show("Freedom", 46);
}

void RemoveNegativeLevels(int target) {
  int32_t levels = 0;
  for (const ConditionEntry& e : Creatures[target].conditions)
    if (e.id == kCondLevelDrained) levels += e.value;
  if (!Take(target, kCondLevelDrained)) {
    Refuse("No effect");
    return;
  }
  char text[32];
  std::snprintf(text, sizeof text, "%i Levels Recovered", levels);
  Show(text, 46, levels);
}

void RemoveFatigue(int target) {
  if (Take(target, kCondExhausted)) {
    Give(target, kCondFatigued);
    Show("Improved Condition (Exhausted)", 46);
    return;
  }
  Cure(target, {kCondFatigued}, "Lost Effect (Fatigued)", nullptr);
}

void Exhaustion(int target) {
  if (Take(target, kCondFatigued)) {
    Give(target, kCondExhausted);
    Say("\xA3%s\xA3 becomes @EXHAUSTED@.", Name(target));
    Show("Exhausted");
    return;
  }
  Give(target, kCondFatigued);
  Say("\xA3%s\xA3 becomes @FATIGUED@.", Name(target));
  Show("Fatigued");
}

void Fatigue(int target) {
  if (HasCondition(target, kCondFatigued) || HasCondition(target, kCondExhausted)) {
    Refuse("Already Has Effect");
    return;
  }
  Give(target, kCondFatigued);
  Say("\xA3%s\xA3 becomes @FATIGUED@.", Name(target));
  Show("Fatigued");
}

void Purge(int target) {
  const int removed = RemoveConditionIdFromSource(target, kCondInvisible, kSourceSpell) +
                      RemoveConditionIdFromSource(target, kCondGreaterInvisibility, kSourceSpell);
  if (removed == 0) {
    Say("\xA3%s\xA3 is not affected.", Name(target));
    QueueUseEvent(0, 0, target, 0);
    return;
  }
  Show("Invisibility Purge", 46);
}

void DivinePower(int target) {
  if (HasCondition(target, kCondEnhancedBaseAttack)) {
    Refuse("Already Has Effect");
    return;
  }
  Creatures[target].hitPoints += SpellPass.casterLevel;
  Give(target, kCondEnhancedBaseAttack, SpellPass.casterLevel);
  Show("Divine Power", 45, SpellPass.casterLevel);
}

void Light(int target) {
  Give(target, kCondIlluminating, SpellPass.amount > 0 ? SpellPass.amount : 4);
  Say("\xA3%s\xA3 gains @ILLUMINATING@ condition.", Name(target));
  Show("Light");
  RecomputeCreature(target, 0);
  UpdatePartyVision();
}

}  // namespace

bool ApplyConditionEffect(int32_t code) {
  const Use use = Current();
  const int target = use.target;
  switch (code) {
    case kFxHeal:  // the cures' healing is the amount pipeline's; this is Lend Life
      LendLife(use);
      return true;
    case kFxLifeDrain: LifeDrain(use); return true;
    case kFxWallArea:
      // The wall's blast has hurt the creature; the flames keep burning on it.
      Give(target, kCondBurning, 0, 1, kSourceMagicArea);
      return true;
    case kFxFireCells: return true;
    case kFxPurge: Purge(target); return true;
    case kFxRemoveBlindness: Cure(target, {kCondBlinded, kCondDeafened}, "Cured", nullptr); return true;
    case kFxRemoveCurse: Cure(target, {kCondMute, kCondCursed}, "Curse Removed", nullptr); return true;
    case kFxDeathWard:
      Give(target, kCondDeathImmunity);
      Say("\xA3%s\xA3 is immune to \xA3" "death_effects\xA3, \xA3level_drain\xA3 and \xA3negative_energy\xA3.", Name(target));
      Show("Death Ward");
      return true;
    case kFxFreeAction:
      Give(target, kCondFreeAction);
      Say("\xA3%s\xA3 is immune to @PARALYSIS@, @ENTANGLEMENT@, the @SLOW_SPELL@ and @GRAPPLING@.", Name(target));
      Show("Free Action");
      return true;
    case kFxRemoveParalysis: RemoveParalysis(use); return true;
    case kFxFreedom: Freedom(use); return true;
    case kFxStun: Stun(use); return true;
    case kFxDance:
      if (HasCondition(target, kCondDancing)) {
        Refuse("Already Has Effect");
      } else if (IsUndead(target) || IsConstruct(target)) {
        Refuse("Wrong Type");
      } else {
        Give(target, kCondDancing);
        EndGrapple(target);
        Say("\xA3%s\xA3 feels an urge to dance in place.", Name(target));
        Show("Irresistible Dance");
      }
      return true;
    case kFxLight: Light(target); return true;
    case kFxSilenceArea:
      Give(target, kCondSilenced, 0, 1, kSourceMagicArea);
      Say("\xA3%s\xA3 is @SILENCED@.", Name(target));
      Show("Silenced");
      return true;
    case kFxDarknessArea: Darkness(target); return true;
    case kFxMindBlast: MindBlast(target); return true;
    case kFxPoisonWard:
      if (HasCondition(target, kCondPoisonImmunity)) {
        Refuse("The spell fizzles");
        return true;
      }
      Give(target, kCondPoisonImmunity);
      Say("\xA3%s\xA3 is immune to poisoning effects.", Name(target));
      Show("Immunity:Poison");
      return true;
    case kFxMindBlank:
      Give(target, kCondMindImmunity);
      Say("\xA3%s\xA3 receives @MIND_BLANK@ condition.", Name(target));
      Show("Immunity:Mind");
      return true;
    case kFxTrueSeeing:
      Give(target, kCondTrueSeeing);
      Say("\xA3%s\xA3 gains @TRUE_SEEING_CONDITION@.", Name(target));
      Show("True Seeing");
      return true;
    case kFxSpellResistance: {
      if (HasCondition(target, kCondSpellResistant) || Creatures[target].protections[kProtSpellResistance].current > 0) {
        Refuse("Already Has Effect");
        return true;
      }
      const int32_t value = 12 + SpellPass.casterLevel;
      Give(target, kCondSpellResistant, value);
      Say("\xA3%s\xA3 gains @SPELL_RESISTANCE@ \xA3%i\xA3.", Name(target), value);
      Show("Spell Resistance", 45, value);
      return true;
    }
    case kFxInsight:
      return GiveOnce(target, kCondInsightful, "Insightful", "\xA3%s\xA3 receives @INSIGHTFUL@ condition.", Amount());
    case kFxSickness: Sickness(use); return true;
    case kFxShaken: return GiveOnce(target, kCondShaken, "Shaken", "\xA3%s\xA3 is @SHAKEN@.");
    case kFxFeeblemind:
      return GiveOnce(target, kCondFeebleminded, "Feebleminded", "\xA3%s\xA3 receives @FEEBLEMINDED@ condition.");
    case kFxFireShield:
      if (HasCondition(target, kCondFireShielded) || HasCondition(target, kCondIceShielded)) {
        Refuse("Already Has Effect");
        return true;
      }
      Give(target, kCondFireShielded, SpellPass.casterLevel);
      Say("\xA3%s\xA3 receives @FIRE_SHIELDED@ condition.", Name(target));
      Show("Fire Shield");
      return true;
    case kFxIceShield:
      Give(target, kCondIceShielded, SpellPass.casterLevel);
      Say("\xA3%s\xA3 receives @ICE_SHIELDED@ condition.", Name(target));
      Show("Ice Shield");
      return true;
    case kFxHolyReduction: HolyReduction(use); return true;
    case kFxResistFire:
    case kFxResistCold:
    case kFxResistAcid:
    case kFxResistElectricity:
    case kFxResistSonic: EnergyResistance(target, code); return true;
    case kFxConfusion:
      if (use.spell == kSpellInsanity && (IsUndead(target) || IsConstruct(target))) {
        Refuse("Wrong Type");
        return true;
      }
      return GiveOnce(target, kCondConfused, "Confused", "\xA3%s\xA3 becomes @CONFUSED@.");
    case kFxDeflection: {
      const int32_t value = use.spell == kSpellShieldOfFaith ? SpellPass.casterLevel / 6 + 2 : Amount();
      Give(target, kCondDeflecting, value);
      Say("\xA3%s\xA3 gains deflection \xA3+%i\xA3.", Name(target), value);
      Show("Deflection", 45, value);
      return true;
    }
    case kFxProtection: Protection(use); return true;
    case kFxLuck: Luck(use); return true;
    case kFxBadMorale:
      Swap(target, kCondBadMorale, kCondGoodMorale, Amount(), "Bad Morale", "\xA3%s\xA3 receives @BAD_MORALE@ condition.",
           "Lost Effect (Good Morale)", "\xA3%s\xA3 loses @GOOD_MORALE@ condition.");
      return true;
    case kFxGoodMorale:
      Swap(target, kCondGoodMorale, kCondBadMorale, Amount(), "Good Morale",
           "\xA3%s\xA3 receives @GOOD_MORALE@ condition.", "Lost Effect (Bad Morale)", nullptr);
      return true;
    case kFxMissileShield: MissileShield(use); return true;
    case kFxAdamantineSkin:
      Give(target, kCondReducedDamageAdamantine, Amount());
      Say("\xA3%s\xA3 gains @DAMAGE_REDUCTION_ADAMANTINE@.", Name(target));
      Show("Damage Reduction", 45, Amount());
      return true;
    case kFxCurse: return GiveOnce(target, kCondCursed, "Cursed", "\xA3%s\xA3 becomes @CURSED@.");
    case kFxNausea: return GiveOnce(target, kCondNauseated, "Nauseated", "\xA3%s\xA3 becomes @NAUSEATED@.", Amount());
    case kFxSlow:
      Swap(target, kCondSlowed, kCondHasted, 0, "Slowed", "\xA3%s\xA3 receives @SLOWED@ condition.",
           "Lost Effect (Haste)", "\xA3%s\xA3 loses @HASTED@ condition.");
      return true;
    case kFxHaste:
      Swap(target, kCondHasted, kCondSlowed, 0, "Hasted", "\xA3%s\xA3 receives @HASTED@ condition.",
           "Lost Effect (Slow)", "\xA3%s\xA3 loses @SLOWED@ condition.");
      return true;
    case kFxFatigue: Fatigue(target); return true;
    case kFxExhaustion: Exhaustion(target); return true;
    case kFxConcealment: Concealment(target); return true;
    case kFxParalysingTouch:
      if (use.spell == kSpellGhoulTouch && !IsHumanoid(target)) {
        Say("\xA3%s\xA3 is not a @HUMANOID@.", Name(target));
        Refuse("Not humanoid");
        return true;
      }
      Give(target, kCondParalyzed);
      Say("\xA3%s\xA3 becomes @PARALYZED@.", Name(target));
      Show("Paralyzed");
      return true;
    case kFxParalysis:
      Give(target, kCondParalyzed, Amount());
      Say("\xA3%s\xA3 becomes @PARALYZED@.", Name(target));
      Show("Paralyzed", 45, Amount());
      return true;
    case kFxDeafness:
      Give(target, kCondDeafened);
      Say("\xA3%s\xA3 becomes @DEAF@.", Name(target));
      Show("Deaf");
      return true;
    case kFxBlindness: Blindness(use); return true;
    case kFxMute: return GiveOnce(target, kCondMute, "Mute", "\xA3%s\xA3 becomes @MUTE@.");
    case kFxInvisibility: return GiveOnce(target, kCondInvisible, "Invisible", "\xA3%s\xA3 becomes @INVISIBLE@.");
    case kFxGreaterInvisibility:
      if (HasCondition(target, kCondGreaterInvisibility)) {
        Refuse("Already Has Effect");
        return true;
      }
      RemoveConditionIdFromSource(target, kCondInvisible, kSourceSpell);
      Give(target, kCondGreaterInvisibility);
      Say("\xA3%s\xA3 gains @GREATER_INVISIBILITY@ condition.", Name(target));
      Show("Greater Invisibility");
      return true;
    case kFxDaze: Daze(target); return true;
    case kFxAcidBurns: {
      const int32_t value = PendingMetamagic == 1 ? 1 : PendingMetamagic == 2 ? 2 : 0;
      Give(target, kCondAcidBurns, value);
      Say("\xA3%s\xA3 suffers from @ACID_BURNS@.", Name(target));
      Show("Acid Burns");
      return true;
    }
    case kFxMageArmor: MageArmor(target); return true;
    case kFxTrueStrike:
      Give(target, kCondTrueStrike);
      Say("\xA3%s\xA3 benefits from @TRUE_STRIKE@.", Name(target));
      Show("True Strike");
      return true;
    case kFxSleep: Sleep(use); return true;
    case kFxRemoveNegativeLevels: RemoveNegativeLevels(target); return true;
    case kFxEntangleArea:
      if (HasCondition(target, kCondEntangled)) {
        Refuse("Already has effect");
        return true;
      }
      Give(target, kCondEntangled, 0, 1, kSourceMagicArea);
      Say("\xA3%s\xA3 is @ENTANGLED@.", Name(target));
      Show("Entangled");
      return true;
    case kFxWebArea: Web(use); return true;
    case kFxDivinePower: DivinePower(target); return true;
    case kFxLesserRestoration:
      Cure(target,
           {kCondDamagedStrength, kCondDamagedDexterity, kCondDamagedConstitution, kCondDamagedWisdom,
            kCondDamagedIntelligence, kCondDamagedCharisma},
           "Restoration", "\xA3%s\xA3 recovers from \xA3" "ability_damage\xA3.");
      return true;
    case kFxRestoration:
      Cure(target,
           {kCondDamagedStrength, kCondDamagedDexterity, kCondDamagedConstitution, kCondDamagedWisdom,
            kCondDamagedIntelligence, kCondDamagedCharisma, kCondDrainedStrength, kCondDrainedDexterity,
            kCondDrainedConstitution, kCondDrainedWisdom, kCondDrainedIntelligence, kCondDrainedCharisma},
           "Restoration", "\xA3%s\xA3 recovers from \xA3" "ability_drain\xA3 and \xA3" "ability_damage\xA3.");
      return true;
    case kFxRemoveFatigue: RemoveFatigue(target); return true;
    case kFxRemoveShaken: Cure(target, {kCondShaken}, "Lost Effect (Shaken)", nullptr); return true;
    default: return false;
  }
}

}  // namespace spellfx

void AddResistanceLogKeywords(std::vector<LogKeyword>* out) {
  for (const spellfx::ResistedEnergy& e : spellfx::kResistedEnergies)
    out->push_back({std::string("@") + e.keyword + "@", "src/combat/resolution/spell_effects_conditions.cpp"});
}
