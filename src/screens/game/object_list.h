// The list of the objects lying on a square (screen mode 5) and what it
// knows of an object code: crafted items, base items, gold and the piles of
// gems and special arrows.
#pragma once
#include <cstdint>

// The list's box in character cells.
struct PopupCellBoxWords {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};
extern PopupCellBoxWords PopupCellBox;

// What an object code on a square stands for: a crafted row, a base item
// row, gold or a pile (row: the base item row of its picture and price;
// count: the amount; label: the caption's format), or nothing the tables
// know (base codes past the item table, codes in no band).
struct ShownObject {
  enum Kind { kUnknown, kCrafted, kBase, kGold, kStack } kind = kUnknown;
  int32_t row = -1;
  int32_t count = 0;
  const char* label = nullptr;
};
ShownObject DescribeObject(int32_t code);

// Whether a present party member sees the square; whether one stands within
// 14 feet of it.
bool SquareSeenByParty(int x, int y);
bool PartyMemberNearSquare(int x, int y);
