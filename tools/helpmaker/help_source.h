// The help compiler's reader: the page sources in, the help file's bytes (as
// the game loads them, layout in engine/help_pages.h) or the faults out.
#pragma once
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "engine/help_pages.h"

struct HelpSource {
  std::string name;  // the file name the faults are reported against
  std::string text;
};

struct HelpResult {
  std::string file;                 // empty when a fault was found
  std::vector<std::string> errors;  // "file:line: error: message"
  std::set<uint32_t> pageIds;       // every page id given, faults or not
  std::set<std::string> keywords;   // every keyword given whole
  // The words of refused page and keyword lines, as written: the ids that
  // could not be read, and the keywords.
  std::vector<std::string> refusedIds, refusedKeywords;

  // Whether the sources give a page or a keyword, or a refused line may
  // have (common/shown_bytes.h): no name of it is refused for its want.
  bool GivesPage(uint32_t id) const;
  bool GivesKeyword(const std::string& keyword) const;
};

HelpResult CompileHelp(const std::vector<HelpSource>& sources);
