// Whole pictures cut into frames: the title picture, the backdrop of the
// menu pages, the world map (painted from the world map's own ground
// layer), the script picture, the pictures of the end screens and the
// portraits of the party and of talkers.
//
//   0-15  picture title from=0,0 cols=4         # pieces left to right, top to bottom
//   16-31 picture scene from=0,0 cols=16 stride=32
#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>

#include "common/tool_files.h"
#include "figure_kit.h"
#include "figure_recipe.h"
#include "frame_map.h"
#include "model.h"
#include "mapmaker/map_source.h"
#include "tile_fields.h"

namespace {

constexpr float kPi = 3.14159265f;

uint32_t C(const char* name) { return Pal().Colour(name); }
Ramp Rp(const char* names) { return Pal().Make(names); }

// A ridge line across the picture: its height at x, from layered noise.
float Ridge(float x, uint32_t seed, float base, float amplitude, float scale) {
  return base - amplitude * 2.2f * (FractalNoise(x / scale, 0.5f, seed, 3, 1 << 20) - 0.35f);
}

void Sky(Layer& l, int horizon, const Ramp& r, float sunX, float sunY) {
  for (int y = 0; y < l.H(); ++y)
    for (int x = 0; x < l.W(); ++x) {
      const float t = std::clamp(static_cast<float>(y) / horizon, 0.0f, 1.0f);
      const float glow = std::max(0.0f, 1 - std::hypot(x - sunX, (y - sunY) * 1.6f) / 140.0f);
      l.Put(x, y, Tone(r, t * 0.8f + glow * 0.35f, x, y, 0.7f));
    }
}

void Sun(Layer& l, float cx, float cy, float r) {
  l.Ellipse(cx, cy, r + 3, r + 3, C("fire.1"));
  l.Ellipse(cx, cy, r, r, C("fire.2"));
  l.Ellipse(cx - r * 0.2f, cy - r * 0.2f, r * 0.6f, r * 0.6f, C("skin.2"));
}

// A range of hills or mountains below a ridge, lit from the left: faces
// that fall to the right catch the light.
void Range(Layer& l, uint32_t seed, float base, float amplitude, float scale, const Ramp& r, float light, bool snow) {
  std::vector<float> top(static_cast<size_t>(l.W()) + 8);
  for (int x = -4; x < l.W() + 4; ++x) top[static_cast<size_t>(x + 4)] = Ridge(x, seed, base, amplitude, scale);
  auto ridge = [&](int x) { return top[static_cast<size_t>(std::clamp(x, -4, l.W() + 3) + 4)]; };
  for (int x = 0; x < l.W(); ++x) {
    const float t = ridge(x);
    const float slope = (ridge(x + 3) - ridge(x - 3)) / 6.0f;  // > 0 when the ground falls to the right
    for (int y = static_cast<int>(std::max(0.0f, t)); y < l.H(); ++y) {
      const float depth = (y - t) / 50.0f;
      // The light follows the slope of the face below the ridge.
      float v = light + std::clamp(slope * 0.6f, -0.25f, 0.3f) - depth * 0.45f +
                (FractalNoise(x / 9.0f, y / 5.0f, seed + 3, 2, 1 << 20) - 0.5f) * 0.2f;
      if (snow && y - t < 4 + 4 * FractalNoise(x / 6.0f, 0.3f, seed + 9, 2, 1 << 20) && t < base - amplitude * 0.55f)
        l.Put(x, y, slope > 0 ? C("grey.5") : C("grey.3"));
      else
        l.Put(x, y, Tone(r, v, x, y, 0.6f));
    }
  }
}

void Pines(Layer& l, uint32_t seed, float base, int count, float size, const Ramp& r) {
  for (int i = 0; i < count; ++i) {
    const float x = Rand01(seed, i) * l.W();
    const float h = size * (0.7f + 0.6f * Rand01(seed, i, 1));
    const float y = base + Rand01(seed, i, 2) * size * 0.6f;
    l.Polygon({x, y - h, x + h * 0.32f, y, x - h * 0.32f, y}, r[0]);
    l.Polygon({x, y - h, x - h * 0.32f, y, x - h * 0.05f, y}, r[1]);
  }
}

void Castle(Layer& l, float cx, float ground, float s) {
  const Ramp stone = Rp("ink.0 grey.0 grey.1 grey.2 stone.1");
  auto block = [&](float x0, float x1, float top, bool crenels) {
    for (int x = static_cast<int>(x0); x < static_cast<int>(x1); ++x)
      for (int y = static_cast<int>(top); y < static_cast<int>(ground); ++y) {
        const bool lit = x < x0 + (x1 - x0) * 0.35f;
        l.Put(x, y, Tone(stone, lit ? 0.7f : 0.35f, x, y, 0.3f));
      }
    if (crenels)
      for (int x = static_cast<int>(x0); x < static_cast<int>(x1); x += 4) l.Rect(x, static_cast<int>(top) - 2, 2, 2, stone[2]);
  };
  block(cx - 40 * s, cx + 40 * s, ground - 22 * s, true);
  block(cx - 46 * s, cx - 34 * s, ground - 46 * s, true);
  block(cx + 34 * s, cx + 46 * s, ground - 40 * s, true);
  block(cx - 12 * s, cx + 12 * s, ground - 62 * s, true);
  l.Polygon({cx - 14 * s, ground - 62 * s, cx + 14 * s, ground - 62 * s, cx, ground - 82 * s}, C("red.1"));
  l.Polygon({cx - 14 * s, ground - 62 * s, cx, ground - 62 * s, cx, ground - 82 * s}, C("red.2"));
  l.Line(cx, ground - 82 * s, cx, ground - 92 * s, 1.0f, C("grey.1"));
  l.Polygon({cx, ground - 92 * s, cx + 9 * s, ground - 89 * s, cx, ground - 86 * s}, C("red.3"));
  // Lit windows.
  const float wins[][2] = {{-4, 50}, {4, 50}, {0, 38}, {-40, 34}, {-30, 14}, {40, 28}, {20, 12}, {-10, 10}};
  for (auto& w : wins) l.Rect(static_cast<int>(cx + w[0] * s), static_cast<int>(ground - w[1] * s), 2, 3, C("fire.1"));
  l.Rect(static_cast<int>(cx - 5 * s), static_cast<int>(ground - 12 * s), static_cast<int>(10 * s), static_cast<int>(12 * s), C("ink.0"));
}

void Birds(Layer& l, uint32_t seed, int n, float x0, float y0) {
  for (int i = 0; i < n; ++i) {
    const float x = x0 + Rand01(seed, i) * 60, y = y0 + Rand01(seed, i, 1) * 25;
    l.Line(x - 2, y - 1, x, y, 1.0f, C("ink.0"));
    l.Line(x, y, x + 2, y - 1, 1.0f, C("ink.0"));
  }
}

// Text in the large font, scaled, in a ramp from top to bottom with an ink
// outline and a shadow.
void Title(Layer& l, const Font& font, const std::string& word, float cx, float y, int scale, const Ramp& r) {
  const int advance = (font.width) * scale;
  const int width = advance * static_cast<int>(word.size());
  Layer text(l.W(), l.H());
  int x = static_cast<int>(cx - width / 2.0f);
  for (char ch : word) {
    auto it = font.glyphs.find(static_cast<unsigned char>(ch));
    if (it == font.glyphs.end() && ch != ' ')
      throw SourceError("the large font has no glyph for " + QuotedBytes(std::string(1, ch)) + " of " + QuotedBytes(word));
    if (it != font.glyphs.end()) {
      const Glyph& g = it->second;
      for (int gy = 0; gy < static_cast<int>(g.size()); ++gy)
        for (int gx = 0; gx < static_cast<int>(g[gy].size()); ++gx)
          if (g[gy][gx] == '#')
            for (int sy = 0; sy < scale; ++sy)
              for (int sx = 0; sx < scale; ++sx) {
                const int px = x + gx * scale + sx, py = static_cast<int>(y) + gy * scale + sy;
                const float t = static_cast<float>(gy * scale + sy) / (7 * scale);
                float v = 1.0f - t * 0.9f;
                if (sx == 0 || sy == 0) v += 0.2f;
                if (sx == scale - 1 || sy == scale - 1) v -= 0.15f;
                text.Put(px, py, Tone(r, v, px, py, 0.5f));
              }
    }
    x += advance;
  }
  Layer shadow = text;
  shadow.Outline(kInk);
  for (int yy = 0; yy < l.H(); ++yy)
    for (int xx = 0; xx < l.W(); ++xx)
      if (shadow.On(xx - 2, yy - 2)) l.Put(xx, yy, kInk);
  text.Outline(kInk);
  l.Paste(text, 0, 0);
}

struct Sources {
  Font large;
  std::unique_ptr<MapRecord> world = std::make_unique<MapRecord>();
};
Sources gSources;

Layer TitlePicture() {
  Layer l(320, 256);
  const float sunX = 214, sunY = 128;
  Sky(l, 168, Rp("blue.0 blue.1 purple.0 purple.1 red.1 red.2 fire.0 fire.1"), sunX, sunY);
  for (int i = 0; i < 90; ++i) {  // the first stars
    const int x = static_cast<int>(Rand01(7, i) * 320), y = static_cast<int>(Rand01(8, i) * 70);
    l.Put(x, y, i % 5 ? C("blue.3") : C("grey.5"));
  }
  Sun(l, sunX, sunY, 9);
  for (int i = 0; i < 5; ++i) {  // streaks of cloud lit from below
    const float y = 95 + i * 11, x0 = 20 + Rand01(3, i) * 200, w = 60 + Rand01(4, i) * 70;
    l.Line(x0, y, x0 + w, y, 2.0f, C("purple.1"));
    l.Line(x0 + 4, y + 1, x0 + w - 6, y + 1, 1.0f, C("red.2"));
  }
  Range(l, 21, 150, 40, 40, Rp("blue.0 purple.0 purple.1 blue.1 purple.2"), 0.45f, true);
  Range(l, 22, 176, 26, 30, Rp("ink.0 blue.0 purple.0 teal.0 blue.1"), 0.35f, false);
  // The crag and the castle.
  {
    Layer crag(320, 256);
    crag.Polygon({36, 256, 58, 172, 80, 150, 128, 146, 152, 162, 172, 256}, C("grey.0"));
    for (int y = 140; y < 256; ++y)
      for (int x = 30; x < 180; ++x)
        if (crag.On(x, y)) {
          const CellHit h = TileCells(x * 0.8f, y * 0.5f, 77, 8, 1 << 16, 0.9f);
          float v = 0.35f - (x - 60) / 300.0f - (y - 150) / 250.0f;
          if (h.f2 - h.f1 < 1.0f) v -= 0.2f;
          else if (static_cast<int>(h.id) % 3 == 0) v += 0.12f;
          l.Put(x, y, Tone(Rp("ink.0 grey.0 grey.1 blue.1 grey.2"), v, x, y, 0.5f));
        }
  }
  Castle(l, 104, 150, 0.9f);
  Range(l, 23, 205, 14, 26, Rp("ink.0 green.0 green.1 teal.0 green.2"), 0.3f, false);
  Pines(l, 24, 196, 40, 16, Rp("ink.0 green.0"));
  Range(l, 25, 228, 8, 30, Rp("ink.0 grey.0 green.0 grey.1"), 0.15f, false);
  Birds(l, 26, 5, 230, 70);
  Title(l, gSources.large, "GREVENHOLT", 160, 18, 4, Rp("brown.2 brown.4 fire.1 fire.2 skin.2"));
  return l;
}

// The backdrop of the menu pages: courses of stone, darker towards the
// edges, and nothing drawn on them, so that the pages' texts read over it.
Layer Backdrop() {
  Layer l(320, 256);
  const Ramp stone = Rp("ink.0 grey.0 grey.1 grey.2 stone.0 stone.1");
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 320; ++x) {
      const int row = y / 16, bx = (x + (row % 2) * 16) % 32;
      float v = 0.5f + (FractalNoise(x / 9.0f, y / 9.0f, 41, 3, 1 << 20) - 0.5f) * 0.35f;
      if (y % 16 == 0 || bx == 0) v -= 0.35f;
      else if (y % 16 == 1 || bx == 1) v += 0.15f;
      const float vignette = std::hypot((x - 160) / 190.0f, (y - 128) / 150.0f);
      v -= std::max(0.0f, vignette - 0.55f) * 0.7f;
      l.Put(x, y, Tone(stone, v, x, y, 0.5f));
    }
  return l;
}

// The world map from the world map's ground layer: eight pixels a square.
Layer WorldPicture() {
  Layer l(320, 256);
  const MapRecord& world = *gSources.world;
  // Beyond the map lies the sea.
  auto code = [&](int x, int y) { return world.Inside(x, y) ? world.At(kLayerGround, x, y) : 6; };
  // The places that can be entered (code 5 and above of the first objects layer).
  std::vector<std::pair<int, int>> places;
  for (int y = 0; y < world.height; ++y)
    for (int x = 0; x < world.width; ++x)
      if (world.At(kLayerObjects0, x, y) >= 5) places.emplace_back(x, y);
  // Distance to water, for the coast and the shallows.
  const Ramp sea = Rp("blue.0 blue.1 blue.2 blue.3"), land = Rp("green.1 green.2 green.3 green.4 brown.4"),
             rock = Rp("grey.0 grey.1 stone.0 stone.1 stone.2 grey.5");
  std::vector<int> kind(320 * 256);
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 320; ++x) {
      const int c = code(x / 8, y / 8);
      // Blend the square's edges with its neighbours by noise, so squares do
      // not show.
      const float jx = (FractalNoise(x / 6.0f, y / 6.0f, 51, 2, 1 << 20) - 0.5f) * 6;
      const float jy = (FractalNoise(x / 6.0f, y / 6.0f, 52, 2, 1 << 20) - 0.5f) * 6;
      const int wc = code(static_cast<int>(std::floor((x + jx) / 8)), static_cast<int>(std::floor((y + jy) / 8)));
      kind[static_cast<size_t>(y) * 320 + x] = (c == 6) != (wc == 6) ? wc : c;
    }
  auto kindAt = [&](int x, int y) { return kind[static_cast<size_t>(std::clamp(y, 0, 255)) * 320 + std::clamp(x, 0, 319)]; };
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 320; ++x) {
      const int k = kindAt(x, y);
      const float n = FractalNoise(x / 14.0f, y / 14.0f, 53, 3, 1 << 20);
      if (k == 6) {
        // Foam along the shore below land, shallows a little lighter.
        const bool shore = kindAt(x, y - 1) != 6 || kindAt(x - 1, y) != 6;
        const bool shallow = kindAt(x, y - 3) != 6 || kindAt(x - 3, y) != 6 || kindAt(x + 3, y) != 6 || kindAt(x, y + 3) != 6;
        float v = 0.3f + n * 0.4f + (shallow ? 0.25f : 0.0f);
        if ((static_cast<int>(x + y * 0.5f) % 11 == 0) && n > 0.55f) v += 0.3f;
        l.Put(x, y, shore ? C("grey.4") : Tone(sea, v, x, y, 0.6f));
      } else if (k == 3) {
        l.Put(x, y, Tone(rock, 0.3f + n * 0.4f, x, y, 0.6f));
      } else {
        l.Put(x, y, Tone(land, 0.35f + n * 0.5f, x, y, 0.6f));
      }
    }
  for (int sy = 0; sy < 32; ++sy)
    for (int sx = 0; sx < 40; ++sx) {
      const int c = code(sx, sy);
      const float x = sx * 8 + 4 + (Rand01(61, sx, sy) - 0.5f) * 3, y = sy * 8 + 6;
      if (c == 3) {
        l.Polygon({x - 5, y, x, y - 8, x + 5, y}, C("stone.0"));
        l.Polygon({x - 5, y, x, y - 8, x, y}, C("stone.2"));
        l.Polygon({x - 1.5f, y - 5, x, y - 8, x + 1.5f, y - 5}, C("grey.5"));
      } else if (c != 6 && Rand01(62, sx, sy) < 0.35f) {
        l.Ellipse(x, y - 3, 2.5f, 2.5f, C("green.1"));
        l.Ellipse(x - 0.5f, y - 3.5f, 1.5f, 1.5f, C("green.3"));
        l.Put(static_cast<int>(x), static_cast<int>(y), C("brown.1"));
      }
    }
  // Each place: a walled settlement of three roofs on a patch of trodden earth.
  for (const auto& [sx, sy] : places) {
    const float x = sx * 8 + 4.0f, y = sy * 8 + 4.0f;
    l.Ellipse(x, y + 1, 6, 4.5f, C("brown.1"));
    l.Ellipse(x, y + 1, 5, 3.5f, C("brown.3"));
    for (const auto& [dx, dy] : {std::pair<float, float>{-2.5f, 1.5f}, {2.5f, 1.5f}, {0, -1.5f}}) {
      l.Rect(static_cast<int>(x + dx - 1.5f), static_cast<int>(y + dy - 0.5f), 3, 3, C("skin.2"));
      l.Polygon({x + dx - 2.5f, y + dy, x + dx, y + dy - 3, x + dx + 2.5f, y + dy}, C("red.1"));
    }
  }
  // A compass rose in the sea's corner.
  const float rx = 300, ry = 236;
  l.Polygon({rx, ry - 12, rx + 3, ry, rx, ry + 12, rx - 3, ry}, C("skin.2"));
  l.Polygon({rx - 12, ry, rx, ry - 3, rx + 12, ry, rx, ry + 3}, C("stone.2"));
  l.Polygon({rx, ry - 12, rx + 3, ry, rx, ry}, C("red.3"));
  return l;
}

// The script picture: the party's camp at night under a ruined tower.
Layer ScenePicture() {
  Layer l(320, 256);
  Sky(l, 200, Rp("ink.0 blue.0 blue.0 blue.1 purple.0 blue.1"), 250, 60);
  for (int i = 0; i < 160; ++i) {
    const int x = static_cast<int>(Rand01(71, i) * 320), y = static_cast<int>(Rand01(72, i) * 150);
    l.Put(x, y, i % 7 ? C("blue.3") : C("grey.5"));
  }
  l.Ellipse(250, 50, 12, 12, C("grey.4"));
  l.Ellipse(246, 47, 10, 10, C("grey.5"));
  Range(l, 73, 170, 34, 45, Rp("ink.0 blue.0 purple.0 blue.1"), 0.4f, false);
  // A ruined tower on the left.
  for (int y = 60; y < 200; ++y)
    for (int x = 40; x < 84; ++x) {
      const float top = 60 + 18 * std::fabs(std::sin(x * 0.3f)) + (x > 70 ? 20 : 0);
      if (y < top) continue;
      const int row = y / 6, bx = (x + (row % 2) * 4) % 8;
      float v = x < 52 ? 0.55f : 0.3f;
      if (y % 6 == 0 || bx == 0) v -= 0.2f;
      l.Put(x, y, Tone(Rp("ink.0 grey.0 blue.0 grey.1 blue.1"), v, x, y, 0.4f));
    }
  l.Rect(58, 110, 5, 9, C("ink.0"));
  Range(l, 74, 214, 10, 35, Rp("ink.0 green.0 grey.0 teal.0"), 0.3f, false);
  // The campfire's light on the ground and the fire.
  const float fx = 190, fy = 224;
  for (int y = 180; y < 256; ++y)
    for (int x = 100; x < 290; ++x) {
      const float d = std::hypot((x - fx) / 80.0f, (y - fy) / 30.0f);
      if (d < 1 && l.On(x, y) && Bayer(x, y) > d) l.Put(x, y, d < 0.4f ? C("brown.3") : C("brown.1"));
    }
  for (int i = 0; i < 3; ++i) {
    const float x = fx - 6 + i * 6;
    l.Polygon({x - 4, fy, x, fy - 14 - (i % 2) * 5, x + 4, fy}, C("fire.0"));
    l.Polygon({x - 2, fy, x, fy - 8 - (i % 2) * 3, x + 2, fy}, C("fire.2"));
  }
  l.Line(fx - 10, fy + 2, fx + 10, fy + 1, 2.0f, C("brown.1"));
  // Four sitting figures round the fire, in silhouette lit on one side.
  const float seats[4][2] = {{150, 222}, {228, 222}, {170, 236}, {214, 238}};
  for (int i = 0; i < 4; ++i) {
    const float x = seats[i][0], y = seats[i][1];
    const bool left = x < fx;
    l.Ellipse(x, y - 14, 3.5f, 3.5f, C("ink.0"));
    l.Polygon({x - 6, y, x - 4, y - 11, x + 4, y - 11, x + 6, y}, C("ink.0"));
    l.Line(x + (left ? 3 : -3), y - 14, x + (left ? 3 : -3), y - 1, 1.0f, C("red.2"));
  }
  return l;
}

// The game's name for the splash screen: 512x128, gold letters over a rule
// ending in two diamonds.
Layer LogoPicture() {
  Layer l(512, 128);
  const Ramp gold = Rp("brown.2 brown.4 fire.1 fire.2 skin.2");
  Title(l, gSources.large, "GREVENHOLT", 256, 28, 6, gold);
  const int y = 78, left = 20, right = 492;
  l.Rect(left, y, right - left, 2, C("fire.1"));
  l.Rect(left, y + 2, right - left, 1, C("brown.2"));
  for (int side = 0; side < 2; ++side) {
    const float cx = side ? right + 6.0f : left - 6.0f;
    l.Polygon({cx, y - 6.0f, cx + 6, y + 1.0f, cx, y + 8.0f, cx - 6, y + 1.0f}, C("fire.1"));
    l.Polygon({cx, y - 6.0f, cx - 6, y + 1.0f, cx, y + 1.0f}, C("skin.2"));
  }
  Layer rule(512, 128);
  for (int yy = y - 6; yy < y + 9; ++yy)
    for (int xx = 0; xx < 512; ++xx)
      if (l.Get(xx, yy) == C("fire.1") || l.Get(xx, yy) == C("brown.2") || l.Get(xx, yy) == C("skin.2")) rule.Put(xx, yy, l.Get(xx, yy));
  rule.Outline(kInk);
  l.Paste(rule, 0, 0);
  return l;
}

// Pictures of the end screens (128x128 in the top left of their frame).
Layer EndPicture(const std::string& name) {
  Layer l(256, 256);
  Model m;
  View v;
  v.originX = 64;
  v.originY = 100;
  if (name == "victory") {
    const int wood = AddColour(m, "darkred");
    const int gold = AddColour(m, "gold");
    const int steel = AddColour(m, "steel");
    m.Box({0, 0, 12}, {30, 18, 12}, wood);
    m.Box({0, 0, 25}, {26, 14, 2}, gold);
    for (int i = 0; i < 9; ++i) m.Ball({-20.0f + i * 5, (i % 3) * 4.0f - 4, 27.0f + (i % 2) * 2}, 3, 3, 1.5f, gold);
    m.Box({-20, 0, 12}, {2, 18.5f, 12.5f}, gold);
    m.Box({20, 0, 12}, {2, 18.5f, 12.5f}, gold);
    m.Line({-40, 20, 10}, {30, -30, 80}, steel, 3);
    m.Line({40, 20, 10}, {-30, -30, 80}, steel, 3);
  } else if (name == "defeat") {
    const int steel = AddColour(m, "steel");
    const int bone = AddColour(m, "bone");
    const int earth = AddColour(m, "brown");
    m.Ball({0, 0, 0}, 50, 30, 4, earth);
    m.Ball({-10, 0, 12}, 13, 13, 11, steel);
    m.Ball({-10, 0, 4}, 15, 15, 2, steel);
    m.Ball({22, 6, 8}, 8, 7, 8, bone);
    m.Line({-40, 10, 3}, {0, 20, 5}, steel, 3);
    m.Line({8, 20, 4}, {40, 14, 20}, steel, 3);
  } else if (name == "ending") {
    for (int y = 0; y < 128; ++y)
      for (int x = 0; x < 128; ++x) {
        const float d = std::hypot(x - 64, (y - 80) * 1.3f);
        l.Put(x, y, Tone(Rp("blue.1 purple.1 red.2 fire.0 fire.1 fire.2 skin.2"), 1 - d / 110.0f, x, y, 0.6f));
      }
    Range(l, 91, 90, 16, 30, Rp("ink.0 blue.0 purple.0 blue.1"), 0.35f, false);
    for (int y = 110; y < 256; ++y)
      for (int x = 0; x < 256; ++x) l.Put(x, y, kClear);
    for (int y = 0; y < 128; ++y)
      for (int x = 128; x < 256; ++x) l.Put(x, y, kClear);
    l.Rect(0, 110, 128, 18, C("ink.0"));
    for (int y = 90; y < 128; ++y)
      for (int x = 0; x < 128; ++x)
        if (!l.On(x, y)) l.Put(x, y, C("ink.0"));
    return l;
  } else {
    const int cloth = AddColour(m, "blue");
    const int wood = AddColour(m, "wood");
    const int gold = AddColour(m, "gold");
    m.Line({0, 0, 0}, {0, 0, 90}, wood, 2);
    Slab(m, {14, 0, 66}, Vec3{14, 0, 0}, Vec3{0, 0, 20}, 1, cloth);
    m.Ball({0, 0, 92}, 3, 3, 3, gold);
  }
  Render(m, v, l);
  return l;
}

// A portrait: the head and shoulders of a figure recipe, close up, on a
// dark ground.
Layer Portrait(const Paint& p) {
  Layer l(p.W(), p.H());
  const Ramp ground = Pal().Make(p.Opt("ground", "blue.0 blue.1 blue.2"));
  for (int y = 0; y < l.H(); ++y)
    for (int x = 0; x < l.W(); ++x) {
      const float d = std::hypot(x - 12.0f, y - 10.0f) / 30.0f;
      l.Put(x, y, Tone(ground, 0.85f - d, x, y, 0.6f));
    }
  std::string builder;
  Recipe r = ExpandRecipe(p, &builder);
  if (builder != "humanoid") p.Fail("a portrait is of a person");
  r.words["height"] = "72";
  r.words["right"] = "none";
  r.words["left"] = "none";
  Model m;
  try {
    BuildHumanoid(r, Stance{}, m);
  } catch (const SourceError& e) {
    p.Fail(e.what());
  }
  m.Turn(kPi / 2 - 0.35f);
  // Faces close up: a mouth and brows besides the eyes.
  View v;
  v.originX = l.W() / 2.0f;
  v.originY = 17.0f + 0.865f * 72;
  Layer fig(l.W(), l.H());
  Render(m, v, fig);
  l.Paste(fig, 0, 0);
  for (int i = 0; i < l.W(); ++i) {
    l.Put(i, 0, kInk);
    l.Put(0, i, kInk);
    l.Put(i, l.H() - 1, kInk);
    l.Put(l.W() - 1, i, kInk);
  }
  return l;
}

}  // namespace

void ReadPictureSources(const Font& large, const std::string& contentDir) {
  gSources.large = large;
  const std::string path = contentDir + "/../maps/FullVersion/WorldMap.txt";
  std::string text;
  if (!ReadSourceFile(path, &text)) throw SourceError(path + ": cannot open the world map");
  const MapSourceResult read = CompileMapSource(path, text, true, gSources.world.get());
  std::string faults;
  for (const std::string& fault : read.errors) faults += (faults.empty() ? "" : "\n") + fault;
  if (!read.ok) throw SourceError(faults);
}

void AddPicturePainters(PainterMap& m) {
  m["picture"] = [](const Paint& p) {
    const std::string name = p.Arg(0);
    Layer pic(1, 1);
    if (name == "title") pic = TitlePicture();
    else if (name == "backdrop") pic = Backdrop();
    else if (name == "world") pic = WorldPicture();
    else if (name == "scene") pic = ScenePicture();
    else if (name == "victory" || name == "defeat" || name == "ending" || name == "banner") pic = EndPicture(name);
    else if (name == "logo") pic = LogoPicture();
    else p.Fail("no picture " + DoubleQuotedBytes(name));
    const std::string from = p.Opt("from", "0,0");
    // "x,y", read whole.
    const size_t comma = from.find(',');
    long long fx = 0, fy = 0;
    if (comma == std::string::npos || !ReadWholeNumber(from.substr(0, comma), 0, 4096, &fx) ||
        !ReadWholeNumber(from.substr(comma + 1), 0, 4096, &fy))
      p.Fail("from= is x,y in pixels, not " + DoubleQuotedBytes(from));
    // At least one column a row (none divided by nothing and drew no frame).
    const int cols = p.OptInt("cols", 1, 1, 64), stride = p.OptInt("stride", cols, 1, 64);
    for (int f = p.first; f <= p.last; ++f) {
      const int i = f - p.first, col = i % stride, row = i / stride;
      if (col >= cols) continue;
      p.Put(f, pic, -(static_cast<int>(fx) + col * p.W()), -(static_cast<int>(fy) + row * p.H()));
    }
  };
  m["portrait"] = [](const Paint& p) { p.Put(p.first, Portrait(p)); };
}
