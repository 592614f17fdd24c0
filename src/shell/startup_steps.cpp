// The subsystem steps of start-up and shutdown.
#include <cstdio>

#include "shell/display_modes.h"
#include "shell/application.h"
#include "engine/graphics.h"
#include "engine/input.h"
#include "engine/music.h"
#include "engine/sound.h"
#include "engine/sprite_sheets.h"
#include "shell/startup.h"
#include "state/game_progress.h"
#include "engine/settings.h"
#include "rules/item_tables.h"
#include "map/square_grids.h"
#include "platform/files.h"
#include "platform/system.h"
#include "platform/window.h"
#include "screens/game/game_screen.h"

int StartSound() {
  InitSound(MainWindowHandle);
  for (int channel = 0; channel < kSoundChannelCount; ++channel) CreateSoundChannel(channel);
  for (int k = 1; k <= kSoundFileCount; ++k) {
    FreeSoundSample(&SoundSamples[k]);
    // Each file is checked now and read when its sound first plays.
    if (!CheckWavFile(&SoundSamples[k], SoundFileNames[k - 1])) {
      ShowError(1, "Failed to load a Sound file");
      return 0;
    }
  }
  return 1;
}

void StartMusic() {
  for (int32_t& position : MusicTrackPositions) position = 0;
  FreeMusicSegment();
  FreeMp3Player();
  CreateMp3Player();  // a failure leaves the combat track silent
}
// The sheets fail start-up (with LoadTextures' own message): every screen
// draws from them.
int StartSpriteSheets() { return LoadTextures() ? 1 : 0; }
// The crafted table comes from the adventure's prepared start (save folder
// 0): one missing or cut short ends start-up, naming the file, as the item
// and spell tables' own failures do.
int StartRecordTables() {
  if (!LoadItemTable() || !LoadSpellTable()) return 0;
  char path[300];
  std::snprintf(path, sizeof path, "SaveGame\\%s\\0\\SaveWeapon.wml", AdventureFolder);
  if (LoadCraftedWeapons(path)) return 1;
  ShowError(1, "Could not %s %s.", platform::GameFileExists(path) ? "read" : "open", platform::GamePath(path).c_str());
  return 0;
}
void ClearRegionGrid() {
  for (int32_t& r : RegionGrid) r = -1;
}

int StartInputDevices() {
  // The input object for the main window.
  ShutdownInput();
  Input.window = MainWindowHandle;
  if (!InitInput()) {
    ShowError(1, "Failed to set DirectInput");
    return 0;
  }
  // The mouse.
  CreateInputDevice(&PointerDevice, kInputMouse, WindowedFlag == 1 ? 1 : 0);
  if (WindowedFlag != 1) platform::ShowSystemCursor(false);
  // The user's mouse speed is kept; full screen uses speed 7.
  KeptMouseSpeed = platform::GetSystemMouseSpeed();
  MouseSpeedKept = 1;
  if (WindowedFlag == 0) platform::SetSystemMouseSpeed(7);
  // The cursor centred, the joystick when there is one, the keyboard.
  CentreMouseCursor();
  JoystickPresent = 1;
  if (!CreateInputDevice(&JoystickDevice, kInputJoystick, WindowedFlag == 1 ? 1 : 0)) JoystickPresent = 0;
  CreateInputDevice(&KeyboardDevice, kInputKeyboard, WindowedFlag == 1 ? 1 : 0);
  return 1;
}

void StopMusicKeepingItsPlace() {
  if (OptionWords[kOptionMusicVolume] > 0 && CurrentMusicTrack > 0 && CurrentMusicTrack < kMusicTrackCount) {
    MusicTrackPositions[CurrentMusicTrack] = GetMusicPosition();
    SetMusicVolume(0);
    StopMusic();
    StopMusic();
  }
}

void StopMusicAndSound() {
  if (Mp3.control) StopMp3();
  FreeMp3Player();
  FreeMusicSegment();
  for (int channel = 0; channel < kSoundChannelCount; ++channel)
    if (IsChannelPlaying(channel)) StopChannel(channel);
  for (int channel = 0; channel < kSoundChannelCount; ++channel) FreeSoundChannel(channel);
  for (SoundSample& sample : SoundSamples) FreeSoundSample(&sample);
  ShutdownSound();
}
void StopInputDevices() {
  FreeInputDevice(&KeyboardDevice);
  FreeInputDevice(&PointerDevice);
  FreeInputDevice(&JoystickDevice);
  ShutdownInput();
}
void StopSpriteSheets() { FreeSheetBank(); }
