// The game screen: the map view's per-frame drawing and input, the camera,
// and the values the application's frame reads and sets.
#pragma once
#include <cstdint>

#include "screens/game/click_results.h"
#include "screens/game/floating_texts.h"
#include "screens/game/frame_words.h"
#include "screens/game/sounds_and_music.h"
#include "screens/game/view_window.h"
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

// The map view's input: the mouse, the leader's step by game pad, the keys
// (F2 and F3 among them; 0 ends the program) and the scrolling at the
// screen's edges (true when it scrolled this frame).
void MapMouseHandler();
void LeaderStep();
int MainScreenKeys();
// The keys of the text being typed (a name or a description).
void TextEntryKeys();
bool EdgeScroll();

// Draws and handles the whole game screen for one frame: rows and cols are
// the last row and column index of the view, (11, 14) in the 320x240
// picture, (16, 21) in the 480x360 space of the "960x720 (b)" window.
// Returns 1, or 0 when the program must end.
int GameScreenFrame(int rows, int cols);
// GameScreenFrame with the view's size of the current window.
int DrawGameScreenForWindow();

// Forgets what a member's turn keeps beyond its frames: a Space kept to end
// it, the clicks meant for its missiles and the plans of the orders under
// the pointer. On a load and a new game; the end of a battle or of the turn
// forgets them on the next frame.
void ForgetWordsOfTurns();
// The kept Space alone.
void ForgetKeptSpace();

// Puts the words above back to their start-up values (a new game, and tests).
void ResetGameScreenState();
