// Opening the main menu and the inventory over the game screen.
#include <cstdio>

#include "engine/frame.h"
#include "engine/page_history.h"
#include "engine/page_history_access.h"
#include "rules/creature_record.h"
#include "screens/game/shared_routines.h"
#include "state/current_cast.h"
#include "state/game_progress.h"
#include "state/inventory_state.h"

void OpenMainMenu() {
  // The menu's "Back to the Game" returns to the mode the game was in.
  MenuReturnMode = ScreenMode;
  SavedScreenMode = ScreenMode;
  SetFirstPage("Options", kPageMainMenu, 0);
  ScreenMode = kModePageView;
}

bool OpenInventoryMenu(int creature) {
  char caption[kPageCaptionSize] = {};
  const char* name = IsValidCreature(creature) ? Creatures[creature].name : "";
  std::snprintf(caption, sizeof caption, "Inventory (%.*s)", static_cast<int>(sizeof Creatures[0].name), name);
  PushPage(caption, kPageInventory, creature);
  ChosenItem = -1;
  CurrentSpell = -1;
  ScreenMode = kModePageView;
  return true;
}
