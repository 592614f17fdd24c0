#include "creatures/create_creature.h"

#include <cstring>
#include <initializer_list>

#include "creatures/control_tendencies.h"
#include "creatures/creature_abilities.h"
#include "creatures/creature_equipment.h"
#include "creatures/creature_feats.h"
#include "creatures/creature_kinds.h"
#include "creatures/creature_treasure.h"
#include "creatures/unheld_item_rows.h"
#include "engine/random.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "rules/recompute_creature.h"
#include "rules/spell_slots.h"

namespace {

// What the steps of one creation share: the arguments as the steps read
// them, and the feats still to be chosen.
struct Creation {
  int creature;
  int kind;
  int extraLevels;
  uint8_t abilityBoost;
  uint8_t sideFlag;
  int metamagicChoice;
  int castingStyle;
  int defensiveStyle;
  int mainWeapon;
  int offWeapon;
  int rangedWeapon;
  int feats = 0;
  int preferred[3] = {};
};

int32_t Roll(int sides) { return static_cast<int32_t>(RandomUpTo(static_cast<uint32_t>(sides - 1))) + 1; }

bool IsItemOption(int option) { return option >= 1 && option <= kLastItemOption; }
bool IsWeaponOption(int option) { return option >= 1 && option <= kLastWeaponOption; }

bool IsCharacterClass(int creatureClass) {
  switch (creatureClass) {
    case kClassKnight: case kClassCleric: case kClassWizard: case kClassCommoner:
    case kClassWarrior: case kClassNoble:
      return true;
    default:
      return false;
  }
}

// ---- Clearing, gear permission, default weapons, position ----

void ClearRecord(CreatureRecord& c, int kind, int classCode) {
  std::memset(&c, 0, sizeof c);
  c.destinationX = -1;
  c.destinationY = -1;
  c.allegiance = 2;
  c.gender = 1;
  c.present = 1;
  c.creatureClass = classCode;
  c.kind = kind;
}

// The weapon a kind carries when it is given none.
void DrawDefaultMainWeapon(Creation& k) {
  switch (k.kind) {
    case kKindBalor: k.mainWeapon = kWeaponLongsword; break;
    case kKindGrimlock: k.mainWeapon = kWeaponBattleAxe; break;
    case kKindMedusa:
      k.mainWeapon = kWeaponDagger;
      if (k.rangedWeapon == 0) k.rangedWeapon = kWeaponShortbow;
      break;
    case kKindMinotaur: k.mainWeapon = kWeaponGreataxe; break;
    case kKindSalamander:
      k.mainWeapon = Roll(100) >= 45 ? kWeaponSpear : 0;
      break;
    default: break;
  }
}

void GiveDefaultWeapons(Creation& k, int classCode) {
  if (k.mainWeapon == 0) DrawDefaultMainWeapon(k);
  // A salamander of some standing carries the lighter spear, whether its
  // spear was given or drawn.
  if (k.kind == kKindSalamander && k.mainWeapon == kWeaponSpear &&
      (classCode == kClassCleric || classCode == kClassWizard || classCode == kClassLich || k.extraLevels > 5))
    k.mainWeapon = kWeaponShortspear;
}


void PlaceOnMap(CreatureRecord& c, int map, int x, int y) {
  c.map = map;
  c.squareX = x;
  c.squareY = y;
  c.pixelX = 24 * x;
  c.pixelY = 24 * y;
  c.nextX = x;
  c.nextY = y;
  // Waypoints 2 to 5 unset: a patrol that is given only its first waypoints
  // turns back to waypoint 1.
  for (int w = 1; w < 5; ++w) c.patrol[w][kWaypointX] = -1;
  c.facing = 1;
}

// ---- Level and challenge rating ----

int MonsterClassGrowth(int creatureClass, int levels) {
  switch (creatureClass) {
    case kClassConstruct: case kClassElemental: case kClassGiant: case kClassHumanoid: case kClassUndead:
      return levels / 4;
    case kClassAnimal: case kClassMagicalBeast: case kClassMonstrousHumanoid:
      return levels / 3;
    case kClassDragon: case kClassOutsider:
      return levels / 2;
    default:
      return 0;
  }
}

void SettleLevelAndRating(CreatureRecord& c, int kind, int extraLevels) {
  const KindLevels* row = FindKindLevels(kind);
  const int creatureClass = c.creatureClass;
  if (extraLevels == 0) {
    c.level = row ? row->defaultLevel : 0;
    c.challengeRating = row ? row->defaultRating : 0;
    return;
  }
  if (IsHumanoidListKind(kind) || kind == kKindVampire) {
    c.level = extraLevels;
    if (kind == kKindVampire) c.special[kSpecialCasterLevel] += extraLevels / 2;
    if (IsCharacterClass(creatureClass)) {
      c.challengeRating = extraLevels;
      if (creatureClass == kClassCleric || creatureClass == kClassWizard) c.casterLevelAdjust = extraLevels;
      if (kind == kKindVampire) {
        c.challengeRating += 2;
      } else if (creatureClass == kClassCommoner || creatureClass == kClassWarrior || creatureClass == kClassNoble) {
        c.challengeRating -= 1;
        if (c.challengeRating == 0) c.challengeRating = 1;
      }
    } else {
      c.challengeRating = kind == kKindVampire ? 3 : 1;
      if (extraLevels > 1) c.challengeRating += MonsterClassGrowth(creatureClass, extraLevels - 1);
    }
    return;
  }
  c.level = (row ? row->baseLevel : 0) + extraLevels;
  c.challengeRating = row ? row->startingRating : 0;
  const bool fullGrowth = ((creatureClass == kClassKnight || creatureClass == kClassWarrior) && kind != kKindLich) ||
                          (creatureClass == kClassLich && kind == kKindLich);
  if (fullGrowth) {
    c.challengeRating += extraLevels;
  } else if (IsCharacterClass(creatureClass) || creatureClass == kClassLich) {
    const int own = c.level - extraLevels;
    c.challengeRating += own >= extraLevels ? extraLevels / 2 : extraLevels - own + own / 2;
  } else {
    c.challengeRating += MonsterClassGrowth(creatureClass, extraLevels);
  }
}

// What a kind gains with its level: the dragon's age row, the golem's spell
// resistance, the lich's caster level, and the abilities that come to the
// vrock, the thri-kreen, the centipede and the mummy as they grow.
void ApplyLevelFeatures(int creature, const Creation& k) {
  CreatureRecord& c = Creatures[creature];
  if (IsDragonKind(k.kind)) ApplyDragonAgeRow(creature);
  switch (k.kind) {
    case kKindIronGolem: c.protections[kProtSpellResistance].base = c.level; break;
    case kKindLich: c.casterLevelAdjust = c.level; break;
    case kKindVrock: c.special[kSpecialCasterLevel] += k.extraLevels / 2; break;
    case kKindThriKreen:
      if (c.level > 5) {
        c.naturalAttacks[1].riderKind = 24;
        c.naturalAttacks[1].riderDice = 1;
        c.naturalAttacks[1].riderSides = 4;
        c.charisma.base += 4;
        c.challengeRating += 1;
      }
      break;
    case kKindCentipede:
      if (c.level > 4) {
        c.special[kSpecialSpellLike] = 64;
        c.special[kSpecialCasterLevel] = (k.extraLevels - 2) / 2 + 5;
        c.special[kSpecialUsesLeft] = c.special[kSpecialUsesPerDay] = 3;
        c.behaviour[kBehaviourSpellLike] = 33;
      }
      break;
    case kKindMummy:
      if (c.level > 11) {
        c.special[kSpecialSpellLike] = 41;
        c.special[kSpecialCasterLevel] = (k.extraLevels - 4) / 2 + 12;
        c.special[kSpecialUsesLeft] = c.special[kSpecialUsesPerDay] = 4;
        c.behaviour[kBehaviourSpellLike] = 25;
      }
      break;
    default: break;
  }
}

// ---- Abilities ----

void ChoosePreferredAbilities(Creation& k, int creatureClass) {
  auto set = [&k](int a, int b, int c) {
    k.preferred[0] = a;
    k.preferred[1] = b;
    k.preferred[2] = c;
  };
  if (creatureClass == kClassCleric) return set(kWisdom, kStrength, kConstitution);
  if (creatureClass == kClassLich) return set(kIntelligence, kDexterity, kCharisma);
  if (creatureClass == kClassWizard) return set(kIntelligence, kConstitution, kDexterity);
  switch (k.kind) {
    case kKindAirElemental: case kKindGiantSpider: case kKindFireElemental: case kKindThriKreen: case kKindWolf:
      return set(kDexterity, kConstitution, kStrength);
    case kKindMedusa: return set(kDexterity, kCharisma, kConstitution);
    case kKindGhoul: return set(kStrength, kCharisma, kDexterity);
    case kKindMummy: case kKindVampire: return set(kStrength, kDexterity, kCharisma);
    case kKindSkeleton: case kKindZombie: return set(kStrength, kDexterity, kWisdom);
    default:
      if (k.rangedWeapon != 0) return set(kStrength, kDexterity, kConstitution);
      return set(kStrength, kConstitution, kDexterity);
  }
}

// One +1 per four levels: all but the last to the first preferred ability,
// the last to the first preferred ability that is odd (a random one when
// all three are even).
void RaiseAbilitiesByLevel(const Creation& k) {
  const CreatureRecord& c = Creatures[k.creature];
  const int increases = c.level / 4;
  if (c.race == 8 || k.extraLevels < 4 || increases < 1) return;
  for (int i = 0; i < increases - 1; ++i) AddToAbility(k.creature, k.preferred[0], 1);
  for (int ability : k.preferred) {
    if (GetAbility(k.creature, ability) % 2 != 0) {
      AddToAbility(k.creature, ability, 1);
      return;
    }
  }
  AddToAbility(k.creature, static_cast<int>(RandomUpTo(5)), 1);
}

// ---- Class step: base attack bonus, saves, hit points, feats ----

enum AttackRate : int { kFullAttack, kThreeQuarterAttack, kHalfAttack };

struct ClassProgression {
  int creatureClass;
  AttackRate attack;
  bool goodFortitude, goodReflex, goodWillpower;
  int hitDie;
  // Feats to choose: level / 3 + featBase, + level / 2, + level / 5 where marked.
  int featBase;
  bool featHalfLevel;
  bool featFifthLevel;
};

// Monster classes.
constexpr ClassProgression kMonsterClasses[] = {
    {kClassAnimal, kThreeQuarterAttack, true, true, false, 8, 1, false, false},
    {kClassConstruct, kThreeQuarterAttack, false, false, false, 10, 1, false, false},
    {kClassDragon, kFullAttack, true, true, true, 12, 1, false, false},
    {kClassElemental, kThreeQuarterAttack, true, false, false, 8, 1, false, false},
    {kClassGiant, kThreeQuarterAttack, true, false, false, 8, 1, false, false},
    {kClassHumanoid, kThreeQuarterAttack, true, false, false, 8, 1, false, false},
    {kClassMagicalBeast, kFullAttack, true, true, false, 10, 1, false, false},
    {kClassOutsider, kFullAttack, true, true, true, 8, 1, false, false},
    {kClassUndead, kHalfAttack, false, false, true, 12, 1, false, false},
    {kClassMonstrousHumanoid, kFullAttack, false, true, true, 8, 1, false, false},
    {kClassLich, kHalfAttack, false, false, true, 12, 1, false, true},
};

// Character classes.
constexpr ClassProgression kCharacterClasses[] = {
    {kClassKnight, kFullAttack, true, false, false, 10, 2, true, false},
    {kClassCleric, kThreeQuarterAttack, true, false, true, 8, 1, false, false},
    {kClassWizard, kHalfAttack, false, false, true, 4, 1, false, true},
    {kClassCommoner, kHalfAttack, false, false, false, 4, 1, false, false},
    {kClassWarrior, kFullAttack, true, false, false, 8, 1, false, false},
    {kClassNoble, kThreeQuarterAttack, false, false, true, 8, 1, false, false},
};

// Racial hit dice that a kind outside the humanoid list takes before the
// levels of a character class: count, base attack bonus, good saves, die.
struct RacialDice {
  int kind;
  int dice;
  AttackRate attack;
  bool goodFortitude, goodReflex, goodWillpower;
  int hitDie;
  int fixedAttack;  // -1: by the rate; the golem's are fixed
  int fixedSave;
};

// clang-format off
constexpr RacialDice kRacialDice[] = {
    {kKindBabau, 7, kFullAttack, true, true, true, 8, -1, -1},
    {kKindBalor, 20, kFullAttack, true, true, true, 8, -1, -1},
    {kKindVrock, 10, kFullAttack, true, true, true, 8, -1, -1},
    {kKindSalamander, 9, kFullAttack, true, true, true, 8, -1, -1},
    {kKindGiantSpider, 4, kFullAttack, true, true, false, 10, -1, -1},
    {kKindGorgon, 8, kFullAttack, true, true, false, 10, -1, -1},
    {kKindThriKreen, 3, kFullAttack, true, true, false, 10, -1, -1},
    {kKindFireGiant, 15, kThreeQuarterAttack, true, false, false, 8, -1, -1},
    {kKindFrostGiant, 14, kThreeQuarterAttack, true, false, false, 8, -1, -1},
    {kKindHillGiant, 12, kThreeQuarterAttack, true, false, false, 8, -1, -1},
    {kKindTroll, 6, kThreeQuarterAttack, true, false, false, 8, -1, -1},
    {kKindGnoll, 2, kThreeQuarterAttack, true, false, false, 8, -1, -1},
    {kKindHorseman, 3, kThreeQuarterAttack, true, false, false, 8, -1, -1},
    {kKindLizardman, 2, kThreeQuarterAttack, false, true, false, 8, -1, -1},
    {kKindGrimlock, 2, kFullAttack, false, true, true, 8, -1, -1},
    {kKindMedusa, 6, kFullAttack, false, true, true, 8, -1, -1},
    {kKindMinotaur, 6, kFullAttack, false, true, true, 8, -1, -1},
    {kKindBrownBear, 6, kThreeQuarterAttack, true, true, false, 8, -1, -1},
    {kKindCentipede, 3, kThreeQuarterAttack, true, true, false, 8, -1, -1},
    {kKindSnake, 3, kThreeQuarterAttack, true, true, false, 8, -1, -1},
    {kKindTiger, 6, kThreeQuarterAttack, true, true, false, 8, -1, -1},
    {kKindWolf, 2, kThreeQuarterAttack, true, true, false, 8, -1, -1},
    {kKindBlackDragon, 16, kFullAttack, true, true, true, 12, -1, -1},
    {kKindBlueDragon, 18, kFullAttack, true, true, true, 12, -1, -1},
    {kKindGreenDragon, 19, kFullAttack, true, true, true, 12, -1, -1},
    {kKindRedDragon, 19, kFullAttack, true, true, true, 12, -1, -1},
    {kKindWhiteDragon, 15, kFullAttack, true, true, true, 12, -1, -1},
    {kKindIronGolem, 18, kFullAttack, true, true, true, 10, 13, 6},
    {kKindGhoul, 2, kHalfAttack, false, false, true, 12, -1, -1},
    {kKindSkeleton, 2, kHalfAttack, false, false, true, 12, -1, -1},
    {kKindMummy, 8, kHalfAttack, false, false, true, 12, -1, -1},
    {kKindZombie, 4, kHalfAttack, false, false, true, 12, -1, -1},
};
// clang-format on

int AttackBonus(AttackRate rate, int level) {
  switch (rate) {
    case kFullAttack: return level;
    case kThreeQuarterAttack: return level * 3 / 4;
    case kHalfAttack: return level / 2;
  }
  return 0;
}

int Save(bool good, int level) { return good ? level / 2 + 2 : level / 3; }

// Hit points of that many dice: each die + the Constitution modifier, at least 1.
int RollHitDice(int dice, int sides, int constitutionModifier) {
  int total = 0;
  for (int i = 0; i < dice; ++i) {
    const int die = Roll(sides) + constitutionModifier;
    total += die < 1 ? 1 : die;
  }
  return total;
}

template <typename Row, size_t N>
const Row* FindRow(const Row (&rows)[N], int key, int Row::*field) {
  for (const Row& row : rows)
    if (row.*field == key) return &row;
  return nullptr;
}

// Adds the class levels' base attack bonus, saves and hit dice; returns the
// feats they give to choose.
int AddClassLevels(CreatureRecord& c, const ClassProgression& p, int levels, bool fortitudeGood, bool reflexGood) {
  c.baseAttack.base += AttackBonus(p.attack, levels);
  c.fortitude.base += Save(fortitudeGood, levels);
  c.reflex.base += Save(reflexGood, levels);
  c.willpower.base += Save(p.goodWillpower, levels);
  c.baseHitPoints += RollHitDice(levels, p.hitDie, AbilityModifier(c.constitution.base));
  return levels / 3 + p.featBase + (p.featHalfLevel ? levels / 2 : 0) + (p.featFifthLevel ? levels / 5 : 0);
}

void AddRacialDice(CreatureRecord& c, int kind) {
  const RacialDice* r = FindRow(kRacialDice, kind, &RacialDice::kind);
  if (r == nullptr) return;
  c.baseAttack.base += r->fixedAttack >= 0 ? r->fixedAttack : AttackBonus(r->attack, r->dice);
  c.fortitude.base += r->fixedSave >= 0 ? r->fixedSave : Save(r->goodFortitude, r->dice);
  c.reflex.base += r->fixedSave >= 0 ? r->fixedSave : Save(r->goodReflex, r->dice);
  c.willpower.base += r->fixedSave >= 0 ? r->fixedSave : Save(r->goodWillpower, r->dice);
  c.baseHitPoints += RollHitDice(r->dice, r->hitDie, AbilityModifier(c.constitution.base));
}

// The spells a lich knows: a fixed list, longer above levels 12, 14 and 16.
constexpr int kLichSpells[] = {5, 7, 14, 23, 34, 35, 44, 46, 47, 57, 58, 60, 69, 70, 72};
constexpr int kLichSpellsAbove12[] = {79, 81, 84};
constexpr int kLichSpellsAbove14[] = {90, 92, 94};
constexpr int kLichSpellsAbove16[] = {95, 98, 99};

void GiveLichSpells(int creature) {
  CreatureRecord& c = Creatures[creature];
  c.effectiveLevel = c.level;
  SetSpellSlotsByLevel(c.level, creature, 1, 1);
  for (int spell : kLichSpells) c.knownSpells[spell] = 1;
  if (c.level > 12) for (int spell : kLichSpellsAbove12) c.knownSpells[spell] = 1;
  if (c.level > 14) for (int spell : kLichSpellsAbove14) c.knownSpells[spell] = 1;
  if (c.level > 16) for (int spell : kLichSpellsAbove16) c.knownSpells[spell] = 1;
}

void GiveCharacterCasterSpells(int creature, int classLevels, int extraLevels, bool arcane) {
  CreatureRecord& c = Creatures[creature];
  c.casterLevelAdjust = extraLevels;
  c.effectiveLevel = c.level;
  SetSpellSlotsByLevel(classLevels, creature, arcane ? 1 : 0, 1);
  GrantKnownSpellsByLevel(creature, arcane ? 1 : 0, extraLevels);
}

// Whether the class step has a table for the class: the character classes
// and the monster classes (Rogue, for one, has none).
bool HasClassTable(int creatureClass) {
  return IsCharacterClass(creatureClass) ||
         FindRow(kMonsterClasses, creatureClass, &ClassProgression::creatureClass) != nullptr;
}

void RunClassStep(Creation& k) {
  CreatureRecord& c = Creatures[k.creature];
  const int creatureClass = c.creatureClass;
  if (IsCharacterClass(creatureClass)) {
    const bool ownLevels = IsHumanoidListKind(k.kind) || k.kind == kKindVampire;
    const int classLevels = ownLevels ? c.level : k.extraLevels;
    if (!ownLevels) AddRacialDice(c, k.kind);
    const ClassProgression& p = *FindRow(kCharacterClasses, creatureClass, &ClassProgression::creatureClass);
    k.feats = AddClassLevels(c, p, classLevels, p.goodFortitude, p.goodReflex);
    if (creatureClass == kClassCleric) GiveCharacterCasterSpells(k.creature, classLevels, k.extraLevels, false);
    if (creatureClass == kClassWizard) GiveCharacterCasterSpells(k.creature, classLevels, k.extraLevels, true);
  } else if (const ClassProgression* p = FindRow(kMonsterClasses, creatureClass, &ClassProgression::creatureClass)) {
    // The air and fire elementals and the lizardman are quick rather than tough.
    const bool swapped = (creatureClass == kClassElemental &&
                          (k.kind == kKindAirElemental || k.kind == kKindFireElemental)) ||
                         (creatureClass == kClassHumanoid && k.kind == kKindLizardman);
    k.feats = AddClassLevels(c, *p, c.level, swapped ? !p->goodFortitude : p->goodFortitude,
                             swapped ? !p->goodReflex : p->goodReflex);
    if (creatureClass == kClassLich) GiveLichSpells(k.creature);
  }
  if (k.kind == kKindHuman) ++k.feats;
  if (k.kind == kKindVampire) c.baseHitPoints = RollHitDice(c.level, 12, AbilityModifier(c.constitution.base));
  c.maxHitPoints = c.baseHitPoints;
  c.hitPoints = c.baseHitPoints;
}

// ---- Fixed grants of feats and what they bring ----

// Grants the feat when a feat is left to choose; true when granted.
bool GrantFeat(Creation& k, int feat) {
  if (k.feats <= 0) return false;
  Creatures[k.creature].feats[feat] += 1;
  --k.feats;
  return true;
}

void GiveToughness(CreatureRecord& c) {
  c.feats[kFeatToughness] += 1;
  c.baseHitPoints += 3;
  c.maxHitPoints += 3;
  c.hitPoints += 3;
}

void ApplySpecialKinds(Creation& k) {
  CreatureRecord& c = Creatures[k.creature];
  if (k.kind == kKindSkeleton) {
    c.feats[kFeatImprovedInitiative] = 1;
    k.feats = 0;
  } else if (k.kind == kKindZombie) {
    GiveToughness(c);
    k.feats = 0;
  } else if (k.kind == kKindMul) {
    GiveToughness(c);
  }
  c.displayWords[kDisplaySideMark] = k.sideFlag == 1 ? 1 : 2;
  if (k.defensiveStyle == 0) k.defensiveStyle = 2;
  if (k.castingStyle == 0) k.castingStyle = 2;
  if (c.alignment == 9) c.displayWords[kDisplayEvilMark] = 1;
}

bool IsCaster(const CreatureRecord& c) { return c.spellsLeft[0] > 0; }

bool SpellLikeAimsAtArea(const CreatureRecord& c) {
  const int spell = c.special[kSpecialSpellLike] - 1;
  return spell >= 0 && spell < kSpellRows && SpellTable[spell].targeting == 2;
}

void GrantMetamagic(Creation& k) {
  switch (k.metamagicChoice) {
    case 1: GrantFeat(k, kFeatMetamagicMaximise); break;
    case 2: GrantFeat(k, kFeatMetamagicEmpower); break;
    case 3: GrantFeat(k, kFeatMetamagicWiden); break;
    case 4: GrantFeat(k, kFeatMetamagicHeighten); break;
    case 5: GrantFeat(k, kFeatMetamagicSilent); break;
    case 6: GrantFeat(k, kFeatMetamagicStill); break;
    case 7:
      for (int feat : {kFeatMetamagicEmpower, kFeatMetamagicMaximise, kFeatMetamagicWiden, kFeatMetamagicStill,
                       kFeatMetamagicSilent, kFeatMetamagicHeighten})
        GrantFeat(k, feat);
      break;
    case 8:
      GrantFeat(k, kFeatMetamagicEmpower);
      GrantFeat(k, kFeatMetamagicMaximise);
      break;
    default: break;
  }
}

void SetUpCaster(Creation& k) {
  CreatureRecord& c = Creatures[k.creature];
  if (!IsCaster(c)) return;
  GrantFeat(k, kFeatSuperiorConcentration);
  if (k.kind == kKindFireGiant || k.kind == kKindFrostGiant) {
    GrantFeat(k, kFeatSpellFocusEvocation);
    GrantFeat(k, kFeatGreaterSpellFocusEvocation);
  } else if (k.kind == kKindLich) {
    GrantFeat(k, kFeatSpellFocusNecromancy);
    GrantFeat(k, kFeatGreaterSpellFocusNecromancy);
  }
  int32_t* b = c.behaviour;
  const bool cleric = c.creatureClass == kClassCleric;
  b[kBehaviourCasting] = cleric ? 50 : 90;
  b[kBehaviourGrapple] = 0;
  b[kBehaviourGrapple2] = 0;
  b[kBehaviourDefensiveStyle] = k.defensiveStyle;
  b[kBehaviourCastingStyle] = k.castingStyle;
  if (cleric) {
    if (k.castingStyle == 1) b[kBehaviourCleric] = 45;
    if (k.castingStyle == 2) b[kBehaviourCleric] = 25;
    const int modifier = AbilityModifier(c.charisma.base);
    c.displayWords[kDisplayTurnUndeadUses] = modifier < 1 ? 1 : modifier + 1;
  }
  if (k.castingStyle == 1) b[kBehaviourSpellAttack] = cleric ? 45 : 60;
  if (k.castingStyle == 2) b[kBehaviourSpellAttack] = c.creatureClass == kClassLich ? 80 : 100;
  if (k.metamagicChoice != 0) {
    b[kBehaviourMetamagic] = 50;
    GrantMetamagic(k);
  }
}

// The elementals' slam grows with level; the dragons' body, figure and
// natural attacks follow their size.
void GrowElementalsAndDragons(const Creation& k) {
  CreatureRecord& c = Creatures[k.creature];
  switch (k.kind) {
    case kKindAirElemental: case kKindEarthElemental: case kKindFireElemental: case kKindWaterElemental:
      c.naturalAttacks[0].effectDice = c.level < 10 ? 1 : 2;
      if (c.level >= 10) c.challengeRating += 2;
      return;
    default: break;
  }
  if (!IsDragonKind(k.kind)) return;
  const bool huge = k.extraLevels >= 7;
  c.size.base = huge ? 5 : 4;
  if (huge) {
    c.displayWords[kDisplayFigureSize] = 8;
    switch (k.kind) {
      case kKindBlackDragon: c.figure = 213; break;
      case kKindBlueDragon: c.figure = 214; break;
      case kKindGreenDragon: c.figure = 215; break;
      case kKindRedDragon: c.figure = 217; break;
      case kKindWhiteDragon: c.figure = 216; break;
      default: break;
    }
  }
  const int squares = huge ? 3 : 2;
  c.footprintHeight.base = c.footprintWidth.base = squares;
  c.figureSize[0].base = c.figureSize[1].base = 24 * squares;
  // Bite, two claws, two wings and the tail slap: dice count and sides by size.
  const NaturalAttack large[4] = {{kAttackBite, 1, 20, kPiercing, 2, 6, 0, 0, 0},
                                  {kAttackClaw, 2, 20, kSlashing, 1, 8, 0, 0, 0},
                                  {kAttackWing, 2, 20, kBludgeoning, 1, 6, 0, 0, 0},
                                  {kAttackTailSlap, 1, 20, kBludgeoning, 1, 8, 0, 0, 0}};
  const NaturalAttack hugeAttacks[4] = {{kAttackBite, 1, 20, kPiercing, 2, 8, 0, 0, 0},
                                        {kAttackClaw, 2, 20, kSlashing, 2, 6, 0, 0, 0},
                                        {kAttackWing, 2, 20, kBludgeoning, 1, 8, 0, 0, 0},
                                        {kAttackTailSlap, 1, 20, kBludgeoning, 2, 6, 0, 0, 0}};
  for (int slot = 0; slot < 4; ++slot) c.naturalAttacks[slot] = huge ? hugeAttacks[slot] : large[slot];
}

bool IsLightOption(int option) {
  return IsItemOption(option) && CraftedWeapons[PreparedItemRow(option)].handling == 1;
}

void GrantWeaponFinesse(Creation& k) {
  const CreatureRecord& c = Creatures[k.creature];
  if (AbilityModifier(c.dexterity.base) <= AbilityModifier(c.strength.base)) return;
  const bool pureCaster = (c.creatureClass == kClassCleric || c.creatureClass == kClassWizard) && k.castingStyle == 2;
  if (pureCaster) return;
  const bool unarmed = k.mainWeapon == 0 && k.offWeapon == 0 && k.rangedWeapon == 0;
  const bool lightWeapon = IsLightOption(k.offWeapon) || IsLightOption(k.mainWeapon) ||
                           k.mainWeapon == kWeaponRapier || k.offWeapon == kWeaponRapier;
  if (unarmed || lightWeapon) GrantFeat(k, kFeatWeaponFinesse);
}

void GrantFightingFeats(Creation& k) {
  const CreatureRecord& c = Creatures[k.creature];
  if (IsWeaponOption(k.mainWeapon) && IsWeaponOption(k.offWeapon)) GrantFeat(k, kFeatTwoWeaponFighting);
  if (c.behaviour[kBehaviourGrapple] > 0) GrantFeat(k, kFeatImprovedGrapple);
  if (c.naturalAttacks[0].kind != 0 && c.naturalAttacks[1].kind != 0) GrantFeat(k, kFeatMultiattack);
  if (k.kind == kKindEarthElemental) GrantFeat(k, kFeatImprovedBullRush);
  if (k.kind == kKindGrimlock) GrantFeat(k, kFeatBlindFight);
  if ((k.castingStyle == 1 || SpellLikeAimsAtArea(c)) && c.feats[kFeatSuperiorConcentration] == 0)
    GrantFeat(k, kFeatSuperiorConcentration);
  GrantWeaponProficiency(k.mainWeapon, k.creature);
  GrantWeaponProficiency(k.offWeapon, k.creature);
  GrantWeaponProficiency(k.rangedWeapon, k.creature);
}

// ---- Tendencies ----

bool HoldsMetamagicForTactics(const CreatureRecord& c) {
  return c.feats[kFeatMetamagicEmpower] != 0 || c.feats[kFeatMetamagicMaximise] != 0 ||
         c.feats[kFeatMetamagicWiden] != 0 || c.feats[kFeatMetamagicHeighten] != 0;
}

int BullRushPercentage(const CreatureRecord& c) {
  const int size = c.size.base;
  const int strength = c.strength.base;
  if (c.feats[kFeatImprovedBullRush] != 0) return size < 4 ? 65 : 75;
  if (size < 3) return 0;
  if (strength >= 16) return size == 3 ? 35 : 50;
  if (strength >= 12) return size == 3 ? 25 : 40;
  return c.behaviour[kBehaviourBullRush];
}

void SetTendencies(const Creation& k) {
  CreatureRecord& c = Creatures[k.creature];
  int32_t* b = c.behaviour;
  if (b[kBehaviourMetamagic] == 0 && HoldsMetamagicForTactics(c)) b[kBehaviourMetamagic] = 20;
  if (c.feats[kFeatWhirlwindAttack] != 0) b[kBehaviourWhirlwind] = c.naturalAttacks[0].count < 3 ? 60 : 40;
  b[kBehaviourBullRush] = BullRushPercentage(c);
  if (c.feats[kFeatImprovedCounterspell] != 0) b[kBehaviourCounterspell] = 20;
  else if ((c.creatureClass == kClassCleric || c.creatureClass == kClassWizard) && c.level > 5)
    b[kBehaviourCounterspell] = 8;

  const bool caster = IsCaster(c);
  const int32_t innateLevel = c.special[kSpecialCasterLevel];
  int concentration = AbilityModifier(c.constitution.base);
  if (caster) concentration += c.casterLevelAdjust;
  else if (innateLevel > 0) concentration += innateLevel;
  if (c.feats[kFeatSuperiorConcentration] != 0) concentration += 4;
  if (concentration > 7 || (caster && k.defensiveStyle == 1)) b[kBehaviourDefensiveCasting] = 1;
  if (!caster && innateLevel > 0) {
    const bool area = SpellLikeAimsAtArea(c);
    b[kBehaviourDefensiveStyle] = area ? 1 : 2;
    b[kBehaviourCastingStyle] = area ? 1 : 2;
    if (area) b[kBehaviourDefensiveCasting] = 1;
  }
}

void SetRangedUse(int creature) {
  CreatureRecord& c = Creatures[creature];
  int32_t& rangedUse = c.behaviour[kBehaviourRangedUse];
  rangedUse = 0;
  const int innateSpell = c.special[kSpecialSpellLike] - 1;
  if (HighestUsableSpellLevel(-1, creature)) rangedUse = 15;
  else if (PrefersRangedAttack(creature)) rangedUse = 25;
  else if (innateSpell >= 0 && IsAiItemSpell(innateSpell)) rangedUse = innateSpell == 31 ? 20 : 10;
}

}  // namespace

bool IsKindWithoutEquipment(int kind) {
  switch (kind) {
    case kKindBrownBear: case kKindBlackDragon: case kKindGiantSpider: case kKindBlueDragon: case kKindCentipede:
    case kKindSnake: case kKindGorgon: case kKindGreenDragon: case kKindRedDragon: case kKindTiger:
    case kKindWhiteDragon: case kKindWolf:
      return true;
    default:
      return false;
  }
}

int CreateCreature(int map, int x, int y, int creature, int kind, int classCode, int extraLevels,
                   int abilityBoost, int sideFlag, int metamagicChoice, int castingStyle, int defensiveStyle,
                   int mainWeapon, int offWeapon, int rangedWeapon) {
  if (!IsValidCreature(creature)) return 0;
  Creation k{creature,
             kind,
             extraLevels > 0 ? extraLevels : 0,
             static_cast<uint8_t>(abilityBoost),
             static_cast<uint8_t>(sideFlag),
             metamagicChoice,
             castingStyle,
             defensiveStyle,
             IsItemOption(mainWeapon) ? mainWeapon : 0,
             IsItemOption(offWeapon) ? offWeapon : 0,
             IsItemOption(rangedWeapon) ? rangedWeapon : 0};
  CreatureRecord& c = Creatures[creature];
  // A class the class step has no table for would leave the creature without
  // hit dice: it is made of the kind's own class instead, as with class None.
  if (!HasClassTable(classCode)) classCode = kClassNone;

  const CreatureMaking making;
  // A creature still standing on a map under this id is gone for good: its
  // generated items go with it and their rows come back. Those of a record
  // off the map go with it too, and come back when a row is wanted.
  if (c.present == 1) ReleaseGeneratedItems(creature);
  else DropGeneratedItems(creature);
  ClearRecord(c, kind, classCode);
  if (IsKindWithoutEquipment(kind)) k.mainWeapon = k.offWeapon = k.rangedWeapon = 0;
  GiveDefaultWeapons(k, classCode);
  PlaceOnMap(c, map, x, y);
  const bool hasTemplate = ApplyKindTemplate(creature, kind, classCode, k.extraLevels) == 1;
  SettleLevelAndRating(c, kind, k.extraLevels);
  if (!hasTemplate) {
    RunClassStep(k);
    return 1;
  }
  ApplyLevelFeatures(creature, k);

  ChoosePreferredAbilities(k, c.creatureClass);
  if (k.abilityBoost == 1) {
    AddToAbility(creature, k.preferred[0], 4);
    AddToAbility(creature, k.preferred[1], 3);
    AddToAbility(creature, k.preferred[2], 2);
  }
  RaiseAbilitiesByLevel(k);
  RunClassStep(k);
  ApplySpecialKinds(k);
  SetUpCaster(k);
  GrowElementalsAndDragons(k);
  GrantWeaponFinesse(k);
  GrantFightingFeats(k);
  SpendFeatPicks(creature, k.feats, k.castingStyle, k.mainWeapon, k.offWeapon, k.rangedWeapon);
  k.feats = 0;
  SetTendencies(k);
  GiveCreatureEquipment(creature, k.extraLevels, k.metamagicChoice, k.castingStyle, k.defensiveStyle, k.mainWeapon,
                        k.offWeapon, k.rangedWeapon);
  RecomputeCreature(creature, 1);
  SetRangedUse(creature);
  SetGrappleTendency(creature);
  SetRangedTendency(creature);
  return 1;
}
