// The one or two effects of a natural attack on a hit: physical damage (with
// a powerful charge or a constriction), energy, ability damage and drain,
// paralysis, bleeding and energy drain. On a critical every effect rolls its
// dice twice.
#include <cstdio>

#include "combat/resolution/attack_context.h"
#include "combat/resolution/log_keywords.h"
#include "rules/combat_roll_log.h"
#include "engine/message_log.h"
#include "rules/breakdown_sources.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/recompute_creature.h"

namespace {

constexpr uint32_t kSourceNaturalEffect = 20;
constexpr int32_t kSourceAdditionalPoints = 654;
constexpr int32_t kSourceMinimumDamage = 665;
constexpr int32_t kSourceBaseValue = 612;
constexpr int32_t kSourceRacialHitDice = 672;
constexpr int32_t kSourceCharismaModifier = 178;

const char* const kAbilityKeywords[6] = {"STRENGTH", "DEXTERITY", "CONSTITUTION", "INTELLIGENCE", "WISDOM", "CHARISMA"};
const char* const kAbilityNames[6] = {"Strength", "Dexterity", "Constitution", "Intelligence", "Wisdom", "Charisma"};
// Conditions of ability damage and drain, Strength to Charisma.
constexpr uint32_t kDamagedAbility[6] = {61, 62, 63, 65, 64, 71};
constexpr uint32_t kDrainedAbility[6] = {66, 67, 68, 70, 69, 72};

struct Effect {
  int32_t code;
  int32_t count;
  int32_t sides;
};

bool Has(int creature, uint32_t id) { return FindCondition(creature, id) >= 0; }

ModifierList MakeList(const char* caption) {
  ModifierList list;
  std::snprintf(list.caption, sizeof list.caption, "%s", caption);
  return list;
}

// The effect's dice into the list, twice over on a critical.
int RollEffect(const AttackContext& a, ModifierList* list, const Effect& e) {
  return RollInto(list, e.sides, a.critical ? e.count * 2 : e.count);
}

void Physical(AttackContext& a, const Effect& e, bool first) {
  const CreatureRecord& c = Creatures[a.attacker];
  const bool constricting = first && a.grapple && c.special[kSpecialConstrictSides] > 0;
  ModifierList own;
  ModifierList* list = &a.entry->damageBonus;
  if (!first) {
    std::snprintf(own.caption, sizeof own.caption, "%s", list->caption);
    own.helpTopic = list->helpTopic;
    list = &own;
  }
  if (first && Has(a.attacker, kCondCharging) && c.special[kSpecialPowerfulChargeSides] > 0) {
    LogMessage("@POWERFUL_CHARGE@: " HL "%s" HL " inflicts extra damage.\r", c.name);
    RollInto(list, c.special[kSpecialPowerfulChargeSides], c.special[kSpecialPowerfulChargeDice]);
    AddModifier(c.special[kSpecialPowerfulChargeBonus], list, kSourceAdditionalPoints);
  }
  if (constricting) {
    LogMessage("@CONSTRICT@: " HL "%s" HL " inflicts extra damage.\r", c.name);
    RollInto(list, c.special[kSpecialConstrictSides], c.special[kSpecialConstrictDice]);
  }
  RollEffect(a, list, e);
  if (list->total < 1) AddModifier(1 - list->total, list, kSourceMinimumDamage);
  // A constriction crushes: bludgeoning only.
  ApplyPhysicalDamage(a, list, constricting ? 1 : e.code, true);
}

void EnergyEffect(AttackContext& a, const Effect& e) {
  struct Row {
    int32_t code;
    Energy energy;
    const char* caption;
  };
  static const Row kRows[7] = {
      {4, kFire, "Energy Damage (Fire)"},   {5, kCold, "Energy Damage (Cold)"},
      {6, kElectricity, "Energy Damage (Electricity)"}, {7, kAcid, "Energy Damage (Acid)"},
      {8, kSonic, "Energy Damage (Sonic)"}, {10, kNegativeEnergy, "Energy Damage (Negative Energy)"},
      {11, kForce, "Energy Damage (Force)"},
  };
  for (const Row& row : kRows) {
    if (row.code != e.code) continue;
    ModifierList list = MakeList(row.caption);
    RollEffect(a, &list, e);
    ApplyEnergyDamage(a, a.target, a.attacker, row.energy, &list, kEnergyNatural);
  }
}

void AbilityLoss(AttackContext& a, const Effect& e) {
  const bool drain = e.code >= 18;
  const int ability = drain ? e.code - 18 : e.code - 12;
  CreatureRecord& t = Creatures[a.target];
  if (IsImmune(a.target, kImmAbilityDrain)) {
    if (drain) LogMessage(HL "%s" HL " is immune to " HL "Ability_Drain" HL ".\r", t.name);
    else LogMessage(HL "%s" HL " is immune to " HL "Ability_Damage" HL ".\r", t.name);
    return;
  }
  char caption[40];
  std::snprintf(caption, sizeof caption, "%s (%s)", drain ? "Ability Drain" : "Ability Damage", kAbilityNames[ability]);
  ModifierList list = MakeList(caption);
  const int amount = RollEffect(a, &list, e);
  SetEvent(NextEvent(a), e.code, amount, a.target, 50);
  const int index = StoreCombatRoll(list);
  LogMessage(HL "%s" HL ": " HL "%s" HL " loses @%i|%.2i@ @%s@.\r", drain ? "Ability_Drain" : "Ability_Damage", t.name,
             list.total, index, kAbilityKeywords[ability]);
  if (drain) {
    AddCondition(a.target, kDrainedAbility[ability], kDurationLasting, amount, kSourceNaturalEffect, 0);
    const int32_t gained = a.critical ? 10 : 5;
    Creatures[a.attacker].hitPoints += gained;
    LogMessage(HL "%s" HL " gains " HL "%i" HL " @TEMPORARY_HIT_POINTS@.\r", Creatures[a.attacker].name, gained);
  } else {
    AddCondition(a.target, kDamagedAbility[ability], kDurationUntilRest, amount, kSourceNaturalEffect, 0);
  }
  RecomputeCreature(a.target, 0);
}

void Paralysis(AttackContext& a, const Effect& e) {
  const CreatureRecord& t = Creatures[a.target];
  const CreatureRecord& c = Creatures[a.attacker];
  if (IsImmune(a.target, kImmParalysis)) {
    LogMessage(HL "%s" HL " is immune to @PARALYSIS@.\r", t.name);
    return;
  }
  if (Has(a.target, kCondParalyzed)) {
    LogMessage(HL "%s" HL " is already @PARALYZED@.\r", t.name);
    return;
  }
  ModifierList dc = MakeList("Difficulty Class (Paralysis)");
  AddModifier(10, &dc, kSourceBaseValue);
  AddModifier(c.level / 2, &dc, kSourceRacialHitDice);
  AddModifier(AbilityModifier(c.charisma.current), &dc, kSourceCharismaModifier);
  bool natural = false;
  const bool saved = SavingThrow(a.target, 0, dc.total, &natural);
  if (!natural) {
    const int index = StoreCombatRoll(dc);
    if (saved) LogMessage("Save succeeded (DC @%i|%.2i@)\r", dc.total, index);
    else LogMessage("Save failed (DC @%i|%.2i@)\r", dc.total, index);
  }
  if (saved) return;
  RemoveCondition(a.target, kCondDancing);
  ModifierList duration = MakeList("Duration: Paralysis Attack");
  const int rounds = RollEffect(a, &duration, e);
  AddCondition(a.target, kCondParalyzed, rounds, 0, kSourceNaturalEffect, 0);
  const int index = StoreCombatRoll(duration);
  LogMessage(HL "%s" HL " is @PARALYZED@ for @%i|%.2i@ rounds.\r", t.name, duration.total, index);
}

void Bleeding(AttackContext& a, const Effect& e) {
  const CreatureRecord& t = Creatures[a.target];
  if (t.type == 8 || t.type == 2) {
    LogMessage("@BLEEDING@ attacks do not work on @UNDEAD@ and @CONSTRUCT@ creatures.\r");
    return;
  }
  if (IsImmune(a.target, kImmBleeding)) {
    LogMessage(HL "%s" HL " is immune to @BLEEDING@.\r", t.name);
    return;
  }
  if (Has(a.target, kCondBleeding)) {
    LogMessage(HL "%s" HL " is already @BLEEDING@.\r", t.name);
    return;
  }
  ModifierList duration = MakeList("Duration: Bleeding");
  const int rounds = RollEffect(a, &duration, e);
  AddCondition(a.target, kCondBleeding, rounds, 0, kSourceNaturalEffect, 0);
  const int index = StoreCombatRoll(duration);
  LogMessage(HL "%s" HL " will be @BLEEDING@ for @%i|%.2i@ rounds.\r", t.name, duration.total, index);
}

void EnergyDrain(AttackContext& a, const Effect& e) {
  ModifierList list = MakeList("Energy Drain");
  const int levels = RollEffect(a, &list, e);
  if (ImmunityCode(a.target, kImmLevelDrain) != 0) return;
  AddCondition(a.target, kCondLevelDrained, kDurationLasting, levels, kSourceNaturalEffect, 0);
  SetEvent(NextEvent(a), 32, levels, a.target, 42);
  const int32_t gained = (a.critical ? 10 : 5) * levels;
  Creatures[a.attacker].hitPoints += gained;
  const int index = StoreCombatRoll(list);
  LogMessage(levels == 1 ? "@LEVEL_DRAIN@ : " HL "%s" HL " takes @%i|%.2i@ @NEGATIVE_LEVEL@ and " HL "%s" HL
                           " gains " HL "%i" HL " @HP@.\r"
                         : "@LEVEL_DRAIN@ : " HL "%s" HL " takes @%i|%.2i@ @NEGATIVE_LEVELS@ and " HL "%s" HL
                           " gains " HL "%i" HL " @HP@.\r",
             Creatures[a.target].name, list.total, index, Creatures[a.attacker].name, gained);
}

void ApplyEffect(AttackContext& a, const Effect& e, bool first) {
  const bool constricting = first && a.grapple && Creatures[a.attacker].special[kSpecialConstrictSides] > 0;
  if ((e.code >= 1 && e.code <= 3) || constricting) Physical(a, e, first);
  else if (e.code >= 4 && e.code <= 11) EnergyEffect(a, e);
  else if (e.code >= 12 && e.code <= 23) AbilityLoss(a, e);
  else if (e.code == 24) Paralysis(a, e);
  else if (e.code == 25) Bleeding(a, e);
  else if (e.code == 26) EnergyDrain(a, e);
}

}  // namespace

void AddAbilityLogKeywords(std::vector<LogKeyword>* out) {
  for (const char* keyword : kAbilityKeywords)
    out->push_back({std::string("@") + keyword + "@", "src/combat/resolution/natural_effects.cpp"});
}

void ApplyNaturalEffects(AttackContext& a) {
  if (a.naturalSlot < 0 || a.naturalSlot > 3) return;
  const NaturalAttack& n = Creatures[a.attacker].naturalAttacks[a.naturalSlot];
  ApplyEffect(a, {n.effectKind, n.effectDice, n.effectSides}, true);
  ApplyEffect(a, {n.riderKind, n.riderDice, n.riderSides}, false);
}
