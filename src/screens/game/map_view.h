// The game screen's map view words that the map model and the rules use: the
// view origin and camera, the tint, the leader's joystick step, and the map
// cell and path helpers of the map view.
#pragma once
#include <cstdint>

// The view origin in map pixels and the scroll limits set for the current map.
extern int32_t ViewOriginX, ViewOriginY;
extern int32_t CameraLimitX, CameraLimitY;
// 1 while the camera is moving toward a creature.
extern uint8_t CameraMoving;
// The tint the picture fades toward (255 each on maps without rain).
extern uint32_t TintTarget[3];
// 1 lets the joystick step the party leader; a found path clears it.
extern uint8_t LeaderStepEnabled;

// Sets the scroll limits for the current map and window size.
void SetCameraBounds();
// Centres the view on the creature when it is within 70 pixels of the view's edge.
void ScrollTo(int creature, int x, int y);
// Clears the fighter slot's path, sets the path index and the destination to
// -1 and snaps the creature to the nearer of its square and next square.
void ResetCreaturePath(int creature);
// Applies the rain condition to every fighter (on rain maps by the sheltered squares).
void UpdatePartyAreaCondition();
// Removes the object at a level 0 to 3 of a square's stack, in the current map
// and its stored copy, shifting the higher levels down; false for a level above 3.
bool RemoveCellObject(int level, int x, int y);
// Refills the Turn Undead uses per day of the four party members.
void ResetPartyTurnUndeadUses();
