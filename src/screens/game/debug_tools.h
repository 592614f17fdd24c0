// The game screen's tools for the debug flag: the map-switch tool with its
// caption, and the key chord that ends the program.
#pragma once
#include <cstdint>

#include "screens/game/overlay_sections.h"  // DrawDebugMapTool, DebugExitChord

// 1 while the map-switch tool is open; the map it switches to (0 to 40).
extern uint8_t DebugMapTool;
extern int32_t DebugMapNumber;

// DrawDebugMapTool: while the debug flag and the tool are on, the whole map
// explored, the tool's caption, "=" / "0" and "-" / "9" to choose the map,
// Left Shift with T to go there with the party on the map cursor's square.
// DebugExitChord: with the debug flag on, Left Shift and Escape held
// together end the sprite batch and answer true (the program ends).

// Puts the words above back to their start-up values (a new game, and tests).
void ResetDebugToolsState();
