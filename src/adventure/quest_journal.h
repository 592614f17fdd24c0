// The quest journal: 200 entries of the running game.
#pragma once
#include <cstdint>
#include <vector>

struct JournalEntry {
  int32_t length = 0;
  char text[400] = {};
  int32_t state = 0;
  int32_t value = 0;
};

constexpr int kJournalEntryCount = 200;
extern std::vector<JournalEntry> QuestJournal;
// Empties the journal and refills it with fresh entries.
void ResetQuestJournal();
