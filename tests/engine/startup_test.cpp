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
#include "engine/help_pages.h"
#include "engine/sound.h"
#include "engine/startup.h"
#include "frontend/settings.h"
#include "platform/files.h"
#include "platform/system.h"

namespace {

namespace fs = std::filesystem;

// A game folder of its own, linked to the real one entry by entry, in which
// one file is missing (a path relative to the game folder).
fs::path FolderWithout(const fs::path& missing) {
  const fs::path game = fs::current_path();
  const fs::path dir = fs::temp_directory_path() / ("grevenholt_start" + std::to_string(getpid()));
  fs::remove_all(dir);
  for (const auto& entry : fs::recursive_directory_iterator(game)) {
    const fs::path rel = fs::relative(entry.path(), game);
    if (rel == missing) continue;
    if (entry.is_directory())
      fs::create_directories(dir / rel);
    else
      fs::create_symlink(entry.path(), dir / rel);
  }
  return dir;
}

// Each process runs one failing start-up (the game's tables are global).
void ExpectStartUpFailure(const fs::path& missing, const char* message) {
  const fs::path dir = FolderWithout(missing);
  fs::current_path(dir);
  platform::UseManualClock(true, 1000);
  const int status = GameMain();
  EXPECT_NE(status, 0);
  EXPECT_TRUE(App.StartFailed());
  EXPECT_EQ(platform::LastMessageBoxTitle(), "Fatal Error");
  EXPECT_EQ(platform::LastMessageBoxText(), message);
  // Shutdown after the failed start-up, twice over, crashes nothing.
  AtExitCleanup();
  AtExitCleanup();
  EXPECT_EQ(Graphics.device, nullptr);
  EXPECT_EQ(StartupPending, 1);
  fs::current_path(fs::temp_directory_path());
  fs::remove_all(dir);
}

TEST(StartUp, AMissingSheetEndsStartUpWithItsMessage) {
  ExpectStartUpFailure("Graphics/17.dat", "Could not load texture 17");
}

TEST(StartUp, AMissingItemTableEndsStartUpWithItsMessage) {
  ExpectStartUpFailure("Item1.iml", "Could not open item file.");
}

TEST(StartUp, AMissingSoundFileEndsStartUpWithItsMessage) {
  ExpectStartUpFailure(platform::GamePath(SoundFileNames[12]), "Failed to load a Sound file");
}

TEST(StartUp, AMissingHelpFileEndsStartUpWithItsMessage) {
  ExpectStartUpFailure(kHelpFileName, "Could not load the help file.");
}

TEST(Shutdown, BeforeStartUpReleasesNothingAndWritesNothing) {
  std::snprintf(SettingsFileName, sizeof SettingsFileName, "Config.never%d.dat", static_cast<int>(getpid()));
  EXPECT_EQ(App.Shutdown(), 1);
  EXPECT_EQ(std::fopen(SettingsFileName, "rb"), nullptr);
  EXPECT_EQ(SettingsLoaded, 0);
}

}  // namespace
