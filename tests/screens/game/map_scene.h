// Shared by the map view's tests and benchmark: the game started headless, a
// clean state, a 60 by 60 test map explored everywhere, and creatures placed
// on it in fighter slots; the map view drawn in a scene of its own.
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/frame.h"
#include "engine/graphics.h"
#include "engine/settings.h"
#include "engine/sprite_sheets.h"
#include "engine/static_layers.h"
#include "frontend/game_reset.h"
#include "harness/harness.h"
#include "game_screen_fixture.h"
#include "map/map_record.h"
#include "map/party_vision.h"
#include "rules/creature_record.h"
#include "screens/game/frame_words.h"
#include "state/game_screen_words.h"
#include "screens/game/map_view.h"
#include "screens/game/missile_flight.h"
#include "state/camera.h"
#include "state/fighter_slots.h"

namespace mapscene {

constexpr int kMap = screentest::kMap;

// A clean state with a map of 60 by 60 squares of one ground everywhere, all
// of it explored, and the view at the map's top-left corner.
inline void LayOutMap(int ground = 1) {
  screentest::LayOutMap(kMapSide, kMapSide);
  for (int i = 0; i < kMapSquares; ++i) CurrentMap.layers[kLayerGround][i] = ground;
  std::memset(FogGrid, 0, sizeof FogGrid);
  ViewOriginX = ViewOriginY = 0;
  FirstVisibleX = FirstVisibleY = SquareOffsetX = SquareOffsetY = 0;
  FocusSquareX = 7;
  FocusSquareY = 5;
}

// An enemy standing on (x, y) in the next fighter slot, with a figure of a
// size class, a footprint of squares by squares and a drawn size.
inline int Place(int id, int x, int y, int figure, int sizeClass = 1, int squares = 1, int width = 24,
                 int height = 24) {
  CreatureRecord& c = screentest::Place(id, x, y, kAllegianceEnemy);
  c.footprintWidth = c.footprintHeight = {squares, squares};
  c.figureSize[0] = {width, width};
  c.figureSize[1] = {height, height};
  c.figure = figure;
  c.displayWords[kDisplayFigureSize] = sizeClass;
  return id;
}

// The tint colour of the frame.
inline uint32_t Tint() {
  return 0xFF000000u | (AmbientTint[0] & 0xFF) << 16 | (AmbientTint[1] & 0xFF) << 8 | (AmbientTint[2] & 0xFF);
}

// The map view of the 320x240 picture drawn in a scene of its own, its
// passes in the frame's order, and the missile.
inline void DrawScene() {
  BeginScene();
  ClearScreen(0xFF000000u);
  BeginSprite();
  std::memset(AmbientSourceFlags, 0, sizeof AmbientSourceFlags);
  const uint32_t tint = Tint();
  DrawGroundPass(11, 14, tint);
  DrawCombatOverlays(11, 14, tint);
  DrawWallTops(11, 14, tint);
  BuildDrawList(11, 14, tint);
  DrawCreatureFigures(11, 14, tint);
  DrawUpperPasses(11, 14, tint);
  DrawCreatureLabels(11, 14);
  DrawMissileSprite();
  EndSprite();
  EndScene();
}

// The sheet draws of one scene (every pass drawn, none copied from a kept picture).
inline std::vector<SheetDraw> RecordScene() {
  ForgetStaticLayers();
  std::vector<SheetDraw> draws;
  RecordSheetDraws(&draws);
  DrawScene();
  RecordSheetDraws(nullptr);
  return draws;
}

}  // namespace mapscene
