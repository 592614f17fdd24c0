// The party's walk on the map: gathering on the leading character and
// cancelling the walk of all four.
#pragma once
#include <cstdint>

// The four walking-state bytes of the party members.
extern uint8_t PartyWalking[4];

// Puts the square (and next square) of all four party creatures on the leading character's square.
void GatherPartyOnLeader();
// Clears the walking-state bytes and the pending walk-to interaction and
// resets the paths of the four party creatures.
void CancelPartyWalk();

// Puts the words above back to their start-up values (a new game, and tests).
void ResetPartyWalkState();
