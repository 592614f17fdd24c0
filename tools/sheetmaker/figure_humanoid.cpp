// People and the monsters built like them: a body of solids dressed in
// layers (clothes, armour, tabard or robe, cloak), a head of its kind with
// hair or a helmet, and what the hands hold. Every size is a pixel at the
// figure's scale; the figure faces +x (its right hand towards +y).
#include <cmath>

#include "art.h"
#include "figure_kit.h"

namespace {

constexpr float kPi = 3.14159265f;

struct Body {
  float s, bulk, hipZ, chestZ, shoulderZ, headZ, headR;
  int skin;
};

void Head(Model& m, const Recipe& r, const Body& b, Vec3 at) {
  const float s = b.s, hr = b.headR;
  const std::string kind = r.Get("head", "human");
  const uint32_t eye = OneColour(r.Get("eyes", "ink.0"));
  auto eyes = [&](Vec3 c, float fwd, float apart, float up) {
    m.Dot(c + Vec3{fwd, -apart, up}, eye);
    m.Dot(c + Vec3{fwd, apart, up}, eye);
  };
  if (kind == "human" || kind == "orc" || kind == "elf") {
    m.Ball(at, hr * 0.95f, hr * 0.92f, hr, b.skin);
    if (hr > 6) {
      // A face close up: eyes with their whites, brows, a nose's shadow, a mouth.
      const float fw = hr * 0.93f;
      for (float side : {-1.0f, 1.0f}) {
        m.Dot(at + Vec3{fw * 0.93f, side * 0.34f * hr, 0.05f * hr}, eye);
        m.Dot(at + Vec3{fw * 0.94f, side * 0.22f * hr, 0.05f * hr}, Pal().Colour("grey.5"));
        m.Dot(at + Vec3{fw * 0.9f, side * 0.3f * hr, 0.25f * hr}, Pal().Colour("brown.1"));
        m.Dot(at + Vec3{fw * 0.9f, side * 0.4f * hr, 0.24f * hr}, Pal().Colour("brown.1"));
      }
      m.Dot(at + Vec3{fw * 0.99f, 0.05f * hr, -0.2f * hr}, Pal().Colour("brown.3"));
      for (float k : {-0.12f, 0.0f, 0.12f}) m.Dot(at + Vec3{fw * 0.95f, k * hr, -0.45f * hr}, Pal().Colour("red.1"));
    } else {
      eyes(at, hr * 0.9f, 0.9f * s, 0.1f * s);
    }
    if (kind == "orc") {
      m.Ball(at + Vec3{hr * 0.75f, 0, -0.9f * s}, 1.2f * s, 1.5f * s, 0.9f * s, b.skin);  // jaw
      m.Dot(at + Vec3{hr * 1.1f, -0.8f * s, -1.0f * s}, Pal().Colour("grey.5"));
      m.Dot(at + Vec3{hr * 1.1f, 0.8f * s, -1.0f * s}, Pal().Colour("grey.5"));
    }
  } else if (kind == "gnoll" || kind == "wolf") {
    m.Ball(at, hr * 0.95f, hr * 0.9f, hr * 0.95f, b.skin);
    m.Bone(at + Vec3{hr * 0.5f, 0, -0.4f * s}, at + Vec3{hr * 1.6f, 0, -0.9f * s}, 1.0f * s, b.skin);
    m.Cone(at + Vec3{-0.3f * s, -1.4f * s, hr * 0.6f}, at + Vec3{-0.6f * s, -1.8f * s, hr * 1.6f}, 0.9f * s, b.skin);
    m.Cone(at + Vec3{-0.3f * s, 1.4f * s, hr * 0.6f}, at + Vec3{-0.6f * s, 1.8f * s, hr * 1.6f}, 0.9f * s, b.skin);
    m.Dot(at + Vec3{hr * 1.7f, 0, -0.8f * s}, Pal().Colour("ink.0"));
    eyes(at, hr * 0.85f, 0.9f * s, 0.4f * s);
  } else if (kind == "lizard") {
    m.Ball(at, hr * 0.9f, hr * 0.85f, hr * 0.85f, b.skin);
    m.Bone(at + Vec3{hr * 0.4f, 0, -0.3f * s}, at + Vec3{hr * 1.8f, 0, -0.7f * s}, 1.1f * s, b.skin, 0.8f * s);
    eyes(at, hr * 0.6f, 1.2f * s, 0.6f * s);
  } else if (kind == "bull") {
    m.Ball(at, hr, hr * 0.95f, hr, b.skin);
    m.Ball(at + Vec3{hr * 0.95f, 0, -0.9f * s}, 1.4f * s, 1.6f * s, 1.2f * s, b.skin);
    const int horn = AddColour(m, "bone");
    for (float side : {-1.0f, 1.0f})
      m.Bone(at + Vec3{0, side * hr * 0.8f, hr * 0.4f}, at + Vec3{0.6f * s, side * hr * 2.0f, hr * 1.4f}, 0.7f * s, horn, 0.25f * s);
    eyes(at, hr * 0.85f, 1.1f * s, 0.3f * s);
  } else if (kind == "skull") {
    const int bone = AddColour(m, "bone");
    m.Ball(at, hr * 0.92f, hr * 0.85f, hr, bone);
    m.Ball(at + Vec3{hr * 0.45f, 0, -hr * 0.7f}, hr * 0.5f, hr * 0.6f, hr * 0.35f, bone);
    const uint32_t socket = OneColour(r.Get("eyes", "ink.0"));
    m.Dot(at + Vec3{hr * 0.9f, -0.9f * s, 0.1f * s}, socket);
    m.Dot(at + Vec3{hr * 0.9f, 0.9f * s, 0.1f * s}, socket);
  } else if (kind == "bird") {
    m.Ball(at, hr * 0.9f, hr * 0.85f, hr * 0.9f, b.skin);
    const int beak = AddColour(m, "yellow");
    m.Cone(at + Vec3{hr * 0.6f, 0, -0.2f * s}, at + Vec3{hr * 2.1f, 0, -1.2f * s}, 1.0f * s, beak, 0.2f);
    eyes(at, hr * 0.7f, 1.1f * s, 0.5f * s);
  } else if (kind == "insect") {
    m.Ball(at, hr * 0.85f, hr * 0.8f, hr * 1.05f, b.skin);
    m.Line(at + Vec3{0.5f * s, -0.8f * s, hr}, at + Vec3{2.0f * s, -2.0f * s, hr + 3 * s}, b.skin);
    m.Line(at + Vec3{0.5f * s, 0.8f * s, hr}, at + Vec3{2.0f * s, 2.0f * s, hr + 3 * s}, b.skin);
    m.Dot(at + Vec3{hr * 0.6f, -1.1f * s, 0.4f * s}, Pal().Colour("ink.0"));
    m.Dot(at + Vec3{hr * 0.6f, 1.1f * s, 0.4f * s}, Pal().Colour("ink.0"));
  } else if (kind == "rock") {
    m.Ball(at, hr * 0.9f, hr * 0.9f, hr * 0.8f, b.skin);
    eyes(at, hr * 0.85f, 0.9f * s, 0.1f * s);
  } else {
    throw SourceError("no head " + DoubleQuotedBytes(kind));
  }
  // Hair and beard.
  const std::string hair = r.Choice("hair", {"none", "short", "long", "tail", "snakes"});
  if (hair != "none") {
    const int h = AddColour(m, r.Get("haircolour", "hair-brown"));
    m.Ball(at + Vec3{-0.55f * s, 0, 0.6f * s}, hr * 0.9f, hr * 0.98f, hr * 0.88f, h);
    if (hair == "long") m.Bone(at + Vec3{-0.9f * s, 0, -0.2f * s}, at + Vec3{-1.3f * s, 0, -4.5f * s}, hr * 0.85f, h);
    if (hair == "tail") m.Bone(at + Vec3{-1.6f * s, 0, 0.2f * s}, at + Vec3{-2.6f * s, 0, -3.5f * s}, 0.8f * s, h);
    if (hair == "snakes") {
      const int snake = AddColour(m, "scales");
      for (int i = 0; i < 7; ++i) {
        const float a = kPi * (0.35f + i * 0.22f);
        m.Bone(at + Vec3{std::cos(a) * hr * 0.6f, std::sin(a) * hr * 0.7f, hr * 0.5f},
               at + Vec3{std::cos(a) * hr * 1.5f - 0.5f * s, std::sin(a) * hr * 1.6f, hr * 0.2f + (i % 2) * s}, 0.55f * s, snake);
      }
    }
  }
  const std::string beard = r.Choice("beard", {"none", "yes", "full"});
  if (beard == "yes" || beard == "full") {
    const int h = AddColour(m, r.Get("beardcolour", r.Get("haircolour", "hair-brown")));
    m.Ball(at + Vec3{hr * 0.72f, 0, -hr * 0.78f}, 0.9f * s, 1.4f * s, 1.3f * s, h);
    // A full beard covers the jaw from ear to ear, with a moustache: a man's
    // face even close up, where the chin's tuft is a few pixels.
    if (beard == "full") {
      m.Ball(at + Vec3{hr * 0.45f, 0, -hr * 0.62f}, hr * 0.62f, hr * 0.9f, hr * 0.55f, h);
      m.Bone(at + Vec3{hr * 0.93f, -hr * 0.3f, -hr * 0.3f}, at + Vec3{hr * 0.93f, hr * 0.3f, -hr * 0.3f}, 0.35f * s, h);
    }
  }
  // Headgear.
  const std::string helm = r.Get("helm", "none");
  if (helm == "none") return;
  const std::string helmColour = r.Get("helmcolour", helm == "wizard" || helm == "hood" ? r.Get("cloth", "blue") : "steel");
  const int hm = AddColour(m, helmColour);
  if (helm == "open" || helm == "horned" || helm == "coif") {
    m.Ball(at + Vec3{-0.45f * s, 0, 0.95f * s}, hr * 1.02f, hr * 1.06f, hr * 0.82f, hm);
    if (helm == "coif") m.Ball(at + Vec3{-0.6f * s, 0, -0.5f * s}, hr * 0.95f, hr * 1.1f, hr * 1.0f, hm);
    else m.Line(at + Vec3{hr * 1.05f, 0, 0.9f * s}, at + Vec3{hr * 1.05f, 0, -0.6f * s}, hm);
    if (helm == "horned") {
      const int horn = AddColour(m, "bone");
      for (float side : {-1.0f, 1.0f})
        m.Bone(at + Vec3{0, side * hr * 0.9f, hr * 0.5f}, at + Vec3{-0.5f * s, side * hr * 1.7f, hr * 1.7f}, 0.6f * s, horn, 0.2f * s);
    }
  } else if (helm == "great") {
    m.Ball(at + Vec3{0, 0, 0.2f * s}, hr * 1.08f, hr * 1.05f, hr * 1.08f, hm);
    m.Dot(at + Vec3{hr * 1.05f, -0.8f * s, 0.2f * s}, Pal().Colour("ink.0"));
    m.Dot(at + Vec3{hr * 1.05f, 0.8f * s, 0.2f * s}, Pal().Colour("ink.0"));
  } else if (helm == "cap") {
    m.Ball(at + Vec3{-0.2f * s, 0, 0.8f * s}, hr * 1.0f, hr * 1.0f, hr * 0.75f, hm);
  } else if (helm == "hood") {
    m.Ball(at + Vec3{-0.5f * s, 0, 0.35f * s}, hr * 1.08f, hr * 1.12f, hr * 1.08f, hm);
    m.Bone(at + Vec3{-1.5f * s, 0, -0.5f * s}, at + Vec3{-2.2f * s, 0, -3.0f * s}, hr * 0.7f, hm);
  } else if (helm == "wizard") {
    m.Cylinder(at + Vec3{0, 0, hr * 0.45f}, hr * 1.35f, 0.35f * s, hm);
    m.Cone(at + Vec3{-0.2f * s, 0, hr * 0.45f}, at + Vec3{-1.8f * s, 0, hr * 0.45f + 4.8f * s}, hr * 0.9f, hm, 0.15f * s);
  } else if (helm == "crown" || helm == "circlet") {
    m.Cylinder(at + Vec3{-0.1f * s, 0, hr * 0.55f}, hr * 1.0f, (helm == "crown" ? 0.7f : 0.35f) * s, hm);
    if (helm == "crown")
      for (int i = 0; i < 5; ++i) {
        const float a = i * 2 * kPi / 5;
        m.Cone(at + Vec3{std::cos(a) * hr * 0.9f, std::sin(a) * hr * 0.9f, hr * 0.9f},
               at + Vec3{std::cos(a) * hr * 0.9f, std::sin(a) * hr * 0.9f, hr * 0.9f + 1.6f * s}, 0.45f * s, hm);
      }
  } else {
    throw SourceError("no helm " + DoubleQuotedBytes(helm));
  }
}

// What a hand holds, the hand at h; `up` is the weapon's rise (1 held up,
// 0 hanging), forward its lean.
void Held(Model& m, const std::string& what, Vec3 h, float s, const Recipe& r, bool left) {
  if (what == "none") return;
  const int steel = AddColour(m, "steel");
  const int wood = AddColour(m, "wood");
  if (what == "sword" || what == "greatsword" || what == "dagger") {
    const float len = what == "greatsword" ? 11.0f : what == "dagger" ? 3.5f : 7.5f;
    const Vec3 dir = Normalise(Vec3{0.55f, 0, 1});
    m.Line(h, h + dir * (len * s), steel, what == "greatsword" ? 2.0f : 1.0f);
    m.Line(h + Vec3{0, -1.3f * s, 0.3f * s}, h + Vec3{0, 1.3f * s, 0.3f * s}, AddColour(m, "gold"));
  } else if (what == "axe" || what == "greataxe") {
    const float len = what == "greataxe" ? 12.0f : 8.0f;
    const Vec3 top = h + Vec3{1.2f * s, 0, len * s * 0.75f};
    m.Line(h - Vec3{0, 0, 1.5f * s}, top, wood);
    Slab(m, top + Vec3{1.4f * s, 0, -1.2f * s}, Vec3{1.6f * s, 0, 0}, Vec3{0, 0, (what == "greataxe" ? 2.6f : 1.9f) * s}, 0.45f * s, steel);
  } else if (what == "mace" || what == "club" || what == "hammer") {
    const Vec3 top = h + Vec3{1.0f * s, 0, 6.0f * s};
    if (what == "club") {
      m.Bone(h, top + Vec3{0.5f * s, 0, 1.5f * s}, 0.8f * s, wood, 1.6f * s);
    } else {
      m.Line(h - Vec3{0, 0, 1.0f * s}, top, wood);
      if (what == "mace") m.Ball(top, 1.4f * s, 1.4f * s, 1.4f * s, steel);
      else m.Box(top, {1.0f * s, 1.8f * s, 1.0f * s}, steel);
    }
  } else if (what == "spear" || what == "lance" || what == "trident") {
    const float len = what == "lance" ? 20.0f : 14.0f;
    const Vec3 a = h - Vec3{1.5f * s, 0, 4.0f * s}, b = h + Vec3{2.0f * s, 0, len * s - 4.0f * s};
    m.Line(a, b, wood);
    m.Cone(b - Vec3{0.3f * s, 0, 0.5f * s}, b + Vec3{0.6f * s, 0, 2.5f * s}, 0.8f * s, steel);
    if (what == "trident") {
      m.Line(b + Vec3{0, -1.2f * s, 0}, b + Vec3{0.3f * s, -1.2f * s, 2.0f * s}, steel);
      m.Line(b + Vec3{0, 1.2f * s, 0}, b + Vec3{0.3f * s, 1.2f * s, 2.0f * s}, steel);
    }
  } else if (what == "staff") {
    const Vec3 top = h + Vec3{0.6f * s, 0, 8.0f * s};
    m.Line(h - Vec3{0, 0, 8.0f * s}, top, wood);
    const int orb = AddColour(m, r.Get("orb", "glow-blue"));
    m.Ball(top + Vec3{0, 0, 0.9f * s}, 1.2f * s, 1.2f * s, 1.2f * s, orb);
  } else if (what == "bow") {
    std::vector<Vec3> pts;
    for (int i = 0; i <= 6; ++i) {
      const float a = -1.1f + i * 2.2f / 6;
      pts.push_back(h + Vec3{std::cos(a) * 2.4f * s - 1.8f * s, 0, std::sin(a) * 6.5f * s});
    }
    for (size_t i = 0; i + 1 < pts.size(); ++i) m.Line(pts[i], pts[i + 1], wood);
    m.Line(pts.front(), pts.back(), AddColour(m, "white"));
  } else if (what == "torch") {
    m.Line(h - Vec3{0, 0, 1.0f * s}, h + Vec3{0.5f * s, 0, 4.0f * s}, wood);
    m.Ball(h + Vec3{0.6f * s, 0, 5.0f * s}, 1.0f * s, 1.0f * s, 1.5f * s, AddColour(m, "fire"));
  } else if (what == "book") {
    m.Box(h + Vec3{0.8f * s, 0, 0.5f * s}, {1.2f * s, 0.5f * s, 1.5f * s}, AddColour(m, "darkred"));
  } else if (what == "whip") {
    std::vector<Vec3> pts;
    for (int i = 0; i <= 6; ++i) pts.push_back(h + Vec3{i * 1.6f * s, 0, std::sin(i * 0.9f) * 1.5f * s - i * 0.6f * s});
    const int lash = AddColour(m, r.Get("whipcolour", "leather"));
    for (size_t i = 0; i + 1 < pts.size(); ++i) m.Line(pts[i], pts[i + 1], lash);
  } else if (what == "shield" || what == "kite" || what == "buckler") {
    const int face = AddColour(m, r.Get("shieldcolour", r.Get("cloth", "brown")));
    const float side = left ? -1.0f : 1.0f;
    const Vec3 c = h + Vec3{0.8f * s, side * 0.9f * s, 1.0f * s};
    const float w = what == "buckler" ? 2.0f : 3.0f, tall = what == "kite" ? 4.3f : what == "buckler" ? 2.0f : 3.0f;
    Slab(m, c, Vec3{w * s * 0.6f, 0, 0} + Vec3{0, 0, 0}, Vec3{0, 0, tall * s}, 0.75f * s, face);
    // The slab's long axes span x and z; turn it to face outwards.
    Solid& sh = m.solids.back();
    sh.ax = Vec3{w * s, 0, 0};
    sh.ay = Vec3{0, 0, tall * s};
    sh.az = Vec3{0, 0.75f * s, 0};
    m.Dot(c + Vec3{0, side * 0.8f * s, 0.2f * s}, Pal().Colour("fire.2"));
  } else if (what == "claws") {
    const int bone = AddColour(m, "bone");
    for (int i = -1; i <= 1; ++i) m.Line(h, h + Vec3{1.8f * s, i * 0.6f * s, -0.8f * s}, bone);
  } else if (what == "orb") {
    m.Ball(h + Vec3{0.6f * s, 0, 1.0f * s}, 1.2f * s, 1.2f * s, 1.2f * s, AddColour(m, r.Get("orb", "glow-purple")));
  } else {
    throw SourceError("no held thing " + DoubleQuotedBytes(what));
  }
}

}  // namespace

void BuildHumanoid(const Recipe& r, const Stance& st, Model& m) {
  Body b;
  b.s = r.Num("height", 20.0f) / 20.0f;
  b.bulk = r.Num("bulk", 1.0f);
  const float s = b.s, bulk = b.bulk, p = st.step;
  const float hunch = r.Num("hunch", 0.0f);  // leaning forward, 0 upright
  b.hipZ = 8.6f * s;
  b.chestZ = 12.2f * s - hunch * s;
  b.shoulderZ = 14.3f * s - hunch * 1.6f * s;
  b.headZ = 17.3f * s - hunch * 2.5f * s;
  b.headR = 2.75f * s * r.Num("headsize", 1.0f);
  b.skin = AddColour(m, r.Get("skin", "skin"));
  const float lean = hunch * 1.4f * s;

  const std::string armour = r.Get("armour", "none");
  const int cloth = AddColour(m, r.Get("cloth", "brown"));
  const int shirt = r.Has("shirt") ? AddColour(m, r.Get("shirt")) : cloth;
  const bool robe = r.Choice("robe", {"no", "yes"}) == "yes";
  // Plate is steel unless its colour is given (black iron, say).
  const std::string plateColour = r.Get("platecolour", "steel");
  const int legsM = AddColour(m, r.Get("legs", armour == "plate" ? plateColour : "brown"));
  const int boots = AddColour(m, r.Get("boots", armour == "plate" ? plateColour : "leather"));
  const int plate = armour == "none" ? (robe ? cloth : shirt) : AddColour(m, armour == "plate" ? plateColour : armour == "chain" ? "chain" : armour);
  const bool serpent = r.Choice("lower", {"legs", "serpent"}) == "serpent";

  // Legs and feet, swinging with the step; a serpent's tail instead.
  if (serpent) {
    const int scales = AddColour(m, r.Get("tailcolour", r.Get("skin", "scales")));
    std::vector<Vec3> tail;
    for (int i = 0; i < 7; ++i) {
      const float t = i / 6.0f;
      tail.push_back({-t * 9.0f * s, std::sin(t * 4.0f + p * 1.2f) * 2.5f * s, b.hipZ * (1 - t) * 0.9f + 1.3f * s});
    }
    Chain(m, tail, 2.8f * s, 0.9f * s, scales);
  } else {
    for (float side : {-1.0f, 1.0f}) {
      const float fx = 3.0f * s * p * side;
      const float lift = fx < 0 ? 0.9f * s * std::fabs(p) : 0.0f;
      const Vec3 hip{0, side * 1.65f * s * bulk, b.hipZ};
      const Vec3 foot{fx, side * 1.9f * s * bulk, 1.4f * s + lift};
      m.Bone(hip, foot, 1.3f * s * bulk, legsM, 1.05f * s * bulk);
      m.Ball(foot + Vec3{0.7f * s, 0, -0.4f * s}, 1.7f * s, 1.15f * s * bulk, 1.0f * s, boots);
    }
  }
  // Body.
  m.Ball({0, 0, b.hipZ + 0.4f * s}, 2.1f * s * bulk, 2.9f * s * bulk, 1.7f * s, robe ? cloth : legsM);
  m.Ball({lean * 0.5f, 0, b.chestZ}, 2.1f * s * bulk, 3.3f * s * bulk, 3.5f * s, plate);
  if (robe) {
    const float sway = p * 0.6f * s;
    m.Cone({sway, 0, b.hipZ + 1.2f * s}, {sway * 1.5f, 0, 0.6f * s}, 3.1f * s * bulk, cloth, 4.6f * s * bulk);
  }
  if (r.Has("tabard")) {
    const int tab = AddColour(m, r.Get("tabard"));
    m.Box({1.35f * s * bulk + lean * 0.5f, 0, b.chestZ - 1.8f * s}, {0.7f * s, 2.3f * s * bulk, 4.1f * s}, tab);
    m.Box({-1.35f * s * bulk + lean * 0.5f, 0, b.chestZ - 1.8f * s}, {0.7f * s, 2.3f * s * bulk, 4.1f * s}, tab);
    if (r.Has("emblem")) m.Dot({2.1f * s * bulk + lean * 0.5f, 0, b.chestZ}, OneColour(r.Get("emblem")));
  }
  if (r.Has("apron")) {
    // A working apron hung from the chest to the knees, standing off the
    // front of the body: from the side it gives the figure its depth.
    const int ap = AddColour(m, r.Get("apron"));
    const float top = b.chestZ + 1.6f * s, bottom = b.hipZ - 5.0f * s;
    m.Box({2.3f * s * bulk + lean * 0.4f, 0, (top + bottom) / 2}, {0.6f * s, 2.4f * s * bulk, (top - bottom) / 2}, ap);
  }
  if (r.Has("belt") || armour != "none" || robe) {
    const int belt = AddColour(m, r.Get("belt", "leather"));
    m.Cylinder({lean * 0.3f, 0, b.hipZ + 1.3f * s}, 2.55f * s * bulk, 0.45f * s, belt);
    Solid& c = m.solids.back();
    c.ay = Vec3{0, 3.15f * s * bulk, 0};
  }
  if (r.Has("cloak")) {
    const int cl = AddColour(m, r.Get("cloak"));
    const float back = -2.3f * s * bulk - std::fabs(p) * 0.5f * s;
    Slab(m, {back + lean * 0.3f, 0, b.shoulderZ - 6.0f * s}, Vec3{0, 3.6f * s * bulk, 0}, Vec3{-0.9f * s, 0, 7.0f * s}, 0.6f * s, cl);
  }
  if (r.Has("wings")) {
    const int wing = AddColour(m, r.Get("wings"));
    const int bone = AddColour(m, r.Get("wingbones", "black"));
    for (float side : {-1.0f, 1.0f})
      Wing(m, {-1.8f * s, side * 2.4f * s, b.shoulderZ + 0.5f * s}, Vec3{-2.0f * s, side * 8.0f * s, 5.5f * s},
           Vec3{-3.5f * s, 0, -8.0f * s}, wing, bone);
  }
  if (r.Has("tail")) {
    const int tail = AddColour(m, r.Get("tail"));
    std::vector<Vec3> pts;
    for (int i = 0; i < 5; ++i)
      pts.push_back({-2.0f * s - i * 2.2f * s, std::sin(i * 0.8f + p) * 1.2f * s, b.hipZ - i * 1.8f * s});
    Chain(m, pts, 1.3f * s, 0.5f * s, tail);
  }
  // Shoulders and arms: the right hand holds the weapon forward, the left
  // swings (or carries the shield).
  // An empty right= or left= holds nothing in a raised hand: refused.
  for (const char* hand : {"right", "left"})
    if (r.Has(hand) && r.Get(hand).empty()) throw SourceError(std::string(hand) + "= has no value");
  const std::string right = r.Get("right", "none"), left = r.Get("left", "none");
  for (float side : {-1.0f, 1.0f}) {
    const Vec3 shoulder{lean, side * 3.35f * s * bulk, b.shoulderZ};
    const bool armed = side > 0 ? right != "none" : left != "none";
    const float swing = -2.6f * s * p * side * (armed ? 0.4f : 1.0f);
    Vec3 hand{swing + 0.5f * s + lean, side * 3.9f * s * bulk, b.hipZ - 0.6f * s};
    if (armed) hand = {1.8f * s + swing + lean, side * 3.5f * s * bulk, b.hipZ + 0.4f * s};
    if (side < 0 && (left == "shield" || left == "kite" || left == "buckler")) hand = hand + Vec3{0.4f * s, -0.5f * s, 1.0f * s};
    const int sleeve = armour == "plate" || armour == "chain" ? plate : (robe ? cloth : shirt);
    m.Bone(shoulder, hand, 1.1f * s * bulk, sleeve, 0.95f * s * bulk);
    m.Ball(hand, 0.95f * s * bulk, 0.95f * s * bulk, 0.95f * s * bulk, r.Has("gloves") ? AddColour(m, r.Get("gloves")) : b.skin);
    if (armour == "plate") m.Ball(shoulder + Vec3{0, side * 0.3f * s, 0.3f * s}, 1.7f * s * bulk, 1.6f * s * bulk, 1.4f * s, plate);
    Held(m, side > 0 ? right : left, hand, s, r, side < 0);
    if (r.Choice("arms", {"two", "four"}) == "four") {
      const Vec3 s2{lean, side * 3.0f * s * bulk, b.chestZ - 1.6f * s};
      const Vec3 h2{2.6f * s + lean, side * 3.8f * s * bulk, b.hipZ};
      m.Bone(s2, h2, 0.9f * s, b.skin, 0.7f * s);
      Held(m, "claws", h2, s, r, side < 0);
    }
  }
  // Neck and head.
  m.Ball({lean, 0, b.headZ - b.headR * 0.95f}, 1.15f * s, 1.15f * s, 0.9f * s, b.skin);
  Head(m, r, b, {0.25f * s + lean, 0, b.headZ});
  if (r.Has("aura")) {
    // The burning of fiery creatures: cones of flame in the key colours the
    // game cycles, so the fire flickers.
    std::vector<int> mats;
    for (const uint32_t key : KeyColours("aura", r.Get("aura"))) {
      Material f;
      f.flat = key;
      f.noOutline = true;
      mats.push_back(m.AddMaterial(f));
    }
    for (int i = 0; i < 6; ++i) {
      const float a = i * kPi / 3 + 0.3f;
      const Vec3 base{std::cos(a) * 2.5f * s, std::sin(a) * 3.2f * s, b.shoulderZ - 1.0f * s};
      m.Cone(base, base + Vec3{-0.8f * s, 0, (3.5f + (i % 2) * 2) * s}, 1.3f * s, mats[static_cast<size_t>(i) % mats.size()]);
    }
  }
}
