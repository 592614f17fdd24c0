// The looping ambient sounds of the map view.
#pragma once

// Once a frame, after the map view has raised the AmbientSourceFlags.
void UpdateAmbientSounds();
