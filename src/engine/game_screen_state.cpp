#include "engine/game_screen_state.h"

#include "engine/frame.h"

uint8_t HelpLinkSwitch = 0;
NavBarStateWords NavBarState = {{0, 0, 0}, -1, 0};
ActionListWords ActionList = {};

bool IsTargetingMode() { return ScreenMode >= 10 && ScreenMode <= 16; }

int IsTargetingOrMenuMode() {
  if ((ScreenMode >= kModeTargetFirst && ScreenMode <= kModeTargetLast) || ScreenMode == kModeCastAnnounce || ScreenMode == kModeCastResolve) return 1;
  return NavBarState.selection != -1 ? 1 : 0;
}

bool NavBarAllowsReturn() {
  return NavBarState.flags[0] == 0 && NavBarState.flags[1] == 0 && NavBarState.flags[2] == 0 &&
         NavBarState.selection == -1;
}
