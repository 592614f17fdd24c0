// tablemaker items|spells|crafted <source> <output> [<listing>]: compiles one
// table source (see tablemaker.cpp) into the game's row file, and for the
// spells, when asked, their listing in words; on any fault it reports
// file:line: message, writes nothing and exits with status 1.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tablemaker/spell_rules.h"
#include "tablemaker/tablemaker.h"

int main(int argc, char** argv) {
  if (argc != 4 && !(argc == 5 && std::strcmp(argv[1], "spells") == 0)) {
    std::fprintf(stderr, "usage: tablemaker items|spells|crafted <source> <output> (spells: [<listing>])\n");
    return 2;
  }
  const TableSchema* schema = FindSchema(argv[1]);
  if (!schema) {
    std::fprintf(stderr, "tablemaker: unknown table '%s'\n", argv[1]);
    return 2;
  }
  std::ifstream in(argv[2], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "tablemaker: cannot open %s\n", argv[2]);
    return 1;
  }
  std::ostringstream text;
  text << in.rdbuf();
  const TableResult result = CompileTable(*schema, argv[2], text.str());
  for (const std::string& e : result.errors) std::fprintf(stderr, "%s\n", e.c_str());
  if (!result.errors.empty()) {
    std::fprintf(stderr, "tablemaker: %zu error(s); %s not written\n", result.errors.size(), argv[3]);
    return 1;
  }
  const std::vector<uint8_t>& image = result.image;

  const std::filesystem::path out(argv[3]);
  if (out.has_parent_path()) std::filesystem::create_directories(out.parent_path());
  const std::string temp = out.string() + ".tmp";
  {
    std::ofstream file(temp, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    if (!file) {
      std::fprintf(stderr, "tablemaker: cannot write %s\n", temp.c_str());
      return 1;
    }
  }
  std::filesystem::rename(temp, out);
  if (argc == 5) {
    if (!WriteSpellListing(result.rows, argv[4])) {
      std::fprintf(stderr, "tablemaker: cannot write %s\n", argv[4]);
      return 1;
    }
  }
  return 0;
}
