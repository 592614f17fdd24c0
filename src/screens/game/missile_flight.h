// Missiles in flight and their sprite in the map view.
#pragma once
#include <cstdint>

// The missile's sprite with its glow, while it flies and is in view.
void DrawMissileSprite();
