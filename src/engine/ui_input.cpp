#include "engine/ui_input.h"

#include "engine/input.h"

int PointerX() { return GetInputX(&PointerDevice); }
int PointerY() { return GetInputY(&PointerDevice); }

bool ButtonPressed(int button) { return button >= 0 && button <= 1 && IsButtonDown(button) == 1; }

// The pointing device's own lock entries: the mouse's buttons, or the
// joystick's when the pointer is a joystick.
void LatchButton(int button) {
  if (button >= 0 && button <= 1) PointerDevice.locks[button] = 1;
}

bool KeyPressed(int key) { return key >= 0 && key <= 255 && IsKeyDown(key) == 1; }

void LatchKey(int key) {
  if (key >= 0 && key <= 255) KeyboardDevice.locks[key] = 1;
}

bool ButtonHeld(int button) {
  if (button < 0 || button > 1) return false;
  int at = 0;
  if (PointerDevice.kind == kInputMouse)
    at = kMouseButtonsAt + button;
  else if (PointerDevice.kind == kInputJoystick)
    at = kJoystickButtonsAt + button;
  else
    return false;
  return (PointerDevice.state[at] & 0x80) != 0;
}

bool TakeKey(int key) {
  if (!KeyPressed(key)) return false;
  LatchKey(key);
  return true;
}

bool KeyHeld(int key) { return key >= 0 && key <= 255 && (KeyboardDevice.state[key] & 0x80) != 0; }

bool KeyWithControl(int key) { return key >= 0 && key <= 255 && KeyboardDevice.withControl[key] != 0; }
