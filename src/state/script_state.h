// Script words that map switching resets on entering a map.
#pragma once
#include <cstdint>

constexpr int kScriptScratchBytes = 8400;
// The scripts' scratch, cleared on map entry.
extern uint8_t ScriptScratch[kScriptScratchBytes];
// Set on map entry so that the script of the square the party stands on runs.
extern uint8_t SquareScriptFlag;

// The talking words of the script interpreter: the creature whose script
// runs (-1 none) and its facing kept meanwhile (-1 none); the keep-mode byte
// a script sets to keep the screen mode it chose, and a further word that,
// while -1, lets the screen mode go back to exploring after a talk.
extern int32_t ScriptSpeaker;
extern int32_t ScriptSavedFacing;
extern uint8_t ScriptKeepMode;
extern int32_t ScriptModeWord;

// The answer of the open dialogue box: 1 to 5 once chosen, -1 while it
// waits (the game screen's box and the script picture set it; the answer
// tests of scripts read it).
extern int32_t ChosenAnswer;
// 1 while the dialogue loop shows a script's full-screen picture instead of
// the game screen; the picture clears it when the player dismisses it.
extern uint8_t ScriptPictureShown;

// Implemented by the adventure scripts: loads and runs a compiled script to its end.
int RunScriptFile(const char* path);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetScriptWords();
