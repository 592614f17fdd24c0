#include "party/creation_rules.h"

#include <cstring>

#include "party/character_names.h"
#include "party/new_characters.h"
#include "rules/breakdown_sources.h"
#include "rules/creature_record.h"
#include "rules/modifier_list.h"

int32_t ClassFigureBase(int32_t creatureClass) {
  switch (creatureClass) {
    case kClassWizard: return 8;
    case kClassCleric: return 16;
    default: return 0;
  }
}

int32_t GenderFigureOffset(int32_t gender) { return gender == kGenderFemale ? kFemaleFigureOffset : 0; }

int32_t PartyFigure(int32_t colour, int32_t creatureClass, int32_t gender) {
  return 1 + colour + ClassFigureBase(creatureClass) + GenderFigureOffset(gender);
}

int32_t FigureColour(int creature) {
  const CreatureRecord& c = Creatures[creature];
  return c.figure - 1 - ClassFigureBase(c.creatureClass) - GenderFigureOffset(c.gender);
}

namespace {

constexpr int32_t kRacialSources[4] = {kSrcRacialStrength, kSrcRacialDexterity, kSrcRacialConstitution,
                                       kSrcRacialIntelligence};

// A colour index read back from a figure that does not fit the record is
// held to the eight colours, so a rebuilt figure is always a party figure.
int32_t KeptColour(int member) {
  const int32_t colour = FigureColour(member);
  return colour >= 0 && colour < kColourCount ? colour : 0;
}

void RebuildFigure(int member, int32_t colour) {
  CreatureRecord& c = Creatures[member];
  c.figure = PartyFigure(colour, c.creatureClass, c.gender);
}

void ForgetSpells(int member) { std::memset(Creatures[member].knownSpells, 0, sizeof Creatures[member].knownSpells); }

// Adds (sign 1) or takes back (sign -1) the race's adjustments: the scores
// and the entries of the roll records that explain them.
void ApplyRacialAdjustments(int member, int32_t race, int sign) {
  for (int a = 0; a < 4; ++a) {
    const int32_t value = RacialAdjustment(race, a);
    if (value == 0) continue;
    BaseAbility(member, a) += sign * value;
    ModifierList& record = AbilityRollRecord(member, a);
    if (sign > 0)
      AddModifier(value, &record, kRacialSources[a]);
    else
      RemoveModifier(&record, kRacialSources[a], 0);
  }
}

}  // namespace

int32_t RacialAdjustment(int32_t race, int ability) {
  constexpr int32_t kMul[4] = {2, -2, 0, 0};
  constexpr int32_t kHalfElf[4] = {-2, 2, -2, 2};
  if (ability < 0 || ability > 3) return 0;
  if (race == kRaceMul) return kMul[ability];
  if (race == kRaceHalfElf) return kHalfElf[ability];
  return 0;
}

bool IsClassGrantedFeat(int32_t creatureClass, int feat) {
  const bool armedClass = creatureClass == kClassKnight || creatureClass == kClassCleric;
  if (armedClass && (feat == kFeatSimpleWeapons || (feat >= kFeatLightArmour && feat <= kFeatShield))) return true;
  if (creatureClass == kClassKnight && feat >= kFeatFirstMartial && feat <= kFeatLastMartial) return true;
  return creatureClass == kClassWizard && feat == kFeatScribeScroll;
}

void SetClassBaseValues(int member) {
  CreatureRecord& c = Creatures[member];
  switch (c.creatureClass) {
    case kClassWizard:
      c.baseAttack.base = 0, c.fortitude.base = 0, c.reflex.base = 0, c.willpower.base = 2;
      break;
    case kClassCleric:
      c.baseAttack.base = 0, c.fortitude.base = 2, c.reflex.base = 0, c.willpower.base = 2;
      break;
    default:
      c.baseAttack.base = 1, c.fortitude.base = 2, c.reflex.base = 0, c.willpower.base = 0;
      break;
  }
}

void ChooseClass(int member, int32_t creatureClass) {
  const int32_t colour = KeptColour(member);
  Creatures[member].creatureClass = creatureClass;
  RebuildFigure(member, colour);
  SetClassBaseValues(member);
  ResetCreatureFeats(member);
  ForgetSpells(member);
}

void ChooseRace(int member, int32_t race) {
  CreatureRecord& c = Creatures[member];
  const int32_t colour = KeptColour(member);
  ApplyRacialAdjustments(member, c.kind, -1);
  c.kind = race;
  ApplyRacialAdjustments(member, race, 1);
  ResetCreatureFeats(member);
  ForgetSpells(member);
  c.protections[ImmunityPair(kImmSleep)].base = race == kRaceHalfElf ? kImmunityImmune : kImmunityNone;
  if (race == kRaceMul && c.gender == kGenderFemale) {
    c.gender = kGenderMale;
    RebuildFigure(member, colour);
    GiveRandomName(member, kGenderMale);
  }
}

void ChooseGender(int member, int32_t gender) {
  const int32_t colour = KeptColour(member);
  Creatures[member].gender = gender;
  RebuildFigure(member, colour);
  GiveRandomName(member, gender);
}

void ChooseColour(int member, int colour) { RebuildFigure(member, colour); }

std::vector<int> ChosenFeats(int member) {
  const CreatureRecord& c = Creatures[member];
  std::vector<int> feats;
  for (int f = 0; f < kFeatFlags; ++f) {
    if (c.feats[f] <= 0 || IsClassGrantedFeat(c.creatureClass, f)) continue;
    const int times = f == kFeatToughness ? c.feats[f] - (c.kind == kRaceMul ? 1 : 0) : 1;
    for (int i = 0; i < times; ++i) feats.push_back(f);
  }
  return feats;
}

int FeatPicksAtCreation(int member) {
  const CreatureRecord& c = Creatures[member];
  return 1 + (c.creatureClass == kClassKnight ? 1 : 0) + (c.kind == kRaceHuman ? 1 : 0);
}

int SpellPicksAtCreation(int member) {
  const CreatureRecord& c = Creatures[member];
  if (c.creatureClass == kClassWizard) return c.intelligence.base / 2 - 2;
  if (c.creatureClass == kClassCleric) return c.wisdom.base / 2 - 2;
  return 0;
}

std::vector<int> KnownSpells(int member) {
  std::vector<int> spells;
  for (int s = 0; s < kKnownSpellFlags; ++s)
    if (Creatures[member].knownSpells[s] == 1) spells.push_back(s);
  return spells;
}
