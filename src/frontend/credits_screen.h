// The credits page (page type 134): the list of those who made the game,
// scrolling up and starting again from the top.
#pragma once
#include <cstdint>

// The scroll position in pixels (0 to 472) and the frame counter that moves
// it every second frame; both 0 when the page is left.
extern int32_t CreditsScroll;
extern int32_t CreditsTick;
constexpr int32_t kCreditsScrollEnd = 472;

struct CreditsLine {
  const char* text;  // at most 24 characters; "" draws nothing
  int style;
  int sheet;  // the sprite beside the line: sheet and frame, -1 none
  int frame;
};
constexpr int kCreditsLineCount = 56;
extern const CreditsLine CreditsLines[kCreditsLineCount];
// Line n of the list, or an empty line past its end.
const CreditsLine& CreditsLineAt(int n);
