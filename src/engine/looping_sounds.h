// The looping ambient channels (17 to 21): their levels, stopping them, and
// their volumes.
#pragma once
#include <cstdint>

// The ambient level (0 to 100) of each looping channel, and whether it sounds.
extern int32_t AmbientChannelLevels[32];

// Stop the looping ambient channels (18, 20, 17, 21; the second also 19 first).
int StopLoopingSounds();
int StopAllLoopingSounds();
