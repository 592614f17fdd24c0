// WAV sound files: the header and the data read into a sample record, then
// played once on a channel through the mixer.
#include <cstdlib>
#include <vector>

#include "engine/sound.h"
#include "fuzz/fuzz_target.h"
#include "platform/system.h"

GH_FUZZ_TARGET(wav) {
  static const bool ready = platform::InitPlatform() && InitSound(1) == 1 && CreateSoundChannel(0) == 1 &&
                            std::atexit([] { ShutdownSound(); }) == 0;
  if (!ready) FuzzFault("no headless sound");
  WriteScratchFile("sound.wav", data, size);
  SoundSample& sample = SoundSamples[1];
  if (LoadWavFile(&sample, "sound.wav")) {
    PlaySound(1, 0, 1, 100);
    std::vector<int16_t> out(4096 * 2);
    CaptureSound(out.data(), 4096);
    StopChannel(0);
  }
  FreeSoundSample(&sample);
}
