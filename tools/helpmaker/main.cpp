// compile_help OUTPUT SOURCE...
//
// Compiles the help encyclopedia from its readable sources into the file the
// game loads ("Help.dat", layout in engine/help_pages.h), and fails with a
// message naming the file and line on anything the game could not show.
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
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "helpmaker/help_source.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: compile_help OUTPUT SOURCE...\n";
    return 2;
  }
  std::vector<HelpSource> sources;
  for (int i = 2; i < argc; ++i) {
    std::ifstream in(argv[i], std::ios::binary);
    if (!in) {
      std::cerr << argv[i] << ": error: cannot open the file\n";
      std::cerr << "compile_help: " << argv[1] << " not written\n";
      return 1;
    }
    std::ostringstream text;
    text << in.rdbuf();
    sources.push_back({argv[i], text.str()});
  }
  const HelpResult result = CompileHelp(sources);
  for (const std::string& e : result.errors) std::cerr << e << "\n";
  if (!result.errors.empty()) {
    std::cerr << "compile_help: " << result.errors.size() << " error(s); " << argv[1] << " not written\n";
    return 1;
  }
  const std::string& out = result.file;
  const std::string temp = std::string(argv[1]) + ".tmp";
  {
    std::ofstream file(temp, std::ios::binary | std::ios::trunc);
    if (!file.write(out.data(), static_cast<std::streamsize>(out.size()))) {
      std::cerr << "compile_help: cannot write " << temp << "\n";
      return 1;
    }
  }
  if (std::rename(temp.c_str(), argv[1]) != 0) {
    std::cerr << "compile_help: cannot rename " << temp << " to " << argv[1] << "\n";
    return 1;
  }
  return 0;
}
