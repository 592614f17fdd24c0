#include "map/free_square.h"

namespace {

enum SearchMark : uint8_t { kUnvisited = 0, kExamined = 1, kReachedThisRound = 2 };

bool InsideGrid(int x, int y) { return x >= 0 && y >= 0 && x < kMapSide && y < kMapSide; }

// The layer of the first empty object level of the square, -1 when all are full.
int32_t FirstFreeLevel(const MapRecord& map, int x, int y) {
  for (int layer = kFirstObjectLayer; layer < kFirstObjectLayer + kObjectLevels; ++layer)
    if (map.At(layer, x, y) == 0) return layer;
  return -1;
}

}  // namespace

MapRecord* MapByNumber(int map) {
  if (map == -1 || map == CurrentMapNumber) return &CurrentMap;
  if (map >= 0 && map < kStoredMapCount) return &StoredMaps[map];
  return nullptr;
}

FreeSquare FindFreeSquareNear(int mapNumber, int x, int y) {
  FreeSquare result = {-1, -1, -1};
  const MapRecord* map = MapByNumber(mapNumber);
  if (map == nullptr || !InsideGrid(x, y)) return result;
  const bool current = map == &CurrentMap;

  if (!current || map->At(kLayerWalls, x, y) == 0) {
    const int32_t layer = FirstFreeLevel(*map, x, y);
    if (layer >= 0) return {x, y, layer};
  }

  uint8_t marks[kMapSquares] = {};
  marks[SquareIndex(x, y)] = kExamined;
  for (;;) {
    // Every examined square reaches its open neighbours.
    for (int sx = 0; sx < kMapSide; ++sx) {
      for (int sy = 0; sy < kMapSide; ++sy) {
        if (marks[SquareIndex(sx, sy)] != kExamined) continue;
        for (int dx = -1; dx <= 1; ++dx) {
          for (int dy = -1; dy <= 1; ++dy) {
            const int nx = sx + dx, ny = sy + dy;
            if ((dx == 0 && dy == 0) || !InsideGrid(nx, ny)) continue;
            uint8_t& mark = marks[SquareIndex(nx, ny)];
            if (mark == kUnvisited && map->At(kLayerWalls, nx, ny) == 0) mark = kReachedThisRound;
          }
        }
      }
    }
    // The squares of the new ring, in order of x, then y.
    bool found = false;
    for (int sx = 0; sx < kMapSide; ++sx) {
      for (int sy = 0; sy < kMapSide; ++sy) {
        uint8_t& mark = marks[SquareIndex(sx, sy)];
        if (mark != kReachedThisRound) continue;
        const int32_t layer = FirstFreeLevel(*map, sx, sy);
        if (layer >= 0) return {sx, sy, layer};
        mark = kExamined;
        found = true;
      }
    }
    if (!found) return result;
  }
}

int SetMapSquareValue(int mapNumber, int x, int y, int32_t code) {
  const FreeSquare square = FindFreeSquareNear(mapNumber, x, y);
  if (square.layer < 0) return 0;
  MapByNumber(mapNumber)->At(square.layer, square.x, square.y) = code;
  return 1;
}
