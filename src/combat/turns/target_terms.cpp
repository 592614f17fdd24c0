#include "combat/turns/target_terms.h"

#include <algorithm>

#include "combat/resolution/attack_resolution.h"
#include "combat/turns/decision_words.h"
#include "map/fighter_tests.h"
#include "rules/attack_profile.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"

bool IsFreeTarget(int target) {
  return !HasCondition(target, kCondSummonedCreature) && !HasCondition(target, kCondControlled) &&
         !HasCondition(target, kCondDominated);
}

uint32_t WeaponOfEntry(int attacker, int32_t entryKind) {
  const CreatureRecord& c = Creatures[attacker];
  uint32_t code = 0;
  if (entryKind == kEntryMainHand) code = c.equipment[kSlotRightHand - 1];
  if (entryKind == kEntryOffHand) code = c.equipment[kSlotLeftHand - 1];
  if (entryKind == kEntryRanged) code = c.equipment[kSlotRanged - 1];
  return IsCraftedCode(code) ? code : 0;
}

SpecialValues SpecialTerms(int attacker, int32_t entryKind, int target, const SpecialValues& values) {
  SpecialValues s{};
  const CreatureRecord& t = Creatures[target];
  if (entryKind >= kEntryNatural0 && entryKind <= kEntryNatural3) {
    const NaturalAttack& n = Creatures[attacker].naturalAttacks[entryKind - kEntryNatural0];
    if ((n.effectKind == 24 || n.riderKind == 24) && GetProtectionValue(target, 27) != 1 &&
        !HasCondition(target, kCondParalyzed))
      s.paralysing = values.paralysing;
    return s;
  }
  const uint32_t weapon = WeaponOfEntry(attacker, entryKind);
  if (weapon == 0) return s;
  const CraftedWeaponRecord& w = CraftedWeapons[weapon];
  // Property words at bytes 548, 552, 596 and 600 of the crafted record.
  if (w.properties[3] != 0 && GetProtectionValue(target, 53) != 1 && !HasCondition(target, kCondBlinded))
    s.blinding = values.blinding;
  if (w.properties[15] != 0 && GetProtectionValue(target, 24) != 1 && GetProtectionValue(target, 38) != 1 &&
      !HasCondition(target, kCondBadMorale))
    s.bane = values.bane;
  if (w.properties[14] != 0 && t.type == 8) s.disruption = values.disruption;
  if (w.properties[2] != 0 && t.type != 8 && t.type != 2) s.brilliant = values.brilliant;
  return s;
}

int32_t LargestOf(const SpecialValues& s) {
  return std::max({s.paralysing, s.blinding, s.bane, s.disruption, s.brilliant});
}
int32_t SumOf(const SpecialValues& s) { return s.paralysing + s.blinding + s.bane + s.disruption + s.brilliant; }

bool OvercomesDamageReduction(int attacker, int32_t entryKind, int target) {
  const CreatureRecord& t = Creatures[target];
  if (t.protections[kProtDamageReduction].current <= 0) return true;
  const int32_t kind = t.protections[kProtDamageReductionKind].current;
  const bool natural = entryKind >= kEntryNatural0 && entryKind <= kEntryNatural3;
  int32_t code = 1;
  const uint32_t weapon = WeaponOfEntry(attacker, entryKind);
  if (natural) {
    code = Creatures[attacker].naturalAttacks[entryKind - kEntryNatural0].effectKind;
  } else if (weapon != 0) {
    const int32_t k = CraftedWeapons[weapon].damageKind;
    code = k == 1 ? 2 : k == 3 ? 3 : 1;
  }
  return !DamageReductionKindApplies(kind, code, natural, entryKind == kEntryRanged, static_cast<int32_t>(weapon));
}

int32_t ResistTerm(int attacker, int32_t entryKind, int target, const int32_t values[4]) {
  if (OvercomesDamageReduction(attacker, entryKind, target)) return values[0];
  const int32_t amount = Creatures[target].protections[kProtDamageReduction].current;
  if (amount <= 3) return values[1];
  if (amount <= 9) return values[2];
  if (amount <= 14) return values[3];
  return 0;
}

int32_t EntryKindOf(int creature, int entry) {
  static AttackProfile profile;
  if (entry < 0 || entry >= kAttackProfileEntries) return kEntryNone;
  BuildAttackProfile(&profile, creature, SecondTactic, -1, 0, 0);
  return profile.entries[entry].kind;
}
