// The creation page's words: how far the ability panel of the member on the
// page has come, the drag of a score, the one reroll and its sliding
// number, and the flags of the members the player stepped back from.
#pragma once
#include <cstdint>

#include "rules/modifier_list.h"

struct CreationScreenState {
  uint8_t swapUsed = 0;    // the two-score swap is made (or the panel confirmed)
  uint8_t rerollUsed = 0;  // the one reroll is made
  uint8_t confirmed = 0;   // the ability panel is locked
  int32_t draggedAbility = -1;  // the ability whose score is dragged, -1 none
  int32_t draggedScore = 0;
  ModifierList rerollRecord;
  int32_t rerollResult = 0;
  int32_t rerollAbility = 0;
  int32_t newRollX = 96, newRollY = 72;  // where the reroll's number stands
  uint8_t newRollBetter = 0;              // 1 while a higher reroll slides into place
  uint8_t savedFlags[4][3] = {};          // swap used, reroll used, confirmed of each member
  uint8_t complete = 0;                   // nothing is missing for "Accept"
  int32_t blinkCounter = 0;
  uint8_t blinkPhase = 0;                 // the name's text cursor shows in phase 1
  int32_t previewCounter = 0;
  int32_t previewStep = 0;                // the walking figure's step, 0 to 3
  int32_t hoveredLabel = -1;              // the caption or button the hover sound played for
};
extern CreationScreenState CreationState;

// The creation page's flags of the panel (swap, reroll, confirmed) and the
// saved flags of every member cleared, as a new party begins.
void ClearCreationFlags();
