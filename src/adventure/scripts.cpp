#include "adventure/scripts.h"

#include "engine/page_placeholder.h"
#include "engine/reset_words.h"

uint32_t ForceSquareScripts = 0;
int32_t EventMember = -1;
uint8_t EndOfIntroPending = 0;
uint8_t ScriptKeepsScreen = 0;
uint8_t ScriptRunFlags[4] = {};
int32_t ScriptRunWord = 0;

void RunScriptFile(const char*) {}
void FreeLoadedScript() {}
void CentreViewOnFocusSquare() {}

void DrawVictoryScreen() { DrawPagePlaceholder("DrawVictoryScreen"); }
void DrawDefeatScreen() { DrawPagePlaceholder("DrawDefeatScreen"); }
void DrawEndOfDemoScreen() { DrawPagePlaceholder("DrawEndOfDemoScreen"); }

void ResetScriptsState() {
  ForceSquareScripts = 0;
  EventMember = -1;
  EndOfIntroPending = 0;
  ScriptKeepsScreen = 0;
  ResetWords(ScriptRunFlags);
  ScriptRunWord = 0;
}
