#include <sstream>
#include <utility>

#include "art.h"
#include "palette.h"

namespace {

std::string Where(const std::string& path, int line) { return path + ":" + std::to_string(line) + ": "; }

// A glyph name: one character, or "\xA3" for a byte written in hex (read as
// the other tools read the fonts, common/shown_bytes.h); a byte past '~' is
// written in hex, so that a damaged name is not another glyph's.
int ParseCharName(const std::string& name, const std::string& where) {
  const int code = FontCharCode(name);
  if (code < 0 || (name.size() == 1 && code > '~'))
    throw SourceError(where + "bad character name " + DoubleQuotedBytes(name));
  return code;
}

constexpr uint32_t kInk = 0xFFFFFFFFu;
constexpr uint32_t kShadow = 0xFF141418u;

}  // namespace

// Every line is read: each fault is reported, and the rows of a block whose
// line or row was refused are not read besides (nor those of the block after
// a refused "colours" line). A font whose "chars" lines were all refused is
// not refused besides for having no glyph.
Font ReadFont(const std::string& path, int width, int height, const Palette* palette) {
  std::vector<std::string> lines;
  if (!ReadSourceLines(path, &lines)) throw SourceError(path + ": cannot open");
  Font font;
  font.width = width;
  font.height = height;
  SourceFaults<SourceError> faults;
  int number = 0;
  std::vector<int> block;  // the codes of the current block
  int row = 0;
  bool blockRefused = false;
  bool coloursRefused = false;  // the block after a refused "colours" line is refused too
  // Set by a "colours" line for the block that follows it.
  std::map<char, std::string> blockColours;
  // The rows of the block before a "colours" or "chars" line are all there.
  auto BlockEnds = [&]() {
    if (!block.empty() && !blockRefused && row != height)
      throw SourceError(Where(path, number) + "previous block has " + std::to_string(row) + " rows, not " +
                        std::to_string(height));
  };
  for (const std::string& text : lines) {
    ++number;
    // A comment is "#" followed by a space; glyph rows begin with '#' or '.'
    // and never have a space in second place.
    const bool comment = text == "#" || text.rfind("# ", 0) == 0;
    if (text.empty() || comment) {
      faults.Keep([&] {
        if (!block.empty() && !blockRefused && row != 0 && row != height)
          throw SourceError(Where(path, number) + "block ends after " + std::to_string(row) + " of " +
                            std::to_string(height) + " rows");
      });
      continue;
    }
    std::istringstream words(text);
    std::string first;
    words >> first;
    // A refused line that may be a "colours" or "chars" line is one: the
    // block it begins is refused. Its first word is cut at blanks alone (a
    // damaged carriage return stays in it).
    const std::vector<std::string> cut = LineWords(text);
    const std::string lead = cut.empty() ? "" : cut[0];
    const bool head = MayBeginWithWord(lead, "colours") || MayBeginWithWord(lead, "chars");
    if (!head && blockRefused) continue;
    const bool read = faults.Keep([&] {
      CheckSourceLine(Where(path, number), text);
      if (first == "colours") {
        // "colours o=ink.0 #=grey.5": the letters of the next block's rows.
        coloursRefused = true;
        faults.Keep(BlockEnds);
        block.clear();
        row = 0;
        blockRefused = false;
        blockColours.clear();
        std::string pair;
        while (words >> pair) {
          if (pair.size() < 3 || pair[1] != '=' || pair[0] == '.' || static_cast<unsigned char>(pair[0]) > '~')
            throw SourceError(Where(path, number) + DoubleQuotedBytes(pair) + " is not a letter, '=' and a palette colour");
          blockColours[pair[0]] = pair.substr(2);
          if (palette) {
            try {
              palette->Check(pair.substr(2));
            } catch (const SourceError& e) {
              throw SourceError(Where(path, number) + e.what());
            }
          }
        }
        if (blockColours.empty()) throw SourceError(Where(path, number) + "\"colours\" names no colour");
        coloursRefused = false;
        return;
      }
      if (first == "chars") {
        faults.Keep(BlockEnds);
        block.clear();
        row = 0;
        blockRefused = std::exchange(coloursRefused, false);
        std::map<char, std::string> colours;
        colours.swap(blockColours);
        std::string name;
        while (words >> name) {
          const int code = ParseCharName(name, Where(path, number));
          if (code < 33) throw SourceError(Where(path, number) + "character code below 33 has no glyph");
          // The game draws '_' as a blank (common/shown_bytes.h), never a glyph of it.
          if (code == '_') throw SourceError(Where(path, number) + "'_' is a blank and has no glyph");
          if (font.glyphs.count(code)) throw SourceError(Where(path, number) + "glyph " + DoubleQuotedBytes(name) + " given twice");
          block.push_back(code);
          font.glyphs[code] = Glyph{};
          if (!colours.empty()) font.colours[code] = colours;
        }
        if (block.empty()) throw SourceError(Where(path, number) + "\"chars\" names no character");
        return;
      }
      if (block.empty()) throw SourceError(Where(path, number) + "glyph rows before a \"chars\" line");
      if (row >= height) throw SourceError(Where(path, number) + "more than " + std::to_string(height) + " rows");
      std::istringstream fields(text);
      std::string field;
      size_t i = 0;
      while (fields >> field) {
        if (i >= block.size()) throw SourceError(Where(path, number) + "more glyphs than the \"chars\" line names");
        const auto own = font.colours.find(block[i]);
        std::string letters = ".";
        if (own == font.colours.end()) letters += '#';
        else
          for (const auto& [letter, colour] : own->second) letters += letter;
        if (static_cast<int>(field.size()) != width || field.find_first_not_of(letters) != std::string::npos)
          throw SourceError(Where(path, number) + "glyph row " + DoubleQuotedBytes(field) + " is not " + std::to_string(width) +
                            " of " + QuotedBytes(letters.substr(1)) + " and '.'");
        font.glyphs[block[i++]].push_back(field);
      }
      if (i != block.size()) throw SourceError(Where(path, number) + "fewer glyphs than the \"chars\" line names");
      ++row;
    });
    if (!read) blockRefused = true;
    if (!read && MayBeginWithWord(lead, "colours")) coloursRefused = true;
  }
  faults.Keep([&] {
    if (!block.empty() && !blockRefused && row != height)
      throw SourceError(path + ": last block is not " + std::to_string(height) + " rows");
    if (font.glyphs.empty() && !faults.Any()) throw SourceError(path + ": no glyphs");
  });
  faults.Throw();
  return font;
}

int FontFrame(int code) {
  if (code >= 'a' && code <= 'z') return code - 6 - 33;
  return code - 33;
}

namespace {

// A glyph of its own colours: every letter in its palette colour, at the
// scale, neither bold nor shadowed (its own dark rim stands for both).
void DrawColouredGlyph(Canvas& c, int x0, int y0, int w, int h, const Glyph& glyph,
                       const std::map<char, std::string>& colours, int scale) {
  for (int gy = 0; gy < static_cast<int>(glyph.size()); ++gy)
    for (int gx = 0; gx < static_cast<int>(glyph[gy].size()); ++gx) {
      const auto colour = colours.find(glyph[gy][gx]);
      if (colour == colours.end()) continue;
      const uint32_t argb = Pal().Colour(colour->second);
      for (int sy = 0; sy < scale; ++sy)
        for (int sx = 0; sx < scale; ++sx) {
          const int px = gx * scale + sx, py = gy * scale + sy;
          if (px < w && py < h) c.Put(x0 + px, y0 + py, argb);
        }
    }
}

void DrawGlyph(Canvas& c, int x0, int y0, int w, int h, const Glyph& glyph, int scale, bool bold, int shadow) {
  auto ink = [&](int gx, int gy) {
    if (gy < 0 || gy >= static_cast<int>(glyph.size()) || gx < 0) return false;
    const bool here = gx < static_cast<int>(glyph[gy].size()) && glyph[gy][gx] == '#';
    const bool left = bold && gx >= 1 && gx - 1 < static_cast<int>(glyph[gy].size()) && glyph[gy][gx - 1] == '#';
    return here || left;
  };
  const int gw = static_cast<int>(glyph.empty() ? 0 : glyph[0].size()) + (bold ? 1 : 0);
  const int gh = static_cast<int>(glyph.size());
  // Shadow first, one pixel down and right, then the ink over it.
  if (shadow > 0)
    for (int gy = 0; gy < gh; ++gy)
      for (int gx = 0; gx < gw; ++gx)
        if (ink(gx, gy))
          for (int sy = 0; sy < scale; ++sy)
            for (int sx = 0; sx < scale; ++sx) {
              const int px = gx * scale + sx + shadow, py = gy * scale + sy + shadow;
              if (px < w && py < h) c.Put(x0 + px, y0 + py, kShadow);
            }
  for (int gy = 0; gy < gh; ++gy)
    for (int gx = 0; gx < gw; ++gx)
      if (ink(gx, gy))
        for (int sy = 0; sy < scale; ++sy)
          for (int sx = 0; sx < scale; ++sx) {
            const int px = gx * scale + sx, py = gy * scale + sy;
            if (px >= w || py >= h) continue;
            c.Put(x0 + px, y0 + py, kInk);
          }
}

}  // namespace

void DrawFontSheet(Canvas& c, const FrameGrid& g, const Font& font, int scale) {
  if (font.width * scale != g.frameWidth || font.height * scale != g.frameHeight)
    throw SourceError("a " + std::to_string(font.width) + "x" + std::to_string(font.height) + " font at scale " +
                      std::to_string(scale) + " does not fill " + std::to_string(g.frameWidth) + "x" +
                      std::to_string(g.frameHeight) + " frames");
  std::map<int, int> owner;
  for (const auto& [code, glyph] : font.glyphs) {
    const int frame = FontFrame(code);
    if (owner.count(frame))
      throw SourceError("characters " + std::to_string(owner[frame]) + " and " + std::to_string(code) +
                        " share font frame " + std::to_string(frame));
    owner[frame] = code;
    if (frame >= g.Count()) throw SourceError("font frame " + std::to_string(frame) + " lies beyond the sheet");
    const auto own = font.colours.find(code);
    if (own != font.colours.end())
      DrawColouredGlyph(c, g.X(frame), g.Y(frame), g.frameWidth, g.frameHeight, glyph, own->second, scale);
    else
      DrawGlyph(c, g.X(frame), g.Y(frame), g.frameWidth, g.frameHeight, glyph, scale, false, 1);
  }
}

void DrawAltFont(Canvas& c, const FrameGrid& g, const Font& font, int base, bool bold,
                 std::map<int, std::string>* owners) {
  for (const auto& [code, glyph] : font.glyphs) {
    if (code >= 'a' && code <= 'z') continue;  // the alternative font is upper case only
    const int frame = code + base;
    if (frame >= g.Count()) throw SourceError("alternative font frame " + std::to_string(frame) + " lies beyond the sheet");
    const std::string who = "the alternative font (character " + std::to_string(code) + ")";
    if (owners->count(frame))
      throw SourceError("frame " + std::to_string(frame) + " is drawn by " + (*owners)[frame] + " and " + who);
    (*owners)[frame] = who;
    const auto own = font.colours.find(code);
    if (own != font.colours.end())
      DrawColouredGlyph(c, g.X(frame), g.Y(frame), g.frameWidth, g.frameHeight, glyph, own->second, 1);
    else
      DrawGlyph(c, g.X(frame), g.Y(frame), g.frameWidth, g.frameHeight, glyph, 1, bold, bold ? 1 : 0);
  }
}
