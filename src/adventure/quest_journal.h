// The quest journal: 200 entries that the adventure's scripts write (a text
// that grows as a quest advances, a state and a value), shown by the journal
// page and kept in saved games.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// One entry. A script's write makes the length the text's length in bytes;
// an entry read from a saved game keeps the file's length, which may exceed
// its text (the file pads the text with zeros to it).
struct JournalEntry {
  uint32_t length = 0;
  std::string text;    // no terminator of its own; at most kJournalTextLimit bytes
  uint32_t state = 0;  // 0 not started, 1 started; further values as the scripts define
  uint32_t value = 0;
};

// The states the journal itself gives meaning to.
enum JournalState : uint32_t {
  kJournalNotStarted = 0,
  kJournalStarted = 1,
  kJournalCompleted = 2,
};

constexpr int kJournalEntryCount = 200;
// Saved games carry a text through a 10,000-byte buffer: a text is kept
// within 9,999 bytes and an append beyond that is cut there.
constexpr uint32_t kJournalTextLimit = 9999;
// The sound of a journal entry being written.
constexpr int kJournalSample = 54;

extern std::vector<JournalEntry> QuestJournal;

// An entry with no text, state 0 and value 0.
JournalEntry ResetJournalEntry();
// Empties the journal and gives it its 200 reset entries (start-up, a new
// game, "Start Adventuring", and before a saved journal is read).
void ResetQuestJournal();

// The journal commands of the scripts. An entry outside 0 to 199 changes
// nothing (and leaves a debug line).
// Replaces the entry's text (append 1: adds to it), sets its value, starts
// it when it was not started, and plays the journal sound.
void WriteJournalText(int entry, const char* text, int append, uint32_t value);
// Sets the entry's state; completing (2) an entry not yet started is ignored.
void SetJournalState(int entry, uint32_t state);
// Whether the entry has that state (false outside 0 to 199).
bool JournalEntryHasState(int entry, uint32_t state);
