// Shutdown of the game's application object: every step tests that what it
// releases is there, since shutdown also runs after a start-up that failed.
#include "adventure/scripts.h"
#include "shell/application.h"
#include "shell/display_modes.h"
#include "engine/graphics.h"
#include "shell/startup.h"
#include "shell/steam_achievements.h"
#include "shell/steam_leaderboard.h"
#include "engine/settings.h"
#include "platform/system.h"

void StopSteamClients() {
  if (SteamRunning == 1) {
    SteamAPI_Shutdown();
    SteamRunning = 0;
  }
  if (g_SteamAchievements) {
    g_SteamAchievements->UnregisterCallbacks();
    delete g_SteamAchievements;
    g_SteamAchievements = nullptr;
  }
  if (g_SteamLeaderboards) {
    g_SteamLeaderboards->ReleaseLeaderboards();
    delete g_SteamLeaderboards;
    g_SteamLeaderboards = nullptr;
  }
}

int cApp::Shutdown() {
  // The music's position, then the settings (only those that were read:
  // a start-up that failed before them must not overwrite the player's file).
  StopMusicKeepingItsPlace();
  if (SettingsLoaded == 1) WriteSettingsFile();
  // Input, music and sound.
  StopInputDevices();
  StopMusicAndSound();
  // The loaded script.
  FreeLoadedScript();
  // Sheets and the graphics objects.
  StopSpriteSheets();
  ShutdownGraphics();
  // The user's mouse speed.
  if (MouseSpeedKept == 1) {
    platform::SetSystemMouseSpeed(KeptMouseSpeed);
    MouseSpeedKept = 0;
  }
  // Steam.
  StopSteamClients();
  return 1;
}
