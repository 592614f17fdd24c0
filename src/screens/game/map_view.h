// The map view: the squares of the current map drawn in passes over the
// visible squares, with the creatures (creature_figures.h) drawn between
// them, so that later passes cover earlier ones. The game screen frame runs
// the passes of map_view_passes.h in their order; the words they share with
// the frame (the ambient sources, the campfire square, the hidden map) are in
// frame_words.h.
#pragma once
#include <cstdint>

#include "screens/game/frame_words.h"
#include "screens/game/map_view_passes.h"

// Debug words: the wall codes are marked, the computer's valuation grid is
// written on the squares.
extern uint8_t WallCodeOverlay;
extern uint8_t ShowValuationGrid;
// The flicker of the flames (0 or 1 pixel on each axis).
extern int32_t TorchJitterX, TorchJitterY;

// Puts the words above back to their start-up values (a new game, and tests).
void ResetMapViewState();
