// The world-map words set when the local map is left for the world map.
#pragma once
#include <cstdint>

// 1 while the party leader's travel destination is marked.
extern uint8_t TravelDestinationShown;
// The party's square on the world map.
extern uint32_t PartyWorldSquare[2];
// The current local map's square on the world map (0, 0 when unknown).
extern uint32_t CurrentMapWorldSquare[2];

// The world map: screen mode 9, travel marker off, the party put on the
// current map's world square when that is known.
void ShowLocalMapMode();

// Puts the words above back to their start-up values (a new game, and tests).
void ResetWorldTravelState();
