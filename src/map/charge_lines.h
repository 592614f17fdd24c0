// Charge tests for the acting fighter: whether it can charge along a line to
// a square, and whether it can charge a creature from a square.
#pragma once
#include <cstdint>

// The square the last charge line found ends on (where the charge strikes
// from); CanReachTargetFrom writes it into the fighter's destination when it
// finds a charge.
extern int32_t ChargeStopX, ChargeStopY;
// Whether the acting fighter can charge along the traced line from (fromX,
// fromY) toward (toX, toY) until it touches the target: every square free,
// every corner passable, within its moves. Marks the line's arrows.
bool CanChargeAlongLine(int fromX, int fromY, int toX, int toY, int target);
// Whether the acting fighter can charge the combatant on (targetX, targetY)
// from (fromX, fromY): straight at it, or at a square beside it.
bool CanReachTargetFrom(int targetX, int targetY, int fromX, int fromY);
