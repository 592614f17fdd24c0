#include "palette.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>

#include "art.h"

namespace {

Palette gPalette;

int Channel(uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

}  // namespace

uint32_t Palette::Colour(const std::string& name) const {
  const size_t dot = name.find('.');
  if (dot == std::string::npos) throw SourceError("colour " + DoubleQuotedBytes(name) + " needs an index (ramp.index)");
  const Ramp& r = RampOf(name.substr(0, dot));
  long long i = -1;
  const std::string index = name.substr(dot + 1);
  if (index.find_first_not_of("0123456789") != std::string::npos ||
      !ReadWholeNumber(index, 0, static_cast<long long>(r.size()) - 1, &i))
    throw SourceError("no colour " + DoubleQuotedBytes(name) + " (ramp.index)");
  return r[static_cast<size_t>(i)];
}

namespace {

// The ramps the painters draw with (their code names them too): each ramp
// of the palette is one of them, given once, so that a misspelt name is
// refused at its own line.
const char* const kRampNames[] = {"ink", "grey", "brown", "skin", "red", "fire", "green", "blue", "purple", "teal", "stone"};

bool IsRampName(const std::string& name) {
  return std::find(std::begin(kRampNames), std::end(kRampNames), name) != std::end(kRampNames);
}

}  // namespace

void Palette::Check(const std::string& name) const {
  if (!refused || name.find('.') == std::string::npos) (void)Colour(name);
}

const Ramp& Palette::RampOf(const std::string& name) const {
  auto it = ramps.find(name);
  if (it == ramps.end()) throw SourceError("no ramp " + DoubleQuotedBytes(name) + " in the palette");
  return it->second;
}

Ramp Palette::Make(const std::string& names) const {
  std::string spaced = names;  // colours are joined by spaces or by '+'
  for (char& ch : spaced)
    if (ch == '+') ch = ' ';
  Ramp r;
  for (const std::string& w : LineWords(spaced)) {
    if (w.find('.') == std::string::npos) {
      const Ramp& whole = RampOf(w);
      r.insert(r.end(), whole.begin(), whole.end());
    } else {
      r.push_back(Colour(w));
    }
  }
  if (r.empty()) throw SourceError("an empty ramp");
  return r;
}

std::vector<uint32_t> Palette::All() const {
  std::vector<uint32_t> all;
  for (const auto& [name, r] : ramps) all.insert(all.end(), r.begin(), r.end());
  return all;
}

namespace {

// The ramp a line of the palette gives, its words read (`where` is
// "file:line: "): a name the painters draw with, of what the fonts show as
// every word of a source is, and its colours.
Ramp ReadRampWords(const std::string& where, const std::vector<std::string>& words) {
  const std::string& name = words[0];
  const size_t unshown = UnshownByte(name, false);
  if (unshown != std::string::npos) throw SourceError(where + UnshownByteMessage("", name, unshown));
  if (!IsRampName(name)) {
    std::string known;
    for (const char* ramp : kRampNames) known += std::string(known.empty() ? "" : " ") + ramp;
    throw SourceError(where + "no ramp " + DoubleQuotedBytes(name) + " is drawn with (" + known + ")");
  }
  Ramp r;
  unsigned long long colour = 0;
  for (size_t w = 1; w < words.size(); ++w) {
    if (words[w].size() != 6 || !ReadHexNumber(words[w], &colour)) throw SourceError(where + "colours are six hex digits RRGGBB");
    r.push_back(0xFF000000u | static_cast<uint32_t>(colour));
  }
  if (r.empty()) throw SourceError(where + "ramp " + DoubleQuotedBytes(name) + " has no colours");
  return r;
}

// Whether words read as a whole line of the palette, one a comment may hold
// joined to it (common/comment_joins.h), glued to its text as a line
// written at the start of its line is.
bool IsPaletteLine(const std::vector<std::string>& words, bool glued) {
  try {
    return glued && words.size() > 1 && IsRampName(words[0]) && !ReadRampWords("", words).empty();
  } catch (const SourceError&) {
    return false;
  }
}

}  // namespace

// Every line is read: each fault is reported. A refused line may have given
// any ramp (its name damaged, or a line joined to it), so that no colour is
// refused besides. The palette gives every ramp the painters draw with: one
// it lacks is refused once, at a comment that writes it out of use ("#rey
// 25222E ...") or at the file, and a comment after a ramp's colours that
// begins with a colour ("grey 25222E #D3A4A ...") is refused at its line,
// rather than each colour drawn with them at each line that draws it.
void ReadPalette(const std::string& path, Palette* out) {
  std::vector<std::string> lines;
  if (!ReadSourceLines(path, &lines)) throw SourceError(path + ": cannot open");
  Palette& p = *out;
  SourceFaults<SourceError> faults;
  std::map<std::string, std::string> outOfUse;  // the ramps comments write out of use, and where
  auto isRamp = [](std::string_view text) { return IsPaletteLine(LineWords(text), true); };
  for (const ReadLine& line : SheetSourceLines(lines, IsPaletteLine)) {
    ReadingAt(path, line.number);
    const CommentedLine cut = CutComment(line.text);
    const std::string where = path + ":" + std::to_string(line.number) + ": ";
    const std::vector<std::string> words = LineWords(cut.text);
    if (words.empty() && !line.joined)
      for (const char* ramp : kRampNames)
        if (const std::string written = HeadingOutOfUse(cut.comment, {ramp}, isRamp); !written.empty())
          outOfUse.emplace(LineWords(written)[0], where + OutOfUseMessage(written, "the painters draw with every ramp"));
    const bool read = !line.joined && faults.Keep([&] {
      CheckSourceLine(where, cut);
      if (words.empty()) return;
      Ramp r = ReadRampWords(where, words);
      if (p.ramps.count(words[0])) throw SourceError(where + "ramp " + DoubleQuotedBytes(words[0]) + " given twice");
      const std::vector<std::string> noted = LineWords(CommentText(cut.comment));
      if (!noted.empty() && noted[0].size() >= 5 && noted[0].size() <= 6 &&
          noted[0].find_first_not_of("0123456789ABCDEF") == std::string::npos)
        throw SourceError(where + "the comment holds colours of the ramp, " + QuotedBytes(TrimBlanks(cut.comment)) +
                          ": a byte damaged?");
      p.ramps[words[0]] = std::move(r);
    });
    if (read && !line.joinFault.empty()) faults.Keep([&] { throw SourceError(where + line.joinFault); });
    p.refused |= !read;
  }
  if (p.ramps.empty() && !p.refused) faults.Keep([&] { throw SourceError(path + ": no ramps"); });
  for (const char* ramp : kRampNames) {
    if (p.refused || p.ramps.empty() || p.ramps.count(ramp)) continue;
    const auto written = outOfUse.find(ramp);
    faults.Keep([&] {
      if (written != outOfUse.end())
        throw SourceError(written->second);
      throw SourceError(path + ": no ramp " + DoubleQuotedBytes(ramp) + ": the painters draw with every ramp");
    });
    p.refused = true;
  }
  faults.Throw();
}

Palette ReadPalette(const std::string& path) {
  Palette p;
  ReadPalette(path, &p);
  return p;
}

const Palette& Pal() { return gPalette; }
void SetPalette(const Palette& p) { gPalette = p; }

float Bayer(int x, int y) {
  static const int kM[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  return (kM[y & 3][x & 3] + 0.5f) / 16.0f;
}

uint32_t Tone(const Ramp& r, float v, int x, int y, float dither) {
  const int n = static_cast<int>(r.size());
  if (n == 1) return r[0];
  const float f = std::clamp(v, 0.0f, 1.0f) * (n - 1);
  int i = static_cast<int>(std::floor(f));
  float frac = f - i;
  if (dither <= 0.0f) {
    frac = frac >= 0.5f ? 1.0f : 0.0f;
  } else {
    frac = std::clamp((frac - 0.5f) / dither + 0.5f, 0.0f, 1.0f);
  }
  if (frac > Bayer(x, y)) ++i;
  return r[static_cast<size_t>(std::clamp(i, 0, n - 1))];
}

uint32_t Nearest(uint32_t argb) {
  static thread_local std::map<uint32_t, uint32_t> cache;
  auto it = cache.find(argb);
  if (it != cache.end()) return it->second;
  uint32_t best = kInk;
  long bestD = -1;
  for (uint32_t c : gPalette.All()) {
    // Weighted distance: the eye is keener on green, then red.
    const long dr = Channel(argb, 16) - Channel(c, 16), dg = Channel(argb, 8) - Channel(c, 8),
               db = Channel(argb, 0) - Channel(c, 0);
    const long d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
    if (bestD < 0 || d < bestD) {
      bestD = d;
      best = c;
    }
  }
  cache[argb] = best;
  return best;
}

uint32_t Blend(uint32_t a, uint32_t b, float t) {
  auto mix = [&](int shift) {
    return static_cast<uint32_t>(std::lround(Channel(a, shift) + (Channel(b, shift) - Channel(a, shift)) * t)) << shift;
  };
  return (a & 0xFF000000u) | mix(16) | mix(8) | mix(0);
}

void Layer::Rect(int x, int y, int w, int h, uint32_t c) {
  for (int yy = y; yy < y + h; ++yy)
    for (int xx = x; xx < x + w; ++xx) Put(xx, yy, c);
}

void Layer::Ellipse(float cx, float cy, float rx, float ry, uint32_t c) {
  if (rx <= 0 || ry <= 0) return;
  for (int y = static_cast<int>(std::floor(cy - ry - 1)); y <= static_cast<int>(cy + ry + 1); ++y)
    for (int x = static_cast<int>(std::floor(cx - rx - 1)); x <= static_cast<int>(cx + rx + 1); ++x) {
      const float dx = (x + 0.5f - cx) / rx, dy = (y + 0.5f - cy) / ry;
      if (dx * dx + dy * dy <= 1.0f) Put(x, y, c);
    }
}

void Layer::Line(float x0, float y0, float x1, float y1, float width, uint32_t c) {
  const float r = width / 2;
  const float dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
  for (int y = static_cast<int>(std::floor(std::min(y0, y1) - r - 1)); y <= static_cast<int>(std::max(y0, y1) + r + 1); ++y)
    for (int x = static_cast<int>(std::floor(std::min(x0, x1) - r - 1)); x <= static_cast<int>(std::max(x0, x1) + r + 1); ++x) {
      const float px = x + 0.5f - x0, py = y + 0.5f - y0;
      const float t = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.0f, 1.0f) : 0.0f;
      const float ex = px - t * dx, ey = py - t * dy;
      if (ex * ex + ey * ey <= r * r) Put(x, y, c);
    }
}

void Layer::Polygon(const std::vector<float>& xy, uint32_t c) {
  const size_t n = xy.size() / 2;
  if (n < 3) return;
  float minY = xy[1], maxY = xy[1];
  for (size_t i = 0; i < n; ++i) {
    minY = std::min(minY, xy[2 * i + 1]);
    maxY = std::max(maxY, xy[2 * i + 1]);
  }
  for (int y = static_cast<int>(std::floor(minY)); y <= static_cast<int>(maxY); ++y) {
    const float sy = y + 0.5f;
    std::vector<float> xs;
    for (size_t i = 0; i < n; ++i) {
      const float ax = xy[2 * i], ay = xy[2 * i + 1];
      const float bx = xy[2 * ((i + 1) % n)], by = xy[2 * ((i + 1) % n) + 1];
      if ((ay <= sy && by > sy) || (by <= sy && ay > sy)) xs.push_back(ax + (sy - ay) / (by - ay) * (bx - ax));
    }
    std::sort(xs.begin(), xs.end());
    for (size_t i = 0; i + 1 < xs.size(); i += 2)
      for (int x = static_cast<int>(std::ceil(xs[i] - 0.5f)); x <= static_cast<int>(std::floor(xs[i + 1] - 0.5f)); ++x)
        Put(x, y, c);
  }
}

void Layer::Paste(const Layer& o, int x, int y) {
  for (int yy = 0; yy < o.H(); ++yy)
    for (int xx = 0; xx < o.W(); ++xx)
      if (o.On(xx, yy)) Put(x + xx, y + yy, o.Get(xx, yy));
}

void Layer::Outline(uint32_t c) {
  std::vector<std::pair<int, int>> rim;
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x)
      if (!On(x, y) && (On(x - 1, y) || On(x + 1, y) || On(x, y - 1) || On(x, y + 1))) rim.emplace_back(x, y);
  for (auto [x, y] : rim) Put(x, y, c);
}

void Layer::DropShadow(uint32_t c, int dx, int dy) {
  std::vector<std::pair<int, int>> shade;
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x)
      if (!On(x, y) && On(x - dx, y - dy)) shade.emplace_back(x, y);
  for (auto [x, y] : shade) Put(x, y, c);
}

Layer Layer::FlipX() const {
  Layer out(w_, h_);
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x) out.Put(w_ - 1 - x, y, Get(x, y));
  return out;
}
