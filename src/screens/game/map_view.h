// The game screen's map view words that the map model and the rules use: the
// camera's move, the tint, and the map cell helpers of the map view. (The
// view origin, the camera bounds and the leader's joystick step are the game
// screen's own, in game_screen.h.)
#pragma once
#include <cstdint>

// 1 while the camera is moving toward a creature.
extern uint8_t CameraMoving;
// The action bar's mode (1 the fighter's actions), which is also the
// ready-action mode word of the turn.
extern int32_t ActionBarMode;
// The side panel's page: 0 none, 1 the initiative list.
extern int32_t SidePanelMode;
// The tint the picture fades toward (255 each on maps without rain).
extern uint32_t TintTarget[3];
// Centres the view on the creature when it is within 70 pixels of the view's edge.
void ScrollTo(int creature, int x, int y);
// Centres the view on the creature (or, for -1, on the square x, y) at once.
void StrictScrollTo(int creature, int x, int y);
// Applies the rain condition to every fighter (on rain maps by the sheltered squares).
void UpdatePartyAreaCondition();
// Removes the object at a level 0 to 3 of a square's stack, in the current map
// and its stored copy, shifting the higher levels down; false for a level above 3.
bool RemoveCellObject(int level, int x, int y);
// Refills the Turn Undead uses per day of the four party members.
void ResetPartyTurnUndeadUses();
