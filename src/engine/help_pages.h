// The help encyclopedia's two tables: the pages (id, title, text with keyword
// links) and the keywords that name them. Both are filled at start-up from
// "Help.dat", which the build makes from the readable sources in content/help/.
//
// "Help.dat", little-endian:
//   "GHHP", u32 version (1), u32 page count, u32 keyword count;
//   per page:    u32 id, char title[32] (NUL-padded), u32 text length, the text bytes;
//   per keyword: char keyword[36] (with its two '@' marks, NUL-padded), u32 page id.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr int kHelpPageCount = 1100;
constexpr int kHelpKeywordCount = 1589;
constexpr int kHelpTitleSize = 32;      // at most 31 characters and a NUL
constexpr int kHelpTextLength = 5600;   // characters of a page's text
constexpr int kHelpKeywordSize = 36;    // with the two '@' marks and a NUL
constexpr uint32_t kHelpFileVersion = 1;
constexpr char kHelpFileMagic[4] = {'G', 'H', 'H', 'P'};
constexpr const char* kHelpFileName = "Help.dat";

// Page ids the engine opens itself.
constexpr uint32_t kMainIndexPageId = 10000;
constexpr uint32_t kCharacterPageId = 20000;

// The help id in the run of item pages (70001 to 70064) that names no item:
// opening it draws nothing, so no page may be written under it.
constexpr uint32_t kBlankHelpId = 70010;

// Two pages keep texts longer than a page's field: the licence and the game
// controls. Their whole texts (at most kLongHelpTextLength characters) stand
// beside the table, whose field holds their beginning.
constexpr uint32_t kLicencePageId = 80001;
constexpr uint32_t kControlsPageId = 90000;
constexpr int kLongHelpTextLength = 20000;
// The most characters the text of the page with that id may have.
constexpr size_t HelpTextLimit(uint32_t id) {
  return id == kLicencePageId || id == kControlsPageId ? kLongHelpTextLength : kHelpTextLength;
}

struct HelpPage {
  uint32_t id;
  char title[kHelpTitleSize];
  char text[kHelpTextLength + 1];
};

struct HelpKeywordEntry {
  char keyword[kHelpKeywordSize];
  uint32_t pageId;
};

extern HelpPage HelpPages[kHelpPageCount];
extern HelpKeywordEntry HelpKeywords[kHelpKeywordCount];
// How many rows of each table are filled; the rest are empty and never match.
extern int HelpPagesLoaded;
extern int HelpKeywordsLoaded;

// Reads the help file into the tables. On any fault (missing file, wrong
// magic or version, a count or length out of range, a short or overlong file)
// the tables are left empty and false is returned.
bool LoadHelpTables(const char* path = kHelpFileName);
void ClearHelpTables();
// Checks the help file as LoadHelpTables does and leaves the tables empty:
// the file is read into them when a page or keyword is first looked up
// (FindHelpPage, FindHelpKeyword, LongHelpText). A file that became damaged
// meanwhile leaves them empty.
bool CheckHelpFile(const char* path = kHelpFileName);
// Reads the checked help file into the tables now, when it is still waiting.
void ReadCheckedHelpFile();

// The whole text of a page with a long text, nullptr when the id is not one
// of them or the help file gave it no text.
const char* LongHelpText(uint32_t id);

// The row of the keyword table whose keyword (with its two marks) equals the
// given text exactly, -1 when none.
int FindHelpKeyword(const char* keyword);
// The same for a keyword given by its first `length` characters.
int FindHelpKeywordN(const char* keyword, size_t length);
