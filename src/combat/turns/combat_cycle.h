// The combat state machine's step and its pause.
#pragma once
#include <cstdint>

// 1 while the turn cycle waits for the player to read; the second pause byte
// is cleared with it.
extern uint8_t CombatPause;
extern uint8_t CombatPauseSecond;

// One step of the combat state machine; 0 ends the program.
int CombatCycle();

// Puts the words above back to their start-up values (a new game, and tests).
void ResetCombatCycleState();
