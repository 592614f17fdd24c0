// The sheet tool's parts: the palette and its tones, fields that tile, walls
// that join, the fog's sides, the lit solids of figures, frame maps and the
// recipes of figures.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/sheet_table.h"
#include "sheetmaker/frame_map.h"
#include "sheetmaker/model.h"
#include "sheetmaker/palette.h"
#include "sheetmaker/tile_fields.h"

namespace fs = std::filesystem;

namespace {

const fs::path kGraphics = fs::path(__FILE__).parent_path().parent_path().parent_path() / "content" / "graphics";

// The scratch sources written for a test, removed when the program ends.
struct ScratchFiles {
  std::vector<fs::path> paths;
  ~ScratchFiles() {
    std::error_code ignored;
    for (const fs::path& path : paths) fs::remove(path, ignored);
  }
} g_scratch;

fs::path Scratch(const std::string& name, const std::string& text) {
  const fs::path path = fs::temp_directory_path() / (name + "_" + std::to_string(::getpid()) + ".txt");
  std::ofstream(path) << text;
  g_scratch.paths.push_back(path);
  return path;
}

class SheetParts : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { SetPalette(ReadPalette((kGraphics / "palette.txt").string())); }
};

// Draws one frame map line on a canvas of a sheet's format; the frame grid
// lives as long as the canvas.
struct Drawing {
  int sheet;
  Canvas canvas;
  FrameGrid grid;
  explicit Drawing(int slot, int width = 256, int height = 256)
      : sheet(slot),
        canvas(width, height, SheetFormatFor(slot).colourKey),
        grid{SheetFormatFor(slot).frameWidth, SheetFormatFor(slot).frameHeight, width / SheetFormatFor(slot).frameWidth,
             height / SheetFormatFor(slot).frameHeight} {}
  void Draw(const std::string& text) {
    const fs::path path = Scratch("frames", "sheet " + std::to_string(sheet) + "\n" + text + "\n");
    const auto lines = ReadFrameMap(path.string());
    fs::remove(path);
    std::map<int, std::string> owners;
    DrawFrameMap(canvas, grid, sheet, lines, &owners);
  }
  uint32_t At(int frame, int x, int y) const { return canvas.Get(grid.X(frame) + x, grid.Y(frame) + y); }
  bool Inked(int frame, int x, int y) const { return canvas.Inked(grid.X(frame) + x, grid.Y(frame) + y); }
};

int Index(const Ramp& r, uint32_t c) {
  for (size_t i = 0; i < r.size(); ++i)
    if (r[i] == c) return static_cast<int>(i);
  return -1;
}

}  // namespace

TEST_F(SheetParts, ColoursAreNamedExactlyAndTonesSpanTheirRamp) {
  EXPECT_EQ(Pal().Colour("ink.0"), 0xFF0E0C14u);
  EXPECT_EQ(Pal().Make("red.1+red.2").size(), 2u);  // '+' joins colours as a space does
  for (const char* bad : {"red", "red.9", "red.1+red.2", "red.-1", "moss.1"}) EXPECT_THROW(Pal().Colour(bad), SourceError) << bad;
  const Ramp& green = Pal().RampOf("green");
  EXPECT_EQ(Tone(green, 0.0f, 3, 5), green.front());
  EXPECT_EQ(Tone(green, 1.0f, 3, 5), green.back());
  // Without dither a tone is the nearest step; with it, the band between two
  // steps mixes them over a checker.
  EXPECT_EQ(Tone(green, 0.49f, 0, 0, 0.0f), green[2]);
  int mixed = 0;
  for (int x = 0; x < 4; ++x)
    for (int y = 0; y < 4; ++y) mixed += Tone(green, 0.5f, x, y, 0.5f) == green[3];
  EXPECT_GT(mixed, 2);
  EXPECT_LT(mixed, 14);
  EXPECT_THROW(ReadPalette(Scratch("palette", "sky 12345\n").string()), SourceError);
  EXPECT_THROW(ReadPalette(Scratch("palette", "sky 112233\nsky 445566\n").string()), SourceError);
}

TEST_F(SheetParts, FieldsRepeatEveryTwentyFourPixels) {
  for (float x : {0.5f, 7.25f, 19.0f})
    for (float y : {1.0f, 12.5f}) {
      EXPECT_NEAR(TileNoise(x, y, 9, 6), TileNoise(x + 24, y, 9, 6), 1e-5f);
      EXPECT_NEAR(TileNoise(x, y, 9, 8), TileNoise(x, y + 48, 9, 8), 1e-5f);
      const CellHit a = TileCells(x, y, 4, 8), b = TileCells(x + 24, y - 24, 4, 8);
      EXPECT_EQ(a.id, b.id);
      EXPECT_NEAR(a.f1, b.f1, 1e-4f);
    }
}

TEST_F(SheetParts, WallsInARowJoinWithoutAGapAndDoorHalvesMeet) {
  Drawing d(1);
  d.Draw("  1 wall stone\n  36 door wood x 0\n  37 door wood x 1");
  // Two walls side by side, the second drawn over the first 24 pixels on:
  // every pixel of the rows of their tops is wall, from the first's top to
  // the second's.
  Layer row(34 + 24, 34);
  for (int copy = 0; copy < 2; ++copy)
    for (int y = 0; y < 34; ++y)
      for (int x = 0; x < 34; ++x)
        if (d.Inked(1, x, y)) row.Put(x + 24 * copy, y, d.At(1, x, y));
  for (int y = 1; y < 23; ++y)
    for (int x = 6; x < 24 + 30; ++x) EXPECT_TRUE(row.On(x, y)) << x << ", " << y;
  // The wall's foot is outlined where it meets the floor.
  EXPECT_EQ(d.At(1, 20, 33), kInk);
  // A door's west half ends in its seam where the east half begins.
  EXPECT_TRUE(d.Inked(36, 30, 10));
  EXPECT_TRUE(d.Inked(37, 7, 10));
}

TEST_F(SheetParts, FogDarkensTheSidesAndCornersItsCodeNames) {
  Drawing d(12, 256, 512);
  d.Draw("  50 fog 1\n  60-96 fog 11");
  auto alpha = [&](int code, int x, int y) { return static_cast<int>(d.At(code + 49, x, y) >> 24) * d.Inked(code + 49, x, y); };
  EXPECT_EQ(alpha(1, 12, 12), 255);  // the unexplored square itself
  // 12: the north side only.
  EXPECT_GT(alpha(12, 12, 0), 200);
  EXPECT_EQ(alpha(12, 12, 23), 0);
  EXPECT_EQ(alpha(12, 0, 23), 0);
  // 24: the north-west corner only; 41: the east and south sides.
  EXPECT_GT(alpha(24, 0, 0), 200);
  EXPECT_EQ(alpha(24, 23, 23), 0);
  EXPECT_EQ(alpha(24, 23, 0), 0);
  EXPECT_GT(alpha(41, 23, 12), 200);
  EXPECT_GT(alpha(41, 12, 23), 200);
  EXPECT_EQ(alpha(41, 0, 0), 0);
}

TEST_F(SheetParts, SolidsAreLitFromTheTopLeftAndOutlined) {
  Model m;
  Material stone;
  stone.ramp = Pal().RampOf("stone");
  m.AddMaterial(stone);
  m.Ball({0, 0, 8}, 6, 6, 6, 0);
  Layer l(24, 24);
  View v;
  v.originX = 12;
  v.originY = 20;
  Render(m, v, l);
  // Find the ball's pixels: the upper-left takes a lighter tone than the
  // lower-right, and ink rings it.
  int top = 24, bottom = -1, left = 24, right = -1;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x)
      if (Index(stone.ramp, l.Get(x, y)) >= 0) {
        top = std::min(top, y), bottom = std::max(bottom, y), left = std::min(left, x), right = std::max(right, x);
      }
  ASSERT_LT(top, bottom);
  const int cx = (left + right) / 2, cy = (top + bottom) / 2;
  EXPECT_GT(Index(stone.ramp, l.Get(cx - 3, cy - 3)), Index(stone.ramp, l.Get(cx + 3, cy + 3)));
  EXPECT_EQ(l.Get(left - 1, cy), kInk);
  EXPECT_EQ(l.Get(cx, bottom + 1), kInk);
  EXPECT_FALSE(l.On(left - 2, cy));
}

TEST_F(SheetParts, FrameMapsAndFigureRecipesRefuseWhatTheyCannotDraw) {
  auto read = [](const std::string& text) { return ReadFrameMap(Scratch("frames", text).string()); };
  EXPECT_THROW(read("  1 ground grass\n"), SourceError);            // no sheet yet
  EXPECT_THROW(read("sheet 0\n  5-3 ground grass\n"), SourceError);  // a range backwards
  EXPECT_THROW(read("sheet 0\n  1\n"), SourceError);                 // no painter
  EXPECT_THROW(read("sheet 66\n"), SourceError);
  EXPECT_THROW(read("recipe\n"), SourceError);
  // A glyph of '_', which the game draws as a blank.
  EXPECT_THROW(ReadFont(Scratch("font", "chars _ a\n#. #.\n").string(), 2, 1), SourceError);
  EXPECT_NO_THROW(ReadFont(Scratch("font", "chars a\n#.\n").string(), 2, 1));
  Drawing d(23);
  EXPECT_THROW(d.Draw("  0-11 figure humanoid colour=red"), SourceError);  // no such figure word
  EXPECT_THROW(d.Draw("  0-10 figure wolf"), SourceError);                 // eleven frames for twelve
  EXPECT_THROW(d.Draw("  0-11 figure humanoid hair=bald"), SourceError);    // a word of no value it knows
  EXPECT_THROW(d.Draw("  0-11 figure humanoid poses=0-11x"), SourceError);  // a number not read whole
  try {
    d.Draw("  0-11 figure humanoid skin=moss");
    ADD_FAILURE() << "an unknown colour was drawn";
  } catch (const SourceError& e) {
    EXPECT_NE(std::string(e.what()).find(":2: "), std::string::npos) << e.what();  // the file's line
  }
  // A recipe's $word takes the line's value; the line's own words win.
  Drawing a(23), b(23);
  a.Draw("recipe guard humanoid cloth=$coat helm=open\n  0-11 figure guard coat=red helm=cap");
  b.Draw("  0-11 figure humanoid cloth=red helm=cap");
  for (int f = 0; f < 12; ++f)
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 24; ++x) ASSERT_EQ(a.At(f, x, y), b.At(f, x, y)) << f;
  Drawing c(23);
  EXPECT_THROW(c.Draw("recipe guard humanoid cloth=$coat\n  0-11 figure guard"), SourceError);
}

// A painter refuses a word it does not know, at its line, rather than draw
// another: a misspelt kind or colour, a plain word it never asks for (a
// key=value whose '=' was lost), a number out of its range, and a list of
// key colours that is not six hexadecimal digits each.
TEST_F(SheetParts, APainterRefusesAWordItDoesNotKnow) {
  const struct {
    int sheet, width, height;
    const char* line;
    const char* message;
  } cases[] = {
      {2, 512, 256, "  6-19 flame torch blurple", "the colour is yellow, orange, purple, green or lilac, not \"blurple\""},
      {2, 512, 256, "  6-19 flame torhc yellow", "the flame is torch or fire, not \"torhc\""},
      {2, 512, 256, "  76-83 missile arow", "the missile is arrow, fire, acid, magic or lilac, not \"arow\""},
      {2, 512, 256, "  123-126 ornament code=1", "no ornament 4 (0 to 3)"},
      {32, 256, 256, "  3 glow starr", "the glow is soft, small, ring, circle or star, not \"starr\""},
      {33, 256, 256, "  1 aura fire.0 fire.9", "no colour \"fire.9\""},
      // A number outside those the painter draws: an opacity, a wand's
      // shape, a picture's columns, a variant (one past 3 no longer fits its
      // frame, and each of a thousand million pebbles is drawn), a seed, an
      // ornament's or a fog's code.
      {33, 256, 256, "  1 aura fire.0 alpha=300", "alpha= is 0 to 255, not 300"},
      {33, 256, 256, "  1 aura fire.0 alpha=-1", "alpha= is 0 to 255, not -1"},
      {18, 256, 256, "  28 item wand shape=7", "shape= is 0 to 6, not 7"},
      {51, 256, 256, "  1 picture backdrop cols=0", "cols= is 1 to 64, not 0"},
      {51, 256, 256, "  1 picture backdrop cols=2 stride=100", "stride= is 1 to 64, not 100"},
      {4, 256, 256, "  7 decor pebbles variant=1000000000", "variant= is 0 to 3, not 1000000000"},
      {4, 256, 256, "  0-3 decor tuft variant=1", "the line draws variants 1 to 4, a decoration's are 0 to 3"},
      {0, 256, 512, "  1 ground grass variant=-7", "variant= is 0 to 3, not -7"},
      {0, 256, 512, "  1 ground grass seed=99999999999999999999", "seed= is 0 to 999, not 99999999999999999999"},
      {2, 512, 256, "  123 ornament code=2147483647", "code= is 0 to 3, not 2147483647"},
      {12, 256, 512, "  50 fog 2147483647", "a fog code is 1 to 99, not 2147483647"},
      // A key= without its value: no value, not the painter's default.
      {33, 256, 256, "  1 aura fire.0 alpha=", "alpha= has no value"},
      {18, 256, 256, "  28 item wand shape=", "shape= has no value"},
      {51, 256, 256, "  1 picture backdrop cols=", "cols= has no value"},
      {0, 256, 512, "  1 ground grass variant=", "variant= has no value"},
      {65, 256, 256, "  1 beam seed=", "seed= has no value"},
      {23, 256, 256, "  0-11 figure humanoid height=", "height= has no value"},
      {23, 256, 256, "  0-11 figure humanoid right=", "right= has no value"},
      {23, 256, 256, "  0-11 figure humanoid right=sword left=", "left= has no value"},
      {23, 256, 256, "  0-11 figure humanoid height=2e9", "height= is -1000000 to 1000000, not 2e9"},
      {16, 256, 256, "  24 burst blow 4", "a burst's size is 1 to 3, not 4"},
      {65, 256, 256, "  1 beam seed=2x", "seed= wants a whole number, not \"2x\""},
      {19, 256, 256, "  113 status ghost goood", "the mood is plain, good or bad, not \"goood\""},
      {1, 256, 256, "  28 door gaet x 0", "the door is wood or gate, not \"gaet\""},
      {1, 256, 256, "  28 door gate z 0", "the wall is y or x, not \"z\""},
      {1, 256, 256, "  28 door gate x 2", "the half is 0 or 1, not \"2\""},
      {1, 256, 256, "  15 debug-mark dor y", "the mark is door or wall, not \"dor\""},
      {1, 256, 256, "  0 debug-mark wall x", "painter debug-mark takes no word \"x\""},
      {0, 256, 512, "  30 shore nq", "a shore's sides are n, e, s and w"},
      {0, 256, 512, "  38 shore in-n", "a shore's sides are n, e, s and w"},
      {12, 256, 512, "  50 fog 9", "no fog code 9"},
      {23, 256, 256, "  0-11 figure humanoid robe=yess", "robe= is no or yes, not \"yess\""},
      {23, 256, 256, "  0-11 figure bull breath=yess", "breath= is no or yes, not \"yess\""},
      {23, 256, 256, "  0-11 figure humanoid haircolour=hair-brwn", "no colour \"hair-brwn\""},
      {23, 256, 256, "  0-11 figure humanoid skinorcskin", "painter figure takes no word \"skinorcskin\""},
      // Key colours are six hexadecimal digits each, read whole, and a list
      // names one or more.
      {23, 256, 256, "  0-11 figure humanoid aura=F6CD3E;FA7F1C", "aura= is colours RRGGBB joined by ','"},
      {23, 256, 256, "  0-11 figure humanoid aura=G6CD3E,FA7F1C", "aura= is colours RRGGBB joined by ','"},
      {23, 256, 256, "  0-11 figure humanoid aura=F6CD3", "aura= is colours RRGGBB joined by ','"},
  };
  for (const auto& c : cases) {
    Drawing d(c.sheet, c.width, c.height);
    try {
      d.Draw(c.line);
      ADD_FAILURE() << c.line << " was drawn";
    } catch (const SourceError& e) {
      const std::string what = e.what();
      EXPECT_NE(what.find(":2: "), std::string::npos) << what;  // the line's own place
      EXPECT_NE(what.find(c.message), std::string::npos) << c.line << "\n" << what;
    }
  }
}
