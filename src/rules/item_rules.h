// Item rules and carried-item housekeeping: the enhancement-equivalent of a
// crafted item, piles of stackable items as map objects, packing and merging
// the carried pairs, renumbered base codes, the party's recent-spell blocks,
// the page work buffers, and the clearing of a map whose enemies are gone.
#pragma once
#include <cstdint>

// Base types that stack in one carried pair.
bool IsStackableBaseType(int32_t baseType);

// Enhancement bonus plus the enhancement-equivalent of the item's special
// properties; 0 for a code outside the crafted rows.
int32_t ItemEnhancementTotal(uint32_t code);
// A party member holds the crafted item in a hand, on the torso, in the
// ranged-weapon place or in a carried pair.
bool IsItemHeldByParty(uint32_t code);

// Largest count a pile code holds before it would run into the next item's range.
constexpr int32_t kPileCountLimit = 9999;
// The map-object code of a pile of count items of that code, or -1 when the
// item has no pile code. The count is held to 0..9999.
int32_t StackedItemMapCode(int32_t count, uint32_t code);

// Packs carried pairs 1 to 15 towards the front, merging stackable base items
// into an earlier pair of the same code. True.
bool RearrangeCarriedItems(int creature);
// Adds the stack on the inventory cursor to the first carried pair 1 to 15 of
// the same stackable base item; false when there is none.
bool MergeCursorStack(int creature);
// For a base item of type 20: (bonus / 2) x effective level; 0 otherwise.
int32_t LevelScaledItemAmount(int creature, int baseRow);
// Carried codes 5,242-5,481 become code - 241 and 5,502-5,516 code - 16; in
// the equipment and ammunition places only the first rule applies. True.
bool RenumberHeldItemCodes(int creature);
// The inventory's selected slot is a carried pair (21 to 36).
bool IsBackpackSlotSelected();
// Every word of the party's recent-spell blocks := -1. True.
bool ResetPartyBlocks();

// On a map of kind 2 not yet cleared: when no fighter is on it or every
// fighter is of the party, its cleared word becomes 1 in the current and the
// stored record and the result is 1; else 0.
int CheckMapCleared();
