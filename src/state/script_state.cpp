#include "state/script_state.h"

#include "engine/reset_words.h"

uint8_t ScriptScratch[kScriptScratchBytes];
uint8_t SquareScriptFlag = 0;

void ResetScriptWords() {
  ResetWords(ScriptScratch);
  SquareScriptFlag = 0;
}
