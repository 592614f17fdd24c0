// The inventory, item and crafting pages.
#pragma once

// Draws the inventory of a creature (trade partner or -1); in the item-picker
// modes a click on an item sets ChosenItem. 1.
int DrawInventoryScreen(int creature, int tradePartner);  // page type 2
// The sheet of crafted item r (1 to 4,999); 0, and nothing drawn, for an
// empty record.
int DrawItemDetailsScreen(int r);                          // above 10000
// The crafting pages, each of the crafter (a creature id) that its page
// names; each draws and works one frame and returns 1.
int CraftingMenuScreen(int crafter);                       // page type 119
int ForgeWeaponScreen(int crafter);                        // page type 120
int CraftWandScreen(int crafter);                          // page type 127
int ScribeScrollScreen(int crafter);                       // page type 128
int MagicRingScreen(int crafter);                          // page type 129
int WondrousItemScreen(int crafter);                       // page type 130
// Enchants the item ChosenItem.
int EnchantWeaponArmorScreen(int crafter);                 // page type 131

