// The message log: appending, the 3,000-byte trim and the cleaning of the new head.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/message_log.h"

namespace {

void FillLog(const std::string& text) {
  ClearMessageLog();
  std::memcpy(MessageLogText, text.data(), text.size());
  MessageLogText[text.size()] = '\0';
  MessageLogChanged = 0;
}

TEST(MessageLog, AppendsAndSetsTheChangedFlag) {
  ClearMessageLog();
  MessageLogChanged = 0;
  EXPECT_EQ(LogMessage("\xA3%s\xA3 saves (DC @%i|%.2i@).\r", "Aldric", 15, 7), 29);
  EXPECT_STREQ(MessageLogText, "\xA3" "Aldric\xA3 saves (DC @15|07@).\r");
  EXPECT_EQ(MessageLogChanged, 1);
  LogMessage("Second line.\r");
  EXPECT_STREQ(MessageLogText + 29, "Second line.\r");
}

TEST(MessageLog, TrimDropsThreeThousandBytesBeforeAppending) {
  FillLog(std::string(9990, 'x'));
  MessageLogScroll = 12;
  EXPECT_EQ(LogMessage("%s", std::string(20, 'y').c_str()), 20);
  EXPECT_EQ(std::strlen(MessageLogText), 7010u);
  EXPECT_EQ(MessageLogScroll, 0);
  EXPECT_EQ(std::string(MessageLogText + 6990), std::string(20, 'y'));
  // A line that still fits does not trim.
  FillLog(std::string(9979, 'x'));
  LogMessage("%s", std::string(20, 'y').c_str());
  EXPECT_EQ(std::strlen(MessageLogText), 9999u);
}

// The head left by a trim, as the first characters after offset 3,000.
TEST(MessageLog, HeadCleaningAfterATrim) {
  struct Case {
    const char* head;
    const char* cleaned;
  } cases[] = {
      // The tail of a keyword whose '@' was cut off: blanked through its mark.
      {"IRON_WILL@ saves.", "           saves."},
      {"ILL\xA3: the rest", "    : the rest"},
      {"15|07@) and more", "      ) and more"},
      // A mark that opens cleanly stays.
      {" @IRON_WILL@ saves.", " @IRON_WILL@ saves."},
      {"(@15|07@)", "(@15|07@)"},
      {"\r\xA3Name\xA3 hits.", "\r\xA3Name\xA3 hits."},
      // A closing mark not followed by the end of a word is left alone.
      {"ab@cd and more", "ab@cd and more"},
  };
  for (const Case& c : cases) {
    const std::string tail = c.head + std::string(6980 - std::strlen(c.head), 'z');
    FillLog(std::string(3000, 'x') + tail);  // 9,980 characters
    LogMessage("%s", std::string(30, 'y').c_str());
    const std::string expected = c.cleaned + std::string(6980 - std::strlen(c.head), 'z') + std::string(30, 'y');
    const std::string got(MessageLogText);
    EXPECT_TRUE(got == expected) << c.head << " became \"" << got.substr(0, 40) << "\"";
  }
}

TEST(MessageLog, HeadCleaningLooksAtTheFirstFiftyCharactersOnly) {
  const std::string late = std::string(50, 'a') + "B@ rest";
  FillLog(std::string(3000, 'x') + late + std::string(6950 - late.size(), 'z'));
  LogMessage("%s", std::string(60, 'y').c_str());
  EXPECT_EQ(std::string(MessageLogText, late.size()), late);
  // The scan stops at the end of a short head and never reads the stale
  // bytes behind its NUL (here "b" followed by stale "@ ").
  FillLog(std::string(3000, 'x') + "ab");
  std::memcpy(MessageLogText + 3003, "@ stale", 7);
  TrimMessageLogHead();
  EXPECT_STREQ(MessageLogText, "ab");
}

// The formats below are built on purpose: their length is what is tested.
#ifdef __clang__
#pragma clang diagnostic ignored "-Wformat-security"
#endif
TEST(MessageLog, FormatsOfMoreThan999CharactersAreRefused) {
  ClearMessageLog();
  const std::string ok(999, 'a'), tooLong(1000, 'a');
  EXPECT_EQ(LogMessage(ok.c_str()), 999);
  EXPECT_EQ(std::strlen(MessageLogText), 999u);
  MessageLogChanged = 0;
  EXPECT_EQ(LogMessage(tooLong.c_str()), -1);
  EXPECT_EQ(std::strlen(MessageLogText), 999u);
  EXPECT_EQ(MessageLogChanged, 0);
}

TEST(MessageLog, AFormattedLineLongerThanItsBufferIsCut) {
  ClearMessageLog();
  const std::string big(5000, 'q');
  EXPECT_EQ(LogMessage("%s", big.c_str()), 999);
  EXPECT_EQ(std::strlen(MessageLogText), 999u);
}

}  // namespace
