#include "screens/game/sounds_and_music.h"

#include "engine/music.h"
#include "engine/settings.h"
#include "engine/sound.h"

namespace {

constexpr int kFirstAmbientSound = 12, kLastAmbientSound = 26;
constexpr int kRainChannel = 19, kRainSound = 21;

// A track the music player could not play: asked for again, it is not
// loaded again every frame (a fact of the music files, not of the game).
int UnplayableTrack = -1;

int FirstFreeChannel() {
  for (int channel = 0; channel < kSoundChannelCount; ++channel)
    if (IsChannelFree(channel)) return channel;
  return -1;
}

}  // namespace

int PlayChannelSound(int channel, int sound, int pan, int loopCount, int voiceFlag, int volumePercent) {
  if (channel == kFirstFreeChannelA || channel == kFirstFreeChannelB) channel = FirstFreeChannel();
  if (channel < 0 || channel >= kSoundChannelCount || sound < 0 || sound >= kSoundSampleCount) return 0;
  const bool ambient = voiceFlag != 0 || (sound >= kFirstAmbientSound && sound <= kLastAmbientSound);
  const int setting = OptionWords[ambient ? kOptionAmbientVolume : kOptionSoundVolume];
  const int volume = setting * volumePercent / 100;
  if (volume <= 0) return 0;
  SetChannelPan(channel, pan);
  return PlaySound(sound, channel, loopCount, volume) ? 1 : 0;
}

int PlayChannel19Sound(int volumePercent) {
  return PlayChannelSound(kRainChannel, kRainSound, 0, 0, 0, volumePercent);
}

void SwitchMusicTrack(int track, int fromStart, int once) {
  if (OptionWords[kOptionMusicVolume] <= 0 || track == CurrentMusicTrack) return;
  if (track == UnplayableTrack && CurrentMusicTrack == 0) return;
  if (CurrentMusicTrack > 0 && CurrentMusicTrack < kMusicTrackCount)
    MusicTrackPositions[CurrentMusicTrack] = GetMusicPosition();
  SetMusicVolume(OptionWords[kOptionMusicVolume]);
  StopMusic();
  CurrentMusicTrack = 0;
  if (track <= 0 || track >= kMusicTrackCount) return;
  const int resume = fromStart == 0 && MusicTrackPositions[track] != 0 ? 1 : 0;
  UnplayableTrack = PlayMusic(track, once != 0 ? 1 : 0, resume) ? -1 : track;
}
