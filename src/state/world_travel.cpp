#include "state/world_travel.h"

#include "engine/frame.h"
#include "engine/reset_words.h"

uint8_t TravelDestinationShown = 0;
uint32_t PartyWorldSquare[2] = {0, 0};
uint32_t CurrentMapWorldSquare[2] = {0, 0};
uint8_t WorldAmbientOn = 0;
uint32_t WorldAmbientLevel = 0;

void ShowLocalMapMode() {
  TravelDestinationShown = 0;
  ScreenMode = kModeLocalMap;
  if (CurrentMapWorldSquare[0] != 0 && CurrentMapWorldSquare[1] != 0) {
    PartyWorldSquare[0] = CurrentMapWorldSquare[0];
    PartyWorldSquare[1] = CurrentMapWorldSquare[1];
  }
}

void ResetWorldTravelState() {
  TravelDestinationShown = 0;
  WorldAmbientOn = 0;
  WorldAmbientLevel = 0;
  ResetWords(PartyWorldSquare);
  ResetWords(CurrentMapWorldSquare);
}
