// The graphics object's arithmetic: display scale and blit transforms.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/graphics.h"
#include "engine/frame.h"
#include "engine/graphics.h"
#include "engine/settings.h"
#include "harness/harness.h"

namespace {

TextureRecord RecordOfSize(int w, int h) {
  TextureRecord r;
  r.owner = &Graphics;
  r.texture = std::make_unique<platform::Texture>(w, h);
  r.width = w;
  r.height = h;
  return r;
}

TEST(DisplayScale, FollowsWindowSizeAndFullScreen) {
  Graphics.windowed = 1;
  WideViewDrawSwitch = 0;
  const struct {
    uint32_t size;
    uint8_t wide;
    int scale;
  } cases[] = {{1, 0, 2}, {2, 0, 3}, {3, 0, 3}, {3, 1, 2}, {2, 1, 3}, {0, 0, 1}, {7, 0, 1}};
  for (const auto& c : cases) {
    WindowSize = c.size;
    WideViewDrawSwitch = c.wide;
    EXPECT_EQ(GetDisplayScale(), c.scale) << "window size " << c.size << " wide " << int(c.wide);
  }
  Graphics.windowed = 0;
  WindowSize = 2;
  EXPECT_EQ(GetDisplayScale(), 2);
  Graphics.windowed = 1;
  WideViewDrawSwitch = 0;
}

TEST(BlitTransform, TranslationIsScaledByDisplayOrByTheScaleFactors) {
  Graphics.windowed = 1;
  WindowSize = 2;  // 960x720: display scale 3
  TextureRecord r = RecordOfSize(64, 32);
  // Not already scaled: the position is tripled, the scale factors are not.
  BlitTransform t = ComputeBlitTransform(&r, 0, 10, 20, 0, 8, 8, 1.5f, 2.0f, 0.0f, 1, 0);
  EXPECT_FLOAT_EQ(t.translateX, 30);
  EXPECT_FLOAT_EQ(t.translateY, 60);
  EXPECT_FLOAT_EQ(t.scaleX, 1.5f);
  EXPECT_FLOAT_EQ(t.scaleY, 2.0f);
  // Already scaled: the position is multiplied by the scale factors.
  t = ComputeBlitTransform(&r, 0, 10, 20, 0, 8, 8, 1.5f, 2.0f, 0.0f, 1, 1);
  EXPECT_FLOAT_EQ(t.translateX, 15);
  EXPECT_FLOAT_EQ(t.translateY, 40);
}

TEST(BlitTransform, ZeroWidthOrHeightMeansTheWholeTexture) {
  TextureRecord r = RecordOfSize(64, 32);
  BlitTransform t = ComputeBlitTransform(&r, 8, 0, 0, 4, 0, 0, 1, 1, 0, 1, 1);
  EXPECT_EQ(t.src.left, 8);
  EXPECT_EQ(t.src.top, 4);
  EXPECT_EQ(t.src.right, 8 + 64);
  EXPECT_EQ(t.src.bottom, 4 + 32);
  t = ComputeBlitTransform(&r, 0, 0, 0, 0, 16, 0, 1, 1, 0, 1, 1);
  EXPECT_EQ(t.src.right, 16);
  EXPECT_EQ(t.src.bottom, 32);
}

TEST(BlitTransform, RotationCentreModes) {
  TextureRecord r = RecordOfSize(64, 32);
  // Mode 3: (0, integer part of 11 x scale y), rotated or not.
  BlitTransform t = ComputeBlitTransform(&r, 0, 0, 0, 0, 24, 24, 2.5f, 2.5f, 0.0f, 3, 1);
  EXPECT_FLOAT_EQ(t.centreX, 0);
  EXPECT_FLOAT_EQ(t.centreY, 27);  // 27.5 cut to 27
  // Mode 1 with a rotation: half the scaled size, each halved toward zero.
  t = ComputeBlitTransform(&r, 0, 0, 0, 0, 15, 18, 3.0f, 3.0f, 0.5f, 1, 1);
  EXPECT_FLOAT_EQ(t.centreX, 22);  // 45 / 2
  EXPECT_FLOAT_EQ(t.centreY, 27);  // 54 / 2
  // Mode 1 without rotation, and any other mode: no centre.
  t = ComputeBlitTransform(&r, 0, 0, 0, 0, 15, 18, 3.0f, 3.0f, 0.0f, 1, 1);
  EXPECT_FLOAT_EQ(t.centreX, 0);
  EXPECT_FLOAT_EQ(t.centreY, 0);
  t = ComputeBlitTransform(&r, 0, 0, 0, 0, 15, 18, 3.0f, 3.0f, 0.5f, 0, 1);
  EXPECT_FLOAT_EQ(t.centreX, 0);
}

TEST(Blits, WithoutTextureOrSpriteNothingIsDrawn) {
  TextureRecord empty;
  EXPECT_EQ(BlitTexture(&empty, 0, 0, 0, 0, 0, 0, 1, 1, 0xFFFFFFFFu, 0, 1, 1), 0);
  EXPECT_EQ(BlitTexture(nullptr, 0, 0, 0, 0, 0, 0, 1, 1, 0xFFFFFFFFu, 0, 1, 1), 0);
  TextureRecord noOwner = RecordOfSize(8, 8);
  noOwner.owner = nullptr;
  EXPECT_EQ(BlitTexture(&noOwner, 0, 0, 0, 0, 0, 0, 1, 1, 0xFFFFFFFFu, 0, 1, 1), 0);
  EXPECT_EQ(TextureWidth(&empty), 0);
  EXPECT_EQ(TextureHeight(nullptr), 0);
}

// Drawing through the running game's device.
class DeviceBlits : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(harness::StartGame()); }
  void TearDown() override { harness::StopGame(); }
  uint32_t Pixel(int x, int y) {
    int w = 0, h = 0;
    auto pic = harness::DevicePicture(&w, &h);
    return pic[y * w + x];
  }
};

TEST_F(DeviceBlits, LogicalPositionLandsScaledInTheWindow) {
  ASSERT_EQ(Graphics.backBufferWidth, 960);
  TextureRecord r = RecordOfSize(4, 4);
  std::fill(r.texture->Lock(), r.texture->Lock() + 16, 0xFF00FF00u);
  BeginScene();
  ClearScreen(0xFF000000u);
  BeginSprite();
  // The standard call: scale factors times the display scale, already scaled.
  EXPECT_EQ(BlitTexture(&r, 0, 100, 50, 0, 0, 0, 3.0f, 3.0f, 0xFFFFFFFFu, 0, 1, 1), 1);
  EndSprite();
  EndScene();
  EXPECT_EQ(Pixel(300, 150), 0xFF00FF00u);
  EXPECT_EQ(Pixel(311, 161), 0xFF00FF00u);
  EXPECT_EQ(Pixel(312, 150), 0xFF000000u);
  EXPECT_EQ(Pixel(299, 150), 0xFF000000u);
}

TEST_F(DeviceBlits, SilhouetteFillsTheShapeAndLeavesTheTextureAsItWas) {
  TextureRecord r = RecordOfSize(2, 1);
  r.texture->Lock()[0] = 0xFF102030u;  // opaque: part of the shape
  r.texture->Lock()[1] = 0x00000000u;  // transparent
  BeginScene();
  ClearScreen(0xFF000000u);
  BeginSprite();
  EXPECT_EQ(BlitTextureSilhouette(&r, 0, 10, 10, 0, 0, 0, 1.0f, 1.0f, 0xFFFF0000u, 0.0f, 1, 0), 1);
  EndSprite();
  EndScene();
  EXPECT_EQ(Pixel(30, 30), 0xFFFF0000u);
  EXPECT_EQ(Pixel(33, 30), 0xFF000000u);
  EXPECT_EQ(r.texture->Pixels()[0], 0xFF102030u);
}

TEST_F(DeviceBlits, GradientCyclesKeyColoursByTheAnimationCounter) {
  TextureRecord r = RecordOfSize(1, 1);
  const uint32_t c1 = 0xFFFF0000u, c2 = 0xFF00FF00u, c3 = 0xFF0000FFu;
  r.texture->Lock()[0] = c1;
  const uint32_t expected[] = {c1, c2, c3, c1};
  for (uint32_t cycle = 0; cycle < 4; ++cycle) {
    AnimationCycle = cycle;
    BeginScene();
    BeginSprite();
    BlitTextureGradient(&r, 0, 0, 0, 0, 0, 0, 1.0f, 1.0f, 0xFFFFFFFFu, 0.0f, 1, 0, c1, c2, c3, 0, 0, 0);
    EndSprite();
    EndScene();
    EXPECT_EQ(Pixel(0, 0), expected[cycle]) << "cycle " << cycle;
    EXPECT_EQ(r.texture->Pixels()[0], c1);
  }
  // Only the first colour set: drawn plainly.
  AnimationCycle = 1;
  r.texture->Lock()[0] = 0xFF123456u;
  BeginScene();
  BeginSprite();
  BlitTextureGradient(&r, 0, 0, 0, 0, 0, 0, 1.0f, 1.0f, 0xFFFFFFFFu, 0.0f, 1, 0, 0xFF123456u, 0, 0, 0, 0, 0);
  EndSprite();
  EndScene();
  EXPECT_EQ(Pixel(0, 0), 0xFF123456u);
}

}  // namespace
