// Armour class: the one place it is summed, in three variants (normal, touch,
// energy), optionally against an attacker and a melee or ranged attack, with
// its breakdown.
#pragma once
#include <cstdint>

#include "rules/modifier_list.h"

// Attack forms.
constexpr uint8_t kAttackMelee = 0;
constexpr uint8_t kAttackRanged = 1;

// Returns the defender's armour class. With a list, its caption and help
// topic are written; with a count as well, each source is written as a pair
// at *count (which advances) while fewer than 20 are used, and the sum goes
// on past that. The caller stores the result as the list's total. attacker
// may be -1; form 0 melee, 1 ranged, anything else neither.
int32_t ComputeArmourClass(int defender, ModifierList* list, int* count, uint8_t touch, int attacker,
                           uint8_t form, uint8_t energy);

// Whether the defender stands on a corner of the attacker's ring with a wall
// (codes 46 to 55 or 5,000 in the walls layer, or in combat a solid magic
// area) on one of the two squares between them. Squares off the map count
// as no wall.
bool IsDiagonalAcrossCorner(int attacker, int defender);
