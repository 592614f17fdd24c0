#include "frontend/save_load_screen.h"

#include "engine/page_history.h"
#include "engine/page_placeholder.h"
#include "frontend/saved_games.h"

int32_t SaveListScroll = 0;
int32_t SaveListMaxScroll = 0;
int32_t SaveListHovered = -1;
int32_t SaveListMessage = -1;
int32_t SaveListDeletePending = -1;
char SaveListStatus[100] = {};

void OpenSaveLoadPage(int mode) {
  const int free = FindFreeSaveSlot();
  SaveListScroll = 0;
  SaveListMaxScroll = free - (mode == kSaveModeSave ? 5 : 6);
  if (SaveListMaxScroll < 0) SaveListMaxScroll = 0;
  SaveListHovered = -1;
  PushPage(mode == kSaveModeSave ? "Save Game" : "Load Game", kPageSaveLoad, mode);
}

int SaveLoadScreen(int) {
  DrawPagePlaceholder("SaveLoadScreen");
  return 0;  // the frame ends the scene
}
