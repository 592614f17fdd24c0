// The game screen's map view words that the map model and the rules use: the
// camera's move, the tint, and the map cell helpers of the map view. (The
// view origin, the camera bounds and the leader's joystick step are the game
// screen's own, in game_screen.h.)
#pragma once
#include <cstdint>

// 1 while the camera is moving toward a creature.
extern uint8_t CameraMoving;
// The action bar's mode (1 the fighter's actions).
extern int32_t ActionBarMode;
// The tint the picture fades toward (255 each on maps without rain).
extern uint32_t TintTarget[3];
// Centres the view on the creature when it is within 70 pixels of the view's edge.
void ScrollTo(int creature, int x, int y);
// Keeps a creature that just gained or lost a condition in view while its
// event plays; resultByte (may be null) is cleared.
void ScrollToCreature(int creature, int flag, uint8_t* resultByte);
// Applies the rain condition to every fighter (on rain maps by the sheltered squares).
void UpdatePartyAreaCondition();
// Removes the object at a level 0 to 3 of a square's stack, in the current map
// and its stored copy, shifting the higher levels down; false for a level above 3.
bool RemoveCellObject(int level, int x, int y);
// Refills the Turn Undead uses per day of the four party members.
void ResetPartyTurnUndeadUses();
