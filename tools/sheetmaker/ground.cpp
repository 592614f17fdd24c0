// Ground tiles: the 24-pixel squares of layer 0 (grass, earth, roads, stone,
// wood, water and the rest), each tiling with itself and its variants, and
// the shore pieces where water meets a beach.
#include <algorithm>
#include <cmath>
#include <functional>

#include "frame_map.h"
#include "ground.h"
#include "tile_fields.h"

namespace {

constexpr int kT = 24;

uint32_t C(const char* name) { return Pal().Colour(name); }

// A pebble: a small stone lit from the top left.
void Pebble(Layer& l, int x, int y, int size, const Ramp& ramp) {
  if (size <= 1) {
    l.Put(x, y, ramp[ramp.size() - 2]);
    l.Put(x + 1, y + 1, ramp[0]);
    return;
  }
  for (int j = 0; j < size; ++j)
    for (int i = 0; i < size; ++i) {
      if ((i == 0 || i == size - 1) && (j == 0 || j == size - 1) && size > 2) continue;
      const float v = 1.0f - (i + j) / (2.0f * size);
      l.Put(x + i, y + j, ramp[std::min<size_t>(ramp.size() - 1, 1 + static_cast<size_t>(v * (ramp.size() - 1)))]);
    }
  for (int i = 0; i < size; ++i) l.Put(x + i + 1, y + size, ramp[0]);
  l.Put(x + size, y + size - 1, ramp[0]);
}

// Wraps a coordinate into the tile.
int W(int v) { return ((v % kT) + kT) % kT; }

void Field(Layer& l, const std::function<uint32_t(int, int)>& f) {
  for (int y = 0; y < kT; ++y)
    for (int x = 0; x < kT; ++x) l.Put(x, y, f(x, y));
}

// Grass: a mottled green with blades catching the light.
void Grass(Layer& l, uint32_t seed, const Ramp& ramp, int blades, float base) {
  Field(l, [&](int x, int y) {
    const float n = TileNoise(x, y, 11, 8, 3) * 0.7f + TileNoise(x, y, 12, 3, 2) * 0.3f;
    return Tone(ramp, base + (n - 0.5f) * 0.55f, x, y, 0.5f);
  });
  for (int i = 0; i < blades; ++i) {
    const int x = static_cast<int>(Rand01(seed, i) * kT), y = static_cast<int>(Rand01(seed, i, 1) * kT);
    const int h = 1 + static_cast<int>(Rand01(seed, i, 2) * 2);
    const bool light = Rand01(seed, i, 3) < 0.6f;
    for (int k = 0; k < h; ++k) l.Put(W(x), W(y - k), light ? ramp[ramp.size() - 1 - (k == 0 ? 0 : 1)] : ramp[1]);
    if (light) l.Put(W(x), W(y + 1), ramp[1]);
  }
}

void Flowers(Layer& l, uint32_t seed, int count) {
  const uint32_t petals[4] = {C("skin.2"), C("fire.2"), C("red.3"), C("purple.3")};
  for (int i = 0; i < count; ++i) {
    const int x = 2 + static_cast<int>(Rand01(seed, i, 7) * 19), y = 2 + static_cast<int>(Rand01(seed, i, 8) * 19);
    const uint32_t p = petals[static_cast<int>(Rand01(seed, i, 9) * 4) % 4];
    l.Put(x, y, p);
    l.Put(x + 1, y, p);
    l.Put(x, y + 1, p);
    l.Put(x + 1, y + 1, C("fire.1"));
    l.Put(x + 1, y + 2, C("green.1"));
  }
}

void Earth(Layer& l, uint32_t seed, const Ramp& ramp, float base, int stones, const Ramp& stoneRamp) {
  Field(l, [&](int x, int y) {
    float n = TileNoise(x, y, 21, 8, 3) * 0.6f + TileNoise(x, y, 24, 3, 2) * 0.4f;
    if (Rand01(22, x, y) < 0.06f) n -= 0.3f;
    if (Rand01(23, x, y) < 0.04f) n += 0.25f;
    return Tone(ramp, base + (n - 0.5f) * 0.38f, x, y, 0.5f);
  });
  for (int i = 0; i < stones; ++i)
    Pebble(l, 1 + static_cast<int>(Rand01(seed, i) * 20), 1 + static_cast<int>(Rand01(seed, i, 1) * 20),
           1 + static_cast<int>(Rand01(seed, i, 2) * 2.4f), stoneRamp);
}

// Irregular slabs with mortar joints; light on the top-left edge of each.
void Slabs(Layer& l, uint32_t seed, const Ramp& ramp, const Ramp& mortar, int cell, float jitter, bool cracked) {
  Field(l, [&](int x, int y) {
    const CellHit h = TileCells(x + 0.5f, y + 0.5f, seed, cell, kT, jitter);
    const CellHit hl = TileCells(x - 0.5f, y - 0.5f, seed, cell, kT, jitter);  // up-left neighbour
    const float edge = h.f2 - h.f1;
    if (edge < 1.1f) return mortar[1];
    const float tone = 0.45f + (Rand01(seed, static_cast<int>(h.id)) - 0.5f) * 0.35f +
                       (TileNoise(x, y, seed + 5, 4, 2) - 0.5f) * 0.3f;
    if (hl.id != h.id || hl.f2 - hl.f1 < 1.1f) return Tone(ramp, tone + 0.35f, x, y, 0.2f);  // lit rim
    const CellHit hr = TileCells(x + 1.5f, y + 1.5f, seed, cell, kT, jitter);
    if (hr.id != h.id || hr.f2 - hr.f1 < 1.1f) return Tone(ramp, tone - 0.3f, x, y, 0.2f);  // shaded rim
    return Tone(ramp, tone, x, y, 0.3f);
  });
  if (cracked)
    for (int i = 0; i < 3; ++i) {
      int x = 3 + static_cast<int>(Rand01(seed, i, 40) * 16), y = 3 + static_cast<int>(Rand01(seed, i, 41) * 16);
      for (int k = 0; k < 5; ++k) {
        l.Put(x, y, mortar[0]);
        x += Rand01(seed, i * 9 + k, 42) < 0.5f ? 1 : 0;
        y += 1;
      }
    }
}

// Rounded stones in offset rows.
void Cobbles(Layer& l, uint32_t seed, const Ramp& ramp, const Ramp& gap) {
  Field(l, [&](int x, int y) {
    const CellHit h = TileCells(x + 0.5f, y + 0.5f, seed, 4, kT, 0.5f);
    const float dx = x + 0.5f - h.px, dy = y + 0.5f - h.py;
    if (h.f2 - h.f1 < 0.9f) return gap[0];
    const float r = (h.f1 + h.f2) * 0.5f;
    const float shade = 0.5f - (dx + dy) / (r * 2.2f) + (Rand01(seed, static_cast<int>(h.id)) - 0.5f) * 0.3f;
    return Tone(ramp, shade, x, y, 0.2f);
  });
}

// Boards running east-west, six pixels wide, their ends staggered.
void Planks(Layer& l, uint32_t seed, const Ramp& ramp, float base) {
  const int bw = 6;
  Field(l, [&](int x, int y) {
    const int board = y / bw, row = y % bw;
    const int joint = (board * 11 + static_cast<int>(seed % 5) * 3) % kT;
    const float grain = std::sin((x + board * 7) * 0.9f + std::sin(x * 0.3f + board) * 2.0f) * 0.08f;
    float v = base + (Rand01(seed, board) - 0.5f) * 0.2f + grain + (TileNoise(x, y, seed + board, 3, 1) - 0.5f) * 0.15f;
    if (row == bw - 1) return ramp[0];
    if (row == 0) v += 0.18f;
    if (x == joint) return ramp[0];
    if (x == W(joint + 1)) v += 0.12f;
    if ((x == W(joint + 2) || x == W(joint - 2)) && (row == 1 || row == bw - 3)) return ramp[1];  // nails
    return Tone(ramp, v, x, y, 0.25f);
  });
}

void Water(Layer& l, uint32_t seed, const Ramp& ramp, float base) {
  Field(l, [&](int x, int y) {
    const float n = TileNoise(x, y, 31, 8, 2);
    const float wave = std::sin((x + 2 * y) * 2 * 3.14159f / 12.0f + TileNoise(x, y, 32, 6, 1) * 6.0f);
    float v = base + (n - 0.5f) * 0.35f;
    if (wave > 0.93f) v += 0.3f;
    return Tone(ramp, v, x, y, 0.45f);
  });
  for (int i = 0; i < 3; ++i) {  // glints
    const int x = static_cast<int>(Rand01(seed, i, 50) * kT), y = static_cast<int>(Rand01(seed, i, 51) * kT);
    l.Put(x, y, ramp.back());
    l.Put(W(x + 1), y, ramp[ramp.size() - 2]);
  }
}

void Sand(Layer& l, uint32_t seed, const Ramp& ramp, float base) {
  Field(l, [&](int x, int y) {
    const float ripple = std::sin((y * 2 + x * 0.5f) * 2 * 3.14159f / 8.0f + TileNoise(x, y, 41, 8, 1) * 5.0f);
    float v = base + (TileNoise(x, y, 42, 4, 2) - 0.5f) * 0.3f + ripple * 0.12f;
    if (Rand01(seed, x, y) < 0.04f) v -= 0.25f;
    return Tone(ramp, v, x, y, 0.5f);
  });
}

// Chequered tiles with veins (marble) or plain (temple).
void Tiles(Layer& l, uint32_t seed, const Ramp& a, const Ramp& b, int size, bool veins) {
  Field(l, [&](int x, int y) {
    const int tx = x / size, ty = y / size, ix = x % size, iy = y % size;
    const Ramp& r = ((tx + ty) % 2) ? b : a;
    if (ix == size - 1 || iy == size - 1) return r[0];
    float v = 0.55f + (TileNoise(x, y, seed, 4, 2) - 0.5f) * 0.2f;
    if (ix == 0 || iy == 0) v += 0.3f;
    if (veins) {
      const float vein = std::fabs(std::sin((x * 0.7f + y * 0.4f) + TileNoise(x, y, seed + 3, 6, 2) * 7.0f));
      if (vein < 0.12f) v -= 0.35f;
    }
    return Tone(r, v, x, y, 0.3f);
  });
}

// A carpet: a field with a woven pattern and a border along its edges.
void Carpet(Layer& l, const Ramp& field, const Ramp& trim) {
  Field(l, [&](int x, int y) {
    const int dx = std::min(x, kT - 1 - x), dy = std::min(y, kT - 1 - y);
    const int d = std::abs(x - 11) + std::abs(y - 11);
    if ((d == 6 || d == 7) || (d < 3)) return trim[2];
    if (d == 8) return field[0];
    float v = 0.5f + ((x + y) % 2 ? 0.08f : -0.08f);
    if (dx == 0 || dy == 0) v -= 0.25f;
    return Tone(field, v, x, y, 0.2f);
  });
}

}  // namespace

Layer GroundTile(const std::string& kind, int variant, uint32_t seed) {
  Layer l(kT, kT);
  const uint32_t s = seed + static_cast<uint32_t>(variant) * 977u;
  const Ramp grass = Pal().Make("green.1 green.2 green.3 green.4 green.5");
  const Ramp dark = Pal().Make("green.0 green.1 green.2 green.3");
  const Ramp dry = Pal().Make("brown.2 brown.3 green.3 brown.4 green.4 skin.0");
  const Ramp earth = Pal().Make("brown.1 brown.2 brown.3 brown.4");
  const Ramp road = Pal().Make("brown.2 brown.3 brown.4 skin.0");
  const Ramp stone = Pal().Make("grey.1 stone.0 stone.1 stone.2 stone.3");
  const Ramp cool = Pal().Make("grey.1 grey.2 grey.3 grey.4");
  const Ramp wood = Pal().Make("brown.0 brown.1 brown.2 brown.3 brown.4");
  const Ramp water = Pal().Make("blue.1 blue.2 blue.3 blue.4 blue.5");
  const Ramp deep = Pal().Make("blue.0 blue.1 blue.2 blue.3");
  const Ramp sand = Pal().Make("brown.3 brown.4 skin.0 skin.1 skin.2");
  const Ramp snow = Pal().Make("grey.3 grey.4 blue.5 grey.5");
  if (kind == "grass") {
    Grass(l, s, grass, 26, 0.5f);
    if (variant == 1) Flowers(l, s, 2);
  } else if (kind == "lush") {
    Grass(l, s, grass, 40, 0.62f);
  } else if (kind == "forest") {
    Grass(l, s, dark, 18, 0.45f);
    for (int i = 0; i < 6; ++i) {  // fallen leaves
      const int x = static_cast<int>(Rand01(s, i, 60) * 22), y = static_cast<int>(Rand01(s, i, 61) * 22);
      const uint32_t c = Rand01(s, i, 62) < 0.5f ? C("brown.3") : C("fire.0");
      l.Put(x, y, c);
      l.Put(x + 1, y, c);
      l.Put(x + 1, y + 1, C("brown.1"));
    }
  } else if (kind == "steppe") {
    Grass(l, s, dry, 30, 0.5f);
  } else if (kind == "earth") {
    Earth(l, s, earth, 0.5f, 1 + variant, Pal().Make("brown.1 stone.0 stone.1 stone.2"));
  } else if (kind == "road") {
    Earth(l, s, road, 0.55f, 2, Pal().Make("brown.2 stone.0 stone.1 stone.2"));
    if (variant == 1)
      for (int x = 0; x < kT; ++x) {  // cart ruts
        l.Put(x, 7, road[0]);
        l.Put(x, 16, road[0]);
        l.Put(x, 8, road[1]);
      }
  } else if (kind == "gravel") {
    Earth(l, s, Pal().Make("grey.2 stone.0 stone.1 stone.2"), 0.5f, 14, stone);
  } else if (kind == "farmland") {
    Field(l, [&](int x, int y) {
      const int row = y % 6;
      float v = 0.45f + (TileNoise(x, y, s, 4, 2) - 0.5f) * 0.3f;
      if (row == 0) v = 0.15f;
      if (row == 1) v += 0.3f;
      return Tone(earth, v, x, y, 0.3f);
    });
    for (int i = 0; i < 8; ++i)
      l.Put(static_cast<int>(Rand01(s, i, 70) * 24), static_cast<int>(Rand01(s, i, 71) * 4) * 6 + 3, C("green.4"));
  } else if (kind == "flagstones") {
    Slabs(l, s, stone, cool, 8, 0.7f, variant == 1);
  } else if (kind == "dungeon") {
    Slabs(l, s + 3, Pal().Make("grey.1 grey.2 stone.0 stone.1"), Pal().Make("ink.0 grey.0 grey.1"), 12, 0.2f, variant == 1);
  } else if (kind == "cobbles") {
    Cobbles(l, s, stone, Pal().Make("grey.0 grey.1"));
  } else if (kind == "mossy") {
    Slabs(l, s + 9, stone, Pal().Make("green.0 green.1 green.2"), 8, 0.6f, false);
    for (int y = 0; y < kT; ++y)
      for (int x = 0; x < kT; ++x)
        if (TileNoise(x, y, s + 4, 6, 2) > 0.62f) l.Put(x, y, Tone(grass, 0.4f + TileNoise(x, y, 5, 3, 1) * 0.3f, x, y));
  } else if (kind == "planks") {
    Planks(l, s, wood, 0.55f + 0.1f * variant);
  } else if (kind == "bridge") {
    Planks(l, s, wood, 0.45f);
    for (int y = 0; y < kT; ++y) {
      l.Put(0, y, C("brown.0"));
      l.Put(kT - 1, y, C("brown.0"));
    }
  } else if (kind == "cave") {
    Field(l, [&](int x, int y) {
      const CellHit h = TileCells(x + 0.5f, y + 0.5f, s, 6, kT, 0.9f);
      float v = 0.4f + (TileNoise(x, y, s, 6, 3) - 0.5f) * 0.5f;
      if (h.f2 - h.f1 < 0.8f) v -= 0.35f;
      return Tone(Pal().Make("ink.0 grey.0 grey.1 stone.0 stone.1"), v, x, y, 0.4f);
    });
    for (int i = 0; i < 3; ++i)
      Pebble(l, 2 + static_cast<int>(Rand01(s, i, 80) * 18), 2 + static_cast<int>(Rand01(s, i, 81) * 18), 2, stone);
  } else if (kind == "wetcave") {
    Field(l, [&](int x, int y) {
      float v = 0.4f + (TileNoise(x, y, s, 6, 3) - 0.5f) * 0.5f;
      if (TileNoise(x, y, s + 2, 8, 2) > 0.6f) return Tone(deep, 0.45f + (Rand01(s, x, y) < 0.1f ? 0.4f : 0.0f), x, y);
      return Tone(Pal().Make("ink.0 grey.0 grey.1 stone.0 teal.0"), v, x, y, 0.4f);
    });
  } else if (kind == "water") {
    Water(l, s, water, 0.42f);
  } else if (kind == "deep") {
    Water(l, s, deep, 0.4f);
  } else if (kind == "sand") {
    Sand(l, s, sand, 0.55f);
  } else if (kind == "snow") {
    Sand(l, s, snow, 0.7f);
  } else if (kind == "ice") {
    Field(l, [&](int x, int y) {
      float v = 0.55f + (TileNoise(x, y, s, 12, 2) - 0.5f) * 0.35f;
      if (std::fabs(std::sin(x * 0.5f - y * 0.9f + TileNoise(x, y, s + 1, 8, 1) * 4.0f)) < 0.08f) v += 0.4f;
      return Tone(Pal().Make("blue.3 blue.4 blue.5 grey.5"), v, x, y, 0.3f);
    });
  } else if (kind == "marsh") {
    Field(l, [&](int x, int y) {
      const float n = TileNoise(x, y, s, 8, 3);
      if (n < 0.42f) return Tone(Pal().Make("teal.0 green.0 green.1 teal.1"), 0.5f + (n - 0.3f), x, y, 0.4f);
      return Tone(Pal().Make("brown.1 green.1 green.2 brown.3 green.3"), 0.3f + (n - 0.4f) * 1.3f, x, y, 0.4f);
    });
    for (int i = 0; i < 10; ++i) {
      const int x = static_cast<int>(Rand01(s, i, 90) * 24), y = static_cast<int>(Rand01(s, i, 91) * 24);
      l.Put(x, y, C("green.4"));
      l.Put(x, W(y + 1), C("green.2"));
    }
  } else if (kind == "ashrock") {
    Field(l, [&](int x, int y) {
      const CellHit h = TileCells(x + 0.5f, y + 0.5f, s, 8, kT, 0.9f);
      if (h.f2 - h.f1 < 0.9f) return (Rand01(s, x, y) < 0.5f) ? C("fire.0") : C("red.3");
      if (h.f2 - h.f1 < 1.8f) return C("red.1");
      return Tone(Pal().Make("ink.0 grey.0 grey.1 grey.2"), 0.45f + (TileNoise(x, y, s, 4, 2) - 0.5f) * 0.5f, x, y, 0.4f);
    });
  } else if (kind == "carpet") {
    Carpet(l, variant == 1 ? Pal().Make("blue.0 blue.1 blue.2 blue.3") : Pal().Make("red.0 red.1 red.2 red.3"),
           Pal().Make("brown.3 fire.1 fire.2"));
  } else if (kind == "marble") {
    Tiles(l, s, Pal().Make("stone.2 stone.3 grey.4 grey.5"), Pal().Make("grey.1 grey.2 grey.3 stone.2"), 12, true);
  } else if (kind == "temple") {
    Tiles(l, s, Pal().Make("brown.3 brown.4 skin.0 skin.1"), Pal().Make("red.1 red.2 brown.2 brown.3"), 6, false);
  } else if (kind == "rubble") {
    Earth(l, s, Pal().Make("grey.1 stone.0 stone.1 brown.2"), 0.45f, 0, stone);
    for (int i = 0; i < 7; ++i)
      Pebble(l, static_cast<int>(Rand01(s, i, 100) * 21), static_cast<int>(Rand01(s, i, 101) * 21),
             2 + static_cast<int>(Rand01(s, i, 102) * 2), stone);
  } else {
    throw SourceError("no ground " + DoubleQuotedBytes(kind));
  }
  return l;
}

namespace {

// The beach's edge along one side: its depth into the tile at a position
// along that side (the same on every piece, so pieces meet).
float ShoreDepth(float along) { return 6.0f + 1.6f * std::sin(along * 2 * 3.14159f / 24.0f) + 0.8f * std::sin(along * 0.79f); }

// Which sides are land: n, e, s, w for a beach along that side; ne, se, sw,
// nw for both of those sides; in-ne ... for only the corner.
void Shore(Layer& l, const std::string& sides, uint32_t seed) {
  Layer water = GroundTile("water", 0, seed);
  Layer sand = GroundTile("sand", 0, seed + 1);
  const bool inner = sides.rfind("in-", 0) == 0;
  const std::string s = inner ? sides.substr(3) : sides;
  const bool n = s.find('n') != std::string::npos, e = s.find('e') != std::string::npos,
             so = s.find('s') != std::string::npos, w = s.find('w') != std::string::npos;
  // Signed distance into the water from the beach's edge (negative on land).
  auto depth = [&](float x, float y) {
    float d = 1e9f;
    if (!inner) {
      if (n) d = std::min(d, y - ShoreDepth(x));
      if (so) d = std::min(d, (kT - y) - ShoreDepth(x));
      if (w) d = std::min(d, x - ShoreDepth(y));
      if (e) d = std::min(d, (kT - x) - ShoreDepth(y));
    } else {
      const float cx = e ? kT : 0, cy = so ? kT : 0;
      d = std::hypot(x - cx, y - cy) - ShoreDepth((x + y) * 0.5f);
    }
    return d;
  };
  for (int y = 0; y < kT; ++y)
    for (int x = 0; x < kT; ++x) {
      const float d = depth(x + 0.5f, y + 0.5f);
      uint32_t c;
      if (d < -1.5f) c = sand.Get(x, y);
      else if (d < 0.0f) c = Tone(Pal().Make("brown.2 brown.3 brown.4"), 0.5f, x, y);  // wet sand
      else if (d < 1.0f) c = Pal().Colour("grey.5");                                     // foam
      else if (d < 2.2f) c = Tone(Pal().Make("blue.4 blue.5"), 0.5f, x, y, 0.6f);
      else c = water.Get(x, y);
      l.Put(x, y, c);
    }
}

}  // namespace

void AddGroundPainters(PainterMap& m) {
  m["ground"] = [](const Paint& p) {
    const std::string kind = p.Arg(0);
    if (kind.empty()) p.Fail("ground needs a kind");
    // A variant (0 to 3) and a seed (0 to 999) vary the tile of a kind.
    const int variant = p.OptInt("variant", 0, 0, 3);
    const uint32_t seed = static_cast<uint32_t>(p.OptInt("seed", 1, 0, 999)) * 7919u;
    for (int f = p.first; f <= p.last; ++f) {
      try {
        p.Put(f, GroundTile(kind, variant, seed));
      } catch (const SourceError& e) {
        p.Fail(e.what());
      }
    }
  };
  // shore SIDES: a water square with a beach along its sides (n, e, s and
  // w, as "ne"), or with "in-" in one corner alone ("in-ne").
  m["shore"] = [](const Paint& p) {
    const std::string sides = p.Arg(0);
    const bool inner = sides.rfind("in-", 0) == 0;
    const std::string s = inner ? sides.substr(3) : sides;
    bool known = !s.empty() && s.find_first_not_of("nesw") == std::string::npos;
    for (const char side : s) known = known && std::count(s.begin(), s.end(), side) == 1;
    if (inner) known = known && s.size() == 2 && (s[0] == 'n' || s[0] == 's') && (s[1] == 'e' || s[1] == 'w');
    if (!known) p.Fail("a shore's sides are n, e, s and w (as \"ne\"), or \"in-\" and a corner, not " + DoubleQuotedBytes(sides));
    Layer l(kT, kT);
    Shore(l, sides, 7919u);
    p.Put(p.first, l);
  };
}
