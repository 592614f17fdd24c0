// The map view: the squares of the current map drawn in passes over the
// visible squares, with the creatures (creature_figures.h) drawn between
// them, so that later passes cover earlier ones. The game screen frame calls
// the sections in this order:
//   DrawMapBelowCreatures  ground, floor and features, objects and walls,
//                          the combat overlays and the overlays below creatures
//   DrawWallTops           move arrows, item markers, lower quarters of large objects
//   BuildCreatureDrawList, DrawCreatureFigures
//   DrawMapAboveCreatures  upper quarters, magic areas and animated floors,
//                          the casting area, rain, debug overlays, light sources
//   DrawCreatureLabels
// rows and cols are the last row and column index of the view: (11, 14) in
// the 320x240 picture, (16, 21) in the 480x360 space of the wide window.
#pragma once
#include <cstdint>

// Debug words: the map's squares are not drawn (the fast mode), the wall
// codes are marked, the computer's valuation grid is written on the squares.
extern uint8_t MapHidden;
extern uint8_t WallCodeOverlay;
extern uint8_t ShowValuationGrid;

// The sound-making features drawn this frame: for each source a seen byte and
// a near byte (within 2 squares of the focus square on both axes). Cleared at
// the start of every frame; the ambient sounds read them.
struct AmbientSourcePair {
  uint8_t seen;
  uint8_t near;
};
enum AmbientSource : int {
  kAmbientFeatures = 0,  // animated wall features 86-89
  kAmbientMagic = 1,     // magic areas of kind 1 in combat, floor codes 900-917
  kAmbientFlames = 2,    // torches, braziers and the campfire
  kAmbientCampfire = 3,  // the campfire alone
};
extern AmbientSourcePair AmbientSourceFlags[4];
// The last campfire square drawn.
extern int32_t CampfireSquareX, CampfireSquareY;
// The flicker of the flames (0 or 1 pixel on each axis).
extern int32_t TorchJitterX, TorchJitterY;

void ClearAmbientSourceFlags();

void DrawMapBelowCreatures(int rows, int cols, uint32_t tint);
void DrawWallTops(int rows, int cols, uint32_t tint);
void DrawMapAboveCreatures(int rows, int cols, uint32_t tint);

// The whole map view in its order, from the draw of the ground to the labels
// over the creatures (for callers that draw nothing between the sections).
void DrawMapView(int rows, int cols, uint32_t tint);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetMapViewState();
