// The creature the party follows on the map.
#pragma once
#include <cstdint>

// Creature id of the leading party member (0 to 3).
extern uint32_t PartyLeader;

// Implemented by the party set-up: swaps two party members (0 to 3), their
// creature records, fighter slots' working data, recent spells and the
// places where they lie fallen.
void SwapPartyMembers(int a, int b);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetPartyLeaderState();
