#include "party/level_up_words.h"

int32_t PendingLevelUpChoices[4] = {-1, -1, -1, -1};
int32_t FeatSlotCounter = 1;
int32_t SpellSlotCounter = 1;
int32_t LevelUpBackup[kLevelUpBackupWords] = {};

void ResetLevelUpWords() {
  for (int32_t& choice : PendingLevelUpChoices) choice = -1;
  FeatSlotCounter = 1;
  SpellSlotCounter = 1;
  for (int32_t& word : LevelUpBackup) word = 0;
}
