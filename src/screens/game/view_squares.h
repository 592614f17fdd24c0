// The visible squares of the map view, walked row by row: the map square of
// each view column and row, its screen position, and what every pass asks of
// it (inside the map, explored, under magical darkness in combat).
#pragma once
#include <cstdint>

#include "map/map_record.h"
#include "map/party_vision.h"
#include "map/square_grids.h"
#include "state/camera.h"
#include "state/turn_order.h"

struct ViewSquare {
  int x, y;    // map square
  int sx, sy;  // screen position of its top-left corner
  int index;   // x * 60 + y
};

inline bool ViewInside(int x, int y) { return x >= 0 && y >= 0 && x < CurrentMap.width && y < CurrentMap.height; }

inline const uint32_t* ExploredGrid() {
  return CurrentMapNumber >= 0 && CurrentMapNumber < kStoredMapCount ? MapMemory[CurrentMapNumber] : nullptr;
}
inline bool SquareExplored(int index) {
  const uint32_t* memory = ExploredGrid();
  return memory != nullptr && memory[index] != 0;
}
inline bool SquareExplored(int x, int y) { return ViewInside(x, y) && SquareExplored(SquareIndex(x, y)); }
// In combat a square under magical darkness is drawn by no pass.
inline bool DarkInCombat(int index) { return InCombat == 1 && MagicAreaGrid[index].kind == kEffectDarkness; }

// Calls f for every view square inside the map, rows outer, columns inner.
template <typename F>
void ForEachViewSquare(int rows, int cols, F f) {
  for (int r = 0; r <= rows; ++r)
    for (int c = 0; c <= cols; ++c) {
      const int x = FirstVisibleX + c, y = FirstVisibleY + r;
      if (!ViewInside(x, y)) continue;
      f(ViewSquare{x, y, 24 * c - SquareOffsetX, 24 * r - SquareOffsetY, SquareIndex(x, y)});
    }
}
// The same for the squares that are explored and, in combat, not dark.
template <typename F>
void ForEachSeenSquare(int rows, int cols, F f) {
  ForEachViewSquare(rows, cols, [&](const ViewSquare& v) {
    if (SquareExplored(v.index) && !DarkInCombat(v.index)) f(v);
  });
}

// A sheet frame at a logical position at any scale (the position is not scaled).
int DrawMapFrame(int sheet, int frame, int x, int y, uint32_t colour = 0xFFFFFFFFu, float scaleX = 1.0f,
                 float scaleY = 1.0f, float rotation = 0.0f);
// A mark on the map view (a path arrow, a square of the line of fire, a
// condition icon, the turn marker, a bag): a frame at scale 1, left out
// where it would lie on a panel drawn over the map in a battle. Returns 0
// when it was not drawn.
int DrawMapMark(int sheet, int frame, int x, int y, uint32_t colour = 0xFFFFFFFFu);
// Additive blending around the draws of glows and effects.
void BeginAdditive();
void EndAdditive();
