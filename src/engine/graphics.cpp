#include "engine/graphics.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/main_window.h"
#include "engine/frame.h"
#include "engine/settings.h"
#include "engine/static_layers.h"
#include "engine/text.h"
#include "platform/system.h"

GraphicsObject Graphics;
uint8_t FullScreenScaleByte = 0;
uint8_t WideViewDrawSwitch = 0;

namespace {

using platform::PixelFormat;

PixelFormat FullScreenFormat(int bits) {
  switch (bits) {
    case 32: return platform::kFormatX8R8G8B8;
    case 24: return platform::kFormatR8G8B8;
    case 16: return platform::kFormatR5G6B5;
    case 8: return platform::kFormatP8;
    default: return platform::kFormatUnknown;
  }
}

PixelFormat AlternativeFormat(int bits, PixelFormat format) {
  return bits == 16 ? platform::kFormatX1R5G5B5 : format;
}

// The fixed render states every device starts with.
void SetFixedStates() {
  platform::RenderStates& st = Graphics.device->States();
  st.zEnable = false;
  Graphics.depthBuffer = 0;
  st.alphaBlend = true;
  st.srcBlend = platform::kBlendSrcAlpha;
  st.dstBlend = platform::kBlendInvSrcAlpha;
  st.alphaTest = false;
  st.pointFilter = true;
  st.clampAddress = true;
  st.modulateDiffuse = true;
}

void ApplyAlphaTest() {
  platform::RenderStates& st = Graphics.device->States();
  st.alphaTest = true;
  st.alphaRef = 8;
  st.alphaFunc = platform::kCompareGreaterEqual;
}

// Steps 2 to 6 of creating or resetting the device. `reset` reuses the device.
int BuildDevice(uint8_t bits, int windowed, int width, int height, bool reset) {
  if (!Graphics.adapter || !platform::IsAppWindow(Graphics.window)) return 0;
  if (!Graphics.adapter->GetDesktopMode(&Graphics.desktop)) return 0;
  if (width <= 0 || height <= 0) {
    if (windowed) {
      platform::GetClientSize(Graphics.window, &width, &height);
    } else {
      width = Graphics.desktop.width;
      height = Graphics.desktop.height;
    }
  }
  Graphics.backBufferWidth = width;
  Graphics.backBufferHeight = height;
  Graphics.bitsPerPixel = bits;
  Graphics.windowed = windowed ? 1 : 0;

  if (bits == 0 || windowed) {
    const int desktopBits = platform::BitsPerPixel(Graphics.desktop.format);
    if (desktopBits == 0) return 0;
    Graphics.bitsPerPixel = static_cast<uint8_t>(desktopBits);
  }
  if (windowed) ResizeWindowToClient(width, height);

  platform::PresentParams params;
  params.window = Graphics.window;
  params.width = width;
  params.height = height;
  params.windowed = windowed != 0;
  bool hardware = false;
  if (!windowed) {
    const PixelFormat format = FullScreenFormat(Graphics.bitsPerPixel);
    const PixelFormat alt = AlternativeFormat(Graphics.bitsPerPixel, format);
    const struct {
      bool hw;
      PixelFormat f;
    } tries[] = {{true, format}, {true, alt}, {false, format}, {false, alt}};
    bool found = false;
    for (const auto& t : tries) {
      if (Graphics.adapter->CheckDeviceType(t.hw, t.f, false)) {
        params.format = t.f;
        hardware = t.hw;
        found = true;
        break;
      }
    }
    if (!found) return 0;
  } else {
    params.format = Graphics.desktop.format;
    if (Graphics.adapter->CheckDeviceType(true, params.format, true))
      hardware = true;
    else if (!Graphics.adapter->CheckDeviceType(false, params.format, true))
      return 0;
  }
  Graphics.hardwareDevice = hardware ? 1 : 0;

  if (reset) {
    Graphics.sprite.reset();
    if (!Graphics.device || !Graphics.device->Reset(params)) return 0;
  } else {
    Graphics.device = Graphics.adapter->CreateDevice(hardware, params);
    if (!Graphics.device) return 0;
  }
  SetFixedStates();
  if (Graphics.alphaTest) ApplyAlphaTest();
  Graphics.sprite = std::make_unique<platform::SpriteBatch>(Graphics.device.get());
  return Graphics.sprite ? 1 : 0;
}

}  // namespace

bool CreateGraphicsAdapter() {
  Graphics.adapter = platform::CreateDisplayAdapter();
  return Graphics.adapter != nullptr;
}

int SetDisplayMode(uint8_t bitsPerPixel, int windowed, int width, int height) {
  if (!Graphics.window || !Graphics.adapter) return 0;
  Graphics.sprite.reset();
  Graphics.device.reset();
  return BuildDevice(bitsPerPixel, windowed, width, height, false);
}

int ResetGraphicsDevice(uint8_t bitsPerPixel, int windowed, int width, int height) {
  if (!Graphics.device) return 0;
  return BuildDevice(bitsPerPixel, windowed, width, height, true);
}

int ShutdownGraphics() {
  ForgetStaticLayers();
  Graphics.alphaTest = 0;
  if (Graphics.sprite) Graphics.sprite.reset();
  if (Graphics.device) Graphics.device.reset();
  if (Graphics.adapter) Graphics.adapter.reset();
  return 1;
}

int BeginScene() { return Graphics.device && Graphics.device->BeginScene() ? 1 : 0; }

int EndScene() {
  if (!Graphics.device) return 0;
  return Graphics.device->EndScene() ? 1 : 0;
}

int BeginSprite() {
  ForgetDrawnTexts();
  if (!Graphics.sprite || !Graphics.sprite->Begin(true)) return 0;
  SetPointFiltering();
  return 1;
}

int EndSprite() { return Graphics.sprite && Graphics.sprite->End() ? 1 : 0; }
int FlushSprite() { return Graphics.sprite && Graphics.sprite->Flush() ? 1 : 0; }
int PresentFrame() { return Graphics.device && Graphics.device->Present() ? 1 : 0; }

int ClearScreen(uint32_t argb) { return Graphics.device && Graphics.device->Clear(argb) ? 1 : 0; }

int EnableZBuffer(int flag) {
  if (!Graphics.device) return 0;
  if (Graphics.depthBuffer == 0) return 1;
  Graphics.device->States().zEnable = (flag == 1);
  return 1;
}

int SetBlendMode(uint32_t sourceFactor, uint32_t destinationFactor) {
  if (!Graphics.device) return 0;
  if (Graphics.sprite) Graphics.sprite->Flush();
  Graphics.device->States().srcBlend = sourceFactor;
  Graphics.device->States().dstBlend = destinationFactor;
  return 1;
}

int SetPointFiltering() {
  if (!Graphics.device) return 0;
  Graphics.device->States().pointFilter = true;
  return 1;
}

void FreeTexture(TextureRecord* record) {
  if (!record) return;
  record->texture.reset();
  record->width = 0;
  record->height = 0;
}

int EnableAlphaTest() {
  if (!Graphics.device) return 0;
  Graphics.alphaTest = 1;
  ApplyAlphaTest();
  return 1;
}

int LoadTexture(TextureRecord* record, const char* fileName, uint32_t colourKey) {
  if (!record) return 0;
  FreeTexture(record);
  record->owner = &Graphics;
  if (!Graphics.device || !fileName) return 0;
  record->texture = platform::LoadTextureFile(fileName, colourKey);
  if (!record->texture) return 0;
  record->width = record->texture->Width();
  record->height = record->texture->Height();
  return 1;
}

int TextureWidth(const TextureRecord* record) {
  return record && record->texture ? record->texture->Width() : 0;
}

int TextureHeight(const TextureRecord* record) {
  return record && record->texture ? record->texture->Height() : 0;
}

bool WideViewDrawn() { return WideViewDrawSwitch != 0 && IsWideView(); }

int GetDisplayScale() {
  if (!Graphics.windowed) return 2;
  switch (WindowSize) {
    case 1: return 2;
    case 2: return 3;
    case 3: return WideViewDrawn() ? 2 : 3;
    default: return 1;
  }
}

BlitTransform ComputeBlitTransform(const TextureRecord* record, int srcLeft, int x, int y, int srcTop,
                                   int srcWidth, int srcHeight, float scaleX, float scaleY,
                                   float rotation, int centreMode, int alreadyScaled) {
  BlitTransform t{};
  const int w = srcWidth ? srcWidth : TextureWidth(record);
  const int h = srcHeight ? srcHeight : TextureHeight(record);
  t.src = platform::SourceRect{srcLeft, srcTop, srcLeft + w, srcTop + h};
  t.scaleX = scaleX;
  t.scaleY = scaleY;
  t.rotation = rotation;
  if (centreMode == 3) {
    t.centreX = 0;
    t.centreY = static_cast<float>(static_cast<int>(11 * scaleY));
  } else if (centreMode == 1 && rotation != 0.0f) {
    t.centreX = static_cast<float>(static_cast<int>(w * scaleX) / 2);
    t.centreY = static_cast<float>(static_cast<int>(h * scaleY) / 2);
  }
  if (alreadyScaled == 0) {
    const int s = GetDisplayScale();
    t.translateX = static_cast<float>(x * s);
    t.translateY = static_cast<float>(y * s);
  } else {
    t.translateX = x * scaleX;
    t.translateY = y * scaleY;
  }
  return t;
}

namespace {

bool Drawable(const TextureRecord* record) {
  return record && record->texture && record->owner && record->owner->sprite;
}

int DrawWith(TextureRecord* record, const BlitTransform& t, uint32_t colour) {
  const platform::Matrix2D m = platform::Transformation2D(t.scaleX, t.scaleY, t.centreX, t.centreY,
                                                          t.rotation, t.translateX, t.translateY);
  return record->owner->sprite->Draw(record->texture.get(), &t.src, m, colour) ? 1 : 0;
}

}  // namespace

int BlitTexture(TextureRecord* record, int srcLeft, int x, int y, int srcTop, int srcWidth, int srcHeight,
                float scaleX, float scaleY, uint32_t colour, float rotation, int centreMode,
                int alreadyScaled) {
  if (!Drawable(record)) return 0;
  const BlitTransform t = ComputeBlitTransform(record, srcLeft, x, y, srcTop, srcWidth, srcHeight,
                                               scaleX, scaleY, rotation, centreMode, alreadyScaled);
  return DrawWith(record, t, colour);
}

namespace {

// The silhouettes of a texture: a copy in which every texel with any of the
// top nine bits set is white, made once for each version of the texture, so
// that drawing a silhouette leaves the texture (and every picture kept from
// it) as it was.
struct SilhouetteCopy {
  const platform::Texture* source = nullptr;
  uint64_t version = 0;
  std::unique_ptr<platform::Texture> copy;
};
std::vector<SilhouetteCopy> g_silhouettes;

platform::Texture* SilhouetteOf(const platform::Texture& tex) {
  SilhouetteCopy* slot = nullptr;
  for (SilhouetteCopy& s : g_silhouettes)
    if (s.source == &tex) slot = &s;
  if (slot && slot->version == tex.Version()) return slot->copy.get();
  if (!slot) slot = &g_silhouettes.emplace_back();
  slot->source = &tex;
  slot->version = tex.Version();
  slot->copy = std::make_unique<platform::Texture>(tex.Width(), tex.Height());
  const uint32_t* in = tex.Pixels();
  uint32_t* out = slot->copy->Lock();
  const size_t count = static_cast<size_t>(tex.Width()) * tex.Height();
  for (size_t i = 0; i < count; ++i) out[i] = (in[i] & 0xFF800000u) ? 0xFFFFFFFFu : in[i];
  slot->copy->Unlock();
  return slot->copy.get();
}

}  // namespace

int BlitTextureSilhouette(TextureRecord* record, int srcLeft, int x, int y, int srcTop, int srcWidth,
                          int srcHeight, float scaleX, float scaleY, uint32_t colour, float rotation,
                          int /*centreMode*/, int /*alreadyScaled*/) {
  if (!Drawable(record)) return 0;
  // Centre as mode 1 whenever rotated; position always in logical pixels.
  const BlitTransform t = ComputeBlitTransform(record, srcLeft, x, y, srcTop, srcWidth, srcHeight,
                                               scaleX, scaleY, rotation, 1, 0);
  const platform::Matrix2D m = platform::Transformation2D(t.scaleX, t.scaleY, t.centreX, t.centreY,
                                                          t.rotation, t.translateX, t.translateY);
  return record->owner->sprite->Draw(SilhouetteOf(*record->texture), &t.src, m, colour) ? 1 : 0;
}

namespace {

// The source rectangle of a texture with the gradient's colours turned on
// by its phase: a copy of the rectangle alone (texels outside the texture
// transparent black, as drawing reads them), made once for each version,
// rectangle, gradient and phase, so that the texture itself (and every
// picture kept from it) stays as it was.
struct GradientCopy {
  const platform::Texture* source = nullptr;
  uint64_t version = 0;
  platform::SourceRect src{};
  uint32_t colours[6] = {};
  int phase = 0;
  std::unique_ptr<platform::Texture> copy;
  uint64_t lastUsed = 0;
};
constexpr int kGradientCopies = 32;
GradientCopy g_gradients[kGradientCopies];
uint64_t g_gradientUses = 0;

const platform::Texture& GradientOf(const platform::Texture& tex, const platform::SourceRect& src,
                                    const uint32_t (&colours)[6], int n, int phase) {
  GradientCopy* oldest = &g_gradients[0];
  for (GradientCopy& g : g_gradients) {
    if (g.copy && g.source == &tex && g.version == tex.Version() && g.phase == phase && g.src.left == src.left &&
        g.src.top == src.top && g.src.right == src.right && g.src.bottom == src.bottom &&
        std::equal(colours, colours + 6, g.colours)) {
      g.lastUsed = ++g_gradientUses;
      return *g.copy;
    }
    if (g.lastUsed < oldest->lastUsed) oldest = &g;
  }
  const int w = src.right - src.left, h = src.bottom - src.top;
  auto copy = std::make_unique<platform::Texture>(w, h);
  const uint32_t* in = tex.Pixels();
  uint32_t* out = copy->Lock();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int tx = src.left + x, ty = src.top + y;
      if (tx < 0 || ty < 0 || tx >= tex.Width() || ty >= tex.Height()) continue;
      uint32_t px = in[static_cast<size_t>(ty) * tex.Width() + tx];
      for (int k = 1; k <= n; ++k)
        if (px == colours[k - 1]) {
          px = colours[(phase + k - 1) % n];
          break;
        }
      out[static_cast<size_t>(y) * w + x] = px;
    }
  copy->Unlock();
  oldest->source = &tex;
  oldest->version = tex.Version();
  oldest->src = src;
  std::copy(colours, colours + 6, oldest->colours);
  oldest->phase = phase;
  oldest->copy = std::move(copy);
  oldest->lastUsed = ++g_gradientUses;
  return *oldest->copy;
}

}  // namespace

int BlitTextureGradient(TextureRecord* record, int srcLeft, int x, int y, int srcTop, int srcWidth,
                        int srcHeight, float scaleX, float scaleY, uint32_t colour, float rotation,
                        int /*centreMode*/, int alreadyScaled, uint32_t c1, uint32_t c2, uint32_t c3,
                        uint32_t c4, uint32_t c5, uint32_t c6) {
  const uint32_t colours[6] = {c1, c2, c3, c4, c5, c6};
  int nonZero = 0;
  for (uint32_t c : colours)
    if (c) ++nonZero;
  int n = 0;
  while (n < 6 && colours[n]) ++n;
  if (nonZero <= 1 || n < 2)
    return BlitTexture(record, srcLeft, x, y, srcTop, srcWidth, srcHeight, scaleX, scaleY, colour,
                       rotation, 1, alreadyScaled);
  if (!Drawable(record)) return 0;
  const BlitTransform t = ComputeBlitTransform(record, srcLeft, x, y, srcTop, srcWidth, srcHeight,
                                               scaleX, scaleY, rotation, 1, alreadyScaled);
  if (t.src.right <= t.src.left || t.src.bottom <= t.src.top) return 1;
  const int phase = static_cast<int>(AnimationCycle % static_cast<uint32_t>(n));
  const platform::Texture& copy = GradientOf(*record->texture, t.src, colours, n, phase);
  const platform::SourceRect whole{0, 0, copy.Width(), copy.Height()};
  const platform::Matrix2D m = platform::Transformation2D(t.scaleX, t.scaleY, t.centreX, t.centreY,
                                                          t.rotation, t.translateX, t.translateY);
  return record->owner->sprite->Draw(&copy, &whole, m, colour) ? 1 : 0;
}

int ResizeWindowToClient(int width, int height) {
  if (!platform::IsAppWindow(Graphics.window)) return 0;
  int left = 0, top = 0, right = 0, bottom = 0, cw = 0, ch = 0;
  platform::GetWindowRect(Graphics.window, &left, &top, &right, &bottom);
  platform::GetClientSize(Graphics.window, &cw, &ch);
  return platform::MoveAppWindow(Graphics.window, left, top, right - left - cw + width,
                                 bottom - top - ch + height)
             ? 1
             : 0;
}
