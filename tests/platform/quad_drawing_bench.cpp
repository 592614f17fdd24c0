// The sprite device's quads alone: a screen of tinted glyphs (15 x 18, one
// texel to a pixel, alpha 0 or 255), a screen of 8 x 8 tiles scaled by 3,
// and a half-transparent panel of such tiles over the picture.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <random>

#include "platform/render.h"
#include "platform/system.h"
#include "platform/window.h"

namespace {

intptr_t NullProc(platform::WindowHandle, uint32_t, uintptr_t, intptr_t) { return 0; }

struct Screen {
  std::unique_ptr<platform::DisplayAdapter> adapter;
  std::unique_ptr<platform::RenderDevice> device;
  platform::Texture font{256, 256};

  Screen() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("GREVENHOLT_HEADLESS", "1", 1);
    platform::InitPlatform();
    platform::WindowClass wc;
    wc.name = "QuadBenchClass";
    wc.proc = NullProc;
    platform::RegisterWindowClass(wc);
    platform::PresentParams p;
    p.window = platform::CreateAppWindow("QuadBenchClass", "b", platform::kStyleCaptioned, 960, 720);
    p.width = 960;
    p.height = 720;
    adapter = platform::CreateDisplayAdapter();
    device = adapter->CreateDevice(false, p);
    // The game's states: alpha blending and the alpha test at 8.
    platform::RenderStates& st = device->States();
    st.alphaBlend = true;
    st.srcBlend = platform::kBlendSrcAlpha;
    st.dstBlend = platform::kBlendInvSrcAlpha;
    st.alphaTest = true;
    st.alphaRef = 8;
    st.alphaFunc = platform::kCompareGreaterEqual;
    // Glyph-like texels: a third of them solid.
    std::mt19937 rng(29);
    uint32_t* t = font.Lock();
    for (int i = 0; i < 256 * 256; ++i) t[i] = rng() % 3 == 0 ? 0xFFFFFFFFu : 0u;
    font.Unlock();
  }
};

Screen& TheScreen() {
  static Screen screen;
  return screen;
}

void BM_GlyphScreen(benchmark::State& state) {
  Screen& s = TheScreen();
  for (auto _ : state) {
    s.device->ForgetShownPicture();  // drawn again though the same as the last
    s.device->Clear(0xFF000000u);
    for (int row = 0; row < 35; ++row)
      for (int column = 0; column < 63; ++column) {
        const platform::SourceRect src{(column % 17) * 15, (row % 14) * 18, (column % 17) * 15 + 15,
                                       (row % 14) * 18 + 18};
        s.device->DrawQuad(s.font, src, platform::Transformation2D(1, 1, 0, 0, 0, column * 15.0f, row * 18.0f),
                           0xFFB1ACF4u);
      }
    benchmark::DoNotOptimize(s.device->Pixels());
  }
  state.SetItemsProcessed(state.iterations() * 35 * 63);
}
BENCHMARK(BM_GlyphScreen)->Unit(benchmark::kMicrosecond);

void BM_TileScreen(benchmark::State& state) {
  Screen& s = TheScreen();
  for (auto _ : state) {
    s.device->ForgetShownPicture();  // drawn again though the same as the last
    s.device->Clear(0xFF000000u);
    for (int row = 0; row < 30; ++row)
      for (int column = 0; column < 40; ++column) {
        const platform::SourceRect src{column * 8 % 256, row * 8, column * 8 % 256 + 8, row * 8 + 8};
        s.device->DrawQuad(s.font, src, platform::Transformation2D(3, 3, 0, 0, 0, column * 24.0f, row * 24.0f),
                           0xFF787878u);
      }
    benchmark::DoNotOptimize(s.device->Pixels());
  }
  state.SetItemsProcessed(state.iterations() * 30 * 40);
}
BENCHMARK(BM_TileScreen)->Unit(benchmark::kMicrosecond);

// A side panel's backing: 15 by 29 solid tiles of 8 x 8 scaled by 3 in a
// colour of alpha 180, blended over the picture.
void BM_HalfTransparentPanel(benchmark::State& state) {
  Screen& s = TheScreen();
  static platform::Texture fill(8, 8);
  uint32_t* t = fill.Lock();
  for (int i = 0; i < 64; ++i) t[i] = 0xFF1C2A4Cu + static_cast<uint32_t>(i % 3);
  fill.Unlock();
  for (auto _ : state) {
    s.device->ForgetShownPicture();
    s.device->Clear(0xFF405060u);
    for (int row = 0; row < 29; ++row)
      for (int column = 0; column < 15; ++column)
        s.device->DrawQuad(fill, platform::SourceRect{0, 0, 8, 8},
                           platform::Transformation2D(3, 3, 0, 0, 0, 576.0f + column * 24.0f, 24.0f + row * 24.0f),
                           0xB4FFFFFFu);
    benchmark::DoNotOptimize(s.device->Pixels());
  }
  state.SetItemsProcessed(state.iterations() * 29 * 15);
}
BENCHMARK(BM_HalfTransparentPanel)->Unit(benchmark::kMicrosecond);

}  // namespace
