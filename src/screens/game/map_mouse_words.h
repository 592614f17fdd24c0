// The map mouse handler's words that the map view reads: the hover marks
// hidden, the move range shown or forced, the path preview, and the
// attack-aim word (2: hit chances shown over the creatures).
#pragma once
#include <cstdint>

extern uint8_t HoverMarksHidden;
extern uint8_t MoveRangeAllowed;
extern uint8_t MoveRangeForced;
extern uint8_t PathPreviewShown;
extern int32_t AttackAimMode;
