// The scrolled description of the item and spell sheets: linked text in
// large cells from column 1, row 5, scrolled a line at a time by the wheel,
// the keys and the first and last rows of the box, with its arrow marks;
// and a second linked text drawn beside it without disturbing its links.
#pragma once

struct DescriptionBox {
  int bottomRow;        // the last row of the text (and the "Scroll Down" row)
  int wheelBottomY;     // the wheel acts with the pointer at y 40 up to this
  int downArrowY;       // pixel row of the down arrow mark
  bool lockArrowKeys;   // the arrow keys act once per press (Page keys repeat)
};

// Draws the description from the page's scroll line; true when text
// remains below the box.
bool DrawSheetDescription(const char* text, const DescriptionBox& box);
// The wheel, the keys, the scroll rows (only while nothing else set the
// cursor) and the arrow marks.
void ScrollSheetDescription(const DescriptionBox& box, bool more);
// The pointer on a scroll arrow or row: "Scroll Up" or "Scroll Down" and
// its cursor when the scroll is offered, else the refusal cursor; true when
// a left press (latched) came.
bool ScrollControl(bool offered, bool up);
// Linked text of its own (from its first line) that keeps its own link
// hover and leaves the description's untouched.
void DrawSideLinkedText(const char* text, int style, int left, int top, int right, int bottom);
