#include "state/threat_grids.h"

#include "engine/reset_words.h"

int32_t ArrowGrid[3600];
int32_t ArrowGridMover = -1;

void ResetThreatGridsState() {
  ResetWords(ArrowGrid);
  ArrowGridMover = -1;
}
