#include "adventure/scripts.h"

#include "adventure/dialogue.h"
#include "adventure/script_faults.h"
#include "engine/reset_words.h"
#include "state/script_state.h"

uint32_t ForceSquareScripts = 0;
int32_t EventMember = -1;
uint8_t EndOfIntroPending = 0;
uint8_t& ScriptKeepsScreen = ScriptKeepMode;
uint8_t ScriptRunFlags[4] = {};
int32_t ScriptRunWord = 0;

void FreeLoadedScript() { FreeScript(); }

void ResetScriptsState() {
  ForceSquareScripts = 0;
  EventMember = -1;
  EndOfIntroPending = 0;
  ScriptKeepsScreen = 0;
  ResetWords(ScriptRunFlags);
  ScriptRunWord = 0;
  EventConsumed = 0;
  BlockDepth = 0;
  ResetDialogueState();
  ResetScriptFaults();
}
