// The looping ambient sounds of the map view: each sound-making feature the
// map passes drew this frame keeps its sound looping on its own channel,
// louder when it lies near the focus square; the campfire's sound is panned
// toward it and damps the rain, the other features and the music.
#pragma once

// UpdateAmbientSounds (overlay_sections.h): once a frame, after the map view
// has raised the AmbientSourceFlags.
#include "screens/game/overlay_sections.h"
