// The test page: every glyph of the fonts at the display scale, the
// alternative font, and frames of several sheets, saved as a picture in the
// build folder (test_page_scale2.png, test_page_scale3.png) for a person to
// look at.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/graphics.h"
#include "engine/sprite_sheets.h"
#include "engine/settings.h"
#include "harness/harness.h"

namespace {

// The characters that have glyphs: '!' to 'Z', 'a' to 'z', '{' to '~' and the
// pound sign. '[' to '`' share their frames with the lower-case letters.
std::vector<int> GlyphCodes(bool alternative) {
  std::vector<int> codes;
  for (int c = 33; c <= 126; ++c) {
    if (c >= 91 && c <= 96 && !alternative) continue;
    if (c >= 'a' && c <= 'z' && alternative) continue;
    codes.push_back(c);
  }
  codes.push_back(0xA3);
  return codes;
}

int FontFrame(int code) { return code >= 'a' && code <= 'z' ? code - 6 - 33 : code - 33; }

// A glyph of the scale's own font: drawn at its size at the cell times the scale.
void Glyph(int sheet, int code, int x, int y, uint32_t colour = 0xFFFFFFFFu) {
  DrawSheetFrame(sheet, FontFrame(code), x, y, colour, 1, 1, 0, 1, 0, 0, 0, 0, 0, 0, 1);
}

void Text(int sheet, int cell, const std::string& s, int x, int y, uint32_t colour) {
  for (size_t i = 0; i < s.size(); ++i)
    if (static_cast<unsigned char>(s[i]) > 32) Glyph(sheet, static_cast<unsigned char>(s[i]), x + cell * static_cast<int>(i), y, colour);
}

// A framed box from four corners, two edges and the fill.
void Box(int x0, int y0, int x1, int y1, int tl, int tr, int bl, int br, int top, int bottom, int left, int right,
         uint32_t colour) {
  for (int y = y0 + 8; y < y1; y += 8)
    for (int x = x0 + 8; x < x1; x += 8) DrawSheetFrame(13, 7, x, y, 0xC4FFFFFFu);
  for (int x = x0 + 8; x < x1; x += 8) {
    DrawSheetFrame(13, top, x, y0, colour);
    DrawSheetFrame(13, bottom, x, y1, colour);
  }
  for (int y = y0 + 8; y < y1; y += 8) {
    DrawSheetFrame(13, left, x0, y, colour);
    DrawSheetFrame(13, right, x1, y, colour);
  }
  DrawSheetFrame(13, tl, x0, y0, colour);
  DrawSheetFrame(13, tr, x1, y0, colour);
  DrawSheetFrame(13, bl, x0, y1, colour);
  DrawSheetFrame(13, br, x1, y1, colour);
}

struct GlyphCell {
  int code, x, y;
};

// Draws the page; returns where the large glyphs of the scale's font went.
std::vector<GlyphCell> DrawTestPage(int scale) {
  const int large = scale == 3 ? 59 : 60, small = scale == 3 ? 61 : 62;
  std::vector<GlyphCell> cells;
  BeginScene();
  ClearScreen(0xFF000000u);
  BeginSprite();
  // The page: the caption-box frame around a slate fill.
  Box(0, 0, 312, 232, 3, 4, 5, 6, 1, 1, 2, 2, 0xFFFFFFFFu);
  // The large font, then the small one.
  int i = 0;
  for (int code : GlyphCodes(false)) {
    const int x = 12 + 8 * (i % 37), y = 10 + 8 * (i / 37);
    Glyph(large, code, x, y);
    cells.push_back({code, x, y});
    ++i;
  }
  i = 0;
  for (int code : GlyphCodes(false)) Glyph(small, code, 12 + 5 * (i % 59), 36 + 6 * (i / 59)), ++i;
  // The alternative font of the interface sheet, large and small.
  i = 0;
  for (int code : GlyphCodes(true)) {
    DrawSheetFrame(13, code + kAltLargeFontBase, 12 + 8 * (i % 37), 52 + 8 * (i / 37));
    ++i;
  }
  i = 0;
  for (int code : GlyphCodes(true)) {
    DrawSheetFrame(13, code + kAltSmallFontBase, 12 + 5 * (i % 59), 72 + 6 * (i / 59), 0xFFFFFFFFu, 1, 1, 0, 1, 0, 0,
                   -3, -2);
    ++i;
  }
  // Tinted text as the styles draw it.
  Text(large, 8, "Gold, orange and cyan text:", 12, 88, 0xFFFFFC01u);
  Text(large, 8, "Pack 12 jugs of $ and \xA3 now!", 12, 96, 0xFFFC8740u);
  Text(small, 5, "The quick brown fox jumps over the lazy dog. 0123456789", 12, 106, 0xFF7DF7E7u);
  // Frames of several sheets: ground tiles, figures, icons and cursors.
  const int ground[] = {1, 2, 3, 5, 6, 10};  // sheet 0 also holds the cursors
  for (int f = 0; f < 6; ++f) DrawSheetFrame(0, ground[f], 12 + 26 * f, 116);
  for (int f = 0; f < 5; ++f) DrawSheetFrame(21, 44 + f, 168 + 26 * f, 116);
  for (int f = 0; f < 16; ++f) DrawSheetFrame(18, f, 12 + 18 * f, 142);
  for (int f = 0; f < 6; ++f) DrawSheetFrame(29, f, 12 + 26 * f, 162);
  const int cursors[] = {29, 4, 8, 28, 43, 22, 20, 56};
  for (int k = 0; k < 8; ++k) DrawSheetFrame(0, cursors[k], 170 + 17 * k, 162);
  // Interface pieces: arrows, thumb, swatches, marks.
  const int marks[] = {485, 486, 487, 488, 946, 947, 190, 968, 506, 507, 519, 520, 521, 522, 523, 524, 525, 526, 527};
  for (int k = 0; k < 19; ++k) DrawSheetFrame(13, marks[k], 12 + 10 * k, 190);
  DrawSheetFrame(13, 482, 210, 184);
  for (int k = 0; k < 3; ++k) DrawSheetFrame(13, 483, 210, 190 + 6 * k);
  DrawSheetFrame(13, 484, 210, 208);
  // A popup box and a side panel with text in them.
  for (int x = 16; x <= 104; x += 8) DrawSheetFrame(13, 948, x, 202, 0xDCFFFFFFu), DrawSheetFrame(13, 951, x, 218, 0xDCFFFFFFu);
  DrawSheetFrame(13, 7, 16, 210, 0xC4FFFFFFu);
  for (int x = 16; x <= 104; x += 8) DrawSheetFrame(13, 7, x, 210, 0xC4FFFFFFu);
  DrawSheetFrame(13, 949, 8, 210, 0xDCFFFFFFu);
  DrawSheetFrame(13, 950, 112, 210, 0xDCFFFFFFu);
  Text(large, 8, "Popup box", 24, 210, 0xFFFFFFFFu);
  Box(224, 176, 296, 216, 952, 953, 955, 954, 956, 958, 959, 957, 0xB4FFFFFFu);
  Text(small, 5, "Side panel", 234, 190, 0xFFB1ACF4u);
  Text(small, 5, "952 to 959", 234, 198, 0xFF97F870u);
  EndSprite();
  EndScene();
  return cells;
}

class TestPage : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(harness::StartGame());
    ASSERT_EQ(LoadTextures(), 1);
  }
  void TearDown() override {
    FreeSheetBank();
    harness::StopGame();
  }

  // Every large glyph cell holds white ink, and the blank row under it none.
  static void ExpectGlyphsInked(const std::vector<GlyphCell>& cells) {
    const std::vector<uint32_t> pic = harness::LogicalPicture();
    for (const GlyphCell& c : cells) {
      int ink = 0;
      for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 8; ++x) {
          const uint32_t p = pic[(c.y + y) * 320 + c.x + x];
          if (c.code == '$') ink += (p & 0xFF0000u) > 0x800000u;
          else ink += p == 0xFFFFFFFFu;
        }
      EXPECT_GE(ink, 3) << "glyph " << c.code;
    }
  }
};

TEST_F(TestPage, LegibleAtDisplayScale2) {
  WindowSize = 1;
  ASSERT_EQ(ResetGraphicsDevice(32, 1, 640, 480), 1);
  ASSERT_EQ(GetDisplayScale(), 2);
  const auto cells = DrawTestPage(2);
  ExpectGlyphsInked(cells);
  EXPECT_TRUE(harness::SaveShot("test_page_scale2.png"));
  WindowSize = 2;
}

TEST_F(TestPage, LegibleAtDisplayScale3) {
  ASSERT_EQ(GetDisplayScale(), 3);
  const auto cells = DrawTestPage(3);
  ExpectGlyphsInked(cells);
  EXPECT_TRUE(harness::SaveShot("test_page_scale3.png"));
}

}  // namespace
