// Entering a square: the lasting spell effects under a creature's footprint
// (insect plague, silence, darkness, entangle, web, fire) act on it one at a
// time across frames, so each effect's text, sound and camera move are seen
// before the next; and the computer's look-ahead of one step into them.
#pragma once
#include <cstdint>

// The next hazard to look at (0 to 6); one arrival is processed at a time.
extern int32_t HazardStep;
// The same word under the movement code's name.
extern int32_t& SquareEffectStep;
// An event of a hazard is on display, its creature (-1 none) and the frames left.
extern uint8_t HazardEventPending;
extern int32_t HazardEventCreature;
extern int32_t HazardCountdown;
// Set when a hazard felled the moving creature; its death ends the turn.
extern uint8_t HazardDeathFlag;
// Set when a hazard ends the creature's move (held by a web, burnt by fire);
// the mover's action ends after the hazard has been shown.
extern uint8_t StopAfterSquareEffect;

// 1 while a hazard event is shown or was just started (call again next
// frame), 0 when every hazard of the arrival is done.
int EnterSquareHazards(int creature);
// True when one step in the creature's facing would take it into a hazard
// that affects it and that it is not already in.
bool SquareHazardCheck(int creature);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetSquareEntryState();
