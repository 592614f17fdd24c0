// The help tables: loading the compiled file, look-ups, refusing damaged
// files, and the compiler refusing bad sources.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "engine/help_pages.h"
#include "engine/help_lookup.h"

namespace {

// A damaged copy of the help file, named for this process: suites run side by
// side in the same game folder.
const std::string& Damaged() {
  static const std::string name = "HelpDamaged-" + std::to_string(getpid()) + ".dat";
  return name;
}

std::vector<char> ReadFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const char* path, const std::vector<char>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TEST(HelpTables, TheCompiledPagesLoadAndAreFound) {
  ASSERT_TRUE(LoadHelpTables());
  EXPECT_GE(HelpPagesLoaded, 10);
  const int index = FindHelpPage(kMainIndexPageId);
  ASSERT_GE(index, 0);
  EXPECT_STREQ(HelpPages[index].title, "Main Index");
  EXPECT_NE(std::strstr(HelpPages[index].text, "@CHARACTER@"), nullptr);
  // Paragraphs end with two carriage returns, list items with one.
  EXPECT_NE(std::strstr(HelpPages[index].text, ".\r\r- @CHARACTER@\r- @ABILITIES@"), nullptr);
  EXPECT_STREQ(HelpPages[FindHelpPage(kCharacterPageId)].title, "Character");
  EXPECT_EQ(FindHelpPage(12345), -1);
  // Several keywords may name one page; the '£' of the sources is the byte 0xA3.
  const int main = FindHelpKeyword("@MAIN_INDEX@"), link = FindHelpKeyword("@LINK_TO_MAIN_INDEX@");
  ASSERT_GE(main, 0);
  ASSERT_GE(link, 0);
  EXPECT_EQ(HelpKeywords[main].pageId, kMainIndexPageId);
  EXPECT_EQ(HelpKeywords[link].pageId, kMainIndexPageId);
  EXPECT_EQ(HelpKeywords[FindHelpKeyword("@CHARACTER@")].pageId, kCharacterPageId);
  EXPECT_NE(std::strstr(HelpPages[index].text, "\xA3Grevenholt\xA3"), nullptr);
  // Whole keywords only.
  EXPECT_EQ(FindHelpKeyword("@MAIN_INDEX"), -1);
  EXPECT_EQ(FindHelpKeywordN("@MAIN_INDEX@xyz", 12), main);
  EXPECT_EQ(FindHelpKeyword(""), -1);
}

TEST(HelpTables, DamagedFilesAreRefusedAndLeaveTheTablesEmpty) {
  const std::vector<char> good = ReadFile("Help.dat");
  ASSERT_GT(good.size(), 16u);
  struct Case {
    const char* what;
    std::vector<char> bytes;
  } cases[] = {
      {"short", std::vector<char>(good.begin(), good.end() - 3)},
      {"trailing bytes", [&] { auto b = good; b.push_back('x'); return b; }()},
      {"magic", [&] { auto b = good; b[0] = 'X'; return b; }()},
      {"version", [&] { auto b = good; b[4] = 2; return b; }()},
      {"page count", [&] { auto b = good; b[8] = b[9] = b[10] = b[11] = '\x7F'; return b; }()},
      {"text length", [&] { auto b = good; b[16 + 4 + 32 + 2] = '\x10'; return b; }()},
      {"empty", {}},
  };
  for (const Case& c : cases) {
    WriteFile(Damaged().c_str(), c.bytes);
    ASSERT_TRUE(LoadHelpTables());
    EXPECT_FALSE(LoadHelpTables(Damaged().c_str())) << c.what;
    EXPECT_EQ(HelpPagesLoaded, 0) << c.what;
    EXPECT_EQ(FindHelpPage(kMainIndexPageId), -1) << c.what;
    EXPECT_EQ(FindHelpKeyword("@MAIN_INDEX@"), -1) << c.what;
    // The start-up check refuses it too, and leaves nothing to read later.
    EXPECT_FALSE(CheckHelpFile(Damaged().c_str())) << c.what;
    EXPECT_EQ(FindHelpPage(kMainIndexPageId), -1) << c.what;
  }
  EXPECT_FALSE(LoadHelpTables("NoSuchHelp.dat"));
  std::remove(Damaged().c_str());
}

// The start-up check reads the pages only when one is first looked up; a file
// damaged in between leaves the tables empty.
TEST(HelpTables, ACheckedFileIsReadAtTheFirstLookUp) {
  ASSERT_TRUE(CheckHelpFile());
  EXPECT_EQ(HelpPagesLoaded, 0);
  (void)LongHelpText(kControlsPageId);  // a look-up reads the file
  EXPECT_GE(HelpPagesLoaded, 10);
  EXPECT_GE(FindHelpPage(kMainIndexPageId), 0);
  for (int lookUp = 0; lookUp < 2; ++lookUp) {
    const std::vector<char> good = ReadFile("Help.dat");
    WriteFile(Damaged().c_str(), good);
    ASSERT_TRUE(CheckHelpFile(Damaged().c_str()));
    WriteFile(Damaged().c_str(), std::vector<char>(good.begin(), good.end() - 3));
    EXPECT_EQ(lookUp == 0 ? FindHelpPage(kMainIndexPageId) : FindHelpKeyword("@MAIN_INDEX@"), -1);
    EXPECT_EQ(HelpPagesLoaded, 0);
  }
  std::remove(Damaged().c_str());
  ASSERT_TRUE(LoadHelpTables());
}

// Runs the help compiler on one source; returns its status and what it said.
// The files are named for the process, so that two runs of the test program
// side by side in the game folder keep apart.
int Compile(const std::string& source, std::string* said) {
  const std::string stem = "bad_help_" + std::to_string(::getpid());
  {
    std::ofstream out(stem + ".txt", std::ios::binary | std::ios::trunc);
    out << source;
  }
  const int status =
      std::system(("../tools/compile_help " + stem + "_out.dat " + stem + ".txt 2> " + stem + ".log").c_str());
  const std::vector<char> log = ReadFile((stem + ".log").c_str());
  said->assign(log.begin(), log.end());
  for (const char* end : {".txt", ".log", "_out.dat"}) std::remove((stem + end).c_str());
  return status;
}

TEST(HelpCompiler, RefusesBadSourcesWithAMessage) {
  std::string said;
  ASSERT_EQ(Compile("page 5 Fine\nkeyword @FINE@\n\nText with a @FINE@ link.\n", &said), 0) << said;
  struct Case {
    const char* source;
    const char* message;
  } cases[] = {
      {"page 5 A\n\nSee @NOWHERE@.\n", "names no page"},
      {"page 5 A\npage 5 B\n", "already used"},
      {"page 5 A\nkeyword @X@\npage 6 B\nkeyword @X@\n", "already given"},
      {"page 5 A title far longer than thirty-one\n", "longer than 31"},
      {"page 5 A\nkeyword @lower@\n", "bad keyword"},
      {"page 5 A\n\nAn @OPEN link.\n", "without its closing"},
      {"page 5 A\n\nAn \xC2\xA3odd mark.\n", "odd number"},
      {"page 5 A\n\nA tab\there.\n", "'text' holds the control byte \\x09: 'A tab\\x09here.'"},
      {"text first\npage 5 A\n", "before the first page"},
      {"page x A\n", "an id from 1 to 2147483647"},
  };
  for (const Case& c : cases) {
    EXPECT_NE(Compile(c.source, &said), 0) << c.source;
    EXPECT_NE(said.find(c.message), std::string::npos) << c.source << " said: " << said;
    EXPECT_NE(said.find("bad_help_" + std::to_string(::getpid()) + ".txt:"), std::string::npos) << "names the file and line: " << said;
  }
  // A text past its 5,600 characters.
  const std::string big = "page 5 A\n\n" + std::string(5601, 'a') + "\n";
  EXPECT_NE(Compile(big, &said), 0);
  EXPECT_NE(said.find("at most 5600"), std::string::npos) << said;
}

TEST(HelpCompiler, TheLicenceAndControlsPagesKeepTheirLongTexts) {
  std::string text;
  while (text.size() < 7000) text += "Keys and more keys. ";
  {
    std::ofstream out("long_help.txt", std::ios::binary | std::ios::trunc);
    out << "page 90000 Game Controls\n\n" << text << "\n\npage 5 Short\n\nA short page.\n";
  }
  ASSERT_EQ(std::system("../tools/compile_help long_help.dat long_help.txt"), 0);
  ASSERT_TRUE(LoadHelpTables("long_help.dat"));
  const char* whole = LongHelpText(kControlsPageId);
  ASSERT_NE(whole, nullptr);
  EXPECT_EQ(std::strlen(whole), text.size() - 1);  // the last blank is no part of the paragraph
  EXPECT_EQ(std::strlen(HelpPages[FindHelpPage(kControlsPageId)].text), static_cast<size_t>(kHelpTextLength));
  EXPECT_EQ(LongHelpText(5), nullptr);
  EXPECT_EQ(LongHelpText(kLicencePageId), nullptr);  // not in this file
  ASSERT_TRUE(LoadHelpTables());  // the shipped help's own controls page again
  ASSERT_NE(LongHelpText(kControlsPageId), nullptr);
  EXPECT_EQ(std::strstr(LongHelpText(kControlsPageId), "Keys and more keys"), nullptr);
  std::remove("long_help.txt");
  std::remove("long_help.dat");
}

}  // namespace
