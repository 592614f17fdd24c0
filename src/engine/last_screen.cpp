#include "engine/last_screen.h"

const char* LastScreenDrawn = "";
