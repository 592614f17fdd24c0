#include "shell/display_input.h"

#include "shell/application.h"
#include "engine/click_sound.h"
#include "engine/input.h"
#include "engine/music.h"
#include "engine/sound.h"
#include "engine/settings.h"
#include "screens/game/game_screen.h"

bool DisplayKeyDown(int scanCode) {
  return scanCode >= 0 && scanCode < 256 && (KeyboardDevice.state[scanCode] & 0x80) != 0;
}
bool DisplayKeyLocked(int scanCode) {
  return scanCode >= 0 && scanCode < 256 && KeyboardDevice.locks[scanCode] != 0;
}
void LockDisplayKey(int scanCode) {
  if (scanCode >= 0 && scanCode < 256) KeyboardDevice.locks[scanCode] = 1;
}
void SetMouseWindowedFlag(int windowed) { PointerDevice.windowed = windowed ? 1 : 0; }

bool RecreateInputDevices() {
  if (!InitInput()) return false;
  CreateInputDevice(&KeyboardDevice, kInputKeyboard, 1);
  CreateInputDevice(&PointerDevice, kInputMouse, 1);
  JoystickPresent = CreateInputDevice(&JoystickDevice, kInputJoystick, 1) ? 1 : 0;
  return true;
}

int StopMusicKeepingPosition() {
  const int track = CurrentMusicTrack;
  if (track <= 0 || track >= kMusicTrackCount) return -1;
  MusicTrackPositions[track] = GetMusicPosition();
  StopMusic();
  return track;
}

bool ReadFrameInput() {
  ReadInputDevice(&KeyboardDevice);
  const int oldX = PointerDevice.x, oldY = PointerDevice.y;
  ReadInputDevice(&PointerDevice);
  if (PointerDevice.x < 0) PointerDevice.x = 0;
  if (PointerDevice.x > 309) PointerDevice.x = 309;
  if (PointerDevice.y < 0) PointerDevice.y = 0;
  if (PointerDevice.y > 229) PointerDevice.y = 229;
  return oldX != PointerDevice.x || oldY != PointerDevice.y;
}
bool FrameKeyDown(int scanCode) { return IsKeyDown(scanCode) != 0; }
bool PollMusicCompleteStep() { return PollMusicComplete() == 1; }
void PauseMediaGraph() {
  if (Mp3.control) PauseMp3();
}

void PlayInterfaceSample(int sample) { PlaySampleOnIdleChannel(sample, 16); }
