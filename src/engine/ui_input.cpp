#include "engine/ui_input.h"

#include <cstdint>

#include "engine/application.h"
#include "engine/graphics.h"
#include "platform/input.h"
#include "platform/window.h"

namespace {
uint8_t g_keyLatch[256];
uint8_t g_buttonLatch[2];
}  // namespace

int PointerX() {
  int x = 0, y = 0;
  platform::GetCursorClientPos(MainWindowHandle, &x, &y);
  const int s = GetDisplayScale();
  return s > 0 ? x / s : x;
}

int PointerY() {
  int x = 0, y = 0;
  platform::GetCursorClientPos(MainWindowHandle, &x, &y);
  const int s = GetDisplayScale();
  return s > 0 ? y / s : y;
}

bool ButtonPressed(int button) {
  if (button < 0 || button > 1) return false;
  // Stand-in until the input devices are read once per frame.
  const bool down = (platform::ReadMouseState().buttons[button] & 0x80) != 0;
  if (!down) g_buttonLatch[button] = 0;
  return down && !g_buttonLatch[button];
}

void LatchButton(int button) {
  if (button >= 0 && button <= 1) g_buttonLatch[button] = 1;
}

bool KeyPressed(int key) {
  if (key < 0 || key > 255) return false;
  const bool down = (platform::KeyboardState()[key] & 0x80) != 0;
  if (!down) g_keyLatch[key] = 0;
  return down && !g_keyLatch[key];
}

void LatchKey(int key) {
  if (key >= 0 && key <= 255) g_keyLatch[key] = 1;
}
