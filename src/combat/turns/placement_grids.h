// From which square a computer-controlled caster releases an effect that
// starts at itself: a cone or line (area spells aimed from the caster, Turn
// Undead and breath weapons) or a burst round it. Each scores the squares it
// could reach this turn in the valuation grid and returns the best.
#pragma once
#include <cstdint>

// The best square for the cone or line of the spell (a spell row, 998 Turn
// Undead or 999 the caster's breath weapon), packed as best_square.h packs
// squares; kNoSquare when it is the caster's own square or no square scores.
int64_t BuildConeSpellGrid(int caster, int spell);
// The same for the burst round the caster of the spell in SpellInProgress.
int64_t BuildDiscSpellGrid(int caster);
