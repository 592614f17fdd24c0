// Click results: why the last click did or did not work, shown beside the
// cursor while the mouse stays inside the rectangle of the click.
#pragma once
#include <cstdint>

// The result of the last click: its code (-1 nothing new, 0 clear) and the
// rectangle (logical pixels, right and bottom inclusive) the text holds in.
struct ClickResultState {
  int32_t code = -1;
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};
extern ClickResultState ClickResult;
// The code and rectangle the game screen shows now (code 0 none); the code
// of ClickResult goes back to -1 while this stays up.
extern ClickResultState ShownClickResult;

// The codes that say why a casting was lost before it took hold, in the
// words floated over its caster: beside the pointer for the clicks the
// player meant for its further missiles or rays.
constexpr int32_t kResultConcentrationFailure = 76;
constexpr int32_t kResultSpellcastingDisrupted = 77;
constexpr int32_t kResultFailedToCast = 78;
constexpr int32_t kResultCounterspelled = 79;

// The code with a 17-pixel box whose corner is the control at (x, y); true.
bool SetClickResult(int x, int y, int32_t code);
// The rectangle 5 pixels round the mouse; the code is left to the caller. True.
bool SetClickRectAtMouse();
// The code with the rectangle 10 pixels round the mouse.
void ShowClickResultAtMouse(int32_t code);
// A refusal that no click led to (a key's): its text stands beside the
// pointer wherever it goes until the next press, and a press on the map
// then only ends it (it orders nothing there).
void ShowStandingRefusal(int32_t code);
// The press on the map that ends a standing refusal shown: taken (latched)
// and the refusal hidden. True when it took the press.
bool TakePressOnStandingRefusal();
// The same shown at once, in this frame (the object list's refusals).
void ShowClickResultNow(int32_t code);

// The text the map view shows for a code (nullptr for none), the cursor
// shape it sets (-1 unchanged), and whether it sets the action panel back to
// the player's remembered choice.
const char* ClickResultText(int32_t code);
int32_t ClickResultCursor(int32_t code);
bool ClickResultResetsPanel(int32_t code);
// The text the inventory screen shows for a code (nullptr for none).
const char* InventoryClickResultText(int32_t code);

// The frame's display of the click result: a new code is taken into the
// shown copy (and the code set back to -1); while the mouse is inside the
// shown rectangle its text becomes the cursor hint and its cursor shape is
// set. Code 0, or cursor shape 0 in combat, clears the shown result.
void ShowClickResult();

// Puts the words above back to their start-up values (a new game, and tests).
void ResetClickResults();
