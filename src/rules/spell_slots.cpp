#include "rules/spell_slots.h"

#include <algorithm>

#include "rules/creature_record.h"

const int32_t IntelligenceSlotTable[kSlotTableLevels][kSpellLevels] = {
    {1, 0, 0, 0, 0, 0, 0, 0, 0}, {2, 0, 0, 0, 0, 0, 0, 0, 0}, {2, 1, 0, 0, 0, 0, 0, 0, 0},
    {3, 2, 0, 0, 0, 0, 0, 0, 0}, {3, 2, 1, 0, 0, 0, 0, 0, 0}, {3, 3, 2, 0, 0, 0, 0, 0, 0},
    {4, 3, 2, 1, 0, 0, 0, 0, 0}, {4, 3, 3, 2, 0, 0, 0, 0, 0}, {4, 4, 3, 2, 1, 0, 0, 0, 0},
    {4, 4, 3, 3, 2, 0, 0, 0, 0}, {4, 4, 4, 3, 2, 1, 0, 0, 0}, {4, 4, 4, 3, 3, 2, 0, 0, 0},
    {4, 4, 4, 4, 3, 2, 1, 0, 0}, {4, 4, 4, 4, 3, 3, 2, 0, 0}, {4, 4, 4, 4, 4, 3, 2, 1, 0},
    {4, 4, 4, 4, 4, 3, 3, 2, 0}, {4, 4, 4, 4, 4, 4, 3, 2, 1}, {4, 4, 4, 4, 4, 4, 3, 3, 2},
    {4, 4, 4, 4, 4, 4, 4, 3, 3}, {4, 4, 4, 4, 4, 4, 4, 4, 4},
};

const int32_t WisdomSlotTable[kSlotTableLevels][kSpellLevels] = {
    {1, 0, 0, 0, 0, 0, 0, 0, 0}, {2, 0, 0, 0, 0, 0, 0, 0, 0}, {2, 1, 0, 0, 0, 0, 0, 0, 0},
    {3, 2, 0, 0, 0, 0, 0, 0, 0}, {3, 2, 1, 0, 0, 0, 0, 0, 0}, {3, 3, 2, 0, 0, 0, 0, 0, 0},
    {4, 3, 2, 1, 0, 0, 0, 0, 0}, {4, 3, 3, 2, 0, 0, 0, 0, 0}, {4, 4, 3, 2, 1, 0, 0, 0, 0},
    {4, 4, 3, 3, 2, 0, 0, 0, 0}, {5, 4, 4, 3, 2, 1, 0, 0, 0}, {5, 4, 4, 3, 3, 2, 0, 0, 0},
    {5, 5, 4, 4, 3, 2, 1, 0, 0}, {5, 5, 4, 4, 3, 3, 2, 0, 0}, {5, 5, 5, 4, 4, 3, 2, 1, 0},
    {5, 5, 5, 4, 4, 3, 3, 2, 0}, {5, 5, 5, 5, 4, 4, 3, 2, 1}, {5, 5, 5, 5, 4, 4, 3, 3, 2},
    {5, 5, 5, 5, 5, 4, 4, 3, 3}, {5, 5, 5, 5, 5, 4, 4, 4, 4},
};

int32_t BonusSpellSlots(int32_t abilityScore, int spellLevel) {
  int32_t m = (abilityScore - 10) / 2;
  if (m < 1) return 0;
  m = std::min(m, 20);
  if (spellLevel < 1 || spellLevel > m) return 0;
  return 1 + (m - spellLevel) / 4;
}

int SetSpellSlotsByLevel(int level, int creature, int intelligenceTable, int refill) {
  if (creature < 0 || creature >= kCreatureCount) return 1;
  CreatureRecord& c = Creatures[creature];
  const int32_t(*table)[kSpellLevels] = intelligenceTable == 1 ? IntelligenceSlotTable : WisdomSlotTable;
  const int32_t score = intelligenceTable == 1 ? c.intelligence.base : c.wisdom.base;
  for (int i = 0; i < kSpellLevels; ++i) {
    const int32_t fromTable = level >= 1 ? table[std::min(level, kSlotTableLevels) - 1][i] : 0;
    c.spellsPerDay[i] = fromTable + BonusSpellSlots(score, i + 1);
  }
  if (refill == 1) {
    const int32_t casterLevel = std::max(c.effectiveLevel - c.level + c.casterLevelAdjust, 1);
    const int32_t highest = std::min((casterLevel + 1) / 2, kSpellLevels);
    for (int i = 0; i < kSpellLevels; ++i) c.spellsLeft[i] = i < highest ? c.spellsPerDay[i] : 0;
  }
  return 1;
}
