#include "party/page_controls.h"

#include <cstdio>
#include <cstring>

#include "engine/click_sound.h"
#include "engine/frame.h"
#include "engine/linked_text.h"
#include "engine/music.h"
#include "engine/page_history.h"
#include "engine/page_history_access.h"
#include "engine/sound.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "frontend/menu_pages.h"
#include "engine/settings.h"
#include "party/level_up_words.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "state/game_progress.h"

void KeepPartyPageMusic() {
  constexpr int kPartyPageTrack = 7;
  if (OptionWords[kOptionMusicVolume] <= 0 || CurrentMusicTrack == kPartyPageTrack) return;
  PlayPageMusic(kPartyPageTrack, 1);
  GetMusicTempo();
}

void PageText(const char* text, int style, int column, int row, int large, int yOffset) {
  DrawTextAt(kDefaultColour, large ? kLargeColumns : kSmallColumns, 0, text, style, column, row, large, yOffset, 1,
             0);
}

bool OverText(const char* text, int column, int row, int large, int yOffset) {
  const int length = static_cast<int>(std::strlen(text));
  return length > 0 && MouseInTextRow(row, column, length, 1, large, yOffset);
}

void ClearHint() { std::memset(HoverCaption, 0, kHintShown); }

void SetHint(const char* hint) { std::snprintf(HoverCaption, kHintShown, "%s", hint); }

namespace {

bool TakeButton(int button) {
  if (!ButtonPressed(button)) return false;
  LatchButton(button);
  PlayClickSound();
  return true;
}

}  // namespace

bool TakeLeftClick() { return TakeButton(0); }
bool TakeRightClick() { return TakeButton(1); }

void PlayHoverSoundOnChange(int32_t hovered, int32_t* last) {
  if (hovered != -1 && hovered != *last) PlaySampleOnIdleChannel(kSampleHover, kSoundChannelCount);
  *last = hovered;
}

void HandBackPick(int creature, int32_t pick, int32_t slotCounter, int firstChoice) {
  ResetLinkHover();
  if (NewPartyPending != 1 && (slotCounter == 1 || slotCounter == 2))
    PendingLevelUpChoices[firstChoice + slotCounter - 1] = pick;
  ReturnToCallerPage(creature);
}

void ReturnToCallerPage(int creature) {
  if (NewPartyPending == 1)
    ReplaceTopPage("Character Creation", kPageCharacterCreation, creature);
  else
    ReplaceTopPage("Level Up", kPageLevelUp, creature);
}

void OpenCharacterRecordOver(const char* caption, int32_t type, int creature) {
  char name[16] = {};
  if (IsValidCreature(creature)) std::snprintf(name, sizeof name, "%s", Creatures[creature].name);
  SetFirstPage(caption, type, creature);
  PushPage(name, kPageCharacterRecord, creature);
  ScreenMode = kModePageView;
}
