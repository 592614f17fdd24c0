#include "state/fighter_slots.h"

FighterSlot FighterSlots[kFighterSlots];
int32_t FighterCount = 0;
