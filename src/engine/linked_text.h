// Linked text: word-wrapped text in a rectangle of character cells, with
// help keywords (@KEYWORD@), highlighted terms (between two 0xA3 bytes) and
// rolled numbers (@15|07@) in their colours, the link under the pointer, and
// the help page or roll breakdown a clicked link opens.
#pragma once
#include <cstdint>

#include "engine/help_pages.h"

// Kept between frames; ResetHover clears it.
struct LinkHoverState {
  int32_t hoveredChar;   // offset of the character under the pointer, -1 none
  int32_t linkStart;     // the hovered link's first and last offsets, -1 none
  int32_t linkEnd;
  char keyword[kHelpKeywordSize];  // the cached keyword under the pointer
  int32_t keywordPage;   // its help page index, -1 none
  int32_t mouseColumn;   // the pointer's cell in the last pass
  int32_t mouseRow;
};
extern LinkHoverState LinkHover;

// Results of the last pass: -1 when the text ran past the bottom row, 1 when
// it ended inside; the offset of the first character shown; the lines laid
// out (passed-over lines included); the cell after the last one used.
extern int32_t LinkedTextOverflow;
extern int32_t LinkedTextFirstShown;
extern int32_t LinkedTextLineCount;
extern int32_t LinkedTextEndColumn;
extern int32_t LinkedTextEndRow;

constexpr int32_t kCursorOverLink = 28;
constexpr uint32_t kHoveredLinkColour = 0xFFFC8740u;
constexpr uint32_t kLinkColour = 0xFF7DF7E7u;
constexpr uint32_t kMarkedColour = 0xFF97F870u;

// Lays out (and with draw 1 draws) the text in the cells from (left, top) to
// (right, bottom), starting firstLine lines into the text. With rollLinks
// the '|' runs of rolled numbers are hidden and links are live. Returns 1.
int DrawLinkedText(const char* text, int style, int left, int top, int right, int bottom, int firstLine,
                   int rollLinks, int large, int draw);
void ResetLinkHover();
// How many times a text was laid out (each text is laid out again only when
// it or its place changes; for tests).
int LinkedTextLayoutsMade();

// Implemented by the combat roll log of the rules: copies the caption (at
// most 40 characters) of the roll a link points at into out, NUL-ended;
// false for a roll past the log.
constexpr int kRollCaptionSize = 40;
bool CombatRollCaption(int roll, char (&out)[kRollCaptionSize + 1]);
