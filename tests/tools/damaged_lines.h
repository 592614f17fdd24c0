// One damaged byte in one line of a good source, as a source is damaged on a
// disk or in an editor. Each such source is one fault, reported once at its
// line.
//
// DamagedLines damages the middle byte of each line's first word.
// DamagedBytes damages every kind of place in every line: the first, middle
// and last byte of each word and the first blank between two words, each
// with a zero byte, a byte the game cannot show, a carriage return and a
// control byte. A carriage return as a line's last byte is left out: it is
// how a line ends in a source saved with Windows line ends.
#pragma once
#include <algorithm>
#include <string>
#include <vector>

struct DamagedLine {
  int line;          // from 1
  std::string text;  // the whole source, that line damaged
  std::string what;  // "line 3 byte 1", to name the case
};

inline std::vector<DamagedLine> DamagedLines(const std::string& good, const std::string& bytes = std::string("\x01\xe9\0", 3)) {
  std::vector<DamagedLine> damaged;
  int line = 1;
  for (size_t start = 0; start < good.size(); ++line) {
    const size_t end = std::min(good.find('\n', start), good.size());
    const size_t word = good.find_first_not_of(" \t", start);
    const size_t wordEnd = std::min(good.find_first_of(" \t\n", word), good.size());
    for (const char byte : bytes)
      if (word < end) {
        std::string text = good;
        text[word + (wordEnd - word) / 2] = byte;
        damaged.push_back({line, text, "line " + std::to_string(line) + " byte " + std::to_string(byte & 0xff)});
      }
    start = end + 1;
  }
  return damaged;
}

inline std::vector<DamagedLine> DamagedBytes(const std::string& good, const std::string& bytes = std::string("\0\xe9\r\x01", 4)) {
  std::vector<DamagedLine> damaged;
  int line = 1;
  for (size_t start = 0; start < good.size(); ++line) {
    const size_t end = std::min(good.find('\n', start), good.size());
    std::vector<std::pair<size_t, const char*>> places;  // offset in the source, what kind of place
    for (size_t word = good.find_first_not_of(" \t", start); word < end;) {
      const size_t wordEnd = std::min(good.find_first_of(" \t\n", word), end);
      places.push_back({word, "first byte of a word"});
      if (wordEnd - word > 2) places.push_back({word + (wordEnd - word) / 2, "middle of a word"});
      if (wordEnd - word > 1) places.push_back({wordEnd - 1, "last byte of a word"});
      const size_t next = good.find_first_not_of(" \t", wordEnd);
      if (next < end) places.push_back({wordEnd, "blank between words"});
      word = next;
    }
    for (const auto& [at, kind] : places)
      for (const char byte : bytes) {
        if (byte == '\r' && at + 1 == end) continue;
        std::string text = good;
        text[at] = byte;
        damaged.push_back({line, text,
                           "line " + std::to_string(line) + ", " + kind + " at column " + std::to_string(at - start + 1) +
                               ", byte " + std::to_string(byte & 0xff)});
      }
    start = end + 1;
  }
  return damaged;
}

// Where the damaged byte of a damaged line lies against the comments of the
// good source: in no comment; in one (a source reads a comment's bytes as no
// words of it); or on the blank after a comment's '#' (a source that marks
// its comments with "# ", as a font does, then reads the line as no
// comment). A comment begins at a '#' that stands at the line's start or
// after a blank and is followed by a blank or the line's end (a glyph row's
// '#', a sharp's, or a comment mark the damage struck is none).
enum class CommentPlace { kNone, kInComment, kOnMarkBlank };

inline CommentPlace DamagedInComment(const std::string& good, const DamagedLine& damaged) {
  const size_t at = static_cast<size_t>(
      std::mismatch(good.begin(), good.end(), damaged.text.begin()).first - good.begin());
  const size_t start = at == 0 ? 0 : good.rfind('\n', at - 1) + 1;  // npos + 1 is 0
  for (size_t h = start; h < at; ++h)
    if (good[h] == '#' && (h == start || good[h - 1] == ' ' || good[h - 1] == '\t') &&
        (h + 1 == good.size() || good[h + 1] == ' ' || good[h + 1] == '\t' || good[h + 1] == '\n'))
      return h + 1 == at ? CommentPlace::kOnMarkBlank : CommentPlace::kInComment;
  return CommentPlace::kNone;
}
