// The sheet list "sheets.txt": one line a sheet with its size, style and number.
#include <fstream>
#include <sstream>

#include "art.h"
#include "engine/sheet_table.h"
#include "platform/image.h"

namespace {

bool PowerOfTwo(int v) { return v > 0 && (v & (v - 1)) == 0; }

}  // namespace

std::vector<SheetLine> ReadSheetList(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw SourceError(path + ": cannot open");
  std::vector<SheetLine> sheets(kSheetCount);
  std::string text;
  int number = 0;
  while (std::getline(in, text)) {
    ++number;
    const size_t hash = text.find('#');
    if (hash != std::string::npos) text.resize(hash);
    const std::string where = path + ":" + std::to_string(number) + ": ";
    CheckSourceLine(where, text);
    std::istringstream words(text);
    std::string size;
    SheetLine s;
    if (!(words >> s.slot)) continue;  // blank line
    char x = 0;
    std::istringstream sizeWords;
    if (!(words >> size >> s.style >> s.number)) throw SourceError(where + "expected: slot WIDTHxHEIGHT style number");
    sizeWords.str(size);
    if (!(sizeWords >> s.width >> x >> s.height) || x != 'x') throw SourceError(where + "bad size \"" + size + "\"");
    if (s.slot < 0 || s.slot >= kSheetCount) throw SourceError(where + "no sheet " + std::to_string(s.slot));
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
  }
  for (int i = 0; i < kSheetCount; ++i)
    if (sheets[i].slot < 0) throw SourceError(path + ": sheet " + std::to_string(i) + " is missing");
  return sheets;
}

