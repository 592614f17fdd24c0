// A weapon's magic on a hit, after its own damage: the alignment damages, the
// energies (with a thundering weapon's deafness) and the special abilities,
// each with its roll, save, log line and event.
#include <cstdio>

#include "combat/actions/attack_support.h"
#include "combat/resolution/attack_context.h"
#include "combat/resolution/log_keywords.h"
#include "rules/combat_roll_log.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "rules/breakdown_sources.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "rules/recompute_creature.h"

namespace {

enum WeaponProperty : int {
  kVorpal = 0,
  kBlindness = 3,
  kLifeStealing = 5,
  kWounding = 6,
  kHoly = 7,
  kUnholy = 8,
  kAxiomatic = 9,
  kAnarchic = 10,
  kFlamingBurst = 11,
  kIcyBurst = 12,
  kShockBurst = 13,
  kDisruption = 14,
  kBane = 15,
  kFlaming = 16,
  kFrost = 17,
  kShock = 18,
  kThundering = 20,
};

constexpr uint32_t kSourceWeaponEffect = 19;
constexpr int32_t kBadMoraleValue = 2;
constexpr int kFortitude = 0;
constexpr int kWillpower = 1;

bool Has(int creature, uint32_t id) { return FindCondition(creature, id) >= 0; }

ModifierList MakeList(const char* caption, int32_t help) {
  ModifierList list;
  std::snprintf(list.caption, sizeof list.caption, "%s", caption);
  list.helpTopic = help;
  return list;
}

// ---- Alignment damages ------------------------------------------------------

struct AlignmentDamage {
  int property;
  const char* caption;
  int32_t help;
  int32_t alignments[3];
  int32_t eventType;
  const char* keyword;
};
constexpr AlignmentDamage kAlignmentDamages[] = {
    {kUnholy, "Magic Damage (Unholy Weapon)", 43026, {1, 4, 7}, 35, "UNHOLY"},
    {kHoly, "Magic Damage (Holy Weapon)", 43025, {3, 6, 9}, 34, "HOLY"},
    {kAxiomatic, "Magic Damage (Axiomatic Weapon)", 43027, {7, 8, 9}, 36, "AXIOMATIC"},
    {kAnarchic, "Magic Damage (Anarchic Weapon)", 43028, {1, 2, 3}, 37, "ANARCHIC"},
};

void AlignmentDamages(AttackContext& a, const CraftedWeaponRecord& w) {
  CreatureRecord& t = Creatures[a.target];
  for (const AlignmentDamage& d : kAlignmentDamages) {
    if (w.properties[d.property] == 0) continue;
    if (t.alignment != d.alignments[0] && t.alignment != d.alignments[1] && t.alignment != d.alignments[2]) continue;
    ModifierList list = MakeList(d.caption, d.help);
    RollInto(&list, 6, 2);
    const int32_t damage = list.total;
    if (damage <= 0) continue;
    t.hitPoints -= damage;
    SetEvent(NextEvent(a), d.eventType, damage, a.target, 53);
    const int index = StoreCombatRoll(list);
    LogMessage("@%s@: " HL "%s" HL " loses @%i|%.2i@ @HP@.\r", d.keyword, t.name, damage, index);
    if (Has(a.target, kCondSleeping)) RemoveCondition(a.target, kCondSleeping);
    MarkDamagedWhileCasting(a.target, a.attacker, damage);
  }
}

// ---- Energy weapons -----------------------------------------------------------

void EnergyWeapon(AttackContext& a, const CraftedWeaponRecord& w, int plain, int burst, Energy energy,
                  const char* caption, int32_t help, const char* burstCaption, int32_t burstHelp) {
  const bool isBurst = w.properties[burst] != 0;
  if (w.properties[plain] == 0 && !isBurst) return;
  ModifierList list = isBurst ? MakeList(burstCaption, burstHelp) : MakeList(caption, help);
  RollInto(&list, 6, 1);
  if (isBurst && a.critical) RollInto(&list, 10, a.multiplier - 1);
  ApplyEnergyDamage(a, a.target, a.attacker, energy, &list, kEnergyWeapon);
}

void ThunderingDeafness(AttackContext& a) {
  const CreatureRecord& t = Creatures[a.target];
  if (IsImmune(a.target, kImmEars)) {
    LogMessage(HL "%s" HL " is immune to @DEAFNESS@.\r", t.name);
    return;
  }
  bool natural = false;
  const bool saved = SavingThrow(a.target, kFortitude, 14, &natural);
  if (!natural) LogMessage("%s", saved ? "Save succeeded (DC " HL "14" HL ")\r" : "Save failed (DC " HL "14" HL ")\r");
  if (saved) return;
  AddCondition(a.target, kCondDeafened, kDurationLasting, 0, kSourceWeaponEffect, 0);
  SetEvent(NextEvent(a), 45, 0, a.target, 35);
  LogMessage(HL "%s" HL " is @DEAFENED@.\r", t.name);
}

void EnergyWeapons(AttackContext& a, const CraftedWeaponRecord& w) {
  EnergyWeapon(a, w, kFlaming, kFlamingBurst, kFire, "Magic Damage (Flaming Weapon)", 43034,
               "Magic Damage (Flaming Burst Weapon)", 43029);
  EnergyWeapon(a, w, kFrost, kIcyBurst, kCold, "Magic Damage (Frost Weapon)", 43035,
               "Magic Damage (Icy Burst Weapon)", 43030);
  EnergyWeapon(a, w, kShock, kShockBurst, kElectricity, "Magic Damage (Shock Weapon)", 43036,
               "Magic Damage (Shock Burst Weapon)", 43031);
  if (w.properties[kThundering] != 0 && a.critical) {
    ModifierList list = MakeList("Magic Damage (Thundering Weapon)", 43038);
    RollInto(&list, 8, a.multiplier - 1);
    ApplyEnergyDamage(a, a.target, a.attacker, kSonic, &list, kEnergyWeapon);
    ThunderingDeafness(a);
  }
}

// ---- Special abilities ----------------------------------------------------------

// False when the disruption destroyed the target: no further ability applies.
bool Disruption(AttackContext& a) {
  CreatureRecord& t = Creatures[a.target];
  if (t.type != 8) return true;
  if (IsImmune(a.target, kImmDisintegration)) {
    LogMessage(HL "%s" HL " is immune to " HL "Disintegration" HL ".\r", t.name);
    return true;
  }
  if (SavingThrow(a.target, kWillpower, 14, nullptr)) return true;
  t.hitPoints -= 10000;
  SetEvent(NextEvent(a), 54, 10000, a.target, 40);
  LogMessage("@DISRUPTION@ weapon destroys " HL "%s" HL ".\r", t.name);
  return false;
}

void Bane(AttackContext& a) {
  const CreatureRecord& t = Creatures[a.target];
  if (IsImmune(a.target, kImmFear)) {
    LogMessage(HL "%s" HL " is immune to " HL "fear" HL " effects.\r", t.name);
    return;
  }
  if (IsImmune(a.target, kImmMind)) {
    LogMessage(HL "%s" HL " is immune to " HL "mind" HL " effects.\r", t.name);
    return;
  }
  if (Has(a.target, kCondBadMorale)) return;
  if (SavingThrow(a.target, kWillpower, 14, nullptr)) return;
  const int rounds = RollInto(nullptr, 10, 1) + 1;
  AddCondition(a.target, kCondBadMorale, rounds, kBadMoraleValue, kSourceWeaponEffect, 0);
  SetEvent(NextEvent(a), 62, 0, a.target, 35);
  LogMessage("@DESPAIR@ weapon : " HL "%s" HL " loses courage.\r", t.name);
}

void Blindness(AttackContext& a) {
  const CreatureRecord& t = Creatures[a.target];
  if (Has(a.target, kCondBlinded)) {
    LogMessage(HL "%s" HL " is already @BLIND@.\r", t.name);
    return;
  }
  if (IsImmune(a.target, kImmEyes)) {
    LogMessage(HL "%s" HL " may not become @BLIND@.\r", t.name);
    return;
  }
  if (SavingThrow(a.target, kWillpower, 18, nullptr)) return;
  const int rounds = RollInto(nullptr, 6, 1);
  AddCondition(a.target, kCondBlinded, rounds, 0, kSourceWeaponEffect, 0);
  SetEvent(NextEvent(a), 31, 0, a.target, 35);
  LogMessage(HL "%s" HL " is @BLINDED@ for " HL "%i" HL " rounds.\r", t.name, rounds);
}

void Vorpal(AttackContext& a) {
  if (!a.critical || a.d20 != 20 || IsImmune(a.target, kImmCriticals)) return;
  if (DebugMode == 1) {
    LogMessage("Vorpal weapon\r");
    LogMessage("Scored critical hit\r");
    LogMessage("With a d20\r");
  }
  Creatures[a.target].hitPoints -= 10000;
  SetEvent(NextEvent(a), 28, 10000, a.target, 40);
  LogMessage("@VORPAL@ weapon deals lethal blow.\r");
}

void Wounding(AttackContext& a) {
  if (IsImmune(a.target, kImmCriticals)) return;
  AddCondition(a.target, kCondDamagedConstitution, kDurationUntilRest, 1, kSourceWeaponEffect, 0);
  SetEvent(NextEvent(a), 14, 1, a.target, 50);
  RecomputeCreature(a.target, 0);
  LogMessage("@WOUNDING@: " HL "%s" HL " loses " HL "1" HL " @CONSTITUTION@.\r", Creatures[a.target].name);
}

void LifeStealing(AttackContext& a) {
  if (!a.critical || ImmunityCode(a.target, kImmLevelDrain) != 0) return;
  const int32_t levels = a.multiplier - 1;
  AddCondition(a.target, kCondLevelDrained, kDurationUntilRest, levels, kSourceWeaponEffect, 0);
  SetEvent(NextEvent(a), 32, levels, a.target, 42);
  ModifierList gain = MakeList("Life Stealing", 43023);
  RollInto(&gain, 6, levels);
  Creatures[a.attacker].hitPoints += gain.total;
  const int index = StoreCombatRoll(gain);
  if (levels == 1)
    LogMessage("@LIFE_STEALING@ weapon: " HL "%s" HL " takes " HL "%i" HL " @NEGATIVE_LEVEL@ and " HL "%s" HL
               " gains @%i|%.2i@ @HP@.\r",
               Creatures[a.target].name, levels, Creatures[a.attacker].name, gain.total, index);
  else
    LogMessage("@LIFE_STEALING@ weapon: " HL "%s" HL " takes " HL "%i" HL " @NEGATIVE_LEVELS@ and " HL "%s" HL
               " gains @%i|%.2i@ @HP@.\r",
               Creatures[a.target].name, levels, Creatures[a.attacker].name, gain.total, index);
}

// The ammunition of a ranged hit, as a base item type; 0 when none.
int32_t AmmunitionType(const AttackContext& a) {
  if (!a.ranged) return 0;
  const uint32_t code = Creatures[a.attacker].ammunition.code;
  if (code < kFirstBaseItemCode || code >= kFirstBaseItemCode + kItemRows) return 0;
  return ItemTable[code - kFirstBaseItemCode].baseType;
}

void SleepingArrow(AttackContext& a) {
  const CreatureRecord& t = Creatures[a.target];
  // These two lines carry no carriage return of their own; the attack's
  // closing line break usually ends them.
  if (IsImmune(a.target, kImmSleep)) {
    LogMessage(HL "%s" HL " is immune to @SLEEPING@ effects.", t.name);
    return;
  }
  if (IsImmune(a.target, kImmMind)) {
    LogMessage(HL "%s" HL " is immune to @MIND_EFFECTS@.", t.name);
    return;
  }
  if (SavingThrow(a.target, kWillpower, 15, nullptr)) return;
  const int rounds = RollInto(nullptr, 8, 2) + 1;
  AddCondition(a.target, kCondSleeping, rounds, 0, kSourceWeaponEffect, 0);
  SetEvent(NextEvent(a), 56, 0, a.target, 35);
  LogMessage("@SLEEPING_ARROW@ - " HL "%s" HL " falls asleep for " HL "%i" HL " rounds.\r", t.name, rounds);
}

void SlayingArrow(AttackContext& a, int32_t ammunition) {
  struct Slaying {
    int32_t creatureType;
    const char* text;
    const char* wrongType;
  };
  static const Slaying kSlaying[8] = {
      {5, "@HUMANOID_SLAYING_ARROW@\r", "Target is not @HUMANOID@.\r"},
      {8, "@UNDEAD_SLAYING_ARROW@\r", "Target is not @UNDEAD@.\r"},
      {7, "@OUTSIDER_SLAYING_ARROW@\r", "Target is not @OUTSIDER@.\r"},
      {4, "@GIANT_SLAYING_ARROW@\r", "Target is not a @GIANT@.\r"},
      {6, "@MONSTROUS_HUMANOID_SLAYING_ARROW@\r", "Target is not a @MONSTROUS_HUMANOID@.\r"},
      {2, "@CONSTRUCT_SLAYING_ARROW@\r", "Target is not a @CONSTRUCT@.\r"},
      {1, "@ANIMAL_SLAYING_ARROW@\r", "Target is not an @ANIMAL@.\r"},
      {3, "@DRAGON_SLAYING_ARROW@\r", "Target is not a @DRAGON@.\r"},
  };
  const Slaying& arrow = kSlaying[ammunition - 9];
  CreatureRecord& t = Creatures[a.target];
  if (t.type != arrow.creatureType) {
    LogMessage("%s", arrow.wrongType);
    return;
  }
  const bool lifeless = t.type == 8 || t.type == 2;
  if (IsImmune(a.target, lifeless ? kImmDisintegration : kImmDeath)) {
    if (lifeless) LogMessage(HL "%s" HL " is immune to " HL "DISINTEGRATION" HL " effects.\r", t.name);
    else LogMessage(HL "%s" HL " is immune to " HL "DEATH" HL " effects.\r", t.name);
    return;
  }
  if (SavingThrow(a.target, kFortitude, 23, nullptr)) {
    SetEvent(NextEvent(a), 58, 0, a.target, 0);
    return;
  }
  t.hitPoints -= 10000;
  SetEvent(NextEvent(a), 11, 10000, a.target, 40);
  LogMessage("%s", arrow.text);
  if (lifeless) LogMessage(HL "%s" HL " is destroyed instantly.\r", t.name);
  else LogMessage(HL "%s" HL " dies instantly.\r", t.name);
}

}  // namespace

void AddAlignmentLogKeywords(std::vector<LogKeyword>* out) {
  for (const AlignmentDamage& d : kAlignmentDamages)
    out->push_back({std::string("@") + d.keyword + "@", "src/combat/resolution/weapon_abilities.cpp"});
}

void ApplyWeaponMagic(AttackContext& a) {
  const CraftedWeaponRecord& w = CraftedWeapons[a.weaponItem];
  AlignmentDamages(a, w);
  EnergyWeapons(a, w);
  if (w.properties[kDisruption] != 0 && !Disruption(a)) return;
  if (w.properties[kBane] != 0) Bane(a);
  if (w.properties[kBlindness] != 0) Blindness(a);
  if (w.properties[kVorpal] != 0) Vorpal(a);
  if (w.properties[kWounding] != 0) Wounding(a);
  if (w.properties[kLifeStealing] != 0) LifeStealing(a);
  const int32_t ammunition = AmmunitionType(a);
  if (ammunition == 8) SleepingArrow(a);
  if (ammunition >= 9 && ammunition <= 16) SlayingArrow(a, ammunition);
}
