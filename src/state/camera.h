// The camera of the map view: the view's origin and its limits, the squares
// it shows, and its automatic movement toward a creature or a point. The game
// screen writes these words (and implements the camera services below); the
// frame, the rules, combat and map switching read them.
#pragma once
#include <cstdint>

#include "engine/settings.h"  // the two panels that cover part of the view

extern int32_t ViewOriginX, ViewOriginY;           // map pixels of the view's top-left corner
// The map pixel under the pointer: the view's origin plus the pointer's place
// on the picture in map pixels of the view in use (PictureToView).
int PointerMapX();
int PointerMapY();
extern int32_t FirstVisibleX, FirstVisibleY;       // first visible square
extern int32_t SquareOffsetX, SquareOffsetY;       // pixel remainder inside it
extern int32_t FocusSquareX, FocusSquareY;

// The limits of ViewOrigin on the current map.
struct CameraBoundsWords {
  int32_t minX, minY, maxX, maxY;
};
extern CameraBoundsWords CameraBounds;

// What the view moves toward: a fighter slot whose creature it follows,
// kFollowPoint for the point (FollowPointX, FollowPointY) (a ViewOrigin
// value), -1 nothing.
constexpr int32_t kFollowPoint = 999;
constexpr int32_t kFollowExplicitTarget = kFollowPoint;
extern int32_t FollowTarget;
extern int32_t FollowPointX, FollowPointY;
// Pixels a frame of the automatic movement on each axis (11; 24 in the
// debug fast mode): the third motion step value of the speed settings.
extern int32_t& CameraStep;
// 1 while neither an automatic movement nor an edge scroll is under way.
extern int32_t ViewIdle;
// 1 once the last automatic movement has arrived; 0 while moving and after
// a manual scroll step.
extern int32_t ViewSettled;
// 1 from a scroll request until it arrives; casting waits for it.
extern uint8_t ViewScrolling;
extern uint8_t& MoveInProgress;  // the same byte under the name casting reads
// 1 while the camera is moving toward a creature.
extern uint8_t CameraMoving;
// 1 while a glide back to a kept view (GlideViewTo) is under way: it ends on
// that view exactly, not within half a step of it.
extern uint8_t CameraExactArrival;
// The two arrival flags of the automatic movement (x, y), cleared when the
// view is sent somewhere new.
extern int32_t CameraArrived[2];
// The game screen's panels that cover part of the view: the combat-rolls
// panel (top) and the actions panel (right side).
inline uint8_t& CombatRollsShown = CombatRollsPanelShown;
inline uint8_t& SidePanelShown = ActionsPanelShown;

// Implemented by the game screen.
// Starts a movement that centres the view on the creature (x = -1) or on the
// square (x, y); false (nothing done) when all three are -1.
bool StrictScrollTo(int creature, int x, int y);
// As StrictScrollTo, only when the point lies within 70 pixels of the view's
// edge; true when it started a movement.
bool ScrollTo(int creature, int x, int y);
// Keeps a creature that just gained or lost a condition in view while its
// event plays; resultByte (may be null) is cleared.
void ScrollToCreature(int creature, int flag, uint8_t* resultByte);
// Sets the movement's target to the creature (x = -1) or the square, as a
// scroll request does, without its trace or refusal.
void AimCameraAt(int creature, int x, int y);
// Starts a movement back to the view origin (x, y) kept earlier, which it
// reaches exactly (the limits of the map allowing).
void GlideViewTo(int32_t x, int32_t y);
// While the view glides on its own toward a creature or a point, the
// squares slide under the pointer: a click on the map is not taken.
inline bool ViewGlides() { return FollowTarget != -1; }
// The camera's bounds for the current map.
void SetCameraBounds();
// The view following the walking party leader: while no automatic movement
// is under way, the view's origin keeps within 24 pixels of centring it.
void KeepLeaderInView();

// Puts the words above back to their start-up values (a new game, and tests).
void ResetCameraState();
