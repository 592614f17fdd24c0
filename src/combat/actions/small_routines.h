// Routines of a few lines that the executor and the sequencer call: where a
// blind or grapple-crossing shot goes, where a spell into a grapple goes and
// the aim of a computer caster. (The map change with its sound and the item
// scripts are walking's; the spell sounds the casting checks'; the cursor
// clamp the cursor checks'.)
#pragma once

// A blinded shooter that is not next to its target shoots at one of the
// creatures on and around the target's nearest square, picked at random
// (with one, the target stays). True.
bool RandomizeBlindShotTarget();
// A shot at a Grappling target goes to its partner on a 50 % roll when the
// shooter sees the partner. True.
bool RandomizeGrappleShotTarget();
// The same for a spell of the current caster: the target, or its partner.
int RandomizeGrappleSpellTarget(int target);
// The current spell aimed at the first creature of the area list: the
// caster's planned action in combat, the map cursor on the creature's
// square nearest the caster, the missile set up.
void AimSpellAndScroll();
