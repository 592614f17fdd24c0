#include "engine/settings.h"

#include <cstdio>
#include <cstring>

#include "engine/frame.h"
#include "platform/files.h"
#include "engine/game_speeds.h"

const int32_t DefaultOptionWords[kOptionWordCount] = {
    0, 0, 0, 0, 65, 40, 70, 0, 0, 1, 1, 1, 1, 0, 0, 1, 0, 0,
    0, 0, 0, 0, 1, 0, 1, 0, 1, 0, 1, 0, 0, 0, 0, 1, 0};

int32_t OptionWords[kOptionWordCount] = {
    0, 0, 0, 0, 65, 40, 70, 0, 0, 1, 1, 1, 1, 0, 0, 1, 0, 0,
    0, 0, 0, 0, 1, 0, 1, 0, 1, 0, 1, 0, 0, 0, 0, 1, 0};
uint8_t WindowedFlag = 1;
uint32_t WindowSize = 2;
uint8_t CursorFreeFlag = 1;
uint32_t PartiesStartedCount = 0;
uint8_t CombatRollsPanelShown = 0;
uint8_t ActionsPanelShown = 1;
uint8_t ReadyModeFlag = 0;

char SettingsFileName[260] = "Config.dat";

namespace {

// A value read from the file: one the game could not use safely takes the
// built-in default.
int32_t CheckedOption(int index, int32_t value) { return OptionWordFits(index, value) ? value : DefaultOptionWords[index]; }

uint32_t ReadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

void WriteU32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}

// One field of the file; false when the file ended before it.
bool ReadField(FILE* f, uint8_t* out, size_t size) { return std::fread(out, size, 1, f) == 1; }

void SetFastestSpeeds() {
  for (int32_t& w : AnimationStepWords) w = 1;
  for (int32_t& v : MotionStepValues) v = 24;
  WalkStepSmall = WalkStepLarge = 24;
  FloatingTextFrames = EventAnimationFrames = CombatStepFrames = 2;
}

}  // namespace

bool OptionWordFits(int index, int32_t value) {
  if (index < 0 || index >= kOptionWordCount) return false;
  const bool volume = index >= kOptionSoundVolume && index <= kOptionAmbientVolume;
  return !volume || (value >= 0 && value <= 100);
}

void ResetSettingsToDefaults() {
  std::memcpy(OptionWords, DefaultOptionWords, sizeof OptionWords);
  WindowedFlag = 1;
  WindowSize = 2;
  CursorFreeFlag = 1;
  PartiesStartedCount = 0;
  CombatRollsPanelShown = 0;
  ActionsPanelShown = 1;
  ReadyModeFlag = 0;
}

void ReadSettingsFile() {
  FILE* f = platform::OpenGameFile(SettingsFileName, "rb");
  if (!f) return;  // no settings yet: the defaults stay
  uint8_t b[4];
  // The window's mode and size choose the scale the picture is drawn at and
  // the one the pointer is read at: any other value than these parts them,
  // and the default is kept instead.
  if (ReadField(f, b, 1)) WindowedFlag = b[0] <= 1 ? b[0] : 1;
  if (ReadField(f, b, 4)) {
    const uint32_t size = ReadU32(b);
    WindowSize = size >= 1 && size <= 3 ? size : 2;
  }
  if (ReadField(f, b, 1)) CursorFreeFlag = b[0];
  for (int i = kOptionSoundVolume; i <= kOptionAmbientVolume; ++i)
    if (ReadField(f, b, 4)) OptionWords[i] = CheckedOption(i, static_cast<int32_t>(ReadU32(b)));

  uint8_t first[60] = {};  // a short file leaves zeros
  const size_t firstRead = std::fread(first, 1, sizeof first, f);
  for (int i = 0; i < 15; ++i)
    OptionWords[11 + i] = CheckedOption(11 + i, static_cast<int32_t>(ReadU32(first + 4 * i)));
  CombatRollsPanelShown = OptionWords[kOptionCombatRollsPanelWord] == 1 ? 1 : 0;
  switch (OptionWords[kOptionActionPanelWord]) {
    case 0: ActionsPanelShown = 0, ReadyModeFlag = 0; break;
    case 1: ActionsPanelShown = 1, ReadyModeFlag = 0; break;
    case 2: ActionsPanelShown = 1, ReadyModeFlag = 1; break;
    default: break;
  }
  ApplyCombatSpeedOption();
  ApplyWalkSpeedOption();

  uint8_t second[36] = {};
  if (firstRead == sizeof first) (void)std::fread(second, 1, sizeof second, f);
  for (int i = 0; i < 9; ++i)
    OptionWords[26 + i] = CheckedOption(26 + i, static_cast<int32_t>(ReadU32(second + 4 * i)));
  if (ReadField(f, b, 4)) PartiesStartedCount = ReadU32(b);
  std::fclose(f);
}

void PackSettingsFile(uint8_t out[kSettingsFileSize]) {
  std::memset(out, 0, kSettingsFileSize);
  out[0] = WindowedFlag;
  WriteU32(out + kSettingsOffsetWindowSize, WindowSize);
  out[kSettingsOffsetCursor] = CursorFreeFlag;
  for (int i = 0; i < 3; ++i)
    WriteU32(out + kSettingsOffsetVolumes + 4 * i, static_cast<uint32_t>(OptionWords[kOptionSoundVolume + i]));
  for (int i = 0; i < 15; ++i) {
    const int index = 11 + i;
    int32_t value = OptionWords[index];
    if (index == kOptionCombatRollsPanelWord) value = CombatRollsPanelShown == 1 ? 1 : 0;
    if (index == kOptionActionPanelWord) value = ActionsPanelShown == 0 ? 0 : ReadyModeFlag == 1 ? 2 : 1;
    WriteU32(out + kSettingsOffsetFirstRun + 4 * i, static_cast<uint32_t>(value));
  }
  for (int i = 0; i < 9; ++i)
    WriteU32(out + kSettingsOffsetSecondRun + 4 * i, static_cast<uint32_t>(OptionWords[26 + i]));
  WriteU32(out + kSettingsOffsetPartiesStarted, PartiesStartedCount);
}

void WriteSettingsFile() {
  uint8_t bytes[kSettingsFileSize];
  PackSettingsFile(bytes);
  // Written beside the old file and renamed into place: a failed write keeps
  // the previous settings whole, and a file that cannot be made is skipped.
  (void)platform::WriteGameFileAtomically(SettingsFileName, bytes, sizeof bytes);
}

void ApplyCombatSpeedOption() {
  if (OptionWords[kOptionAcceleratedCombat] != 1) {
    FloatingTextFrames = 60, EventAnimationFrames = 51, CombatStepFrames = 45;
    return;
  }
  FloatingTextFrames = 30, EventAnimationFrames = 25, CombatStepFrames = 22;
  if (DebugMode) SetFastestSpeeds();
}

void ApplyWalkSpeedOption() {
  if (OptionWords[kOptionDoubleWalkSpeed] != 1) {
    WalkStepSmall = 2, WalkStepLarge = 4;
    return;
  }
  WalkStepSmall = 4, WalkStepLarge = 8;
  if (DebugMode) SetFastestSpeeds();
}

int DeriveDisplayOptionWords() {
  OptionWords[kOptionCombatRollsPanelWord] = CombatRollsPanelShown == 1 ? 1 : 0;
  OptionWords[kOptionActionPanelWord] = ActionsPanelShown == 0 ? 0 : ReadyModeFlag == 1 ? 2 : 1;
  return 1;
}

bool IsWideView() { return WindowedFlag == 1 && WindowSize == 3; }
int ViewWidth() { return IsWideView() ? 480 : 320; }
int ViewHeight() { return IsWideView() ? 360 : 240; }
int PictureToView(int picturePixels) { return IsWideView() ? picturePixels * 3 / 2 : picturePixels; }
int ViewToPicture(int viewPixels) {
  if (!IsWideView()) return viewPixels;
  const int twice = 2 * viewPixels;
  return twice >= 0 ? twice / 3 : -((-twice + 2) / 3);
}
