#include <cstring>

#include "adventure/scripts.h"
#include "engine/frame.h"
#include "engine/page_history.h"
#include "state/current_cast.h"
#include "state/inventory_state.h"

void ReturnToMainMenu() {
  PageDepth = 0;
  PageHighestDepth = 0;
  PageFrame& top = PageHistory[0];
  std::memset(top.caption, 0, sizeof top.caption);
  std::strcpy(top.caption, "TITLE SCREEN");
  top.type = kPageMainMenu;
  top.parameter = -1;
  ScreenMode = kModePageView;
  SpellInProgress = -1;
  ChosenItem = -1;
  ClearTransientBuffers();
}
