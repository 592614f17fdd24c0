// Writing a kind's template into a creature record, the dragons' age rows and
// the trait sets of the creature types.
#include <cstring>
#include <initializer_list>

#include "creatures/creature_kinds.h"
#include "creatures/creature_treasure.h"
#include "engine/random.h"
#include "map/square_grids.h"
#include "rules/creature_record.h"

namespace {

constexpr int kSquarePixels = 24;
constexpr int kDarkvision = 1;

void CopyText(char* field, size_t size, const char* text) {
  std::memset(field, 0, size);
  if (text) std::strncpy(field, text, size - 1);
}

// The footprint and drawn figure of a creature that covers squares x squares.
void SetFootprint(CreatureRecord& c, int squares) {
  c.footprintHeight.base = squares;
  c.footprintWidth.base = squares;
  c.figureSize[0].base = squares * kSquarePixels;
  c.figureSize[1].base = squares * kSquarePixels;
}

// One square for Medium and smaller; two by two for the Large and Huge
// figures of size code 5 (and 4), three by three for the size code 8.
int FootprintSquares(int size, int figureSize) {
  if (size <= 3) return 1;
  if (figureSize >= 8) return 3;
  if (figureSize >= 4) return 2;
  return 1;
}

// One of the listed values with equal chance (the list ends at the first 0).
int32_t DrawOne(const int32_t* values, int capacity) {
  int count = 0;
  while (count < capacity && values[count] != 0) ++count;
  if (count == 0) return 0;
  return values[count > 1 ? RandomUpTo(count - 1) : 0];
}

int32_t RollD2() { return static_cast<int32_t>(RandomUpTo(1)) + 1; }

void SetImmunity(CreatureRecord& c, int category, int32_t code) {
  c.protections[ImmunityPair(category)].base = code;
}

void SetAbilities(CreatureRecord& c, const int32_t values[6]) {
  StatPair* pairs[6] = {&c.strength, &c.dexterity, &c.constitution, &c.intelligence, &c.wisdom, &c.charisma};
  for (int i = 0; i < 6; ++i) pairs[i]->base = values[i] + static_cast<int32_t>(RandomUpTo(4));
}

// The class a template gives: its own (always, or when no class was asked
// for; a Warrior instead when extra levels are given, where the table says so).
int TemplateClass(const KindTemplate& t, int classArgument, int extraLevels) {
  if (t.classRule == kClassAlways) return t.ownClass;
  if (classArgument != 0) return classArgument;
  if (t.classRule == kWarriorWithLevels && extraLevels > 0) return kClassWarrior;
  return t.ownClass;
}

int32_t TemplateGender(int kind, int type) {
  switch (kind) {
    case kKindGiantSpider: case kKindMedusa: case kKindThriKreen: return 2;
    case kKindMul: return 1;
    default: return type == kTypeHumanoid ? RollD2() : 1;
  }
}

const HumanClassRow& HumanRowOfClass(int creatureClass) {
  const HumanClassRow* warrior = nullptr;
  for (const HumanClassRow& row : HumanClassRows) {
    if (row.creatureClass == creatureClass) return row;
    if (row.creatureClass == kClassWarrior) warrior = &row;
  }
  return *warrior;  // a class without a row of its own is dressed as a Warrior
}

// The commoner's figure: a man in one of two dresses, a woman in one of four.
int32_t CommonerFigure(int32_t gender) {
  if (gender != 2) return RollD2() == 1 ? 176 : 178;
  const bool firstPair = RollD2() == 1;
  const bool firstOfPair = RollD2() == 1;
  if (firstPair) return firstOfPair ? 177 : 179;
  return firstOfPair ? 198 : 199;
}

void ApplyFurther(int creature, const TemplateFurther& f, int group) {
  CreatureRecord& c = Creatures[creature];
  switch (f.entry) {
    case TemplateEntry::kNone: break;
    case TemplateEntry::kSpecialWord: c.special[f.word] = f.values[0]; break;
    case TemplateEntry::kBehaviour: c.behaviour[f.word] = f.values[group]; break;
    case TemplateEntry::kImmunity: SetImmunity(c, f.word, f.values[0]); break;
    case TemplateEntry::kProtection: c.protections[f.word].base = f.values[0]; break;
    case TemplateEntry::kUndeadTraits: ApplyUndeadTraits(creature); break;
    case TemplateEntry::kElementalTraits: ApplyElementalTraits(creature); break;
    case TemplateEntry::kDragonTraits: ApplyDragonTraits(creature); break;
    case TemplateEntry::kConstructTraits: ApplyConstructTraits(creature); break;
    case TemplateEntry::kUnarmedStrike: GiveUnarmedAttack(creature); break;
  }
}

void SetNaturalAttacks(CreatureRecord& c, const KindTemplate& t) {
  for (int slot = 0; slot < 4; ++slot) {
    const TemplateAttack& a = t.attacks[slot];
    if (a.kind == 0) continue;
    NaturalAttack& n = c.naturalAttacks[slot];
    n.kind = a.kind;
    n.count = a.count;
    n.critLow = 20;
    n.effectKind = a.damageType;
    n.effectDice = a.dice;
    n.effectSides = a.sides;
  }
}

void SetAttackRiders(CreatureRecord& c, int kind) {
  for (const AttackRider& r : AttackRiders) {
    if (r.kind != kind) continue;
    NaturalAttack& n = c.naturalAttacks[r.slot];
    n.riderKind = r.effect;
    n.riderDice = r.dice;
    n.riderSides = r.sides;
  }
}

// Immunity categories of the undead (and, with positive and negative energy
// immune rather than reversed, of constructs).
constexpr int kUndeadImmunities[] = {
    kImmAbilityDrain, kImmBleeding, kImmCharm,    kImmCompulsion, kImmCriticals, kImmDeath, kImmExhaustion,
    kImmFear,         kImmFigment,  kImmLevelDrain, kImmMind,     kImmMorale,    kImmParalysis, kImmPattern,
    kImmPhantasm,     kImmPoison,   kImmSickness, kImmSleep,      kImmStunning};

void ApplyLifelessImmunities(int creature, int32_t energyCode) {
  CreatureRecord& c = Creatures[creature];
  for (int category : kUndeadImmunities) SetImmunity(c, category, kImmunityImmune);
  SetImmunity(c, kImmNegativeEnergy, energyCode);
  SetImmunity(c, kImmPositiveEnergy, energyCode);
  c.sightless = kDarkvision;
}

}  // namespace

int ApplyKindTemplate(int creature, int kind, int classArgument, int extraLevels) {
  const KindTemplate* t = FindKindTemplate(kind);
  if (t == nullptr || !IsValidCreature(creature)) return 0;
  CreatureRecord& c = Creatures[creature];
  c.race = t->race;
  c.type = t->type;
  c.subtype[0] = t->subtype;
  c.creatureClass = TemplateClass(*t, classArgument, extraLevels);
  const int group = AbilityGroupOfClass(c.creatureClass);
  c.gender = TemplateGender(kind, t->type);

  const HumanClassRow* human = kind == kKindHuman ? &HumanRowOfClass(c.creatureClass) : nullptr;
  CopyText(c.name, sizeof c.name, human ? human->name : t->name);
  CopyText(c.description, sizeof c.description, human ? human->description : t->description);
  c.speed.base = t->speed;
  c.size.base = t->size;
  c.alignment = human ? DrawOne(human->alignments, 3) : DrawOne(t->alignments, 3);
  c.sight = t->sight;
  c.sightless = t->darkvision;
  if (human) c.figure = human->figure != 0 ? human->figure : CommonerFigure(c.gender);
  else c.figure = t->figures[group];
  c.displayWords[kDisplayFigureSize] = t->figureSize;
  if (human) SetAbilities(c, human->abilities);
  else if (!IsDragonKind(kind)) SetAbilities(c, t->abilities[group]);
  SetFootprint(c, FootprintSquares(t->size, t->figureSize));
  c.generation[kCoinsMultiplierWord] = t->treasure[0];
  c.generation[kGoodsMultiplierWord] = t->treasure[1];
  c.generation[kItemsMultiplierWord] = t->treasure[2];
  c.protections[kProtNaturalArmour].base = t->naturalArmour;
  SetNaturalAttacks(c, *t);
  for (const TemplateFurther& f : t->further) ApplyFurther(creature, f, group);
  SetAttackRiders(c, kind);
  if (human) c.behaviour[kBehaviourCharge] = human->charge;
  return 1;
}

int ApplyDragonAgeRow(int creature) {
  if (!IsValidCreature(creature)) return 0;
  CreatureRecord& c = Creatures[creature];
  const DragonAges* d = FindDragonAges(c.kind);
  if (d == nullptr) return 0;
  int index = (c.level - d->firstLevel) / 3;
  if (c.level < d->firstLevel) index = 0;
  if (index >= kDragonAgeRows) index = kDragonAgeRows - 1;
  const DragonAgeRow& row = d->rows[index];
  c.special[kSpecialCasterLevel] = row.casterLevel;
  SetAbilities(c, row.abilities);
  c.protections[kProtNaturalArmour].base = row.naturalArmour;
  c.special[kSpecialSpellLike] = row.spellLike;
  c.special[kSpecialUsesLeft] = 5;
  c.special[kSpecialUsesPerDay] = 5;
  c.protections[kProtDamageReduction].base = row.damageReduction;
  c.protections[kProtDamageReductionKind].base = 11;
  c.protections[kProtSpellResistance].base = row.spellResistance;
  c.special[kSpecialAttackKind] = d->breathKind;
  c.special[kSpecialAttackSides] = row.breathSides;
  c.special[kSpecialAttackDice] = row.breathDice;
  return 1;
}

void ApplyUndeadTraits(int creature) {
  if (IsValidCreature(creature)) ApplyLifelessImmunities(creature, kImmunityReverse);
}

void ApplyConstructTraits(int creature) {
  if (!IsValidCreature(creature)) return;
  ApplyLifelessImmunities(creature, kImmunityImmune);
  CreatureRecord& c = Creatures[creature];
  const int size = c.size.base > 5 ? 5 : c.size.base;
  const int bonus = size >= 2 ? (size - 1) * 10 : 0;
  c.baseHitPoints += bonus;
  c.maxHitPoints += bonus;
  c.hitPoints += bonus;
}

void ApplyElementalTraits(int creature) {
  if (!IsValidCreature(creature)) return;
  CreatureRecord& c = Creatures[creature];
  for (int category : {kImmPoison, kImmSleep, kImmParalysis, kImmStunning, kImmBleeding, kImmCriticals, kImmFlanking})
    SetImmunity(c, category, kImmunityImmune);
  c.sightless = kDarkvision;
}

void ApplyDragonTraits(int creature) {
  if (!IsValidCreature(creature)) return;
  CreatureRecord& c = Creatures[creature];
  SetImmunity(c, kImmSleep, kImmunityImmune);
  SetImmunity(c, kImmParalysis, kImmunityImmune);
  c.special[kSenseKindWord] = 7;
  c.sightless = kDarkvision;
}

void GiveUnarmedAttack(int creature) {
  if (!IsValidCreature(creature)) return;
  NaturalAttack& n = Creatures[creature].naturalAttacks[0];
  n.kind = kAttackUnarmed;
  n.count = 1;
  n.critLow = 20;
  n.effectKind = kBludgeoning;
  n.effectDice = 1;
  n.effectSides = 3;
}
