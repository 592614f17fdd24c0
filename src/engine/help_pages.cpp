#include "engine/help_pages.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/files.h"
#include "platform/system.h"

HelpPage HelpPages[kHelpPageCount];
HelpKeywordEntry HelpKeywords[kHelpKeywordCount];
int HelpPagesLoaded = 0;
int HelpKeywordsLoaded = 0;

namespace {

// The whole texts of the licence and the game controls pages.
std::string LongTexts[2];
// A help file checked at start-up and read into the tables when first needed.
std::string CheckedPath;

std::string* LongTextOf(uint32_t id) {
  if (id == kLicencePageId) return &LongTexts[0];
  if (id == kControlsPageId) return &LongTexts[1];
  return nullptr;
}

bool ReadBytes(FILE* f, void* out, size_t size) { return std::fread(out, 1, size, f) == size; }

bool ReadU32(FILE* f, uint32_t* out) {
  unsigned char b[4];
  if (!ReadBytes(f, b, 4)) return false;
  *out = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
  return true;
}

// A fixed text field must hold its NUL inside the field.
bool Terminated(const char* field, size_t size) { return std::memchr(field, '\0', size) != nullptr; }

// Reads the tables, or with `keep` false only checks them.
bool ReadTables(FILE* f, bool keep) {
  HelpPage scratchPage;
  HelpKeywordEntry scratchEntry;
  char magic[4];
  uint32_t version = 0, pages = 0, keywords = 0;
  if (!ReadBytes(f, magic, 4) || std::memcmp(magic, kHelpFileMagic, 4) != 0) return false;
  if (!ReadU32(f, &version) || version != kHelpFileVersion) return false;
  if (!ReadU32(f, &pages) || !ReadU32(f, &keywords)) return false;
  if (pages > kHelpPageCount || keywords > kHelpKeywordCount) return false;
  for (uint32_t i = 0; i < pages; ++i) {
    HelpPage& page = keep ? HelpPages[i] : scratchPage;
    uint32_t length = 0;
    if (!ReadU32(f, &page.id) || !ReadBytes(f, page.title, kHelpTitleSize)) return false;
    if (!Terminated(page.title, kHelpTitleSize)) return false;
    if (!ReadU32(f, &length) || length > HelpTextLimit(page.id)) return false;
    std::string text(length, '\0');
    if (!ReadBytes(f, text.data(), length)) return false;
    if (std::strlen(text.c_str()) != length) return false;  // no NUL inside a text
    const size_t kept = length < kHelpTextLength ? length : kHelpTextLength;
    std::memcpy(page.text, text.data(), kept);
    page.text[kept] = '\0';
    if (std::string* whole = LongTextOf(page.id); whole && keep) *whole = std::move(text);
  }
  for (uint32_t i = 0; i < keywords; ++i) {
    HelpKeywordEntry& entry = keep ? HelpKeywords[i] : scratchEntry;
    if (!ReadBytes(f, entry.keyword, kHelpKeywordSize) || !ReadU32(f, &entry.pageId)) return false;
    if (!Terminated(entry.keyword, kHelpKeywordSize)) return false;
  }
  if (std::fgetc(f) != EOF) return false;  // nothing may follow the tables
  if (!keep) return true;
  HelpPagesLoaded = static_cast<int>(pages);
  HelpKeywordsLoaded = static_cast<int>(keywords);
  return true;
}

}  // namespace

void ClearHelpTables() {
  platform::ZeroBytes(HelpPages, sizeof HelpPages);  // mostly unused: its pages are handed back
  std::memset(HelpKeywords, 0, sizeof HelpKeywords);
  HelpPagesLoaded = 0;
  HelpKeywordsLoaded = 0;
  for (std::string& text : LongTexts) text.clear();
  CheckedPath.clear();
}

void ReadCheckedHelpFile() {
  if (CheckedPath.empty()) return;
  const std::string path = std::move(CheckedPath);
  LoadHelpTables(path.c_str());
}

const char* LongHelpText(uint32_t id) {
  ReadCheckedHelpFile();
  const std::string* whole = LongTextOf(id);
  return whole && !whole->empty() ? whole->c_str() : nullptr;
}

namespace {

// Reads the help file into the emptied tables, or with `keep` false only
// checks it; the tables stay empty on any fault.
bool ReadHelpFile(const char* path, bool keep) {
  ClearHelpTables();
  FILE* f = platform::OpenGameFile(path, "rb");
  if (!f) return false;
  const bool ok = ReadTables(f, keep);
  std::fclose(f);
  if (!ok) ClearHelpTables();
  return ok;
}

}  // namespace

bool LoadHelpTables(const char* path) { return ReadHelpFile(path, true); }

bool CheckHelpFile(const char* path) {
  if (!ReadHelpFile(path, false)) return false;
  CheckedPath = path;
  return true;
}

int FindHelpKeywordN(const char* keyword, size_t length) {
  ReadCheckedHelpFile();
  if (keyword == nullptr || length == 0 || length >= kHelpKeywordSize) return -1;
  for (int i = 0; i < HelpKeywordsLoaded; ++i) {
    const char* k = HelpKeywords[i].keyword;
    if (std::strncmp(k, keyword, length) == 0 && k[length] == '\0') return i;
  }
  return -1;
}

int FindHelpKeyword(const char* keyword) {
  return keyword ? FindHelpKeywordN(keyword, std::strlen(keyword)) : -1;
}
