// The body of a page that explains a value by its modifier list: the caption
// (a link to the value's help page), one row per source with its signed
// value, and the total, which says when the list could not hold every
// source.
#pragma once
#include <cstdint>

struct ModifierList;

constexpr int kModifierFirstRow = 4;
constexpr int kModifierValueColumn = 35;

struct ModifierRowsDrawn {
  int rows;        // rows drawn, 1 for the "no modifiers" line
  int32_t sum;     // the sum of the values drawn
  int hoveredRow;  // the pair under the pointer, -1 none
};

// Draws the caption on row 2 (the hover style under the pointer); true
// while the pointer is on it.
bool DrawModifierCaption(const ModifierList& list);
// Draws the pairs from row 4 until a pair (0, 0), at most 20; with
// `firstSourceEnds` a first pair of source 0 shows no rows at all. With no
// rows, "No modifiers apply to this value." takes the first row.
ModifierRowsDrawn DrawModifierRows(const ModifierList& list, bool firstSourceEnds);
// The total one blank row below the rows: "Total" when the drawn values
// sum to it, else "Total (List Not Complete)".
void DrawModifierTotal(const ModifierList& list, const ModifierRowsDrawn& drawn);
