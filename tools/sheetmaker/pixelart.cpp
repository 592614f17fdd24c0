#include <climits>
#include <set>
#include <sstream>

#include "art.h"

namespace {

using Grid = std::vector<std::string>;

Grid FlipX(const Grid& g) {
  Grid out = g;
  for (auto& row : out) row.assign(row.rbegin(), row.rend());
  return out;
}

Grid FlipY(const Grid& g) { return Grid(g.rbegin(), g.rend()); }

Grid Transpose(const Grid& g) {
  const size_t w = g.empty() ? 0 : g[0].size();
  Grid out(w, std::string(g.size(), '.'));
  for (size_t y = 0; y < g.size(); ++y)
    for (size_t x = 0; x < w; ++x) out[x][y] = g[y][x];
  return out;
}

// A quarter turn clockwise.
Grid Rot90(const Grid& g) { return FlipX(Transpose(g)); }

// A line without its comment and the spaces and tabs at its ends: a
// carriage return there is a damaged byte of the line, refused, not trimmed.
std::string StripComment(const std::string& s) {
  const std::string_view line = std::string_view(s).substr(0, s.find('#'));
  const size_t start = line.find_first_not_of(" \t");
  if (start == std::string_view::npos) return "";
  return std::string(line.substr(start, line.find_last_not_of(" \t") - start + 1));
}

}  // namespace

// Every line is read: each fault is reported. A refused line counts as what
// its first word may be (common/shown_bytes.h): a refused sheet line opens a
// sheet of no number, a refused palette or end line opens or closes the
// palette, a refused frame line gives its frame (a frame derived from it is
// not refused for the want of it), and a refused palette line gives its
// letter, or any letter it may be when its letter is refused. The rows of a
// frame whose line or row was refused, or that follow an unknown line, are
// not read besides.
std::vector<PixelArt> ReadPixelArt(const std::string& path) {
  std::vector<std::string> source;
  if (!ReadSourceLines(path, &source)) throw SourceError(path + ": cannot open");
  std::vector<PixelArt> sheets;
  SourceFaults<SourceError> faults;
  int number = 0;
  enum { kTop, kPalette, kRows, kRefusedRows } state = kTop;
  int frame = -1;
  // The frames refused lines gave, by sheet: a frame derived from one of
  // them is given too; any frame after a frame line whose number could not
  // be read.
  std::map<size_t, std::set<int>> refusedFrames;
  std::set<size_t> unreadFrames;
  // The first words of refused palette lines, by sheet: a letter of a row
  // that one of them may be is not refused for the want of it.
  std::map<size_t, std::vector<std::string>> refusedLetters;
  auto inPalette = [&](const PixelArt& art, char letter) {
    if (art.palette.count(letter)) return true;
    for (const std::string& written : refusedLetters[sheets.size() - 1])
      if (MayBeWord(written, std::string(1, letter)) || written[0] == letter) return true;
    return false;
  };
  auto where = [&]() { return path + ":" + std::to_string(number) + ": "; };
  auto current = [&]() -> PixelArt& {
    if (sheets.empty()) throw SourceError(where() + "\"sheet N\" must come first");
    return sheets.back();
  };
  for (const std::string& raw : source) {
    ++number;
    const std::string line = StripComment(raw);
    if (state == kRefusedRows) {
      // A row is one word; the frame's rows end at a blank line or the next line of words.
      const bool row = !line.empty() && line.find_first_of(" \t") == std::string::npos && line != "palette";
      if (row) continue;
      state = kTop;
      if (line.empty()) continue;
    }
    const auto before = state;
    const size_t sheetsBefore = sheets.size();
    // The first two words, cut at blanks alone (a damaged carriage return stays in its word).
    const std::vector<std::string> cut = LineWords(line);
    const std::string first = cut.empty() ? "" : cut[0], second = cut.size() > 1 ? cut[1] : "";
    std::string word;
    const bool read = faults.Keep([&] {
      CheckSourceLine(where(), raw.substr(0, raw.find('#')));  // untrimmed: a carriage return at its ends is damage
      if (state == kRows) {
        if (line.empty()) {
          state = kTop;
          return;
        }
        PixelArt& art = current();
        Grid& grid = art.frames[frame];
        if (!grid.empty() && line.size() != grid[0].size())
          throw SourceError(where() + "row of frame " + std::to_string(frame) + " is not as wide as the first");
        for (char ch : line)
          if (ch != '.' && !inPalette(art, ch))
            throw SourceError(where() + "letter " + QuotedBytes(std::string(1, ch)) + " is not in the palette");
        grid.push_back(line);
        return;
      }
      if (line.empty()) return;
      // Every word of a line but a row is a name, a number or a colour (a
      // palette letter's description too): what the fonts show, so that a
      // damaged comment mark does not leave the comment's words unseen.
      CheckShownWords(where(), line);
      std::istringstream words(line);
      words >> word;
      if (state == kPalette) {
        if (word == "end") {
          state = kTop;
          return;
        }
        std::string hex;
        words >> hex;
        // A letter is a byte the fonts show, as a word of every source is.
        const size_t unshown = UnshownByte(word, false);
        if (unshown != std::string::npos) throw SourceError(where() + UnshownByteMessage("", word, unshown));
        unsigned long long colour = 0;
        if (word.size() != 1 || word == "." || hex.size() != 8 || !ReadHexNumber(hex, &colour))
          throw SourceError(where() + "palette lines are a letter and an 8-digit AARRGGBB colour");
        current().palette[word[0]] = static_cast<uint32_t>(colour);
        return;
      }
      if (word == "sheet") {
        PixelArt& art = sheets.emplace_back();
        std::string number;
        long long read = 0;
        if (!(words >> number) || !ReadWholeNumber(number, 0, 65, &read)) throw SourceError(where() + "bad sheet number");
        art.sheet = static_cast<int>(read);
      } else if (word == "palette") {
        current();
        state = kPalette;
      } else if (word == "frame") {
        PixelArt& art = current();
        std::string number;
        long long read = 0;
        if (!(words >> number) || !ReadWholeNumber(number, 0, INT_MAX, &read)) throw SourceError(where() + "bad frame number");
        frame = static_cast<int>(read);
        if (art.frames.count(frame)) throw SourceError(where() + "frame " + std::to_string(frame) + " given twice");
        std::string eq;
        if (!(words >> eq)) {
          art.frames[frame];
          state = kRows;
          return;
        }
        std::string op, of;
        long long given = -1;
        if (eq != "=" || !(words >> op >> of) || !ReadWholeNumber(of, 0, INT_MAX, &given))
          throw SourceError(where() + "expected \"frame N\" or \"frame N = OPERATION M\"");
        const int from = static_cast<int>(given);
        auto it = art.frames.find(from);
        if (it == art.frames.end() && (refusedFrames[sheets.size() - 1].count(from) || unreadFrames.count(sheets.size() - 1))) {
          refusedFrames[sheets.size() - 1].insert(frame);
          return;
        }
        if (it == art.frames.end())
          throw SourceError(where() + "frame " + std::to_string(from) + " must be given before it is used");
        Grid g = it->second;
        if (op == "flipx") g = FlipX(g);
        else if (op == "flipy") g = FlipY(g);
        else if (op == "transpose") g = Transpose(g);
        else if (op == "rot90") g = Rot90(g);
        else if (op == "recolour") {
          std::string pair;
          bool any = false;
          Grid out = g;  // pairs read the original, so they never chain
          while (words >> pair) {
            if (pair.size() != 3 || pair[1] != '=' || !inPalette(art, pair[0]) || !inPalette(art, pair[2]))
              throw SourceError(where() + "recolour takes palette pairs like w=g");
            for (size_t y = 0; y < g.size(); ++y)
              for (size_t x = 0; x < g[y].size(); ++x)
                if (g[y][x] == pair[0]) out[y][x] = pair[2];
            any = true;
          }
          if (!any) throw SourceError(where() + "recolour needs at least one pair");
          g = out;
        } else {
          throw SourceError(where() + "unknown operation " + DoubleQuotedBytes(op));
        }
        art.frames[frame] = g;
      } else {
        throw SourceError(where() + "unknown line " + DoubleQuotedBytes(line));
      }
    });
    if (read) continue;
    if (before == kRows) {
      state = kRefusedRows;
    } else if (before == kPalette) {
      if (MayBeginWithWord(first, "end")) state = kTop;
      else if (first.size() == 1 && GameShowsByte(static_cast<unsigned char>(first[0])) && !sheets.empty())
        sheets.back().palette.emplace(first[0], 0u);
      else if (!first.empty() && !sheets.empty())
        refusedLetters[sheets.size() - 1].push_back(first);
    } else if (MayBeginWithWord(first, "sheet") || MayBeginWithWord(first, "palette") || MayBeginWithWord(first, "frame")) {
      // What the line begins, the lines after it belong to: a sheet of no number when none is open.
      if (sheets.size() == sheetsBefore && (sheets.empty() || MayBeginWithWord(first, "sheet"))) sheets.emplace_back();
      if (MayBeginWithWord(first, "palette")) state = kPalette;
      if (MayBeginWithWord(first, "frame")) {
        state = kRefusedRows;
        long long given = 0;
        if (ReadWholeNumber(second, 0, INT_MAX, &given)) refusedFrames[sheets.size() - 1].insert(static_cast<int>(given));
        else unreadFrames.insert(sheets.size() - 1);
      }
    } else {
      state = kRefusedRows;  // an unknown line: the rows after it are not each another
    }
  }
  // A frame without rows, when no line was refused (which may have been its rows).
  const bool refused = faults.Any();
  for (const auto& art : sheets)
    for (const auto& frame : art.frames)
      if (frame.second.empty() && !refused)
        faults.Keep([&] { throw SourceError(path + ": frame " + std::to_string(frame.first) + " has no rows"); });
  faults.Throw();
  return sheets;
}

void DrawPixelArt(Canvas& c, const FrameGrid& g, const PixelArt& art, const std::string& source,
                  std::map<int, std::string>* owners) {
  for (const auto& [n, grid] : art.frames) {
    if (n >= g.Count()) throw SourceError(source + ": frame " + std::to_string(n) + " lies beyond the sheet");
    if (static_cast<int>(grid.size()) > g.frameHeight || static_cast<int>(grid[0].size()) > g.frameWidth)
      throw SourceError(source + ": frame " + std::to_string(n) + " is larger than the sheet's frames");
    if (owners) {
      if (owners->count(n))
        throw SourceError(source + ": frame " + std::to_string(n) + " is also drawn by " + (*owners)[n]);
      (*owners)[n] = source;
    }
    const int x0 = g.X(n), y0 = g.Y(n);
    for (int y = 0; y < g.frameHeight; ++y)
      for (int x = 0; x < g.frameWidth; ++x) c.Clear(x0 + x, y0 + y);
    for (size_t y = 0; y < grid.size(); ++y)
      for (size_t x = 0; x < grid[y].size(); ++x)
        if (grid[y][x] != '.') c.Put(x0 + static_cast<int>(x), y0 + static_cast<int>(y), art.palette.at(grid[y][x]));
  }
}
