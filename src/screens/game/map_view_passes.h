// The passes of the map view that the game screen frame runs in their fixed
// order, each over the visible squares (rows + 1 by cols + 1) or the
// creatures in view, drawn in the tint colour of the frame.
#pragma once
#include <cstdint>

// The fallen party members found where they lie (fallen_members.h), then
// the ground, feature and floor pass, the object and wall layers and the
// fallen members lying on the ground.
void DrawGroundPass(int rows, int cols, uint32_t tint);
// In combat, or while a spell waits: the area mask, the move range, the
// shading and the square overlays below the creatures.
void DrawCombatOverlays(int rows, int cols, uint32_t tint);
// The wall tops of large objects and the per-square markers.
void DrawWallTops(int rows, int cols, uint32_t tint);
// The floating texts counted down, the list of the creatures in view built
// in draw order, and the objects of every view row.
void BuildDrawList(int rows, int cols, uint32_t tint);
// The creatures in draw order: figures, silhouettes, the first step of the
// event playback and the objects in front of them.
void DrawCreatureFigures(int rows, int cols, uint32_t tint);
// The upper parts of large objects, the area effects of combat, the casting
// area, the rain, the debug overlays and the light sources.
void DrawUpperPasses(int rows, int cols, uint32_t tint);
// The labels over every drawn creature: the second step of the event
// playback, chances, floating texts, condition icons, queued spells and the
// marker of the acting fighter.
void DrawCreatureLabels(int rows, int cols);
