#include "map/map_switching.h"

uint32_t ObjectBlockCells[kMapSquares][4];
uint32_t SpawnBlockGrid[kMapSquares];
