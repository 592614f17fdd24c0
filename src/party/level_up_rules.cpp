#include "party/level_up_rules.h"

#include <algorithm>
#include <cstdio>

#include "combat/actions/casting_checks.h"
#include "engine/settings.h"
#include "party/level_up_words.h"
#include "rules/breakdown_sources.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "rules/modifier_list.h"
#include "state/game_progress.h"

namespace {

constexpr int32_t kHitPointHelpPage = 21002;

struct ClassDie {
  int32_t sides, lowAverage, source;
};

// The class's hit-point die, its low average and the breakdown source of its
// roll; sides 0 for other classes.
ClassDie DieOf(int32_t creatureClass) {
  switch (creatureClass) {
    case kClassKnight: return {10, 5, kSrcRollOfD10};
    case kClassCleric: return {8, 4, kSrcRollOfD8};
    case kClassWizard: return {4, 2, kSrcRollOfD4};
    default: return {0, 0, 0};
  }
}

}  // namespace

bool IsAbilityIncreaseLevel(int32_t level) { return level > 0 && level <= kMaxPartyLevel && level % 4 == 0; }

int NewFeatCount(int32_t creatureClass, int32_t level) {
  int feats = level % 3 == 0 && level >= 3 && level <= 18 ? 1 : 0;
  if (creatureClass == kClassKnight && level % 2 == 0 && level >= 2) ++feats;
  if (creatureClass == kClassWizard && level % 5 == 0 && level >= 5) ++feats;
  return feats;
}

int NewSpellCount(int member) {
  const CreatureRecord& c = Creatures[member];
  if (c.creatureClass != kClassCleric && c.creatureClass != kClassWizard) return 0;
  const int32_t highest = std::min(9, (BaseCasterLevel(member) + 1) / 2);
  const int32_t divine = c.creatureClass == kClassCleric ? 1 : 0;
  int left = 0;
  for (int i = 0; i < kSpellRows; ++i) {
    const SpellRecord& s = SpellTable[i];
    if (s.name[0] != '\0' && s.divine == divine && s.level >= 1 && s.level <= highest && c.knownSpells[i] == 0)
      ++left;
  }
  for (int choice : {kPendingFirstSpell, kPendingSecondSpell})
    if (PendingLevelUpChoices[choice] >= 0) ++left;
  return std::min(2, left);
}

int32_t LevelHitDie(int member) {
  const CreatureRecord& c = Creatures[member];
  const ClassDie die = DieOf(c.creatureClass);
  if (die.sides == 0) return 0;
  switch (OptionWords[kOptionMaxHitPointsOnLevelUp]) {
    case 1: return die.sides;
    case 2: return die.lowAverage + (c.level % 2 == 0 ? 1 : 0);
    default: {
      const int index = member * kMaxPartyLevel + c.level - 1;
      return index >= 0 && index < kHitDieRollCount ? HitDieRolls[index] : 0;
    }
  }
}

int32_t BuildHitPointBonus(int member, ModifierList* list) {
  const CreatureRecord& c = Creatures[member];
  InitModifierList(list);
  std::snprintf(list->caption, sizeof list->caption, "Hit Point Bonus (%.21s)", c.name);
  list->helpTopic = kHitPointHelpPage;
  const ClassDie die = DieOf(c.creatureClass);
  if (die.sides > 0) AddModifier(LevelHitDie(member), list, die.source);
  AddModifier(AbilityModifier(c.constitution.base), list, kSrcConstitutionModifier);
  if (list->total < 1) AddModifier(1 - list->total, list, kSrcMinimumBonusOnePoint);
  return list->total;
}
