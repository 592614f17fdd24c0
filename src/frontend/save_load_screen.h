// The save and load page (page type 103; parameter 1 save, 2 load): the saved
// games of the active adventure five rows at a time, with saving, loading and
// deleting. SaveLoadScreen itself is declared with the other front pages.
#pragma once
#include <cstdint>

#include "frontend/front_screens.h"

constexpr int kSaveModeSave = 1;
constexpr int kSaveModeLoad = 2;

// The list's words: the first row shows slot SaveListScroll + 1; the
// entry under the pointer (slot s: save or load s, delete s + 100, Cancel 10;
// -1 none); the last result code (-1 none).
extern int32_t SaveListScroll;
extern int32_t SaveListMaxScroll;
extern int32_t SaveListHovered;
extern int32_t SaveListMessage;
// The line at the bottom of the page: hints and result messages.
extern char SaveListStatus[100];

// Opens the page in save (1) or load (2) mode, as the main menu does: the
// list at its top, scrollable to the first free slot in save mode (to the
// last saved game in load mode), and the page "Save Game" or "Load Game"
// pushed.
void OpenSaveLoadPage(int mode);
