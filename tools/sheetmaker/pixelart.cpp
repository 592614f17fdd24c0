#include <algorithm>
#include <cctype>
#include <climits>
#include <map>
#include <set>
#include <utility>
#include <vector>

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

// Whether words read as a whole line of the pixel art that holds words of
// its own kind, one a comment may hold joined to it (common/comment_joins.h):
// a palette's letter and colour, or, glued to the comment's text as a line
// written at the start of its line is, a sheet or frame line. (A row,
// "palette" and "end" may be words of a comment; a row and an end joined to
// one are told by the frame and the palette they are missing from.)
bool IsPixelArtLine(const std::vector<std::string>& words, bool glued) {
  if (words.size() < 2) return false;
  int sheet = 0;
  long long n = 0;
  unsigned long long colour = 0;
  if (words[0] == "sheet") return glued && words.size() == 2 && ReadSheetNumber(words[1], &sheet);
  if (words[0] == "frame") {
    if (!glued) return false;
    if (!ReadWholeNumber(words[1], 0, INT_MAX, &n)) return false;
    if (words.size() == 2) return true;
    if (words.size() < 5 || words[2] != "=" || !ReadWholeNumber(words[4], 0, INT_MAX, &n)) return false;
    if (words[3] == "flipx" || words[3] == "flipy" || words[3] == "transpose" || words[3] == "rot90") return words.size() == 5;
    return words[3] == "recolour" && words.size() > 5 &&
           std::all_of(words.begin() + 5, words.end(), [](const std::string& pair) { return pair.size() == 3 && pair[1] == '='; });
  }
  return words.size() == 2 && words[0].size() == 1 && std::isalnum(static_cast<unsigned char>(words[0][0])) &&
         words[1].size() == 8 && ReadHexNumber(words[1], &colour);
}

// Where a frame line's comment ends in a row of the frame joined to it:
// its last `width` bytes (the width of the frame's rows), letters of
// `palette` or '.', after text of the comment's own; for a frame with no
// row of its own (`width` 0), which is refused without one, as many such
// bytes as end it, at most `most`. std::string::npos when it does not.
size_t JoinedRowAt(const std::string& comment, size_t width, size_t most, const std::map<char, uint32_t>& palette) {
  auto drawn = [&](char c) { return c == '.' || palette.count(c) > 0; };
  if (width == 0)
    while (width < most && width < comment.size() && drawn(comment[comment.size() - 1 - width])) ++width;
  if (width == 0 || comment.size() <= width) return std::string::npos;
  const size_t at = comment.size() - width;
  if (comment.find_first_not_of(" \t#") >= at || !std::all_of(comment.begin() + static_cast<std::ptrdiff_t>(at), comment.end(), drawn))
    return std::string::npos;
  return at;
}

}  // namespace

// Every line is read: each fault is reported. A refused line counts as what
// its first word may be (common/shown_bytes.h), or the line its damaged
// byte may end (common/refused_lines.h): a refused sheet line opens a sheet
// of no number, a refused frame line gives its frame (a frame derived from
// it is not refused for the want of it), and a refused end line closes the
// palette. The lines after a refused line are passed over to the next line
// that begins a sheet, a palette, a frame or ends a palette, or a blank
// line: a frame's rows, or a palette's letters, which the sheet's palette
// then may hold whatever they are. A palette letter is a letter or a digit
// (a damaged one is refused at its line, not at each row that draws the one
// meant), each drawn by a row or a recolouring; a letter they draw that the
// palette lacks is refused at their line. A comment that holds a line
// joined to it is refused, and the line it holds counts as refused; so is
// a frame line's comment that ends in a row of the frame, a row's comment
// that is a row as wide as it, and a palette letter's comment that ends in
// "end" where the palette has no end.
std::vector<PixelArt> ReadPixelArt(const std::string& path) {
  std::vector<std::string> source;
  if (!ReadSourceLines(path, &source)) throw SourceError(path + ": cannot open");
  std::vector<PixelArt> sheets;
  SourceFaults<SourceError> faults;
  int number = 0;
  enum { kTop, kPalette, kRows, kPassedOver } state = kTop;
  int frame = -1;
  // The line and comment of the frame whose rows are read, and of the last
  // letter of the palette being read.
  int frameLine = 0, letterLine = 0;
  std::string frameComment, letterComment;
  // Sheets any of whose frames a refused line may have given.
  std::set<size_t> unreadFrames;
  // Sheets whose palette may hold any letter: a line of it was refused; and
  // sheets with a refused line.
  std::set<size_t> anyLetter, refusedSheets;
  // The lines of each sheet's palette letters, and the letters its rows and
  // recolourings draw, by line: checked against each other at the end.
  std::map<size_t, std::map<char, int>> letterLines;
  std::map<size_t, std::map<int, std::string>> drawn;
  auto where = [&]() { return path + ":" + std::to_string(number) + ": "; };
  auto joined = [&](int line, const std::string& comment, size_t at) {
    faults.Keep([&] { throw SourceError(path + ":" + std::to_string(line) + ": " + JoinedLineMessage(comment, at)); });
  };
  auto current = [&]() -> PixelArt& {
    if (sheets.empty()) throw SourceError(where() + "\"sheet N\" must come first");
    return sheets.back();
  };
  // The rows of the frame being read, by line: as wide as most of them, the
  // others refused as they end (the first may be the damaged one).
  std::vector<int> rows;
  auto FrameEnds = [&]() {
    state = kTop;
    std::map<size_t, int> widths;
    std::map<int, std::string>& letters = drawn[sheets.size() - 1];
    size_t width = 0;  // the most rows', the first row's among as many
    for (const int line : rows)
      if (++widths[letters[line].size()] > widths[width]) width = letters[line].size();
    // A first row joined to the frame line's comment: its letters are drawn.
    const int sheet = sheets.back().sheet;
    const size_t most = sheet < 0 ? 0 : static_cast<size_t>(SheetFormatFor(sheet).frameWidth);
    if (const size_t at = JoinedRowAt(frameComment, width, most, sheets.back().palette); at != std::string::npos) {
      joined(frameLine, frameComment, at);
      letters[frameLine] += frameComment.substr(at);
      refusedSheets.insert(sheets.size() - 1);
    }
    frameComment.clear();
    Grid& grid = sheets.back().frames[frame];
    for (const int line : rows) {
      if (letters[line].size() == width) {
        grid.push_back(letters[line]);
        continue;
      }
      faults.Keep([&] {
        throw SourceError(path + ":" + std::to_string(line) + ": row of frame " + std::to_string(frame) +
                          " is not as wide as the others");
      });
      letters.erase(line);
    }
    rows.clear();
  };
  auto heading = [](const std::string& word) { return word == "sheet" || word == "palette" || word == "frame" || word == "end"; };
  // A sheet, palette or frame line written out of use ("#rame 0"), whose
  // lines would be read in the block before it: the first of them refuses
  // its line, and they are passed over as a refused line's.
  std::string outOfUse, outOfUseWord;
  // The frames written out of use, by sheet (its count) and frame: where, and the frame line.
  std::map<std::pair<size_t, long long>, std::pair<std::string, std::string>> framesOutOfUse;
  for (const ReadLine& entry : SheetSourceLines(source, IsPixelArtLine)) {
    number = entry.number;
    ReadingAt(path, number);
    const CommentedLine cut = CutComment(entry.text);
    const std::vector<std::string> words = LineWords(cut.text);  // a damaged carriage return stays in its word
    const std::string first = words.empty() ? "" : words[0];
    if (words.empty() || first == "sheet" || first == "frame") outOfUse.clear();
    if (words.empty() && !entry.joined) {
      const std::string written = HeadingOutOfUse(cut.comment, {"sheet", "palette", "frame"}, [](std::string_view h) {
        const std::vector<std::string> w = LineWords(h.substr(0, h.find('#')));
        if (w.empty()) return false;
        return w[0] == "sheet" || w[0] == "frame" ? IsPixelArtLine(w, true) : w[0] == "palette" && w.size() == 1;
      });
      if (!written.empty()) {
        const std::string heading = TrimBlanks(std::string_view(written).substr(0, written.find('#')));
        outOfUse = where() + OutOfUseMessage(heading);
        const std::vector<std::string> w = LineWords(heading);
        outOfUseWord = w[0];
        long long frame = 0;
        if (w[0] == "frame" && ReadWholeNumber(w[1], 0, INT_MAX, &frame))
          framesOutOfUse[{sheets.size(), frame}] = {where(), heading};
      }
    }
    if (!outOfUse.empty() && !words.empty()) {
      faults.Keep([&] {
        throw SourceError(outOfUse);
      });
      if (state == kRows) FrameEnds();
      if (outOfUseWord == "sheet" || sheets.empty()) sheets.emplace_back();  // a sheet of no number
      const size_t at = sheets.size() - 1;
      refusedSheets.insert(at);
      anyLetter.insert(at);
      unreadFrames.insert(at);
      outOfUse.clear();
      state = kPassedOver;
      continue;
    }
    if (state == kPassedOver) {
      if (words.empty()) {
        state = kTop;
      } else if (!heading(first)) {
        // A letter line of a palette whose line was refused: its letters are any.
        if (words.size() > 1 && !sheets.empty()) anyLetter.insert(sheets.size() - 1);
        continue;
      } else {
        state = first == "end" ? kPalette : kTop;
      }
    }
    // A frame's rows end at a blank line, or at a line that begins another
    // (the blank line before it joined to the last row).
    if (state == kRows && heading(first)) FrameEnds();
    // A palette that a sheet or frame line ends without its end: its last
    // letter's comment may hold the end.
    if (state == kPalette && (first == "sheet" || first == "frame")) {
      const size_t at = letterComment.size() > 3 && letterComment.compare(letterComment.size() - 3, 3, "end") == 0
                            ? letterComment.size() - 3
                            : std::string::npos;
      if (at != std::string::npos && letterComment.find_first_not_of(" \t#") < at) {
        joined(letterLine, letterComment, at);
        state = kTop;
      }
    }
    const auto before = state;
    const size_t sheetsBefore = sheets.size();
    const bool read = !entry.joined && faults.Keep([&] {
      CheckSourceLine(where(), cut);
      if (state == kRows) {
        if (words.empty()) {
          FrameEnds();
          return;
        }
        if (words.size() != 1) throw SourceError(where() + "a row is one word of letters");
        // A row's comment that is a row as wide as it: the row after it,
        // its line end turned into the comment's mark.
        const PixelArt& art = current();
        const std::string held = CommentText(cut.comment);
        if (held.size() == words[0].size() &&
            std::all_of(held.begin(), held.end(), [&](char c) { return c == '.' || art.palette.count(c) > 0; }))
          throw SourceError(where() + JoinedLineMessage(cut.comment, cut.comment.find(held)));
        drawn[sheets.size() - 1][number] = words[0];
        rows.push_back(number);
        return;
      }
      if (words.empty()) return;
      // A comment that is "palette" or "end" alone: that line, the line end
      // before it turned into the comment's mark.
      const std::string held = CommentText(cut.comment);
      if (held == "palette" || held == "end")
        throw SourceError(where() + JoinedLineMessage(cut.comment, cut.comment.find(held)));
      // Every word of a line but a row is a name, a number or a colour: what
      // the fonts show.
      CheckShownWords(where(), cut.text);
      if (state == kPalette) {
        if (first == "end") {
          if (words.size() != 1) throw SourceError(where() + "\"end\" takes no words");
          state = kTop;
          return;
        }
        // A letter is a byte the fonts show, as a word of every source is.
        const size_t unshown = UnshownByte(first, false);
        if (unshown != std::string::npos) throw SourceError(where() + UnshownByteMessage("", first, unshown));
        unsigned long long colour = 0;
        if (words.size() != 2 || first.size() != 1 || !std::isalnum(static_cast<unsigned char>(first[0])) ||
            words[1].size() != 8 || !ReadHexNumber(words[1], &colour))
          throw SourceError(where() + "palette lines are a letter or digit and an 8-digit AARRGGBB colour");
        if (current().palette.count(first[0])) throw SourceError(where() + "letter " + QuotedBytes(first) + " given twice");
        current().palette[first[0]] = static_cast<uint32_t>(colour);
        letterLines[sheets.size() - 1][first[0]] = number;
        letterLine = number;
        letterComment = cut.comment;
        return;
      }
      if (first == "sheet") {
        PixelArt& art = sheets.emplace_back();
        if (words.size() != 2 || !ReadSheetNumber(words[1], &art.sheet)) throw SourceError(where() + "bad sheet number");
      } else if (first == "palette") {
        current();
        if (words.size() != 1) throw SourceError(where() + "\"palette\" takes no words");
        state = kPalette;
        letterComment.clear();
      } else if (first == "frame") {
        PixelArt& art = current();
        long long read = 0;
        if (words.size() < 2 || !ReadWholeNumber(words[1], 0, INT_MAX, &read)) throw SourceError(where() + "bad frame number");
        frame = static_cast<int>(read);
        if (art.frames.count(frame)) throw SourceError(where() + "frame " + std::to_string(frame) + " given twice");
        if (words.size() == 2) {
          art.frames[frame];
          state = kRows;
          rows.clear();
          frameLine = number;
          frameComment = cut.comment;
          return;
        }
        const std::string op = words.size() > 3 ? words[3] : "";
        long long given = -1;
        const bool recolour = op == "recolour";
        if (words[2] != "=" || words.size() < 5 || !ReadWholeNumber(words[4], 0, INT_MAX, &given) ||
            (!recolour && words.size() != 5))
          throw SourceError(where() + "expected \"frame N\" or \"frame N = OPERATION M\"");
        const int from = static_cast<int>(given);
        auto it = art.frames.find(from);
        if (it == art.frames.end() && unreadFrames.count(sheets.size() - 1)) return;
        // A frame written out of use: its line is the one damaged.
        const auto out = framesOutOfUse.find({sheets.size(), from});
        if (it == art.frames.end() && out != framesOutOfUse.end())
          throw SourceError(out->second.first +
                            OutOfUseMessage(out->second.second, "frame " + std::to_string(frame) + " (line " +
                                                                    std::to_string(number) + ") is drawn from it"));
        if (it == art.frames.end())
          throw SourceError(where() + "frame " + std::to_string(from) + " must be given before it is used");
        Grid g = it->second;
        if (op == "flipx") g = FlipX(g);
        else if (op == "flipy") g = FlipY(g);
        else if (op == "transpose") g = Transpose(g);
        else if (op == "rot90") g = Rot90(g);
        else if (recolour) {
          if (words.size() == 5) throw SourceError(where() + "recolour needs at least one pair");
          Grid out = g;  // pairs read the original, so they never chain
          for (size_t w = 5; w < words.size(); ++w) {
            const std::string& pair = words[w];
            if (pair.size() != 3 || pair[1] != '=') throw SourceError(where() + "recolour takes palette pairs like w=g");
            drawn[sheets.size() - 1][number] += std::string{pair[0], pair[2]};
            for (size_t y = 0; y < g.size(); ++y)
              for (size_t x = 0; x < g[y].size(); ++x)
                if (g[y][x] == pair[0]) out[y][x] = pair[2];
          }
          g = out;
        } else {
          throw SourceError(where() + "unknown operation " + DoubleQuotedBytes(op));
        }
        art.frames[frame] = g;
      } else {
        throw SourceError(where() + "unknown line " + DoubleQuotedBytes(TrimSpaces(cut.text)));
      }
    });
    if (read && !entry.joinFault.empty()) faults.Keep([&] { throw SourceError(where() + entry.joinFault); });
    if (read) continue;
    // What the refused line may be, itself or the line its damaged byte may end.
    // Its lines' shapes: "sheet N", "palette", "end", "frame N" or "frame N = OPERATION M ...".
    auto mayBe = [&](const char* word) {
      const std::string_view w = word;
      const size_t words = w == "sheet" ? 2 : w == "frame" ? SIZE_MAX : 1;
      return RefusedLineMayBegin(cut.text, cut.comment, {w, std::min<size_t>(words, 2), words});
    };
    if (before == kTop && mayBe("sheet") && sheets.size() == sheetsBefore) sheets.emplace_back();
    if (sheets.empty()) sheets.emplace_back();  // a sheet of no number, which the lines after belong to
    const size_t at = sheets.size() - 1;
    refusedSheets.insert(at);
    // A line of a palette, or one that may begin a palette or be any line.
    const bool known = mayBe("sheet") || mayBe("frame");
    if (before == kPalette || (before == kTop && (!known || mayBe("palette")))) anyLetter.insert(at);
    // A frame a refused line may give, whatever its number, is given: a
    // frame derived from any is not refused for the want of it.
    if (mayBe("frame") || (before == kTop && !known)) unreadFrames.insert(at);
    state = kPassedOver;
    if (mayBe("end")) state = kTop;
  }
  if (state == kRows) FrameEnds();
  // The letters drawn against the palettes: each letter drawn is one of
  // its palette's, and each of these is drawn. A letter the palette lacks is
  // one fault, at the first line that draws it; drawn on several lines
  // beside a letter of the palette that no row draws, it is one fault at
  // that letter's line, the one damaged ("k" made "q": a damaged row draws
  // it on its own line alone).
  for (size_t at = 0; at < sheets.size(); ++at) {
    if (anyLetter.count(at)) continue;
    const PixelArt& art = sheets[at];
    std::string all;
    std::map<char, std::vector<int>> missing;  // the lines that draw each letter the palette lacks
    for (const auto& [line, letters] : drawn[at]) {
      all += letters;
      std::set<char> said;
      for (const char c : letters)
        if (c != '.' && !art.palette.count(c) && said.insert(c).second) missing[c].push_back(line);
    }
    std::vector<std::pair<char, int>> undrawn;  // the letters of the palette no row draws, and their lines
    for (const auto& [c, line] : letterLines[at])
      if (all.find(c) == std::string::npos) undrawn.push_back({c, line});
    auto letter = [](char c) { return QuotedBytes(std::string(1, c)); };
    size_t paired = 0;
    for (const auto& [c, lines] : missing)
      faults.Keep([&, c = c, &lines = lines] {
        const std::string first = std::to_string(lines[0]);
        const std::string drawnAt =
            lines.size() == 1 ? "line " + first : std::to_string(lines.size()) + " lines from line " + first;
        if (lines.size() > 1 && paired < undrawn.size()) {
          const auto [near, line] = undrawn[paired++];
          throw SourceError(path + ":" + std::to_string(line) + ": no row draws " + letter(near) + ", and " + letter(c) +
                            ", which the palette lacks, is drawn (" + drawnAt + "): the letter meant?");
        }
        throw SourceError(path + ":" + std::to_string(lines[0]) + ": letter " + letter(c) + " is not in the palette" +
                          (lines.size() == 1 ? "" : " (" + drawnAt + " draw it)"));
      });
    // A letter no row draws, unless a row's damage took its place, or a
    // refused line (its rows passed over) may draw it.
    if (missing.empty() && !refusedSheets.count(at))
      for (const auto& [c, line] : undrawn)
        faults.Keep([&, c = c, line = line] {
          throw SourceError(path + ":" + std::to_string(line) + ": no row draws " + letter(c));
        });
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
