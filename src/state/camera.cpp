#include "state/camera.h"

#include "engine/game_speeds.h"
#include "engine/reset_words.h"
#include "engine/ui_input.h"

int32_t ViewOriginX = 0, ViewOriginY = 0;
int32_t FirstVisibleX = 0, FirstVisibleY = 0;
int32_t SquareOffsetX = 0, SquareOffsetY = 0;
int32_t FocusSquareX = 0, FocusSquareY = 0;

int PointerMapX() { return ViewOriginX + PictureToView(PointerX()); }
int PointerMapY() { return ViewOriginY + PictureToView(PointerY()); }
CameraBoundsWords CameraBounds = {};
int32_t FollowTarget = -1;
int32_t FollowPointX = -1, FollowPointY = -1;
int32_t& CameraStep = MotionStepValues[2];  // a speed setting's name (no end of its own)
int32_t ViewIdle = 1;
int32_t ViewSettled = 1;
uint8_t ViewScrolling = 0;
uint8_t& MoveInProgress = ViewScrolling;  // another name of ViewScrolling
uint8_t CameraMoving = 0;
uint8_t CameraExactArrival = 0;
int32_t CameraArrived[2] = {};

void ResetCameraState() {
  ViewOriginX = ViewOriginY = 0;
  FirstVisibleX = FirstVisibleY = 0;
  SquareOffsetX = SquareOffsetY = 0;
  FocusSquareX = FocusSquareY = 0;
  ResetWords(CameraBounds);
  FollowTarget = -1;
  FollowPointX = FollowPointY = -1;
  ViewIdle = 1;
  ViewSettled = 1;
  ViewScrolling = 0;
  CameraMoving = 0;
  CameraExactArrival = 0;
  ResetWords(CameraArrived);
}
