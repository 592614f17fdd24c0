// The raw state of keyboard, mouse and controller as the platform sees it.
// Keys are numbered by PC scan code (0x01 Escape, 0x1C Return, 0x38 Left Alt,
// 0x9C keypad Enter, 0xB8 Right Alt, 0xC8 Up arrow and so on); the state is
// updated while the message queue is pumped.
#pragma once
#include <cstdint>

namespace platform {

// 256 key bytes, 0x80 when down.
const uint8_t* KeyboardState();
// The keys pressed since the last call (a key's repeats while held are no
// press), 0x80 each, written into `pressed` (256 bytes); the record then
// starts afresh. A key pressed and let go between two calls is among them.
void TakeKeyPresses(uint8_t* pressed);
// 256 key bytes, 0x80 for a key pressed together with Control as the events
// came: it went down while a Control key was down, or a Control key went down
// while it was held. A key's next press (or a Control key's) sets its byte
// afresh; one pressed after Control came up is a plain key.
const uint8_t* KeysWithControl();
// Scan code for a key name of the media library ("F2", "Return", "A",
// "Keypad 8", "Left Alt"...); 0 when unknown.
int ScanCodeForKeyName(const char* name);

struct MouseState {
  int32_t dx, dy, dz;   // movement since the previous read; dz the wheel
  uint8_t buttons[4];   // 0x80 when down: left, right, middle, fourth
  uint8_t pressed[4];   // 0x80 when pressed since the previous read, even if let go again
};
// Takes the movement and the button presses gathered since the last call.
MouseState ReadMouseState();

struct ControllerState {
  int32_t x, y, z;          // axes
  int32_t rx, ry, rz;       // rotations
  int32_t sliders[2];
  uint32_t hats[4];
  uint8_t buttons[32];      // 0x80 when down
};
// The attached controllers, and opening one of them by its place in that
// list (any one already open is closed first); false when it does not open.
int ControllerCount();
bool OpenControllerAt(int index);
// Opens the first attached controller that opens; false when there is none.
bool OpenController();
void CloseController();
bool ControllerOpen();
bool ReadControllerState(ControllerState* out);
// The axis ranges reported for a controller (minimum, maximum).
void ControllerAxisRange(int* minimum, int* maximum);

// Forgets every key and button (for example after a window was re-created).
void ResetInputState();

// Injection for headless runs: these go through the same queue as real events.
void InjectKey(int scanCode, bool down);
// The mouse moved onto back-buffer pixel (x, y), reported at the window point
// that shows it.
void InjectMouseMove(int x, int y);
// The mouse moved onto point (x, y) of the window's drawing area, as the
// desktop reports it (whatever the window shows there).
void InjectWindowMouseMove(int x, int y);
void InjectMouseButton(int button, bool down);  // 0 left, 1 right, 2 middle
void InjectWheel(int clicks);
void InjectCloseRequest();
// What the desktop tells the main window: the focus lost or gained, the
// window moved, or exposed after the desktop threw its picture away (a
// window manager that starts or ends moves the window and does so; the
// picture left is black).
enum class DesktopEvent { kFocusLost, kFocusGained, kMoved, kExposed };
void InjectDesktopEvent(DesktopEvent event);
// A stand-in controller for headless runs (two axes, four buttons): its
// index among the attached controllers, or -1. Axis and button values take
// effect at the next read of the opened controller.
int AttachTestController();
void DetachTestController();
void SetTestControllerAxis(int axis, int value);
void SetTestControllerButton(int button, bool down);

}  // namespace platform
