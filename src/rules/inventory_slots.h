// A creature's item places and the four primitive operations on them: put an
// item into a place, take it out, count and find the empty carried pairs.
// The places are numbered by EquipSlot (rules/creature_record.h): 1 to 12 the
// equipment, 13 the ammunition with its count, 21 to 36 the 16 carried pairs.
// The operations check no rule; which item may go where is their callers'.
#pragma once
#include <cstdint>

// The stack held on the inventory cursor: its item code (-1 none), its count
// and the place it was picked up from (-1 none). The screen's names for the
// three words are HeldItemCode, HeldItemCount and HeldItemOrigin.
struct CursorStackWords {
  int32_t code;
  int32_t count;
  int32_t selectedSlot;
};
extern CursorStackWords CursorStack;
extern int32_t& HeldItemCode;
extern int32_t& HeldItemCount;
extern int32_t& HeldItemOrigin;

// Places 1 to 12 store the code (the count is ignored) and recompute the
// creature; place 13 and the carried pairs store code and count. The old
// content is overwritten. 1, or 0 with nothing changed for another number.
int EquipItemInSlot(int creature, int slot, uint32_t code, int32_t count);
// Takes count items (-1 all) out of the place. Equipment places empty whole
// and recompute the creature; the ammunition and the carried pairs only lower
// a larger stack. With destroy 1 an emptied torso, hand, ranged or carried
// place frees the crafted row of a code from 1 to 120, and of a generated
// code when nothing else holds it (before the recompute).
// 1; 0 with nothing changed for another number or a count below -1.
int UnequipSlot(int creature, int slot, int32_t count, int destroy);
// The carried pairs whose code and count are both 0.
unsigned CountFreeItemPairs(int creature);
// The index (0 to 15) of the first carried pair whose code is 0, -1 none; its
// place number is index + 21.
int FindFreeItemPair(int creature);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetInventorySlotsState();
