#include "screens/game/world_travel.h"

uint8_t TravelDestinationShown = 0;
uint32_t PartyWorldSquare[2] = {0, 0};
uint32_t CurrentMapWorldSquare[2] = {0, 0};
