// Small routines the resolution of an attack relies on: whether a creature
// fights blind, the damage a caster takes while casting (and the running
// damage of the attack, for the coup de grace), and running out of ammunition.
#pragma once
#include <cstdint>

// Blinded or Can't_see; for a creature of sense kind 5 also Deafened or Silenced.
bool IsBlinded(int creature);

// The damage dealt by the attack being resolved so far (the coup-de-grace
// save's difficulty counts it); attack resolution sets it to 0.
extern int32_t AttackDamageTotal;
// Adds the damage to the attack's running total; when the damaged creature is
// casting (the acting fighter with a spell in progress, hurt by someone else,
// or a creature whose queued action is a cast) its Damaged_While_Casting
// entry becomes one of duration 1, source 24 and the damage added to its
// value. True when a caster was marked.
bool MarkDamagedWhileCasting(int damaged, int attacker, int32_t damage);

// When the creature has an ammunition item but no piece of it left: the slot
// is cleared, "... is out of ammunition." is logged, the action waiting for
// a target is forgotten and "Out of ammunition" floats over it.
void ReportOutOfAmmunition(int creature);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetAttackSupportState();
