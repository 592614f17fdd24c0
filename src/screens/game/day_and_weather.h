// The day clock, the tint of the map view by the time of day, the fade to
// black of a rest, and the storms of outdoor maps with their rain, rain
// sound, grey light and rain condition. The words live in
// state/game_screen_words.h; the game screen frame runs the step once a
// frame while exploring or in a dialogue.
#pragma once
#include <cstdint>

#include "state/game_screen_words.h"

// The sound channel and sound of the rain.
constexpr int kRainChannel = 19;
constexpr int kRainSound = 21;

// One step of AmbientTint toward its lighting row: 4 a component while a
// rest fades, else 1, never past the row. Returns 0 (and sets TintSettled)
// when the tint already equals the row, else 1 (TintSettled cleared).
int FadeAmbientTint();
// The lighting row of a time of day: night, dawn, day, dusk, night.
uint32_t LightingRowForTime(uint32_t minutes);
// The rain sound on its channel at that percent of the ambient volume.
int StartRainSound(int volumePercent);
// The day clock, the storm and the light, once a frame in screen modes 0 and 1.
void StepDayAndWeather();

// Puts the step's frame sub-counters back to their start (a new game, and tests).
void ResetDayAndWeatherCounters();
