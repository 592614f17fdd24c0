// A computer fighter about to step into magic fire: whether it stops to
// dispel the fire first or to shield itself against it, and the stop itself.
#pragma once

// The fighter does not take the move it was making: no step pending, no
// action code, its next square and destination its own square, the decision
// of combat state 2 to come, and the action spent. (CheckMagicFireCasting is
// declared with the decision, combat/turns/computer_decision.h.)
void StopAndRedecide(int creature);
