#include "engine/display_modes.h"

#include "engine/application.h"
#include "engine/graphics.h"
#include "frontend/settings.h"
#include "platform/window.h"

uint8_t WideViewDrawSwitch = 0;

int SetFullScreenMode() {
  WindowedFlag = 0;
  platform::SetWindowStyle(MainWindowHandle, platform::kStylePopup);
  platform::RemoveWindowMenu(MainWindowHandle);
  platform::ShowAppWindow(MainWindowHandle, platform::kShow);
  FullScreenScaleByte = 0;
  if (!ResetGraphicsDevice(32, 0, 640, 480) && !ResetGraphicsDevice(16, 0, 640, 480)) {
    ShowError(1, "Could not set up screen.");
    return 0;
  }
  platform::ShowSystemCursor(false);
  return 1;
}

int SetWindowedMode() {
  const int width = WindowSize == 1 ? 640 : 960;
  const int height = WindowSize == 1 ? 480 : 720;
  WindowedFlag = 1;
  if (!ResetGraphicsDevice(32, 1, width, height)) return 0;
  platform::SetWindowStyle(MainWindowHandle, platform::kStyleCaptioned);
  ResizeWindowToClient(width, height);
  ResizeWindowToClient(width, height);
  UpdateMenuChecks();
  CentreWindow();
  platform::ShowAppWindow(MainWindowHandle, platform::kShowNormal);
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

int CentreWindow() {
  int dw = 0, dh = 0, left = 0, top = 0, right = 0, bottom = 0;
  if (!platform::GetDesktopSize(&dw, &dh)) return 1;
  if (!platform::GetWindowRect(MainWindowHandle, &left, &top, &right, &bottom)) return 1;
  const int w = right - left, h = bottom - top;
  platform::MoveAppWindow(MainWindowHandle, (dw - w) / 2, (dh - h) / 2, w, h);
  platform::ShowAppWindow(MainWindowHandle, platform::kShow);
  return 1;
}
