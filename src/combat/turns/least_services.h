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
// Turn Undead on a creature already Bolstered (a friend of SpellCaster) or
// Cowering (an enemy); the breath of SpellCaster on one it already holds.
bool IsMoraleEffectWasted(int target);
bool IsBreathEffectWasted(int target);
// The spell's lasting effect already holds on the target (Crushing Despair,
// Waves of Fatigue and Exhaustion; Bane, Bless, Prayer, and Invisibility
// Purge on one with no spell of invisibility); the breath kind's condition.
bool IsEffectWastedOnTarget(int spell, int target);
bool IsConditionEffectWasted(int spell, int target);
bool IsBreathEffectWasted(int kind, int target);

// Spells 107, 119, 133, 144, 162, 109, 120, 134, 145, 161.
bool IsGroupSpell10(int spell);
// The squared reach of the spell's range kind: personal 0, touch 2, 15 feet
// 9, 35 feet 49, 60 feet 144; -1 unlimited.
int RangeClassSquared(int spell);

// The melee valuation of the squares for a creature and the best square of
// it ((-1, -1) when none stands out).
void BuildMeleeValuationGrid(int creature, int caster);
GridSquare ExtractBestSquare(int creature);

// The two immunity codes of the acting creature's special attack.
int BreathWeaponImmunityCode1();
int BreathWeaponImmunityCode2();

// The immunity test with the spell given (the one above reads SpellInProgress).
bool IsImmuneToSpell(int spell, int target);

// A wounded creature the spell would help: the cure and inflict families
// by the target's type, the spell worth casting on it, not summoned,
// controlled or dominated, and at most 100 - threshold per cent of its hit
// points left (never for an unhurt creature or a maximum of 0).
bool IsWorthCuring(int target, int ignored, int spell, int threshold, int caster);
// Whether an area of the kind lies under the creature's footprint once the
// squares of the area mask are cleared of their passing areas (lasting
// cells of 1,000 rounds stay).
bool IsInMagicAreaBeyondMask(int creature, uint32_t kind);
// Whether the creature's footprint would stand clear of walls on every
// square round it.
bool IsAreaFreeOfWalls(int creature);
// A magic protection a dispel would strip, and the number of groups of
// dispellable effects the creature carries.
bool HasProtectiveEffect(int creature);
int CountDispellableEffects(int creature);
// The creature a scripted cast of the caster must reach, -1 none.
int ScriptedSpellTarget(int caster);

// A service of the game screen (implemented there): whether one of the
// eight squares round the creature can be entered.
bool HasReachableSquare(int creature);
