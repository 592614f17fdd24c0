#include <algorithm>
#include <utility>

#include "art.h"
#include "palette.h"

namespace {

std::string Where(const std::string& path, int line) { return path + ":" + std::to_string(line) + ": "; }

// A glyph name: one character, or "\xA3" for a byte written in hex (read as
// the other tools read the fonts, common/shown_bytes.h); a byte past '~',
// and a backslash, which begins the hex, are written in hex, so that a
// damaged name is not another glyph's.
int ParseCharName(const std::string& name, const std::string& where) {
  const int code = FontCharCode(name);
  if (code < 0 || (name.size() == 1 && (code > '~' || code == '\\')))
    throw SourceError(where + "bad character name " + DoubleQuotedBytes(name));
  return code;
}

// Whether a glyph name of a "chars" line names a glyph a font may draw.
bool IsGlyphName(const std::string& name) {
  const int code = FontCharCode(name);
  return code >= 33 && code != '_' && !(name.size() == 1 && (code > '~' || code == '\\'));
}

// Whether words read as a whole "chars" or "colours" line, one a comment
// may hold joined to it (common/comment_joins.h), glued to its text as a
// line written at the start of its line is. (A glyph row may be the words
// of a comment: "# ---- ####".)
bool IsFontLine(const std::vector<std::string>& words, bool glued, const Palette* palette) {
  if (!glued || words.size() < 2) return false;
  if (words[0] == "chars") return std::all_of(words.begin() + 1, words.end(), IsGlyphName);
  if (words[0] != "colours") return false;
  return std::all_of(words.begin() + 1, words.end(), [&](const std::string& pair) {
    if (pair.size() < 3 || pair[1] != '=' || pair[0] == '.' || !GameShowsByte(static_cast<unsigned char>(pair[0]))) return false;
    try {
      if (palette) palette->Check(pair.substr(2));
      return true;
    } catch (const SourceError&) {
      return false;
    }
  });
}

constexpr uint32_t kInk = 0xFFFFFFFFu;
constexpr uint32_t kShadow = 0xFF141418u;

}  // namespace

// Every line is read: each fault is reported, and the rows of a block whose
// line or row was refused are not read besides (nor those of the block after
// a refused "colours" line, or after a refused line that is no row of a
// block being read, which may have been one). A block's rows are checked
// together as it ends, so that a fault they all share is its "chars" or
// "colours" line's: rows that all give another count of glyphs than the
// "chars" line names, or draw a letter the "colours" line lacks where it
// names one no row draws. A font whose "chars" lines were all refused is
// not refused besides for having no glyph.
Font ReadFont(const std::string& path, int width, int height, const Palette* palette) {
  std::vector<std::string> lines;
  if (!ReadSourceLines(path, &lines)) throw SourceError(path + ": cannot open");
  Font font;
  font.width = width;
  font.height = height;
  SourceFaults<SourceError> faults;
  int number = 0;
  // The block being read: its "colours" and "chars" lines and its rows.
  struct Row {
    int line;
    std::vector<std::string> fields;
  };
  std::vector<int> block;  // the codes of the current block
  int charsLine = 0, coloursLine = 0;
  std::vector<Row> rows;
  bool blockRefused = false, blockChecked = false;
  bool coloursRefused = false;  // the block after a refused "colours" line is refused too
  // Set by a "colours" line for the block that follows it.
  std::map<char, std::string> blockColours;
  // The letters a glyph of the block is drawn with.
  auto Letters = [&](int code) {
    std::string letters;
    const auto own = font.colours.find(code);
    if (own == font.colours.end()) return std::string("#");
    for (const auto& [letter, colour] : own->second) letters += letter;
    return letters;
  };
  // Checks the rows of the block as it ends, at the line `end` (0 for the
  // source's end), once.
  auto BlockEnds = [&](int end) {
    if (block.empty() || blockRefused || blockChecked) return;
    blockChecked = true;
    const size_t names = block.size();
    const bool allOther = !rows.empty() && std::all_of(rows.begin(), rows.end(), [&](const Row& r) {
      return r.fields.size() != names && r.fields.size() == rows[0].fields.size();
    });
    if (allOther) {
      faults.Keep([&] {
        throw SourceError(Where(path, charsLine) + "the \"chars\" line names " + std::to_string(names) +
                          " glyphs, its rows give " + std::to_string(rows[0].fields.size()));
      });
      return;
    }
    // A letter the "colours" line names that no row draws, beside one the
    // rows draw that it does not name: the line's letter is the damaged one.
    std::string unused, unnamed;
    if (coloursLine > 0) {
      std::string drawn;
      for (const Row& r : rows)
        for (const std::string& f : r.fields) drawn += f;
      const std::string letters = Letters(block[0]);
      for (const char letter : letters)
        if (drawn.find(letter) == std::string::npos) unused += letter;
      for (const char c : drawn)
        if (c != '.' && letters.find(c) == std::string::npos && unnamed.find(c) == std::string::npos) unnamed += c;
    }
    if (!unused.empty() && !unnamed.empty()) {
      faults.Keep([&] {
        throw SourceError(Where(path, coloursLine) + "no row draws " + QuotedBytes(unused) + ", and the rows draw " +
                          QuotedBytes(unnamed) + ", which the line does not name");
      });
      return;
    }
    bool rowRefused = false;
    for (const Row& r : rows)
      rowRefused |= !faults.Keep([&] {
        if (r.fields.size() > names) throw SourceError(Where(path, r.line) + "more glyphs than the \"chars\" line names");
        if (r.fields.size() < names) throw SourceError(Where(path, r.line) + "fewer glyphs than the \"chars\" line names");
        for (size_t i = 0; i < names; ++i) {
          std::string letters(1, '.');
          letters += Letters(block[i]);
          if (static_cast<int>(r.fields[i].size()) != width || r.fields[i].find_first_not_of(letters) != std::string::npos)
            throw SourceError(Where(path, r.line) + "glyph row " + DoubleQuotedBytes(r.fields[i]) + " is not " +
                              std::to_string(width) + " of " + QuotedBytes(letters.substr(1)) + " and '.'");
        }
      });
    // A row refused may be two joined: the block is not short besides.
    if (!rowRefused && static_cast<int>(rows.size()) != height)
      faults.Keep([&] {
        throw SourceError(end > 0 ? Where(path, end) + "the block ends after " + std::to_string(rows.size()) + " of " +
                                        std::to_string(height) + " rows"
                                  : path + ": the last block is not " + std::to_string(height) + " rows");
      });
    if (!rowRefused)
      for (const Row& r : rows)
        for (size_t i = 0; i < names; ++i) font.glyphs[block[i]].push_back(r.fields[i]);
  };
  // A block begins: the one before it ends.
  auto BlockBegins = [&]() {
    BlockEnds(number);
    block.clear();
    rows.clear();
    blockRefused = blockChecked = false;
  };
  // A comment is "#" followed by a space; glyph rows begin with '#' or '.'
  // and never have a space in second place.
  auto isComment = [](std::string_view text) { return text == "#" || text.rfind("# ", 0) == 0; };
  const std::vector<ReadLine> entries = LinesWithJoins(
      lines, [&](const std::string& text) { return isComment(text) ? 0 : std::string::npos; },
      [&](std::string_view tail, bool glued) { return IsFontLine(LineWords(tail), glued, palette); });
  for (const ReadLine& entry : entries) {
    number = entry.number;
    ReadingAt(path, number);
    const std::string& text = entry.text;
    const bool comment = isComment(text);
    // A refused line that may be a "colours" or "chars" line is one: the
    // block it begins is refused. Its words are cut at blanks alone (a
    // damaged carriage return stays in them).
    const std::vector<std::string> words = LineWords(comment ? "" : text);
    const std::string first = words.empty() ? "" : words[0];
    // Its words, or its comment.
    const std::string_view own = comment ? std::string_view() : std::string_view(text);
    const std::string_view notes = comment ? std::string_view(text) : std::string_view();
    auto mayBe = [&](const char* word) { return RefusedLineMayBegin(own, notes, {word, 2}); };
    const bool head = mayBe("colours") || mayBe("chars");
    if (!head && blockRefused && !text.empty() && !comment) continue;
    // A line that is no row of the block being read.
    const bool outside = block.empty() || blockRefused || static_cast<int>(rows.size()) >= height;
    const bool read = !entry.joined && faults.Keep([&] {
      // A comment is the whole line; a glyph row holds none.
      CheckSourceLine(Where(path, number), comment ? CommentedLine{"", text} : CommentedLine{text, ""});
      if (words.empty()) {
        BlockEnds(number);
        return;
      }
      if (first == "colours") {
        // "colours o=ink.0 #=grey.5": the letters of the next block's rows.
        BlockBegins();
        coloursRefused = true;
        blockColours.clear();
        coloursLine = number;
        for (size_t w = 1; w < words.size(); ++w) {
          const std::string& pair = words[w];
          // A letter is a byte the fonts show, as a word of every source is.
          if (pair.size() < 3 || pair[1] != '=' || pair[0] == '.' || !GameShowsByte(static_cast<unsigned char>(pair[0])))
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
        BlockBegins();
        charsLine = number;
        blockRefused = std::exchange(coloursRefused, false);
        std::map<char, std::string> colours;
        colours.swap(blockColours);
        if (colours.empty()) coloursLine = 0;
        for (size_t w = 1; w < words.size(); ++w) {
          const int code = ParseCharName(words[w], Where(path, number));
          if (code < 33) throw SourceError(Where(path, number) + "character code below 33 has no glyph");
          // The game draws '_' as a blank (common/shown_bytes.h), never a glyph of it.
          if (code == '_') throw SourceError(Where(path, number) + "'_' is a blank and has no glyph");
          if (font.glyphs.count(code)) throw SourceError(Where(path, number) + "glyph " + DoubleQuotedBytes(words[w]) + " given twice");
          block.push_back(code);
          font.glyphs[code] = Glyph{};
          if (!colours.empty()) font.colours[code] = colours;
        }
        if (block.empty()) throw SourceError(Where(path, number) + "\"chars\" names no character");
        return;
      }
      if (block.empty()) throw SourceError(Where(path, number) + "glyph rows before a \"chars\" line");
      if (static_cast<int>(rows.size()) >= height) throw SourceError(Where(path, number) + "more than " + std::to_string(height) + " rows");
      rows.push_back({number, words});
    });
    if (read && !entry.joinFault.empty()) faults.Keep([&] { throw SourceError(Where(path, number) + entry.joinFault); });
    if (read) continue;
    // A refused line outside a block may have been a "colours" line, and one
    // that may begin a block begins it refused.
    if (outside || mayBe("colours")) coloursRefused = true;
    if (mayBe("chars")) {
      if (block.empty()) block.push_back(-1);
      coloursRefused = false;
    }
    blockRefused = true;
  }
  BlockEnds(0);
  faults.Keep([&] {
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
