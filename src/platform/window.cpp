#include "platform/window.h"

#include <SDL.h>

#include <algorithm>
#include <deque>
#include <map>
#include <vector>

#include "platform/input.h"
#include "platform/internal.h"
#include "platform/system.h"

namespace platform {
namespace {

struct WindowState {
  SDL_Window* sdl = nullptr;
  std::string className;
  std::string caption;
  uint32_t style = 0;
  bool hasMenu = false;
  std::vector<MenuPopup> menu;
  bool invalid = false;
  bool minimised = false;
  bool fullScreen = false;
  bool sizeKept = false;  // full screen was granted without its size
  int keptWidth = 0, keptHeight = 0;
  bool placed = false;  // a position was asked for while the window may be unmapped
  int placedX = 0, placedY = 0;
  int givenWidth = 0, givenHeight = 0;  // a drawing area the desktop gives whatever was asked (tests)
  uint32_t askedAt = 0;    // when a size or full screen was last asked for
  uint32_t comparedAt = 0;  // when the desktop's size was last compared with the window's
};

// How long the desktop may take to carry out a size asked for before the
// size it keeps the window at is taken as its answer.
constexpr uint32_t kDesktopAnswerMs = 500;

std::map<std::string, WindowClass> g_classes;
std::map<WindowHandle, WindowState> g_windows;
WindowHandle g_nextHandle = 1;
WindowHandle g_foreground = 0;
WindowHandle g_focus = 0;
std::deque<Message> g_queue;
bool g_quitPosted = false;
int g_quitCode = 0;
bool g_cursorShown = true;
bool g_keepSizeOnFullScreen = false;

// The window menu of the game: two pop-ups whose items post menu commands.
std::vector<MenuPopup> BuildMenu(const std::string& name) {
  if (name != "MAINMENU") return {};
  std::vector<MenuPopup> menu(2);
  menu[0].text = "Window (F2)";
  menu[0].items[0] = {1000, "640x480", false};
  menu[0].items[1] = {1001, "960x720 (a)", false};
  menu[0].items[2] = {1002, "960x720 (b)", false};
  menu[0].count = 3;
  menu[1].text = "Cursor (F3)";
  menu[1].items[0] = {2000, "Free to leave window", false};
  menu[1].items[1] = {2001, "Bound to window", false};
  menu[1].count = 2;
  return menu;
}

WindowState* Find(WindowHandle w) {
  auto it = g_windows.find(w);
  return it == g_windows.end() ? nullptr : &it->second;
}

MenuItem* FindMenuItem(WindowState* s, uint32_t id) {
  if (!s || !s->hasMenu) return nullptr;
  for (auto& popup : s->menu)
    for (int i = 0; i < popup.count; ++i)
      if (popup.items[i].id == id) return &popup.items[i];
  return nullptr;
}

void Queue(WindowHandle w, uint32_t id, uintptr_t wp = 0, intptr_t lp = 0) {
  g_queue.push_back(Message{w, id, wp, lp});
}

bool AltDown() {
  const uint8_t* keys = KeyboardState();
  return (keys[0x38] & 0x80) || (keys[0xB8] & 0x80);
}

void Translate(const SDL_Event& e) {
  TrackInputEvent(e);
  switch (e.type) {
    case SDL_QUIT:
      if (WindowHandle w = MainAppWindow()) Queue(w, kMsgClose);
      break;
    case SDL_WINDOWEVENT: {
      WindowHandle w = HandleForNativeId(e.window.windowID);
      WindowState* s = Find(w);
      if (!s) break;
      switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE: Queue(w, kMsgClose); break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          g_focus = w;
          g_foreground = w;
          Queue(w, kMsgSetFocus);
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          if (g_focus == w) g_focus = 0;
          if (g_foreground == w) g_foreground = 0;
          Queue(w, kMsgKillFocus);
          break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          OnWindowExposed(w);
          Queue(w, kMsgSize);
          break;
        case SDL_WINDOWEVENT_EXPOSED:
          OnWindowExposed(w);
          Queue(w, kMsgPaint);
          break;
        case SDL_WINDOWEVENT_MOVED: Queue(w, kMsgMoving); break;
        case SDL_WINDOWEVENT_MINIMIZED:
          if (!IsHeadless()) s->minimised = true;
          break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
          if (!IsHeadless()) s->minimised = false;
          OnWindowExposed(w);
          break;
        case SDL_WINDOWEVENT_SHOWN: OnWindowExposed(w); break;
        default: break;
      }
      break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      WindowHandle w = e.key.windowID ? HandleForNativeId(e.key.windowID) : MainAppWindow();
      if (!w) w = MainAppWindow();
      const int code = PcCodeForScancode(e.key.keysym.scancode);
      const bool sys = AltDown() || code == 0x38 || code == 0xB8;
      if (e.type == SDL_KEYDOWN)
        Queue(w, sys ? kMsgSysKeyDown : kMsgKeyDown, static_cast<uintptr_t>(code));
      else
        Queue(w, sys ? kMsgSysKeyUp : kMsgKeyUp, static_cast<uintptr_t>(code));
      break;
    }
    case SDL_MOUSEBUTTONDOWN: {
      // A press on a window without the input focus asks for it, as a
      // desktop with no window manager (or one that has just ended) gives
      // none: otherwise the game, paused without the focus, would never
      // answer the click.
      WindowState* s = Find(HandleForNativeId(e.button.windowID));
      if (s && s->sdl && !IsHeadless() && !(SDL_GetWindowFlags(s->sdl) & SDL_WINDOW_INPUT_FOCUS)) {
        SDL_RaiseWindow(s->sdl);
        SDL_SetWindowInputFocus(s->sdl);
      }
      break;
    }
    case SDL_MOUSEMOTION: {
      WindowHandle w = e.motion.windowID ? HandleForNativeId(e.motion.windowID) : MainAppWindow();
      if (!w) w = MainAppWindow();
      if (w) Queue(w, kMsgSetCursor, w);
      break;
    }
    default: break;
  }
}

}  // namespace

SDL_Window* NativeWindow(WindowHandle w) {
  WindowState* s = Find(w);
  return s ? s->sdl : nullptr;
}

WindowHandle HandleForNativeId(uint32_t id) {
  for (auto& [h, s] : g_windows)
    if (s.sdl && SDL_GetWindowID(s.sdl) == id) return h;
  return 0;
}

WindowHandle MainAppWindow() {
  return g_windows.empty() ? 0 : g_windows.begin()->first;
}

bool RegisterWindowClass(const WindowClass& wc) {
  if (wc.name.empty() || !wc.proc || g_classes.count(wc.name)) return false;
  g_classes[wc.name] = wc;
  return true;
}

bool UnregisterWindowClass(const char* name) {
  if (!name) return false;
  return g_classes.erase(name) > 0;
}

bool IsWindowClassRegistered(const char* name) { return name && g_classes.count(name); }

WindowHandle CreateAppWindow(const char* className, const char* caption, uint32_t style, int width,
                             int height) {
  if (!className || !g_classes.count(className)) return 0;
  if (!InitPlatform()) return 0;
  Uint32 flags = SDL_WINDOW_HIDDEN;
  if (style & kStylePopup) flags |= SDL_WINDOW_BORDERLESS;
  SDL_Window* sdl = SDL_CreateWindow(caption ? caption : "", SDL_WINDOWPOS_CENTERED,
                                     SDL_WINDOWPOS_CENTERED, width > 0 ? width : 1,
                                     height > 0 ? height : 1, flags);
  if (!sdl) return 0;
  WindowHandle h = g_nextHandle++;
  WindowState& s = g_windows[h];
  s.sdl = sdl;
  s.className = className;
  s.caption = caption ? caption : "";
  s.style = style;
  s.menu = BuildMenu(g_classes[className].menuName);
  s.hasMenu = !s.menu.empty();
  s.askedAt = TickCount();
  if (IsHeadless()) {
    // Without a display the window is the foreground window from the start.
    g_focus = h;
    g_foreground = h;
  }
  return h;
}

bool DestroyAppWindow(WindowHandle w) {
  WindowState* s = Find(w);
  if (!s) return false;
  SendAppMessage(w, kMsgDestroy, 0, 0);
  OnWindowDestroyed(w);
  s = Find(w);
  if (s && s->sdl) SDL_DestroyWindow(s->sdl);
  g_windows.erase(w);
  if (g_focus == w) g_focus = 0;
  if (g_foreground == w) g_foreground = 0;
  for (auto it = g_queue.begin(); it != g_queue.end();)
    it = (it->window == w && it->id != kMsgQuit) ? g_queue.erase(it) : it + 1;
  return true;
}

bool IsAppWindow(WindowHandle w) { return Find(w) != nullptr; }

const char* WindowCaption(WindowHandle w) {
  WindowState* s = Find(w);
  return s ? s->caption.c_str() : "";
}

void SetWindowStyle(WindowHandle w, uint32_t style) {
  WindowState* s = Find(w);
  if (!s) return;
  s->style = style;
  SDL_SetWindowBordered(s->sdl, (style & kStylePopup) ? SDL_FALSE : SDL_TRUE);
}

uint32_t GetWindowStyle(WindowHandle w) {
  WindowState* s = Find(w);
  return s ? s->style : 0;
}

static void Borders(WindowState* s, int* top, int* left, int* bottom, int* right) {
  *top = *left = *bottom = *right = 0;
  if (s->sdl && !IsHeadless() && !(s->style & kStylePopup))
    if (SDL_GetWindowBordersSize(s->sdl, top, left, bottom, right) != 0)
      *top = *left = *bottom = *right = 0;
}

bool GetClientSize(WindowHandle w, int* width, int* height) {
  WindowState* s = Find(w);
  if (!s) return false;
  int cw = 0, ch = 0;
  SDL_GetWindowSize(s->sdl, &cw, &ch);
  if (width) *width = cw;
  if (height) *height = ch;
  return true;
}

bool GetWindowRect(WindowHandle w, int* left, int* top, int* right, int* bottom) {
  WindowState* s = Find(w);
  if (!s) return false;
  int x = 0, y = 0, cw = 0, ch = 0, bt, bl, bb, br;
  SDL_GetWindowPosition(s->sdl, &x, &y);
  SDL_GetWindowSize(s->sdl, &cw, &ch);
  Borders(s, &bt, &bl, &bb, &br);
  if (left) *left = x - bl;
  if (top) *top = y - bt;
  if (right) *right = x + cw + br;
  if (bottom) *bottom = y + ch + bb;
  return true;
}

bool GetClientOrigin(WindowHandle w, int* x, int* y) {
  WindowState* s = Find(w);
  if (!s) return false;
  int cx = 0, cy = 0;
  SDL_GetWindowPosition(s->sdl, &cx, &cy);
  if (x) *x = cx;
  if (y) *y = cy;
  return true;
}

bool MoveAppWindow(WindowHandle w, int x, int y, int width, int height) {
  WindowState* s = Find(w);
  if (!s) return false;
  int bt, bl, bb, br;
  Borders(s, &bt, &bl, &bb, &br);
  const int cw = width - bl - br, ch = height - bt - bb;
  if (cw <= 0 || ch <= 0) return false;
  SDL_SetWindowSize(s->sdl, cw, ch);
  SDL_SetWindowPosition(s->sdl, x + bl, y + bt);
  s->askedAt = TickCount();
  s->placed = true;
  s->placedX = x + bl;
  s->placedY = y + bt;
  Queue(w, kMsgSize);
  return true;
}

bool ShowAppWindow(WindowHandle w, int command) {
  WindowState* s = Find(w);
  if (!s) return false;
  switch (command) {
    case kShowHide: SDL_HideWindow(s->sdl); break;
    case kShowMinimised:
      SDL_MinimizeWindow(s->sdl);
      s->minimised = true;
      if (g_focus == w) {
        g_focus = 0;
        g_foreground = 0;
      }
      break;
    case kShowRestore:
    case kShowNormal:
      SDL_ShowWindow(s->sdl);
      if (s->minimised) SDL_RestoreWindow(s->sdl);
      s->minimised = false;
      if (IsHeadless()) g_focus = g_foreground = w;
      break;
    default:
      SDL_ShowWindow(s->sdl);
      break;
  }
  // Window managers may place a window when it is first mapped; keep ours.
  if (command != kShowHide && command != kShowMinimised && s->placed && !IsHeadless())
    SDL_SetWindowPosition(s->sdl, s->placedX, s->placedY);
  return true;
}

bool IsWindowMinimised(WindowHandle w) {
  WindowState* s = Find(w);
  return s && s->minimised;
}

bool SetForegroundWindow(WindowHandle w) {
  WindowState* s = Find(w);
  if (!s) return false;
  SDL_RaiseWindow(s->sdl);
  if (IsHeadless()) g_focus = g_foreground = w;
  return true;
}

WindowHandle GetForegroundWindow() {
  if (!IsHeadless())
    for (auto& [h, s] : g_windows)
      if (SDL_GetWindowFlags(s.sdl) & SDL_WINDOW_INPUT_FOCUS) return h;
  return g_foreground;
}

WindowHandle GetFocusWindow() {
  if (!IsHeadless())
    for (auto& [h, s] : g_windows)
      if (SDL_GetWindowFlags(s.sdl) & SDL_WINDOW_INPUT_FOCUS) return h;
  return g_focus;
}

void InvalidateWindow(WindowHandle w) {
  if (w == 0) {
    for (auto& [h, s] : g_windows) s.invalid = true;
    return;
  }
  if (WindowState* s = Find(w)) s->invalid = true;
}

void UpdateAppWindow(WindowHandle w) {
  WindowState* s = Find(w);
  if (s && s->invalid) {
    s->invalid = false;
    SendAppMessage(w, kMsgPaint, 0, 0);
  }
}

void ValidateWindow(WindowHandle w) {
  if (WindowState* s = Find(w)) s->invalid = false;
}

bool WindowNeedsPaint(WindowHandle w) {
  WindowState* s = Find(w);
  return s && s->invalid;
}

bool GetDesktopSize(int* width, int* height) {
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return false;
  if (width) *width = mode.w;
  if (height) *height = mode.h;
  return true;
}

bool SetWindowFullScreen(WindowHandle w, bool fullScreen) {
  WindowState* s = Find(w);
  if (!s) return false;
  int width = 0, height = 0;
  const bool keep = fullScreen && !s->fullScreen && g_keepSizeOnFullScreen && GetDrawableSize(w, &width, &height);
  if (SDL_SetWindowFullscreen(s->sdl, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0)
    return false;
  s->fullScreen = fullScreen;
  s->askedAt = TickCount();
  if (keep) {
    s->sizeKept = true;
    s->keptWidth = width;
    s->keptHeight = height;
  } else if (!fullScreen) {
    s->sizeKept = false;
  }
  return true;
}

bool GetDrawableSize(WindowHandle w, int* width, int* height) {
  WindowState* s = Find(w);
  if (!s) return false;
  int cw = 0, ch = 0;
  if (s->givenWidth > 0 && s->givenHeight > 0) {
    cw = s->givenWidth;
    ch = s->givenHeight;
  } else if (s->sizeKept) {
    cw = s->keptWidth;
    ch = s->keptHeight;
  } else if (!NativeDrawableSize(s->sdl, &cw, &ch)) {
    SDL_GetWindowSize(s->sdl, &cw, &ch);
  }
  if (width) *width = cw;
  if (height) *height = ch;
  return true;
}

void KeepSizeOnFullScreen(bool keep) { g_keepSizeOnFullScreen = keep; }

// A window manager that tiles the window keeps it at its tile's size when a
// smaller one is asked for, and the media library, which took the size asked
// at once, is not told otherwise: it would draw the pictures in the window's
// top-left part, the rest showing what was there before. Once the desktop
// has had time to answer, a larger drawing area it keeps the window at is
// taken as the window's size, so that the picture fills it.
void FollowDesktopSize(WindowHandle w) {
  WindowState* s = Find(w);
  if (!s || !s->sdl || s->fullScreen || s->sizeKept) return;
  // Compared at most twice a second (the desktop is asked over its wire).
  const uint32_t now = TickCount();
  if (now - s->askedAt < kDesktopAnswerMs || now - s->comparedAt < kDesktopAnswerMs) return;
  s->comparedAt = now;
  int dw = 0, dh = 0, cw = 0, ch = 0;
  if (!GetDrawableSize(w, &dw, &dh)) return;
  SDL_GetWindowSize(s->sdl, &cw, &ch);
  if (dw < cw || dh < ch || (dw == cw && dh == ch)) return;
  SDL_SetWindowSize(s->sdl, dw, dh);
}

void GiveDrawingArea(WindowHandle w, int width, int height) {
  if (WindowState* s = Find(w)) {
    s->givenWidth = std::max(width, 0);
    s->givenHeight = std::max(height, 0);
  }
}

bool IsWindowFullScreen(WindowHandle w) {
  WindowState* s = Find(w);
  return s && s->fullScreen;
}

bool WindowHasMenu(WindowHandle w) {
  WindowState* s = Find(w);
  return s && s->hasMenu;
}

bool RemoveWindowMenu(WindowHandle w) {
  WindowState* s = Find(w);
  if (!s || !s->hasMenu) return false;
  s->hasMenu = false;
  return true;
}

bool CheckMenuItem(WindowHandle w, uint32_t id, bool checked) {
  MenuItem* item = FindMenuItem(Find(w), id);
  if (!item) return false;
  item->checked = checked;
  return true;
}

bool IsMenuItemChecked(WindowHandle w, uint32_t id) {
  MenuItem* item = FindMenuItem(Find(w), id);
  return item && item->checked;
}

bool ChooseMenuItem(WindowHandle w, uint32_t id) {
  if (!FindMenuItem(Find(w), id)) return false;
  Queue(w, kMsgCommand, id);
  return true;
}

bool PeekAppMessage(Message* out) {
  if (g_queue.empty()) {
    SDL_Event e;
    while (SDL_PollEvent(&e)) Translate(e);
  }
  if (!g_queue.empty()) {
    *out = g_queue.front();
    g_queue.pop_front();
    return true;
  }
  if (g_quitPosted) {
    g_quitPosted = false;
    *out = Message{0, kMsgQuit, static_cast<uintptr_t>(g_quitCode), 0};
    return true;
  }
  return false;
}

bool WaitAppMessage(uint32_t ms) {
  if (!g_queue.empty() || g_quitPosted) return true;
  if (ManualClockActive()) return false;
  SDL_Event e;
  if (SDL_WaitEventTimeout(&e, static_cast<int>(std::min<uint32_t>(ms, 0x7FFFFFFF))) == 0) return false;
  Translate(e);
  while (SDL_PollEvent(&e)) Translate(e);
  return !g_queue.empty() || g_quitPosted;
}

void TranslateAppMessage(const Message&) {}

intptr_t DispatchAppMessage(const Message& m) {
  if (m.id == kMsgQuit) return 0;
  return SendAppMessage(m.window, m.id, m.wParam, m.lParam);
}

bool PostAppMessage(WindowHandle w, uint32_t id, uintptr_t wParam, intptr_t lParam) {
  if (!Find(w)) return false;
  Queue(w, id, wParam, lParam);
  return true;
}

void PostQuitMessage(int code) {
  g_quitPosted = true;
  g_quitCode = code;
}

intptr_t SendAppMessage(WindowHandle w, uint32_t id, uintptr_t wParam, intptr_t lParam) {
  WindowState* s = Find(w);
  if (!s) return 0;
  auto it = g_classes.find(s->className);
  if (it == g_classes.end() || !it->second.proc) return DefaultWindowProc(w, id, wParam, lParam);
  return it->second.proc(w, id, wParam, lParam);
}

intptr_t DefaultWindowProc(WindowHandle w, uint32_t id, uintptr_t wParam, intptr_t) {
  switch (id) {
    case kMsgSysCommand:
      if ((wParam & 0xFFF0) == kSysCommandMinimise) ShowAppWindow(w, kShowMinimised);
      return 0;
    case kMsgSysKeyDown:
      if (wParam == 0x3E) Queue(w, kMsgClose);  // Alt+F4
      return 0;
    case kMsgClose:
      DestroyAppWindow(w);
      return 0;
    default:
      return 0;
  }
}

bool GetCursorClientPos(WindowHandle w, int* x, int* y) {
  if (!Find(w)) return false;
  TrackedCursor(x, y);
  return true;
}

bool SetCursorClientPos(WindowHandle w, int x, int y) {
  WindowState* s = Find(w);
  if (!s) return false;
  SetTrackedCursor(w, x, y);
  if (!IsHeadless()) {
    int wx = x, wy = y;
    BackBufferToWindow(w, &wx, &wy);
    SDL_WarpMouseInWindow(s->sdl, wx, wy);
  }
  return true;
}

void ShowSystemCursor(bool show) {
  g_cursorShown = show;
  if (!IsHeadless()) SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

bool IsSystemCursorShown() { return g_cursorShown; }

void SetArrowCursor() {
  if (!IsHeadless()) SDL_SetCursor(SDL_GetDefaultCursor());
  ShowSystemCursor(true);
}

}  // namespace platform
