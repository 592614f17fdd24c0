// tablemaker items|spells|crafted <source> <output> [<listing>]: compiles one
// table source (see tablemaker.cpp) into the game's row file, and for the
// spells, when asked, their listing in words; on any fault it reports
// file:line: message, writes nothing and exits with status 1.
#include <cstdio>
#include <cstring>
#include <string>

#include "common/tool_files.h"
#include "tablemaker/spell_rules.h"
#include "tablemaker/tablemaker.h"

namespace {

// The run, as main runs it (RunTool stops it on anything it throws).
int Make(int argc, char** argv) {
  if (argc != 4 && !(argc == 5 && std::strcmp(argv[1], "spells") == 0)) {
    std::fprintf(stderr, "usage: tablemaker items|spells|crafted <source> <output> (spells: [<listing>])\n");
    return 2;
  }
  const TableSchema* schema = FindSchema(argv[1]);
  if (!schema) {
    std::fprintf(stderr, "tablemaker: unknown table '%s'\n", argv[1]);
    return 2;
  }
  std::string text;
  TableResult result;
  if (ReadSourceFile(argv[2], &text)) result = CompileTable(*schema, argv[2], text);
  else result.errors.push_back(std::string(argv[2]) + ": cannot be read");
  // The table and the listing are put in place together, when nothing failed.
  OutputFiles files;
  auto write = [&](const std::string& fault) {
    if (!fault.empty()) result.errors.push_back(fault);
  };
  if (result.errors.empty()) write(files.Write(argv[3], result.image));
  if (result.errors.empty() && argc == 5) write(files.Write(argv[4], SpellListing(result.rows)));
  if (result.errors.empty()) write(files.Commit());
  for (const std::string& e : result.errors) std::fprintf(stderr, "%s\n", e.c_str());
  if (!result.errors.empty()) {
    std::fprintf(stderr, "%s\n", FaultSummary("tablemaker", result.errors.size()).c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) { return RunTool("tablemaker", Make, argc, argv); }
