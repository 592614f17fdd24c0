// Walls, doors and the fog at the edge of the explored squares.
//
// A wall frame is 34x34 and stands 10 pixels left and up of its square: the
// wall's top is the square moved 4 left and 10 up, below it the south face
// and to its right the east face, both in shade. Neighbours drawn after it
// cover its faces wherever another wall stands, so runs, corners and T-joins
// join with one frame per kind.
#include <algorithm>
#include <cmath>

#include "frame_map.h"
#include "ground.h"
#include "tile_fields.h"

namespace {

constexpr int kSide = 34;

uint32_t C(const char* name) { return Pal().Colour(name); }

// Where a point of the frame lies on the wall block drawn from (ox, oy), the
// frame position of the square's top-left corner.
enum Face { kNone, kTop, kSouth, kEast };
Face FaceAt(int x, int y, int ox, int oy, float* u, float* v) {
  const float tx = ox - 4, ty = oy - 10;  // the top face's corner
  const float fx = x + 0.5f, fy = y + 0.5f;
  if (fx >= tx && fx < tx + 24 && fy >= ty && fy < ty + 24) {
    *u = fx - tx;
    *v = fy - ty;
    return kTop;
  }
  // South face: rows below the top, slanting right by 0.4 a row.
  if (fy >= ty + 24 && fy < oy + 24) {
    const float d = fy - (ty + 24);
    const float left = tx + d * 0.4f;
    if (fx >= left && fx < left + 24) {
      *u = fx - left;
      *v = d;
      return kSouth;
    }
  }
  // East face: columns right of the top, slanting down by 2.5 a column.
  if (fx >= tx + 24 && fx < ox + 24) {
    const float d = fx - (tx + 24);
    const float top = ty + d * 2.5f;
    if (fy >= top && fy < top + 24) {
      *u = fy - top;
      *v = d;
      return kEast;
    }
  }
  return kNone;
}

struct WallLook {
  // Colour of a point of a face; u runs along the face (0..24), v across it.
  std::function<uint32_t(Face, float u, float v, int x, int y)> colour;
};

// Courses of blocks: rows of h pixels, blocks of w, every other row offset.
bool BlockJoint(float u, float v, int w, int h, int* id) {
  const int row = static_cast<int>(std::floor(v / h));
  const float shift = (row % 2) ? w / 2.0f : 0.0f;
  const int col = static_cast<int>(std::floor((u + shift) / w));
  *id = row * 7 + col;
  const float iu = std::fmod(u + shift, static_cast<float>(w)), iv = std::fmod(v, static_cast<float>(h));
  return iu < 1.0f || iv < 1.0f;
}

uint32_t Masonry(const Ramp& r, Face f, float u, float v, int x, int y, int bw, int bh, uint32_t seed) {
  int id = 0;
  if (f == kTop) {
    // The wall's cap: squared stones, each lit on its top-left rim.
    const CellHit h = TileCells(u, v, seed, 8, 24, 0.45f);
    const CellHit hl = TileCells(u - 1, v - 1, seed, 8, 24, 0.45f);
    float t = 0.58f + (Rand01(seed, static_cast<int>(h.id)) - 0.5f) * 0.25f + (TileNoise(u, v, seed, 4, 2) - 0.5f) * 0.08f;
    if (h.f2 - h.f1 < 1.2f) t = 0.22f;
    else if (hl.id != h.id) t += 0.2f;
    return Tone(r, t, x, y, 0.15f);
  }
  const bool joint = BlockJoint(u, v + (f == kEast ? 3 : 0), bw, bh, &id);
  float t = (f == kSouth ? 0.42f : 0.24f) + (Rand01(seed, id) - 0.5f) * 0.14f;
  if (joint) t = f == kSouth ? 0.2f : 0.1f;
  else if (f == kSouth && std::fmod(v, static_cast<float>(bh)) < 2.0f) t += 0.08f;
  return Tone(r, t, x, y, 0.3f);
}

WallLook LookOf(const std::string& kind, const Paint& p) {
  const uint32_t seed = p.Seed(p.first);
  auto ramp = [&](const char* names) { return Pal().Make(names); };
  if (kind == "stone" || kind == "dungeon" || kind == "brick" || kind == "marble" || kind == "ice" || kind == "mossy") {
    Ramp r = kind == "stone"     ? ramp("ink.0 grey.1 stone.0 stone.1 stone.2 stone.3")
             : kind == "dungeon" ? ramp("ink.0 grey.0 grey.1 grey.2 grey.3 stone.1")
             : kind == "brick"   ? ramp("ink.0 red.0 red.1 brown.2 red.2 brown.3")
             : kind == "marble"  ? ramp("grey.1 grey.2 stone.2 grey.4 stone.3 grey.5")
             : kind == "ice"     ? ramp("blue.0 blue.2 blue.3 blue.4 blue.5 grey.5")
                                 : ramp("ink.0 grey.1 stone.0 stone.1 stone.2 stone.3");
    const int bw = kind == "brick" ? 6 : 8, bh = kind == "brick" ? 3 : 5;
    const bool moss = kind == "mossy";
    return {[=](Face f, float u, float v, int x, int y) {
      if (moss && TileNoise(u + (f == kTop ? 0 : 40), v, seed + 8, 6, 2) > (f == kTop ? 0.58f : 0.64f))
        return Tone(Pal().Make("green.1 green.2 green.3 green.4"), f == kTop ? 0.6f : 0.25f, x, y);
      return Masonry(r, f, u, v, x, y, bw, bh, seed);
    }};
  }
  if (kind == "rock" || kind == "cliff") {
    const Ramp r = kind == "rock" ? ramp("ink.0 grey.0 grey.1 stone.0 stone.1 stone.2")
                                  : ramp("ink.0 brown.1 stone.0 brown.2 stone.1 stone.2");
    return {[=](Face f, float u, float v, int x, int y) {
      const CellHit h = TileCells(u + (f == kTop ? 0 : 31), v + (f == kEast ? 17 : 0), seed, 8, 48, 0.9f);
      float t = f == kTop ? 0.6f : f == kSouth ? 0.33f : 0.18f;
      t += (TileNoise(u, v, seed, 4, 2) - 0.5f) * 0.3f;
      if (h.f2 - h.f1 < 1.0f) t -= 0.25f;
      else if (f == kTop && (h.f2 - h.f1 < 2.0f)) t += 0.15f;
      return Tone(r, t, x, y, 0.45f);
    }};
  }
  if (kind == "logs") {
    const Ramp r = ramp("ink.0 brown.0 brown.1 brown.2 brown.3 brown.4");
    return {[=](Face f, float u, float v, int x, int y) {
      if (f == kTop) {  // the ends of upright logs, in rings
        const float cx = std::floor(u / 6) * 6 + 3, cy = std::floor(v / 6) * 6 + 3;
        const float d = std::hypot(u - cx, v - cy);
        if (d > 2.9f) return r[1];
        const float t = 0.75f - d * 0.12f + ((static_cast<int>(d * 2) % 2) ? -0.1f : 0.0f) - (u - cx + v - cy) * 0.04f;
        return Tone(r, t, x, y, 0.2f);
      }
      const float iu = std::fmod(u, 6.0f);
      float t = (f == kSouth ? 0.5f : 0.3f) + (iu < 1 ? -0.3f : iu < 2 ? 0.12f : 0) +
                (std::sin(v * 1.3f + u) * 0.05f);
      return Tone(r, t, x, y, 0.3f);
    }};
  }
  if (kind == "timber") {
    const Ramp plaster = ramp("stone.1 stone.2 stone.3 skin.1 skin.2"), beam = ramp("ink.0 brown.0 brown.1 brown.2");
    return {[=](Face f, float u, float v, int x, int y) {
      if (f == kTop) {  // a thatched top
        const float t = 0.55f + std::sin(u * 2.1f + std::sin(v * 0.7f) * 2) * 0.12f + (TileNoise(u, v, seed, 4, 2) - 0.5f) * 0.25f;
        return Tone(ramp("brown.2 brown.3 brown.4 skin.0"), t, x, y, 0.3f);
      }
      const bool post = std::fmod(u, 12.0f) < 2.0f, rail = v < 1.5f || v > 8.5f;
      if (post || rail) return Tone(beam, f == kSouth ? 0.6f : 0.35f, x, y);
      return Tone(plaster, (f == kSouth ? 0.45f : 0.2f) + (TileNoise(u, v, seed, 3, 1) - 0.5f) * 0.15f, x, y);
    }};
  }
  if (kind == "hedge") {
    const Ramp r = ramp("green.0 green.1 green.2 green.3 green.4 green.5");
    return {[=](Face f, float u, float v, int x, int y) {
      const float n = TileNoise(u * 1.3f, v * 1.3f + (f == kTop ? 0 : 30), seed, 4, 3);
      float t = (f == kTop ? 0.62f : f == kSouth ? 0.32f : 0.2f) + (n - 0.5f) * 0.6f;
      if (Rand01(seed, x, y) < 0.06f) t += 0.25f;
      return Tone(r, t, x, y, 0.5f);
    }};
  }
  if (kind == "planks") {
    const Ramp r = ramp("ink.0 brown.0 brown.1 brown.2 brown.3 brown.4");
    return {[=](Face f, float u, float v, int x, int y) {
      if (f == kTop) return Tone(r, 0.55f + (std::fmod(u, 4.0f) < 1 ? -0.2f : 0) + (TileNoise(u, v, seed, 3, 1) - 0.5f) * 0.15f, x, y);
      float t = f == kSouth ? 0.45f : 0.25f;
      if (std::fmod(v, 3.5f) < 0.9f) t -= 0.25f;
      return Tone(r, t + (TileNoise(u, v, seed, 6, 1) - 0.5f) * 0.15f, x, y);
    }};
  }
  if (kind == "iron") {
    const Ramp r = ramp("ink.0 grey.0 grey.1 grey.2 grey.3 grey.4");
    return {[=](Face f, float u, float v, int x, int y) {
      float t = f == kTop ? 0.6f : f == kSouth ? 0.38f : 0.2f;
      const float iu = std::fmod(u, 12.0f);
      if (iu < 1) t -= 0.25f;
      if ((iu > 2.5f && iu < 3.5f) || (iu > 8.5f && iu < 9.5f)) {
        if (std::fmod(v + 2, 6.0f) < 1) t += 0.35f;  // rivets
      }
      return Tone(r, t, x, y, 0.3f);
    }};
  }
  if (kind == "crystal") {
    const Ramp r = ramp("purple.0 purple.1 purple.2 teal.1 purple.3 teal.2");
    return {[=](Face f, float u, float v, int x, int y) {
      const CellHit h = TileCells(u + (f == kTop ? 0 : 11), v, seed, 6, 48, 1.0f);
      float t = (f == kTop ? 0.55f : f == kSouth ? 0.35f : 0.2f) + (Rand01(seed, static_cast<int>(h.id)) - 0.5f) * 0.4f;
      if (h.f2 - h.f1 < 0.8f) t = 0.9f;
      return Tone(r, t, x, y, 0.3f);
    }};
  }
  p.Fail("no wall " + DoubleQuotedBytes(kind));
}

// Draws a wall block whose square's top-left corner is at (ox, oy) of the
// layer, with its outline where it meets the floor.
void WallBlock(Layer& l, int ox, int oy, const WallLook& look) {
  for (int y = 0; y < l.H(); ++y)
    for (int x = 0; x < l.W(); ++x) {
      float u = 0, v = 0;
      const Face f = FaceAt(x, y, ox, oy, &u, &v);
      if (f != kNone) l.Put(x, y, look.colour(f, u, v, x, y));
    }
  // The outline along the foot of the south and east faces.
  for (int x = 0; x < l.W(); ++x) {
    float u, v;
    if (FaceAt(x, oy + 23, ox, oy, &u, &v) != kNone) l.Put(x, oy + 23, kInk);
  }
  for (int y = 0; y < l.H(); ++y) {
    float u, v;
    if (FaceAt(ox + 23, y, ox, oy, &u, &v) == kEast) l.Put(ox + 23, y, kInk);
  }
}

// A door leaf: the wall block in wood with iron bands and a ring, or bars.
// along: "x" for a door in a wall running east-west (its halves side by
// side), "y" for one in a wall running north-south; half 0 the west or north
// half, 1 the east or south one.
void Door(Layer& l, int ox, int oy, const std::string& style, bool alongX, int half) {
  const Ramp wood = Pal().Make("ink.0 brown.0 brown.1 brown.2 brown.3 brown.4");
  const Ramp iron = Pal().Make("ink.0 grey.0 grey.1 grey.2 grey.3");
  const bool bars = style == "gate";
  WallLook look{[&](Face f, float u, float v, int x, int y) -> uint32_t {
    const float base = f == kTop ? 0.62f : f == kSouth ? 0.42f : 0.22f;
    // The leaf's boards run across the doorway.
    const float across = alongX ? u : v;
    const float along = alongX ? v : u;
    if (bars) {
      const bool bar = std::fmod(across + 1, 4.0f) < 1.5f;
      const bool rail = std::fabs(along - 12) < 1.0f || (f == kSouth && v > 8);
      if (f == kTop && !(bar || rail)) return Pal().Colour("ink.0");
      return Tone(iron, base + (bar ? 0.1f : 0), x, y);
    }
    float t = base + (std::fmod(across, 4.0f) < 1 ? -0.25f : 0.0f) + (TileNoise(u, v, 91, 6, 1) - 0.5f) * 0.1f;
    const bool band = (f == kTop || f == kEast) ? (std::fabs(along - 5) < 1 || std::fabs(along - 18) < 1) : (v > 2 && v < 4) || (v > 7 && v < 9);
    if (band) return Tone(iron, base + 0.1f, x, y);
    // The seam between the two halves, and the outer frame of the doorway.
    const float seamAt = half == 0 ? 23.0f : 0.0f;
    if (std::fabs(across - seamAt) < 1.0f) return wood[0];
    if (std::fabs(across - (23.0f - seamAt)) < 1.5f) return Tone(Pal().Make("grey.1 stone.0 stone.1 stone.2"), base, x, y);
    return Tone(wood, t, x, y, 0.3f);
  }};
  WallBlock(l, ox, oy, look);
  if (!bars) {  // a ring pull on the south face near the seam
    const int rx = ox - 4 + (alongX ? (half == 0 ? 20 : 3) : 12), ry = oy + 17;
    l.Put(rx, ry, C("fire.1"));
    l.Put(rx + 1, ry + 1, C("brown.4"));
    l.Put(rx - 1, ry + 1, C("brown.4"));
    l.Put(rx, ry + 2, C("brown.3"));
  }
}

// A low iron door in the south face of the wall block drawn from (ox, oy),
// as a keep's postern: a dark recess under a lintel stone, a plain leaf of
// riveted iron plates with neither handle nor lock.
void Postern(Layer& l, int ox, int oy) {
  const Ramp iron = Pal().Make("ink.0 grey.0 grey.1 grey.2 grey.3");
  const Ramp stone = Pal().Make("grey.1 stone.0 stone.1 stone.2 stone.3");
  const int left = ox + 6, right = ox + 16;  // the doorway's columns, upright in the slanting face
  const int seam = (left + right) / 2;
  for (int y = 0; y < l.H(); ++y)
    for (int x = left - 1; x <= right; ++x) {
      float u = 0, v = 0;
      if (FaceAt(x, y, ox, oy, &u, &v) != kSouth || v >= 9) continue;
      if (v < 1) {
        l.Put(x, y, Tone(stone, 0.85f, x, y));  // the lintel's lit edge
      } else if (v < 2) {
        l.Put(x, y, Tone(stone, 0.5f, x, y));
      } else if (x == left - 1 || x == right) {
        l.Put(x, y, Tone(stone, 0.35f, x, y));  // the jambs
      } else if (x == left || x == right - 1 || v < 3) {
        l.Put(x, y, kInk);  // the doorway's dark rim
      } else {
        const bool band = std::fabs(v - 4.5f) < 0.5f || std::fabs(v - 7.5f) < 0.5f;
        float t = 0.62f - static_cast<float>(x - left) * 0.02f;
        if (x == seam) t = 0.15f;  // the seam between the two plates
        else if (band) t = (x == left + 2 || x == right - 3) ? 1.0f : 0.35f;  // bands and rivets
        l.Put(x, y, Tone(iron, t, x, y));
      }
    }
}

// A wooden door nearly as wide as the square in the south face of the wall
// block drawn from (ox, oy), as the doors of a hall: a lintel stone, stone
// jambs, a leaf of upright planks under two iron bands and a ring pull.
// Two such squares side by side make a pair of doors.
void HallDoor(Layer& l, int ox, int oy) {
  const Ramp wood = Pal().Make("ink.0 brown.0 brown.1 brown.2 brown.3");
  const Ramp iron = Pal().Make("ink.0 grey.0 grey.1 grey.2");
  const Ramp stone = Pal().Make("grey.1 stone.0 stone.1 stone.2 stone.3");
  constexpr float kLeft = 3, kRight = 21;
  for (int y = 0; y < l.H(); ++y)
    for (int x = 0; x < l.W(); ++x) {
      float u = 0, v = 0;
      if (FaceAt(x, y, ox, oy, &u, &v) != kSouth || u < kLeft - 1 || u >= kRight + 1) continue;
      if (v < 1) {
        l.Put(x, y, Tone(stone, 0.85f, x, y));  // the lintel's lit edge
      } else if (v < 2) {
        l.Put(x, y, Tone(stone, 0.5f, x, y));
      } else if (u < kLeft || u >= kRight) {
        l.Put(x, y, Tone(stone, 0.4f, x, y));  // the jambs
      } else if (u < kLeft + 1 || u >= kRight - 1 || v < 3) {
        l.Put(x, y, kInk);  // the doorway's dark rim
      } else if (std::fabs(v - 4.5f) < 0.5f || std::fabs(v - 7.5f) < 0.5f) {
        l.Put(x, y, Tone(iron, 0.3f, x, y));  // the iron bands
      } else if (std::fabs(u - 12.0f) < 1.0f && std::fabs(v - 6.0f) < 1.0f) {
        l.Put(x, y, C("fire.1"));  // the ring pull
      } else {
        const int plank = static_cast<int>(u - kLeft - 1) % 3;
        l.Put(x, y, Tone(wood, plank == 0 ? 0.35f : 0.9f - (u - kLeft) * 0.015f, x, y));
      }
    }
}

// The fog over an explored square at the edge of the unexplored: black,
// fading in steps from the dark sides and corners inwards; false for a code
// of no fog piece.
bool Fog(Layer& l, int code) {
  // Dark sides (n e s w) and dark corners (nw ne se sw) of each fog code.
  struct Dark { const char* sides; const char* corners; };
  static const std::map<int, Dark> kCodes = {
      {11, {"", "nw ne se sw"}}, {16, {"", "nw se sw"}}, {17, {"", "nw ne sw"}}, {18, {"", "nw ne se"}},
      {19, {"", "ne se sw"}},    {20, {"", "se sw"}},    {21, {"", "nw sw"}},    {22, {"", "nw ne"}},
      {23, {"", "ne se"}},       {24, {"", "nw"}},       {25, {"", "ne"}},       {26, {"", "se"}},
      {27, {"", "sw"}},          {46, {"", "nw se"}},    {47, {"", "ne sw"}},    {12, {"n", ""}},
      {28, {"n", "sw"}},         {29, {"n", "se"}},      {30, {"n", "se sw"}},   {13, {"e", ""}},
      {31, {"e", "nw"}},         {32, {"e", "sw"}},      {33, {"e", "nw sw"}},   {14, {"s", ""}},
      {34, {"s", "nw"}},         {35, {"s", "ne"}},      {36, {"s", "nw ne"}},   {15, {"w", ""}},
      {37, {"w", "ne"}},         {38, {"w", "se"}},      {39, {"w", "ne se"}},   {40, {"ne", ""}},
      {41, {"es", ""}},          {42, {"sw", ""}},       {43, {"nw", ""}},       {44, {"ns", ""}},
      {45, {"ew", ""}}};
  auto it = kCodes.find(code);
  if (it == kCodes.end()) return false;
  const std::string sides = it->second.sides, corners = it->second.corners;
  auto has = [](const std::string& s, char c) { return s.find(c) != std::string::npos; };
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x) {
      float d = 99;  // distance to the nearest dark edge or corner
      const float fx = x + 0.5f, fy = y + 0.5f;
      if (has(sides, 'n')) d = std::min(d, fy);
      if (has(sides, 's')) d = std::min(d, 24 - fy);
      if (has(sides, 'w')) d = std::min(d, fx);
      if (has(sides, 'e')) d = std::min(d, 24 - fx);
      auto corner = [&](const char* name, float cx, float cy) {
        if (corners.find(name) != std::string::npos) d = std::min(d, std::hypot(fx - cx, fy - cy));
      };
      corner("nw", 0, 0);
      corner("ne", 24, 0);
      corner("se", 24, 24);
      corner("sw", 0, 24);
      // Five steps of alpha over ten pixels, the step edges dithered.
      const float k = d / 2.0f + (Bayer(x, y) - 0.5f) * 0.8f;
      static const int kAlpha[6] = {235, 180, 130, 85, 45, 15};
      const int step = static_cast<int>(std::floor(k));
      if (step < 0) l.Put(x, y, 0xEB000000u);
      else if (step < 6) l.Put(x, y, static_cast<uint32_t>(kAlpha[step]) << 24);
    }
  return true;
}

}  // namespace

void AddWallPainters(PainterMap& m) {
  // wall KIND [postern|door]: a wall block; with "postern", the same block as
  // the plain wall's own frame draws it, with a low iron door in its south
  // face; with "door", with a wooden door as wide as the square there.
  m["wall"] = [](const Paint& p) {
    const bool postern = p.Arg(1) == "postern", door = p.Arg(1) == "door";
    Paint plain = p;
    plain.args = {p.Arg(0)};
    const WallLook look = LookOf(p.Arg(0), plain);
    Layer l(kSide, kSide);
    WallBlock(l, 10, 10, look);
    if (postern) Postern(l, 10, 10);
    else if (door) HallDoor(l, 10, 10);
    else if (!p.Arg(1).empty()) p.Fail("no wall dressing " + DoubleQuotedBytes(p.Arg(1)));
    p.Put(p.first, l);
  };
  // door STYLE x|y HALF: one half of a door; its frame stands 11 left and up.
  m["door"] = [](const Paint& p) {
    Layer l(kSide, kSide);
    Door(l, 11, 11, p.Word(0, "the door", {"wood", "gate"}), p.Word(1, "the wall", {"y", "x"}) == "x",
         p.Word(2, "the half", {"0", "1"}) == "1" ? 1 : 0);
    p.Put(p.first, l);
  };
  // A square mark of the debug overlay: "wall" (a cross on the wall's top) or
  // "door x|y" (a bar across the doorway).
  m["debug-mark"] = [](const Paint& p) {
    Layer l(kSide, kSide);
    const uint32_t red = C("red.3"), light = C("fire.2");
    if (p.Word(0, "the mark", {"door", "wall"}) == "wall") {
      for (int i = 0; i < 24; ++i) {
        l.Put(6 + i, i, red);
        l.Put(29 - i, i, red);
      }
      for (int i = 0; i < 24; ++i) {
        l.Put(6 + i, 0, light);
        l.Put(6 + i, 23, light);
        l.Put(6, i, light);
        l.Put(29, i, light);
      }
    } else {
      const bool alongX = p.Word(1, "the wall", {"y", "x"}) == "x";
      for (int i = 0; i < 24; ++i)
        for (int k = -1; k <= 1; ++k) {
          if (alongX) l.Put(7 + i, 12 + k, k ? red : light);
          else l.Put(18 + k, 1 + i, k ? red : light);
        }
    }
    p.Put(p.first, l);
  };
  // fog CODE: the fog piece of a fog code (1 the unexplored square itself).
  m["fog"] = [](const Paint& p) {
    for (int f = p.first; f <= p.last; ++f) {
      Layer l(24, 24);
      const int code = p.ArgInt(0, 49, "a fog code", 1, 99) + (f - p.first);
      if (code == 1) l.Rect(0, 0, 24, 24, 0xFF000000u);
      else if (!Fog(l, code)) p.Fail("no fog code " + std::to_string(code));
      p.Put(f, l);
    }
  };
}
