#include "screens/items/item_screens.h"

#include "engine/page_placeholder.h"

int CraftingMenuScreen(int) { return DrawPagePlaceholder("CraftingMenuScreen"); }
int ForgeWeaponScreen(int) { return DrawPagePlaceholder("ForgeWeaponScreen"); }
void CraftWandScreen(int) { DrawPagePlaceholder("CraftWandScreen"); }
void ScribeScrollScreen(int) { DrawPagePlaceholder("ScribeScrollScreen"); }
void MagicRingScreen(int) { DrawPagePlaceholder("MagicRingScreen"); }
void WondrousItemScreen(int) { DrawPagePlaceholder("WondrousItemScreen"); }
void EnchantWeaponArmorScreen(int) { DrawPagePlaceholder("EnchantWeaponArmorScreen"); }

