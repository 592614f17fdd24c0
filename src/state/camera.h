// The camera of the map view: the view's origin and the squares it shows,
// the creature it follows and its move toward one. The game screen writes
// these words (and implements the two camera services below); the frame, the
// rules and map switching read them.
#pragma once
#include <cstdint>

extern int32_t FollowTarget;    // the creature the view follows, -1 none
extern uint8_t MoveInProgress;
extern int32_t ViewOriginX, ViewOriginY;           // map pixels
extern int32_t FirstVisibleX, FirstVisibleY;       // first visible square
extern int32_t SquareOffsetX, SquareOffsetY;       // pixel remainder inside it
extern int32_t FocusSquareX, FocusSquareY;
// 1 while the camera is moving toward a creature.
extern uint8_t CameraMoving;
// The followed-creature value of an explicit target: the view heads for
// (CameraTargetX, CameraTargetY), its origin in map pixels.
constexpr int32_t kFollowExplicitTarget = 999;
extern int32_t CameraTargetX, CameraTargetY;
// The view's scroll speed counters and its two drift words, reset when the
// view is sent somewhere new.
extern int32_t CameraGlideWords[4];
// The game screen's panels that cover part of the view: the combat-rolls
// panel and the side panel (both kept in the option words by the game screen).
extern uint8_t CombatRollsShown;
extern uint8_t SidePanelShown;

// Implemented by the game screen: centres the view on the creature when it
// is within 70 pixels of the view's edge.
void ScrollTo(int creature, int x, int y);
// Implemented by the game screen: keeps a creature that just gained or lost
// a condition in view while its event plays; resultByte (may be null) is cleared.
void ScrollToCreature(int creature, int flag, uint8_t* resultByte);
// Implemented by the game screen: the camera's bounds for the current map.
void SetCameraBounds();

// Puts the words above back to their start-up values (a new game, and tests).
void ResetCameraState();
