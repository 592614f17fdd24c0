// The options screen: rows change their words at once and the settings file
// written at shutdown keeps them; the sliders set the mixer's volumes.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

#include "engine/click_sound.h"
#include "engine/game_speeds.h"
#include "engine/looping_sounds.h"
#include "engine/music.h"
#include "engine/settings.h"
#include "engine/sound.h"
#include "frontend/front_screens.h"
#include "frontend/options_screen.h"
#include "front_fixture.h"
#include "platform/audio.h"

namespace {

using fronttest::DrawFrame;

constexpr int kSoundY = 48, kMusicY = 56, kAmbientY = 64, kMinusX = 178, kPlusX = 266;

class Options : public ::testing::Test {
 protected:
  void SetUp() override {
    // A settings file of this run's own, kept after shutdown.
    std::snprintf(SettingsFileName, sizeof SettingsFileName, "Config.options%d.dat", static_cast<int>(getpid()));
    ASSERT_TRUE(harness::StartGame());
    SetFirstPage("Title Screen", kPageMainMenu, -1);
    PushPage("Settings", kPageOptions, -1);
  }
  void TearDown() override {
    harness::StopGame();
    std::remove(SettingsFileName);
    std::snprintf(SettingsFileName, sizeof SettingsFileName, "Config.dat");
  }
  static void Press(int x, int y) {
    fronttest::PointAt(x, y);
    fronttest::LeftButton(true);
    DrawFrame(GameOptionsScreen);
  }
  static void Release() {
    fronttest::LeftButton(false);
    DrawFrame(GameOptionsScreen);
  }
  static void ClickRow(int row) { fronttest::ClickOn(60, 77 + 7 * row, GameOptionsScreen); }
};

TEST_F(Options, EveryRowChangesItsWordAtOnceAndShutdownKeepsIt) {
  for (int row = 0; row < kOptionRowCount; ++row) {
    const OptionRow& r = OptionRows[row];
    if (r.word < 0) continue;  // the display switch: below
    const int32_t before = OptionWords[r.word];
    ClickRow(row);
    EXPECT_EQ(OptionWords[r.word], r.kind == OptionRowKind::kToggle ? 1 - before : before + 1) << r.label;
  }
  EXPECT_EQ(FloatingTextFrames, 30);  // accelerated combat, at once
  EXPECT_EQ(WalkStepSmall, 4);
  // "Maximum Hit Points on Level Up" shows Yes, 50%, No; the ability scores
  // come back to 0 after seven clicks.
  for (const char* shown : {"Yes", "50%", "No"}) {
    std::vector<GlyphDraw> glyphs;
    DrawFrame(GameOptionsScreen, &glyphs);
    std::string value;
    for (int x = 255; x <= 270; x += 5)
      for (const GlyphDraw& g : glyphs)
        if (g.y == 75 + 7 * 16 && g.x == x) value += static_cast<char>(g.c);
    EXPECT_EQ(value, shown);
    ClickRow(16);
  }
  for (int i = 0; i < 6; ++i) ClickRow(17);
  EXPECT_EQ(OptionWords[kOptionMaxAbilityScores], 0);

  const std::vector<int32_t> words(OptionWords, OptionWords + kOptionWordCount);
  harness::StopGame();
  std::FILE* f = std::fopen(SettingsFileName, "rb");
  ASSERT_NE(f, nullptr);
  uint8_t bytes[kSettingsFileSize] = {};
  EXPECT_EQ(std::fread(bytes, 1, sizeof bytes, f), kSettingsFileSize);
  std::fclose(f);
  for (const OptionRow& r : OptionRows) {
    if (r.word < 0) continue;
    const size_t at = r.word <= 25 ? kSettingsOffsetFirstRun + 4 * (r.word - 11) : kSettingsOffsetSecondRun + 4 * (r.word - 26);
    EXPECT_EQ(bytes[at] | bytes[at + 1] << 8, words[r.word]) << r.label;
  }
}

TEST_F(Options, TheWindowedRowSwitchesTheDisplay) {
  ClickRow(2);
  EXPECT_EQ(WindowedFlag, 0);
  EXPECT_EQ(Graphics.device->Width(), 640);
  ClickRow(2);
  EXPECT_EQ(WindowedFlag, 1);
  EXPECT_EQ(Graphics.device->Width(), 960);
}

TEST_F(Options, DraggingABarSetsItsVolumeAndPlaysTheTestSoundOnce) {
  const int clicks = ClickSoundsStarted();
  Press(186, kSoundY + 3);  // 2 pixels into the first unit: 5
  EXPECT_EQ(OptionWords[kOptionSoundVolume], 5);
  EXPECT_EQ(ClickSoundsStarted(), clicks + 1);
  // Across the rows and far to the right: no row changes, 100 at the end.
  const int32_t threat = OptionWords[kOptionDisplayThreatAreas];
  for (int y = 80; y < 200; y += 6) {
    fronttest::PointAt(60, y);
    DrawFrame(GameOptionsScreen);
  }
  fronttest::PointAt(310, 150);
  DrawFrame(GameOptionsScreen);
  Release();
  EXPECT_EQ(OptionWords[kOptionDisplayThreatAreas], threat);
  EXPECT_EQ(OptionWords[kOptionSoundVolume], 100);
  EXPECT_EQ(ClickSoundsStarted(), clicks + 1);
  EXPECT_EQ(SliderDrag, 0);
  // Minus at 0 stays 0 and is silent; plus at 100 stays 100 and sounds.
  for (int32_t start : {0, 100}) {
    OptionWords[kOptionSoundVolume] = start;
    Press(start == 0 ? kMinusX : kPlusX, kSoundY + 2);
    Release();
    EXPECT_EQ(OptionWords[kOptionSoundVolume], start);
  }
  EXPECT_EQ(ClickSoundsStarted(), clicks + 2);
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, "options"), 0);
}

TEST_F(Options, TheMusicAndAmbientSlidersSetTheMixerAtOnce) {
  // The music bar dragged up from 0 with no music playing starts the title music.
  OptionWords[kOptionMusicVolume] = 0;
  StopMusic();
  Press(224, kMusicY + 1);
  Release();
  EXPECT_EQ(MusicVolumeValue, 50);
  EXPECT_EQ(platform::MidiLevel(), MusicVolumeLevel(50));
  EXPECT_EQ(CurrentMusicTrack, 16);
  StopMusic();  // the plus button only sets the volume
  Press(kPlusX, kMusicY + 2);
  Release();
  EXPECT_EQ(MusicVolumeValue, 55);
  EXPECT_EQ(CurrentMusicTrack, 0);
  // An ambient channel at half its level follows the ambient slider.
  AmbientChannelLevels[18] = 50;
  OptionWords[kOptionAmbientVolume] = 70;
  Press(kMinusX, kAmbientY + 2);
  Release();
  EXPECT_EQ(SoundChannels[18].volume, 32);
}

}  // namespace
