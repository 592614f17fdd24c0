// The vocabulary the computer fighters weigh targets with: whether a target
// is free (not summoned, controlled or dominated), the weapon's special
// abilities against it, and how its damage reduction fares against the attack.
#pragma once
#include <cstdint>

// The target holds none of Summoned_Creature, Controlled and Dominated.
bool IsFreeTarget(int target);
// The crafted item an attack-profile entry kind strikes with (1 main hand, 2
// off hand, 7 ranged), 0 for natural attacks and empty hands.
uint32_t WeaponOfEntry(int attacker, int32_t entryKind);

// The special bonuses of the attack against the target, each 0 when it does
// not apply: a paralysing natural attack (16), and for the weapon its
// blinding (552), bane (600), disruption (596) and brilliant energy (548)
// abilities. The values are those given.
struct SpecialValues {
  int32_t paralysing, blinding, bane, disruption, brilliant;
};
SpecialValues SpecialTerms(int attacker, int32_t entryKind, int target, const SpecialValues& values);
int32_t LargestOf(const SpecialValues& s);
int32_t SumOf(const SpecialValues& s);

// Whether the attack of that entry kind gets past the target's damage
// reduction (always, when it has none).
bool OvercomesDamageReduction(int attacker, int32_t entryKind, int target);
// The damage-reduction weighting: overcome, else by the reduction amount at
// most 3, 9 and 14 (nothing above 14).
int32_t ResistTerm(int attacker, int32_t entryKind, int target, const int32_t values[4]);

// The kind of an attack-profile entry of the creature (0 none).
int32_t EntryKindOf(int creature, int entry);
