#include "map/rain_shelter.h"

#include "engine/reset_words.h"

uint32_t RainShelterGrid[kMapSquares] = {};

void ResetRainShelterState() {
  ResetWords(RainShelterGrid);
}
