// The game's window, its message queue, its menu and the system cursor.
//
// The game is written as one window driven by a message procedure: events of
// the media library arrive here as messages that the procedure handles, and
// posted messages (quit, menu commands, minimise) go through the same queue.
#pragma once
#include <cstdint>
#include <string>

namespace platform {

using WindowHandle = uint32_t;  // 0: no window

// Message numbers.
enum : uint32_t {
  kMsgNull = 0x0000,
  kMsgDestroy = 0x0002,
  kMsgSize = 0x0005,
  kMsgSetFocus = 0x0007,
  kMsgKillFocus = 0x0008,
  kMsgPaint = 0x000F,
  kMsgClose = 0x0010,
  kMsgQuit = 0x0012,
  kMsgSetCursor = 0x0020,
  kMsgKeyDown = 0x0100,
  kMsgKeyUp = 0x0101,
  kMsgSysKeyDown = 0x0104,
  kMsgSysKeyUp = 0x0105,
  kMsgSysChar = 0x0106,
  kMsgCommand = 0x0111,
  kMsgSysCommand = 0x0112,
  kMsgMoving = 0x0216,
};
// wParam of kMsgSysCommand.
constexpr uintptr_t kSysCommandMinimise = 0xF020;

// Window styles.
constexpr uint32_t kStylePopup = 0x80000000u;       // full screen, no frame
constexpr uint32_t kStyleOverlapped = 0x00CF0000u;  // framed and sizeable
constexpr uint32_t kStyleCaptioned = 0x00CA0000u;   // caption, system menu, minimise box

// ShowAppWindow commands.
enum ShowCommand { kShowHide = 0, kShowNormal = 1, kShowMinimised = 6, kShow = 5, kShowRestore = 9 };

struct Message {
  WindowHandle window = 0;
  uint32_t id = kMsgNull;
  uintptr_t wParam = 0;
  intptr_t lParam = 0;
};

using WindowProc = intptr_t (*)(WindowHandle, uint32_t, uintptr_t, intptr_t);

// A menu item kept by the layer (the window menu has no counterpart in the
// media library: its check marks live here and its commands are posted as
// kMsgCommand messages).
struct MenuItem {
  uint32_t id;
  std::string text;
  bool checked;
};
struct MenuPopup {
  std::string text;
  MenuItem items[3];
  int count;
};

struct WindowClass {
  std::string name;
  WindowProc proc = nullptr;
  uint32_t classStyle = 0;
  std::string iconName;
  std::string menuName;
};

bool RegisterWindowClass(const WindowClass& wc);
bool UnregisterWindowClass(const char* name);
bool IsWindowClassRegistered(const char* name);

// Creates a window of a registered class; the class's menu comes with it.
// Width and height are the outer size. Returns 0 on failure.
WindowHandle CreateAppWindow(const char* className, const char* caption, uint32_t style, int width,
                             int height);
// Sends kMsgDestroy to the window's procedure and closes it.
bool DestroyAppWindow(WindowHandle w);
bool IsAppWindow(WindowHandle w);
const char* WindowCaption(WindowHandle w);

void SetWindowStyle(WindowHandle w, uint32_t style);
uint32_t GetWindowStyle(WindowHandle w);
bool GetClientSize(WindowHandle w, int* width, int* height);
// Outer rectangle in desktop coordinates.
bool GetWindowRect(WindowHandle w, int* left, int* top, int* right, int* bottom);
// The client area's top-left corner in desktop coordinates.
bool GetClientOrigin(WindowHandle w, int* x, int* y);
bool MoveAppWindow(WindowHandle w, int x, int y, int width, int height);
bool ShowAppWindow(WindowHandle w, int command);
bool IsWindowMinimised(WindowHandle w);
bool SetForegroundWindow(WindowHandle w);
WindowHandle GetForegroundWindow();
WindowHandle GetFocusWindow();
// Marks the window for repaint; UpdateWindow sends kMsgPaint when marked.
void InvalidateWindow(WindowHandle w);
void UpdateAppWindow(WindowHandle w);
bool WindowNeedsPaint(WindowHandle w);
// The paint bracket: marks the window as painted.
void ValidateWindow(WindowHandle w);
bool GetDesktopSize(int* width, int* height);

// Full screen covers the desktop; the picture is letterboxed in it.
bool SetWindowFullScreen(WindowHandle w, bool fullScreen);
bool IsWindowFullScreen(WindowHandle w);
// The size of the drawing area the desktop has actually given the window,
// which is where the picture is fitted. It can differ from GetClientSize: a
// window asked for full screen that no window manager makes so keeps its
// size, while the media library takes it for the screen's at once.
bool GetDrawableSize(WindowHandle w, int* width, int* height);
// For tests: from now on a window asked for full screen keeps the size it
// has, as under a desktop without a window manager (false: it is granted).
void KeepSizeOnFullScreen(bool keep);
// For tests: the desktop gives the window a drawing area of width by height
// whatever size it asks for, while the media library takes it to be the
// size asked (a window manager that keeps a tiled window at its tile's size
// does so); 0 by 0 gives it the size it has again.
void GiveDrawingArea(WindowHandle w, int width, int height);

// The window menu.
bool WindowHasMenu(WindowHandle w);
bool RemoveWindowMenu(WindowHandle w);
bool CheckMenuItem(WindowHandle w, uint32_t id, bool checked);
bool IsMenuItemChecked(WindowHandle w, uint32_t id);
// Posts the command of a menu item, as choosing it would.
bool ChooseMenuItem(WindowHandle w, uint32_t id);

// The queue.
bool PeekAppMessage(Message* out);
// Sleeps until an event of the media library comes or `ms` milliseconds have
// passed; true when a message is waiting. Under the manual clock it only
// looks.
bool WaitAppMessage(uint32_t ms);
void TranslateAppMessage(const Message& m);
intptr_t DispatchAppMessage(const Message& m);
bool PostAppMessage(WindowHandle w, uint32_t id, uintptr_t wParam, intptr_t lParam);
void PostQuitMessage(int code);
intptr_t SendAppMessage(WindowHandle w, uint32_t id, uintptr_t wParam, intptr_t lParam);
// The default handling of a message (minimise, Alt+F4 and the like).
intptr_t DefaultWindowProc(WindowHandle w, uint32_t id, uintptr_t wParam, intptr_t lParam);

// The system cursor, in client coordinates of a window.
bool GetCursorClientPos(WindowHandle w, int* x, int* y);
bool SetCursorClientPos(WindowHandle w, int x, int y);
void ShowSystemCursor(bool show);
bool IsSystemCursorShown();
void SetArrowCursor();

}  // namespace platform
