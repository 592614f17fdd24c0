#include "state/script_state.h"

uint8_t ScriptScratch[kScriptScratchBytes];
uint8_t SquareScriptFlag = 0;
