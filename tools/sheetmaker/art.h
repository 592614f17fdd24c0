// What the sheet tool reads and draws: glyph fonts, pixel-art frames and the
// textures spread over whole sheets (the frame maps draw the rest).
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "canvas.h"
#include "common/comment_joins.h"
#include "common/refused_lines.h"
#include "common/shown_bytes.h"
#include "common/source_bytes.h"
#include "common/source_decimals.h"
#include "common/source_faults.h"
#include "common/source_lines.h"
#include "common/source_numbers.h"
#include "engine/sheet_table.h"

// A bad source: the message names the file and line.
struct SourceError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A decimal number read whole ("2.5x" is none: common/source_decimals.h),
// of at most a million either way (a picture's measures lie well inside);
// `what` names it in the message.
inline float ReadFloat(const std::string& text, const std::string& what) {
  double v = 0;
  if (!ReadDecimal(text, &v)) throw SourceError(what + " wants a number, not " + DoubleQuotedBytes(text));
  if (std::fabs(v) > 1e6) throw SourceError(what + " is -1000000 to 1000000, not " + ShownBytes(text));
  return static_cast<float>(v);
}

// The number of one of the game's sheets (engine/sheet_table.h), read whole;
// false for any other word.
inline bool ReadSheetNumber(std::string_view word, int* sheet) {
  long long n = 0;
  if (!ReadWholeNumber(word, 0, kSheetCount - 1, &n)) return false;
  *sheet = static_cast<int>(n);
  return true;
}

// `value`, the word `what` names, when it is one of `values`; any other is
// refused: "the flame is torch or fire, not "forch"".
inline std::string KnownWord(const std::string& what, const std::string& value, std::initializer_list<const char*> values) {
  std::string known;
  size_t i = 0;
  for (const char* v : values) {
    if (value == v) return value;
    known += std::string(i == 0 ? "" : i + 1 == values.size() ? " or " : ", ") + v;
    ++i;
  }
  throw SourceError(what + " is " + known + ", not " + DoubleQuotedBytes(value));
}

// The word of key=, `value`, when it is one of `values`; any other is refused:
// "cut= is round, long or eye, not "banana"".
inline std::string OneOf(const std::string& key, const std::string& value, std::initializer_list<const char*> values) {
  return KnownWord(key + "=", value, values);
}

// A line of a source cut at its comment (from its first '#' to its end).
inline CommentedLine CutComment(const std::string& line) { return CutLineAt(line, line.find('#')); }

// The lines of a source (cut from it by SourceLines), each comment (from a
// line's first '#') that holds a whole line of the source joined to it read
// as two (common/comment_joins.h): `isLine(words, glued)` tells whether the
// words of a line's text read as one, glued to the comment's text or not.
template <typename IsLine>
std::vector<ReadLine> SheetSourceLines(const std::vector<std::string>& lines, IsLine&& isLine) {
  return LinesWithJoins(
      lines, [](const std::string& line) { return line.find('#'); },
      [&](std::string_view tail, bool glued) { return isLine(LineWords(tail.substr(0, tail.find('#'))), glued); });
}

// Refuses a line of a source that holds a byte no line may hold, its
// comment too (RefusedLineFault); `where` is "file:line: ".
inline void CheckSourceLine(const std::string& where, const CommentedLine& line) {
  if (const std::string fault = RefusedLineFault(line); !fault.empty()) throw SourceError(where + fault);
}

// Refuses a line of a source whose every word is a name, a number or a
// key=value of them (a frame map, the sheet list, a pixel-art line but a
// row) when a word holds a byte the game's fonts do not show, as a damaged
// byte: "'6-19' holds the byte \xe9, which the game cannot show:
// '\xe9orch'". Control bytes and bytes of no text are CheckSourceLine's.
inline void CheckShownWords(const std::string& where, const std::string& line) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  for (size_t at = 0; at < line.size(); ++at) {
    if (blank(line[at]) || GameShowsByte(static_cast<unsigned char>(line[at]))) continue;
    size_t start = at, end = at;
    while (start > 0 && !blank(line[start - 1])) --start;
    while (end < line.size() && !blank(line[end])) ++end;
    size_t first = 0;
    while (blank(line[first])) ++first;
    const std::string field = start == first ? "" : line.substr(first, line.find_first_of(" \t", first) - first);
    throw SourceError(where + UnshownByteMessage(field, line.substr(start, end - start), at - start));
  }
}

// The frame grid of a sheet: frame n at (n mod perRow, n div perRow).
struct FrameGrid {
  int frameWidth, frameHeight, perRow, rows;
  int Count() const { return perRow * rows; }
  int X(int n) const { return (n % perRow) * frameWidth; }
  int Y(int n) const { return (n / perRow) * frameHeight; }
};

struct Palette;

// One glyph: rows of '#' and '.'.
using Glyph = std::vector<std::string>;
struct Font {
  int width = 0, height = 0;
  std::map<int, Glyph> glyphs;  // by character code
  // Glyphs drawn in their own colours: each letter of their rows names a
  // palette colour ("ink.0"); '.' stays empty. The game draws them untinted.
  std::map<int, std::map<char, std::string>> colours;
};
// The colours a glyph's letters name are checked against `palette`, when
// one is given, at their "colours" line.
Font ReadFont(const std::string& path, int width, int height, const Palette* palette = nullptr);

// The frame of a character in the game's fonts: lower-case letters follow 'Z'.
int FontFrame(int code);

// Draws a font at an integer scale, white with a dark shadow; a glyph of
// its own colours is drawn in them, without a shadow.
void DrawFontSheet(Canvas& c, const FrameGrid& g, const Font& font, int scale);
// The alternative font on the interface sheet: upper case and the signs, at
// frame = code + base; bold and shadowed when asked.
void DrawAltFont(Canvas& c, const FrameGrid& g, const Font& font, int base, bool bold,
                 std::map<int, std::string>* owners);

// Pixel art frames of one sheet.
struct PixelArt {
  int sheet = -1;
  std::map<char, uint32_t> palette;
  std::map<int, std::vector<std::string>> frames;
};
std::vector<PixelArt> ReadPixelArt(const std::string& path);
void DrawPixelArt(Canvas& c, const FrameGrid& g, const PixelArt& art, const std::string& source,
                  std::map<int, std::string>* owners);

// The textures spread over whole sheets: light stone blocks (panels and
// mosaics) and bronze border pieces (frame 130 a horizontal rule, 131 a
// vertical one).
void DrawPanel(Canvas& c, uint32_t seed);
void DrawBorder(Canvas& c, const FrameGrid& g, uint32_t seed);

// One line of the sheet list: slot, picture size, style and its number, and
// the line of the list that gives it.
struct SheetLine {
  int slot = -1, width = 0, height = 0, number = 0;
  std::string style;
  int line = 0;
};
// Reads the sheet list: every sheet 0 to 65 once, each a power of two each
// way, no smaller than its frame and no larger than the game reads.
std::vector<SheetLine> ReadSheetList(const std::string& path);
