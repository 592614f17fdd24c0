// The sound tool's effect recipes: read and rendered.
#include <cmath>

#include "fuzz/fuzz_target.h"
#include "soundmaker/soundmaker.h"

GH_FUZZ_TARGET(effects) {
  std::vector<Stereo> sounds;
  try {
    sounds = RenderRecipes("effects.txt", InputText(data, size));
  } catch (const SourceFault&) {
    return;
  }
  EnterScratchFolder();
  for (const Stereo& s : sounds) WriteWav("sound.wav", s);
}
