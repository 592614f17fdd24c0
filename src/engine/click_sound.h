// The click of pages and buttons.
#pragma once

// Plays the interface click (sample 28) once on the first idle one of the 32
// sound channels, centred, at the sound-effects volume; nothing when that
// volume is 0 or every channel is busy (the clicked action still happens).
void PlayClickSound();
// How many clicks were handed to a channel (for tests).
int ClickSoundsStarted();
