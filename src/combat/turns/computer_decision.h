// The decision of a computer-controlled fighter (combat state 2).
#pragma once
#include <cstdint>

// The creature whose spellcasting a readied fighter waits to disrupt, -1 none.
extern int32_t DisruptionTarget;

// Decides the acting fighter's action: an action code with state 3, or the
// end of its turn (state 4). Until the fighters' tactics exist, a computer
// fighter ends its turn.
void DecideComputerAction();

// 1 when a computer-controlled caster about to step onto (x, y), which holds
// fire that would burn it, stops instead: to dispel the fire (its spell-like
// DISPEL, a wand of it or its own slots) or to shield itself against it
// (ICE_SHIELD, PROTECTION_(FIRE) or GREATER_PROTECTION_(FIRE)), the cast then
// set up for the combat sequencer; or, its standard action spent, to end its
// turn. 0 when it walks on (combat/turns/magic_fire.cpp).
int CheckMagicFireCasting(int creature, int x, int y);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetComputerDecisionState();
