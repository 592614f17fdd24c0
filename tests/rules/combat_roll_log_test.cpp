// Trimming the combat roll log: the kept rolls move down and every roll link
// of the message log still opens its own roll.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "engine/message_log.h"
#include "rules/combat_roll_log.h"
#include "rules/modifier_list.h"

namespace {

void SetLog(const std::string& text) {
  ClearMessageLog();
  std::memcpy(MessageLogText, text.data(), text.size());
  MessageLogText[text.size()] = '\0';
}

// Stores rolls whose totals are 1000 + their number, each with its link line.
void RecordRolls(int count) {
  for (int i = 0; i < count; ++i) {
    ModifierList roll;
    roll.total = 1000 + i;
    const int index = StoreCombatRoll(roll);
    LogMessage("Roll @%i|%.2i@.\r", roll.total, index);
  }
}

TEST(CombatRollLog, BelowTheLimitOnlyTheChangedFlagIsSet) {
  ResetModifierListState();
  CombatRollCount = 98;
  SetLog("Hit @12|30@.");
  MessageLogChanged = 0;
  TrimMessageLog();
  EXPECT_EQ(MessageLogChanged, 1);
  EXPECT_EQ(CombatRollCount, 98);
  EXPECT_STREQ(MessageLogText, "Hit @12|30@.");
}

TEST(CombatRollLog, KeptLinksAreRenumberedAndDroppedOnesOpenNothing) {
  ResetModifierListState();
  CombatRollCount = 99;
  CombatRollLog[30].total = 77;
  // The last link ends the text: it must be found all the same.
  SetLog("a @5|05@ b @12|30@ @9|45@");
  TrimMessageLog();
  EXPECT_EQ(CombatRollCount, 70);
  EXPECT_EQ(CombatRollLog[1].total, 77);
  EXPECT_STREQ(MessageLogText, "a \xA3" "5|99\xA3 b @12|01@ @9|16@");
}

TEST(CombatRollLog, ADeadLinkEndsTheScanAndStrayBarsAreLeftAlone) {
  ResetModifierListState();
  CombatRollCount = 99;
  // Older text before a link an earlier trim killed is not renumbered again;
  // a bar in plain text or a half mark is no link.
  SetLog("@3|50@ \xA3" "7|99\xA3 x|40 |3 @|60@ @-2|31@");
  TrimMessageLog();
  EXPECT_STREQ(MessageLogText, "@3|50@ \xA3" "7|99\xA3 x|40 |3 @|60@ @-2|02@");
  // A text too short for a link, and a bar at the very start of the log.
  CombatRollCount = 99;
  SetLog("|45");
  TrimMessageLog();
  EXPECT_STREQ(MessageLogText, "|45");
}

TEST(CombatRollLog, EveryLinkOpensItsOwnRollAcrossSeveralTrims) {
  ResetModifierListState();
  ClearMessageLog();
  RecordRolls(250);
  int live = 0;
  const char* p = MessageLogText;
  while ((p = std::strchr(p, '@')) != nullptr) {
    int total = 0, index = 0;
    if (std::sscanf(p, "@%d|%d@", &total, &index) == 2) {
      ASSERT_GE(index, 0);
      ASSERT_LT(index, CombatRollCount);
      EXPECT_EQ(CombatRollLog[index].total, total);
      ++live;
      p = std::strchr(p + 1, '@');
    }
    ++p;
  }
  EXPECT_EQ(live, CombatRollCount);
}

}  // namespace
