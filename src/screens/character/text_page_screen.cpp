// The help text page: one page of the help encyclopedia in a box of small
// cells, scrolled by a scroll bar with a draggable thumb, the arrows above
// and below it, the wheel and the keys, with the help navigation bar.
#include <cstring>
#include <string>

#include "engine/help_lookup.h"
#include "engine/help_pages.h"
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

uint8_t ScrollToEnd = 0;
uint8_t ScrollBarDrag = 0;

namespace {

// The text box in small cells.
constexpr int kLeft = 2, kTop = 2, kRight = 60, kBottom = 33;
constexpr int kLinesPerStep = 3;
constexpr int kThumbX = 304, kThumbFirstRow = 3, kThumbLastRow = 23, kThumbTravel = 20;
constexpr int kThumbTop = 482, kThumbMiddle = 483, kThumbBottom = 484;
constexpr int32_t kCursorDragHand = 100;
constexpr char kHighlightMark = '\xA3';
// A bound on the lines a text may be scrolled by while it is measured.
constexpr int32_t kMostScroll = 20000;

// The help page whose line count was measured (a page reached without a
// reset of the count is measured again).
uint32_t MeasuredPageId = 0;

// Whether the text, laid out from `scroll`, runs past the box.
bool RunsPast(const char* text, int32_t scroll) {
  DrawLinkedText(text, kStyleLabel, kLeft, kTop, kRight, kBottom, scroll, 1, 0, 0);
  return LinkedTextOverflow == -1;
}

// The smallest scroll from which the rest of the text fits the box.
int32_t LastScroll(const char* text) {
  int32_t scroll = 0;
  while (scroll < kMostScroll && RunsPast(text, scroll)) ++scroll;
  return scroll;
}

void ScrollUp(int32_t lines) { BackgroundScroll = BackgroundScroll > lines ? BackgroundScroll - lines : 0; }

// The thumb: drawn at its row, dragged with the left button.
void ScrollBar() {
  int t = BackgroundScroll * kThumbTravel / HelpLineCount + kThumbFirstRow;
  if (t > kThumbLastRow) t = kThumbLastRow;
  const bool over = MouseInRect(6 * t + 1, 306, 5, 60);
  if (over && ButtonPressed(0)) {
    LatchButton(0);
    ScrollBarDrag = 1;
  }
  if (ScrollBarDrag == 1) {
    if (!ButtonHeld(0)) {
      ScrollBarDrag = 0;
    } else {
      t = PointerY() / 6 - 5;
      if (t < kThumbFirstRow + 1) t = kThumbFirstRow;
      if (t > kThumbLastRow) t = kThumbLastRow;
      BackgroundScroll = (t - kThumbFirstRow) * HelpLineCount / kThumbTravel;
      if (BackgroundScroll > HelpLineCount) BackgroundScroll = HelpLineCount;
    }
  }
  const bool lit = over || ScrollBarDrag == 1;
  const uint32_t colour = lit ? kHoveredArrowColour : 0xFFFFFFFFu;
  if (lit) CursorShape = kCursorDragHand;
  DrawSheetFrame(kSheetInterface, kThumbTop, kThumbX, 6 * t, colour);
  for (int i = 1; i <= 8; ++i) DrawSheetFrame(kSheetInterface, kThumbMiddle, kThumbX, 6 * t + 6 * i, colour);
  DrawSheetFrame(kSheetInterface, kThumbBottom, kThumbX, 6 * t + 54, colour);
}

// The arrows above and below the bar and the keys; while the thumb is
// dragged the arrows are only drawn.
void ArrowsAndKeys(const char* text, bool live) {
  if (BackgroundScroll > 0) {
    const bool over = live && CursorShape == kCursorRest && MouseInRect(8, 8, 304, 8);
    DrawSheetFrame(kSheetInterface, kArrowUpFrame, kThumbX, 12, over ? kHoveredArrowColour : 0xFFFFFFFFu);
    if (over && ScrollControl(true, true)) ScrollUp(kLinesPerStep);
    if (live && TakeKey(kKeyUp)) ScrollUp(kLinesPerStep);
    if (live && KeyPressed(kKeyPageUp)) ScrollUp(1);
    if (live && TakeKey(kKeyHome)) BackgroundScroll = 0;
  }
  if (RunsPast(text, BackgroundScroll)) {
    const bool over = live && CursorShape == kCursorRest && MouseInRect(200, 8, 304, 8);
    DrawSheetFrame(kSheetInterface, kArrowDownFrame, kThumbX, 198, over ? kHoveredArrowColour : 0xFFFFFFFFu);
    if (over && ScrollControl(true, false)) BackgroundScroll += kLinesPerStep;
    if (live && TakeKey(kKeyDown)) BackgroundScroll += kLinesPerStep;
    if (live && KeyPressed(kKeyPageDown)) ++BackgroundScroll;
    if (live && TakeKey(kKeyEnd)) ScrollToEnd = 1;
  }
}

// The text a help page shows: its title as a highlighted heading (the words
// joined by '_', which shows as a space; no mark of the text's own), a blank
// line, then the page's text.
const char* PageText(int index) {
  static std::string shown;
  const HelpPage& page = HelpPages[index];
  const char* longText = LongHelpText(page.id);
  shown.assign(1, kHighlightMark);
  for (const char* t = page.title; *t != '\0' && t < page.title + sizeof page.title; ++t)
    if (*t != '@' && *t != kHighlightMark && *t != '\r') shown.push_back(*t == ' ' ? '_' : *t);
  shown += kHighlightMark;
  shown += "\r\r";
  shown += longText ? longText : page.text;
  return shown.c_str();
}

}  // namespace

int DrawTextPageScreen(int helpId) {
  LastScreenDrawn = "DrawTextPageScreen";
  BeginCharacterPage();
  DrawFramedBox(0, 0, 2);

  const uint32_t id = static_cast<uint32_t>(helpId);
  if (HelpPageIndexCache < 0 || HelpPageIndexCache >= HelpPagesLoaded || HelpPages[HelpPageIndexCache].id != id) {
    HelpPageIndexCache = FindHelpPage(id);
    if (HelpPageIndexCache >= 0) {
      PageFrame& top = PageHistory[PageDepth];
      std::memset(top.caption, 0, sizeof top.caption);
      CopyCut(top.caption, sizeof top.caption, HelpPages[HelpPageIndexCache].title, sizeof top.caption - 1);
    }
  }
  if (HelpPageIndexCache < 0) {
    // No page has the id: an empty page that the navigation bar still leaves.
    EndCharacterPage(true);
    return 0;
  }
  const char* text = PageText(HelpPageIndexCache);

  if (HelpLineCount < 0 || MeasuredPageId != id) {
    HelpLineCount = LastScroll(text);
    MeasuredPageId = id;
    BackgroundScroll = 0;
  }
  if (ScrollToEnd == 1) {
    while (BackgroundScroll < kMostScroll && RunsPast(text, BackgroundScroll)) ++BackgroundScroll;
    ScrollToEnd = 0;
  }

  DrawLinkedText(text, kStyleLabel, kLeft, kTop, kRight, kBottom, BackgroundScroll, 1, 0, 1);

  if (HelpLineCount > 0) {
    ScrollBar();
    const int wheel = ScrollBarDrag == 0 ? GetMouseWheel() : 0;
    if (wheel != 0 && MouseInRect(0, 0, 312, 208)) {
      if (wheel > 0) ScrollUp(kLinesPerStep);
      else if (RunsPast(text, BackgroundScroll)) BackgroundScroll += kLinesPerStep;
    }
    ArrowsAndKeys(text, ScrollBarDrag == 0);
  }

  DrawHelpNavBar(1, -1);
  if (ScrollBarDrag == 0) PollPointerButtons();
  DrawMouseCursor();
  if (HoverCaption[0]) DrawWrappedText(-1, HoverCaption, 0, -1, 0, 0);
  return 1;
}
