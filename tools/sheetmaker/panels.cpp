// The stone of the panels and mosaics and the bronze border pieces: textures
// spread over whole sheets of 8x8 frames, in the palette.
#include <algorithm>
#include <cmath>

#include "art.h"
#include "palette.h"

namespace {

constexpr float kGolden = 0.618034f;

float Frac(float v) { return v - std::floor(v); }

Rgb ToRgb(uint32_t argb) {
  return {((argb >> 16) & 0xFF) / 255.0f, ((argb >> 8) & 0xFF) / 255.0f, (argb & 0xFF) / 255.0f};
}

}  // namespace

void DrawPanel(Canvas& c, uint32_t seed) {
  const int w = c.Width(), h = c.Height();
  // Light stone in the palette's greys (the screens tint it darker).
  const Ramp stone = Pal().Make("stone.1 grey.3 stone.2 grey.4 stone.3 grey.5");
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      float k = 0.55f + 0.22f * (FractalNoise(x / 12.0f, y / 12.0f, seed, 4) - 0.5f);
      // Blocks of 32 by 16 in running bond, their joints a little darker.
      const int row = y / 16, bx = (x + (row % 2) * 16) % 32;
      if (y % 16 == 0 || bx == 0) k -= 0.2f;
      else if (y % 16 == 1 || bx == 1) k += 0.08f;
      c.Put(x, y, Tone(stone, k, x, y, 0.3f));
    }
}

void DrawBorder(Canvas& c, const FrameGrid& g, uint32_t seed) {
  // Bronze bands in the palette: ink, brown, gold, pale gold, gold, brown, ink.
  const Rgb kBand[8] = {ToRgb(Pal().Colour("ink.0")),   ToRgb(Pal().Colour("brown.1")), ToRgb(Pal().Colour("brown.3")),
                        ToRgb(Pal().Colour("fire.1")),  ToRgb(Pal().Colour("skin.2")),  ToRgb(Pal().Colour("brown.3")),
                        ToRgb(Pal().Colour("brown.1")), ToRgb(Pal().Colour("ink.0"))};
  for (int n = 0; n < g.Count(); ++n) {
    const int x0 = g.X(n), y0 = g.Y(n);
    const bool vertical = n == 131, rule = n == 130 || n == 131;
    const float tone = 0.9f + 0.2f * Frac(n * kGolden + seed * 0.01f);
    for (int y = 0; y < g.frameHeight; ++y)
      for (int x = 0; x < g.frameWidth; ++x) {
        const int across = vertical ? x : y;
        if (rule) {
          if (across == 3) c.Put(x0 + x, y0 + y, Pal().Colour("fire.1"));
          else if (across == 4) c.Put(x0 + x, y0 + y, Pal().Colour("brown.2"));
          continue;
        }
        c.Put(x0 + x, y0 + y, Argb(kBand[across % 8]));
        (void)tone;
      }
    if (!rule && n % 4 == 0) {  // a rivet now and then
      c.Put(x0 + 3, y0 + 3, Pal().Colour("grey.5"));
      c.Put(x0 + 4, y0 + 4, Pal().Colour("brown.1"));
    }
  }
}
