#include "screens/game/game_screen.h"

#include "engine/reset_words.h"
#include "screens/game/action_menu.h"
#include "screens/game/action_state.h"
#include "screens/game/day_and_weather.h"
#include "screens/game/map_input.h"
#include "screens/game/panel_words.h"
#include "screens/game/shared_routines.h"

uint8_t MouseMoved = 0;
int32_t HoverProbe = -1;
uint32_t JoystickPresent = 0;  // the machine's game pad, found as the window opens (no game state)
uint8_t FramePresented = 0;
int32_t CombatDisplayWords[2] = {};
uint8_t RedrawPending = 0;
char GameScreenCaptions[5000] = {};
uint8_t GameScreenWorkArea[936] = {};

void ForgetWordsOfTurns() {
  ForgetKeptSpace();
  ForgetClicksMeantForMissiles();
  ForgetOrderPlans();
}

void ResetGameScreenState() {
  MouseMoved = 0;
  HoverProbe = -1;
  FramePresented = 0;
  ResetWords(CombatDisplayWords);
  RedrawPending = 0;
  ResetWords(GameScreenCaptions);
  ResetWords(GameScreenWorkArea);
  ResetFrameWords();
  ResetFloatingTexts();
  ResetClickResults();
  ResetDayAndWeatherCounters();
  ResetActionStateWords();
  ResetActionMenuState();
  ResetPanelWords();
  ResetMapInputState();
  ResetCreatureUnderMouseState();
  ForgetKeptSpace();
}
