// Things standing on squares, built as solids and lit like the figures:
// furniture, barrels, chests, braziers, stairs, fences, and the great trees,
// boulders and statues of two by two squares.
#include <algorithm>
#include <cmath>

#include "canvas.h"
#include "frame_map.h"
#include "model.h"
#include "tile_fields.h"

namespace {

constexpr float kPi = 3.14159265f;

Material M(const char* ramp, float bumps = 0.0f, float shine = 0.0f) {
  Material m;
  m.ramp = Pal().Make(ramp);
  m.bumps = bumps;
  m.shine = shine;
  return m;
}

const char* kWood = "ink.0 brown.0 brown.1 brown.2 brown.3 brown.4";
const char* kDarkWood = "ink.0 brown.0 brown.1 brown.2 brown.3";
const char* kIron = "ink.0 grey.0 grey.1 grey.2 grey.3 grey.4";
const char* kStone = "grey.0 grey.1 stone.0 stone.1 stone.2 stone.3";
const char* kGold = "brown.2 brown.3 brown.4 fire.1 fire.2 skin.2";
const char* kLeaf = "green.0 green.1 green.2 green.3 green.4 green.5";
const char* kPine = "green.0 green.1 green.2 teal.1 green.3 green.4";

// A canopy of leafy balls round a centre.
void Canopy(Model& m, Vec3 c, float r, int leaf, uint32_t seed, int balls) {
  m.Ball(c, r, r, r * 0.85f, leaf);
  for (int i = 0; i < balls; ++i) {
    const float a = i * 2.4f + Rand01(seed, i) * 0.8f, rr = r * (0.45f + 0.3f * Rand01(seed, i, 1));
    const float dist = r * (0.6f + 0.25f * Rand01(seed, i, 2));
    m.Ball(c + Vec3{std::cos(a) * dist, std::sin(a) * dist * 0.8f, (Rand01(seed, i, 3) - 0.3f) * r * 0.7f}, rr, rr, rr * 0.9f, leaf);
  }
}

// The models of the objects, by name. `big` objects span two by two squares.
bool Build(const std::string& name, uint32_t seed, Model& m, bool* big) {
  *big = false;
  if (name == "oak" || name == "birch") {
    *big = true;
    const int bark = m.AddMaterial(M(name == "birch" ? "grey.2 stone.2 grey.4 grey.5" : kWood, 0.3f));
    Material leafM = M(name == "birch" ? "green.1 green.2 green.3 green.4 green.5" : kLeaf, 0.55f);
    leafM.dither = 0.6f;
    const int leaf = m.AddMaterial(leafM);
    m.Bone({0, 0, 0}, {0, 0, 22}, 3.2f, bark, 2.2f);
    m.Bone({0, 0, 14}, {-7, 0, 24}, 1.5f, bark, 1.0f);
    m.Bone({0, 0, 16}, {7, 2, 26}, 1.5f, bark, 1.0f);
    m.Ball({0, 0, 0.5f}, 4.5f, 4.0f, 1.2f, bark);  // roots
    Canopy(m, {0, 0, 27}, 13.5f, leaf, seed, 9);
    return true;
  }
  if (name == "pine") {
    *big = true;
    const int bark = m.AddMaterial(M(kWood, 0.2f));
    Material needles = M(kPine, 0.45f);
    needles.dither = 0.6f;
    const int leaf = m.AddMaterial(needles);
    m.Bone({0, 0, 0}, {0, 0, 10}, 2.5f, bark, 2.0f);
    for (int tier = 0; tier < 4; ++tier) {
      const float z = 8 + tier * 8.5f, r = 14.0f - tier * 3.0f;
      m.Cone({0, 0, z}, {0, 0, z + 13}, r, leaf, 0.5f);
    }
    return true;
  }
  if (name == "deadtree") {
    *big = true;
    const int bark = m.AddMaterial(M("ink.0 grey.0 brown.0 brown.1 brown.2 stone.0", 0.3f));
    m.Bone({0, 0, 0}, {1, 0, 30}, 3.0f, bark, 1.4f);
    m.Ball({0, 0, 0.5f}, 4.5f, 4.0f, 1.2f, bark);
    m.Bone({0, 0, 16}, {-11, 2, 30}, 1.4f, bark, 0.6f);
    m.Bone({1, 0, 20}, {10, -3, 34}, 1.3f, bark, 0.6f);
    m.Bone({-6, 1, 23}, {-12, -2, 26}, 0.8f, bark, 0.5f);
    m.Bone({1, 0, 26}, {5, 4, 38}, 1.0f, bark, 0.5f);
    return true;
  }
  if (name == "boulder" || name == "rock") {
    *big = name == "boulder";
    const float k = *big ? 1.0f : 0.42f;
    const int st = m.AddMaterial(M(kStone, 0.35f));
    const int moss = m.AddMaterial(M("green.1 green.2 green.3 green.4", 0.4f));
    m.Ball({0, 0, 8 * k}, 15 * k, 12 * k, 10 * k, st);
    m.Ball({-9 * k, 4 * k, 5 * k}, 8 * k, 7 * k, 6 * k, st);
    m.Ball({10 * k, 3 * k, 4 * k}, 7 * k, 6 * k, 5 * k, st);
    if (*big) m.Ball({-3, -2, 16}, 7, 6, 2.2f, moss);
    return true;
  }
  if (name == "statue") {
    *big = true;
    const int st = m.AddMaterial(M("grey.1 grey.2 stone.1 stone.2 stone.3 grey.5", 0.15f));
    m.Box({0, 0, 3}, {11, 9, 3}, st);
    m.Box({0, 0, 7}, {8, 7, 2}, st);
    m.Bone({-2.5f, 0, 9}, {-2.5f, 0, 19}, 2.2f, st);  // legs
    m.Bone({2.5f, 0, 9}, {2.5f, 0, 19}, 2.2f, st);
    m.Ball({0, 0, 25}, 5, 3.5f, 7, st);                // body
    m.Ball({0, 0, 35}, 3.2f, 3.2f, 3.6f, st);          // head
    m.Bone({-5, 0, 29}, {-7, 2, 21}, 1.7f, st);        // arm down
    m.Bone({5, 0, 29}, {8, -1, 37}, 1.7f, st);         // arm raised
    m.Line({8, -1, 36}, {9, -1, 46}, st, 2);           // a sword held up
    return true;
  }
  if (name == "cart-overturned") {
    // A cart thrown on its side toward the north: its bed stands on edge,
    // the underside to the viewer with the two axles; the wheels of the
    // upper side lie flat on top, one wheel broken off on the ground; a
    // crate, split planks and the slashed canvas spilled in front; the
    // shaft in the grass.
    *big = true;
    const int wood = m.AddMaterial(M(kWood, 0.15f));
    const int dark = m.AddMaterial(M(kDarkWood, 0.2f));
    const int iron = m.AddMaterial(M(kIron));
    const int canvas = m.AddMaterial(M("brown.3 brown.4 skin.0 skin.1", 0.4f));
    m.Box({0, -2, 9}, {15, 2, 9}, wood);                       // the bed, on edge
    m.Box({0, -6, 17.5f}, {15, 3, 0.8f}, dark);                // its side board, now on top
    for (float z : {6.0f, 12.0f}) m.Line({-15, 0.1f, z}, {15, 0.1f, z}, dark);  // the planks of its floor
    for (float x : {-9.0f, 9.0f}) m.Line({x, 0.2f, 2}, {x, 0.2f, 17}, iron, 2);  // the axles
    // A wheel lying flat: its iron tyre, the spoked wood inside, the hub.
    auto wheel = [&](Vec3 at) {
      Solid w;
      w.shape = Shape::kCylinder;
      w.centre = at;
      w.ax = {5.5f, 0, 0};
      w.ay = {0, 5.5f, 0};
      w.az = {0, 0, 0.8f};
      w.material = iron;
      m.solids.push_back(w);
      m.Cylinder(at + Vec3{0, 0, 0.5f}, 4.2f, 0.5f, dark);
      for (int k = 0; k < 3; ++k) {
        const float a = k * kPi / 3;
        m.Line(at + Vec3{std::cos(a) * 4, std::sin(a) * 4, 1.1f}, at - Vec3{std::cos(a) * 4, std::sin(a) * 4, -1.1f}, wood);
      }
      m.Cylinder(at + Vec3{0, 0, 1.2f}, 1.2f, 0.4f, iron);
    };
    wheel({-9, -1, 19});  // the upper wheels, in the air
    wheel({9, -1, 19});
    wheel({13, 9, 0.8f});  // one broken off, lying in front
    m.Box({-9, 8, 2.5f}, {3, 2.5f, 2.5f}, wood, 0.4f);         // a crate thrown out
    m.Line({-2, 6, 0.6f}, {5, 10, 0.6f}, dark, 1);            // split planks
    m.Line({-5, 11, 0.6f}, {1, 12, 0.6f}, dark, 1);
    m.Ball({1, 5, 1}, 7, 3.5f, 1.2f, canvas);                 // the slashed canvas
    m.Line({15, 3, 1}, {25, 8, 1}, wood, 2);                  // the shaft
    return true;
  }
  if (name == "wagon") {
    // An ale wagon standing on three wheels, its shaft to the west: the bed
    // with its boards, two casks left on it and a third tipped over, the
    // fourth wheel broken and lying flat by its eastern end.
    *big = true;
    const int wood = m.AddMaterial(M(kWood, 0.15f));
    const int dark = m.AddMaterial(M(kDarkWood, 0.2f));
    const int iron = m.AddMaterial(M(kIron));
    const int stone = m.AddMaterial(M(kStone, 0.3f));
    constexpr float y = -10;  // the bed's middle, set back so the near wheels stand on the squares
    auto wheel = [&](Vec3 at, bool flat) {  // on edge facing the viewer, or lying flat
      const float r = flat ? 4.0f : 5.5f;
      Solid w;
      w.shape = Shape::kCylinder;
      w.centre = at;
      w.ax = {r, 0, 0};
      w.ay = flat ? Vec3{0, r, 0} : Vec3{0, 0, r};
      w.az = flat ? Vec3{0, 0, 0.8f} : Vec3{0, 0.8f, 0};
      w.material = iron;
      m.solids.push_back(w);
      Solid inner = w;
      inner.ax = w.ax * 0.76f;
      inner.ay = w.ay * 0.76f;
      inner.centre = at + (flat ? Vec3{0, 0, 0.5f} : Vec3{0, 0.5f, 0});
      inner.material = dark;
      m.solids.push_back(inner);
      for (int k = 0; k < 3; ++k) {
        const float c = std::cos(k * kPi / 3) * r * 0.72f, d = std::sin(k * kPi / 3) * r * 0.72f;
        const Vec3 spoke = flat ? Vec3{c, d, 0} : Vec3{c, 0, d};
        const Vec3 lift = flat ? Vec3{0, 0, 1.1f} : Vec3{0, 1.1f, 0};
        // The broken wheel has lost a spoke.
        if (!(flat && k == 1)) m.Line(at + lift + spoke, at + lift - spoke, wood);
      }
    };
    m.Box({0, y, 9}, {14, 7, 1.2f}, wood);             // the bed
    m.Box({0, y - 7, 12}, {14, 0.8f, 2.5f}, dark);     // its boards
    m.Box({0, y + 7, 12}, {14, 0.8f, 2.5f}, dark);
    m.Box({-14, y, 12}, {0.8f, 7, 2.5f}, dark);
    m.Box({14, y, 12}, {0.8f, 7, 2.5f}, dark);
    for (float x : {-9.0f, 9.0f}) m.Line({x, y - 8, 5.5f}, {x, y + 9, 5.5f}, iron, 2);  // the axles
    m.Box({9, y - 8, 3}, {2.5f, 2, 3}, stone);         // a stone under the bare corner
    wheel({-9, y - 8, 5.5f}, false);                    // the far wheel left
    wheel({-9, y + 8, 5.5f}, false);                    // the near wheels
    wheel({9, y + 8, 5.5f}, false);
    for (float x : {-7.0f, 0.0f}) {                    // the casks left
      m.Cylinder({x, y, 14.5f}, 3.2f, 4.2f, wood);
      m.Cylinder({x, y, 16.2f}, 3.4f, 0.4f, iron);
      m.Cylinder({x, y, 12.8f}, 3.4f, 0.4f, iron);
    }
    m.Box({8, y, 13}, {4, 2.8f, 2.8f}, wood);          // one tipped on its side
    wheel({14.5f, y + 11, 0.8f}, true);                   // the broken one, by the eastern end
    m.Line({-14, y + 2, 8}, {-23, y + 3, 4}, wood, 2); // the shaft
    m.Line({-14, y - 2, 8}, {-23, y - 1, 4}, wood, 2);
    return true;
  }
  if (name == "well") {
    *big = true;
    const int st = m.AddMaterial(M(kStone, 0.3f));
    const int wood = m.AddMaterial(M(kWood, 0.1f));
    const int roof = m.AddMaterial(M("red.0 red.1 red.2 brown.3 red.3", 0.2f));
    const int water = m.AddMaterial(M("blue.0 blue.1 blue.2"));
    m.Cylinder({0, 0, 5}, 11, 5, st);
    m.Cylinder({0, 0, 10.2f}, 8, 0.3f, water);
    m.Box({-10, 0, 17}, {1.2f, 1.2f, 9}, wood);
    m.Box({10, 0, 17}, {1.2f, 1.2f, 9}, wood);
    m.Box({0, 0, 27}, {14, 7, 1.5f}, roof);
    m.Cone({0, 0, 27}, {0, 0, 35}, 11, roof, 0.5f);
    m.Line({-9, 0, 21}, {9, 0, 21}, wood, 1);
    return true;
  }
  if (name == "tent") {
    *big = true;
    const int cloth = m.AddMaterial(M("brown.2 brown.3 brown.4 skin.0 skin.1", 0.1f));
    const int dark = m.AddMaterial(M("ink.0 brown.0 brown.1"));
    m.Cone({0, 0, 0}, {0, 0, 34}, 17, cloth, 0.05f);
    m.Box({0, 14, 7}, {3.5f, 2, 7}, dark);
    m.Line({0, 0, 33}, {0, 0, 40}, dark, 1);
    return true;
  }
  if (name == "altar") {
    *big = true;
    const int st = m.AddMaterial(M("grey.1 grey.2 stone.1 stone.2 stone.3 grey.5", 0.1f));
    const int cloth = m.AddMaterial(M("red.0 red.1 red.2 red.3"));
    const int gold = m.AddMaterial(M(kGold, 0, 0.8f));
    m.Box({0, 0, 2}, {19, 12, 2}, st);
    m.Box({0, 0, 9}, {15, 8, 5}, st);
    m.Box({0, 3, 11}, {15.5f, 5, 3.5f}, cloth);
    m.Box({0, 0, 16}, {2, 2, 2}, gold);
    m.Line({0, 0, 18}, {0, 0, 26}, gold, 1);
    m.Line({-3, 0, 23}, {3, 0, 23}, gold, 1);
    return true;
  }
  if (name == "fountain") {
    *big = true;
    const int st = m.AddMaterial(M(kStone, 0.2f));
    Material water = M("blue.2 blue.3 blue.4 blue.5 grey.5");
    const int wa = m.AddMaterial(water);
    m.Cylinder({0, 0, 3.5f}, 19, 3.5f, st);
    m.Cylinder({0, 0, 6.8f}, 16.5f, 0.4f, wa);
    m.Cylinder({0, 0, 13}, 2.5f, 7, st);
    m.Cylinder({0, 0, 20}, 7, 1.5f, st);
    m.Cone({0, 0, 21}, {0, 0, 28}, 3, wa, 0.3f);
    return true;
  }
  // One-square things.
  if (name == "barrel" || name == "barrels") {
    const int wood = m.AddMaterial(M(kWood, 0.15f));
    const int iron = m.AddMaterial(M(kIron));
    auto barrel = [&](Vec3 at, float r, float h) {
      m.Cylinder(at + Vec3{0, 0, h / 2}, r, h / 2, wood);
      m.Cylinder(at + Vec3{0, 0, h * 0.2f}, r + 0.3f, 0.6f, iron);
      m.Cylinder(at + Vec3{0, 0, h * 0.8f}, r + 0.3f, 0.6f, iron);
    };
    if (name == "barrel") barrel({0, 0, 0}, 6.5f, 15);
    else {
      barrel({-5, -3, 0}, 4.5f, 12);
      barrel({5, -2, 0}, 4.5f, 12);
      barrel({0, 5, 0}, 4.5f, 10);
    }
    return true;
  }
  if (name == "crate" || name == "crates") {
    const int wood = m.AddMaterial(M("ink.0 brown.1 brown.2 brown.3 brown.4 skin.0", 0.1f));
    const int edge = m.AddMaterial(M(kDarkWood));
    auto crate = [&](Vec3 at, float s) {
      m.Box(at + Vec3{0, 0, s}, {s, s, s}, wood);
      m.Box(at + Vec3{0, 0, s}, {s + 0.2f, s * 0.25f, s + 0.2f}, edge);
    };
    if (name == "crate") crate({0, 0, 0}, 7.5f);
    else {
      crate({-4, -4, 0}, 5.5f);
      crate({5, 4, 0}, 5);
      crate({-3, -3, 11}, 4);
    }
    return true;
  }
  if (name == "chest" || name == "chest-open") {
    const int wood = m.AddMaterial(M("ink.0 red.0 red.1 brown.2 red.2 brown.3", 0.1f));
    const int iron = m.AddMaterial(M(kGold, 0, 0.6f));
    m.Box({0, 0, 4.5f}, {9, 5.5f, 4.5f}, wood);
    if (name == "chest") {
      Solid lid;
      lid.shape = Shape::kCylinder;
      lid.centre = {0, 0, 9};
      lid.ax = {0, 5.5f, 0};
      lid.ay = {0, 0, 3.0f};
      lid.az = {9, 0, 0};
      lid.material = wood;
      m.solids.push_back(lid);
      m.Box({0, 5.6f, 6}, {1.2f, 0.4f, 1.5f}, iron);
    } else {
      const int gold = m.AddMaterial(M(kGold, 0.5f, 0.9f));
      m.Box({0, 0, 8.6f}, {8, 4.5f, 0.6f}, gold);
      m.Box({0, -6.5f, 14}, {9, 1, 6}, wood);
    }
    m.Box({-6, 0, 4.5f}, {0.7f, 5.7f, 4.7f}, iron);
    m.Box({6, 0, 4.5f}, {0.7f, 5.7f, 4.7f}, iron);
    return true;
  }
  if (name == "table") {
    const int wood = m.AddMaterial(M(kWood, 0.1f));
    m.Box({0, 0, 10}, {10.5f, 7, 1.2f}, wood);
    for (float sx : {-8.5f, 8.5f})
      for (float sy : {-5.0f, 5.0f}) m.Box({sx, sy, 4.5f}, {1, 1, 4.5f}, wood);
    const int cup = m.AddMaterial(M("grey.2 grey.3 grey.4 grey.5", 0, 0.5f));
    m.Cylinder({-3, -1, 12.5f}, 1.3f, 1.3f, cup);
    const int bread = m.AddMaterial(M("brown.2 brown.3 brown.4 skin.0"));
    m.Ball({4, 1, 12}, 2.5f, 2, 1.3f, bread);
    return true;
  }
  if (name == "chair") {
    const int wood = m.AddMaterial(M(kWood, 0.1f));
    m.Box({0, 0, 7}, {5, 5, 0.8f}, wood);
    for (float sx : {-4.0f, 4.0f})
      for (float sy : {-4.0f, 4.0f}) m.Box({sx, sy, 3.5f}, {0.8f, 0.8f, 3.5f}, wood);
    m.Box({0, -4.5f, 12}, {5, 0.8f, 5}, wood);
    return true;
  }
  if (name == "bed") {
    const int wood = m.AddMaterial(M(kWood, 0.1f));
    const int sheet = m.AddMaterial(M("stone.2 stone.3 skin.1 skin.2 grey.5"));
    const int blanket = m.AddMaterial(M("blue.0 blue.1 blue.2 blue.3", 0.15f));
    m.Box({0, 0, 4}, {7, 10.5f, 4}, wood);
    m.Box({0, 0, 8.5f}, {6.5f, 10, 1}, sheet);
    m.Ball({0, -7, 10}, 4.5f, 2.2f, 1.6f, sheet);
    m.Box({0, 3, 9.3f}, {6.8f, 7, 1.2f}, blanket);
    m.Box({0, -10.5f, 9}, {7, 0.8f, 9}, wood);
    return true;
  }
  if (name == "shelf") {
    const int wood = m.AddMaterial(M(kWood, 0.1f));
    m.Box({0, -5, 11}, {10, 3, 11}, wood);
    const char* books[4] = {"red.0 red.1 red.2 red.3", "blue.0 blue.1 blue.2 blue.3", "green.0 green.1 green.2 green.3",
                            "brown.1 brown.2 brown.3 brown.4"};
    int mats[4];
    for (int i = 0; i < 4; ++i) mats[i] = m.AddMaterial(M(books[i]));
    for (int row = 0; row < 3; ++row)
      for (int b = 0; b < 8; ++b) {
        const float h = 2.2f + Rand01(seed, row, b) * 1.2f;
        m.Box({-8.4f + b * 2.4f, -1.5f, 2.5f + row * 7 + h}, {1.0f, 0.6f, h}, mats[(b + row * 3) % 4]);
      }
    return true;
  }
  if (name == "anvil") {
    const int iron = m.AddMaterial(M(kIron, 0, 0.8f));
    const int wood = m.AddMaterial(M(kWood, 0.2f));
    m.Cylinder({0, 0, 3.5f}, 5, 3.5f, wood);
    m.Box({0, 0, 9}, {3, 2.5f, 2}, iron);
    m.Box({0, 0, 12}, {7, 3, 1.5f}, iron);
    m.Cone({7, 0, 12}, {12, 0, 12.5f}, 2, iron, 0.2f);
    return true;
  }
  if (name == "signpost") {
    const int wood = m.AddMaterial(M(kWood, 0.1f));
    m.Box({0, 0, 9}, {1, 1, 9}, wood);
    m.Box({3, 0.5f, 15}, {6, 0.6f, 2}, wood);
    m.Box({-3, 0.5f, 10}, {5, 0.6f, 1.8f}, wood);
    return true;
  }
  if (name == "hedge") {
    Material leaf = M(kLeaf, 0.6f);
    leaf.dither = 0.6f;
    const int l = m.AddMaterial(leaf);
    for (int i = 0; i < 4; ++i) m.Ball({-7.5f + i * 5, static_cast<float>(i % 2), 6.0f + (i % 2)}, 5.5f, 6, 6, l);
    return true;
  }
  if (name == "bush") {
    Material leaf = M(kLeaf, 0.6f);
    leaf.dither = 0.6f;
    const int l = m.AddMaterial(leaf);
    Canopy(m, {0, 0, 7}, 7.5f, l, seed, 5);
    return true;
  }
  if (name == "fence") {
    const int wood = m.AddMaterial(M(kWood, 0.1f));
    for (float x : {-9.0f, 0.0f, 9.0f}) m.Box({x, 0, 6}, {1.2f, 1.2f, 6}, wood);
    m.Box({0, 0.5f, 9}, {12, 0.6f, 1}, wood);
    m.Box({0, 0.5f, 4.5f}, {12, 0.6f, 1}, wood);
    return true;
  }
  if (name == "lowwall") {
    const int st = m.AddMaterial(M(kStone, 0.35f));
    for (int i = 0; i < 4; ++i) m.Box({-9 + i * 6.0f, 0, 3}, {3.2f, 4, 3}, st);
    for (int i = 0; i < 3; ++i) m.Box({-6 + i * 6.0f, 0, 8.5f}, {3.2f, 3.8f, 2.5f}, st);
    return true;
  }
  if (name == "rubble") {
    const int st = m.AddMaterial(M(kStone, 0.35f));
    for (int i = 0; i < 7; ++i) {
      const float x = (Rand01(seed, i) - 0.5f) * 16, y = (Rand01(seed, i, 1) - 0.5f) * 12;
      const float s = 2.0f + Rand01(seed, i, 2) * 3;
      m.Box({x, y, s * 0.7f}, {s, s * 0.8f, s * 0.7f}, st, Rand01(seed, i, 3) * 3);
    }
    m.Box({0, 0, 6}, {4, 3.5f, 3}, st, 0.5f);
    return true;
  }
  if (name == "stump") {
    const int wood = m.AddMaterial(M(kWood, 0.3f));
    m.Cylinder({0, 0, 4}, 5, 4, wood, 0.85f);
    m.Ball({0, 0, 0.5f}, 7, 6, 1.2f, wood);
    return true;
  }
  if (name == "campfire") {
    const int st = m.AddMaterial(M(kStone, 0.3f));
    const int wood = m.AddMaterial(M(kDarkWood, 0.2f));
    for (int i = 0; i < 8; ++i) {
      const float a = i * kPi / 4;
      m.Ball({std::cos(a) * 8, std::sin(a) * 7, 1.5f}, 2.6f, 2.2f, 2.0f, st);
    }
    m.Bone({-5, 3, 1.5f}, {4, -3, 3}, 1.3f, wood);
    m.Bone({5, 3, 1.5f}, {-4, -3, 3}, 1.3f, wood);
    return true;
  }
  if (name == "brazier" || name == "brazier-large") {
    const bool large = name == "brazier-large";
    const float k = large ? 1.35f : 1.0f;
    const int iron = m.AddMaterial(M(kIron, 0, 0.6f));
    const int coal = m.AddMaterial(M("red.0 red.1 red.2 fire.0"));
    for (int i = 0; i < 3; ++i) {
      const float a = i * 2 * kPi / 3 + 0.5f;
      m.Line({std::cos(a) * 5 * k, std::sin(a) * 4 * k, 0}, {std::cos(a) * 2.5f * k, std::sin(a) * 2 * k, 9 * k}, iron, 1);
    }
    m.Cylinder({0, 0, 10 * k}, 6 * k, 2 * k, iron, 1.3f);
    m.Cylinder({0, 0, 12.1f * k}, 6.5f * k, 0.3f, coal);
    return true;
  }
  if (name == "stairs-up") {
    const int st = m.AddMaterial(M(kStone, 0.15f));
    for (int i = 0; i < 4; ++i) {
      const float h = (4 - i) * 2.5f;
      m.Box({0, -9 + i * 5.5f, h / 2}, {10, 2.7f, h / 2}, st);
    }
    return true;
  }
  if (name == "pillar") {
    const int st = m.AddMaterial(M("grey.1 grey.2 stone.1 stone.2 stone.3 grey.5", 0.1f));
    m.Box({0, 0, 1.5f}, {7, 7, 1.5f}, st);
    m.Cylinder({0, 0, 12}, 5, 9, st);
    m.Box({0, 0, 21.5f}, {6.5f, 6.5f, 1.5f}, st);
    return true;
  }
  if (name == "sacks") {
    const int cloth = m.AddMaterial(M("brown.2 brown.3 brown.4 skin.0", 0.2f));
    m.Ball({-4, -2, 5}, 5, 4, 5.5f, cloth);
    m.Ball({5, 1, 4}, 4.5f, 4, 4.5f, cloth);
    m.Ball({0, 4, 3.5f}, 4, 3.5f, 3.5f, cloth);
    return true;
  }
  if (name == "skeleton-pile") {
    const int bone = m.AddMaterial(M("stone.1 stone.2 stone.3 skin.2"));
    m.Ball({-3, 0, 2.5f}, 3, 2.8f, 2.6f, bone);
    for (int i = 0; i < 5; ++i)
      m.Bone({(Rand01(seed, i) - 0.5f) * 14, (Rand01(seed, i, 1) - 0.5f) * 8, 1},
             {(Rand01(seed, i, 2) - 0.5f) * 14, (Rand01(seed, i, 3) - 0.5f) * 8, 1.5f}, 0.9f, bone);
    return true;
  }
  if (name == "cauldron") {
    const int iron = m.AddMaterial(M(kIron, 0, 0.4f));
    const int brew = m.AddMaterial(M("green.2 green.3 green.4 green.5"));
    m.Ball({0, 0, 6}, 7, 6.5f, 6, iron);
    m.Cylinder({0, 0, 10.5f}, 5.5f, 0.4f, brew);
    return true;
  }
  if (name == "well-small") {
    const int st = m.AddMaterial(M(kStone, 0.3f));
    const int water = m.AddMaterial(M("blue.0 blue.1 blue.2"));
    const int wood = m.AddMaterial(M(kWood, 0.1f));
    m.Cylinder({0, 0, 3.5f}, 8, 3.5f, st);
    m.Cylinder({0, 0, 7.2f}, 5.5f, 0.3f, water);
    m.Line({-7, 0, 7}, {-7, 0, 17}, wood, 1);
    m.Line({7, 0, 7}, {7, 0, 17}, wood, 1);
    m.Line({-8, 0, 17}, {8, 0, 17}, wood, 1);
    return true;
  }
  if (name == "altar-small") {
    const int st = m.AddMaterial(M("grey.1 grey.2 stone.1 stone.2 stone.3 grey.5", 0.1f));
    const int cloth = m.AddMaterial(M("purple.0 purple.1 purple.2 purple.3"));
    const int fire = m.AddMaterial(M("fire.0 fire.1 fire.2"));
    m.Box({0, 0, 5}, {8, 5, 5}, st);
    m.Box({0, 2, 7}, {8.3f, 3.2f, 3}, cloth);
    m.Cylinder({-5, -1, 11.5f}, 0.8f, 1.5f, st);
    m.Cylinder({5, -1, 11.5f}, 0.8f, 1.5f, st);
    m.Ball({-5, -1, 13.8f}, 0.7f, 0.7f, 1.0f, fire);
    m.Ball({5, -1, 13.8f}, 0.7f, 0.7f, 1.0f, fire);
    return true;
  }
  if (name == "goat") {
    // A white nanny goat seen from the side, head up towards the east: a
    // barrel of a body on four thin legs, a neck, a long head with a beard,
    // horns swept back and a cocked tail.
    const int coat = m.AddMaterial(M("stone.1 stone.2 stone.3 grey.4 grey.5", 0.35f));
    const int dark = m.AddMaterial(M("ink.0 grey.0 grey.1 brown.1"));
    const int horn = m.AddMaterial(M("ink.0 brown.0 brown.1 brown.2"));
    for (float x : {-3.5f, 3.0f})
      for (float y : {-1.5f, 1.5f}) {
        m.Bone({x, y, 5.5f}, {x + 0.3f, y, 1}, 0.9f, coat, 0.7f);
        m.Ball({x + 0.5f, y, 0.6f}, 0.9f, 0.7f, 0.6f, dark);  // hooves
      }
    m.Ball({0, 0, 7.5f}, 6.0f, 3.0f, 3.0f, coat);                // body
    m.Bone({4.0f, 0, 8.5f}, {6.0f, 0, 11.5f}, 1.6f, coat, 1.3f);  // neck
    m.Ball({7.0f, 0, 12.0f}, 2.2f, 1.5f, 1.7f, coat);            // head
    m.Bone({7.5f, 0, 11.5f}, {9.8f, 0, 10.2f}, 1.2f, coat, 0.8f);  // muzzle
    m.Bone({8.6f, 0, 9.4f}, {8.6f, 0, 7.8f}, 0.6f, coat, 0.3f);    // beard
    for (float y : {-1.0f, 1.0f}) {
      m.Bone({6.2f, y * 0.8f, 13.4f}, {4.4f, y * 1.2f, 15.0f}, 0.6f, horn, 0.3f);
      m.Bone({6.4f, y * 1.3f, 12.6f}, {5.6f, y * 2.8f, 12.0f}, 0.5f, coat, 0.3f);  // ears
      m.Dot({8.4f, y * 1.1f, 12.4f}, Pal().Colour("ink.0"));
    }
    m.Bone({-5.5f, 0, 9}, {-6.8f, 0, 11}, 0.8f, coat, 0.4f);  // tail
    return true;
  }
  if (name == "bars") {
    // Iron bars from wall to wall across the square, seen face-on and as
    // tall as the walls beside them: a stone sill, a rusted beam across the
    // top and two crossbars, the bars between.
    const int st = m.AddMaterial(M(kStone, 0.3f));
    const int iron = m.AddMaterial(M("ink.0 grey.0 grey.1 brown.1 grey.2", 0, 0.5f));
    m.Box({0, 0, 0.8f}, {12, 2.5f, 0.8f}, st);
    m.Box({0, 0, 20}, {12, 1.2f, 1.0f}, iron);
    for (float z : {7.5f, 14.0f}) m.Box({0, 0, z}, {12, 0.6f, 0.5f}, iron);
    for (int i = 0; i < 5; ++i) {
      const float x = -10.0f + i * 5.0f;
      m.Line({x, 0, 1.5f}, {x, 0, 19.5f}, iron, 1);
    }
    return true;
  }
  if (name == "throne") {
    const int gold = m.AddMaterial(M(kGold, 0.1f, 0.6f));
    const int cloth = m.AddMaterial(M("red.0 red.1 red.2 red.3"));
    m.Box({0, 0, 4}, {8, 6, 4}, gold);
    m.Box({0, 1, 8.6f}, {6.5f, 5, 0.7f}, cloth);
    m.Box({0, -5, 14}, {8, 1.2f, 10}, gold);
    m.Box({0, -3.6f, 14}, {5.5f, 0.3f, 7}, cloth);
    return true;
  }
  return false;
}

// A stair going down into the square, away from the viewer: the stone rim
// of the opening, five treads from the lit one at the near edge to the dark
// of the stairwell at the far one, the inner wall on the left in shade and
// the one on the right catching the light.
void StairsDown(Layer& l) {
  const auto c = [](const char* name) { return Pal().Colour(name); };
  const char* treads[5] = {"grey.1", "stone.0", "stone.1", "stone.2", "stone.3"};
  const char* edges[5] = {"ink.0", "grey.0", "grey.1", "stone.0", "stone.1"};
  for (int y = 1; y <= 22; ++y)
    for (int x = 0; x <= 23; ++x) {
      const bool grain = Hash(static_cast<uint32_t>(x), static_cast<uint32_t>(y), 73) % 7 == 0;
      uint32_t colour;
      if (x == 0 || x == 23 || y == 1 || y == 22) colour = kInk;
      else if (y <= 3) colour = c(y == 2 ? "stone.3" : "stone.2");  // the far rim, its top lit
      else if (x <= 2) colour = c(grain ? "stone.1" : "stone.2");   // the left rim
      else if (x >= 21) colour = c(grain ? "stone.0" : "stone.1");  // the right rim
      else if (y <= 6) colour = kInk;                                // the dark below
      else if (x == 3) colour = c("grey.0");                         // the left wall, in shade
      else if (x == 20) colour = c(y < 13 ? "grey.1" : "stone.0");   // the right wall, lit
      else {
        const int step = (y - 7) / 3, row = (y - 7) % 3;
        colour = c(row == 0 ? edges[step] : treads[step]);
        if (row != 0 && grain && step > 0) colour = c(edges[step]);
      }
      l.Put(x, y, colour);
    }
}

}  // namespace

void AddObjectPainters(PainterMap& m) {
  // object NAME: a thing on one square, or (large) a two-by-two thing cut
  // into its quarters: top-left, top-right, bottom-left, bottom-right.
  m["object"] = [](const Paint& p) {
    if (p.Arg(0) == "stairs-down") {
      if (p.Count() != 1) p.Fail("a one-square object takes one frame");
      Layer l(p.W(), p.H());
      StairsDown(l);
      p.Put(p.first, l);
      return;
    }
    Model model;
    bool big = false;
    if (!Build(p.Arg(0), p.Seed(p.first), model, &big)) p.Fail("no object " + DoubleQuotedBytes(p.Arg(0)));
    const float turn = p.OptFloat("turn", 0.0f) * kPi / 180.0f;
    if (turn != 0) model.Turn(turn);
    if (!big) {
      if (p.Count() != 1) p.Fail("a one-square object takes one frame");
      Layer l(p.W(), p.H());
      View v;
      v.originX = p.W() / 2.0f;
      v.originY = p.H() * 0.72f;
      Render(model, v, l);
      if (p.Choice("shadow", {"yes", "no"}) == "yes") GroundShadow(l, v.originX + 2, v.originY + 1, 9, 4);
      p.Put(p.first, l);
      return;
    }
    if (p.Count() != 4) p.Fail("a two-by-two object takes four frames");
    // The 48x48 picture stands 3 left and 6 up of its squares; the thing's
    // foot is the middle of the lower two squares, so its crown rises over
    // the upper two.
    const int side = p.W() * 2;
    Layer l(side, side);
    View v;
    v.originX = 27;
    v.originY = 41;
    Render(model, v, l);
    if (p.Choice("shadow", {"yes", "no"}) == "yes") GroundShadow(l, v.originX + 4, v.originY + 1, 17, 6);
    p.PutTiled(l, 2);
  };
}
