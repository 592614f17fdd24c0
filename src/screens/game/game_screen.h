// The game screen: the map view's per-frame drawing and input, the camera,
// and the values the application's frame reads and sets.
#pragma once
#include <cstdint>

#include "state/camera.h"
#include "state/combat_action.h"  // CurrentSpell
#include "state/combat_events.h"
#include "state/game_screen_words.h"

extern uint8_t MouseMoved;      // the mouse position changed in this frame
extern int32_t HoverProbe;      // -1 at the start of each frame
extern uint32_t JoystickPresent;
extern uint8_t FramePresented;   // a screen has already ended the scene and presented
extern int32_t CombatDisplayWords[2];
extern uint8_t RedrawPending;
extern char GameScreenCaptions[5000];
extern uint8_t GameScreenWorkArea[936];

void MapMouseHandler();
void LeaderStep();
// The game screen's keys (F2 and F3 among them); 0 ends the program.
int MainScreenKeys();
// The keys of the text being typed (a character's name).
void TextEntryKeys();
void CameraFollowActor();
void EdgeScroll();
void ScrollViewByKeys();
void ClampCamera();
void CentreMouseCursor();
// Draws and handles the whole game screen for one frame; 0 ends the program.
int GameScreenFrame(int rows, int columns);
void OpenInventoryMenu(int creature);
// The text that rises over a creature: frames left (-1 none), the text and
// its map pixel position (-1 until the figure pass places it).
struct FloatingTextEntry {
  int32_t framesLeft = -1;
  char text[32] = {};
  int32_t x = -1, y = -1;
};
constexpr int kFloatingTextCreatures = 2100;
extern FloatingTextEntry FloatingTexts[kFloatingTextCreatures];
// Frames a floating text lives.
extern int32_t FloatingTextDuration;
void SwitchMusicTrack(int track, int a, int b);

// The message shown while the mouse stays inside the rectangle (code -1 none).
struct ClickResultState {
  int32_t code = -1;
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};
extern ClickResultState ClickResult;

// Puts the words above back to their start-up values (a new game, and tests).
void ResetGameScreenState();
