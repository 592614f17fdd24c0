// What the rules let a fighter make, worked out from its record alone and
// never from the attack profile the game builds: the forms of a full attack
// in the order the profile lists them, each with its attacks (by base attack
// bonus, the extra attack of haste or a speed weapon, natural attacks and the
// hands weapons keep busy, an off-hand weapon's attacks by the two-weapon
// feats, a crossbow's reloading, Slowed leaving one), and the attacks of a
// grapple. The battle check compares these with the profile the game hands
// to each attack, entry by entry.
#pragma once
#include <cstdint>

#include "rules/attack_profile.h"

namespace battles {

struct FormAttacks {
  int32_t kind = kEntryNone;  // the entry kind; kEntryNone: no form at this entry
  int32_t attacks = 0;
  bool extra = false;  // one of them is haste's or a speed weapon's, at the full bonus
};

struct AllowedForms {
  FormAttacks entries[kAttackProfileEntries];
};

// Attacks a turn by base attack bonus: one, and one more at 6, 11 and 16.
int32_t AttacksByBaseAttack(int32_t baseAttack);

// The forms of the creature's full attack, entry by entry: the main hand,
// the off hand beside it, the natural attacks up to the first empty slot
// (hand attacks the weapons leave no hand for left out), then the ranged
// weapon, never at the first entry. `alternate`: the second form (natural
// slot 3 first, no weapons). A grapple has one entry: its first natural
// form giving the grapple attacks, or with none the ranged weapon.
AllowedForms FormsAllowed(int creature, bool alternate, bool grapple);

// The grapple attacks a turn: by base attack bonus, one more when Hasted,
// two more with rake; Slowed leaves one.
int32_t GrappleAttacksAllowed(int creature);

}  // namespace battles
