#include "platform/render.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
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
  // A digest of the picture the window shows, and whether the window still
  // shows it (false until the first present and after the window was exposed).
  uint64_t shown = 0;
  bool showing = false;
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

uint64_t g_textureGeneration = 0;


}  // namespace

void OnWindowDestroyed(WindowHandle w) { DropPresenter(w); }

void OnWindowExposed(WindowHandle w) {
  auto it = g_presenters.find(w);
  if (it != g_presenters.end()) it->second.showing = false;
}

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

uint64_t TextureGeneration() { return g_textureGeneration; }

// A digest of a picture, in four lanes that each take one word in four.
// Every step (xor a word in, multiply by an odd number, xor the high bits
// down) is one to one, so two pictures of one size that differ in a single
// word never share a digest; any other pair shares one about once in 2^64.
namespace {
uint64_t Mix(uint64_t x) {
  x *= 0x9E3779B97F4A7C15ull;
  return x ^ (x >> 29);
}
}  // namespace

uint64_t PictureDigest(const uint32_t* pixels, size_t count) {
  uint64_t lane[4] = {count, 1, 2, 3};
  size_t i = 0;
  for (; i + 8 <= count; i += 8)
    for (int k = 0; k < 4; ++k)
      lane[k] = Mix(lane[k] ^ (uint64_t{pixels[i + 2 * k]} | uint64_t{pixels[i + 2 * k + 1]} << 32));
  for (; i < count; ++i) lane[0] = Mix(lane[0] ^ pixels[i]);
  uint64_t digest = 0;
  for (uint64_t l : lane) digest = Mix(digest ^ l);
  return digest;
}

Texture::Texture(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, 0u),
      version_(++g_textureGeneration) {}

Texture::Texture(int width, int height, std::vector<uint8_t> picture, uint32_t colourKey)
    : width_(width), height_(height), picture_(std::move(picture)), colourKey_(colourKey),
      version_(++g_textureGeneration) {}

void Texture::DecodePicture() const {
  const std::vector<uint8_t> png = std::move(picture_);
  picture_.clear();
  pixels_.assign(static_cast<size_t>(width_) * height_, 0u);
  int w = 0, h = 0;
  const bool read =
      LoadPngFromMemoryInto(png.data(), png.size(), &w, &h, [&](int width, int height, int* stride) -> uint32_t* {
        if (width > width_ || height > height_) return nullptr;
        *stride = width_;
        return pixels_.data();
      });
  if (!read) {
    // The file was checked whole: its picture data itself is damaged.
    std::fprintf(stderr, "A picture could not be decoded; it stays transparent\n");
    std::fill(pixels_.begin(), pixels_.end(), 0u);
    return;
  }
  for (int y = 0; y < h; ++y)
    for (uint32_t *p = pixels_.data() + static_cast<size_t>(y) * width_, *end = p + w; p != end; ++p)
      if (*p == colourKey_) *p = 0u;
}

Texture::~Texture() { ++g_textureGeneration; }

void Texture::Unlock() { version_ = ++g_textureGeneration; }

bool Texture::BinaryAlpha() const {
  if (alphaCheckedVersion_ != version_) {
    Decode();
    uint32_t partial = 0;
    for (uint32_t t : pixels_) partial |= static_cast<uint32_t>((t >> 24) - 1 < 254u);
    binaryAlpha_ = partial == 0;
    alphaCheckedVersion_ = version_;
  }
  return binaryAlpha_;
}

std::unique_ptr<Texture> LoadTextureFile(const char* path, uint32_t colourKey) {
  int w = 0, h = 0;
  std::vector<uint8_t> png;
  if (!path || !CheckPngFile(path, &w, &h, &png)) return nullptr;
  return std::make_unique<Texture>(RoundUpToPowerOfTwo(w), RoundUpToPowerOfTwo(h), std::move(png), colourKey);
}

Matrix2D Transformation2D(float sx, float sy, float cx, float cy, float rotation, float tx, float ty) {
  // Scale, move the rotation centre to the origin, rotate, move it back, translate.
  // No turn (the usual case) needs no cosine or sine.
  const bool unturned = rotation == 0.0f && !std::signbit(rotation);
  const float c = unturned ? 1.0f : std::cos(rotation), s = unturned ? 0.0f : std::sin(rotation);
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
  clearPending_ = false;
  clearedOnly_ = false;
  columnTexels_.assign(static_cast<size_t>(width_), 0);
  rowTexels_.assign(static_cast<size_t>(width_) * 2, 0u);
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
  clearColour_ = argb | 0xFF000000u;
  clearPending_ = true;
  clearedOnly_ = true;
  return true;
}

void RenderDevice::FillPendingClear() const {
  if (!clearPending_) return;
  std::fill(pixels_.begin(), pixels_.end(), clearColour_);
  clearPending_ = false;
}

const uint32_t* RenderDevice::Pixels() const {
  FillPendingClear();
  return pixels_.data();
}

bool RenderDevice::ClearedOnly(uint32_t* colour) const {
  if (clearedOnly_ && colour) *colour = clearColour_;
  return clearedOnly_;
}

void RenderDevice::ReadPicture(std::vector<uint32_t>* out) const {
  FillPendingClear();
  out->assign(pixels_.begin(), pixels_.end());
}

bool RenderDevice::WritePicture(const std::vector<uint32_t>& picture) {
  if (picture.size() != pixels_.size()) return false;
  std::copy(picture.begin(), picture.end(), pixels_.begin());
  clearPending_ = false;
  clearedOnly_ = false;
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
  // The window keeps showing the last picture: the same picture again is
  // not sent (an idle page costs nothing to show).
  const uint32_t* picture = Pixels();
  const uint64_t digest = PictureDigest(picture, pixels_.size());
  if (p.showing && p.shown == digest) return true;
  p.shown = digest;
  p.showing = true;
  SDL_UpdateTexture(p.texture, nullptr, picture, width_ * 4);
  SDL_SetRenderDrawColor(p.renderer, 0, 0, 0, 255);
  SDL_RenderClear(p.renderer);
  SDL_RenderCopy(p.renderer, p.texture, nullptr, nullptr);
  SDL_RenderPresent(p.renderer);
  return true;
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
