// The click of pages and buttons.
#pragma once

// Plays the interface click on the first idle channel among 0 to 15 at the
// sound-effects volume (nothing when that volume is 0 or every channel is busy).
void PlayClickSound();
// How many clicks were asked for (for tests).
int ClickSoundRequests();
