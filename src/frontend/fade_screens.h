// The three fading screens: the splash at start-up, the title picture and the
// full-screen picture an adventure script shows. They share one fade state,
// zeroed whenever one of them is left so that the next starts from black.
#pragma once
#include <cstdint>

// The fade-in alpha (raised by 8 a frame, drawn clamped to 255).
extern int32_t FadeAlpha;
// The splash's phase: 0 while fading in, then the frames of full view.
extern int32_t FadePhase;
// The splash's fade-out amount; the title's blink counter.
extern int32_t FadeOut;

// The music of the fading screens.
constexpr int kTitleMusicTrack = 16;

// The script picture, drawn by the dialogue loop in place of the game screen
// while ScriptPictureShown is 1; dismissing it answers the box with 1.
// Returns true.
bool DrawFadePicture();
// The fade state zeroed.
void ResetFadeState();
