// Small things lying on the ground (the floor layer's decorations), rain,
// the marks of items and bodies on squares, and the range and area marks.
// Flat things (stains, cracks, moss) have no outline; things that stand up
// (tufts, bones, mushrooms) are outlined in ink.
#include <algorithm>
#include <cmath>

#include "frame_map.h"
#include "tile_fields.h"

namespace {

uint32_t C(const char* name) { return Pal().Colour(name); }
Ramp RampOf(const char* names) { return Pal().Make(names); }

int RandInt(uint32_t s, int i, int lo, int hi) { return lo + static_cast<int>(Rand01(s, i, 977) * (hi - lo + 1)) % (hi - lo + 1); }

void Tuft(Layer& l, int x, int y, int h, uint32_t s, const Ramp& r) {
  for (int b = -2; b <= 2; ++b) {
    const int bh = h - std::abs(b) - static_cast<int>(Rand01(s, b + 5) * 2);
    for (int k = 0; k < bh; ++k) {
      const int bx = x + b + (k > bh / 2 ? (b > 0 ? 1 : b < 0 ? -1 : 0) : 0);
      l.Put(bx, y - k, k >= bh - 1 ? r.back() : r[std::min<size_t>(r.size() - 2, 1 + static_cast<size_t>(k * 2 / std::max(1, bh)))]);
    }
  }
}

void Bone(Layer& l, float x0, float y0, float x1, float y1) {
  l.Line(x0, y0, x1, y1, 1.5f, C("stone.3"));
  l.Ellipse(x0, y0, 1.3f, 1.3f, C("skin.2"));
  l.Ellipse(x1, y1, 1.3f, 1.3f, C("stone.3"));
}

void Skull(Layer& l, int x, int y) {
  l.Ellipse(x + 3.0f, y + 2.5f, 3.0f, 2.6f, C("stone.3"));
  l.Rect(x + 1, y + 4, 4, 2, C("stone.2"));
  l.Put(x + 1, y + 1, C("grey.5"));
  l.Put(x + 2, y + 1, C("grey.5"));
  l.Put(x + 1, y + 3, C("ink.0"));
  l.Put(x + 4, y + 3, C("ink.0"));
  l.Put(x + 2, y + 5, C("grey.2"));
  l.Put(x + 3, y + 5, C("grey.2"));
}

void Mushroom(Layer& l, int x, int y, uint32_t cap, uint32_t capLight) {
  l.Rect(x, y - 2, 1, 3, C("skin.1"));
  l.Ellipse(x + 0.5f, y - 2.5f, 2.2f, 1.4f, cap);
  l.Put(x - 1, y - 3, capLight);
}

void Stain(Layer& l, float cx, float cy, float r, uint32_t s, const Ramp& ramp) {
  for (int y = 0; y < l.H(); ++y)
    for (int x = 0; x < l.W(); ++x) {
      const float d = std::hypot((x + 0.5f - cx) / r, (y + 0.5f - cy) / (r * 0.75f));
      const float n = TileNoise(x, y, s, 4, 2);
      if (d + (n - 0.5f) * 0.7f < 1.0f) l.Put(x, y, Tone(ramp, 0.5f + (n - 0.5f) - (d > 0.75f ? 0.3f : 0), x, y, 0.4f));
    }
}

void Crack(Layer& l, uint32_t s, int x, int y, int steps, uint32_t c, uint32_t light) {
  for (int k = 0; k < steps; ++k) {
    l.Put(x, y, c);
    l.Put(x + 1, y + 1, light);
    const float r = Rand01(s, k, 33);
    if (r < 0.35f) ++x;
    else if (r < 0.55f) --x;
    ++y;
    if (Rand01(s, k, 34) < 0.15f) Crack(l, s + 9 + k, x + 1, y, steps / 3, c, light);
  }
}

// The corpse left on a square: a body fallen on its side.
void Corpse(Layer& l) {
  l.Ellipse(9, 16, 2.5f, 2.5f, C("skin.0"));                  // head
  l.Line(11, 16, 19, 15, 4.0f, C("red.1"));                   // body
  l.Line(19, 15, 22, 18, 2.0f, C("brown.1"));                 // legs
  l.Line(19, 14, 22, 13, 2.0f, C("brown.1"));
  l.Line(13, 14, 12, 11, 1.5f, C("red.1"));                   // arm
  l.Outline(kInk);
  Layer pool(24, 24);
  for (int y = 18; y < 22; ++y)
    for (int x = 7; x < 18; ++x)
      if (!l.On(x, y) && std::hypot((x - 12) / 6.0f, (y - 19.5f) / 2.0f) < 1.0f) pool.Put(x, y, C("red.0"));
  l.Paste(pool, 0, 0);
}

// A sack of things lying on a square.
void Sack(Layer& l) {
  l.Ellipse(12, 16, 6.0f, 5.0f, C("brown.3"));
  l.Ellipse(12, 10.5f, 2.5f, 2.0f, C("brown.3"));
  l.Rect(11, 11, 3, 2, C("brown.2"));
  for (int y = 11; y < 21; ++y)
    for (int x = 6; x < 18; ++x)
      if (l.On(x, y) && (x - 12) + (y - 16) > 2) l.Put(x, y, C("brown.2"));
  l.Put(9, 13, C("brown.4"));
  l.Put(10, 12, C("brown.4"));
  l.Rect(10, 12, 5, 1, C("brown.1"));  // the cord
  l.Put(17, 19, C("fire.2"));
  l.Put(19, 20, C("fire.1"));
  l.Put(18, 21, C("fire.2"));
  l.Outline(kInk);
}

void Decor(Layer& l, const std::string& kind, int variant, uint32_t s, const Paint& p) {
  const Ramp grass = RampOf("green.1 green.2 green.3 green.4 green.5");
  if (kind == "tuft") {
    for (int i = 0; i < 1 + variant % 2; ++i) Tuft(l, RandInt(s, i, 6, 17), RandInt(s, i + 3, 12, 19), 5 + variant % 3, s + i, grass);
  } else if (kind == "flowers") {
    const uint32_t petal = variant == 0 ? C("fire.2") : variant == 1 ? C("red.3") : C("grey.5");
    for (int i = 0; i < 5; ++i) {
      const int x = RandInt(s, i, 4, 18), y = RandInt(s, i + 9, 6, 19);
      l.Put(x, y + 1, C("green.2"));
      l.Put(x, y + 2, C("green.1"));
      l.Put(x - 1, y, petal);
      l.Put(x + 1, y, petal);
      l.Put(x, y - 1, petal);
      l.Put(x, y, C("fire.1"));
    }
  } else if (kind == "pebbles") {
    for (int i = 0; i < 4 + variant * 2; ++i) {
      const int x = RandInt(s, i, 3, 19), y = RandInt(s, i + 20, 3, 19), sz = RandInt(s, i + 40, 1, 3);
      l.Ellipse(x + sz / 2.0f, y + sz / 2.0f, sz / 2.0f + 0.3f, sz / 2.0f, C("stone.2"));
      l.Put(x, y, C("stone.3"));
      l.Put(x + sz, y + sz, C("grey.1"));
    }
  } else if (kind == "leaves") {
    for (int i = 0; i < 9; ++i) {
      const int x = RandInt(s, i, 2, 20), y = RandInt(s, i + 7, 2, 20);
      const uint32_t c = i % 3 == 0 ? C("fire.0") : i % 3 == 1 ? C("brown.4") : C("red.2");
      l.Put(x, y, c);
      l.Put(x + 1, y, c);
      l.Put(x + 1, y + 1, C("brown.1"));
    }
  } else if (kind == "twigs") {
    for (int i = 0; i < 3; ++i) {
      const float x = RandInt(s, i, 4, 16), y = RandInt(s, i + 5, 5, 18);
      l.Line(x, y, x + 6, y + RandInt(s, i + 8, -2, 2), 1.0f, C("brown.2"));
      l.Put(static_cast<int>(x) + 3, static_cast<int>(y) - 1, C("brown.3"));
    }
  } else if (kind == "mushrooms") {
    for (int i = 0; i < 3; ++i)
      Mushroom(l, RandInt(s, i, 5, 18), RandInt(s, i + 4, 9, 20), variant ? C("red.2") : C("brown.3"), variant ? C("grey.5") : C("skin.1"));
    l.Outline(kInk);
  } else if (kind == "bones") {
    Bone(l, 6, 14, 14, 17);
    Bone(l, 10, 9, 16, 12);
    if (variant) Skull(l, 14, 13);
    l.Outline(kInk);
  } else if (kind == "skull") {
    Skull(l, 9, 10);
    Bone(l, 4, 18, 10, 19);
    l.Outline(kInk);
  } else if (kind == "blood") {
    Stain(l, 12, 13, 5.0f + variant, s, RampOf("red.0 red.1 red.2"));
    for (int i = 0; i < 4; ++i) l.Put(RandInt(s, i, 3, 20), RandInt(s, i + 3, 3, 20), C("red.1"));
  } else if (kind == "puddle") {
    Stain(l, 12, 13, 6.0f, s, RampOf("blue.1 blue.2 blue.3 blue.4"));
    l.Put(10, 11, C("blue.5"));
    l.Put(11, 11, C("grey.5"));
  } else if (kind == "cracks") {
    Crack(l, s, RandInt(s, 1, 6, 14), 2, 18, C("grey.0"), C("stone.2"));
  } else if (kind == "moss") {
    Stain(l, 12, 12, 7.0f, s, RampOf("green.1 green.2 green.3 green.4"));
  } else if (kind == "straw") {
    for (int i = 0; i < 22; ++i) {
      const float x = RandInt(s, i, 2, 19), y = RandInt(s, i + 30, 4, 20), dx = RandInt(s, i + 60, -3, 3);
      l.Line(x, y, x + dx, y + 1, 1.0f, i % 3 ? C("fire.1") : C("brown.4"));
    }
  } else if (kind == "ash") {
    Stain(l, 12, 13, 6.5f, s, RampOf("ink.0 grey.0 grey.1 grey.2"));
    l.Put(11, 13, C("fire.0"));
    l.Put(14, 12, C("red.3"));
  } else if (kind == "cobweb") {
    // A web across the north-west corner.
    for (int k = 0; k < 4; ++k) l.Line(0, 0, k < 2 ? 14 - k * 6 : 0, k < 2 ? k * 6 : 14 - (k - 2) * 6 + (k == 2 ? 0 : 0), 1.0f, C("grey.4"));
    for (int r = 4; r <= 12; r += 4)
      for (int a = 0; a <= 10; ++a) {
        const float ang = a / 10.0f * 1.5708f;
        l.Put(static_cast<int>(r * std::cos(ang)), static_cast<int>(r * std::sin(ang)), a % 3 ? C("grey.4") : C("grey.5"));
      }
  } else if (kind == "rubble") {
    for (int i = 0; i < 6; ++i) {
      const int x = RandInt(s, i, 3, 17), y = RandInt(s, i + 11, 6, 18), sz = RandInt(s, i + 22, 2, 4);
      l.Polygon({static_cast<float>(x), static_cast<float>(y + sz), static_cast<float>(x + 1), static_cast<float>(y),
                 static_cast<float>(x + sz + 1), static_cast<float>(y + 1), static_cast<float>(x + sz), static_cast<float>(y + sz)},
                C("stone.1"));
      l.Put(x + 1, y + 1, C("stone.3"));
    }
    l.Outline(kInk);
  } else if (kind == "fern") {
    for (int side = -1; side <= 1; side += 2)
      for (int k = 0; k < 3; ++k) {
        const float bx = 12, by = 19;
        const float ex = bx + side * (4 + k * 2), ey = by - 8 + k * 3;
        l.Line(bx, by, ex, ey, 1.0f, grass[2]);
        for (int t = 1; t < 4; ++t) l.Put(static_cast<int>(bx + (ex - bx) * t / 4), static_cast<int>(by + (ey - by) * t / 4) - 1, grass[4]);
      }
    l.Outline(kInk);
  } else if (kind == "lilypads") {
    for (int i = 0; i < 3; ++i) {
      const float x = RandInt(s, i, 5, 17), y = RandInt(s, i + 3, 6, 18);
      l.Ellipse(x, y, 3.0f, 2.0f, C("green.3"));
      l.Put(static_cast<int>(x), static_cast<int>(y), C("blue.2"));
      l.Put(static_cast<int>(x) + 1, static_cast<int>(y), C("blue.2"));
      l.Put(static_cast<int>(x) - 1, static_cast<int>(y) - 1, C("green.5"));
    }
    if (variant) {
      l.Put(10, 11, C("grey.5"));
      l.Put(11, 10, C("red.3"));
    }
  } else if (kind == "reeds" || kind == "tallgrass") {
    const bool reeds = kind == "reeds";
    const Ramp r = reeds ? RampOf("green.1 green.2 brown.3 green.4") : grass;
    for (int i = 0; i < (reeds ? 7 : 12); ++i) {
      const int x = 2 + i * (reeds ? 3 : 2) + RandInt(s, i, 0, 1), h = RandInt(s, i + 9, reeds ? 14 : 10, reeds ? 22 : 16);
      const int lean = RandInt(s, i + 20, -1, 1);
      for (int k = 0; k < h; ++k) l.Put(x + (k > h * 2 / 3 ? lean : 0), 23 - k, Tone(r, k / static_cast<float>(h) + 0.15f, x, k));
      if (reeds && i % 2 == 0) {
        l.Put(x + lean, 23 - h, C("brown.2"));
        l.Put(x + lean, 24 - h, C("brown.2"));
        l.Put(x + lean, 25 - h, C("brown.1"));
      }
    }
    l.Outline(kInk);
  } else if (kind == "bush") {
    for (int i = 0; i < 6; ++i)
      l.Ellipse(RandInt(s, i, 8, 15), RandInt(s, i + 6, 11, 16), 3.5f, 3.0f, C("green.2"));
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 24; ++x)
        if (l.On(x, y)) {
          const float lit = (TileNoise(x, y, s, 3, 1) - 0.5f) * 0.5f + (14 - x - y * 1.2f + 12) / 24.0f;
          l.Put(x, y, Tone(grass, lit, x, y, 0.5f));
        }
    if (variant) {
      l.Put(10, 12, C("red.3"));
      l.Put(14, 14, C("red.3"));
      l.Put(12, 10, C("red.3"));
    }
    l.Outline(kInk);
  } else if (kind == "thornbush") {
    // A low thornbush: dark spiked branches reaching out of a mound of dull
    // leaves, with a few red haws.
    for (int i = 0; i < 11; ++i) {
      const float a = 3.5f + i * 0.24f + (Rand01(s, i, 41) - 0.5f) * 0.2f;
      const float len = 8.0f + Rand01(s, i, 42) * 2.0f;
      const float x0 = 12, y0 = 17;
      const float dx = std::cos(a), dy = std::sin(a) * 0.8f;
      l.Line(x0, y0, x0 + dx * len, y0 + dy * len, 1.0f, C("brown.1"));
      for (float k = 3.0f; k < len; k += 2.0f) {  // thorns on alternate sides
        const float side = (static_cast<int>(k) % 4 == 1) ? 1.0f : -1.0f;
        l.Put(static_cast<int>(x0 + dx * k - dy * side * 1.4f), static_cast<int>(y0 + dy * k + dx * side * 1.4f),
              C("brown.3"));
      }
    }
    for (int i = 0; i < 9; ++i)
      l.Ellipse(RandInt(s, i, 7, 16), RandInt(s, i + 9, 11, 17), 3.4f, 2.8f, C("green.1"));
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 24; ++x)
        if (l.Get(x, y) == C("green.1")) {
          const float lit = (TileNoise(x, y, s, 3, 1) - 0.5f) * 0.6f + (14 - x - y * 1.2f + 10) / 28.0f;
          l.Put(x, y, Tone(RampOf("green.0 green.1 green.2 green.3"), lit, x, y, 0.5f));
        }
    for (int i = 0; i < 5; ++i) l.Put(RandInt(s, i + 20, 8, 16), RandInt(s, i + 25, 10, 16), C("red.3"));
    // Thorns standing out of the leaves' rim.
    const Layer leaves = l;
    for (int y = 1; y < 23; ++y)
      for (int x = 1; x < 23; ++x)
        if (!leaves.On(x, y) && Rand01(s, x, y) < 0.3f &&
            ((leaves.On(x + 1, y) && leaves.On(x + 2, y)) || (leaves.On(x - 1, y) && leaves.On(x - 2, y)) ||
             (leaves.On(x, y + 1) && leaves.On(x, y + 2))))
          l.Put(x, y, C("brown.3"));
    l.Outline(kInk);
  } else if (kind == "roots") {
    for (int i = 0; i < 3; ++i) {
      float x = 12, y = 12;
      for (int k = 0; k < 8; ++k) {
        const float nx = x + std::cos(i * 2.1f + k * 0.3f) * 1.6f, ny = y + std::sin(i * 2.1f + k * 0.3f) * 1.6f;
        l.Line(x, y, nx, ny, 1.6f - k * 0.1f, C("brown.2"));
        x = nx;
        y = ny;
      }
    }
    l.Outline(C("brown.0"));
  } else if (kind == "mat") {
    l.Rect(4, 7, 16, 10, C("red.2"));
    l.Rect(5, 8, 14, 8, C("red.1"));
    for (int x = 6; x < 18; x += 2) l.Put(x, 12, C("fire.1"));
    for (int x = 4; x < 20; x += 2) {
      l.Put(x, 6, C("skin.1"));
      l.Put(x, 17, C("skin.1"));
    }
  } else if (kind == "tracks") {
    for (int i = 0; i < 4; ++i) {
      const int x = 7 + (i % 2) * 6, y = 20 - i * 5;
      l.Put(x, y, C("brown.1"));
      l.Put(x + 1, y, C("brown.0"));
      l.Put(x, y - 1, C("brown.1"));
      l.Put(x + 1, y - 2, C("brown.0"));
    }
  } else if (kind == "shards") {
    for (int i = 0; i < 5; ++i) {
      const int x = RandInt(s, i, 4, 18), y = RandInt(s, i + 5, 6, 18);
      l.Polygon({static_cast<float>(x), static_cast<float>(y), static_cast<float>(x + 3), static_cast<float>(y + 1),
                 static_cast<float>(x + 1), static_cast<float>(y + 3)},
                i % 2 ? C("red.2") : C("brown.3"));
      l.Put(x, y, C("skin.0"));
    }
    l.Outline(kInk);
  } else if (kind == "candles") {
    for (int i = 0; i < 3; ++i) {
      const int x = 6 + i * 5 + (i == 1 ? 0 : 0), y = i == 1 ? 14 : 18;
      l.Rect(x, y - 4, 2, 5, C("skin.2"));
      l.Put(x + 1, y - 4, C("skin.1"));
      l.Put(x, y - 5, C("fire.1"));
      l.Put(x, y - 6, C("fire.2"));
    }
    l.Outline(kInk);
  } else if (kind == "papers") {
    for (int i = 0; i < 3; ++i) {
      const int x = RandInt(s, i, 3, 14), y = RandInt(s, i + 3, 4, 16);
      l.Rect(x, y, 6, 5, C("skin.2"));
      for (int k = 0; k < 3; ++k) l.Rect(x + 1, y + 1 + k, 4, 1, C("stone.2"));
    }
    l.Rect(14, 14, 6, 4, C("red.1"));  // a fallen book
    l.Rect(14, 14, 6, 1, C("red.2"));
    l.Outline(kInk);
  } else if (kind == "vines") {
    float x = 0, y = 6.0f + variant * 8;
    for (int k = 0; k < 12; ++k) {
      const float nx = x + 2, ny = y + std::sin(k * 1.1f) * 1.5f;
      l.Line(x, y, nx, ny, 1.0f, C("green.2"));
      if (k % 2) {
        l.Put(static_cast<int>(nx), static_cast<int>(ny) - 1, C("green.4"));
        l.Put(static_cast<int>(nx) + 1, static_cast<int>(ny) - 1, C("green.3"));
      }
      x = nx;
      y = ny;
    }
  } else if (kind == "icepatch") {
    Stain(l, 12, 12, 7.0f, s, RampOf("blue.3 blue.4 blue.5 grey.5"));
    l.Line(8, 10, 13, 9, 1.0f, C("grey.5"));
  } else if (kind == "embers") {
    Crack(l, s, 8, 3, 16, C("red.3"), C("fire.0"));
    Crack(l, s + 1, 15, 5, 12, C("fire.0"), C("red.2"));
  } else if (kind == "grate") {
    l.Rect(5, 6, 14, 12, C("ink.0"));
    for (int x = 6; x < 19; x += 3) l.Rect(x, 6, 1, 12, C("grey.3"));
    l.Rect(5, 6, 14, 1, C("grey.4"));
    l.Rect(5, 17, 14, 1, C("grey.1"));
  } else if (kind == "trapdoor") {
    l.Rect(4, 4, 16, 16, C("brown.2"));
    for (int x = 4; x < 20; x += 4) l.Rect(x, 4, 1, 16, C("brown.1"));
    l.Rect(4, 4, 16, 1, C("brown.3"));
    l.Rect(4, 8, 16, 1, C("grey.2"));
    l.Rect(4, 15, 16, 1, C("grey.2"));
    l.Put(17, 12, C("fire.1"));
    l.Outline(kInk);
  } else if (kind == "log") {
    l.Line(4, 15, 19, 12, 5.0f, C("brown.2"));
    l.Line(4, 14, 19, 11, 1.5f, C("brown.3"));
    l.Ellipse(19.5f, 12.5f, 2.0f, 2.5f, C("skin.0"));
    l.Put(19, 12, C("brown.3"));
    l.Outline(kInk);
  } else if (kind == "arrows") {
    for (int i = 0; i < 3; ++i) {
      const float x = 7 + i * 5, y = 16 - (i % 2) * 4;
      l.Line(x, y, x - 3, y - 6, 1.0f, C("brown.3"));
      l.Put(static_cast<int>(x) - 3, static_cast<int>(y) - 6, C("grey.5"));
      l.Put(static_cast<int>(x) - 4, static_cast<int>(y) - 7, C("grey.5"));
    }
    l.Outline(kInk);
  } else if (kind == "debris") {
    l.Ellipse(9, 14, 4.0f, 3.0f, C("red.2"));     // a dropped shield
    l.Ellipse(9, 13.5f, 2.5f, 1.8f, C("fire.1"));
    l.Line(13, 18, 21, 10, 1.0f, C("grey.4"));     // a broken blade
    l.Line(12, 19, 14, 17, 1.5f, C("brown.2"));
    l.Outline(kInk);
  } else if (kind == "deadgrass") {
    for (int i = 0; i < 2; ++i) Tuft(l, RandInt(s, i, 6, 17), RandInt(s, i + 3, 12, 19), 5, s + i, RampOf("brown.1 brown.2 brown.3 brown.4"));
  } else if (kind == "snowdrift") {
    Stain(l, 12, 13, 7.0f, s, RampOf("grey.4 blue.5 grey.5"));
  } else if (kind == "stump") {
    l.Ellipse(12, 15, 5.0f, 3.5f, C("brown.2"));
    l.Rect(7, 12, 11, 4, C("brown.2"));
    l.Ellipse(12, 12, 5.0f, 3.0f, C("skin.0"));
    l.Ellipse(12, 12, 2.5f, 1.5f, C("brown.4"));
    l.Put(12, 12, C("brown.3"));
    l.Outline(kInk);
  } else if (kind == "corpse") {
    Corpse(l);
  } else if (kind == "sack") {
    Sack(l);
  } else {
    p.Fail("no decoration " + DoubleQuotedBytes(kind));
  }
}

}  // namespace

void AddDecorPainters(PainterMap& m) {
  // decor KIND [variant=N]: the variants N, N + 1, ... of a decoration on
  // the line's frames, each 0 to 3 (more pebbles, a wider stain, the vines
  // lower down: past 3 they no longer fit the frame).
  m["decor"] = [](const Paint& p) {
    constexpr int kLastVariant = 3;
    const int variant = p.OptInt("variant", 0, 0, kLastVariant);
    if (variant + p.Count() - 1 > kLastVariant)
      p.Fail("the line draws variants " + std::to_string(variant) + " to " + std::to_string(variant + p.Count() - 1) +
             ", a decoration's are 0 to " + std::to_string(kLastVariant));
    for (int f = p.first; f <= p.last; ++f) {
      Layer l(p.W(), p.H());
      Decor(l, p.Arg(0), variant + (f - p.first), p.Seed(f), p);
      p.Put(f, l);
    }
  };
  // Rain: slanting drops, a different scatter in each frame.
  m["rain"] = [](const Paint& p) {
    for (int f = p.first; f <= p.last; ++f) {
      Layer l(p.W(), p.H());
      const uint32_t s = p.Seed(f);
      for (int i = 0; i < 7; ++i) {
        const int x = RandInt(s, i, 2, 21), y = RandInt(s, i + 10, 0, 17);
        for (int k = 0; k < 5; ++k) l.Put(x - k / 2, y + k, k < 2 ? 0xFFEEF0F4u : 0xFFB4E4F4u);
      }
      p.Put(f, l);
    }
  };
  // floor-anim KIND: a floor tile in ten phases (running water, lava, a bog,
  // glowing runes).
  m["floor-anim"] = [](const Paint& p) {
    const std::string kind = p.Arg(0);
    for (int f = p.first; f <= p.last; ++f) {
      Layer l(p.W(), p.H());
      const float t = static_cast<float>(f - p.first) / p.Count();
      for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x) {
          if (kind == "stream") {
            const float wave = std::sin((x + t * 24) * 2 * 3.14159f / 12 + std::sin(y * 0.5f) * 1.5f);
            const float n = TileNoise(x - t * 24, y, 7, 6, 2);
            l.Put(x, y, Tone(RampOf("blue.1 blue.2 blue.3 blue.4 blue.5"), 0.4f + n * 0.25f + (wave > 0.85f ? 0.3f : 0), x, y, 0.4f));
          } else if (kind == "lava") {
            const float n = TileNoise(x, y + t * 24, 8, 8, 3);
            const CellHit h = TileCells(x + 0.5f, y + 0.5f + t * 24, 9, 8, 24, 0.8f);
            float v = 0.45f + n * 0.4f;
            if (h.f2 - h.f1 < 1.2f) v = 0.1f;
            l.Put(x, y, Tone(RampOf("red.0 red.1 red.2 red.3 fire.0 fire.1 fire.2"), v, x, y, 0.4f));
          } else if (kind == "bog") {
            const float n = TileNoise(x, y, 10, 8, 3);
            l.Put(x, y, Tone(RampOf("ink.0 teal.0 green.0 green.1 teal.1"), 0.3f + n * 0.5f, x, y, 0.5f));
          } else if (kind == "runes") {
            const float d = std::hypot(x - 11.5f, y - 11.5f);
            const float pulse = 0.5f + 0.5f * std::sin(t * 2 * 3.14159f);
            if (std::fabs(d - 9) < 0.8f || (std::fabs(d - 5) < 0.6f && (static_cast<int>(std::atan2(y - 11.5f, x - 11.5f) * 3) % 2)))
              l.Put(x, y, Tone(RampOf("teal.0 teal.1 teal.2 blue.5 grey.5"), 0.3f + 0.6f * pulse - (d < 7 ? 0.2f : 0.0f), x, y, 0.4f));
            else if (d < 1.5f)
              l.Put(x, y, C("grey.5"));
          } else {
            p.Fail("no animated floor " + DoubleQuotedBytes(kind));
          }
        }
      if (kind == "bog") {  // a bubble rising and bursting
        const float b = std::fmod(t * 2, 1.0f);
        const int bx = 7 + static_cast<int>(t * 2) * 9, by = 14;
        if (b < 0.8f) l.Ellipse(bx, by, 1 + b * 2.5f, 1 + b * 2, C("green.2"));
        else l.Put(bx, by, C("green.4"));
      }
      p.Put(f, l);
    }
  };
  // patch KIND: a floor patch the game draws scaled over several squares,
  // the picture and its edge.
  m["patch"] = [](const Paint& p) {
    const std::string kind = p.Arg(0);
    Layer l(p.W(), p.H());
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 24; ++x) {
        const float d = std::hypot(x + 0.5f - 12, y + 0.5f - 12) / 12.0f;
        const float n = TileNoise(x, y, 13, 6, 2);
        if (kind == "pond" && d + (n - 0.5f) * 0.2f < 0.92f) l.Put(x, y, Tone(RampOf("blue.0 blue.1 blue.2 blue.3"), 0.3f + (1 - d) * 0.6f, x, y, 0.5f));
        else if (kind == "pond-edge" && std::fabs(d + (n - 0.5f) * 0.2f - 0.92f) < 0.07f) l.Put(x, y, y < 12 ? C("brown.3") : C("brown.2"));
        else if (kind == "rug" && x > 1 && x < 22 && y > 3 && y < 20) {
          const int dd = std::abs(x - 11) + std::abs(y - 11);
          l.Put(x, y, dd % 6 < 2 ? C("fire.1") : dd % 6 < 4 ? C("red.1") : C("red.2"));
        } else if (kind == "rug-edge" && x > 1 && x < 22 && (y == 3 || y == 20)) l.Put(x, y, (x % 2) ? C("skin.1") : C("brown.4"));
        else if (kind == "circle" && std::fabs(d - 0.85f) < 0.06f) l.Put(x, y, y < 12 ? C("purple.3") : C("purple.2"));
        else if (kind == "circle-edge" && std::fabs(d - 0.55f) < 0.06f && static_cast<int>((std::atan2(y - 12.0f, x - 12.0f) + 3.2f) * 2.5f) % 2)
          l.Put(x, y, y < 12 ? C("grey.5") : C("grey.4"));
      }
    if (kind != "pond" && kind != "pond-edge" && kind != "rug" && kind != "rug-edge" && kind != "circle" && kind != "circle-edge")
      p.Fail("no patch " + DoubleQuotedBytes(kind));
    p.Put(p.first, l);
  };
  // area KIND: a magic area on a square: tangle (growth and webs), silence,
  // fire.
  m["area"] = [](const Paint& p) {
    const std::string kind = p.Arg(0);
    Layer l(p.W(), p.H());
    const uint32_t s = p.Seed(p.first);
    if (kind == "tangle") {
      for (int i = 0; i < 5; ++i) {  // vines
        float x = RandInt(s, i, 0, 23), y = RandInt(s, i + 5, 0, 23);
        for (int k = 0; k < 14; ++k) {
          const float nx = x + std::cos(i * 1.7f + k * 0.5f) * 1.6f, ny = y + std::sin(i * 1.7f + k * 0.5f) * 1.6f;
          l.Line(x, y, nx, ny, 1.0f, k % 4 == 0 ? C("green.4") : C("green.2"));
          x = nx;
          y = ny;
        }
      }
      for (int k = 0; k < 4; ++k)  // strands of web across them
        l.Line(RandInt(s, k, 0, 6), RandInt(s, k + 9, 0, 23), RandInt(s, k + 3, 17, 23), RandInt(s, k + 12, 0, 23), 1.0f, C("grey.4"));
    } else if (kind == "silence") {
      for (int i = 0; i < 40; ++i) {
        const float a = i * 2 * 3.14159f / 40;
        l.Put(static_cast<int>(12 + std::cos(a) * 10), static_cast<int>(12 + std::sin(a) * 10), C("blue.4"));
      }
      l.Line(8, 12, 16, 12, 1.0f, C("blue.5"));
    } else if (kind == "fire") {
      for (int i = 0; i < 5; ++i) {
        const float x = 3 + i * 4.5f, h = 8.0f + (i % 2) * 5;
        l.Polygon({x - 3, 22, x, 22 - h, x + 3, 22}, C("fire.0"));
        l.Polygon({x - 1.5f, 22, x, 22 - h * 0.55f, x + 1.5f, 22}, C("fire.2"));
      }
    } else {
      p.Fail("no area " + DoubleQuotedBytes(kind));
    }
    p.Put(p.first, l);
  };
  // mark COLOUR: a range square, a filled tint with a brighter rim (the game
  // draws it faint).
  m["mark"] = [](const Paint& p) {
    Layer l(p.W(), p.H());
    const Ramp r = Pal().Make(p.Arg(0, "grey.5") + " " + p.Arg(1, "grey.5"));
    l.Rect(1, 1, p.W() - 2, p.H() - 2, r[0]);
    for (int i = 1; i < p.W() - 1; ++i) {
      l.Put(i, 1, r.back());
      l.Put(i, p.H() - 2, r.back());
      l.Put(1, i, r.back());
      l.Put(p.W() - 2, i, r.back());
    }
    p.Put(p.first, l);
  };
}
