// The input devices: keyboard, pointing device and joystick, read once per
// frame. Keys are numbered by PC scan code (0x01 Escape, 0x1C Return...). A
// key or button is down when the top bit (0x80) of its state byte is set; a
// caller that acts on a press latches it (sets its lock entry to 1), and it
// then reads as up until a read sees it released, so one press acts once.
#pragma once
#include <cstdint>

#include "platform/window.h"

// The input object: the main window and whether the input system is set up.
struct InputObject {
  platform::WindowHandle window = 0;
  uint8_t created = 0;
};

enum InputKind : int16_t { kInputNone = 0, kInputKeyboard = 1, kInputMouse = 2, kInputJoystick = 3 };

// Where the fields of the state buffer lie. Mouse: x, y, z movement (32-bit
// each) and 4 button bytes (16 bytes read). Joystick: x, y, z axes,
// rotations x, y, z, 2 sliders, 4 hat switches (32-bit each) and 32 button
// bytes (80 bytes read).
constexpr int kMouseStateSize = 16;
constexpr int kMouseButtonsAt = 12;
constexpr int kMouseButtonCount = 4;
constexpr int kJoystickStateSize = 80;
constexpr int kJoystickButtonsAt = 48;
constexpr int kJoystickButtonCount = 32;

struct InputDevice {
  InputObject* owner = nullptr;
  int16_t kind = kInputNone;
  uint8_t present = 0;  // the device is open
  uint8_t windowed = 0;
  uint8_t state[256] = {};
  int32_t xMin = 0, xMax = 0, yMin = 0, yMax = 0;  // joystick axis ranges
  int32_t locks[256] = {};
  // Keyboard: 0x80 for a key pressed together with Control, in the order the
  // keys went down (platform::KeysWithControl), as the last read found it.
  uint8_t withControl[256] = {};
  int32_t x = 0, y = 0, z = 0;
  int32_t errorCode = 0;  // 2 no device, 3 data format refused, 4 cooperative level refused
};

extern InputObject Input;
extern InputDevice KeyboardDevice;
extern InputDevice PointerDevice;
extern InputDevice JoystickDevice;
// The raw client position of the cursor at the last read (for the game screen).
extern int32_t MouseClientX;
extern int32_t MouseClientY;

int InitInput();
// Releases the three devices and the input object's window.
void ShutdownInput();
int CreateInputDevice(InputDevice* device, int kind, int windowed);
// The joystick enumeration: offered each attached controller in turn, it
// opens the first one that can be opened for the device and stops (0);
// when opening fails it asks for the next (1).
int EnumJoystickCallback(int controller, InputDevice* device);
void FreeInputDevice(InputDevice* device);
void ClearInputState(InputDevice* device);
int ReadInputDevice(InputDevice* device);
int GetInputX(InputDevice* device);
int GetInputY(InputDevice* device);
int GetMouseWheel();
int IsKeyDown(int key);
int IsButtonDown(int button);
