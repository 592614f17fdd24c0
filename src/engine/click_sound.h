// The click of pages and buttons.
#pragma once

// Plays the interface click (sample 28) once on the first idle channel among
// 0 to 15, centred, at the sound-effects volume; nothing when that volume is
// 0 or every one of those channels is busy.
void PlayClickSound();
// How many clicks were handed to a channel (for tests).
int ClickSoundsStarted();
