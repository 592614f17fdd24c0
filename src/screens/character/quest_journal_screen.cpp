// The quest journal: the started entries as paragraphs of linked text, each
// entry's follow-ups indented under it, filtered by "Pending", "Completed"
// or "All" and scrolled a whole entry at a time.
#include "screens/character/quest_journal_screen.h"

#include <bitset>

#include "adventure/quest_journal.h"
#include "engine/input.h"
#include "engine/last_screen.h"
#include "engine/linked_text.h"
#include "engine/page_history.h"
#include "engine/sprite_sheets.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "screens/character/character_screens.h"
#include "screens/character/page_kit.h"
#include "screens/character/sheet_description.h"

int32_t JournalFilter = kJournalFilterAll;
int32_t JournalNextRow = 3;
int32_t JournalScrolledOff = 0;

namespace {

constexpr int kFirstRow = 3, kLastRow = 25;
constexpr int kStyleCompleted = 4, kStylePending = 5, kStyleChosen = 7;
constexpr int kBorderSheet = 53, kRuleLeft = 85, kRuleRight = 112;
constexpr int kCompletedMark = 962, kFollowUpMark = 965;
// Rows a measured text may take (a journal text is at most 9,999 bytes).
constexpr int kMeasureRows = 4000;

// The entries met in the current pass: each is shown once, whatever its
// parent links say.
std::bitset<kJournalEntryCount> Visited;
bool PassFull = false;

const JournalEntry* Entry(int i) {
  return i >= 0 && i < kJournalEntryCount && static_cast<size_t>(i) < QuestJournal.size() ? &QuestJournal[i] : nullptr;
}

uint32_t StateOf(int i) {
  const JournalEntry* e = Entry(i);
  return e ? e->state : 0;
}

// The parent of an entry, 0 for none and for a link that names no entry.
int ParentOf(int i) {
  const JournalEntry* e = Entry(i);
  return e && e->value < static_cast<uint32_t>(kJournalEntryCount) ? static_cast<int>(e->value) : 0;
}

bool PassesFilter(int i) {
  const uint32_t state = StateOf(i);
  if (state < kJournalStarted) return false;
  switch (JournalFilter) {
    case kJournalFilterPending: return state == kJournalStarted || IsQuestInChain(i);
    case kJournalFilterCompleted: return state == kJournalCompleted;
    default: return true;
  }
}

// Whether the entry's parent links lead back to itself (its own parent, or
// a ring of entries): such an entry could never be reached from the top.
bool OnLoop(int i) {
  int link = ParentOf(i);
  for (int step = 0; link != 0 && step < kJournalEntryCount; ++step) {
    if (link == i) return true;
    link = ParentOf(link);
  }
  return false;
}

// The top level holds the entries without a started parent, and those on a
// loop of parent links, so that every started entry is shown somewhere.
bool BelongsTo(int i, int parent) {
  const int link = ParentOf(i);
  if (parent == 0) return link == 0 || StateOf(link) == kJournalNotStarted || OnLoop(i);
  return link == parent;
}

void StartPass() {
  JournalNextRow = kFirstRow;
  LinkedTextOverflow = 0;
  JournalScrolledOff = 0;
}

void EndPass() { LinkedTextOverflow = PassFull ? -1 : 0; }

void Pass(int draw) {
  StartPass();
  DrawQuestEntries(0, 0, draw);
  EndPass();
}

void ScrollUp() {
  if (BackgroundScroll > 0) --BackgroundScroll;
}

// The three choices of the filter on the title row.
void FilterChoices() {
  struct Choice {
    int32_t filter;
    const char* text;
    int column, left, width;
  };
  static constexpr Choice kChoices[3] = {{kJournalFilterPending, "Pending", 17, 136, 56},
                                         {kJournalFilterCompleted, "Completed", 25, 200, 72},
                                         {kJournalFilterAll, "All", 35, 280, 24}};
  PageTextAt("       /         /   ", kStyleGreen, 17, 1);
  PageTextAt("Pending Completed All", kStyleTitle, 17, 1);
  for (const Choice& c : kChoices) {
    if (c.filter == JournalFilter) {
      PageTextAt(c.text, kStyleChosen, c.column, 1);
      continue;
    }
    if (!MouseInRect(8, c.left, c.width, 8)) continue;
    PageTextAt(c.text, kStyleHover, c.column, 1);
    CursorShape = kCursorArrow;
    if (ButtonPressed(0)) {
      LatchButton(0);
      BackgroundScroll = 0;
      JournalFilter = c.filter;
    }
  }
}

void ScrollByWheelAndKeys() {
  const bool more = LinkedTextOverflow == -1;
  const int wheel = GetMouseWheel();
  if (wheel != 0 && MouseInRect(24, 8, 304, 176)) {
    if (wheel > 0) ScrollUp();
    else if (more) ++BackgroundScroll;
  }
  if (BackgroundScroll > 0) {
    if (KeyPressed(kKeyUp) || KeyPressed(kKeyPageUp)) {
      LatchKey(kKeyUp);
      ScrollUp();
    }
    if (TakeKey(kKeyHome)) BackgroundScroll = 0;
  }
  if (more) {
    if (KeyPressed(kKeyDown) || KeyPressed(kKeyPageDown)) {
      LatchKey(kKeyDown);
      ++BackgroundScroll;
    }
    if (TakeKey(kKeyEnd)) {
      // Scrolled on entry by entry until the last one is in view.
      for (int i = 0; i < kJournalEntryCount; ++i) {
        ++BackgroundScroll;
        Pass(0);
        if (LinkedTextOverflow != -1) break;
      }
    }
  }
}

void ScrollArrows(bool more) {
  if (CursorShape != kCursorRest) return;
  if (more) {
    const bool over = MouseInTextRow(kLastRow, 1, 38, 1, 1, 0);
    DrawFigureSprite(kArrowDownFrame, 304, 200, over ? kHoveredArrowColour : 0xFFFFFFFFu, 0);
    if (over && ScrollControl(true, false)) ++BackgroundScroll;
  }
  if (BackgroundScroll > 0) {
    const bool over = MouseInTextRow(kFirstRow, 1, 38, 1, 1, 0);
    DrawFigureSprite(kArrowUpFrame, 304, 24, over ? kHoveredArrowColour : 0xFFFFFFFFu, 0);
    if (over && ScrollControl(true, true)) ScrollUp();
  }
}

}  // namespace

bool IsQuestInChain(int entry) {
  if (Entry(entry) == nullptr) return false;
  for (int i = 0; i < kJournalEntryCount; ++i) {
    if (StateOf(i) != kJournalStarted) continue;
    // Up the parent links; a chain longer than the journal has run into a loop.
    int link = ParentOf(i);
    for (int step = 0; link != 0 && step < kJournalEntryCount; ++step) {
      if (link == entry) return true;
      link = ParentOf(link);
    }
  }
  return false;
}

namespace {

void DrawEntries(int parent, int indent, int draw) {
  for (int i = 0; i < kJournalEntryCount && !PassFull; ++i) {
    if (Visited[i] || !PassesFilter(i) || !BelongsTo(i, parent)) continue;
    Visited[i] = true;
    if (BackgroundScroll > 0 && JournalScrolledOff < BackgroundScroll) {
      ++JournalScrolledOff;
    } else {
      const JournalEntry& e = *Entry(i);
      const int style = e.state == kJournalCompleted ? kStyleCompleted : kStylePending;
      DrawLinkedText(e.text.c_str(), style, 0, 0, 35 - indent, kMeasureRows, 0, 1, 1, 0);
      const int n = LinkedTextLineCount > 0 ? LinkedTextLineCount - 1 : 0;
      const int y = JournalNextRow;
      const bool clipped = y + n > kLastRow;
      if (clipped && y > kLastRow) {
        PassFull = true;
        return;
      }
      const int bottom = clipped ? kLastRow : y + n;
      DrawLinkedText(e.text.c_str(), style, indent + 2, y, 37, bottom, 0, 1, 1, draw);
      if (draw) {
        if (e.state == kJournalCompleted)
          DrawSheetFrame(kSheetInterface, kCompletedMark, 8 * indent + 8, 8 * y);
        else if (indent >= 1)
          DrawSheetFrame(kSheetInterface, kFollowUpMark, 8 * indent + 8, 8 * y);
      }
      JournalNextRow = y + n + 2;
      if (clipped) {
        PassFull = true;
        return;
      }
    }
    if (i > 0) DrawEntries(i, indent + 2, draw);
  }
}

}  // namespace

int DrawQuestEntries(int parent, int indent, int draw) {
  // A call for the top level starts a pass.
  if (parent == 0) {
    Visited.reset();
    PassFull = false;
  }
  DrawEntries(parent, indent, draw);
  if (PassFull) LinkedTextOverflow = -1;
  return 1;
}

int DrawQuestJournalScreen() {
  LastScreenDrawn = "DrawQuestJournalScreen";
  BeginCharacterPage();
  DrawFramedBox(0, 0, 0);
  DrawSeparatorLine(2, 0, 39, 2);
  DrawSheetFrame(kBorderSheet, kRuleLeft, 0, 24);
  DrawSheetFrame(kBorderSheet, kRuleRight, 312, 24);
  PageTextAt("Quest Journal", kStyleGreen, 2, 1);
  FilterChoices();

  Pass(1);
  ScrollByWheelAndKeys();
  ScrollArrows(LinkedTextOverflow == -1);
  EndCharacterPage(true);
  return 1;
}
