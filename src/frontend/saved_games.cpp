#include "frontend/saved_games.h"

#include "frontend/save_load_screen.h"
#include "platform/files.h"
#include "state/game_progress.h"

#include <cstdio>

PlayTimeClock PlayTime;

const char* SavedGameMessage(int) { return nullptr; }

int FindFreeSaveSlot() {
  char path[300];
  for (int slot = 1;; ++slot) {
    std::snprintf(path, sizeof path, "SaveGame\\%s\\%i\\Details.dat", AdventureFolder, slot);
    if (!platform::GameFileExists(path)) return slot;
  }
}

bool CloseSaveSlotGap(int, int) { return true; }
int WriteSavedGame(int) { return kSaveCharactersFailed; }
int LoadSavedGame(int) { return kLoadCharactersFailed; }
int DeleteSavedGame(int) { return kDeleteCharactersFailed; }
bool ResetTransientState() { return true; }
bool ClearGameStateArrays() { return true; }
void StartPlayTimeClock() { PlayTime = {}; }
bool UpdatePlayTime() { return true; }
