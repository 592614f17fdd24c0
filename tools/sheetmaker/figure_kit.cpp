#include "figure_kit.h"

#include <algorithm>
#include <string_view>

#include "art.h"

float Recipe::Num(const std::string& key, float def) const {
  if (!Has(key)) return def;
  const std::string v = Get(key);
  if (v.empty()) throw SourceError(key + "= has no value");
  return ReadFloat(v, key + "=");
}

std::string Recipe::Choice(const std::string& key, std::initializer_list<const char*> values) const {
  return OneOf(key, Get(key, *values.begin()), values);
}

Material Colour(const std::string& name) {
  // Named colours: ramps of palette colours, dark to light.
  static const std::map<std::string, std::pair<const char*, float>> kNamed = {
      // the party's eight colours (the swatches of the creation screen)
      {"red", {"red.0 red.1 red.2 red.3 fire.0", 0}},
      {"orange", {"red.1 red.2 fire.0 fire.1", 0}},
      {"yellow", {"brown.2 brown.4 fire.1 fire.2 skin.2", 0}},
      {"green", {"green.0 green.1 green.2 green.3 green.4", 0}},
      {"cyan", {"teal.0 teal.1 teal.2 blue.5", 0}},
      {"blue", {"blue.0 blue.1 blue.2 blue.3 blue.4", 0}},
      {"purple", {"purple.0 purple.1 purple.2 purple.3", 0}},
      {"white", {"grey.2 grey.3 grey.4 grey.5", 0}},
      // other cloth and hide
      {"black", {"ink.0 grey.0 grey.1 grey.2", 0}},
      {"darkred", {"ink.0 red.0 red.1 red.2", 0}},
      {"brown", {"brown.1 brown.2 brown.3 brown.4", 0}},
      {"tan", {"brown.2 brown.3 brown.4 skin.0 skin.1", 0}},
      {"grey", {"grey.1 grey.2 grey.3 grey.4", 0}},
      {"darkgreen", {"ink.0 green.0 green.1 green.2", 0}},
      {"navy", {"ink.0 blue.0 blue.1 blue.2", 0}},
      {"linen", {"stone.1 stone.2 stone.3 skin.1 skin.2", 0}},
      {"leather", {"brown.0 brown.1 brown.2 brown.3 brown.4", 0.1f}},
      {"fur", {"brown.1 brown.2 brown.3 brown.4 skin.0", 0.5f}},
      {"whitefur", {"stone.2 grey.4 stone.3 grey.5", 0.5f}},
      {"greyfur", {"grey.1 grey.2 stone.1 grey.3 stone.2 grey.4", 0.5f}},
      {"orangefur", {"red.1 red.2 fire.0 fire.1 skin.1", 0.3f}},
      {"ratfur", {"brown.0 brown.1 brown.2 stone.0 stone.1", 0.4f}},
      // metals
      {"steel", {"ink.0 grey.1 grey.2 grey.3 grey.4 grey.5", 0}},
      {"iron", {"ink.0 grey.0 grey.1 grey.2 grey.3", 0}},
      {"gold", {"brown.2 brown.3 brown.4 fire.1 fire.2 skin.2", 0}},
      {"bronze", {"brown.1 brown.2 brown.3 brown.4 fire.1", 0}},
      {"chain", {"ink.0 grey.1 grey.2 grey.3 grey.4", 0.6f}},
      // skins
      {"skin", {"brown.3 brown.4 skin.0 skin.1 skin.2", 0}},
      {"tanskin", {"brown.2 brown.3 brown.4 skin.0 skin.1", 0}},
      {"darkskin", {"brown.0 brown.1 brown.2 brown.3 brown.4", 0}},
      {"paleskin", {"stone.2 skin.1 stone.3 skin.2 grey.5", 0}},
      {"orcskin", {"green.0 green.1 green.2 green.3 green.4", 0.1f}},
      {"trollskin", {"green.0 teal.0 green.1 green.2 green.3", 0.2f}},
      {"greyskin", {"grey.1 grey.2 stone.1 grey.3 stone.2", 0.15f}},
      {"ghoulskin", {"grey.1 teal.0 grey.2 stone.1 green.3", 0.15f}},
      {"zombieskin", {"green.0 green.1 teal.1 stone.1 green.3", 0.25f}},
      {"blueskin", {"blue.1 blue.2 blue.3 blue.4 blue.5", 0}},
      {"redskin", {"red.0 red.1 red.2 red.3 fire.0", 0.1f}},
      {"scales", {"green.0 green.1 green.2 green.3 green.4 green.5", 0.35f}},
      {"chitin", {"green.0 brown.2 green.3 brown.4 green.5", 0.1f}},
      {"bone", {"grey.2 stone.1 stone.2 stone.3 skin.2", 0}},
      {"bandage", {"brown.2 stone.1 stone.2 stone.3 skin.1", 0.6f}},
      {"rock", {"ink.0 grey.0 grey.1 stone.0 stone.1 stone.2", 0.45f}},
      {"demon", {"ink.0 grey.0 red.0 red.1 grey.1", 0.15f}},
      {"feathers", {"ink.0 grey.0 teal.0 grey.1 green.2 stone.1", 0.4f}},
      // hair
      {"hair-brown", {"brown.0 brown.1 brown.2 brown.3", 0.3f}},
      {"hair-blond", {"brown.3 brown.4 fire.1 fire.2", 0.3f}},
      {"hair-black", {"ink.0 grey.0 grey.1 grey.2", 0.3f}},
      {"hair-red", {"red.0 red.1 red.2 fire.0", 0.3f}},
      {"hair-grey", {"grey.2 grey.3 grey.4 grey.5", 0.3f}},
      {"hair-white", {"grey.3 stone.3 grey.4 grey.5", 0.3f}},
      // light and fire
      {"glow-blue", {"blue.3 blue.4 blue.5 grey.5", 0}},
      {"glow-red", {"red.2 red.3 fire.0 fire.1", 0}},
      {"glow-green", {"green.3 green.4 green.5 skin.2", 0}},
      {"glow-purple", {"purple.2 purple.3 grey.5", 0}},
      {"fire", {"red.2 fire.0 fire.1 fire.2", 0}},
      {"water", {"blue.1 blue.2 blue.3 blue.4 blue.5", 0}},
      {"air", {"grey.3 blue.4 grey.4 blue.5 grey.5", 0}},
      {"wood", {"ink.0 brown.0 brown.1 brown.2 brown.3", 0.1f}},
  };
  Material m;
  auto it = kNamed.find(name);
  if (it != kNamed.end()) {
    m.ramp = Pal().Make(it->second.first);
    m.bumps = it->second.second;
  } else if (name.find('.') != std::string::npos) {
    std::string list = name;
    for (char& ch : list)
      if (ch == '+') ch = ' ';
    m.ramp = Pal().Make(list);
  } else {
    throw SourceError("no colour " + DoubleQuotedBytes(name));
  }
  if (name == "steel" || name == "gold" || name == "iron" || name == "bronze") m.shine = 0.9f;
  if (name.rfind("glow-", 0) == 0 || name == "fire") m.glow = true;
  return m;
}

int AddColour(Model& m, const std::string& name, float bumps) {
  Material mat = Colour(name);
  if (bumps > 0) mat.bumps = bumps;
  return m.AddMaterial(mat);
}

std::vector<uint32_t> KeyColours(const std::string& key, const std::string& list) {
  std::vector<uint32_t> colours;
  for (size_t start = 0; start <= list.size();) {
    const size_t comma = std::min(list.find(',', start), list.size());
    unsigned long long rgb = 0;
    if (comma - start != 6 || !ReadHexNumber(std::string_view(list).substr(start, 6), &rgb))
      throw SourceError(key + "= is colours RRGGBB joined by ',', not " + DoubleQuotedBytes(list));
    colours.push_back(0xFF000000u | static_cast<uint32_t>(rgb));
    start = comma + 1;
  }
  return colours;
}

uint32_t OneColour(const std::string& name) {
  if (name.rfind("0x", 0) == 0) {
    unsigned long long rgb = 0;
    if (name.size() != 8 || !ReadHexNumber(std::string_view(name).substr(2), &rgb))
      throw SourceError("colour " + DoubleQuotedBytes(name) + " is not 0xRRGGBB");
    return 0xFF000000u | static_cast<uint32_t>(rgb);
  }
  return Pal().Colour(name);
}

void Slab(Model& m, Vec3 centre, Vec3 a, Vec3 b, float thickness, int material) {
  Solid s;
  s.centre = centre;
  s.ax = a;
  s.ay = b;
  s.az = Normalise(Cross(a, b)) * thickness;
  s.material = material;
  m.solids.push_back(s);
}

void Wing(Model& m, Vec3 root, Vec3 span, Vec3 sweep, int membrane, int bone) {
  const Vec3 elbow = root + span * 0.45f + sweep * 0.1f;
  const Vec3 tips[3] = {root + span, root + span * 0.8f + sweep * 0.55f, root + span * 0.45f + sweep * 0.95f};
  const Vec3 body = root + sweep * 0.8f - span * 0.05f;
  m.Tri(root, elbow, tips[0], membrane);
  Vec3 prev = tips[0];
  for (int i = 1; i < 3; ++i) {
    m.Tri(elbow, prev, tips[i], membrane);
    // The scallop: the edge between two fingers sags towards the elbow.
    const Vec3 mid = (prev + tips[i]) * 0.5f + (elbow - (prev + tips[i]) * 0.5f) * 0.3f;
    (void)mid;
    prev = tips[i];
  }
  m.Tri(elbow, prev, body, membrane);
  m.Tri(root, elbow, body, membrane);
  m.Line(root, elbow, bone, 1.0f);
  for (const Vec3& t : tips) m.Line(elbow, t, bone, 1.0f);
}

void Chain(Model& m, const std::vector<Vec3>& points, float r0, float r1, int material) {
  const size_t n = points.size();
  for (size_t i = 0; i < n; ++i) {
    const float t = n > 1 ? static_cast<float>(i) / (n - 1) : 0.0f;
    const float r = r0 + (r1 - r0) * t;
    m.Ball(points[i], r, r, r, material);
    if (i + 1 < n) m.Bone(points[i], points[i + 1], r * 0.92f, material);
  }
}
