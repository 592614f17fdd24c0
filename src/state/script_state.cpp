#include "state/script_state.h"

#include "engine/reset_words.h"

uint8_t ScriptScratch[kScriptScratchBytes];
uint8_t SquareScriptFlag = 0;
int32_t ScriptSpeaker = -1;
int32_t ScriptSavedFacing = -1;
uint8_t ScriptKeepMode = 0;
int32_t ScriptModeWord = -1;
int32_t ChosenAnswer = -1;
uint8_t ScriptPictureShown = 0;

void ResetScriptWords() {
  ResetWords(ScriptScratch);
  SquareScriptFlag = 0;
  ScriptSpeaker = -1;
  ScriptSavedFacing = -1;
  ScriptKeepMode = 0;
  ScriptModeWord = -1;
  ChosenAnswer = -1;
  ScriptPictureShown = 0;
}
