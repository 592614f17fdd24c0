// The help compiler's refusals of pages the game could not show.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "engine/help_pages.h"
#include "helpmaker/help_source.h"

namespace {

TEST(HelpSource, APageUnderTheIdThatDrawsNothingIsRefused) {
  const std::string page = "page %u Magic Items\nkeyword @MAGIC_ITEMS@\n\nRings and wondrous items.\n";
  char text[128];
  std::snprintf(text, sizeof text, page.c_str(), kBlankHelpId);
  const HelpResult refused = CompileHelp({{"items.txt", text}});
  ASSERT_EQ(refused.errors.size(), 1u);
  EXPECT_EQ(refused.errors[0].rfind("items.txt:1: error: page id 70010 draws nothing", 0), 0u) << refused.errors[0];
  EXPECT_TRUE(refused.file.empty());
  std::snprintf(text, sizeof text, page.c_str(), kBlankHelpId - 10);
  EXPECT_TRUE(CompileHelp({{"items.txt", text}}).errors.empty());
}

// A byte the game cannot show is refused once, by its field, and shown: a
// page refused for it neither leaves its text as text before a page nor its
// keyword as a link to no page.
TEST(HelpSource, AControlByteIsRefusedOnceAndShown) {
  using namespace std::string_literals;
  const struct {
    std::string source;
    const char* message;
  } cases[] = {
      {"page 10001 Ma\0gic\nkeyword @MAGIC@\n\nRings.\n\npage 10002 Rings\nkeyword @RINGS@\n\nSee @MAGIC@.\n"s,
       "items.txt:1: error: 'page' holds the control byte \\x00: '10001 Ma\\x00gic'"},
      {"page 10001 Magic\nkeyword @MAGIC@\n\nRings and\rwands.\n",
       "items.txt:4: error: 'text' holds the control byte \\x0d: 'Rings and\\x0dwands.'"},
  };
  for (const auto& c : cases) {
    const HelpResult refused = CompileHelp({{"items.txt", c.source}});
    ASSERT_EQ(refused.errors.size(), 1u) << c.message;
    EXPECT_EQ(refused.errors[0], c.message);
    EXPECT_TRUE(refused.file.empty());
  }
}

}  // namespace
