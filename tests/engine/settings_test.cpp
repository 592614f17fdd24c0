// The settings file: layout, missing and short files, checked values, and the
// speed options.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "engine/frame.h"
#include "engine/settings.h"
#include "engine/game_speeds.h"
#include "harness/harness.h"

namespace {

uint32_t U32At(const uint8_t* b, size_t offset) {
  return b[offset] | b[offset + 1] << 8 | b[offset + 2] << 16 | static_cast<uint32_t>(b[offset + 3]) << 24;
}

void PutU32(std::vector<uint8_t>& b, size_t offset, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[offset + i] = static_cast<uint8_t>(v >> (8 * i));
}

class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSettingsToDefaults();
    DebugMode = 0;
  }
  // A file of the test's own, removed at the end, when the name goes back to
  // the game's: a later test of the process never writes to it.
  const harness::OwnSettingsFile own_{"settings_test"};

  void WriteRaw(const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(SettingsFileName, "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  std::vector<uint8_t> ReadRaw() {
    std::vector<uint8_t> bytes;
    FILE* f = std::fopen(SettingsFileName, "rb");
    if (!f) return bytes;
    int c;
    while ((c = std::fgetc(f)) != EOF) bytes.push_back(static_cast<uint8_t>(c));
    std::fclose(f);
    return bytes;
  }
  // A full file of the defaults, to be edited by a test.
  std::vector<uint8_t> DefaultBytes() {
    std::vector<uint8_t> b(kSettingsFileSize);
    PackSettingsFile(b.data());
    return b;
  }
};

TEST_F(SettingsFile, WritesEveryFieldAtItsOffsetAndReadsItBack) {
  WindowedFlag = 0;
  WindowSize = 3;
  CursorFreeFlag = 0;
  OptionWords[kOptionSoundVolume] = 11;
  OptionWords[kOptionMusicVolume] = 22;
  OptionWords[kOptionAmbientVolume] = 33;
  OptionWords[kOptionIronmanMode] = 1;
  OptionWords[kOptionConfirmPersonalSpells] = 1;
  OptionWords[kOptionMultiplyStrengthOnCriticals] = 1;
  OptionWords[kOptionMaxAbilityScores] = 6;
  CombatRollsPanelShown = 1;
  ActionsPanelShown = 1;
  ReadyModeFlag = 1;
  PartiesStartedCount = 7;
  WriteSettingsFile();

  const std::vector<uint8_t> b = ReadRaw();
  ASSERT_EQ(b.size(), 118u);
  EXPECT_EQ(b[0], 0);
  EXPECT_EQ(U32At(b.data(), 1), 3u);
  EXPECT_EQ(b[5], 0);
  EXPECT_EQ(U32At(b.data(), 6), 11u);
  EXPECT_EQ(U32At(b.data(), 10), 22u);
  EXPECT_EQ(U32At(b.data(), 14), 33u);
  EXPECT_EQ(U32At(b.data(), 18), 1u);   // word 11
  EXPECT_EQ(U32At(b.data(), 54), 6u);   // word 20
  EXPECT_EQ(U32At(b.data(), 58), 1u);   // word 21
  EXPECT_EQ(U32At(b.data(), 66), 1u);   // word 23 from the combat rolls panel
  EXPECT_EQ(U32At(b.data(), 70), 2u);   // word 24: panel open, ready mode 1
  EXPECT_EQ(U32At(b.data(), 74), 1u);   // word 25
  EXPECT_EQ(U32At(b.data(), 78), 1u);   // word 26
  EXPECT_EQ(U32At(b.data(), 110), 1u);  // word 34
  EXPECT_EQ(U32At(b.data(), 114), 7u);

  ResetSettingsToDefaults();
  ReadSettingsFile();
  EXPECT_EQ(WindowedFlag, 0);
  EXPECT_EQ(WindowSize, 3u);
  EXPECT_EQ(CursorFreeFlag, 0);
  EXPECT_EQ(OptionWords[kOptionSoundVolume], 11);
  EXPECT_EQ(OptionWords[kOptionAmbientVolume], 33);
  EXPECT_EQ(OptionWords[kOptionConfirmPersonalSpells], 1);
  EXPECT_EQ(OptionWords[kOptionMultiplyStrengthOnCriticals], 1);
  EXPECT_EQ(OptionWords[kOptionMaxAbilityScores], 6);
  EXPECT_EQ(CombatRollsPanelShown, 1);
  EXPECT_EQ(ActionsPanelShown, 1);
  EXPECT_EQ(ReadyModeFlag, 1);
  EXPECT_EQ(PartiesStartedCount, 7u);
  EXPECT_EQ(ReadRaw(), b);  // a second write gives the same bytes
}

TEST_F(SettingsFile, MissingFileKeepsTheDefaultsAndLeavesTheSpeedsAlone) {
  FloatingTextFrames = 99;
  WalkStepSmall = 99;
  ReadSettingsFile();
  EXPECT_EQ(WindowedFlag, 1);
  EXPECT_EQ(WindowSize, 2u);
  EXPECT_EQ(CursorFreeFlag, 1);
  EXPECT_EQ(OptionWords[kOptionSoundVolume], 65);
  EXPECT_EQ(OptionWords[kOptionMusicVolume], 40);
  EXPECT_EQ(OptionWords[kOptionAmbientVolume], 70);
  EXPECT_EQ(FloatingTextFrames, 99);
  EXPECT_EQ(WalkStepSmall, 99);
  FloatingTextFrames = 60;
  WalkStepSmall = 2;
}

TEST_F(SettingsFile, ShortFileReadsTheWordRunsAsZerosAndKeepsMissingFields) {
  std::vector<uint8_t> b = DefaultBytes();
  b[0] = 0;
  PutU32(b, 14, 12);
  b.resize(18 + 8);  // words 11 and 12 only
  WriteRaw(b);
  PartiesStartedCount = 5;
  ReadSettingsFile();
  EXPECT_EQ(WindowedFlag, 0);
  EXPECT_EQ(OptionWords[kOptionAmbientVolume], 12);
  EXPECT_EQ(OptionWords[kOptionDisplayThreatAreas], 1);
  EXPECT_EQ(OptionWords[kOptionPathfindAvoidsEntangle], 0);  // defaults 1, read as zero
  EXPECT_EQ(OptionWords[kOptionBattleMusic], 0);
  EXPECT_EQ(OptionWords[kOptionAutomaticEndOfTurn], 0);
  EXPECT_EQ(OptionWords[kOptionSkipTurnAfterLeftClickAttack], 0);
  EXPECT_EQ(ActionsPanelShown, 0);
  EXPECT_EQ(PartiesStartedCount, 5u);

  // A file cut inside the window size keeps the size and everything after it.
  ResetSettingsToDefaults();
  WriteRaw({0, 1, 0});
  ReadSettingsFile();
  EXPECT_EQ(WindowedFlag, 0);
  EXPECT_EQ(WindowSize, 2u);
}

// Only the volumes and the window's mode and size are held to their ranges;
// every other value is read as it stands.
TEST_F(SettingsFile, OnlyValuesTheGameCannotUseSafelyTakeTheirDefaults) {
  struct Case {
    size_t offset;
    uint32_t value;
    int word;
    int32_t expected;
  };
  const Case cases[] = {
      {6, 101, kOptionSoundVolume, 65},          {10, 0xFFFFFFFFu, kOptionMusicVolume, 40},
      {14, 100, kOptionAmbientVolume, 100},      {18, 2, kOptionDisplayThreatAreas, 2},
      {46, 3, kOptionMaxHitPointsOnLevelUp, 3},  {54, 7, kOptionMaxAbilityScores, 7},
      {82, 9, kOptionSelectedFighterModeWord, 9},
      {110, 0x80000000u, kOptionMultiplyStrengthOnCriticals, INT32_MIN},
  };
  for (const Case& c : cases) {
    ResetSettingsToDefaults();
    std::vector<uint8_t> b = DefaultBytes();
    PutU32(b, c.offset, c.value);
    WriteRaw(b);
    ReadSettingsFile();
    EXPECT_EQ(OptionWords[c.word], c.expected) << "offset " << c.offset << " value " << c.value;
  }
  const struct {
    uint8_t windowed;
    uint32_t size;
    uint8_t cursor;
    uint8_t wantWindowed;
    uint32_t wantSize;
    uint8_t wantCursor;
  } display[] = {{0, 1, 0, 0, 1, 0}, {2, 0, 9, 1, 2, 9}, {1, 4, 1, 1, 2, 1}, {1, 3, 1, 1, 3, 1}};
  for (const auto& d : display) {
    ResetSettingsToDefaults();
    std::vector<uint8_t> b = DefaultBytes();
    b[0] = d.windowed;
    PutU32(b, 1, d.size);
    b[5] = d.cursor;
    WriteRaw(b);
    ReadSettingsFile();
    EXPECT_EQ(WindowedFlag, d.wantWindowed);
    EXPECT_EQ(WindowSize, d.wantSize);
    EXPECT_EQ(CursorFreeFlag, d.wantCursor);
  }
}

TEST_F(SettingsFile, ActionPanelWordThreeLeavesTheFlagsAndIsWrittenAsOne) {
  std::vector<uint8_t> b = DefaultBytes();
  PutU32(b, 70, 3);
  WriteRaw(b);
  ReadSettingsFile();
  EXPECT_EQ(ActionsPanelShown, 1);
  EXPECT_EQ(ReadyModeFlag, 0);
  WriteSettingsFile();
  EXPECT_EQ(U32At(ReadRaw().data(), 70), 1u);
}

TEST_F(SettingsFile, AFileThatCannotBeCreatedIsSkipped) {
  std::snprintf(SettingsFileName, sizeof SettingsFileName, "%s", "no_such_folder/Config.dat");
  WriteSettingsFile();
  EXPECT_EQ(std::fopen(SettingsFileName, "rb"), nullptr);
}

TEST_F(SettingsFile, AFailedWriteKeepsTheOldFileWhole) {
  WriteRaw(DefaultBytes());
  // A folder in the way of the temporary file makes the write fail.
  const std::string temp = std::string(SettingsFileName) + ".tmp";
  ASSERT_EQ(mkdir(temp.c_str(), 0755), 0);
  WindowSize = 1;
  WriteSettingsFile();
  rmdir(temp.c_str());
  const std::vector<uint8_t> b = ReadRaw();
  ASSERT_EQ(b.size(), 118u);
  EXPECT_EQ(U32At(b.data(), 1), 2u);
}

TEST(SpeedOptions, FollowTheAcceleratedCombatAndDoubleWalkOptions) {
  DebugMode = 0;
  OptionWords[kOptionAcceleratedCombat] = 1;
  ApplyCombatSpeedOption();
  EXPECT_EQ(FloatingTextFrames, 30);
  EXPECT_EQ(EventAnimationFrames, 25);
  EXPECT_EQ(CombatStepFrames, 22);
  EXPECT_EQ(AnimationStepWords[0], 9);
  OptionWords[kOptionAcceleratedCombat] = 0;
  ApplyCombatSpeedOption();
  EXPECT_EQ(FloatingTextFrames, 60);
  EXPECT_EQ(EventAnimationFrames, 51);
  EXPECT_EQ(CombatStepFrames, 45);

  OptionWords[kOptionDoubleWalkSpeed] = 1;
  ApplyWalkSpeedOption();
  EXPECT_EQ(WalkStepSmall, 4);
  EXPECT_EQ(WalkStepLarge, 8);
  OptionWords[kOptionDoubleWalkSpeed] = 2;  // only 1 doubles
  ApplyWalkSpeedOption();
  EXPECT_EQ(WalkStepSmall, 2);

  DebugMode = 1;
  OptionWords[kOptionAcceleratedCombat] = 1;
  ApplyCombatSpeedOption();
  EXPECT_EQ(FloatingTextFrames, 2);
  EXPECT_EQ(WalkStepLarge, 24);
  for (int32_t w : AnimationStepWords) EXPECT_EQ(w, 1);
  for (int32_t v : MotionStepValues) EXPECT_EQ(v, 24);
  DebugMode = 0;
}

TEST(DisplayOptionWords, FollowThePanelFlags) {
  const struct {
    uint8_t rolls, actions, ready;
    int32_t w23, w24;
  } cases[] = {{1, 0, 1, 1, 0}, {0, 1, 0, 0, 1}, {0, 1, 1, 0, 2}, {2, 1, 1, 0, 2}};
  for (const auto& c : cases) {
    CombatRollsPanelShown = c.rolls;
    ActionsPanelShown = c.actions;
    ReadyModeFlag = c.ready;
    EXPECT_EQ(DeriveDisplayOptionWords(), 1);
    EXPECT_EQ(OptionWords[kOptionCombatRollsPanelWord], c.w23);
    EXPECT_EQ(OptionWords[kOptionActionPanelWord], c.w24);
  }
}

}  // namespace
