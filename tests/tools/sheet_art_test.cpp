// The sheets the build drew, read from the game folder: every frame a table
// of the game can ask for holds a picture, and the twelve frames of a figure
// are twelve different pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/shown_bytes.h"
#include "creatures/creature_kinds.h"
#include "engine/sheet_table.h"
#include "engine/text.h"
#include "engine/widgets.h"
#include "frontend/creature_roster.h"
#include "platform/image.h"
#include "rules/item_tables.h"
#include "screens/character/spell_icons.h"
#include "screens/game/figure_table.h"

namespace {

struct Sheet {
  int width = 0, height = 0;
  std::vector<uint32_t> px;
};

const std::vector<Sheet>& Sheets() {
  static const std::vector<Sheet> sheets = [] {
    std::vector<Sheet> all(kSheetCount);
    for (int s = 0; s < kSheetCount; ++s) {
      const std::string path = "Graphics/" + std::to_string(s) + ".dat";
      platform::LoadPng(path.c_str(), &all[s].width, &all[s].height, &all[s].px);
    }
    return all;
  }();
  return sheets;
}

// The frame's pixels, the colour key and clear pixels left out (0).
std::vector<uint32_t> Frame(int sheet, int frame) {
  const Sheet& s = Sheets()[sheet];
  const SheetFormat f = SheetFormatFor(sheet);
  std::vector<uint32_t> out;
  if (s.width == 0 || frame < 0) return out;
  const int perRow = s.width / f.frameWidth;
  const int x0 = (frame % perRow) * f.frameWidth, y0 = (frame / perRow) * f.frameHeight;
  if (y0 + f.frameHeight > s.height) return out;
  for (int y = 0; y < f.frameHeight; ++y)
    for (int x = 0; x < f.frameWidth; ++x) {
      const uint32_t p = s.px[static_cast<size_t>(y0 + y) * s.width + x0 + x];
      out.push_back(p == f.colourKey || (p >> 24) == 0 ? 0u : p);
    }
  return out;
}

// Drawn: more than a few pixels of more than one colour.
bool Drawn(int sheet, int frame) {
  std::set<uint32_t> colours;
  int inked = 0;
  for (uint32_t p : Frame(sheet, frame))
    if (p) {
      ++inked;
      colours.insert(p);
    }
  return inked >= 6 && colours.size() >= 2;
}

void ExpectDrawn(int sheet, int first, int last, const char* what) {
  for (int f = first; f <= last; ++f) EXPECT_TRUE(Drawn(sheet, f)) << what << ": sheet " << sheet << " frame " << f;
}

// Figure icons 0 to 587 lie on sheets 18, 19 and 20, 196 a sheet.
void ExpectIcon(int figure, const std::string& what) {
  ASSERT_GE(figure, 0) << what;
  ASSERT_LE(figure, 587) << what;
  EXPECT_TRUE(Drawn(18 + figure / 196, figure % 196)) << what << ": figure " << figure;
}

// The figure numbers creatures carry: the party's (a colour 0-7, the class
// base of knight, wizard and cleric, men and women), every kind's, the huge
// dragons', the forms of summonings and polymorphs, and the main adventure's
// own people (Varek, the Pennick children).
std::set<int> FiguresInUse() {
  std::set<int> figures;
  for (int colour = 0; colour < 8; ++colour)
    for (int base : {0, 8, 16})
      for (int woman : {0, 139}) figures.insert(1 + colour + base + woman);
  for (const KindTemplate& k : KindTemplates)
    for (int32_t f : k.figures)
      if (f > 0) figures.insert(f);
  for (int f : {164, 188, 192, 194, 202, 203, 204, 206, 207, 213, 214, 215, 216, 217, 227, 228, 229}) figures.insert(f);
  return figures;
}

}  // namespace

TEST(SheetArt, EveryFigureIsDrawnInEveryFacingAndStepAndNoTwoOfItsFramesAreCopies) {
  for (int figure : FiguresInUse()) {
    std::set<std::pair<int, int>> frames;
    for (int facing = 1; facing <= 8; ++facing)
      for (int state = 0; state <= 3; ++state) {
        int sheet = -1, frame = -1;
        ASSERT_TRUE(FigureSheetFrame(figure, facing, state, &sheet, &frame)) << "figure " << figure;
        EXPECT_TRUE(Drawn(sheet, frame)) << "figure " << figure << " facing " << facing << " state " << state;
        frames.insert({sheet, frame});
      }
    // Four facings by three poses reach twelve frames, each its own picture.
    ASSERT_EQ(frames.size(), 12u) << "figure " << figure;
    std::set<std::vector<uint32_t>> pictures;
    for (auto [sheet, frame] : frames) pictures.insert(Frame(sheet, frame));
    EXPECT_EQ(pictures.size(), 12u) << "figure " << figure << " has frames that are copies";
  }
}

TEST(SheetArt, EveryItemSpellAndConditionHasItsIcon) {
  ASSERT_EQ(LoadItemTable(), 1);
  for (int row = 1; row < kItemRows; ++row)
    if (ItemTable[row].name[0]) ExpectIcon(ItemTable[row].icon, std::string("item ") + ItemTable[row].name);
  ASSERT_EQ(LoadCraftedWeapons("SaveGame/FullVersion/0/SaveWeapon.wml"), 1);
  for (int row = 4952; row < kCraftedRows; ++row)
    ExpectIcon(CraftedWeapons[row].icon, std::string("forge kind ") + CraftedWeapons[row].name);
  // Every spell has its icon, and none shows a mark of the spell screens.
  const std::set<int> marks = {429, 430, 441, 466, 485, 486, 488, 497, 525, 526, 581, 583, 585, 586, 587};
  for (int row = 0; row < 175; ++row) {
    ExpectIcon(SpellIconTable[row], "spell row " + std::to_string(row));
    EXPECT_EQ(marks.count(SpellIconTable[row]), 0u) << "spell row " << row << " shows a mark";
  }
  for (int f : {429, 430, 441, 466, 485, 486, 488, 497, 525, 526, 581, 583, 585, 586, 587})
    ExpectIcon(f, "mark or metamagic");
  for (int f = 392; f <= 405; ++f) ExpectIcon(f, "equipment box");
  for (int f : {276, 299, 300, 303, 304, 305}) ExpectIcon(f, "screen piece");
  ExpectDrawn(19, 112, 170, "condition badge");
  // The marks over heads and the bursts over creatures.
  ExpectDrawn(9, 97, 99, "dazed");
  ExpectDrawn(10, 97, 99, "paralysed");
  ExpectDrawn(11, 97, 97, "blinded");
  ExpectDrawn(12, 30, 37, "confused");
  ExpectDrawn(21, 36, 45, "asleep");
  for (int sheet : {28, 34, 35, 16, 36, 37}) ExpectDrawn(sheet, 24, 24, "large mark or burst");
  ExpectDrawn(47, 12, 24, "burst");
}

// Every gem is drawn in the colour its name says, read from the mean of its
// icon's coloured pixels (the ink of the outline left out): a pearl white, a
// ruby red, an onyx black. (The gems' pictures once stood one row off their
// names, and the Pearl showed a green jade.)
TEST(SheetArt, EveryGemIsDrawnInTheColourOfItsName) {
  enum Hue { kWhite, kBlack, kRed, kOrange, kGreen, kBlue, kPurple };
  const auto hueOf = [](int figure) {
    double r = 0, g = 0, b = 0;
    int n = 0;
    for (uint32_t p : Frame(18 + figure / 196, figure % 196)) {
      const int pr = (p >> 16) & 255, pg = (p >> 8) & 255, pb = p & 255;
      if (p == 0 || std::max({pr, pg, pb}) < 0x18) continue;
      r += pr;
      g += pg;
      b += pb;
      ++n;
    }
    if (n == 0) return kBlack;
    r /= n * 255.0;
    g /= n * 255.0;
    b /= n * 255.0;
    const double hi = std::max({r, g, b}), lo = std::min({r, g, b}), chroma = hi - lo;
    if (hi < 0.35) return kBlack;
    if (chroma / hi < 0.25) return kWhite;
    double h = hi == r ? 60 * (g - b) / chroma : hi == g ? 60 * (b - r) / chroma + 120 : 60 * (r - g) / chroma + 240;
    if (h < 0) h += 360;
    return h < 15 || h >= 330 ? kRed : h < 55 ? kOrange : h < 160 ? kGreen : h < 255 ? kBlue : kPurple;
  };
  const std::pair<const char*, Hue> gems[] = {
      {"Agate", kOrange},  {"Quartz", kWhite}, {"Malachite", kGreen},   {"Bloodstone", kGreen}, {"Moonstone", kBlue},
      {"Onyx", kBlack},    {"Amber", kOrange}, {"Amethyst", kPurple},   {"Jade", kGreen},       {"Aquamarine", kBlue},
      {"Pearl", kWhite},   {"Emerald", kGreen}, {"Ruby", kRed},         {"Diamond", kWhite},    {"Dragon Eye", kOrange}};
  ASSERT_EQ(LoadItemTable(), 1);
  int found = 0;
  for (const auto& [name, hue] : gems)
    for (int row = 1; row < kItemRows; ++row)
      if (std::string(ItemTable[row].name) == name) {
        ++found;
        EXPECT_EQ(hueOf(ItemTable[row].icon), hue) << name << " (row " << row << ", figure " << ItemTable[row].icon << ")";
      }
  // Each gem also stands among the things creatures leave behind.
  EXPECT_EQ(found, 30);
}

// No person of either adventure is a post seen from the side (facing east
// or west, standing): a figure at most six columns wide there is drawn in
// more than one family of colour, at least a tenth of its coloured pixels
// outside its main family (greys and pale cloth, browns and skin, reds,
// greens, blues, purples). A thin man all in browns reads as a post. (The
// smith of Harrowmere did.)
TEST(SheetArt, NoPersonSeenFromTheSideIsAThinPostOfOneColour) {
  const auto family = [](uint32_t p) {
    const double r = ((p >> 16) & 255) / 255.0, g = ((p >> 8) & 255) / 255.0, b = (p & 255) / 255.0;
    const double hi = std::max({r, g, b}), lo = std::min({r, g, b}), chroma = hi - lo;
    if (hi == 0 || chroma / hi < 0.25) return 0;
    double h = hi == r ? 60 * (g - b) / chroma : hi == g ? 60 * (b - r) / chroma + 120 : 60 * (r - g) / chroma + 240;
    if (h < 0) h += 360;
    return h < 12 || h >= 330 ? 1 : h < 55 ? 2 : h < 165 ? 3 : h < 255 ? 4 : 5;
  };
  const KindTemplate* human = nullptr;
  for (const KindTemplate& k : KindTemplates)
    if (k.kind == kKindHuman) human = &k;
  ASSERT_NE(human, nullptr);
  std::map<int, std::string> figures;  // a figure and one person who wears it
  for (const char* folder : {"DemoVersion", "FullVersion"}) {
    ASSERT_EQ(LoadCreatureRosterFmt("SaveGame\\%s\\0\\SaveChar.cml", folder), 1) << folder;
    for (int id = kPartySize; id < kCreatureCount; ++id)
      if (Creatures[id].name[0] && Creatures[id].race == human->race)
        figures.emplace(Creatures[id].figure, std::string(folder) + "/" + Creatures[id].name);
  }
  ASSERT_GE(figures.size(), 6u);
  for (const auto& [figure, who] : figures)
    for (int facing : {3, 7}) {
      int sheet = -1, frame = -1;
      ASSERT_TRUE(FigureSheetFrame(figure, facing, 0, &sheet, &frame)) << who;
      const std::vector<uint32_t> px = Frame(sheet, frame);
      const int side = SheetFormatFor(sheet).frameWidth;
      std::map<int, int> count;
      std::set<int> columns;
      int coloured = 0;
      for (size_t i = 0; i < px.size(); ++i) {
        const uint32_t p = px[i];
        if (p == 0 || std::max({(p >> 16) & 255, (p >> 8) & 255, p & 255}) < 0x30) continue;  // clear, or ink
        ++count[family(p)];
        ++coloured;
        columns.insert(static_cast<int>(i) % side);
      }
      int main = 0;
      for (const auto& [f, n] : count) main = std::max(main, n);
      if (columns.size() > 6) continue;
      EXPECT_GE(10 * (coloured - main), coloured) << who << " (figure " << figure << ") facing " << facing;
    }
}

TEST(SheetArt, TheMapViewsFramesAreDrawn) {
  // Ground codes 1-65 (the cursors' frames of sheet 0 aside), animated and
  // still floors, walls, doors, objects, fog, flames and missiles, marks.
  for (int g : {1, 2, 3, 5, 6, 10, 12, 13, 15, 17, 19}) ExpectDrawn(0, g, g, "ground");
  ExpectDrawn(0, 30, 42, "shore and deep water");
  ExpectDrawn(0, 46, 55, "wagon and ground 60-65");
  ExpectDrawn(0, 57, 81, "large objects and features");
  ExpectDrawn(0, 90, 99, "features");
  ExpectDrawn(21, 24, 26, "magic areas");
  ExpectDrawn(21, 34, 35, "range marks");
  ExpectDrawn(21, 56, 71, "ground 44-59");
  ExpectDrawn(1, 0, 16, "walls and debug marks");
  for (int f : {28, 29, 30, 31, 36, 37, 38, 39}) ExpectDrawn(1, f, f, "door");
  ExpectDrawn(4, 0, 58, "floor decoration");
  ExpectDrawn(4, 84, 89, "rain and the item sack");
  ExpectDrawn(4, 99, 99, "a body");
  ExpectDrawn(8, 0, 47, "animated floors, patches, braziers");
  ExpectDrawn(8, 100, 105, "objects on squares");  // 106 is the statue of four squares
  ExpectDrawn(8, 107, 114, "objects on squares");  // 114: a map's signpost (76) once entered
  for (int f : {3, 5, 6}) ExpectDrawn(f, 0, 17, "animated floor");
  ExpectDrawn(7, 0, 17, "insect swarm");
  ExpectDrawn(30, 84, 95, "animated feature");
  ExpectDrawn(12, 40, 43, "statue");
  ExpectDrawn(12, 60, 96, "fog edge");
  ExpectDrawn(2, 6, 115, "flames, arrows, missiles");
  ExpectDrawn(2, 123, 126, "ornaments");
  ExpectDrawn(32, 0, 3, "glows and rings");
  ExpectDrawn(33, 1, 13, "aura");
  ExpectDrawn(48, 1, 33, "path arrow");
  ExpectDrawn(65, 0, 3, "beam");
}

TEST(SheetArt, ThePicturesOfTheScreensAreDrawn) {
  ExpectDrawn(17, 0, 19, "title");
  ExpectDrawn(50, 0, 15, "world map");
  ExpectDrawn(51, 0, 15, "world map and backdrop");
  for (int f : {0, 1, 4, 5, 8, 9, 12, 13}) ExpectDrawn(52, f, f, "backdrop");
  ExpectDrawn(63, 0, 3, "logo");
  ExpectDrawn(49, 0, 19, "portrait");
  ExpectDrawn(47, 20, 20, "portrait frame");
  for (int f : {0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14}) ExpectDrawn(58, f, f, "script picture");
  ExpectDrawn(57, 0, 1, "end screen picture");
  ExpectDrawn(64, 0, 1, "end screen picture");
}

// Sheet 0 holds both the ground tiles and the cursors: every cursor kind the
// screens set (1-29 but 5, 100, 101) must draw a picture of its own that
// leaves most of its frame clear, never a ground tile, which fills it.
TEST(SheetArt, EveryCursorKindDrawsACursorNotAGroundTile) {
  std::vector<int> kinds = {100, 101};
  for (int kind = 1; kind <= 29; ++kind)
    if (kind != 5) kinds.push_back(kind);
  for (int kind : kinds) {
    const int frame = CursorFrame(kind);
    int clear = 0;
    for (uint32_t p : Frame(0, frame)) clear += p == 0;
    EXPECT_TRUE(Drawn(0, frame)) << "cursor kind " << kind << " (frame " << frame << ")";
    EXPECT_GT(clear, 24 * 24 / 2) << "cursor kind " << kind << " draws frame " << frame << ", a ground tile";
  }
}

// The pointers that promise an act (the record, the speech bubble, the boot,
// the door, the strike, the shot, the stairs) each have a shape of their
// own: none is the menus' arrow recoloured, which says only "a button".
TEST(SheetArt, ThePointersOfAnActAreNotTheMenuArrow) {
  auto shape = [](int kind) {
    std::vector<bool> inked;
    for (uint32_t p : Frame(0, CursorFrame(kind))) inked.push_back(p != 0);
    return inked;
  };
  const std::vector<bool> arrow = shape(29);
  for (int kind : {8, 9, 12, 13, 14, 15, 17}) EXPECT_NE(shape(kind), arrow) << "cursor kind " << kind;
}

// The attack roll's d20 is written '$' in the message log and drawn in its
// own colours: in every font (both scales, large and small, and the
// alternative font of the interface sheet) it is a small die, a square of
// rim, face and pips, not a dollar sign.
TEST(SheetArt, TheRollsDollarIsASmallDieInEveryFont) {
  const std::pair<int, int> frames[] = {{kSheetLargeFont2, '$' - 33}, {kSheetLargeFont3, '$' - 33},
                                        {kSheetSmallFont2, '$' - 33}, {kSheetSmallFont3, '$' - 33},
                                        {kSheetInterface, '$' + kAltLargeFontBase},
                                        {kSheetInterface, '$' + kAltSmallFontBase}};
  for (const auto& [sheet, frame] : frames) {
    const SheetFormat f = SheetFormatFor(sheet);
    const std::vector<uint32_t> px = Frame(sheet, frame);
    int left = f.frameWidth, right = -1, top = f.frameHeight, bottom = -1;
    std::set<uint32_t> colours;
    for (int y = 0; y < f.frameHeight; ++y)
      for (int x = 0; x < f.frameWidth; ++x) {
        const uint32_t p = px.empty() ? 0 : px[static_cast<size_t>(y) * f.frameWidth + x];
        if (!p) continue;
        colours.insert(p);
        left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
      }
    EXPECT_EQ(colours.size(), 3u) << "sheet " << sheet << " frame " << frame;
    EXPECT_EQ(right - left, bottom - top) << "sheet " << sheet << " frame " << frame << " is no square";
  }
}

// The bytes every content tool lets into a name or a text (read from the font
// sources, common/shown_bytes.h) are the bytes the game draws: each but the
// blanks draws a glyph of its own in every font the game writes with, the
// low-resolution one too. A byte they refuse draws an empty cell (0xE9) or
// another character's glyph ('[' draws 'a').
TEST(SheetArt, EveryByteTheToolsLetIntoATextDrawsAGlyphOfItsOwnInEveryFont) {
  auto inked = [](int sheet, int frame) {
    const std::vector<uint32_t> px = Frame(sheet, frame);
    return std::any_of(px.begin(), px.end(), [](uint32_t p) { return p != 0; });
  };
  auto frameOf = [](int c) {
    int sheet = 0, frame = -1;
    const bool drawn = GlyphSheetFrame(static_cast<unsigned char>(c), 0, 0, 1, &sheet, &frame);
    EXPECT_NE(sheet, kSheetInterface) << "the test reads the frames of the font sheets";
    return drawn ? frame : -1;
  };
  std::map<int, int> byteOfFrame;
  int shown = 0;
  for (int c = 0; c < 256; ++c) {
    if (!GameShowsByte(static_cast<unsigned char>(c)) || c == ' ' || c == '_') continue;
    ++shown;
    const int frame = frameOf(c);
    EXPECT_TRUE(byteOfFrame.emplace(frame, c).second) << c << " draws the glyph of " << byteOfFrame[frame];
    for (int sheet : {kSheetLargeFont2, kSheetLargeFont3, kSheetSmallFont2, kSheetSmallFont3})
      EXPECT_TRUE(inked(sheet, frame)) << "byte " << c << " in sheet " << sheet;
    const int upper = c >= 'a' && c <= 'z' ? c - 32 : c;
    EXPECT_TRUE(inked(kSheetInterface, upper + kAltLargeFontBase)) << "byte " << c << " in the low-resolution font";
    EXPECT_TRUE(inked(kSheetInterface, upper + kAltSmallFontBase)) << "byte " << c << " in the low-resolution font";
  }
  EXPECT_GT(shown, 26 * 2 + 10);
  EXPECT_TRUE(GameShowsByte(0xA3) && GameShowsByte(' ') && GameShowsByte('_'));
  EXPECT_FALSE(GameShowsByte(0xE9) || GameShowsByte('\t') || GameShowsByte(0));
  EXPECT_FALSE(inked(kSheetLargeFont2, frameOf(0xE9)));
  EXPECT_FALSE(GameShowsByte('['));
  EXPECT_EQ(frameOf('['), frameOf('a'));
}
