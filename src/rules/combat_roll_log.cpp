#include "rules/combat_roll_log.h"

#include <cstring>

#include "engine/message_log.h"
#include "rules/modifier_list.h"

namespace {
constexpr int kRollsKept = 70;
constexpr int kRollShift = kCombatRollLogSize - kRollsKept;  // 29
}  // namespace

void TrimMessageLog() {
  MessageLogChanged = 1;
  if (CombatRollCount < kCombatRollLogSize) return;
  for (int i = 0; i < kRollsKept; ++i) CombatRollLog[i] = CombatRollLog[i + kRollShift];
  for (int i = kRollsKept; i < kCombatRollLogSize; ++i) InitModifierList(&CombatRollLog[i]);
  CombatRollCount = kRollsKept;
  const size_t n = strnlen(MessageLogText, kMessageLogSize);
  for (size_t i = 0; i + 2 < n; ++i) {
    if (MessageLogText[i] != '|') continue;
    const char a = MessageLogText[i + 1], b = MessageLogText[i + 2];
    if (a < '0' || a > '9' || b < '0' || b > '9') continue;
    int v = (a - '0') * 10 + (b - '0') - kRollShift;
    if (v < 0) v = 0;
    MessageLogText[i + 1] = static_cast<char>('0' + v / 10);
    MessageLogText[i + 2] = static_cast<char>('0' + v % 10);
  }
}

int StoreCombatRoll(const ModifierList& list) {
  if (CombatRollCount < 0 || CombatRollCount >= kCombatRollLogSize) CombatRollCount = 0;
  CombatRollLog[CombatRollCount] = list;
  ++CombatRollCount;
  TrimMessageLog();
  return CombatRollCount - 1;
}
