#include "adventure/quest_journal.h"

std::vector<JournalEntry> QuestJournal;

void ResetQuestJournal() {
  QuestJournal.clear();
  QuestJournal.resize(kJournalEntryCount);
}
