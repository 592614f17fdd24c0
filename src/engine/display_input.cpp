#include "engine/display_input.h"

#include "platform/input.h"

namespace {
bool g_locked[256] = {};
}

bool DisplayKeyDown(int scanCode) {
  const bool down = (platform::KeyboardState()[scanCode & 0xFF] & 0x80) != 0;
  if (!down) g_locked[scanCode & 0xFF] = false;
  return down;
}
bool DisplayKeyLocked(int scanCode) { return g_locked[scanCode & 0xFF]; }
void LockDisplayKey(int scanCode) { g_locked[scanCode & 0xFF] = true; }
void SetMouseWindowedFlag(int) {}
bool RecreateInputDevices() { return true; }
int StopMusicKeepingPosition() { return -1; }

namespace {
int g_mouseX = 0, g_mouseY = 0;
}

bool ReadFrameInput() {
  const int oldX = g_mouseX, oldY = g_mouseY;
  if (g_mouseX < 0) g_mouseX = 0;
  if (g_mouseX > 309) g_mouseX = 309;
  if (g_mouseY < 0) g_mouseY = 0;
  if (g_mouseY > 229) g_mouseY = 229;
  return oldX != g_mouseX || oldY != g_mouseY;
}
bool FrameKeyDown(int scanCode) { return DisplayKeyDown(scanCode) && !DisplayKeyLocked(scanCode); }
bool FrameButtonDown(int) { return false; }
void LatchFrameButton(int) {}
void LatchFrameKey(int scanCode) { LockDisplayKey(scanCode); }
int FrameMouseX() { return g_mouseX; }
int FrameMouseY() { return g_mouseY; }
bool PollMusicCompleteStep() { return false; }
void PauseMediaGraph() {}
void PlayPickerClickSound() {}
