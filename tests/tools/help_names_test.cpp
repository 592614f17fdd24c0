// The list of what the game names in the help: which keywords and page ids
// the scan takes from a text, and which missing ones fail the build.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "helpmaker/help_names.h"

namespace {

std::set<std::string> KeywordsOf(const HelpNames& names) {
  std::set<std::string> out;
  for (const auto& [keyword, where] : names.Keywords()) out.insert(keyword);
  return out;
}

std::set<uint32_t> IdsOf(const HelpNames& names) {
  std::set<uint32_t> out;
  for (const auto& [id, where] : names.Ids()) out.insert(id);
  return out;
}

TEST(HelpNames, KeywordsOfTextsButNotRollsFormatHolesOrComments) {
  HelpNames names;
  names.ScanKeywords(
      "LogMessage(\"@%s@: \" HL \"%s\" HL \" loses @%i|%.2i@ @HP@.\\r\", d.keyword);\n"
      "Say(\"casts @PROTECTION_(GOOD/EVIL)@ on @THRI-KREEN@\");  // see @IN_A_COMMENT@\n"
      "// @ONLY_A_COMMENT@\n"
      "mail@example.com @lower@ @@ @A@\n",
      "src/x.cpp", true);
  EXPECT_EQ(KeywordsOf(names),
            (std::set<std::string>{"@HP@", "@PROTECTION_(GOOD/EVIL)@", "@THRI-KREEN@", "@A@"}));
  EXPECT_EQ(names.Keywords().at("@THRI-KREEN@"), "src/x.cpp:2");

  // In a script or a table "//" is text like any other.
  HelpNames script;
  script.ScanKeywords("say \"Watch for http://x and @AOO@\"\n", "content/scripts/a.txt");
  EXPECT_EQ(KeywordsOf(script), (std::set<std::string>{"@AOO@"}));
}

TEST(HelpNames, PageIdsOnLinesThatSpeakOfHelpButNotTheBaseOfAComputedId) {
  HelpNames names;
  names.ScanHelpIds(
      "  list.helpTopic = 61105;\n"
      "constexpr int32_t kAcidHelp = 61068;\n"
      "const int x = 41003;  // no word for it on this line\n"
      "return (s.divine == 1 ? 51899 : 51001) + s.level + spell;  // the help page\n"
      "OpenHelp(\"Cleric\", 23003); int big = 123456; int small = 9999; help id 20000.\n",
      "src/y.cpp");
  EXPECT_EQ(IdsOf(names), (std::set<uint32_t>{61105, 61068, 51899, 23003, 20000}));
  EXPECT_EQ(names.Ids().at(23003), "src/y.cpp:5");
}

TEST(HelpNames, OnlyRequiredNamesWithoutAPageFailTheBuild) {
  HelpNames names;
  names.AddId(10000, "src/a.cpp:1");
  names.AddId(31008, "feat IRON WILL");
  names.AddId(70005, "src/b.cpp:2");
  names.AddKeyword("@HP@", "src/c.cpp:3");
  names.AddKeyword("@GONE@", "content/scripts/x.txt:4");
  names.AddKeyword("@LATER@", "content/tables/y.txt:5");

  // The list survives being written and read back.
  HelpNames read;
  std::string bad;
  ASSERT_TRUE(read.Parse(names.Text(), &bad)) << bad;
  EXPECT_EQ(read.Text(), names.Text());
  EXPECT_FALSE(read.Parse("id twelve src/z.cpp:1\n", &bad));
  EXPECT_EQ(bad, "id twelve src/z.cpp:1");

  HelpRequirement required;
  ASSERT_TRUE(required.Parse("31000-31330,10000", "src/,content/scripts/"));
  EXPECT_FALSE(HelpRequirement().Parse("5-x", ""));
  const HelpNameCheck check = CheckHelpNames(read, required, {10000}, {"@HP@"});
  ASSERT_EQ(check.errors.size(), 2u);
  EXPECT_EQ(check.errors[0], "feat IRON WILL: error: help page 31008 is named here but has no page");
  EXPECT_NE(check.errors[1].find("content/scripts/x.txt:4: error: the help keyword @GONE@"), std::string::npos);
  ASSERT_EQ(check.missing.size(), 2u);  // 70005 and @LATER@ are outside what is required
  EXPECT_NE(check.missing[0].find("70005"), std::string::npos);
  EXPECT_NE(check.missing[1].find("@LATER@"), std::string::npos);
}

// A failed run of the list ends as every tool's does: its fault, then the
// summary line, and no list.
TEST(HelpNames, AFailedRunEndsWithItsFaultAndTheSummaryLine) {
  namespace fs = std::filesystem;
  const fs::path root = fs::path(__FILE__).parent_path().parent_path().parent_path();
  const std::string dir = "help-names-" + std::to_string(getpid()), list = dir + "/names.txt";
  fs::create_directories(dir);
  std::string folders(1, ' ');
  folders.append((root / "src").string()).append(1, ' ').append((root / "content").string()).append(1, ' ');
  const struct {
    std::string run, fault;
  } cases[] = {
      {"../tools/help_names " + list + folders + dir + "/nowhere",
       "help_names: cannot enter the game folder " + dir + "/nowhere"},
      {"GREVENHOLT_TOOL_WRITE_FAULT=1 ../tools/help_names " + list + folders + ".",
       fs::absolute(list).string() + ": cannot be written: No space left on device"},
  };
  for (const auto& c : cases) {
    const int status = std::system((c.run + " 2>" + dir + "/errors.txt").c_str());
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 1) << c.run;
    std::ifstream in(dir + "/errors.txt");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), c.fault + "\nhelp_names: 1 fault, nothing written\n");
    EXPECT_FALSE(fs::exists(list)) << c.run;
  }
  fs::remove_all(dir);
}

}  // namespace
