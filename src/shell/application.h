// The application object: the window class, the main window, the message
// loop and the three operations the game overrides (start-up, shutdown and
// the per-frame operation).
#pragma once
#include <cstdint>

#include "engine/main_window.h"
#include "platform/steam.h"
#include "platform/window.h"

class cApplication {
 public:
  cApplication();
  virtual ~cApplication();

  virtual intptr_t HandleMessage(platform::WindowHandle window, uint32_t message, uintptr_t wParam,
                                 intptr_t lParam);
  virtual int Init() { return 1; }
  virtual int Shutdown() { return 1; }
  virtual int Frame() { return 1; }
  // How long the loop may sleep before Frame has work to do (0: call it now).
  virtual uint32_t IdleMilliseconds() { return 0; }

  // Registers the class, creates the window, runs start-up and the loop.
  int RunApplication();
  // The loop split in steps, for the headless harness: Start does steps 1 to
  // 5 (false when the window or start-up failed); RunPass handles every
  // waiting message and then runs one frame (false when the loop would end).
  bool Start();
  bool RunPass();
  // Between passes the loop sleeps until a message comes or the next frame
  // is due (the harness steps passes itself and never sleeps).
  void WaitForNextPass();
  // True once start-up was entered and failed, or the window could not be made.
  bool StartFailed() const { return startFailed_; }
  bool QuitReceived() const { return quitReceived_; }
  // How many times the loop has called Frame.
  uint64_t FramesCalled() const { return framesCalled_; }

  platform::WindowHandle Window() const { return window_; }
  void SetWindow(platform::WindowHandle w) { window_ = w; }
  const char* ClassName() const { return className_; }
  const char* Caption() const { return caption_; }
  uint32_t Style() const { return style_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

  uint8_t OverlayActive = 0;
  void OnGameOverlayActivated(GameOverlayActivated_t* notification);

 protected:
  void* instance_ = nullptr;
  platform::WindowHandle window_ = 0;
  char className_[260] = {};
  char caption_[260] = {};
  platform::WindowClass windowClass_;
  uint32_t style_ = 0;
  int x_ = 0, y_ = 0, width_ = 0, height_ = 0;
  CCallbackMember<cApplication, GameOverlayActivated_t> overlayCallback_;

 private:
  bool startFailed_ = false;
  bool quitReceived_ = false;
  bool started_ = false;
  uint64_t framesCalled_ = 0;
};

class cApp : public cApplication {
 public:
  cApp();
  int Init() override;
  int Shutdown() override;
  int Frame() override;
  uint32_t IdleMilliseconds() override;
};

// The static application object and the pointer the window procedure uses.
extern cApp App;
extern cApplication* AppPointer;
extern uint8_t StartupPending;
// The Steam switches: the edition switch of the build (0 here) and whether the
// client library is running.
constexpr uint8_t SteamEdition = 0;
extern uint8_t SteamRunning;

int ResizeAppWindowToClient(int width, int height);
intptr_t AppWindowProc(platform::WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);
int RecreateAppWindow();
void AtExitCleanup();

// The process entry: registers the exit handler and runs the loop. Returns the
// process status (ProgramStatus).
int GameMain();
// The process status once the loop has ended: 1 when the window or start-up
// failed or a fatal error ended the game (a start of an adventure whose
// prepared start could not be read), else 0.
int ProgramStatus();
