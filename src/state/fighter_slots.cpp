#include "state/fighter_slots.h"

#include <algorithm>
#include <cstring>

#include "platform/system.h"

FighterSlot FighterSlots[kFighterSlots];
int32_t FighterCount = 0;
FighterSlot FighterSlotBackup[kFighterSlots];

namespace {

// The slots the last rebuild filled: kept in memory when the tables are
// cleared, as it tells which pages hold words (no game state, no end).
int LatelyFilled = 0;

}  // namespace

void ResetFighterSlotsState() {
  ZeroFighterSlots(FighterSlots, 0, FighterCount);
  ZeroFighterSlots(FighterSlotBackup, 0, FighterCount);
  FighterCount = 0;
}

void ZeroFighterSlots(FighterSlot* table, int from, int inUse) {
  from = std::clamp(from, 0, kFighterSlots);
  const int inPlace = std::clamp(std::max(inUse, LatelyFilled), from, kFighterSlots);
  std::memset(static_cast<void*>(table + from), 0, sizeof(FighterSlot) * (inPlace - from));
  platform::ZeroBytes(table + inPlace, sizeof(FighterSlot) * (kFighterSlots - inPlace));
}

void NoteFighterSlotsFilled(int count) { LatelyFilled = std::clamp(count, 0, kFighterSlots); }
