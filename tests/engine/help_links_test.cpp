// The help as the game ships it: every link of every page opens a page, and
// every page id and keyword the game names is there; the help compiler
// refuses the help when a name it must check has no page.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/help_lookup.h"
#include "engine/help_pages.h"

namespace {

std::string ReadText(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The keyword links of a text: every run between two '@' marks.
std::vector<std::string> LinksOf(const char* text) {
  std::vector<std::string> links;
  for (const char* at = std::strchr(text, '@'); at != nullptr;) {
    const char* end = std::strchr(at + 1, '@');
    if (end == nullptr) break;
    links.emplace_back(at, end + 1);
    at = std::strchr(end + 1, '@');
  }
  return links;
}

TEST(HelpLinks, EveryLinkOfEveryPageOpensAPage) {
  ASSERT_TRUE(LoadHelpTables());
  ASSERT_GT(HelpPagesLoaded, 900);
  int links = 0;
  for (int p = 0; p < HelpPagesLoaded; ++p) {
    const HelpPage& page = HelpPages[p];
    EXPECT_NE(page.title[0], '\0') << page.id;
    EXPECT_NE(page.text[0], '\0') << page.id;
    const char* whole = LongHelpText(page.id);
    for (const std::string& link : LinksOf(whole ? whole : page.text)) {
      ++links;
      const int k = FindHelpKeyword(link.c_str());
      ASSERT_GE(k, 0) << "page " << page.id << " links " << link;
      EXPECT_GE(FindHelpPage(HelpKeywords[k].pageId), 0) << link;
    }
  }
  EXPECT_GT(links, 1000);
  for (int k = 0; k < HelpKeywordsLoaded; ++k)
    EXPECT_GE(FindHelpPage(HelpKeywords[k].pageId), 0) << HelpKeywords[k].keyword;
  // The two long pages are whole.
  ASSERT_NE(LongHelpText(kControlsPageId), nullptr);
  EXPECT_NE(std::strstr(LongHelpText(kControlsPageId), "@END_TURN@"), nullptr);
  EXPECT_NE(LongHelpText(kLicencePageId), nullptr);
}

TEST(HelpLinks, EveryNameTheGameGivesOpensItsPage) {
  ASSERT_TRUE(LoadHelpTables());
  std::istringstream list(ReadText("help_names.txt"));
  std::string line;
  int ids = 0, keywords = 0;
  while (std::getline(list, line)) {
    std::istringstream words(line);
    std::string kind, name;
    words >> kind >> name;
    if (kind == "id") {
      ++ids;
      EXPECT_GE(FindHelpPage(static_cast<uint32_t>(std::stoul(name))), 0) << line;
    } else if (kind == "keyword") {
      ++keywords;
      const int k = FindHelpKeyword(name.c_str());
      ASSERT_GE(k, 0) << line;
      EXPECT_GE(FindHelpPage(HelpKeywords[k].pageId), 0) << line;
    }
  }
  // The feats, spells, conditions, kinds and the log's keywords at least.
  EXPECT_GT(ids, 600);
  EXPECT_GT(keywords, 250);
  // A few the screens open by number.
  for (uint32_t id : {21007u, 21024u, 22067u, 23013u, 31008u, 41003u, 42017u, 43110u, 51002u, 52001u, 61108u})
    EXPECT_GE(FindHelpPage(id), 0) << id;
}

// Runs compile_help with a list of names; returns its status and what it said.
int CompileWithNames(const std::string& names, const std::string& require, std::string* said) {
  std::ofstream("names_help.txt", std::ios::binary) << "page 5 Known\nkeyword @KNOWN@\n\nText.\n";
  std::ofstream("names_list.txt", std::ios::binary) << names;
  const std::string command = "../tools/compile_help --names names_list.txt " + require +
                              " --report names_report.txt names_out.dat names_help.txt > names.log 2>&1";
  const int status = std::system(command.c_str());
  *said = ReadText("names.log") + "|report: " + ReadText("names_report.txt");
  for (const char* f : {"names_help.txt", "names_list.txt", "names_report.txt", "names.log"}) std::remove(f);
  return status;
}

TEST(HelpLinks, TheCompilerRefusesARequiredNameWithoutAPage) {
  std::string said;
  const std::string list = "id 5 src/a.cpp:1\nid 6 src/a.cpp:2\nkeyword @KNOWN@ src/b.cpp:3\n"
                           "keyword @LOST@ content/scripts/c.txt:4\n";
  // Nothing required: the missing names are only reported, the file is written.
  EXPECT_EQ(CompileWithNames(list, "--require 7-9", &said), 0) << said;
  EXPECT_NE(said.find("2 named page(s) or keyword(s) not yet written"), std::string::npos) << said;
  EXPECT_NE(said.find("src/a.cpp:2: error: help page 6"), std::string::npos) << said;
  EXPECT_TRUE(std::ifstream("names_out.dat").good());
  std::remove("names_out.dat");

  // Required: every missing name is listed with its place, and nothing is written.
  EXPECT_NE(CompileWithNames(list, "--require 1-9 --require-keywords content/", &said), 0);
  EXPECT_NE(said.find("src/a.cpp:2: error: help page 6 is named here but has no page"), std::string::npos) << said;
  EXPECT_NE(said.find("content/scripts/c.txt:4: error: the help keyword @LOST@"), std::string::npos) << said;
  EXPECT_EQ(said.find("@KNOWN@ is used"), std::string::npos) << said;
  EXPECT_FALSE(std::ifstream("names_out.dat").good());

  // A damaged list is refused too.
  EXPECT_NE(CompileWithNames("page 5\n", "--require 1-9", &said), 0);
  EXPECT_NE(said.find("not understood"), std::string::npos) << said;
}

}  // namespace
