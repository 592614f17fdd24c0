// Stands in for the spell effects until they land: each effect code only
// shows that the pass reached its target. Delete when the effects arrive.
#include "combat/resolution/spell_effects.h"

#include "combat/resolution/spell_resolution.h"
#include "state/combat_events.h"

void ApplySpellEffect() { QueueUseEvent(45, 0, SpellPass.target, 0); }
