#include "state/fighter_slots.h"

#include "engine/reset_words.h"

FighterSlot FighterSlots[kFighterSlots];
int32_t FighterCount = 0;

void ResetFighterSlotsState() {
  ResetWords(FighterSlots);
  FighterCount = 0;
}
