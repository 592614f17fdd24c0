#include "map/free_square.h"

#include <algorithm>
#include <vector>

namespace {

bool InsideGrid(int x, int y) { return x >= 0 && y >= 0 && x < kMapSide && y < kMapSide; }

// Hands out the empty object levels of the square, lowest first; false once
// `count` have been handed out.
bool TakeFreeLevels(const MapRecord& map, int x, int y, int count, FreeSquare* out, int* found) {
  for (int layer = kFirstObjectLayer; layer < kFirstObjectLayer + kObjectLevels && *found < count; ++layer)
    if (map.At(layer, x, y) == 0) out[(*found)++] = {x, y, layer};
  return *found < count;
}

}  // namespace

MapRecord* MapByNumber(int map) {
  if (map == -1 || map == CurrentMapNumber) return &CurrentMap;
  if (map >= 0 && map < kStoredMapCount) return &StoredMaps[map];
  return nullptr;
}

int FindFreeSquaresNear(int mapNumber, int x, int y, int count, FreeSquare* out) {
  const MapRecord* map = MapByNumber(mapNumber);
  if (map == nullptr || !InsideGrid(x, y) || count <= 0) return 0;
  int found = 0;
  // On the current map a walled start is only where the search begins.
  if ((map != &CurrentMap || map->At(kLayerWalls, x, y) == 0) && !TakeFreeLevels(*map, x, y, count, out, &found))
    return found;
  // Ring by ring over the squares reached by king's steps without crossing a
  // wall; within a ring the smallest x, then the smallest y.
  std::vector<bool> reached(kMapSquares, false);
  reached[SquareIndex(x, y)] = true;
  std::vector<int> ring = {SquareIndex(x, y)}, next;
  while (!ring.empty()) {
    next.clear();
    for (int square : ring) {
      const int sx = square / kMapSide, sy = square % kMapSide;
      for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy) {
          const int nx = sx + dx, ny = sy + dy;
          if ((dx == 0 && dy == 0) || !InsideGrid(nx, ny) || reached[SquareIndex(nx, ny)] ||
              map->At(kLayerWalls, nx, ny) != 0)
            continue;
          reached[SquareIndex(nx, ny)] = true;
          next.push_back(SquareIndex(nx, ny));
        }
    }
    std::sort(next.begin(), next.end());
    for (int square : next)
      if (!TakeFreeLevels(*map, square / kMapSide, square % kMapSide, count, out, &found)) return found;
    ring.swap(next);
  }
  return found;
}

FreeSquare FindFreeSquareNear(int mapNumber, int x, int y) {
  FreeSquare result = {-1, -1, -1};
  FindFreeSquaresNear(mapNumber, x, y, 1, &result);
  return result;
}

int SetMapSquareValue(int mapNumber, int x, int y, int32_t code) {
  const FreeSquare square = FindFreeSquareNear(mapNumber, x, y);
  if (square.layer < 0) return 0;
  MapByNumber(mapNumber)->At(square.layer, square.x, square.y) = code;
  return 1;
}
