// makesounds effects <recipe file> <game folder>: writes Sounds/*.wav
// makesounds music <score folder> <game folder>: writes Midi/<n>.mid and MP3/Combat.mp3
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "common/tool_files.h"
#include "soundmaker.h"

namespace {

// The run, as main runs it (RunTool stops it on anything it throws).
int Make(int argc, char** argv) {
  if (argc != 4 || (std::strcmp(argv[1], "effects") != 0 && std::strcmp(argv[1], "music") != 0)) {
    std::fprintf(stderr, "usage: makesounds effects <recipe file> <game folder>\n"
                         "       makesounds music <score folder> <game folder>\n");
    return 2;
  }
  const std::filesystem::path game = argv[3];
  try {
    if (std::strcmp(argv[1], "effects") == 0) MakeEffects(argv[2], (game / "Sounds").string());
    else MakeMusic(argv[2], (game / "Midi").string(), (game / "MP3" / "Combat.mp3").string());
    return 0;
  } catch (const SourceFault& fault) {
    const std::string faults = fault.what();
    std::fprintf(stderr, "%s\n%s\n", faults.c_str(),
                 FaultSummary("makesounds", 1 + static_cast<size_t>(std::count(faults.begin(), faults.end(), '\n'))).c_str());
    return 1;
  }
}

}  // namespace

int main(int argc, char** argv) { return RunTool("makesounds", Make, argc, argv); }
