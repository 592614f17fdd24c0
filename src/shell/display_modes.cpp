#include "shell/display_modes.h"

#include "adventure/scripts.h"
#include "shell/application.h"
#include "shell/display_input.h"
#include "engine/frame.h"
#include "engine/graphics.h"
#include "engine/settings.h"
#include "platform/system.h"
#include "platform/window.h"
#include "screens/game/game_screen.h"

int32_t KeptMouseSpeed = 10;

namespace {

constexpr int kFullScreenMouseSpeed = 7;

int TargetWidth() { return WindowSize == 1 ? 640 : 960; }
int TargetHeight() { return WindowSize == 1 ? 480 : 720; }

}  // namespace

void FitWindowToFullScreenPicture() {
  int cw = 0, ch = 0;
  if (platform::GetClientSize(MainWindowHandle, &cw, &ch) && !platform::IsWindowFullScreen(MainWindowHandle) &&
      (cw < 640 || ch < 480)) {
    ResizeWindowToClient(640, 480);
    CentreWindow();
  }
}

int SetFullScreenMode() {
  FitWindowToFullScreenPicture();
  WindowedFlag = 0;
  SetMouseWindowedFlag(0);
  platform::SetSystemMouseSpeed(kFullScreenMouseSpeed);
  platform::SetWindowStyle(MainWindowHandle, platform::kStylePopup);
  platform::RemoveWindowMenu(MainWindowHandle);
  platform::ShowAppWindow(MainWindowHandle, platform::kShow);
  platform::UpdateAppWindow(MainWindowHandle);
  FullScreenScaleByte = 0;
  if (!ResetGraphicsDevice(32, 0, 640, 480) && !ResetGraphicsDevice(16, 0, 640, 480)) {
    ShowError(1, "Could not set up screen.");
    return 0;
  }
  SetCameraBounds();
  CentreMouseCursor();
  platform::ShowSystemCursor(false);
  return 1;
}

int RecreateDisplayWindow(int width, int height) {
  ResetGraphicsDevice(32, 1, width, height);
  RecreateAppWindow();
  MainWindowHandle = AppPointer ? AppPointer->Window() : 0;
  Graphics.window = MainWindowHandle;
  ResetGraphicsDevice(32, 1, width, height);
  if (!Graphics.device) SetDisplayMode(32, 1, width, height);  // the old window took the device with it
  platform::SetWindowStyle(MainWindowHandle, platform::kStyleCaptioned);
  ResizeWindowToClient(width, height);
  ResizeWindowToClient(width, height);
  if (!RecreateInputDevices()) {
    ShowError(1, "Could not set up DirectInput");
    return 0;
  }
  return 1;
}

int SetWindowedMode() {
  const int width = TargetWidth(), height = TargetHeight();
  if (WindowedFlag == 1) {
    if (!ResetGraphicsDevice(32, 1, width, height)) return 0;
    platform::SetWindowStyle(MainWindowHandle, platform::kStyleCaptioned);
    ResizeWindowToClient(width, height);
    ResizeWindowToClient(width, height);
  } else {
    platform::SetSystemMouseSpeed(KeptMouseSpeed);
    WindowedFlag = 1;
    SetMouseWindowedFlag(1);
    if (!RecreateDisplayWindow(width, height)) return 0;
  }
  SetCameraBounds();
  UpdateMenuChecks();
  CentreMouseCursor();
  CentreWindow();
  platform::ShowAppWindow(MainWindowHandle, platform::kShowNormal);
  platform::UpdateAppWindow(MainWindowHandle);
  CentreViewOnFocusSquare();
  return 1;
}

int HandleDisplayToggleKeys(int force) {
  constexpr int kReturn = 0x1C, kPadEnter = 0x9C, kLeftAlt = 0x38, kRightAlt = 0xB8;
  if (!force) {
    const bool enter = (DisplayKeyDown(kReturn) && !DisplayKeyLocked(kReturn)) ||
                       (DisplayKeyDown(kPadEnter) && !DisplayKeyLocked(kPadEnter));
    const bool alt = (DisplayKeyDown(kLeftAlt) && !DisplayKeyLocked(kLeftAlt)) ||
                     (DisplayKeyDown(kRightAlt) && !DisplayKeyLocked(kRightAlt));
    if (!enter || !alt) return 1;
  }
  const int keys[] = {kReturn, kPadEnter, kLeftAlt, kRightAlt};
  for (int k : keys) LockDisplayKey(k);
  const int track = StopMusicKeepingPosition();
  const int ok = WindowedFlag == 0 ? SetWindowedMode() : SetFullScreenMode();
  if (!ok) return 0;
  // Leaving full screen makes new input devices: the held keys stay latched
  // on them too, so one press switches once.
  for (int k : keys) LockDisplayKey(k);
  if (track >= 0) SwitchMusicTrack(track, 0, 1);
  CentreViewOnFocusSquare();
  return 1;
}

int SwitchDisplayMode() { return HandleDisplayToggleKeys(1); }

int HandleWindowKeys() {
  constexpr int kF2 = 0x3C, kF3 = 0x3D;
  if (WindowedFlag != 1 || DebugMode != 0) return 1;
  if (DisplayKeyDown(kF2) && !DisplayKeyLocked(kF2)) {
    LockDisplayKey(kF2);
    WindowSize = WindowSize >= 3 ? 1 : WindowSize + 1;
    if (!SetWindowedMode()) return 0;
  }
  if (DisplayKeyDown(kF3) && !DisplayKeyLocked(kF3)) {
    LockDisplayKey(kF3);
    CursorFreeFlag = CursorFreeFlag == 1 ? 0 : 1;
    UpdateMenuChecks();
  }
  return 1;
}

int UpdateMenuChecks() {
  const platform::WindowHandle w = MainWindowHandle;
  platform::CheckMenuItem(w, 2000, CursorFreeFlag == 1);
  platform::CheckMenuItem(w, 2001, CursorFreeFlag != 1);
  platform::CheckMenuItem(w, 1000, WindowSize == 1);
  platform::CheckMenuItem(w, 1001, WindowSize == 2);
  platform::CheckMenuItem(w, 1002, WindowSize != 1 && WindowSize != 2);
  return 1;
}

// The window manager's frame round the picture is not known before the
// window is first shown: centring the frame would put the window somewhere
// else from the second change of window mode on.
int CentreWindow() {
  int dw = 0, dh = 0, left = 0, top = 0, right = 0, bottom = 0, cw = 0, ch = 0, cx = 0, cy = 0;
  if (!platform::GetDesktopSize(&dw, &dh)) return 1;
  if (!platform::GetWindowRect(MainWindowHandle, &left, &top, &right, &bottom)) return 1;
  if (!platform::GetClientSize(MainWindowHandle, &cw, &ch)) return 1;
  if (!platform::GetClientOrigin(MainWindowHandle, &cx, &cy)) return 1;
  const int w = right - left, h = bottom - top;
  platform::MoveAppWindow(MainWindowHandle, (dw - cw) / 2 - (cx - left), (dh - ch) / 2 - (cy - top), w, h);
  platform::ShowAppWindow(MainWindowHandle, platform::kShow);
  return 1;
}
