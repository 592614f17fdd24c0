#include "mapmaker/map_source.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>
#include <map>
#include <set>

#include "common/shown_bytes.h"
#include "common/source_bytes.h"
#include "common/source_lines.h"
#include "common/source_numbers.h"

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

// The words of a line, cut at its spaces and tabs.
std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  for (size_t at = line.find_first_not_of(" \t"); at != std::string::npos; at = line.find_first_not_of(" \t", at)) {
    const size_t end = std::min(line.find_first_of(" \t", at), line.size());
    words.push_back(line.substr(at, end - at));
    at = end;
  }
  return words;
}

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
    {"music", &MapRecord::musicTrack, 0, 99},
    {"encounters", &MapRecord::encounterTable, 0, 9999},
    {"rain", &MapRecord::rain, 0, 1},
    {"lit", &MapRecord::lit, 0, 1},
    {"alarm", &MapRecord::alarm, 0, 1},
    {"cleared", &MapRecord::cleared, 0, 1},
    {"most groups", &MapRecord::mostGroups, 0, kMostMonsterGroups},
    {"fewest groups", &MapRecord::fewestGroups, 0, kMostMonsterGroups},
    {"kind", &MapRecord::mapKind, 0, 99},
    {"local map x", &MapRecord::localMapX, INT32_MIN, INT32_MAX},
    {"local map y", &MapRecord::localMapY, INT32_MIN, INT32_MAX},
    {"local map", &MapRecord::localMapAvailable, 0, 1},
    {"spell flag", &MapRecord::spellFlag, INT32_MIN, INT32_MAX},
};

class Compiler {
 public:
  Compiler(const std::string& file, bool worldMap, MapRecord* out) : file_(file), world_(worldMap), map_(out) {}

  void Run(const std::string& text) {
    std::memset(map_, 0, sizeof *map_);
    for (const std::string& line : SourceLines(text)) {
      ++lineNo_;
      if (layer_ >= 0) {
        LayerLine(line);
        continue;
      }
      const std::string t = TrimSpaces(line);
      if (t.empty()) continue;
      if (t[0] == '#') {
        CommentLine(t);
        continue;
      }
      // A line whose first word may be "layer" begins a layer, refused or
      // not, and one whose first word may be "square" sets a square.
      if (const size_t rest = AfterWordItMayBe(t, "layer"); rest != std::string::npos) {
        StartLayer(t, rest);
      } else if (const size_t words = AfterWordItMayBe(t, "square"); words != std::string::npos) {
        SquareLine(t, words);
      } else {
        HeaderLine(t);
      }
    }
    if (layer_ >= 0) Error(layerLine_, "layer " + QuotedBytes(layerName_) + " has no 'end'");
    if (!seen_.count("name")) Error(0, "the header has no 'name'");
    if (!seen_.count("width")) Error(0, "the header has no 'width'");
    if (!seen_.count("height")) Error(0, "the header has no 'height'");
    // Squares set by 'square' lines are checked once the extent is known.
    for (const auto& s : squares_) {
      if (extentRefused_) break;
      if (!map_->Inside(s.x, s.y))
        Error(s.line, "square (" + std::to_string(s.x) + ", " + std::to_string(s.y) + ") is outside the map's " +
                          std::to_string(map_->width) + " x " + std::to_string(map_->height));
      else
        map_->At(s.layer, s.x, s.y) = s.code;
    }
  }

  std::vector<std::string> errors;

 private:
  void Error(int line, const std::string& message) {
    errors.push_back(file_ + ":" + (line > 0 ? std::to_string(line) + ":" : "") + " " + message);
  }

  // A comment is text of any language (UTF-8) without control bytes.
  void CommentLine(const std::string& t) {
    if (const size_t stray = StrayControlByte(t); stray != std::string::npos)
      Error(lineNo_, "the comment holds the control byte " + ShownBytes(t.substr(stray, 1)) + ": " + QuotedBytes(t));
    else if (const size_t bad = NonUtf8Byte(t); bad != std::string::npos)
      Error(lineNo_, "the comment holds the byte " + ShownBytes(t.substr(bad, 1)) + ", which is no UTF-8 text: " +
                         QuotedBytes(t));
  }

  // A field refused for a damaged byte counts as every field it may be:
  // given (so that the header does not lack it), and a refused extent
  // besides (so that no layer is said to come before it).
  void RefuseField(const std::string& key) {
    for (const char* field : {"name", "text"})
      if (MayBeWord(key, field)) seen_.insert(field);
    for (const auto& f : kHeaderFields)
      if (MayBeWord(key, f.key)) seen_.insert(f.key);
    if (MayBeWord(key, "width") || MayBeWord(key, "height")) extentRefused_ = true;
  }

  void HeaderLine(const std::string& t) {
    const size_t colon = t.find(':');
    const size_t unshown = UnshownByte(t.substr(0, colon), false);
    if (colon == std::string::npos && unshown != std::string::npos) {
      // The damaged byte may be the colon: the field before it is refused
      // ("width\x00 4"), or any field a word up to it may be.
      const std::string words = t.substr(0, std::min(t.find_first_of(" \t", unshown), t.size()));
      Error(lineNo_, UnshownByteMessage("", words, unshown));
      RefuseField(TrimSpaces(t.substr(0, unshown)));
      RefuseField(words);
      return;
    }
    if (colon == std::string::npos) {
      Error(lineNo_, "expected 'field: value', 'layer NAME' or 'square LAYER X Y CODE': " + QuotedBytes(t));
      return;
    }
    const std::string key = TrimSpaces(t.substr(0, colon));
    const std::string value = TrimSpaces(t.substr(colon + 1));
    if (unshown != std::string::npos) {
      const size_t unshownKey = UnshownByte(key, false);
      Error(lineNo_, UnshownByteMessage("", key, unshownKey));
      RefuseField(key);
      RefuseField(TrimSpaces(key.substr(0, unshownKey)));
      return;
    }
    // The name and the text hold only what the game's fonts show (a zero
    // byte would cut them).
    const size_t unshownValue = key == "name" || key == "text" ? UnshownByte(value, false) : std::string::npos;
    if (unshownValue != std::string::npos) {
      seen_.insert(key);
      Error(lineNo_, UnshownByteMessage(key, value, unshownValue));
      return;
    }
    if (key == "text") {
      // Several text lines join with a space.
      std::string joined = seen_.count("text") ? std::string(map_->text) + " " + value : value;
      seen_.insert("text");
      if (joined.size() > sizeof map_->text - 1) {
        Error(lineNo_, "the text is longer than " + std::to_string(sizeof map_->text - 1) + " characters");
        return;
      }
      std::strcpy(map_->text, joined.c_str());
      return;
    }
    if (seen_.count(key)) {
      Error(lineNo_, QuotedBytes(key) + " is given twice");
      return;
    }
    seen_.insert(key);
    if (key == "name") {
      if (value.size() > static_cast<size_t>(kMapNameShown)) {
        Error(lineNo_, "the name is longer than the " + std::to_string(kMapNameShown) +
                           " characters the local map shows");
        return;
      }
      std::strcpy(map_->name, value.c_str());
      return;
    }
    for (const auto& f : kHeaderFields) {
      if (key != f.key) continue;
      long long v = 0;
      if (!ParseInt(value, &v)) {
        Error(lineNo_, QuotedBytes(key) + " needs a whole number, not " + QuotedBytes(value));
        // A map without its refused extent draws no layer and sets no square besides.
        if (key == "width" || key == "height") extentRefused_ = true;
      } else if (v < f.low || v > f.high) {
        if (key == "width" || key == "height") extentRefused_ = true;
        Error(lineNo_, QuotedBytes(key) + " is " + value + ", outside " + std::to_string(f.low) + " to " +
                           std::to_string(f.high));
      } else {
        map_->*f.field = static_cast<int32_t>(v);
      }
      return;
    }
    Error(lineNo_, "unknown header field " + QuotedBytes(key));
  }

  // A layer's block begins at "layer NAME" (`rest` where its name begins);
  // a refused line begins a block that is swallowed.
  void StartLayer(const std::string& t, size_t rest) {
    const std::string name = TrimSpaces(t.substr(rest));
    const std::string word = t.substr(0, rest);
    const std::string refusal = word == "layer" ? "" : UnshownByteMessage("", word, UnshownByte(word, false));
    const int layer = FindLayer(name);
    if (!refusal.empty()) {
      Error(lineNo_, refusal);
      layer_ = 99;
    } else if (layer < 0) {
      Error(lineNo_, "unknown layer " + QuotedBytes(name) + " (ground, floor, walls, events, objects0 to objects3)");
      layer_ = 99;  // swallow the block
    } else if (drawn_[layer]) {
      Error(lineNo_, "layer " + QuotedBytes(name) + " is drawn twice");
      layer_ = 99;
    } else {
      drawn_[layer] = true;
      layer_ = layer;
    }
    if (map_->width < 1 || map_->height < 1) {
      if (!extentRefused_ && refusal.empty()) Error(lineNo_, "'width' and 'height' must come before the layers");
      layer_ = 99;
    }
    layerName_ = name;
    layerLine_ = lineNo_;
    row_ = 0;
    keys_.clear();
    keys_['.'] = 0;
    refusedKeys_.clear();
    unknownKeys_ = 0;
  }

  void LayerLine(const std::string& raw) {
    const std::string t = TrimSpaces(raw);
    if (t.empty()) return;
    if (MayBeWord(t, "end") && t != "end") {
      Error(lineNo_, UnshownByteMessage("", t, UnshownByte(t, false)));
      layer_ = -1;  // the layer's end all the same
      return;
    }
    if (t == "end") {
      if (layer_ != 99 && row_ != map_->height)
        Error(lineNo_, "layer " + QuotedBytes(layerName_) + " has " + std::to_string(row_) + " rows, the map's height is " +
                           std::to_string(map_->height));
      layer_ = -1;
      return;
    }
    if (layer_ == 99) return;
    // Before the rows, a line of words whose first may be "key" is a key
    // line, refused or not (a drawn row is one word).
    if (row_ == 0 && t.find_first_of(" \t") != std::string::npos)
      if (const size_t rest = AfterWordItMayBe(t, "key"); rest != std::string::npos) return KeyLine(t, rest);
    // A drawn row holds no control byte: one is reported alone (the row still
    // counts as a row of the layer). A refused key's character was reported
    // with its key.
    size_t stray = std::string::npos;
    for (size_t i = 0; i < t.size() && stray == std::string::npos; ++i)
      if (IsControlByte(static_cast<unsigned char>(t[i])) && !refusedKeys_.count(t[i])) stray = i;
    if (stray != std::string::npos) {
      Error(lineNo_, ControlByteMessage("layer " + layerName_, t, stray));
      ++row_;
      return;
    }
    // A drawn row: x runs along the characters, y down the rows.
    if (row_ >= map_->height) {
      if (row_ == map_->height)
        Error(lineNo_, "layer " + QuotedBytes(layerName_) + " has more rows than the map's height " +
                           std::to_string(map_->height));
      ++row_;
      return;
    }
    if (static_cast<int>(t.size()) != map_->width)
      Error(lineNo_, "row " + std::to_string(row_) + " of layer " + QuotedBytes(layerName_) + " is " +
                         std::to_string(t.size()) + " squares wide, the map's width is " +
                         std::to_string(map_->width));
    for (int x = 0; x < static_cast<int>(t.size()) && x < map_->width; ++x) {
      const auto k = keys_.find(t[x]);
      if (k == keys_.end() && !refusedKeys_.count(t[x]) && unknownKeys_ > 0) {
        // The character a refused key's damaged character may have been.
        refusedKeys_.insert(t[x]);
        --unknownKeys_;
      }
      if (k == keys_.end() && refusedKeys_.count(t[x])) continue;
      if (k == keys_.end()) {
        Error(lineNo_, "character " + QuotedBytes(t.substr(static_cast<size_t>(x), 1)) + " at x " + std::to_string(x) +
                           " has no key in layer " + QuotedBytes(layerName_));
        continue;
      }
      map_->At(layer_, x, row_) = k->second;
    }
    ++row_;
  }

  // "key C CODE": the code the character C draws in the layer. A refused
  // key is one fault: the squares drawn with its character are not reported
  // besides, and a key whose character is the damaged byte may have keyed
  // the first character the rows lack a key for. `rest` is where the words
  // after the line's first word begin ("key", or a word refused that may be
  // it).
  void KeyLine(const std::string& t, size_t rest) {
    const std::vector<std::string> words = Words(t.substr(rest));
    const std::string ch = words.empty() ? "" : words[0], code = words.size() < 2 ? "" : words[1];
    // A character followed by a damaged blank ("g\x001") is the key's all the same.
    if (!ch.empty()) refusedKeys_.insert(ch[0]);
    if (ch.empty() || !KeyCharacter(ch[0])) ++unknownKeys_;
    const std::string word = t.substr(0, rest);
    if (word != "key") {
      const std::string first = TrimSpaces(word);
      Error(lineNo_, UnshownByteMessage("", first, UnshownByte(first, false)));
      return;
    }
    const size_t stray = UnshownControlByte(t, false);
    if (stray != std::string::npos) {
      Error(lineNo_, ControlByteMessage("layer " + layerName_, t, stray));
      return;
    }
    if (code.empty() || ch.size() != 1) {
      Error(lineNo_, "expected 'key C CODE' with one character C");
      return;
    }
    if (!KeyCharacter(ch[0])) {
      Error(lineNo_, "key " + QuotedBytes(ch) + ": a key's character is one from '!' to '~'");
      return;
    }
    long long v = 0;
    const CodeRange r = LayerRange(layer_, world_);
    if (!ParseInt(code, &v)) {
      Error(lineNo_, "key " + QuotedBytes(ch) + " needs a whole-number code, not " + QuotedBytes(code));
    } else if (v < r.low || v > r.high) {
      Error(lineNo_, "code " + code + " of key " + QuotedBytes(ch) + " is outside " + std::to_string(r.low) + " to " +
                         std::to_string(r.high) + " for layer " + QuotedBytes(layerName_));
    } else if (!Misdrawn(layer_, world_, v).empty()) {
      Error(lineNo_, "key " + QuotedBytes(ch) + ": " + Misdrawn(layer_, world_, v));
    } else {
      refusedKeys_.erase(ch[0]);
      keys_[ch[0]] = static_cast<int32_t>(v);
    }
  }

  // "square LAYER X Y CODE", `rest` where the words after "square" (or a
  // word refused that may be it) begin.
  void SquareLine(const std::string& t, size_t rest) {
    const std::string word = t.substr(0, rest);
    if (word != "square") {
      Error(lineNo_, UnshownByteMessage("", word, UnshownByte(word, false)));
      return;
    }
    if (const size_t stray = StrayControlByte(t); stray != std::string::npos) {
      Error(lineNo_, ControlByteMessage("square", t.substr(rest + 1), stray - rest - 1));
      return;
    }
    const std::vector<std::string> words = Words(t.substr(rest));
    if (words.size() < 4) {
      Error(lineNo_, "expected 'square LAYER X Y CODE'");
      return;
    }
    const std::string &name = words[0], &xs = words[1], &ys = words[2], &code = words[3];
    const int layer = FindLayer(name);
    long long x = 0, y = 0, v = 0;
    if (layer < 0) {
      Error(lineNo_, "unknown layer " + QuotedBytes(name));
      return;
    }
    if (!ParseInt(xs, &x) || !ParseInt(ys, &y) || !ParseInt(code, &v)) {
      Error(lineNo_, "'square' needs whole numbers for X, Y and CODE");
      return;
    }
    const CodeRange r = LayerRange(layer, world_);
    if (v < r.low || v > r.high) {
      Error(lineNo_, "code " + code + " is outside " + std::to_string(r.low) + " to " + std::to_string(r.high) +
                         " for layer " + QuotedBytes(name));
      return;
    }
    if (!Misdrawn(layer, world_, v).empty()) {
      Error(lineNo_, Misdrawn(layer, world_, v));
      return;
    }
    if (x < 0 || y < 0 || x >= kMapSide || y >= kMapSide) {
      Error(lineNo_, "square (" + xs + ", " + ys + ") is outside the 60 x 60 grid");
      return;
    }
    squares_.push_back({lineNo_, layer, static_cast<int>(x), static_cast<int>(y), static_cast<int32_t>(v)});
  }

  struct SquareSet {
    int line, layer, x, y;
    int32_t code;
  };

  std::string file_;
  bool world_;
  MapRecord* map_;
  int lineNo_ = 0;
  int layer_ = -1;  // the layer being drawn, 99 a refused block, -1 none
  int layerLine_ = 0;
  std::string layerName_;
  int row_ = 0;
  bool drawn_[kMapLayers] = {};
  std::map<char, int32_t> keys_;
  std::set<char> refusedKeys_;  // the characters of the layer's refused keys
  int unknownKeys_ = 0;         // the layer's refused keys whose character is damaged
  bool extentRefused_ = false;  // a width or height given but refused
  std::set<std::string> seen_;
  std::vector<SquareSet> squares_;
};

}  // namespace

MapSourceResult CompileMapSource(const std::string& fileName, const std::string& text, bool worldMap,
                                 MapRecord* out) {
  Compiler c(fileName, worldMap, out);
  c.Run(text);
  MapSourceResult r;
  r.errors = std::move(c.errors);
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
