#include "state/map_view_state.h"

#include "engine/reset_words.h"

int32_t ActionBarMode = 1;
uint32_t TintTarget[3] = {255, 255, 255};
int32_t SelectedFighterSlot = 0;
MissileStateWords MissileState = {};
int32_t SideCode = -1;
int32_t AttackLinesScroll = 0;
int32_t HitChanceMode = 0;
uint8_t ChargePreview = 0;
uint8_t ReachableCursor = 0;
uint8_t MapInputSuppressed = 0;
uint8_t ComputerTurnDisplay = 0;
int32_t MapCursorX = 0, MapCursorY = 0;
uint8_t RollDisplayFlags[2] = {};
FallenPlace FallenPlaces[kFallenPlaceCount];

void ForgetFallenPlaces() {
  for (FallenPlace& place : FallenPlaces) place = FallenPlace{};
}

void ResetMapViewWords() {
  ActionBarMode = 1;
  for (uint32_t& level : TintTarget) level = 255;
  SelectedFighterSlot = 0;
  ResetWords(MissileState);
  SideCode = -1;
  AttackLinesScroll = 0;
  HitChanceMode = 0;
  ChargePreview = 0;
  ReachableCursor = 0;
  MapInputSuppressed = 0;
  ComputerTurnDisplay = 0;
  MapCursorX = 0;
  MapCursorY = 0;
  ResetWords(RollDisplayFlags);
  ForgetFallenPlaces();
}
