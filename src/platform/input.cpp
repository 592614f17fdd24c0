#include "platform/input.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

#include "platform/internal.h"
#include "platform/system.h"
#include "platform/window.h"

namespace platform {
namespace {

struct KeyMapping {
  SDL_Scancode sdl;
  uint8_t pc;
};

// Media-library scancodes to PC scan codes, the numbering the game's keys use.
constexpr KeyMapping kKeyTable[] = {
    {SDL_SCANCODE_ESCAPE, 0x01}, {SDL_SCANCODE_1, 0x02}, {SDL_SCANCODE_2, 0x03},
    {SDL_SCANCODE_3, 0x04}, {SDL_SCANCODE_4, 0x05}, {SDL_SCANCODE_5, 0x06},
    {SDL_SCANCODE_6, 0x07}, {SDL_SCANCODE_7, 0x08}, {SDL_SCANCODE_8, 0x09},
    {SDL_SCANCODE_9, 0x0A}, {SDL_SCANCODE_0, 0x0B}, {SDL_SCANCODE_MINUS, 0x0C},
    {SDL_SCANCODE_EQUALS, 0x0D}, {SDL_SCANCODE_BACKSPACE, 0x0E}, {SDL_SCANCODE_TAB, 0x0F},
    {SDL_SCANCODE_Q, 0x10}, {SDL_SCANCODE_W, 0x11}, {SDL_SCANCODE_E, 0x12},
    {SDL_SCANCODE_R, 0x13}, {SDL_SCANCODE_T, 0x14}, {SDL_SCANCODE_Y, 0x15},
    {SDL_SCANCODE_U, 0x16}, {SDL_SCANCODE_I, 0x17}, {SDL_SCANCODE_O, 0x18},
    {SDL_SCANCODE_P, 0x19}, {SDL_SCANCODE_LEFTBRACKET, 0x1A}, {SDL_SCANCODE_RIGHTBRACKET, 0x1B},
    {SDL_SCANCODE_RETURN, 0x1C}, {SDL_SCANCODE_LCTRL, 0x1D}, {SDL_SCANCODE_A, 0x1E},
    {SDL_SCANCODE_S, 0x1F}, {SDL_SCANCODE_D, 0x20}, {SDL_SCANCODE_F, 0x21},
    {SDL_SCANCODE_G, 0x22}, {SDL_SCANCODE_H, 0x23}, {SDL_SCANCODE_J, 0x24},
    {SDL_SCANCODE_K, 0x25}, {SDL_SCANCODE_L, 0x26}, {SDL_SCANCODE_SEMICOLON, 0x27},
    {SDL_SCANCODE_APOSTROPHE, 0x28}, {SDL_SCANCODE_GRAVE, 0x29}, {SDL_SCANCODE_LSHIFT, 0x2A},
    {SDL_SCANCODE_BACKSLASH, 0x2B}, {SDL_SCANCODE_Z, 0x2C}, {SDL_SCANCODE_X, 0x2D},
    {SDL_SCANCODE_C, 0x2E}, {SDL_SCANCODE_V, 0x2F}, {SDL_SCANCODE_B, 0x30},
    {SDL_SCANCODE_N, 0x31}, {SDL_SCANCODE_M, 0x32}, {SDL_SCANCODE_COMMA, 0x33},
    {SDL_SCANCODE_PERIOD, 0x34}, {SDL_SCANCODE_SLASH, 0x35}, {SDL_SCANCODE_RSHIFT, 0x36},
    {SDL_SCANCODE_KP_MULTIPLY, 0x37}, {SDL_SCANCODE_LALT, 0x38}, {SDL_SCANCODE_SPACE, 0x39},
    {SDL_SCANCODE_CAPSLOCK, 0x3A}, {SDL_SCANCODE_F1, 0x3B}, {SDL_SCANCODE_F2, 0x3C},
    {SDL_SCANCODE_F3, 0x3D}, {SDL_SCANCODE_F4, 0x3E}, {SDL_SCANCODE_F5, 0x3F},
    {SDL_SCANCODE_F6, 0x40}, {SDL_SCANCODE_F7, 0x41}, {SDL_SCANCODE_F8, 0x42},
    {SDL_SCANCODE_F9, 0x43}, {SDL_SCANCODE_F10, 0x44}, {SDL_SCANCODE_NUMLOCKCLEAR, 0x45},
    {SDL_SCANCODE_SCROLLLOCK, 0x46}, {SDL_SCANCODE_KP_7, 0x47}, {SDL_SCANCODE_KP_8, 0x48},
    {SDL_SCANCODE_KP_9, 0x49}, {SDL_SCANCODE_KP_MINUS, 0x4A}, {SDL_SCANCODE_KP_4, 0x4B},
    {SDL_SCANCODE_KP_5, 0x4C}, {SDL_SCANCODE_KP_6, 0x4D}, {SDL_SCANCODE_KP_PLUS, 0x4E},
    {SDL_SCANCODE_KP_1, 0x4F}, {SDL_SCANCODE_KP_2, 0x50}, {SDL_SCANCODE_KP_3, 0x51},
    {SDL_SCANCODE_KP_0, 0x52}, {SDL_SCANCODE_KP_PERIOD, 0x53}, {SDL_SCANCODE_NONUSBACKSLASH, 0x56},
    {SDL_SCANCODE_F11, 0x57}, {SDL_SCANCODE_F12, 0x58}, {SDL_SCANCODE_KP_ENTER, 0x9C},
    {SDL_SCANCODE_RCTRL, 0x9D}, {SDL_SCANCODE_KP_DIVIDE, 0xB5}, {SDL_SCANCODE_PRINTSCREEN, 0xB7},
    {SDL_SCANCODE_RALT, 0xB8}, {SDL_SCANCODE_PAUSE, 0xC5}, {SDL_SCANCODE_HOME, 0xC7},
    {SDL_SCANCODE_UP, 0xC8}, {SDL_SCANCODE_PAGEUP, 0xC9}, {SDL_SCANCODE_LEFT, 0xCB},
    {SDL_SCANCODE_RIGHT, 0xCD}, {SDL_SCANCODE_END, 0xCF}, {SDL_SCANCODE_DOWN, 0xD0},
    {SDL_SCANCODE_PAGEDOWN, 0xD1}, {SDL_SCANCODE_INSERT, 0xD2}, {SDL_SCANCODE_DELETE, 0xD3},
    {SDL_SCANCODE_LGUI, 0xDB}, {SDL_SCANCODE_RGUI, 0xDC}, {SDL_SCANCODE_APPLICATION, 0xDD},
};

uint8_t g_keys[256];
uint8_t g_buttons[4];
// Presses since the last read: a press and its release between two frames
// still reach the frame that follows.
uint8_t g_keyPresses[256];
// Keys pressed together with Control (see KeysWithControl).
uint8_t g_keysWithControl[256];
uint8_t g_buttonPresses[4];
int32_t g_dx, g_dy, g_dz;
// The cursor: the back-buffer pixel under it, and the window point the
// desktop reported it at, mapped through the placement numbered
// g_cursorPlacement.
int g_cursorX, g_cursorY;
WindowHandle g_cursorWindow = 0;
int g_windowX = 0, g_windowY = 0;
uint64_t g_cursorPlacement = 0;

SDL_GameController* g_controller = nullptr;
SDL_Joystick* g_joystick = nullptr;

SDL_Scancode SdlScancodeForPc(int pc) {
  for (const auto& k : kKeyTable)
    if (k.pc == pc) return k.sdl;
  return SDL_SCANCODE_UNKNOWN;
}

constexpr int kPcLeftControl = 0x1D, kPcRightControl = 0x9D;
bool IsControlKey(int pc) { return pc == kPcLeftControl || pc == kPcRightControl; }

// A key went down: pressed with Control when a Control key is down; a Control
// key going down joins every key held at that moment.
void NoteControlChord(int pc) {
  if (!IsControlKey(pc)) {
    g_keysWithControl[pc] = (g_keys[kPcLeftControl] | g_keys[kPcRightControl]) & 0x80;
    return;
  }
  for (int key = 0; key < 256; ++key)
    if (!IsControlKey(key) && (g_keys[key] & 0x80) != 0) g_keysWithControl[key] = 0x80;
}

void PushForMainWindow(SDL_Event& e, uint32_t* windowId) {
  if (SDL_Window* w = NativeWindow(MainAppWindow())) *windowId = SDL_GetWindowID(w);
  SDL_PushEvent(&e);
}

}  // namespace

int PcCodeForScancode(int sdlScancode) {
  for (const auto& k : kKeyTable)
    if (k.sdl == sdlScancode) return k.pc;
  return 0;
}

int ScanCodeForKeyName(const char* name) {
  if (!name || !*name) return 0;
  SDL_Scancode sc = SDL_GetScancodeFromName(name);
  return sc == SDL_SCANCODE_UNKNOWN ? 0 : PcCodeForScancode(sc);
}

void TrackInputEvent(const SDL_Event& e) {
  switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      if (int pc = PcCodeForScancode(e.key.keysym.scancode)) {
        g_keys[pc] = e.type == SDL_KEYDOWN ? 0x80 : 0;
        if (e.type == SDL_KEYDOWN && e.key.repeat == 0) {
          g_keyPresses[pc] = 0x80;
          NoteControlChord(pc);
        }
      }
      break;
    case SDL_MOUSEMOTION: {
      int x = e.motion.x, y = e.motion.y;
      WindowHandle w = e.motion.windowID ? HandleForNativeId(e.motion.windowID) : MainAppWindow();
      g_cursorWindow = w;
      g_windowX = x;
      g_windowY = y;
      g_cursorPlacement = PlacementSerial();
      if (w) WindowToBackBuffer(w, &x, &y);
      g_dx += x - g_cursorX;
      g_dy += y - g_cursorY;
      g_cursorX = x;
      g_cursorY = y;
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      int index = -1;
      switch (e.button.button) {
        case SDL_BUTTON_LEFT: index = 0; break;
        case SDL_BUTTON_RIGHT: index = 1; break;
        case SDL_BUTTON_MIDDLE: index = 2; break;
        case SDL_BUTTON_X1: index = 3; break;
        default: break;
      }
      if (index >= 0) {
        g_buttons[index] = e.type == SDL_MOUSEBUTTONDOWN ? 0x80 : 0;
        if (e.type == SDL_MOUSEBUTTONDOWN) g_buttonPresses[index] = 0x80;
      }
      break;
    }
    case SDL_MOUSEWHEEL:
      g_dz += e.wheel.y * 120;  // one notch of the wheel is 120 units
      break;
    default: break;
  }
}

void TrackedCursor(int* x, int* y) {
  if (g_cursorPlacement != PlacementSerial() && IsAppWindow(g_cursorWindow)) {
    // The picture moved under a pointer at rest: what lies under it now.
    int cx = g_windowX, cy = g_windowY;
    WindowToBackBuffer(g_cursorWindow, &cx, &cy);
    g_cursorX = cx;
    g_cursorY = cy;
    g_cursorPlacement = PlacementSerial();
  }
  if (x) *x = g_cursorX;
  if (y) *y = g_cursorY;
}

void SetTrackedCursor(WindowHandle w, int x, int y) {
  g_cursorX = x;
  g_cursorY = y;
  g_windowX = x;
  g_windowY = y;
  BackBufferToWindow(w, &g_windowX, &g_windowY);
  g_cursorWindow = w;
  g_cursorPlacement = PlacementSerial();
}

const uint8_t* KeyboardState() { return g_keys; }

void TakeKeyPresses(uint8_t* pressed) {
  std::memcpy(pressed, g_keyPresses, sizeof g_keyPresses);
  std::memset(g_keyPresses, 0, sizeof g_keyPresses);
}

const uint8_t* KeysWithControl() { return g_keysWithControl; }

MouseState ReadMouseState() {
  MouseState m{};
  m.dx = g_dx;
  m.dy = g_dy;
  m.dz = g_dz;
  g_dx = g_dy = g_dz = 0;
  std::memcpy(m.buttons, g_buttons, sizeof g_buttons);
  std::memcpy(m.pressed, g_buttonPresses, sizeof g_buttonPresses);
  std::memset(g_buttonPresses, 0, sizeof g_buttonPresses);
  return m;
}

int ControllerCount() {
  if (!SDL_WasInit(SDL_INIT_JOYSTICK)) return 0;
  const int count = SDL_NumJoysticks();
  return count > 0 ? count : 0;
}

bool OpenControllerAt(int index) {
  CloseController();
  if (index < 0 || index >= ControllerCount()) return false;
  if (SDL_IsGameController(index)) {
    g_controller = SDL_GameControllerOpen(index);
    if (g_controller) return true;
  }
  g_joystick = SDL_JoystickOpen(index);
  return g_joystick != nullptr;
}

bool OpenController() {
  CloseController();
  for (int i = 0; i < ControllerCount(); ++i)
    if (OpenControllerAt(i)) return true;  // the first device that opens wins
  return false;
}

void CloseController() {
  if (g_controller) SDL_GameControllerClose(g_controller);
  if (g_joystick) SDL_JoystickClose(g_joystick);
  g_controller = nullptr;
  g_joystick = nullptr;
}

bool ControllerOpen() { return g_controller || g_joystick; }

bool ReadControllerState(ControllerState* out) {
  if (!out) return false;
  *out = ControllerState{};
  if (g_controller) {
    if (!SDL_GameControllerGetAttached(g_controller)) return false;
    SDL_GameControllerUpdate();
    out->x = SDL_GameControllerGetAxis(g_controller, SDL_CONTROLLER_AXIS_LEFTX);
    out->y = SDL_GameControllerGetAxis(g_controller, SDL_CONTROLLER_AXIS_LEFTY);
    out->z = SDL_GameControllerGetAxis(g_controller, SDL_CONTROLLER_AXIS_TRIGGERLEFT);
    out->rx = SDL_GameControllerGetAxis(g_controller, SDL_CONTROLLER_AXIS_RIGHTX);
    out->ry = SDL_GameControllerGetAxis(g_controller, SDL_CONTROLLER_AXIS_RIGHTY);
    out->rz = SDL_GameControllerGetAxis(g_controller, SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
    for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX && b < 32; ++b)
      out->buttons[b] =
          SDL_GameControllerGetButton(g_controller, static_cast<SDL_GameControllerButton>(b)) ? 0x80 : 0;
    out->hats[0] = out->hats[1] = out->hats[2] = out->hats[3] = 0xFFFFFFFFu;
    // The direction pad reads as the left stick pushed to its limits.
    auto pad = [](SDL_GameControllerButton b) { return SDL_GameControllerGetButton(g_controller, b) != 0; };
    if (pad(SDL_CONTROLLER_BUTTON_DPAD_LEFT)) out->x = -32768;
    if (pad(SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) out->x = 32767;
    if (pad(SDL_CONTROLLER_BUTTON_DPAD_UP)) out->y = -32768;
    if (pad(SDL_CONTROLLER_BUTTON_DPAD_DOWN)) out->y = 32767;
    return true;
  }
  if (g_joystick) {
    if (!SDL_JoystickGetAttached(g_joystick)) return false;
    SDL_JoystickUpdate();
    const int axes = SDL_JoystickNumAxes(g_joystick);
    int32_t* slots[] = {&out->x, &out->y, &out->z, &out->rx, &out->ry, &out->rz, &out->sliders[0], &out->sliders[1]};
    for (int a = 0; a < axes && a < 8; ++a) *slots[a] = SDL_JoystickGetAxis(g_joystick, a);
    const int buttons = std::min(32, SDL_JoystickNumButtons(g_joystick));
    for (int b = 0; b < buttons; ++b) out->buttons[b] = SDL_JoystickGetButton(g_joystick, b) ? 0x80 : 0;
    for (int h = 0; h < 4; ++h) {
      if (h >= SDL_JoystickNumHats(g_joystick)) {
        out->hats[h] = 0xFFFFFFFFu;
        continue;
      }
      // Hats as angles in hundredths of a degree, clockwise from up; centred is -1.
      switch (SDL_JoystickGetHat(g_joystick, h)) {
        case SDL_HAT_UP: out->hats[h] = 0; break;
        case SDL_HAT_RIGHTUP: out->hats[h] = 4500; break;
        case SDL_HAT_RIGHT: out->hats[h] = 9000; break;
        case SDL_HAT_RIGHTDOWN: out->hats[h] = 13500; break;
        case SDL_HAT_DOWN: out->hats[h] = 18000; break;
        case SDL_HAT_LEFTDOWN: out->hats[h] = 22500; break;
        case SDL_HAT_LEFT: out->hats[h] = 27000; break;
        case SDL_HAT_LEFTUP: out->hats[h] = 31500; break;
        default: out->hats[h] = 0xFFFFFFFFu; break;
      }
    }
    return true;
  }
  return false;
}

void ControllerAxisRange(int* minimum, int* maximum) {
  if (minimum) *minimum = -32768;
  if (maximum) *maximum = 32767;
}

void ResetInputState() {
  std::memset(g_keys, 0, sizeof g_keys);
  std::memset(g_buttons, 0, sizeof g_buttons);
  std::memset(g_keyPresses, 0, sizeof g_keyPresses);
  std::memset(g_keysWithControl, 0, sizeof g_keysWithControl);
  std::memset(g_buttonPresses, 0, sizeof g_buttonPresses);
  g_dx = g_dy = g_dz = 0;
}

void InjectKey(int scanCode, bool down) {
  SDL_Scancode sc = SdlScancodeForPc(scanCode);
  if (sc == SDL_SCANCODE_UNKNOWN) return;
  SDL_Event e{};
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.scancode = sc;
  e.key.keysym.sym = SDL_GetKeyFromScancode(sc);
  PushForMainWindow(e, &e.key.windowID);
}

void InjectMouseMove(int x, int y) {
  BackBufferToWindow(MainAppWindow(), &x, &y);  // where the window shows that pixel
  InjectWindowMouseMove(x, y);
}

void InjectWindowMouseMove(int x, int y) {
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.xrel = x - g_windowX;
  e.motion.yrel = y - g_windowY;
  e.motion.x = x;
  e.motion.y = y;
  PushForMainWindow(e, &e.motion.windowID);
}

void InjectMouseButton(int button, bool down) {
  static const uint8_t kButtons[] = {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE, SDL_BUTTON_X1};
  if (button < 0 || button > 3) return;
  SDL_Event e{};
  e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  e.button.button = kButtons[button];
  e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.button.x = g_cursorX;
  e.button.y = g_cursorY;
  PushForMainWindow(e, &e.button.windowID);
}

void InjectWheel(int clicks) {
  SDL_Event e{};
  e.type = SDL_MOUSEWHEEL;
  e.wheel.y = clicks;
  PushForMainWindow(e, &e.wheel.windowID);
}

void InjectCloseRequest() {
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.event = SDL_WINDOWEVENT_CLOSE;
  PushForMainWindow(e, &e.window.windowID);
}

void InjectDesktopEvent(DesktopEvent event) {
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  switch (event) {
    case DesktopEvent::kFocusLost: e.window.event = SDL_WINDOWEVENT_FOCUS_LOST; break;
    case DesktopEvent::kFocusGained: e.window.event = SDL_WINDOWEVENT_FOCUS_GAINED; break;
    case DesktopEvent::kMoved: e.window.event = SDL_WINDOWEVENT_MOVED; break;
    case DesktopEvent::kExposed:
      BlankWindowPicture(MainAppWindow());
      e.window.event = SDL_WINDOWEVENT_EXPOSED;
      break;
  }
  PushForMainWindow(e, &e.window.windowID);
}

namespace {
int g_testController = -1;

SDL_Joystick* OpenedJoystick() {
  if (g_controller) return SDL_GameControllerGetJoystick(g_controller);
  return g_joystick;
}
}  // namespace

int AttachTestController() {
  if (g_testController >= 0) return g_testController;
  if (!SDL_WasInit(SDL_INIT_JOYSTICK)) return -1;
  // A headless run has no focused window; its controller must still be read.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  g_testController = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 4, 0);
  return g_testController;
}

void DetachTestController() {
  if (g_testController < 0) return;
  CloseController();
  SDL_JoystickDetachVirtual(g_testController);
  g_testController = -1;
}

void SetTestControllerAxis(int axis, int value) {
  if (SDL_Joystick* j = OpenedJoystick())
    SDL_JoystickSetVirtualAxis(j, axis, static_cast<Sint16>(std::clamp(value, -32768, 32767)));
}

void SetTestControllerButton(int button, bool down) {
  if (SDL_Joystick* j = OpenedJoystick()) SDL_JoystickSetVirtualButton(j, button, down ? 1 : 0);
}

}  // namespace platform
