#include "screens/character/sheet_description.h"

#include "engine/input.h"
#include "engine/linked_text.h"
#include "engine/page_history.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "screens/character/page_kit.h"

namespace {

constexpr int kFirstRow = 5, kLeftColumn = 1, kRightColumn = 38, kWidth = 38;
constexpr int kArrowX = 304, kUpArrowY = 40;

// The second text's own link hover, kept from frame to frame.
LinkHoverState SideHover = {-1, -1, -1, {}, -1, -1, -1};

void LineUp() {
  if (BackgroundScroll > 0) --BackgroundScroll;
}

}  // namespace

bool DrawSheetDescription(const char* text, const DescriptionBox& box) {
  DrawLinkedText(text, kStylePink, kLeftColumn, kFirstRow, kRightColumn, box.bottomRow, BackgroundScroll, 1, 1, 1);
  return LinkedTextOverflow == -1;
}

void ScrollSheetDescription(const DescriptionBox& box, bool more) {
  const int wheel = GetMouseWheel();
  if (wheel != 0 && MouseInRect(kUpArrowY, 8, 304, box.wheelBottomY - kUpArrowY + 1)) {
    if (wheel > 0) LineUp();
    else if (more) ++BackgroundScroll;
  }
  const bool up = box.lockArrowKeys ? KeyPressed(kKeyUp) || KeyPressed(kKeyPageUp) : KeyHeld(kKeyUp) || KeyHeld(kKeyPageUp);
  const bool down =
      box.lockArrowKeys ? KeyPressed(kKeyDown) || KeyPressed(kKeyPageDown) : KeyHeld(kKeyDown) || KeyHeld(kKeyPageDown);
  if (up) {
    if (box.lockArrowKeys && BackgroundScroll > 0) LatchKey(kKeyUp);
    LineUp();
  } else if (down && more) {
    if (box.lockArrowKeys) LatchKey(kKeyDown);
    ++BackgroundScroll;
  }

  if (CursorShape == kCursorRest && MouseInTextRow(kFirstRow, kLeftColumn, kWidth, 1, 1, 0) &&
      ScrollControl(BackgroundScroll > 0, true))
    LineUp();
  if (CursorShape == kCursorRest && MouseInTextRow(box.bottomRow, kLeftColumn, kWidth, 1, 1, 0) &&
      ScrollControl(more, false) && more)
    ++BackgroundScroll;
  if (BackgroundScroll > 0) DrawFigureSprite(kArrowUpFrame, kArrowX, kUpArrowY, 0xFFFFFFFFu, 0);
  if (more) DrawFigureSprite(kArrowDownFrame, kArrowX, box.downArrowY, 0xFFFFFFFFu, 0);
}

bool ScrollControl(bool offered, bool up) {
  if (offered) {
    SetHoverCaption(up ? "Scroll Up" : "Scroll Down");
    CursorShape = up ? kCursorScrollUp : kCursorScrollDown;
  } else {
    CursorShape = kCursorRefused;
  }
  if (!ButtonPressed(0)) return false;
  LatchButton(0);
  return true;
}

void DrawSideLinkedText(const char* text, int style, int left, int top, int right, int bottom) {
  const LinkHoverState description = LinkHover;
  const int32_t overflow = LinkedTextOverflow, firstShown = LinkedTextFirstShown, lines = LinkedTextLineCount,
                endColumn = LinkedTextEndColumn, endRow = LinkedTextEndRow;
  LinkHover = SideHover;
  DrawLinkedText(text, style, left, top, right, bottom, 0, 1, 1, 1);
  SideHover = LinkHover;
  LinkHover = description;
  LinkedTextOverflow = overflow;
  LinkedTextFirstShown = firstShown;
  LinkedTextLineCount = lines;
  LinkedTextEndColumn = endColumn;
  LinkedTextEndRow = endRow;
}
