#include "state/threat_grids.h"

int32_t ArrowGrid[3600];
