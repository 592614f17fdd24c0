#include "state/fighter_slots.h"

#include "engine/reset_words.h"

FighterSlot FighterSlots[kFighterSlots];
int32_t FighterCount = 0;
FighterSlot FighterSlotBackup[kFighterSlots];

void ResetFighterSlotsState() {
  ResetWords(FighterSlots);
  ResetWords(FighterSlotBackup);
  FighterCount = 0;
}
