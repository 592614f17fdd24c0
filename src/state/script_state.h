// Script words that map switching resets on entering a map.
#pragma once
#include <cstdint>

constexpr int kScriptScratchBytes = 8400;
// The scripts' scratch, cleared on map entry.
extern uint8_t ScriptScratch[kScriptScratchBytes];
// Set on map entry so that the script of the square the party stands on runs.
extern uint8_t SquareScriptFlag;

// Implemented by the adventure scripts: loads and runs a compiled script to its end.
void RunScriptFile(const char* path);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetScriptWords();
