// One damaged byte in one line of a good source, every line in turn, as a
// source is damaged on a disk or in an editor: the middle byte of the line's
// first word becomes a control byte, a byte the game cannot show, or a zero
// byte. Each such source is one fault, reported once.
#pragma once
#include <algorithm>
#include <string>
#include <vector>

struct DamagedLine {
  int line;          // from 1
  std::string text;  // the whole source, that line damaged
  std::string what;  // "line 3 \x01", to name the case
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
