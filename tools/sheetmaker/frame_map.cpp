#include "frame_map.h"

#include <fstream>
#include <sstream>

std::string Paint::Arg(size_t i, const std::string& def) const {
  size_t n = 0;
  for (const auto& a : args) {
    if (a.find('=') != std::string::npos) continue;
    if (n++ == i) return a;
  }
  return def;
}

std::string Paint::Opt(const std::string& key, const std::string& def) const {
  for (const auto& a : args)
    if (a.size() > key.size() && a.compare(0, key.size(), key) == 0 && a[key.size()] == '=')
      return a.substr(key.size() + 1);
  return def;
}

int Paint::OptInt(const std::string& key, int def) const {
  const std::string v = Opt(key);
  if (v.empty()) return def;
  try {
    return std::stoi(v);
  } catch (...) {
    Fail(key + "= wants a whole number");
  }
}

float Paint::OptFloat(const std::string& key, float def) const {
  const std::string v = Opt(key);
  if (v.empty()) return def;
  try {
    return std::stof(v);
  } catch (...) {
    Fail(key + "= wants a number");
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

std::vector<FrameLine> ReadFrameMap(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw SourceError(path + ": cannot open");
  std::vector<FrameLine> lines;
  std::string text;
  int number = 0, sheet = -1;
  while (std::getline(in, text)) {
    ++number;
    const size_t hash = text.find('#');
    if (hash != std::string::npos) text.resize(hash);
    const std::string where = path + ":" + std::to_string(number) + ": ";
    CheckSourceLine(where, text);
    std::istringstream words(text);
    std::string first;
    if (!(words >> first)) continue;
    if (first == "recipe") {
      FrameLine line{-1, 0, 0, "recipe", {}, where};
      std::string w;
      while (words >> w) line.args.push_back(w);
      if (line.args.empty()) throw SourceError(where + "a recipe needs a name");
      lines.push_back(line);
      continue;
    }
    if (first == "sheet") {
      if (!(words >> sheet) || sheet < 0 || sheet > 65) throw SourceError(where + "bad sheet number");
      continue;
    }
    if (sheet < 0) throw SourceError(where + "\"sheet N\" must come first");
    FrameLine line{sheet, -1, -1, "", {}, where};
    const size_t dash = first.find('-');
    try {
      size_t used = 0;
      line.first = std::stoi(first, &used);
      if (dash == std::string::npos) {
        if (used != first.size()) throw 0;
        line.last = line.first;
      } else {
        line.last = std::stoi(first.substr(dash + 1), &used);
        if (dash + 1 + used != first.size()) throw 0;
      }
    } catch (...) {
      throw SourceError(where + "expected a frame or a range of frames like 57-60");
    }
    if (line.first < 0 || line.last < line.first) throw SourceError(where + "bad range of frames");
    if (!(words >> line.painter)) throw SourceError(where + "which painter draws these frames?");
    std::string w;
    while (words >> w) line.args.push_back(w);
    lines.push_back(line);
  }
  return lines;
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

void DrawFrameMap(Canvas& c, const FrameGrid& g, int sheet, const std::vector<FrameLine>& lines,
                  std::map<int, std::string>* owners) {
  const PainterMap& painters = Painters();
  std::map<std::string, std::vector<std::string>> recipes;
  for (const FrameLine& line : lines)
    if (line.painter == "recipe" && line.sheet < 0) {
      if (recipes.count(line.args[0])) throw SourceError(line.where + "recipe \"" + line.args[0] + "\" given twice");
      recipes[line.args[0]].assign(line.args.begin() + 1, line.args.end());
    }
  for (const FrameLine& line : lines) {
    if (line.sheet != sheet) continue;
    if (line.last >= g.Count())
      throw SourceError(line.where + "frame " + std::to_string(line.last) + " lies beyond sheet " + std::to_string(sheet));
    for (int n = line.first; n <= line.last; ++n) {
      if (owners->count(n))
        throw SourceError(line.where + "frame " + std::to_string(n) + " is also drawn by " + (*owners)[n]);
      (*owners)[n] = line.where;
    }
    auto it = painters.find(line.painter);
    if (it == painters.end()) throw SourceError(line.where + "no painter \"" + line.painter + "\"");
    Paint p{c, g, line.first, line.last, line.args, line.where, &recipes};
    it->second(p);
  }
}
