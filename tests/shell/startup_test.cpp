// Start-up failures: the message, the status, and a shutdown that follows
// a start-up that stopped part way.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "shell/application.h"
#include "engine/graphics.h"
#include "engine/frame.h"
#include "engine/help_pages.h"
#include "engine/page_history.h"
#include "engine/page_history_access.h"
#include "engine/sound.h"
#include "shell/startup.h"
#include "engine/settings.h"
#include "harness/harness.h"
#include "platform/files.h"
#include "platform/system.h"

namespace {

namespace fs = std::filesystem;

// A game folder of its own, linked to the real one, in which one file is
// missing (a path relative to the game folder). Only the folders on the way to
// the missing file are made anew; everything else is one link, so files that
// other tests make and remove beside it meanwhile do not matter.
void LinkAllBut(const fs::path& from, const fs::path& to, const fs::path& missing) {
  std::error_code ec;
  fs::create_directories(to, ec);
  const fs::path first = *missing.begin();
  for (fs::directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path name = it->path().filename();
    if (name == first) {
      const fs::path rest = missing.lexically_relative(first);
      if (rest.empty() || rest == ".") continue;  // the missing file itself
      LinkAllBut(it->path(), to / name, rest);
    } else {
      fs::create_symlink(it->path(), to / name, ec);
      ec.clear();
    }
  }
}

fs::path FolderWithout(const fs::path& missing) {
  const fs::path dir = fs::temp_directory_path() / ("grevenholt_start" + std::to_string(getpid()));
  fs::remove_all(dir);
  LinkAllBut(harness::GameFolder(), dir, missing);
  return dir;
}

// A failing start-up of the process, in the state a process of its own
// starts in. A replacement, when given, stands where the missing file was.
void ExpectStartUpFailure(const fs::path& missing, const char* message, const std::string* replacement = nullptr) {
  const fs::path dir = FolderWithout(missing);
  if (replacement) std::ofstream(dir / missing, std::ios::binary) << *replacement;
  fs::current_path(dir);
  platform::UseManualClock(true, 1000);
  const int status = harness::RunGameMain();
  EXPECT_NE(status, 0);
  EXPECT_TRUE(App.StartFailed());
  EXPECT_EQ(platform::LastMessageBoxTitle(), "Fatal Error");
  EXPECT_EQ(platform::LastMessageBoxText(), message);
  // Shutdown after the failed start-up, twice over, crashes nothing.
  AtExitCleanup();
  AtExitCleanup();
  EXPECT_EQ(Graphics.device, nullptr);
  EXPECT_EQ(StartupPending, 1);
  harness::StopGame();
  fs::current_path(harness::GameFolder());
  fs::remove_all(dir);
}

TEST(StartUp, AMissingSheetEndsStartUpWithItsMessage) {
  ExpectStartUpFailure("Graphics/17.dat", "Could not load texture 17");
}

TEST(StartUp, ASheetClaimingAHugeSizeEndsStartUpWithItsMessageBeforeAllocating) {
  // The real sheet with a header claiming 1,000,000 x 1,000,000 pixels (its checksum made good).
  std::ifstream in(harness::GameFolder() / "Graphics/17.dat", std::ios::binary);
  std::string sheet((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GT(sheet.size(), 33u);
  for (int at : {16, 20})
    for (int i = 0; i < 4; ++i) sheet[at + i] = static_cast<char>((1000000u >> (24 - 8 * i)) & 0xFF);
  uint32_t crc = 0xFFFFFFFFu;
  for (int i = 12; i < 29; ++i) {
    crc ^= static_cast<uint8_t>(sheet[i]);
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  crc = ~crc;
  for (int i = 0; i < 4; ++i) sheet[29 + i] = static_cast<char>((crc >> (24 - 8 * i)) & 0xFF);
  ExpectStartUpFailure("Graphics/17.dat", "Could not load texture 17", &sheet);
}

TEST(StartUp, AMissingItemTableEndsStartUpWithItsMessage) {
  ExpectStartUpFailure("Item1.iml", "Could not open item file.");
}

TEST(StartUp, AMissingPreparedStartEndsStartUpNamingItsFile) {
  // The saved games' folder cleared, the prepared start with them: the box
  // says so, and so does the error output.
  testing::internal::CaptureStderr();
  ExpectStartUpFailure("SaveGame", "Could not open SaveGame/FullVersion/0/SaveWeapon.wml.");
  EXPECT_NE(testing::internal::GetCapturedStderr().find("Fatal Error: Could not open SaveGame/FullVersion/0/SaveWeapon.wml."),
            std::string::npos);
  const std::string cut = "short";
  ExpectStartUpFailure("SaveGame/FullVersion/0/SaveWeapon.wml", "Could not read SaveGame/FullVersion/0/SaveWeapon.wml.",
                       &cut);
}

TEST(StartUp, AMissingSoundFileEndsStartUpWithItsMessage) {
  ExpectStartUpFailure(platform::GamePath(SoundFileNames[12]), "Failed to load a Sound file");
}

TEST(StartUp, AMissingHelpFileEndsStartUpWithItsMessage) {
  ExpectStartUpFailure(kHelpFileName, "Could not load the help file.");
}

// "Start Demo" without the introductory adventure's prepared roster: the
// fatal message names the file, and the program ends as a failure.
TEST(StartDemo, AMissingPreparedRosterIsNamedAndEndsTheProgramAsAFailure) {
  const fs::path dir = FolderWithout("SaveGame/DemoVersion/0/SaveChar.cml");
  fs::current_path(dir);
  ASSERT_TRUE(harness::StartGame());
  SetFirstPage("Title Screen", kPageMainMenu, -1);
  ScreenMode = kModePageView;
  ASSERT_TRUE(harness::StepFrames(2));
  harness::Click(66, 82);  // "Demo"
  ASSERT_TRUE(harness::StepFrames(1));
  harness::Click(122, 82);  // "Start Demo"
  harness::StepFrames(1);
  EXPECT_TRUE(harness::GameEnded());
  EXPECT_EQ(platform::LastMessageBoxTitle(), "Fatal Error");
  EXPECT_EQ(platform::LastMessageBoxText(),
            "Could not read characters.\nCould not open SaveGame/DemoVersion/0/SaveChar.cml.");
  EXPECT_EQ(ProgramStatus(), 1);
  harness::StopGame();
  fs::current_path(harness::GameFolder());
  fs::remove_all(dir);
}

TEST(Shutdown, BeforeStartUpReleasesNothingAndWritesNothing) {
  harness::ResetToProcessStart();
  const harness::OwnSettingsFile settings("never");
  EXPECT_EQ(App.Shutdown(), 1);
  EXPECT_EQ(std::fopen(SettingsFileName, "rb"), nullptr);
  EXPECT_EQ(SettingsLoaded, 0);
}

}  // namespace
