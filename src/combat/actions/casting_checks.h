// The caster levels and spell focus bonuses the casting rules ask for (the
// words of the spell being cast are in state/combat_action.h).
#pragma once
#include <cstdint>

#include "rules/feat_ids.h"

// Caster level ignoring innate casting: effective level - level + the
// caster-level adjustment, at least 1.
int32_t BaseCasterLevel(int creature);
// The same for the creature casting the current spell (ActingCreature).
int32_t CurrentCasterLevel();

// The current caster's difficulty bonus for a school 1 to 8: +1 for its
// Spell Focus, +1 for its Greater Spell Focus; 0 for any other school.
int SpellFocusBonus(int school);
