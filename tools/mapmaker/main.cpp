// makemaps OUTPUT_FOLDER SOURCE...
//   Compiles each map source ("Map7.txt", "WorldMap.txt") into its map file
//   ("Map7.dat", "WorldMap.dat") in the output folder. Nothing is written
//   unless every source is sound; each fault is reported as file:line.
// makemaps --check SOURCE...
//   Only checks the sources.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/tool_files.h"
#include "mapmaker/map_source.h"

namespace {

MapRecord Compiled, Reread;
uint8_t Image[kMapRecordBytes];

}  // namespace

namespace {

// The run, as main runs it (RunTool stops it on anything it throws).
int Make(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: makemaps OUTPUT_FOLDER SOURCE...\n       makemaps --check SOURCE...\n");
    return 2;
  }
  const bool checkOnly = std::strcmp(argv[1], "--check") == 0;
  const std::string outDir = argv[1];
  OutputFiles files;
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
    if (!ReadSourceFile(path, &text)) {
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
    if (faults || checkOnly) continue;
    if (const std::string fault = files.Write(outDir + "/" + outName, Image, kMapRecordBytes); !fault.empty()) {
      std::fprintf(stderr, "%s\n", fault.c_str());
      ++faults;
    }
  }
  if (!faults && !checkOnly) {
    if (const std::string fault = files.Commit(); !fault.empty()) {
      std::fprintf(stderr, "%s\n", fault.c_str());
      ++faults;
    }
  }
  if (faults) {
    std::fprintf(stderr, "%s\n", FaultSummary("makemaps", static_cast<size_t>(faults)).c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) { return RunTool("makemaps", Make, argc, argv); }
