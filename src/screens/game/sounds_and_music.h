// The game screen's sounds and music: a sample on a channel at a percent of
// its volume option, and the background music switched from track to track.
#pragma once

// The channels that mean "the first free channel".
constexpr int kFirstFreeChannelA = 16;
constexpr int kFirstFreeChannelB = 23;

// Plays sound (1 to 57) on the channel (16 or 23: the first free one) with
// the pan and loop count (0 without end, 1 once) at percent of the ambient
// volume (sounds 12 to 26, or with voiceFlag set) or of the sound-effects
// volume. 1 when it plays; 0 when no channel is free, the volume comes to 0
// or less, or the sound or channel is out of range.
int PlayChannelSound(int channel, int sound, int pan, int loopCount, int voiceFlag, int volumePercent);
// The rain sound on its channel at the caller's volume percent.
int PlayChannel19Sound(int volumePercent);
// Switches the background music to the track (0 silence), keeping the
// playing track's position: from its start when fromStart is set, else from
// its stored position; once plays it a single time. Nothing while the music
// volume is 0 or the track already plays.
void SwitchMusicTrack(int track, int fromStart, int once);
