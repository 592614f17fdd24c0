// The acting fighter's move in combat, one frame at a time: it walks its
// planned path square by square, pays each square from its movement budget,
// meets the effects of the squares it enters, lets threatening and readied
// enemies react, and on arrival attacks, pounces or ends its action.
#pragma once
#include <cstdint>

// The effects of the square just entered are being applied and shown.
extern uint8_t SquareEffectPlayback;

// One step of the movement codes 1, 5, 6, 7 and 11 (combat state 3).
void CombatMovementStep();
// Called when the mover has entered a square and pays for it, with the
// movement code and the square it left (for a watcher of the rules of a turn).
extern void (*SquarePaidObserver)(int mover, int32_t code, int fromX, int fromY);
// The first enemy next to the mover, readied against an approach, that may
// strike it now (in the order of the turn); -1 none.
int ReadiedEnemyNextTo(int mover);
// Forgets a move that was cut short by the end of the turn.
void ResetMoveInProgress();

// The feet the step from the creature's square to (x, y) costs, with the
// movement rules applied.
int MoveCostToNextSquare(int creature, int x, int y);

// Moves the figure one step of that many pixels in its facing; a footstep
// is heard (slot's channel).
void StepFigureInFacing(int creature, int pixels);
// The figure's walking frame advances every `frames` frames of the slot's counter.
void AnimateWalk(int slot, int frames);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetCombatMovementState();
