// The inventory's slots: the stack held on the cursor, and putting items into
// and taking them out of a creature's equipment and carried pairs.
#pragma once
#include <cstdint>

// The stack held on the inventory cursor and the selected slot number.
struct CursorStackWords {
  int32_t code;          // item code, 0 none
  int32_t count;
  int32_t selectedSlot;  // slot number as EquipItemInSlot counts them, -1 none
};
extern CursorStackWords CursorStack;

// Slot numbers: 1 to 12 equipment, 13 ammunition, 21 to 36 carried pairs.
// Puts the code (and for 13 and 21 to 36 the count) into the slot and
// recomputes the creature for 1 to 12; 1, or 0 for another slot number.
int EquipItemInSlot(int creature, int slot, uint32_t code, int32_t count);
// Empties the slot; for 13 and 21 to 36 a count below the stack only lowers
// it (-1 takes all). 1, or 0 for another slot number.
int UnequipSlot(int creature, int slot, int32_t count, int destroy);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetInventorySlotsState();
