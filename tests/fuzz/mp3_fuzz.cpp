// MP3 files: decoded whole when opened, then run through the mixer.
#include <vector>

#include "fuzz/fuzz_target.h"
#include "platform/audio.h"
#include "platform/system.h"

GH_FUZZ_TARGET(mp3) {
  static const bool ready = platform::InitPlatform() && platform::OpenAudio();
  if (!ready) FuzzFault("no headless audio");
  WriteScratchFile("Combat.mp3", data, size);
  if (!platform::OpenMp3("Combat.mp3")) return;
  platform::RunMp3();
  std::vector<int16_t> out(4096 * 2);
  platform::CaptureAudio(out.data(), 4096);
  (void)platform::TakeMp3Completion();
  platform::CloseMp3();
}
