#include "state/text_entry.h"

#include "engine/reset_words.h"

uint32_t TextEntryMode = kTextEntryNone;
char NameEditBuffer[kNameEditSize] = {};
uint32_t NameEditCursor = 0;
char CreatureDescriptionBuffer[kCreatureDescriptionEditSize] = {};
char ItemDescriptionBuffer[kItemDescriptionEditSize] = {};

void ResetTextEntryState() {
  TextEntryMode = kTextEntryNone;
  ResetWords(NameEditBuffer);
  NameEditCursor = 0;
  ResetWords(CreatureDescriptionBuffer);
  ResetWords(ItemDescriptionBuffer);
}
