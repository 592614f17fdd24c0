#include "state/threat_grids.h"

#include "engine/reset_words.h"

int32_t ArrowGrid[3600];

void ResetThreatGridsState() {
  ResetWords(ArrowGrid);
}
