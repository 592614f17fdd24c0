#include "engine/page_history.h"

#include <cstring>

#include "engine/click_sound.h"
#include "engine/frame.h"
#include "engine/linked_text.h"
#include "engine/sprite_sheets.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "engine/game_screen_state.h"

PageFrame PageHistory[kPageHistorySize] = {};
int32_t PageDepth = 0;
int32_t PageHighestDepth = 0;
uint32_t SavedScreenMode = kModeExploring;
int32_t HoveredBarButton = -1;
uint8_t BarHoverActive = 0;
int32_t BackgroundScroll = 0;
int32_t PageReady = 0;
int32_t HelpPageIndexCache = -1;
int32_t HelpLineCount = -1;
int32_t HoverSoundMark = -1;
uint8_t ScreenHovered = 0;
PageWorkBuffers PageWork = {};

namespace {

// A depth outside the 100 frames (the word is shared) is held to them first.
void HoldDepthToHistory() {
  if (PageDepth < 0) PageDepth = 0;
  if (PageDepth > kPageHistorySize - 1) PageDepth = kPageHistorySize - 1;
}

void SetTop(const char* caption, int32_t type, int32_t parameter) {
  HoldDepthToHistory();
  PageFrame& top = PageHistory[PageDepth];
  std::memset(top.caption, 0, sizeof top.caption);
  if (caption) std::memcpy(top.caption, caption, strnlen(caption, sizeof top.caption - 1));
  top.type = type;
  top.parameter = parameter;
}

// The texts that live for one page only: the caption under the pointer and
// the page work buffers (with the page scroll word).
void ClearTransientTexts() {
  std::memset(HoverCaption, 0, sizeof HoverCaption);
  ClearTransientBuffers();
}

void CaptionFrom(const PageFrame& frame) {
  std::memset(HoverCaption, 0, sizeof HoverCaption);
  std::memcpy(HoverCaption, frame.caption, sizeof frame.caption - 1);
}

}  // namespace

bool ClearTransientBuffers() {
  PageWork.scroll = 0;
  std::memset(PageWork.text, 0, sizeof PageWork.text);
  std::memset(PageWork.title, 0, sizeof PageWork.title);
  std::memset(PageWork.lines, 0, sizeof PageWork.lines);
  return true;
}

void ResetPageHistory() {
  PageDepth = 0;
  PageHighestDepth = 0;
  SetTop("LOGO SCREEN", kPageLogoScreen, -1);
  ScreenMode = kModePageView;
}

void PushPage(const char* caption, int32_t type, int32_t parameter) {
  HoldDepthToHistory();
  if (PageDepth < kPageHistorySize - 1) ++PageDepth;
  PageHighestDepth = PageDepth;
  SetTop(caption, type, parameter);
  ResetHover();
}

void ReplaceTopPage(const char* caption, int32_t type, int32_t parameter) { SetTop(caption, type, parameter); }

void OpenPage(const char* caption, int32_t parameter) { PushPage(caption, kPageHelpTopic, parameter); }

bool OpenPageOnClick(const char* caption, int32_t parameter) {
  if (!ConsumeClick(1)) return false;
  OpenPage(caption, parameter);
  return true;
}

bool OpenPageWithSound(const char* caption, int32_t parameter) {
  if (!ButtonPressed(1)) return false;
  ScreenMode = kModePageView;
  PlayClickSound();
  LatchButton(1);
  OpenPage(caption, parameter);
  return true;
}

void OpenLinkedPage(int32_t type, int32_t parameter) {
  if (ScreenMode == kModePageView) {
    if (PageDepth < kPageHistorySize - 1) ++PageDepth;
  } else {
    SavedScreenMode = ScreenMode;
    ScreenMode = kModePageView;
    PageDepth = 0;
  }
  PageHighestDepth = PageDepth;
  SetTop(HoverCaption, type, parameter);
}

int ConsumeClick(int withSound) {
  if (!ButtonPressed(0) && !ButtonPressed(1)) return 0;
  LatchButton(0);
  LatchButton(1);
  if (withSound == 1) PlayClickSound();
  return 1;
}

void ResetHover() {
  HoverSoundMark = -1;
  HelpPageIndexCache = -1;
  HelpLineCount = -1;
  BackgroundScroll = 0;
  PageReady = 0;
  CursorShape = -1;
  HoveredBarButton = -1;
  BarHoverActive = 0;
  ResetLinkHover();
}

void PollPointerButtons() {
  for (int button = 0; button < 2; ++button)
    if (ButtonPressed(button)) LatchButton(button);
}

namespace {

void DrawLabel(const char* text, int style, int column, int row) {
  DrawTextAt(kDefaultColour, kLargeColumns, 0, text, style, column, row, 1, 0, 1, 0);
}

void Jump(int32_t depth) {
  ClearTransientTexts();
  PlayClickSound();
  LatchButton(0);
  ResetHover();
  PageDepth = depth;
}

void LeavePageView() {
  PlayClickSound();
  LatchButton(0);
  EndTrade();
  PageDepth = 0;
  PageHighestDepth = 0;
  ScreenMode = SavedScreenMode > kModeExploring ? SavedScreenMode : kModeExploring;
  SavedScreenMode = kModeExploring;
  ClearTransientTexts();
  BackgroundScroll = 0;
  PageReady = 0;
  CursorShape = -1;
  ResetHover();
}

}  // namespace

int DrawHelpNavBar(int enabled, int option) {
  if (!enabled) return 0;
  DrawSeparatorLine(26, 0, 39, 26);
  constexpr int kDividers[6][3] = {{0, 85, 84},    {56, 112, 113}, {64, 85, 86},
                                   {144, 112, 91}, {152, 85, 64},  {312, 112, 111}};
  for (const auto& d : kDividers) {
    DrawSheetFrame(53, d[1], d[0], 216);
    DrawSheetFrame(53, d[2], d[0], 224);
  }
  const bool jumpAllowed = NavBarState.selection == -1 && HelpLinkSwitch == 0 && ScreenMode != kModeWandPicker &&
                           ScreenMode != kModeEnchantPicker && !PendingActionHoldsRightButton();
  const int32_t previous = HoveredBarButton;
  int32_t hovered = -1;

  // Back: "Jump" / "Back", offered while there is a page below.
  if (PageDepth > 0) {
    const bool over = MouseInTextRow(27, 2, 4, 2, 1, 0);
    const bool live = over && jumpAllowed;
    DrawLabel("Jump", live ? 2 : 4, 2, 27);
    DrawLabel("Back", live ? 2 : 4, 2, 28);
    if (over && !jumpAllowed) CursorShape = kCursorBarRefused;
    if (live) {
      hovered = 1;
      if (previous != 1) PlayClickSound();
      CaptionFrom(PageHistory[PageDepth - 1]);
      CursorShape = kCursorBarBack;
    }
    if (jumpAllowed && ((live && ButtonPressed(0)) || TakeKey(kKeyLeft) || TakeKey(kKeyBackspace))) {
      Jump(PageDepth - 1);
      return 1;
    }
  }

  // Forward: "Jump" / "Forward", offered while pages lie above.
  if (PageDepth < PageHighestDepth) {
    const bool over = MouseInTextRow(27, 10, 7, 2, 1, 0);
    const bool live = over && jumpAllowed;
    DrawLabel("Jump", live ? 2 : 4, 11, 27);
    DrawLabel("Forward", live ? 2 : 4, 10, 28);
    if (over && !jumpAllowed) CursorShape = kCursorBarRefused;
    if (live) {
      hovered = 2;
      CaptionFrom(PageHistory[PageDepth + 1]);
      CursorShape = kCursorBarForward;
    }
    if (jumpAllowed && ((live && ButtonPressed(0)) || TakeKey(kKeyRight))) {
      Jump(PageDepth + 1 < kPageHistorySize ? PageDepth + 1 : kPageHistorySize - 1);
      return 1;
    }
  }

  // Return / To The Game, offered while the game screen lets page view end.
  if (NavBarAllowsReturn()) {
    const bool over = MouseInTextRow(27, 25, 6, 1, 1, 0) || MouseInTextRow(28, 23, 11, 1, 1, 0);
    DrawLabel("Return", over ? 2 : 4, 25, 27);
    DrawLabel("To The Game", over ? 2 : 4, 23, 28);
    if (over) {
      hovered = 3;
      CursorShape = kCursorBarReturn;
    }
    const int32_t returnKey = option == 1 || option == 2 ? option : NavBarState.returnKey;
    bool trigger = (over && ButtonPressed(0)) || TakeKey(kKeySpace);
    if (!trigger && !KeyPressed(kKeyLeftShift)) trigger = TakeKey(kKeyEscape);
    if (!trigger && returnKey == 1) trigger = TakeKey(kKeyI);
    if (!trigger && returnKey == 2) trigger = TakeKey(kKeyM);
    if (!trigger && PendingActionHoldsRightButton() && ButtonPressed(1)) {
      // The pending combat action is given up with the return.
      LatchButton(1);
      GiveUpPendingAction();
      trigger = true;
    }
    if (trigger) {
      LeavePageView();
      return 1;
    }
  }

  HoveredBarButton = hovered;
  BarHoverActive = hovered != -1 ? 1 : 0;
  return 0;
}
