// The kit the figure builders share: the words of a figure's recipe, the
// named colours of clothing, skin and hide, and a few shapes beyond the
// model's own.
#pragma once
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "model.h"

// The words of one figure line, key=value.
struct Recipe {
  std::map<std::string, std::string> words;
  std::string Get(const std::string& key, const std::string& def = "") const {
    auto it = words.find(key);
    return it == words.end() ? def : it->second;
  }
  float Num(const std::string& key, float def) const;
  // The word of key=, one of `values` (the first when not given); throws
  // SourceError for any other.
  std::string Choice(const std::string& key, std::initializer_list<const char*> values) const;
  bool Has(const std::string& key) const { return words.count(key) > 0; }
};

// A material from a colour name: red, orange, yellow, green, cyan, blue,
// purple, white, black, brown, grey, steel, gold, leather, bone, skin, ...
// or palette colours joined by '+' (red.1+red.2+red.3). Throws SourceError
// for an unknown name.
Material Colour(const std::string& name);
int AddColour(Model& m, const std::string& name, float bumps = 0.0f);
// One colour: a palette name (red.3) or 0xRRGGBB (the keys the game cycles).
uint32_t OneColour(const std::string& name);
// The colours of key=RRGGBB,RRGGBB,... (the keys the game cycles), each six
// hexadecimal digits read whole; throws SourceError naming key= for any
// other list.
std::vector<uint32_t> KeyColours(const std::string& key, const std::string& list);

// A flat solid: an ellipsoid whose third axis is thin, spanned by two axes.
void Slab(Model& m, Vec3 centre, Vec3 a, Vec3 b, float thickness, int material);
// A bat's wing: a membrane from the root (at the shoulder) out along `span`
// with three fingers, the trailing edge scalloped between them; `sweep` the
// direction the membrane hangs to (down and back).
void Wing(Model& m, Vec3 root, Vec3 span, Vec3 sweep, int membrane, int bone);
// A chain of balls along points, the radius going from r0 to r1.
void Chain(Model& m, const std::vector<Vec3>& points, float r0, float r1, int material);

// How a figure stands: facing +x, its feet on the ground at the origin; step
// is 0 standing, +1 and -1 the two steps of the walk.
struct Stance {
  float step = 0.0f;
};

// Builders: each fills the model for a stance and says how tall it is.
void BuildHumanoid(const Recipe& r, const Stance& st, Model& m);
void BuildBeast(const std::string& kind, const Recipe& r, const Stance& st, Model& m);
