// The combat state machine: once per frame it moves a battle on from fighter
// to fighter (start of combat, end of round, next fighter, start of turn,
// the player's turn or the computer's decision) as far as it can without
// waiting for the screen.
#pragma once
#include <cstdint>

// 1 while the turn cycle waits for the player to read (the computer
// decision's pause); the second pause byte is cleared with it.
extern uint8_t CombatPause;
extern uint8_t CombatPauseSecond;
extern uint8_t& AiPause;
// 1 while a move or animation of the acting fighter plays on screen: the
// next-fighter step and the decision wait until the view has brought it
// into sight (the camera's ViewScrolling under the turn cycle's name).
extern uint8_t& MovementPlaybackActive;
// 1 during the first round when someone was surprised at the start.
extern uint8_t SurpriseRound;
// During the player's turn: 1 when a path to the hovered square exists.
extern uint8_t PathPreviewValid;
// The round under way: 1 when the battle begins, one more at each end of round.
extern int32_t CombatRoundNumber;
// When set, called just before (true) and just after (false) each decision of
// a computer-controlled fighter; a headless run times the decisions with it.
extern void (*ComputerDecisionObserver)(bool before);

// One call of the state machine; returns 1 (0 would end the program).
int CombatCycle();

// Puts the words above back to their start-up values (a new game, and tests).
void ResetCombatCycleState();
