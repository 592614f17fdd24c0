#include "engine/click_sound.h"

#include "engine/sound.h"
#include "frontend/settings.h"

namespace {
int g_started = 0;
}  // namespace

void PlayClickSound() {
  const int volume = OptionWords[kOptionSoundVolume];
  if (volume <= 0) return;
  for (int channel = 0; channel < kSoundChannelCount; ++channel) {
    if (!IsChannelFree(channel)) continue;
    SetChannelPan(channel, 0);
    PlaySound(kSampleClick, channel, 1, volume);
    ++g_started;
    return;
  }
}

int ClickSoundsStarted() { return g_started; }
