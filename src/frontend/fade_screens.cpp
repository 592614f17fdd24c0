// The splash fades the logo in, holds it and fades it out, then gives way to
// the title; the title fades in and blinks "Click to Start" until the player
// goes on to the main menu; the script picture fades in over a black screen.
#include "frontend/fade_screens.h"

#include <algorithm>
#include <cstring>

#include "engine/frame.h"
#include "engine/graphics.h"
#include "engine/last_screen.h"
#include "engine/page_history.h"
#include "engine/page_history_access.h"
#include "engine/sprite_sheets.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "frontend/front_screens.h"
#include "frontend/menu_pages.h"
#include "state/script_state.h"

int32_t FadeAlpha = 0;
int32_t FadePhase = 0;
int32_t FadeOut = 0;

namespace {

constexpr int kFadeStep = 8;
constexpr int kSplashHoldFrames = 30;
constexpr int kSheetPictureBand = 56;
constexpr int kSheetPicture = 58;

uint32_t WhiteWithAlpha(int32_t alpha) {
  return static_cast<uint32_t>(std::clamp(alpha, 0, 255)) << 24 | 0x00FFFFFFu;
}

// Space, Escape without the left Shift, or the left button, freshly pressed;
// the three are latched.
bool Dismissed() {
  const bool taken = KeyPressed(kKeySpace) || (KeyPressed(kKeyEscape) && !KeyHeld(kKeyLeftShift)) ||
                     ButtonPressed(0);
  if (!taken) return false;
  LatchButton(0);
  LatchKey(kKeyEscape);
  LatchKey(kKeySpace);
  return true;
}

// The next of the fading screens: one page at depth 0, the fade zeroed.
void GoOn(const char* caption, int32_t type) {
  SetFirstPage(caption, type, -1);
  ResetFadeState();
  ScreenMode = kModePageView;
}

}  // namespace

void ResetFadeState() {
  FadeAlpha = 0;
  FadePhase = 0;
  FadeOut = 0;
}

int SplashScreen() {
  LastScreenDrawn = "SplashScreen";
  BeginMenuFrame(0);
  PlayPageMusic(kTitleMusicTrack, 1);
  bool finished = false;
  if (FadePhase == 0) {
    if (FadeAlpha > 255) {
      FadeAlpha = 255;
      FadePhase = 1;
    }
    DrawLogoScreenImage(WhiteWithAlpha(FadeAlpha));
    FadeAlpha += kFadeStep;
  } else if (FadeOut == 0) {
    DrawLogoScreenImage(WhiteWithAlpha(255));
    if (++FadePhase > kSplashHoldFrames) FadeOut = kFadeStep;
  } else {
    int32_t alpha = 255 - FadeOut;
    if (alpha <= 0) {
      alpha = 0;
      finished = true;
    }
    DrawLogoScreenImage(WhiteWithAlpha(alpha));
    FadeOut += kFadeStep;
  }
  if (Dismissed() || finished) GoOn("Splash Screen", kPageTitle);
  EndMenuFrame();
  return 1;
}

int TitleScreen() {
  LastScreenDrawn = "TitleScreen";
  BeginMenuFrame(0);
  PlayPageMusic(kTitleMusicTrack, 1);
  FadeAlpha = std::min(FadeAlpha, 255);
  DrawTitleBackdrop(WhiteWithAlpha(FadeAlpha));
  if (FadeAlpha == 255) {
    // Shown for 21 frames, then hidden and shown for 20 frames each in turn.
    if (FadeOut > 40) FadeOut = 1;
    if (FadeOut < 21) DrawTextF(kStyleUnavailable, 14, 26, "Click to Start");
    ++FadeOut;
  }
  FadeAlpha += kFadeStep;
  if (Dismissed()) GoOn("Title Screen", kPageMainMenu);
  EndMenuFrame();
  return 1;
}

bool DrawFadePicture() {
  BeginMenuFrame(0);
  PlayPageMusic(kTitleMusicTrack, 0);
  FadeAlpha = std::min(FadeAlpha, 255);
  const uint32_t colour = WhiteWithAlpha(FadeAlpha);
  ClearScreen(0xFF000000u);
  // The left band of 8-pixel frames, then the picture in 64-pixel pieces.
  for (int row = 0; row < 32; ++row)
    for (int column = 0; column < 16; ++column)
      DrawSheetFrame(kSheetPictureBand, 16 + column + 32 * row, 8 * column, 8 * row, colour);
  if (SheetBank.owner && SheetBank.records && SheetBank.records[kSheetPicture].texture)
    for (int row = 0; row < 4; ++row)
      for (int column = 0; column < 3; ++column)
        DrawSheetFrame(kSheetPicture, 4 * row + column, 128 + 64 * column, 64 * row, colour);
  FadeAlpha += kFadeStep;
  if (Dismissed()) {
    ChosenAnswer = 1;
    ScriptPictureShown = 0;
    ResetFadeState();
  }
  EndMenuFrame();
  return true;
}
