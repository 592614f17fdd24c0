#include "screens/character/modifier_rows.h"

#include <cstring>

#include "engine/widgets.h"
#include "rules/conditions.h"
#include "rules/modifier_list.h"
#include "screens/character/page_kit.h"

bool DrawModifierCaption(const ModifierList& list) {
  char caption[sizeof list.caption + 1] = {};
  std::memcpy(caption, list.caption, sizeof list.caption);
  if (caption[0] == '\0') return false;
  const bool over = MouseInRect(16, 16, 8 * 40, 8);
  PageTextAt(caption, over ? kStyleHover : kStyleTitle, 2, 2);
  return over;
}

ModifierRowsDrawn DrawModifierRows(const ModifierList& list, bool firstSourceEnds) {
  ModifierRowsDrawn drawn{0, 0, -1};
  const bool none = firstSourceEnds && list.pairs[0].source == 0;
  for (int i = 0; !none && i < kModifierPairs; ++i) {
    const ModifierPair& p = list.pairs[i];
    if (p.source == 0 && p.value == 0) break;
    const int row = kModifierFirstRow + i;
    const char* name = ConditionName(static_cast<uint32_t>(p.source));
    const int width = static_cast<int>(std::strlen(name));
    const bool over = MouseInRect(8 * row, 16, 8 * width, 8);
    char value[16];
    FormatSigned(value, p.value);
    PageTextAt(name, over ? kStyleHover : kStylePink, 2, row);
    PageTextAt(value, over ? kStyleHover : kStyleGreen, kModifierValueColumn, row);
    if (over) drawn.hoveredRow = i;
    drawn.sum += p.value;
    ++drawn.rows;
  }
  if (drawn.rows == 0) {
    PageTextAt("No modifiers apply to this value.", kStylePink, 2, kModifierFirstRow);
    drawn.rows = 1;
  }
  return drawn;
}

void DrawModifierTotal(const ModifierList& list, const ModifierRowsDrawn& drawn) {
  const int row = kModifierFirstRow + 1 + drawn.rows;
  PageTextAt(drawn.sum == list.total ? "Total" : "Total (List Not Complete)", kStyleWhite, 2, row);
  char value[16];
  FormatSigned(value, list.total);
  PageTextAt(value, kStyleWhite, kModifierValueColumn, row);
}
