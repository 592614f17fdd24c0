#include "adventure/quest_journal.h"

#include <algorithm>
#include <cstring>

#include "adventure/script_faults.h"
#include "engine/click_sound.h"
#include "engine/sound.h"

std::vector<JournalEntry> QuestJournal;

namespace {

// The entry, or null (with a debug line) outside the journal.
JournalEntry* EntryAt(int entry, const char* command) {
  if (!ScriptIndexFits(entry, std::min<int>(kJournalEntryCount, static_cast<int>(QuestJournal.size())), command,
                       "journal entry"))
    return nullptr;
  return &QuestJournal[static_cast<size_t>(entry)];
}

}  // namespace

JournalEntry ResetJournalEntry() { return JournalEntry{}; }

void ResetQuestJournal() {
  QuestJournal.clear();
  QuestJournal.resize(kJournalEntryCount, ResetJournalEntry());
}

void WriteJournalText(int entry, const char* text, int append, uint32_t value) {
  if (QuestJournal.size() < kJournalEntryCount) QuestJournal.resize(kJournalEntryCount, ResetJournalEntry());
  JournalEntry* e = EntryAt(entry, "journal text");
  if (!e) return;
  const char* source = text ? text : "";
  const size_t length = strnlen(source, kJournalTextLimit);
  if (append != 1) e->text.clear();
  if (e->text.size() > kJournalTextLimit) e->text.resize(kJournalTextLimit);
  const size_t room = kJournalTextLimit - e->text.size();
  if (length > room) ScriptDebugLine("journal text: entry %i is cut at %u bytes", entry, kJournalTextLimit);
  e->text.append(source, length < room ? length : room);
  e->value = value;
  if (e->state == kJournalNotStarted) e->state = kJournalStarted;
  e->length = static_cast<uint32_t>(e->text.size());
  PlaySampleOnIdleChannel(kJournalSample, kSoundChannelCount);
}

void SetJournalState(int entry, uint32_t state) {
  if (QuestJournal.size() < kJournalEntryCount) QuestJournal.resize(kJournalEntryCount, ResetJournalEntry());
  JournalEntry* e = EntryAt(entry, "journal state");
  if (!e) return;
  if (state == kJournalCompleted && e->state < kJournalStarted) return;
  e->state = state;
}

bool JournalEntryHasState(int entry, uint32_t state) {
  const JournalEntry* e = EntryAt(entry, "journal test");
  return e && e->state == state;
}
