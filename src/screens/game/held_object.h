// The object lifted from a square's object list and carried on the cursor
// until it is dropped or handed over: its code (0 none; 99,999 stands for
// every object of the square), the square it came from and its stack level.
#pragma once
#include <cstdint>

struct HeldObjectWords {
  int32_t code = 0;
  int32_t x = 0, y = 0;
  int32_t level = 0;
};
extern HeldObjectWords HeldObject;
// The code that stands for every object of the square.
constexpr int32_t kHeldWholeSquare = 99999;
