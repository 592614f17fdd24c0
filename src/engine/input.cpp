#include "engine/input.h"

#include <cstring>

#include "engine/main_window.h"
#include "engine/settings.h"
#include "platform/input.h"

InputObject Input;
InputDevice KeyboardDevice;
InputDevice PointerDevice;
InputDevice JoystickDevice;
int32_t MouseClientX = 0;
int32_t MouseClientY = 0;

namespace {

void PutWord(uint8_t* at, int32_t v) { std::memcpy(at, &v, sizeof v); }

int32_t Word(const uint8_t* at) {
  int32_t v;
  std::memcpy(&v, at, sizeof v);
  return v;
}

// The joystick state laid out as the 80 bytes of the state buffer.
void PackJoystick(const platform::ControllerState& s, uint8_t* state) {
  const int32_t words[12] = {s.x, s.y, s.z, s.rx, s.ry, s.rz, s.sliders[0], s.sliders[1],
                             static_cast<int32_t>(s.hats[0]), static_cast<int32_t>(s.hats[1]),
                             static_cast<int32_t>(s.hats[2]), static_cast<int32_t>(s.hats[3])};
  for (int i = 0; i < 12; ++i) PutWord(state + 4 * i, words[i]);
  std::memcpy(state + kJoystickButtonsAt, s.buttons, kJoystickButtonCount);
}

// The cursor in logical pixels from its place in the window's client area.
void ReadCursor(InputDevice* d) {
  int cx = 0, cy = 0;
  platform::GetCursorClientPos(Input.window, &cx, &cy);
  const int divisor = (d->windowed && WindowSize != 1) ? 3 : 2;
  d->x = cx / divisor;
  d->y = cy / divisor;
  if (d->windowed && CursorFreeFlag == 0) {
    bool clamped = false;
    auto clamp = [&](int32_t& v, int32_t hi) {
      if (v < 0 || v > hi) {
        v = v < 0 ? 0 : hi;
        clamped = true;
      }
    };
    clamp(d->x, 309);
    clamp(d->y, 229);
    // Keep the system cursor inside the picture.
    if (clamped) platform::SetCursorClientPos(Input.window, d->x * divisor, d->y * divisor);
  }
  MouseClientX = cx;
  MouseClientY = cy;
}

// Clears the lock of every key or button that is up now.
void ReleasePass(InputDevice* d, int first, int count) {
  for (int i = 0; i < count; ++i)
    if ((d->state[first + i] & 0x80) == 0) d->locks[i] = 0;
}

// A key or button pressed since the last read counts as down for this frame,
// however briefly it was held, so a tap between two reads is never lost. Its
// lock is left as it is: a latched key let go and pressed again between two
// reads was never seen up, and stays latched.
void TakePresses(InputDevice* d, int first, const uint8_t* pressed, int count) {
  for (int i = 0; i < count; ++i)
    if ((pressed[i] & 0x80) != 0) d->state[first + i] |= 0x80;
}

}  // namespace

int InitInput() {
  ShutdownInput();
  Input.window = MainWindowHandle;
  Input.created = 1;
  return 1;
}

void ShutdownInput() {
  FreeInputDevice(&KeyboardDevice);
  FreeInputDevice(&PointerDevice);
  FreeInputDevice(&JoystickDevice);
  Input.created = 0;
  Input.window = 0;
}

int CreateInputDevice(InputDevice* device, int kind, int windowed) {
  if (!device) return 0;
  FreeInputDevice(device);
  device->owner = &Input;
  if (!Input.created) {
    device->errorCode = 2;
    return 0;
  }
  switch (kind) {
    case kInputKeyboard:
    case kInputMouse:
      break;
    case kInputJoystick:
      // The first attached controller that opens; none is no failure of
      // the program, only of this device.
      if (!platform::ControllerOpen()) {
        const int controllers = platform::ControllerCount();
        for (int i = 0; i < controllers; ++i)
          if (EnumJoystickCallback(i, device) == 0) break;
      }
      if (!platform::ControllerOpen()) {
        device->errorCode = 2;
        return 0;
      }
      platform::ControllerAxisRange(&device->xMin, &device->xMax);
      platform::ControllerAxisRange(&device->yMin, &device->yMax);
      break;
    default:
      device->errorCode = 2;
      return 0;
  }
  device->present = 1;
  device->windowed = windowed ? 1 : 0;
  device->kind = static_cast<int16_t>(kind);
  device->errorCode = 0;
  ClearInputState(device);
  return 1;
}

int EnumJoystickCallback(int controller, InputDevice* device) {
  if (device == nullptr) return 0;
  return platform::OpenControllerAt(controller) ? 0 : 1;
}

void FreeInputDevice(InputDevice* device) {
  if (!device) return;
  if (device->kind == kInputJoystick && device->present) platform::CloseController();
  device->present = 0;
  device->kind = kInputNone;
  ClearInputState(device);
}

void ClearInputState(InputDevice* device) {
  if (!device) return;
  std::memset(device->state, 0, sizeof device->state);
  std::memset(device->locks, 0, sizeof device->locks);
  std::memset(device->withControl, 0, sizeof device->withControl);
  device->x = device->y = device->z = 0;
}

int ReadInputDevice(InputDevice* device) {
  if (!device || !device->present) return 0;
  switch (device->kind) {
    case kInputKeyboard: {
      uint8_t pressed[256];
      platform::TakeKeyPresses(pressed);
      std::memcpy(device->state, platform::KeyboardState(), 256);
      std::memcpy(device->withControl, platform::KeysWithControl(), 256);
      TakePresses(device, 0, pressed, 256);
      ReleasePass(device, 0, 256);
      return 1;
    }
    case kInputMouse: {
      const platform::MouseState m = platform::ReadMouseState();
      PutWord(device->state + 0, m.dx);
      PutWord(device->state + 4, m.dy);
      PutWord(device->state + 8, m.dz);
      std::memcpy(device->state + kMouseButtonsAt, m.buttons, kMouseButtonCount);
      TakePresses(device, kMouseButtonsAt, m.pressed, kMouseButtonCount);
      device->z = m.dz;
      ReadCursor(device);
      ReleasePass(device, kMouseButtonsAt, kMouseButtonCount);
      return 1;
    }
    case kInputJoystick: {
      platform::ControllerState s;
      if (!platform::ReadControllerState(&s)) return 0;  // the previous state stays
      PackJoystick(s, device->state);
      ReleasePass(device, kJoystickButtonsAt, kJoystickButtonCount);
      return 1;
    }
    default:
      return 0;
  }
}

int GetInputX(InputDevice* device) {
  if (!device) return 0;
  if (device->kind == kInputJoystick) device->x = Word(device->state + 0);
  return device->x;
}

int GetInputY(InputDevice* device) {
  if (!device) return 0;
  if (device->kind == kInputJoystick) device->y = Word(device->state + 4);
  return device->y;
}

int GetMouseWheel() {
  if (PointerDevice.kind == kInputJoystick) PointerDevice.z = Word(PointerDevice.state + 8);
  return PointerDevice.z;
}

int IsKeyDown(int key) {
  if (key < 0 || key > 255) return 0;
  return (KeyboardDevice.state[key] & 0x80) && KeyboardDevice.locks[key] == 0 ? 1 : 0;
}

int IsButtonDown(int button) {
  int at = 0;
  if (PointerDevice.kind == kInputMouse && button >= 0 && button < kMouseButtonCount)
    at = kMouseButtonsAt + button;
  else if (PointerDevice.kind == kInputJoystick && button >= 0 && button < kJoystickButtonCount)
    at = kJoystickButtonsAt + button;
  else
    return 0;
  return (PointerDevice.state[at] & 0x80) && PointerDevice.locks[button] == 0 ? 1 : 0;
}
