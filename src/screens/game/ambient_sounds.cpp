#include "screens/game/ambient_sounds.h"

#include "engine/looping_sounds.h"
#include "engine/music.h"
#include "engine/settings.h"
#include "engine/sound.h"
#include "screens/game/frame_words.h"
#include "state/game_screen_words.h"
#include "state/camera.h"

namespace {

struct AmbientChannel {
  AmbientSource source;
  int channel, sound, nearLevel, farLevel;
};
constexpr AmbientChannel kMagic = {kAmbientAreas, 17, 22, 100, 60};
constexpr AmbientChannel kFeatures = {kAmbientFeatures, 21, 23, 100, 70};
constexpr AmbientChannel kFlames = {kAmbientFlames, 18, 20, 100, 60};
constexpr int kCampfireChannel = 20, kCampfireSound = 55, kCampfireNear = 100, kCampfireFar = 75;
constexpr int kRainChannel = 19;

int AmbientVolume() { return OptionWords[kOptionAmbientVolume]; }
int Percent(int level) { return AmbientVolume() * level / 100; }

void ServeChannel(const AmbientChannel& a) {
  const AmbientSourcePair& flags = AmbientSourceFlags[a.source];
  int32_t& level = AmbientChannelLevels[a.channel];
  const bool playing = IsChannelPlaying(a.channel) != 0;
  if (flags.seen && !playing) {
    const bool campfireNear = AmbientSourceFlags[kAmbientCampfire].nearby != 0;
    level = flags.nearby && !campfireNear ? a.nearLevel : a.farLevel;
    SetChannelPan(a.channel, 0);
    PlaySound(a.sound, a.channel, 0, Percent(level));
    return;
  }
  if (!flags.seen && playing) {
    StopChannel(a.channel);
    level = 0;
    return;
  }
  if (!playing) return;
  const int32_t before = level;
  if (flags.nearby && level == a.farLevel) level = a.nearLevel;
  if (!flags.nearby && level == a.nearLevel) level = a.farLevel;
  if (level != before) SetChannelVolume(a.channel, Percent(level));
}

// The full volumes of what the campfire damps.
int RainFull() { return static_cast<int>(RainVolume) * AmbientVolume() / 100; }
int FeaturesFull() { return AmbientChannelLevels[kFeatures.channel] * AmbientVolume() / 100; }

void ServeCampfire() {
  const AmbientSourcePair& flags = AmbientSourceFlags[kAmbientCampfire];
  int32_t& level = AmbientChannelLevels[kCampfireChannel];
  const int d = FocusSquareX - CampfireSquareX;
  const int pan = d > 4 ? -10000 : d < -4 ? 10000 : 0;
  const bool playing = IsChannelPlaying(kCampfireChannel) != 0;
  if (flags.seen && !playing) {
    level = flags.nearby ? kCampfireNear : kCampfireFar;
    SetChannelPan(kCampfireChannel, pan);
    PlaySound(kCampfireSound, kCampfireChannel, 0, Percent(level));
    return;
  }
  if (!flags.seen && playing) {
    StopChannel(kCampfireChannel);
    level = 0;
    SetChannelVolume(kRainChannel, RainFull());
    SetChannelVolume(kFeatures.channel, FeaturesFull());
    SetMusicVolume(OptionWords[kOptionMusicVolume]);
    return;
  }
  if (!playing) return;
  SetChannelPan(kCampfireChannel, pan);
  if (AmbientVolume() > 0) {
    const int damp = flags.nearby ? 2 : 40, music = flags.nearby ? 2 : 30;
    SetChannelVolume(kRainChannel, RainFull() * damp / 100);
    SetChannelVolume(kFeatures.channel, FeaturesFull() * damp / 100);
    SetMusicVolume(OptionWords[kOptionMusicVolume] * music / 100);
  }
  const int32_t before = level;
  if (flags.nearby && level == kCampfireFar) level = kCampfireNear;
  if (!flags.nearby && level == kCampfireNear) level = kCampfireFar;
  if (level != before) SetChannelVolume(kCampfireChannel, Percent(level));
}

}  // namespace

void UpdateAmbientSounds() {
  ServeChannel(kMagic);
  ServeChannel(kFeatures);
  ServeCampfire();
  ServeChannel(kFlames);
}
