// The game's palette (content/graphics/palette.txt) and the small pixel
// buffers the painters compose frames in before they go onto a sheet.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// A ramp of palette colours, dark to light (ARGB, opaque).
using Ramp = std::vector<uint32_t>;

struct Palette {
  std::map<std::string, Ramp> ramps;
  // Whether a line of the source was refused: it may have given any ramp (a
  // line joined to it too), and no colour is refused for the want of one.
  bool refused = false;
  // "green.3" -> the colour; "green" alone -> the whole ramp. Throws
  // SourceError naming the colour when there is no such ramp or index.
  uint32_t Colour(const std::string& name) const;
  const Ramp& RampOf(const std::string& name) const;
  // Throws SourceError, as Colour does, for a colour the palette does not
  // give, unless a refused line may have given it.
  void Check(const std::string& name) const;
  // A ramp made of named colours: "brown.2 brown.4 skin.0".
  Ramp Make(const std::string& names) const;
  // Every colour of the palette.
  std::vector<uint32_t> All() const;
};
// Reads the palette source into *out, refused lines and all, and then
// throws its faults; the one without *out only returns it whole.
void ReadPalette(const std::string& path, Palette* out);
Palette ReadPalette(const std::string& path);
// The palette the painters use; set once by the tool before drawing.
const Palette& Pal();
void SetPalette(const Palette& p);

// Ordered-dither threshold of a pixel, 0..1 (4x4 Bayer).
float Bayer(int x, int y);
// The tone of a ramp for a lightness v (0 dark .. 1 light). The band between
// two tones is dithered over `dither` of a step (0 = hard bands).
uint32_t Tone(const Ramp& r, float v, int x, int y, float dither = 0.35f);
// The nearest palette colour to an ARGB colour.
uint32_t Nearest(uint32_t argb);
uint32_t Blend(uint32_t a, uint32_t b, float t);  // plain RGB mix, alpha of a

constexpr uint32_t kInk = 0xFF0E0C14u;
constexpr uint32_t kClear = 0x00000000u;

// A frame being composed: ARGB pixels, 0 is empty. Coordinates outside are
// ignored on write and read as empty.
class Layer {
 public:
  Layer(int w, int h) : w_(w), h_(h), px_(static_cast<size_t>(w) * h, kClear) {}
  int W() const { return w_; }
  int H() const { return h_; }
  void Put(int x, int y, uint32_t c) {
    if (x >= 0 && y >= 0 && x < w_ && y < h_) px_[static_cast<size_t>(y) * w_ + x] = c;
  }
  uint32_t Get(int x, int y) const {
    return (x >= 0 && y >= 0 && x < w_ && y < h_) ? px_[static_cast<size_t>(y) * w_ + x] : kClear;
  }
  bool On(int x, int y) const { return Get(x, y) != kClear; }
  void Clear() { std::fill(px_.begin(), px_.end(), kClear); }

  void Rect(int x, int y, int w, int h, uint32_t c);
  void Ellipse(float cx, float cy, float rx, float ry, uint32_t c);
  void Line(float x0, float y0, float x1, float y1, float width, uint32_t c);
  void Polygon(const std::vector<float>& xy, uint32_t c);
  // Pastes another layer at (x, y); empty pixels leave this one alone.
  void Paste(const Layer& o, int x, int y);
  // A one-pixel rim round the drawn pixels (4-neighbours), in the colour.
  void Outline(uint32_t c);
  // A shadow of the shape shifted by (dx, dy) where nothing is drawn yet.
  void DropShadow(uint32_t c, int dx, int dy);
  Layer FlipX() const;

 private:
  int w_, h_;
  std::vector<uint32_t> px_;
};
