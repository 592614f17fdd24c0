// Whether a spell is worth spending on a creature: immunity to it, whether it
// would do anything useful there, and whether an area effect would change
// nothing on a creature it catches. The computer fighters' spell choice, their
// area placement and valuation passes, the player's targeting check and the
// combat sequencer ask these.
#pragma once
#include <cstdint>

// True when the target is immune to the spell (a spell row, 998 Turn Undead,
// 999 the acting creature's special attack): one of the spell's immunity
// codes, or the protection code of its descriptor, is answered 1 (immune) or
// 5 (reversed) by the target. Undead are never immune to the cures and
// inflictions; everything but undead is immune to Turn Undead.
bool IsImmuneToSpell(int spell, int target);

// The two immunity codes that stand for the breath weapon or gaze of the
// creature using it (the caster of the current use, else the acting fighter);
// -1 where there is none.
int BreathWeaponImmunityCode1();
int BreathWeaponImmunityCode2();

// True when the spell is worth casting by the caster on the target. With
// test 1 an area or a grid only asks whether the target would be affected:
// the refusals that belong to a real choice of target are left out.
bool CanCastOnTarget(int caster, int target, int spell, int test);

// The waste tests of area effects (true: the effect would change nothing).
// By spell: Crushing Despair on a creature of bad morale, the waves of
// fatigue and exhaustion on the fatigued, exhausted, undead or constructs.
bool IsEffectWastedOnTarget(int spell, int target);
// By spell, for the bursts round the caster: Bane, Bless, Prayer and
// Invisibility Purge on a creature they would not change.
bool IsConditionEffectWasted(int spell, int target);
// Turn Undead (code 998) on an ally of the acting fighter already bolstered,
// or on an enemy already cowering.
bool IsMoraleEffectWasted(int code, int target);
// By breath kind: sleep on the sleeping or dancing, slow on the slowed,
// paralysis on the paralysed.
bool IsBreathEffectWasted(int kind, int target);
