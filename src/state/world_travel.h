// The world-map words set when the local map is left for the world map.
#pragma once
#include <cstdint>

// 1 while the party leader's travel destination is marked.
extern uint8_t TravelDestinationShown;
// The party's square on the world map.
extern uint32_t PartyWorldSquare[2];
// The world map's ambient sound (sound channel 19): started by the world
// map's input, which sets the flag; the world map screen fades the channel
// in toward 100 while the flag is set and out to 0 (then stops it) after.
extern uint8_t WorldAmbientOn;
extern uint32_t WorldAmbientLevel;
// The current local map's square on the world map (0, 0 when unknown).
extern uint32_t CurrentMapWorldSquare[2];

// The world map: screen mode 9, travel marker off, the party put on the
// current map's world square when that is known.
void ShowLocalMapMode();

// Puts the words above back to their start-up values (a new game, and tests).
void ResetWorldTravelState();
