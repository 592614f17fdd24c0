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

void BeginCreatureTextEntry(uint32_t mode, int32_t creature) {
  TextEntryMode = mode;
  TextEntryCreature = creature;
  TextEntryDepth = PageDepth;
}

void EndCreatureTextEntry() {
  TextEntryMode = kTextEntryNone;
  ResetWords(NameEditBuffer);
  ResetWords(BackgroundEditBuffer);
  NameEditCursor = 0;
  TextEntryCreature = -1;
  TextEntryDepth = -1;
}

bool CreatureTextEntryStillOpen() {
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
}
