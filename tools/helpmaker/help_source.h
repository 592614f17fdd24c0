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
  std::set<uint32_t> pageIds;       // every page id given by a line read soundly
  std::set<std::string> keywords;   // every keyword given by a line read soundly
};

HelpResult CompileHelp(const std::vector<HelpSource>& sources);
