// Least versions of the map mouse handler's words the map view reads,
// standing until the mouse handler defines them.
#include "screens/game/map_mouse_words.h"

uint8_t HoverMarksHidden = 0;
uint8_t MoveRangeAllowed = 0;
uint8_t MoveRangeForced = 0;
uint8_t PathPreviewShown = 0;
int32_t AttackAimMode = 0;
