// The game screen's tools for the debug flag: the map-switch tool with its
// caption, and the key chord that ends the program.
#pragma once
#include <cstdint>

// While the debug flag and the tool are on: the map-switch tool.
void RunDebugMapTool();
// With the debug flag on, Left Shift and Escape held together: true, and the
// game screen frame ends the program.
bool DebugExitChordHeld();
