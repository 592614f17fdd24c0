#include "platform/render.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "platform/image.h"
#include "platform/internal.h"
#include "platform/system.h"

namespace platform {
namespace {

// What shows a device's back buffer in a window.
struct Presenter {
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  int width = 0, height = 0;
};
std::map<WindowHandle, Presenter> g_presenters;
std::set<uint32_t> g_refusedFullScreen;

void DropPresenter(WindowHandle w) {
  auto it = g_presenters.find(w);
  if (it == g_presenters.end()) return;
  if (it->second.texture) SDL_DestroyTexture(it->second.texture);
  if (it->second.renderer) SDL_DestroyRenderer(it->second.renderer);
  g_presenters.erase(it);
}

PixelFormat FormatOf(uint32_t sdlFormat) {
  switch (SDL_BYTESPERPIXEL(sdlFormat)) {
    case 4: return kFormatX8R8G8B8;
    case 3: return kFormatR8G8B8;
    case 2: return SDL_BITSPERPIXEL(sdlFormat) == 15 ? kFormatX1R5G5B5 : kFormatR5G6B5;
    case 1: return kFormatP8;
    default: return kFormatUnknown;
  }
}

inline uint32_t Mul255(uint32_t a, uint32_t b) { return (a * b + 255) >> 8; }

inline uint32_t Modulate(uint32_t t, uint32_t c) {
  if (c == 0xFFFFFFFFu) return t;
  const uint32_t a = Mul255(t >> 24, c >> 24);
  const uint32_t r = Mul255((t >> 16) & 255, (c >> 16) & 255);
  const uint32_t g = Mul255((t >> 8) & 255, (c >> 8) & 255);
  const uint32_t b = Mul255(t & 255, c & 255);
  return (a << 24) | (r << 16) | (g << 8) | b;
}

inline bool PassesAlphaTest(uint32_t alpha, uint32_t ref, uint32_t func) {
  switch (func) {
    case kCompareNever: return false;
    case kCompareLess: return alpha < ref;
    case kCompareEqual: return alpha == ref;
    case kCompareLessEqual: return alpha <= ref;
    case kCompareGreater: return alpha > ref;
    case kCompareNotEqual: return alpha != ref;
    case kCompareGreaterEqual: return alpha >= ref;
    default: return true;
  }
}

// The weight (0-255) of one channel for a blend factor.
inline uint32_t Factor(uint32_t factor, uint32_t channel, uint32_t s, uint32_t d, int shift) {
  (void)channel;
  const uint32_t sa = s >> 24, da = d >> 24;
  const uint32_t sc = (s >> shift) & 255, dc = (d >> shift) & 255;
  switch (factor) {
    case kBlendZero: return 0;
    case kBlendOne: return 255;
    case kBlendSrcColour: return shift == 24 ? sa : sc;
    case kBlendInvSrcColour: return 255 - (shift == 24 ? sa : sc);
    case kBlendSrcAlpha: return sa;
    case kBlendInvSrcAlpha: return 255 - sa;
    case kBlendDestAlpha: return da;
    case kBlendInvDestAlpha: return 255 - da;
    case kBlendDestColour: return shift == 24 ? da : dc;
    case kBlendInvDestColour: return 255 - (shift == 24 ? da : dc);
    default: return 255;
  }
}

}  // namespace

void OnWindowDestroyed(WindowHandle w) { DropPresenter(w); }

void WindowToBackBuffer(WindowHandle w, int* x, int* y) {
  auto it = g_presenters.find(w);
  if (it == g_presenters.end() || !it->second.renderer) return;
  float lx = 0, ly = 0;
  SDL_RenderWindowToLogical(it->second.renderer, *x, *y, &lx, &ly);
  *x = static_cast<int>(std::floor(lx));
  *y = static_cast<int>(std::floor(ly));
}

void BackBufferToWindow(WindowHandle w, int* x, int* y) {
  auto it = g_presenters.find(w);
  if (it == g_presenters.end() || !it->second.renderer) return;
  int wx = 0, wy = 0;
  SDL_RenderLogicalToWindow(it->second.renderer, static_cast<float>(*x), static_cast<float>(*y), &wx, &wy);
  *x = wx;
  *y = wy;
}

int RoundUpToPowerOfTwo(int n) {
  int p = 1;
  while (p < n) p <<= 1;
  return p;
}

Texture::Texture(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, 0u) {}

std::unique_ptr<Texture> LoadTextureFile(const char* path, uint32_t colourKey) {
  int w = 0, h = 0;
  std::vector<uint32_t> image;
  if (!path || !LoadPng(path, &w, &h, &image)) return nullptr;
  auto texture = std::make_unique<Texture>(RoundUpToPowerOfTwo(w), RoundUpToPowerOfTwo(h));
  uint32_t* dst = texture->Lock();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t p = image[static_cast<size_t>(y) * w + x];
      dst[static_cast<size_t>(y) * texture->Width() + x] = (p == colourKey) ? 0u : p;
    }
  texture->Unlock();
  return texture;
}

Matrix2D Transformation2D(float sx, float sy, float cx, float cy, float rotation, float tx, float ty) {
  // Scale, move the rotation centre to the origin, rotate, move it back, translate.
  const float c = std::cos(rotation), s = std::sin(rotation);
  Matrix2D m;
  m.m11 = sx * c;
  m.m12 = sx * s;
  m.m21 = -sy * s;
  m.m22 = sy * c;
  m.dx = -cx * c + cy * s + cx + tx;
  m.dy = -cx * s - cy * c + cy + ty;
  return m;
}

int BitsPerPixel(PixelFormat format) {
  switch (format) {
    case kFormatA8R8G8B8:
    case kFormatX8R8G8B8: return 32;
    case kFormatR8G8B8: return 24;
    case kFormatR5G6B5:
    case kFormatX1R5G5B5: return 16;
    case kFormatP8: return 8;
    default: return 0;
  }
}

void RefuseFullScreenFormat(PixelFormat format, bool refuse) {
  if (refuse)
    g_refusedFullScreen.insert(format);
  else
    g_refusedFullScreen.erase(format);
}

std::unique_ptr<DisplayAdapter> CreateDisplayAdapter() {
  if (!InitPlatform()) return nullptr;
  return std::make_unique<DisplayAdapter>();
}

bool DisplayAdapter::GetDesktopMode(DisplayMode* mode) {
  SDL_DisplayMode m;
  if (!mode || SDL_GetDesktopDisplayMode(0, &m) != 0) return false;
  mode->width = m.w;
  mode->height = m.h;
  mode->refreshRate = m.refresh_rate;
  mode->format = FormatOf(m.format);
  return true;
}

bool DisplayAdapter::CheckDeviceType(bool hardware, PixelFormat format, bool windowed) {
  if (BitsPerPixel(format) == 0) return false;
  if (!windowed && g_refusedFullScreen.count(format)) return false;
  if (hardware) return !IsHeadless();
  return true;  // the software device shows every format
}

std::unique_ptr<RenderDevice> DisplayAdapter::CreateDevice(bool hardware, const PresentParams& params) {
  if (!IsAppWindow(params.window)) return nullptr;
  std::unique_ptr<RenderDevice> device(new RenderDevice());
  device->hardware_ = hardware;
  if (!device->Apply(params)) return nullptr;
  return device;
}

RenderDevice::~RenderDevice() { DropPresenter(params_.window); }

bool RenderDevice::Apply(const PresentParams& params) {
  if (params.width <= 0 || params.height <= 0 || !IsAppWindow(params.window)) return false;
  if (params_.window && params_.window != params.window) DropPresenter(params_.window);
  if (!IsHeadless()) SetWindowFullScreen(params.window, !params.windowed);
  params_ = params;
  width_ = params.width;
  height_ = params.height;
  pixels_.assign(static_cast<size_t>(width_) * height_, 0xFF000000u);
  DropPresenter(params.window);  // rebuilt at the next Present with the new size
  wasLost_ = false;
  inScene_ = false;
  return true;
}

bool RenderDevice::Reset(const PresentParams& params) { return Apply(params); }

DeviceState RenderDevice::TestState() {
  if (IsWindowMinimised(params_.window)) {
    wasLost_ = true;
    return DeviceState::kLost;
  }
  return wasLost_ ? DeviceState::kNeedsReset : DeviceState::kOk;
}

bool RenderDevice::Clear(uint32_t argb) {
  std::fill(pixels_.begin(), pixels_.end(), argb | 0xFF000000u);
  return true;
}

bool RenderDevice::BeginScene() {
  if (inScene_) return false;
  inScene_ = true;
  return true;
}

bool RenderDevice::EndScene() {
  if (!inScene_) return false;
  inScene_ = false;
  return true;
}

bool RenderDevice::Present() {
  if (wasLost_ || IsWindowMinimised(params_.window)) return false;
  ++presents_;
  if (IsHeadless()) return true;
  SDL_Window* window = NativeWindow(params_.window);
  if (!window) return false;
  Presenter& p = g_presenters[params_.window];
  if (!p.renderer) {
    p.renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
    if (!p.renderer) p.renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (!p.renderer) {
      g_presenters.erase(params_.window);
      return false;
    }
  }
  if (!p.texture || p.width != width_ || p.height != height_) {
    if (p.texture) SDL_DestroyTexture(p.texture);
    p.texture = SDL_CreateTexture(p.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                  width_, height_);
    p.width = width_;
    p.height = height_;
    SDL_RenderSetLogicalSize(p.renderer, width_, height_);  // letterboxed in full screen
    if (!p.texture) return false;
  }
  SDL_UpdateTexture(p.texture, nullptr, pixels_.data(), width_ * 4);
  SDL_SetRenderDrawColor(p.renderer, 0, 0, 0, 255);
  SDL_RenderClear(p.renderer);
  SDL_RenderCopy(p.renderer, p.texture, nullptr, nullptr);
  SDL_RenderPresent(p.renderer);
  return true;
}

void RenderDevice::BlendPixel(uint32_t* dst, uint32_t src) {
  const RenderStates& st = states_;
  if (st.alphaTest && !PassesAlphaTest(src >> 24, st.alphaRef, st.alphaFunc)) return;
  if (!st.alphaBlend) {
    *dst = src;
    return;
  }
  const uint32_t d = *dst;
  if (st.srcBlend == kBlendSrcAlpha && st.dstBlend == kBlendInvSrcAlpha) {
    const uint32_t a = src >> 24;
    if (a == 0) return;
    if (a == 255) {
      *dst = src;
      return;
    }
  }
  uint32_t out = 0;
  for (int shift = 0; shift <= 24; shift += 8) {
    const uint32_t s = (src >> shift) & 255, dc = (d >> shift) & 255;
    const uint32_t fs = Factor(st.srcBlend, 0, src, d, shift);
    const uint32_t fd = Factor(st.dstBlend, 0, src, d, shift);
    const uint32_t v = std::min<uint32_t>(255, (s * fs + dc * fd + 127) / 255);
    out |= v << shift;
  }
  *dst = out;
}

void RenderDevice::DrawQuad(const Texture& texture, const SourceRect& src, const Matrix2D& m,
                            uint32_t colour) {
  const int sw = src.right - src.left, sh = src.bottom - src.top;
  if (sw <= 0 || sh <= 0) return;
  const double det = static_cast<double>(m.m11) * m.m22 - static_cast<double>(m.m12) * m.m21;
  if (std::fabs(det) < 1e-12) return;

  // Bounding box of the four transformed corners, clipped to the back buffer.
  double minX = 1e30, minY = 1e30, maxX = -1e30, maxY = -1e30;
  const double cu[4] = {0, static_cast<double>(sw), 0, static_cast<double>(sw)};
  const double cv[4] = {0, 0, static_cast<double>(sh), static_cast<double>(sh)};
  for (int i = 0; i < 4; ++i) {
    const double x = cu[i] * m.m11 + cv[i] * m.m21 + m.dx;
    const double y = cu[i] * m.m12 + cv[i] * m.m22 + m.dy;
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
  }
  const int x0 = std::max(0, static_cast<int>(std::floor(minX)));
  const int y0 = std::max(0, static_cast<int>(std::floor(minY)));
  const int x1 = std::min(width_, static_cast<int>(std::ceil(maxX)));
  const int y1 = std::min(height_, static_cast<int>(std::ceil(maxY)));
  if (x0 >= x1 || y0 >= y1) return;

  const uint32_t* tex = texture.Pixels();
  const int tw = texture.Width(), th = texture.Height();
  // Texel of source coordinates (u, v), transparent outside the texture.
  auto texel = [&](int u, int v) -> uint32_t {
    const int tx = src.left + u, ty = src.top + v;
    if (tx < 0 || ty < 0 || tx >= tw || ty >= th) return 0u;
    return tex[static_cast<size_t>(ty) * tw + tx];
  };

  if (m.m12 == 0.0f && m.m21 == 0.0f) {
    // No rotation: each column and each row maps to one texel column or row.
    std::vector<int> cols(static_cast<size_t>(x1 - x0)), rows(static_cast<size_t>(y1 - y0));
    for (int x = x0; x < x1; ++x) {
      const double u = (x + 0.5 - m.dx) / m.m11;
      cols[x - x0] = (u >= 0 && u < sw) ? static_cast<int>(std::floor(u)) : -1;
    }
    for (int y = y0; y < y1; ++y) {
      const double v = (y + 0.5 - m.dy) / m.m22;
      rows[y - y0] = (v >= 0 && v < sh) ? static_cast<int>(std::floor(v)) : -1;
    }
    for (int y = y0; y < y1; ++y) {
      const int v = rows[y - y0];
      if (v < 0) continue;
      uint32_t* line = &pixels_[static_cast<size_t>(y) * width_];
      for (int x = x0; x < x1; ++x) {
        const int u = cols[x - x0];
        if (u < 0) continue;
        BlendPixel(&line[x], Modulate(texel(u, v), colour));
      }
    }
    return;
  }

  for (int y = y0; y < y1; ++y) {
    uint32_t* line = &pixels_[static_cast<size_t>(y) * width_];
    const double by = y + 0.5 - m.dy;
    for (int x = x0; x < x1; ++x) {
      const double bx = x + 0.5 - m.dx;
      const double u = (bx * m.m22 - by * m.m21) / det;
      const double v = (-bx * m.m12 + by * m.m11) / det;
      if (u < 0 || v < 0 || u >= sw || v >= sh) continue;
      BlendPixel(&line[x], Modulate(texel(static_cast<int>(u), static_cast<int>(v)), colour));
    }
  }
}

bool SpriteBatch::Begin(bool alphaBlend) {
  if (!device_ || active_) return false;
  active_ = true;
  if (alphaBlend) {
    RenderStates& st = device_->States();
    st.alphaBlend = true;
    st.srcBlend = kBlendSrcAlpha;
    st.dstBlend = kBlendInvSrcAlpha;
  }
  return true;
}

bool SpriteBatch::End() {
  if (!active_) return false;
  active_ = false;
  return true;
}

bool SpriteBatch::Flush() { return active_; }

bool SpriteBatch::Draw(const Texture* texture, const SourceRect* src, const Matrix2D& transform,
                       uint32_t colour) {
  if (!device_ || !texture) return false;
  SourceRect r{0, 0, texture->Width(), texture->Height()};
  if (src) r = *src;
  device_->DrawQuad(*texture, r, transform, colour);
  return true;
}

}  // namespace platform
