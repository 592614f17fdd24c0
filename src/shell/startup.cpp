// Start-up of the game's application object: the static application object
// and Init, which brings every subsystem up in its order.
#include <cstdio>
#include <cstring>

#include "state/game_flags.h"
#include "adventure/quest_journal.h"
#include "combat/actions/combat_actions.h"
#include "state/fighter_slots.h"
#include "shell/application.h"
#include "shell/display_modes.h"
#include "engine/frame.h"
#include "engine/graphics.h"
#include "engine/help_pages.h"
#include "engine/page_history.h"
#include "shell/startup.h"
#include "shell/steam_achievements.h"
#include "shell/steam_leaderboard.h"
#include "engine/timing.h"
#include "state/game_progress.h"
#include "engine/settings.h"
#include "map/party_vision.h"
#include "platform/system.h"
#include "platform/window.h"
#include "screens/game/game_screen.h"

uint8_t SettingsLoaded = 0;
uint8_t MouseSpeedKept = 0;

cApp App;

cApp::cApp() {
  x_ = y_ = width_ = height_ = 100;
  std::snprintf(className_, sizeof className_, "%s", "VeskClass");
  std::snprintf(caption_, sizeof caption_, "%s", "Grevenholt");
  style_ = platform::kStylePopup;
}

namespace {

// Waits, one message per pass, until the main window is in front. Bounded
// (the window manager may never give it the front), and skipped headless.
void WaitForForeground() {
  if (platform::IsHeadless()) return;
  const uint32_t start = platform::TickCount();
  platform::Message msg;
  while (platform::GetForegroundWindow() != MainWindowHandle &&
         platform::TickCount() - start < kForegroundWaitMs) {
    if (platform::PeekAppMessage(&msg)) {
      if (msg.id == platform::kMsgQuit) {
        platform::PostQuitMessage(0);  // keep it for the loop
        return;
      }
      platform::TranslateAppMessage(msg);
      platform::DispatchAppMessage(msg);
    } else {
      platform::SleepMs(1);
    }
  }
}

int SetStartupDisplayMode() {
  if (WindowedFlag == 0) {
    FitWindowToFullScreenPicture();
    platform::SetWindowStyle(MainWindowHandle, platform::kStylePopup);
    platform::RemoveWindowMenu(MainWindowHandle);
    FullScreenScaleByte = 0;
    if (!SetDisplayMode(32, 0, 640, 480) && !SetDisplayMode(16, 0, 640, 480)) {
      ShowError(1, "Could not set up screen.");
      return 0;
    }
    return 1;
  }
  // The size asked for, whether or not the device could be made at it.
  const int width = WindowSize == 1 ? 640 : 960;
  const int height = WindowSize == 1 ? 480 : 720;
  SetDisplayMode(32, 1, width, height);
  platform::SetWindowStyle(MainWindowHandle, platform::kStyleCaptioned);
  ResizeWindowToClient(width, height);
  ResizeWindowToClient(width, height);
  UpdateMenuChecks();
  CentreWindow();
  return 1;
}

}  // namespace

int StartSteamClients() {
  if (SteamEdition == 1) {
    SteamRunning = 1;
    if (!SteamAPI_Init()) SteamRunning = 0;
  }
  if (SteamRunning != 1) return 1;
  if (IntroductoryAdventureFlag == 0)
    g_SteamAchievements = new (std::nothrow) CSteamAchievements(FullAchievementTable, kFullAchievementCount);
  else
    g_SteamAchievements = new (std::nothrow) CSteamAchievements(DemoAchievementTable, kDemoAchievementCount);
  g_SteamLeaderboards = new (std::nothrow) CSteamLeaderboards();
  if (g_SteamLeaderboards) g_SteamLeaderboards->FindScoreLeaderboard();
  return 1;
}

int cApp::Init() {
  // Steam and its clients.
  StartSteamClients();
  // The journal and the adventure's folder.
  ResetQuestJournal();
  SetAdventureFolder();
  // The window and the display adapter.
  MainWindowHandle = Window();
  Graphics.window = MainWindowHandle;
  ShutdownGraphics();
  if (!CreateGraphicsAdapter()) {
    ShowError(1, "Problem with DirectX");
    return 0;
  }
  // Settings.
  ReadSettingsFile();
  SettingsLoaded = 1;
  // The display mode.
  if (!SetStartupDisplayMode()) return 0;
  // The window in front.
  platform::ShowAppWindow(MainWindowHandle, platform::kShow);
  platform::SetForegroundWindow(MainWindowHandle);
  WaitForForeground();
  // One black frame.
  if (Graphics.device) {
    ClearScreen(0xFF000000u);
    PresentFrame();
  }
  // Sound and music.
  if (!StartSound()) return 0;
  StartMusic();
  // The adventure flags.
  std::memset(GameFlags, 0, sizeof GameFlags);
  // The sprite sheets, and the help pages their text links open.
  if (!StartSpriteSheets()) return 0;
  if (!CheckHelpFile()) {
    ShowError(1, "Could not load the help file.");
    return 0;
  }
  // Alpha test, kept by every later device.
  EnableAlphaTest();
  // The item, spell and crafted-item tables.
  if (!StartRecordTables()) return 0;
  // Sight rays.
  InitSightRayTables();
  // Clears of combat and the game screen.
  for (FighterSlot& slot : FighterSlots)
    if (slot.walkStep != 0) slot.walkStep = 0;  // a slot never used keeps its page untouched
  std::memset(GameScreenCaptions, 0, sizeof GameScreenCaptions);
  std::memset(GameScreenWorkArea, 0, sizeof GameScreenWorkArea);
  std::memset(CreatureMarkWords, 0, sizeof CreatureMarkWords);
  std::memset(FighterMarkWords, 0, sizeof FighterMarkWords);
  ClearRegionGrid();
  // In front again.
  platform::ShowAppWindow(MainWindowHandle, platform::kShow);
  platform::SetForegroundWindow(MainWindowHandle);
  // The input devices and the mouse speed.
  if (!StartInputDevices()) return 0;
  // The first page.
  ResetPageHistory();
  ScreenMode = kModePageView;
  // The frame timer, the window restored, start-up done.
  GameTiming.Start();
  platform::ShowAppWindow(MainWindowHandle, platform::kShowRestore);
  StartupPending = 0;
  return 1;
}
