// Breath weapons and gazes, the special attacks a creature uses through the
// casting steps as the pseudo spell 999, and the spell category table the
// casting steps and the computer fighters read for every spell row.
#pragma once
#include <cstdint>

#include "rules/item_tables.h"

// How a special attack kind 1 to 23 is announced, shaped and resolved.
struct SpecialAttackKind {
  const char* announcement;  // the log line, the creature's name for %s
  uint8_t line;              // 1 a line, 0 a cone
  int32_t effectCode;        // the effect code of its one pass
  int32_t saveKind;          // 1 Fortitude, 2 Willpower, 3 Reflex
  uint8_t halves;            // 1 a success halves, 0 it negates
  int32_t duration;          // rounds (1000, 2000), or -1: the creature's amount dice
  int32_t animation;         // area animation kind, colour and steps
  int32_t colour;
  int32_t steps;
};
constexpr int kSpecialAttackKinds = 23;
// Kinds 1 to 23 at rows 1 to 23; row 0 stands for no special attack.
extern const SpecialAttackKind SpecialAttackKinds[kSpecialAttackKinds + 1];
// The row of a kind, row 0 for one outside 1 to 23.
const SpecialAttackKind& SpecialAttackOf(int kind);
// The special-attack kind of a creature (0 none).
int SpecialAttackKindOf(int creature);
// Kinds 1-5, 10-16, 21 and 22 roll an amount from the creature's dice.
bool SpecialAttackRollsAmount(int kind);

// Categories of the spell rows: 0 the extra rows; 1 harmful to one creature
// (hit points or death); 2 harmful to an area (hit points); 3 beneficial to
// one creature; 4 beneficial to several; 5 healing one; 6 healing several;
// 7 a harmful condition on one creature; 8 a harmful condition on an area;
// 9 curing and protection. The computer fighters call the same table the
// spell target kind.
extern const int32_t SpellCategory[kSpellRows];
extern const int32_t (&SpellTargetKind)[kSpellRows];
// The category the casting steps use for a use: the table for a spell row,
// 8 for Turn Undead, 2 for special attack kinds 1-5 and 12-16 and 8 for the
// others; 0 for anything else.
int32_t UseCategory(int spell, int caster);
