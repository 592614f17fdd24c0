#include "shell/application.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "shell/display_modes.h"
#include "engine/graphics.h"
#include "engine/music.h"
#include "engine/settings.h"
#include "platform/system.h"

cApplication* AppPointer = nullptr;
uint8_t StartupPending = 1;
uint8_t SteamRunning = 0;

cApplication::cApplication() {
  overlayCallback_.Bind(this, &cApplication::OnGameOverlayActivated);
  SteamAPI_RegisterCallback(&overlayCallback_, kCallbackGameOverlayActivated);
  OverlayActive = 0;
  AppPointer = this;
  std::snprintf(className_, sizeof className_, "%s", "AppClass");
  std::snprintf(caption_, sizeof caption_, "%s", "Application Caption");
  style_ = platform::kStyleOverlapped;
  x_ = y_ = 0;
  width_ = height_ = 256;
  windowClass_.classStyle = 0x40;  // one drawing context shared by the class
  windowClass_.proc = AppWindowProc;
  windowClass_.iconName = "MyMorvane";
  windowClass_.menuName = "MAINMENU";
}

cApplication::~cApplication() {
  if (overlayCallback_.m_nCallbackFlags & 1) SteamAPI_UnregisterCallback(&overlayCallback_);
  if (AppPointer == this) AppPointer = nullptr;
}

intptr_t cApplication::HandleMessage(platform::WindowHandle window, uint32_t message, uintptr_t wParam,
                                     intptr_t lParam) {
  return platform::DefaultWindowProc(window, message, wParam, lParam);
}

void cApplication::OnGameOverlayActivated(GameOverlayActivated_t* notification) {
  OverlayActive = (notification && notification->m_bActive) ? 1 : 0;
}

bool cApplication::Start() {
  // A start answers for itself: nothing an earlier start failed or received.
  started_ = true;
  startFailed_ = false;
  quitReceived_ = false;
  windowClass_.name = className_;
  platform::SetDesktopClass(className_);
  if (!platform::InitPlatform() || !platform::RegisterWindowClass(windowClass_)) {
    ShowError(1, "Could not open the display.");
    startFailed_ = true;
    return false;
  }
  window_ = platform::CreateAppWindow(className_, caption_, style_, width_, height_);
  if (!window_) {
    ShowError(1, "Could not create the window.");
    startFailed_ = true;
    return false;
  }
  ResizeAppWindowToClient(width_, height_);
  if (Init() != 1) {
    startFailed_ = true;
    return false;
  }
  return true;
}

bool cApplication::RunPass() {
  platform::Message msg;
  if (platform::PeekAppMessage(&msg)) {
    if (msg.id == platform::kMsgQuit) {
      quitReceived_ = true;
      return false;
    }
    platform::TranslateAppMessage(msg);
    platform::DispatchAppMessage(msg);
    return true;
  }
  if (SteamRunning == 1) SteamAPI_RunCallbacks();
  ++framesCalled_;
  return Frame() != 0;
}

int cApplication::RunApplication() {
  if (!Start()) {
    // A window that could not be made gives 0; a failed start-up gives 1.
    return window_ ? 1 : 0;
  }
  while (RunPass()) WaitForNextPass();
  return 1;
}

void cApplication::WaitForNextPass() {
  // The wait is slept through: events that come meanwhile are read by the
  // next pass, before the frame that answers them (asking the display for
  // events at every wake cost more than the frame's drawing on an idle
  // screen). The frame is due the moment the millisecond counter turns: the
  // sleep ends then, in one wake (the counter read first, the wait may come
  // out a millisecond short, never long; a short one is slept again).
  for (;;) {
    const uint32_t now = platform::TickCount();
    const uint32_t idle = IdleMilliseconds();
    if (idle == 0 || platform::ManualClockActive()) return;
    platform::SleepUntilTick(now + idle);
  }
}

intptr_t AppWindowProc(platform::WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  using namespace platform;
  switch (message) {
    case kMsgDestroy:
      return 0;  // destroying the window does not end the program
    case kMsgSize:
      if (!StartupPending) InvalidateWindow(0);
      return 0;
    case kMsgSetFocus:
      SetMusicVolume(OptionWords[kOptionMusicVolume]);
      ShowAppWindow(MainWindowHandle, kShowRestore);
      return 0;
    case kMsgKillFocus:
      // The window stays on the desktop, showing its last picture: minimised
      // it may have no way back (a window manager that starts takes the
      // focus, and a desktop may have no taskbar).
      SetWindowStyle(MainWindowHandle, kStyleCaptioned);
      SetMusicVolume(0);
      SetWindowFullScreen(MainWindowHandle, false);  // the desktop's own display mode
      return 0;
    case kMsgPaint:
      if (!StartupPending) {
        InvalidateWindow(window);
        ValidateWindow(window);  // the paint bracket
      }
      return 0;
    case kMsgClose:
      PostQuitMessage(0);
      return 0;
    case kMsgSetCursor: {
      int cx = 0, cy = 0, cw = 0, ch = 0;
      GetCursorClientPos(MainWindowHandle, &cx, &cy);
      GetClientSize(MainWindowHandle, &cw, &ch);
      if (GetFocusWindow() == MainWindowHandle && MainWindowHandle != 0 && cx >= 0 && cx <= cw &&
          cy >= 0 && cy <= ch) {
        ShowSystemCursor(false);  // the game draws its own pointer
      } else if (CursorFreeFlag == 1) {
        SetArrowCursor();
      }
      return 0;
    }
    case kMsgSysKeyUp:
    case kMsgSysChar:
      return 0;
    case kMsgCommand:
      switch (wParam & 0xFFFF) {
        case 1000:
        case 1001:
        case 1002: {
          const uint32_t size = static_cast<uint32_t>((wParam & 0xFFFF) - 999);
          if (WindowSize != size) {
            WindowSize = size;
            SetWindowedMode();
          }
          break;
        }
        case 2000:
          if (CursorFreeFlag == 0) {
            CursorFreeFlag = 1;
            UpdateMenuChecks();
          }
          break;
        case 2001:
          if (CursorFreeFlag == 1) {
            ShowSystemCursor(false);
            CursorFreeFlag = 0;
            UpdateMenuChecks();
          }
          break;
        default: break;
      }
      return 0;
    case kMsgMoving:
      return 0;  // a window that moves keeps its picture (the frames go on meanwhile)
    default:
      if (AppPointer) return AppPointer->HandleMessage(window, message, wParam, lParam);
      return DefaultWindowProc(window, message, wParam, lParam);
  }
}

int ResizeAppWindowToClient(int width, int height) {
  if (!AppPointer) return 1;
  const platform::WindowHandle w = AppPointer->Window();
  int left = 0, top = 0, right = 0, bottom = 0, cw = 0, ch = 0;
  if (!platform::GetWindowRect(w, &left, &top, &right, &bottom)) return 1;
  platform::GetClientSize(w, &cw, &ch);
  platform::MoveAppWindow(w, left, top, right - left - cw + width, bottom - top - ch + height);
  platform::InvalidateWindow(w);
  return 1;
}

int RecreateAppWindow() {
  if (!AppPointer) return 0;
  if (platform::IsAppWindow(AppPointer->Window())) platform::DestroyAppWindow(AppPointer->Window());
  const platform::WindowHandle w = platform::CreateAppWindow(
      AppPointer->ClassName(), AppPointer->Caption(), AppPointer->Style(), AppPointer->Width(),
      AppPointer->Height());
  AppPointer->SetWindow(w);
  if (!w) return 0;
  platform::ShowAppWindow(w, platform::kShowNormal);
  platform::UpdateAppWindow(w);
  return 1;
}

void AtExitCleanup() {
  if (AppPointer) AppPointer->Shutdown();
  if (AppPointer) platform::UnregisterWindowClass(AppPointer->ClassName());
}

int GameMain() {
  std::atexit(AtExitCleanup);
  const int result = App.RunApplication();
  return result == 0 ? 1 : ProgramStatus();
}

int ProgramStatus() { return App.StartFailed() || FatalErrorShown() ? 1 : 0; }
