#include "screens/character/page_kit.h"

#include <cstdio>
#include <cstring>

#include "engine/click_sound.h"
#include "engine/help_lookup.h"
#include "engine/help_pages.h"
#include "engine/page_history.h"
#include "engine/text.h"
#include "engine/widgets.h"
#include "rules/item_tables.h"
#include "state/map_view_state.h"
#include "state/text_entry.h"

namespace {

constexpr int kCaptionCleared = 100;
constexpr int kHoverSample = 29;  // "Interface_2"

}  // namespace

void BeginCharacterPage() {
  std::memset(HoverCaption, 0, kCaptionCleared);
  CursorShape = kCursorRest;
}

int EndCharacterPage(bool navigationBar) {
  const int moved = navigationBar ? DrawHelpNavBar(1, -1) : 0;
  PollPointerButtons();
  DrawMouseCursor();
  if (HoverCaption[0]) DrawWrappedText(-1, HoverCaption, 0, -1, 0, 0);
  return moved;
}

void PageTextAt(const char* text, int style, int column, int row) {
  DrawTextAt(kDefaultColour, kLargeColumns, 0, text, style, column, row, 1, 0, 0, 0);
}

bool PointerOnCells(int column, int row, int width) {
  return width > 0 && MouseInTextRow(row, column, width, 1, 1, 0);
}

bool LitText(const char* text, int style, int column, int row) {
  const bool over = PointerOnCells(column, row, static_cast<int>(std::strlen(text)));
  PageTextAt(text, over ? kStyleHover : style, column, row);
  return over;
}

void FormatSigned(char (&out)[16], int32_t value) {
  std::snprintf(out, sizeof out, value < 0 ? "%.2i" : "+%.2i", value);
}

void CopyCut(char* field, size_t size, const char* text, size_t most) {
  if (size == 0) return;
  std::memset(field, 0, size);
  if (text == nullptr) return;
  size_t n = strnlen(text, most);
  if (n > size - 1) n = size - 1;
  std::memcpy(field, text, n);
}

const char* HelpPageTitle(int64_t id) {
  if (id <= 0 || id > 0xFFFFFFFFll) return nullptr;
  const int index = FindHelpPage(static_cast<uint32_t>(id));
  return index >= 0 ? HelpPages[index].title : nullptr;
}

void SetHoverCaption(const char* text) { CopyCut(HoverCaption, kCaptionCleared, text, kCaptionCleared - 1); }

void PushCharacterPage(const char* caption, size_t most, int32_t type, int32_t parameter) {
  char cut[kPageCaptionSize];
  CopyCut(cut, sizeof cut, caption, most);
  PushPage(cut, type, parameter);
  if (TextEntryCreature >= 0) EndCreatureTextEntry();
  else TextEntryMode = kTextEntryNone;
  AttackLinesScroll = 0;
  PageWork.scroll = 0;
}

bool PushHelpPage(int32_t id) {
  const char* title = HelpPageTitle(id);
  if (title == nullptr) return false;
  PushCharacterPage(title, kCaptionShown, kPageHelpTopic, id);
  return true;
}

const char* ItemNameOfCode(uint32_t code, int32_t* pageType) {
  constexpr uint32_t kFirstBaseCode = 5000;
  if (code >= 1 && code < kFirstBaseCode) {
    if (pageType) *pageType = static_cast<int32_t>(code) + kPageItemPropertiesLast;
    return CraftedWeapons[code].name;
  }
  if (code > kFirstBaseCode && code - kFirstBaseCode < static_cast<uint32_t>(kItemRows)) {
    if (pageType) *pageType = static_cast<int32_t>(code);
    return ItemTable[code - kFirstBaseCode].name;
  }
  return nullptr;
}

void HoverSoundFor(int32_t id) {
  if (HoverSoundMark == id) return;
  HoverSoundMark = id;
  PlaySampleOnIdleChannel(kHoverSample, 32);
}
