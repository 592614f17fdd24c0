// The quest journal page's words and its two routines: which entries the
// filter shows and the drawing of an entry's follow-ups under it.
#pragma once
#include <cstdint>

enum JournalFilterChoice : int32_t {
  kJournalFilterAll = 0,
  kJournalFilterPending = 1,
  kJournalFilterCompleted = 2,
};
// The filter chosen (kept from visit to visit).
extern int32_t JournalFilter;
// The row the next entry is drawn on, and the entries passed over so far in
// this pass because the page is scrolled.
extern int32_t JournalNextRow;
extern int32_t JournalScrolledOff;

// Whether some pending entry has the entry among its ancestors (a finished
// entry stays under "Pending" while a follow-up is pending).
bool IsQuestInChain(int entry);
// Draws (draw 1) or only measures (0) the shown entries whose parent is
// `parent` (0: the top level), each followed by its own follow-ups indented
// two more columns. Each entry is met once in a pass, whatever its links
// say. Sets LinkedTextOverflow to -1 when it stopped at the page's bottom.
int DrawQuestEntries(int parent, int indent, int draw);
