// Running the adventure's compiled scripts, and the script values the frame reads.
#pragma once
#include <cstdint>

#include "adventure/script_file.h"

// 1: run the square scripts of every party member in this frame.
extern uint32_t ForceSquareScripts;
// The party member whose square script runs, -1 none.
extern int32_t EventMember;
// Set by the script that ends the introductory adventure.
extern uint8_t EndOfIntroPending;
// Set by a script so that the screen mode it chose stays after it: the
// keep-mode byte of the script state under the frame's name for it.
extern uint8_t& ScriptKeepsScreen;
// Cleared before each square script: four flag bytes and one word.
extern uint8_t ScriptRunFlags[4];
extern int32_t ScriptRunWord;

// Frees the loaded script's command list and arguments (the script object
// then finds nothing left to free at exit).
void FreeLoadedScript();
// Centres the map view on the focus square.
void CentreViewOnFocusSquare();

// The end screens of screen modes 8, 7 and 19 (adventure/end_screens.h).
void DrawVictoryScreen();
void DrawDefeatScreen();
void DrawEndOfDemoScreen();
// The page history becomes the single main-menu page {"TITLE SCREEN", 102,
// -1} in page view; no spell or item selection is left pending, the map
// switch's arrival byte is cleared and the game is no longer running.
void ReturnToMainMenu();

// Puts the words above back to their start-up values (a new game, and tests).
void ResetScriptsState();
