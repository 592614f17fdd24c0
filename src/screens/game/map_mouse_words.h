// The map mouse handler's words that the map view reads: the hover marks
// hidden, the move range shown or forced, the path preview, the path arrows
// of the hover, and the attack-aim word (2: hit chances shown over the
// creatures).
#pragma once
#include <cstdint>

extern uint8_t HoverMarksHidden;
extern uint8_t MoveRangeAllowed;
extern uint8_t MoveRangeForced;
extern uint8_t PathPreviewShown;
// 1 while the path arrows on the map are those of the order under the
// cursor this frame (a walk, a charge, a move and an attack); set anew
// each frame by the map mouse handler.
extern uint8_t PathArrowsShown;
extern int32_t AttackAimMode;
