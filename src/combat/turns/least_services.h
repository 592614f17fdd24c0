// Least versions of the computer fighters' services the casting steps call,
// standing until the target choice, the usefulness and immunity tests and the
// area placement of the computer-controlled fighters replace them.
#pragma once
#include <cstdint>

#include "rules/adjacency.h"  // GridSquare

// Whether the creature can cast now; outIndex (may be null) gets the index
// of the blocking condition entry, -1 none.
bool CanCastSpells(int creature, int* outIndex);

// A friend of the caster for the current spell / the enemy the current spell
// is best spent on; -1 none.
int ChooseSpellTarget();
int ChooseBestSpellTarget();

// Whether the target is immune to the current spell (its immunity codes at
// 1 or 5), and whether the effect would change nothing on it.
bool IsImmuneToSpell(int target);
bool IsEffectWastedOnTarget(int target);
bool IsMoraleEffectWasted(int target);
bool IsBreathEffectWasted(int target);

// Valuation of squares for an area spell of the current caster; the best
// centre of a burst ((-1, -1) none) / the best end of a line (false none).
void FillAreaTargetWeights();
GridSquare FindCircle();
bool FindLineTarget(int32_t* outX, int32_t* outY);

// Spells 107, 119, 133, 144, 162, 109, 120, 134, 145, 161.
bool IsGroupSpell10(int spell);
// The squared reach of the spell's range kind: personal 0, touch 2, 15 feet
// 9, 35 feet 49, 60 feet 144; -1 unlimited.
int RangeClassSquared(int spell);

// The two immunity codes of the acting creature's special attack.
int BreathWeaponImmunityCode1();
int BreathWeaponImmunityCode2();
