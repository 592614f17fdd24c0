#include "combat/actions/summoned_elementals.h"

#include <cstdio>
#include <cstring>

#include "combat/actions/casting_checks.h"
#include "engine/random.h"
#include "map/fighter_tests.h"
#include "map/map_record.h"
#include "map/square_grids.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/feat_ids.h"
#include "rules/positions.h"
#include "rules/recompute_creature.h"
#include "rules/spell_ids.h"
#include "state/current_cast.h"
#include "state/map_view_state.h"
#include "rules/experience.h"

namespace {

enum Element { kFire, kWater, kEarth, kAir };

struct ElementalKind {
  const char* text;
  int32_t kind;
  int32_t subtype;
  int32_t speed, sight;
  int32_t figure, figureWord;
  int32_t strength, dexterity, constitution;
  int32_t chargePercent;
  int32_t naturalArmour;
  int feats[7];  // one more for each tier, 1 to 7
};

constexpr int kImprovedNaturalArmour = kFeatImprovedNaturalArmor;
const ElementalKind kKinds[4] = {
    {"This creature is a walking mass of fire. The shape is roughly humanoid.", 32, 12, 40, 25, 194, 4, 7, 12, 8,
     50, 3, {323, 63, 155, 7, 247, kImprovedNaturalArmour, kImprovedNaturalArmour}},
    {"This creature is a whirlpool of stormy water. The centre looks vaguely humanoid.", 88, 24, 20, 15, 206, 1, 12,
     8, 11, 25, 6, {16, 63, 155, 0, 247, 109, 7}},
    {"The creature's arms are like two clubs made of jagged stone. The head and legs, made of earth and rock, are "
     "without feature.",
     28, 8, 15, 15, 188, 1, 15, 6, 12, 75, 7, {0, 16, 63, 155, 109, 201, 7}},
    {"This creature is a mass of fast-moving air currents. Dark twirling vapors suggest the eyes and mouth.", 1, 1, 80,
     30, 164, 1, 8, 16, 8, 30, 6, {323, 14, 322, 15, 63, 109, 7}},
};

constexpr int32_t kTypeOutsiderElemental = 7;
constexpr int32_t kSubtypeElemental = 11;
constexpr int32_t kSlam = 6;
constexpr int32_t kBludgeoning = 1;
constexpr int kMagicAreaFire = 6;
// Protection codes every elemental is immune to, and the kinds' own.
constexpr int kCommonImmunities[] = {66, 44, 25, 27, 26, 49};

void Set(StatPair& pair, int32_t value) { pair = {value, value}; }

bool IsOdd(const StatPair& p) { return p.base % 2 != 0; }

// One point more, and the current value with it.
void Raise(StatPair& p) { Set(p, p.base + 1); }

// Where one ability raise goes: the first odd one of the kind's order, else
// the kind's fallback.
void RaiseAbility(CreatureRecord& c, Element e, bool last) {
  StatPair& str = c.strength;
  StatPair& dex = c.dexterity;
  StatPair& con = c.constitution;
  switch (e) {
    case kFire:
      Raise(IsOdd(con) ? con : IsOdd(str) ? str : dex);
      return;
    case kWater:
      Raise(!last || IsOdd(str) ? str : IsOdd(con) ? con : IsOdd(dex) ? dex : str);
      return;
    case kEarth:
      Raise(!last || IsOdd(str) ? str : IsOdd(con) ? con : IsOdd(dex) ? dex : con);
      return;
    case kAir:
      Raise(!last || IsOdd(dex) ? dex : IsOdd(con) ? con : IsOdd(str) ? str : dex);
      return;
  }
}

void SetProtection(CreatureRecord& c, int code, int32_t value) {
  const int category = ImmunityCategoryOfCode(code);
  if (category >= 0) c.protections[kProtFirstImmunity + category].base = value;
}

int32_t RollAbility(int32_t base) { return base + static_cast<int32_t>(RandomUpTo(4)); }

}  // namespace

void CreateSummonedElemental(int record, int spell) {
  if (!IsValidCreature(record)) return;
  if (spell < kSpellSummonFireElemental || spell > kSpellSummonAirElemental) {
    RecomputeCreature(record, 0);
    return;
  }
  const Element element = static_cast<Element>(spell - kSpellSummonFireElemental);
  const ElementalKind& k = kKinds[element];
  const int summoner = SpellCaster;
  const int32_t L = CurrentCasterLevel();
  CreatureRecord& c = Creatures[record];
  std::memset(&c, 0, sizeof c);
  std::snprintf(c.name, sizeof c.name, "Elemental");
  std::snprintf(c.description, sizeof c.description, "%s", k.text);
  c.kind = k.kind;
  c.type = kTypeOutsiderElemental;
  c.subtype[0] = k.subtype;
  c.subtype[1] = kSubtypeElemental;
  c.creatureClass = kClassElemental;
  c.gender = 1;
  Set(c.size, 3);
  c.alignment = 5;
  Set(c.speed, k.speed);
  c.sight = k.sight;
  c.figure = k.figure;
  c.displayWords[kDisplayFigureSize] = k.figureWord;
  Set(c.strength, RollAbility(k.strength));
  Set(c.dexterity, RollAbility(k.dexterity));
  Set(c.constitution, RollAbility(k.constitution));
  Set(c.intelligence, RollAbility(2));
  Set(c.wisdom, RollAbility(9));
  Set(c.charisma, RollAbility(9));
  c.behaviour[kBehaviourCharge] = k.chargePercent;

  // The summoner's square and map, then the square aimed at.
  int32_t x = 0, y = 0;
  if (IsValidCreature(summoner)) {
    c.map = Creatures[summoner].map;
    x = Creatures[summoner].squareX;
    y = Creatures[summoner].squareY;
  }
  if (MapCursorX >= 0 && MapCursorX < kMapSide && MapCursorY >= 0 && MapCursorY < kMapSide) {
    x = MapCursorX;
    y = MapCursorY;
  }
  c.squareX = c.nextX = x;
  c.squareY = c.nextY = y;
  c.pixelX = x * kSquarePixels;
  c.pixelY = y * kSquarePixels;
  Set(c.figureSize[0], kSquarePixels);
  Set(c.figureSize[1], kSquarePixels);
  Set(c.footprintWidth, 1);
  Set(c.footprintHeight, 1);
  c.destinationX = c.destinationY = -1;
  for (auto& waypoint : c.patrol) waypoint[0] = waypoint[1] = -1;
  c.leader = -1;
  c.fighterSlot = -1;

  int32_t level = L;
  if (element == kFire && IsInMagicArea(record, kMagicAreaFire)) ++level;
  if (element == kWater && IsValidCreature(summoner) && HasCondition(summoner, kCondRain)) ++level;
  c.level = c.effectiveLevel = level;
  switch (element) {
    case kFire: case kAir:
      Set(c.fortitude, L / 3), Set(c.reflex, L / 2 + 2);
      break;
    case kWater: case kEarth:
      Set(c.fortitude, L / 2 + 2), Set(c.reflex, L / 3);
      break;
  }
  Set(c.willpower, L / 3);
  Set(c.baseAttack, L * 3 / 4);
  c.challengeRating = (L - 1) / 4 + 1;
  c.experience = static_cast<int32_t>(ExperienceForLevel(L));
  c.naturalAttacks[0] = {kSlam, L >= 10 ? 2 : 1, 20, kBludgeoning, 1, 8, 0, 0, 0};
  if (L >= 10) c.challengeRating += 2;
  c.allegiance = IsValidCreature(summoner) && Creatures[summoner].allegiance == kAllegianceEnemy ? kAllegianceEnemy
                                                                                                 : kAllegianceAlly;
  c.present = 1;

  if (IsValidCreature(summoner) && Creatures[summoner].feats[kFeatAugmentSummoning] != 0) {
    ++c.challengeRating;
    Set(c.strength, c.strength.base + 4);
    Set(c.constitution, c.constitution.base + 4);
  }
  const int raises = L / 4;
  for (int i = 0; i < raises; ++i) RaiseAbility(c, element, i == raises - 1);

  int32_t hitPoints = 0;
  for (int i = 0; i < L; ++i) {
    const int32_t roll = static_cast<int32_t>(RandomUpTo(7)) + 1 + AbilityModifier(c.constitution.base);
    hitPoints += roll < 1 ? 1 : roll;
  }
  c.baseHitPoints = c.maxHitPoints = c.hitPoints = hitPoints;

  const int tier = L / 3 + 1;
  for (int t = 0; t < tier && t < 7; ++t) c.feats[k.feats[t]] += 1;

  for (int code : kCommonImmunities) SetProtection(c, code, 1);
  if (element == kFire) {
    SetProtection(c, 2, 1);
    SetProtection(c, 3, 2);
    // Its own freedom of movement: fire is not held by webs and entangling ground.
    c.protections[ImmunityPair(kImmHampering)].base = 1;
  }
  if (element == kEarth) SetProtection(c, 41, 1);
  if (element == kAir) SetProtection(c, 56, 1);
  c.protections[kProtNaturalArmour].base = k.naturalArmour;

  if (IsValidCreature(summoner)) FaceTowardsSquare(record, Creatures[summoner].squareX, Creatures[summoner].squareY);
  RecomputeCreature(record, 0);
}
