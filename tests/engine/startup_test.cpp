// Start-up failures: the message, the status, and a shutdown that follows
// a start-up that stopped part way.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "engine/application.h"
#include "engine/graphics.h"
#include "engine/startup.h"
#include "frontend/settings.h"
#include "platform/system.h"

namespace {

namespace fs = std::filesystem;

// A game folder of its own whose Graphics folder lacks one sheet.
fs::path FolderWithoutSheet(int missing) {
  const fs::path game = fs::current_path();
  const fs::path dir = fs::temp_directory_path() / ("grevenholt_start" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "Graphics");
  for (const auto& entry : fs::directory_iterator(game / "Graphics"))
    if (entry.path().filename() != std::to_string(missing) + ".dat")
      fs::create_symlink(entry.path(), dir / "Graphics" / entry.path().filename());
  for (const char* sub : {"Sounds", "Midi", "MP3", "SaveGame", "Maps", "Scripts"})
    if (fs::exists(game / sub)) fs::create_directory_symlink(game / sub, dir / sub);
  for (const auto& entry : fs::directory_iterator(game))
    if (entry.is_regular_file() && entry.path().extension() != ".dat")
      fs::create_symlink(entry.path(), dir / entry.path().filename());
  return dir;
}

TEST(StartUp, AMissingSheetEndsStartUpWithItsMessage) {
  const fs::path dir = FolderWithoutSheet(17);
  fs::current_path(dir);
  platform::UseManualClock(true, 1000);
  const int status = GameMain();
  EXPECT_NE(status, 0);
  EXPECT_TRUE(App.StartFailed());
  EXPECT_EQ(platform::LastMessageBoxTitle(), "Fatal Error");
  EXPECT_EQ(platform::LastMessageBoxText(), "Could not load texture 17");
  // Shutdown after the failed start-up, twice over, crashes nothing and
  // leaves the settings file alone.
  AtExitCleanup();
  AtExitCleanup();
  EXPECT_EQ(Graphics.device, nullptr);
  EXPECT_EQ(StartupPending, 1);
  fs::current_path(fs::temp_directory_path());
  fs::remove_all(dir);
}

TEST(Shutdown, BeforeStartUpReleasesNothingAndWritesNothing) {
  std::snprintf(SettingsFileName, sizeof SettingsFileName, "Config.never%d.dat", static_cast<int>(getpid()));
  EXPECT_EQ(App.Shutdown(), 1);
  EXPECT_EQ(std::fopen(SettingsFileName, "rb"), nullptr);
  EXPECT_EQ(SettingsLoaded, 0);
}

}  // namespace
