#include "frontend/menu_pages.h"

#include <cstdio>
#include <cstring>

#include "engine/click_sound.h"
#include "engine/frame.h"
#include "engine/input.h"
#include "engine/music.h"
#include "engine/page_history.h"
#include "engine/settings.h"
#include "engine/sound.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"

int32_t MenuHoverId = -1;

namespace {

constexpr int kHintBytes = 100;
bool g_entryHovered = false;
int g_hoverSounds = 0;

void DrawLabel(const char* text, int style, int column, int row) {
  DrawTextAt(kDefaultColour, kLargeColumns, 0, text, style, column, row, 1, 0, 1, 0);
}

}  // namespace

void BeginMenuFrame(int32_t cursor) {
  std::memset(HoverCaption, 0, kHintBytes);
  CursorShape = cursor;
  g_entryHovered = false;
}

void EndMenuFrame(bool pollButtons) {
  if (pollButtons) PollPointerButtons();
  DrawMouseCursor();
  if (HoverCaption[0]) DrawWrappedText(-1, HoverCaption, 0, -1, 0, 0);
}

void SetHoverHint(const char* text) {
  std::memset(HoverCaption, 0, kHintBytes);
  std::snprintf(HoverCaption, kHintBytes, "%s", text);
}

void PlayPageMusic(int track, int resume) {
  if (OptionWords[kOptionMusicVolume] <= 0 || CurrentMusicTrack == track) return;
  if (CurrentMusicTrack > 0 && CurrentMusicTrack < kMusicTrackCount)
    MusicTrackPositions[CurrentMusicTrack] = GetMusicPosition();
  StopMusic();
  PlayMusic(track, 0, resume);
}

void HoverEntry(int32_t id) {
  g_entryHovered = true;
  if (MenuHoverId == id) return;
  if (PlaySampleOnIdleChannel(kSampleHover, kSoundChannelCount)) ++g_hoverSounds;
  MenuHoverId = id;
}

int HoverSoundsStarted() { return g_hoverSounds; }

void SettleMenuHover() {
  if (!g_entryHovered) MenuHoverId = -1;
}

bool MenuEntry(const char* label, int column, int row, int32_t id, bool available, const char* refusal) {
  const int length = static_cast<int>(std::strlen(label));
  const bool over = MouseInTextRow(row, column, length, 1, 1, 0);
  int style = available ? kStyleAvailable : kStyleUnavailable;
  if (over && available) {
    style = kStyleHovered;
    CursorShape = kCursorActive;
    HoverEntry(id);
  } else if (over) {
    CursorShape = kCursorRefused;
    if (refusal) SetHoverHint(refusal);
  }
  DrawLabel(label, style, column, row);
  return over && available && ButtonPressed(0);
}

void TakeMenuClick() {
  LatchButton(0);
  PlayClickSound();
}

void PushMenuPage(const char* caption, int32_t type, int32_t parameter) {
  PushPage(caption, type, parameter);
  MenuHoverId = -1;
}

bool MainMenuLabel(int column, int row) {
  const bool over = MouseInTextRow(row, column, 9, 1, 1, 0);
  if (over) {
    CursorShape = kCursorActive;
    SetHoverHint("Back to Title Screen");
    HoverEntry(kHoverMainMenuLabel);
  }
  DrawLabel("Main Menu", over ? kStyleHovered : kStyleAvailable, column, row);
  bool taken = TakeKey(kKeyEscape);
  taken = TakeKey(kKeySpace) || taken;
  if (!taken && over && ButtonPressed(0)) {
    LatchButton(0);
    taken = true;
  }
  if (!taken) return false;
  PlayClickSound();
  ScreenMode = kModePageView;
  if (PageDepth > 0) --PageDepth;
  return true;
}
