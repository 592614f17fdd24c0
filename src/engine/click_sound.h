// The click of pages and buttons.
#pragma once

// Plays the interface click (sample 28) once on the first idle one of the 32
// sound channels, centred, at the sound-effects volume; nothing when that
// volume is 0 or every channel is busy (the clicked action still happens).
void PlayClickSound();
// Plays a sample once, centred, at the sound-effects volume on the first idle
// channel among the first `channelCount`; false when the volume is 0 or all
// of them are busy.
bool PlaySampleOnIdleChannel(int sample, int channelCount);
// The same at a volume of the caller's (0 to 100; nothing at 0).
bool PlaySampleAtVolume(int sample, int channelCount, int volume);
// How many clicks were handed to a channel (for tests).
int ClickSoundsStarted();
