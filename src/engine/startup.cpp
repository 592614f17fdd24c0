// Start-up, shutdown and the per-frame operation of the game's application object.
#include <cstdint>
#include <cstdio>

#include "engine/application.h"
#include "engine/display_modes.h"
#include "engine/frame.h"
#include "engine/graphics.h"
#include "engine/timing.h"
#include "frontend/settings.h"
#include "platform/system.h"

uint32_t ScreenMode = 0;
uint32_t AnimationStep = 0;
uint32_t AnimationCycle = 0;
uint8_t DebugMode = 0;

cApp App;

cApp::cApp() {
  x_ = y_ = width_ = height_ = 100;
  std::snprintf(className_, sizeof className_, "%s", "VeskClass");
  std::snprintf(caption_, sizeof caption_, "%s", "Grevenholt");
  style_ = platform::kStylePopup;
}

int cApp::Init() {
  MainWindowHandle = Window();
  Graphics.window = MainWindowHandle;
  ShutdownGraphics();
  if (!CreateGraphicsAdapter()) {
    ShowError(1, "Problem with DirectX");
    return 0;
  }
  if (WindowedFlag == 0) {
    platform::SetWindowStyle(MainWindowHandle, platform::kStylePopup);
    platform::RemoveWindowMenu(MainWindowHandle);
    FullScreenScaleByte = 0;
    if (!SetDisplayMode(32, 0, 640, 480) && !SetDisplayMode(16, 0, 640, 480)) {
      ShowError(1, "Could not set up screen.");
      return 0;
    }
  } else {
    if (WindowSize == 1)
      SetDisplayMode(32, 1, 640, 480);
    else
      SetDisplayMode(32, 1, 960, 720);
    platform::SetWindowStyle(MainWindowHandle, platform::kStyleCaptioned);
    ResizeWindowToClient(Graphics.backBufferWidth, Graphics.backBufferHeight);
    ResizeWindowToClient(Graphics.backBufferWidth, Graphics.backBufferHeight);
    UpdateMenuChecks();
    CentreWindow();
  }
  if (!Graphics.device) {
    ShowError(1, "Could not set up screen.");
    return 0;
  }
  platform::ShowAppWindow(MainWindowHandle, platform::kShow);
  platform::SetForegroundWindow(MainWindowHandle);
  ClearScreen(0xFF000000u);
  PresentFrame();
  GameTiming.Start();
  platform::ShowAppWindow(MainWindowHandle, platform::kShowRestore);
  StartupPending = 0;
  return 1;
}

int cApp::Shutdown() {
  ShutdownGraphics();
  return 1;
}

int cApp::Frame() {
  static bool started = false;
  static uint32_t lastFrame = 0;
  const uint32_t now = platform::TickCount();
  if (!started) {
    started = true;
    lastFrame = now;
    return 1;
  }
  if (OptionWords[kOptionAcceleratedCombat] == 0 && now - lastFrame < 15) return 1;
  lastFrame = now;
  AnimationCycle = (AnimationCycle + 1) % 100;
  if (!Graphics.device) return 1;
  if (Graphics.device->TestState() != platform::DeviceState::kOk) return 1;
  BeginScene();
  ClearScreen(0xFF000000u);
  BeginSprite();
  EndSprite();
  EndScene();
  PresentFrame();
  return 1;
}
