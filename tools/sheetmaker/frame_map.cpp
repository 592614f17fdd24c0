#include "frame_map.h"

#include <algorithm>
#include <climits>

#include "figure_recipe.h"

std::string Paint::Arg(size_t i, const std::string& def) const {
  if (askedWords) askedWords->insert(i);
  size_t n = 0;
  for (const auto& a : args) {
    if (a.find('=') != std::string::npos) continue;
    if (n++ == i) return a;
  }
  return def;
}

std::string Paint::Word(size_t i, const std::string& what, std::initializer_list<const char*> values) const {
  try {
    return KnownWord(what, Arg(i, *values.begin()), values);
  } catch (const SourceError& e) {
    Fail(e.what());
  }
}

std::string Paint::Opt(const std::string& key, const std::string& def) const {
  if (asked) asked->insert(key);
  for (const auto& a : args)
    if (a.size() > key.size() && a.compare(0, key.size(), key) == 0 && a[key.size()] == '=') {
      if (a.size() == key.size() + 1) Fail(key + "= has no value");
      return a.substr(key.size() + 1);
    }
  return def;
}

namespace {

// A whole number within [low, high] (`what` names it), or the line is refused.
int WholeNumber(const Paint& p, const std::string& what, const std::string& v, int low, int high) {
  long long n = 0;
  if (!ReadWholeNumber(v, &n)) p.Fail(what + " wants a whole number, not " + DoubleQuotedBytes(v));
  if (n < low || n > high) p.Fail(what + " is " + std::to_string(low) + " to " + std::to_string(high) + ", not " + v);
  return static_cast<int>(n);
}

}  // namespace

int Paint::OptInt(const std::string& key, int def, int low, int high) const {
  const std::string v = Opt(key);
  return v.empty() ? def : WholeNumber(*this, key + "=", v, low, high);
}

float Paint::OptFloat(const std::string& key, float def) const {
  const std::string v = Opt(key);
  if (v.empty()) return def;
  try {
    return ReadFloat(v, key + "=");
  } catch (const SourceError& e) {
    Fail(e.what());
  }
}

int Paint::ArgInt(size_t i, int def, const std::string& what, int low, int high) const {
  const std::string v = Arg(i);
  return v.empty() ? def : WholeNumber(*this, what, v, low, high);
}

std::string Paint::Choice(const std::string& key, std::initializer_list<const char*> values) const {
  try {
    return OneOf(key, Opt(key, *values.begin()), values);
  } catch (const SourceError& e) {
    Fail(e.what());
  }
}

uint32_t Paint::Seed(int frame) const {
  uint32_t h = 2166136261u;
  for (const auto& a : args)
    for (char ch : a) h = (h ^ static_cast<uint8_t>(ch)) * 16777619u;
  return Hash(h, static_cast<uint32_t>(frame - first));
}

void Paint::Put(int frame, const Layer& l, int dx, int dy) const {
  const int x0 = grid.X(frame), y0 = grid.Y(frame);
  for (int y = 0; y < grid.frameHeight; ++y)
    for (int x = 0; x < grid.frameWidth; ++x) {
      canvas.Clear(x0 + x, y0 + y);
      const uint32_t p = l.Get(x - dx, y - dy);
      if (p != kClear) canvas.Put(x0 + x, y0 + y, p);
    }
}

void Paint::PutTiled(const Layer& l, int cols) const {
  for (int n = first; n <= last; ++n) {
    const int i = n - first;
    Put(n, l, -(i % cols) * grid.frameWidth, -(i / cols) * grid.frameHeight);
  }
}

void Paint::Fail(const std::string& message) const { throw SourceError(where + message); }

namespace {

// The frames a frame line's first word names, "57" or "57-60"; false for
// any other word.
bool ReadFrames(const std::string& word, long long* first, long long* last) {
  const size_t dash = word.find('-', 1);
  if (!ReadWholeNumber(word.substr(0, dash), first) || (dash != std::string::npos && !ReadWholeNumber(word.substr(dash + 1), last)))
    return false;
  if (dash == std::string::npos) *last = *first;
  return true;
}

// Whether words read as a whole line of a frame map, one a comment may hold
// joined to it (common/comment_joins.h): frames a painter draws, or, glued
// to the comment's text as a line written at the start of its line is, a
// sheet line or a recipe its builder takes.
bool IsFrameMapLine(const std::vector<std::string>& words, bool glued) {
  if (words.size() < 2) return false;
  int sheet = 0;
  long long first = 0, last = 0;
  if (words[0] == "sheet") return glued && words.size() == 2 && ReadSheetNumber(words[1], &sheet);
  if (words[0] == "recipe") {
    if (!glued) return false;
    try {
      CheckFigureRecipe({words.begin() + 1, words.end()}, false);
      return UnshownByte(words[1], false) == std::string::npos;
    } catch (const SourceError&) {
      return false;
    }
  }
  return ReadFrames(words[0], &first, &last) && first >= 0 && first <= last && Painters().count(words[1]) > 0;
}

}  // namespace

// Every line is read: each fault is reported; the lines after a refused
// sheet line (one whose first word may be "sheet", itself or before a
// damaged blank, or is no frame's nor a recipe's word, or one whose
// damaged byte may end a line before a sheet line: common/refused_lines.h)
// belong to no sheet. Every word is a name, a number or a key=value of
// them, of bytes the fonts show: a damaged byte in a painter's words is
// refused here, at its line, and never drawn as another word. A comment
// that holds a line joined to it is refused, and the line it holds counts
// as refused.
std::vector<FrameLine> ReadFrameMap(const std::string& path) {
  std::vector<std::string> source;
  if (!ReadSourceLines(path, &source)) throw SourceError(path + ": cannot open");
  std::vector<FrameLine> lines;
  SourceFaults<SourceError> faults;
  constexpr int kRefusedSheet = -2;
  const LineShape kSheetLine{"sheet", 2, 2};
  int sheet = -1;
  // A sheet line written out of use ("#heet 33"), whose frame lines would
  // be drawn on the sheet before it: the first of them refuses its line.
  std::string outOfUse, outOfUseWhere;
  for (const ReadLine& entry : SheetSourceLines(source, IsFrameMapLine)) {
    ReadingAt(path, entry.number);
    const CommentedLine cut = CutComment(entry.text);
    const std::string where = path + ":" + std::to_string(entry.number) + ": ";
    const std::vector<std::string> words = LineWords(cut.text);  // a damaged carriage return stays in its word
    const std::string first = words.empty() ? "" : words[0];
    if (words.empty() && !entry.joined) {
      const std::string heading = HeadingOutOfUse(cut.comment, {"sheet"}, [](std::string_view h) {
        return h.rfind("sheet", 0) == 0 && IsFrameMapLine(LineWords(h), true);
      });
      if (!heading.empty()) outOfUse = heading, outOfUseWhere = where;
    }
    if (first == "sheet") outOfUse.clear();
    if (!outOfUse.empty() && !first.empty() && first != "recipe") {
      faults.Keep([&] {
        throw SourceError(outOfUseWhere + OutOfUseMessage(outOfUse, "the lines after it would be drawn on the sheet before it"));
      });
      outOfUse.clear();
      sheet = kRefusedSheet;
    }
    const bool read = !entry.joined && faults.Keep([&] {
      CheckSourceLine(where, cut);
      CheckShownWords(where, cut.text);
      if (first.empty()) return;
      if (first == "recipe") {
        FrameLine line{-1, 0, 0, "recipe", {words.begin() + 1, words.end()}, where};
        if (line.args.empty()) throw SourceError(where + "a recipe needs a name");
        // Its name is a word of the lines that draw with it: what the fonts show.
        const size_t unshown = UnshownByte(line.args[0], false);
        if (unshown != std::string::npos) throw SourceError(where + UnshownByteMessage(first, line.args[0], unshown));
        lines.push_back(line);
        return;
      }
      if (first == "sheet") {
        sheet = kRefusedSheet;
        int number = 0;
        if (words.size() != 2 || !ReadSheetNumber(words[1], &number)) throw SourceError(where + "bad sheet number");
        sheet = number;
        return;
      }
      if (sheet == kRefusedSheet) return;
      if (sheet < 0) throw SourceError(where + "\"sheet N\" must come first");
      // No painter takes the words of a sheet line: one joined to this line
      // by its damaged line end (which drew its frames on this sheet).
      if (MayJoinLine(cut.text, cut.comment, kSheetLine)) throw SourceError(where + "a sheet line joined to a frame's");
      FrameLine line{sheet, -1, -1, "", {}, where};
      long long a = 0, b = 0;
      if (!ReadFrames(first, &a, &b)) throw SourceError(where + "expected a frame or a range of frames like 57-60");
      if (a < 0 || b < a || b > INT_MAX) throw SourceError(where + "bad range of frames");
      line.first = static_cast<int>(a);
      line.last = static_cast<int>(b);
      if (words.size() < 2) throw SourceError(where + "which painter draws these frames?");
      line.painter = words[1];
      line.args.assign(words.begin() + 2, words.end());
      lines.push_back(line);
    });
    if (read && !entry.joinFault.empty()) faults.Keep([&] { throw SourceError(where + entry.joinFault); });
    const bool unknown = !first.empty() && first != "recipe" && (first[0] < '0' || first[0] > '9');
    if (!read && (unknown || RefusedLineMayBegin(cut.text, cut.comment, kSheetLine))) sheet = kRefusedSheet;
  }
  faults.Throw();
  return lines;
}

namespace {

// The recipes of the maps by name (a name given twice by its last line).
std::map<std::string, std::vector<std::string>> Recipes(const std::vector<FrameLine>& lines) {
  std::map<std::string, std::vector<std::string>> recipes;
  for (const FrameLine& line : lines)
    if (line.painter == "recipe" && line.sheet < 0) recipes[line.args[0]].assign(line.args.begin() + 1, line.args.end());
  return recipes;
}

// The first plain word (not key=value) of a line's words: the recipe or the
// builder a figure's line names.
std::string FirstPlainWord(const std::vector<std::string>& words) {
  for (const std::string& w : words)
    if (w.find('=') == std::string::npos) return w;
  return "";
}

}  // namespace

void CheckRecipes(const std::vector<FrameLine>& lines, bool values, bool uses) {
  SourceFaults<SourceError> faults;
  std::set<std::string> given;
  for (const FrameLine& line : lines) {
    if (line.painter != "recipe" || line.sheet >= 0) continue;
    faults.Keep([&] {
      const std::string& name = line.args[0];
      if (!given.insert(name).second) throw SourceError(line.where + "recipe " + DoubleQuotedBytes(name) + " given twice");
      try {
        CheckFigureRecipe(line.args, values);
      } catch (const SourceError& e) {
        throw SourceError(line.where + e.what());
      }
      // A recipe no line draws with may be one whose name was damaged.
      if (uses && std::none_of(lines.begin(), lines.end(), [&](const FrameLine& l) {
            return l.sheet >= 0 && l.painter == "figure" && FirstPlainWord(l.args) == name;
          }))
        throw SourceError(line.where + "recipe " + DoubleQuotedBytes(name) + " draws no figure");
    });
  }
  faults.Throw();
}

const PainterMap& Painters() {
  static const PainterMap painters = [] {
    PainterMap m;
    AddGroundPainters(m);
    AddWallPainters(m);
    AddDecorPainters(m);
    AddObjectPainters(m);
    AddFigurePainters(m);
    AddEffectPainters(m);
    AddIconPainters(m);
    AddPicturePainters(m);
    return m;
  }();
  return painters;
}

// Every line of the sheet is drawn: each fault is reported, with its line.
void DrawFrameMap(Canvas& c, const FrameGrid& g, int sheet, const std::vector<FrameLine>& lines,
                  std::map<int, std::string>* owners) {
  const PainterMap& painters = Painters();
  SourceFaults<SourceError> faults;
  const auto recipes = Recipes(lines);
  for (const FrameLine& line : lines) {
    if (line.sheet != sheet) continue;
    faults.Keep([&] {
      if (line.last >= g.Count())
        throw SourceError(line.where + "frame " + std::to_string(line.last) + " lies beyond sheet " + std::to_string(sheet));
      for (int n = line.first; n <= line.last; ++n) {
        if (owners->count(n))
          throw SourceError(line.where + "frame " + std::to_string(n) + " is also drawn by " + (*owners)[n]);
      }
      auto it = painters.find(line.painter);
      if (it == painters.end()) throw SourceError(line.where + "no painter " + DoubleQuotedBytes(line.painter));
      // A refused line draws no frame: its frames are another's to draw
      // (a damaged frame number is not found twice).
      const std::string drawer = line.where.substr(0, line.where.rfind(": "));  // "file:line"
      for (int n = line.first; n <= line.last; ++n) (*owners)[n] = drawer;
      auto refused = [&] {
        for (int n = line.first; n <= line.last; ++n) owners->erase(n);
      };
      std::set<std::string> asked;
      std::set<size_t> askedWords;
      Paint p{c, g, line.first, line.last, line.args, line.where, &recipes, &asked, &askedWords};
      try {
        it->second(p);
      } catch (const SourceError& e) {
        refused();
        // A fault found below the painter is named by its line.
        const std::string what = e.what();
        throw SourceError(what.rfind(line.where, 0) == 0 ? what : line.where + what);
      }
      // A word the painter never asked for, a setting or a plain word (a
      // key=value whose '=' was lost among them), is one it does not know.
      size_t plain = 0;
      for (const std::string& a : line.args) {
        const size_t eq = a.find('=');
        if (eq != std::string::npos && !asked.count(a.substr(0, eq))) {
          refused();
          throw SourceError(line.where + "painter " + line.painter + " takes no " + DoubleQuotedBytes(a.substr(0, eq) + "="));
        }
        if (eq == std::string::npos && !askedWords.count(plain++)) {
          refused();
          throw SourceError(line.where + "painter " + line.painter + " takes no word " + DoubleQuotedBytes(a));
        }
      }
    });
  }
  faults.Throw();
}
