// The looping ambient channels: stopping them, and their volumes.
#include <mutex>

#include "engine/looping_sounds.h"
#include "engine/sound.h"
#include "engine/settings.h"

int32_t AmbientChannelLevels[32] = {};

namespace {

void StopLoopingChannel(int channel) {
  std::lock_guard<std::recursive_mutex> hold(SoundLock);
  if (IsChannelPlaying(channel)) StopChannel(channel);
  SoundChannels[channel].playing = 0;
  AmbientChannelLevels[channel] = 0;
}

}  // namespace

int StopLoopingSounds() {
  for (int channel : {18, 20, 17, 21}) StopLoopingChannel(channel);
  return 1;
}

int StopAllLoopingSounds() {
  for (int channel : {19, 18, 20, 17, 21}) StopLoopingChannel(channel);
  return 1;
}

bool ApplyAmbientVolumes() {
  for (int channel : {18, 20, 19, 17, 21})
    SetChannelVolume(channel, OptionWords[kOptionAmbientVolume] * AmbientChannelLevels[channel] / 100);
  return true;
}
