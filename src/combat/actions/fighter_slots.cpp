#include "combat/actions/fighter_slots.h"

FighterSlot FighterSlots[kFighterSlots];
int32_t FighterCount = 0;
FighterSlot FighterSlotBackup[kFighterSlots];
