// makesounds effects <recipe file> <game folder>: writes Sounds/*.wav
// makesounds music <score folder> <game folder>: writes Midi/<n>.mid and MP3/Combat.mp3
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "soundmaker.h"

int main(int argc, char** argv) {
  if (argc != 4 || (std::strcmp(argv[1], "effects") != 0 && std::strcmp(argv[1], "music") != 0)) {
    std::fprintf(stderr, "usage: makesounds effects <recipe file> <game folder>\n"
                         "       makesounds music <score folder> <game folder>\n");
    return 2;
  }
  const std::filesystem::path game = argv[3];
  try {
    if (std::strcmp(argv[1], "effects") == 0) {
      std::filesystem::create_directories(game / "Sounds");
      MakeEffects(argv[2], (game / "Sounds").string());
    } else {
      std::filesystem::create_directories(game / "Midi");
      std::filesystem::create_directories(game / "MP3");
      MakeMusic(argv[2], (game / "Midi").string(), (game / "MP3" / "Combat.mp3").string());
    }
  } catch (const SourceFault& fault) {
    std::fprintf(stderr, "%s\n", fault.what());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "makesounds: %s\n", e.what());
    return 1;
  }
  return 0;
}
