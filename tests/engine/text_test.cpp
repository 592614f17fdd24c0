// Text drawing: cell arithmetic, the style colours, the glyph mapping, the
// popup mask, and the text helpers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/graphics.h"
#include "engine/frame.h"
#include "engine/graphics.h"
#include "engine/text.h"
#include "engine/settings.h"
#include "engine/game_screen_state.h"

namespace {

class TextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RecordGlyphs(&glyphs);
    Graphics.windowed = 1;
    WindowSize = 1;
    WideViewDrawSwitch = 0;
    OptionWords[kOptionLowResolutionText] = 0;
    ScreenMode = kModeExploring;
  }
  void TearDown() override { RecordGlyphs(nullptr); }
  std::string Drawn() const {
    std::string s;
    for (const GlyphDraw& g : glyphs) s.push_back(static_cast<char>(g.c));
    return s;
  }
  std::vector<GlyphDraw> glyphs;
};

TEST_F(TextTest, DrawTextAtCutsAtTheLastColumn) {
  EXPECT_EQ(DrawTextAt(kDefaultColour, 99, 0, "ABCDEFGHIJ", 0, 35, 2, 1, 0, 0, 0), 1);
  ASSERT_EQ(glyphs.size(), 4u);
  // Drawn from the last character to the first.
  EXPECT_EQ(Drawn(), "DCBA");
  EXPECT_EQ(glyphs[0].x, 38 * 8);
  EXPECT_EQ(glyphs[3].x, 35 * 8);
  EXPECT_EQ(glyphs[3].y, 16);
  glyphs.clear();
  EXPECT_EQ(DrawTextAt(kDefaultColour, 99, 0, "ABCDEFGHIJ", 0, 39, 2, 1, 0, 0, 0), 0);
  EXPECT_TRUE(glyphs.empty());
  // Small cells: 63 columns of 5 by 6, with the pixel offsets added.
  EXPECT_EQ(DrawTextAt(kDefaultColour, 99, 3, "ABC", 0, 61, 4, 0, 2, 0, 0), 1);
  ASSERT_EQ(glyphs.size(), 2u);
  EXPECT_EQ(glyphs[1].x, 3 + 61 * 5);
  EXPECT_EQ(glyphs[1].y, 2 + 4 * 6);
  glyphs.clear();
  // Then the maximum characters.
  DrawTextAt(kDefaultColour, 2, 0, "ABCDEF", 0, 0, 0, 1, 0, 0, 0);
  EXPECT_EQ(Drawn(), "BA");
  // The drawing switch widens the cells in the 960x720 (b) window only.
  glyphs.clear();
  WideViewDrawSwitch = 1;
  WindowSize = 2;
  DrawTextAt(kDefaultColour, 99, 0, "A", 0, 1, 1, 1, 0, 0, 0);
  ASSERT_EQ(glyphs.size(), 1u);
  EXPECT_EQ(glyphs[0].x, 8);
  glyphs.clear();
  WindowSize = 3;
  DrawTextAt(kDefaultColour, 99, 0, "AB", 0, 1, 1, 1, 0, 0, 0);
  DrawTextAt(kDefaultColour, 99, 0, "C", 0, 1, 1, 0, 0, 0, 0);
  WideViewDrawSwitch = 0;
  WindowSize = 1;
  ASSERT_EQ(glyphs.size(), 3u);
  EXPECT_EQ(glyphs[0].x, 24);
  EXPECT_EQ(glyphs[0].y, 12);
  EXPECT_EQ(glyphs[2].x, 7);
  EXPECT_EQ(glyphs[2].y, 9);
}

TEST_F(TextTest, BlanksAndMarksTakeACellButDrawNothing) {
  DrawTextAt(kDefaultColour, 99, 0, "A_B C\rD", 0, 0, 0, 1, 0, 0, 0);
  EXPECT_EQ(Drawn(), "DCBA");
  EXPECT_EQ(glyphs[0].x, 6 * 8);
  EXPECT_EQ(glyphs[2].x, 2 * 8);
}

TEST_F(TextTest, StyleColours) {
  struct Case {
    int style;
    uint32_t given, expected;
  } cases[] = {
      {0, kDefaultColour, 0xFFFFFFFFu},  {0, 0xFF102030u, 0xFF102030u},
      {1, kDefaultColour, 0xFFFFFC01u},  {2, kDefaultColour, 0xFFFC8740u},
      {3, kDefaultColour, 0xFFF68CE3u},  {4, kDefaultColour, 0xFFB1ACF4u},
      {5, kDefaultColour, 0xFF7DF7E7u},  {6, kDefaultColour, 0xFF97F870u},
      // A given colour is tinted channel by channel, truncated.
      {4, 0xFF808080u, 0xFF58567Au},     {1, 0x80FF00FFu, 0x80FF0001u},
      {7, kDefaultColour, 0xFFF60000u},  {7, 0xC0123456u, 0xC0120000u},
      {8, kDefaultColour, 0xFF0000FFu},  {10, 0xFF000000u, 0xFF96FF96u},
      {11, kDefaultColour, 0xFFF0A082u}, {12, kDefaultColour, 0xFFAAFFE6u},
      {13, kDefaultColour, 0xFFB9B9DCu}, {14, kDefaultColour, 0xFFFED828u},
  };
  for (const Case& c : cases)
    EXPECT_EQ(StyleColour(c.given, c.style), c.expected) << "style " << c.style << " given " << std::hex << c.given;
}

TEST_F(TextTest, StyleNinePulsesWithTheAnimationStep) {
  // k = step + 1; green 255 - 40k below 5, else max(0, 40k - 65); tinted as style 1.
  const int green[8] = {215, 175, 135, 95, 135, 175, 215, 255};
  for (uint32_t step = 0; step < 8; ++step) {
    AnimationStep = step;
    const uint32_t g = static_cast<uint32_t>(green[step]) * 252 / 255;
    EXPECT_EQ(StyleColour(kDefaultColour, 9), 0xFFFF0000u | g << 8 | 1u) << step;
  }
  AnimationStep = 0;
}

TEST_F(TextTest, GlyphFramesAndFontSheets) {
  int sheet = 0, frame = 0;
  struct Case {
    unsigned char c;
    int upper, large, frame;
  } cases[] = {{'!', 0, 1, 0}, {'A', 0, 1, 32}, {'Z', 0, 1, 57}, {'a', 0, 1, 58},
               {'z', 0, 1, 83}, {'a', 1, 1, 32}, {'$', 0, 0, 3},  {'~', 0, 1, 93}};
  for (const Case& c : cases) {
    ASSERT_TRUE(GlyphSheetFrame(c.c, c.upper, 0, c.large, &sheet, &frame)) << c.c;
    EXPECT_EQ(frame, c.frame) << c.c;
    EXPECT_EQ(sheet, c.large ? 60 : 62) << c.c;
  }
  for (int c : {32, int('_'), 13, 0, 10, 1})
    EXPECT_FALSE(GlyphSheetFrame(static_cast<unsigned char>(c), 0, 0, 1, &sheet, &frame)) << c;

  // The 960x720 fonts: window size 2, or 3 unless the smaller set is asked for.
  struct Sheets {
    uint8_t windowed;
    uint32_t size;
    int smaller, large, sheet;
  } sheets[] = {{1, 2, 0, 1, 59}, {1, 2, 1, 0, 61}, {1, 3, 0, 1, 59}, {1, 3, 1, 1, 60},
                {1, 1, 0, 0, 62}, {0, 2, 0, 1, 60}, {0, 3, 0, 0, 62}};
  for (const Sheets& s : sheets) {
    Graphics.windowed = s.windowed;
    WindowSize = s.size;
    GlyphSheetFrame('A', 0, s.smaller, s.large, &sheet, &frame);
    EXPECT_EQ(sheet, s.sheet) << int(s.windowed) << " " << s.size << " " << s.smaller;
  }
  Graphics.windowed = 1;
  WindowSize = 1;

  // The low-resolution font: sheet 13, upper case, code + 11 or + 504.
  OptionWords[kOptionLowResolutionText] = 1;
  GlyphSheetFrame('a', 0, 0, 1, &sheet, &frame);
  EXPECT_EQ(sheet, 13);
  EXPECT_EQ(frame, 'A' + 11);
  GlyphSheetFrame('q', 0, 0, 0, &sheet, &frame);
  EXPECT_EQ(frame, 'Q' + 504);
}

TEST_F(TextTest, DollarKeepsItsOwnColours) {
  DrawTextAt(kDefaultColour, 99, 0, "5$", 7, 0, 0, 1, 0, 0, 0);
  ASSERT_EQ(glyphs.size(), 2u);
  EXPECT_EQ(glyphs[0].colour, 0xFFFFFFFFu);
  EXPECT_EQ(glyphs[1].colour, 0xFFF60000u);
}

TEST_F(TextTest, TextUnderAnOpenPopupIsHiddenInModesThreeAndFive) {
  PopupRect = PopupRectangle{16, 64, 16, 96};  // top, bottom, left, right
  auto drawnAt = [&](int column, int row, int exempt) {
    glyphs.clear();
    DrawTextAt(kDefaultColour, 99, 0, "X", 0, column, row, 1, 0, exempt, 0);
    return !glyphs.empty();
  };
  ScreenMode = kModeCreatureHovered;
  EXPECT_FALSE(drawnAt(4, 4, 0));  // (32, 32): inside
  EXPECT_TRUE(drawnAt(4, 4, 1));   // exempt
  EXPECT_TRUE(drawnAt(2, 4, 0));   // x 16: on the left edge
  EXPECT_TRUE(drawnAt(4, 2, 0));   // y 16: on the top edge
  EXPECT_TRUE(drawnAt(12, 4, 0));  // x 96: on the right edge
  EXPECT_TRUE(drawnAt(4, 8, 0));   // y 64: on the bottom edge
  // The box keeps the 320x240 layout in the 960x720 (b) window: a text of
  // the view's 480x360 space is read in it.
  WideViewDrawSwitch = 1;
  WindowSize = 3;
  EXPECT_FALSE(drawnAt(10, 6, 0));  // (120, 72) of the view: (80, 48), inside
  EXPECT_TRUE(drawnAt(10, 8, 0));   // (120, 96) of the view: (80, 64), on the bottom edge
  WideViewDrawSwitch = 0;
  WindowSize = 1;
  ScreenMode = kModeItemPileHovered;
  EXPECT_FALSE(drawnAt(11, 7, 0));  // (88, 56): inside
  // An item selection pending shows everything.
  NavBarState.selection = 3;
  EXPECT_TRUE(drawnAt(4, 4, 0));
  NavBarState.selection = -1;
  ScreenMode = kModeExploring;
  EXPECT_TRUE(drawnAt(4, 4, 0));
}

TEST_F(TextTest, DrawStringStepsEightOrTwelvePixels) {
  EXPECT_EQ(DrawString("", 0, 10, 10, kDefaultColour, 0), 0);
  EXPECT_EQ(DrawString("Ab c", 0, 10, 20, kDefaultColour, 0), 1);
  ASSERT_EQ(glyphs.size(), 3u);
  EXPECT_EQ(glyphs[2].x, 10 + 24);
  EXPECT_EQ(glyphs[2].y, 20);
  glyphs.clear();
  WideViewDrawSwitch = 1;
  WindowSize = 3;
  DrawString("AB", 0, 0, 0, kDefaultColour, 0);
  DrawString("AB", 0, 0, 0, kDefaultColour, 1);
  WideViewDrawSwitch = 0;
  WindowSize = 1;
  EXPECT_EQ(glyphs[1].x, 12);
  EXPECT_EQ(glyphs[3].x, 8);
}

TEST_F(TextTest, FormattedTextAndLabels) {
  EXPECT_EQ(DrawTextF(1, 2, 3, "HP %i/%i", 7, 12), 7);
  EXPECT_EQ(Drawn(), "21/7PH");
  EXPECT_EQ(glyphs.back().x, 16);
  glyphs.clear();
  DrawNumberAt(-42, 0, 0, 0);
  EXPECT_EQ(Drawn(), "24-");
  // A label with a value: caption capitalised, 3 pixels higher, and
  // "Value %i" in small upper-case cells below, style 6.
  glyphs.clear();
  DrawLabelWithValue(4, 10, 5, 3, "%s", "IRON WILL");
  ASSERT_EQ(glyphs.size(), 8u + 6u);
  EXPECT_EQ(Drawn().substr(0, 8), "lliWnorI");
  EXPECT_EQ(glyphs[7].y, 80 - 3);
  EXPECT_EQ(glyphs[7].x, 32);
  const GlyphDraw& v = glyphs[13];
  EXPECT_EQ(v.c, 'V');
  EXPECT_EQ(v.x, 32);
  EXPECT_EQ(v.y, 85);
  EXPECT_EQ(v.sheet, 62);
  EXPECT_EQ(v.frame, 'V' - 33);
  EXPECT_EQ(glyphs[12].frame, 'A' - 33);
  EXPECT_EQ(v.colour, 0xFF97F870u);
  glyphs.clear();
  DrawLabelWithValue(4, 10, 5, 0, "plain");
  EXPECT_EQ(glyphs.back().y, 80);
}

TEST_F(TextTest, TooltipLabelPlacement) {
  auto firstGlyph = [&](int x, const char* text, int y) {
    glyphs.clear();
    DrawWrappedText(x, text, 0, y, 1, 1);
    return glyphs.empty() ? GlyphDraw{} : glyphs.front();
  };
  EXPECT_EQ(DrawWrappedText(5, "", 0, 5, 0, 0), 0);
  GlyphDraw g = firstGlyph(300, "Hello", 100);  // ends by x 316, clear of the edge
  EXPECT_EQ(g.x, 276);
  EXPECT_EQ(g.y, 100);
  g = firstGlyph(-1, "Hello", 50);  // x -1 alone: x 0
  EXPECT_EQ(g.x, 0);
  g = firstGlyph(-20, "Hello", -4);  // clamped to 0
  EXPECT_EQ(g.x, 0);
  EXPECT_EQ(g.y, 0);
  g = firstGlyph(10, "Hello", 230);  // would pass y 236
  EXPECT_EQ(g.y, 228);
  // Capitalised unless raw; the colour of styles 10 to 14, else white.
  glyphs.clear();
  DrawWrappedText(0, "iron will", 12, 0, 1, 0);
  EXPECT_EQ(glyphs[0].c, 'i');  // the first character is kept as it is
  EXPECT_EQ(glyphs[4].c, 'W');
  EXPECT_EQ(glyphs[0].colour, 0xFFAAFFE6u);
}

TEST_F(TextTest, CaptionBoxLinesWrapAtThirtySixCharacters) {
  const auto lines = LayOutCaptionLines(
      "The quick brown fox jumps over the lazy dog and keeps on running\rsecond line{}~ here");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(std::string(lines[0].begin(), lines[0].end()), "THE QUICK BROWN FOX JUMPS OVER THE");
  EXPECT_EQ(std::string(lines[1].begin(), lines[1].end()), "LAZY DOG AND KEEPS ON RUNNING");
  EXPECT_EQ(std::string(lines[2].begin(), lines[2].end()), "SECOND LINE HERE");
  // Never more than 11 lines, a word longer than a line is cut.
  std::string many;
  for (int i = 0; i < 20; ++i) many += "line\r";
  EXPECT_EQ(LayOutCaptionLines(many.c_str()).size(), 11u);
  const auto cut = LayOutCaptionLines(std::string(40, 'x').c_str());
  EXPECT_EQ(cut[0].size(), 36u);
  EXPECT_EQ(cut[1].size(), 4u);
}

TEST(CapitaliseWords, KeepsTheFirstAndRaisesWordStarts) {
  struct Case {
    const char* in;
    int flag;
    const char* out;
  } cases[] = {
      {"@MAGIC_MISSILE@", 1, "@Magic_Missile@"}, {"@MAGIC_MISSILE@", 0, "@magic_missile@"},
      {"iron will", 1, "iron Will"},             {"ANTI-MAGIC (SHELL)*X+y", 1, "Anti-Magic (Shell)*X+Y"},
      {"", 1, ""},                               {"\xA3NAME\xA3", 1, "\xA3name\xA3"},
  };
  for (const Case& c : cases) {
    char out[64];
    CapitaliseWords(out, c.in, c.flag);
    EXPECT_STREQ(out, c.out) << c.in;
  }
  char small[6];
  CapitaliseWords(small, "ABCDEFGHIJ", 1);
  EXPECT_STREQ(small, "Abcde");
}

TEST(ReplaceAll, ReplacesEveryOccurrenceAndStaysInItsBuffer) {
  char text[64] = "a cat, a hat, a cat";
  EXPECT_EQ(ReplaceAll(text, sizeof text, "cat", "dog"), 2);
  EXPECT_STREQ(text, "a dog, a hat, a dog");
  // Scanning goes on after each replacement, so a replacement holding the
  // search text is not replaced again.
  EXPECT_EQ(ReplaceAll(text, sizeof text, "a", "aa"), 4);
  EXPECT_STREQ(text, "aa dog, aa haat, aa dog");
  EXPECT_EQ(ReplaceAll(text, sizeof text, "", "x"), 0);
  EXPECT_EQ(ReplaceAll(text, sizeof text, " dog", ""), 2);
  EXPECT_STREQ(text, "aa, aa haat, aa");
  // A longer result is cut to the buffer.
  char tight[12] = "abcabc";
  EXPECT_EQ(ReplaceAll(tight, sizeof tight, "b", "BBBB"), 2);
  EXPECT_STREQ(tight, "aBBBBcaBBBB");
  EXPECT_EQ(std::strlen(tight), 11u);
}

}  // namespace
