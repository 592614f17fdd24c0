// The sheet list "sheets.txt": one line a sheet with its size, style and number.
#include <climits>
#include <set>

#include "art.h"
#include "common/source_numbers.h"
#include "engine/sheet_table.h"
#include "platform/image.h"

namespace {

bool PowerOfTwo(int v) { return v > 0 && (v & (v - 1)) == 0; }

}  // namespace

// Every line is read: each fault is reported (a sheet missing only when no
// line was refused, which may have been its own).
std::vector<SheetLine> ReadSheetList(const std::string& path) {
  std::vector<std::string> lines;
  if (!ReadSourceLines(path, &lines)) throw SourceError(path + ": cannot open");
  std::vector<SheetLine> sheets(kSheetCount);
  SourceFaults<SourceError> faults;
  int number = 0;
  for (const std::string& line : lines) {
    ++number;
    ReadingAt(path, number);
    const CommentedLine cut = CutComment(line);
    const std::string where = path + ":" + std::to_string(number) + ": ";
    faults.Keep([&] {
      CheckSourceLine(where, cut);
      CheckShownWords(where, cut.text);
      const std::vector<std::string> words = LineWords(cut.text);
      if (words.empty()) return;  // blank line
      // Four words, what a sheet holds said in a comment: a word too many
      // may be the next line joined to it.
      if (words.size() != 4) throw SourceError(where + "expected: slot WIDTHxHEIGHT style number");
      const std::string &slot = words[0], &size = words[1], &seed = words[3];
      SheetLine s;
      long long n = 0;
      if (!ReadWholeNumber(slot, &n)) throw SourceError(where + "expected: slot WIDTHxHEIGHT style number");
      if (n < 0 || n >= kSheetCount) throw SourceError(where + "no sheet " + ShownBytes(slot));
      s.slot = static_cast<int>(n);
      s.style = words[2];
      if (!ReadWholeNumber(seed, INT_MIN, INT_MAX, &n)) throw SourceError(where + "expected: slot WIDTHxHEIGHT style number");
      s.number = static_cast<int>(n);
      // The styles the tool draws a sheet in (main.cpp).
      static const std::set<std::string> kStyles = {"art", "panel", "border", "font-large", "font-small", "interface"};
      if (!kStyles.count(s.style))
        throw SourceError(where + "sheet " + std::to_string(s.slot) + " has unknown style " + DoubleQuotedBytes(s.style));
      const size_t x = size.find('x');
      long long w = 0, h = 0;
      if (x == std::string::npos || !ReadWholeNumber(size.substr(0, x), 1, INT_MAX, &w) ||
          !ReadWholeNumber(size.substr(x + 1), 1, INT_MAX, &h))
        throw SourceError(where + "bad size " + DoubleQuotedBytes(size));
      s.width = static_cast<int>(w);
      s.height = static_cast<int>(h);
      if (sheets[s.slot].slot >= 0) throw SourceError(where + "sheet " + std::to_string(s.slot) + " given twice");
      if (!PowerOfTwo(s.width) || !PowerOfTwo(s.height))
        throw SourceError(where + "sheet sizes must be powers of two, so that nothing is padded");
      if (s.width > platform::kLargestPictureSide || s.height > platform::kLargestPictureSide)
        throw SourceError(where + "the game reads no sheet wider or taller than " +
                          std::to_string(platform::kLargestPictureSide));
      const SheetFormat f = SheetFormatFor(s.slot);
      if (s.width < f.frameWidth || s.height < f.frameHeight)
        throw SourceError(where + "the sheet is smaller than one of its frames");
      sheets[s.slot] = s;
    });
  }
  const bool refused = faults.Any();
  for (int i = 0; i < kSheetCount && !refused; ++i)
    if (sheets[i].slot < 0) faults.Keep([&] { throw SourceError(path + ": sheet " + std::to_string(i) + " is missing"); });
  faults.Throw();
  return sheets;
}
