// The software device: how textured quads land in the back buffer.
#include <unistd.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "platform/image.h"
#include "platform/render.h"
#include "platform/system.h"
#include "platform/window.h"

namespace {

intptr_t NullProc(platform::WindowHandle, uint32_t, uintptr_t, intptr_t) { return 0; }

class RenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(platform::InitPlatform());
    platform::WindowClass wc;
    wc.name = "RenderTestClass";
    wc.proc = NullProc;
    platform::RegisterWindowClass(wc);
    window_ = platform::CreateAppWindow("RenderTestClass", "t", platform::kStyleCaptioned, 64, 48);
    ASSERT_NE(window_, 0u);
    adapter_ = platform::CreateDisplayAdapter();
    platform::PresentParams p;
    p.window = window_;
    p.width = 64;
    p.height = 48;
    p.format = platform::kFormatX8R8G8B8;
    device_ = adapter_->CreateDevice(false, p);
    ASSERT_TRUE(device_);
    device_->Clear(0xFF000000u);
  }
  // The window goes with its test: left behind, it took the pointer's
  // reports of the tests after it.
  void TearDown() override {
    device_.reset();
    adapter_.reset();
    if (window_ != 0) platform::DestroyAppWindow(window_);
  }
  uint32_t At(int x, int y) const { return device_->Pixels()[y * device_->Width() + x] | 0xFF000000u; }

  platform::WindowHandle window_ = 0;
  std::unique_ptr<platform::DisplayAdapter> adapter_;
  std::unique_ptr<platform::RenderDevice> device_;
};

// A 2x2 texture: red, green / blue, white.
std::unique_ptr<platform::Texture> Quad() {
  auto t = std::make_unique<platform::Texture>(2, 2);
  uint32_t* p = t->Lock();
  p[0] = 0xFFFF0000u;
  p[1] = 0xFF00FF00u;
  p[2] = 0xFF0000FFu;
  p[3] = 0xFFFFFFFFu;
  return t;
}

TEST_F(RenderTest, ScaledDrawCoversWholeDevicePixelsWithPointSampling) {
  auto tex = Quad();
  platform::SpriteBatch sprite(device_.get());
  ASSERT_TRUE(sprite.Begin(true));
  sprite.Draw(tex.get(), nullptr, platform::Transformation2D(3, 3, 0, 0, 0, 10, 20), 0xFFFFFFFFu);
  sprite.End();
  EXPECT_EQ(At(10, 20), 0xFFFF0000u);
  EXPECT_EQ(At(12, 22), 0xFFFF0000u);
  EXPECT_EQ(At(13, 20), 0xFF00FF00u);
  EXPECT_EQ(At(10, 23), 0xFF0000FFu);
  EXPECT_EQ(At(15, 25), 0xFFFFFFFFu);
  EXPECT_EQ(At(16, 20), 0xFF000000u);  // just right of the quad
  EXPECT_EQ(At(9, 20), 0xFF000000u);
  EXPECT_EQ(At(10, 26), 0xFF000000u);
}

// A scene is drawn when its pixels are needed, and not at all when it draws
// what the back buffer already holds; anything its pixels depend on (a
// texture's texels, a render state, the clear colour) makes it drawn again,
// and a texture about to change has the scene that shows it drawn first.
TEST_F(RenderTest, ASceneIsDrawnOnlyWhenItDiffersFromTheOneTheBackBufferHolds) {
  auto tex = Quad();
  const auto scene = [&](uint32_t clear) {
    device_->Clear(clear);
    device_->DrawQuad(*tex, platform::SourceRect{0, 0, 2, 2}, platform::Transformation2D(3, 3, 0, 0, 0, 10, 20),
                      0xFFFFFFFFu);
    return device_->DrawCount();
  };
  const int first = scene(0xFF000000u);
  EXPECT_EQ(device_->DrawCount(), first);  // nothing drawn before the pixels are read
  EXPECT_EQ(At(10, 20), 0xFFFF0000u);
  const int drawn = device_->DrawCount();
  EXPECT_GT(drawn, first);
  scene(0xFF000000u);
  EXPECT_EQ(At(10, 20), 0xFFFF0000u);
  EXPECT_EQ(device_->DrawCount(), drawn);

  tex->Lock()[0] = 0xFF123456u;
  tex->Unlock();
  scene(0xFF000000u);
  EXPECT_EQ(At(10, 20), 0xFF123456u);
  device_->States().alphaBlend = !device_->States().alphaBlend;
  scene(0xFF000000u);
  device_->Pixels();
  scene(0xFF000001u);
  EXPECT_EQ(At(0, 0), 0xFF000001u);
  EXPECT_EQ(device_->DrawCount(), drawn + 3);  // three scenes drawn

  // Texels changed while a scene that shows them waits: it shows the old ones.
  scene(0xFF000000u);
  tex->Lock()[0] = 0xFF00FFFFu;
  tex->Unlock();
  EXPECT_EQ(At(10, 20), 0xFF123456u);
}

// A scene drawn only where it differs from the one before gives the very
// pixels of the scene drawn whole: random scenes of scaled, turned and
// blended quads over a clear or a kept picture, each changing a few quads of
// the one before (moved, recoloured, added, taken away).
TEST_F(RenderTest, ASceneDrawnWhereItDiffersIsTheSceneDrawnWhole) {
  const platform::WindowHandle other =
      platform::CreateAppWindow("RenderTestClass", "w", platform::kStyleCaptioned, 64, 48);
  platform::PresentParams p;
  p.window = other;
  p.width = 64;
  p.height = 48;
  auto whole = adapter_->CreateDevice(false, p);
  ASSERT_TRUE(whole);
  auto tex = Quad();
  platform::Texture glow(4, 4);
  uint32_t* g = glow.Lock();
  for (int i = 0; i < 16; ++i) g[i] = (static_cast<uint32_t>(i * 16) << 24) | 0x00FF8040u;
  glow.Unlock();
  std::vector<uint32_t> kept(32 * 24);
  for (size_t i = 0; i < kept.size(); ++i) kept[i] = 0xFF000000u | static_cast<uint32_t>(i * 2654435761u);
  auto picture = std::const_pointer_cast<platform::Picture>(platform::MakePicture(kept));
  picture->blocks = 2;
  uint32_t seed = 7;
  auto pick = [&seed](int n) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 16) % static_cast<uint32_t>(n));
  };
  struct Drawn {
    bool glow, additive;
    float scale, turn;
    int x, y;
    uint32_t colour;
  };
  auto randomQuad = [&] {
    return Drawn{pick(2) == 0, pick(4) == 0, static_cast<float>(1 + pick(3)), pick(5) == 0 ? 0.7f : 0.0f,
                 pick(70) - 6, pick(54) - 6, pick(3) == 0 ? 0x80FFC0A0u : 0xFFFFFFFFu};
  };
  std::vector<Drawn> scene(12);
  for (Drawn& d : scene) d = randomQuad();
  for (int round = 0; round < 300; ++round) {
    for (int change = pick(3); change >= 0; --change) {
      const size_t at = static_cast<size_t>(pick(static_cast<int>(scene.size())));
      switch (pick(4)) {
        case 0: scene[at].x += pick(9) - 4; break;
        case 1: scene[at].colour ^= 0x00FF0000u; break;
        case 2: scene.insert(scene.begin() + static_cast<long>(at), randomQuad()); break;
        default:
          if (scene.size() > 2) scene.erase(scene.begin() + static_cast<long>(at));
      }
    }
    const bool fromPicture = round % 50 >= 25;
    ASSERT_TRUE(whole->Reset(p));  // drawn from nothing: no scene or picture of the rounds before known
    for (platform::RenderDevice* d : {device_.get(), whole.get()}) {
      if (fromPicture)
        ASSERT_TRUE(d->WritePicture(picture));
      else
        d->Clear(0xFF203040u);
      for (const Drawn& q : scene) {
        platform::RenderStates& st = d->States();
        st.alphaBlend = true;
        st.srcBlend = platform::kBlendSrcAlpha;
        st.dstBlend = q.additive ? platform::kBlendOne : platform::kBlendInvSrcAlpha;
        const platform::Texture& t = q.glow ? glow : *tex;
        d->DrawQuad(t, platform::SourceRect{0, 0, t.Width(), t.Height()},
                    platform::Transformation2D(q.scale, q.scale, 2, 2, q.turn, static_cast<float>(q.x),
                                               static_cast<float>(q.y)),
                    q.colour);
      }
    }
    const std::vector<uint32_t> drawnWhole(whole->Pixels(), whole->Pixels() + 64 * 48);
    const std::vector<uint32_t> drawnInPart(device_->Pixels(), device_->Pixels() + 64 * 48);
    ASSERT_EQ(drawnInPart, drawnWhole) << "round " << round;
  }
  whole.reset();
  platform::DestroyAppWindow(other);
}

// Glows that flicker by whole pixels from frame to frame are drawn again
// only where their gains differ: the pixels come out as the scene drawn
// whole, alpha and all, over a kept picture of many alphas, with an edge of
// black texels of full alpha (gains of alpha alone), a glow at a place
// within a pixel and a half-transparent quad over part of one.
TEST_F(RenderTest, AGlowMovedByWholePixelsIsTheSceneDrawnWhole) {
  constexpr int kWidth = 192, kHeight = 144;
  platform::PresentParams p;
  p.width = kWidth;
  p.height = kHeight;
  std::unique_ptr<platform::RenderDevice> devices[2];
  platform::WindowHandle windows[2];
  for (int i = 0; i < 2; ++i) {
    windows[i] = platform::CreateAppWindow("RenderTestClass", "w", platform::kStyleCaptioned, kWidth, kHeight);
    p.window = windows[i];
    devices[i] = adapter_->CreateDevice(false, p);
    ASSERT_TRUE(devices[i]);
  }
  platform::RenderDevice& inPart = *devices[0];
  platform::RenderDevice& whole = *devices[1];
  constexpr int kSide = 48;
  platform::Texture glow(64, 64);
  uint32_t* g = glow.Lock();
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      const int edge = std::min(std::min(x, y), std::min(kSide - 1 - x, kSide - 1 - y));
      g[y * 64 + x] = edge < 6 ? 0xFF000000u : (static_cast<uint32_t>(edge * 9 + x * 2 + y) << 24) | 0x00FFFFFFu;
    }
  glow.Unlock();
  auto tex = Quad();
  std::vector<uint32_t> kept(kWidth * kHeight);
  for (size_t i = 0; i < kept.size(); ++i) kept[i] = static_cast<uint32_t>(i * 2654435761u) | 0x20000000u;
  const auto picture = platform::MakePicture(kept);
  uint32_t seed = 11;
  auto pick = [&seed](int n) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 16) % static_cast<uint32_t>(n));
  };
  for (int round = 0; round < 200; ++round) {
    const float jx = static_cast<float>(pick(3) - 1), jy = static_cast<float>(pick(3) - 1);
    const float half = round % 40 == 39 ? 0.5f : 0.0f;  // now and then a move within a pixel
    ASSERT_TRUE(whole.Reset(p));
    for (platform::RenderDevice* d : {&inPart, &whole}) {
      ASSERT_TRUE(d->WritePicture(picture));
      platform::RenderStates& st = d->States();
      st.alphaBlend = true;
      st.srcBlend = platform::kBlendSrcAlpha;
      st.dstBlend = platform::kBlendOne;
      const platform::SourceRect all{0, 0, kSide, kSide};
      d->DrawQuad(glow, all, platform::Transformation2D(1.5f, 1.5f, 0, 0, 0, 10 + 3 * jx + half, 8 + 3 * jy),
                  0xFFCED270u);
      d->DrawQuad(glow, platform::SourceRect{8, 8, 40, 40},
                  platform::Transformation2D(2.5f, 2.5f, 0, 0, 0, 100.5f - jy, 30 + jx), 0xC8F1B134u);
      st.dstBlend = platform::kBlendInvSrcAlpha;
      d->DrawQuad(*tex, platform::SourceRect{0, 0, 2, 2}, platform::Transformation2D(20, 20, 0, 0, 0, 40, 50),
                  0x80FFFFFFu);
    }
    const std::vector<uint32_t> drawnWhole(whole.Pixels(), whole.Pixels() + kWidth * kHeight);
    const std::vector<uint32_t> drawnInPart(inPart.Pixels(), inPart.Pixels() + kWidth * kHeight);
    ASSERT_EQ(drawnInPart, drawnWhole) << "round " << round;
  }
  for (int i = 0; i < 2; ++i) {
    devices[i].reset();
    platform::DestroyAppWindow(windows[i]);
  }
}

TEST_F(RenderTest, RotationAboutACentreTurnsClockwise) {
  auto tex = Quad();
  platform::SpriteBatch sprite(device_.get());
  sprite.Begin(true);
  // A quarter turn about the middle of a 2x2 quad scaled by 4 (centre 4,4).
  sprite.Draw(tex.get(), nullptr, platform::Transformation2D(4, 4, 4, 4, static_cast<float>(M_PI / 2), 20, 10),
              0xFFFFFFFFu);
  sprite.End();
  // Red (top-left) moves to the top-right; blue (bottom-left) to the top-left.
  EXPECT_EQ(At(26, 11), 0xFFFF0000u);
  EXPECT_EQ(At(21, 11), 0xFF0000FFu);
  EXPECT_EQ(At(21, 17), 0xFFFFFFFFu);
  EXPECT_EQ(At(26, 17), 0xFF00FF00u);
}

TEST_F(RenderTest, ColourModulatesAndBlendModesMix) {
  auto tex = Quad();
  platform::SpriteBatch sprite(device_.get());
  sprite.Begin(true);
  platform::SourceRect white{1, 1, 2, 2};
  sprite.Draw(tex.get(), &white, platform::Transformation2D(1, 1, 0, 0, 0, 0, 0), 0xFF808080u);
  EXPECT_EQ(At(0, 0), 0xFF808080u);
  // Half transparent white over black.
  sprite.Draw(tex.get(), &white, platform::Transformation2D(1, 1, 0, 0, 0, 1, 0), 0x80FFFFFFu);
  EXPECT_EQ(At(1, 0), 0xFF808080u);
  // Additive: source alpha, one.
  device_->States().dstBlend = platform::kBlendOne;
  sprite.Draw(tex.get(), &white, platform::Transformation2D(1, 1, 0, 0, 0, 0, 0), 0xFF404040u);
  EXPECT_EQ(At(0, 0), 0xFFC0C0C0u);
  // Alpha test at 8, greater or equal: alpha 7 is not drawn.
  device_->States().dstBlend = platform::kBlendInvSrcAlpha;
  device_->States().alphaTest = true;
  device_->States().alphaRef = 8;
  device_->States().alphaFunc = platform::kCompareGreaterEqual;
  sprite.Draw(tex.get(), &white, platform::Transformation2D(1, 1, 0, 0, 0, 5, 5), 0x07FFFFFFu);
  EXPECT_EQ(At(5, 5), 0xFF000000u);
}

TEST_F(RenderTest, SourceOutsideTheTextureDrawsNothing) {
  auto tex = Quad();
  platform::SpriteBatch sprite(device_.get());
  sprite.Begin(true);
  platform::SourceRect beyond{2, 0, 4, 2};
  sprite.Draw(tex.get(), &beyond, platform::Transformation2D(1, 1, 0, 0, 0, 0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(At(0, 0), 0xFF000000u);
  EXPECT_EQ(At(1, 1), 0xFF000000u);
}

TEST_F(RenderTest, TexturesRoundUpToPowersOfTwoAndDropTheColourKey) {
  EXPECT_EQ(platform::RoundUpToPowerOfTwo(0), 1);
  EXPECT_EQ(platform::RoundUpToPowerOfTwo(1), 1);
  EXPECT_EQ(platform::RoundUpToPowerOfTwo(24), 32);
  EXPECT_EQ(platform::RoundUpToPowerOfTwo(256), 256);
  EXPECT_EQ(platform::RoundUpToPowerOfTwo(257), 512);

  const uint32_t key = 0xFF6B6D73u;
  std::vector<uint32_t> image(3 * 5, 0xFF102030u);
  image[0] = key;
  image[7] = 0xFF6B6D74u;  // one off the key: stays
  const std::string path = testing::TempDir() + std::to_string(::getpid()) + "_keyed.png";
  ASSERT_TRUE(platform::SavePng(path.c_str(), 3, 5, image.data()));
  auto tex = platform::LoadTextureFile(path.c_str(), key);
  std::remove(path.c_str());
  ASSERT_TRUE(tex);
  EXPECT_EQ(tex->Width(), 4);
  EXPECT_EQ(tex->Height(), 8);
  const uint32_t* p = tex->Pixels();
  EXPECT_EQ(p[0], 0u);             // the key is transparent black
  EXPECT_EQ(p[1], 0xFF102030u);
  EXPECT_EQ(p[2 * 4 + 1], 0xFF6B6D74u);
  EXPECT_EQ(p[3], 0u);             // padding column
  EXPECT_EQ(p[6 * 4 + 0], 0u);     // padding row
  EXPECT_FALSE(platform::LoadTextureFile("no such file.png", key));
}

// A picture file is checked whole when its texture is made and decoded when
// first drawn: a damaged or cut file is refused at once, as start-up needs.
TEST_F(RenderTest, APictureIsCheckedWholeAtOnceAndDecodedWhenFirstRead) {
  std::vector<uint32_t> image(40 * 30, 0xFF804020u);
  const std::string path = testing::TempDir() + std::to_string(::getpid()) + "_whole.png";
  ASSERT_TRUE(platform::SavePng(path.c_str(), 40, 30, image.data()));
  std::vector<uint8_t> bytes;
  int w = 0, h = 0;
  ASSERT_TRUE(platform::CheckPngFile(path.c_str(), &w, &h, &bytes));
  EXPECT_EQ(w, 40);
  EXPECT_EQ(h, 30);
  auto tex = platform::LoadTextureFile(path.c_str(), 0);
  ASSERT_TRUE(tex);
  EXPECT_FALSE(tex->Decoded());
  EXPECT_EQ(tex->Width(), 64);
  EXPECT_EQ(tex->Pixels()[39 + 29 * 64], 0xFF804020u);
  EXPECT_TRUE(tex->Decoded());
  auto write = [&](const std::vector<uint8_t>& b) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(b.data(), 1, b.size(), f);
    std::fclose(f);
  };
  std::vector<uint8_t> damaged = bytes;
  damaged[damaged.size() - 20] ^= 0x40;  // inside the picture data
  write(damaged);
  EXPECT_FALSE(platform::CheckPngFile(path.c_str(), &w, &h));
  EXPECT_FALSE(platform::LoadTextureFile(path.c_str(), 0));
  write(std::vector<uint8_t>(bytes.begin(), bytes.end() - 12));  // the end chunk cut off
  EXPECT_FALSE(platform::LoadTextureFile(path.c_str(), 0));
  std::remove(path.c_str());
}

TEST_F(RenderTest, MinimisedWindowLosesTheDeviceUntilReset) {
  EXPECT_EQ(device_->TestState(), platform::DeviceState::kOk);
  platform::ShowAppWindow(window_, platform::kShowMinimised);
  EXPECT_EQ(device_->TestState(), platform::DeviceState::kLost);
  EXPECT_FALSE(device_->Present());
  platform::ShowAppWindow(window_, platform::kShowRestore);
  EXPECT_EQ(device_->TestState(), platform::DeviceState::kNeedsReset);
  platform::PresentParams p;
  p.window = window_;
  p.width = 64;
  p.height = 48;
  EXPECT_TRUE(device_->Reset(p));
  EXPECT_EQ(device_->TestState(), platform::DeviceState::kOk);
}

TEST(ManualClock, TickCountWrapsLikeA32BitCounter) {
  const bool manual = platform::ManualClockActive();
  const uint32_t ticks = platform::TickCount();
  platform::UseManualClock(true, 0xFFFFFFF0u);
  const uint32_t before = platform::TickCount();
  platform::AdvanceManualClock(0x20);
  EXPECT_EQ(platform::TickCount(), 0x10u);
  EXPECT_EQ(platform::TickCount() - before, 0x20u);
  platform::UseManualClock(manual, ticks);
}

TEST(GamePaths, BackslashesBecomeSlashes) {
  EXPECT_EQ(platform::GamePath("Graphics\\12.dat"), "Graphics/12.dat");
  EXPECT_EQ(platform::GamePath("SaveGame\\DemoVersion\\0\\SaveChar.cml"), "SaveGame/DemoVersion/0/SaveChar.cml");
}

}  // namespace
