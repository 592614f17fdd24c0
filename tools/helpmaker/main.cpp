// compile_help [--names LIST --require IDS --require-keywords PLACES --report FILE] OUTPUT SOURCE...
//
// Compiles the help encyclopedia from its readable sources into the file the
// game loads ("Help.dat", layout in engine/help_pages.h), and fails with a
// message naming the file and line on anything the game could not show.
//
// With --names (the list help_names makes of every page id and keyword the
// game names) it also fails for every named id within the ranges of
// --require ("31000-31330,61000-61999") and every keyword found in a place
// that starts with one of --require-keywords ("src/,content/scripts/") that
// has no page; the names without a page that are not required yet are
// written to the --report file and counted.
//
// A source holds one or more pages:
//
//   # a comment
//   page 10000 Main Index          id and title (at most 31 characters)
//   keyword @MAIN_INDEX@           keywords that open this page (one or more a line)
//
//   Text of the first paragraph, on as many lines as you like: they are
//   joined with single spaces.
//
//   - a list item keeps a line of its own
//   - @CHARACTER@ links to the page whose keyword it is
//
// Blank lines separate paragraphs. "£" (or the single byte 0xA3) marks a term
// that is shown highlighted: £Iron_Will£. Keywords are written in capitals
// between two '@'; an '_' in them shows as a space.
#include <iostream>
#include <string>
#include <vector>

#include "common/tool_files.h"
#include "helpmaker/help_names.h"
#include "helpmaker/help_source.h"

namespace {

// The run, as main runs it (RunTool stops it on anything it throws).
int Make(int argc, char** argv) {
  std::string namesPath, requireIds, requirePlaces, reportPath;
  int first = 1;
  while (first + 1 < argc && std::string(argv[first]).rfind("--", 0) == 0) {
    const std::string option = argv[first];
    std::string* value = option == "--names"              ? &namesPath
                         : option == "--require"          ? &requireIds
                         : option == "--require-keywords" ? &requirePlaces
                         : option == "--report"           ? &reportPath
                                                          : nullptr;
    if (value == nullptr) {
      std::cerr << "compile_help: unknown option " << option << "\n";
      return 2;
    }
    *value = argv[first + 1];
    first += 2;
  }
  if (argc - first < 2) {
    std::cerr << "usage: compile_help [--names LIST --require IDS --require-keywords PLACES --report FILE] "
                 "OUTPUT SOURCE...\n";
    return 2;
  }
  const char* output = argv[first];
  std::vector<HelpSource> sources;
  std::vector<std::string> unread;
  for (int i = first + 1; i < argc; ++i) {
    std::string text;
    if (ReadSourceFile(argv[i], &text)) sources.push_back({argv[i], text});
    else unread.push_back(std::string(argv[i]) + ": error: cannot open the file");
  }
  HelpResult result = CompileHelp(sources);
  result.errors.insert(result.errors.begin(), unread.begin(), unread.end());
  // The help file and the report are put in place together, when nothing failed.
  OutputFiles files;
  // The names the game uses are checked against the pages once every page
  // line read soundly (a refused line may have given the page or keyword).
  if (!namesPath.empty() && result.errors.empty()) {
    HelpNames names;
    HelpRequirement required;
    std::string text, bad;
    if (!ReadSourceFile(namesPath, &text)) {
      result.errors.push_back(namesPath + ": error: cannot open the list of names");
    } else if (!names.Parse(text, &bad)) {
      result.errors.push_back(namesPath + ": error: a line of the list is not understood: " + bad);
    } else if (!required.Parse(requireIds, requirePlaces)) {
      result.errors.push_back("compile_help: error: --require takes id ranges as 31000-31330,61000");
    } else {
      const HelpNameCheck check = CheckHelpNames(names, required, result.pageIds, result.keywords);
      result.errors.insert(result.errors.end(), check.errors.begin(), check.errors.end());
      std::string report;
      for (const std::string& m : check.missing) report += m + "\n";
      if (!reportPath.empty())
        if (std::string fault = files.Write(reportPath, report); !fault.empty()) result.errors.push_back(fault);
      if (!check.missing.empty())
        std::cout << "compile_help: " << check.missing.size() << " named page(s) or keyword(s) not yet written"
                  << (reportPath.empty() ? "" : " (listed in " + reportPath + ")") << "\n";
    }
  }
  if (result.errors.empty())
    if (std::string fault = files.Write(output, result.file); !fault.empty()) result.errors.push_back(fault);
  if (result.errors.empty())
    if (std::string fault = files.Commit(); !fault.empty()) result.errors.push_back(fault);
  for (const std::string& e : result.errors) std::cerr << e << "\n";
  if (!result.errors.empty()) {
    std::cerr << FaultSummary("compile_help", result.errors.size()) << "\n";
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) { return RunTool("compile_help", Make, argc, argv); }
