// Items on the ground: a square keeps up to four objects, one in each of its
// object levels (map layers 4 to 7; codes 5,000 to 9,999 are items). Putting
// an item down near a square looks for the nearest square, reachable from it
// without crossing walls, that still has an empty level.
#pragma once
#include <cstdint>

#include "map/map_record.h"

constexpr int kObjectLevels = 4;
constexpr int kFirstObjectLayer = kLayerObjects0;

// The map a number names: -1 or the current map's number the current map,
// 0 to 40 that stored map; nullptr for any other number.
MapRecord* MapByNumber(int map);

// A square and the layer (4 to 7) of its first empty object level; all -1
// when there is none.
struct FreeSquare {
  int32_t x;
  int32_t y;
  int32_t layer;
};

// The nearest square with an empty object level, reachable from (x, y) by
// king's steps over squares without a wall code, searched ring by ring (within
// a ring the smallest x, then the smallest y). On the current map a walled
// start square is only a seed; on a stored map it may be the answer.
// Creatures do not stop the search. A start square or a map number outside
// the maps finds nothing. The map is not written.
FreeSquare FindFreeSquareNear(int map, int x, int y);

// The empty object levels near (x, y) in the order FindFreeSquareNear gives
// them one after another as each is filled: every free level of a square,
// lowest first, before the next square. Up to `count` go to `out`; returns
// how many there were. One search, however many are wanted.
int FindFreeSquaresNear(int map, int x, int y, int count, FreeSquare* out);

// Puts the code into the object level that FindFreeSquareNear finds near
// (x, y) of the map (-1 the current map); 1, or 0 when no level is free.
int SetMapSquareValue(int map, int x, int y, int32_t code);
