// Figures not built like people: four-legged beasts (and a horse with its
// rider), spiders, snakes, centipedes, the elementals of air, fire and water,
// and dragons. Facing +x, feet on the ground at the origin.
#include <cmath>

#include "art.h"
#include "figure_kit.h"

namespace {

constexpr float kPi = 3.14159265f;

// A four-legged beast: body length len, shoulder height tall; legs in
// diagonal pairs swing with the step.
void Quadruped(const Recipe& r, const Stance& st, Model& m, float len, float tall, const std::string& headKind) {
  const float p = st.step, k = tall / 10.0f;
  Material hideM = Colour(r.Get("hide", "fur"));
  hideM.stripes = r.Num("stripes", 0.0f);
  const int hide = m.AddMaterial(hideM);
  const int belly = r.Has("belly") ? AddColour(m, r.Get("belly")) : hide;
  const float bodyZ = tall * 0.78f, half = len / 2;
  // Body: haunch, belly and chest.
  m.Ball({-half * 0.55f, 0, bodyZ}, half * 0.5f, 2.9f * k * r.Num("bulk", 1.0f), 2.9f * k, hide);
  m.Ball({0, 0, bodyZ - 0.3f * k}, half * 0.55f, 2.8f * k * r.Num("bulk", 1.0f), 2.7f * k, belly);
  m.Ball({half * 0.5f, 0, bodyZ + 0.2f * k}, half * 0.45f, 3.1f * k * r.Num("bulk", 1.0f), 3.2f * k, hide);
  if (r.Has("mane")) m.Ball({half * 0.55f, 0, bodyZ + 2.4f * k}, half * 0.35f, 2.6f * k, 2.2f * k, AddColour(m, r.Get("mane")));
  // Legs.
  for (float fx : {half * 0.6f, -half * 0.6f})
    for (float side : {-1.0f, 1.0f}) {
      const float phase = (fx > 0 ? 1.0f : -1.0f) * side * p;
      const Vec3 top{fx, side * 2.0f * k, bodyZ - 1.0f * k};
      const Vec3 foot{fx + phase * 2.4f * k, side * 2.2f * k, 0.8f * k + (phase < 0 ? 0.9f * k * std::fabs(p) : 0)};
      m.Bone(top, foot, 1.35f * k * r.Num("legsize", 1.0f), hide, 0.9f * k * r.Num("legsize", 1.0f));
      if (r.Has("hooves")) m.Ball(foot, 1.0f * k, 1.0f * k, 0.8f * k, AddColour(m, r.Get("hooves")));
    }
  // Neck and head.
  const Vec3 neck{half * 0.85f, 0, bodyZ + 1.8f * k * r.Num("neckrise", 1.0f)};
  const Vec3 head{half * 1.15f, 0, bodyZ + 2.6f * k * r.Num("neckrise", 1.0f)};
  m.Bone({half * 0.55f, 0, bodyZ + 0.5f * k}, neck, 2.0f * k, hide);
  const float hr = 2.1f * k * r.Num("headsize", 1.0f);
  m.Ball(head, hr, hr * 0.9f, hr * 0.9f, hide);
  const uint32_t eye = OneColour(r.Get("eyes", "ink.0"));
  m.Dot(head + Vec3{hr * 0.6f, -hr * 0.55f, hr * 0.3f}, eye);
  m.Dot(head + Vec3{hr * 0.6f, hr * 0.55f, hr * 0.3f}, eye);
  if (headKind == "dog" || headKind == "cat" || headKind == "rat" || headKind == "horse" || headKind == "bull") {
    const float snout = headKind == "cat" ? 0.9f : headKind == "horse" ? 2.4f : headKind == "bull" ? 1.3f : 1.8f;
    m.Bone(head + Vec3{hr * 0.4f, 0, -hr * 0.2f}, head + Vec3{hr * (0.6f + snout), 0, -hr * 0.55f}, hr * 0.55f, hide,
           hr * (headKind == "horse" ? 0.5f : 0.38f));
    m.Dot(head + Vec3{hr * (1.05f + snout), 0, -hr * 0.5f}, Pal().Colour("ink.0"));
  }
  if (headKind == "dog" || headKind == "cat" || headKind == "rat" || headKind == "horse" || headKind == "bear") {
    const float ear = headKind == "bear" ? 0.6f : headKind == "rat" ? 0.8f : 1.0f;
    for (float side : {-1.0f, 1.0f})
      m.Cone(head + Vec3{-hr * 0.2f, side * hr * 0.55f, hr * 0.5f}, head + Vec3{-hr * 0.45f, side * hr * 0.7f, hr * (0.8f + ear)},
             hr * 0.35f, hide);
  }
  if (headKind == "bear") m.Ball(head + Vec3{hr * 0.9f, 0, -hr * 0.3f}, hr * 0.55f, hr * 0.5f, hr * 0.45f, hide);
  if (headKind == "bull") {
    const int horn = AddColour(m, r.Get("horns", "bone"));
    for (float side : {-1.0f, 1.0f})
      m.Bone(head + Vec3{0, side * hr * 0.7f, hr * 0.5f}, head + Vec3{hr * 0.8f, side * hr * 1.5f, hr * 1.2f}, 0.5f * k, horn, 0.15f * k);
    const uint32_t breath = Pal().Colour("grey.5");
    if (r.Choice("breath", {"no", "yes"}) == "yes") m.Dot(head + Vec3{hr * 2.4f, 0, -hr * 0.5f}, breath);
  }
  // Tail.
  const float tailLen = r.Num("tail", 1.0f);
  if (tailLen > 0) {
    std::vector<Vec3> pts;
    const int n = headKind == "rat" ? 6 : 4;
    for (int i = 0; i <= n; ++i) {
      const float t = static_cast<float>(i) / n;
      pts.push_back({-half * 0.95f - t * len * 0.45f * tailLen, std::sin(t * 2.5f + p) * 1.3f * k,
                     bodyZ + (headKind == "dog" ? 1.5f * t : -1.8f * t) * k * 2});
    }
    Chain(m, pts, (headKind == "rat" ? 0.6f : 1.0f) * k, (headKind == "rat" ? 0.3f : 0.6f) * k, hide);
  }
}

void Spider(const Recipe& r, const Stance& st, Model& m, float size) {
  const float k = size / 10.0f, p = st.step;
  const int body = AddColour(m, r.Get("hide", "black"), 0.2f);
  const int mark = AddColour(m, r.Get("marks", "red"));
  m.Ball({-3.8f * k, 0, 4.2f * k}, 4.2f * k, 3.6f * k, 3.3f * k, body);  // abdomen
  m.Ball({-4.2f * k, 0, 6.8f * k}, 1.8f * k, 1.3f * k, 0.7f * k, mark);
  m.Ball({1.2f * k, 0, 3.4f * k}, 2.4f * k, 2.2f * k, 1.9f * k, body);   // head and thorax
  for (int i = 0; i < 4; ++i)
    for (float side : {-1.0f, 1.0f}) {
      const float a = (-0.9f + i * 0.55f);
      const float swing = ((i % 2) ? 1 : -1) * side * p * 0.25f;
      const Vec3 root{1.0f * k + std::cos(kPi - a) * 0.5f * k, side * 1.5f * k, 3.5f * k};
      const Vec3 knee = root + Vec3{std::cos(a + swing) * 3.2f * k * (i < 2 ? 1 : -1), side * 4.0f * k, 3.2f * k};
      const Vec3 foot = knee + Vec3{std::cos(a + swing) * 2.0f * k * (i < 2 ? 1 : -1), side * 2.4f * k, -6.6f * k};
      m.Bone(root, knee, 0.7f * k, body);
      m.Bone(knee, foot, 0.6f * k, body, 0.3f * k);
    }
  m.Dot({3.4f * k, -0.7f * k, 3.9f * k}, Pal().Colour("red.3"));
  m.Dot({3.4f * k, 0.7f * k, 3.9f * k}, Pal().Colour("red.3"));
  m.Bone({3.2f * k, -0.6f * k, 2.6f * k}, {4.2f * k, -0.5f * k, 1.4f * k}, 0.45f * k, body);
  m.Bone({3.2f * k, 0.6f * k, 2.6f * k}, {4.2f * k, 0.5f * k, 1.4f * k}, 0.45f * k, body);
}

void Serpent(const Recipe& r, const Stance& st, Model& m, float size) {
  const float k = size / 10.0f, p = st.step;
  Material hide = Colour(r.Get("hide", "scales"));
  hide.stripes = r.Num("stripes", 0.0f);
  const int h = m.AddMaterial(hide);
  std::vector<Vec3> pts;
  for (int i = 0; i <= 11; ++i) {
    const float t = i / 11.0f;
    pts.push_back({5.0f * k - t * 13.0f * k, std::sin(t * 7.0f + p * 1.4f) * 3.2f * k * t, 1.3f * k});
  }
  Chain(m, pts, 1.6f * k, 0.5f * k, h);
  // The raised neck and head.
  m.Bone({5.0f * k, 0, 1.3f * k}, {6.0f * k, 0, 6.0f * k}, 1.4f * k, h);
  m.Ball({7.0f * k, 0, 6.6f * k}, 2.1f * k, 1.5f * k, 1.2f * k, h);
  m.Dot({8.0f * k, -0.8f * k, 7.2f * k}, Pal().Colour("fire.2"));
  m.Dot({8.0f * k, 0.8f * k, 7.2f * k}, Pal().Colour("fire.2"));
  m.Line({9.0f * k, 0, 6.3f * k}, {10.5f * k, 0, 6.0f * k}, AddColour(m, "red"));
}

void Centipede(const Recipe& r, const Stance& st, Model& m, float size) {
  const float k = size / 10.0f, p = st.step;
  const int h = AddColour(m, r.Get("hide", "darkred"), 0.1f);
  const int legs = AddColour(m, "brown");
  for (int i = 0; i < 9; ++i) {
    const float t = i / 8.0f;
    const Vec3 c{6.0f * k - t * 14.0f * k, std::sin(t * 5.5f + p) * 2.6f * k, 1.6f * k + (i == 0 ? 1.3f * k : 0)};
    m.Ball(c, 1.6f * k, 1.9f * k, 1.3f * k, h);
    for (float side : {-1.0f, 1.0f})
      m.Line(c + Vec3{0, side * 1.5f * k, 0}, c + Vec3{((i + (side > 0)) % 2 ? 1.0f : -1.0f) * p * 0.8f * k, side * 3.6f * k, -1.6f * k}, legs);
  }
  m.Line({7.0f * k, -0.6f * k, 3.0f * k}, {9.5f * k, -1.8f * k, 4.5f * k}, legs);
  m.Line({7.0f * k, 0.6f * k, 3.0f * k}, {9.5f * k, 1.8f * k, 4.5f * k}, legs);
  m.Dot({7.5f * k, -0.7f * k, 3.3f * k}, Pal().Colour("fire.2"));
}

// Air: a whirl of cloud; water: a rising wave; fire: tongues of flame in the
// key colours the game cycles.
void Elemental(const std::string& kind, const Stance& st, Model& m, float size) {
  const float k = size / 20.0f, p = st.step;
  if (kind == "air") {
    Material cloud = Colour("air");
    cloud.bumps = 0.3f;
    const int c = m.AddMaterial(cloud);
    for (int i = 0; i < 9; ++i) {
      const float t = i / 8.0f, a = t * 9.0f + p * 0.9f;
      const float r = (1.0f + t * 5.0f) * k;
      m.Ball({std::cos(a) * r * 0.6f, std::sin(a) * r * 0.6f, (1.0f + t * 15.0f) * k}, r * 0.55f + 1.0f * k, r * 0.55f + 1.0f * k, 1.8f * k, c);
    }
    m.Dot({3.0f * k, -1.2f * k, 14.5f * k}, Pal().Colour("ink.0"));
    m.Dot({3.0f * k, 1.2f * k, 14.5f * k}, Pal().Colour("ink.0"));
    return;
  }
  if (kind == "water") {
    Material wa = Colour("water");
    wa.bumps = 0.25f;
    const int w = m.AddMaterial(wa);
    const int foam = AddColour(m, "white");
    m.Ball({0, 0, 1.5f * k}, 7.0f * k, 6.0f * k, 2.0f * k, w);
    m.Bone({0, 0, 2.0f * k}, {0.8f * k + p * 0.5f * k, 0, 13.0f * k}, 4.2f * k, w, 3.0f * k);
    m.Ball({1.0f * k, 0, 16.0f * k}, 3.2f * k, 3.0f * k, 3.0f * k, w);
    for (float side : {-1.0f, 1.0f}) m.Bone({0.5f * k, side * 3.5f * k, 12.0f * k}, {3.5f * k, side * 6.0f * k, 8.0f - p * side}, 1.6f * k, w, 1.1f * k);
    m.Ball({1.8f * k, 0, 18.5f * k}, 2.0f * k, 2.6f * k, 0.9f * k, foam);
    m.Dot({3.8f * k, -1.0f * k, 16.3f * k}, Pal().Colour("ink.0"));
    m.Dot({3.8f * k, 1.0f * k, 16.3f * k}, Pal().Colour("ink.0"));
    return;
  }
  if (kind == "fire") {
    const uint32_t keys[3] = {0xFFFF6717u, 0xFFFFAA1Eu, 0xFFFFCA63u};
    int mats[3];
    for (int i = 0; i < 3; ++i) {
      Material f;
      f.flat = keys[i];
      mats[i] = m.AddMaterial(f);
    }
    const int core = AddColour(m, "fire");
    m.Bone({0, 0, 1.0f * k}, {0.5f * k, 0, 12.0f * k}, 4.0f * k, mats[0], 2.6f * k);
    m.Ball({0.8f * k, 0, 14.0f * k}, 2.8f * k, 2.8f * k, 3.0f * k, mats[1]);
    for (int i = 0; i < 7; ++i) {
      const float a = i * 0.9f + p * 0.7f;
      const Vec3 base{std::cos(a) * 3.0f * k, std::sin(a) * 3.0f * k, (3.0f + i * 2.0f) * k};
      m.Cone(base, base + Vec3{-1.0f * k, std::sin(a) * 1.0f * k, (4.0f + (i % 3)) * k}, 1.6f * k, mats[i % 3]);
    }
    m.Ball({1.2f * k, 0, 9.0f * k}, 1.6f * k, 1.8f * k, 2.6f * k, core);
    m.Dot({3.2f * k, -1.0f * k, 14.5f * k}, Pal().Colour("red.0"));
    m.Dot({3.2f * k, 1.0f * k, 14.5f * k}, Pal().Colour("red.0"));
    return;
  }
  throw SourceError("no elemental " + DoubleQuotedBytes(kind));
}

void Dragon(const Recipe& r, const Stance& st, Model& m, float size) {
  const float k = size / 40.0f, p = st.step;
  const int hide = AddColour(m, r.Get("hide", "red"), 0.2f);
  const int belly = AddColour(m, r.Get("belly", "tan"));
  const int wing = AddColour(m, r.Get("wing", r.Get("hide", "red")));
  const int horn = AddColour(m, r.Get("horns", "bone"));
  // Body and legs.
  m.Ball({-2 * k, 0, 11 * k}, 10 * k, 6.5f * k, 6 * k, hide);
  m.Ball({5 * k, 0, 12 * k}, 6 * k, 5.5f * k, 6 * k, belly);
  for (float fx : {6.0f, -8.0f})
    for (float side : {-1.0f, 1.0f}) {
      const float ph = (fx > 0 ? 1.0f : -1.0f) * side * p;
      const Vec3 top{fx * k, side * 5.0f * k, 9 * k};
      const Vec3 knee{(fx + ph * 2) * k, side * 6.0f * k, 5 * k};
      const Vec3 foot{(fx + 2 + ph * 4) * k, side * 5.5f * k, 1.2f * k + (ph < 0 ? 1.2f * k * std::fabs(p) : 0)};
      m.Bone(top, knee, 2.6f * k, hide);
      m.Bone(knee, foot, 1.8f * k, hide, 1.4f * k);
      m.Ball(foot + Vec3{1.2f * k, 0, -0.4f * k}, 2.2f * k, 1.6f * k, 1.0f * k, hide);
    }
  // Neck and head.
  std::vector<Vec3> neck;
  for (int i = 0; i <= 4; ++i) {
    const float t = i / 4.0f;
    neck.push_back({(8 + t * 8) * k, 0, (14 + std::sin(t * 2.2f) * 9 + p * 0.5f * t) * k});
  }
  Chain(m, neck, 3.6f * k, 2.6f * k, hide);
  const Vec3 head = neck.back() + Vec3{3 * k, 0, 1 * k};
  m.Ball(head, 4.2f * k, 3.0f * k, 2.8f * k, hide);
  m.Bone(head + Vec3{2 * k, 0, -0.5f * k}, head + Vec3{7 * k, 0, -1.6f * k}, 2.0f * k, hide, 1.3f * k);
  m.Bone(head + Vec3{2 * k, 0, -2.0f * k}, head + Vec3{6 * k, 0, -3.3f * k}, 1.3f * k, belly, 0.9f * k);
  for (float side : {-1.0f, 1.0f}) {
    m.Bone(head + Vec3{-2 * k, side * 1.8f * k, 1.8f * k}, head + Vec3{-7 * k, side * 2.8f * k, 4.5f * k}, 0.9f * k, horn, 0.2f * k);
    m.Dot(head + Vec3{2.6f * k, side * 2.0f * k, 1.0f * k}, OneColour(r.Get("eyes", "fire.2")));
  }
  // Tail.
  std::vector<Vec3> tail;
  for (int i = 0; i <= 6; ++i) {
    const float t = i / 6.0f;
    tail.push_back({(-10 - t * 16) * k, std::sin(t * 3.2f + p * 0.8f) * 5 * k, (9 - t * 7) * k});
  }
  Chain(m, tail, 3.4f * k, 0.8f * k, hide);
  // Wings, half spread, raised over the back.
  for (float side : {-1.0f, 1.0f}) {
    const Vec3 root{1 * k, side * 4.0f * k, 16 * k};
    const Vec3 span{-3.0f * k, side * 15.0f * k, (11.0f + p * side * 1.5f) * k};
    Wing(m, root, span, Vec3{-15.0f * k, 0, -5.0f * k}, wing, hide);
  }
}

}  // namespace

void BuildBeast(const std::string& kind, const Recipe& r, const Stance& st, Model& m) {
  const float size = r.Num("size", 0.0f);
  if (kind == "wolf") Quadruped(r, st, m, size ? size : 15.0f, 10.0f * (size ? size / 15.0f : 1.0f), "dog");
  else if (kind == "rat") Quadruped(r, st, m, size ? size : 10.0f, 5.5f, "rat");
  else if (kind == "bear") Quadruped(r, st, m, size ? size : 32.0f, 19.0f, "bear");
  else if (kind == "tiger") Quadruped(r, st, m, size ? size : 34.0f, 17.0f, "cat");
  else if (kind == "bull") Quadruped(r, st, m, size ? size : 34.0f, 19.0f, "bull");
  else if (kind == "horse") Quadruped(r, st, m, size ? size : 30.0f, 20.0f, "horse");
  else if (kind == "spider") Spider(r, st, m, size ? size : 10.0f);
  else if (kind == "snake") Serpent(r, st, m, size ? size : 10.0f);
  else if (kind == "centipede") Centipede(r, st, m, size ? size : 10.0f);
  else if (kind == "air" || kind == "water" || kind == "fire") Elemental(kind, st, m, size ? size : 20.0f);
  else if (kind == "dragon") Dragon(r, st, m, size ? size : 40.0f);
  else throw SourceError("no beast " + DoubleQuotedBytes(kind));
}
