#include "state/camera.h"

int32_t FollowTarget = -1;
uint8_t MoveInProgress = 0;
int32_t ViewOriginX = 0, ViewOriginY = 0;
int32_t FirstVisibleX = 0, FirstVisibleY = 0;
int32_t SquareOffsetX = 0, SquareOffsetY = 0;
int32_t FocusSquareX = 0, FocusSquareY = 0;
uint8_t CameraMoving = 0;

void ResetCameraState() {
  FollowTarget = -1;
  MoveInProgress = 0;
  ViewOriginX = 0;
  ViewOriginY = 0;
  FirstVisibleX = 0;
  FirstVisibleY = 0;
  SquareOffsetX = 0;
  SquareOffsetY = 0;
  FocusSquareX = 0;
  FocusSquareY = 0;
  CameraMoving = 0;
}
