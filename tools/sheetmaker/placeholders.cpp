// The placeholder styles: tidy art at every frame size, each frame distinct,
// until the game's real pictures replace them.
#include <algorithm>
#include <cmath>

#include "art.h"

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kGolden = 0.618034f;

float Frac(float v) { return v - std::floor(v); }

// Distinct colours frame after frame: hue by the golden ratio, value and
// saturation on their own slower cycles.
Rgb FrameColour(int n, uint32_t seed, float saturation = 0.55f, float value = 0.75f) {
  const float hue = Frac(seed * 0.1373f + n * kGolden);
  const float s = saturation + 0.25f * ((n / 7) % 3 - 1) * 0.5f;
  const float v = value + 0.15f * ((n / 3) % 3 - 1) * 0.5f;
  return HsvColour(hue, std::clamp(s, 0.1f, 1.0f), std::clamp(v, 0.2f, 1.0f));
}

}  // namespace

void DrawTerrain(Canvas& c, const FrameGrid& g, uint32_t seed) {
  static const Rgb kBase[6] = {{0.30f, 0.52f, 0.22f}, {0.52f, 0.52f, 0.50f}, {0.50f, 0.44f, 0.36f},
                               {0.55f, 0.38f, 0.20f}, {0.20f, 0.36f, 0.62f}, {0.45f, 0.33f, 0.22f}};
  for (int n = 0; n < g.Count(); ++n) {
    const int pattern = n % 6, family = n / 6;
    const int x0 = g.X(n), y0 = g.Y(n), w = g.frameWidth, h = g.frameHeight;
    // Hue and light drift with the family so that no two tiles match.
    const float shift = 0.85f + 0.3f * Frac(family * kGolden + seed * 0.07f);
    Rgb base = Scale(kBase[pattern], shift);
    base = Mix(base, FrameColour(family, seed), 0.18f);
    const uint32_t s = Hash(seed, static_cast<uint32_t>(n));
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        float k = 0.8f + 0.4f * FractalNoise(x * 0.35f, y * 0.35f, s, 3);
        switch (pattern) {
          case 0:  // grass: blades
            if ((Hash(s, x, y) & 15) == 0) k *= 1.35f;
            if ((Hash(s, x, y + 1) & 15) == 0) k *= 0.7f;
            break;
          case 1: {  // flagstones: slabs with mortar
            const int bx = w / 2, by = h / 2;
            if (x % bx == 0 || y % by == 0) k *= 0.55f;
            else if (x % bx == 1 || y % by == 1) k *= 1.15f;
            break;
          }
          case 2: {  // cobbles: round stones
            const float cell = std::max(6.0f, w / 3.0f);
            const float fx = Frac(x / cell + ((y / static_cast<int>(cell)) % 2) * 0.5f) - 0.5f;
            const float fy = Frac(y / cell) - 0.5f;
            const float d = fx * fx + fy * fy;
            k *= d > 0.18f ? 0.6f : 1.05f - d;
            break;
          }
          case 3: {  // planks: boards with seams and grain
            const int board = std::max(4, h / 4);
            if (y % board == 0) k *= 0.5f;
            k *= 0.9f + 0.2f * std::sin(x * 0.9f + (y / board) * 2.1f + n);
            break;
          }
          case 4:  // water: waves
            k *= 0.85f + 0.25f * std::sin(x * 0.5f + std::sin(y * 0.7f + n) * 2.0f + y * 0.3f);
            break;
          default:  // earth: speckles
            if ((Hash(s, x * 7, y) & 7) == 0) k *= 0.7f;
            break;
        }
        c.Put(x0 + x, y0 + y, Argb(Scale(base, k)));
      }
    // A thin darker rim keeps tiles apart.
    for (int i = 0; i < w; ++i) c.Put(x0 + i, y0 + h - 1, Argb(Scale(base, 0.6f)));
    for (int i = 0; i < h; ++i) c.Put(x0 + w - 1, y0 + i, Argb(Scale(base, 0.6f)));
  }
}

void DrawFloors(Canvas& c, const FrameGrid& g, uint32_t seed) {
  const Rgb base = FrameColour(static_cast<int>(seed), seed, 0.6f, 0.7f);
  for (int n = 0; n < g.Count(); ++n) {
    const float phase = 2 * kPi * n / 18.0f;
    const int x0 = g.X(n), y0 = g.Y(n);
    for (int y = 0; y < g.frameHeight; ++y)
      for (int x = 0; x < g.frameWidth; ++x) {
        const float wave = std::sin(x * 0.25f + phase) * std::cos(y * 0.3f - phase) * 0.5f + 0.5f;
        const float k = 0.6f + 0.5f * wave + 0.1f * Noise(x * 0.5f, y * 0.5f, seed);
        c.Put(x0 + x, y0 + y, Argb(Scale(base, k)));
      }
    // The phase also moves a bright glint along the strip.
    const float gx = g.frameWidth * (n % 18) / 18.0f;
    c.FillEllipse(x0 + gx + 2, y0 + g.frameHeight / 2.0f, 2.5f, 1.5f, Argb(Mix(base, {1, 1, 1}, 0.7f)));
  }
}

namespace {

struct Pose {
  float hipY;
  float bodyTopX;        // x of the shoulders (lean)
  float legs[4];         // two feet (x, y)
  float arms[4];         // two hands (x, y)
  bool weapon, glow, lying;
};

constexpr Pose kPoses[8] = {
    {0.62f, 0.50f, {0.40f, 0.93f, 0.60f, 0.93f}, {0.34f, 0.62f, 0.66f, 0.62f}, false, false, false},  // stand
    {0.62f, 0.52f, {0.32f, 0.93f, 0.64f, 0.90f}, {0.64f, 0.55f, 0.36f, 0.60f}, false, false, false},  // walk
    {0.62f, 0.48f, {0.68f, 0.93f, 0.36f, 0.90f}, {0.36f, 0.55f, 0.64f, 0.60f}, false, false, false},  // walk
    {0.62f, 0.55f, {0.34f, 0.93f, 0.68f, 0.93f}, {0.80f, 0.22f, 0.34f, 0.58f}, true, false, false},   // strike
    {0.62f, 0.50f, {0.40f, 0.93f, 0.60f, 0.93f}, {0.28f, 0.14f, 0.72f, 0.14f}, false, true, false},   // cast
    {0.64f, 0.38f, {0.46f, 0.93f, 0.68f, 0.92f}, {0.18f, 0.40f, 0.60f, 0.30f}, false, false, false},  // hurt
    {0.76f, 0.50f, {0.30f, 0.93f, 0.66f, 0.93f}, {0.36f, 0.78f, 0.66f, 0.70f}, false, false, false},  // kneel
    {0.0f, 0.0f, {0, 0, 0, 0}, {0, 0, 0, 0}, false, false, true},                                        // fallen
};

void DrawFigure(Canvas& c, int x0, int y0, int w, int h, const Pose& p, const Rgb& colour) {
  const float s = std::min(w, h) * 0.92f, ox = x0 + (w - s) / 2, oy = y0 + (h - s) / 2;
  auto X = [&](float v) { return ox + v * s; };
  auto Y = [&](float v) { return oy + v * s; };
  const float limb = std::max(1.5f, s * 0.09f);
  const uint32_t body = Argb(colour), skin = Argb(Mix(colour, {1.0f, 0.85f, 0.7f}, 0.6f));
  const uint32_t dark = Argb(Scale(colour, 0.55f));
  if (p.lying) {
    c.ThickLine(X(0.25f), Y(0.80f), X(0.62f), Y(0.80f), limb * 1.6f, body);
    c.ThickLine(X(0.62f), Y(0.80f), X(0.92f), Y(0.76f), limb, dark);
    c.ThickLine(X(0.62f), Y(0.82f), X(0.92f), Y(0.88f), limb, dark);
    c.ThickLine(X(0.32f), Y(0.80f), X(0.40f), Y(0.66f), limb * 0.8f, body);
    c.FillEllipse(X(0.15f), Y(0.79f), s * 0.09f, s * 0.09f, skin);
  } else {
    const float shoulderY = p.hipY - 0.28f;
    c.ThickLine(X(0.5f), Y(p.hipY), X(p.legs[0]), Y(p.legs[1]), limb, dark);
    c.ThickLine(X(0.5f), Y(p.hipY), X(p.legs[2]), Y(p.legs[3]), limb, dark);
    c.ThickLine(X(0.5f), Y(p.hipY), X(p.bodyTopX), Y(shoulderY), limb * 1.9f, body);
    c.ThickLine(X(p.bodyTopX), Y(shoulderY + 0.02f), X(p.arms[0]), Y(p.arms[1]), limb * 0.8f, body);
    c.ThickLine(X(p.bodyTopX), Y(shoulderY + 0.02f), X(p.arms[2]), Y(p.arms[3]), limb * 0.8f, body);
    c.FillEllipse(X(p.bodyTopX), Y(shoulderY - 0.11f), s * 0.095f, s * 0.095f, skin);
    if (p.weapon)
      c.ThickLine(X(p.arms[0]), Y(p.arms[1]), X(p.arms[0] + 0.14f), Y(p.arms[1] - 0.16f), limb * 0.6f, 0xFFE0E4ECu);
    if (p.glow) c.FillEllipse(X(0.5f), Y(0.06f), s * 0.07f, s * 0.05f, 0xFFFFF0A0u);
  }
  c.Outline(x0, y0, w, h, 0xFF10141Cu);
}

}  // namespace

void DrawFigures(Canvas& c, const FrameGrid& g, uint32_t seed) {
  for (int n = 0; n < g.Count(); ++n)
    DrawFigure(c, g.X(n), g.Y(n), g.frameWidth, g.frameHeight, kPoses[n % 8], FrameColour(n / 8, seed, 0.6f, 0.85f));
}

void DrawIcons(Canvas& c, const FrameGrid& g, uint32_t seed) {
  for (int n = 0; n < g.Count(); ++n) {
    const int w = g.frameWidth, h = g.frameHeight;
    const float s = std::min(w, h), cx = g.X(n) + w / 2.0f, cy = g.Y(n) + h / 2.0f;
    const Rgb colour = FrameColour(n, seed, 0.5f, 0.6f);
    c.FillEllipse(cx, cy, s * 0.46f, s * 0.46f, Argb(Scale(colour, 0.6f)));
    c.FillEllipse(cx, cy, s * 0.40f, s * 0.40f, Argb(colour));
    const uint32_t ink = Argb(Mix(colour, {1, 1, 1}, 0.8f));
    const float r = s * 0.26f, lw = std::max(1.5f, s * 0.08f);
    switch (n % 10) {
      case 0: c.FillEllipse(cx, cy, r * 0.6f, r * 0.6f, ink); break;
      case 1: c.FillPolygon({cx, cy - r, cx + r, cy, cx, cy + r, cx - r, cy}, ink); break;
      case 2: {
        std::vector<float> star;
        for (int i = 0; i < 10; ++i) {
          const float a = -kPi / 2 + i * kPi / 5, rr = i % 2 ? r * 0.45f : r;
          star.push_back(cx + rr * std::cos(a));
          star.push_back(cy + rr * std::sin(a));
        }
        c.FillPolygon(star, ink);
        break;
      }
      case 3:
        c.ThickLine(cx - r, cy, cx + r, cy, lw, ink);
        c.ThickLine(cx, cy - r, cx, cy + r, lw, ink);
        break;
      case 4: c.FillPolygon({cx, cy - r, cx + r, cy + r * 0.8f, cx - r, cy + r * 0.8f}, ink); break;
      case 5:
        c.FillEllipse(cx, cy, r, r, ink);
        c.FillEllipse(cx, cy, r * 0.55f, r * 0.55f, Argb(colour));
        break;
      case 6:  // sword
        c.ThickLine(cx - r, cy + r, cx + r, cy - r, lw, ink);
        c.ThickLine(cx - r * 0.7f, cy + r * 0.1f, cx - r * 0.1f, cy + r * 0.7f, lw, ink);
        break;
      case 7: c.FillPolygon({cx - r, cy - r, cx + r, cy - r, cx + r, cy, cx, cy + r, cx - r, cy}, ink); break;
      case 8:  // potion
        c.FillEllipse(cx, cy + r * 0.3f, r * 0.7f, r * 0.7f, ink);
        c.ThickLine(cx, cy - r, cx, cy, lw * 1.2f, ink);
        break;
      default:  // key
        c.FillEllipse(cx - r * 0.5f, cy, r * 0.45f, r * 0.45f, ink);
        c.ThickLine(cx - r * 0.5f, cy, cx + r, cy, lw, ink);
        c.ThickLine(cx + r * 0.7f, cy, cx + r * 0.7f, cy + r * 0.4f, lw, ink);
        break;
    }
  }
}

void DrawPicture(Canvas& c, uint32_t seed) {
  const int w = c.Width(), h = c.Height();
  const Rgb skyTop = FrameColour(static_cast<int>(seed), seed, 0.5f, 0.45f);
  const Rgb skyLow = Mix(skyTop, {1.0f, 0.85f, 0.6f}, 0.55f);
  const Rgb hill = FrameColour(static_cast<int>(seed) + 3, seed, 0.5f, 0.4f);
  const Rgb ground = FrameColour(static_cast<int>(seed) + 5, seed, 0.45f, 0.35f);
  const float sunX = w * (0.2f + 0.6f * Frac(seed * kGolden)), sunY = h * 0.22f;
  for (int x = 0; x < w; ++x) {
    const float far = h * (0.42f + 0.16f * FractalNoise(x / 40.0f, 0.5f, seed, 4));
    const float near = h * (0.62f + 0.12f * FractalNoise(x / 25.0f, 3.5f, seed + 9, 3));
    for (int y = 0; y < h; ++y) {
      Rgb p;
      if (y < far) {
        p = Mix(skyTop, skyLow, static_cast<float>(y) / far);
        const float d = std::hypot(x - sunX, y - sunY);
        if (d < h * 0.07f) p = {1.0f, 0.95f, 0.75f};
        else if (d < h * 0.2f) p = Mix(p, {1.0f, 0.9f, 0.6f}, 0.3f * (1 - d / (h * 0.2f)));
      } else if (y < near) {
        p = Scale(hill, 0.8f + 0.3f * FractalNoise(x / 9.0f, y / 9.0f, seed + 1, 3));
      } else {
        p = Scale(ground, 0.75f + 0.4f * FractalNoise(x / 6.0f, y / 6.0f, seed + 2, 3));
      }
      c.Put(x, y, Argb(p));
    }
  }
}

void DrawPanel(Canvas& c, uint32_t seed) {
  const int w = c.Width(), h = c.Height();
  const Rgb stone = Mix({0.72f, 0.72f, 0.74f}, FrameColour(static_cast<int>(seed), seed), 0.12f);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      float k = 0.78f + 0.32f * FractalNoise(x / 12.0f, y / 12.0f, seed, 4);
      // Blocks of 32 by 16 in running bond, their joints a little darker.
      const int row = y / 16, bx = (x + (row % 2) * 16) % 32;
      if (y % 16 == 0 || bx == 0) k *= 0.82f;
      k += 0.03f * ((Hash(seed, x, y) & 3) - 1.5f);
      c.Put(x, y, Argb(Scale(stone, k)));
    }
}

void DrawBorder(Canvas& c, const FrameGrid& g, uint32_t seed) {
  static const Rgb kBand[8] = {{0.06f, 0.06f, 0.09f}, {0.35f, 0.28f, 0.16f}, {0.54f, 0.42f, 0.20f},
                               {0.85f, 0.69f, 0.38f}, {0.96f, 0.90f, 0.66f}, {0.54f, 0.42f, 0.20f},
                               {0.35f, 0.28f, 0.16f}, {0.06f, 0.06f, 0.09f}};
  for (int n = 0; n < g.Count(); ++n) {
    const int x0 = g.X(n), y0 = g.Y(n);
    const bool vertical = n == 131, rule = n == 130 || n == 131;
    const float tone = 0.9f + 0.2f * Frac(n * kGolden + seed * 0.01f);
    for (int y = 0; y < g.frameHeight; ++y)
      for (int x = 0; x < g.frameWidth; ++x) {
        const int across = vertical ? x : y;
        if (rule) {
          if (across == 3) c.Put(x0 + x, y0 + y, 0xFFD8B060u);
          else if (across == 4) c.Put(x0 + x, y0 + y, 0xFF6A5028u);
          continue;
        }
        c.Put(x0 + x, y0 + y, Argb(Scale(kBand[across % 8], tone)));
      }
    if (!rule) {  // a rivet whose place names the piece
      const int rx = x0 + (n % 7) + 1, ry = y0 + 3 + (n / 7) % 2;
      c.Put(rx, ry, 0xFFFFFFFFu);
      c.Put(rx, ry + 1 - 2 * ((n / 7) % 2), 0xFF2A2010u);
    }
  }
}

void DrawGlow(Canvas& c, const FrameGrid& g, uint32_t seed) {
  for (int n = 0; n < g.Count(); ++n) {
    const Rgb colour = n == 1 ? Rgb{1, 1, 1} : FrameColour(n, seed, 0.5f, 1.0f);
    const float cx = g.X(n) + g.frameWidth / 2.0f, cy = g.Y(n) + g.frameHeight / 2.0f;
    const float r = std::min(g.frameWidth, g.frameHeight) * 0.46f;
    for (int y = g.Y(n); y < g.Y(n) + g.frameHeight; ++y)
      for (int x = g.X(n); x < g.X(n) + g.frameWidth; ++x) {
        const float d = std::hypot(x + 0.5f - cx, (y + 0.5f - cy) * (n == 0 ? 2.0f : 1.0f)) / r;
        float i = 0;
        switch (n % 4) {
          case 0: i = std::max(0.0f, 1 - std::fabs(d - 0.8f) * 8); break;  // a flat ring
          case 1: i = std::max(0.0f, 1 - d) * std::max(0.0f, 1 - d); break;  // soft glow
          case 2: i = std::max(0.0f, 1 - d * 1.4f); break;                  // small glow
          default: {                                                        // star burst
            const float a = std::atan2(y - cy, x - cx);
            i = std::max(0.0f, 1 - d) * (0.5f + 0.5f * std::pow(std::fabs(std::cos(a * 4 + n)), 8.0f));
            break;
          }
        }
        if (i <= 0.01f) continue;
        c.Put(x, y, Argb(Scale(colour, i), static_cast<int>(i * 255)));
      }
  }
}

void DrawBolts(Canvas& c, const FrameGrid& g, uint32_t seed) {
  for (int n = 0; n < g.Count(); ++n) {
    const Rgb colour = FrameColour(n, seed, 0.45f, 1.0f);
    const int x0 = g.X(n), y0 = g.Y(n);
    float y = g.frameHeight / 2.0f;
    for (int x = 0; x < g.frameWidth; x += 8) {
      const float next = g.frameHeight / 2.0f +
                         ((Hash(seed, n, x) % 1000) / 1000.0f - 0.5f) * g.frameHeight * 0.6f * std::sin(kPi * x / g.frameWidth);
      c.ThickLine(x0 + x, y0 + y, x0 + x + 8, y0 + next, 5.0f, Argb(Scale(colour, 0.5f), 140));
      c.ThickLine(x0 + x, y0 + y, x0 + x + 8, y0 + next, 2.0f, Argb(Mix(colour, {1, 1, 1}, 0.6f)));
      y = next;
    }
  }
}
