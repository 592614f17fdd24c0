// Showing a device's back buffer in its window, letterboxed in full screen:
// through SDL's accelerated renderer where OpenGL runs on a graphics device,
// else straight into the window's own framebuffer (SDL's software path with
// framebuffer acceleration off). OpenGL on the processor (llvmpipe and the
// like) costs some 90 MB and a slower first picture, and shows a picture no
// faster than a copy does. Either way the window shows the back buffer's
// colours as they are, whatever their alpha, fitted whole into the drawing
// area the desktop has actually given the window (GetDrawableSize), which
// may be smaller than the one SDL draws for: its top-left part is what shows.
// It may be larger too (a window manager that keeps the window at another
// size than asked): then the picture fills the part SDL draws, until the
// window takes the desktop's size (FollowDesktopSize). The pointer is read
// through the placement the picture was shown in. The renderer shows its
// pictures in step with the display's refresh where it can; the framebuffer
// never waits for the display, so the game paces its frames by the display's
// refresh period itself.
#include <SDL.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/internal.h"
#include "platform/render.h"
#include "platform/system.h"

namespace platform {
namespace {

struct Presenter {
  bool chosen = false;
  SDL_Renderer* renderer = nullptr;  // the accelerated path
  bool inStep = false;               // the renderer waits for the display's refresh to show a picture
  bool rowsFromBottom = false;       // the renderer's viewport counts rows from the bottom (OpenGL)
  SDL_Texture* texture = nullptr;
  int width = 0, height = 0;  // the back buffer's size
  int areaWidth = 0, areaHeight = 0;  // the drawing area it was shown in
  // Where the last picture shows in the drawing area, and at what scale:
  // the pointer is read through exactly this placement (placed: a picture
  // of this back buffer has been shown).
  SDL_Rect box{};
  float scale = 1;
  bool placed = false;
  // Which picture of the back buffer the window shows, and whether it still
  // shows it (false until the first picture and after the window was exposed).
  uint64_t shown = 0;
  bool showing = false;
};
std::map<WindowHandle, Presenter> g_presenters;
// Counts the changes of where a window shows its picture.
uint64_t g_placements = 0;
std::string g_path;
int64_t g_firstPresent = 0;
bool g_presentHeadless = false;
// Pictures shown by a renderer that waited for the display's refresh.
uint64_t g_inStepPictures = 0;
constexpr int kUnreportedRefreshRate = 60;  // a display that reports no rate

// The names OpenGL gives its drivers that draw on the processor.
bool IsSoftwareRasterizer(const char* name) {
  if (!name) return false;
  for (const char* word : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"})
    if (std::strstr(name, word)) return true;
  return false;
}

// Whether the machine has a device a hardware OpenGL driver could drive (a
// DRM render or card node, an NVIDIA device, WSL's GPU). Without one the only
// OpenGL is a software rasterizer: known without loading it.
bool HasGraphicsDevice() {
  for (const char* path : {"/dev/nvidiactl", "/dev/dxg"})
    if (::access(path, F_OK) == 0) return true;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", ec)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("renderD", 0) == 0 || name.rfind("card", 0) == 0) return true;
  }
  return false;
}

// The accelerated renderer, unless its OpenGL draws on the processor; in
// step with the display's refresh where the driver offers it.
SDL_Renderer* AcceleratedRenderer(SDL_Window* window) {
  if (!HasGraphicsDevice()) return nullptr;
  SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
  if (!renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
  if (!renderer) return nullptr;
  SDL_RendererInfo info{};
  SDL_GetRendererInfo(renderer, &info);
  const char* gl = nullptr;
  using GetString = const unsigned char* (*)(unsigned);
  constexpr unsigned kGlRenderer = 0x1F01;
  if (info.name && std::strncmp(info.name, "opengl", 6) == 0)
    if (auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString")))
      gl = reinterpret_cast<const char*>(getString(kGlRenderer));
  if (IsSoftwareRasterizer(gl)) {
    SDL_DestroyRenderer(renderer);
    return nullptr;
  }
  g_path = std::string("accelerated ") + (info.name ? info.name : "") + (gl ? std::string(" ") + gl : "");
  return renderer;
}

void Choose(Presenter& p, SDL_Window* window) {
  p.chosen = true;
  p.renderer = AcceleratedRenderer(window);
  if (p.renderer) {
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(p.renderer, &info);
    p.rowsFromBottom = info.name && std::strncmp(info.name, "opengl", 6) == 0;
    p.inStep = (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    return;
  }
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  g_path = "software";
}

// The back buffer's place in a window of another size: as large as fits
// with its shape kept, centred (as SDL's logical size places it).
SDL_Rect Letterbox(int windowWidth, int windowHeight, int width, int height, float* scale) {
  *scale = std::min(static_cast<float>(windowWidth) / width, static_cast<float>(windowHeight) / height);
  const int w = static_cast<int>(std::lround(width * *scale)), h = static_cast<int>(std::lround(height * *scale));
  return SDL_Rect{(windowWidth - w) / 2, (windowHeight - h) / 2, w, h};
}

// The drawing area the desktop has actually given the window, within the
// one SDL draws for (sdlWidth by sdlHeight): its top-left part.
void DrawingArea(WindowHandle w, int sdlWidth, int sdlHeight, int* width, int* height) {
  *width = sdlWidth;
  *height = sdlHeight;
  int aw = 0, ah = 0;
  if (GetDrawableSize(w, &aw, &ah) && aw > 0 && ah > 0) {
    *width = std::min(aw, sdlWidth);
    *height = std::min(ah, sdlHeight);
  }
}

// Only the area changed is copied when the window shows the picture before
// in a drawing area of the back buffer's size; in any other the picture is
// scaled into its letterbox.
bool ShowInFramebuffer(SDL_Surface* surface, SDL_Window* window, const ShownPicture& shown, bool sinceShown,
                       int areaWidth, int areaHeight, SDL_Rect* box, float* scale) {
  const uint32_t format = surface->format->format;
  const int width = shown.width, height = shown.height;
  if (areaWidth == width && areaHeight == height &&
      (format == SDL_PIXELFORMAT_RGB888 || format == SDL_PIXELFORMAT_ARGB8888)) {
    *box = SDL_Rect{0, 0, width, height};
    *scale = 1;
    // The rectangles sent, kept from picture to picture (no heap every frame).
    static std::vector<PixelArea> whole(1);
    static std::vector<SDL_Rect> rects;
    whole[0] = PixelArea{0, 0, width, height};
    const std::vector<PixelArea>& areas = sinceShown ? *shown.changed : whole;
    rects.clear();
    for (const PixelArea& area : areas) {
      if (area.Empty()) continue;
      const size_t span = static_cast<size_t>(area.x1 - area.x0);
      for (int y = area.y0; y < area.y1; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(surface->pixels) + y * surface->pitch) + area.x0;
        std::memcpy(row, shown.pixels + static_cast<size_t>(y) * width + area.x0, span * 4);
        if (format == SDL_PIXELFORMAT_ARGB8888)  // a framebuffer that keeps alpha shows every pixel whole
          for (size_t x = 0; x < span; ++x) row[x] |= 0xFF000000u;
      }
      rects.push_back(SDL_Rect{area.x0, area.y0, area.x1 - area.x0, area.y1 - area.y0});
    }
    return rects.empty() || SDL_UpdateWindowSurfaceRects(window, rects.data(), static_cast<int>(rects.size())) == 0;
  }
  // Read as colours without alpha, scaled into the letterbox.
  SDL_Surface* picture = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(shown.pixels), width, height, 32,
                                                            width * 4, SDL_PIXELFORMAT_RGB888);
  if (!picture) return false;
  SDL_Rect into = Letterbox(areaWidth, areaHeight, width, height, scale);
  *box = into;
  SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
  SDL_BlitScaled(picture, nullptr, surface, &into);
  SDL_FreeSurface(picture);
  return SDL_UpdateWindowSurface(window) == 0;
}

// The texture is drawn into the letterbox of the drawing area. SDL takes
// the window to be outputHeight rows high; OpenGL counts the viewport's rows
// from the bottom of the window it really has, so a window of fewer rows
// would show the box that much lower: it is raised by the difference.
bool ShowThroughRenderer(Presenter& p, const ShownPicture& shown, bool sinceShown, int areaWidth, int areaHeight,
                         int outputHeight, SDL_Rect* placed, float* scale) {
  const int width = shown.width, height = shown.height;
  if (!p.texture || p.width != width || p.height != height) {
    if (p.texture) SDL_DestroyTexture(p.texture);
    p.texture = SDL_CreateTexture(p.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, width, height);
    if (!p.texture) return false;
    SDL_SetTextureBlendMode(p.texture, SDL_BLENDMODE_NONE);  // colours as they are, whatever their alpha
    sinceShown = false;
  }
  const std::vector<PixelArea> whole{PixelArea{0, 0, width, height}};
  for (const PixelArea& area : sinceShown ? *shown.changed : whole) {
    if (area.Empty()) continue;
    const SDL_Rect rect{area.x0, area.y0, area.x1 - area.x0, area.y1 - area.y0};
    SDL_UpdateTexture(p.texture, &rect, shown.pixels + static_cast<size_t>(area.y0) * width + area.x0, width * 4);
  }
  SDL_Rect box = Letterbox(areaWidth, areaHeight, width, height, scale);
  *placed = box;
  if (p.rowsFromBottom) box.y += outputHeight - areaHeight;
  SDL_RenderSetViewport(p.renderer, &box);
  SDL_SetRenderDrawColor(p.renderer, 0, 0, 0, 255);
  SDL_RenderClear(p.renderer);  // the whole window, bars and all
  SDL_RenderCopy(p.renderer, p.texture, nullptr, nullptr);
  SDL_RenderPresent(p.renderer);
  if (p.inStep) ++g_inStepPictures;
  return true;
}

// The size the media library draws the window's pictures at: the output of
// its renderer, else the window's own (its framebuffer is made at that size).
bool OutputSize(WindowHandle w, const Presenter& p, int* width, int* height) {
  if (p.renderer) return SDL_GetRendererOutputSize(p.renderer, width, height) == 0;
  SDL_Window* window = NativeWindow(w);
  if (!window) return false;
  SDL_GetWindowSize(window, width, height);
  return *width > 0 && *height > 0;
}

// Where the back buffer of the presenter shows in the window's drawing area:
// where its last picture was put, or, before the first, where the next will
// be put. The drawing area the desktop gave the window can be larger than the
// one the media library draws for (a window manager that keeps a window at
// another size than asked): the picture then fills only the part drawn, and
// so must the pointer's reading.
SDL_Rect Placement(WindowHandle w, const Presenter& p, float* scale) {
  if (p.placed) {
    *scale = p.scale;
    return p.box;
  }
  int sdlWidth = p.width, sdlHeight = p.height;
  OutputSize(w, p, &sdlWidth, &sdlHeight);
  int aw = 0, ah = 0;
  DrawingArea(w, sdlWidth, sdlHeight, &aw, &ah);
  return Letterbox(aw, ah, p.width, p.height, scale);
}

bool SamePlace(const SDL_Rect& a, const SDL_Rect& b) { return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h; }

}  // namespace

bool ShowPicture(WindowHandle w, const ShownPicture& shown) {
  if (IsHeadless() && !g_presentHeadless) return true;
  SDL_Window* window = NativeWindow(w);
  if (!window) return false;
  FollowDesktopSize(w);
  Presenter& p = g_presenters[w];
  if (!p.chosen) Choose(p, window);
  // The window keeps showing the last picture: the same picture again is
  // not sent (an idle page costs nothing to show).
  const bool sameSize = p.width == shown.width && p.height == shown.height;
  if (p.showing && sameSize && p.shown == shown.picture) return true;
  SDL_Surface* surface = p.renderer ? nullptr : SDL_GetWindowSurface(window);
  int sdlWidth = 0, sdlHeight = 0;
  if (surface) {
    sdlWidth = surface->w;
    sdlHeight = surface->h;
  } else if (!p.renderer || SDL_GetRendererOutputSize(p.renderer, &sdlWidth, &sdlHeight) != 0) {
    return false;
  }
  int areaWidth = 0, areaHeight = 0;
  DrawingArea(w, sdlWidth, sdlHeight, &areaWidth, &areaHeight);
  const bool sameArea = p.areaWidth == areaWidth && p.areaHeight == areaHeight;
  const bool sinceShown = p.showing && sameSize && sameArea && shown.before != 0 && p.shown == shown.before;
  SDL_Rect box{};
  float scale = 1;
  const bool sent = p.renderer
                        ? ShowThroughRenderer(p, shown, sinceShown, areaWidth, areaHeight, sdlHeight, &box, &scale)
                        : ShowInFramebuffer(surface, window, shown, sinceShown, areaWidth, areaHeight, &box, &scale);
  if (!sent) return false;
  if (!p.placed || !sameSize || !SamePlace(box, p.box)) ++g_placements;
  p.box = box;
  p.scale = scale;
  p.placed = true;
  p.width = shown.width;
  p.height = shown.height;
  p.areaWidth = areaWidth;
  p.areaHeight = areaHeight;
  p.shown = shown.picture;
  p.showing = true;
  if (g_firstPresent == 0)
    g_firstPresent =
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
  return true;
}

void DropPresenter(WindowHandle w) {
  auto it = g_presenters.find(w);
  if (it == g_presenters.end()) return;
  if (it->second.texture) SDL_DestroyTexture(it->second.texture);
  if (it->second.renderer) SDL_DestroyRenderer(it->second.renderer);
  g_presenters.erase(it);
  ++g_placements;
}

void ExpectPicture(WindowHandle w, int width, int height) {
  DropPresenter(w);
  if (IsHeadless() && !g_presentHeadless) return;  // nothing is shown: the window is the back buffer
  Presenter& p = g_presenters[w];
  p.width = width;
  p.height = height;
}

uint64_t PlacementSerial() { return g_placements; }

void OnWindowDestroyed(WindowHandle w) { DropPresenter(w); }

void OnWindowExposed(WindowHandle w) {
  auto it = g_presenters.find(w);
  if (it != g_presenters.end()) it->second.showing = false;
}

void BlankWindowPicture(WindowHandle w) {
  const auto it = g_presenters.find(w);
  if (it != g_presenters.end() && it->second.renderer) return;  // shown through a renderer: left alone
  SDL_Window* window = NativeWindow(w);
  SDL_Surface* surface = window ? SDL_GetWindowSurface(window) : nullptr;
  if (!surface) return;
  SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
  SDL_UpdateWindowSurface(window);
}

// Window points map to the back-buffer pixel under them; a back-buffer pixel
// maps to the window point at its middle (so the two ways agree at any scale).
void WindowToBackBuffer(WindowHandle w, int* x, int* y) {
  auto it = g_presenters.find(w);
  if (it == g_presenters.end() || it->second.width == 0) return;
  float scale = 1;
  const SDL_Rect box = Placement(w, it->second, &scale);
  *x = static_cast<int>(std::floor((*x - box.x) / scale));
  *y = static_cast<int>(std::floor((*y - box.y) / scale));
}

void BackBufferToWindow(WindowHandle w, int* x, int* y) {
  auto it = g_presenters.find(w);
  if (it == g_presenters.end() || it->second.width == 0) return;
  float scale = 1;
  const SDL_Rect box = Placement(w, it->second, &scale);
  *x = box.x + static_cast<int>(std::floor((*x + 0.5f) * scale));
  *y = box.y + static_cast<int>(std::floor((*y + 0.5f) * scale));
}

const std::string& PresentationPath() { return g_path; }

int64_t DisplayRefreshMicroseconds(WindowHandle w) {
  if (IsHeadless() && !g_presentHeadless) return 0;
  SDL_Window* window = NativeWindow(w);
  const int display = window ? SDL_GetWindowDisplayIndex(window) : 0;
  SDL_DisplayMode mode{};
  int rate = kUnreportedRefreshRate;
  if (SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) == 0 && mode.refresh_rate > 0)
    rate = mode.refresh_rate;
  return (1000000 + rate / 2) / rate;
}

uint64_t PicturesInStepWithDisplay() { return g_inStepPictures; }

int64_t FirstPresentTime() { return g_firstPresent; }

void PresentWhileHeadless(bool on) { g_presentHeadless = on; }

bool ShowsPicturesHeadless() { return IsHeadless() && g_presentHeadless; }

bool ShownPicturePlace(WindowHandle w, int* x, int* y, int* width, int* height) {
  const auto it = g_presenters.find(w);
  if (it == g_presenters.end() || !it->second.placed) return false;
  const SDL_Rect& box = it->second.box;
  *x = box.x;
  *y = box.y;
  *width = box.w;
  *height = box.h;
  return true;
}

bool WindowPicture(WindowHandle w, std::vector<uint32_t>* out, int* width, int* height) {
  out->clear();
  auto it = g_presenters.find(w);
  SDL_Window* window = NativeWindow(w);
  if (it == g_presenters.end() || it->second.renderer || !window) return false;
  SDL_Surface* surface = SDL_GetWindowSurface(window);
  if (!surface || SDL_BYTESPERPIXEL(surface->format->format) != 4) return false;
  int aw = 0, ah = 0;
  DrawingArea(w, surface->w, surface->h, &aw, &ah);
  for (int y = 0; y < ah; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch);
    for (int x = 0; x < aw; ++x) {
      uint8_t r = 0, g = 0, b = 0;
      SDL_GetRGB(row[x], surface->format, &r, &g, &b);
      out->push_back(0xFF000000u | uint32_t{r} << 16 | uint32_t{g} << 8 | b);
    }
  }
  if (width) *width = aw;
  if (height) *height = ah;
  return true;
}

}  // namespace platform
