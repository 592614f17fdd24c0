// The words of the fighters' status boxes that other sections write: the
// creature whose box shows beside the acting fighter's on the player's turn
// (the target of the order being given), -1 none.
#pragma once
#include <cstdint>

extern int32_t ShownTargetCreature;
