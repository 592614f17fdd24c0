// Combat actions: starting a battle, carrying out the acting fighter's action,
// deaths and the end of combat. (The shared action block and the services the
// map calls are declared in state/combat_action.h.)
#pragma once
#include <cstdint>

#include "combat/actions/action_executor.h"  // ExecuteCombatAction
#include "state/combat_action.h"

// Tests whether the party and the creatures of the map meet and, when they
// do, starts a battle; 1 when one began or a talker's script ran.
int StartCombat(int recheck);
// The fall of an attacked creature (the main target, or an attacker hit by
// an energy defence): as RemoveFromCombat, without recomputing it, with its
// death event in the second extra event. 10 no change, 11 died, 12
// unconscious, 13 petrified.
int HandleFallAfterAttack(int creature);
