#include "state/text_entry.h"

#include "engine/page_history.h"
#include "engine/reset_words.h"

uint32_t TextEntryMode = kTextEntryNone;
char NameEditBuffer[kNameEditSize] = {};
uint32_t NameEditCursor = 0;
char BackgroundEditBuffer[kBackgroundEditSize] = {};
char ItemDescriptionBuffer[kItemDescriptionEditSize] = {};
int32_t TextEntryCreature = -1;
int32_t TextEntryDepth = -1;
int32_t TextEntryItem = -1;

namespace {

constexpr int32_t kItemSheetBase = 10000;

bool TopPageIs(int32_t type, int32_t depth) {
  return depth == PageDepth && PageDepth >= 0 && PageDepth < kPageHistorySize && PageHistory[PageDepth].type == type;
}

}  // namespace

void BeginCreatureTextEntry(uint32_t mode, int32_t creature) {
  TextEntryMode = mode;
  TextEntryCreature = creature;
  TextEntryItem = -1;
  TextEntryDepth = PageDepth;
}

void BeginItemTextEntry(uint32_t mode, int32_t item) {
  TextEntryMode = mode;
  TextEntryCreature = -1;
  TextEntryItem = item;
  TextEntryDepth = PageDepth;
}

void EndCreatureTextEntry() {
  TextEntryMode = kTextEntryNone;
  ResetWords(NameEditBuffer);
  ResetWords(BackgroundEditBuffer);
  ResetWords(ItemDescriptionBuffer);
  TextEntryItem = -1;
  NameEditCursor = 0;
  TextEntryCreature = -1;
  TextEntryDepth = -1;
  TextEntryItem = -1;
}

bool CreatureTextEntryStillOpen() {
  if (TextEntryItem >= 0) {
    if (TextEntryMode != kTextEntryItemName && TextEntryMode != kTextEntryItemDescription) {
      TextEntryItem = -1;
      TextEntryDepth = -1;
      return TextEntryMode != kTextEntryNone;
    }
    if (TopPageIs(kItemSheetBase + TextEntryItem, TextEntryDepth)) return true;
    EndCreatureTextEntry();
    return false;
  }
  if (TextEntryCreature < 0) return TextEntryMode != kTextEntryNone;
  if (TextEntryMode != kTextEntryCharacterName && TextEntryMode != kTextEntryCreatureDescription) {
    // Ended meanwhile by whoever closed it: the record is forgotten.
    TextEntryCreature = -1;
    TextEntryDepth = -1;
    return TextEntryMode != kTextEntryNone;
  }
  const bool onPage = TextEntryDepth == PageDepth && PageDepth >= 0 && PageDepth < kPageHistorySize &&
                      PageHistory[PageDepth].type == kPageCharacterRecord &&
                      PageHistory[PageDepth].parameter == TextEntryCreature;
  if (onPage) return true;
  EndCreatureTextEntry();
  return false;
}

void ResetTextEntryState() {
  TextEntryMode = kTextEntryNone;
  ResetWords(NameEditBuffer);
  NameEditCursor = 0;
  ResetWords(BackgroundEditBuffer);
  ResetWords(ItemDescriptionBuffer);
  TextEntryCreature = -1;
  TextEntryDepth = -1;
  TextEntryItem = -1;
}
