// The subsystem steps of start-up and shutdown.
#include "engine/display_modes.h"
#include "engine/application.h"
#include "engine/graphics.h"
#include "engine/input.h"
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
  // 20. The input object for the main window.
  ShutdownInput();
  Input.window = MainWindowHandle;
  if (!InitInput()) {
    ShowError(1, "Failed to set DirectInput");
    return 0;
  }
  // 21. The mouse.
  CreateInputDevice(&PointerDevice, kInputMouse, WindowedFlag == 1 ? 1 : 0);
  if (WindowedFlag != 1) platform::ShowSystemCursor(false);
  // 22. The user's mouse speed is kept; full screen uses speed 7.
  KeptMouseSpeed = platform::GetSystemMouseSpeed();
  MouseSpeedKept = 1;
  if (WindowedFlag == 0) platform::SetSystemMouseSpeed(7);
  // 23-25. The cursor centred, the joystick when there is one, the keyboard.
  CentreMouseCursor();
  JoystickPresent = 1;
  if (!CreateInputDevice(&JoystickDevice, kInputJoystick, WindowedFlag == 1 ? 1 : 0)) JoystickPresent = 0;
  CreateInputDevice(&KeyboardDevice, kInputKeyboard, WindowedFlag == 1 ? 1 : 0);
  return 1;
}

void StopMusicAndSound() {}
void StopInputDevices() {
  FreeInputDevice(&KeyboardDevice);
  FreeInputDevice(&PointerDevice);
  FreeInputDevice(&JoystickDevice);
  ShutdownInput();
}
void StopSpriteSheets() { FreeSheetBank(); }
