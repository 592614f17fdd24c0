// makemaps OUTPUT_FOLDER SOURCE...
//   Compiles each map source ("Map7.txt", "WorldMap.txt") into its map file
//   ("Map7.dat", "WorldMap.dat") in the output folder. Nothing is written
//   unless every source is sound; each fault is reported as file:line.
// makemaps --check SOURCE...
//   Only checks the sources.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "mapmaker/map_source.h"

namespace {

MapRecord Compiled, Reread;
uint8_t Image[kMapRecordBytes];

bool ReadText(const std::string& path, std::string* out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  *out = ss.str();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: makemaps OUTPUT_FOLDER SOURCE...\n       makemaps --check SOURCE...\n");
    return 2;
  }
  const bool checkOnly = std::strcmp(argv[1], "--check") == 0;
  const std::string outDir = argv[1];
  struct Output {
    std::string name;
    std::vector<uint8_t> bytes;
  };
  std::vector<Output> outputs;
  int faults = 0;
  for (int i = 2; i < argc; ++i) {
    const std::string path = argv[i];
    const std::string outName = MapOutputName(path);
    if (outName.empty()) {
      std::fprintf(stderr, "%s: a map source is named Map0 to Map40 or WorldMap\n", path.c_str());
      ++faults;
      continue;
    }
    std::string text;
    if (!ReadText(path, &text)) {
      std::fprintf(stderr, "%s: cannot be read\n", path.c_str());
      ++faults;
      continue;
    }
    const MapSourceResult r = CompileMapSource(path, text, outName == "WorldMap.dat", &Compiled);
    for (const auto& e : r.errors) std::fprintf(stderr, "%s\n", e.c_str());
    if (!r.ok) {
      faults += static_cast<int>(r.errors.size());
      continue;
    }
    WriteMapImage(Compiled, Image);
    // What is written is read back as the game reads a map file, and checked as it checks one.
    ReadMapImage(Image, &Reread);
    if (!MapExtentValid(Reread)) {
      std::fprintf(stderr, "%s: the map's width and height would make the game refuse it\n", path.c_str());
      ++faults;
      continue;
    }
    outputs.push_back({outName, std::vector<uint8_t>(Image, Image + kMapRecordBytes)});
  }
  if (faults) {
    std::fprintf(stderr, "makemaps: %d fault%s, no map written\n", faults, faults == 1 ? "" : "s");
    return 1;
  }
  if (checkOnly) return 0;
  std::error_code ec;
  std::filesystem::create_directories(outDir, ec);
  for (const auto& o : outputs) {
    const std::string target = outDir + "/" + o.name;
    FILE* f = std::fopen(target.c_str(), "wb");
    bool written = f && std::fwrite(o.bytes.data(), 1, o.bytes.size(), f) == o.bytes.size();
    if (f && std::fclose(f) != 0) written = false;
    if (!written) {
      std::fprintf(stderr, "%s: cannot be written\n", target.c_str());
      std::remove(target.c_str());
      return 1;
    }
  }
  return 0;
}
