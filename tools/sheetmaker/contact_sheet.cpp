// Contact sheets: a sheet at twice its size on a dark ground, its frames
// ruled apart and numbered, for looking at the art without playing.
#include "contact_sheet.h"

#include <algorithm>

namespace {

constexpr uint32_t kGround = 0xFF1C1A24u, kChecker = 0xFF26232Fu, kRule = 0xFF4A4660u, kLabel = 0xFFF6E6A8u;

// Writes a number in the small font at (x, y) of the canvas, scale 1, with a
// dark backing so it reads over any picture.
void Number(Canvas& c, const Font& font, int x, int y, int value) {
  const std::string text = std::to_string(value);
  const int w = static_cast<int>(text.size()) * (font.width + 1) + 1;
  for (int yy = -1; yy <= font.height; ++yy)
    for (int xx = -1; xx < w; ++xx) c.Put(x + xx, y + yy, 0xFF0E0C14u);
  for (size_t i = 0; i < text.size(); ++i) {
    auto it = font.glyphs.find(text[i]);
    if (it == font.glyphs.end()) continue;
    const Glyph& g = it->second;
    for (int gy = 0; gy < static_cast<int>(g.size()); ++gy)
      for (int gx = 0; gx < static_cast<int>(g[gy].size()); ++gx)
        if (g[gy][gx] == '#') c.Put(x + static_cast<int>(i) * (font.width + 1) + gx, y + gy, kLabel);
  }
}

}  // namespace

Canvas ContactSheet(const Canvas& sheet, const FrameGrid& g, const Font& small) {
  const int scale = 2, margin = 28;
  const int w = g.perRow * g.frameWidth * scale, h = g.rows * g.frameHeight * scale;
  Canvas out(margin + w + 1, margin + h + 1, 0xFF000000u);
  for (int y = 0; y < out.Height(); ++y)
    for (int x = 0; x < out.Width(); ++x) out.Put(x, y, kGround);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t p = sheet.Get(x / scale, y / scale);
      uint32_t under = ((x / 8 + y / 8) % 2) ? kChecker : kGround;
      uint32_t shown = under;
      if (p != sheet.Key()) {
        // Blend what has alpha over the checker, so glows and fog show.
        const uint32_t a = p >> 24;
        auto ch = [&](int s) { return (((p >> s) & 0xFF) * a + ((under >> s) & 0xFF) * (255 - a)) / 255; };
        shown = 0xFF000000u | (ch(16) << 16) | (ch(8) << 8) | ch(0);
      }
      out.Put(margin + x, margin + y, shown);
    }
  for (int n = 0; n < g.Count(); ++n) {
    const int x0 = margin + g.X(n) * scale, y0 = margin + g.Y(n) * scale;
    for (int i = 0; i <= g.frameWidth * scale; ++i) out.Put(x0 + i, y0, kRule);
    for (int i = 0; i <= g.frameHeight * scale; ++i) out.Put(x0, y0 + i, kRule);
  }
  for (int i = 0; i <= w; ++i) out.Put(margin + i, margin + h, kRule);
  for (int i = 0; i <= h; ++i) out.Put(margin + w, margin + i, kRule);
  // Row labels (the first frame of each row) and column offsets in the
  // margins; numbers inside the frames as well where they fit.
  for (int r = 0; r < g.rows; ++r) Number(out, small, 1, margin + r * g.frameHeight * scale + 2, r * g.perRow);
  for (int col = 0; col < g.perRow; ++col)
    if (g.frameWidth * scale >= 14 || col % 4 == 0) Number(out, small, margin + col * g.frameWidth * scale + 2, 2, col);
  if (g.frameWidth * scale >= 4 * (small.width + 1) + 2 && g.frameHeight * scale >= 2 * small.height + 2)
    for (int n = 0; n < g.Count(); ++n) Number(out, small, margin + g.X(n) * scale + 2, margin + g.Y(n) * scale + 2, n);
  return out;
}
