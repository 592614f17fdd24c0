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
  for (const Stereo& s : sounds)
    if (WavBytes(s).size() != 44 + s.size() / 2 * 4) FuzzFault("a sound's WAV bytes are not its header and samples");
}
