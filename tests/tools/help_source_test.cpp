// The help compiler's refusals of pages the game could not show.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/help_pages.h"
#include "helpmaker/help_source.h"
#include "tools/damaged_lines.h"

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
// page or keyword line refused for it (one whose first word may be "page" or
// "keyword") neither leaves its text as text before a page nor its keywords
// as links to no page, whichever keyword it may have given. Each fault is one
// printable line: an id is read whole, and a link runs to its '@' on its own
// line.
TEST(HelpSource, AFaultIsRefusedOnceAndShown) {
  using namespace std::string_literals;
  const struct {
    std::string source;
    const char* message;
  } cases[] = {
      {"page 10001 Ma\0gic\nkeyword @MAGIC@\n\nRings.\n\npage 10002 Rings\nkeyword @RINGS@\n\nSee @MAGIC@.\n"s,
       "items.txt:1: error: 'page' holds the control byte \\x00: '10001 Ma\\x00gic'"},
      {"page 10001 Magic\nkeyword @MAGIC@\n\nRings and\rwands.\n",
       "items.txt:4: error: 'text' holds the control byte \\x0d: 'Rings and\\x0dwands.'"},
      {"page 10001 Magic\nkeyword @MAGIC@ @CAF\xe9@\n\nRings.\n\npage 10002 Rings\nkeyword @RINGS@\n\nSee @MAGIC@.\n",
       "items.txt:2: error: 'keyword' holds the byte \\xe9, which the game cannot show: '@MAGIC@ @CAF\\xe9@'"},
      {"page 10001 Magic\nkeyword @MA\0GIC@\n\nRings.\n\npage 10002 Rings\nkeyword @RINGS@\n\nSee @MAGIC@.\n"s,
       "items.txt:2: error: 'keyword' holds the control byte \\x00: '@MA\\x00GIC@'"},
      {"page 10001 Magic\nke\xe9yword @MAGIC@\n\nRings.\n\npage 10002 Rings\n\nSee @MAGIC@.\n",
       "items.txt:2: error: 'ke\\xe9yword' holds the byte \\xe9, which the game cannot show"},
      {"pa\0ge 10001 Magic\nkeyword @MAGIC@\n\nRings.\n"s, "items.txt:1: error: 'pa\\x00ge' holds the control byte \\x00"},
      {"page 10001 Magic\nkeyword @MAGIC@\n\nRings [and] wands.\n",
       "items.txt:4: error: 'text' holds the byte [, which the game cannot show: 'Rings [and] wands.'"},
      {"page 2000x Character\n\nThe record.\n", "items.txt:1: error: a page line needs an id from 1 to 2147483647: page <id> <title>"},
      // An id the game carries: 32 bits, signed (a row with no message compiles).
      {"page 2147483647 Magic\n\nRings.\n", nullptr},
      {"page 2147483648 Magic\n\nRings.\n", "items.txt:1: error: a page line needs an id from 1 to 2147483647: page <id> <title>"},
      // A page or keyword line with nothing after its word is refused, not
      // taken as text of the page.
      {"page 10001 Magic\nkeyword\n\nRings.\n", "items.txt:2: error: a keyword line names one keyword or more: keyword @KEYWORD@ ..."},
      {"page 10001 Magic\nkeyword   \n\nRings.\n", "items.txt:2: error: a keyword line names one keyword or more: keyword @KEYWORD@ ..."},
      {"page 10001 Magic\nkeyword @MAGIC@\n\nRings.\n\npage\n\nWands.\n",
       "items.txt:6: error: a page line needs an id from 1 to 2147483647: page <id> <title>"},
      {"page 10001 Magic\nkeyword @MAGIC@\n\nSee @MAGIC.\n\nAnd @MAGIC@.\n",
       "items.txt:4: error: page 10001: an '@' without its closing '@'"},
  };
  for (const auto& c : cases) {
    const HelpResult refused = CompileHelp({{"items.txt", c.source}});
    if (!c.message) {
      EXPECT_TRUE(refused.errors.empty()) << c.source;
      continue;
    }
    ASSERT_EQ(refused.errors.size(), 1u) << c.message;
    EXPECT_EQ(refused.errors[0], c.message);
    EXPECT_TRUE(refused.file.empty());
  }
  // A refused line gives nothing: the names the game uses are not checked
  // against what it may have given (the tool checks them only when every
  // line read soundly).
  const HelpResult refused = CompileHelp({{"items.txt", "page 100\x01" "01 Magic\nkeyword @MAGIC@\n"}});
  EXPECT_TRUE(refused.pageIds.empty() && refused.keywords.empty());
}

// One damaged byte anywhere in good pages is one fault at its line: the
// lines after it are passed over up to the next page line, and neither the
// links nor the names the game uses are checked against what it may have
// given. A tab is such a byte too.
TEST(HelpSource, OneDamagedByteInAnyLineIsOneFaultAndGivesWhatTheLineGave) {
  const std::string good =
      "# Magic pages.\n"
      "\n"
      "page 10001 Magic Items\n"
      "keyword @MAGIC@ @WANDS@\n"
      "\n"
      "Rings and \xC2\xA3Wondrous_Items\xC2\xA3 hold\n"
      "magic; see @RINGS@.\n"
      "\n"
      "page 10002 Rings\n"
      "keyword @RINGS@\n"
      "\n"
      "- a ring of @MAGIC@\n"
      "- a wand, see @WANDS@\n";
  for (const DamagedLine& d : DamagedBytes(good, std::string("\0\xe9\r\x01\t", 5))) {
    const HelpResult refused = CompileHelp({{"items.txt", d.text}});
    EXPECT_EQ(refused.errors.size(), 1u) << d.what << ": " << (refused.errors.empty() ? "" : refused.errors[0]);
    if (refused.errors.size() != 1) continue;
    EXPECT_EQ(refused.errors[0].rfind("items.txt:" + std::to_string(d.line) + ": ", 0), 0u) << refused.errors[0];
  }
  // The tool says so in one line and its summary, checking the names the
  // game uses: the first page line of a file whose blank is damaged.
  const std::string dir = "help-damage-" + std::to_string(getpid());
  std::filesystem::create_directories(dir);
  std::ofstream(dir + "/names.txt") << "id 10001 src/a.cpp:1\nid 10002 src/a.cpp:2\nkeyword @MAGIC@ src/a.cpp:3\n"
                                       "keyword @WANDS@ src/a.cpp:4\nkeyword @RINGS@ src/a.cpp:5\n";
  std::string damaged = good;
  damaged[good.find("page 10001") + 4] = '\0';
  std::ofstream(dir + "/items.txt", std::ios::binary) << damaged;
  const std::string cmd = "../tools/compile_help --names " + dir + "/names.txt --require 10000-10002 --require-keywords src/ " +
                          dir + "/Help.dat " + dir + "/items.txt 2>" + dir + "/errors.txt";
  EXPECT_NE(std::system(cmd.c_str()), 0);
  std::ifstream in(dir + "/errors.txt");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
            dir + "/items.txt:3: error: 'page\\x0010001' holds the control byte \\x00\ncompile_help: 1 fault, nothing written\n");
  std::filesystem::remove_all(dir);
}

}  // namespace
