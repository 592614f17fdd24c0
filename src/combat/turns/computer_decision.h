// The decision of a computer-controlled fighter (combat state 2).
#pragma once
#include <cstdint>

// The creature whose spellcasting a readied fighter waits to disrupt, -1 none.
extern int32_t DisruptionTarget;

// Decides the acting fighter's action: an action code with state 3, or the
// end of its turn (state 4). Until the fighters' tactics exist, a computer
// fighter ends its turn.
void DecideComputerAction();

// 1 when a computer-controlled caster about to step onto (x, y) casts its
// fire area spell first (the cast is then set up and the step waits). Until
// the fighters' tactics exist it never does: 0.
int CheckMagicFireCasting(int creature, int x, int y);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetComputerDecisionState();
