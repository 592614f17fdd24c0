// Resolving a use on each target (the sequencer's step 21): the costs and
// the lasting magic-area cells of the first call, then one creature and one
// effect per call: touch attack, immunities, spell resistance, saving throw,
// duration and amount, and the effect itself, with a combat event per target
// whose playback the next call waits for.
#pragma once
#include <cstdint>

#include "rules/modifier_list.h"

// The words of the pass being resolved. The effects of the effect codes
// (combat/resolution/spell_effects.h) read them.
struct SpellPassWords {
  int32_t targetIndex = -1;  // index into AreaTargetList, -1 before the first pass
  // The effect pass (1 the first effect of the spell row, 2 the second) is
  // the target-pass word TargetPass of combat/actions/casting_checks.h.
  int32_t target = -1;       // the creature being resolved
  int32_t effectCode = 0;
  int32_t casterLevel = 1;
  int32_t duration = -1;     // rounds, -1 none; 1000 and 2000 last until removed
  int32_t amountSides = 0;   // the pass's amount fields as the row holds them
  int32_t amountCount = 0;
  int32_t parameter = 0;     // the pass's parameter word
  int32_t diceSides = 0;     // the dice the amount is rolled from (0: a fixed amount)
  int32_t diceCount = 0;
  int32_t diceBonus = 0;
  int32_t fixedAmount = 0;   // the fixed amount of the pass, 0 none
  int32_t amount = 0;        // the amount the effect applies
  int32_t saveCode = 0;
  int32_t saveDc = 0;
  uint8_t saveMade = 0;      // the target made its saving throw
  uint8_t critical = 0;      // a touch attack's confirmed critical
  int32_t protection = 0;    // 2, 3 or 4: the response found to the use's codes
  int32_t protectionCode = 0;  // the code that response was found for
  uint8_t endTargets = 0;    // an effect refused the rest of the target list
};
extern SpellPassWords SpellPass;
// One flag per creature caught on a web cell a fire effect burned.
extern uint8_t WebBurnList[2100];
// One word per creature, cleared whenever the announcement step runs.
extern int32_t ResolvedCreatures[2100];

// Clears the target index, the effect pass and the per-creature table.
void ResetTargetResolution();

// The amount pipeline of effect codes 1-14, 58, 77, 110-113, 116, 117, 120
// and 130 on the pass's target.
void ApplySpellAmount();
// The resistance that lowers the energy of an amount's effect code: its
// protection pair and breakdown source; pair -1 when none does.
void ResistanceOf(int32_t code, int* pair, int32_t* source);

// A dispel's work on a lasting magic-area cell (not one of 1000 rounds):
// the cell is cleared and, in combat, the creature standing on it loses the
// area's condition unless another cell of that kind holds it, recomputed at
// once when it lost one.
void DispelCell(int x, int y);

// Appends an event of the use to the combat event queue and starts its
// playback over the creature when none is being shown.
void QueueUseEvent(int32_t type, int32_t value, int creature, int32_t sound);

