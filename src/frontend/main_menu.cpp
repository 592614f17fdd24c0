#include "frontend/main_menu.h"

#include <cstdio>
#include <cstring>

#include "combat/turns/turn_routines.h"
#include "engine/frame.h"
#include "engine/last_screen.h"
#include "engine/page_history.h"
#include "engine/settings.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "frontend/fade_screens.h"
#include "frontend/front_screens.h"
#include "frontend/game_start.h"
#include "frontend/menu_pages.h"
#include "frontend/save_load_screen.h"
#include "platform/files.h"
#include "state/game_progress.h"
#include "state/score_board.h"
#include "state/turn_order.h"

namespace {

constexpr int kKeyF2 = 0x3C;

// The advice shown while the pointer rests on "Start New Game".
constexpr const char* kNewGameAdvice[7] = {
    "                               ", "  Launch New Game: Please try  ", "  playing the Free Demo first  ",
    "  if you haven't yet done so.  ", "  The demo / tutorial is a     ", "  unique adventure.            ",
    "                               ",
};

void DrawAdviceBox() {
  for (int i = 0; i < 7; ++i) DrawWrappedText(29, kNewGameAdvice[i], 0, 112 + 8 * i, 0, 1);
}

void DrawVersionLine() {
  const bool intro = IntroductoryAdventureFlag == 1;
  if (StoreEditionBuild())
    DrawTextF(kStyleTitle, 17, 26, intro ? "Steam Demo %.2f" : "Steam Full %.2f", kGameVersion);
  else if (intro)
    DrawTextF(kStyleTitle, 15, 26, "Demo Version %.2f", kGameVersion);
  else
    DrawTextF(kStyleTitle, 20, 26, "Version %.2f", kGameVersion);
}

// The menu's frame ends: buttons polled, cursor, hint, and the advice box
// while "Start New Game" is under the pointer.
void EndOfMenuFrame(bool adviceShown) {
  EndMenuFrame();
  if (adviceShown) DrawAdviceBox();
}

void BackToTheGame() {
  PresentBackdropFrameNow();
  PageDepth = 0;
  PageHighestDepth = 0;
  ScreenMode = MenuReturnMode;
  MenuReturnMode = 0;
}

}  // namespace

bool AnySavedGameToLoad() {
  for (int slot = 1; slot <= 5; ++slot) {
    char path[260];
    std::snprintf(path, sizeof path, "SaveGame\\%s\\%i\\SaveChar.cml", AdventureFolder, slot);
    if (FILE* f = platform::OpenGameFile(path, "rb")) {
      std::fclose(f);
      return true;
    }
  }
  return false;
}

bool SavingAllowed() {
  return GameRunningFlag == 1 && InCombat == 0 && MenuReturnMode != kModeCastAnnounce &&
         MenuReturnMode != kModeCastResolve;
}

int DrawMainMenuScreen() {
  LastScreenDrawn = "DrawMainMenuScreen";
  BeginMenuFrame(kCursorMenu);
  PlayPageMusic(kTitleMusicTrack, 1);
  DrawScreenBackdrop();
  DrawTextF(kStyleTitle, 7, 2, "Grevenholt");
  DrawTextF(kStyleUnavailable, 9, 8, "Please choose an option:");

  const bool intro = IntroductoryAdventureFlag == 1;
  const bool running = GameRunningFlag == 1;
  if (intro) {
    if (MenuEntry("Start Demo", 15, 10, 3, true)) {
      TakeMenuClick();
      return StartIntroductoryAdventure();
    }
  } else if (MenuEntry("Start New Game", 15, 10, 3, true)) {
    TakeMenuClick();
    return PrepareNewParty();
  }
  const bool adviceShown = !intro && MouseInTextRow(10, 15, 14, 1, 1, 0);

  if (MenuEntry("Load Game", 15, 12, 2, AnySavedGameToLoad())) {
    TakeMenuClick();
    OpenSaveLoadPage(kSaveModeLoad);
    PresentBackdropFrameNow();
    return 1;
  }
  const bool saving = SavingAllowed();
  if (MenuEntry("Save Game", 15, 14, 1, saving)) {
    TakeMenuClick();
    OpenSaveLoadPage(kSaveModeSave);
    PresentBackdropFrameNow();
    return 1;
  }
  if (MenuEntry("Settings", 15, 16, 5, true)) {
    TakeMenuClick();
    PushMenuPage("Settings", kPageOptions, -1);
    return 1;
  }
  if (MenuEntry("Credits", 15, 18, 6, true)) {
    TakeMenuClick();
    PushMenuPage("Credits", kPageCredits, -1);
    return 1;
  }
  if (MenuEntry("Display Help", 15, 20, 5, true)) {
    TakeMenuClick();
    PresentBackdropFrameNow();
    ScreenMode = kModePageView;
    PushMenuPage("Main Index", kPageHelpTopic, 10000);
    return 1;
  }
  if (MenuEntry("Back to the Game", 15, 22, 4, running)) {
    TakeMenuClick();
    BackToTheGame();
    return 1;
  }
  if (running && (TakeKey(kKeySpace) || (!KeyHeld(kKeyLeftShift) && TakeKey(kKeyEscape)))) {
    BackToTheGame();
    return 1;
  }
  if (StoreEditionBuild() &&
      MenuEntry("Score", 8, 24, 7, StoreClientRunning(), "Steam must be running")) {
    TakeMenuClick();
    if (ScoreBoardClientExists()) {
      if (running) SubmitPartyScore(0);
      RequestScoresAroundPlayer();
    }
    PushMenuPage("Score", kPageRanking, -1);
    return 1;
  }
  if (!intro && MenuEntry("Demo", 8, 10, 7, !running, "Not while a game is running")) {
    TakeMenuClick();
    SwitchToIntroductoryAdventure();
    return 1;
  }
  if (MenuEntry("Exit", 8, 26, 7, true)) {
    TakeMenuClick();
    return LeaveTheGame(saving) ? 0 : 1;
  }
  // After a failed save on leaving an Ironman game, "Exit" tells why it stayed.
  if (ExitRefusal() && MouseInTextRow(26, 8, 4, 1, 1, 0)) SetHoverHint(ExitRefusal());
  if (DebugMode == 1 && !intro && TakeKey(kKeyF2)) return StartDebugPartySetup();

  DrawVersionLine();
  SettleMenuHover();
  EndOfMenuFrame(adviceShown);
  return 1;
}
