#include "party/new_characters.h"

#include <cstdio>
#include <cstring>

#include "engine/random.h"
#include "engine/settings.h"
#include "party/character_names.h"
#include "party/creation_rules.h"
#include "party/creation_screen.h"
#include "party/party_screens.h"
#include "rules/breakdown_sources.h"
#include "rules/creature_record.h"
#include "rules/dice.h"
#include "rules/modifier_list.h"
#include "state/game_progress.h"

const char* const AbilityNames[kAbilityCount] = {"Strength", "Dexterity", "Constitution",
                                                 "Intelligence", "Wisdom", "Charisma"};

ModifierList& AbilityRollRecord(int member, int ability) { return CreationAbilityRolls[member * 6 + ability]; }

void StartAbilityRecord(ModifierList* record, const char* prefix, int ability) {
  InitModifierList(record);
  std::snprintf(record->caption, sizeof record->caption, "%s (%s)", prefix, AbilityNames[ability]);
  record->helpTopic = kAbilityHelpPageBase + ability;
}

int32_t& BaseAbility(int creature, int ability) {
  CreatureRecord& c = Creatures[creature];
  StatPair* abilities[kAbilityCount] = {&c.strength, &c.dexterity, &c.constitution,
                                        &c.intelligence, &c.wisdom, &c.charisma};
  return abilities[ability]->base;
}

namespace {

// An ability rolled again at its best (four 6s, one dropped: 18), its former
// dice taken out of its record first.
void RollMaximised(int member, int ability) {
  ModifierList& record = AbilityRollRecord(member, ability);
  RemoveModifier(&record, kSrcD6Roll, 1);
  RemoveModifier(&record, kSrcLowestOmitted, 1);
  BaseAbility(member, ability) = RollDice(6, 4, 1, 1, &record);
}

int CountEighteens(int member) {
  int count = 0;
  for (int a = 0; a < kAbilityCount; ++a) count += BaseAbility(member, a) == 18 ? 1 : 0;
  return count;
}

// One set of six scores rolled 4d6 with the lowest dropped, with the 18s the
// option asks for forced in; false when the set must be rolled again (its
// best score 13 or less, or its six modifiers adding up to less than +1).
bool RollAbilitySet(int member) {
  int best = 0;
  for (int a = 0; a < kAbilityCount; ++a) {
    ModifierList& record = AbilityRollRecord(member, a);
    StartAbilityRecord(&record, "Ability Roll", a);
    const int score = RollDice(6, 4, 1, 0, &record);
    BaseAbility(member, a) = score;
    if (score > best) best = score;
  }
  const int forced = OptionWords[kOptionMaxAbilityScores];
  if (forced == 6) {
    for (int a = 0; a < kAbilityCount; ++a) RollMaximised(member, a);
  } else if (forced >= 1 && forced <= 5 && CountEighteens(member) < forced) {
    // An ability already at 18 may be drawn again; the draw goes on until
    // the set holds as many 18s as the option asks.
    while (CountEighteens(member) < forced) RollMaximised(member, RollDice(6, 1, 0, 0, nullptr) - 1);
  } else if (best <= 13) {
    return false;
  }
  int halves = 0;
  for (int a = 0; a < kAbilityCount; ++a) halves += BaseAbility(member, a) / 2;
  return halves - 30 > 0;
}

}  // namespace

int RollNewCharacter(int member) {
  if (member < 0 || member >= kPartySize) return 0;
  CreatureRecord& c = Creatures[member];
  std::memset(static_cast<void*>(&c), 0, sizeof c);
  GiveRandomName(member, kGenderMale);
  c.gender = kGenderMale;
  c.creatureClass = kClassKnight;
  bool colourTaken = true;
  while (colourTaken) {
    c.figure = static_cast<int32_t>(RandomUpTo(7)) + 1;
    colourTaken = false;
    for (int m = 0; m < member; ++m) colourTaken = colourTaken || Creatures[m].figure == c.figure;
  }
  c.alignment = 1;  // Lawful Good
  c.kind = kRaceHuman;
  c.level = 1;
  c.effectiveLevel = 1;
  SetClassBaseValues(member);
  ResetCreatureFeats(member);
  while (!RollAbilitySet(member)) {
  }
  return 1;
}

void ResetCreatureFeats(int creature) {
  if (!IsValidCreature(creature)) return;
  CreatureRecord& c = Creatures[creature];
  std::memset(c.feats, 0, sizeof c.feats);
  for (int f = 0; f < kFeatFlags; ++f)
    if (IsClassGrantedFeat(c.creatureClass, f)) c.feats[f] = 1;
  if (c.kind == kRaceMul) c.feats[kFeatToughness] = 1;
}

void StartPartyCreation() {
  for (int m = 0; m < kPartySize; ++m) std::memset(static_cast<void*>(&Creatures[m]), 0, sizeof Creatures[m]);
  for (int m = 0; m < kPartySize; ++m) RollNewCharacter(m);
  ClearCreationFlags();
  NewPartyPending = 1;
}
