// The sprite-sheet bank: loading the 66 sheets, frame arithmetic and drawing.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "engine/frame.h"
#include "engine/graphics.h"
#include "engine/sprite_sheets.h"
#include "engine/settings.h"
#include "harness/harness.h"
#include "platform/image.h"
#include "platform/system.h"

namespace {

// A scratch file of this test process: tests run side by side in one folder.
std::string Scratch(const char* name) { return std::to_string(getpid()) + "_" + name; }

constexpr uint32_t kRed = 0xFFFF0000u, kGreen = 0xFF00FF00u, kBlue = 0xFF0000FFu, kYellow = 0xFFFFFF00u;

class SpriteSheets : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(harness::StartGame()); }
  void TearDown() override {
    Graphics.windowed = 1;
    FreeSheetBank();
    harness::StopGame();
  }

  // A 32x32 picture of four 16x16 frames: red, green / blue, yellow.
  static std::string WriteQuarters(const char* name) {
    std::vector<uint32_t> px(32 * 32);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) px[y * 32 + x] = y < 16 ? (x < 16 ? kRed : kGreen) : (x < 16 ? kBlue : kYellow);
    EXPECT_TRUE(platform::SavePng(name, 32, 32, px.data()));
    return name;
  }

  // Draws one frame in a fresh scene and returns the device picture.
  template <typename Draw>
  static std::vector<uint32_t> Picture(Draw draw, int* result = nullptr) {
    BeginScene();
    ClearScreen(0xFF000000u);
    BeginSprite();
    const int r = draw();
    if (result) *result = r;
    EndSprite();
    EndScene();
    int w = 0, h = 0;
    return harness::DevicePicture(&w, &h);
  }

  static uint32_t At(const std::vector<uint32_t>& pic, int x, int y) { return pic[y * Graphics.device->Width() + x]; }
};

TEST_F(SpriteSheets, LoadsAllSixtySixSheetsWithTheirFramesPerRow) {
  ASSERT_EQ(LoadTextures(), 1);
  EXPECT_EQ(SheetBank.owner, &Graphics);
  EXPECT_EQ(SheetBank.count, 66);
  const struct {
    int slot, frameWidth, frameHeight, perRow;
  } cases[] = {
      {0, 24, 24, 10}, {13, 8, 8, 32},   {59, 24, 24, 10},  {60, 16, 16, 16}, {61, 15, 18, 17},
      {62, 10, 12, 25}, {3, 64, 43, 4},  {65, 256, 48, 1},  {14, 100, 100, 5}, {18, 18, 18, 14},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SheetBank.frameWidth[c.slot], c.frameWidth) << "sheet " << c.slot;
    EXPECT_EQ(SheetBank.frameHeight[c.slot], c.frameHeight) << "sheet " << c.slot;
    EXPECT_EQ(SheetBank.framesPerRow[c.slot], c.perRow) << "sheet " << c.slot;
  }
  for (int slot = 0; slot < 66; ++slot) {
    const SheetFormat f = SheetFormatFor(slot);
    EXPECT_EQ(SheetBank.framesPerRow[slot], SheetBank.records[slot].width / f.frameWidth) << "sheet " << slot;
  }
  // Sheets 32, 57, 64 and 65 are keyed on black, the rest on grey.
  for (int slot : {32, 57, 64, 65}) EXPECT_EQ(SheetFormatFor(slot).colourKey, 0xFF000000u);
  for (int slot : {0, 13, 31, 33, 56, 58, 63}) EXPECT_EQ(SheetFormatFor(slot).colourKey, 0xFF6B6D73u);
}

TEST_F(SpriteSheets, FramesPerRowComeFromTheRoundedTextureWidth) {
  // A 100 by 50 picture loads as a 128 by 64 texture: 128 / 24 = 5 frames a row.
  std::vector<uint32_t> px(100 * 50, kRed);
  ASSERT_TRUE(platform::SavePng(Scratch("odd_sheet.png").c_str(), 100, 50, px.data()));
  ASSERT_EQ(InitSheetBank(), 1);
  ASSERT_EQ(LoadSheet(7, Scratch("odd_sheet.png").c_str(), 24, 24, kSheetKeyGrey), 1);
  EXPECT_EQ(SheetBank.records[7].width, 128);
  EXPECT_EQ(SheetBank.framesPerRow[7], 5);
  int left = 0, top = 0, w = 0, h = 0;
  ASSERT_TRUE(SheetFrameRect(7, 7, &left, &top, &w, &h));  // column 2 of row 1
  EXPECT_EQ(left, 48);
  EXPECT_EQ(top, 24);
  EXPECT_EQ(w, 24);
  EXPECT_EQ(h, 24);
  std::filesystem::remove(Scratch("odd_sheet.png"));
}

TEST_F(SpriteSheets, FrameZeroIsTopLeftAndLandsAtTheScaledPosition) {
  ASSERT_EQ(InitSheetBank(), 1);
  ASSERT_EQ(LoadSheet(40, WriteQuarters(Scratch("quarters.png").c_str()).c_str(), 16, 16, kSheetKeyGrey), 1);
  Graphics.windowed = 0;  // full screen: display scale 2
  ASSERT_EQ(GetDisplayScale(), 2);
  const struct {
    int frame;
    uint32_t colour;
  } frames[] = {{0, kRed}, {1, kGreen}, {2, kBlue}, {3, kYellow}};
  for (const auto& f : frames) {
    int result = 0;
    const auto pic = Picture([&] { return DrawSheetFrame(40, f.frame, 160, 120); }, &result);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(At(pic, 320, 240), f.colour) << "frame " << f.frame;
    EXPECT_EQ(At(pic, 351, 271), f.colour) << "frame " << f.frame;  // 16 pixels at scale 2
    EXPECT_EQ(At(pic, 352, 240), 0xFF000000u);
    EXPECT_EQ(At(pic, 319, 240), 0xFF000000u);
  }
  // Without the display-scaled flag: drawn at its own size at (2x + x offset, 2y).
  const auto pic = Picture([] { return DrawSheetFrame(40, 3, 10, 20, 0xFFFFFFFFu, 1, 1, 0, 1, 0, 0, 0, 0, 0, 4, 1); });
  EXPECT_EQ(At(pic, 24, 40), kYellow);
  EXPECT_EQ(At(pic, 39, 55), kYellow);
  EXPECT_EQ(At(pic, 40, 40), 0xFF000000u);
  std::filesystem::remove(Scratch("quarters.png"));
}

TEST_F(SpriteSheets, SourceOffsetsAndExtraSizeCutTheFrame) {
  ASSERT_EQ(InitSheetBank(), 1);
  ASSERT_EQ(LoadSheet(40, WriteQuarters(Scratch("quarters.png").c_str()).c_str(), 16, 16, kSheetKeyGrey), 1);
  Graphics.windowed = 0;
  // Frame 0 widened by 16 from x offset 8: red then green.
  auto pic = Picture([] { return DrawSheetFrame(40, 0, 0, 0, 0xFFFFFFFFu, 1, 1, 0, 1, 8, 0, 8, 0); });
  EXPECT_EQ(At(pic, 0, 0), kRed);
  EXPECT_EQ(At(pic, 15, 0), kRed);
  EXPECT_EQ(At(pic, 16, 0), kGreen);
  EXPECT_EQ(At(pic, 47, 0), kGreen);
  EXPECT_EQ(At(pic, 48, 0), 0xFF000000u);
  // A frame cut to nothing draws nothing (a zero size must not mean the whole sheet).
  int result = 1;
  pic = Picture([] { return DrawSheetFrame(40, 0, 0, 0, 0xFFFFFFFFu, 1, 1, 0, 1, 0, 0, -16, 0); }, &result);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(At(pic, 0, 0), 0xFF000000u);
  std::filesystem::remove(Scratch("quarters.png"));
}

TEST_F(SpriteSheets, EmptyOrOutOfRangeSlotsDrawNothing) {
  FreeSheetBank();  // start-up loaded the sheets
  EXPECT_EQ(DrawSheetFrame(0, 0, 0, 0), 0);  // the bank is not ready
  ASSERT_EQ(InitSheetBank(), 1);
  ASSERT_EQ(LoadSheet(40, WriteQuarters(Scratch("quarters.png").c_str()).c_str(), 16, 16, kSheetKeyGrey), 1);
  for (int slot : {-1, 66, 1000, 5}) {
    int result = 1;
    const auto pic = Picture([&] { return DrawSheetFrame(slot, 0, 0, 0); }, &result);
    EXPECT_EQ(result, 0) << "slot " << slot;
    EXPECT_EQ(DrawSheetFrameGradient(slot, 0, 0, 0, 0xFFFFFFFFu, 1, 1, 0, 1, kRed, kBlue), 0);
    EXPECT_EQ(DrawSheetFrameSilhouette(slot, 0, 0, 0, kRed), 0);
    for (uint32_t p : pic) ASSERT_EQ(p, 0xFF000000u);
  }
  EXPECT_EQ(LoadSheet(66, Scratch("quarters.png").c_str(), 16, 16, kSheetKeyGrey), 0);
  EXPECT_EQ(LoadSheet(41, "no_such_sheet.png", 16, 16, kSheetKeyGrey), 0);
  EXPECT_EQ(DrawSheetFrame(41, 0, 0, 0), 0);
  EXPECT_EQ(FreeSheet(66), 0);
  ASSERT_EQ(FreeSheet(40), 1);
  EXPECT_EQ(DrawSheetFrame(40, 0, 0, 0), 0);
  FreeSheetBank();
  EXPECT_EQ(SheetBank.count, 0);
  EXPECT_EQ(SheetBank.owner, nullptr);
  EXPECT_EQ(LoadSheet(0, Scratch("quarters.png").c_str(), 16, 16, kSheetKeyGrey), 0);
  std::filesystem::remove(Scratch("quarters.png"));
}

TEST_F(SpriteSheets, SilhouetteFillsTheShapeAndGradientCyclesKeyColours) {
  ASSERT_EQ(InitSheetBank(), 1);
  ASSERT_EQ(LoadSheet(40, WriteQuarters(Scratch("quarters.png").c_str()).c_str(), 16, 16, kSheetKeyGrey), 1);
  Graphics.windowed = 0;
  auto pic = Picture([] { return DrawSheetFrameSilhouette(40, 2, 8, 8, 0xFF00FFFFu); });
  EXPECT_EQ(At(pic, 16, 16), 0xFF00FFFFu);
  EXPECT_EQ(At(pic, 47, 47), 0xFF00FFFFu);
  EXPECT_EQ(At(pic, 48, 16), 0xFF000000u);
  // The texture is unchanged afterwards.
  pic = Picture([] { return DrawSheetFrame(40, 2, 8, 8); });
  EXPECT_EQ(At(pic, 16, 16), kBlue);
  // Red and blue cycle: in some phase the red frame draws blue.
  bool sawBlue = false;
  for (uint32_t cycle = 0; cycle < 2; ++cycle) {
    AnimationCycle = cycle;
    pic = Picture([] { return DrawSheetFrameGradient(40, 0, 8, 8, 0xFFFFFFFFu, 1, 1, 0, 1, kRed, kBlue); });
    sawBlue = sawBlue || At(pic, 16, 16) == kBlue;
    EXPECT_EQ(At(pic, 47, 47), At(pic, 16, 16));  // the whole frame, at scale 2
  }
  EXPECT_TRUE(sawBlue);
  std::filesystem::remove(Scratch("quarters.png"));
}

TEST_F(SpriteSheets, AMissingSheetStopsLoadingWithItsMessage) {
  // A game folder holding only sheets 0 to 4.
  const auto here = std::filesystem::current_path();
  const auto folder = std::filesystem::temp_directory_path() / ("sheets_missing_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder / "Graphics");
  for (int i = 0; i < 5; ++i)
    std::filesystem::copy_file(here / "Graphics" / (std::to_string(i) + ".dat"),
                               folder / "Graphics" / (std::to_string(i) + ".dat"));
  std::filesystem::current_path(folder);
  const int before = platform::MessageBoxCount();
  EXPECT_EQ(LoadTextures(), 0);
  std::filesystem::current_path(here);
  std::filesystem::remove_all(folder);
  EXPECT_EQ(platform::MessageBoxCount(), before + 1);
  EXPECT_EQ(platform::LastMessageBoxText(), "Could not load texture 5");
  EXPECT_EQ(platform::LastMessageBoxTitle(), "Fatal Error");
  EXPECT_EQ(SheetBank.records[5].texture, nullptr);
  EXPECT_NE(SheetBank.records[4].texture, nullptr);
  // The fatal message ends the program: the loop sees the quit message.
  EXPECT_FALSE(harness::StepFrames(1));
}

}  // namespace
