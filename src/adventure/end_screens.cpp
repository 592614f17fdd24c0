// The defeat screen, the end of the introductory adventure, the parts every
// end screen shares, and the way back to the main menu.
#include "adventure/end_screens.h"

#include "adventure/scripts.h"
#include "engine/click_sound.h"
#include "engine/frame.h"
#include "engine/last_screen.h"
#include "engine/page_history.h"
#include "engine/page_history_access.h"
#include "engine/settings.h"
#include "engine/sprite_sheets.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "frontend/fade_screens.h"
#include "frontend/menu_pages.h"
#include "frontend/saved_games.h"
#include "map/movement_rules.h"
#include "screens/game/frame_words.h"
#include "state/current_cast.h"
#include "state/game_progress.h"
#include "state/game_screen_words.h"
#include "state/inventory_state.h"

namespace {

constexpr int kStyleHeading = 0;
constexpr int kStyleText = 4;
constexpr int kPictureSheet = 57;
constexpr int kDefeatPicture = 1;

// The end screen's picture and its framed box, the cursor of the menus.
void BeginEndScreen() {
  BeginMenuFrame(kCursorMenu);
  DrawFramedBox(0, 0, 2);
}

// The single main-menu page in page view.
void ShowMainMenuPage() {
  SetFirstPage("TITLE SCREEN", kPageMainMenu, -1);
  ScreenMode = kModePageView;
  PageWork.scroll = 0;
  GameRunningFlag = 0;
}

}  // namespace

void DrawBlinkingPrompt(int style, int column, int row, const char* text) {
  if (FadeOut > 40) FadeOut = 1;
  if (FadeOut <= 20) DrawTextF(style, column, row, "%s", text);
  ++FadeOut;
}

bool TakeEndScreenClick(bool spaceToo) {
  const bool space = spaceToo && KeyPressed(kKeySpace);
  if (!ButtonPressed(0) && !space) return false;
  PlayClickSound();
  LatchButton(0);
  LatchKey(kKeySpace);
  return true;
}

void SettleGameScreenWords(bool fromSettings) {
  HoveredCreature = -1;
  HoveredFighterSlot = -1;
  PartyListHover = 0;
  WeaponMode = fromSettings ? OptionWords[kOptionSelectedFighterModeWord] : 0;
}

void ReturnToMainMenu() {
  ShowMainMenuPage();
  SpellInProgress = -1;
  ChosenItem = -1;
  MapEntryFlag = 0;
}

void DrawDefeatScreen() {
  LastScreenDrawn = "DrawDefeatScreen";
  BeginEndScreen();
  DrawTextF(kStyleHeading, 2, 3, "The monsters rejoice,");
  DrawTextF(kStyleHeading, 2, 6, "for your party has been defeated.");
  DrawBlinkingPrompt(kStyleText, 3, 14, "Click to go back to the main menu.");
  DrawSheetFrame(kPictureSheet, kDefeatPicture, 160, 110);
  SettleGameScreenWords(true);
  if (TakeEndScreenClick(true)) {
    ResetTransientState();
    FadeOut = 0;
    ReturnToMainMenu();
  }
  EndMenuFrame();
}

void DrawEndOfDemoScreen() {
  LastScreenDrawn = "DrawEndOfDemoScreen";
  BeginEndScreen();
  SettleGameScreenWords(false);
  if (IntroductoryAdventureFlag == 1) {
    DrawTextF(kStyleHeading, 2, 2, "You have reached the end");
    DrawTextF(kStyleHeading, 2, 3, "of the demo. Congratulations!");
    DrawTextF(kStyleText, 2, 8, "In the full game:");
    DrawTextF(kStyleText, 2, 10, "* Create your own characters;");
    DrawTextF(kStyleText, 2, 12, "* Develop them up to level 20;");
    DrawTextF(kStyleText, 2, 14, "* Enjoy a bigger, deeper story;");
    DrawTextF(kStyleText, 2, 16, "* Overcome the odds in epic battles;");
    DrawTextF(kStyleText, 2, 18, "* Meet new, interesting creatures.");
    DrawBlinkingPrompt(kStyleText, 5, 24, "Click to go back to the menu.");
  }
  if (TakeEndScreenClick(false)) {
    FadeOut = 0;
    ShowMainMenuPage();
  }
  EndMenuFrame();
}
