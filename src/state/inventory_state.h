// The inventory's shared values: the party's purse, the item picker's choice,
// the trade partner and the pending crafting costs.
#pragma once
#include <cstdint>

extern uint32_t PartyGold;
// Item code chosen by the inventory picker, -1 none.
extern int32_t ChosenItem;
// The creature the party trades with, -1 none.
extern int32_t TradePartner;
// The gold and experience cost of the pending enchantment or wand charge.
extern uint32_t CraftCostGold;
extern uint32_t CraftCostXP;
// The creature that casts or crafts.
extern int32_t ActingCreature;

// Implemented by the adventure: gives the object code of a square (gold,
// goods or an item) to the party member; true when it was taken.
bool PickUpSquareItem(int creature, int32_t object);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetInventoryWords();
