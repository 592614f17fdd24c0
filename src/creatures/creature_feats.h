// Feats of created creatures: the proficiencies their gear needs and the
// random picks that spend the feats left after the fixed grants.
//
// Every pick gathers the feats whose prerequisites the creature meets, in
// ascending feat order, and grants one of them with equal chance. Abilities
// are base values; base attack bonus and level are the record's.
#pragma once

#include "rules/feat_ids.h"

// Grants the proficiency the prepared row of a weapon option (row 4951 +
// option) asks for: simple, the weapon's martial or exotic feat, light,
// medium or heavy armour, or shields. Option 0 (or one outside 1 to 48)
// grants nothing. Returns 1.
int GrantWeaponProficiency(int option, int creature);

// One general feat: TOUGHNESS is always a candidate (+3 base, maximum and
// current hit points each time), so a feat is always granted. Returns 1.
int PickGeneralFeat(int creature);

// One combat feat for the creature's weapon options; with no candidate it
// picks a general feat instead. Returns 1.
int PickCombatFeat(int mainWeapon, int creature, int offWeapon, int rangedWeapon);

// One caster feat; when the creature already holds every caster feat open
// to it, a general feat instead. Returns 1.
int PickCasterFeat(int creature);

// The feat loop of creature generation: spends `feats` picks. A creature with
// no spell of level 1 left picks combat feats; a caster of casting style 1
// picks a combat and a caster feat in an order a d2 decides, any other caster
// caster feats; a general feat follows each round while feats remain.
void SpendFeatPicks(int creature, int feats, int castingStyle, int mainWeapon, int offWeapon, int rangedWeapon);

// The feat of one weapon option or natural attack kind in the weapon-focus
// block (-1 when the option or kind has none): weapon option k is 69 + k;
// bite 60, claws 61, unarmed 59, gore 62, slam 63, sting 65, tail slap 64,
// touch 67, wings 66.
int WeaponFocusFeatOfOption(int option);
int WeaponFocusFeatOfNaturalKind(int kind);
