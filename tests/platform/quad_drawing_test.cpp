// The sprite device's quads against a plain pixel-by-pixel drawing of the
// same rules: random quads (scaled, mirrored, turned, partly off the screen
// or outside their texture) in every blend mode, with and without the alpha
// test, must leave exactly the same pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "platform/render.h"
#include "platform/system.h"
#include "platform/window.h"

namespace {

using platform::Matrix2D;
using platform::RenderStates;
using platform::SourceRect;

uint32_t Mul255(uint32_t a, uint32_t b) { return (a * b + 255) >> 8; }

uint32_t Tint(uint32_t t, uint32_t c) {
  uint32_t out = 0;
  for (int shift = 0; shift <= 24; shift += 8) out |= Mul255((t >> shift) & 255, (c >> shift) & 255) << shift;
  return out;
}

bool Passes(uint32_t a, uint32_t ref, uint32_t func) {
  switch (func) {
    case platform::kCompareNever: return false;
    case platform::kCompareLess: return a < ref;
    case platform::kCompareEqual: return a == ref;
    case platform::kCompareLessEqual: return a <= ref;
    case platform::kCompareGreater: return a > ref;
    case platform::kCompareNotEqual: return a != ref;
    case platform::kCompareGreaterEqual: return a >= ref;
    default: return true;
  }
}

uint32_t Weight(uint32_t factor, uint32_t s, uint32_t d, int shift) {
  const uint32_t sc = shift == 24 ? s >> 24 : (s >> shift) & 255, dc = shift == 24 ? d >> 24 : (d >> shift) & 255;
  switch (factor) {
    case platform::kBlendZero: return 0;
    case platform::kBlendSrcColour: return sc;
    case platform::kBlendInvSrcColour: return 255 - sc;
    case platform::kBlendSrcAlpha: return s >> 24;
    case platform::kBlendInvSrcAlpha: return 255 - (s >> 24);
    case platform::kBlendDestAlpha: return d >> 24;
    case platform::kBlendInvDestAlpha: return 255 - (d >> 24);
    case platform::kBlendDestColour: return dc;
    case platform::kBlendInvDestColour: return 255 - dc;
    default: return 255;
  }
}

void Blend(uint32_t* d, uint32_t s, const RenderStates& st) {
  if (st.alphaTest && !Passes(s >> 24, st.alphaRef, st.alphaFunc)) return;
  if (!st.alphaBlend) {
    *d = s;
    return;
  }
  uint32_t out = 0;
  for (int shift = 0; shift <= 24; shift += 8) {
    const uint32_t v = ((s >> shift) & 255) * Weight(st.srcBlend, s, *d, shift) +
                       ((*d >> shift) & 255) * Weight(st.dstBlend, s, *d, shift);
    out |= std::min<uint32_t>(255, (v + 127) / 255) << shift;
  }
  *d = out;
}

// Every pixel whose centre maps inside the quad takes its texel (transparent
// black outside the texture), tinted, through the blend.
void Reference(std::vector<uint32_t>& px, int w, int h, const platform::Texture& tex, const SourceRect& r,
               const Matrix2D& m, uint32_t colour, const RenderStates& st) {
  const int sw = r.right - r.left, sh = r.bottom - r.top;
  const double det = static_cast<double>(m.m11) * m.m22 - static_cast<double>(m.m12) * m.m21;
  if (sw <= 0 || sh <= 0 || std::fabs(det) < 1e-12) return;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const double bx = x + 0.5 - m.dx, by = y + 0.5 - m.dy;
      double u, v;
      if (m.m12 == 0.0f && m.m21 == 0.0f) {
        u = bx / m.m11;
        v = by / m.m22;
      } else {
        u = (bx * m.m22 - by * m.m21) / det;
        v = (-bx * m.m12 + by * m.m11) / det;
      }
      if (!(u >= 0 && v >= 0 && u < sw && v < sh)) continue;
      const int tx = r.left + static_cast<int>(std::floor(u)), ty = r.top + static_cast<int>(std::floor(v));
      const bool inside = tx >= 0 && ty >= 0 && tx < tex.Width() && ty < tex.Height();
      Blend(&px[static_cast<size_t>(y) * w + x], Tint(inside ? tex.Pixels()[ty * tex.Width() + tx] : 0u, colour), st);
    }
}

intptr_t NullProc(platform::WindowHandle, uint32_t, uintptr_t, intptr_t) { return 0; }

TEST(QuadDrawing, EveryBlendModeMatchesThePlainDrawing) {
  ASSERT_TRUE(platform::InitPlatform());
  platform::WindowClass wc;
  wc.name = "QuadDrawingClass";
  wc.proc = NullProc;
  platform::RegisterWindowClass(wc);
  constexpr int kW = 96, kH = 72;
  const platform::WindowHandle window =
      platform::CreateAppWindow("QuadDrawingClass", "q", platform::kStyleCaptioned, kW, kH);
  auto adapter = platform::CreateDisplayAdapter();
  platform::PresentParams p;
  p.window = window;
  p.width = kW;
  p.height = kH;
  auto device = adapter->CreateDevice(false, p);
  ASSERT_TRUE(device);

  std::mt19937 rng(29);
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<uint32_t>(n)); };
  // A texture whose rows are all clear, all solid, clear or solid, or mixed.
  platform::Texture tex(16, 16);
  uint32_t* t = tex.Lock();
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const uint32_t rgb = rng() & 0xFFFFFFu;
      const uint32_t a = y < 4 ? 0 : y < 8 ? 255 : y < 12 ? (rng() & 1) * 255 : rng() & 255;
      t[y * 16 + x] = (a << 24) | rgb;
    }
  tex.Unlock();
  // A texture whose alphas are all 0 or 255 (as the fonts are), redrawn now
  // and then: drawn unscaled in a colour it is kept tinted.
  platform::Texture glyphs(16, 16);
  auto redrawGlyphs = [&] {
    uint32_t* g = glyphs.Lock();
    for (int i = 0; i < 256; ++i) g[i] = (rng() & 1) ? (0xFF000000u | rng()) : (rng() & 0xFFFFFFu);
    glyphs.Unlock();
  };
  redrawGlyphs();

  const uint32_t factorPairs[][2] = {
      {platform::kBlendSrcAlpha, platform::kBlendInvSrcAlpha},
      {platform::kBlendSrcAlpha, platform::kBlendOne},
      {platform::kBlendZero, platform::kBlendSrcColour},
      {platform::kBlendDestColour, platform::kBlendZero},
      {platform::kBlendOne, platform::kBlendZero},
      {platform::kBlendInvDestColour, platform::kBlendDestAlpha},
      {platform::kBlendInvSrcColour, platform::kBlendInvDestAlpha}};
  const uint32_t colours[] = {0xFFFFFFFFu, 0xFF808080u, 0xC4FFFFFFu, 0x07FFFFFFu, 0x00000000u};
  const float scales[] = {1, 2, 3, 1.51f, 0.6f, -2, 1, 1};  // unscaled quads are the common case

  int checked = 0;
  for (int round = 0; round < 1000; ++round) {
    RenderStates& st = device->States();
    const auto& pair = factorPairs[pick(3) ? 0 : pick(7)];  // mostly the game's own mode
    st.alphaBlend = pick(8) != 0;
    st.srcBlend = pair[0];
    st.dstBlend = pair[1];
    st.alphaTest = pick(2) == 0;
    st.alphaRef = pick(2) ? 8 : static_cast<uint32_t>(pick(256));
    st.alphaFunc = static_cast<uint32_t>(1 + pick(8));

    // A back buffer of random colours and alphas, the same in both.
    std::vector<uint32_t> expected(kW * kH);
    for (uint32_t& px : expected) px = rng();
    ASSERT_TRUE(device->WritePicture(platform::MakePicture(expected)));

    SourceRect r{pick(20) - 4, pick(20) - 4, 0, 0};
    r.right = r.left + 1 + pick(14);
    r.bottom = r.top + 1 + pick(14);
    const float turn = pick(4) == 0 ? static_cast<float>(pick(628)) / 100.0f : 0.0f;
    Matrix2D m = platform::Transformation2D(scales[pick(8)], scales[pick(8)], 3, 5, turn,
                                            static_cast<float>(pick(110) - 20) + (pick(3) == 0 ? 0.37f : 0.0f),
                                            static_cast<float>(pick(90) - 20));
    if (round % 25 == 24) {  // now and then a glow larger than the back buffer
      st.alphaBlend = true;
      st.srcBlend = platform::kBlendSrcAlpha;
      st.dstBlend = platform::kBlendOne;
      r = SourceRect{0, 0, 16, 16};
      m = platform::Transformation2D(9.5f, 7, 0, 0, 0, static_cast<float>(-pick(40)), static_cast<float>(-pick(30)));
    }
    const uint32_t colour = colours[pick(5)];
    if (round % 10 == 9) redrawGlyphs();
    const platform::Texture& drawn = pick(2) ? glyphs : tex;
    device->DrawQuad(drawn, r, m, colour);
    Reference(expected, kW, kH, drawn, r, m, colour, st);

    std::vector<uint32_t> picture;
    device->ReadPicture(&picture);
    int differing = 0;
    for (int i = 0; i < kW * kH; ++i) differing += picture[i] != expected[i];
    ASSERT_EQ(differing, 0) << "round " << round << " blend " << st.srcBlend << "/" << st.dstBlend << " on "
                            << st.alphaBlend << " test " << st.alphaTest << " func " << st.alphaFunc;
    ++checked;
  }
  EXPECT_EQ(checked, 1000);
  device.reset();
  platform::DestroyAppWindow(window);
}

TEST(QuadDrawing, AClearIsKeptUntilThePixelsAreRead) {
  ASSERT_TRUE(platform::InitPlatform());
  platform::WindowClass wc;
  wc.name = "QuadClearClass";
  wc.proc = NullProc;
  platform::RegisterWindowClass(wc);
  const platform::WindowHandle window =
      platform::CreateAppWindow("QuadClearClass", "c", platform::kStyleCaptioned, 8, 4);
  auto adapter = platform::CreateDisplayAdapter();
  platform::PresentParams p;
  p.window = window;
  p.width = 8;
  p.height = 4;
  auto device = adapter->CreateDevice(false, p);
  ASSERT_TRUE(device);
  uint32_t colour = 0;
  device->Clear(0x00123456u);
  ASSERT_TRUE(device->ClearedOnly(&colour));
  EXPECT_EQ(colour, 0xFF123456u);
  EXPECT_EQ(device->Pixels()[31], 0xFF123456u);

  // A picture put back replaces the clear; a picture of another size is refused.
  device->Clear(0xFF000000u);
  ASSERT_TRUE(device->WritePicture(platform::MakePicture(std::vector<uint32_t>(32, 0xFF00FF00u))));
  EXPECT_FALSE(device->ClearedOnly(nullptr));
  EXPECT_EQ(device->Pixels()[0], 0xFF00FF00u);
  EXPECT_FALSE(device->WritePicture(platform::MakePicture(std::vector<uint32_t>(31))));

  // A quad wholly off the back buffer leaves it cleared; one on it does not.
  platform::Texture tex(1, 1);
  tex.Lock()[0] = 0xFFFFFFFFu;
  tex.Unlock();
  device->Clear(0xFF000000u);
  device->DrawQuad(tex, SourceRect{0, 0, 1, 1}, platform::Transformation2D(1, 1, 0, 0, 0, 20, 0), 0xFFFFFFFFu);
  EXPECT_TRUE(device->ClearedOnly(nullptr));
  device->DrawQuad(tex, SourceRect{0, 0, 1, 1}, platform::Transformation2D(1, 1, 0, 0, 0, 2, 1), 0xFFFFFFFFu);
  EXPECT_FALSE(device->ClearedOnly(nullptr));
  EXPECT_EQ(device->Pixels()[8 + 2], 0xFFFFFFFFu);
  EXPECT_EQ(device->Pixels()[8 + 3], 0xFF000000u);

  // Unlocking a texture moves the generation on.
  const uint64_t before = platform::TextureGeneration();
  tex.Lock();
  tex.Unlock();
  EXPECT_GT(platform::TextureGeneration(), before);
  device.reset();
  platform::DestroyAppWindow(window);
}

}  // namespace
