// Icons of 18x18: items (weapons lying on the diagonal, armour, shields,
// rings, scrolls, wands, gems ...), spells on a plate of their school's
// colour, conditions on a badge, and the pieces of the item and spell
// screens (slot boxes, empty-slot shapes, frame pieces, marks).
#include <algorithm>
#include <cmath>

#include "frame_map.h"
#include "symbols.h"
#include "tile_fields.h"

namespace {

constexpr float kPi = 3.14159265f;

uint32_t C(const char* name) { return Pal().Colour(name); }
Ramp Rp(const std::string& names) { return Pal().Make(names); }

const char* kSteel = "grey.1 grey.2 grey.3 grey.4 grey.5";
const char* kWoodR = "brown.0 brown.1 brown.2 brown.3 brown.4";
const char* kGoldR = "brown.2 brown.4 fire.1 fire.2 skin.2";

// A shaded stroke along the diagonal from (x0, y0) to (x1, y1): the light
// side to the top left.
void Stroke(Layer& l, float x0, float y0, float x1, float y1, float w, const Ramp& r) {
  l.Line(x0, y0, x1, y1, w, r[1]);
  if (w >= 2) l.Line(x0 - 0.5f, y0 - 0.5f, x1 - 0.5f, y1 - 0.5f, std::max(1.0f, w - 1.5f), r[r.size() - 2]);
  if (w >= 3) l.Line(x0 - 0.8f, y0 - 0.8f, x1 - 0.8f, y1 - 0.8f, 1.0f, r.back());
}

// A point along the diagonal from the bottom left (t 0) to the top right (1).
float DX(float t) { return 2.5f + t * 13.0f; }
float DY(float t) { return 15.5f - t * 13.0f; }

void Blade(Layer& l, float start, float end, float width, bool curved, const Ramp& steel) {
  const int n = 10;
  for (int i = 0; i < n; ++i) {
    const float t0 = start + (end - start) * i / n, t1 = start + (end - start) * (i + 1) / n;
    const float bend = curved ? std::sin((t0 - start) / (end - start) * kPi) * 1.5f : 0.0f;
    const float w = (i == n - 1) ? std::max(1.0f, width * 0.5f) : width;
    Stroke(l, DX(t0) + bend, DY(t0) + bend, DX(t1) + bend, DY(t1) + bend, w, steel);
  }
}

void Hilt(Layer& l, float at, float guard, const Ramp& grip, const Ramp& metal) {
  Stroke(l, DX(0.0f), DY(0.0f), DX(at), DY(at), 2.0f, grip);
  const float gx = DX(at), gy = DY(at);
  l.Line(gx - guard, gy - guard, gx + guard, gy + guard, 2.0f, metal[2]);
  l.Ellipse(DX(0.0f), DY(0.0f), 1.3f, 1.3f, metal[3]);
}

void Haft(Layer& l, float end, const Ramp& wood) { Stroke(l, DX(0.0f), DY(0.0f), DX(end), DY(end), 2.0f, wood); }

void Item(Layer& l, const std::string& kind, const Paint& p) {
  const Ramp steel = Rp(kSteel), wood = Rp(kWoodR), gold = Rp(kGoldR);
  const Ramp leather = Rp("brown.0 brown.1 brown.2 brown.3 brown.4");
  Ramp cloth = Rp(p.Opt("colour", "red.0 red.1 red.2 red.3"));
  while (cloth.size() < 4) cloth.push_back(cloth.back());  // the shapes read tones 0 to 3
  // Swords and knives.
  if (kind == "dagger" || kind == "shortsword" || kind == "longsword" || kind == "greatsword" || kind == "bastard" ||
      kind == "rapier" || kind == "scimitar" || kind == "falchion" || kind == "kukri" || kind == "sickle") {
    const float len = kind == "dagger" ? 0.55f : kind == "shortsword" || kind == "kukri" || kind == "sickle" ? 0.7f
                      : kind == "greatsword" || kind == "bastard" ? 1.0f : 0.9f;
    const float width = kind == "greatsword" ? 3.0f : kind == "rapier" ? 1.0f : kind == "falchion" ? 3.0f : 2.0f;
    if (kind == "sickle") {
      Haft(l, 0.35f, wood);
      for (int i = 0; i < 14; ++i) {
        const float a = kPi * (0.9f - i * 0.07f);
        l.Ellipse(DX(0.55f) + std::cos(a) * 5, DY(0.55f) - std::sin(a) * 5, 1.0f, 1.0f, steel[3]);
      }
    } else {
      Hilt(l, 0.22f, kind == "rapier" ? 2.5f : 2.0f, leather, kind == "rapier" ? gold : steel);
      Blade(l, 0.24f, len, width, kind == "scimitar" || kind == "falchion" || kind == "kukri", steel);
    }
  } else if (kind == "club" || kind == "greatclub") {
    const float w = kind == "club" ? 3.0f : 4.5f;
    for (int i = 0; i < 8; ++i) {
      const float t0 = i / 8.0f * 0.9f, t1 = (i + 1) / 8.0f * 0.9f;
      Stroke(l, DX(t0), DY(t0), DX(t1), DY(t1), 1.5f + w * (i / 8.0f), wood);
    }
  } else if (kind == "mace" || kind == "heavymace" || kind == "morningstar" || kind == "hammer" || kind == "warhammer" ||
             kind == "pick" || kind == "heavypick") {
    const float end = kind == "heavymace" || kind == "warhammer" || kind == "heavypick" ? 0.85f : 0.72f;
    Haft(l, end, wood);
    const float hx = DX(end), hy = DY(end);
    if (kind == "mace" || kind == "heavymace") {
      const float r = kind == "mace" ? 2.5f : 3.3f;
      l.Ellipse(hx, hy, r, r, steel[2]);
      for (int i = 0; i < 4; ++i) l.Line(hx, hy, hx + std::cos(i * kPi / 2 + 0.78f) * (r + 1.5f), hy + std::sin(i * kPi / 2 + 0.78f) * (r + 1.5f), 1.0f, steel[3]);
      l.Ellipse(hx - 0.8f, hy - 0.8f, 1.0f, 1.0f, steel.back());
    } else if (kind == "morningstar") {
      l.Ellipse(hx, hy, 2.8f, 2.8f, steel[2]);
      for (int i = 0; i < 8; ++i) l.Put(static_cast<int>(hx + std::cos(i * kPi / 4) * 4), static_cast<int>(hy + std::sin(i * kPi / 4) * 4), steel.back());
    } else if (kind == "hammer" || kind == "warhammer") {
      const float s = kind == "hammer" ? 2.2f : 3.0f;
      l.Polygon({hx - s - 1, hy - s + 1, hx - s + 1, hy - s - 1, hx + s + 1, hy + s - 1, hx + s - 1, hy + s + 1}, steel[2]);
      l.Line(hx - s, hy - s, hx, hy, 1.0f, steel.back());
    } else {
      const float s = kind == "pick" ? 4.0f : 5.5f;
      l.Line(hx - s, hy - s * 0.3f, hx + s * 0.6f, hy + s, 1.5f, steel[2]);
      l.Line(hx - s, hy - s * 0.3f, hx - s * 0.3f, hy + s * 0.2f, 1.0f, steel.back());
    }
  } else if (kind == "handaxe" || kind == "battleaxe" || kind == "greataxe" || kind == "waraxe") {
    const float end = kind == "handaxe" ? 0.7f : 0.9f;
    Haft(l, end, wood);
    const float hx = DX(end - 0.12f), hy = DY(end - 0.12f), s = kind == "handaxe" ? 3.5f : kind == "greataxe" ? 5.5f : 4.5f;
    auto head = [&](float sign) {
      l.Polygon({hx, hy, hx - sign * s * 0.2f + s * 0.6f, hy + s * 0.6f + sign * s * 0.2f, hx + s * 0.2f + sign * s, hy + s * 0.2f - sign * s * 0.3f,
                 hx + sign * s * 0.2f, hy - sign * s * 0.2f},
                steel[2]);
    };
    l.Polygon({hx - 1, hy - 1, hx + s, hy - s * 0.2f, hx + s * 0.8f, hy + s * 0.8f, hx + s * 0.2f, hy + s}, steel[2]);
    l.Line(hx + s, hy - s * 0.2f, hx + s * 0.2f, hy + s, 1.0f, steel.back());
    if (kind == "greataxe" || kind == "waraxe") l.Polygon({hx + 1, hy + 1, hx - s, hy + s * 0.2f, hx - s * 0.8f, hy - s * 0.8f, hx - s * 0.2f, hy - s}, steel[2]);
    (void)head;
  } else if (kind == "spear" || kind == "shortspear" || kind == "trident" || kind == "halberd" || kind == "scythe") {
    Haft(l, 0.92f, wood);
    const float hx = DX(0.92f), hy = DY(0.92f);
    if (kind == "trident") {
      for (int i = -1; i <= 1; ++i) l.Line(hx + i * 1.8f, hy + i * 1.8f, hx + 3 + i * 1.8f, hy - 3 + i * 1.8f, 1.0f, steel[3]);
    } else if (kind == "halberd") {
      l.Polygon({hx - 2, hy + 2, hx - 5, hy - 1, hx - 3, hy - 5, hx + 1, hy - 1}, steel[2]);
      l.Line(hx, hy, hx + 3, hy - 3, 1.0f, steel.back());
    } else if (kind == "scythe") {
      for (int i = 0; i < 12; ++i) l.Ellipse(hx - i * 0.9f, hy - 2 + std::sin(i * 0.25f) * 2.5f + i * 0.15f, 1.0f, 1.0f, steel[3]);
    } else {
      l.Polygon({hx + 3.5f, hy - 3.5f, hx - 1, hy - 1.5f, hx + 1.5f, hy + 1}, steel[3]);
    }
  } else if (kind == "flail" || kind == "heavyflail") {
    Haft(l, 0.55f, wood);
    const float hx = DX(0.55f), hy = DY(0.55f);
    for (int i = 1; i <= 4; ++i) l.Put(static_cast<int>(hx + i), static_cast<int>(hy - i * 0.6f), steel[3]);
    const float r = kind == "flail" ? 2.5f : 3.3f;
    l.Ellipse(hx + 6, hy - 3, r, r, steel[2]);
    for (int i = 0; i < 6; ++i) l.Put(static_cast<int>(hx + 6 + std::cos(i * 1.05f) * (r + 1)), static_cast<int>(hy - 3 + std::sin(i * 1.05f) * (r + 1)), steel.back());
  } else if (kind == "longbow" || kind == "shortbow") {
    const float r = kind == "longbow" ? 8.0f : 6.0f;
    for (int i = 0; i <= 20; ++i) {
      const float a = kPi * (0.75f + i * 0.05f);
      l.Ellipse(9 + std::cos(a + kPi / 2) * r * 0.5f + 3, 9 + std::sin(a + kPi / 2) * r - 1, 1.0f, 1.0f, wood[2]);
    }
    l.Line(9 + 3 - r * 0.5f * 0.7f, 9 - r * 0.7f - 1, 9 + 3 - r * 0.5f * 0.7f, 9 + r * 0.7f - 1, 1.0f, C("grey.5"));
  } else if (kind == "crossbow" || kind == "heavycrossbow") {
    Stroke(l, 4, 14, 13, 5, 3.0f, wood);
    const float s = kind == "crossbow" ? 5.0f : 6.5f;
    l.Line(11 - s * 0.7f, 7 - s * 0.7f, 11 + s * 0.7f, 7 + s * 0.7f, 1.5f, steel[2]);
    l.Line(11 - s * 0.7f, 7 - s * 0.7f, 8, 10, 1.0f, C("grey.5"));
    l.Line(11 + s * 0.7f, 7 + s * 0.7f, 8, 10, 1.0f, C("grey.5"));
  } else if (kind == "roundshield" || kind == "kiteshield") {
    if (kind == "roundshield") {
      l.Ellipse(9, 9, 7.0f, 7.0f, wood[1]);
      l.Ellipse(9, 9, 6.0f, 6.0f, cloth[2]);
      l.Ellipse(8, 8, 3.5f, 3.5f, cloth[3]);
      l.Ellipse(9, 9, 1.8f, 1.8f, steel[3]);
    } else {
      l.Polygon({3, 2, 15, 2, 15, 8, 9, 17, 3, 8}, steel[2]);
      l.Polygon({4, 3, 14, 3, 14, 8, 9, 15.5f, 4, 8}, cloth[2]);
      l.Polygon({4, 3, 9, 3, 9, 15.5f, 4, 8}, cloth[3]);
      l.Rect(8, 4, 2, 8, gold[3]);
      l.Rect(6, 6, 6, 2, gold[3]);
    }
  } else if (kind == "armour") {
    // A body armour seen from the front: shoulders, chest, skirt.
    const std::string look = p.Choice("look", {"plate", "breastplate", "halfplate", "chain", "chainshirt", "scale", "banded",
                                                   "splint", "leather", "studded", "padded"});
    const Ramp r = look == "leather" || look == "studded" ? leather
                   : look == "padded" ? Rp("brown.2 brown.3 brown.4 skin.0 skin.1") : steel;
    l.Polygon({3, 4, 7, 2, 11, 2, 15, 4, 14, 9, 13, 16, 5, 16, 4, 9}, r[2]);
    l.Polygon({3, 4, 7, 2, 9, 2, 9, 16, 5, 16, 4, 9}, r[3]);
    l.Rect(7, 2, 4, 2, C("ink.0"));  // the neck
    for (int y = 3; y < 16; ++y)
      for (int x = 3; x < 16; ++x) {
        if (!l.On(x, y) || l.Get(x, y) == C("ink.0")) continue;
        const bool left = x < 9;
        if (look == "chain" || look == "chainshirt") {
          if ((x + y) % 2 == 0) l.Put(x, y, r[left ? 4 : 3]);
        } else if (look == "scale") {
          if ((y % 3 == 0) || ((x + (y / 3) % 2) % 3 == 0 && y % 3 == 2)) l.Put(x, y, r[1]);
        } else if (look == "banded") {
          if (y % 3 == 0) l.Put(x, y, r[1]);
        } else if (look == "splint") {
          if (x % 3 == 0 && y > 6) l.Put(x, y, r[1]);
        } else if (look == "studded") {
          if (x % 3 == 1 && y % 3 == 1) l.Put(x, y, steel[4]);
        } else if (look == "padded") {
          if ((x + y) % 4 == 0 || (x - y + 20) % 4 == 0) l.Put(x, y, r[1]);
        } else if (look == "plate" || look == "breastplate" || look == "halfplate") {
          if (x == 5 && y > 4 && y < 12) l.Put(x, y, r.back());
        }
      }
    if (look == "chainshirt") l.Rect(4, 13, 10, 3, kClear);
    if (look == "breastplate") l.Rect(5, 12, 8, 4, leather[2]);
    if (look == "halfplate") l.Rect(5, 12, 8, 4, Rp("grey.1 grey.2 grey.3")[1]);
    l.Rect(5, 11, 8, 1, leather[1]);  // belt
  } else if (kind == "arrows" || kind == "bolts") {
    const bool bolts = kind == "bolts";
    const uint32_t fletch = C(p.Opt("fletch", "grey.5").c_str());
    for (int i = 0; i < 3; ++i) {
      const float o = (i - 1) * 3.0f;
      const float len = bolts ? 0.75f : 1.0f;
      l.Line(DX(0.05f) + o, DY(0.05f) + o * 0.2f, DX(len) + o * 0.2f, DY(len) + o, 1.0f, wood[3]);
      l.Line(DX(len) + o * 0.2f, DY(len) + o, DX(len) + o * 0.2f - 1.5f, DY(len) + o + 1.5f, 2.0f, steel[3]);
      l.Line(DX(0.05f) + o, DY(0.05f) + o * 0.2f, DX(0.2f) + o, DY(0.2f) + o * 0.2f, 2.0f, fletch);
    }
  } else if (kind == "scroll") {
    l.Rect(4, 5, 10, 8, C("skin.2"));
    l.Ellipse(4, 9, 2.0f, 4.5f, C("skin.1"));
    l.Ellipse(14, 9, 2.0f, 4.5f, C("skin.1"));
    for (int y = 7; y < 12; y += 2) l.Line(6, y, 12, y, 1.0f, C("stone.1"));
    l.Ellipse(9, 13, 2.0f, 1.8f, cloth[2]);
    l.Put(8, 12, cloth[3]);
  } else if (kind == "ring") {
    l.Ellipse(9, 11, 5.0f, 4.0f, gold[2]);
    l.Ellipse(9, 11.5f, 3.0f, 2.2f, kClear);
    l.Ellipse(8, 10, 4.3f, 3.2f, kClear);
    l.Ellipse(9, 11, 5.0f, 4.0f, gold[2]);
    l.Ellipse(9, 11.5f, 3.2f, 2.4f, kClear);
    for (int x = 4; x < 9; ++x) l.Put(x, 9 + (x - 4) / 3, gold[4]);
    l.Ellipse(9, 6, 2.6f, 2.6f, cloth[2]);
    l.Put(8, 5, cloth.back());
  } else if (kind == "bracers") {
    for (int i = 0; i < 2; ++i) {
      l.Polygon({3.0f + i * 6, 4, 8.0f + i * 6, 4, 9.0f + i * 6, 14, 2.0f + i * 6, 14}, cloth[2]);
      l.Line(3.0f + i * 6, 5, 3.0f + i * 6, 13, 1.0f, cloth.back());
      l.Rect(3 + i * 6, 8, 5, 1, gold[3]);
    }
  } else if (kind == "belt") {
    l.Rect(2, 7, 14, 4, leather[2]);
    l.Rect(2, 7, 14, 1, leather[3]);
    l.Rect(7, 6, 4, 6, gold[2]);
    l.Rect(8, 7, 2, 4, kClear);
    l.Rect(8, 8, 3, 2, gold[4]);
  } else if (kind == "boots") {
    for (int i = 0; i < 2; ++i) {
      const float o = i * 5.0f;
      l.Polygon({3 + o, 2, 7 + o, 2, 7 + o, 11, 10 + o, 12, 10 + o, 15, 3 + o, 15}, leather[2 + i]);
      l.Rect(static_cast<int>(3 + o), 2, 4, 2, leather[4]);
    }
  } else if (kind == "circlet" || kind == "helm") {
    if (kind == "helm") {
      l.Ellipse(9, 10, 6.5f, 6.5f, steel[2]);
      l.Rect(2, 10, 15, 7, kClear);
      l.Rect(3, 10, 13, 3, steel[2]);
      l.Rect(8, 10, 2, 6, steel[3]);
      l.Ellipse(7, 7, 2.0f, 1.5f, steel.back());
    } else {
      l.Ellipse(9, 10, 7.0f, 3.5f, gold[2]);
      l.Ellipse(9, 10, 5.5f, 2.2f, kClear);
      l.Ellipse(9, 7, 1.8f, 1.8f, cloth[2]);
      l.Put(8, 6, cloth.back());
    }
  } else if (kind == "cloak") {
    l.Polygon({6, 2, 12, 2, 16, 16, 2, 16}, cloth[1]);
    l.Polygon({6, 2, 9, 2, 8, 16, 2, 16}, cloth[2]);
    l.Line(9, 3, 9, 15, 1.0f, cloth[0]);
    l.Ellipse(9, 3, 1.5f, 1.5f, gold[3]);
  } else if (kind == "amulet") {
    for (int i = 0; i <= 16; ++i) {
      const float a = kPi * i / 16;
      l.Put(static_cast<int>(9 + std::cos(a) * 6), static_cast<int>(3 + std::sin(a) * 6), gold[3]);
    }
    l.Ellipse(9, 12, 3.5f, 3.5f, gold[2]);
    l.Ellipse(9, 12, 2.0f, 2.0f, cloth[2]);
    l.Put(8, 11, cloth.back());
  } else if (kind == "gold" || kind == "coin") {
    const int n = kind == "coin" ? 1 : 5;
    for (int i = 0; i < n; ++i) {
      const float x = kind == "coin" ? 9 : 5 + (i % 3) * 4, y = kind == "coin" ? 9 : 12 - (i / 3) * 4 - (i % 2);
      l.Ellipse(x, y, 3.0f, 2.3f, gold[1]);
      l.Ellipse(x, y - 0.6f, 3.0f, 2.0f, gold[3]);
      l.Put(static_cast<int>(x) - 1, static_cast<int>(y) - 1, gold.back());
    }
  } else if (kind == "coins") {
    // A stack of coins and one more lying in front of it: the purse of a
    // hundred and more.
    for (int i = 0; i < 4; ++i) {
      const float y = 12.0f - i * 2.0f;
      l.Ellipse(7, y, 3.0f, 2.3f, gold[1]);
      l.Ellipse(7, y - 0.6f, 3.0f, 2.0f, i == 3 ? gold[3] : gold[2]);
    }
    l.Put(6, 5, gold.back());
    l.Ellipse(12, 13, 3.0f, 2.3f, gold[1]);
    l.Ellipse(12, 12.4f, 3.0f, 2.0f, gold[3]);
    l.Put(11, 12, gold.back());
  } else if (kind == "gem") {
    const std::string cut = p.Choice("cut", {"round", "long", "square", "pearl", "eye"});
    if (cut == "pearl") {
      // A sphere, not a cut stone: its shade in a crescent to the bottom
      // right, a soft lustre and one bright point to the top left.
      l.Ellipse(9, 9, 5.2f, 5.2f, cloth[0]);
      l.Ellipse(8.5f, 8.5f, 4.3f, 4.3f, cloth[1]);
      l.Ellipse(8, 8, 2.6f, 2.6f, cloth[2]);
      l.Put(7, 7, cloth.back());
      l.Put(7, 6, cloth.back());
      l.Put(6, 7, cloth.back());
      return;
    }
    if (cut == "eye") {
      // A round stone with a slit of black down its middle, like an eye.
      l.Ellipse(9, 9, 5.0f, 5.0f, cloth[1]);
      l.Ellipse(8, 8, 3.0f, 3.0f, cloth[2]);
      l.Line(9, 5, 9, 13, 1.2f, C("ink.0"));
      l.Put(7, 6, cloth.back());
      return;
    }
    if (cut == "round") {
      l.Ellipse(9, 9, 5.0f, 5.0f, cloth[1]);
      l.Ellipse(8, 8, 3.0f, 3.0f, cloth[2]);
    } else if (cut == "long") {
      l.Polygon({9, 2, 14, 7, 9, 16, 4, 7}, cloth[1]);
      l.Polygon({9, 2, 9, 16, 4, 7}, cloth[2]);
    } else {
      l.Polygon({4, 7, 7, 4, 11, 4, 14, 7, 9, 15}, cloth[1]);
      l.Polygon({4, 7, 7, 4, 11, 4, 14, 7}, cloth[2]);
      l.Line(7, 7, 9, 14, 1.0f, cloth[0]);
    }
    l.Put(7, 6, cloth.back());
    l.Put(8, 6, cloth.back());
  } else if (kind == "lantern") {
    l.Rect(6, 5, 7, 10, C("fire.2"));
    l.Rect(7, 6, 5, 8, C("skin.2"));
    for (int x : {5, 13}) l.Rect(x, 5, 1, 10, steel[1]);
    l.Rect(5, 4, 9, 1, steel[2]);
    l.Rect(5, 15, 9, 1, steel[2]);
    l.Ellipse(9, 2.5f, 2.0f, 1.5f, steel[3]);
    l.Ellipse(9, 10, 1.2f, 2.0f, C("fire.1"));
  } else if (kind == "letter" || kind == "strangeletter") {
    l.Rect(3, 5, 13, 9, kind == "letter" ? C("skin.2") : C("stone.2"));
    l.Line(3, 5, 9, 10, 1.0f, C("stone.1"));
    l.Line(15, 5, 9, 10, 1.0f, C("stone.1"));
    l.Ellipse(9, 10, 1.8f, 1.8f, kind == "letter" ? C("red.2") : C("purple.2"));
  } else if (kind == "key") {
    l.Ellipse(5, 12, 3.0f, 3.0f, gold[2]);
    l.Ellipse(5, 12, 1.2f, 1.2f, kClear);
    l.Line(7, 10, 15, 3, 1.5f, gold[3]);
    l.Line(12, 5, 14, 7, 1.0f, gold[3]);
    l.Line(14, 3, 16, 5, 1.0f, gold[3]);
  } else if (kind == "block") {
    l.Polygon({3, 7, 9, 4, 15, 7, 9, 10}, C("stone.3"));
    l.Polygon({3, 7, 9, 10, 9, 16, 3, 13}, C("stone.2"));
    l.Polygon({9, 10, 15, 7, 15, 13, 9, 16}, C("stone.1"));
  } else if (kind == "corpse") {
    l.Ellipse(4, 11, 2.0f, 2.0f, C("skin.0"));
    l.Line(6, 11, 12, 10, 3.0f, C("red.1"));
    l.Line(12, 10, 16, 12, 1.5f, C("brown.1"));
    l.Line(12, 9, 16, 8, 1.5f, C("brown.1"));
  } else if (kind == "wand") {
    // Seven shapes (0-6) in the colour of the spell's picture group.
    const int shape = p.OptInt("shape", 0, 0, 6);
    const Ramp shaft = shape == 6 ? Rp("stone.1 stone.2 stone.3 skin.2") : shape % 2 ? Rp("ink.0 brown.0 brown.1 brown.2") : wood;
    Stroke(l, DX(0.1f), DY(0.1f), DX(0.78f), DY(0.78f), shape == 3 ? 1.5f : 2.0f, shaft);
    if (shape == 2)
      for (float t = 0.15f; t < 0.75f; t += 0.12f) l.Put(static_cast<int>(DX(t)) + 1, static_cast<int>(DY(t)), C("fire.1"));
    Stroke(l, DX(0.45f), DY(0.45f), DX(0.78f), DY(0.78f), shape == 3 ? 2.0f : 2.5f, cloth);
    const float tx = DX(0.84f), ty = DY(0.84f);
    if (shape == 1 || shape == 5) l.Ellipse(tx, ty, 2.6f, 2.6f, cloth[2]);
    else if (shape == 4) Symbol(l, "star", tx, ty, 8, cloth);
    else l.Polygon({tx + 3, ty - 3, tx - 2.0f, ty - 1.5f, tx + 1.5f, ty + 2.0f}, cloth[2]);
    l.Put(static_cast<int>(tx) - 1, static_cast<int>(ty) - 1, cloth.back());
    if (shape == 5) l.Ellipse(DX(0.12f), DY(0.12f), 1.6f, 1.6f, gold[3]);
  } else {
    p.Fail("no item " + DoubleQuotedBytes(kind));
  }
}

// The colour plate of a spell's school.
Ramp School(const std::string& school) {
  if (school == "abjuration") return Rp("blue.0 blue.1 blue.2 blue.3");
  if (school == "conjuration") return Rp("green.0 green.1 green.2 green.3");
  if (school == "divination") return Rp("teal.0 teal.0 teal.1 teal.2");
  if (school == "enchantment") return Rp("red.0 purple.1 purple.2 red.3");
  if (school == "evocation") return Rp("red.0 red.1 red.2 red.3");
  if (school == "illusion") return Rp("purple.0 purple.1 purple.2 purple.3");
  if (school == "necromancy") return Rp("ink.0 grey.0 grey.1 grey.2");
  if (school == "transmutation") return Rp("brown.0 brown.1 brown.2 brown.3");
  if (school == "divine") return Rp("brown.2 brown.3 brown.4 fire.1");
  if (school == "metamagic") return Rp("ink.0 blue.0 purple.1 blue.2");
  throw SourceError("no school " + DoubleQuotedBytes(school));
}

// The symbol's own colours on a plate.
Ramp SymbolColours(const std::string& symbol) {
  if (symbol == "fire" || symbol == "burst" || symbol == "sun") return Rp("red.3 fire.0 fire.1 fire.2 skin.2");
  if (symbol == "frost") return Rp("blue.3 blue.4 blue.5 grey.5");
  if (symbol == "bolt") return Rp("fire.1 fire.2 skin.2 grey.5");
  if (symbol == "acid" || symbol == "drop" || symbol == "cloud") return Rp("green.3 green.4 green.5 skin.2");
  if (symbol == "heal" || symbol == "plus") return Rp("grey.4 grey.5 grey.5");
  if (symbol == "vines" || symbol == "bugs") return Rp("green.2 green.3 green.4 green.5");
  if (symbol == "web" || symbol == "ghost" || symbol == "swirl") return Rp("grey.3 grey.4 grey.5");
  if (symbol == "portal" || symbol == "eye") return Rp("teal.1 teal.2 blue.5 grey.5");
  if (symbol == "spider" || symbol == "paw" || symbol == "dark") return Rp("ink.0 grey.0 grey.1 grey.2");
  return Rp("fire.1 fire.2 skin.2 grey.5");
}

void Plate(Layer& l, const Ramp& r) {
  l.Ellipse(9, 9, 8.0f, 8.0f, r[1]);
  l.Ellipse(8.3f, 8.3f, 6.8f, 6.8f, r[2]);
  l.Ellipse(9.2f, 9.2f, 6.2f, 6.2f, r[1]);
  for (int x = 4; x < 9; ++x) l.Put(x, 4 + (8 - x) / 2, r.back());
}

}  // namespace

void AddIconPainters(PainterMap& m) {
  m["item"] = [](const Paint& p) {
    Layer l(p.W(), p.H());
    Item(l, p.Arg(0), p);
    l.Outline(kInk);
    p.Put(p.first, l);
  };
  // spell SYMBOL SCHOOL: a spell's icon.
  m["spell"] = [](const Paint& p) {
    Layer l(p.W(), p.H());
    try {
      Plate(l, School(p.Arg(1, "evocation")));
      Symbol(l, p.Arg(0), 9, 9, 11, SymbolColours(p.Arg(0)));
    } catch (const SourceError& e) {
      p.Fail(e.what());
    }
    l.Outline(kInk);
    p.Put(p.first, l);
  };
  // status SYMBOL good|bad|plain: a condition's badge.
  m["status"] = [](const Paint& p) {
    Layer l(p.W(), p.H());
    const std::string mood = p.Word(1, "the mood", {"plain", "good", "bad"});
    const Ramp rim = mood == "good" ? Rp("green.1 green.3 green.4") : mood == "bad" ? Rp("red.0 red.2 red.3") : Rp("grey.1 grey.3 grey.4");
    l.Rect(1, 1, 16, 16, rim[1]);
    l.Rect(2, 2, 14, 14, C("grey.0"));
    for (int i = 1; i < 17; ++i) {
      l.Put(i, 1, rim[2]);
      l.Put(1, i, rim[2]);
      l.Put(i, 16, rim[0]);
      l.Put(16, i, rim[0]);
    }
    try {
      Symbol(l, p.Arg(0), 9, 9, 11, SymbolColours(p.Arg(0)));
    } catch (const SourceError& e) {
      p.Fail(e.what());
    }
    l.Outline(kInk);
    p.Put(p.first, l);
  };
  // The box behind an item or a spell: a dark inset square.
  m["slot"] = [](const Paint& p) {
    Layer l(p.W(), p.H());
    l.Rect(0, 0, p.W(), p.H(), C("grey.1"));
    l.Rect(1, 1, p.W() - 2, p.H() - 2, C("grey.0"));
    for (int i = 0; i < p.W(); ++i) {
      l.Put(i, 0, C("ink.0"));
      l.Put(0, i, C("ink.0"));
      l.Put(i, p.H() - 1, C("grey.3"));
      l.Put(p.W() - 1, i, C("grey.3"));
    }
    p.Put(p.first, l);
  };
  // empty-slot KIND: the faint shape of what an empty box takes.
  m["empty-slot"] = [](const Paint& p) {
    Layer l(p.W(), p.H());
    Item(l, p.Arg(0), p);
    for (int y = 0; y < l.H(); ++y)
      for (int x = 0; x < l.W(); ++x)
        if (l.On(x, y)) l.Put(x, y, (x + y) % 2 ? C("grey.2") : C("grey.1"));
    p.Put(p.first, l);
  };
  // ui-mark KIND: marks of the item and spell screens.
  m["ui-mark"] = [](const Paint& p) {
    Layer l(p.W(), p.H());
    const std::string kind = p.Arg(0);
    const float c = p.W() / 2.0f;
    if (kind == "blocked" || kind == "none") {
      l.Ellipse(c, c, 7.5f, 7.5f, C("red.3"));
      l.Ellipse(c, c, 5.5f, 5.5f, kClear);
      l.Line(c - 5, c + 5, c + 5, c - 5, 2.0f, C("red.3"));
    } else if (kind == "up" || kind == "down") {
      const float d = kind == "up" ? -1.0f : 1.0f;
      l.Polygon({c - 6, c - d * 3, c + 6, c - d * 3, c, c + d * 4}, C("fire.1"));
      l.Line(c - 5, c - d * 3, c + 5, c - d * 3, 1.0f, C("skin.2"));
    } else if (kind == "turn") {
      l.Polygon({c - 5, 4, c + 5, 4, c, 12}, C("fire.2"));
      l.Polygon({c - 3, 5, c + 3, 5, c, 10}, C("skin.2"));
    } else if (kind == "frame-slot") {
      for (int i = 0; i < p.W(); ++i) {
        l.Put(i, 0, C("brown.3"));
        l.Put(0, i, C("brown.3"));
        l.Put(i, p.H() - 1, C("brown.1"));
        l.Put(p.W() - 1, i, C("brown.1"));
      }
    } else if (kind == "link-left" || kind == "link-right") {
      l.Rect(0, 8, p.W(), 2, C("brown.3"));
      l.Rect(kind == "link-left" ? p.W() - 4 : 0, 6, 4, 6, C("brown.2"));
    } else if (kind == "link-up" || kind == "link-down") {
      l.Rect(8, 0, 2, p.H(), C("brown.3"));
    } else if (kind == "scroll-blue" || kind == "scroll-red" || kind == "scroll-mark") {
      // A seal whose bands carry the key colours the game cycles.
      const uint32_t blue[5] = {0xFF035DC3u, 0xFF0F75FFu, 0xFF269BFEu, 0xFF56B7FAu, 0xFF65F9F4u};
      const uint32_t red[5] = {0xFF7B1400u, 0xFF971807u, 0xFFBB1B1Bu, 0xFFFF0000u, 0xFFFF0000u};
      const uint32_t* keys = kind == "scroll-red" ? red : blue;
      for (int y = 0; y < p.H(); ++y)
        for (int x = 0; x < p.W(); ++x) {
          const float d = std::hypot(x + 0.5f - 13, y + 0.5f - 13) / 4.5f;
          if (d <= 1) l.Put(x, y, keys[std::min(4, static_cast<int>((1 - d) * 5))]);
        }
    } else {
      p.Fail("no mark " + DoubleQuotedBytes(kind));
    }
    l.Outline(kInk);
    p.Put(p.first, l);
  };
}
