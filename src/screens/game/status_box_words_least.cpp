// Least version of the status boxes' words, standing until the status boxes
// define them.
#include "screens/game/status_box_words.h"

int32_t ShownTargetCreature = -1;
