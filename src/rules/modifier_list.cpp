#include "rules/modifier_list.h"

#include <cstring>

#include "engine/linked_text.h"
#include "engine/reset_words.h"

ModifierList CombatRollLog[kCombatRollLogSize];
int32_t CombatRollCount = 0;

bool CombatRollCaption(int roll, char (&out)[kRollCaptionSize + 1]) {
  if (roll < 0 || roll >= kCombatRollLogSize) return false;
  std::memcpy(out, CombatRollLog[roll].caption, kRollCaptionSize);
  out[kRollCaptionSize] = 0;
  return true;
}

void InitModifierList(ModifierList* list) {
  std::memset(list->caption, 0, sizeof list->caption);
  list->helpTopic = -1;
  list->total = 0;
  for (ModifierPair& p : list->pairs) p = ModifierPair{0, 0};
}

void InitValuePair(ValuePair* pair) {
  pair->first = 0;
  pair->second = 0;
}

bool AddModifier(int32_t value, ModifierList* list, int32_t source) {
  list->total += value;
  for (ModifierPair& p : list->pairs) {
    if (p.source == 0 && p.value == 0) {
      p.source = source;
      p.value = value;
      return true;
    }
  }
  return false;
}

bool RemoveModifier(ModifierList* list, int32_t source, uint8_t all) {
  bool removed = false;
  bool again = true;
  while (again) {
    again = false;
    for (int i = 0; i < kModifierPairs; ++i) {
      ModifierPair& p = list->pairs[i];
      if (p.source == 0 && p.value == 0) break;
      if (p.source != source) continue;
      list->total -= p.value;
      removed = true;
      if (i == kModifierPairs - 1) {
        p = ModifierPair{0, 0};
        return true;
      }
      for (int j = i; j < kModifierPairs - 1; ++j) list->pairs[j] = list->pairs[j + 1];
      list->pairs[kModifierPairs - 1] = ModifierPair{0, 0};
      if (!all) return true;
      again = true;
      break;
    }
  }
  return removed;
}

void ResetModifierListState() {
  ResetWords(CombatRollLog);
  CombatRollCount = 0;
}
