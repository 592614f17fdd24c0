// The touch attack of a touch spell or ray on the pass's target: concealment,
// the roll against touch armour class, threats and their confirmation, and
// the ray that strays to another creature on the aimed square.
#pragma once

// True on a hit (SpellPass.critical set for a confirmed critical); a miss
// shows "Miss" and queues its event. A stray ray replaces the pass's target.
bool SpellTouchAttack(int caster, bool ranged);
