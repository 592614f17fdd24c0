// Combat actions: starting a battle, carrying out the acting fighter's action,
// deaths and the end of combat. (The shared action block and the services the
// map calls are declared in state/combat_action.h.)
#pragma once
#include <cstdint>

#include "state/combat_action.h"

void StartCombat(int flag);
void ExecuteCombatAction();
// The fall handling of a creature hurt outside the main target (an attacker
// hit by an energy defence): 10 no change, 11 died, 12 unconscious, 13 petrified.
int HandleFallAfterAttack(int creature);
