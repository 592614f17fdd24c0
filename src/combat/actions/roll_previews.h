// What the game screen shows beside a roll: the d20 of a roll's breakdown, the
// caption of a critical roll, and up to three short labels of the situations
// that changed a hit chance (shown while the expanded-tooltip option is on).
#pragma once
#include <cstdint>

#include "rules/modifier_list.h"

constexpr int kSituationLabels = 3;
struct SituationLabel {
  char text[16] = {};
  ModifierList space;
};
extern SituationLabel SituationLabels[kSituationLabels];

// The value of the list's D20_Roll pair, 0 when none.
int32_t GetD20FromRoll(const ModifierList& list);
// Turns the list's caption into "Critical %s" of its text after the first 13
// characters ("Damage Bonus (Longsword)" becomes "Critical (Longsword)").
void FormatCriticalText(ModifierList* list);
// Empties the three labels.
void ClearSituationLabels();
// The label of one modifier source into the first free entry; false when the
// list is full or the source carries no label.
bool AddSituationLabel(int32_t source);
// With the option on: clears the labels, then labels the sources found in the
// attack list, then those of the target's armour-class list; the grappler
// mark labels Grappling. True.
bool BuildSituationLabels(int target, uint8_t grappler, const ModifierList& armourClass,
                          const ModifierList& attackRoll);
