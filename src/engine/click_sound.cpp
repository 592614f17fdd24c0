#include "engine/click_sound.h"

#include "engine/sound.h"
#include "engine/settings.h"

namespace {
int g_started = 0;
}  // namespace

bool PlaySampleOnIdleChannel(int sample, int channelCount) {
  return PlaySampleAtVolume(sample, channelCount, OptionWords[kOptionSoundVolume]);
}

bool PlaySampleAtVolume(int sample, int channelCount, int volume) {
  if (volume <= 0) return false;
  for (int channel = 0; channel < channelCount && channel < kSoundChannelCount; ++channel) {
    if (!IsChannelFree(channel)) continue;
    SetChannelPan(channel, 0);
    PlaySound(sample, channel, 1, volume);
    return true;
  }
  return false;
}

void PlayClickSound() {
  if (PlaySampleOnIdleChannel(kSampleClick, kSoundChannelCount)) ++g_started;
}

int ClickSoundsStarted() { return g_started; }
