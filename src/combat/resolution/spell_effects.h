// The effects of the spell effect codes on one target: conditions given and
// taken, summonings, dominations, polymorphs and the like, each by the code
// of the pass being resolved (SpellPass of combat/resolution/spell_resolution.h).
// The amounts of the damage and healing codes are the resolution's.
#pragma once
#include <cstdint>

// Carries out the pass's effect code on the pass's target; sets
// SpellPass.endTargets when the rest of the target list is refused.
void ApplySpellEffect();
