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

}  // namespace
