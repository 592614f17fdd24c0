#include "map/rain_shelter.h"

uint32_t RainShelterGrid[kMapSquares] = {};
