// Casting actions queued on the game screen: a creature whose turn-order entry
// holds a planned action 24 to 31 is in the middle of casting.
#pragma once
#include <cstdint>

// Set while a queued action is being carried out; a creature with a queued
// action cannot act meanwhile.
extern uint8_t QueuedActionPending;

// In combat, true when the creature's turn-order entry holds a planned action 24 to 31.
bool IsCreatureActionQueued(int creature);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetQueuedActionsState();
