// The subsystem steps of start-up and shutdown.
#include "engine/display_modes.h"
#include "engine/graphics.h"
#include "engine/sprite_sheets.h"
#include "engine/startup.h"
#include "frontend/settings.h"
#include "map/square_grids.h"
#include "platform/system.h"
#include "platform/window.h"
#include "screens/game/game_screen.h"

int StartSound() { return 1; }
void StartMusic() {}
// The sheets fail start-up (with LoadTextures' own message): every screen
// draws from them.
int StartSpriteSheets() { return LoadTextures() ? 1 : 0; }
int StartRecordTables() { return 1; }
void ClearRegionGrid() {
  for (int32_t& r : RegionGrid) r = -1;
}

int StartInputDevices() {
  KeptMouseSpeed = platform::GetSystemMouseSpeed();
  MouseSpeedKept = 1;
  if (WindowedFlag == 0) {
    platform::ShowSystemCursor(false);
    platform::SetSystemMouseSpeed(7);
  }
  CentreMouseCursor();
  JoystickPresent = 0;
  return 1;
}

void StopMusicAndSound() {}
void StopInputDevices() {}
void StopSpriteSheets() { FreeSheetBank(); }
