// The words of the local map and world map screens.
#pragma once
#include <cstdint>

// The local map's blinking markers: a frame counter 0 to 11 and the phase
// (1: markers shown) that flips each time the counter comes round.
extern int32_t LocalMapBlinkCounter;
extern int32_t LocalMapBlinkPhase;
// Frames since the world map's ambient sound was last faded (0 to 9).
extern int32_t WorldAmbientFrames;

// The frame of sheet 13 that stands for the current map's square (x, y) on
// the local map's plan, by its wall-and-feature code and its neighbours'.
int LocalMapPlanFrame(int x, int y);
