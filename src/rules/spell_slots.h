// Spell slots per day: the two slot tables by class level, the bonus slots of
// the casting ability, and the refill of the spells left.
#pragma once
#include <cstdint>

constexpr int kSpellLevels = 9;
constexpr int kSlotTableLevels = 20;

// Spells per day of spell levels 1 to 9 by class level 1 to 20: the
// Intelligence table (Wizards) and the Wisdom table (Clerics).
extern const int32_t IntelligenceSlotTable[kSlotTableLevels][kSpellLevels];
extern const int32_t WisdomSlotTable[kSlotTableLevels][kSpellLevels];

// The bonus slot of spell level 1 to 9 that an ability score gives (from the
// base score); 0 for an ability of 11 or less.
int32_t BonusSpellSlots(int32_t abilityScore, int spellLevel);

// Fills the creature's spells per day from the table row of the level (a
// level above 20 takes row 20; a level of 0 or less takes no row, so the
// counts are the bonus slots alone) plus the bonus slots of the base
// Intelligence (intelligenceTable 1) or Wisdom (0). With refill 1 the spells
// left are set from the new counts up to the highest spell level of the
// creature's caster level, 0 above it. Returns 1.
int SetSpellSlotsByLevel(int level, int creature, int intelligenceTable, int refill);
