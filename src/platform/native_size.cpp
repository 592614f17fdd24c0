// The size the windowing system has actually given a window. Asked for full
// screen, the media library takes the window to be the screen's size at once;
// under X11 a window manager makes it so later, or (none running, or one
// that will not) never, and the window keeps its old size. Only the X server
// knows which: it is asked here, apart from the other sources, whose names
// would meet the X11 header's macros.
#include <SDL.h>
#include <SDL_syswm.h>

#include "platform/internal.h"

namespace platform {

bool NativeDrawableSize(SDL_Window* window, int* width, int* height) {
#if defined(SDL_VIDEO_DRIVER_X11)
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
  // The X library is loaded already (the media library uses it); its
  // geometry call is looked up there rather than linked.
  using Geometry = decltype(&XGetGeometry);
  static Geometry geometry = [] {
    void* library = SDL_LoadObject("libX11.so.6");
    return library ? reinterpret_cast<Geometry>(SDL_LoadFunction(library, "XGetGeometry")) : nullptr;
  }();
  if (!geometry) return false;
  ::Window root = 0;
  int x = 0, y = 0;
  unsigned w = 0, h = 0, border = 0, depth = 0;
  if (!geometry(info.info.x11.display, info.info.x11.window, &root, &x, &y, &w, &h, &border, &depth)) return false;
  if (w == 0 || h == 0) return false;
  *width = static_cast<int>(w);
  *height = static_cast<int>(h);
  return true;
#else
  (void)window;
  (void)width;
  (void)height;
  return false;
#endif
}

}  // namespace platform
