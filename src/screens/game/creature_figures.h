// The creatures of the map view: the draw list of the creatures in view,
// sorted by their foot lines so that a creature further down covers one
// above it, their figures (pose, size, dimming, translucency, the blinking
// outline of the hovered creature) and the labels written over them.
#pragma once
#include <cstdint>

#include "rules/creature_record.h"
#include "screens/game/map_view_passes.h"  // BuildDrawList, DrawCreatureFigures, DrawCreatureLabels

constexpr int kDrawListSize = 300;
struct DrawListEntry {
  int32_t creature;
  int32_t footLine;  // pixel y of the figure's bottom edge on the map
};
extern DrawListEntry DrawList[kDrawListSize];
extern int32_t DrawListCount;
// Set when the party leader (exploring) or the fighter whose turn it is
// (in combat) stands in the view.
extern uint8_t ActiveFighterOnScreen;

// Where each creature's figure was drawn this frame (-1 when not drawn, but
// a figure a pixel left of or above the view's edge stands there too).
extern int32_t ScreenPosX[kCreatureCount];
extern int32_t ScreenPosY[kCreatureCount];
// Whether the creature's figure is drawn this frame.
bool FigureDrawn(int creature);
// The figure's centre on the screen (screen position plus half its drawn size).
void FigureCentre(int creature, int* cx, int* cy);
// The colour a figure is drawn in: the frame's tint at the alpha, dimmed
// (red to 75 %, green and blue to 63 %) for a creature only remembered.
uint32_t FigureColour(bool dimmed, uint32_t alpha);

// The amount or short text an event shows over a creature (a blow's or a
// spell's damage, "STR 2") at (x, y) of the view, or as near as it stands
// free: whole inside the view, off the panels over the map and off the
// labels placed before it, as a floating text; left out where it could
// only lie on a panel.
void DrawEventAmount(int creature, const char* text, int x, int y);

// Whether a box of the picture's pixels (right and bottom excluded) meets a
// mark the map view drew this frame or would draw there: a chance over a
// creature, a condition icon, the turn marker, a path arrow, a square of the
// line of fire. A hint beside the pointer keeps off them.
bool MapMarksMeet(int left, int top, int right, int bottom);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetCreatureFiguresState();
