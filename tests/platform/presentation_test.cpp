// What the window shows of the back buffer (the software path, which the
// dummy display takes).
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/input.h"
#include "platform/render.h"
#include "platform/system.h"
#include "platform/window.h"

namespace {

intptr_t NullProc(platform::WindowHandle, uint32_t, uintptr_t, intptr_t) { return 0; }

// The back-buffer pixel the pointer is read at, after the desktop's reports
// waiting have been taken in.
std::pair<int, int> PointerPixel(platform::WindowHandle window) {
  platform::Message m;
  while (platform::PeekAppMessage(&m)) {
  }
  int x = -1, y = -1;
  platform::GetCursorClientPos(window, &x, &y);
  return {x, y};
}

// Pictures shown while headless, on the clock of the test; the windows a
// test makes and the switches it sets are given back at its end, failed or
// not.
class Presentation : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(platform::InitPlatform());
    manual_ = platform::ManualClockActive();
    ticks_ = platform::TickCount();
    platform::PresentWhileHeadless(true);
  }
  void TearDown() override {
    for (const platform::WindowHandle w : windows_) platform::DestroyAppWindow(w);
    platform::KeepSizeOnFullScreen(false);
    platform::PresentWhileHeadless(false);
    platform::UseManualClock(manual_, ticks_);
  }
  platform::WindowHandle Window(const char* className, int width, int height) {
    platform::WindowClass wc;
    wc.name = className;
    wc.proc = NullProc;
    platform::RegisterWindowClass(wc);
    const platform::WindowHandle w =
        platform::CreateAppWindow(className, "p", platform::kStyleCaptioned, width, height);
    if (w != 0) windows_.push_back(w);
    return w;
  }
  // Destroyed before the test's end (its device dropped first).
  void Destroy(platform::WindowHandle w) {
    std::erase(windows_, w);
    platform::DestroyAppWindow(w);
  }
  bool manual_ = false;
  uint32_t ticks_ = 0;
  std::vector<platform::WindowHandle> windows_;
};

// The window shows the back buffer's colours as they are, in a window of the
// back buffer's size and letterboxed in one twice as large; the grey a
// half-transparent quad leaves over black (its alpha below 255) is shown
// whole. A scene after it that moves the quad is sent in its changed parts.
TEST_F(Presentation, TheWindowShowsTheBackBuffersColoursWhateverTheirAlpha) {
  auto adapter = platform::CreateDisplayAdapter();
  platform::Texture white(1, 1);
  white.Lock()[0] = 0x80FFFFFFu;
  white.Unlock();
  for (int windowScale : {1, 2}) {
    const platform::WindowHandle window = Window("PresentationTestClass", 8 * windowScale, 4 * windowScale);
    platform::PresentParams p;
    p.window = window;
    p.width = 8;
    p.height = 4;
    auto device = adapter->CreateDevice(false, p);
    ASSERT_TRUE(device);
    device->States().alphaBlend = true;
    device->States().srcBlend = platform::kBlendSrcAlpha;
    device->States().dstBlend = platform::kBlendInvSrcAlpha;
    for (int at : {2, 3, 0}) {
      device->Clear(0xFF000000u);
      device->DrawQuad(white, platform::SourceRect{0, 0, 1, 1},
                       platform::Transformation2D(at == 2 ? 4 : 1, at == 2 ? 4 : 1, 0, 0, 0, static_cast<float>(at), 0),
                       0xFFFFFFFFu);
      ASSERT_TRUE(device->Present());
      ASSERT_LT(device->Pixels()[at] >> 24, 255u);
      std::vector<uint32_t> shown;
      ASSERT_TRUE(platform::WindowPicture(window, &shown));
      ASSERT_EQ(shown.size(), 32u * windowScale * windowScale);
      for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
          EXPECT_EQ(shown[(y * 8 * windowScale + x) * windowScale], device->Pixels()[y * 8 + x] | 0xFF000000u)
              << "scale " << windowScale << " quad at " << at << ": pixel " << x << "," << y;
    }
    device.reset();
    Destroy(window);
  }
}

// Asked for full screen, a window that the desktop leaves at its size (no
// window manager to carry the request out) while the media library takes it
// for the screen's still shows the whole picture: scaled to fit the drawing
// area it has, never cut at the screen's size.
TEST_F(Presentation, AWindowLeftAtItsSizeInFullScreenShowsTheWholePicture) {
  platform::KeepSizeOnFullScreen(true);
  auto adapter = platform::CreateDisplayAdapter();
  const platform::WindowHandle window = Window("KeptSizeTestClass", 12, 9);
  platform::ShowAppWindow(window, platform::kShow);
  platform::PresentParams p;
  p.window = window;
  p.width = 8;
  p.height = 6;
  p.windowed = false;
  auto device = adapter->CreateDevice(false, p);
  ASSERT_TRUE(device);
  int cw = 0, ch = 0, dw = 0, dh = 0;
  platform::GetClientSize(window, &cw, &ch);
  platform::GetDrawableSize(window, &dw, &dh);
  ASSERT_GT(cw * ch, 12 * 9);  // taken for the screen's size
  ASSERT_EQ(dw, 12);
  ASSERT_EQ(dh, 9);
  platform::Texture colours(8, 6);
  uint32_t* texels = colours.Lock();
  for (int i = 0; i < 48; ++i) texels[i] = 0xFF000000u | static_cast<uint32_t>(i * 0x050301 + 0x102030);
  colours.Unlock();
  device->Clear(0xFF000000u);
  device->DrawQuad(colours, platform::SourceRect{0, 0, 8, 6}, platform::Transformation2D(1, 1, 0, 0, 0, 0, 0),
                   0xFFFFFFFFu);
  ASSERT_TRUE(device->Present());
  std::vector<uint32_t> shown;
  int sw = 0, sh = 0;
  ASSERT_TRUE(platform::WindowPicture(window, &shown, &sw, &sh));
  ASSERT_EQ(sw, 12);
  ASSERT_EQ(sh, 9);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) {
      const int wx = static_cast<int>((x + 0.5f) * 1.5f), wy = static_cast<int>((y + 0.5f) * 1.5f);
      EXPECT_EQ(shown[wy * 12 + wx], device->Pixels()[y * 8 + x] | 0xFF000000u) << "pixel " << x << "," << y;
    }
}

// The pointer is read at the back-buffer pixel the window shows under it:
// in a drawing area the desktop gives larger than the window asked for (a
// window manager that keeps it at its tile's size), where the picture fills
// the part drawn 1:1 until the window takes that size once the desktop has
// had time to answer, and then the whole area; at rest while a back buffer
// made anew at another size is shown; and before the new back buffer's
// first picture, where that picture will show; and in a window made smaller,
// where its last picture shows until the next.
TEST_F(Presentation, ThePointerIsReadAtThePixelTheWindowShowsUnderIt) {
  platform::UseManualClock(true, ticks_);
  auto adapter = platform::CreateDisplayAdapter();
  const platform::WindowHandle window = Window("PointerPlaceTestClass", 8, 6);
  platform::ShowAppWindow(window, platform::kShow);
  platform::PresentParams p;
  p.window = window;
  p.width = 8;
  p.height = 6;
  auto device = adapter->CreateDevice(false, p);
  ASSERT_TRUE(device);
  platform::GiveDrawingArea(window, 12, 9);
  device->Clear(0xFF000000u);
  ASSERT_TRUE(device->Present());
  platform::InjectWindowMouseMove(5, 4);
  EXPECT_EQ(PointerPixel(window), std::make_pair(5, 4)) << "a drawing area larger than the window asked for";
  platform::AdvanceManualClock(500);
  device->Clear(0xFF000000u);
  ASSERT_TRUE(device->Present());
  int cw = 0, ch = 0;
  platform::GetClientSize(window, &cw, &ch);
  EXPECT_EQ(std::make_pair(cw, ch), std::make_pair(12, 9)) << "the size the desktop keeps the window at";
  device->Clear(0xFF000000u);
  ASSERT_TRUE(device->Present());
  EXPECT_EQ(PointerPixel(window), std::make_pair(3, 2)) << "the picture fills the desktop's drawing area";

  // The window is 12 by 9 and shows an 8 by 6 back buffer at 3/2.
  platform::GiveDrawingArea(window, 0, 0);
  platform::InjectWindowMouseMove(7, 4);
  ASSERT_EQ(PointerPixel(window), std::make_pair(4, 2));
  p.width = 12;
  p.height = 9;
  ASSERT_TRUE(device->Reset(p));
  device->Clear(0xFF000000u);
  ASSERT_TRUE(device->Present());
  EXPECT_EQ(PointerPixel(window), std::make_pair(7, 4)) << "at rest over a back buffer of the window's size";
  p.width = 8;
  p.height = 6;
  ASSERT_TRUE(device->Reset(p));
  platform::InjectWindowMouseMove(7, 4);
  EXPECT_EQ(PointerPixel(window), std::make_pair(4, 2)) << "before the new back buffer's first picture";

  // The window made 8 by 6 still shows its last picture, at 3/2, until the
  // next: the pointer is read where that picture shows, then at 1:1.
  device->Clear(0xFF000000u);
  ASSERT_TRUE(device->Present());
  int left = 0, top = 0, right = 0, bottom = 0;
  ASSERT_TRUE(platform::GetWindowRect(window, &left, &top, &right, &bottom));
  ASSERT_TRUE(platform::MoveAppWindow(window, left, top, right - left - 4, bottom - top - 3));
  platform::InjectWindowMouseMove(7, 4);
  EXPECT_EQ(PointerPixel(window), std::make_pair(4, 2)) << "the last picture, in a window made smaller since";
  device->Clear(0xFF000000u);
  ASSERT_TRUE(device->Present());
  EXPECT_EQ(PointerPixel(window), std::make_pair(7, 4)) << "the next picture, at the window's new size";
}

}  // namespace
