// The figure painter: twelve frames of a creature, four facings (east, south,
// west, north) by three poses (standing, the two steps of the walk), frame =
// facing + 4 x pose, as the game's figure table reads them.
//
//   1-12  figure knight cloth=red          # a recipe, its words overridden
//   0-11  figure humanoid skin=orcskin ...  # or the builder's own words
//   0-8   figure dragon size=60 poses=0-8   # the first nine of the twelve
#include <algorithm>
#include <cmath>
#include <iterator>
#include <set>

#include "figure_kit.h"
#include "frame_map.h"
#include "figure_recipe.h"

namespace {

constexpr float kPi = 3.14159265f;
const char* const kBeasts[] = {"wolf", "rat", "bear", "tiger", "bull", "horse", "spider", "snake",
                               "centipede", "air", "water", "fire", "dragon"};

// The words the builders and the figure painter read: a word of any other
// name is a slip of the pen, refused rather than left unseen.
const std::set<std::string> kWords = {
    // people
    "height", "bulk", "hunch", "headsize", "skin", "head", "hair", "haircolour", "beard", "beardcolour", "helm",
    "helmcolour", "cloth", "shirt", "legs", "boots", "armour", "platecolour", "tabard", "emblem", "robe", "belt", "apron",
    "cloak", "wings", "wingbones", "tail", "right", "left", "shieldcolour", "orb", "arms", "lower", "tailcolour", "aura",
    "eyes", "gloves", "whipcolour",
    // beasts and the horseman
    "size", "hide", "belly", "mane", "stripes", "legsize", "hooves", "neckrise", "horns", "breath", "marks", "wing",
    "riderheight", "saddle",
    // the painters
    "poses", "dx", "dy", "shadow", "turn", "ground"};

// A colour word is a colour though the figure never reads it (a hair's
// colour under a helm): a misspelt one is refused, not left unseen.
void CheckColourWords(const Recipe& r) {
  static const char* const kColourWords[] = {
      "skin", "haircolour", "beardcolour", "helmcolour", "cloth", "shirt", "legs", "boots", "platecolour", "tabard",
      "apron", "belt", "cloak", "wings", "wingbones", "shieldcolour", "orb", "tailcolour", "gloves", "whipcolour",
      "hide", "belly", "mane", "hooves", "horns", "marks", "wing"};
  for (const char* key : kColourWords)
    if (r.Has(key)) (void)Colour(r.Get(key));
  for (const char* key : {"eyes", "emblem"})
    if (r.Has(key)) (void)OneColour(r.Get(key));
  if (r.Has("aura")) (void)KeyColours("aura", r.Get("aura"));
}

void Build(const std::string& builder, const Recipe& r, const Stance& st, Model& m);

}  // namespace

// The recipe of a line: the named recipe's words (with $key filled from the
// line), then the line's own words over them.
Recipe ExpandRecipe(const Paint& p, std::string* builder) {
  Recipe r;
  std::vector<std::string> words = p.args;
  std::string first = p.Arg(0);
  std::vector<std::string> base;
  if (p.recipes && p.recipes->count(first)) base = p.recipes->at(first);
  auto put = [&](const std::string& w) {
    const size_t eq = w.find('=');
    if (eq == std::string::npos) return;
    r.words[w.substr(0, eq)] = w.substr(eq + 1);
  };
  for (const auto& w : words) put(w);
  std::set<std::string> asked;  // the line's words the recipe takes by $word
  for (const std::string& w : base)
    if (w.find('$') != std::string::npos) asked.insert(w.substr(w.find('$') + 1));
  for (const auto& [key, value] : r.words)
    if (!kWords.count(key) && !asked.count(key)) p.Fail("no figure word " + DoubleQuotedBytes(key));
  if (p.asked)  // the recipe has judged every word of the line
    for (const auto& [key, value] : r.words) p.asked->insert(key);
  Recipe line = r;
  for (std::string w : base) {
    // $key takes the line's value of key.
    const size_t dollar = w.find('$');
    if (dollar != std::string::npos) {
      const std::string key = w.substr(dollar + 1);
      if (!line.Has(key)) p.Fail("the recipe " + DoubleQuotedBytes(first) + " needs " + ShownBytes(key) + "=");
      w = w.substr(0, dollar) + line.Get(key);
    }
    const size_t eq = w.find('=');
    if (eq == std::string::npos) {
      if (builder->empty()) *builder = w;
      continue;
    }
    if (!line.Has(w.substr(0, eq))) put(w);
  }
  if (base.empty()) *builder = first;
  if (builder->empty()) p.Fail("the recipe " + DoubleQuotedBytes(first) + " names no builder");
  try {
    CheckColourWords(r);
  } catch (const SourceError& e) {
    p.Fail(e.what());
  }
  return r;
}

void CheckFigureRecipe(const std::vector<std::string>& words, bool values) {
  std::string builder;
  Recipe r;
  for (size_t i = 1; i < words.size(); ++i) {
    const size_t eq = words[i].find('=');
    if (eq == std::string::npos) {
      if (!builder.empty())
        throw SourceError("a recipe's words after its builder are key=value, not " + DoubleQuotedBytes(words[i]));
      builder = words[i];
      continue;
    }
    const std::string key = words[i].substr(0, eq);
    if (!kWords.count(key)) throw SourceError("no figure word " + DoubleQuotedBytes(key));
    if (words[i].find('$') == std::string::npos) r.words[key] = words[i].substr(eq + 1);
  }
  if (builder.empty()) throw SourceError("the recipe " + DoubleQuotedBytes(words[0]) + " names no builder");
  if (!values) {
    if (builder != "humanoid" && builder != "horseman" && std::find(std::begin(kBeasts), std::end(kBeasts), builder) == std::end(kBeasts))
      throw SourceError("no builder " + DoubleQuotedBytes(builder));
    return;
  }
  CheckColourWords(r);
  Model model;
  Build(builder, r, Stance{}, model);  // its builder, and every value of its own the figure reads
}

namespace {

void Build(const std::string& builder, const Recipe& r, const Stance& st, Model& m) {
  if (builder == "humanoid") {
    BuildHumanoid(r, st, m);
    return;
  }
  for (const char* b : kBeasts)
    if (builder == b) {
      BuildBeast(builder, r, st, m);
      return;
    }
  if (builder == "horseman") {
    BuildBeast("horse", r, st, m);
    Model rider;
    Recipe rr = r;
    rr.words["lower"] = "serpent";  // legs hidden in the saddle
    rr.words["tailcolour"] = r.Get("legs", "brown");
    rr.words["height"] = std::to_string(r.Num("riderheight", 24.0f));
    BuildHumanoid(rr, Stance{}, rider);
    // Only the rider's upper body: drop everything below the saddle.
    Model top;
    top.materials = rider.materials;
    for (const Solid& s : rider.solids)
      if (s.centre.z > 8.0f) top.solids.push_back(s);
    top.sticks = rider.sticks;
    top.marks = rider.marks;
    top.Move({-1.0f, 0, r.Num("saddle", 14.0f)});
    m.Append(top);
    return;
  }
  throw SourceError("no builder " + DoubleQuotedBytes(builder));
}

}  // namespace

void AddFigurePainters(PainterMap& m) {
  m["figure"] = [](const Paint& p) {
    std::string builder;
    const Recipe r = ExpandRecipe(p, &builder);
    int pose0 = 0, pose1 = p.Count() - 1;
    const std::string poses = p.Opt("poses");
    if (!poses.empty()) {
      // "3" or "3-11", read whole.
      const size_t dash = poses.find('-', 1);
      long long a = 0, b = 0;
      if (!ReadWholeNumber(poses.substr(0, dash), 0, 11, &a) ||
          (dash != std::string::npos && !ReadWholeNumber(poses.substr(dash + 1), 0, 11, &b)))
        p.Fail("poses= is a pose or a range of poses from 0 to 11, not " + DoubleQuotedBytes(poses));
      pose0 = static_cast<int>(a);
      pose1 = dash == std::string::npos ? pose0 : static_cast<int>(b);
    }
    if ((poses.empty() && p.Count() != 12) || pose1 - pose0 + 1 != p.Count() || pose0 < 0 || pose1 > 11)
      p.Fail("a figure's line gives its twelve frames, or as many as poses= says");
    for (int pose = pose0; pose <= pose1; ++pose) {
      const int facing = pose % 4, step = pose / 4;
      Model model;
      try {
        Build(builder, r, Stance{step == 0 ? 0.0f : step == 1 ? 1.0f : -1.0f}, model);
      } catch (const SourceError& e) {
        p.Fail(e.what());
      }
      static const float kTurn[4] = {0.0f, kPi / 2, kPi, -kPi / 2};
      model.Turn(kTurn[facing] + r.Num("turn", 0.0f) * kPi / 180.0f);
      Layer l(p.W(), p.H());
      View v;
      v.originX = p.W() / 2.0f + r.Num("dx", 0.0f);
      v.originY = p.H() - 2.5f + r.Num("dy", 0.0f);
      Render(model, v, l);
      const float k = p.W() / 24.0f * r.Num("shadow", 1.0f);
      if (k > 0) GroundShadow(l, v.originX + 1.5f * k, v.originY + 0.5f, 5.5f * k, 2.0f * k);
      p.Put(p.first + (pose - pose0), l);
    }
  };
}
