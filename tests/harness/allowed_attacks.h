// What the rules let a fighter make, worked out from its record alone and
// never from the attack profile the game builds: the attacks of each form of
// a full attack (by base attack bonus, the extra attack of haste or a speed
// weapon, natural attacks and the hands weapons keep busy, an off-hand
// weapon's attacks by the two-weapon feats, a crossbow's reloading, Slowed
// leaving one), and the attacks of a grapple. The battle check compares
// these with the profile the game hands to each attack.
#pragma once
#include <cstdint>

namespace battles {

struct FormAttacks {
  int32_t attacks = 0;  // 0: the rules give the creature no such form
  bool extra = false;   // one of them is haste's or a speed weapon's, at the full bonus
};

// Attacks a turn by base attack bonus: one, and one more at 6, 11 and 16.
int32_t AttacksByBaseAttack(int32_t baseAttack);

// The attacks of the form of that entry kind (1 main hand, 2 off hand, 3 to
// 6 natural slots 0 to 3, 7 ranged weapon). `alternate`: the full attack of
// the creature's second form (natural slot 3 first, no weapons).
FormAttacks AttacksOfForm(int creature, int32_t kind, bool alternate);

// The grapple attacks a turn: by base attack bonus, one more when Hasted,
// two more with rake; Slowed leaves one.
int32_t GrappleAttacksAllowed(int creature);

}  // namespace battles
