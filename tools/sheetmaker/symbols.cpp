#include "symbols.h"

#include <cmath>

#include "art.h"

namespace {

constexpr float kPi = 3.14159265f;

uint32_t C(const char* name) { return Pal().Colour(name); }

void Star(Layer& l, float cx, float cy, float r, int points, float inner, uint32_t c) {
  std::vector<float> xy;
  for (int i = 0; i < points * 2; ++i) {
    const float a = -kPi / 2 + i * kPi / points, rr = i % 2 ? r * inner : r;
    xy.push_back(cx + rr * std::cos(a));
    xy.push_back(cy + rr * std::sin(a));
  }
  l.Polygon(xy, c);
}

void Flame(Layer& l, float cx, float cy, float s, const Ramp& r) {
  l.Polygon({cx, cy - s * 0.5f, cx + s * 0.32f, cy + s * 0.05f, cx + s * 0.25f, cy + s * 0.4f, cx - s * 0.25f, cy + s * 0.4f,
             cx - s * 0.32f, cy},
            r[1]);
  l.Polygon({cx + s * 0.05f, cy - s * 0.15f, cx + s * 0.17f, cy + s * 0.15f, cx + s * 0.1f, cy + s * 0.38f, cx - s * 0.12f,
             cy + s * 0.38f, cx - s * 0.15f, cy + s * 0.1f},
            r.back());
}

void Skull(Layer& l, float cx, float cy, float s, uint32_t bone, uint32_t hole) {
  l.Ellipse(cx, cy - s * 0.08f, s * 0.34f, s * 0.3f, bone);
  l.Rect(static_cast<int>(cx - s * 0.2f), static_cast<int>(cy + s * 0.1f), static_cast<int>(s * 0.42f), static_cast<int>(s * 0.22f), bone);
  l.Ellipse(cx - s * 0.14f, cy - s * 0.02f, s * 0.09f, s * 0.09f, hole);
  l.Ellipse(cx + s * 0.14f, cy - s * 0.02f, s * 0.09f, s * 0.09f, hole);
  l.Put(static_cast<int>(cx), static_cast<int>(cy + s * 0.16f), hole);
}

void Eye(Layer& l, float cx, float cy, float s, uint32_t white, uint32_t iris) {
  l.Polygon({cx - s * 0.45f, cy, cx - s * 0.15f, cy - s * 0.22f, cx + s * 0.15f, cy - s * 0.22f, cx + s * 0.45f, cy, cx + s * 0.15f,
             cy + s * 0.22f, cx - s * 0.15f, cy + s * 0.22f},
            white);
  l.Ellipse(cx, cy, s * 0.16f, s * 0.16f, iris);
  l.Put(static_cast<int>(cx), static_cast<int>(cy), C("ink.0"));
}

void Cross(Layer& l, float cx, float cy, float s) {
  l.Line(cx - s * 0.42f, cy - s * 0.42f, cx + s * 0.42f, cy + s * 0.42f, 2.0f, C("red.3"));
  l.Line(cx + s * 0.42f, cy - s * 0.42f, cx - s * 0.42f, cy + s * 0.42f, 2.0f, C("red.3"));
}

}  // namespace

void Symbol(Layer& l, const std::string& name, float cx, float cy, float s, const Ramp& r) {
  const uint32_t dark = r.front(), mid = r[r.size() / 2], light = r.back();
  if (name == "fire") {
    Flame(l, cx, cy, s, r);
  } else if (name == "frost") {
    for (int i = 0; i < 3; ++i) {
      const float a = i * kPi / 3;
      l.Line(cx - std::cos(a) * s * 0.45f, cy - std::sin(a) * s * 0.45f, cx + std::cos(a) * s * 0.45f, cy + std::sin(a) * s * 0.45f, 1.4f, light);
    }
    l.Ellipse(cx, cy, 1.5f, 1.5f, mid);
  } else if (name == "bolt") {
    l.Polygon({cx + s * 0.1f, cy - s * 0.5f, cx - s * 0.3f, cy + s * 0.05f, cx - s * 0.02f, cy + s * 0.05f, cx - s * 0.15f,
               cy + s * 0.5f, cx + s * 0.32f, cy - s * 0.1f, cx + s * 0.04f, cy - s * 0.1f},
              light);
  } else if (name == "drop" || name == "acid") {
    l.Ellipse(cx, cy + s * 0.12f, s * 0.28f, s * 0.28f, mid);
    l.Polygon({cx, cy - s * 0.45f, cx + s * 0.26f, cy + s * 0.05f, cx - s * 0.26f, cy + s * 0.05f}, mid);
    l.Put(static_cast<int>(cx - s * 0.1f), static_cast<int>(cy + s * 0.05f), light);
    if (name == "acid") l.Ellipse(cx + s * 0.3f, cy + s * 0.3f, 1.2f, 1.2f, light);
  } else if (name == "missile" || name == "star") {
    Star(l, cx, cy, s * 0.46f, name == "star" ? 5 : 4, name == "star" ? 0.45f : 0.3f, light);
  } else if (name == "burst") {
    Star(l, cx, cy, s * 0.5f, 8, 0.45f, mid);
    l.Ellipse(cx, cy, s * 0.18f, s * 0.18f, light);
  } else if (name == "heal" || name == "plus") {
    l.Rect(static_cast<int>(cx - s * 0.12f), static_cast<int>(cy - s * 0.4f), static_cast<int>(s * 0.26f) + 1, static_cast<int>(s * 0.8f), light);
    l.Rect(static_cast<int>(cx - s * 0.4f), static_cast<int>(cy - s * 0.12f), static_cast<int>(s * 0.8f), static_cast<int>(s * 0.26f) + 1, light);
  } else if (name == "harm") {
    l.Ellipse(cx, cy, s * 0.4f, s * 0.4f, dark);
    l.Line(cx - s * 0.25f, cy, cx + s * 0.25f, cy, 2.0f, C("red.3"));
  } else if (name == "skull") {
    Skull(l, cx, cy, s, C("stone.3"), C("ink.0"));
  } else if (name == "eye") {
    Eye(l, cx, cy, s, C("grey.5"), mid);
  } else if (name == "eye-crossed") {
    Eye(l, cx, cy, s, C("grey.5"), mid);
    Cross(l, cx, cy, s);
  } else if (name == "ear-crossed") {
    l.Ellipse(cx, cy, s * 0.22f, s * 0.34f, C("skin.1"));
    l.Ellipse(cx + s * 0.04f, cy, s * 0.1f, s * 0.18f, C("brown.3"));
    Cross(l, cx, cy, s);
  } else if (name == "mouth-crossed") {
    l.Ellipse(cx, cy, s * 0.36f, s * 0.16f, C("red.2"));
    l.Line(cx - s * 0.3f, cy, cx + s * 0.3f, cy, 1.0f, C("red.0"));
    Cross(l, cx, cy, s);
  } else if (name == "shield") {
    l.Polygon({cx - s * 0.38f, cy - s * 0.4f, cx + s * 0.38f, cy - s * 0.4f, cx + s * 0.34f, cy + s * 0.1f, cx, cy + s * 0.48f,
               cx - s * 0.34f, cy + s * 0.1f},
              mid);
    l.Polygon({cx - s * 0.38f, cy - s * 0.4f, cx, cy - s * 0.4f, cx, cy + s * 0.48f, cx - s * 0.34f, cy + s * 0.1f}, light);
  } else if (name == "sword") {
    l.Line(cx - s * 0.35f, cy + s * 0.35f, cx + s * 0.4f, cy - s * 0.4f, 2.0f, C("grey.5"));
    l.Line(cx - s * 0.38f, cy + s * 0.08f, cx - s * 0.1f, cy + s * 0.38f, 2.0f, C("fire.1"));
  } else if (name == "fist") {
    l.Ellipse(cx, cy, s * 0.32f, s * 0.28f, C("skin.1"));
    for (int i = 0; i < 3; ++i) l.Line(cx - s * 0.2f + i * s * 0.16f, cy - s * 0.25f, cx - s * 0.2f + i * s * 0.16f, cy - s * 0.05f, 1.0f, C("brown.3"));
    l.Rect(static_cast<int>(cx - s * 0.16f), static_cast<int>(cy + s * 0.2f), static_cast<int>(s * 0.32f), static_cast<int>(s * 0.25f), C("skin.0"));
  } else if (name == "moon") {
    l.Ellipse(cx, cy, s * 0.38f, s * 0.38f, light);
    l.Ellipse(cx + s * 0.18f, cy - s * 0.1f, s * 0.32f, s * 0.32f, kClear);
  } else if (name == "chains") {
    for (int i = 0; i < 3; ++i) {
      const float x = cx - s * 0.3f + i * s * 0.3f, y = cy + (i % 2 ? -1 : 1) * s * 0.08f;
      l.Ellipse(x, y, s * 0.17f, s * 0.12f, light);
      l.Ellipse(x, y, s * 0.08f, s * 0.04f, kClear);
    }
  } else if (name == "swirl") {
    for (int i = 0; i < 40; ++i) {
      const float t = i / 40.0f, a = t * 4 * kPi, rr = t * s * 0.45f;
      l.Ellipse(cx + std::cos(a) * rr, cy + std::sin(a) * rr, 0.8f, 0.8f, light);
    }
  } else if (name == "heart") {
    l.Ellipse(cx - s * 0.15f, cy - s * 0.1f, s * 0.18f, s * 0.18f, mid);
    l.Ellipse(cx + s * 0.15f, cy - s * 0.1f, s * 0.18f, s * 0.18f, mid);
    l.Polygon({cx - s * 0.32f, cy - s * 0.04f, cx + s * 0.32f, cy - s * 0.04f, cx, cy + s * 0.38f}, mid);
    l.Put(static_cast<int>(cx - s * 0.18f), static_cast<int>(cy - s * 0.15f), light);
  } else if (name == "crown") {
    l.Polygon({cx - s * 0.4f, cy + s * 0.25f, cx - s * 0.4f, cy - s * 0.3f, cx - s * 0.2f, cy, cx, cy - s * 0.35f, cx + s * 0.2f, cy,
               cx + s * 0.4f, cy - s * 0.3f, cx + s * 0.4f, cy + s * 0.25f},
              C("fire.1"));
    l.Rect(static_cast<int>(cx - s * 0.4f), static_cast<int>(cy + s * 0.1f), static_cast<int>(s * 0.8f), 2, C("brown.4"));
  } else if (name == "spider") {
    l.Ellipse(cx, cy + s * 0.05f, s * 0.2f, s * 0.22f, dark);
    for (int i = 0; i < 4; ++i)
      for (int side : {-1, 1}) l.Line(cx, cy, cx + side * s * 0.45f, cy - s * 0.3f + i * s * 0.2f, 1.0f, dark);
  } else if (name == "paw") {
    l.Ellipse(cx, cy + s * 0.12f, s * 0.22f, s * 0.18f, dark);
    for (int i = 0; i < 4; ++i) l.Ellipse(cx - s * 0.27f + i * s * 0.18f, cy - s * 0.16f - (i % 3 ? s * 0.06f : 0), s * 0.08f, s * 0.1f, dark);
  } else if (name == "giant") {
    l.Ellipse(cx, cy - s * 0.3f, s * 0.12f, s * 0.12f, light);
    l.Polygon({cx - s * 0.28f, cy - s * 0.15f, cx + s * 0.28f, cy - s * 0.15f, cx + s * 0.2f, cy + s * 0.45f, cx - s * 0.2f, cy + s * 0.45f}, light);
    l.Line(cx + s * 0.32f, cy - s * 0.1f, cx + s * 0.4f, cy - s * 0.45f, 1.5f, C("brown.3"));
  } else if (name == "web") {
    for (int i = 0; i < 4; ++i) {
      const float a = i * kPi / 4;
      l.Line(cx - std::cos(a) * s * 0.45f, cy - std::sin(a) * s * 0.45f, cx + std::cos(a) * s * 0.45f, cy + std::sin(a) * s * 0.45f, 1.0f, light);
    }
    for (float rr : {0.2f, 0.38f})
      for (int i = 0; i < 32; ++i) l.Put(static_cast<int>(cx + std::cos(i * kPi / 16) * s * rr), static_cast<int>(cy + std::sin(i * kPi / 16) * s * rr), light);
  } else if (name == "vines") {
    for (int k = -1; k <= 1; ++k)
      for (int i = 0; i < 12; ++i) {
        const float t = i / 11.0f;
        l.Ellipse(cx + k * s * 0.25f + std::sin(t * 6 + k) * s * 0.1f, cy + s * 0.45f - t * s * 0.9f, 1.0f, 1.0f, i % 4 == 3 ? light : mid);
      }
  } else if (name == "cloud") {
    l.Ellipse(cx - s * 0.18f, cy + s * 0.05f, s * 0.25f, s * 0.2f, mid);
    l.Ellipse(cx + s * 0.18f, cy + s * 0.05f, s * 0.25f, s * 0.2f, mid);
    l.Ellipse(cx, cy - s * 0.12f, s * 0.25f, s * 0.22f, light);
  } else if (name == "bugs") {
    for (int i = 0; i < 7; ++i) {
      const float a = i * 2.3f, rr = (i % 3 + 1) * s * 0.14f;
      l.Rect(static_cast<int>(cx + std::cos(a) * rr), static_cast<int>(cy + std::sin(a) * rr), 2, 1, C("ink.0"));
    }
  } else if (name == "stone") {
    l.Polygon({cx - s * 0.35f, cy + s * 0.3f, cx - s * 0.4f, cy - s * 0.05f, cx - s * 0.1f, cy - s * 0.35f, cx + s * 0.3f, cy - s * 0.25f,
               cx + s * 0.4f, cy + s * 0.2f, cx + s * 0.1f, cy + s * 0.35f},
              C("stone.1"));
    l.Polygon({cx - s * 0.4f, cy - s * 0.05f, cx - s * 0.1f, cy - s * 0.35f, cx + s * 0.3f, cy - s * 0.25f, cx, cy}, C("stone.3"));
  } else if (name == "wall") {
    for (int row = 0; row < 3; ++row)
      for (int col = 0; col < 3; ++col) {
        const float x = cx - s * 0.45f + col * s * 0.3f + (row % 2) * s * 0.15f, y = cy - s * 0.35f + row * s * 0.25f;
        l.Rect(static_cast<int>(x), static_cast<int>(y), static_cast<int>(s * 0.27f), static_cast<int>(s * 0.2f), C("stone.2"));
      }
  } else if (name == "sun") {
    Star(l, cx, cy, s * 0.48f, 8, 0.6f, mid);
    l.Ellipse(cx, cy, s * 0.24f, s * 0.24f, light);
  } else if (name == "dark") {
    l.Ellipse(cx, cy, s * 0.42f, s * 0.42f, C("ink.0"));
    l.Ellipse(cx - s * 0.12f, cy - s * 0.12f, s * 0.1f, s * 0.1f, C("grey.1"));
  } else if (name == "wing") {
    l.Polygon({cx - s * 0.4f, cy + s * 0.3f, cx - s * 0.1f, cy - s * 0.4f, cx + s * 0.45f, cy - s * 0.35f, cx + s * 0.15f, cy, cx + s * 0.3f,
               cy + s * 0.05f, cx - s * 0.05f, cy + s * 0.3f},
              light);
    l.Line(cx - s * 0.3f, cy + s * 0.2f, cx + s * 0.3f, cy - s * 0.3f, 1.0f, mid);
  } else if (name == "snail" || name == "hourglass") {
    l.Polygon({cx - s * 0.3f, cy - s * 0.4f, cx + s * 0.3f, cy - s * 0.4f, cx + s * 0.03f, cy, cx + s * 0.3f, cy + s * 0.4f,
               cx - s * 0.3f, cy + s * 0.4f, cx - s * 0.03f, cy},
              light);
    l.Polygon({cx - s * 0.15f, cy + s * 0.38f, cx + s * 0.15f, cy + s * 0.38f, cx, cy + s * 0.15f}, C("fire.1"));
  } else if (name == "grow" || name == "shrink") {
    const float k = name == "grow" ? 1.0f : -1.0f;
    for (int q = 0; q < 4; ++q) {
      const float dx = (q % 2 ? 1 : -1), dy = (q / 2 ? 1 : -1);
      const float ox = cx + dx * s * (k > 0 ? 0.38f : 0.12f), oy = cy + dy * s * (k > 0 ? 0.38f : 0.12f);
      l.Line(cx + dx * s * 0.25f, cy + dy * s * 0.25f, ox, oy, 1.0f, light);
      l.Polygon({ox, oy, ox - dx * k * s * 0.2f, oy, ox, oy - dy * k * s * 0.2f}, light);
    }
  } else if (name == "ray") {
    l.Line(cx - s * 0.45f, cy + s * 0.45f, cx + s * 0.4f, cy - s * 0.4f, 3.0f, mid);
    l.Line(cx - s * 0.45f, cy + s * 0.45f, cx + s * 0.4f, cy - s * 0.4f, 1.0f, light);
    Star(l, cx + s * 0.3f, cy - s * 0.3f, s * 0.18f, 4, 0.4f, light);
  } else if (name == "hand") {
    l.Ellipse(cx, cy + s * 0.15f, s * 0.24f, s * 0.22f, C("skin.1"));
    for (int i = 0; i < 4; ++i) l.Line(cx - s * 0.18f + i * s * 0.12f, cy, cx - s * 0.2f + i * s * 0.14f, cy - s * 0.38f, 1.0f, C("skin.1"));
    l.Line(cx + s * 0.2f, cy + s * 0.1f, cx + s * 0.4f, cy - s * 0.05f, 1.0f, C("skin.1"));
    Star(l, cx, cy - s * 0.38f, s * 0.15f, 4, 0.4f, light);
  } else if (name == "note") {
    l.Ellipse(cx - s * 0.2f, cy + s * 0.3f, s * 0.14f, s * 0.1f, light);
    l.Ellipse(cx + s * 0.25f, cy + s * 0.2f, s * 0.14f, s * 0.1f, light);
    l.Line(cx - s * 0.08f, cy + s * 0.3f, cx - s * 0.08f, cy - s * 0.35f, 1.0f, light);
    l.Line(cx + s * 0.37f, cy + s * 0.2f, cx + s * 0.37f, cy - s * 0.45f, 1.0f, light);
    l.Line(cx - s * 0.08f, cy - s * 0.35f, cx + s * 0.37f, cy - s * 0.45f, 2.0f, light);
  } else if (name == "portal") {
    l.Ellipse(cx, cy, s * 0.3f, s * 0.44f, mid);
    l.Ellipse(cx, cy, s * 0.18f, s * 0.32f, light);
    l.Ellipse(cx, cy, s * 0.08f, s * 0.2f, C("grey.5"));
  } else if (name == "ghost") {
    l.Ellipse(cx, cy - s * 0.1f, s * 0.28f, s * 0.3f, light);
    l.Polygon({cx - s * 0.28f, cy - s * 0.1f, cx + s * 0.28f, cy - s * 0.1f, cx + s * 0.28f, cy + s * 0.45f, cx, cy + s * 0.3f, cx - s * 0.28f, cy + s * 0.45f}, light);
    l.Put(static_cast<int>(cx - s * 0.1f), static_cast<int>(cy - s * 0.12f), C("ink.0"));
    l.Put(static_cast<int>(cx + s * 0.1f), static_cast<int>(cy - s * 0.12f), C("ink.0"));
  } else if (name == "ankh") {
    l.Ellipse(cx, cy - s * 0.25f, s * 0.16f, s * 0.2f, C("fire.2"));
    l.Ellipse(cx, cy - s * 0.25f, s * 0.07f, s * 0.1f, kClear);
    l.Line(cx, cy - s * 0.05f, cx, cy + s * 0.45f, 2.0f, C("fire.2"));
    l.Line(cx - s * 0.28f, cy + s * 0.05f, cx + s * 0.28f, cy + s * 0.05f, 2.0f, C("fire.2"));
  } else if (name == "clover") {
    for (int i = 0; i < 4; ++i)
      l.Ellipse(cx + std::cos(i * kPi / 2) * s * 0.17f, cy - s * 0.05f + std::sin(i * kPi / 2) * s * 0.17f, s * 0.15f, s * 0.15f, C("green.4"));
    l.Line(cx, cy, cx + s * 0.1f, cy + s * 0.45f, 1.0f, C("green.2"));
  } else if (name == "broken") {
    l.Line(cx - s * 0.35f, cy + s * 0.35f, cx - s * 0.02f, cy + s * 0.02f, 2.0f, C("grey.5"));
    l.Line(cx + s * 0.08f, cy - s * 0.08f, cx + s * 0.4f, cy - s * 0.4f, 2.0f, C("grey.4"));
    l.Line(cx - s * 0.38f, cy + s * 0.08f, cx - s * 0.1f, cy + s * 0.38f, 2.0f, C("fire.1"));
  } else if (name == "down") {
    l.Polygon({cx - s * 0.35f, cy, cx + s * 0.35f, cy, cx, cy + s * 0.45f}, C("red.3"));
    l.Rect(static_cast<int>(cx - s * 0.12f), static_cast<int>(cy - s * 0.4f), static_cast<int>(s * 0.26f) + 1, static_cast<int>(s * 0.42f), C("red.3"));
  } else if (name == "up") {
    l.Polygon({cx - s * 0.35f, cy, cx + s * 0.35f, cy, cx, cy - s * 0.45f}, C("green.5"));
    l.Rect(static_cast<int>(cx - s * 0.12f), static_cast<int>(cy - s * 0.02f), static_cast<int>(s * 0.26f) + 1, static_cast<int>(s * 0.42f), C("green.5"));
  } else if (name == "drops") {
    l.Ellipse(cx - s * 0.15f, cy + s * 0.1f, s * 0.16f, s * 0.2f, C("green.4"));
    l.Ellipse(cx + s * 0.2f, cy - s * 0.15f, s * 0.12f, s * 0.15f, C("green.3"));
    l.Ellipse(cx + s * 0.1f, cy + s * 0.3f, s * 0.1f, s * 0.12f, C("green.5"));
  } else if (name == "blood") {
    l.Ellipse(cx, cy + s * 0.12f, s * 0.26f, s * 0.26f, C("red.2"));
    l.Polygon({cx, cy - s * 0.45f, cx + s * 0.24f, cy + s * 0.05f, cx - s * 0.24f, cy + s * 0.05f}, C("red.2"));
    l.Put(static_cast<int>(cx - s * 0.08f), static_cast<int>(cy + s * 0.05f), C("red.3"));
  } else if (name == "tired") {
    l.Line(cx - s * 0.35f, cy - s * 0.05f, cx - s * 0.1f, cy + s * 0.05f, 1.5f, light);
    l.Line(cx + s * 0.1f, cy + s * 0.05f, cx + s * 0.35f, cy - s * 0.05f, 1.5f, light);
    l.Ellipse(cx + s * 0.32f, cy + s * 0.3f, s * 0.09f, s * 0.14f, C("blue.4"));
  } else if (name == "fear") {
    l.Ellipse(cx, cy, s * 0.36f, s * 0.4f, C("grey.4"));
    l.Ellipse(cx - s * 0.13f, cy - s * 0.08f, s * 0.08f, s * 0.12f, C("ink.0"));
    l.Ellipse(cx + s * 0.13f, cy - s * 0.08f, s * 0.08f, s * 0.12f, C("ink.0"));
    l.Ellipse(cx, cy + s * 0.2f, s * 0.1f, s * 0.13f, C("ink.0"));
  } else if (name == "zzz") {
    for (int i = 0; i < 2; ++i) {
      const float x = cx - s * 0.2f + i * s * 0.28f, y = cy + s * 0.2f - i * s * 0.35f, z = s * (0.18f - i * 0.04f);
      l.Line(x - z, y - z, x + z, y - z, 1.0f, light);
      l.Line(x + z, y - z, x - z, y + z, 1.0f, light);
      l.Line(x - z, y + z, x + z, y + z, 1.0f, light);
    }
  } else if (name == "dice") {
    l.Rect(static_cast<int>(cx - s * 0.35f), static_cast<int>(cy - s * 0.35f), static_cast<int>(s * 0.7f), static_cast<int>(s * 0.7f), C("grey.5"));
    for (int i = -1; i <= 1; ++i) l.Ellipse(cx + i * s * 0.18f, cy + i * s * 0.18f, 1.0f, 1.0f, C("red.2"));
  } else if (name == "swords") {
    l.Line(cx - s * 0.4f, cy + s * 0.4f, cx + s * 0.4f, cy - s * 0.4f, 1.5f, C("grey.5"));
    l.Line(cx + s * 0.4f, cy + s * 0.4f, cx - s * 0.4f, cy - s * 0.4f, 1.5f, C("grey.5"));
    l.Line(cx - s * 0.38f, cy + s * 0.15f, cx - s * 0.15f, cy + s * 0.38f, 1.5f, C("fire.1"));
    l.Line(cx + s * 0.38f, cy + s * 0.15f, cx + s * 0.15f, cy + s * 0.38f, 1.5f, C("fire.1"));
  } else if (name == "iron") {
    l.Polygon({cx - s * 0.3f, cy - s * 0.35f, cx + s * 0.3f, cy - s * 0.35f, cx + s * 0.35f, cy + s * 0.35f, cx - s * 0.35f, cy + s * 0.35f}, C("grey.3"));
    l.Rect(static_cast<int>(cx - s * 0.3f), static_cast<int>(cy - s * 0.35f), static_cast<int>(s * 0.25f), static_cast<int>(s * 0.7f), C("grey.4"));
  } else if (name == "flag") {
    l.Line(cx - s * 0.3f, cy + s * 0.45f, cx - s * 0.3f, cy - s * 0.45f, 1.0f, C("brown.3"));
    l.Polygon({cx - s * 0.3f, cy - s * 0.45f, cx + s * 0.4f, cy - s * 0.3f, cx - s * 0.3f, cy - s * 0.05f}, mid);
  } else if (name == "boot") {
    l.Polygon({cx - s * 0.15f, cy - s * 0.4f, cx + s * 0.12f, cy - s * 0.4f, cx + s * 0.12f, cy + s * 0.15f, cx + s * 0.42f, cy + s * 0.25f,
               cx + s * 0.42f, cy + s * 0.4f, cx - s * 0.15f, cy + s * 0.4f},
              C("brown.3"));
    l.Line(cx - s * 0.35f, cy - s * 0.2f, cx - s * 0.25f, cy - s * 0.2f, 1.0f, light);
    l.Line(cx - s * 0.4f, cy, cx - s * 0.25f, cy, 1.0f, light);
  } else if (name == "rain") {
    l.Ellipse(cx, cy - s * 0.2f, s * 0.38f, s * 0.2f, C("grey.3"));
    for (int i = 0; i < 4; ++i) l.Line(cx - s * 0.3f + i * s * 0.2f, cy + s * 0.05f, cx - s * 0.36f + i * s * 0.2f, cy + s * 0.4f, 1.0f, C("blue.4"));
  } else if (name == "grass") {
    for (int i = 0; i < 6; ++i) l.Line(cx - s * 0.35f + i * s * 0.14f, cy + s * 0.4f, cx - s * 0.3f + i * s * 0.12f + (i % 2 ? 2 : -2), cy - s * 0.35f + (i % 3) * 2, 1.0f, C("green.4"));
  } else if (name == "target") {
    l.Ellipse(cx, cy, s * 0.42f, s * 0.42f, C("red.3"));
    l.Ellipse(cx, cy, s * 0.28f, s * 0.28f, C("grey.5"));
    l.Ellipse(cx, cy, s * 0.14f, s * 0.14f, C("red.3"));
  } else if (name == "x") {
    Cross(l, cx, cy, s);
  } else if (name == "book") {
    l.Rect(static_cast<int>(cx - s * 0.35f), static_cast<int>(cy - s * 0.3f), static_cast<int>(s * 0.7f), static_cast<int>(s * 0.6f), C("red.1"));
    l.Rect(static_cast<int>(cx - s * 0.3f), static_cast<int>(cy - s * 0.25f), static_cast<int>(s * 0.6f), static_cast<int>(s * 0.5f), C("skin.2"));
    l.Line(cx, cy - s * 0.25f, cx, cy + s * 0.25f, 1.0f, C("brown.2"));
  } else {
    throw SourceError("no symbol " + DoubleQuotedBytes(name));
  }
}
