// The inventory, item and crafting pages.
#pragma once

// Draws the inventory of a creature (trade partner or -1); in the item-picker
// modes a click on an item sets ChosenItem. 1.
int DrawInventoryScreen(int creature, int tradePartner);  // page type 2
// The sheet of crafted item r (1 to 4,999); 0, and nothing drawn, for an
// empty record.
int DrawItemDetailsScreen(int r);                          // above 10000
int CraftingMenuScreen(int parameter);                     // 119
int ForgeWeaponScreen(int parameter);                      // 120
void CraftWandScreen(int parameter);                       // 127
void ScribeScrollScreen(int parameter);                    // 128
void MagicRingScreen(int parameter);                       // 129
void WondrousItemScreen(int parameter);                    // 130
void EnchantWeaponArmorScreen(int parameter);              // 131

