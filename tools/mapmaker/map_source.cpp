#include "mapmaker/map_source.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>
#include <list>
#include <map>
#include <set>
#include <tuple>

#include "adventure/encounter_tables.h"
#include "common/comment_joins.h"
#include "common/shown_bytes.h"
#include "common/source_bytes.h"
#include "common/source_faults.h"
#include "common/source_lines.h"
#include "common/source_numbers.h"
#include "common/tool_files.h"
#include "engine/music.h"

namespace {

struct LayerName {
  const char* name;
  int layer;
};
const LayerName kLayerNames[] = {
    {"ground", kLayerGround},     {"floor", kLayerFloor},       {"walls", kLayerWalls},
    {"events", kLayerEvents},     {"objects0", kLayerObjects0}, {"objects1", kLayerObjects1},
    {"objects2", kLayerObjects2}, {"objects3", kLayerObjects3},
};

int FindLayer(const std::string& name) {
  for (const auto& l : kLayerNames)
    if (name == l.name) return l.layer;
  return -1;
}

std::string FindLayerName(int layer) {
  for (const auto& l : kLayerNames)
    if (layer == l.layer) return l.name;
  return "";
}

// The codes each layer may hold.
struct CodeRange {
  long long low, high;
};
CodeRange LayerRange(int layer, bool worldMap) {
  switch (layer) {
    case kLayerGround:
    case kLayerFloor:
      return {0, 9999};
    case kLayerWalls:
      return {-1, 9999};
    case kLayerEvents:
      return worldMap ? CodeRange{0, 20} : CodeRange{0, 999};
    default:
      return {0, 999999};
  }
}

// A code that entering the map turns into another picture: the well of the
// ground sheet (75) becomes 112, the bones of the objects sheet.
std::string Misdrawn(int layer, bool worldMap, long long code) {
  if (layer == kLayerWalls && !worldMap && code == 75)
    return "wall 75 turns into 112 (bones) when the party enters the map: a well is 113";
  return "";
}

// A whole number of 32 bits, read whole (a zero byte and junk after the
// digits are no number, nor is a carriage return before them).
bool ParseInt(const std::string& s, long long* out) { return ReadWholeNumber(s, INT32_MIN, INT32_MAX, out); }

// A key's character: one that is drawn in a row, from '!' to '~'.
bool KeyCharacter(char c) { return c > ' ' && c < 127; }

struct HeaderField {
  const char* key;
  int32_t MapRecord::*field;
  long long low, high;
};
const HeaderField kHeaderFields[] = {
    {"number", &MapRecord::scriptMapNumber, 0, 9999},
    {"width", &MapRecord::width, 1, kMapSide},
    {"height", &MapRecord::height, 1, kMapSide},
    {"music", &MapRecord::musicTrack, 0, kMusicTrackCount - 1},
    {"encounters", &MapRecord::encounterTable, 0, kEncounterRegions - 1},
    {"rain", &MapRecord::rain, 0, 1},
    {"lit", &MapRecord::lit, 0, 1},
    {"alarm", &MapRecord::alarm, 0, 1},
    {"cleared", &MapRecord::cleared, 0, 1},
    {"most groups", &MapRecord::mostGroups, 0, kMostMonsterGroups},
    {"fewest groups", &MapRecord::fewestGroups, 0, kMostMonsterGroups},
    {"kind", &MapRecord::mapKind, 0, 99},
    {"local map x", &MapRecord::localMapX, 0, kMapSide - 1},
    {"local map y", &MapRecord::localMapY, 0, kMapSide - 1},
    {"local map", &MapRecord::localMapAvailable, 0, 1},
    {"spell flag", &MapRecord::spellFlag, 0, 1},
};

// Whether a text reads whole as a line that may follow a comment: a
// header field with its value, a layer's heading or a square line.
bool IsMapLine(std::string_view text) {
  const std::string t = TrimSpaces(text);
  const std::vector<std::string> words = LineWords(t);
  long long n = 0;
  if (words.empty()) return false;
  if (words[0] == "layer") return words.size() == 2 && FindLayer(words[1]) >= 0;
  if (words[0] == "square")
    return words.size() == 5 && FindLayer(words[1]) >= 0 && ParseInt(words[2], &n) && ParseInt(words[3], &n) &&
           ParseInt(words[4], &n);
  const size_t colon = t.find(':');
  if (colon == std::string::npos) return false;
  const std::string key = TrimSpaces(t.substr(0, colon)), value = TrimSpaces(t.substr(colon + 1));
  for (const auto& f : kHeaderFields)
    if (key == f.key) return ParseInt(value, &n);
  return (key == "name" || key == "text") && !value.empty();
}

class Compiler {
 public:
  Compiler(const std::string& file, bool worldMap, MapRecord* out) : file_(file), world_(worldMap), map_(out) {
    const std::string name = MapOutputName(file);
    if (!worldMap && name.rfind("Map", 0) == 0) fileNumber_ = std::stoi(name.substr(3, name.size() - 7));
  }

  void Run(const std::string& text) {
    std::memset(map_, 0, sizeof *map_);
    // A map whose header gives no number is known by its file's.
    map_->scriptMapNumber = std::max(fileNumber_, 0);
    for (const std::string& line : SourceLines(text)) {
      ++lineNo_;
      ReadingAt(file_, lineNo_);
      ReadLine(line);
    }
    ReadingAt(file_, 0);
    Finish();
  }

  LineFaults faults;

 private:

  struct Row {
    int line;
    std::string squares;
  };
  struct Key {
    int line;
    int32_t code;
  };
  struct Layer {
    int layer = 0, line = 0, endLine = 0;
    std::string name;
    std::map<char, Key> keys;
    std::vector<Row> rows;
    int twiceLine = 0;  // the line of a key given a second time, 0 none
    char twice = 0;
  };
  struct SquareSet {
    int line, layer, x, y;
    int32_t code;
  };
  struct Field {
    int line;
    long long value;
  };

  // A line's own fault: the line is refused whole, and the lines after it
  // are passed over up to the next line that begins or ends a layer.
  void Refuse(const std::string& message) {
    faults.Line(file_, lineNo_, message);
    passing_ = true;
  }
  void Between(int line, const std::string& message) { faults.Between(file_, line, message); }

  void ReadLine(const std::string& raw) {
    if (const size_t at = RefusedLineByte(raw, true, false); at != std::string::npos)
      return Refuse(RefusedLineByteMessage(raw, at, open_ ? std::string::npos : kCommentFirstWord));
    const std::string t = TrimSpaces(raw);
    if (t.empty()) return;
    const std::vector<std::string> words = LineWords(t);
    const bool heading = words.size() == 2 && words[0] == "layer", end = t == "end";
    if (passing_) {
      if (!heading && !end) return;
      passing_ = false;
      open_ = nullptr;
      if (end) return;
    }
    if (heading) open_ = nullptr;  // a layer's heading ends the layer before, which has no 'end'
    // A line of words after a layer's last row is the first line after the
    // layer, whose 'end' is lost (a line end damaged joins it to that row).
    if (open_ && words.size() > 1 && words[0] != "key" && seen_.count("height") &&
        open_->rows.size() >= static_cast<size_t>(map_->height))
      open_ = nullptr;
    if (open_) return LayerLine(t, words);
    if (t[0] == '#') {  // a comment, which holds no whole line of a map
      if (const size_t at = JoinedLineAt(t, IsMapLine); at != std::string::npos) Refuse(JoinedLineMessage(t, at));
      // A layer's heading written out of use leaves its lines to the header.
      const std::string heading =
          HeadingOutOfUse(t, {"layer"}, [](std::string_view h) { return h.rfind("layer", 0) == 0 && IsMapLine(h); });
      if (!heading.empty()) faults.OutOfUse(file_, lineNo_, heading);
      return;
    }
    if (words[0] == "layer") {
      faults.BlockBegins(file_, lineNo_);
      return StartLayer(words);
    }
    faults.LineOfWords(file_, lineNo_);
    if (words[0] == "square") return SquareLine(words);
    HeaderLine(t);
  }

  // "field: value", one field a line.
  void HeaderLine(const std::string& t) {
    const size_t colon = t.find(':');
    if (colon == std::string::npos)
      return Refuse("expected 'field: value', 'layer NAME' or 'square LAYER X Y CODE': " + QuotedBytes(t));
    const std::string key = TrimSpaces(t.substr(0, colon));
    const std::string value = TrimSpaces(t.substr(colon + 1));
    const HeaderField* field = nullptr;
    for (const auto& f : kHeaderFields)
      if (key == f.key) field = &f;
    if (!field && key != "name" && key != "text") return Refuse("unknown header field " + QuotedBytes(key));
    if (!field) {
      if (value.empty()) return Refuse(QuotedBytes(key) + " has no value");
      // The name and the text hold only what the game's fonts show (a zero
      // byte would cut them).
      if (const size_t unshown = UnshownByte(value, false); unshown != std::string::npos)
        return Refuse(UnshownByteMessage(key, value, unshown));
      // A line end lost after it joins the next line to it: "... leads out.number: 5".
      if (const size_t at = HeldLineAt(value, IsMapLine); at != std::string::npos)
        return Refuse(JoinedLineMessage(value, at, "the " + key));
      if (key == "name" && value.size() > static_cast<size_t>(kMapNameShown))
        return Refuse("the name is longer than the " + std::to_string(kMapNameShown) + " characters the local map shows");
    }
    long long v = 0;
    if (field && !ParseInt(value, &v))
      return Refuse(QuotedBytes(key) + " needs a whole number from " + std::to_string(field->low) + " to " +
                    std::to_string(field->high) + ", not " + QuotedBytes(value));
    if (field && (v < field->low || v > field->high))
      return Refuse(QuotedBytes(key) + " is " + value + ", outside " + std::to_string(field->low) + " to " +
                    std::to_string(field->high));
    // The scripts know a map by the number of its file (Map5.txt is map 5).
    if (key == "number" && fileNumber_ >= 0 && v != fileNumber_)
      return Refuse("'number' is " + value + ", but " + FileName() + " is map " + std::to_string(fileNumber_));
    if (key == "text") {
      // Several text lines join with a space.
      text_ = text_.empty() ? value : text_ + " " + value;
      if (text_.size() > sizeof map_->text - 1)
        Between(lineNo_, "the text is longer than " + std::to_string(sizeof map_->text - 1) + " characters");
      else
        std::strcpy(map_->text, text_.c_str());
      seen_[key] = {lineNo_, 0};
      return;
    }
    if (seen_.count(key)) return Between(lineNo_, QuotedBytes(key) + " is given twice");
    seen_[key] = {lineNo_, v};
    if (key == "name") std::strcpy(map_->name, value.c_str());
    else map_->*field->field = static_cast<int32_t>(v);
  }

  // "layer NAME" begins a layer's block, which "end" ends.
  void StartLayer(const std::vector<std::string>& words) {
    if (words.size() != 2) return Refuse("expected 'layer NAME'");
    const int layer = FindLayer(words[1]);
    if (layer < 0)
      return Refuse("unknown layer " + QuotedBytes(words[1]) + " (ground, floor, walls, events, objects0 to objects3)");
    layers_.emplace_back();
    open_ = &layers_.back();
    open_->layer = layer;
    open_->line = lineNo_;
    open_->name = words[1];
    if (firstBlockLine_ == 0) firstBlockLine_ = lineNo_;
    if (firstLayerLine_ == 0) firstLayerLine_ = lineNo_;
    for (const Layer& l : layers_)
      if (&l != open_ && l.layer == layer) return Between(lineNo_, "layer " + QuotedBytes(words[1]) + " is drawn twice");
  }

  // A line of a layer: a key before its rows, a drawn row (one word), or its end.
  void LayerLine(const std::string& t, const std::vector<std::string>& words) {
    if (t == "end") {
      open_->endLine = lineNo_;
      open_ = nullptr;
      return;
    }
    if (words[0] == "key" && open_->rows.empty()) return KeyLine(words);
    if (words.size() > 1) return Refuse("expected 'key C CODE' before the rows, a row of " + std::to_string(map_->width) +
                                        " squares or 'end': " + QuotedBytes(t));
    open_->rows.push_back({lineNo_, t});
  }

  // "key C CODE": the code the character C draws in the layer.
  void KeyLine(const std::vector<std::string>& words) {
    if (words.size() != 3 || words[1].size() != 1) return Refuse("expected 'key C CODE' with one character C");
    const std::string& ch = words[1];
    const std::string& code = words[2];
    if (!KeyCharacter(ch[0])) return Refuse("key " + QuotedBytes(ch) + ": a key's character is one from '!' to '~'");
    long long v = 0;
    const CodeRange r = LayerRange(open_->layer, world_);
    if (!ParseInt(code, &v))
      return Refuse("key " + QuotedBytes(ch) + " needs a whole-number code from " + std::to_string(r.low) + " to " +
                    std::to_string(r.high) + " for layer " + QuotedBytes(open_->name) + ", not " + QuotedBytes(code));
    if (v < r.low || v > r.high)
      return Refuse("code " + code + " of key " + QuotedBytes(ch) + " is outside " + std::to_string(r.low) + " to " +
                    std::to_string(r.high) + " for layer " + QuotedBytes(open_->name));
    if (!Misdrawn(open_->layer, world_, v).empty()) return Refuse("key " + QuotedBytes(ch) + ": " + Misdrawn(open_->layer, world_, v));
    if (!open_->keys.emplace(ch[0], Key{lineNo_, static_cast<int32_t>(v)}).second && open_->twiceLine == 0) {
      open_->twiceLine = lineNo_;
      open_->twice = ch[0];
    }
  }

  // "square LAYER X Y CODE".
  void SquareLine(const std::vector<std::string>& words) {
    if (words.size() != 5) return Refuse("expected 'square LAYER X Y CODE'");
    const std::string &name = words[1], &xs = words[2], &ys = words[3], &code = words[4];
    const int layer = FindLayer(name);
    long long x = 0, y = 0, v = 0;
    if (layer < 0)
      return Refuse("unknown layer " + QuotedBytes(name) + " (ground, floor, walls, events, objects0 to objects3)");
    const CodeRange r = LayerRange(layer, world_);
    if (!ParseInt(xs, &x) || !ParseInt(ys, &y) || !ParseInt(code, &v))
      return Refuse("'square' needs whole numbers: X and Y 0 to " + std::to_string(kMapSide - 1) + ", CODE " +
                    std::to_string(r.low) + " to " + std::to_string(r.high) + " for layer " + QuotedBytes(name));
    if (v < r.low || v > r.high)
      return Refuse("code " + code + " is outside " + std::to_string(r.low) + " to " + std::to_string(r.high) +
                    " for layer " + QuotedBytes(name));
    if (!Misdrawn(layer, world_, v).empty()) return Refuse(Misdrawn(layer, world_, v));
    if (x < 0 || y < 0 || x >= kMapSide || y >= kMapSide)
      return Refuse("square (" + xs + ", " + ys + ") is outside the " + std::to_string(kMapSide) + " x " +
                    std::to_string(kMapSide) + " grid");
    if (firstBlockLine_ == 0) firstBlockLine_ = lineNo_;
    squares_.push_back({lineNo_, layer, static_cast<int>(x), static_cast<int>(y), static_cast<int32_t>(v)});
  }

  // The fault of a character a layer's rows draw without a key, naming a
  // key of the layer that no row draws, whose character may be the one meant.
  static std::string UnkeyedFault(const Layer& l, char c, size_t x) {
    std::string fault = "character " + QuotedBytes(std::string(1, c)) + " at x " + std::to_string(x) +
                        " has no key in layer " + QuotedBytes(l.name);
    for (const auto& [ch, key] : l.keys) {
      const bool drawn = std::any_of(l.rows.begin(), l.rows.end(),
                                     [ch = ch](const Row& row) { return row.squares.find(ch) != std::string::npos; });
      if (!drawn) return fault + " (key " + QuotedBytes(std::string(1, ch)) + ", line " + std::to_string(key.line) + ", draws no square)";
    }
    return fault;
  }

  // The checks between lines, once every line read soundly: the header is
  // whole, each layer's rows fit the map and draw with its keys, and each
  // square set lies inside the map.
  void Finish() {
    if (faults.Refused()) return;
    // A field the header lacks is said where the header ends: at the first
    // layer or square, or at the file's last line.
    const int headerEnd = firstBlockLine_ > 0 ? firstBlockLine_ : lineNo_;
    for (const std::string field : {"name", "width", "height"}) {
      if (!seen_.count(field))
        Between(headerEnd, "the header has no '" + field + "'");
      else if (field != "name" && firstLayerLine_ > 0 && seen_[field].line > firstLayerLine_)
        Between(seen_[field].line, "'" + field + "' must come before the layers");
    }
    if (!seen_.count("width") || !seen_.count("height")) return;
    const int width = map_->width, height = map_->height;
    // Layers that agree with one another but not with the header: the
    // header's width or height is the fault, at its line, not each row's.
    std::set<size_t> widths, heights;
    size_t rows = 0;
    for (const Layer& l : layers_) {
      heights.insert(l.rows.size());
      for (const Row& row : l.rows) widths.insert(row.squares.size());
      rows += l.rows.size();
    }
    const bool widthWrong = rows > 1 && widths.size() == 1 && *widths.begin() != static_cast<size_t>(width);
    const bool heightWrong = layers_.size() > 1 && heights.size() == 1 && *heights.begin() != static_cast<size_t>(height);
    if (widthWrong)
      Between(seen_["width"].line, "'width' is " + std::to_string(width) + ", but every row of the layers is " +
                                       std::to_string(*widths.begin()) + " squares wide");
    if (heightWrong)
      Between(seen_["height"].line, "'height' is " + std::to_string(height) + ", but every layer has " +
                                        std::to_string(*heights.begin()) + " rows");
    // A layer's first fault alone: a key given twice, a row too wide or too
    // narrow, a character without a key, no end, or its rows too few or too
    // many (a row a damaged line end joined to the next is one fault, not
    // that and a row short).
    for (const Layer& l : layers_) {
      std::string fault;
      int at = 0;
      if (l.twiceLine > 0) {
        at = l.twiceLine;
        fault = "key " + QuotedBytes(std::string(1, l.twice)) + " is given twice in layer " + QuotedBytes(l.name);
      }
      for (size_t y = 0; y < l.rows.size() && fault.empty(); ++y) {
        const Row& row = l.rows[y];
        at = row.line;
        if (!widthWrong && static_cast<int>(row.squares.size()) != width) {
          fault = "row " + std::to_string(y) + " of layer " + QuotedBytes(l.name) + " is " +
                  std::to_string(row.squares.size()) + " squares wide, the map's width is " + std::to_string(width);
          break;
        }
        for (size_t x = 0; x < row.squares.size() && fault.empty(); ++x) {
          const char c = row.squares[x];
          const auto k = l.keys.find(c);
          if (k == l.keys.end() && c != '.')
            fault = UnkeyedFault(l, c, x);
          else if (static_cast<int>(x) < width && static_cast<int>(y) < height && k != l.keys.end())
            map_->At(l.layer, static_cast<int>(x), static_cast<int>(y)) = k->second.code;
        }
      }
      if (fault.empty() && l.endLine == 0) {
        at = l.line;
        fault = "layer " + QuotedBytes(l.name) + " has no 'end'";
      }
      if (fault.empty() && !heightWrong && static_cast<int>(l.rows.size()) != height) {
        at = l.endLine;
        fault = "layer " + QuotedBytes(l.name) + " has " + std::to_string(l.rows.size()) + " rows, the map's height is " +
                std::to_string(height);
      }
      if (!fault.empty()) Between(at, fault);
    }
    // Squares set by 'square' lines are set after the drawings, inside the
    // map as its rows draw it (a width or height the rows disagree with is
    // that line's fault alone).
    const int drawnWidth = widthWrong ? static_cast<int>(*widths.begin()) : width;
    const int drawnHeight = heightWrong ? static_cast<int>(*heights.begin()) : height;
    std::set<std::tuple<int, int, int>> set;
    for (const SquareSet& s : squares_) {
      if (!set.insert({s.layer, s.x, s.y}).second)
        Between(s.line, "square (" + std::to_string(s.x) + ", " + std::to_string(s.y) + ") of layer " +
                            QuotedBytes(FindLayerName(s.layer)) + " is set twice");
      else if (s.x >= drawnWidth || s.y >= drawnHeight)
        Between(s.line, "square (" + std::to_string(s.x) + ", " + std::to_string(s.y) + ") is outside the map's " +
                            std::to_string(drawnWidth) + " x " + std::to_string(drawnHeight));
      else if (map_->Inside(s.x, s.y))
        map_->At(s.layer, s.x, s.y) = s.code;
    }
  }

  // The file's name without its folder.
  std::string FileName() const { return file_.substr(file_.find_last_of("/\\") + 1); }

  std::string file_;
  int fileNumber_ = -1;  // the map number of the file's name (Map5.txt: 5), -1 for none
  bool world_;
  MapRecord* map_;
  int lineNo_ = 0;
  int firstBlockLine_ = 0, firstLayerLine_ = 0;  // the lines of the first layer or square, and of the first layer
  bool passing_ = false;   // a line was refused: passing over up to a layer's heading or end
  std::list<Layer> layers_;  // in the order drawn
  Layer* open_ = nullptr;  // the layer being read
  std::map<std::string, Field> seen_;  // the header fields given
  std::string text_;
  std::vector<SquareSet> squares_;
};

}  // namespace

MapSourceResult CompileMapSource(const std::string& fileName, const std::string& text, bool worldMap,
                                 MapRecord* out) {
  Compiler c(fileName, worldMap, out);
  c.Run(text);
  MapSourceResult r;
  r.errors = c.faults.Messages();
  r.ok = r.errors.empty();
  return r;
}

std::string MapOutputName(const std::string& sourcePath) {
  std::string base = sourcePath;
  const size_t slash = base.find_last_of("/\\");
  if (slash != std::string::npos) base = base.substr(slash + 1);
  const size_t dot = base.rfind('.');
  if (dot != std::string::npos) base = base.substr(0, dot);
  if (base == "WorldMap") return "WorldMap.dat";
  if (base.size() < 4 || base.size() > 5 || base.compare(0, 3, "Map") != 0) return "";
  const std::string digits = base.substr(3);
  for (char c : digits)
    if (!std::isdigit(static_cast<unsigned char>(c))) return "";
  if (digits.size() == 2 && digits[0] == '0') return "";
  long long n = 0;
  if (!ReadWholeNumber(digits, 0, kStoredMapCount - 1, &n)) return "";
  return "Map" + digits + ".dat";
}
