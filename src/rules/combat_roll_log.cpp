#include "rules/combat_roll_log.h"

#include <cstdio>
#include <cstring>

#include "engine/message_log.h"
#include "rules/modifier_list.h"

namespace {

constexpr int kRollsKept = 70;
constexpr int kRollShift = kCombatRollLogSize - kRollsKept;  // 29
constexpr char kHighlight = '\xA3';
// A link that opens no roll.
constexpr int kDeadLink = 99;
// The longest rolled number a link may carry (a sign and ten digits).
constexpr int kLongestRolledNumber = 11;
// A link reads '@' number '|' two digits '@': the last '|' that can open one
// stands four bytes before the end of the text.
constexpr size_t kBarBeforeEnd = 4;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Whether the '|' at `bar` belongs to a roll link, live ('@' number '|' two
// digits '@') or already dead (the same between two highlight marks). On
// success the position of its opening mark is returned in *open.
bool IsRollLink(const char* text, size_t length, size_t bar, size_t* open) {
  if (bar + 3 >= length) return false;
  if (!IsDigit(text[bar + 1]) || !IsDigit(text[bar + 2])) return false;
  const char close = text[bar + 3];
  if (close != '@' && close != kHighlight) return false;
  // The rolled number before the bar: digits, perhaps a sign, then the
  // opening mark; looked for no further back than the longest number.
  size_t i = bar;
  int digits = 0;
  while (i > 0 && digits < kLongestRolledNumber && IsDigit(text[i - 1])) {
    --i;
    ++digits;
  }
  if (digits == 0) return false;
  if (i > 0 && text[i - 1] == '-') --i;
  if (i == 0 || text[i - 1] != close) return false;
  *open = i - 1;
  return true;
}

}  // namespace

void TrimMessageLog() {
  MessageLogChanged = 1;
  if (CombatRollCount < kCombatRollLogSize) return;
  CombatRollCount = kRollsKept;
  std::memmove(&CombatRollLog[0], &CombatRollLog[kRollShift], sizeof(ModifierList) * kRollsKept);
  char* text = MessageLogText;
  const size_t length = strnlen(text, kMessageLogSize);
  if (length < kBarBeforeEnd) return;
  // Newest text first; the scan ends at the first link already dead (or
  // reading 99), which an earlier trim left: older links were renumbered then.
  for (size_t bar = length - kBarBeforeEnd + 1; bar-- > 0;) {
    size_t open = 0;
    if (text[bar] != '|' || !IsRollLink(text, length, bar, &open)) continue;
    const int index = (text[bar + 1] - '0') * 10 + (text[bar + 2] - '0');
    if (index >= kDeadLink) break;
    if (text[open] == kHighlight) continue;  // a highlighted number, not a link
    if (index >= kRollShift) {
      char digits[3];
      std::snprintf(digits, sizeof digits, "%.2i", index - kRollShift);
      text[bar + 1] = digits[0];
      text[bar + 2] = digits[1];
    } else {
      // Its roll is gone: the number stays, highlighted, and opens nothing.
      text[open] = kHighlight;
      text[bar + 1] = '9';
      text[bar + 2] = '9';
      text[bar + 3] = kHighlight;
    }
    bar = open;
  }
}

int StoreCombatRoll(const ModifierList& list) {
  if (CombatRollCount < 0 || CombatRollCount >= kCombatRollLogSize) CombatRollCount = 0;
  CombatRollLog[CombatRollCount] = list;
  ++CombatRollCount;
  TrimMessageLog();
  return CombatRollCount - 1;
}
