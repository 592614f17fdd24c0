// The sheet list "sheets.txt": one line a sheet with its size, style and number.
#include <climits>
#include <set>

#include "art.h"
#include "common/source_numbers.h"
#include "engine/sheet_table.h"
#include "platform/image.h"

namespace {

bool PowerOfTwo(int v) { return v > 0 && (v & (v - 1)) == 0; }

// The sheet a line of the list gives, its four words read (`where` is
// "file:line: ").
SheetLine ReadSheetWords(const std::string& where, const std::vector<std::string>& words) {
  // Four words, what a sheet holds said in a comment: a word too many may
  // be the next line joined to it.
  if (words.size() != 4) throw SourceError(where + "expected: slot WIDTHxHEIGHT style number");
  const std::string &slot = words[0], &size = words[1], &seed = words[3];
  SheetLine s;
  long long n = 0;
  if (!ReadWholeNumber(slot, &n)) throw SourceError(where + "expected: slot WIDTHxHEIGHT style number");
  if (!ReadSheetNumber(slot, &s.slot)) throw SourceError(where + "no sheet " + ShownBytes(slot));
  s.style = words[2];
  if (!ReadWholeNumber(seed, INT_MIN, INT_MAX, &n)) throw SourceError(where + "expected: slot WIDTHxHEIGHT style number");
  s.number = static_cast<int>(n);
  // The styles the tool draws a sheet in (sources.cpp).
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
  if (!PowerOfTwo(s.width) || !PowerOfTwo(s.height))
    throw SourceError(where + "sheet sizes must be powers of two, so that nothing is padded");
  if (s.width > platform::kLargestPictureSide || s.height > platform::kLargestPictureSide)
    throw SourceError(where + "the game reads no sheet wider or taller than " + std::to_string(platform::kLargestPictureSide));
  const SheetFormat f = SheetFormatFor(s.slot);
  if (s.width < f.frameWidth || s.height < f.frameHeight) throw SourceError(where + "the sheet is smaller than one of its frames");
  return s;
}

// Whether words read as a whole line of the list, one a comment may hold
// joined to it (common/comment_joins.h), glued to its text as a line
// written at the start of its line is.
bool IsSheetListLine(const std::vector<std::string>& words, bool glued) {
  int slot = 0;
  if (!glued || words.size() != 4 || !ReadSheetNumber(words[0], &slot)) return false;
  try {
    (void)ReadSheetWords("", words);
    return true;
  } catch (const SourceError&) {
    return false;
  }
}

}  // namespace

// Every line is read: each fault is reported (a sheet missing only when no
// line was refused, which may have been its own; it is missing at the line
// of the sheet after it, or of the last one before it, where it belongs).
std::vector<SheetLine> ReadSheetList(const std::string& path) {
  std::vector<std::string> source;
  if (!ReadSourceLines(path, &source)) throw SourceError(path + ": cannot open");
  std::vector<SheetLine> sheets(kSheetCount);
  SourceFaults<SourceError> faults;
  for (const ReadLine& line : SheetSourceLines(source, IsSheetListLine)) {
    ReadingAt(path, line.number);
    const CommentedLine cut = CutComment(line.text);
    const std::string where = path + ":" + std::to_string(line.number) + ": ";
    const bool read = !line.joined && faults.Keep([&] {
      CheckSourceLine(where, cut);
      CheckShownWords(where, cut.text);
      const std::vector<std::string> words = LineWords(cut.text);
      if (words.empty()) return;  // blank line
      SheetLine s = ReadSheetWords(where, words);
      if (sheets[s.slot].slot >= 0) throw SourceError(where + "sheet " + std::to_string(s.slot) + " given twice");
      s.line = line.number;
      sheets[s.slot] = s;
    });
    if (read && !line.joinFault.empty()) faults.Keep([&] { throw SourceError(where + line.joinFault); });
  }
  const bool refused = faults.Any();
  for (int i = 0; i < kSheetCount && !refused; ++i) {
    if (sheets[i].slot >= 0) continue;
    int at = 0, beside = -1;  // the line of the sheet after it, or of the last before it
    for (int k = i + 1; k < kSheetCount && at == 0; ++k) at = sheets[k].line, beside = k;
    for (int k = i - 1; k >= 0 && at == 0; --k) at = sheets[k].line, beside = k;
    faults.Keep([&] {
      if (at == 0) throw SourceError(path + ": sheet " + std::to_string(i) + " is missing");
      throw SourceError(path + ":" + std::to_string(at) + ": sheet " + std::to_string(i) + " is missing" +
                        (beside > i ? " before sheet " : " after sheet ") + std::to_string(beside));
    });
  }
  faults.Throw();
  return sheets;
}
