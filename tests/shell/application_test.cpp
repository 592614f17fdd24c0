// The application object, its window procedure and the frame timer.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "shell/application.h"
#include "engine/graphics.h"
#include "engine/timing.h"
#include "engine/settings.h"
#include "shell/display_modes.h"
#include "harness/harness.h"
#include "platform/input.h"
#include "platform/render.h"
#include "platform/steam.h"
#include "platform/system.h"
#include "platform/window.h"

namespace {

using namespace platform;

class RunningGame : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(harness::StartGame()); }
  void TearDown() override { harness::StopGame(); }
};

TEST_F(RunningGame, OpensA960By720WindowCalledGrevenholt) {
  EXPECT_STREQ(WindowCaption(MainWindowHandle), "Grevenholt");
  EXPECT_STREQ(App.ClassName(), "VeskClass");
  // The desktop (X11's WM_CLASS) knows the window by that class too.
  ASSERT_NE(std::getenv("SDL_VIDEO_X11_WMCLASS"), nullptr);
  EXPECT_STREQ(std::getenv("SDL_VIDEO_X11_WMCLASS"), "VeskClass");
  int w = 0, h = 0;
  GetClientSize(MainWindowHandle, &w, &h);
  EXPECT_EQ(w, 960);
  EXPECT_EQ(h, 720);
  EXPECT_EQ(GetWindowStyle(MainWindowHandle), kStyleCaptioned);
  EXPECT_TRUE(WindowHasMenu(MainWindowHandle));
  EXPECT_TRUE(IsMenuItemChecked(MainWindowHandle, 1001));
  EXPECT_TRUE(IsMenuItemChecked(MainWindowHandle, 2000));
  EXPECT_EQ(StartupPending, 0);
  EXPECT_TRUE(harness::StepFrames(3));
  auto pic = harness::DevicePicture(&w, &h);
  ASSERT_EQ(pic.size(), 960u * 720u);  // the first page is drawn in it
}

TEST_F(RunningGame, NoRepaintWhileStartupIsPending) {
  ValidateWindow(MainWindowHandle);
  StartupPending = 1;
  SendAppMessage(MainWindowHandle, kMsgSize, 0, 0);
  SendAppMessage(MainWindowHandle, kMsgPaint, 0, 0);
  EXPECT_FALSE(WindowNeedsPaint(MainWindowHandle));
  StartupPending = 0;
  SendAppMessage(MainWindowHandle, kMsgSize, 0, 0);
  EXPECT_TRUE(WindowNeedsPaint(MainWindowHandle));
}

TEST_F(RunningGame, CloseButtonEndsTheLoopButDestroyingTheWindowDoesNot) {
  EXPECT_EQ(AppWindowProc(MainWindowHandle, kMsgDestroy, 0, 0), 0);
  ASSERT_EQ(RecreateAppWindow(), 1);
  MainWindowHandle = App.Window();
  EXPECT_TRUE(harness::StepFrames(2));
  EXPECT_FALSE(harness::GameEnded());
  harness::RequestClose();
  EXPECT_FALSE(harness::StepFrames(1));
  EXPECT_TRUE(harness::GameEnded());
  EXPECT_TRUE(App.QuitReceived());
}

TEST_F(RunningGame, CursorIsHiddenOverTheClientAreaEdgesIncluded) {
  CursorFreeFlag = 1;
  SetCursorClientPos(MainWindowHandle, 960, 720);  // exact right and bottom edge
  ShowSystemCursor(true);
  SendAppMessage(MainWindowHandle, kMsgSetCursor, MainWindowHandle, 0);
  EXPECT_FALSE(IsSystemCursorShown());
  SetCursorClientPos(MainWindowHandle, 961, 720);
  SendAppMessage(MainWindowHandle, kMsgSetCursor, MainWindowHandle, 0);
  EXPECT_TRUE(IsSystemCursorShown());  // free to leave: the arrow
  CursorFreeFlag = 0;
  ShowSystemCursor(false);
  SendAppMessage(MainWindowHandle, kMsgSetCursor, MainWindowHandle, 0);
  EXPECT_FALSE(IsSystemCursorShown());  // bound: nothing is done
}

TEST_F(RunningGame, MenuCommandsChangeOnlyWhatIsNotAlreadySet) {
  ASSERT_EQ(WindowSize, 2u);
  harness::ChooseMenu(1001);  // already set
  harness::StepFrames(1);
  EXPECT_EQ(Graphics.backBufferWidth, 960);
  harness::ChooseMenu(1000);
  harness::StepFrames(1);
  EXPECT_EQ(WindowSize, 1u);
  EXPECT_EQ(Graphics.backBufferWidth, 640);
  EXPECT_TRUE(IsMenuItemChecked(MainWindowHandle, 1000));
  EXPECT_FALSE(IsMenuItemChecked(MainWindowHandle, 1001));

  harness::ChooseMenu(2001);
  harness::StepFrames(1);
  EXPECT_EQ(CursorFreeFlag, 0);
  EXPECT_TRUE(IsMenuItemChecked(MainWindowHandle, 2001));
  harness::ChooseMenu(2001);  // already bound: nothing
  harness::StepFrames(1);
  EXPECT_EQ(CursorFreeFlag, 0);
  harness::ChooseMenu(2000);
  harness::StepFrames(1);
  EXPECT_EQ(CursorFreeFlag, 1);
  EXPECT_TRUE(IsMenuItemChecked(MainWindowHandle, 2000));
}

// Without the focus nothing is drawn, but the window stays on the desktop
// (never minimised: a window manager that starts takes the focus, and a
// desktop may have no way back) and shows the game's last picture, also
// when a window manager moves it into its frame and throws the picture
// away; full screen is left for the desktop and comes back with the focus.
// In a window and in full screen alike.
TEST_F(RunningGame, AWindowWithoutTheFocusStillShowsTheGame) {
  harness::LeaveWindowWithoutManager();
  for (const bool fullScreen : {false, true}) {
    const char* mode = fullScreen ? "full screen" : "windowed";
    if (fullScreen) {
      ASSERT_EQ(HandleDisplayToggleKeys(1), 1);
    }
    ASSERT_TRUE(harness::StepFrames(3));
    ASSERT_EQ(IsWindowFullScreen(MainWindowHandle), fullScreen) << mode;
    InjectDesktopEvent(DesktopEvent::kFocusLost);
    ASSERT_TRUE(harness::StepFrames(2));
    EXPECT_FALSE(IsWindowMinimised(MainWindowHandle)) << mode;
    EXPECT_FALSE(IsWindowFullScreen(MainWindowHandle)) << mode;
    EXPECT_EQ(GetWindowStyle(MainWindowHandle), kStyleCaptioned) << mode;
    const int presents = Graphics.device->PresentCount();
    InjectDesktopEvent(DesktopEvent::kMoved);
    InjectDesktopEvent(DesktopEvent::kExposed);
    ASSERT_TRUE(harness::StepFrames(2));
    EXPECT_EQ(Graphics.device->PresentCount(), presents) << mode;  // no frame drawn
    EXPECT_EQ(harness::WindowShowsWholePicture(), "") << mode;
    InjectDesktopEvent(DesktopEvent::kFocusGained);
    ASSERT_TRUE(harness::StepFrames(2));
    EXPECT_GT(Graphics.device->PresentCount(), presents) << mode;
    EXPECT_EQ(IsWindowFullScreen(MainWindowHandle), fullScreen) << mode;
    EXPECT_EQ(harness::WindowShowsWholePicture(), "") << mode;
  }
  PresentWhileHeadless(false);
  KeepSizeOnFullScreen(false);
}

// A game that starts in full screen where no window manager makes its window
// so shows the whole picture in a window of the picture's size at least.
TEST(FullScreenStart, ShowsThePictureInAWindowOfItsSizeAtLeast) {
  const harness::OwnSettingsFile settings("full screen start");
  ASSERT_TRUE(harness::StartGame());
  ASSERT_EQ(HandleDisplayToggleKeys(1), 1);
  harness::RequestClose();
  harness::StepFrames(2);
  harness::StopGame();
  harness::LeaveWindowWithoutManager();
  ASSERT_TRUE(harness::StartGame());
  ASSERT_EQ(WindowedFlag, 0);
  ASSERT_TRUE(harness::StepFrames(3));
  int w = 0, h = 0;
  GetDrawableSize(MainWindowHandle, &w, &h);
  EXPECT_GE(w, 640);
  EXPECT_GE(h, 480);
  EXPECT_EQ(harness::WindowShowsWholePicture(), "");
  harness::StopGame();
  PresentWhileHeadless(false);
  KeepSizeOnFullScreen(false);
}

TEST_F(RunningGame, AltKeysAreSwallowed) {
  EXPECT_EQ(AppWindowProc(MainWindowHandle, kMsgSysKeyUp, 0x38, 0), 0);
  EXPECT_EQ(AppWindowProc(MainWindowHandle, kMsgSysChar, 'x', 0), 0);
  harness::KeyDown("Left Alt");
  harness::KeyDown("Return");
  EXPECT_TRUE(harness::StepFrames(2));
  harness::KeyUp("Return");
  harness::KeyUp("Left Alt");
  EXPECT_TRUE(harness::StepFrames(1));
}

TEST(ShowErrorBox, FatalDestroysTheWindowAndEndsTheLoop) {
  ASSERT_TRUE(harness::StartGame());
  const int before = MessageBoxCount();
  EXPECT_EQ(ShowError(1, "Could not load texture %d", 7), 1);
  EXPECT_EQ(MessageBoxCount(), before + 1);
  EXPECT_EQ(LastMessageBoxTitle(), "Fatal Error");
  EXPECT_EQ(LastMessageBoxText(), "Could not load texture 7");
  EXPECT_FALSE(IsAppWindow(MainWindowHandle));
  EXPECT_FALSE(harness::StepFrames(1));
  harness::StopGame();
}

TEST(ShowErrorBox, NonFatalKeepsGoingAndLongTextIsCut) {
  std::string longText(5000, 'x');
  EXPECT_EQ(ShowError(0, "%s", longText.c_str()), 1);
  EXPECT_EQ(LastMessageBoxTitle(), "Error");
  EXPECT_EQ(LastMessageBoxText().size(), 2047u);
}

TEST(SteamLayer, ReportsNoClientAndKeepsTheOverlayCallback) {
  EXPECT_FALSE(SteamAPI_Init());
  EXPECT_EQ(SteamEdition, 0);
  EXPECT_EQ(SteamRunning, 0);
  EXPECT_EQ(SteamUserStats(), nullptr);
  EXPECT_GE(SteamRegisteredCallbackCount(), 1);  // the application object's overlay callback
  GameOverlayActivated_t on{1}, off{0};
  App.OnGameOverlayActivated(&on);
  EXPECT_EQ(App.OverlayActive, 1);
  App.OnGameOverlayActivated(&off);
  EXPECT_EQ(App.OverlayActive, 0);
}

TEST(FrameTimer, WrappedTickCounterStillGivesAPositiveTime) {
  UseManualClock(true, 0xFFFFFFF0u);
  cGameTiming timing;
  timing.Start();
  AdvanceManualClock(32);
  timing.UpdateElapsedTime();
  EXPECT_FLOAT_EQ(timing.elapsedSeconds, 0.032f);
  EXPECT_NEAR(timing.inverseElapsed, 31.25f, 0.01f);
  EXPECT_NEAR(timing.elapsedMicroseconds, 32000.0, 0.5);
  // Within the same millisecond: zero time, infinite inverse.
  timing.UpdateElapsedTime();
  EXPECT_EQ(timing.elapsedSeconds, 0.0f);
  EXPECT_TRUE(std::isinf(timing.inverseElapsed));
}

TEST(FrameTimer, SnapshotsRefreshEveryHundredFrames) {
  UseManualClock(true, 5000);
  cGameTiming timing;
  timing.Start();
  for (int i = 0; i < 99; ++i) {
    AdvanceManualClock(10);
    timing.UpdateElapsedTime();
    AdvanceManualClock(5);
    timing.UpdateFrameRate();
  }
  EXPECT_EQ(timing.frameCounter, 99u);
  EXPECT_EQ(timing.snapshotInverseFrameRate, 0.0f);
  AdvanceManualClock(10);
  timing.UpdateElapsedTime();
  AdvanceManualClock(5);
  timing.UpdateFrameRate();
  EXPECT_EQ(timing.frameCounter, 0u);
  EXPECT_NEAR(timing.snapshotInverseFrameRate, 200.0f, 0.01f);  // 5 ms since the frame began
  EXPECT_NEAR(timing.snapshotInverseElapsed, 66.667f, 0.01f);  // 15 ms between frame starts
}

// The game as a process: a display that cannot be opened gives a message and a
// non-zero status, never a crash.
TEST(Process, ADisplayThatCannotOpenEndsWithAMessageAndAFailingStatus) {
  FILE* p = popen("env -u GREVENHOLT_HEADLESS SDL_VIDEODRIVER=nosuchdriver ./grevenholt 2>&1", "r");
  ASSERT_NE(p, nullptr);
  std::string out;
  char buf[256];
  while (fgets(buf, sizeof buf, p)) out += buf;
  const int status = pclose(p);
  ASSERT_TRUE(WIFEXITED(status)) << out;
  EXPECT_NE(WEXITSTATUS(status), 0) << out;
  EXPECT_NE(out.find("Fatal Error: Could not open the display."), std::string::npos) << out;
}

}  // namespace
