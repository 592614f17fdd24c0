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
  names.AddId(31008, "src/rules/feat_names.cpp:19 (feat IRON WILL)");
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
  EXPECT_FALSE(HelpRequirement().Parse("31330-31000", ""));
  const HelpNameCheck check = CheckHelpNames(read, required, {10000}, {"@HP@"});
  ASSERT_EQ(check.errors.size(), 2u);
  EXPECT_EQ(check.errors[0], "src/rules/feat_names.cpp:19: error: help page 31008 (feat IRON WILL) is named here but has no page");
  EXPECT_NE(check.errors[1].find("content/scripts/x.txt:4: error: the help keyword @GONE@"), std::string::npos);
  ASSERT_EQ(check.missing.size(), 2u);  // 70005 and @LATER@ are outside what is required
  EXPECT_NE(check.missing[0].find("70005"), std::string::npos);
  EXPECT_NE(check.missing[1].find("@LATER@"), std::string::npos);
}

// A name taken from a list of the code is said at the list's line that
// gives it: the entry's line within the list, else the list's own line.
TEST(HelpNames, ANameFromAListOfTheCodeIsPlacedAtItsLine) {
  CodeLines code;
  code.Add("src/a.cpp",
           "// FeatNames = {\n"
           "const char FeatNames[2][8] = {\n"
           "    \"CLEAVE\",  // 0\n"
           "    \"DODGE\",\n"
           "};\n"
           "void AddLogKeywords(std::vector<LogKeyword>* out) {\n"
           "  if (x == FeatNames[0]) {\n");
  code.Add("src/b.cpp", "const int32_t Pages[3] = {\n  42028, 42024,\n  42010};\n"
                       "const char Types[3][8] = {\"None\", \"Animal\",\n                          \"Undead\"};\n");
  const struct {
    const char* list;
    std::string entry, place;
  } lists[] = {
      {"FeatNames", "\"DODGE\"", "src/a.cpp:4"},
      {"FeatNames", "\"BLIND\"", "src/a.cpp:2"},       // an entry it lacks: the list's line
      {"FeatNames", "", "src/a.cpp:2"},                // the list itself
      {"FeatNames", "FeatNames[0]", "src/a.cpp:2"},    // past the list's end
      {"Pages", "42010", "src/b.cpp:3"},
      {"Types", "\"Animal\"", "src/b.cpp:4"},  // an entry on the list's own line
      {"Feat", "\"DODGE\"", "Feat"},                   // a name no list has whole
      {"Nowhere", "1", "Nowhere"},
  };
  for (const auto& l : lists) EXPECT_EQ(code.ListPlace(l.list, l.entry), l.place) << l.list << " " << l.entry;
  EXPECT_EQ(code.LinePlace("src/a.cpp", {"\"PARRY\"", "LogKeywords(std::vector<LogKeyword>* out)"}), "src/a.cpp:6");
  EXPECT_EQ(code.LinePlace("src/c.cpp", {"x"}), "src/c.cpp");
}

// Every name of the list the build made is said at a file and line of the
// game's code or content.
TEST(HelpNames, EveryNameOfTheBuiltListHasAFileAndLine) {
  std::ifstream in("help_names.txt");
  HelpNames names;
  std::string bad;
  ASSERT_TRUE(names.Parse(std::string(std::istreambuf_iterator<char>(in), {}), &bad)) << bad;
  const auto placed = [](const std::string& where) {
    const std::string place = where.substr(0, where.find(' '));
    const size_t colon = place.rfind(':');
    return (place.rfind("src/", 0) == 0 || place.rfind("content/", 0) == 0) && colon != std::string::npos &&
           colon + 1 < place.size() && place.find_first_not_of("0123456789", colon + 1) == std::string::npos;
  };
  for (const auto& [id, where] : names.Ids()) EXPECT_TRUE(placed(where)) << id << " " << where;
  for (const auto& [keyword, where] : names.Keywords()) EXPECT_TRUE(placed(where)) << keyword << " " << where;
  EXPECT_GT(names.Ids().size(), 700u);
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
