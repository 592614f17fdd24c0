// Lays out the kept inputs of one target for its fuzzing program to run:
//
//   kept_inputs <target's folder of kept inputs> <output folder>
//
// writes each input's bytes into the output folder under its own name, the
// recipes' made from the game folder beside this program. Exits with 1,
// naming it, at an input it cannot read or a recipe it cannot follow.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "fuzz/fuzz_target.h"
#include "fuzz/kept_inputs.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: kept_inputs <folder of kept inputs> <output folder>\n");
    return 2;
  }
  const fs::path cases = argv[1], out = argv[2];
  std::error_code ec;
  fs::create_directories(out, ec);
  if (!fs::is_directory(cases)) return 0;  // a target without kept inputs
  for (const auto& entry : fs::directory_iterator(cases)) {
    if (!entry.is_regular_file()) continue;
    std::vector<uint8_t> bytes;
    std::string fault;
    if (!ReadKeptInput(entry.path(), GameFolder(), &bytes, &fault)) {
      std::fprintf(stderr, "%s\n", fault.c_str());
      return 1;
    }
    std::ofstream file(out / entry.path().filename(), std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file) {
      std::fprintf(stderr, "cannot write %s\n", (out / entry.path().filename()).c_str());
      return 1;
    }
  }
  return 0;
}
