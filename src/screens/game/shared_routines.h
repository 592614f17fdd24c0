// Routines the map view, the main screen keys and the game screen frame
// share: opening the main menu and the inventory over the game.
#pragma once
#include <cstdint>

// The main menu over the game: the screen mode kept to return to, the
// history one frame "Options" (type 102); page view.
void OpenMainMenu();
// The creature's inventory over the game: the history one frame
// "Inventory (name)" (type 2), no item picked and no spell aimed; page view.
// True.
bool OpenInventoryMenu(int creature);
