// Kept layers: a backdrop drawn on a cleared back buffer is kept and copied
// after, with the very pixels drawing gives, and drawn again whenever what
// it shows may have changed.
#include <gtest/gtest.h>

#include <vector>

#include "engine/graphics.h"
#include "engine/settings.h"
#include "engine/sprite_sheets.h"
#include "engine/static_layers.h"
#include "engine/widgets.h"
#include "harness/harness.h"
#include "page_screen.h"

namespace {

std::vector<uint32_t> Picture() {
  std::vector<uint32_t> p;
  Graphics.device->ReadPicture(&p);
  return p;
}

// The framed box drawn alone, as a page's first layer; the drawings it cost.
int DrawBox(uint32_t background, std::vector<uint32_t>* picture) {
  const int before = StaticLayersDrawn();
  pagetest::DrawScene([&] { DrawFramedBox(0xFFFFFFFFu, background, 4); });
  *picture = Picture();
  return StaticLayersDrawn() - before;
}

class StaticLayers : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(harness::StartGame());
    ForgetStaticLayers();
  }
  void TearDown() override { harness::StopGame(); }
};

TEST_F(StaticLayers, KeptPicturesAreCopiedUntilWhatTheyShowChanges) {
  std::vector<uint32_t> first, again, other;
  EXPECT_EQ(DrawBox(0xFF808080u, &first), 1);
  EXPECT_EQ(DrawBox(0xFF808080u, &again), 0);
  EXPECT_EQ(again, first);

  // Another argument is another picture; both stay kept.
  EXPECT_EQ(DrawBox(0xFF406080u, &other), 1);
  EXPECT_NE(other, first);
  EXPECT_EQ(DrawBox(0xFF808080u, &again), 0);
  EXPECT_EQ(again, first);

  // A texture unlocked (its texels may have changed) and a render state
  // changed both draw the layer again.
  SheetBank.records[kSheetInterface].texture->Unlock();
  EXPECT_EQ(DrawBox(0xFF808080u, &again), 1);
  platform::RenderStates& st = Graphics.device->States();
  const bool test = st.alphaTest;
  st.alphaTest = !test;
  EXPECT_EQ(DrawBox(0xFF808080u, &again), 1);
  st.alphaTest = test;

  // The same layer drawn fresh with the cache forgotten gives the same pixels.
  ForgetStaticLayers();
  EXPECT_EQ(DrawBox(0xFF808080u, &again), 1);
  EXPECT_EQ(again, first);

  // A back buffer of another size is a new picture.
  const int width = Graphics.device->Width(), height = Graphics.device->Height();
  ASSERT_EQ(ResetGraphicsDevice(32, 1, width == 640 ? 960 : 640, height == 480 ? 720 : 480), 1);
  EXPECT_EQ(DrawBox(0xFF808080u, &again), 1);
  EXPECT_NE(again.size(), first.size());
  ASSERT_EQ(ResetGraphicsDevice(32, 1, width, height), 1);
}

TEST_F(StaticLayers, ALayerOverOtherDrawingIsDrawnAndNotKept) {
  const int before = StaticLayersDrawn();
  pagetest::DrawScene([] {
    DrawMouseCursor();
    DrawScreenBackdrop();
  });
  EXPECT_EQ(StaticLayersDrawn(), before);
  // Drawn first it is kept, and copied the frame after.
  pagetest::DrawScene([] { DrawScreenBackdrop(); });
  EXPECT_EQ(StaticLayersDrawn(), before + 1);
  const std::vector<uint32_t> kept = Picture();
  pagetest::DrawScene([] { DrawScreenBackdrop(); });
  EXPECT_EQ(StaticLayersDrawn(), before + 1);
  EXPECT_EQ(Picture(), kept);
}

}  // namespace
