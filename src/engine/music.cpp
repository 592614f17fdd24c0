#include "engine/music.h"

namespace {
int g_musicVolume = 0;
}

int SetMusicVolume(int volume) {
  g_musicVolume = volume % 101;
  return 1;
}
