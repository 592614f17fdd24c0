// The playback of the queued combat events over the creature they concern,
// done in the two creature passes of the map view: what the figure shows
// (the death flash, the size change), then the event's sound, effect and number.
#pragma once
#include <cstdint>

// The drawing scale (horizontal, vertical) a creature had before a size change.
extern float ResizeStartScale[2];

// After PlaybackCreature's figure is drawn (the frame, position and scale it
// was drawn with).
void PlayEventOverFigure(int creature, int sheet, int frame, int x, int y, float scaleX, float scaleY);
// In the label pass, over PlaybackCreature.
void PlayEventOverLabels(int creature);
