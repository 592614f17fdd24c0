// Missiles in flight: setting up the flight of an arrow, bolt or spell
// missile from the shooter toward a square at a fixed speed along the line,
// turned to its direction, and the missile's sprite in the map view.
#pragma once
#include <cstdint>

#include "screens/game/overlay_sections.h"

// The flight of the current spell's missile from its caster (SpellCaster)
// toward the map cursor's square. True.
bool MissileFrame();
// (state/casting_services.h: MissileFrame(caster, targetX, targetY), the
// same from a given caster toward a given square.)

// DrawMissileSprite (overlay_sections.h): the missile's sprite with its
// glow, while it flies and is in view.
